#pragma once
#include <QString>

struct OsVersion;

// The operating system's name from its version record.
class cSharedOSInfo {
public:
    QString fOSName() const;
    int GetWinPlatform() const;
    bool IsWindowsNT() const;
    bool IsWindows95() const;

    // The table for Windows version records; other systems give their own name.
    static QString nameOf(const OsVersion& version);
};
