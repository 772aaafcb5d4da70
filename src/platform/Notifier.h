#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <functional>

// Desktop notifications: a reminder also leaves a notice in the desktop's list. Nothing here
// waits for the desktop: a missing or hung notification service costs nothing but the notice.
class Notifier {
public:
    // A choice the notice offers besides the click on the notice itself, whose key is "default".
    struct Action {
        QString key;
        QString label;
    };
    // Runs from the event loop with the action's key. token: the desktop's permission to bring a
    // window forward (Wayland's xdg-activation), empty where the service sends none.
    using Chosen = std::function<void(const QString& key, const QString& token)>;

    virtual ~Notifier() = default;
    // Returns a handle for withdraw. body is plain text: the service's own markup, where it reads
    // any, is the notifier's affair; so is leaving the actions out where the service shows none.
    virtual int post(const QString& summary, const QString& body, const QImage& icon,
                     const QList<Action>& actions, Chosen chosen) = 0;
    virtual void withdraw(int handle) = 0;
    // Told the first failure of the service only.
    virtual void setFailureHandler(std::function<void(const QString&)> failed) = 0;
};
