#pragma once
#include "platform/Clock.h"
#include <QElapsedTimer>

class SystemClock : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    std::int64_t bootMs() const override;
    std::int64_t utcMs() const override;
    double secondsSinceMidnight() const override;
    std::uint32_t tickCount() const override;
    void sleepMs(int ms) override;

private:
    QElapsedTimer m_started;
};
