#include "diagnostics/ErrorReportFixture.h"

using ErrorReportMail = ErrorReportTest;

TEST_F(ErrorReportMail, LinkCarriesAddressSubjectHeadingTextsAndEmptyAttachment)
{
    useLog("1 22:07:05, Zelvo startup\r\n1 22:07:06, Saved\r\n");
    open("Disk full saving Zelvo.ini").cmdEmail_Click();

    ASSERT_EQ(shell->opened.size(), 1);
    EXPECT_EQ(mailLink(), "mailto:" + bugAddress(2026)
                              + "?subject=Bug%20Report%20(Zelvo%20-%201.0.46)"
                                "&body=Error Report: Zelvo 1.0.46, WinXP (Please click Attach and add the file "
                                "log.txt)%0D%0A%0D%0ADisk full saving Zelvo.ini%0D%0A%0D%0A"
                                "1 22:07:05, Zelvo startup%0D%0A1 22:07:06, Saved%0D%0A"
                                "&attachment=\"\"");
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(ErrorReportMail, AddressAndSubjectFollowTheYearAndVersion)
{
    clock->set(QDateTime(QDate(2031, 1, 1), QTime(0, 0, 1)));
    facts->major = 2;
    facts->minor = 10;
    facts->revision = 3;
    useLog("x");
    open("e").cmdEmail_Click();

    EXPECT_TRUE(mailLink().startsWith("mailto:" + bugAddress(2031) + "?subject=Bug%20Report%20(Zelvo%20-%202.10.3)&"));
    EXPECT_EQ(MakerAddresses::bugReportAddress(), bugAddress(2031));
}

TEST_F(ErrorReportMail, ReservedCharactersAreEscapedPercentFirstAndBlanksKept)
{
    useLog("log 100% & more? #9");
    open("50% done? a&b #1 already %3F").cmdEmail_Click();

    const QString body = mailBody();
    EXPECT_TRUE(body.contains("%0D%0A%0D%0A50%25 done%3F a%26b %231 already %253F%0D%0A%0D%0A"));
    EXPECT_TRUE(body.endsWith("%0D%0A%0D%0Alog 100%25 %26 more%3F %239"));
}

TEST_F(ErrorReportMail, LineEndsBecomeOneEscapedPairAndBlankLinesStayTwo)
{
    useLog("L1\r\n\r\nL2\nL3");
    open("a\r\nb\nc").cmdEmail_Click();
    EXPECT_TRUE(mailBody().endsWith("%0D%0A%0D%0Aa%0D%0Ab%0D%0Ac%0D%0A%0D%0AL1%0D%0A%0D%0AL2%0D%0AL3"));

    shell->opened.clear();
    open("first\r\n\r\nsecond").cmdEmail_Click();
    EXPECT_TRUE(mailBody().contains("%0D%0Afirst%0D%0A%0D%0Asecond%0D%0A"));
}

TEST_F(ErrorReportMail, CommentsGoInOnlyOnceTheBoxWasTouched)
{
    useLog("log");
    open("Cannot save").cmdEmail_Click();
    EXPECT_FALSE(mailBody().contains("User: "));

    form->cmdShowComments_Click();
    typeComments("It broke\n");
    typeComments("twice");
    EXPECT_EQ(form->txtUserMessage->toPlainText(), "It broke\ntwice");
    form->cmdEmail_Click();
    EXPECT_TRUE(mailBody().contains(")%0D%0A%0D%0AUser: It broke%0D%0Atwice%0D%0ACannot save%0D%0A%0D%0Alog"));
}

TEST_F(ErrorReportMail, CommentsTypedAndDeletedStillCount)
{
    useLog("log");
    open("Cannot save");
    form->cmdShowComments_Click();
    typeComments("oops");
    pressBackspace(4);
    ASSERT_TRUE(form->txtUserMessage->toPlainText().isEmpty());
    EXPECT_TRUE(form->commentsEdited());

    form->cmdEmail_Click();
    EXPECT_TRUE(mailBody().contains(")%0D%0A%0D%0AUser: %0D%0ACannot save%0D%0A"));
}

TEST_F(ErrorReportMail, ClickingIntoTheCommentsSetsTheFlagAndCleaningClearsIt)
{
    useLog("log");
    open("Cannot save");
    EXPECT_FALSE(form->commentsEdited());
    clickComments();
    EXPECT_TRUE(form->commentsEdited());

    form->MakeClean();
    EXPECT_FALSE(form->commentsEdited());

    typeComments("x");
    ASSERT_TRUE(form->commentsEdited());
    form->FillReport("Another", QString());  // a new report starts clean
    EXPECT_FALSE(form->commentsEdited());
}

TEST_F(ErrorReportMail, AnyLogKeepsTheBodyWithinFourHundredCharacters)
{
    QByteArray log;
    for (int i = 0; log.size() < 6000; ++i)
        log += "1 22:07:" + QByteArray::number(i % 60).rightJustified(2, '0') + ", Timer " + QByteArray::number(i)
               + " saved 100% & ok? #" + QByteArray::number(i) + "\r\n";
    useLog(log);
    const QString prefix = bodyPrefix();

    const QString logStart = "%0D%0A%0D%0A1 22:07:00, Timer 0 saved 100%25 %26 ok%3F %230%0D%0A"
                             "1 22:07:01, Timer 1 saved 100%25 %26 ok%3F %231%0D%0A";
    // The cut sweeps across the escapes of the log's first line.
    for (int length = 250; length <= 300; ++length) {
        shell->opened.clear();
        const QString error(length, 'e');
        open(error).cmdEmail_Click();
        const QString body = mailBody();
        SCOPED_TRACE(length);
        EXPECT_GE(body.size(), 398);
        EXPECT_LE(body.size(), 400);
        EXPECT_TRUE((prefix + error + logStart).startsWith(body));
        // No escape is cut short at the end.
        EXPECT_FALSE(body.right(2).contains('%')) << qPrintable(body.right(6));
    }
}

TEST_F(ErrorReportMail, CutThatWouldSplitAnEscapeFallsBeforeIt)
{
    useLog(QByteArray(4000, 'L'));
    const QString prefix = bodyPrefix();
    ASSERT_LT(prefix.size(), 300);
    const qsizetype fill = 400 - prefix.size();

    struct Case {
        qsizetype escapeAt;  // where the "%25" starts in the body
        qsizetype expectedLength;
    };
    for (const Case c : {Case{397, 400}, Case{398, 398}, Case{399, 399}, Case{400, 400}}) {
        shell->opened.clear();
        const QString letters(c.escapeAt - prefix.size(), 'a');
        open(letters + "%" + QString(fill, 'b')).cmdEmail_Click();
        const QString body = mailBody();
        SCOPED_TRACE(c.escapeAt);
        EXPECT_EQ(body.size(), c.expectedLength);
        EXPECT_EQ(body.left(c.escapeAt), prefix + letters);
        if (c.escapeAt == 397)
            EXPECT_TRUE(body.endsWith("a%25"));
        else
            EXPECT_TRUE(body.endsWith('a'));
    }

    // A line end escape at the edge is kept whole or left out, never halved.
    shell->opened.clear();
    open(QString(398 - prefix.size(), 'a') + "\r\n" + QString(fill, 'b')).cmdEmail_Click();
    EXPECT_EQ(mailBody().size(), 398);
    EXPECT_TRUE(mailBody().endsWith('a'));
}

TEST_F(ErrorReportMail, CutNeverSplitsACharacterOutsideTheBmp)
{
    // Each emoji is two UTF-16 units; shifting the text by one unit puts either half at the edge.
    const QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
    useLog(QByteArray(10, 'L'));
    const QString prefix = bodyPrefix();
    for (const qsizetype shift : {0, 1}) {
        shell->opened.clear();
        QString error(shift, 'a');
        for (int i = 0; i < 200; ++i)
            error += emoji;
        open(error).cmdEmail_Click();
        const QString body = mailBody();
        SCOPED_TRACE(shift);
        ASSERT_GE(body.size(), 399);
        EXPECT_FALSE(body.back().isHighSurrogate());
        EXPECT_TRUE((prefix + error).startsWith(body));
        EXPECT_EQ(QString::fromUtf8(body.toUtf8()), body);  // whole characters only
    }
}

TEST_F(ErrorReportMail, MissingLogStillNamesTheFileToAttach)
{
    useMissingLog();
    open("Cannot save");
    EXPECT_EQ(form->txtLog->toPlainText(), "No log file");

    form->cmdEmail_Click();
    const QString body = mailBody();
    EXPECT_TRUE(body.contains("(Please click Attach and add the file log.txt)%0D%0A%0D%0A"));
    EXPECT_TRUE(body.endsWith("Cannot save%0D%0A%0D%0ANo log file"));
}

TEST_F(ErrorReportMail, NoMailProgramAnsweringChangesNothing)
{
    useLog("log");
    shell->result = 2;
    open("Cannot save").cmdEmail_Click();
    EXPECT_EQ(shell->opened.size(), 1);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(form->txtError->toPlainText(), "Cannot save");
}
