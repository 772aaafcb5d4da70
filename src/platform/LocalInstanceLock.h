#pragma once
#include "platform/InstanceLock.h"
#include <memory>

class NamedMutex;
class QLocalServer;
class QLocalSocket;
class QLockFile;
class QTimer;
class UnixSocket;
class UnixSocketServer;

class LocalInstanceLock : public InstanceLock {
public:
    // The key names the program folder, so copies in other folders run on their own.
    // folder: where the lock and the socket live; the user's runtime folder unless given.
    explicit LocalInstanceLock(const QString& key, const QString& folder = QString());
    ~LocalInstanceLock() override;
    bool earlierInstanceRunning() override;
    QString problem() const override { return m_problem; }
    bool earlierListening() override;
    QByteArray ask(const QByteArray& request, int timeoutMs) override;
    QByteArray askAndWait(const QByteArray& request, const std::function<bool(const QByteArray& line)>& isReply) override;
    void release() override;
    void onRequest(int maxBytes, std::function<void(const QByteArray&, Answer)> handler) override;
    // On Windows the lock is a named mutex, which lives in no folder.
    QString lockPath() const { return m_base + ".lock"; }
    // A file beside the lock; on Windows the name of a pipe, which lives in no folder.
    QString socketPath() const { return m_socket; }

private:
    // The channel: Qt's local sockets on Windows, plain Unix sockets elsewhere, which spare the
    // start Qt Network and what it brings with it.
#ifdef Q_OS_WIN
    using Server = QLocalServer;
    using Socket = QLocalSocket;
#else
    using Server = UnixSocketServer;
    using Socket = UnixSocket;
#endif
    void listen();
    void serve(Socket* peer);
    bool channelGone() const;

    QString m_base;
    QString m_socket;
#ifdef Q_OS_WIN
    std::unique_ptr<NamedMutex> m_lock;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
    std::unique_ptr<Server> m_server;
    std::unique_ptr<QTimer> m_watch;
    int m_peers = 0;
    int m_maxBytes = 0;
    std::function<void(const QByteArray&, Answer)> m_handler;
    QString m_problem;
};
