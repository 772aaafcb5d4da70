#pragma once
#include "diagnostics/cSharedLogging.h"
#include "fakes/FakeAppFacts.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeInstanceLock.h"
#include "fakes/FakeNotifier.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeTrayHost.h"
#include "fakes/FaultyFileSystem.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include <QDir>
#include <QFile>
#include "support/TriggerQueue.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Every seam faked, the program folder a fresh temporary folder, the log object new.
class ZelvoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // In the system's own form, as the real facts give them.
        facts->folder = QDir::toNativeSeparators(dir.path());
        facts->temp = facts->folder;
        Platform::setClock(clock);
        Platform::setDialogs(dialogs);
        Platform::setShell(shell);
        Platform::setFacts(facts);
        Platform::setFileSystem(files);
        Platform::setSound(sound);
        Platform::setTray(tray);
        Platform::setNotifier(notifier);
        Platform::setInstanceLock(lock);
        cSharedLogging::resetInstance();
        TriggerQueue::instance().reopen();
    }
    void TearDown() override
    {
        cSharedLogging::instance().setNOLOGGING(true);
        cSharedLogging::resetInstance();
        Platform::reset();
    }

    QString path(const QString& name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    QByteArray readBytes(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QTemporaryDir dir;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<FakeAppFacts> facts = std::make_shared<FakeAppFacts>();
    std::shared_ptr<FaultyFileSystem> files = std::make_shared<FaultyFileSystem>();
    std::shared_ptr<FakeSound> sound = std::make_shared<FakeSound>();
    std::shared_ptr<FakeTrayHost> tray = std::make_shared<FakeTrayHost>();
    std::shared_ptr<FakeNotifier> notifier = std::make_shared<FakeNotifier>();
    std::shared_ptr<FakeInstanceLock> lock = std::make_shared<FakeInstanceLock>();
};

// The same with a fresh, empty settings store before and after each test.
class ZelvoSettingsTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
    }
    void TearDown() override
    {
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }
};
