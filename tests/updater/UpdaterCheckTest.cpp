#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "support/MakerAddresses.h"
#include "support/TestPrinters.h"
#include "updater/TransportPeers.h"
#include "updater/fSHAREDUpdater.h"
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

namespace {
// The wait loops sleep briefly for real so the peer gets its turn; the moment moves only by
// what was slept, so the day stays the test's.
class SteppingClock : public FakeClock {
public:
    using FakeClock::FakeClock;
    void sleepMs(int ms) override
    {
        QThread::msleep(1);
        advanceMs(ms);
    }
};

const QColor kGreen(0, 128, 0);
const QColor kRed(192, 0, 0);
constexpr std::int32_t k7Dec2026 = 46363;

// The update window against the Python HTTP peer on 127.0.0.1, serving files the test writes.
class UpdaterCheck : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        Platform::setClock(stepping);
        cSHAREDSettings::resetInstance();
        served = dir.filePath("served");
        ASSERT_TRUE(QDir().mkpath(served));
        ASSERT_TRUE(http.startPython("http_peer.py", {path("requests.log"), served}));
        updater = std::make_unique<fSHAREDUpdater>();
        QObject::connect(updater.get(), &fSHAREDUpdater::Status, [this](const QString& t) { statuses << t; });
        QObject::connect(updater.get(), &fSHAREDUpdater::Finished, [this] { events << "Finished"; });
        QObject::connect(updater.get(), &fSHAREDUpdater::InstallFile, [this] { events << "InstallFile"; });
        QObject::connect(updater.get(), &fSHAREDUpdater::FormClosed, [this] { events << "FormClosed"; });
    }
    void TearDown() override
    {
        updater.reset();
        http.stop();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }

    void serve(const QString& name, const QByteArray& bytes) const
    {
        QFile f(served + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QString url(const QString& name) const { return http.address("/files/" + name); }
    bool check(bool silent, const QString& name, const QString& current, const QString& details = "notes.txt")
    {
        return updater->CheckForUpdate(silent, url(name), url(details), "ZelvoUpd.exe", current);
    }
    // An information file offering 9.9.9 from the given address, checked with the window shown.
    void offer(const QString& address)
    {
        serve("current.txt", "9.9.9\n" + address.toUtf8() + "\n");
        ASSERT_TRUE(check(false, "current.txt", "1.0.0"));
        statuses.clear();
        events.clear();
    }

    QColor verdictColour() const { return updater->lblUpdate->palette().color(QPalette::WindowText); }
    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }
    QString installer() const { return path("ZelvoUpd.exe"); }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto& m : dialogs->shown)
            texts << m.text;
        return texts;
    }

    std::shared_ptr<SteppingClock> stepping =
        std::make_shared<SteppingClock>(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    QString served;
    Peer http;
    std::unique_ptr<fSHAREDUpdater> updater;
    QStringList statuses;
    QStringList events;
};
}

TEST_F(UpdaterCheck, ANewerVersionIsShownInGreenAndDatedByText)
{
    serve("current.txt", "2.1.3b\n" + http.address("/files/setup@@@.exe").toUtf8() + "\n");
    EXPECT_TRUE(check(false, "current.txt", "2.1.3"));

    EXPECT_EQ(updater->lblUpdate->text(), "Version 2.1.3B is available!");
    EXPECT_EQ(verdictColour(), kGreen);
    EXPECT_EQ(updater->lblProgram->text(), "Version 2.1.3");
    EXPECT_EQ(updater->downloadAddress(), http.address("/files/setup213b.exe"));
    EXPECT_EQ(store().sGet("LastUpdateCheck").toText(), "07/Dec/2026");
    EXPECT_EQ(statuses, QStringList({"Checking for update", "Data retrieved", ""}));
    EXPECT_EQ(events, QStringList({"Finished"}));
    EXPECT_TRUE(updater->isVisible());
    EXPECT_EQ(updater->windowTitle(), "Zelvo Updater");
    EXPECT_TRUE(updater->cmdCheckAgain->isEnabled());
    EXPECT_TRUE(updater->cmdShowDetail->isEnabled());
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(UpdaterCheck, ASilentCheckThatFindsAnUpdateAsksBeforeShowingTheWindow)
{
    serve("current.txt", "2.1.3b\r\n" + http.address("/files/setup@@@.exe").toUtf8() + "\r\n");
    EXPECT_TRUE(check(true, "current.txt", "2.1.3"));
    EXPECT_EQ(updater->downloadAddress(), http.address("/files/setup213b.exe"));
    ASSERT_EQ(messages(), QStringList({"An update is available. Would you like to view the details now?"}));
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_FALSE(updater->isVisible()) << "the answer was No";
}

TEST_F(UpdaterCheck, TheSameVersionIsUpToDateAndDatedByDayNumber)
{
    serve("current.txt", "2.1.3\r\nhttps://h/setup@@@.exe\r\n");
    EXPECT_FALSE(check(false, "current.txt", "2.1.3"));

    EXPECT_EQ(updater->lblUpdate->text(), "You're up to date!");
    EXPECT_EQ(verdictColour(), kRed);
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Latest available version is 2.1.3");
    EXPECT_EQ(store().sGet("LastUpdateCheck").toText().trimmed(), QString::number(k7Dec2026));
    EXPECT_TRUE(readBytes("log.txt").contains(", Already up to date (Available version is 2.1.3)\r\n"));
    EXPECT_EQ(events, QStringList({"Finished"}));

    // An older version on the server is no update either.
    serve("current.txt", "1.9.9\nhttps://h/setup.exe\n");
    EXPECT_FALSE(check(false, "current.txt", "2.0.9"));
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Latest available version is 1.9.9");
}

class UpdaterNoAnswer : public UpdaterCheck, public ::testing::WithParamInterface<const char*> {};

TEST_P(UpdaterNoAnswer, AnErrorPageOrAnEmptyAnswerIsNoVerdictAndNoDate)
{
    serve("empty.txt", "");
    serve("blank.txt", "  \r\n  ");
    serve("page.txt", "2.1.3\n<HTML><BODY>Moved</BODY></HTML>\n");
    EXPECT_FALSE(updater->CheckForUpdate(false, http.address(GetParam()), url("notes.txt"), "ZelvoUpd.exe", "1.0.0"));

    EXPECT_EQ(updater->lblUpdate->text(), "Could not retrieve update status");
    EXPECT_EQ(verdictColour(), kRed);
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Update check failed. Visit " + MakerAddresses::webSite()
                                                       + " to update this program manually.");
    EXPECT_FALSE(store().IsSettingPresent("LastUpdateCheck"));
    EXPECT_TRUE(updater->downloadAddress().isEmpty());
    EXPECT_EQ(events, QStringList({"Finished"}));
}

INSTANTIATE_TEST_SUITE_P(Answers, UpdaterNoAnswer,
                         ::testing::Values("/status/404", "/files/empty.txt", "/files/blank.txt", "/files/page.txt"));

TEST_F(UpdaterCheck, AMissingControlNamesItselfInTheClosingMessage)
{
    serve("empty.txt", "");
    updater->cInternet_NoInternet();
    EXPECT_FALSE(check(false, "empty.txt", "1.0.0"));
    EXPECT_EQ(updater->lblUpdate->text(), "Could not retrieve update status");
    EXPECT_EQ(statuses.value(statuses.size() - 1),
              "The internet control (MSINET.OCX) is missing or outdated. Visit the Runtimes page on "
                  + MakerAddresses::webSite() + " to download an updated version.");
    // The whole of it is in view: the strip has grown to hold it.
    const QLabel* strip = updater->picStatus;
    EXPECT_GE(strip->width(), strip->fontMetrics().horizontalAdvance(statuses.last()));
    EXPECT_GE(updater->width(), strip->width());
    EXPECT_EQ(strip->accessibleName(), statuses.last()) << "a screen reader reads what is painted";
}

TEST_F(UpdaterCheck, AOneLineFileCannotBeRead)
{
    serve("current.txt", "2.1.3\n");
    EXPECT_FALSE(check(false, "current.txt", "1.0.0"));
    EXPECT_EQ(updater->lblUpdate->text(), "Could not read update status from file");
    EXPECT_EQ(verdictColour(), kRed);
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Update check failed, could not read download filename");
    EXPECT_FALSE(store().IsSettingPresent("LastUpdateCheck"));
}

TEST_F(UpdaterCheck, AnInstallerUnder25000BytesOrAnHtmlPageIsRejectedAndErased)
{
    offer(http.address("/bytes/24999"));
    updater->cmdDownload_Click();
    EXPECT_FALSE(QFile::exists(installer()));
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Error - Downloaded file is incomplete. Please retry");
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(readBytes("log.txt").contains(", Trying to download " + http.address("/bytes/24999").toUtf8()));

    serve("missing.exe", "<HTML><HEAD><TITLE>Not Found</TITLE></HEAD><BODY>No such file</BODY></HTML>");
    offer(url("missing.exe"));
    updater->cmdDownload_Click();
    EXPECT_FALSE(QFile::exists(installer()));
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Error - File not found on server.");
    EXPECT_TRUE(dialogs->shown.empty());

    offer(http.address("/bytes/25000"));
    updater->cmdDownload_Click();
    EXPECT_EQ(readBytes("ZelvoUpd.exe"), peerPattern(25000));
    EXPECT_EQ(messages(), QStringList({"File saved to " + installer()}));
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(UpdaterCheck, DownloadAndInstallWithYesHandsTheInstallerOverAndClosesTheWindow)
{
    offer(http.address("/bytes/30000"));
    updater->chkDisableAutoUpdate->setChecked(false);
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    updater->cmdDownloadInstall_Click();

    EXPECT_EQ(readBytes("ZelvoUpd.exe"), peerPattern(30000));
    ASSERT_EQ(messages(), QStringList({"The update has been downloaded. Do you want to install it now?"}));
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(events, QStringList({"InstallFile", "FormClosed"}));
    EXPECT_FALSE(updater->isVisible());
    EXPECT_FALSE(store().sGet("DisableAutoUpdateCheck", true).toBool());
}

TEST_F(UpdaterCheck, DownloadAndInstallWithNoOnlySaysWhereTheFileIs)
{
    offer(http.address("/bytes/30000"));
    updater->cmdDownloadInstall_Click();
    EXPECT_EQ(messages(), QStringList({"The update has been downloaded. Do you want to install it now?",
                                       "File saved to " + installer()}));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(QFile::exists(installer()));
}

TEST_F(UpdaterCheck, DownloadOnlyChecksSilentlyFirstWhenNoAddressIsKnown)
{
    serve("current.txt", "2.1.3\n");
    EXPECT_FALSE(check(false, "current.txt", "1.0.0"));
    ASSERT_TRUE(updater->downloadAddress().isEmpty());

    serve("current.txt", "9.9.9\n" + http.address("/bytes/26000").toUtf8() + "\n");
    updater->cmdDownload_Click();
    EXPECT_EQ(messages(), QStringList({"An update is available. Would you like to view the details now?",
                                       "File saved to " + installer()}));
    EXPECT_EQ(QFileInfo(installer()).size(), 26000);
}

TEST_F(UpdaterCheck, VersionNotesAreShownUnlessTheServerSaysNotFound)
{
    serve("current.txt", "2.1.3\nhttps://h/setup.exe\n");
    serve("notes.txt", "Fixes the 404 shown on some pages\nFaster start");
    check(false, "current.txt", "2.1.3");
    EXPECT_TRUE(updater->txtDetails->isHidden());
    updater->cmdShowDetail_Click();
    EXPECT_FALSE(updater->txtDetails->isHidden());
    EXPECT_EQ(updater->txtDetails->toPlainText(), "Fixes the 404 shown on some pages\nFaster start");

    // A file from a Windows server: one line break, not a stray character.
    serve("notes.txt", "Fixes the 404 shown on some pages\r\nFaster start");
    updater->cmdShowDetail_Click();
    EXPECT_EQ(updater->txtDetails->toPlainText(), "Fixes the 404 shown on some pages\nFaster start");
    EXPECT_EQ(updater->txtDetails->blockCount(), 2);

    check(false, "current.txt", "2.1.3", "absent.txt");
    updater->cmdShowDetail_Click();
    EXPECT_EQ(updater->txtDetails->toPlainText(),
              "Unable to read data from server. Please check your internet settings and try again.");
}

TEST_F(UpdaterCheck, ExitAndEscapeStoreTheCheckBoxAndCloseTheWindow)
{
    offer(http.address("/bytes/30000"));
    updater->chkDisableAutoUpdate->setChecked(false);
    updater->cmdExit_Click();
    EXPECT_FALSE(updater->isVisible());
    EXPECT_FALSE(store().sGet("DisableAutoUpdateCheck", true).toBool());

    offer(http.address("/bytes/30000"));
    EXPECT_FALSE(updater->chkDisableAutoUpdate->isChecked()) << "read back at the next load";
    updater->chkDisableAutoUpdate->setChecked(true);
    updater->reject();
    EXPECT_FALSE(updater->isVisible());
    EXPECT_TRUE(store().sGet("DisableAutoUpdateCheck", false).toBool());
    EXPECT_EQ(events, QStringList({"FormClosed"}));
}

TEST_F(UpdaterCheck, AnInstallerNamedByAnHttpsServerMustComeOverHttpsToo)
{
    // The information file came over https (the check itself fails here: nothing listens there).
    updater->CheckForUpdate(true, "https://127.0.0.1:1/versions/ZELV_current.txt",
                            "https://127.0.0.1:1/versions/ZELV_details.txt", "ZelvoUpd.exe", "1.0.0");
    statuses.clear();
    updater->DownloadAndInstall(http.address("/bytes/25000"));
    EXPECT_FALSE(QFile::exists(installer()));
    EXPECT_EQ(statuses.value(statuses.size() - 1), "Error - Download failed.");
    EXPECT_FALSE(readBytes("requests.log").contains("/bytes/25000")) << "nothing was fetched";
}

// An installed copy is updated the way it was installed: it offers the maker's download page,
// and no installer is fetched, whichever way one is asked for.
TEST_F(UpdaterCheck, AnInstalledCopyOffersTheDownloadPageInsteadOfAnInstaller)
{
    facts->data = dir.filePath("home-data");
    ASSERT_TRUE(QDir().mkpath(facts->data));
    updater = std::make_unique<fSHAREDUpdater>();
    QObject::connect(updater.get(), &fSHAREDUpdater::InstallFile, [this] { events << "InstallFile"; });
    serve("setup999.exe", QByteArray(30000, 'x'));
    offer(url("setup@@@.exe"));
    EXPECT_EQ(updater->lblUpdate->text(), "Version 9.9.9 is available!");
    EXPECT_TRUE(updater->cmdDownloadPage->isVisibleTo(updater.get()));
    EXPECT_FALSE(updater->cmdDownload->isVisibleTo(updater.get()));
    EXPECT_FALSE(updater->cmdDownloadInstall->isVisibleTo(updater.get()));

    updater->cmdDownloadPage->click();
    updater->cmdDownloadInstall_Click();
    updater->DownloadAndInstall(url("setup999.exe"));
    EXPECT_EQ(shell->opened, QStringList(2, MakerAddresses::webSite()));
    EXPECT_FALSE(Peer::readAll(path("requests.log")).contains("setup999"));
    EXPECT_FALSE(QFile::exists(QDir(facts->data).filePath("ZelvoUpd.exe")));
    EXPECT_TRUE(events.isEmpty());
}
