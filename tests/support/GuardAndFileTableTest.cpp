#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "support/AnsiText.h"
#include "platform/AppError.h"
#include "support/FileTable.h"
#include "support/Guard.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedHTML.h"
#include <QDir>
#include <functional>
#include <stdexcept>

class GuardTest : public ZelvoTest {};

TEST_F(GuardTest, RecordsTheFailureWithRoutineAndModuleAndContinues)
{
    QStringList ran;
    Guard g{"StopTimer", "frmMain"};
    EXPECT_TRUE(g([&] { ran << "first"; }));
    EXPECT_EQ(g.lastError(), 0);
    EXPECT_FALSE(g([&] {
        ran << "second";
        throw AppError(AppError::Overflow);
        ran << "never";
    }));
    EXPECT_TRUE(g([&] { ran << "third"; }));
    EXPECT_EQ(ran, QStringList({"first", "second", "third"}));
    EXPECT_EQ(g.lastError(), AppError::Overflow);
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 1);
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "Overflow (6) in StopTimer of module frmMain");
}

TEST_F(GuardTest, OtherExceptionsAreRuntimeFailuresToo)
{
    Guard g{"Load", "cSHAREDSettings"};
    g([] { throw std::runtime_error("boom"); });
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "boom (5) in Load of module cSHAREDSettings");
    g([] { throw AppError(53, "File not found"); });
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "File not found (53) in Load of module cSHAREDSettings");
    g([] { throw 42; });
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(),
              "Invalid procedure call or argument (5) in Load of module cSHAREDSettings");
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 3);
}

TEST_F(GuardTest, NothingIsRecordedWhenLoggingIsOff)
{
    cSharedLogging::instance().setNOLOGGING(true);
    Guard g{"StopTimer", "frmMain"};
    EXPECT_FALSE(g([] { throw AppError(9); }));
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

class FileTableTest : public ZelvoTest {
protected:
    FileTable& table = FileTable::instance();
};

TEST_F(FileTableTest, HandsOutTheLowestFreeNumber)
{
    ASSERT_EQ(table.openCount(), 0);
    EXPECT_EQ(table.FreeFile(), 1);
    const int a = table.open(path("a.txt"), FileSystem::WriteMode::Truncate);
    const int b = table.open(path("b.txt"), FileSystem::WriteMode::Truncate);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    table.close(a);
    EXPECT_EQ(table.FreeFile(), 1);
    table.close(b);
    EXPECT_EQ(table.openCount(), 0);
}

TEST_F(FileTableTest, UnknownNumbersAreBadFileNumbers)
{
    for (const auto& statement : {std::function<void()>([&] { table.write(7, "x"); }),
                                  std::function<void()>([&] { table.close(7); })}) {
        try {
            statement();
            ADD_FAILURE() << "no failure";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), AppError::BadFileNameOrNumber);
        }
    }
}

TEST_F(FileTableTest, AnOpenThatFailsTakesNoNumber)
{
    files->openError = AppError::PathNotFound;
    EXPECT_THROW(table.open(path("a.txt"), FileSystem::WriteMode::Append), AppError);
    EXPECT_EQ(table.openCount(), 0);
}

TEST_F(FileTableTest, AtomicFileReplacesItsTargetOnlyWhenClosedWhole)
{
    writeBytes("Zelvo.ini", "OLD,1\r\n");
    const int number = cSharedFileSubs::instance().CreateAtomicOutputFile(path("Zelvo.ini"));
    ASSERT_GT(number, 0);
    table.write(number, "NEW,2\r\n");
    EXPECT_EQ(readBytes("Zelvo.ini"), "OLD,1\r\n");
    table.close(number);
    EXPECT_EQ(readBytes("Zelvo.ini"), "NEW,2\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Zelvo.ini"}));
}

TEST_F(FileTableTest, AFailedWriteKeepsTheOldFileWholeEvenWhenTheCallerCloses)
{
    writeBytes("Zelvo.ini", "OLD,1\r\n");
    files->writeError = AppError::DiskFull;
    files->bytesBeforeFailure = 3;
    const int number = cSharedFileSubs::instance().CreateAtomicOutputFile(path("Zelvo.ini"));
    ASSERT_GT(number, 0);
    // A guarded caller carries on after the failed write and closes the file.
    Guard g{"SaveSettings", "cSHAREDSettings"};
    EXPECT_FALSE(g([&] { table.write(number, "NEW,2\r\nMORE,3\r\n"); }));
    EXPECT_FALSE(g([&] { table.close(number); }));
    EXPECT_EQ(g.lastError(), AppError::DiskFull);
    EXPECT_EQ(readBytes("Zelvo.ini"), "OLD,1\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Zelvo.ini"}));
    EXPECT_EQ(table.openCount(), 0);
    // The next file under that number is not taken for the failed one.
    files->writeError = 0;
    const int again = cSharedFileSubs::instance().CreateAtomicOutputFile(path("Zelvo.ini"));
    table.write(again, "NEW,2\r\n");
    EXPECT_NO_THROW(table.close(again));
    EXPECT_EQ(readBytes("Zelvo.ini"), "NEW,2\r\n");
}

TEST_F(FileTableTest, DiscardLeavesTheTargetAsItWas)
{
    writeBytes("Zelvo.ini", "OLD,1\r\n");
    const int number = cSharedFileSubs::instance().CreateAtomicOutputFile(path("Zelvo.ini"));
    table.write(number, "NEW");
    table.discard(number);
    EXPECT_EQ(readBytes("Zelvo.ini"), "OLD,1\r\n");
    EXPECT_EQ(table.openCount(), 0);
}

TEST(AnsiText, ReadsUtf8AndTakesAnythingElseAsWindows1252)
{
    EXPECT_EQ(AnsiText::decode(QByteArray("Z\xc3\xbcrich \xe2\x82\xac")), QString::fromUtf8("Zürich €"));
    EXPECT_EQ(AnsiText::decode(QByteArray("Z\xfcrich \x80 \x93x\x94")), QString::fromUtf8("Zürich € “x”"));
    EXPECT_EQ(AnsiText::decode(QByteArray("plain")), "plain");
    EXPECT_EQ(AnsiText::encode(QString::fromUtf8("Zürich")), QByteArray("Z\xc3\xbcrich"));
    EXPECT_EQ(AnsiText::fromWindows1252(QByteArray("\x81\xa0")), QString(QChar(0x81)) + QChar(0xa0));
}

TEST(cSharedHTML, OneCharacterPerByte)
{
    const QString text = cSharedHTML::ByteArrayToString(QByteArray("A\xe9\x00z", 4));
    ASSERT_EQ(text.size(), 4);
    EXPECT_EQ(text[1], QChar(0xe9));
    EXPECT_EQ(text[2], QChar(0));
}
