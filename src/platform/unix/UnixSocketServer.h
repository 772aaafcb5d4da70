#pragma once
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;
class UnixSocket;

// A listening Unix stream socket with the calls of QLocalServer the single-copy lock makes. Its
// file is the user's alone.
class UnixSocketServer : public QObject {
    Q_OBJECT
public:
    UnixSocketServer() = default;
    ~UnixSocketServer() override;
    static bool removeServer(const QString& path);
    bool listen(const QString& path);
    bool isListening() const { return m_fd >= 0; }
    // The connections accepted, each a child of the server, the oldest first.
    UnixSocket* nextPendingConnection() { return m_pending.isEmpty() ? nullptr : m_pending.takeFirst(); }
    // Stops listening and removes the file.
    void close();

signals:
    void newConnection();

private:
    void accept();

    QString m_path;
    int m_fd = -1;
    QSocketNotifier* m_incoming = nullptr;
    QList<UnixSocket*> m_pending;
};
