#pragma once
#include <QString>
#include <functional>

// One running copy per program folder: the first holds the lock, a later one asks it to show itself.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // Takes the lock when it is free; true when an earlier copy still holds it. A lock that
    // cannot be taken for another reason is no earlier copy: false, and problem() says why.
    virtual bool earlierInstanceRunning() = 0;
    // Why this copy runs without the lock; empty when it holds it (or another copy does).
    virtual QString problem() const = 0;
    // Asks the earlier copy to show the window with this title; false when it did not answer.
    virtual bool activateEarlier(const QString& windowTitle) = 0;
    // Called in the first copy whenever a later one asks it to show itself.
    virtual void onActivateRequest(std::function<void()> handler) = 0;
};
