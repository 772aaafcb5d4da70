#pragma once
#include "platform/InstanceLock.h"
#include <QStringList>

class FakeInstanceLock : public InstanceLock {
public:
    bool earlierInstanceRunning() override { return earlier; }
    QString problem() const override { return lockProblem; }
    bool activateEarlier(const QString& title) override
    {
        activated << title;
        return true;
    }
    void onActivateRequest(std::function<void()> h) override { handler = std::move(h); }

    bool earlier = false;
    QString lockProblem;
    QStringList activated;
    std::function<void()> handler;
};
