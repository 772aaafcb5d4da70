#include "diagnostics/cSharedOSInfo.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"

QString cSharedOSInfo::nameOf(const OsVersion& v)
{
    if (!v.ok)
        return QString();
    if (v.platformId == 2) {
        if (v.major <= 4) return QStringLiteral("WinNT");
        if (v.major == 5) {
            if (v.minor == 0) return QStringLiteral("Win2K");
            if (v.minor == 1) return QStringLiteral("WinXP");
            if (v.minor == 2) return QStringLiteral("XP64/Svr2003");
            return QStringLiteral("WINNT5+");
        }
        if (v.major == 6)
            return v.minor == 0 ? QStringLiteral("Vista/Svr2008") : QStringLiteral("WINNT6+");
        return QStringLiteral("WINNT7+");
    }
    if (v.platformId == 1) {
        if (v.minor == 0) return QStringLiteral("Win95");
        if (v.minor == 10) return QStringLiteral("Win98");
        if (v.minor == 90) return QStringLiteral("WinME");
        return QStringLiteral("WIN32");
    }
    return v.ownName;
}

QString cSharedOSInfo::fOSName() const { return nameOf(Platform::facts().osVersion()); }

int cSharedOSInfo::GetWinPlatform() const
{
    const OsVersion v = Platform::facts().osVersion();
    return v.ok ? v.platformId : 0;
}

bool cSharedOSInfo::IsWindowsNT() const { return (GetWinPlatform() & 2) != 0; }
bool cSharedOSInfo::IsWindows95() const { return (GetWinPlatform() & 1) != 0; }
