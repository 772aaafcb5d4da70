#pragma once
#include "platform/InstanceLock.h"
#include <memory>

class QLocalServer;
class QLockFile;

class LocalInstanceLock : public InstanceLock {
public:
    // The key names the program folder, so copies in other folders run on their own.
    // folder: where the lock and the socket live; the user's runtime folder unless given.
    explicit LocalInstanceLock(const QString& key, const QString& folder = QString());
    ~LocalInstanceLock() override;
    bool earlierInstanceRunning() override;
    QString problem() const override { return m_problem; }
    bool activateEarlier(const QString& windowTitle) override;
    void onActivateRequest(std::function<void()> handler) override;
    QString lockPath() const { return m_base + ".lock"; }

private:
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void()> m_handler;
    QString m_problem;
};
