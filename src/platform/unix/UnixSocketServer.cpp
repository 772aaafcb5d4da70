#include "platform/unix/UnixSocketServer.h"
#include "platform/unix/UnixSocket.h"
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

UnixSocketServer::~UnixSocketServer() { close(); }

bool UnixSocketServer::removeServer(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

bool UnixSocketServer::listen(const QString& path)
{
    close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Callers of another user are refused by the file's mode, and by the lock's check of each peer.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return false;
    }
    m_path = path;
    m_fd = fd;
    m_incoming = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_incoming, &QSocketNotifier::activated, this, &UnixSocketServer::accept);
    return true;
}

void UnixSocketServer::accept()
{
    const qsizetype before = m_pending.size();
    for (;;) {
        const int peer = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (peer >= 0) {
            m_pending << new UnixSocket(peer, this);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        // Out of descriptors the notifier would call at once again, for ever: the server closes,
        // as Qt's does, and its owner listens anew later.
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
            close();
        break;
    }
    if (m_pending.size() > before)
        emit newConnection();
}

void UnixSocketServer::close()
{
    if (m_fd < 0)
        return;
    m_incoming->setEnabled(false);
    m_incoming->deleteLater();
    m_incoming = nullptr;
    ::close(m_fd);
    m_fd = -1;
    removeServer(m_path);
}
