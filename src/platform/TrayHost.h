#pragma once
#include <QIcon>
#include <QPoint>
#include <QString>
#include <functional>

class QMenu;

// The notification-area icon: add, modify, delete, and the clicks on it.
class TrayHost {
public:
    // The notifications the icon sends, as the original message numbers named them.
    enum class Message { MouseMove, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, RightDoubleClick, Other };

    virtual ~TrayHost() = default;
    // Each returns whether the platform accepted the request.
    virtual bool add(const QIcon& icon, const QString& tooltip) = 0;
    virtual bool modify(const QIcon& icon, const QString& tooltip) = 0;
    virtual bool remove() = 0;
    virtual void setHandler(std::function<void(Message)> handler) = 0;
    // The icon's menu, for desktops that draw it themselves (status-notifier panels).
    virtual void setMenu(QMenu* menu) = 0;
    // Calls appeared once, from the event loop, when a notification area comes up after all.
    virtual void watch(std::function<void()> appeared) = 0;
    // Calls lost, from the event loop, whenever the area that shows the icon goes away (a panel
    // killed or restarted) or refuses it; the icon is then not shown until add succeeds again.
    virtual void setLost(std::function<void()> lost) = 0;
    // Whether something waits for the user (a reminder is open), and the picture that says so,
    // for areas that can show it.
    virtual void setAttention(bool on, const QIcon& picture) = 0;
    // A balloon from the icon, where the desktop's notices are the icon's own (Windows); clicked
    // runs from the event loop when the user clicks it.
    virtual void showMessage(const QString& title, const QString& text, std::function<void()> clicked) = 0;
};
