#include "platform/QtTrayHost.h"
#include <QGuiApplication>
#include <algorithm>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#ifdef ZELVO_DBUS
#include "platform/dbus/StatusNotifierItem.h"
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#endif

#ifdef ZELVO_X11
#include "platform/x11/XEmbedTrayWatch.h"
#endif

namespace {
bool xembedTray()
{
#ifdef ZELVO_X11
    return XEmbedTrayWatch::present();
#else
    return QSystemTrayIcon::isSystemTrayAvailable();
#endif
}

#ifdef ZELVO_DBUS
bool statusNotifierWatcher() { return StatusNotifierItem::watcherPresent(); }
#endif
}

QtTrayHost::QtTrayHost() = default;
QtTrayHost::~QtTrayHost() = default;

// The watcher is asked first: Qt's own check settles Qt's route for good.
bool QtTrayHost::add(const QIcon& icon, const QString& tooltip)
{
#ifdef ZELVO_DBUS
    if (m_item || (!m_icon && statusNotifierWatcher()))
        return addStatusNotifier(icon, tooltip);
#endif
    return addSystemTray(icon, tooltip);
}

#ifdef ZELVO_DBUS
bool QtTrayHost::addStatusNotifier(const QIcon& icon, const QString& tooltip)
{
    if (!m_item) {
        auto item = std::make_unique<StatusNotifierItem>(
            m_menu,
            [this](StatusNotifierItem::Click c) {
                handle(c == StatusNotifierItem::Click::Primary ? Message::LeftDown : Message::RightUp);
            },
            [this] {
                if (m_lost)
                    m_lost();
            });
        if (!item->publish())
            return false;
        m_item = std::move(item);
        m_item->setAttention(m_attention, m_attentionPicture);  // a panel that came while a reminder waits
    }
    m_item->update(icon, tooltip);
    return true;
}
#endif

bool QtTrayHost::addSystemTray(const QIcon& icon, const QString& tooltip)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason why) {
            switch (why) {
            case QSystemTrayIcon::Trigger: handle(Message::LeftDown); break;
            case QSystemTrayIcon::DoubleClick: handle(Message::LeftDoubleClick); break;
            case QSystemTrayIcon::Context: handle(Message::RightUp); break;
            default: handle(Message::Other); break;
            }
        });
        QObject::connect(m_icon.get(), &QSystemTrayIcon::messageClicked, [this] {
            if (m_messageClicked)
                m_messageClicked();
        });
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tooltip);
    m_icon->show();
    followXEmbedTray();
    return m_icon->isVisible();
}

// An X11 tray that goes away says nothing to the icon (Qt docks it again quietly when another
// comes): follow its owner, so that its end counts as any area's going away.
void QtTrayHost::followXEmbedTray()
{
#ifdef ZELVO_X11
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (!m_xembed)
        m_xembed = std::make_unique<XEmbedTrayWatch>(
            [this] {
                if (!m_icon || !m_icon->isVisible())
                    return;
                m_icon->hide();
                if (m_lost)
                    m_lost();
            },
            [this] {
                if (m_appeared)
                    m_appeared();
            });
    m_xembed->follow();
#endif
}

bool QtTrayHost::modify(const QIcon& icon, const QString& tooltip)
{
#ifdef ZELVO_DBUS
    if (m_item) {
        m_item->update(icon, tooltip);
        return true;
    }
#endif
    if (!m_icon || !m_icon->isVisible())
        return false;
    m_icon->setIcon(icon);
    m_icon->setToolTip(tooltip);
    return true;
}

bool QtTrayHost::remove()
{
#ifdef ZELVO_DBUS
    if (m_item) {
        m_item.reset();  // the watcher sees the item's name go
        return true;
    }
#endif
    if (!m_icon)
        return false;
    m_icon->hide();
    return true;
}

void QtTrayHost::setAttention(bool on, const QIcon& picture)
{
    m_attention = on;
    m_attentionPicture = picture;
#ifdef ZELVO_DBUS
    if (m_item)
        m_item->setAttention(on, picture);
#else
#endif
}

void QtTrayHost::showMessage(const QString& title, const QString& text, std::function<void()> clicked)
{
    if (!m_icon || !m_icon->isVisible())
        return;
    m_messageClicked = std::move(clicked);
    m_icon->showMessage(title, text, QSystemTrayIcon::Information);
}

void QtTrayHost::handle(Message m)
{
    if (m_handler)
        m_handler(m);
}

void QtTrayHost::setHandler(std::function<void(Message)> handler) { m_handler = std::move(handler); }
void QtTrayHost::setMenu(QMenu* menu) { m_menu = menu; }

void QtTrayHost::watch(std::function<void()> appeared)
{
    m_watching = std::make_unique<QObject>();
    m_appeared = [this, appeared] {
        if (!m_watching)
            return;
        m_watching.release()->deleteLater();
        appeared();
    };
#ifdef ZELVO_DBUS
    if (QDBusConnection::sessionBus().isConnected()) {
        auto* watcher = new QDBusServiceWatcher(StatusNotifierItem::kWatcher, QDBusConnection::sessionBus(),
                                                QDBusServiceWatcher::WatchForRegistration, m_watching.get());
        QObject::connect(watcher, &QDBusServiceWatcher::serviceRegistered, m_watching.get(), [this] { m_appeared(); });
    }
#endif
    // An XEmbed tray announces itself by owning a selection (and says so once it has followed one);
    // look now and then too, often while the session is still starting, seldom later (each look
    // wakes two threads); only X11 has one.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto* poll = new QTimer(m_watching.get());
        poll->setSingleShot(true);
        QObject::connect(poll, &QTimer::timeout, m_watching.get(), [this, poll] {
            if (xembedTray())
                return m_appeared();
            poll->start(std::min(poll->interval() * 2, 60000));
        });
        poll->start(2000);
    }
}
