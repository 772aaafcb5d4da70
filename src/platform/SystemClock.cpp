#include "platform/SystemClock.h"
#include <QThread>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <ctime>
#endif

SystemClock::SystemClock() { m_started.start(); }

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

std::int64_t SystemClock::bootMs() const
{
#ifdef Q_OS_WIN
    // Counts sleep and ignores changes of the wall clock.
    return static_cast<std::int64_t>(GetTickCount64());
#else
    timespec ts{};
#ifdef CLOCK_BOOTTIME
    // CLOCK_MONOTONIC stops while the computer sleeps; this one does not.
    clock_gettime(CLOCK_BOOTTIME, &ts);
#else
    clock_gettime(CLOCK_MONOTONIC, &ts);
#endif
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
#endif
}

std::int64_t SystemClock::utcMs() const { return QDateTime::currentMSecsSinceEpoch(); }

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::uint32_t SystemClock::tickCount() const
{
    return static_cast<std::uint32_t>(m_started.elapsed());
}

void SystemClock::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
