#include "platform/SystemClock.h"
#include <QThread>

SystemClock::SystemClock() { m_started.start(); }

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

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
