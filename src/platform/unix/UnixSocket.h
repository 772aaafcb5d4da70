#pragma once
#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// One end of a Unix stream socket, with the calls of QLocalSocket the single-copy lock makes, so
// that the start need not load Qt Network. A caller's end blocks in its waits and needs no event
// loop (it may live on any thread); an end a server accepted is driven by the event loop.
class UnixSocket : public QObject {
    Q_OBJECT
public:
    enum LocalSocketState { UnconnectedState, ConnectedState };

    UnixSocket() = default;
    // An accepted connection, watched from the event loop.
    UnixSocket(int descriptor, QObject* parent);
    ~UnixSocket() override;

    // The caller's end: waitForConnected makes the connection.
    void connectToServer(const QString& path) { m_path = path; }
    bool waitForConnected(int timeoutMs);
    bool waitForBytesWritten(int timeoutMs);
    // False at the end of the connection or after timeoutMs with nothing come.
    bool waitForReadyRead(int timeoutMs);

    // Kept until sent: by flush, waitForBytesWritten or, on an accepted end, the event loop.
    qint64 write(const QByteArray& data);
    bool flush();
    QByteArray read(qint64 most);
    QByteArray readAll() { return read(m_in.size()); }
    qint64 bytesAvailable() const { return m_in.size(); }
    LocalSocketState state() const { return m_fd >= 0 ? ConnectedState : UnconnectedState; }
    qintptr socketDescriptor() const { return m_fd; }
    // Closes once what is written has gone.
    void disconnectFromServer();
    void abort();

signals:
    void readyRead();
    void readChannelFinished();
    void disconnected();

private:
    enum class Got { Data, Nothing, End };
    Got receive();
    void send();
    void readable();
    bool shut();
    void close();

    QString m_path;
    int m_fd = -1;
    QByteArray m_in;
    QByteArray m_out;
    bool m_closing = false;
    QSocketNotifier* m_readable = nullptr;
    QSocketNotifier* m_writable = nullptr;
};
