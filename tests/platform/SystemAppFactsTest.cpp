#include "platform/SystemAppFacts.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {
void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}
}

TEST(SystemAppFactsFolders, APortableCopyKeepsEverythingInItsOwnFolder)
{
    QTemporaryDir dir;
    touch(dir.filePath("alarm.wav"));
    const auto folders = SystemAppFacts::foldersFor(dir.path(), "/home/u/.local/share/Zelvo");
    EXPECT_EQ(folders.data, QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(folders.assets, QDir::toNativeSeparators(dir.path()));
    touch(dir.filePath("Uninstall.exe"));
    EXPECT_EQ(SystemAppFacts::foldersFor(dir.path(), "/home/u/.local/share/Zelvo").data, "/home/u/.local/share/Zelvo")
        << "where the installer left its uninstaller, the copy is installed";
}

TEST(SystemAppFactsFolders, AnInstalledCopyWritesToTheUserFolderAndReadsTheShareFolder)
{
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("bin");
    QDir(prefix.path()).mkpath("share/zelvo");
    touch(prefix.filePath("share/zelvo/alarm.wav"));
    const auto folders = SystemAppFacts::foldersFor(prefix.filePath("bin"), "/home/u/.local/share/Zelvo");
    EXPECT_EQ(folders.data, "/home/u/.local/share/Zelvo");
    EXPECT_EQ(folders.assets, QDir::toNativeSeparators(prefix.filePath("share/zelvo")));
}

TEST(SystemAppFactsFolders, AProgramFolderThatCannotBeWrittenSendsUserFilesElsewhere)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a folder's read-only mark does not stop writing into it on Windows";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "root can write any folder, so a read-only program folder cannot be made here";
#endif
    QTemporaryDir dir;
    touch(dir.filePath("alarm.wav"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto folders = SystemAppFacts::foldersFor(dir.path(), "/home/u/.local/share/Zelvo");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(folders.data, "/home/u/.local/share/Zelvo");
    EXPECT_EQ(folders.assets, QDir::toNativeSeparators(dir.path()));
}
