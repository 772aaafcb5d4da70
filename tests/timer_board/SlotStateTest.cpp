#include "TimerBoardTest.h"

// The states of a slot and the looks that tell them apart.
class SlotStateTest : public TimerBoardTest {
protected:
    void expectIdle(int i)
    {
        frmMain& w = *board;
        EXPECT_FALSE(w.slotBoard().SlotRunning(i));
        EXPECT_FALSE(w.slotBoard().SlotPaused(i));
        EXPECT_EQ(w.slotBoard().SlotEnd(i), 0);
        EXPECT_EQ(w.row(i)->cmdStart->text(), "Start");
        EXPECT_EQ(w.row(i)->cmdStart->toolTip(), "Click START to begin the countdown timer.");
        EXPECT_EQ(textColour(i), systemText(i));
        EXPECT_EQ(baseColour(i), systemBase(i));
        expectControlsEnabled(i, true);
        EXPECT_EQ(shown(i), "0 0 0 00");
    }
    void expectCounting(int i, const QColor& text)
    {
        frmMain& w = *board;
        EXPECT_TRUE(w.slotBoard().SlotRunning(i));
        EXPECT_EQ(w.row(i)->cmdStart->text(), "Stop");
        EXPECT_EQ(w.row(i)->cmdStart->toolTip(), "Click STOP to stop the countdown timer.");
        EXPECT_EQ(textColour(i), text);
        EXPECT_EQ(baseColour(i), QColor(192, 192, 192));
        expectControlsEnabled(i, false);
    }
    void expectControlsEnabled(int i, bool enabled)
    {
        frmMain& w = *board;
        for (QWidget* c : std::initializer_list<QWidget*>{w.row(i)->txtDays, w.row(i)->txtHours, w.row(i)->txtMinutes,
                                                          w.row(i)->txtSeconds, w.row(i)->cmdAt, w.row(i)->chkAlarm, w.row(i)->chkRun})
            EXPECT_EQ(c->isEnabled(), enabled) << c->metaObject()->className() << ' ' << i;
        // The message, the pause and the start button stay usable in every state.
        EXPECT_TRUE(w.row(i)->txtDesc->isEnabled());
        EXPECT_FALSE(w.row(i)->txtDesc->isReadOnly());
        EXPECT_TRUE(w.row(i)->cmdPause->isEnabled());
        EXPECT_TRUE(w.row(i)->cmdStart->isEnabled());
    }
    const QColor green{0, 176, 0};
    const QColor grey{128, 128, 128};
};

TEST_F(SlotStateTest, IdleCountingPausedCountingAndStop)
{
    frmMain& w = open();
    type(1, "0", "0", "5", "00");
    w.cmdStart_Click(1);
    expectCounting(1, green);
    EXPECT_FALSE(w.slotBoard().SlotPaused(1));
    EXPECT_TRUE(w.app().Timer1->isActive());
    EXPECT_EQ(w.app().Timer1->interval(), 100);

    advance(60);
    tick();
    EXPECT_EQ(shown(1), "0 0 4 00");

    w.cmdPause_Click(1);
    expectCounting(1, grey);
    EXPECT_TRUE(w.slotBoard().SlotPaused(1));
    advance(30);
    tick();
    EXPECT_EQ(shown(1), "0 0 4 00");  // frozen while paused
    EXPECT_TRUE(w.app().Timer1->isActive());

    w.cmdPause_Click(1);
    expectCounting(1, green);
    EXPECT_FALSE(w.slotBoard().SlotPaused(1));
    EXPECT_EQ(secondsLeft(1), 240);

    w.cmdStart_Click(1);
    expectIdle(1);
    tick();
    EXPECT_FALSE(w.app().Timer1->isActive());
    EXPECT_TRUE(reminders().isEmpty());
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_EQ(sound->beeps, 0);
}

TEST_F(SlotStateTest, AStopAndStartWithinOneSecondShowsTheNewEntryTidiedAtTheNextTick)
{
    frmMain& w = open();
    type(2, "0", "0", "0", "10");
    w.cmdStart_Click(2);
    clock->advanceMs(300);
    tick();
    EXPECT_EQ(shown(2), "0 0 0 10");

    // The same ten seconds typed another way: the tick writes them in its own form.
    w.cmdStart_Click(2);
    type(2, "00", "00", "0", "10");
    w.cmdStart_Click(2);
    tick();
    EXPECT_EQ(shown(2), "0 0 0 10");
    advance(1);
    tick();
    EXPECT_EQ(shown(2), "0 0 0 09");
}

TEST_F(SlotStateTest, StopOnAPausedSlotReturnsItToIdleWithoutAlarmOrRun)
{
    frmMain& w = open();
    w.row(6)->chkRun->setChecked(true);
    dialogs->inputs.push_back("notes.txt");
    type(6, "0", "0", "0", "10");
    w.cmdStart_Click(6);
    w.cmdPause_Click(6);
    w.cmdStart_Click(6);
    expectIdle(6);
    advance(60);
    tick();
    EXPECT_TRUE(reminders().isEmpty());
    EXPECT_TRUE(shell->opened.isEmpty());
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_EQ(sound->beeps, 0);
    // The ticks survive a stop.
    EXPECT_TRUE(w.row(6)->chkAlarm->isChecked());
    EXPECT_TRUE(w.row(6)->chkRun->isChecked());
}

TEST_F(SlotStateTest, PauseOnAnIdleSlotMarksItAndTheNextPressStartsItWithoutChecks)
{
    frmMain& w = open();
    w.row(0)->chkAlarm->setChecked(false);
    w.row(0)->chkRun->setChecked(true);
    type(0, "0", "0", "2", "00");
    w.cmdPause_Click(0);
    EXPECT_TRUE(w.slotBoard().SlotPaused(0));
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(textColour(0), grey);
    EXPECT_EQ(baseColour(0), QColor(192, 192, 192));
    EXPECT_EQ(w.row(0)->cmdStart->text(), "Start");

    w.cmdPause_Click(0);
    expectCounting(0, green);
    EXPECT_EQ(secondsLeft(0), 120);
    EXPECT_TRUE(dialogs->prompts.isEmpty());
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(SlotStateTest, NeitherBoxTickedRefusesTheStart)
{
    frmMain& w = open();
    w.row(0)->chkAlarm->setChecked(false);
    type(0, "0", "0", "2", "00");
    w.cmdStart_Click(0);
    EXPECT_EQ(messages(), QStringList{"Please tick one or both of the 'Alarm' and 'Run' boxes"});
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(w.row(0)->cmdStart->text(), "Start");
    EXPECT_EQ(shown(0), "0 0 2 00");
    EXPECT_TRUE(dialogs->prompts.isEmpty());
}

TEST_F(SlotStateTest, TimeEntryTogglesOnlyWhileIdle)
{
    frmMain& w = open();
    w.row(5)->cmdAt->click();
    EXPECT_TRUE(w.slotBoard().SlotAtTime(5));
    EXPECT_TRUE(w.row(5)->fraAtSpecific->isVisibleTo(w.row(5)));
    EXPECT_FALSE(w.row(5)->fraCountdown->isVisibleTo(w.row(5)));
    w.row(5)->cmdAt->click();
    EXPECT_FALSE(w.slotBoard().SlotAtTime(5));
    EXPECT_FALSE(w.row(5)->fraAtSpecific->isVisibleTo(w.row(5)));
    EXPECT_TRUE(w.row(5)->fraCountdown->isVisibleTo(w.row(5)));

    type(5, "0", "1", "0", "0");
    w.row(5)->cmdStart->click();
    EXPECT_TRUE(w.slotBoard().SlotRunning(5));
    // A disabled button ignores the click: the entry mode cannot change while counting.
    w.row(5)->cmdAt->click();
    EXPECT_FALSE(w.slotBoard().SlotAtTime(5));
    w.row(5)->cmdPause->click();
    w.row(5)->cmdAt->click();
    EXPECT_FALSE(w.slotBoard().SlotAtTime(5));
    w.row(5)->cmdStart->click();
    w.row(5)->cmdAt->click();
    EXPECT_TRUE(w.slotBoard().SlotAtTime(5));
}

TEST_F(SlotStateTest, OnlyTheOperatedSlotChanges)
{
    frmMain& w = open();
    type(3, "0", "0", "1", "00");
    w.cmdStart_Click(3);
    w.cmdPause_Click(3);
    for (int i = 0; i < frmMain::kSlots; ++i) {
        if (i == 3)
            continue;
        EXPECT_FALSE(w.slotBoard().SlotRunning(i)) << i;
        EXPECT_FALSE(w.slotBoard().SlotPaused(i)) << i;
        EXPECT_EQ(w.row(i)->cmdStart->text(), "Start") << i;
        EXPECT_TRUE(w.row(i)->txtDays->isEnabled()) << i;
    }
}
