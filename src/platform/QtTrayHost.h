#pragma once
#include "platform/TrayHost.h"
#include <memory>

class QSystemTrayIcon;

class QtTrayHost : public TrayHost {
public:
    QtTrayHost();
    ~QtTrayHost() override;
    bool add(const QIcon& icon, const QString& tooltip) override;
    bool modify(const QIcon& icon, const QString& tooltip) override;
    bool remove() override;
    bool available() const override;
    void setHandler(std::function<void(Message)> handler) override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::function<void(Message)> m_handler;
};
