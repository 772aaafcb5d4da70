#pragma once
#include <QDateTime>
#include <cstdint>

// The system clock: local date-time, seconds since midnight and a millisecond tick count.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual double secondsSinceMidnight() const = 0;
    virtual std::uint32_t tickCount() const = 0;
    virtual void sleepMs(int ms) = 0;
};
