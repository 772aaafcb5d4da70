#include "SettingsTestBase.h"
#include "support/FileTable.h"
#include "support/cSharedFileSubs.h"

namespace {
const QByteArray kOldFile("OLD,kept\r\nSECOND,line\r\n");
const QByteArray kNewFile("TIMERNAME0,Tea\r\nCUSTOMSECONDS,900\r\n");
const QString kReadOnlyText("Your settings file is read-only and I can't change it. Save cancelled.");
}

class SettingsSaveFailureTest : public SettingsTestBase {
protected:
    void SetUp() override
    {
        SettingsTestBase::SetUp();
        writeBytes("Zelvo.ini", kOldFile);
        store().sSet("TimerName0", "Tea");
        store().sSet("CustomSeconds", "900");
    }

    // Only the settings file (and the log) may be in the folder: no temporary file left behind.
    QStringList strayFiles() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("Zelvo.ini");
        names.removeAll("log.txt");
        names.removeAll("FullLog.txt");
        return names;
    }
    QString diskFullText() const
    {
        return "You've run out of disk space on drive " + cSharedFileSubs::instance().DriveOnly(ini())
               + ":\rPlease clear some space and then click Retry, else click Cancel to abort.";
    }
};

TEST_F(SettingsSaveFailureTest, ReadOnlyFileThatCanBeMadeWritableIsSavedSilently)
{
    files->readOnly.insert(ini());
    EXPECT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), kNewFile);
    EXPECT_GE(files->makeWritableCalls, 1);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(catcher->errors.isEmpty());
}

TEST_F(SettingsSaveFailureTest, ReadOnlyFileThatStaysReadOnlyIsLeftAloneAndTheSaveReportsFalse)
{
    files->readOnly.insert(ini());
    files->stuckReadOnly.insert(ini());
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(catcher->errors.isEmpty());
    EXPECT_TRUE(logText().contains("is read only, can't change it to read write, can't update it"));
}

TEST_F(SettingsSaveFailureTest, AccessErrorIsRetriedOnceAfterMakingTheFileWritable)
{
    files->writeError = 75;
    files->writeFaultsLeft = 1;
    EXPECT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), kNewFile);
    EXPECT_EQ(files->makeWritableCalls, 1);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(catcher->errors.isEmpty());
}

TEST_F(SettingsSaveFailureTest, AccessErrorOnAFileThatCannotBeMadeWritableCancelsTheSave)
{
    files->writeError = 75;
    files->stuckReadOnly.insert(ini());
    EXPECT_FALSE(store().SaveSettings(ini()));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kReadOnlyText);
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_TRUE(catcher->errors.isEmpty());
}

TEST_F(SettingsSaveFailureTest, AccessErrorAgainOnTheRepeatIsReportedOnce)
{
    files->writeError = 52;
    files->bytesBeforeFailure = 4;
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_EQ(files->makeWritableCalls, 1);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(reportsWith("52 - Bad file name or number in SaveSettings"), 1);
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
}

TEST_F(SettingsSaveFailureTest, DiskFullAsksAndRetryWritesTheFile)
{
    files->writeError = 61;
    files->writeFaultsLeft = 1;
    files->bytesBeforeFailure = 10;
    dialogs->answers.push_back(Dialogs::Answer::Retry);
    EXPECT_TRUE(store().SaveSettings(ini()));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, diskFullText());
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::RetryCancel);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_EQ(readBytes("Zelvo.ini"), kNewFile);
    EXPECT_TRUE(catcher->errors.isEmpty());
}

TEST_F(SettingsSaveFailureTest, DiskFullCancelKeepsTheOldFileWhole)
{
    files->writeError = 61;
    files->bytesBeforeFailure = 10;
    dialogs->answers.push_back(Dialogs::Answer::Cancel);
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(' ').toStdString();
    EXPECT_TRUE(catcher->errors.isEmpty());
}

TEST_F(SettingsSaveFailureTest, DiskFullAgainAfterRetryIsReportedOnceAndNothingIsWritten)
{
    files->writeError = 61;
    files->writeFaultsLeft = 2;
    files->bytesBeforeFailure = 10;
    dialogs->answers.push_back(Dialogs::Answer::Retry);
    dialogs->answers.push_back(Dialogs::Answer::Retry);
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(reportsWith("61 - Disk full in SaveSettings"), 1);
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(' ').toStdString();
    EXPECT_EQ(FileTable::instance().openCount(), 0);

    // The store goes on working: the next save, with space again, writes the file.
    EXPECT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), kNewFile);
}

TEST_F(SettingsSaveFailureTest, AnyOtherFailureIsShownAsAnErrorReport)
{
    files->writeError = 57;
    files->bytesBeforeFailure = 3;
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(files->makeWritableCalls, 0);
    EXPECT_EQ(reportsWith("57 - " + AppError::standardDescription(57) + " in SaveSettings"), 1);
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(' ').toStdString();
}

TEST_F(SettingsSaveFailureTest, FileThatCannotBeOpenedIsLeftAloneAndTheSaveReportsFalse)
{
    files->openError = 75;
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(readBytes("Zelvo.ini"), kOldFile);
    EXPECT_EQ(FileTable::instance().openCount(), 0);
}

TEST_F(SettingsSaveFailureTest, FailedFirstSaveLeavesNoFileBehind)
{
    QFile::remove(ini());
    files->writeError = 57;
    EXPECT_FALSE(store().SaveSettings(ini()));
    EXPECT_FALSE(QFile::exists(ini()));
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(' ').toStdString();
}
