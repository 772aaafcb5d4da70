#include "platform/LocalFileSystem.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// What the program writes (settings with the proxy password, log, error report) is made for its
// owner alone; a rewrite of the settings narrows a file that was readable by others.
TEST(LocalFileSystemTest, NewFilesAndRewrittenSettingsAreTheOwnersAlone)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows keeps who may read a file in its folder's access list, not in mode bits";
#endif
    using Mode = FileSystem::WriteMode;
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    constexpr auto everyone = ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const std::tuple<const char*, Mode, bool, QFileDevice::Permissions> cases[] = {
        {"settings, first save", Mode::Atomic, false, ownerOnly},
        {"settings saved over a 644 file", Mode::Atomic, true, ownerOnly},
        {"fresh log", Mode::Truncate, false, ownerOnly},
        {"appended log", Mode::Append, false, ownerOnly},
        {"a file of the user's kept as it was", Mode::Truncate, true, everyone},
    };
    QTemporaryDir dir;
    for (const auto& [name, mode, existing, expected] : cases) {
        QFile file(dir.filePath(name));
        if (existing) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.setPermissions(everyone));
        }
        file.close();
        LocalFileSystem().openForWrite(file.fileName(), mode)->close();
        EXPECT_EQ(file.permissions() & (everyone | QFileDevice::WriteGroup | QFileDevice::WriteOther), expected) << name;
    }
}
