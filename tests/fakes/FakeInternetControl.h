#pragma once
#include "platform/InternetControl.h"
#include "platform/AppError.h"
#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <functional>

// A transfer control that does what the test says: it records every request, serves a body
// and headers the test gives, and raises the states the test asks for.
class FakeInternetControl : public InternetControl {
public:
    void Execute(const QString& url, const QString& operation) override
    {
        executed.append(url + " | " + operation);
        if (executeError)
            throw AppError(executeError);
        executing = startsRunning;
    }
    void Cancel() override
    {
        ++cancels;
        executing = false;
    }
    QByteArray GetChunk(int size) override
    {
        chunkSizes.append(size);
        if (onChunk)
            onChunk();
        const QByteArray chunk = body.mid(read, size);
        read += chunk.size();
        return chunk;
    }
    QString GetHeader(const QString& name) const override { return headers.value(name.toLower()); }
    bool StillExecuting() const override { return executing; }
    QString ResponseInfo() const override { return info; }
    int ResponseCode() const override { return code; }

    int AccessType() const override { return accessType; }
    void setAccessType(int type) override { accessType = type; }
    QString Proxy() const override { return proxy; }
    void setProxy(const QString& p) override { proxy = p; }
    QString UserName() const override { return user; }
    void setUserName(const QString& name) override { user = name; }
    QString Password() const override { return password; }
    void setPassword(const QString& p) override { password = p; }
    int RequestTimeout() const override { return timeout; }
    void setRequestTimeout(int seconds) override { timeout = seconds; }

    void raise(int state) { raiseStateChanged(state); }
    void arrive() { raiseDataArrived(); }
    // A whole successful response: states 1 to 8, then 12.
    void respond(const QByteArray& bytes)
    {
        body = bytes;
        read = 0;
        for (int state = 1; state <= 8; ++state)
            raise(state);
        executing = false;
        raise(ResponseCompleted);
    }

    QStringList executed;
    QList<int> chunkSizes;
    std::function<void()> onChunk;  // runs before each read
    QByteArray body;
    qsizetype read = 0;
    QMap<QString, QString> headers;  // lower-case names
    QString info;
    int code = 200;
    int executeError = 0;
    bool startsRunning = true;
    bool executing = false;
    int cancels = 0;
    int accessType = 0;
    QString proxy;
    QString user;
    QString password;
    int timeout = 60;
};
