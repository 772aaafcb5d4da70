#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// Where a slot's countdown ends, as the settings file keeps it. "Timer<n>End" holds the local
// time in the locale's general form, readable by eye and by every earlier version;
// "Timer<n>EndISO" holds the same moment in ISO 8601 with the writer's offset from UTC, which
// is the same whatever locale reads it, tells apart the hour that comes twice in autumn and
// survives a change of time zone.
namespace StoredEnd {
// The moment (milliseconds since 1970 UTC), to the whole second, in local time in ISO 8601 with
// its offset from UTC ("Z" for none): the one form for the file and the command line.
QString isoForm(std::int64_t utcMs);
// Stores the moment (milliseconds since 1970 UTC), to the whole second, under both names.
void write(int slot, std::int64_t utcMs);
// The stored moment as milliseconds since 1970 UTC: the ISO form when it is a date-time with an
// offset, unless the general form names another time of day (then an earlier version rewrote
// only the general form, and the ISO form is left over from before); otherwise the general form
// read as local time. A malformed or left-over ISO form is logged. Nothing when neither can be read.
std::optional<std::int64_t> read(int slot);
// Why read gave nothing, with the stored texts, for the log.
QString unreadable(int slot);
}
