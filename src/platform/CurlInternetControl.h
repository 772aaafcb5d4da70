#pragma once
#include "platform/InternetControl.h"
#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>
#include "platform/CurlLibrary.h"
#include <deque>
#include <memory>

class QFile;

// The transfer control over libcurl's multi interface, polled from the event loop: no threads.
// States are collected while libcurl works and handed out afterwards in their order, so the
// handler may cancel or start a request without re-entering libcurl.
class CurlInternetControl : public QObject, public InternetControl {
    Q_OBJECT
public:
    // libcurl is loaded by the first transfer, which ends in the Error state when it cannot be.
    CurlInternetControl();
    ~CurlInternetControl() override;

    void Execute(const QString& url, const QString& operation) override;
    void Cancel() override;
    QByteArray GetChunk(int size) override;
    QString GetHeader(const QString& name) const override;
    bool StillExecuting() const override { return m_easy != nullptr; }
    QString ResponseInfo() const override { return m_responseInfo; }
    int ResponseCode() const override { return m_responseCode; }

    int AccessType() const override { return m_accessType; }
    void setAccessType(int type) override { m_accessType = type; }
    QString Proxy() const override { return m_proxy; }
    void setProxy(const QString& proxy) override { m_proxy = proxy; }
    QString UserName() const override { return m_userName; }
    void setUserName(const QString& name) override { m_userName = name; }
    QString Password() const override { return m_password; }
    void setPassword(const QString& password) override { m_password = password; }
    int RequestTimeout() const override { return m_requestTimeout; }
    void setRequestTimeout(int seconds) override { m_requestTimeout = seconds; }

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static int onSocket(void* self, curl_socket_t socket, curlsocktype purpose);
    static int onPrereq(void* self, char* connIp, char* localIp, int connPort, int localPort);
    static int onDebug(CURL* easy, curl_infotype type, char* data, size_t size, void* self);

    bool startLibrary();
    void startTransfer(const QString& url, const QString& localFile);
    void applyOptions(const QString& url);
    void poll();
    void finish(CURLcode code);
    void deliver();
    void release();
    // Queues every state from the last one reached up to this one, so none is skipped.
    void reach(int state);
    void queue(int state);
    void ftpOperation(const QString& url, const QString& operation);

    const CurlLibrary* m_curl = nullptr;
    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    QTimer m_poll;
    bool m_polling = false;
    bool m_delivering = false;
    std::deque<int> m_pending;
    bool m_bodyArrived = false;
    int m_reached = 0;
    char m_errorText[CURL_ERROR_SIZE] = {};

    QByteArray m_body;
    qsizetype m_read = 0;
    QList<QPair<QString, QString>> m_headers;
    QString m_responseInfo;
    int m_responseCode = 0;
    std::unique_ptr<QFile> m_localFile;

    QString m_ftpFolder;
    bool m_closeAfterTransfer = false;

    int m_accessType = DefaultAccess;
    QString m_proxy;
    QString m_userName;
    QString m_password;
    int m_requestTimeout = 60;
};
