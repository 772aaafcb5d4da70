#pragma once
#include <QString>

// The XDG autostart entry that starts Zelvo at login, so countdowns come back after a reboot.
namespace Autostart {
QString entryPath();
// Writes (on) or removes (off) the entry for the program at programPath; the failure, or empty.
QString set(bool on, const QString& programPath);
}
