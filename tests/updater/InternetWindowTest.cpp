#include "diagnostics/cSharedLogging.h"
#include "updater/InternetWindowFixture.h"
#include "updater/cSharedEncrypt.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using InternetWindow = InternetWindowTest;

namespace {
// States 1 to 8 of a response, then its completion.
void respondInParts(FakeInternetControl& inet, const QByteArray& body)
{
    inet.body = body;
    inet.read = 0;
    for (int state = 1; state <= 8; ++state)
        inet.raise(state);
    inet.raise(InternetControl::ResponseCompleted);
}
}

TEST_F(InternetWindow, WindowCarriesItsTitleWidgetsAndIdleTimer)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Internet");
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    ASSERT_TRUE(window->findChild<QGroupBox*>("Frame1"));
    EXPECT_TRUE(window->findChild<QLabel*>("lblFile"));
    EXPECT_TRUE(window->findChild<QLabel*>("lblProgress"));
    auto* stop = window->findChild<QPushButton*>("cmdStop");
    ASSERT_TRUE(stop);
    EXPECT_EQ(stop->text(), "Stop");
    EXPECT_EQ(window->Timer1->interval(), 1000);
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(InternetWindow, EveryStateShowsItsTextAndTheFirstFourReportStatusUnlessSuppressed)
{
    open();
    const struct {
        int state;
        const char* label;
    } plain[] = {{1, "Resolving Host"}, {2, "Host Resolved"}, {3, "Connecting"},   {4, "Connected"},
                 {5, "Requesting"},     {6, "Request Sent"},  {7, "Receiving Response"},
                 {9, "Disconnecting"},  {10, "Disconnected"}, {13, "Other response"}};
    for (const auto& s : plain) {
        inet->raise(s.state);
        EXPECT_EQ(window->lblProgress->text(), s.label) << s.state;
    }
    EXPECT_EQ(events->all, (QStringList{"Status Resolving host", "Status Resolved host", "Status Connecting",
                                        "Status Connected", "Receiving"}));

    events->all.clear();
    window->setSuppressAllButErrors(true);
    for (int state = 1; state <= 7; ++state)
        inet->raise(state);
    EXPECT_EQ(events->all, QStringList{"Receiving"});
}

TEST_F(InternetWindow, TextFetchKeepsEveryChunkEvenOneOfASingleByte)
{
    open();
    const QByteArray body = QByteArray(1024, 'x') + "!";
    QTimer::singleShot(0, [&] { respondInParts(*inet, body); });
    EXPECT_EQ(window->OpenURL("  http://server/ZELV_current.txt  ", true), QString::fromLatin1(body));
    EXPECT_EQ(inet->executed, QStringList{"http://server/ZELV_current.txt | GET"});
    EXPECT_EQ(inet->chunkSizes, (QList<int>{1024, 1024, 1024}));
    EXPECT_TRUE(window->done());
    EXPECT_FALSE(window->Timer1->isActive());

    // Without status: nothing for the first states and no progress, and still the whole body.
    events->all.clear();
    QTimer::singleShot(0, [&] { respondInParts(*inet, "7"); });
    EXPECT_EQ(window->OpenURL("http://server/one", false), "7");
    EXPECT_TRUE(events->starting("Progress").isEmpty());
    EXPECT_FALSE(events->all.contains("Status Resolving host"));
    EXPECT_FALSE(events->all.contains("Status Downloading"));
}

TEST_F(InternetWindow, AnErrorIsReportedEvenWhenStatusIsSuppressed)
{
    open();
    inet->info = "Could not connect to server";
    QTimer::singleShot(0, [&] {
        inet->raise(1);
        inet->raise(11);
    });
    EXPECT_EQ(window->OpenURL("http://server/x", false), "");
    EXPECT_EQ(window->lblProgress->text(), "Error");
    EXPECT_EQ(events->all,
              (QStringList{"Status Could not connect to server", "DownloadError Could not connect to server"}));
    EXPECT_FALSE(window->Timer1->isActive());
}

TEST_F(InternetWindow, ProgressTellsKilobytesOfTheAnnouncedSize)
{
    open();
    inet->headers["content-length"] = "3000";
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    EXPECT_EQ(window->lblFile->text(), path("setup.exe"));
    inet->body = QByteArray(3000, 'b');
    for (int state = 1; state <= 8; ++state)
        inet->raise(state);
    EXPECT_EQ(window->lblProgress->text(), "File size: 3000");
    EXPECT_EQ(window->ExpectedFilesize(), 3000);

    inet->onChunk = [&] { clock->advanceMs(300); };  // the throttle lets every report through
    events->all.clear();
    inet->raise(12);
    EXPECT_EQ(events->all,
              (QStringList{"Status Downloading", "Status 1 kb of 3 kb (34%)", "Progress 34 1 kb of 3 kb (34%)",
                           "Status 2 kb of 3 kb (68%)", "Progress 68 2 kb of 3 kb (68%)", "Status 3 kb of 3 kb (102%)",
                           "Progress 102 3 kb of 3 kb (102%)", "Status 3 kb of 3 kb (102%)",
                           "Progress 102 3 kb of 3 kb (102%)", "Status Downloaded 3 kb (100%)", "DownloadFinished"}));
    EXPECT_EQ(readBytes("setup.exe"), QByteArray(3000, 'b'));

    // Without the size lookup the header is not read: the size stays unknown.
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), false);
    events->all.clear();
    respondInParts(*inet, QByteArray(3000, 'b'));
    EXPECT_EQ(window->ExpectedFilesize(), -1);
    EXPECT_EQ(window->lblProgress->text(), "Response Completed");
    EXPECT_EQ(events->starting("Progress").value(0), "Progress 100 Downloaded 1kb");
}

TEST_F(InternetWindow, WithoutALengthTheSizeIsMinusOneAndEveryChunkCountsAsAWholeKilobyte)
{
    open();
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    inet->onChunk = [&] { clock->advanceMs(300); };
    events->all.clear();
    inet->body = QByteArray(1500, 'c');
    for (int state = 1; state <= 8; ++state)
        inet->raise(state);
    EXPECT_EQ(window->lblProgress->text(), "File size: -1");
    EXPECT_EQ(window->ExpectedFilesize(), -1);
    inet->raise(12);
    EXPECT_EQ(events->starting("Progress"),
              (QStringList{"Progress 100 Downloaded 1kb", "Progress 100 Downloaded 2kb", "Progress 100 Downloaded 2kb"}));
    EXPECT_EQ(events->all.mid(events->all.size() - 2),
              (QStringList{"Status Downloaded 2 kb (100%)", "DownloadFinished"}));
    EXPECT_EQ(readBytes("setup.exe").size(), 1500);
}

TEST_F(InternetWindow, ProgressIsPassedOnAtMostOnceAQuarterSecond)
{
    open();
    inet->headers["content-length"] = "10240";
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    inet->onChunk = [&] { clock->advanceMs(100); };
    respondInParts(*inet, QByteArray(10 * 1024, 'd'));
    // Eleven reads 100 ms apart: the reports of the 1st, 4th, 7th and 10th pass.
    EXPECT_EQ(events->starting("Progress"),
              (QStringList{"Progress 10 1 kb of 10 kb (10%)", "Progress 40 4 kb of 10 kb (40%)",
                           "Progress 70 7 kb of 10 kb (70%)", "Progress 100 10 kb of 10 kb (100%)"}));

    // Either suppress flag keeps progress back altogether.
    for (const bool dlAndErrors : {true, false}) {
        window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
        window->setSuppressAllButDLAndErrors(dlAndErrors);
        window->setSuppressAllButErrors(!dlAndErrors);
        events->all.clear();
        respondInParts(*inet, QByteArray(10 * 1024, 'd'));
        EXPECT_TRUE(events->starting("Progress").isEmpty());
        EXPECT_EQ(events->all.last(), "DownloadFinished");
    }
}

TEST_F(InternetWindow, SixtyOneSecondsWithoutProgressTimeTheTransferOut)
{
    open();
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    EXPECT_TRUE(window->Timer1->isActive());
    for (int second = 0; second < 30; ++second)
        window->Timer1_Timer();
    inet->raise(5);  // a sign of life starts the count again
    for (int second = 0; second < 60; ++second)
        window->Timer1_Timer();
    EXPECT_TRUE(events->starting("DownloadError").isEmpty());
    window->Timer1_Timer();
    EXPECT_EQ(events->starting("DownloadError"), QStringList{"DownloadError Transfer timed out"});
    EXPECT_TRUE(window->done());
}

TEST_F(InternetWindow, StopAndCancelDownloadEndTheTransfer)
{
    open();
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    window->cmdStop->click();
    EXPECT_EQ(inet->cancels, 1);
    EXPECT_FALSE(window->Timer1->isActive());
    EXPECT_TRUE(window->done());
    EXPECT_EQ(events->all, (QStringList{"Progress 0 Download cancelled", "DownloadCancelled"}));

    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    writeBytes("setup.exe", "partial");
    events->all.clear();
    window->CancelDownload();
    EXPECT_EQ(inet->cancels, 2);
    EXPECT_FALSE(QFile::exists(path("setup.exe")));
    EXPECT_EQ(events->all, QStringList{"DownloadError Download cancelled"});
}

TEST_F(InternetWindow, DownloadUsesTheDefaultSettingsAMinuteTimeOutAndAFreshFile)
{
    open();
    inet->accessType = 2;
    inet->timeout = 5;
    writeBytes("setup.exe", "old");
    window->DownloadFile("  http://server/setup.exe ", path("setup.exe"), true);
    EXPECT_EQ(inet->accessType, 0);
    EXPECT_EQ(inet->timeout, 60);
    EXPECT_FALSE(QFile::exists(path("setup.exe")));
    EXPECT_EQ(inet->executed, QStringList{"http://server/setup.exe | GET"});

    // An empty body still leaves an (empty) file.
    respondInParts(*inet, QByteArray());
    EXPECT_TRUE(QFile::exists(path("setup.exe")));
    EXPECT_EQ(events->all.last(), "DownloadFinished");
}

TEST_F(InternetWindow, FtpAddressesBecomeFolderFileAndClose)
{
    open();
    const QString target = path("setup.exe");
    window->DownloadFile("ftp://files.example:2121/pub/zelvo\\setup.exe", target, false);
    EXPECT_EQ(inet->executed, (QStringList{"FTP://files.example:2121 | CD \\pub\\zelvo\\",
                                           "FTP://files.example:2121 | GET setup.exe " + target,
                                           "FTP://files.example:2121 | CLOSE"}));
    EXPECT_TRUE(events->all.isEmpty());  // finished only when the transfer is

    // The control wrote the file itself; the completion keeps it as it is.
    writeBytes("setup.exe", "from ftp");
    respondInParts(*inet, QByteArray());
    EXPECT_EQ(readBytes("setup.exe"), "from ftp");
    EXPECT_EQ(events->all.last(), "DownloadFinished");

    inet->executed.clear();
    window->DownloadFile("FTP.example.com/setup.exe", target, false);
    EXPECT_EQ(inet->executed.value(0), "FTP://FTP.example.com | CD \\");
    EXPECT_EQ(inet->executed.value(1), "FTP://FTP.example.com | GET setup.exe " + target);

    inet->executed.clear();
    events->all.clear();
    window->DownloadFile("ftp:///setup.exe", target, false);
    EXPECT_TRUE(inet->executed.isEmpty());
    EXPECT_EQ(events->all, QStringList{"DownloadError No address specified"});
}

TEST_F(InternetWindow, ControlErrorsInTheStateHandlerAreAnswered)
{
    open();
    // A completion without a response state asks again; the control refuses.
    inet->executeError = 35764;
    window->DownloadFile("http://server/a", path("a"), true);
    inet->executed.clear();
    inet->raise(12);
    EXPECT_EQ(inet->executed, QStringList{"http://server/a | GET"});
    EXPECT_EQ(inet->cancels, 1);
    EXPECT_EQ(events->all.last(), "DownloadError Download failed. Please try again.");
    EXPECT_TRUE(inet->chunkSizes.isEmpty());

    inet->executeError = 35761;
    inet->raise(12);
    EXPECT_EQ(events->all.last(), "DownloadError Download timed out. Please try again.");

    // Any other failure is logged and the handler carries on.
    inet->executeError = 5;
    events->all.clear();
    inet->body = "abc";
    inet->read = 0;
    inet->raise(12);
    EXPECT_EQ(events->all.last(), "DownloadFinished");
    EXPECT_EQ(readBytes("a"), "abc");
}

TEST_F(InternetWindow, AFileThatCannotBeWrittenIsNoFinishedDownload)
{
    open();
    files->writeError = 61;  // the disk fills up
    files->bytesBeforeFailure = 100;
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    respondInParts(*inet, QByteArray(3000, 'e'));
    EXPECT_FALSE(events->all.contains("DownloadFinished"));
    EXPECT_EQ(events->all.last(), "DownloadError Disk full");
}

TEST_F(InternetWindow, ApplyProxyTakesTheStoredSettings)
{
    open();
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    window->ApplyProxy();  // nothing stored: direct
    EXPECT_EQ(inet->accessType, 1);
    EXPECT_EQ(inet->proxy, "");

    settings.sSet("ProxyType", Value(std::int32_t(2)));
    settings.sSet("ProxyServer", Value("proxy.example"));
    settings.sSet("ProxyPort", Value("8080"));
    settings.sSet("ProxyUser", Value("ann"));
    settings.sSet("ProxyPwd", Value(cSharedEncrypt().Encrypt("se cret")));
    window->ApplyProxy();
    EXPECT_EQ(inet->accessType, 2);
    EXPECT_EQ(inet->proxy, "proxy.example:8080");
    EXPECT_EQ(inet->user, "ann");
    EXPECT_EQ(inet->password, "se cret");
    EXPECT_EQ(window->ProxyUser(), "ann");
    EXPECT_EQ(window->ProxyPassword(), "se cret");

    // A password stored before scrambling reads as it stands.
    settings.sSet("ProxyPwd", Value("plain"));
    EXPECT_EQ(window->ProxyPassword(), "plain");

    settings.sSet("ProxyPort", Value(""));
    window->ApplyProxy();
    EXPECT_EQ(inet->proxy, "");

    // The platform's own settings keep whatever proxy was set, without credentials.
    inet->proxy = "kept:1";
    settings.sSet("ProxyType", Value(std::int32_t(0)));
    window->ApplyProxy();
    EXPECT_EQ(inet->accessType, 0);
    EXPECT_EQ(inet->proxy, "kept:1");
    EXPECT_EQ(inet->user, "");
    EXPECT_EQ(inet->password, "");
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().contains("Proxy set to: 0 kept:1"))
        << qPrintable(cSharedLogging::instance().CurrentAction());
}

TEST_F(InternetWindow, WithoutATransferControlNothingIsFetchedAndNoInternetIsRaised)
{
    Platform::setInternetControlFactory([]() -> std::unique_ptr<InternetControl> {
        throw AppError(AppError::ComponentMissing);
    });
    open();
    EXPECT_FALSE(window->noControl());
    window->ApplyProxy();
    EXPECT_TRUE(window->noControl());
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().contains("(339)"));

    EXPECT_EQ(window->OpenURL("http://server/x", true), "");
    EXPECT_EQ(events->all, QStringList{"NoInternet"});

    writeBytes("setup.exe", "old");
    events->all.clear();
    window->DownloadFile("http://server/setup.exe", path("setup.exe"), true);
    EXPECT_EQ(events->all, (QStringList{"DownloadFinished", "NoInternet"}));
    EXPECT_FALSE(QFile::exists(path("setup.exe")));
    EXPECT_FALSE(window->Connected());
}
