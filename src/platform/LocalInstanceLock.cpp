#include "platform/LocalInstanceLock.h"
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {
QString runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}
}

LocalInstanceLock::LocalInstanceLock(const QString& key, const QString& folder)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_base = (folder.isEmpty() ? runtimeFolder() : folder) + "/zelvo-" + QString::fromLatin1(hash);
}

LocalInstanceLock::~LocalInstanceLock() = default;

bool LocalInstanceLock::earlierInstanceRunning()
{
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
    m_server = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(m_base + ".sock");
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(m_base + ".sock");
    QObject::connect(m_server.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            peer->disconnectFromServer();
            if (m_handler)
                m_handler();
        }
    });
    return false;
}

bool LocalInstanceLock::activateEarlier(const QString& windowTitle)
{
    QLocalSocket socket;
    socket.connectToServer(m_base + ".sock");
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(windowTitle.toUtf8() + '\n');
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

void LocalInstanceLock::onActivateRequest(std::function<void()> handler) { m_handler = std::move(handler); }
