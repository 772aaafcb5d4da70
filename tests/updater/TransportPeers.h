#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <functional>

// Servers the transport tests talk to, all on 127.0.0.1, each started for one test and
// stopped with it. Debian's own Python runs them: "python3" on PATH may be another one.
class Peer {
public:
    ~Peer() { stop(); }

    // A script from servers/ that prints its port as its first line.
    bool startPython(const QString& script, const QStringList& arguments)
    {
        const QString path = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + "/servers/" + script;
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"), QStringList{path} + arguments);
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!m_process.canReadLine() && waited.elapsed() < 15000 && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(100);
        bool ok = false;
        port = m_process.readLine().trimmed().toInt(&ok);
        return ok && port > 0;
    }

    // tinyproxy with basic authentication and its own log, configured in folder.
    bool startTinyproxy(const QString& folder, const QString& user, const QString& password)
    {
        logFile = folder + "/tinyproxy.log";
        for (int attempt = 0; attempt < 3; ++attempt) {
            port = freePort();
            const QString config = folder + "/tinyproxy.conf";
            QFile f(config);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            f.write(QStringLiteral("Port %1\nListen 127.0.0.1\nAllow 127.0.0.1\nBasicAuth %2 %3\n"
                                   "LogFile \"%4\"\nLogLevel Info\nMaxClients 10\nTimeout 30\n")
                        .arg(port)
                        .arg(user, password, logFile)
                        .toUtf8());
            f.close();
            m_process.setStandardOutputFile(QProcess::nullDevice());
            m_process.setStandardErrorFile(QProcess::nullDevice());
            m_process.start(QStringLiteral("tinyproxy"), {QStringLiteral("-d"), QStringLiteral("-c"), config});
            if (m_process.waitForStarted(5000) && accepts(port))
                return true;
            stop();
        }
        return false;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    QString address(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path); }

    static QString readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    int port = 0;
    QString logFile;

private:
    static int freePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    bool accepts(int p)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000 && m_process.state() == QProcess::Running) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(p));
            if (socket.waitForConnected(200))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    QProcess m_process;
};

// Lets events run until the condition holds; the bound only keeps a broken transfer from
// hanging the test run.
inline bool pumpUntil(const std::function<bool()>& condition, int boundMs = 20000)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > boundMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

// The body the HTTP peer serves for "/bytes/N" and "/nolength/N".
inline QByteArray peerPattern(int n)
{
    static const QByteArray letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(letters.at(i % letters.size()));
    return bytes;
}

// A file of n pattern bytes at `relative` under the FTP peer's root, folders made as needed.
inline bool ftpFile(const QDir& root, const QString& relative, int n)
{
    QFile f(root.filePath(relative));
    return root.mkpath(QFileInfo(relative).path()) && f.open(QIODevice::WriteOnly) && f.write(peerPattern(n)) == n;
}
