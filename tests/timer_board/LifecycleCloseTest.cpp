#include "LifecycleTest.h"
#include "platform/CloseSignals.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <csignal>

namespace {
const QString kQuestion = QStringLiteral("You have timers running. Are you sure you want to exit?");
}

class LifecycleCloseTest : public LifecycleTest {};

TEST_F(LifecycleCloseTest, TheTitleBarCloseHidesAndStoresTheSlotsInMemoryOnly)
{
    frmMain& w = open();
    startSlot(0, 1);
    w.row(0)->txtDesc->setText("Tea");

    EXPECT_FALSE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.app().unloaded());
    EXPECT_TRUE(store().sGet("TimerRunning0", false).toBool());
    EXPECT_EQ(store().sGet("TimerName0", QString()).toText(), "Tea");
    EXPECT_FALSE(QFileInfo::exists(path("Zelvo.ini")));
    EXPECT_FALSE(tray->calls.contains("remove"));
    EXPECT_EQ(tray->tip, "Zelvo is running");

    // Hidden, the countdown still runs and fires.
    EXPECT_TRUE(w.app().Timer1->isActive());
    advance(61);
    tick();
    EXPECT_EQ(reminderTexts(), QStringList({"Tea"}));
    EXPECT_EQ(tray->tip, "Zelvo is standing by");

    EXPECT_FALSE(w.app().Form_QueryUnload(frmMain::vbFormControlMenu));
    EXPECT_FALSE(QFileInfo::exists(path("Zelvo.ini")));
}

class LifecycleSystemCloseTest : public LifecycleCloseTest,
                                 public ::testing::WithParamInterface<frmMain::UnloadMode> {};

TEST_P(LifecycleSystemCloseTest, OtherReasonsUnloadWriteTheFileAndRemoveTheIcon)
{
    frmMain& w = open();
    startSlot(3, 10);
    EXPECT_TRUE(w.app().Form_QueryUnload(GetParam()));
    EXPECT_FALSE(QFileInfo::exists(path("Zelvo.ini"))) << "the question alone writes nothing";

    w.app().SystemClose(GetParam());
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.app().Timer1->isActive());
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(ini().contains("TIMERRUNNING3,-1 \r\n"));
    EXPECT_TRUE(ini().contains("TIMER3END," + endText(600).toUtf8() + "\r\n"));
    EXPECT_EQ(tray->calls.last(), "remove");
    EXPECT_FALSE(tray->shown);
}

INSTANTIATE_TEST_SUITE_P(Reasons, LifecycleSystemCloseTest,
                         ::testing::Values(frmMain::vbFormCode, frmMain::vbAppWindows, frmMain::vbAppTaskManager));

TEST_F(LifecycleCloseTest, ExitWithNothingCountingAsksNothingAndEnds)
{
    frmMain& w = open();
    w.cmdExit_Click();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(QFileInfo::exists(path("Zelvo.ini")));
    EXPECT_EQ(tray->calls.last(), "remove");
    EXPECT_TRUE(shell->opened.isEmpty()) << "no installer is waiting";
}

TEST_F(LifecycleCloseTest, ExitWithTwoCountingAsksOnceAndNoKeepsThemRunningHidden)
{
    frmMain& w = open();
    startSlot(0, 5);
    startSlot(1, 10);
    w.app().PendingInstaller = path("ZelvoUpd.exe");

    w.cmdExit_Click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kQuestion);
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");

    EXPECT_FALSE(w.app().unloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.app().Timer1->isActive());
    EXPECT_FALSE(tray->calls.contains("remove"));
    EXPECT_TRUE(shell->opened.isEmpty());
    // The file is written before the question.
    EXPECT_TRUE(QFileInfo::exists(path("Zelvo.ini")));

    advance(60);
    tick();
    EXPECT_TRUE(w.slotBoard().SlotRunning(0));
    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(secondsLeft(0), 240);
}

TEST_F(LifecycleCloseTest, APausedCountdownAlsoAsksBeforeExit)
{
    frmMain& w = open();
    startSlot(0, 5);
    w.cmdPause_Click(0);
    w.app().ExitProgram();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kQuestion);
    EXPECT_FALSE(w.app().unloaded());
}

TEST_F(LifecycleCloseTest, ExitYesRunsThePendingInstallerOnlyAfterTheFileAndTheIconAreDone)
{
    frmMain& w = open();
    startSlot(0, 5);
    startSlot(1, 10);
    const QString installer = path("ZelvoUpd.exe");
    writeBytes("ZelvoUpd.exe", QByteArray(30000, 'x'));  // downloaded and accepted
    w.app().PendingInstaller = installer;
    watchingDialogs->answers.push_back(Dialogs::Answer::Yes);
    QByteArray fileAtRun;
    QStringList trayAtRun;
    watchingShell->onOpen = [&](const QString&) {
        fileAtRun = ini();
        trayAtRun = tray->calls;
    };

    w.mnuQuit_Click();
    EXPECT_EQ(dialogs->shown.size(), 1u);
    ASSERT_EQ(shell->opened, QStringList({'"' + installer + '"'}));
    EXPECT_EQ(shell->folders, QStringList({QString()}));
    // Both countdowns are in the file the installer finds.
    EXPECT_TRUE(fileAtRun.contains("TIMERRUNNING0,-1 \r\n"));
    EXPECT_TRUE(fileAtRun.contains("TIMERRUNNING1,-1 \r\n"));
    EXPECT_EQ(trayAtRun.value(trayAtRun.size() - 1), "remove");
    EXPECT_FALSE(w.app().Timer1->isActive());
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_FALSE(w.isVisible());
}

TEST_F(LifecycleCloseTest, AClosedWindowStaysClosedOnceUnloaded)
{
    frmMain& w = open();
    w.app().ExitProgram();
    ASSERT_TRUE(w.app().unloaded());
    const QStringList calls = tray->calls;
    EXPECT_TRUE(w.close());
    w.app().SystemClose(frmMain::vbAppTaskManager);
    EXPECT_EQ(tray->calls, calls) << "the icon is removed once";
}

#ifndef Q_OS_WIN  // Windows asks through the session's end, not through signals
class LifecycleSignalTest : public LifecycleCloseTest, public ::testing::WithParamInterface<int> {};

TEST_P(LifecycleSignalTest, ASignalTakesTheUnloadPath)
{
    frmMain& w = open();
    startSlot(2, 5);
    CloseSignals signalsIn;
    QList<int> received;
    QObject::connect(&signalsIn, &CloseSignals::closeRequested, &w, [&](int number) {
        received << number;
        w.app().SystemClose(frmMain::vbAppTaskManager);
    });
    ASSERT_EQ(std::raise(GetParam()), 0);
    for (int round = 0; round < 200 && received.isEmpty(); ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    EXPECT_EQ(received, QList<int>({GetParam()}));
    EXPECT_TRUE(w.app().unloaded());
    EXPECT_TRUE(ini().contains("TIMERRUNNING2,-1 \r\n"));
    EXPECT_EQ(tray->calls.last(), "remove");
}

INSTANTIATE_TEST_SUITE_P(Signals, LifecycleSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));
#endif
