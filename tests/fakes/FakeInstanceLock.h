#pragma once
#include "platform/InstanceLock.h"
#include <QByteArrayList>

class FakeInstanceLock : public InstanceLock {
public:
    bool earlierInstanceRunning() override { return earlier; }
    QString problem() const override { return lockProblem; }
    bool earlierListening() override { return earlier; }
    QByteArray ask(const QByteArray& request, int) override
    {
        asked << request;
        return reply;
    }
    QByteArray askAndWait(const QByteArray& request, const std::function<bool(const QByteArray&)>&) override
    {
        return ask(request, 0);
    }
    void release() override { released = true; }
    void onRequest(int, std::function<void(const QByteArray&, Answer)> h) override { handler = std::move(h); }

    bool earlier = false;
    bool released = false;
    QString lockProblem;
    QByteArrayList asked;
    QByteArray reply;
    std::function<void(const QByteArray&, Answer)> handler;
};
