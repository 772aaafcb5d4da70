#pragma once
#include "platform/LocaleFacts.h"
#include <QString>

// The operating system's version record, as the original version query reported it.
struct OsVersion {
    bool ok = false;
    int major = 0;
    int minor = 0;
    int platformId = 0;  // 1 = 9x family, 2 = NT family, anything else: another system
    QString ownName;     // the system's own name and release when it is not Windows, e.g. "Linux 6.1.0"
};

// Facts about the running program and the machine it runs on.
class AppFacts {
public:
    virtual ~AppFacts() = default;
    virtual QString programFolder() const = 0;  // no trailing separator
    // Where the settings, the log and a downloaded installer are kept: the program folder when the
    // program is portable, the per-user data folder when it is installed system-wide.
    virtual QString dataFolder() const = 0;
    // Where the read-only assets are found: beside the program, or the installed share folder.
    virtual QString assetFolder() const = 0;
    virtual QString exeName() const = 0;        // without folder and extension
    virtual int versionMajor() const = 0;
    virtual int versionMinor() const = 0;
    virtual int versionRevision() const = 0;
    virtual QString currentFolder() const = 0;
    virtual QString tempFolder() const = 0;     // no trailing separator
    virtual OsVersion osVersion() const = 0;
    virtual const LocaleFacts& locale() const = 0;
};
