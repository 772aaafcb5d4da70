#include "LifecycleTest.h"
#include <QAction>

namespace {
using Message = TrayHost::Message;

QStringList captionsOf(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}
}

class LifecycleTrayTest : public LifecycleTest {};

TEST_F(LifecycleTrayTest, StartUpAddsTheRedStandingByIcon)
{
    open();
    EXPECT_EQ(tray->calls, QStringList({"add:Zelvo standing by"}));
    EXPECT_TRUE(trayShows(TrayPictures::red()));
    EXPECT_TRUE(mSHAREDSysTray::instance().iconShown());
}

TEST_F(LifecycleTrayTest, TheIconTurnsGreenWhileCountingAndRedWhenTheTickFindsNothing)
{
    frmMain& w = open();
    startSlot(0, 1);
    EXPECT_EQ(tray->calls.last(), "modify:Zelvo is running");
    EXPECT_TRUE(trayShows(TrayPictures::green()));

    advance(61);
    tick();
    EXPECT_EQ(reminderTexts(), QStringList({"Reminder 1"}));
    EXPECT_FALSE(w.app().Timer1->isActive());
    EXPECT_EQ(tray->calls.last(), "modify:Zelvo is standing by");
    EXPECT_TRUE(trayShows(TrayPictures::red()));

    startSlot(1, 1);
    EXPECT_EQ(tray->calls.last(), "modify:Zelvo is running");
    EXPECT_TRUE(trayShows(TrayPictures::green()));
}

TEST_F(LifecycleTrayTest, APausedSlotKeepsTheIconGreen)
{
    frmMain& w = open();
    startSlot(0, 1);
    w.cmdPause_Click(0);
    const QStringList before = tray->calls;
    advance(300);
    tick();
    tick();
    EXPECT_EQ(tray->calls, before);
    EXPECT_EQ(tray->tip, "Zelvo is running");
    EXPECT_TRUE(w.app().Timer1->isActive());

    // Stopping the paused slot leaves nothing: the next tick turns the icon red.
    w.cmdStart_Click(0);
    tick();
    EXPECT_EQ(tray->calls.last(), "modify:Zelvo is standing by");
    EXPECT_TRUE(trayShows(TrayPictures::red()));
}

TEST_F(LifecycleTrayTest, ARefusedFirstAddIsTriedAgainAtTheNextChangeOfState)
{
    tray->accept = false;
    frmMain& w = open();
    EXPECT_FALSE(mSHAREDSysTray::instance().iconShown());

    tray->accept = true;
    startSlot(0, 1);
    EXPECT_EQ(tray->calls, QStringList({"add:Zelvo standing by", "add:Zelvo is running"}));
    EXPECT_TRUE(tray->shown);
    EXPECT_TRUE(trayShows(TrayPictures::green()));

    // Shown now: the next change modifies, and the title-bar close hides again.
    w.cmdStart_Click(0);
    tick();
    EXPECT_EQ(tray->calls.last(), "modify:Zelvo is standing by");
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
}

TEST_F(LifecycleTrayTest, ClicksOnTheIconFollowTheClickTable)
{
    struct Case {
        Message message;
        bool showsWindow;
        bool popsMenu;
    };
    const Case cases[] = {
        {Message::LeftDown, true, false},   {Message::LeftDoubleClick, true, false},
        {Message::RightDown, false, true},  {Message::RightUp, false, true},
        {Message::MouseMove, false, false}, {Message::LeftUp, false, false},
        {Message::RightDoubleClick, false, false}, {Message::Other, false, false},
    };
    frmMain& w = open();
    for (const Case& c : cases) {
        w.hide();
        w.app().mnuTray->hide();
        tray->click(c.message);
        EXPECT_EQ(w.isVisible(), c.showsWindow) << static_cast<int>(c.message);
        EXPECT_EQ(w.app().mnuTray->isVisible(), c.popsMenu) << static_cast<int>(c.message);
    }
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_FALSE(w.app().unloaded());
}

TEST_F(LifecycleTrayTest, ALeftClickBringsBackAMinimisedWindow)
{
    frmMain& w = open();
    for (const bool hidden : {true, false}) {
        w.showMinimized();
        if (hidden)
            w.hide();
        tray->click(Message::LeftDown);
        EXPECT_TRUE(w.isVisible() && !w.isMinimized()) << "hidden " << hidden;
    }
}

TEST_F(LifecycleTrayTest, TheMenuHoldsShowSeparatorQuitAndHideMenuInThatOrder)
{
    frmMain& w = open();
    EXPECT_EQ(w.app().mnuTray->title(), "Hidden");
    EXPECT_EQ(captionsOf(w.app().mnuTray), QStringList({"Show", "-", "Quit", "Hide Menu"}));
    EXPECT_EQ(w.app().mnuTray->actions().value(0), w.app().mnuShow);
    EXPECT_EQ(w.app().mnuTray->actions().value(2), w.app().mnuQuit);
    EXPECT_EQ(w.app().mnuTray->actions().value(3), w.app().mnuDismiss);
}

TEST_F(LifecycleTrayTest, MenuShowBringsTheWindowBackAndHideMenuDoesNothing)
{
    frmMain& w = open();
    startSlot(0, 5);
    w.cmdHide_Click();
    ASSERT_FALSE(w.isVisible());

    w.app().mnuDismiss->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.app().unloaded());
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));

    w.app().mnuShow->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
}

TEST_F(LifecycleTrayTest, MenuShowRestoresAMinimisedWindow)
{
    frmMain& w = open();
    w.showMinimized();
    ASSERT_TRUE(w.isMinimized());
    w.mnuShow_Click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
}

TEST_F(LifecycleTrayTest, MenuQuitEndsTheProgramLikeExit)
{
    frmMain& w = open();
    w.app().mnuQuit->trigger();
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(tray->calls.last(), "remove");
    EXPECT_FALSE(ini().isEmpty());
}

TEST_F(LifecycleTrayTest, HideOnRunStartsInTheTrayAndALeftClickShowsTheWindow)
{
    writeIni("HIDEONRUN,-1 \r\n");
    frmMain& w = open();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(tray->shown);
    EXPECT_FALSE(logText().contains("HideOnRun"));

    tray->click(Message::LeftDown);
    EXPECT_TRUE(w.isVisible());
    closeProgram();

    writeIni("HIDEONRUN,yes\r\n");
    EXPECT_TRUE(open().isVisible());
}

TEST_F(LifecycleTrayTest, WithoutANotificationAreaHideOnRunIsIgnoredAndLoggedOnce)
{
    noNotificationArea();
    writeIni("HIDEONRUN,-1 \r\n");
    frmMain& w = open();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_EQ(logText().count("HideOnRun"), 1) << logText().toStdString();
}

TEST_F(LifecycleTrayTest, WithoutANotificationAreaEveryHideMinimisesInstead)
{
    noNotificationArea();
    frmMain& w = open();
    ASSERT_TRUE(w.isVisible());

    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_FALSE(w.app().unloaded());

    w.mnuShow_Click();
    ASSERT_FALSE(w.isMinimized());
    w.cmdHide_Click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());

    w.mnuShow_Click();
    startSlot(0, 5);
    watchingDialogs->answers.push_back(Dialogs::Answer::No);
    w.app().ExitProgram();
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_FALSE(w.app().unloaded());
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));

    EXPECT_EQ(logText().count("No notification area: the window is minimised"), 1) << logText().toStdString();
}

TEST_F(LifecycleTrayTest, AnAreaThatComesLaterGetsTheLatestIconAndFromThenOnCloseHides)
{
    noNotificationArea();
    frmMain& w = open();
    ASSERT_TRUE(tray->appeared) << "the program watches for an area";
    startSlot(0, 60);

    tray->accept = true;
    tray->appeared();
    EXPECT_TRUE(tray->shown);
    EXPECT_EQ(tray->tip, "Zelvo is running");
    EXPECT_EQ(tray->menu, w.app().mnuTray);
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.app().unloaded());
    const QString log = logText();
    EXPECT_LT(log.indexOf("No notification area at start: watching for one"),
              log.indexOf("A notification area appeared: the icon is shown"));
}
