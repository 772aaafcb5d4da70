#include "support/cSHAREDSubs.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/cSHAREDDelay.h"
#include <QCursor>
#include <QGuiApplication>

namespace {
void setPointer(Qt::CursorShape shape)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (shape != Qt::ArrowCursor)
        QGuiApplication::setOverrideCursor(QCursor(shape));
}
}

cSHAREDSubs& cSHAREDSubs::instance()
{
    static cSHAREDSubs* subs = new cSHAREDSubs;
    return *subs;
}

QString cSHAREDSubs::AppVersion() const
{
    const AppFacts& facts = Platform::facts();
    return QString::number(facts.versionMajor()) + '.' + QString::number(facts.versionMinor()) + '.'
           + QString::number(facts.versionRevision());
}

void cSHAREDSubs::BusyMouse()
{
    setPointer(Qt::WaitCursor);
    cSHAREDDelay::instance().RegularDoEvents();
}

void cSHAREDSubs::BusyBGmouse()
{
    setPointer(Qt::BusyCursor);
    cSHAREDDelay::instance().RegularDoEvents();
}

void cSHAREDSubs::NormalMouse()
{
    setPointer(Qt::ArrowCursor);
    cSHAREDDelay::instance().RegularDoEvents();
}
