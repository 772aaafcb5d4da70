#pragma once
#include "platform/Clock.h"
#include "platform/Platform.h"
#include <QString>

// The maker's addresses, fixed at build time (CMake cache variables, so tests can point a build
// at a local server). Every default is https.
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
inline constexpr char kUpdateServer[] = ZELVO_UPDATE_SERVER;
inline constexpr char kWebSite[] = ZELVO_WEB_SITE;
inline constexpr char kBugDomain[] = ZELVO_BUG_DOMAIN;

inline QString updateServer() { return QString::fromUtf8(kUpdateServer); }
inline QString webSite() { return QString::fromUtf8(kWebSite); }

// Formed at the moment of use: the local part carries the current year, so an old address
// can be retired once the spam finds it.
inline QString bugReportAddress()
{
    const int year = Platform::clock().now().date().year();
    return QStringLiteral("bugs") + QString::number(year).rightJustified(4, '0') + '@'
           + QString::fromUtf8(kBugDomain);
}
}
