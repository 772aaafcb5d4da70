#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// The internet transfer control: one HTTP or FTP request at a time, started by Execute and
// reported through state changes on the window thread. The body is kept until read by GetChunk.
class InternetControl {
public:
    enum State : int {
        ResolvingHost = 1,
        HostResolved = 2,
        Connecting = 3,
        Connected = 4,
        Requesting = 5,
        RequestSent = 6,
        ReceivingResponse = 7,
        ResponseReceived = 8,
        Disconnecting = 9,
        Disconnected = 10,
        Error = 11,
        ResponseCompleted = 12,
    };
    enum Access : int { DefaultAccess = 0, Direct = 1, NamedProxy = 2 };
    // Errors of the control the state handler knows by number.
    enum : int { ErrRequestTimedOut = 35761, ErrStillExecuting = 35764, ErrNoResponse = 35756 };

    using StateHandler = std::function<void(int state)>;
    using DataHandler = std::function<void()>;

    virtual ~InternetControl() = default;

    // Returns at once. Operation "GET" for web addresses; for FTP (url "ftp://host") also
    // "CD " + folder, "GET " + remote file + " " + local path, and "CLOSE".
    // A request while another is running throws AppError 35764.
    virtual void Execute(const QString& url, const QString& operation) = 0;
    virtual void Cancel() = 0;
    // The next part of the body, at most size bytes; empty once the body is exhausted.
    virtual QByteArray GetChunk(int size) = 0;
    // Value of a header of the last response; empty when it was not sent.
    virtual QString GetHeader(const QString& name) const = 0;
    virtual bool StillExecuting() const = 0;
    // Text describing the last failure.
    virtual QString ResponseInfo() const = 0;
    // Status code of the last response (HTTP status or FTP reply), 0 when none arrived.
    virtual int ResponseCode() const = 0;

    virtual int AccessType() const = 0;
    virtual void setAccessType(int type) = 0;
    // "server:port"
    virtual QString Proxy() const = 0;
    virtual void setProxy(const QString& proxy) = 0;
    virtual QString UserName() const = 0;
    virtual void setUserName(const QString& name) = 0;
    virtual QString Password() const = 0;
    virtual void setPassword(const QString& password) = 0;
    // Seconds without progress before a request fails; 0 waits for ever.
    virtual int RequestTimeout() const = 0;
    virtual void setRequestTimeout(int seconds) = 0;

    // Called on the window thread with the codes 1 to 12, never from inside Execute or Cancel.
    void setStateChanged(StateHandler handler) { m_stateChanged = std::move(handler); }
    // Called on the window thread when more of the body arrived, as a sign of progress.
    void setDataArrived(DataHandler handler) { m_dataArrived = std::move(handler); }

protected:
    void raiseStateChanged(int state)
    {
        if (m_stateChanged)
            m_stateChanged(state);
    }
    void raiseDataArrived()
    {
        if (m_dataArrived)
            m_dataArrived();
    }

private:
    StateHandler m_stateChanged;
    DataHandler m_dataArrived;
};
