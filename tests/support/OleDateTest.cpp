#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "platform/SystemAppFacts.h"
#include "support/OleDate.h"
#include "fakes/TimeZone.h"
#include <QLocale>
#include <cmath>
#include <ctime>

namespace {
OleDate at(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return OleDate::fromParts(QDate(y, m, d), QTime(hh, mm, ss));
}

const LocaleFacts kUs = LocaleFacts::unitedStates();
}

class OleDateTest : public ZelvoTest {};

TEST_F(OleDateTest, CountsDaysSinceThe30thOfDecember1899)
{
    EXPECT_EQ(at(1899, 12, 30).days, 0);
    EXPECT_EQ(OleDate{0}.date(), QDate(1899, 12, 30));
    EXPECT_EQ(at(1899, 12, 31).days, 1);
    EXPECT_EQ(at(2000, 1, 1).days, 36526);
    EXPECT_EQ(at(2026, 12, 7).days, 46363);
    EXPECT_EQ(at(1899, 12, 30, 6).days, 0.25);
    EXPECT_EQ(at(2000, 1, 1, 18).days, 36526.75);
}

TEST_F(OleDateTest, BeforeTheEpochTheFractionStillCountsForwardFromMidnight)
{
    EXPECT_EQ(at(1899, 12, 29, 6).days, -1.25);
    EXPECT_EQ(at(1800, 1, 1, 6).days, -36522.25);
    const OleDate d{-1.25};
    EXPECT_EQ(d.date(), QDate(1899, 12, 29));
    EXPECT_EQ(d.time(), QTime(6, 0));
    EXPECT_EQ(d.toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(d.generalForm(kUs), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(OleDate{-36522.25}.date(), QDate(1800, 1, 1));
}

TEST_F(OleDateTest, TimeRoundsToTheSecondAndCarriesIntoTheNextDay)
{
    const double halfSecond = OleDate::kSecond / 2;
    EXPECT_EQ(OleDate{0.25 + halfSecond * 1.2}.time(), QTime(6, 0, 1));
    const OleDate lateAfter{at(2026, 12, 7).days + 1 - halfSecond * 0.8};
    EXPECT_EQ(lateAfter.date(), QDate(2026, 12, 8));
    EXPECT_EQ(lateAfter.time(), QTime(0, 0));
    // 29 Dec 1899 23:59:59.9x is next to midnight of the 30th, on either side of the epoch.
    const OleDate lateBefore{-1.0 - (1 - halfSecond * 0.8)};
    EXPECT_EQ(lateBefore.date(), QDate(1899, 12, 30));
    EXPECT_EQ(lateBefore.time(), QTime(0, 0));
    EXPECT_EQ(lateBefore.toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(23, 59, 59, 600)));
}

TEST_F(OleDateTest, GeneralFormInTheUnitedStatesForm)
{
    EXPECT_EQ(at(2026, 12, 7, 22, 7, 5).generalForm(kUs), "12/7/2026 10:07:05 PM");
    EXPECT_EQ(at(2026, 1, 2, 3, 4, 5).generalForm(kUs), "1/2/2026 3:04:05 AM");
    EXPECT_EQ(at(2026, 12, 7, 12, 0, 0).generalForm(kUs), "12/7/2026 12:00:00 PM");
    // Only the date at midnight, only the time without a date part.
    EXPECT_EQ(at(2026, 12, 7).generalForm(kUs), "12/7/2026");
    EXPECT_EQ(OleDate{0.5}.generalForm(kUs), "12:00:00 PM");
    EXPECT_EQ(OleDate{0}.generalForm(kUs), "12:00:00 AM");
    EXPECT_EQ(at(1899, 12, 30, 22, 7, 5).generalForm(kUs), "10:07:05 PM");
    // The current locale is the faked United States one.
    EXPECT_EQ(at(2026, 12, 7, 22, 7, 5).generalForm(), "12/7/2026 10:07:05 PM");
}

TEST_F(OleDateTest, ParsesTheUnitedStatesFormAndIso)
{
    const OleDate expected = at(2026, 12, 7, 22, 7, 5);
    EXPECT_EQ(OleDate::parse("12/7/2026 10:07:05 PM", kUs), expected);
    EXPECT_EQ(OleDate::parse("  12/7/2026 10:07:05 pm ", kUs), expected);
    EXPECT_EQ(OleDate::parse("12/07/2026 10:07:05 PM", kUs), expected);
    EXPECT_EQ(OleDate::parse("12/7/2026 10:07 PM", kUs), at(2026, 12, 7, 22, 7));
    EXPECT_EQ(OleDate::parse("2026-12-07 22:07:05", kUs), expected);
    EXPECT_EQ(OleDate::parse("2026-12-07T22:07:05", kUs), expected);
    EXPECT_EQ(OleDate::parse("2026-12-07", kUs), at(2026, 12, 7));
    EXPECT_EQ(OleDate::parse("12/7/2026", kUs), at(2026, 12, 7));
    EXPECT_EQ(OleDate::parse("10:07:05 PM", kUs), at(1899, 12, 30, 22, 7, 5));
    EXPECT_EQ(OleDate::parse("22:07", kUs), at(1899, 12, 30, 22, 7));
    EXPECT_EQ(OleDate::parse("12/7/2026 10:07:05 PM"), expected);
}

TEST_F(OleDateTest, RejectsWhatIsNoDate)
{
    for (const char* text : {"", "   ", "tomorrow", "13/45/2026", "12/7/2026 25:00:00 PM", "5", "2026-13-01"})
        EXPECT_FALSE(OleDate::parse(text, kUs).has_value()) << text;
}

TEST_F(OleDateTest, GeneralFormRoundTrips)
{
    for (const OleDate d : {at(2026, 12, 7, 22, 7, 5), at(2026, 12, 7), at(1899, 12, 30, 0, 0, 1), OleDate{0.5},
                            OleDate{-1.25}, at(1753, 3, 4, 5, 6, 7), at(9999, 12, 31, 23, 59, 59)}) {
        const QString text = d.generalForm(kUs);
        const auto back = OleDate::parse(text, kUs);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_NEAR(back->days, d.days, 1e-9) << text.toStdString();
    }
}

TEST_F(OleDateTest, TheCLocaleCountsAsTheUnitedStates)
{
    const LocaleFacts c = SystemAppFacts::factsOf(QLocale::c());
    EXPECT_EQ(at(2026, 12, 7, 22, 7, 5).generalForm(c), "12/7/2026 10:07:05 PM");
    EXPECT_EQ(c.decimalSeparator, ".");
    EXPECT_EQ(c.monthNames.value(11), "December");
}

TEST_F(OleDateTest, EnglishUnitedStatesFromQtIsCleanedToTheSameForm)
{
    // Qt's forms carry a zone ("t"), may carry narrow no-break blanks, and a two-digit year.
    const LocaleFacts us = SystemAppFacts::factsOf(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.shortDateFormat, "M/d/yyyy");
    EXPECT_EQ(us.longTimeFormat, "h:mm:ss AP");
    EXPECT_EQ(us.dateSeparator, "/");
    EXPECT_EQ(us.timeSeparator, ":");
    EXPECT_EQ(at(2026, 12, 7, 22, 7, 5).generalForm(us), "12/7/2026 10:07:05 PM");
}

TEST_F(OleDateTest, GermanFormAndItsRoundTrip)
{
    const LocaleFacts de = SystemAppFacts::factsOf(QLocale("de_DE"));
    EXPECT_EQ(de.shortDateFormat, "dd.MM.yyyy");
    EXPECT_EQ(de.longTimeFormat, "HH:mm:ss");
    EXPECT_EQ(de.decimalSeparator, ",");
    EXPECT_EQ(de.groupSeparator, ".");
    EXPECT_EQ(de.dateSeparator, ".");
    EXPECT_EQ(de.monthNames.value(2), QString::fromUtf8("März"));
    const OleDate moment = at(2026, 12, 7, 22, 7, 5);
    EXPECT_EQ(moment.generalForm(de), "07.12.2026 22:07:05");
    EXPECT_EQ(at(2026, 12, 7).generalForm(de), "07.12.2026");
    EXPECT_EQ(OleDate::parse("07.12.2026 22:07:05", de), moment);
    EXPECT_EQ(OleDate::parse("07.12.2026", de), at(2026, 12, 7));
    // A file written under the United States form, or in ISO, still restores.
    EXPECT_EQ(OleDate::parse("12/7/2026 10:07:05 PM", de), moment);
    EXPECT_EQ(OleDate::parse("2026-12-07 22:07:05", de), moment);
}

TEST_F(OleDateTest, EveryLocaleOfQtWritesAFormItReadsBack)
{
    const auto all = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(all.size(), 100);
    for (const QLocale& locale : all) {
        const LocaleFacts f = SystemAppFacts::factsOf(locale);
        EXPECT_FALSE(f.longTimeFormat.contains(QChar(0x202F))) << locale.name().toStdString();
        EXPECT_FALSE(f.longTimeFormat.contains(QLatin1String("()"))) << locale.name().toStdString();
        EXPECT_TRUE(f.shortDateFormat.contains(QLatin1String("yyyy"))) << locale.name().toStdString();
        EXPECT_FALSE(f.dateSeparator.front().category() == QChar::Other_Format) << locale.name().toStdString();
        for (const OleDate d : {at(2026, 12, 7, 22, 7, 5), at(2026, 1, 2, 3, 4, 5), at(2026, 12, 7), OleDate{0.5}}) {
            const QString text = d.generalForm(f);
            const auto back = OleDate::parse(text, f);
            ASSERT_TRUE(back.has_value()) << locale.name().toStdString() << " " << text.toStdString();
            EXPECT_NEAR(back->days, d.days, 1e-9) << locale.name().toStdString() << " " << text.toStdString();
        }
    }
}

TEST_F(OleDateTest, TheDayTheClocksChangeKeepsItsWallClockTimes)
{
    SKIP_WITHOUT_OWN_ZONE();
    const TimeZone berlin("Europe/Berlin");
    // 29 March 2026: 02:00 became 03:00; 25 October 2026: 03:00 became 02:00 again.
    EXPECT_EQ(at(2026, 3, 29, 10).toDateTime().time(), QTime(10, 0));
    EXPECT_EQ(at(2026, 10, 25, 10).toDateTime().time(), QTime(10, 0));
    const QDateTime evening(QDate(2026, 3, 29), QTime(22, 7, 5));
    EXPECT_EQ(OleDate::fromDateTime(evening).toDateTime(), evening);
    // A time the clocks skipped still reads back instead of being lost.
    const auto skipped = OleDate::parse("3/29/2026 2:30:00 AM", kUs);
    ASSERT_TRUE(skipped.has_value());
    EXPECT_EQ(*skipped, at(2026, 3, 29, 2, 30));
    const QDateTime moment = skipped->toDateTime();
    ASSERT_TRUE(moment.isValid());
    EXPECT_EQ(moment, QDateTime(QDate(2026, 3, 29), QTime(3, 30)));
}
