#pragma once
#include "platform/AppFacts.h"

// Program facts a test chooses; the program folder is usually a temporary folder.
class FakeAppFacts : public AppFacts {
public:
    FakeAppFacts() : localeFacts(LocaleFacts::unitedStates()) {}

    QString programFolder() const override { return folder; }
    QString dataFolder() const override { return data.isEmpty() ? folder : data; }
    QString assetFolder() const override { return assets.isEmpty() ? folder : assets; }
    QString exeName() const override { return exe; }
    int versionMajor() const override { return major; }
    int versionMinor() const override { return minor; }
    int versionRevision() const override { return revision; }
    QString currentFolder() const override { return current; }
    QString tempFolder() const override { return temp; }
    OsVersion osVersion() const override { return os; }
    const LocaleFacts& locale() const override { return localeFacts; }

    QString folder = "/tmp";
    QString data;    // empty: the program folder (portable)
    QString assets;  // empty: the program folder
    QString exe = "zelvo";
    int major = 1, minor = 0, revision = 46;
    QString current = "/home/user";
    QString temp = "/tmp";
    OsVersion os{true, 6, 1, 0, "Linux 6.1.0"};
    LocaleFacts localeFacts;
};
