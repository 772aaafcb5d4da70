#pragma once
#include "platform/Notifier.h"

// A reminder's notice as the notification-area icon's balloon, where the desktop has no notification
// service of its own to ask (Windows): a click on it shows the reminder. Its other choices are the
// reminder window's; a balloon goes by itself, so there is nothing to withdraw.
class BalloonNotifier : public Notifier {
public:
    int post(const QString& summary, const QString& body, const QImage& icon, const QList<Action>& actions,
             Chosen chosen) override;
    void withdraw(int) override {}
    void setFailureHandler(std::function<void(const QString&)>) override {}

private:
    int m_next = 0;
};
