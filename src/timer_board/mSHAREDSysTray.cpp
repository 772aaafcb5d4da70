#include "timer_board/mSHAREDSysTray.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/TrayHost.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include <QIcon>
#include <QLabel>

namespace {
const QString kModule = QStringLiteral("mSHAREDSysTray");

mSHAREDSysTray*& current()
{
    static mSHAREDSysTray* tray = nullptr;
    return tray;
}

QIcon iconOf(QLabel* picture)
{
    if (!picture)
        throw AppError(AppError::ObjectVariableNotSet);
    return QIcon(picture->pixmap());
}
}

mSHAREDSysTray& mSHAREDSysTray::instance()
{
    if (!current())
        current() = new mSHAREDSysTray;
    return *current();
}

void mSHAREDSysTray::resetInstance()
{
    delete current();
    current() = nullptr;
}

void mSHAREDSysTray::showprogramintray(QLabel* picture, const QString& tooltip)
{
    Guard g{"showprogramintray", kModule};
    g([&] {
        if (Platform::tray().add(iconOf(picture), tooltip.left(kTipLength)))
            m_iconShown = true;
    });
}

void mSHAREDSysTray::changetrayicon(QLabel* picture, const QString& tooltip)
{
    if (!m_iconShown) {
        showprogramintray(picture, tooltip);
        return;
    }
    Guard g{"changetrayicon", kModule};
    g([&] {
        if (Platform::tray().modify(iconOf(picture), tooltip.left(kTipLength)))
            m_iconShown = true;
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void mSHAREDSysTray::RemoveTrayicon()
{
    if (!m_iconShown)
        return;
    Guard g{"RemoveTrayicon", kModule};
    g([&] {
        if (Platform::tray().remove())
            m_iconShown = false;
        else
            cSharedLogging::instance().LogEvent("Error removing tray icon", false);
    });
}

bool mSHAREDSysTray::CheckPrevInstance(const QString& title)
{
    try {
        InstanceLock& lock = Platform::instanceLock();
        if (!lock.earlierInstanceRunning())
            return false;
        lock.activateEarlier(title);
        return true;
    } catch (...) {
        return false;
    }
}
