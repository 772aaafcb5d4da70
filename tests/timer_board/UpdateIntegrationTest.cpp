#include "fakes/FakeInternetControl.h"
#include "support/MakerAddresses.h"
#include "timer_board/TimerBoardTest.h"
#include "updater/fSHAREDUpdater.h"

namespace {
// Answers every request with the same body as soon as the event loop runs, and writes down
// what was asked; nothing leaves the machine.
class AnsweringControl : public FakeInternetControl {
public:
    explicit AnsweringControl(QByteArray reply) : m_reply(std::move(reply)) {}
    void Execute(const QString& url, const QString& operation) override
    {
        FakeInternetControl::Execute(url, operation);
        QTimer::singleShot(0, &m_alive, [this] { respond(m_reply); });
    }

private:
    QByteArray m_reply;
    QObject m_alive;
};

class UpdateIntegrationTest : public TimerBoardTest {
protected:
    void SetUp() override
    {
        TimerBoardTest::SetUp();
        Platform::setInternetControlFactory([this]() -> std::unique_ptr<InternetControl> {
            auto control = std::make_unique<AnsweringControl>("9.9.9\nhttps://h/ZelvoSetup@@@.exe\n");
            controls << control.get();
            return control;
        });
    }
    QStringList requests() const
    {
        QStringList all;
        for (FakeInternetControl* c : controls)
            all << c->executed;
        return all;
    }

    QList<FakeInternetControl*> controls;
};

const QString kCurrentFile = "/versions/ZELV_current.txt";
}

TEST_F(UpdateIntegrationTest, StartUpAttachesTheUpdaterAndArmsTheThirtySecondTimer)
{
    frmMain& w = open();
    ASSERT_NE(w.app().Updater, nullptr);
    EXPECT_TRUE(w.app().Timer3->isActive());
    EXPECT_EQ(w.app().Timer3->interval(), 30000);
    EXPECT_FALSE(w.app().Updater->isVisible());
    EXPECT_TRUE(requests().isEmpty());
}

TEST_F(UpdateIntegrationTest, WithAutomaticChecksOffTheTimerOnlyLogs)
{
    writeIni("ASKEDABOUTAUTOUPDATES,-1 \r\nDISABLEAUTOUPDATECHECK,-1 \r\n");
    frmMain& w = open();
    w.app().Timer3_Timer();
    EXPECT_FALSE(w.app().Timer3->isActive());
    EXPECT_TRUE(readBytes("log.txt").contains(", Automatic update check is disabled\r\n"));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(requests().isEmpty());
    EXPECT_FALSE(store().IsSettingPresent("LastUpdateCheck"));
    EXPECT_FALSE(w.app().Updater->isVisible());
}

TEST_F(UpdateIntegrationTest, TheFirstRunAsksOnceAndADueCheckRunsSilently)
{
    frmMain& w = open();
    dialogs->answers.push_back(Dialogs::Answer::Yes);  // weekly checks on
    w.app().Timer3_Timer();
    EXPECT_EQ(requests(), QStringList({MakerAddresses::updateServer() + kCurrentFile + " | GET"}));
    EXPECT_EQ(messages(),
              QStringList({"Do you want to enable an automatic weekly check for new versions of this software? "
                           "(Recommended)",
                           "An update is available. Would you like to view the details now?"}));
    EXPECT_FALSE(w.app().Updater->isVisible()) << "silent, and the answer was No";
    EXPECT_TRUE(store().IsSettingPresent("LastUpdateCheck"));
}

TEST_F(UpdateIntegrationTest, NoCheckRunsWhenTheLastOneIsRecent)
{
    writeIni("ASKEDABOUTAUTOUPDATES,-1 \r\nDISABLEAUTOUPDATECHECK,0 \r\n");
    frmMain& w = open();
    store().sSet("LastUpdateCheck", "07/Dec/2026");
    w.app().Timer3_Timer();
    EXPECT_TRUE(requests().isEmpty());
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(UpdateIntegrationTest, CheckForUpdateDropsTheAutomaticCheckAndShowsTheWindow)
{
    frmMain& w = open();
    ASSERT_TRUE(w.app().Timer3->isActive());
    w.cmdCheckUpdate_Click();
    EXPECT_FALSE(w.app().Timer3->isActive());
    EXPECT_EQ(requests(), QStringList({MakerAddresses::updateServer() + kCurrentFile + " | GET"}));
    EXPECT_TRUE(w.app().Updater->isVisible());
    EXPECT_EQ(w.app().Updater->lblProgram->text(), "Zelvo version 1.0.46");
    EXPECT_EQ(w.app().Updater->lblUpdate->text(), "Version 9.9.9 is available!");
    EXPECT_EQ(w.app().Updater->downloadAddress(), "https://h/ZelvoSetup999.exe");
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(UpdateIntegrationTest, AnAgreedInstallWaitsForTheExitInTheProgramFolder)
{
    frmMain& w = open();
    emit w.app().Updater->InstallFile();
    EXPECT_EQ(w.app().PendingInstaller, path("ZelvoUpd.exe"));
    ASSERT_EQ(messages(), QStringList({"Please exit Zelvo now to begin the update process."}));
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_TRUE(shell->opened.isEmpty()) << "nothing runs before the exit";
}
