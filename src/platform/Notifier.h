#pragma once
#include <QImage>
#include <QString>
#include <functional>

// Desktop notifications: a reminder also leaves a notice in the desktop's list. Nothing here
// waits for the desktop: a missing or hung notification service costs nothing but the notice.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Returns a handle for withdraw; activated runs, from the event loop, when the user picks the
    // notice. body is plain text: the service's own markup, where it reads any, is the notifier's affair.
    virtual int post(const QString& summary, const QString& body, const QImage& icon,
                     std::function<void()> activated) = 0;
    virtual void withdraw(int handle) = 0;
    // Told the first failure of the service only.
    virtual void setFailureHandler(std::function<void(const QString&)> failed) = 0;
};
