#include "support/ErrorOf.h"
#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "platform/AppError.h"
#include "support/FileTable.h"
#include "support/cSharedFileSubs.h"
#include <QDir>

class LoggingTest : public ZelvoTest {
protected:
    cSharedLogging& log() { return cSharedLogging::instance(); }
    QString logPath() const { return path("log.txt"); }
    QStringList logLines() const
    {
        const QByteArray bytes = readBytes("log.txt");
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
        QStringList lines = QString::fromUtf8(bytes).split("\r\n");
        lines.removeLast();
        return lines;
    }
    QStringList header(const QString& time = "22:07:05") const
    {
        QStringList lines;
        for (const QString& text : {QString("Log file created "), QString("Operating System: Linux 6.1.0"),
                                    QString("App: zelvo"), QString("Version: 1.0.46"),
                                    QString("Curdir: /home/user"), "App path: " + facts->folder})
            lines << "1 " + time + ", " + text;
        return lines;
    }
};

TEST_F(LoggingTest, AnEventIsOneLineWithFileNumberAndTime)
{
    EXPECT_EQ(log().CurrentLogFilename(), "");
    log().LogEvent("Update check disabled", false);
    EXPECT_EQ(readBytes("log.txt"), "1 22:07:05, Update check disabled\r\n");
    EXPECT_EQ(QDir::cleanPath(log().CurrentLogFilename()), QDir::cleanPath(logPath()));
    clock->set(QDateTime(QDate(2026, 12, 8), QTime(3, 4, 9)));
    log().LogEvent("second", false);
    EXPECT_EQ(logLines(), QStringList({"1 22:07:05, Update check disabled", "1 03:04:09, second"}));
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(LoggingTest, TheTimeUsesTheLocalesSeparator)
{
    facts->localeFacts.timeSeparator = ".";
    log().LogEvent("x", false);
    EXPECT_EQ(logLines(), QStringList({"1 22.07.05, x"}));
}

TEST_F(LoggingTest, AFreshStartWritesTheHeaderFirst)
{
    log().LogEvent("Zelvo startup", true);
    EXPECT_EQ(logLines(), header() << "1 22:07:05, Zelvo startup");
}

TEST_F(LoggingTest, AFreshStartOverAnOldLogLeavesExactlySevenLines)
{
    writeBytes("log.txt", "1 10:00:00, old run\r\n1 10:00:01, more\r\n");
    files->readOnly << logPath();  // an old log marked read-only is made writable and erased
    log().LogEvent("Zelvo startup", true);
    const QStringList lines = logLines();
    EXPECT_EQ(lines.size(), 7);
    EXPECT_EQ(lines, header() << "1 22:07:05, Zelvo startup");
}

TEST_F(LoggingTest, LaterEventsAppendWithoutAHeader)
{
    log().LogEvent("Zelvo startup", true);
    clock->advanceMs(2000);
    log().LogEvent("Tray icon removal failed", false);
    EXPECT_EQ(logLines().size(), 8);
    EXPECT_EQ(logLines().last(), "1 22:07:07, Tray icon removal failed");
}

TEST_F(LoggingTest, TheFileNumberIsTheOneTheTableHandsOut)
{
    const int other = cSharedFileSubs::instance().CreateOutputFile(path("other.txt"));
    ASSERT_EQ(other, 1);
    log().LogEvent("while another file is open", false);
    for (int i = 0; i < 21; ++i)
        log().AddAction("entry", "", "");
    FileTable::instance().close(other);
    log().LogEvent("alone again", false);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines.first(), "2 22:07:05, while another file is open");
    EXPECT_EQ(lines[1], "2 22:07:05, entry");
    EXPECT_EQ(lines.last(), "1 22:07:05, alone again");
}

TEST_F(LoggingTest, TrailEntryTexts)
{
    EXPECT_EQ(log().CurrentAction(), "");
    log().AddAction("Overflow (6)", "StopTimer", "frmMain");
    EXPECT_EQ(log().CurrentAction(), "Overflow (6) in StopTimer of module frmMain");
    log().AddAction("Settings saved", "", "frmMain");
    EXPECT_EQ(log().CurrentAction(), "Settings saved of module frmMain");
    log().AddAction("Checking", "Timer3_Timer", "");
    EXPECT_EQ(log().CurrentAction(), "Checking in Timer3_Timer");
    log().AddAction("plain", "", "");
    EXPECT_EQ(log().CurrentAction(), "plain");
    log().AddDebug("Proxy username/password set", "", "");
    EXPECT_EQ(log().CurrentAction(), "DBG: Proxy username/password set");
    log().AddDebug("step", "Execute", "cSHAREDInternet");
    EXPECT_EQ(log().CurrentAction(), "DBG: step in Execute of module cSHAREDInternet");
    EXPECT_EQ(log().trailSize(), 6);
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(LoggingTest, TheTwentyFirstEntryWritesTheTrailWithItsRecordedTimes)
{
    log().LogEvent("Zelvo startup", true);
    QStringList expected = header() << "1 22:07:05, Zelvo startup";
    for (int i = 1; i <= 20; ++i) {
        clock->advanceMs(1000);
        log().AddAction("action " + QString::number(i), "", "");
        expected << QString("1 22:07:%1, action %2").arg(5 + i, 2, 10, QChar('0')).arg(i);
    }
    EXPECT_EQ(log().trailSize(), 20);
    EXPECT_EQ(logLines().size(), 7);
    clock->advanceMs(60000);
    log().AddAction("action 21", "", "");
    expected << "1 22:08:25, action 21";
    EXPECT_EQ(log().trailSize(), 0);
    EXPECT_EQ(log().CurrentAction(), "");
    EXPECT_EQ(logLines(), expected);
}

TEST_F(LoggingTest, LogErrorComesBeforeTheOlderTrail)
{
    log().AddAction("first", "", "");
    clock->advanceMs(1000);
    log().AddAction("second", "", "");
    clock->advanceMs(4000);
    log().LogError(AppError(AppError::FileNotFound), "LoadSettings", "cSHAREDSettings");
    EXPECT_EQ(logLines(), QStringList({"1 22:07:10, Error 53 (File not found) in LoadSettings of cSHAREDSettings",
                                       "1 22:07:05, first", "1 22:07:06, second"}));
    EXPECT_EQ(log().trailSize(), 0);
}

TEST_F(LoggingTest, NoLoggingLeavesFileAndTrailAlone)
{
    log().LogEvent("before", false);
    log().AddAction("held", "", "");
    const QByteArray before = readBytes("log.txt");
    log().setNOLOGGING(true);
    EXPECT_TRUE(log().NOLOGGING());
    log().LogEvent("Zelvo startup", true);
    log().LogToFile(logPath(), "direct", true);
    for (int i = 0; i < 25; ++i) {
        log().AddAction("ignored", "", "");
        log().AddDebug("ignored", "", "");
    }
    log().LogError(AppError(5), "R", "M");
    log().WriteActionsToLog();
    EXPECT_EQ(readBytes("log.txt"), before);
    EXPECT_EQ(log().trailSize(), 1);
    EXPECT_EQ(log().CurrentAction(), "held");
}

TEST_F(LoggingTest, NoLoggingBeforeTheFirstEventCreatesNothing)
{
    log().setNOLOGGING(true);
    log().LogEvent("Zelvo startup", true);
    EXPECT_FALSE(QFile::exists(logPath()));
    EXPECT_EQ(log().CurrentLogFilename(), "");
}

TEST_F(LoggingTest, OverrideLogFilename)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("logs"));
    log().OverrideLogFilename(path("logs/run.log"));
    EXPECT_EQ(log().CurrentLogFilename(), path("logs/run.log"));
    log().LogEvent("there", false);
    EXPECT_EQ(readBytes("logs/run.log"), "1 22:07:05, there\r\n");
    // A folder that does not exist: the same file name in the program's folder.
    log().OverrideLogFilename(path("missing/other.log"));
    EXPECT_EQ(QDir::cleanPath(log().CurrentLogFilename()), QDir::cleanPath(path("other.log")));
    log().OverrideLogFilename("Q:\\Nowhere\\win.log");
    EXPECT_EQ(QDir::cleanPath(log().CurrentLogFilename()), QDir::cleanPath(path("win.log")));
    log().LogEvent("here", false);
    EXPECT_EQ(readBytes("win.log"), "1 22:07:05, here\r\n");
}

TEST_F(LoggingTest, AnUnwritableLogFolderNeverThrowsOutOfTheTrail)
{
    facts->folder = path("missing");
    for (int i = 1; i <= 25; ++i)
        EXPECT_NO_THROW(log().AddAction("action " + QString::number(i), "", ""));
    EXPECT_NO_THROW(log().WriteActionsToLog());
    EXPECT_GT(log().trailSize(), 25);
    // The immediate event has no handler of its own: its caller hears of the failure.
    EXPECT_THROW(log().LogEvent("Zelvo startup", false), AppError);
    EXPECT_EQ(FileTable::instance().openCount(), 0);
    // Once the folder can be written the whole trail arrives, oldest first.
    ASSERT_TRUE(QDir(dir.path()).mkdir("missing"));
    log().AddAction("action 26", "", "");
    EXPECT_EQ(log().trailSize(), 0);
    const QStringList lines = QString::fromUtf8(readBytes("missing/log.txt")).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 26);
    EXPECT_EQ(lines.first(), "1 22:07:05, action 1");
    EXPECT_TRUE(lines.contains("1 22:07:05, Path not found (76) in CreateOutputFile of module cFile"));
    EXPECT_EQ(lines.last(), "1 22:07:05, action 26");
}

TEST_F(LoggingTest, AFailedWriteOfTheTrailKeepsWhatWasNotWritten)
{
    files->writeError = AppError::DiskFull;
    files->writeFaultsLeft = 1;
    files->bytesBeforeFailure = 25;  // one line and a bit
    for (int i = 1; i <= 21; ++i)
        EXPECT_NO_THROW(log().AddAction("action " + QString::number(i), "", ""));
    EXPECT_EQ(log().trailSize(), 20);
    EXPECT_EQ(log().CurrentAction(), "action 21");
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(LoggingTest, AFailedEventGoesToTheCaller)
{
    files->writeError = AppError::DiskFull;
    EXPECT_EQ(errorOf([&] { log().LogEvent("Zelvo startup", true); }), AppError::DiskFull);
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(LoggingTest, AReadOnlyLogThatCannotBeChangedIsLeftAsItWas)
{
    writeBytes("log.txt", "1 10:00:00, old run\r\n");
    files->readOnly << logPath();
    files->stuckReadOnly << logPath();
    EXPECT_THROW(log().LogEvent("Zelvo startup", true), AppError);
    EXPECT_EQ(readBytes("log.txt"), "1 10:00:00, old run\r\n");
}

TEST_F(LoggingTest, DestroyingTheLogWritesOutTheTrail)
{
    log().AddAction("last words", "Form_Unload", "frmMain");
    cSharedLogging::resetInstance();
    EXPECT_EQ(logLines(), QStringList({"1 22:07:05, last words in Form_Unload of module frmMain"}));
}
