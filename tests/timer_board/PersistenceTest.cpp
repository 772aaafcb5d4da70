#include "TimerBoardTest.h"
#include <QFileInfo>

class PersistenceTest : public TimerBoardTest {
protected:
    QString ini() const { return QString::fromUtf8(readBytes("Zelvo.ini")); }
    QString endText(qint64 secondsFromNow) const
    {
        return OleDate::fromDateTime(clock->now().addSecs(secondsFromNow)).generalForm();
    }
    static constexpr const char* kExpiredHead = "The following alarms expired while the program was closed:\r\n";
};

TEST_F(PersistenceTest, RunningCountdownResumesAfterARestartWithItsNameAndBoxes)
{
    frmMain& w = open();
    w.row(4)->txtDesc->setText("Renew passport");
    w.row(4)->chkRun->setChecked(true);
    dialogs->inputs.push_back("form.pdf");
    type(4, "2", "3", "0", "0");
    w.cmdStart_Click(4);
    tick();
    w.app().SaveTimer_Timer();
    EXPECT_TRUE(ini().contains("TIMERRUNNING4,-1 \r\n"));
    EXPECT_TRUE(ini().contains("TIMERNAME4,Renew passport\r\n"));
    EXPECT_TRUE(ini().contains("TIMER4END," + endText(2 * 86400 + 3 * 3600) + "\r\n"));
    EXPECT_TRUE(ini().contains("ALARMON4,-1 \r\n"));
    EXPECT_TRUE(ini().contains("RUN4,-1 \r\n"));
    EXPECT_TRUE(ini().contains("RUNFILE4,form.pdf\r\n"));
    EXPECT_TRUE(ini().contains("CUSTOMSECONDS,900\r\n"));
    // Slots that were never used are stored as not running, and nothing else of them.
    EXPECT_TRUE(ini().contains("TIMERRUNNING0, 0 \r\n"));
    EXPECT_FALSE(ini().contains("TIMERNAME0,"));
    dropBoard();
    cSHAREDSettings::resetInstance();

    advance(3600);
    frmMain& again = open();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(again.slotBoard().SlotRunning(4));
    EXPECT_FALSE(again.slotBoard().SlotPaused(4));
    EXPECT_EQ(again.row(4)->cmdStart->text(), "Stop");
    EXPECT_EQ(again.row(4)->txtDesc->text(), "Renew passport");
    EXPECT_TRUE(again.row(4)->chkAlarm->isChecked());
    EXPECT_TRUE(again.row(4)->chkRun->isChecked());
    EXPECT_EQ(secondsLeft(4), 2 * 86400 + 2 * 3600);
    EXPECT_TRUE(again.app().Timer1->isActive());
    tick();
    EXPECT_EQ(shown(4), "2 2 0 00");
    for (int i = 0; i < frmMain::kSlots; ++i) {
        if (i != 4) {
            EXPECT_FALSE(again.slotBoard().SlotRunning(i)) << i;
        }
    }
}

TEST_F(PersistenceTest, CountdownsThatEndedWhileClosedAreListedOnceInSlotOrder)
{
    frmMain& w = open();
    w.row(7)->txtDesc->setText("Tea");
    type(7, "0", "0", "5", "0");
    w.row(2)->txtDesc->setText("Call Ann");
    type(2, "0", "0", "10", "0");
    w.row(2)->chkRun->setChecked(true);
    w.cmdStart_Click(7);
    w.cmdStart_Click(2);
    const QString teaEnd = endText(300);
    const QString annEnd = endText(600);
    closeProgram();

    advance(3600);
    frmMain& again = open();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, QString(kExpiredHead) + "Call Ann (" + annEnd + ") \r\nTea (" + teaEnd + ") \r\n");
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_EQ(teaEnd, "12/7/2026 10:12:05 PM");
    // Nothing fires for them.
    EXPECT_FALSE(again.slotBoard().SlotRunning(2));
    EXPECT_FALSE(again.slotBoard().SlotRunning(7));
    EXPECT_TRUE(reminders().isEmpty());
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_EQ(sound->beeps, 0);
    EXPECT_TRUE(shell->opened.isEmpty());
    EXPECT_FALSE(store().sGet("TimerRunning7").toBool());
    closeProgram();

    dialogs->shown.clear();
    open();
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(PersistenceTest, PausedCountdownIsSavedAsRunningAndCountsAgainAfterTheRestart)
{
    frmMain& w = open();
    type(0, "0", "0", "10", "0");
    w.cmdStart_Click(0);
    tick();
    w.cmdPause_Click(0);
    advance(120);
    tick();
    w.app().SaveTimer_Timer();  // a paused slot keeps the tick and so the periodic save going
    EXPECT_TRUE(ini().contains("TIMERRUNNING0,-1 \r\n"));
    EXPECT_TRUE(ini().contains("TIMER0END," + endText(600) + "\r\n"));
    dropBoard();
    cSHAREDSettings::resetInstance();

    advance(180);
    frmMain& again = open();
    EXPECT_TRUE(again.slotBoard().SlotRunning(0));
    EXPECT_FALSE(again.slotBoard().SlotPaused(0));
    EXPECT_EQ(secondsLeft(0), 420);
}

TEST_F(PersistenceTest, StoppedSlotIsSavedAsNotRunning)
{
    frmMain& w = open();
    type(1, "0", "0", "10", "0");
    w.cmdStart_Click(1);
    w.app().SaveTimers();
    EXPECT_TRUE(store().sGet("TimerRunning1").toBool());
    w.cmdStart_Click(1);
    w.app().SaveTimers();
    EXPECT_FALSE(store().sGet("TimerRunning1").toBool());
    // The old values stay; only the running flag says they are dead.
    EXPECT_TRUE(store().IsSettingPresent("Timer1End"));

    // A typed but never started entry is kept, not running.
    type(2, "0", "0", "3", "0");
    w.app().SaveTimers();
    EXPECT_FALSE(store().sGet("TimerRunning2").toBool());
    EXPECT_TRUE(store().IsSettingPresent("Timer2End"));
    closeProgram();
    open();
    EXPECT_FALSE(board->slotBoard().SlotRunning(1));
    EXPECT_FALSE(board->slotBoard().SlotRunning(2));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(PersistenceTest, SaveNeverClearsACountingSlotWhateverItsFieldsShow)
{
    frmMain& w = open();
    w.cmdStart_Click(0);  // all zero: due at the next tick
    type(1, "0", "0", "0", "0.4");
    w.cmdStart_Click(1);
    w.app().SaveTimers();
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    EXPECT_TRUE(store().sGet("TimerRunning0").toBool());
    clock->advanceMs(100);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_FALSE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(reminders().size(), 2);
}

TEST_F(PersistenceTest, SaveClearsAnIdleSlotMarkedPausedWithZeroFields)
{
    frmMain& w = open();
    w.cmdPause_Click(3);
    w.app().SaveTimers();
    EXPECT_FALSE(w.slotBoard().SlotRunning(3));
    EXPECT_FALSE(store().sGet("TimerRunning3").toBool());
    EXPECT_FALSE(store().IsSettingPresent("TimerName3"));
}

TEST_F(PersistenceTest, PeriodicSaveWritesOnlyWhileACountdownRuns)
{
    frmMain& w = open();
    w.txtCustom->setText(" 120 ");
    w.app().SaveTimer_Timer();
    EXPECT_FALSE(QFileInfo::exists(path("Zelvo.ini")));

    type(0, "0", "0", "1", "0");
    w.cmdStart_Click(0);
    w.app().SaveTimer_Timer();
    EXPECT_TRUE(ini().contains("CUSTOMSECONDS,120\r\n"));
    dropBoard();
    cSHAREDSettings::resetInstance();
    EXPECT_EQ(open().txtCustom->text(), "120");
}

TEST_F(PersistenceTest, ExitSavesTheSlotsButNotTheCustomSeconds)
{
    frmMain& w = open();
    w.txtCustom->setText("45");
    type(0, "0", "0", "1", "0");
    w.cmdStart_Click(0);
    closeProgram();
    EXPECT_TRUE(ini().contains("TIMERRUNNING0,-1 \r\n"));
    EXPECT_FALSE(ini().contains("CUSTOMSECONDS"));
}

TEST_F(PersistenceTest, UnreadableSlotCostsOnlyItself)
{
    const QString later = endText(3600);
    writeIni(("TIMERRUNNING0,-1 \r\nTIMER0END,not a date\r\nTIMERNAME0,Broken\r\n"
              "TIMERRUNNING1,True\r\nTIMER1END," + later + "\r\nTIMERNAME1,Words\r\nALARMON1,false\r\nRUN1,TRUE\r\n"
              "TIMERRUNNING2,-1 \r\nTIMER2END," + later + "\r\n"
              "TIMERRUNNING3,-1 \r\n"
              "TIMERRUNNING4,maybe\r\nTIMER4END," + later + "\r\n"
              "TIMERRUNNING5,-1 \r\nTIMER5END," + later + "\r\nALARMON5,sometimes\r\nRUN5,often\r\n")
                 .toUtf8());
    frmMain& w = open();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(w.row(0)->txtDesc->text(), "Broken");

    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(w.row(1)->txtDesc->text(), "Words");
    EXPECT_FALSE(w.row(1)->chkAlarm->isChecked());
    EXPECT_TRUE(w.row(1)->chkRun->isChecked());
    EXPECT_EQ(secondsLeft(1), 3600);

    // Missing keys take their defaults.
    EXPECT_TRUE(w.slotBoard().SlotRunning(2));
    EXPECT_EQ(w.row(2)->txtDesc->text(), "Timer 3");
    EXPECT_TRUE(w.row(2)->chkAlarm->isChecked());
    EXPECT_FALSE(w.row(2)->chkRun->isChecked());

    // An unreadable flag counts as its default.
    EXPECT_FALSE(w.slotBoard().SlotRunning(4));
    EXPECT_TRUE(w.slotBoard().SlotRunning(5));
    EXPECT_TRUE(w.row(5)->chkAlarm->isChecked());
    EXPECT_FALSE(w.row(5)->chkRun->isChecked());

    // Running without an end: due at the very beginning of the calendar.
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(dialogs->shown[0].text.startsWith(kExpiredHead));
    EXPECT_TRUE(dialogs->shown[0].text.contains("Timer 4 ("));
    EXPECT_FALSE(dialogs->shown[0].text.contains("Broken"));
    EXPECT_FALSE(w.slotBoard().SlotRunning(3));
}

// The file keeps whole seconds and so do the fields, but a restart a fraction of a second past the
// stored second must not move the end moment: the reminder comes when it was due.
TEST_F(PersistenceTest, RestoredCountdownEndsAtItsStoredMoment)
{
    const QString end = endText(10);
    writeBytes("Zelvo.ini", ("TIMERRUNNING0,-1\r\nTIMERNAME0,Oven\r\nTIMER0END," + end + "\r\n").toUtf8());
    clock->advanceMs(300);
    frmMain& w = open();
    ASSERT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(shown(0), "0 0 0 10");
    EXPECT_EQ(w.slotBoard().remainingMs(0), 9700);
    clock->advanceMs(9700);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    ASSERT_EQ(reminders().size(), 1);
    EXPECT_EQ(reminders()[0]->Label1->text(), "Oven");
}
