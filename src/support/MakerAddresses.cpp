#include "support/MakerAddresses.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

#ifndef ZELVO_UPDATE_SERVER
#define ZELVO_UPDATE_SERVER "https://www.zelvo.example"
#endif
#ifndef ZELVO_WEB_SITE
#define ZELVO_WEB_SITE "https://www.zelvo.example"
#endif
#ifndef ZELVO_BUG_DOMAIN
#define ZELVO_BUG_DOMAIN "zelvo.example"
#endif

namespace MakerAddresses {
QString updateServer() { return QStringLiteral(ZELVO_UPDATE_SERVER); }
QString webSite() { return QStringLiteral(ZELVO_WEB_SITE); }
QString bugDomain() { return QStringLiteral(ZELVO_BUG_DOMAIN); }

QString bugReportAddress()
{
    const int year = Platform::clock().now().date().year();
    return QStringLiteral("bugs") + QString::number(year).rightJustified(4, '0') + '@' + bugDomain();
}
}
