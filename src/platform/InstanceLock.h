#pragma once
#include <QByteArray>
#include <QString>
#include <functional>

// One running copy per program folder: the first holds the lock and listens; a later one sends
// it one request line and reads one reply line.
class InstanceLock {
public:
    // The way to answer a request, now or later, and whether its caller still waits for the answer
    // (one interrupted meanwhile has gone, and must not have its request carried out). Before the
    // answer, lines may be sent that tell the caller why it waits.
    class Answer {
    public:
        template <class Send>
        Answer(Send send, std::function<bool()> waiting = [] { return true; },
               std::function<void(const QByteArray&)> tell = [](const QByteArray&) {})
            : m_send(std::move(send)), m_waiting(std::move(waiting)), m_tell(std::move(tell))
        {
        }
        void operator()(const QByteArray& reply) const { m_send(reply); }
        bool waiting() const { return m_waiting(); }
        void tell(const QByteArray& line) const { m_tell(line); }

    private:
        std::function<void(const QByteArray&)> m_send;
        std::function<bool()> m_waiting;
        std::function<void(const QByteArray&)> m_tell;
    };

    virtual ~InstanceLock() = default;
    // Takes the lock when it is free; true when an earlier copy still holds it. A lock that
    // cannot be taken for another reason is no earlier copy: false, and problem() says why.
    virtual bool earlierInstanceRunning() = 0;
    // Why this copy runs without the lock; empty when it holds it (or another copy does).
    virtual QString problem() const = 0;
    // Whether an earlier copy listens, found without taking the lock.
    virtual bool earlierListening() = 0;
    // Sends a request to the earlier copy and returns its reply; empty when it did not answer.
    virtual QByteArray ask(const QByteArray& request, int timeoutMs) = 0;
    // The same without a time-out: hands each line that comes to isReply, which takes the ones sent
    // while the caller waits, and returns the line that is the reply. A connection that ends
    // without a reply is made again while the copy is there (one flooded with callers closes it at
    // once, unread); empty when it is gone.
    virtual QByteArray askAndWait(const QByteArray& request, const std::function<bool(const QByteArray& line)>& isReply) = 0;
    // At a clean end: the lock and the channel go, and their files with them.
    virtual void release() = 0;
    // In the first copy, for every request of a copy run by the same user: the bytes as they came
    // (up to a newline, the end of the connection, a deadline, or one byte past maxBytes), and the
    // way to answer, now or later. A connection beyond the number heard at once is closed unread.
    virtual void onRequest(int maxBytes, std::function<void(const QByteArray& request, Answer answer)> handler) = 0;
};
