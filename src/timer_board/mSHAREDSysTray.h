#pragma once
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;

// The notification-area icon and the single-instance check; log name "mSHAREDSysTray".
class mSHAREDSysTray {
public:
    static mSHAREDSysTray& instance();
    static void resetInstance();

    static constexpr int kTipLength = 64;

    void showprogramintray(QLabel* picture, const QString& tooltip);
    void changetrayicon(QLabel* picture, const QString& tooltip);
    void RemoveTrayicon();
    // With no notification area at start: show the icon when one comes up, as the last change
    // asked for it.
    void watchForArea(QLabel* picture);
    // Told when the area that showed the icon goes away (the icon comes back with a new one).
    void whenAreaLost(std::function<void()> lost) { m_whenLost = std::move(lost); }
    // True when an earlier copy runs: it has been asked to show itself and this copy must end.
    bool CheckPrevInstance(const QString& title);

    bool iconShown() const { return m_iconShown; }

private:
    void areaLost();
    void awaitArea();

    bool m_iconShown = false;
    QString m_tooltip;
    QPointer<QLabel> m_picture;
    std::function<void()> m_whenLost;
};
