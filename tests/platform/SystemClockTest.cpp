#include "fakes/TimeZone.h"
#include "platform/SystemClock.h"
#include "support/OleDate.h"
#include <gtest/gtest.h>
#include <cmath>

TEST(SystemClock, NowIsTheLocalWallClockTimeInOddZones)
{
    for (const char* rule : {"UTC0", "NPT-5:45", "NST3:30", "CHAST-12:45CHADT,M9.5.0/2:45,M4.1.0/3:45", "AAA+11"}) {
        TimeZone zone(rule);
        SystemClock clock;
        const double expected = OleDate::fromDateTime(QDateTime::currentDateTime()).days;
        const QDateTime now = clock.now();
        const double got = OleDate::fromDateTime(now).days;
        EXPECT_LT(std::fabs(got - expected) * 86400.0, 2.0) << rule;
        EXPECT_EQ(now.offsetFromUtc(), QDateTime::currentDateTime().offsetFromUtc()) << rule;
        EXPECT_LT(std::llabs(now.toMSecsSinceEpoch() - QDateTime::currentMSecsSinceEpoch()), 2000) << rule;
    }
}

TEST(SystemClock, AFixedOffsetMomentCountsAsTheTimeItShows)
{
    const QDateTime shown(QDate(2026, 3, 29), QTime(2, 30, 15), Qt::OffsetFromUTC, 5 * 3600 + 45 * 60);
    EXPECT_EQ(OleDate::fromDateTime(shown).days, OleDate::fromParts(QDate(2026, 3, 29), QTime(2, 30, 15)).days);
}
