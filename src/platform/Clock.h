#pragma once
#include <QDateTime>
#include <cstdint>

// The system clock: local date-time, seconds since midnight and a millisecond tick count, and
// the two readings a countdown keeps time with.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that runs on while the computer sleeps and is never stepped with
    // the wall clock (its start is arbitrary): what a countdown counts on.
    virtual std::int64_t bootMs() const = 0;
    // The wall clock as milliseconds since 1970 UTC: where a countdown ends, for the file.
    virtual std::int64_t utcMs() const = 0;
    virtual double secondsSinceMidnight() const = 0;
    virtual std::uint32_t tickCount() const = 0;
    virtual void sleepMs(int ms) = 0;
};
