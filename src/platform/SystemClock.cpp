#include "platform/SystemClock.h"
#include <QThread>

SystemClock::SystemClock() { m_started.start(); }

QDateTime SystemClock::now() const
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    // Zone offsets change on whole minutes, so the one found at the minute's start holds for it.
    const qint64 minute = ms / 60000;
    if (minute != m_offsetMinute) {
        m_offsetSeconds = QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
        m_offsetMinute = minute;
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, m_offsetSeconds);
}

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
