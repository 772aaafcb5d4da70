#include "slot_model/ClockTime.h"
#include "slot_model/Duration.h"
#include "slot_model/SlotMath.h"
#include <gtest/gtest.h>

using SlotMath::Fields;

void PrintTo(const Duration& d, std::ostream* os) { *os << d.seconds() << " s"; }

namespace {
QString joined(const Fields& f) { return f.days + ' ' + f.hours + ' ' + f.minutes + ' ' + f.seconds; }
// Seconds since midnight of the clock fields; -1 when they make no time.
int seconds(const QString& hour, const QString& minute, const QString& second, bool am)
{
    const auto time = ClockTime::ofEntry(hour, minute, second, am);
    return time ? time->secondsOfDay() : -1;
}
}

TEST(SlotMathTest, RemainingTimeIsRoundedUpToTheWholeSecond)
{
    EXPECT_EQ(joined(Duration::left((2 * 86400 + 5 * 3600 + 7 * 60 + 9) * 1000).shown()), "2 5 7 09");
    // The last fraction of a second still shows one second, never all zeros.
    EXPECT_EQ(joined(Duration::left(1).shown()), "0 0 0 01");
    EXPECT_EQ(joined(Duration::left(59200).shown()), "0 0 1 00");
    EXPECT_EQ(joined(Duration::left(3599500).shown()), "0 1 0 00");
    // Oversized fields and fractional days show as the fields would hold them.
    EXPECT_EQ(joined(Duration::ofFields({"0", "0", "90", "0"})->shown()), "0 1 30 00");
    EXPECT_EQ(joined(Duration::ofFields({"1.5", "0", "0", "0"})->shown()), "1 12 0 00");
    EXPECT_EQ(joined(Duration::left(0).shown()), "0 0 0 00");
    EXPECT_EQ(joined(Duration::left(-1).shown()), "0 0 0 00");
}

TEST(SlotMathTest, DurationCountsFractionalDaysToTheHourAndAddsOversizedFields)
{
    EXPECT_EQ(Duration::ofFields({"1.5", "0", "0", "00"}), Duration(36 * 3600));
    // 1.01 days are 24.24 hours, which round to 24.
    EXPECT_EQ(Duration::ofFields({"1.01", "0", "0", "00"}), Duration(24 * 3600));
    EXPECT_EQ(Duration::ofFields({"0", "0", "90", "00"}), Duration(5400));
    EXPECT_EQ(Duration::ofFields({"0", "2.5", "3.5", "0.5"}), Duration(2 * 3600 + 4 * 60 + 0));
    EXPECT_EQ(Duration::ofFields({"", "12abc", "x", " 7"}), Duration(12 * 3600 + 7));
    EXPECT_EQ(Duration::ofFields({"0", "0", "-5", "0"}), Duration(-300));
    // The largest parts that fit, and one past each.
    EXPECT_EQ(Duration::ofFields({"1365", "32767", "32767", "32767"}), Duration(1365LL * 86400 + 32767LL * 3600 + 32767LL * 60 + 32767));
    EXPECT_FALSE(Duration::ofFields({"1366", "0", "0", "0"}));
    EXPECT_FALSE(Duration::ofFields({"0", "32768", "0", "0"}));
    EXPECT_FALSE(Duration::ofFields({"0", "0", "1e9", "0"}));
    EXPECT_FALSE(Duration::ofFields({"0", "0", "0", QString(300, '9')}));
    EXPECT_FALSE(Duration::ofFields({"0", "0", "0", QString(400, '9')}));
}

TEST(SlotMathTest, ClockTimeTextFollowsTheAmPmRules)
{
    EXPECT_EQ(seconds("7", "5", "0", true), 25500);
    EXPECT_EQ(seconds("7", "5", "0", false), 68700);
    EXPECT_EQ(seconds("07", "05", "00", true), 25500);
    // 12 am is midnight and 12 pm noon, as the command line reads them.
    EXPECT_EQ(seconds("12", "5", "0", true), 300);
    EXPECT_EQ(seconds("12", "5", "0", false), 43500);
    // The fields a command writes read back as the time it gave.
    for (int at = 0; at < 86400; at += 1799) {
        const ClockTime::Entry e = ClockTime::ofSeconds(at)->entry();
        EXPECT_EQ(seconds(e.hour, e.minute, e.second, e.am), at);
        EXPECT_EQ(ClockTime::hour24(e.hour.toInt(), !e.am), at / 3600);
    }
    // An am hour that is not a number stays in the text and spoils it; a pm one reads 0.
    EXPECT_FALSE(ClockTime::ofEntry("abc", "0", "0", true));
    EXPECT_EQ(seconds("abc", "0", "0", false), 43200);
    EXPECT_FALSE(ClockTime::ofEntry("7", "x", "0", true));
    EXPECT_FALSE(ClockTime::ofEntry("7", "60", "0", true));
    EXPECT_FALSE(ClockTime::ofEntry("7", "0", "-5", true));
    // Huge hours make no time, whatever their size.
    EXPECT_FALSE(ClockTime::ofEntry("1e9", "0", "0", true));
    EXPECT_FALSE(ClockTime::ofEntry("1e300", "0", "0", true));
    EXPECT_FALSE(ClockTime::ofEntry("1e300", "0", "0", false));
}

TEST(SlotMathTest, QuickStartSecondsSplitIntoTheFourFields)
{
    EXPECT_EQ(joined(SlotMath::splitSeconds(3661)), "0 1 1 1");
    EXPECT_EQ(joined(SlotMath::splitSeconds(90061)), "1 1 1 1");
    EXPECT_EQ(joined(SlotMath::splitSeconds(30)), "0 0 0 30");
}

TEST(SlotMathTest, FieldTotalRoundsAfterEachAddition)
{
    EXPECT_EQ(SlotMath::fieldTotal({"0", "0", "0", "00"}), 0);
    EXPECT_EQ(SlotMath::fieldTotal({"0", "0", "0", "0.4"}), 0);
    // 0.5 rounds to 0, then 0 + 0.6 rounds to 1.
    EXPECT_EQ(SlotMath::fieldTotal({"0.5", "0.6", "0", "0"}), 1);
    EXPECT_EQ(SlotMath::fieldTotal({"abc", "", "2x", "-1"}), 1);
}

TEST(SlotMathTest, ClockTimeFieldsTooLargeToReadMakeNoTime)
{
    const QString huge = "1" + QString(400, '0');
    for (bool am : {true, false}) {
        EXPECT_FALSE(ClockTime::ofEntry(huge, "0", "0", am)) << am;
        EXPECT_FALSE(ClockTime::ofEntry("7", huge, "0", am)) << am;
        EXPECT_FALSE(ClockTime::ofEntry("7", "0", "1e400", am)) << am;
        EXPECT_FALSE(ClockTime::ofEntry("-1e300", "0", "0", am)) << am;
    }
}
