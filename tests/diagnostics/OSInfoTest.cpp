#include "diagnostics/cSharedOSInfo.h"
#include "support/TestPrinters.h"
#include "fakes/ZelvoTest.h"
#include "platform/SystemAppFacts.h"

namespace {
QString nameOf(int platform, int major, int minor)
{
    return cSharedOSInfo::nameOf(OsVersion{true, major, minor, platform, QString()});
}
}

TEST(cSharedOSInfo, NamesTheWindowsVersions)
{
    EXPECT_EQ(nameOf(2, 3, 51), "WinNT");
    EXPECT_EQ(nameOf(2, 4, 0), "WinNT");
    EXPECT_EQ(nameOf(2, 5, 0), "Win2K");
    EXPECT_EQ(nameOf(2, 5, 1), "WinXP");
    EXPECT_EQ(nameOf(2, 5, 2), "XP64/Svr2003");
    EXPECT_EQ(nameOf(2, 5, 3), "WINNT5+");
    EXPECT_EQ(nameOf(2, 6, 0), "Vista/Svr2008");
    EXPECT_EQ(nameOf(2, 6, 1), "WINNT6+");
    EXPECT_EQ(nameOf(2, 6, 3), "WINNT6+");
    EXPECT_EQ(nameOf(2, 10, 0), "WINNT7+");
    EXPECT_EQ(nameOf(1, 4, 0), "Win95");
    EXPECT_EQ(nameOf(1, 4, 10), "Win98");
    EXPECT_EQ(nameOf(1, 4, 90), "WinME");
    EXPECT_EQ(nameOf(1, 4, 3), "WIN32");
    EXPECT_EQ(nameOf(3, 6, 1), "");
}

TEST(cSharedOSInfo, AFailedQueryHasNoName)
{
    EXPECT_EQ(cSharedOSInfo::nameOf(OsVersion{false, 5, 1, 2, QString()}), "");
    EXPECT_EQ(cSharedOSInfo::nameOf(OsVersion{false, 6, 1, 0, "Linux 6.1.0"}), "");
}

TEST(cSharedOSInfo, AnotherSystemGivesItsOwnName)
{
    EXPECT_EQ(cSharedOSInfo::nameOf(OsVersion{true, 6, 1, 0, "Linux 6.1.0"}), "Linux 6.1.0");
    // Its version numbers never pass for Windows.
    EXPECT_EQ(cSharedOSInfo::nameOf(OsVersion{true, 5, 1, 0, "Linux 5.1.0"}), "Linux 5.1.0");
}

class OSInfoTest : public ZelvoTest {};

TEST_F(OSInfoTest, AsksThePlatformEachTime)
{
    const cSharedOSInfo info;
    EXPECT_EQ(info.fOSName(), "Linux 6.1.0");
    EXPECT_EQ(info.GetWinPlatform(), 0);
    EXPECT_FALSE(info.IsWindowsNT());
    EXPECT_FALSE(info.IsWindows95());
    facts->os = OsVersion{true, 5, 1, 2, QString()};
    EXPECT_EQ(info.fOSName(), "WinXP");
    EXPECT_EQ(info.GetWinPlatform(), 2);
    EXPECT_TRUE(info.IsWindowsNT());
    EXPECT_FALSE(info.IsWindows95());
    facts->os = OsVersion{true, 4, 10, 1, QString()};
    EXPECT_EQ(info.fOSName(), "Win98");
    EXPECT_TRUE(info.IsWindows95());
    EXPECT_FALSE(info.IsWindowsNT());
    facts->os = OsVersion{false, 5, 1, 2, QString()};
    EXPECT_EQ(info.GetWinPlatform(), 0);
    EXPECT_EQ(info.fOSName(), "");
}

TEST(SystemAppFacts, ThisMachineNamesItsKernel)
{
    const OsVersion v = SystemAppFacts().osVersion();
    EXPECT_TRUE(v.ok);
#ifdef Q_OS_LINUX
    EXPECT_EQ(v.platformId, 0);
    EXPECT_TRUE(v.ownName.startsWith("Linux ")) << v.ownName.toStdString();
    EXPECT_FALSE(v.ownName.contains('-'));
    EXPECT_EQ(v.ownName.section(' ', 1).section('.', 0, 0).toInt(), v.major);
#endif
}
