#pragma once
#include "diagnostics/cSharedLogging.h"
#include "fakes/ErrorReportCatcher.h"
#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include <QDir>
#include <memory>

// A fresh, empty settings store in a temporary program folder; error report windows are answered.
class SettingsTestBase : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
        catcher = std::make_unique<ErrorReportCatcher>();
    }
    void TearDown() override
    {
        catcher.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }

    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }
    QString ini() const { return path("Zelvo.ini"); }

    // The action trail and log lines written so far.
    QString logText() const
    {
        cSharedLogging::instance().WriteActionsToLog();
        return QString::fromUtf8(readBytes("log.txt"));
    }

    // Error report windows whose text holds the message.
    int reportsWith(const QString& message) const
    {
        int count = 0;
        for (const QString& text : catcher->errors)
            count += text.contains(message) ? 1 : 0;
        return count;
    }

    std::unique_ptr<ErrorReportCatcher> catcher;
};
