#include "platform/QtTrayHost.h"
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#ifdef ZELVO_DBUS
#include "platform/dbus/StatusNotifierItem.h"
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#endif

namespace {
bool statusNotifierWatcher()
{
#ifdef ZELVO_DBUS
    return StatusNotifierItem::watcherPresent();
#else
    return false;
#endif
}
}

QtTrayHost::QtTrayHost() = default;
QtTrayHost::~QtTrayHost() = default;

// The watcher is asked first: Qt's own check settles Qt's route for good.
bool QtTrayHost::available() const { return m_item || statusNotifierWatcher() || QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayHost::add(const QIcon& icon, const QString& tooltip)
{
    if (m_item || (!m_icon && statusNotifierWatcher()))
        return addStatusNotifier(icon, tooltip);
    return addSystemTray(icon, tooltip);
}

bool QtTrayHost::addStatusNotifier(const QIcon& icon, const QString& tooltip)
{
#ifdef ZELVO_DBUS
    if (!m_item) {
        auto item = std::make_unique<StatusNotifierItem>(m_menu, [this](StatusNotifierItem::Click c) {
            handle(c == StatusNotifierItem::Click::Primary ? Message::LeftDown : Message::RightUp);
        });
        if (!item->publish())
            return false;
        m_item = std::move(item);
    }
    m_item->update(icon, tooltip);
    return true;
#else
    Q_UNUSED(icon);
    Q_UNUSED(tooltip);
    return false;
#endif
}

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
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tooltip);
    m_icon->show();
    return m_icon->isVisible();
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
    auto fire = [this, appeared] {
        if (!m_watching)
            return;
        m_watching.release()->deleteLater();
        appeared();
    };
#ifdef ZELVO_DBUS
    if (QDBusConnection::sessionBus().isConnected()) {
        auto* watcher = new QDBusServiceWatcher(StatusNotifierItem::kWatcher, QDBusConnection::sessionBus(),
                                                QDBusServiceWatcher::WatchForRegistration, m_watching.get());
        QObject::connect(watcher, &QDBusServiceWatcher::serviceRegistered, m_watching.get(), fire);
    }
#endif
    // An XEmbed tray announces itself with a selection owner and no signal we could wait on: look
    // now and then; only X11 has one.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto* poll = new QTimer(m_watching.get());
        QObject::connect(poll, &QTimer::timeout, m_watching.get(), [fire] {
            if (QSystemTrayIcon::isSystemTrayAvailable())
                fire();
        });
        poll->start(2000);
    }
}
