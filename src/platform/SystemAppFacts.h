#pragma once
#include "platform/AppFacts.h"

class SystemAppFacts : public AppFacts {
public:
    SystemAppFacts();
    QString programFolder() const override;
    QString exeName() const override;
    int versionMajor() const override;
    int versionMinor() const override;
    int versionRevision() const override;
    QString currentFolder() const override;
    QString tempFolder() const override;
    OsVersion osVersion() const override;
    const LocaleFacts& locale() const override;

    static LocaleFacts factsOf(const class QLocale& locale);

private:
    LocaleFacts m_locale;
};
