#include "support/cSharedWWW.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "support/Guard.h"
#include "support/cSHAREDSubs.h"
#include <QDir>

cSharedWWW& cSharedWWW::instance()
{
    static cSharedWWW* www = new cSharedWWW;
    return *www;
}

int cSharedWWW::WebSiteVisit(QWidget*, const QString& address)
{
    int result = 0;
    Guard g{"WebSiteVisit", "cWWW"};
    g([&] { cSHAREDSubs::instance().BusyBGmouse(); });
    g([&] { result = Platform::shell().open(address, QDir::rootPath()); });
    g([&] { cSHAREDSubs::instance().NormalMouse(); });
    return result;
}
