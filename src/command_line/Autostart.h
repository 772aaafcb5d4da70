#pragma once
#include <QString>

// What starts Zelvo at login, so countdowns come back after a reboot: the XDG autostart entry, on
// Windows the user's Run key.
namespace Autostart {
QString entryPath();
// Writes (on) or removes (off) the entry for the program at programPath; the failure, or empty.
QString set(bool on, const QString& programPath);
}
