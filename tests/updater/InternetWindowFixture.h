#pragma once
#include "fakes/FakeInternetControl.h"
#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "support/TestPrinters.h"
#include "updater/fSHAREDInternet.h"
#include <QRegularExpression>
#include <QStringList>
#include <memory>

// Writes down every event of the transfer window, in order, as one text each.
class WindowEvents : public QObject {
public:
    explicit WindowEvents(fSHAREDInternet& w)
    {
        connect(&w, &fSHAREDInternet::Status, this, [this](const QString& m) { all << "Status " + m; });
        connect(&w, &fSHAREDInternet::Progress, this,
                [this](float p, const QString& m) { all << QStringLiteral("Progress %1 %2").arg(p).arg(m); });
        connect(&w, &fSHAREDInternet::DownloadFinished, this, [this] { all << "DownloadFinished"; });
        connect(&w, &fSHAREDInternet::DownloadCancelled, this, [this] { all << "DownloadCancelled"; });
        connect(&w, &fSHAREDInternet::DownloadError, this, [this](const QString& m) { all << "DownloadError " + m; });
        connect(&w, &fSHAREDInternet::Receiving, this, [this] { all << "Receiving"; });
        connect(&w, &fSHAREDInternet::NoInternet, this, [this] { all << "NoInternet"; });
    }
    QStringList starting(const QString& prefix) const { return all.filter(QRegularExpression("^" + prefix)); }
    QStringList all;
};

// The transfer window over a fake control the test drives.
class InternetWindowTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
        Platform::setInternetControlFactory([this]() -> std::unique_ptr<InternetControl> {
            auto control = std::make_unique<FakeInternetControl>();
            inet = control.get();
            return control;
        });
    }
    void TearDown() override
    {
        window.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }
    void open()
    {
        window = std::make_unique<fSHAREDInternet>();
        events = std::make_unique<WindowEvents>(*window);
    }

    FakeInternetControl* inet = nullptr;
    std::unique_ptr<fSHAREDInternet> window;
    std::unique_ptr<WindowEvents> events;
};
