#pragma once
#include "platform/Clock.h"
#include <vector>

// A clock that moves only when told to; sleeps advance it instead of waiting.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(22, 7, 5))) : m_now(start) {}

    QDateTime now() const override { return m_now; }
    double secondsSinceMidnight() const override { return m_now.time().msecsSinceStartOfDay() / 1000.0; }
    std::uint32_t tickCount() const override { return m_ticks; }
    void sleepMs(int ms) override
    {
        sleeps.push_back(ms);
        advanceMs(ms);
    }

    void set(const QDateTime& moment) { m_now = moment; }
    void advanceMs(qint64 ms)
    {
        m_now = m_now.addMSecs(ms);
        m_ticks += static_cast<std::uint32_t>(ms);
    }

    std::vector<int> sleeps;

private:
    QDateTime m_now;
    std::uint32_t m_ticks = 1000;
};
