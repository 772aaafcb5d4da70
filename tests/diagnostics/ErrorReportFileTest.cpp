#include "diagnostics/ErrorReportFixture.h"

namespace {
QByteArray preamble(const QString& address)
{
    const QByteArray dashes(75, '-');
    return dashes + "\r\n"
           + "If the 'submit report' button doesn't work on your system, open an email\r\n"
           + "to '" + address.toUtf8() + "' and paste the following text into it.\r\n"
           + "\r\n"
           + "Submitting a bug report helps improve the software.\r\n"
           + dashes + "\r\n"
           + "\r\n";
}
}

using ErrorReportFile = ErrorReportTest;

TEST_F(ErrorReportFile, ReportIsWrittenToTheTemporaryFolderAndOpened)
{
    useLog("1 22:07:05, Zelvo startup\r\n1 22:07:06, 50% & more\r\n");
    open("Cannot save Zelvo.ini\r\nDisk full").cmdViewReport_Click();

    EXPECT_EQ(readBytes("FullLog.txt"),
              preamble(bugAddress(2026))
                  + "Error Report: Zelvo 1.0.46, WinXP\r\n\r\n"
                    "Cannot save Zelvo.ini\r\nDisk full\r\n\r\n"
                    "1 22:07:05, Zelvo startup\r\n1 22:07:06, 50% & more\r\n"
                    "\r\n");
    ASSERT_EQ(shell->opened.size(), 1);
    EXPECT_EQ(shell->opened.first(), '"' + path("FullLog.txt") + '"');
    EXPECT_EQ(fSHAREDErrorRpt::reportFileName(), path("FullLog.txt"));
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(ErrorReportFile, CommentsFollowTheErrorOnceTheBoxWasTouched)
{
    useLog("log");
    open("Cannot save");
    form->cmdShowComments_Click();
    typeComments("After a restart\nit saved again");
    form->cmdViewReport_Click();

    EXPECT_EQ(readBytes("FullLog.txt"), preamble(bugAddress(2026))
                                            + "Error Report: Zelvo 1.0.46, WinXP\r\n\r\n"
                                              "Cannot save\r\nAfter a restart\r\nit saved again\r\n\r\nlog\r\n");
}

TEST_F(ErrorReportFile, MissingLogGivesNoLogFileInTheReport)
{
    useMissingLog();
    open("Cannot save").cmdViewReport_Click();
    EXPECT_TRUE(readBytes("FullLog.txt").endsWith("Cannot save\r\n\r\nNo log file\r\n"));
}

TEST_F(ErrorReportFile, SecondReportReplacesTheFirst)
{
    useLog("log");
    writeBytes("FullLog.txt", QByteArray(20000, 'z'));
    open("First failure").cmdViewReport_Click();
    clock->set(QDateTime(QDate(2027, 1, 2), QTime(9, 0, 0)));
    open("Second").cmdViewReport_Click();

    EXPECT_EQ(readBytes("FullLog.txt"),
              preamble(bugAddress(2027)) + "Error Report: Zelvo 1.0.46, WinXP\r\n\r\nSecond\r\n\r\nlog\r\n");
    EXPECT_EQ(shell->opened, QStringList({'"' + path("FullLog.txt") + '"', '"' + path("FullLog.txt") + '"'}));
}

TEST_F(ErrorReportFile, ReportThatCannotBeWrittenIsNotOpened)
{
    useLog("log");
    writeBytes("FullLog.txt", "an older report");
    files->openError = AppError::PermissionDenied;
    open("Cannot save").cmdViewReport_Click();

    EXPECT_EQ(readBytes("FullLog.txt"), "an older report");
    EXPECT_TRUE(shell->opened.isEmpty());
    EXPECT_TRUE(dialogs->shown.empty());
}
