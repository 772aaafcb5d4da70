#include "TimerBoardTest.h"
#include "support/Twips.h"
#include <QFocusEvent>
#include <QFrame>

class MainWindowTest : public TimerBoardTest {};

TEST_F(MainWindowTest, WithoutSettingsFileRowsCustomSecondsAndFirstPageHaveTheirDefaults)
{
    frmMain& w = open();
    for (int i = 0; i < frmMain::kSlots; ++i)
        EXPECT_EQ(w.row(i)->txtDesc->text(), "Reminder " + QString::number(i + 1)) << i;
    EXPECT_EQ(w.txtCustom->text(), "900");
    EXPECT_TRUE(w.pageButton(0)->isChecked());
    for (int i = 0; i < frmMain::kRows; ++i)
        EXPECT_EQ(w.row(i)->isVisibleTo(&w), i < 10) << i;
    EXPECT_EQ(w.windowTitle(), "Zelvo");
    EXPECT_EQ(w.width(), Twips::px(8344));
    EXPECT_FALSE(w.app().Timer1->isActive());
    EXPECT_TRUE(w.app().SaveTimer->isActive());
    EXPECT_EQ(w.app().SaveTimer->interval(), 30000);
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(MainWindowTest, IdleRowHasItsCaptionsTipsAndTicks)
{
    frmMain& w = open();
    for (int i : {0, 17, 39}) {
        EXPECT_EQ(w.row(i)->cmdStart->text(), "Start");
        EXPECT_EQ(w.row(i)->cmdStart->toolTip(), "Click START to begin the countdown timer.");
        EXPECT_EQ(w.row(i)->cmdPause->text(), "P");
        EXPECT_EQ(w.row(i)->cmdPause->toolTip(), "Pause/Restart Timer");
        EXPECT_EQ(w.row(i)->cmdAt->text(), "T");
        EXPECT_EQ(w.row(i)->cmdAt->toolTip(), "Switch between entering a countdown and a specific time");
        EXPECT_EQ(w.row(i)->txtDesc->toolTip(), "This message will be displayed when the timer reaches 0:00:00");
        EXPECT_EQ(w.row(i)->chkAlarm->text(), "A");
        EXPECT_TRUE(w.row(i)->chkAlarm->isChecked());
        EXPECT_EQ(w.row(i)->chkAlarm->toolTip(), "Sound an alarm");
        EXPECT_EQ(w.row(i)->chkRun->text(), "R");
        EXPECT_FALSE(w.row(i)->chkRun->isChecked());
        EXPECT_EQ(w.row(i)->chkRun->toolTip(), "Run a file or a web URL");
        EXPECT_EQ(shown(i), "0 0 0 00");
        EXPECT_EQ(w.row(i)->txtDays->toolTip(), "Enter the Days value");
        EXPECT_EQ(w.row(i)->txtHours->toolTip(), "Enter the hours value");
        EXPECT_EQ(w.row(i)->txtMinutes->toolTip(), "Enter the Minutes value");
        EXPECT_EQ(w.row(i)->txtSeconds->toolTip(), "Enter the Seconds value");
        EXPECT_EQ(w.row(i)->txtAtHour->text() + ':' + w.row(i)->txtAtMin->text() + ':' + w.row(i)->txtAtSec->text(), "0:00:00");
        EXPECT_TRUE(w.row(i)->optPM->isChecked());
        EXPECT_FALSE(w.row(i)->optAM->isChecked());
        EXPECT_TRUE(w.row(i)->fraCountdown->isVisibleTo(w.row(i)));
        EXPECT_FALSE(w.row(i)->fraAtSpecific->isVisibleTo(w.row(i)));
        EXPECT_EQ(textColour(i), systemText(i));
        EXPECT_EQ(baseColour(i), systemBase(i));
    }
    EXPECT_EQ(w.cmd30s->toolTip(), "Starts a 30 second countdown timer immediately");
    EXPECT_EQ(w.cmdCustom->text(), "Ns:");
    EXPECT_EQ(w.txtCustom->toolTip(), "Number of seconds for custom timer");
    EXPECT_EQ(w.pageButton(3)->text(), "31-40");
    EXPECT_EQ(w.pageButton(3)->toolTip(), "Display timers 31-40");
    EXPECT_EQ(w.cmdTest->text(), "Test Alarm Volume");
}

TEST_F(MainWindowTest, AmPmChoiceBelongsToItsOwnRow)
{
    frmMain& w = open();
    w.row(2)->optAM->setChecked(true);
    EXPECT_TRUE(w.row(2)->optAM->isChecked());
    EXPECT_FALSE(w.row(2)->optPM->isChecked());
    EXPECT_TRUE(w.row(1)->optPM->isChecked());
    EXPECT_TRUE(w.row(3)->optPM->isChecked());
}

TEST_F(MainWindowTest, StoredMessagesAndCustomSecondsComeFromTheSettingsFile)
{
    writeIni("TIMERNAME3,Feed the cat\r\nTIMERNAME39,Last one\r\nCUSTOMSECONDS,120\r\n");
    frmMain& w = open();
    EXPECT_EQ(w.row(3)->txtDesc->text(), "Feed the cat");
    EXPECT_EQ(w.row(2)->txtDesc->text(), "Reminder 3");
    EXPECT_EQ(w.row(4)->txtDesc->text(), "Reminder 5");
    EXPECT_EQ(w.row(39)->txtDesc->text(), "Last one");
    EXPECT_EQ(w.txtCustom->text(), "120");
}

// A page's rows are made at its first showing: what its slots did before then is drawn at once.
TEST_F(MainWindowTest, ARowMadeAfterItsSlotChangedShowsWhatTheSlotHolds)
{
    frmMain& w = open();
    SlotBoard& model = w.slotBoard();
    ASSERT_EQ(w.builtRow(25), nullptr);
    model.setMessage(25, "Laundry");
    model.setFields(25, {"0", "2", "0", "0"});
    model.setRepeat(25, true);
    ASSERT_TRUE(model.startTimer(25));
    model.pauseTimer(26);
    w.optPage_Click(2);
    EXPECT_EQ(w.row(25)->txtDesc->text(), "Laundry");
    EXPECT_EQ(w.row(25)->cmdStart->text(), "Stop");
    EXPECT_FALSE(w.row(25)->txtHours->isEnabled());
    EXPECT_EQ(textColour(25), QColor(0, 176, 0));
    EXPECT_FALSE(w.row(25)->txtDesc->accessibleDescription().isEmpty()) << "the repeat mark";
    EXPECT_EQ(textColour(26), QColor(128, 128, 128)) << "marked paused";
}

TEST_F(MainWindowTest, CustomSecondsThatAreNoNumberShowZero)
{
    writeIni("CUSTOMSECONDS,lots\r\n");
    EXPECT_EQ(open().txtCustom->text(), "0");
}

TEST_F(MainWindowTest, LastPageLaysTimers31To40OutInTwoColumnsOfFive)
{
    frmMain& w = open();
    w.optPage_Click(3);
    EXPECT_TRUE(w.pageButton(3)->isChecked());
    EXPECT_FALSE(w.pageButton(0)->isChecked());
    for (int i = 0; i < frmMain::kRows; ++i)
        EXPECT_EQ(w.row(i)->isVisibleTo(&w), i >= 30 && i < 40) << i;

    const QRect anchor = Twips::rect(135, 135, 3972, 960);
    const int gap = Twips::px(100);
    EXPECT_EQ(w.row(30)->geometry(), anchor);  // timer 31 top left
    EXPECT_EQ(w.row(35)->pos(), QPoint(anchor.left() + anchor.width() + gap, anchor.top()));  // timer 36 top right
    for (int k = 1; k < 5; ++k) {
        const QRect above = w.row(30 + k - 1)->geometry();
        EXPECT_EQ(w.row(30 + k)->pos(), QPoint(anchor.left(), above.bottom() + 1 + gap)) << k;
        EXPECT_EQ(w.row(35 + k)->pos(), QPoint(w.row(35)->x(), above.bottom() + 1 + gap)) << k;
    }
    // Every row fits above the page buttons.
    EXPECT_LT(w.row(34)->geometry().bottom(), Twips::px(5472));
}

TEST_F(MainWindowTest, PagesCanBeVisitedInAnyOrder)
{
    frmMain& w = open();
    for (int page : {2, 1, 3, 0, 2}) {
        w.optPage_Click(page);
        for (int i = 0; i < frmMain::kSlots; ++i)
            EXPECT_EQ(w.row(i)->isVisibleTo(&w), i / 10 == page) << page << ' ' << i;
        EXPECT_EQ(w.row(10 * page)->pos(), Twips::rect(135, 135, 1, 1).topLeft());
    }
}

TEST_F(MainWindowTest, SwitchingPagesDoesNotStopACountdown)
{
    frmMain& w = open();
    type(2, "0", "0", "0", "5");
    w.cmdStart_Click(2);
    w.optPage_Click(2);
    advance(3);
    tick();
    EXPECT_EQ(shown(2), "0 0 0 02");
    EXPECT_TRUE(w.slotBoard().SlotRunning(2));
    advance(2);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(2));
    EXPECT_EQ(reminderTexts(), QStringList{"Reminder 3"});
    EXPECT_EQ(sound->beeps, 1);
    EXPECT_TRUE(w.row(20)->isVisibleTo(&w));
    EXPECT_FALSE(w.row(2)->isVisibleTo(&w));
}

TEST_F(MainWindowTest, FocusSelectsTheWholeFieldExceptInTheCustomSeconds)
{
    frmMain& w = open();
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.row(4)->txtAtSec->setText("30");
    w.txtCustom->setText("900");
    const auto focusOn = [](QLineEdit* edit) {
        edit->deselect();
        edit->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        return edit->selectedText();
    };
    w.row(4)->cmdAt->click();
    EXPECT_EQ(focusOn(w.row(0)->txtDays), "0");
    EXPECT_EQ(focusOn(w.row(1)->txtDesc), "Reminder 2");
    EXPECT_EQ(focusOn(w.row(2)->txtMinutes), "0");
    EXPECT_EQ(focusOn(w.row(4)->txtAtSec), "30");
    EXPECT_EQ(focusOn(w.txtCustom), "");
}
