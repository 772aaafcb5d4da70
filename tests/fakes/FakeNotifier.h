#pragma once
#include "platform/Notifier.h"
#include <QStringList>
#include <map>

// A notification service that keeps what is posted until it is withdrawn.
class FakeNotifier : public Notifier {
public:
    int post(const QString& summary, const QString& body, const QImage& icon, const QList<Action>& actions,
             Chosen chosen) override
    {
        shown[++last] = {summary + ": " + body, actions, std::move(chosen)};
        withIcon = !icon.isNull();
        return last;
    }
    void withdraw(int handle) override { shown.erase(handle); }
    void setFailureHandler(std::function<void(const QString&)> f) override { failed = std::move(f); }

    struct Notice {
        QString text;
        QList<Action> actions;
        Chosen chosen;
    };
    std::map<int, Notice> shown;
    int last = 0;
    bool withIcon = false;
    std::function<void(const QString&)> failed;
};
