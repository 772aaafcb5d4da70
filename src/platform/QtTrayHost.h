#pragma once
#include "platform/TrayHost.h"
#include <QPointer>
#include <memory>

class QMenu;
class QObject;
class QSystemTrayIcon;
class StatusNotifierItem;
class XEmbedTrayWatch;

// Two routes to the desktop: a StatusNotifierItem of our own when the session has a watcher
// (Qt decides its own route once per process, so it would miss a panel that comes up later),
// and QSystemTrayIcon otherwise (XEmbed on X11, the taskbar on Windows).
class QtTrayHost : public TrayHost {
public:
    QtTrayHost();
    ~QtTrayHost() override;
    bool add(const QIcon& icon, const QString& tooltip) override;
    bool modify(const QIcon& icon, const QString& tooltip) override;
    bool remove() override;
    void setHandler(std::function<void(Message)> handler) override;
    void setMenu(QMenu* menu) override;
    void watch(std::function<void()> appeared) override;
    void setLost(std::function<void()> lost) override { m_lost = std::move(lost); }
    void setAttention(bool on, const QIcon& picture) override;
    void showMessage(const QString& title, const QString& text, std::function<void()> clicked) override;

private:
#ifdef ZELVO_DBUS
    bool addStatusNotifier(const QIcon& icon, const QString& tooltip);
#endif
    bool addSystemTray(const QIcon& icon, const QString& tooltip);
    void handle(Message m);
    void followXEmbedTray();

    std::unique_ptr<QSystemTrayIcon> m_icon;
#ifdef ZELVO_DBUS
    std::unique_ptr<StatusNotifierItem> m_item;
#endif
    std::unique_ptr<QObject> m_watching;
    std::function<void()> m_appeared;  // while watching
#ifdef ZELVO_X11
    std::unique_ptr<XEmbedTrayWatch> m_xembed;
#endif
    QPointer<QMenu> m_menu;
    std::function<void(Message)> m_handler;
    std::function<void()> m_lost;
    std::function<void()> m_messageClicked;  // the newest balloon's
    bool m_attention = false;
    QIcon m_attentionPicture;
};
