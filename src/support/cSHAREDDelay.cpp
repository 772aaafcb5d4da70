#include "support/cSHAREDDelay.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include <QCoreApplication>
#include <algorithm>
#include <cmath>

cSHAREDDelay& cSHAREDDelay::instance()
{
    static cSHAREDDelay* delay = new cSHAREDDelay;
    return *delay;
}

void cSHAREDDelay::pump()
{
    ++m_pumps;
    if (!QCoreApplication::instance())
        return;
    ++m_depth;
    QCoreApplication::processEvents();
    --m_depth;
}

// Qt gives no cheap look at pending input; a pump with nothing pending returns at once.
void cSHAREDDelay::newDoEvents() { pump(); }

void cSHAREDDelay::DoEventss() { pump(); }

void cSHAREDDelay::RegularDoEvents()
{
    const double now = Platform::clock().secondsSinceMidnight();
    // Past midnight the stored moment lies ahead by almost a day; start afresh then.
    if (now > m_nextPump || m_nextPump - now > 1.0) {
        pump();
        m_nextPump = now + 0.25;
    }
}

void cSHAREDDelay::Delay(float seconds)
{
    Clock& clock = Platform::clock();
    if (seconds > 1.0f) {
        const int whole = static_cast<int>(std::floor(seconds));
        for (int i = 0; i < 2 * whole; ++i) {
            clock.sleepMs(500);
            newDoEvents();
        }
        const float fraction = seconds - static_cast<float>(whole);
        if (fraction > 0)
            clock.sleepMs(static_cast<int>(std::lround(fraction * 1000.0f)));
    } else if (seconds > 0) {
        clock.sleepMs(static_cast<int>(std::lround(seconds * 1000.0f)));
    }
}

void cSHAREDDelay::Sleep(int milliseconds)
{
    if (milliseconds <= 1000)
        Platform::clock().sleepMs(milliseconds);
    else
        Delay(static_cast<float>(milliseconds) / 1000.0f);
}

void cSHAREDDelay::MsgWait(int milliseconds)
{
    Clock& clock = Platform::clock();
    const std::uint32_t start = clock.tickCount();
    while (true) {
        const std::uint32_t elapsed = clock.tickCount() - start;
        if (elapsed >= static_cast<std::uint32_t>(std::max(milliseconds, 0)))
            break;
        const int left = milliseconds - static_cast<int>(elapsed);
        clock.sleepMs(std::min(left, 10));
        newDoEvents();
    }
}
