#include "platform/dbus/DBusNotifier.h"
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QTimer>
#include <utility>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusConnection bus() { return QDBusConnection::sessionBus(); }

QDBusMessage call(const QString& method) { return QDBusMessage::createMethodCall(kService, kPath, kService, method); }

// The "image-data" hint: width, height, row stride, alpha, bits per sample, channels, RGBA bytes.
QDBusArgument imageData(const QImage& icon)
{
    const QImage rgba = icon.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument arg;
    arg.beginStructure();
    arg << rgba.width() << rgba.height() << static_cast<int>(rgba.bytesPerLine()) << true << 8 << 4
        << QByteArray(reinterpret_cast<const char*>(rgba.constBits()), static_cast<int>(rgba.sizeInBytes()));
    arg.endStructure();
    return arg;
}
}

DBusNotifier::DBusNotifier() = default;

int DBusNotifier::post(const QString& summary, const QString& body, const QImage& icon, const QList<Action>& actions,
                       Chosen chosen)
{
    const int handle = ++m_next;
    if (!bus().isConnected()) {
        fail(QStringLiteral("no session bus"));
        return handle;
    }
    listen();
    m_notices.insert(handle, Notice{0, std::move(chosen), {}});
    m_waiting << [this, handle, summary, body, icon, actions] { send(handle, summary, body, icon, actions); };
    sendWhenReady();
    return handle;
}

void DBusNotifier::sendWhenReady()
{
    if (m_known == Capabilities::Known) {
        for (const auto& waiting : std::exchange(m_waiting, {}))
            waiting();
        return;
    }
    if (m_known == Capabilities::Asked)
        return;
    m_known = Capabilities::Asked;
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        // A service that cannot say is given plain text and no action; its Notify tells of a failure.
        m_capabilities = reply.isError() ? QStringList() : reply.value();
        m_known = Capabilities::Known;
        sendWhenReady();
    });
}

void DBusNotifier::send(int handle, const QString& summary, const QString& body, const QImage& icon,
                        const QList<Action>& actions)
{
    if (!m_notices.contains(handle))
        return;  // withdrawn while the capabilities were asked for
    QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},
                      {QStringLiteral("desktop-entry"), QStringLiteral("zelvo")}};
    if (!icon.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(imageData(icon)));
    // A service that reads markup would take a message's "<" for a tag; one that does not would show "&amp;".
    const QString text = m_capabilities.contains(QStringLiteral("body-markup")) ? body.toHtmlEscaped() : body;
    QStringList offered;
    if (m_capabilities.contains(QStringLiteral("actions"))) {
        offered << QStringLiteral("default") << QStringLiteral("Show");
        for (const Action& action : actions)
            offered << action.key << action.label;
    }
    QDBusMessage notify = call(QStringLiteral("Notify"));
    notify << QStringLiteral("Zelvo") << uint(0) << QStringLiteral("zelvo") << summary << text << offered << hints << 0;
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, handle](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError())
            fail(reply.error().name() + ": " + reply.error().message());
        else
            answered(handle, reply.value());
    });
}

void DBusNotifier::answered(int handle, uint id)
{
    const auto notice = m_notices.find(handle);
    if (notice == m_notices.end())
        close(id);  // withdrawn while the service was still answering
    else
        notice->id = id;
}

void DBusNotifier::withdraw(int handle)
{
    const auto notice = m_notices.find(handle);
    if (notice == m_notices.end())
        return;
    if (notice->id)
        close(notice->id);
    m_notices.erase(notice);
}

void DBusNotifier::close(uint id)
{
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << id;
    bus().asyncCall(message);
}

void DBusNotifier::listen()
{
    if (m_listening)
        return;
    m_listening = true;
    bus().connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    bus().connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
    bus().connect(kService, kPath, kService, QStringLiteral("ActivationToken"), this,
                  SLOT(activationToken(uint, QString)));
    // Another server may take the name during a run (one that reads markup after one that does
    // not): what it can do is asked again before the next notice.
    auto* owner = new QDBusServiceWatcher(kService, bus(), QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        if (m_known == Capabilities::Known)
            m_known = Capabilities::Unknown;
    });
}

void DBusNotifier::activationToken(uint id, const QString& token)
{
    for (Notice& notice : m_notices)
        if (notice.id == id)
            notice.token = token;
}

void DBusNotifier::actionInvoked(uint id, const QString& action)
{
    for (Notice& notice : m_notices)
        if (notice.id == id && notice.chosen)
            QTimer::singleShot(0, this, [chosen = notice.chosen, action, token = std::exchange(notice.token, {})] {
                chosen(action, token);
            });
}

void DBusNotifier::notificationClosed(uint id, uint)
{
    for (auto notice = m_notices.begin(); notice != m_notices.end(); ++notice)
        if (notice->id == id) {
            notice->id = 0;  // nothing left to withdraw; a pick can no longer come
            return;
        }
}

void DBusNotifier::fail(const QString& why)
{
    if (m_reported)
        return;
    m_reported = true;
    if (m_failed)
        m_failed(why);
}
