#include "slot_model/SlotMath.h"
#include <gtest/gtest.h>

using SlotMath::Fields;

namespace {
QString joined(const Fields& f) { return f.days + ' ' + f.hours + ' ' + f.minutes + ' ' + f.seconds; }
}

TEST(SlotMathTest, RemainingTimeIsRoundedUpToTheWholeSecond)
{
    EXPECT_EQ(joined(SlotMath::remainingFields((2 * 86400 + 5 * 3600 + 7 * 60 + 9) * 1000)), "2 5 7 09");
    // The last fraction of a second still shows one second, never all zeros.
    EXPECT_EQ(joined(SlotMath::remainingFields(1)), "0 0 0 01");
    EXPECT_EQ(joined(SlotMath::remainingFields(59200)), "0 0 1 00");
    EXPECT_EQ(joined(SlotMath::remainingFields(3599500)), "0 1 0 00");
    EXPECT_EQ(joined(SlotMath::remainingFields(0)), "0 0 0 00");
    EXPECT_EQ(joined(SlotMath::remainingFields(-1)), "0 0 0 00");
}

TEST(SlotMathTest, DurationCountsFractionalDaysToTheHourAndAddsOversizedFields)
{
    EXPECT_EQ(SlotMath::durationSeconds({"1.5", "0", "0", "00"}), 36 * 3600);
    // 1.01 days are 24.24 hours, which round to 24.
    EXPECT_EQ(SlotMath::durationSeconds({"1.01", "0", "0", "00"}), 24 * 3600);
    EXPECT_EQ(SlotMath::durationSeconds({"0", "0", "90", "00"}), 5400);
    EXPECT_EQ(SlotMath::durationSeconds({"0", "2.5", "3.5", "0.5"}), 2 * 3600 + 4 * 60 + 0);
    EXPECT_EQ(SlotMath::durationSeconds({"", "12abc", "x", " 7"}), 12 * 3600 + 7);
    EXPECT_EQ(SlotMath::durationSeconds({"0", "0", "-5", "0"}), -300);
    // The largest parts that fit, and one past each.
    EXPECT_EQ(SlotMath::durationSeconds({"1365", "32767", "32767", "32767"}),
              std::int64_t(1365) * 86400 + 32767LL * 3600 + 32767LL * 60 + 32767);
    EXPECT_FALSE(SlotMath::durationSeconds({"1366", "0", "0", "0"}));
    EXPECT_FALSE(SlotMath::durationSeconds({"0", "32768", "0", "0"}));
    EXPECT_FALSE(SlotMath::durationSeconds({"0", "0", "1e9", "0"}));
    EXPECT_FALSE(SlotMath::durationSeconds({"0", "0", "0", QString(300, '9')}));
    EXPECT_FALSE(SlotMath::durationSeconds({"0", "0", "0", QString(400, '9')}));
}

TEST(SlotMathTest, ClockTimeTextFollowsTheAmPmRules)
{
    EXPECT_EQ(SlotMath::composeClockTime("7", "5", "0", true), "7:05:00");
    EXPECT_EQ(SlotMath::composeClockTime("7", "5", "0", false), "19:05:00");
    EXPECT_EQ(SlotMath::composeClockTime("07", "05", "00", true), "7:05:00");
    // 12 am is midnight and 12 pm noon, as the command line reads them.
    EXPECT_EQ(SlotMath::composeClockTime("12", "5", "0", true), "0:05:00");
    EXPECT_EQ(SlotMath::composeClockTime("12", "5", "0", false), "12:05:00");
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(SlotMath::hour24(SlotMath::hour12(hour).first, SlotMath::hour12(hour).second), hour);
    // An am hour that is not a number stays in the text and spoils it; a pm one reads 0.
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("abc", "0", "0", true)));
    EXPECT_EQ(SlotMath::composeClockTime("abc", "0", "0", false), "12:00:00");
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("7", "x", "0", true)));
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("7", "60", "0", true)));
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("7", "0", "-5", true)));
    // Huge hours make no time, whatever their size.
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("1e9", "0", "0", true)));
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("1e300", "0", "0", true)));
    EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("1e300", "0", "0", false)));
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
        EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime(huge, "0", "0", am))) << am;
        EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("7", huge, "0", am))) << am;
        EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("7", "0", "1e400", am))) << am;
        EXPECT_FALSE(SlotMath::clockTimeSeconds(SlotMath::composeClockTime("-1e300", "0", "0", am))) << am;
    }
}
