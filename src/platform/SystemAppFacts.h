#pragma once
#include "platform/AppFacts.h"

class SystemAppFacts : public AppFacts {
public:
    SystemAppFacts();
    QString programFolder() const override;
    QString dataFolder() const override;
    QString assetFolder() const override;
    QString exeName() const override;
    int versionMajor() const override;
    int versionMinor() const override;
    int versionRevision() const override;
    QString currentFolder() const override;
    QString tempFolder() const override;
    OsVersion osVersion() const override;
    const LocaleFacts& locale() const override;

    static LocaleFacts factsOf(const class QLocale& locale);

    struct Folders {
        QString data;
        QString assets;
    };
    // Installed means <prefix>/bin beside <prefix>/share/zelvo, or a program folder that cannot be
    // written; otherwise the program is portable and keeps everything in its own folder.
    static Folders foldersFor(const QString& programFolder, const QString& userDataFolder);

private:
    LocaleFacts m_locale;
};
