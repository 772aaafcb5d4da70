#include "diagnostics/cSharedHelp.h"
#include "platform/AppFacts.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedWWW.h"

cSharedHelp& cSharedHelp::instance()
{
    static cSharedHelp* help = new cSharedHelp;
    return *help;
}

void cSharedHelp::ShowHelp(QWidget* owner, const QString&)
{
    cSharedFileSubs& files = cSharedFileSubs::instance();
    const QString page = files.AddSlashIfMissing(Platform::facts().assetFolder()) + QStringLiteral("Help")
                         + cSharedFileSubs::separator() + QStringLiteral("Index.htm");
    if (files.FileExists(page))
        cSharedWWW::instance().WebSiteVisit(owner, page);
    else
        Platform::dialogs().message(QStringLiteral("Cannot find help file ") + page, Dialogs::Buttons::Ok,
                                    QStringLiteral("Zelvo"));
}
