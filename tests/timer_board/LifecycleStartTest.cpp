#include "LifecycleTest.h"
#include "timer_board/frmSplash.h"

namespace {
QList<frmSplash*> splashes()
{
    QList<frmSplash*> list;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* splash = qobject_cast<frmSplash*>(w))
            list << splash;
    return list;
}
}

class LifecycleStartTest : public LifecycleTest {
protected:
    void writeExpiredSlot() { writeIni(("TIMERRUNNING6,-1 \r\nTIMER6END," + endText(-60) + "\r\nTIMERNAME6,Soup\r\n").toUtf8()); }
};

TEST_F(LifecycleStartTest, TheIconIsAddedRedBeforeSavedCountdownsResume)
{
    writeIni(("TIMERRUNNING4,-1 \r\nTIMER4END," + endText(3600) + "\r\n").toUtf8());
    frmMain& w = open();
    EXPECT_TRUE(w.slotBoard().SlotRunning(4));
    EXPECT_EQ(tray->calls, QStringList({"add:Zelvo standing by", "modify:Zelvo is running"}));
    EXPECT_TRUE(trayShows(TrayPictures::green()));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(LifecycleStartTest, TheSplashSaysStartingUpUntilTheRestoreIsDoneAndIsReleasedAfter)
{
    writeExpiredSlot();
    bool splashUp = false;
    QString status;
    QStringList trayAtMessage;
    watchingDialogs->onMessage = [&](const QString&) {
        const QList<frmSplash*> list = splashes();
        splashUp = list.size() == 1 && list[0]->isVisible();
        status = list.isEmpty() ? QString() : list[0]->lblstatus->text();
        trayAtMessage = tray->calls;
    };
    frmMain& w = open();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(dialogs->shown[0].text.contains("Soup"));
    EXPECT_TRUE(splashUp);
    EXPECT_EQ(status, "Starting up");
    EXPECT_EQ(trayAtMessage, QStringList({"add:Zelvo standing by"}));

    EXPECT_TRUE(splashes().isEmpty());
    EXPECT_EQ(w.windowTitle(), "Zelvo");
    EXPECT_TRUE(logText().contains(", Zelvo startup\r\n"));
}

TEST_F(LifecycleStartTest, AQuitDuringStartUpLeavesNoWindowBehind)
{
    // The expired-alarms box runs its own event loop; the tray menu's Quit can be chosen there.
    writeExpiredSlot();
    watchingDialogs->onMessage = [&](const QString&) { board->mnuQuit_Click(); };
    frmMain& w = open();
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(tray->calls.last(), "remove");
    EXPECT_TRUE(splashes().isEmpty());
}

TEST_F(LifecycleStartTest, AStartWithoutTheSingleInstanceLockSaysSoInTheLog)
{
    lock->lockProblem = "no permission to create /run/user/0/zelvo-1.lock";
    open();
    EXPECT_TRUE(readBytes("log.txt").contains(
        ", Running without the single-instance lock: no permission to create /run/user/0/zelvo-1.lock\r\n"));
}
