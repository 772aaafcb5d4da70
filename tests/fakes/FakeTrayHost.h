#pragma once
#include "platform/TrayHost.h"
#include <QStringList>

// A notification area that accepts or refuses on request and records what it was asked.
class FakeTrayHost : public TrayHost {
public:
    bool add(const QIcon& icon, const QString& tooltip) override
    {
        calls << "add:" + tooltip;
        if (!accept)
            return false;
        shown = true;
        lastIcon = icon;
        tip = tooltip;
        return true;
    }
    bool modify(const QIcon& icon, const QString& tooltip) override
    {
        calls << "modify:" + tooltip;
        if (!accept)
            return false;
        lastIcon = icon;
        tip = tooltip;
        return true;
    }
    bool remove() override
    {
        calls << "remove";
        if (!acceptRemove)
            return false;
        shown = false;
        return true;
    }
    void setHandler(std::function<void(Message)> h) override { handler = std::move(h); }

    void setMenu(QMenu* m) override { menu = m; }
    void watch(std::function<void()> a) override { appeared = std::move(a); }
    void setLost(std::function<void()> l) override { lost = std::move(l); }
    void setAttention(bool on, const QIcon&) override { attention = on; }
    std::function<void()> messageClicked;
    void showMessage(const QString& title, const QString& text, std::function<void()> clicked) override
    {
        calls << "message:" + title + ": " + text;
        messageClicked = std::move(clicked);
    }

    void click(Message m) { handler(m); }

    QStringList calls;
    bool accept = true;
    bool acceptRemove = true;
    bool shown = false;
    QString tip;
    QIcon lastIcon;
    std::function<void(Message)> handler;
    QMenu* menu = nullptr;
    std::function<void()> appeared;
    std::function<void()> lost;
    bool attention = false;
};
