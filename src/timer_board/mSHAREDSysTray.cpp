#include "timer_board/mSHAREDSysTray.h"
#include "platform/CommandMessage.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/TrayHost.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include <QIcon>
#include <QLabel>
#include <QPointer>

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
    m_tooltip = tooltip;
    m_picture = picture;
    Guard g{"showprogramintray", kModule};
    g([&] {
        if (Platform::tray().add(iconOf(picture), tooltip.left(kTipLength)))
            m_iconShown = true;
    });
    g([&] { Platform::tray().setLost([] { instance().areaLost(); }); });
}

void mSHAREDSysTray::areaLost()
{
    if (!m_iconShown)
        return;
    m_iconShown = false;
    cSharedLogging::instance().LogEvent(
        "The notification area went away: the window is minimised instead of hidden until one comes back", false);
    if (m_whenLost)
        m_whenLost();
    awaitArea();
}

void mSHAREDSysTray::changetrayicon(QLabel* picture, const QString& tooltip)
{
    if (!m_iconShown) {
        showprogramintray(picture, tooltip);
        return;
    }
    m_tooltip = tooltip;
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

void mSHAREDSysTray::watchForArea(QLabel* picture)
{
    if (m_iconShown)
        return;
    m_picture = picture;
    cSharedLogging::instance().LogEvent("No notification area at start: watching for one", false);
    awaitArea();
}

void mSHAREDSysTray::awaitArea()
{
    Platform::tray().watch([] {
        mSHAREDSysTray& tray = instance();
        if (!tray.m_picture || tray.m_iconShown)
            return;
        tray.showprogramintray(tray.m_picture, tray.m_tooltip);
        if (tray.m_iconShown)
            cSharedLogging::instance().LogEvent("A notification area appeared: the icon is shown", false);
    });
}

bool mSHAREDSysTray::CheckPrevInstance(const QString& title)
{
    try {
        InstanceLock& lock = Platform::instanceLock();
        if (!lock.earlierInstanceRunning())
            return false;
        // A plain request: the running copy shows its window, titled as asked.
        Q_UNUSED(title);
        lock.ask(CommandMessage::encode(CommandMessage::Request{}), 1000);
        return true;
    } catch (...) {
        return false;
    }
}
