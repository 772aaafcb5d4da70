#pragma once
#include "platform/Clock.h"
#include <vector>

// A clock that moves only when told to; sleeps advance it instead of waiting. It keeps the wall
// clock as UTC (the local time follows the process's zone, TZ) and the clock that counts sleep
// apart, so a test can step one without the other.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(22, 7, 5)))
        : m_utc(start.toMSecsSinceEpoch())
    {
    }

    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(m_utc); }
    std::int64_t bootMs() const override { return m_boot; }
    std::int64_t utcMs() const override { return m_utc; }
    double secondsSinceMidnight() const override { return now().time().msecsSinceStartOfDay() / 1000.0; }
    std::uint32_t tickCount() const override { return m_ticks; }
    void sleepMs(int ms) override
    {
        sleeps.push_back(ms);
        advanceMs(ms);
    }

    // The wall clock set to another moment (by hand, or by NTP); nothing else moves.
    void set(const QDateTime& moment) { m_utc = moment.toMSecsSinceEpoch(); }
    void stepWallMs(qint64 ms) { m_utc += ms; }
    void advanceMs(qint64 ms)
    {
        m_utc += ms;
        m_boot += ms;
        m_ticks += static_cast<std::uint32_t>(ms);
    }
    // The computer sleeps: wall time and the clock that counts sleep go on, the tick count
    // (which stops with the processor) does not.
    void suspendMs(qint64 ms)
    {
        m_utc += ms;
        m_boot += ms;
    }

    std::vector<int> sleeps;

private:
    std::int64_t m_utc;
    std::int64_t m_boot = 5'000'000;
    std::uint32_t m_ticks = 1000;
};
