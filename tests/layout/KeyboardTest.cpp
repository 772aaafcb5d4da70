#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/TimerRow.h"
#include "timer_board/ZelvoApp.h"
#include "timer_board/ReminderWindows.h"
#include "timer_board/frmMessage.h"
#include <QPointer>
#include <QSet>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QMenu>
#include <QToolButton>
#include <QTimer>
#include <vector>

// A user without a mouse: Tab through a window, type, and press Space or Enter.
class Keyboard : public ZelvoSettingsTest {
protected:

    static void showActive(QWidget* window)
    {
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    static QWidget* press(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key);
        QApplication::processEvents();
        return QApplication::focusWidget();
    }
    static void typeInto(QWidget* field, const QString& text)
    {
        QTest::keyClicks(field, text);
        QApplication::processEvents();
    }

    std::unique_ptr<ZelvoApp> openBoard()
    {
        auto program = std::make_unique<ZelvoApp>();
        program->Form_Load();
        for (QTimer* t : {program->Timer1, program->SaveTimer, program->Timer3})
            t->stop();
        showActive(&program->window());
        return program;
    }
};

TEST_F(Keyboard, TabWalksARowInTheOrderItIsFilledIn)
{
    const auto program = openBoard();
    frmMain* board = &program->window();
    board->row(0)->txtDesc->setFocus();
    const std::vector<QWidget*> countdown{board->row(0)->txtDays, board->row(0)->txtHours, board->row(0)->txtMinutes,
                                          board->row(0)->txtSeconds, board->row(0)->chkAlarm, board->row(0)->chkRun,
                                          board->row(0)->cmdAt, board->row(0)->cmdPause, board->row(0)->cmdStart, board->row(1)->txtDesc};
    for (QWidget* expected : countdown) {
        QWidget* got = press(Qt::Key_Tab);
        EXPECT_EQ(got, expected) << got->metaObject()->className() << " " << got->toolTip().toStdString();
    }

    // The same row in clock-time mode, switched with the keyboard.
    board->row(0)->cmdAt->setFocus();
    press(Qt::Key_Space);
    ASSERT_TRUE(board->row(0)->fraAtSpecific->isVisible());
    board->row(0)->txtDesc->setFocus();
    EXPECT_EQ(press(Qt::Key_Tab), board->row(0)->txtAtHour);
    EXPECT_EQ(press(Qt::Key_Tab), board->row(0)->txtAtMin);
    EXPECT_EQ(press(Qt::Key_Tab), board->row(0)->txtAtSec);
    QWidget* choice = press(Qt::Key_Tab);
    EXPECT_TRUE(choice == board->row(0)->optAM || choice == board->row(0)->optPM);
    EXPECT_EQ(press(Qt::Key_Tab), board->row(0)->chkAlarm);
    board->app().Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(Keyboard, ACountdownIsTypedAndStartedWithoutAMouse)
{
    const auto program = openBoard();
    frmMain* board = &program->window();
    board->row(2)->txtDesc->setFocus();
    QApplication::processEvents();  // the whole text is selected once focus has settled
    typeInto(board->row(2)->txtDesc, "Tea");
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QWidget* minutes = press(Qt::Key_Tab);
    ASSERT_EQ(minutes, board->row(2)->txtMinutes);
    typeInto(minutes, "4");
    for (int k = 0; k < 6; ++k)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), board->row(2)->cmdStart);
    press(Qt::Key_Space);

    EXPECT_TRUE(board->slotBoard().SlotRunning(2));
    EXPECT_EQ(board->row(2)->txtDesc->text(), "Tea");
    EXPECT_EQ(board->row(2)->txtMinutes->text(), "4");
    EXPECT_NEAR(board->slotBoard().remainingMs(2) / 1000.0, 240.0, 1.0);
    board->app().Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(Keyboard, PagesAndTheQuickStartAreReachedAndPressed)
{
    const auto program = openBoard();
    frmMain* board = &program->window();
    board->cmdHide->setFocus();
    QWidget* w = nullptr;
    for (int k = 0; k < 200 && w != board->pageButton(0); ++k)
        w = press(Qt::Key_Tab);
    ASSERT_EQ(w, board->pageButton(0)) << "Tab stops on the page on display";
    // The arrow keys move between the pages, as between radio buttons.
    EXPECT_EQ(press(Qt::Key_Right), board->pageButton(1));
    EXPECT_EQ(press(Qt::Key_Right), board->pageButton(2));
    EXPECT_TRUE(board->pageButton(2)->isChecked());
    EXPECT_TRUE(board->row(20)->txtDesc->isVisible());
    EXPECT_FALSE(board->row(0)->txtDesc->isVisible());

    for (int k = 0; k < 20 && w != board->cmd1m; ++k)
        w = press(Qt::Key_Tab);
    ASSERT_EQ(w, board->cmd1m);
    press(Qt::Key_Space);
    int running = 0;
    for (int i = 0; i < frmMain::kSlots; ++i)
        running += board->slotBoard().SlotRunning(i);
    EXPECT_EQ(running, 1);
    board->app().Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(Keyboard, EveryPageOfTheAboutWindowOpensFromTheKeyboard)
{
    fSHAREDAbout about;
    showActive(&about);
    about.cmdOK->setFocus();
    int opened = 0;
    // Enter on each link and picture Tab stops at; the News button with Space.
    for (int k = 0; k < 20; ++k) {
        QWidget* w = press(Qt::Key_Tab);
        if (w == about.cmdOK)
            break;
        press(w == about.cmdNews ? Qt::Key_Space : Qt::Key_Return);
        EXPECT_EQ(shell->opened.size(), ++opened) << w->metaObject()->className() << " " << w->toolTip().toStdString();
    }
    EXPECT_EQ(opened, 8) << "home page, maker's programs, news, logo and four pictures";
    EXPECT_TRUE(about.isVisible()) << "Enter on an item does not close the window";
    press(Qt::Key_Return);
    EXPECT_FALSE(about.isVisible()) << "Enter on OK closes it";
}

TEST_F(Keyboard, EnterEscapeOrSpaceClosesAReminder)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        QPointer<frmMessage> reminder = new frmMessage("Tea");
        showActive(reminder);
        ASSERT_EQ(QApplication::focusWidget(), reminder->cmdClose) << "Close has the keyboard from the start";
        press(key);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(reminder.isNull()) << "key " << key;
        delete reminder;
    }
}

// Tab goes the way the buttons stand; the menu keys open Snooze's times, one is picked with the
// arrows and Enter; ten reminders at once each stand a step apart.
TEST_F(Keyboard, TheReminderIsWorkedByKeyboardAloneAndRemindersStandApart)
{
    frmMessage reminder("Tea");
    showActive(&reminder);
    ASSERT_EQ(QApplication::focusWidget(), reminder.cmdClose);
    EXPECT_EQ(press(Qt::Key_Tab), reminder.cmdRestart);
    EXPECT_EQ(press(Qt::Key_Tab), reminder.cmdSnooze);
    EXPECT_EQ(press(Qt::Key_Tab), reminder.cmdClose);
    std::vector<int> chosen;
    QObject::connect(&reminder, &frmMessage::snoozeChosen, [&](int seconds) { chosen.push_back(seconds); });
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Down, Qt::AltModifier}, {Qt::Key_F4, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
        bool opened = false;
        QTimer::singleShot(100, [&] {
            QWidget* menu = QApplication::activePopupWidget();
            opened = menu && menu == static_cast<QWidget*>(reminder.cmdSnooze->menu());
            if (menu) {
                QTest::keyClick(menu, Qt::Key_Down);  // "1 minute"
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        EXPECT_TRUE(opened) << "key " << key;
    }
    EXPECT_EQ(chosen, std::vector<int>(4, 60));

    ReminderWindows windows;
    for (int ring = 1; ring <= 10; ++ring)
        windows.show(ring, "Tea", QString());
    QSet<std::pair<int, int>> places;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* r = qobject_cast<frmMessage*>(w); r && r->ring() > 0 && r->isVisible()) {
            places.insert({r->x(), r->y()});
            r->close();
        }
    EXPECT_EQ(places.size(), 10) << "each a step apart from the others";
}
