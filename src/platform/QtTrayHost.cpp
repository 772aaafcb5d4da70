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
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#endif

namespace {
// Whether an XEmbed tray manager owns the screen's tray selection: one round trip, where asking
// Qt costs milliseconds each time.
bool xembedTray()
{
#ifdef ZELVO_X11
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t* c = x11->connection();
    static const xcb_atom_t selection = [c] {
        const QByteArray display = qgetenv("DISPLAY");
        const qsizetype dot = display.lastIndexOf('.');
        const QByteArray name = "_NET_SYSTEM_TRAY_S" + (dot > display.lastIndexOf(':') ? display.mid(dot + 1) : "0");
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
        const xcb_atom_t id = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(atom);
        return id;
    }();
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
#else
    return QSystemTrayIcon::isSystemTrayAvailable();
#endif
}

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
    // An XEmbed tray announces itself by owning a selection: look now and then, often while the
    // session is still starting, seldom later (each look wakes two threads); only X11 has one.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto* poll = new QTimer(m_watching.get());
        poll->setSingleShot(true);
        QObject::connect(poll, &QTimer::timeout, m_watching.get(), [fire, poll] {
            if (xembedTray())
                return fire();
            poll->start(std::min(poll->interval() * 2, 60000));
        });
        poll->start(2000);
    }
}
