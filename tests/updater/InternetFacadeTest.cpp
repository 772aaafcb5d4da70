#include "fakes/ZelvoTest.h"
#include "platform/SystemClock.h"
#include "settings/cSHAREDSettings.h"
#include "support/TestPrinters.h"
#include "updater/TransportPeers.h"
#include "updater/cSHAREDInternet.h"
#include "updater/fSHAREDInternet.h"
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
// The facade over the real transfer control, against peers on 127.0.0.1. The clock is real:
// the waiting loops sleep for real here.
class InternetFacade : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        Platform::setClock(std::make_shared<SystemClock>());
        cSHAREDSettings::resetInstance();
        ASSERT_TRUE(http.startPython("http_peer.py", {path("requests.log")}));
        internet = std::make_unique<cSHAREDInternet>();
        QObject::connect(internet.get(), &cSHAREDInternet::NoInternet, [this] { events << "NoInternet"; });
        QObject::connect(internet.get(), &cSHAREDInternet::DownloadCancelled, [this] { events << "DownloadCancelled"; });
        QObject::connect(internet.get(), &cSHAREDInternet::Status, [this](const QString& m) { events << "Status " + m; });
        QObject::connect(&internet->transferWindow(), &fSHAREDInternet::DownloadError,
                         [this](const QString& m) { events << "DownloadError " + m; });
    }
    void TearDown() override
    {
        internet.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }
    QString received() const { return Peer::readAll(path("requests.log")); }
    bool get(const QString& url, const QString& file)
    {
        return internet->GetFile(url, path(file), true, false, false, false);
    }

    Peer http;
    std::unique_ptr<cSHAREDInternet> internet;
    QStringList events;
};
}

TEST_F(InternetFacade, OpenUrlReturnsTheWholeResponseAsText)
{
    EXPECT_EQ(internet->OpenURL(http.address("/bytes/2500"), false), QString::fromLatin1(peerPattern(2500)));
    EXPECT_EQ(internet->OpenURL(http.address("/bytes/1"), false), "a");
    EXPECT_EQ(internet->OpenURL(http.address("/nolength/1025"), false), QString::fromLatin1(peerPattern(1025)));
    EXPECT_FALSE(internet->Connected());
}

// A server's or a captive portal's error page, however large, is neither update information nor
// an installer: the request fails, the log names the status, and no file is left.
TEST_F(InternetFacade, AnErrorStatusIsAFailureEvenAfterARedirect)
{
    const QString log = path("log.txt");
    for (const auto& [address, status] : {std::pair{"/errorpage/404/30000", "HTTP 404"},
                                          std::pair{"/errorpage/503/30000", "HTTP 503"},
                                          std::pair{"/redirect/errorpage/404/30000", "HTTP 404"}}) {
        EXPECT_EQ(internet->OpenURL(http.address(address), false), "") << address;
        EXPECT_FALSE(get(http.address(address), "ZelvoUpd.exe")) << address;
        EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe"))) << address;
        EXPECT_TRUE(Peer::readAll(log).contains(QString("Transfer failed: ") + status + " from " + http.address(address)))
            << address;
    }
}

// The inactivity count (made short here) restarts with every part of the body; a transfer given up
// in the middle is stopped and writes nothing when its body would have ended.
TEST_F(InternetFacade, ASlowSteadyBodyCompletesAndOneGivenUpWritesNothingLater)
{
    fSHAREDInternet& window = internet->transferWindow();
    window.Timer1->setInterval(100);
    window.setInactivityLimit(4);
    EXPECT_TRUE(get(http.address("/slow/30"), "ZelvoUpd.exe"));
    EXPECT_EQ(readBytes("ZelvoUpd.exe").size(), 30 * 1024);

    // A pause of 3 s is well over the half second allowed, even when the waits pump slowly.
    events.clear();
    EXPECT_FALSE(get(http.address("/slow/2/3000"), "ZelvoUpd.exe"));
    EXPECT_TRUE(events.contains("DownloadError Transfer timed out"));
    EXPECT_FALSE(internet->Connected());
    pumpUntil([] { return false; }, 4000);
    EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe")));
    window.Timer1->setInterval(1000);
    window.setInactivityLimit(fSHAREDInternet::kInactivityLimit);
}

TEST_F(InternetFacade, GetFileWritesTheBodyAndTellsTheAnnouncedSize)
{
    EXPECT_TRUE(get(http.address("/bytes/30000"), "ZelvoUpd.exe"));
    EXPECT_EQ(readBytes("ZelvoUpd.exe"), peerPattern(30000));
    EXPECT_EQ(internet->ExpectedFilesize(), 30000);
    EXPECT_EQ(events.last(), "Status Downloaded 30 kb (100%)");

    EXPECT_TRUE(get(http.address("/nolength/1500"), "ZelvoUpd.exe"));
    EXPECT_EQ(readBytes("ZelvoUpd.exe"), peerPattern(1500));
    EXPECT_EQ(internet->ExpectedFilesize(), -1);
    EXPECT_EQ(internet->transferWindow().lblProgress->text(), "Response Completed");
    EXPECT_EQ(events.last(), "Status Downloaded 2 kb (100%)");
}

TEST_F(InternetFacade, FailedStalledAndStoppedDownloadsLeaveNoFile)
{
    // Nobody listens.
    Peer closed;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closed.port = probe.serverPort();
    }
    writeBytes("ZelvoUpd.exe", "old");
    EXPECT_FALSE(get(closed.address("/bytes/10"), "ZelvoUpd.exe"));
    EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe")));

    // A server that stops sending: the inactivity count runs out (seconds made short here).
    fSHAREDInternet& window = internet->transferWindow();
    window.Timer1->setInterval(5);
    window.setInactivityLimit(2);
    events.clear();
    EXPECT_FALSE(get(http.address("/stallbody"), "ZelvoUpd.exe"));
    EXPECT_TRUE(events.contains("DownloadError Transfer timed out"));
    EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe")));
    internet->Cancel();
    window.Timer1->setInterval(1000);
    window.setInactivityLimit(fSHAREDInternet::kInactivityLimit);

    // "Stop" once the response has begun.
    events.clear();
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (window.lblProgress->text() == "Response Received" || window.lblProgress->text().startsWith("File size")) {
            stopper.stop();
            window.cmdStop->click();
        }
    });
    stopper.start(5);
    EXPECT_FALSE(get(http.address("/stallbody"), "ZelvoUpd.exe"));
    EXPECT_EQ(events.filter("DownloadCancelled").size(), 1);
    EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe")));
    EXPECT_FALSE(internet->Connected());
}

TEST_F(InternetFacade, GetFileWhileARequestRunsCancelsItAndDownloadsNothing)
{
    fSHAREDInternet& window = internet->transferWindow();
    window.DownloadFile(http.address("/stallbody"), path("first.bin"), true);
    ASSERT_TRUE(pumpUntil([&] { return received().contains("REQUEST /stallbody"); }));
    EXPECT_TRUE(internet->Connected());
    EXPECT_FALSE(get(http.address("/bytes/10"), "second.bin"));
    EXPECT_FALSE(internet->Connected());
    EXPECT_FALSE(QFile::exists(path("second.bin")));
    EXPECT_FALSE(received().contains("REQUEST /bytes/10"));
    // The next download is an ordinary one again.
    EXPECT_TRUE(get(http.address("/bytes/10"), "second.bin"));
}

TEST_F(InternetFacade, WithTheProgressWindowTheDownloadEndsItsModalDisplay)
{
    EXPECT_TRUE(internet->GetFile(http.address("/bytes/4000"), path("a.bin"), true, false, false, true));
    EXPECT_FALSE(internet->transferWindow().isVisible());
    EXPECT_EQ(readBytes("a.bin"), peerPattern(4000));
}

TEST_F(InternetFacade, FtpDownloadsFetchTheRemoteFile)
{
    QDir root(path("ftp"));
    ASSERT_TRUE(ftpFile(root, "pub/setup.bin", 5000));
    Peer ftp;
    ASSERT_TRUE(ftp.startPython("ftp_peer.py", {root.path()}));
    const QString server = QStringLiteral("ftp://127.0.0.1:%1").arg(ftp.port);
    EXPECT_TRUE(get(server + "/pub/setup.bin", "ZelvoUpd.exe"));
    EXPECT_EQ(readBytes("ZelvoUpd.exe"), peerPattern(5000));

    EXPECT_FALSE(get(server + "/pub/missing.bin", "ZelvoUpd.exe"));
    EXPECT_FALSE(QFile::exists(path("ZelvoUpd.exe")));
}

TEST_F(InternetFacade, ANamedProxyCarriesTextFetchesWhileDownloadsUseThePlatformSettings)
{
    Peer proxy;
    ASSERT_TRUE(proxy.startTinyproxy(dir.path(), "zuser", "zpass"));
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    settings.sSet("ProxyType", Value(std::int32_t(2)));
    settings.sSet("ProxyServer", Value("127.0.0.1"));
    settings.sSet("ProxyPort", Value(QString::number(proxy.port)));
    settings.sSet("ProxyUser", Value("zuser"));
    settings.sSet("ProxyPwd", Value("zpass"));
    internet->ApplyProxy();
    EXPECT_EQ(internet->OpenURL(http.address("/bytes/40"), false), QString::fromLatin1(peerPattern(40)));
    EXPECT_TRUE(Peer::readAll(proxy.logFile).contains("GET " + http.address("/bytes/40")));

    // A download sets the platform's own settings; no proxy variable is set here, so it goes direct.
    ASSERT_TRUE(qEnvironmentVariableIsEmpty("http_proxy"));
    EXPECT_TRUE(get(http.address("/bytes/41"), "a.bin"));
    EXPECT_FALSE(Peer::readAll(proxy.logFile).contains("GET " + http.address("/bytes/41")));

    // Wrong credentials: the proxy refuses, the text is its refusal and not the file.
    settings.sSet("ProxyPwd", Value("wrong"));
    internet->ApplyProxy();
    EXPECT_NE(internet->OpenURL(http.address("/bytes/42"), false), QString::fromLatin1(peerPattern(42)));
    EXPECT_EQ(internet->transferWindow().inetControl()->ResponseCode(), 401);
    EXPECT_FALSE(received().contains("REQUEST /bytes/42"));
}

TEST_F(InternetFacade, WithoutATransferControlEveryRequestFailsWithNoInternet)
{
    Platform::setInternetControlFactory([]() -> std::unique_ptr<InternetControl> {
        throw AppError(AppError::ComponentMissing);
    });
    internet = std::make_unique<cSHAREDInternet>();
    QObject::connect(internet.get(), &cSHAREDInternet::NoInternet, [this] { events << "NoInternet"; });
    internet->ApplyProxy();
    EXPECT_EQ(internet->OpenURL(http.address("/bytes/10"), false), "");
    EXPECT_FALSE(get(http.address("/bytes/10"), "a.bin"));
    EXPECT_EQ(events, (QStringList{"NoInternet", "NoInternet"}));
    EXPECT_FALSE(QFile::exists(path("a.bin")));
    EXPECT_TRUE(received().isEmpty());
}
