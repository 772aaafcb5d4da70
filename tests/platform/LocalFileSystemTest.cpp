#include "platform/LocalFileSystem.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// What the program writes (settings with the proxy password, log, error report) is made for its
// owner alone; a rewrite of the settings narrows a file that was readable by others.
TEST(LocalFileSystemTest, NewFilesAndRewrittenSettingsAreTheOwnersAlone)
{
    using Mode = FileSystem::WriteMode;
    constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    constexpr auto everyone = ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    struct Case {
        const char* name;
        Mode mode;
        bool existing;
        QFileDevice::Permissions expected;
    };
    const Case cases[] = {
        {"settings, first save", Mode::Atomic, false, ownerOnly},
        {"settings saved over a 644 file", Mode::Atomic, true, ownerOnly},
        {"fresh log", Mode::Truncate, false, ownerOnly},
        {"appended log", Mode::Append, false, ownerOnly},
        {"a file of the user's kept as it was", Mode::Truncate, true, everyone},
    };
    QTemporaryDir dir;
    LocalFileSystem files;
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        if (c.existing) {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.setPermissions(everyone);
        }
        auto handle = files.openForWrite(path, c.mode);
        handle->write("NAME,value\r\n");
        handle->close();
        const auto mode = QFile(path).permissions() & (everyone | QFileDevice::WriteGroup | QFileDevice::WriteOther);
        EXPECT_EQ(mode, c.expected) << c.name;
    }
}
