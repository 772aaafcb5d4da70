#include "platform/unix/UnixSocket.h"
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// What a peer sends beyond this before it is read is dropped: no caller sends more than a line.
constexpr qsizetype kMostKept = 1 << 16;

// Waits for the event on the descriptor until the deadline; false when it did not come.
bool await(int fd, short event, const QDeadlineTimer& deadline)
{
    pollfd one{fd, event, 0};
    int ready;
    do
        ready = ::poll(&one, 1, static_cast<int>(deadline.remainingTime()));
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}
}

UnixSocket::UnixSocket(int descriptor, QObject* parent)
    : QObject(parent), m_fd(descriptor), m_readable(new QSocketNotifier(descriptor, QSocketNotifier::Read, this)),
      m_writable(new QSocketNotifier(descriptor, QSocketNotifier::Write, this))
{
    m_writable->setEnabled(false);
    connect(m_readable, &QSocketNotifier::activated, this, &UnixSocket::readable);
    connect(m_writable, &QSocketNotifier::activated, this, &UnixSocket::flush);
}

UnixSocket::~UnixSocket() { shut(); }

bool UnixSocket::waitForConnected(int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(m_path);
    if (m_fd >= 0 || path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return m_fd >= 0;
    std::memcpy(address.sun_path, path.constData(), path.size());
    const QDeadlineTimer deadline(timeoutMs);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    while (fd >= 0) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            m_fd = fd;
            return true;
        }
        // A backlog that is full takes no connection now; another attempt may get one.
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired())
            break;
        QThread::msleep(10);
    }
    if (fd >= 0)
        ::close(fd);
    return false;
}

qint64 UnixSocket::write(const QByteArray& data)
{
    if (m_fd < 0 || m_closing)
        return -1;
    m_out += data;
    if (m_writable)
        m_writable->setEnabled(true);
    return data.size();
}

bool UnixSocket::flush()
{
    const qsizetype before = m_out.size();
    send();
    return m_out.size() < before;
}

void UnixSocket::send()
{
    while (m_fd >= 0 && !m_out.isEmpty()) {
        const ssize_t sent = ::send(m_fd, m_out.constData(), m_out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (sent < 0)
            return close();  // the peer has gone
        m_out.remove(0, sent);
    }
    if (m_writable)
        m_writable->setEnabled(m_fd >= 0 && !m_out.isEmpty());
    if (m_closing && m_out.isEmpty())
        close();
}

bool UnixSocket::waitForBytesWritten(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    send();
    while (m_fd >= 0 && !m_out.isEmpty() && await(m_fd, POLLOUT, deadline))
        send();
    return m_fd >= 0 && m_out.isEmpty();
}

UnixSocket::Got UnixSocket::receive()
{
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got > 0) {
            m_in.append(chunk, std::min<qsizetype>(got, std::max<qsizetype>(0, kMostKept - m_in.size())));
            return Got::Data;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Got::Nothing;
        return Got::End;  // closed, or reset by a peer that went with bytes unread
    }
}

bool UnixSocket::waitForReadyRead(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_fd >= 0) {
        switch (receive()) {
        case Got::Data:
            return true;
        case Got::End:
            close();
            return false;
        case Got::Nothing:
            if (!await(m_fd, POLLIN, deadline))
                return false;
        }
    }
    return false;
}

// One receive a time: the notifier calls again while more is there.
void UnixSocket::readable()
{
    switch (receive()) {
    case Got::Data:
        emit readyRead();
        break;
    case Got::End:
        // Gone before the signals, so that whoever hears them finds the peer unconnected.
        shut();
        emit readChannelFinished();
        emit disconnected();
        break;
    case Got::Nothing:
        break;
    }
}

QByteArray UnixSocket::read(qint64 most)
{
    const QByteArray taken = m_in.left(most);
    m_in.remove(0, taken.size());
    return taken;
}

void UnixSocket::disconnectFromServer()
{
    m_closing = true;
    send();
}

void UnixSocket::abort()
{
    m_out.clear();
    close();
}

bool UnixSocket::shut()
{
    if (m_fd < 0)
        return false;
    if (m_readable) {
        m_readable->setEnabled(false);
        m_writable->setEnabled(false);
    }
    ::close(m_fd);
    m_fd = -1;
    return true;
}

void UnixSocket::close()
{
    if (shut())
        emit disconnected();
}
