#pragma once
#include <QString>

// The maker's addresses, fixed at build time (CMake cache variables ZELVO_UPDATE_SERVER,
// ZELVO_WEB_SITE, ZELVO_BUG_DOMAIN). They live in their own translation unit so that a test
// build of the program can point at a local server without compiling anything else again.
namespace MakerAddresses {
QString updateServer();
QString webSite();
QString bugDomain();
// Formed at the moment of use: the local part carries the current year, so an old address
// can be retired once the spam finds it.
QString bugReportAddress();
}
