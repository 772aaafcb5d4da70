#include "platform/LocalInstanceLock.h"
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#ifdef Q_OS_WIN
#include "platform/windows/NamedMutex.h"
#include <QLocalServer>
#include <QLocalSocket>
#else
#include "platform/unix/UnixSocket.h"
#include "platform/unix/UnixSocketServer.h"
#endif
#ifdef Q_OS_LINUX
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
constexpr int kDeadlineMs = 2000;  // the whole message must have come by then
constexpr int kMostPeers = 64;     // connections heard at once; one more is closed unread
constexpr int kWatchMs = 5000;     // how often the server is checked to be listening still
constexpr int kConnectMs = 20000;  // how long a caller keeps trying to get through

QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

// The socket file is the user's alone; where the system names the peer's user, that is checked too.
bool sameUser(qintptr descriptor)
{
#ifdef Q_OS_LINUX
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
           && peer.uid == getuid();
#else
    Q_UNUSED(descriptor);
    return true;
#endif
}
}

LocalInstanceLock::LocalInstanceLock(const QString& key, const QString& folder)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_base = (folder.isEmpty() ? runtimeFolder() : folder) + "/zelvo-" + QString::fromLatin1(hash);
#ifdef Q_OS_WIN
    // Pipes are the machine's: the user's name keeps another user's copy of the same folder apart
    // (and the pipe is the user's alone, as the socket file is elsewhere).
    m_socket = "zelvo-" + QString::fromLatin1(hash) + '-' + qEnvironmentVariable("USERNAME");
#else
    m_socket = m_base + ".sock";
#endif
}

// Whether the channel has gone with its copy; a pipe leaves nothing behind to look at.
bool LocalInstanceLock::channelGone() const
{
#ifdef Q_OS_WIN
    return false;
#else
    return !QFileInfo::exists(socketPath());
#endif
}

LocalInstanceLock::~LocalInstanceLock() = default;

bool LocalInstanceLock::earlierInstanceRunning()
{
#ifdef Q_OS_WIN
    m_lock = std::make_unique<NamedMutex>("Local\\" + m_socket);
    if (!m_lock->held()) {
        const bool elsewhere = m_lock->heldElsewhere();
        m_lock.reset();
        if (elsewhere)
            return true;
        m_problem = QStringLiteral("cannot create the lock ") + m_socket;
        return false;
    }
#else
    m_lock = std::make_unique<QLockFile>(lockPath());
    m_lock->setStaleLockTime(0);  // a lock of a killed copy is recognised by its process id
    if (!m_lock->tryLock(100)) {
        const QLockFile::LockError error = m_lock->error();
        m_lock.reset();
        if (error == QLockFile::LockFailedError)
            return true;
        // An unwritable runtime folder is no other copy: run, without the guarantee.
        m_problem = (error == QLockFile::PermissionError ? QStringLiteral("no permission to create ")
                                                          : QStringLiteral("cannot create "))
                    + lockPath();
        return false;
    }
#endif
    listen();
    return false;
}

void LocalInstanceLock::listen()
{
    m_server = std::make_unique<Server>();
    Server::removeServer(socketPath());
#ifdef Q_OS_WIN
    m_server->setSocketOptions(QLocalServer::UserAccessOption);  // the Unix server's always is
#endif
    m_server->listen(socketPath());
    QObject::connect(m_server.get(), &Server::newConnection, [this] {
        while (Socket* peer = m_server->nextPendingConnection())
            serve(peer);
    });
    if (m_watch)
        return;
    // Qt closes a server that runs out of file descriptors, and removes its socket file.
    m_watch = std::make_unique<QTimer>();
    QObject::connect(m_watch.get(), &QTimer::timeout, [this] {
        if (!m_server->isListening() || channelGone())
            listen();
    });
    m_watch->start(kWatchMs);
}

void LocalInstanceLock::release()
{
    m_watch.reset();
    m_server.reset();  // closing it removes the socket file
    m_lock.reset();    // unlocking removes the lock file (or lets the mutex go)
}

// Whatever the peer does, it is heard once: at a newline, past the size allowed, at its end or
// after a pause.
void LocalInstanceLock::serve(Socket* peer)
{
    QObject::connect(peer, &Socket::disconnected, peer, &QObject::deleteLater);
    if (!sameUser(peer->socketDescriptor())) {
        peer->abort();
        return;
    }
    if (m_peers >= kMostPeers) {
        // Closed unread, so nothing of it is carried out and its caller tries again.
        peer->abort();
        return;
    }
    ++m_peers;
    QObject::connect(peer, &QObject::destroyed, m_server.get(), [this] { --m_peers; });
    struct Hearing {
        QByteArray got;
        bool heard = false;
    };
    auto hearing = std::make_shared<Hearing>();
    auto* pause = new QTimer(peer);
    pause->setSingleShot(true);
    const auto deliver = [this, peer, hearing] {
        if (hearing->heard)
            return;
        hearing->heard = true;
        if (hearing->got.isEmpty() && peer->state() != Socket::ConnectedState)
            return;  // a look to see whether this copy runs, not a message
        QPointer<Socket> to = peer;
        const auto connected = [to] { return to && to->state() == Socket::ConnectedState; };
        const Answer answer(
            [to, connected](const QByteArray& reply) {
                if (!connected())
                    return;
                to->write(reply);
                to->flush();
                to->disconnectFromServer();  // after what is written has gone
            },
            connected,
            [to, connected](const QByteArray& line) {
                if (connected()) {
                    to->write(line);
                    to->flush();
                }
            });
        if (m_handler)
            m_handler(hearing->got, answer);
        else
            answer(QByteArray());
    };
    const auto read = [this, peer, hearing, deliver] {
        if (hearing->heard)
            return;
        hearing->got += peer->read(m_maxBytes + 1 - hearing->got.size());
        const qsizetype newline = hearing->got.indexOf('\n');
        if (newline >= 0)
            hearing->got.truncate(newline + 1);
        if (newline >= 0 || hearing->got.size() > m_maxBytes)
            deliver();
    };
    QObject::connect(peer, &Socket::readyRead, peer, read);
    QObject::connect(peer, &Socket::readChannelFinished, peer, deliver);
    QObject::connect(pause, &QTimer::timeout, peer, deliver);
    pause->start(kDeadlineMs);
    read();
}

bool LocalInstanceLock::earlierListening()
{
    Socket socket;
    socket.connectToServer(socketPath());
    return socket.waitForConnected(500);
}

QByteArray LocalInstanceLock::ask(const QByteArray& request, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return std::max(1, timeoutMs - static_cast<int>(clock.elapsed())); };
    Socket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(left()))
        return {};
    socket.write(request);
    socket.waitForBytesWritten(left());
    QByteArray reply;
    while (!reply.endsWith('\n') && socket.waitForReadyRead(left()))
        reply += socket.readAll();
    reply += socket.readAll();
    return reply;
}

QByteArray LocalInstanceLock::askAndWait(const QByteArray& request, const std::function<bool(const QByteArray&)>& isReply)
{
    QElapsedTimer trying;
    trying.start();
    do {
        Socket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(kDeadlineMs) && socket.write(request) == request.size()
            && socket.waitForBytesWritten(kDeadlineMs)) {
            QByteArray got;
            bool heardAny = false;
            while (socket.bytesAvailable() > 0 || socket.state() == Socket::ConnectedState) {
                if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(1000))
                    continue;
                got += socket.readAll();
                for (qsizetype end = got.indexOf('\n'); end >= 0; end = got.indexOf('\n')) {
                    const QByteArray line = got.left(end + 1);
                    got.remove(0, end + 1);
                    heardAny = true;
                    if (isReply(line))
                        return line;
                }
            }
            // A reply cut short is still the reply; one that never began is asked for again.
            if (!got.isEmpty())
                return got;
            if (heardAny)
                return {};
        }
        QThread::msleep(100);
    } while (!trying.hasExpired(kConnectMs) && !channelGone());
    return {};
}

void LocalInstanceLock::onRequest(int maxBytes, std::function<void(const QByteArray&, Answer)> handler)
{
    m_maxBytes = maxBytes;
    m_handler = std::move(handler);
}
