#pragma once
#include "platform/Clock.h"
#include <QElapsedTimer>

// Local time hands out a fixed-offset moment: asking the C library for the zone on every call
// re-checks the zone file each time, and the tick asks forty times ten times a second.
class SystemClock : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    double secondsSinceMidnight() const override;
    std::uint32_t tickCount() const override;
    void sleepMs(int ms) override;

private:
    QElapsedTimer m_started;
    mutable qint64 m_offsetMinute = -1;
    mutable int m_offsetSeconds = 0;
};
