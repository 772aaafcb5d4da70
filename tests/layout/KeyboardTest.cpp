#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/frmMain.h"
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

    std::unique_ptr<frmMain> openBoard()
    {
        auto board = std::make_unique<frmMain>();
        board->Form_Load();
        for (QTimer* t : {board->Timer1, board->SaveTimer, board->Timer3})
            t->stop();
        showActive(board.get());
        return board;
    }
};

TEST_F(Keyboard, TabWalksARowInTheOrderItIsFilledIn)
{
    auto board = openBoard();
    board->txtDesc[0]->setFocus();
    const std::vector<QWidget*> countdown{board->txtDays[0], board->txtHours[0], board->txtMinutes[0],
                                          board->txtSeconds[0], board->chkAlarm[0], board->chkRun[0],
                                          board->cmdAt[0], board->cmdPause[0], board->cmdStart[0], board->txtDesc[1]};
    for (QWidget* expected : countdown) {
        QWidget* got = press(Qt::Key_Tab);
        EXPECT_EQ(got, expected) << got->metaObject()->className() << " " << got->toolTip().toStdString();
    }

    // The same row in clock-time mode, switched with the keyboard.
    board->cmdAt[0]->setFocus();
    press(Qt::Key_Space);
    ASSERT_TRUE(board->fraAtSpecific[0]->isVisible());
    board->txtDesc[0]->setFocus();
    EXPECT_EQ(press(Qt::Key_Tab), board->txtAtHour[0]);
    EXPECT_EQ(press(Qt::Key_Tab), board->txtAtMin[0]);
    EXPECT_EQ(press(Qt::Key_Tab), board->txtAtSec[0]);
    QWidget* choice = press(Qt::Key_Tab);
    EXPECT_TRUE(choice == board->optAM[0] || choice == board->optPM[0]);
    EXPECT_EQ(press(Qt::Key_Tab), board->chkAlarm[0]);
    board->Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(Keyboard, ACountdownIsTypedAndStartedWithoutAMouse)
{
    auto board = openBoard();
    board->txtDesc[2]->setFocus();
    QApplication::processEvents();  // the whole text is selected once focus has settled
    typeInto(board->txtDesc[2], "Tea");
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    QWidget* minutes = press(Qt::Key_Tab);
    ASSERT_EQ(minutes, board->txtMinutes[2]);
    typeInto(minutes, "4");
    for (int k = 0; k < 6; ++k)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), board->cmdStart[2]);
    press(Qt::Key_Space);

    EXPECT_TRUE(board->slotBoard().SlotRunning(2));
    EXPECT_EQ(board->txtDesc[2]->text(), "Tea");
    EXPECT_EQ(board->txtMinutes[2]->text(), "4");
    EXPECT_NEAR(board->slotBoard().remainingMs(2) / 1000.0, 240.0, 1.0);
    board->Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(Keyboard, PagesAndTheQuickStartAreReachedAndPressed)
{
    auto board = openBoard();
    board->cmdHide->setFocus();
    QWidget* w = nullptr;
    for (int k = 0; k < 200 && w != board->optPage[0]; ++k)
        w = press(Qt::Key_Tab);
    ASSERT_EQ(w, board->optPage[0]) << "Tab stops on the page on display";
    // The arrow keys move between the pages, as between radio buttons.
    EXPECT_EQ(press(Qt::Key_Right), board->optPage[1]);
    EXPECT_EQ(press(Qt::Key_Right), board->optPage[2]);
    EXPECT_TRUE(board->optPage[2]->isChecked());
    EXPECT_TRUE(board->txtDesc[20]->isVisible());
    EXPECT_FALSE(board->txtDesc[0]->isVisible());

    for (int k = 0; k < 20 && w != board->cmd1m; ++k)
        w = press(Qt::Key_Tab);
    ASSERT_EQ(w, board->cmd1m);
    press(Qt::Key_Space);
    int running = 0;
    for (int i = 0; i < frmMain::kSlots; ++i)
        running += board->slotBoard().SlotRunning(i);
    EXPECT_EQ(running, 1);
    board->Form_QueryUnload(frmMain::vbFormCode);
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
