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
    void onRequest(int, std::function<void(const QByteArray&, Answer)> h) override { handler = std::move(h); }

    bool earlier = false;
    QString lockProblem;
    QByteArrayList asked;
    QByteArray reply;
    std::function<void(const QByteArray&, Answer)> handler;
};
