#pragma once
#include "platform/Notifier.h"
#include <QHash>
#include <QList>
#include <QStringList>
#include <QObject>
#include <QSet>

// org.freedesktop.Notifications over the session bus, every call asynchronous. The service's
// capabilities are asked once, before the first notice: the body is escaped only for a service that
// reads markup, and the notice offers its actions only where the service shows actions.
class DBusNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    DBusNotifier();
    int post(const QString& summary, const QString& body, const QImage& icon, const QList<Action>& actions,
             Chosen chosen) override;
    void withdraw(int handle) override;
    void setFailureHandler(std::function<void(const QString&)> failed) override { m_failed = std::move(failed); }

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);
    void activationToken(uint id, const QString& token);

private:
    struct Notice {
        uint id = 0;  // the service's, once it has answered
        Chosen chosen;
        QString token;  // sent just before the action it allows
    };
    void listen();
    // Sends what waits once the capabilities are known, asking for them the first time.
    void sendWhenReady();
    void send(int handle, const QString& summary, const QString& body, const QImage& icon, const QList<Action>& actions);
    void answered(int handle, uint id);
    void close(uint id);
    void fail(const QString& why);

    int m_next = 0;
    bool m_listening = false;
    bool m_reported = false;
    QHash<int, Notice> m_notices;  // posted and not withdrawn
    enum class Capabilities { Unknown, Asked, Known } m_known = Capabilities::Unknown;
    QStringList m_capabilities;
    QList<std::function<void()>> m_waiting;  // notices posted before the capabilities came
    std::function<void(const QString&)> m_failed;
};
