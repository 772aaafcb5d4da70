#pragma once
#include <QString>
#include <cstdint>

// The texts of a timer slot's countdown fields, kept apart from the widgets. What they mean as a
// duration is Duration's; a clock time is ClockTime's.
namespace SlotMath {

struct Fields {
    QString days, hours, minutes, seconds;
    friend bool operator==(const Fields&, const Fields&) = default;
};

// An end moment (ms since 1970 UTC) to the nearest whole second: the one rounding of an end for
// the settings file, the log and the command line.
std::int64_t wholeSecond(std::int64_t utcMs);
// Seconds split into the four fields for a quick start.
Fields splitSeconds(std::int32_t seconds);
// The fields added up leniently, the running total rounded after each addition: whether a save
// finds anything to keep.
std::int64_t fieldTotal(const Fields& fields);

}
