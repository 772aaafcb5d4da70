#include "support/ErrorOf.h"
#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "platform/AppError.h"
#include "support/FileTable.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedGetSpecialFolder.h"
#include <QDir>
#include <QFile>

namespace {
QStringList linesOf(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
}

class FileSubsTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
        writeBytes("a.txt", "A");
    }
    void makeReadOnly(const QString& name)
    {
        QFile::setPermissions(path(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    }
    QString readOnlyLine(const QString& name) const
    {
        return "1 22:07:05, " + name + " is read only, can't change it to read write, can't update it";
    }
    cSharedFileSubs& subs = cSharedFileSubs::instance();
};

TEST_F(FileSubsTest, FileExistsOnlyForFiles)
{
    EXPECT_TRUE(subs.FileExists(path("a.txt")));
    EXPECT_FALSE(subs.FileExists(path("sub")));
    EXPECT_FALSE(subs.FileExists(path("missing.txt")));
    EXPECT_FALSE(subs.FileExists(QString()));
    EXPECT_TRUE(subs.FileExists(dir.path() + "\\a.txt"));
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(FileSubsTest, FileExistsWithWildcards)
{
    EXPECT_TRUE(subs.FileExists(path("*.txt")));
    EXPECT_TRUE(subs.FileExists(path("?.TXT")));
    EXPECT_FALSE(subs.FileExists(path("*.wav")));
    EXPECT_FALSE(subs.FileExists(path("su*")));  // only a directory matches
    writeBytes("sub.dat", "x");
    EXPECT_TRUE(subs.FileExists(path("sub.*")));
}

TEST_F(FileSubsTest, FolderExists)
{
    EXPECT_TRUE(subs.FolderExists("C:"));
    EXPECT_TRUE(subs.FolderExists("Q:\\"));  // a bare drive is not looked up
    EXPECT_TRUE(subs.FolderExists(dir.path()));
    EXPECT_TRUE(subs.FolderExists(path("sub") + "/"));
    EXPECT_TRUE(subs.FolderExists(path("sub") + "\\"));
    EXPECT_FALSE(subs.FolderExists(path("a.txt")));
    EXPECT_FALSE(subs.FolderExists(path("missing")));
    EXPECT_FALSE(subs.FolderExists(QString()));
}

TEST_F(FileSubsTest, ReadOnlyAndMakeReadWrite)
{
    EXPECT_FALSE(subs.isReadonly(path("a.txt")));
    makeReadOnly("a.txt");
    EXPECT_TRUE(subs.isReadonly(path("a.txt")));
    EXPECT_TRUE(subs.MakeReadWrite(path("a.txt")));
    EXPECT_FALSE(subs.isReadonly(path("a.txt")));
    EXPECT_FALSE(subs.isReadonly(path("missing.txt")));
    EXPECT_FALSE(subs.MakeReadWrite(path("missing.txt")));
    files->stuckReadOnly << path("a.txt");
    files->readOnly << path("a.txt");
    EXPECT_FALSE(subs.MakeReadWrite(path("a.txt")));
    EXPECT_TRUE(subs.isReadonly(path("a.txt")));
}

TEST_F(FileSubsTest, EraseFileClearsReadOnlyFirst)
{
    EXPECT_TRUE(subs.EraseFile(path("a.txt")));
    EXPECT_FALSE(QFile::exists(path("a.txt")));
    EXPECT_FALSE(subs.EraseFile(path("a.txt")));
    writeBytes("b.txt", "B");
    makeReadOnly("b.txt");
    EXPECT_TRUE(subs.EraseFile(path("b.txt")));
    EXPECT_FALSE(QFile::exists(path("b.txt")));
    EXPECT_FALSE(subs.EraseFile(path("sub")));
    EXPECT_TRUE(QDir(path("sub")).exists());
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(FileSubsTest, EraseFileLeavesAFileThatStaysReadOnly)
{
    files->readOnly << path("a.txt");
    files->stuckReadOnly << path("a.txt");
    EXPECT_FALSE(subs.EraseFile(path("a.txt")));
    EXPECT_TRUE(QFile::exists(path("a.txt")));
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(),
              "Path/File access error (75) erasing " + path("a.txt") + " in EraseFile of module cFile");
}

TEST_F(FileSubsTest, CreateOutputFileTruncatesAndNumbersTheFile)
{
    const int number = subs.CreateOutputFile(path("a.txt"));
    EXPECT_EQ(number, 1);
    FileTable::instance().close(number);
    EXPECT_EQ(readBytes("a.txt"), "");
    EXPECT_EQ(subs.OpenOutputFile(path("new.txt")), 1);
    FileTable::instance().close(1);
    EXPECT_TRUE(QFile::exists(path("new.txt")));
}

TEST_F(FileSubsTest, CreateOutputFileMakesAReadOnlyFileWritable)
{
    makeReadOnly("a.txt");
    const int number = subs.CreateOutputFile(path("a.txt"));
    ASSERT_EQ(number, 1);
    FileTable::instance().write(number, "B");
    FileTable::instance().close(number);
    EXPECT_EQ(readBytes("a.txt"), "B");
    EXPECT_FALSE(subs.isReadonly(path("a.txt")));
}

TEST_F(FileSubsTest, CreateOutputFileRefusesAFileStuckReadOnly)
{
    files->readOnly << path("a.txt");
    files->stuckReadOnly << path("a.txt");
    EXPECT_EQ(subs.CreateOutputFile(path("a.txt")), -1);
    EXPECT_EQ(subs.OpenAppendFile(path("a.txt")), -1);
    EXPECT_EQ(readBytes("a.txt"), "A");
    EXPECT_EQ(FileTable::instance().openCount(), 0);
    // Told through the log file at once, not through the trail.
    EXPECT_EQ(linesOf(readBytes("log.txt")), QStringList({readOnlyLine(path("a.txt")), readOnlyLine(path("a.txt"))}));
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(FileSubsTest, AReadOnlyFileIsNeverWrittenBehindTheRoutinesBack)
{
    // Even for root, who may write any file, as the read-only attribute works on Windows.
    makeReadOnly("a.txt");
    EXPECT_EQ(errorOf([&] { FileTable::instance().open(path("a.txt"), FileSystem::WriteMode::Append); }),
              AppError::PathFileAccess);
    EXPECT_EQ(readBytes("a.txt"), "A");
}

TEST_F(FileSubsTest, AFailedOpenIsLoggedAndGivesMinusOne)
{
    files->openError = AppError::PathNotFound;
    EXPECT_EQ(subs.CreateOutputFile(path("b.txt")), -1);
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "Path not found (76) in CreateOutputFile of module cFile");
    EXPECT_EQ(subs.OpenAppendFile(path("a.txt")), -1);
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "Path not found (76) in OpenAppendFile of module cFile");
    EXPECT_EQ(subs.CreateOutputFile(path("nofolder/b.txt")), -1);
}

TEST_F(FileSubsTest, TextFilesRoundTrip)
{
    EXPECT_TRUE(subs.WriteTextFile(path("t.txt"), QString::fromUtf8("héllo")));
    EXPECT_EQ(readBytes("t.txt"), "h\xc3\xa9llo\r\n");
    subs.AppendToTextFile(path("t.txt"), "second");
    subs.AppendToTextFile(path("fresh.txt"), "one");
    EXPECT_EQ(readBytes("fresh.txt"), "one\r\n");
    QString text = "stale";
    EXPECT_TRUE(subs.LoadTextFile(path("t.txt"), text));
    EXPECT_EQ(text, QString::fromUtf8("héllo\r\nsecond\r\n"));
    EXPECT_TRUE(subs.ReadTextFile(path("fresh.txt"), text));
    EXPECT_EQ(text, "one\r\n");
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(FileSubsTest, LoadTextFileReadsAWindowsFile)
{
    writeBytes("old.ini", "NAME,Caf\xe9 \x80 5\r\n");
    QString text;
    EXPECT_TRUE(subs.LoadTextFile(path("old.ini"), text));
    EXPECT_EQ(text, QString::fromUtf8("NAME,Café € 5\r\n"));
}

TEST_F(FileSubsTest, LoadTextFileOfAMissingFileIsEmptyAndFalse)
{
    QString text = "stale";
    EXPECT_FALSE(subs.LoadTextFile(path("missing.txt"), text));
    EXPECT_TRUE(text.isEmpty());
    text = "stale";
    EXPECT_FALSE(subs.LoadTextFile(path("sub"), text));
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(FileSubsTest, WriteTextFileTellsWhenNothingWasWritten)
{
    EXPECT_FALSE(subs.WriteTextFile(path("nofolder/t.txt"), "x"));
    files->writeError = AppError::DiskFull;
    EXPECT_FALSE(subs.WriteTextFile(path("t.txt"), "a text too long for the disk"));
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "Disk full (61) in WriteTextFile of module cFile");
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(FileSubsTest, RunFileQuotesTheNameForTheShell)
{
    EXPECT_EQ(subs.RunFile("C:\\My Files\\alarm note.txt", "C:\\My Files"), 42);
    EXPECT_EQ(shell->opened, QStringList({"\"C:\\My Files\\alarm note.txt\""}));
    EXPECT_EQ(shell->folders, QStringList({"C:\\My Files"}));
    shell->result = 2;
    EXPECT_EQ(subs.RunFile("https://example.com/", QString()), 2);
    EXPECT_EQ(shell->opened.last(), "\"https://example.com/\"");
    EXPECT_EQ(shell->folders.last(), QString());
}

TEST_F(FileSubsTest, PathRoutinesReadBothSeparators)
{
    EXPECT_EQ(subs.DriveOnly("C:\\Zelvo\\x.txt"), "C");
    EXPECT_EQ(subs.DriveOnly("\\\\server\\share\\x"), "\\\\server\\share\\x");
    EXPECT_EQ(subs.DriveOnly(""), "");
    EXPECT_EQ(subs.DriveOnly("//server/share/x"), "//server/share/x");
#ifndef Q_OS_WIN
    // No drive letter: the mount that holds the file, which a full disk message can name.
    EXPECT_EQ(subs.DriveOnly("/Zelvo.ini"), "/");
    EXPECT_EQ(subs.DriveOnly("/proc/self/status"), "/proc");
#endif
    EXPECT_EQ(subs.AddSlashIfMissing(""), "");
    EXPECT_EQ(subs.AddSlashIfMissing("C:\\Zelvo\\"), "C:\\Zelvo\\");
    EXPECT_EQ(subs.AddSlashIfMissing("/opt/zelvo/"), "/opt/zelvo/");
    EXPECT_EQ(subs.AddSlashIfMissing("/opt/zelvo"), "/opt/zelvo" + QString(cSharedFileSubs::separator()));
    EXPECT_EQ(subs.RemoveSlashFromEnd("C:\\Zelvo\\\\"), "C:\\Zelvo\\");
    EXPECT_EQ(subs.RemoveSlashFromEnd("/opt/zelvo/"), "/opt/zelvo");
    EXPECT_EQ(subs.RemoveSlashFromEnd("/opt/zelvo"), "/opt/zelvo");
    EXPECT_EQ(subs.RemoveSlashFromEnd(""), "");
    EXPECT_EQ(subs.ExtractPath("C:\\dir/sub\\f.txt"), "C:\\dir/sub\\");
    EXPECT_EQ(subs.ExtractPath("/opt/zelvo/log.txt"), "/opt/zelvo/");
    EXPECT_EQ(subs.ExtractPath("log.txt"), "");
    EXPECT_EQ(subs.PathOnly("C:/dir\\f.txt"), "C:/dir\\");
    EXPECT_EQ(subs.PathOnly("f.txt"), "." + QString(cSharedFileSubs::separator()));
    EXPECT_EQ(subs.FileOnly("C:/dir\\f.txt"), "f.txt");
    EXPECT_EQ(subs.FileOnly("/opt/zelvo/log.txt"), "log.txt");
    EXPECT_EQ(subs.FileOnly("log.txt"), "log.txt");
    EXPECT_EQ(subs.FileOnly("dir/"), "");
}

TEST_F(FileSubsTest, FillFilesWithAnExtensionList)
{
#ifdef Q_OS_WIN
    const char* const dotted = "e";  // Windows drops a name's trailing dot
#else
    const char* const dotted = "e.";
#endif
    for (const char* name : {"README", "B.TXT", "c.wav", "d.txt.bak", dotted})
        writeBytes(name, "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir("f.txt"));
    QStringList found{"kept"};
    subs.FillFiles(dir.path(), "txt", found);
    found.sort(Qt::CaseInsensitive);
    EXPECT_EQ(found, QStringList({"a.txt", "B.TXT", "kept"}));
    found.clear();
    subs.FillFiles(dir.path() + "/", "TXT;wav", found);
    found.sort(Qt::CaseInsensitive);
    EXPECT_EQ(found, QStringList({"a.txt", "B.TXT", "c.wav"}));
    found.clear();
    subs.FillFiles(dir.path(), "", found);
    found.sort(Qt::CaseInsensitive);
    EXPECT_EQ(found, QStringList({"a.txt", "B.TXT", "c.wav", "d.txt.bak", dotted, "README"}));
}

TEST_F(FileSubsTest, SystemTempFolderEndsInASeparator)
{
    const QString temp = QDir::toNativeSeparators("/var/tmp");
    facts->temp = temp;
    EXPECT_EQ(cSharedGetSpecialFolder::instance().SystemTempFolder(), temp + QDir::separator());
    facts->temp = temp + "  " + QChar(0) + "junk";
    EXPECT_EQ(cSharedGetSpecialFolder::instance().SystemTempFolder(), temp + QDir::separator());
}
