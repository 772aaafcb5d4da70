#include "platform/dbus/StatusNotifierItem.h"
#include "platform/dbus/DBusMenu.h"
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QtEndian>

namespace {
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");

QDBusConnection bus() { return QDBusConnection::sessionBus(); }

SniPixmaps pixmapsOf(const QIcon& icon)
{
    QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty())
        sizes = {QSize(22, 22), QSize(32, 32)};
    SniPixmaps out;
    for (const QSize& size : sizes) {
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        SniPixmap p{image.width(), image.height(), QByteArray(image.width() * image.height() * 4, '\0')};
        auto* to = reinterpret_cast<quint32*>(p.argb.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* from = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *to++ = qToBigEndian(from[x]);
        }
        out << p;
    }
    return out;
}
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& p)
{
    arg.beginStructure();
    arg << p.width << p.height << p.argb;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& p)
{
    arg.beginStructure();
    arg >> p.width >> p.height >> p.argb;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& t)
{
    arg.beginStructure();
    arg << t.iconName << t.icon << t.title << t.text;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& t)
{
    arg.beginStructure();
    arg >> t.iconName >> t.icon >> t.title >> t.text;
    arg.endStructure();
    return arg;
}

StatusNotifierItem::StatusNotifierItem(QMenu* menu, std::function<void(Click)> clicked,
                                       std::function<void()> hostGone)
    : m_menu(new DBusMenu(menu, this)), m_clicked(std::move(clicked)), m_hostGone(std::move(hostGone))
{
    static int count = 0;
    m_service = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
    qDBusRegisterMetaType<SniPixmap>();
    qDBusRegisterMetaType<SniPixmaps>();
    qDBusRegisterMetaType<SniToolTip>();
    DBusMenu::registerTypes();
    // A panel restarted, or one that comes up later, has a new watcher: register again with it.
    auto* watcher = new QDBusServiceWatcher(kWatcher, bus(), QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierItem::registerWithWatcher);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { m_hostGone(); });
}

StatusNotifierItem::~StatusNotifierItem()
{
    bus().unregisterObject(kMenuPath);
    bus().unregisterObject(kItemPath);
    bus().unregisterService(m_service);
}

bool StatusNotifierItem::watcherPresent()
{
    const QDBusConnection session = bus();
    return session.isConnected() && session.interface()->isServiceRegistered(kWatcher);
}

bool StatusNotifierItem::publish()
{
    const auto everything = QDBusConnection::ExportAllContents;
    if (!bus().registerObject(kItemPath, this, everything) || !bus().registerObject(kMenuPath, m_menu, everything)
        || !bus().registerService(m_service))
        return false;
    registerWithWatcher();
    return true;
}

void StatusNotifierItem::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << m_service;
    // A watcher that refuses the item shows it no more than no watcher at all.
    auto* reply = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        if (call->isError())
            m_hostGone();
        call->deleteLater();
    });
}

void StatusNotifierItem::update(const QIcon& icon, const QString& tip)
{
    m_pixmaps = pixmapsOf(icon);
    emit NewIcon();
    if (tip != m_tip) {
        m_tip = tip;
        emit NewToolTip();
    }
}

void StatusNotifierItem::setAttention(bool on, const QIcon& picture)
{
    if (on == m_attention)
        return;
    m_attention = on;
    m_attentionPixmaps = on ? pixmapsOf(picture) : SniPixmaps();
    emit NewStatus(status());
    // Gone with the status: xfce4-panel keeps drawing an attention picture until it changes.
    emit NewAttentionIcon();
}

QDBusObjectPath StatusNotifierItem::menu() const { return QDBusObjectPath(kMenuPath); }

void StatusNotifierItem::Activate(int, int) { m_clicked(Click::Primary); }
void StatusNotifierItem::SecondaryActivate(int, int) {}
void StatusNotifierItem::ContextMenu(int, int) { m_clicked(Click::Context); }
void StatusNotifierItem::Scroll(int, const QString&) {}
