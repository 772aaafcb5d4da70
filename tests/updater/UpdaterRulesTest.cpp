#include "fakes/FakeInternetControl.h"
#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "support/TestPrinters.h"
#include "updater/fSHAREDUpdater.h"

namespace {
UpdateVersion read(const QString& text)
{
    UpdateVersion v;
    EXPECT_TRUE(fSHAREDUpdater::ExtractVersionFromAppVer(text, v)) << qPrintable(text);
    return v;
}

QString describe(const UpdateVersion& v)
{
    return QStringLiteral("%1|%2|%3|%4").arg(v.major).arg(v.minor).arg(v.revision).arg(v.suffix);
}

// Days since 30 December 1899 of the dates the schedule tests use.
constexpr std::int32_t k29Nov2026 = 46355;
constexpr std::int32_t k6Dec2026 = 46362;
}

TEST(UpdaterVersionRule, ReadsThreePiecesRoundedToSixteenBitsWithTheSuffixAfterTheWrittenRevision)
{
    EXPECT_EQ(describe(read("2.1.3")), "2|1|3|");
    EXPECT_EQ(describe(read("2.1.3b")), "2|1|3|b");
    EXPECT_EQ(describe(read("2.1.03")), "2|1|3|3") << "3 is written back as one character";
    EXPECT_EQ(describe(read("2.1.3.9.9")), "2|1|3|") << "pieces after the third are ignored";
    EXPECT_EQ(describe(read(" 1 2 .0.7")), "12|0|7|") << "blanks inside a number are ignored";
    EXPECT_EQ(describe(read("25e-1.35e-1.1")), "2|4|1|") << "halves go to the even neighbour";
    EXPECT_EQ(describe(read("x.y.z")), "0|0|0|") << "a piece without a leading number is 0";
}

TEST(UpdaterVersionRule, LeavesItsOutputsAsTheyWereWhenItCannotRead)
{
    UpdateVersion held{7, 8, 9, "q"};
    EXPECT_FALSE(fSHAREDUpdater::ExtractVersionFromAppVer("2.1", held));
    EXPECT_FALSE(fSHAREDUpdater::ExtractVersionFromAppVer("", held));
    EXPECT_EQ(describe(held), "7|8|9|q");

    // Same length written back: the suffix stays as it was.
    EXPECT_TRUE(fSHAREDUpdater::ExtractVersionFromAppVer("2.1.3", held));
    EXPECT_EQ(describe(held), "2|1|3|q");

    // Beyond 16 bits: nothing is half-read.
    UpdateVersion overflow{7, 8, 9, "q"};
    EXPECT_FALSE(fSHAREDUpdater::ExtractVersionFromAppVer("2.1.40000", overflow));
    EXPECT_EQ(describe(overflow), "7|8|9|q");
}

TEST(UpdaterVersionRule, ComparesNumbersThenTheSuffixByCharacterCode)
{
    EXPECT_TRUE(read("2.1.3b").newerThan(read("2.1.3")));
    EXPECT_FALSE(read("2.1.3").newerThan(read("2.1.3b")));
    EXPECT_FALSE(read("2.1.3B").newerThan(read("2.1.3b")));
    EXPECT_TRUE(read("2.1.3b").newerThan(read("2.1.3B")));
    EXPECT_FALSE(read("2.1.3").newerThan(read("2.1.3"))) << "equal is not newer";
    EXPECT_FALSE(read("1.9.9").newerThan(read("2.0.9")));
    EXPECT_TRUE(read("2.0.0").newerThan(read("1.9.9")));
    EXPECT_TRUE(read("2.1.10").newerThan(read("2.1.9"))) << "revisions compare as numbers";
    EXPECT_EQ(read("2.1.3b").text().toUpper(), "2.1.3B");
}

TEST(UpdaterInformationFile, ReadsVersionAndAddressWithLfOrCrLf)
{
    for (const QString& end : {QStringLiteral("\n"), QStringLiteral("\r\n")}) {
        UpdateVersion v;
        QString address;
        const QString text = "2.1.3b" + end + "https://h/setup@@@.exe" + end + "ignored@@@" + end;
        EXPECT_TRUE(fSHAREDUpdater::ExtractVersionFromWebFile(text, v, address));
        EXPECT_EQ(describe(v), "2|1|3|b");
        EXPECT_EQ(address, "https://h/setup213b.exe");
    }
    UpdateVersion v;
    QString address;
    EXPECT_TRUE(fSHAREDUpdater::ExtractVersionFromWebFile("10.0.12\n@@@/@@@", v, address));
    EXPECT_EQ(address, "10012/10012");
}

TEST(UpdaterInformationFile, OneLineOrAnHtmlPageIsNotAnInformationFile)
{
    UpdateVersion v{5, 5, 5, "x"};
    QString address = "old";
    EXPECT_FALSE(fSHAREDUpdater::ExtractVersionFromWebFile("2.1.3", v, address));
    EXPECT_EQ(describe(v), "0|0|0|");
    EXPECT_TRUE(address.isEmpty());

    EXPECT_FALSE(fSHAREDUpdater::ExtractVersionFromWebFile(
        "<!DOCTYPE HTML>\n<html><head><title>404 Not Found</title></head></html>\n", v, address));
    EXPECT_EQ(describe(v), "0|0|0|");
}

namespace {
// The schedule: settings, the clock and the opt-in question, with a control that never connects.
class UpdaterSchedule : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
        Platform::setInternetControlFactory([] { return std::make_unique<FakeInternetControl>(); });
        updater = std::make_unique<fSHAREDUpdater>();
        clock->set(QDateTime(QDate(2026, 12, 6), QTime(9, 30)));
    }
    void TearDown() override
    {
        updater.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }
    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }
    QString lastCheck() const { return store().sGet("LastUpdateCheck").toText().trimmed(); }
    bool dueWith(const QString& stored)
    {
        store().sSet("LastUpdateCheck", stored);
        return updater->DoCheckNow();
    }

    std::unique_ptr<fSHAREDUpdater> updater;
};
}

TEST_F(UpdaterSchedule, DayNumbersRoundToTheNearestDayWithMiddayGoingToTheEvenDay)
{
    EXPECT_EQ(fSHAREDUpdater::dayNumber(k6Dec2026 + 0.4999), k6Dec2026);
    EXPECT_EQ(fSHAREDUpdater::dayNumber(k6Dec2026 + 0.5001), k6Dec2026 + 1);
    EXPECT_EQ(fSHAREDUpdater::dayNumber(k6Dec2026 + 0.5), k6Dec2026);
    EXPECT_EQ(fSHAREDUpdater::dayNumber(k6Dec2026 + 1.5), k6Dec2026 + 2);

    clock->set(QDateTime(QDate(2026, 12, 6), QTime(12, 0, 0)));
    updater->SaveLastCheckDate();
    EXPECT_EQ(lastCheck(), QString::number(k6Dec2026));
    clock->set(QDateTime(QDate(2026, 12, 6), QTime(18, 0, 0)));
    updater->SaveLastCheckDate();
    EXPECT_EQ(lastCheck(), QString::number(k6Dec2026 + 1)) << "an evening counts as the next day";
}

TEST_F(UpdaterSchedule, ACheckIsDueOnceSevenDaysHavePassed)
{
    EXPECT_TRUE(updater->DoCheckNow()) << "never checked";
    EXPECT_FALSE(dueWith(QString::number(k6Dec2026 - 6)));
    EXPECT_TRUE(dueWith(QString::number(k6Dec2026 - 7)));
    EXPECT_TRUE(dueWith(" " + QString::number(k6Dec2026 - 7) + " ")) << "as the file gives it back";
    EXPECT_FALSE(dueWith(QString::number(k6Dec2026)));
    EXPECT_TRUE(dueWith("29/Nov/2026"));
    EXPECT_FALSE(dueWith("30/Nov/2026"));
    EXPECT_EQ(k29Nov2026, k6Dec2026 - 7);
}

TEST_F(UpdaterSchedule, TheDateTextIsTwoDigitDayMonthNameAndYearInTheLocaleSeparator)
{
    EXPECT_EQ(fSHAREDUpdater::dateText(k6Dec2026 + 0.9), "06/Dec/2026");
    facts->localeFacts.dateSeparator = "-";
    EXPECT_EQ(fSHAREDUpdater::dateText(k29Nov2026), "29-Nov-2026");
}

TEST_F(UpdaterSchedule, TheOptInQuestionIsAskedOnceAndNoLeavesAutomaticChecksOff)
{
    const QString question =
        "Do you want to enable an automatic weekly check for new versions of this software? (Recommended)";
    dialogs->answers.push_back(Dialogs::Answer::No);
    EXPECT_TRUE(updater->NoAutoCheck());
    EXPECT_TRUE(updater->NoAutoCheck());
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, question);
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_TRUE(store().sGet("AskedAboutAutoUpdates").toBool());
    EXPECT_TRUE(store().sGet("DisableAutoUpdateCheck").toBool());
    EXPECT_EQ(QString::fromUtf8(readBytes("log.txt")).count(", Automatic update check is disabled\r\n"), 2);
}

TEST_F(UpdaterSchedule, YesTurnsAutomaticChecksOnWithoutALogLine)
{
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    EXPECT_FALSE(updater->NoAutoCheck());
    EXPECT_FALSE(store().sGet("DisableAutoUpdateCheck").toBool());
    EXPECT_FALSE(readBytes("log.txt").contains("Automatic update check is disabled"));

    // Asked before: the stored choice alone decides, and a missing choice means off.
    cSHAREDSettings::resetInstance();
    store().sSet("AskedAboutAutoUpdates", true);
    EXPECT_TRUE(updater->NoAutoCheck());
    EXPECT_EQ(dialogs->shown.size(), 1u);
}
