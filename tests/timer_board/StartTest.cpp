#include "TimerBoardTest.h"

class StartTest : public TimerBoardTest {
protected:
    static constexpr const char* kTooLong =
        "That countdown is too long. Days can be at most 1365; hours, minutes and seconds at most 32767.";

    // A clock-time start in slot 0 at the given moment of the current day.
    void startAt(const QTime& now, const QString& h, const QString& m, const QString& s, bool am)
    {
        clock->set(QDateTime(clock->now().date(), now));
        frmMain& w = *board;
        w.cmdAt_Click(0);
        w.row(0)->txtAtHour->setText(h);
        w.row(0)->txtAtMin->setText(m);
        w.row(0)->txtAtSec->setText(s);
        (am ? w.row(0)->optAM : w.row(0)->optPM)->setChecked(true);
        w.cmdStart_Click(0);
    }
};

TEST_F(StartTest, AllZeroExpiresAtTheNextTick)
{
    frmMain& w = open();
    w.row(0)->chkRun->setChecked(true);
    dialogs->inputs.push_back("https://example.org/");
    w.cmdStart_Click(0);
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(secondsLeft(0), 0);
    advance(0);
    clock->advanceMs(100);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(reminderTexts(), QStringList{"Reminder 1"});
    ASSERT_EQ(shell->opened.size(), 1);
    EXPECT_TRUE(shell->opened[0].contains("https://example.org/"));
}

TEST_F(StartTest, ClockTimeBecomesACountdownToItsNextOccurrence)
{
    frmMain& w = open();
    startAt(QTime(9, 0, 0), "7", "05", "00", true);
    EXPECT_EQ(shown(0), "0 22 5 0");
    EXPECT_EQ(secondsLeft(0), 22 * 3600 + 5 * 60);
    EXPECT_FALSE(w.slotBoard().SlotAtTime(0));
    EXPECT_TRUE(w.row(0)->fraCountdown->isVisibleTo(w.row(0)));
    EXPECT_FALSE(w.row(0)->fraAtSpecific->isVisibleTo(w.row(0)));
    w.cmdStart_Click(0);

    startAt(QTime(9, 0, 0), "7", "05", "00", false);
    EXPECT_EQ(shown(0), "0 10 5 0");
    EXPECT_EQ(secondsLeft(0), 10 * 3600 + 5 * 60);
    w.cmdStart_Click(0);

    // Across midnight.
    startAt(QTime(23, 30, 0), "0", "15", "00", true);
    EXPECT_EQ(secondsLeft(0), 45 * 60);
    EXPECT_EQ(shown(0), "0 0 45 0");
    w.cmdStart_Click(0);

    // 12 pm is noon.
    startAt(QTime(11, 0, 0), "12", "0", "0", false);
    EXPECT_EQ(secondsLeft(0), 3600);
}

TEST_F(StartTest, ClockTimeOfThisVerySecondExpiresAtTheNextTick)
{
    frmMain& w = open();
    startAt(QTime(21, 15, 30), "9", "15", "30", false);
    EXPECT_EQ(secondsLeft(0), 0);
    clock->advanceMs(100);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(reminders().size(), 1);
}

TEST_F(StartTest, InvalidClockTimeStartsFromTheCountdownFields)
{
    frmMain& w = open();
    type(0, "0", "0", "5", "00");
    startAt(QTime(9, 0, 0), "13", "00", "00", false);  // 25:00:00
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_FALSE(w.slotBoard().SlotAtTime(0));
    EXPECT_EQ(secondsLeft(0), 300);
    EXPECT_EQ(shown(0), "0 0 5 00");
    // The clock-time panel stays on display.
    EXPECT_TRUE(w.row(0)->fraAtSpecific->isVisibleTo(w.row(0)));
    w.cmdStart_Click(0);

    type(0, "0", "0", "7", "00");
    startAt(QTime(9, 0, 0), "seven", "05", "00", true);
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(secondsLeft(0), 420);
    w.cmdStart_Click(0);

    // Fields too long to hold are refused before the file prompt, and the stored file stays.
    type(0, "2000", "0", "0", "00");
    w.row(0)->chkRun->setChecked(true);
    startAt(QTime(9, 0, 0), "seven", "05", "00", true);
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_TRUE(dialogs->prompts.isEmpty());
    EXPECT_EQ(messages(), QStringList{kTooLong});
}

TEST_F(StartTest, BadFieldTextNeverStartsWithADurationNotTyped)
{
    frmMain& w = open();
    struct Case {
        QString days, hours, minutes, seconds;
        std::optional<qint64> seconds_left;  // nothing: refused, slot idle
    };
    const QString nines300(300, '9');
    const QString nines400(400, '9');
    const Case cases[] = {
        {"0", "12abc", "0", "0", 12 * 3600},
        {"0", "0", "-5", "0", -300},
        {"0", "0", "1e9", "0", std::nullopt},
        {"", "", "", "", 0},
        {"0", "0", "0", nines300, std::nullopt},
        {nines400, "0", "0", "0", std::nullopt},
        {"1366", "0", "0", "0", std::nullopt},
        {"0", "32768", "0", "0", std::nullopt},
        {"0", "0", QString::fromUtf8("\xc3\xa9t\xc3\xa9"), "3", 3},
        {QString::fromUtf8("\xe2\x98\x95"), "1", QString::fromUtf8("2\xe2\x82\xac"), "0", 3600 + 120},
        {"1365", "0", "0", "0", qint64(1365) * 86400},
    };
    // A previous start leaves a duration behind that a refused start must not reuse.
    type(0, "0", "0", "10", "0");
    w.cmdStart_Click(0);
    w.cmdStart_Click(0);
    ASSERT_FALSE(w.slotBoard().SlotRunning(0));

    for (const Case& c : cases) {
        SCOPED_TRACE((c.days + '|' + c.hours + '|' + c.minutes + '|' + c.seconds.left(12)).toStdString());
        dialogs->shown.clear();
        type(0, c.days, c.hours, c.minutes, c.seconds);
        w.cmdStart_Click(0);
        if (!c.seconds_left) {
            EXPECT_FALSE(w.slotBoard().SlotRunning(0));
            EXPECT_EQ(w.row(0)->cmdStart->text(), "Start");
            EXPECT_TRUE(w.row(0)->txtDays->isEnabled());
            EXPECT_EQ(messages(), QStringList{kTooLong});
            continue;
        }
        EXPECT_TRUE(w.slotBoard().SlotRunning(0));
        EXPECT_TRUE(dialogs->shown.empty());
        EXPECT_EQ(secondsLeft(0), *c.seconds_left);
        // The tick and the save cope with whatever the fields hold.
        w.app().SaveTimers();
        tick();
        if (*c.seconds_left <= 0) {
            EXPECT_FALSE(w.slotBoard().SlotRunning(0));
        }
        if (w.slotBoard().SlotRunning(0))
            w.cmdStart_Click(0);
        closeReminders();
    }
}

TEST_F(StartTest, TooLongDurationThroughRestartOrQuickStartLeavesTheSlotIdle)
{
    frmMain& w = open();
    type(4, "2000", "0", "0", "0");
    w.cmdPause_Click(4);
    w.cmdPause_Click(4);
    EXPECT_FALSE(w.slotBoard().SlotRunning(4));
    EXPECT_EQ(messages(), QStringList{kTooLong});

    dialogs->shown.clear();
    w.StartInstantTimer(2147483647);  // 24855 days
    EXPECT_EQ(messages(), QStringList{kTooLong});
    EXPECT_FALSE(w.slotBoard().SlotRunning(9));
    // A refused start does not set the tick going.
    EXPECT_FALSE(w.app().Timer1->isActive());
}

TEST_F(StartTest, RunBoxAsksForTheFileWithTheStoredAnswerAsDefault)
{
    writeIni("RUNFILE3,notes.txt\r\n");
    frmMain& w = open();
    w.row(3)->chkRun->setChecked(true);
    dialogs->inputs.push_back("report.pdf");
    w.cmdStart_Click(3);
    EXPECT_EQ(dialogs->prompts, QStringList{"Enter the file to run|Zelvo 4|notes.txt"});
    EXPECT_EQ(store().sGet("RunFile3").toText(), "report.pdf");
    EXPECT_TRUE(w.slotBoard().SlotRunning(3));
    w.cmdStart_Click(3);

    // Cancelling stores an empty answer and starts all the same.
    w.cmdStart_Click(3);
    EXPECT_EQ(dialogs->prompts.last(), "Enter the file to run|Zelvo 4|report.pdf");
    EXPECT_EQ(store().sGet("RunFile3", "x").toText(), "");
    EXPECT_TRUE(w.slotBoard().SlotRunning(3));

    // Slot 0 has nothing stored.
    w.row(0)->chkRun->setChecked(true);
    w.cmdStart_Click(0);
    EXPECT_EQ(dialogs->prompts.last(), "Enter the file to run|Zelvo 1|");
}

TEST_F(StartTest, QuickStartFillsTheLastFreeSlotOfThePageOnDisplay)
{
    frmMain& w = open();
    w.row(9)->chkAlarm->setChecked(false);
    w.row(9)->chkRun->setChecked(true);
    w.cmd30s_Click();
    EXPECT_TRUE(w.slotBoard().SlotRunning(9));
    EXPECT_EQ(w.row(9)->txtDesc->text(), "Instant timer");
    EXPECT_TRUE(w.row(9)->chkAlarm->isChecked());
    EXPECT_FALSE(w.row(9)->chkRun->isChecked());
    EXPECT_EQ(secondsLeft(9), 30);
    EXPECT_TRUE(dialogs->prompts.isEmpty());

    w.cmd1m_Click();
    EXPECT_TRUE(w.slotBoard().SlotRunning(8));
    EXPECT_EQ(secondsLeft(8), 60);
    // A slot holding a non-zero entry is not free.
    type(7, "0", "0", "0", "1");
    w.cmd5m_Click();
    EXPECT_FALSE(w.slotBoard().SlotRunning(7));
    EXPECT_EQ(shown(7), "0 0 0 1");
    EXPECT_TRUE(w.slotBoard().SlotRunning(6));
    EXPECT_EQ(secondsLeft(6), 300);

    w.optPage_Click(1);
    w.cmd30s_Click();
    EXPECT_TRUE(w.slotBoard().SlotRunning(19));
}

TEST_F(StartTest, FullPageRefusesAQuickStartEvenWithFreeSlotsElsewhere)
{
    frmMain& w = open();
    for (int i = 0; i < 10; ++i)
        type(i, "0", "0", i % 2 ? "1" : "0", i % 2 ? "0" : "0.5");
    // "0.5" is not zero, so every slot of the page is taken.
    w.cmd30s_Click();
    EXPECT_EQ(messages(), QStringList{"No free timers available. Cannot start countdown."});
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    for (int i = 0; i < frmMain::kSlots; ++i)
        EXPECT_FALSE(w.slotBoard().SlotRunning(i)) << i;
}

TEST_F(StartTest, QuickStartCopesWithAnyFieldText)
{
    frmMain& w = open();
    type(9, QString(400, '9'), "0", "0", "0");
    type(8, "1e400", "0", "0", "0");
    type(7, "", "abc", QString::fromUtf8("\xe2\x98\x95"), "0");
    w.cmd30s_Click();
    EXPECT_FALSE(w.slotBoard().SlotRunning(9));
    EXPECT_FALSE(w.slotBoard().SlotRunning(8));
    EXPECT_TRUE(w.slotBoard().SlotRunning(7));
    EXPECT_EQ(secondsLeft(7), 30);
}

TEST_F(StartTest, CustomSecondsAreRoundedHalfToEven)
{
    frmMain& w = open();
    w.txtCustom->setText("3661");
    w.cmdCustom_Click();
    EXPECT_EQ(shown(9), "0 1 1 1");
    EXPECT_EQ(secondsLeft(9), 3661);

    w.txtCustom->setText("2.5");
    w.cmdCustom_Click();
    EXPECT_EQ(secondsLeft(8), 2);

    for (const char* bad : {"abc", "0", "-5", "0.4", "", "99999999999"}) {
        dialogs->shown.clear();
        w.txtCustom->setText(bad);
        w.cmdCustom_Click();
        EXPECT_EQ(messages(), QStringList{"Please set the custom seconds value first"}) << bad;
        EXPECT_FALSE(w.slotBoard().SlotRunning(7)) << bad;
    }
}

TEST_F(StartTest, QuickStartIntoASlotShowingAValidClockTimeCountsToThatTime)
{
    frmMain& w = open();
    clock->set(QDateTime(clock->now().date(), QTime(9, 0, 0)));
    w.cmdAt_Click(9);
    w.row(9)->txtAtHour->setText("10");
    w.row(9)->optAM->setChecked(true);
    w.cmd30s_Click();
    EXPECT_TRUE(w.slotBoard().SlotRunning(9));
    EXPECT_EQ(secondsLeft(9), 3600);
}

TEST_F(StartTest, ClockFieldsTooLargeToReadLeaveClockTimeModeAndUseTheCountdown)
{
    frmMain& w = open();
    for (bool am : {true, false}) {
        type(0, "0", "0", "4", "00");
        startAt(QTime(9, 0, 0), "1" + QString(400, '0'), "1e999", "00", am);
        EXPECT_TRUE(w.slotBoard().SlotRunning(0)) << am;
        EXPECT_FALSE(w.slotBoard().SlotAtTime(0)) << am;
        EXPECT_EQ(secondsLeft(0), 240) << am;
        w.cmdStart_Click(0);
    }
}
