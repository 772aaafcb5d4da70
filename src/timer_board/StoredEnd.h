#pragma once
#include <cstdint>

// Where a slot's countdown ends, as the settings file keeps it. "Timer<n>End" holds the local
// time in the locale's general form, readable by eye and by every earlier version;
// "Timer<n>EndISO" holds the same moment in ISO 8601 with the writer's offset from UTC, which
// tells apart the hour that comes twice in autumn and survives a change of time zone.
namespace StoredEnd {
// Stores the moment (milliseconds since 1970 UTC), to the whole second, under both names.
void write(int slot, std::int64_t utcMs);
// The stored moment as milliseconds since 1970 UTC. The ISO form counts when it names the same
// wall-clock time as the general form; otherwise (malformed, or left behind by a version that
// rewrote only the general form) it is logged and the general form is read as local time.
// Throws when the general form is no date.
std::int64_t read(int slot);
}
