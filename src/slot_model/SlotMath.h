#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

// The arithmetic of a timer slot's fields, kept apart from the widgets.
namespace SlotMath {

struct Fields {
    QString days, hours, minutes, seconds;
    friend bool operator==(const Fields&, const Fields&) = default;
};

// The clock-time text from the hour, minute and second fields; non-numeric parts are copied
// unchanged (which makes the text an invalid time), a pm hour that is not a number reads 0.
// The hour goes through hour24 (12 am is 0:00, 12 pm noon).
QString composeClockTime(const QString& hour, const QString& minute, const QString& second, bool am);
// The one am/pm rule, for the fields and the command line: 12 am is hour 0, 12 pm hour 12.
int hour24(int hour12, bool pm);
// The 12-hour clock's hour (1 to 12) of a 24-hour one, and whether it is pm.
std::pair<int, bool> hour12(int hour24);
// An end moment (ms since 1970 UTC) to the nearest whole second: the one rounding of an end for
// the settings file, the log and the command line.
std::int64_t wholeSecond(std::int64_t utcMs);
// Seconds since midnight of an "H:MM:SS" text, when it is a valid time of day.
std::optional<int> clockTimeSeconds(const QString& text);
// The duration the countdown fields give, in seconds: days to the hour, the rest rounded half to
// even; nothing when a part does not fit the 16-bit field range.
std::optional<std::int64_t> durationSeconds(const Fields& fields);
// The whole seconds shown for the remaining milliseconds, rounded up so that a counting slot
// never shows all zeros before its end.
std::int64_t remainingSeconds(std::int64_t remainingMs);
// Seconds as the four fields can hold them: whole days up to 1365 (what a start can read), the
// rest as hours, minutes and seconds, each above its usual range only when the one before is
// full; nothing when even that cannot hold them. One rule for the window, the command line and
// a restore, so whatever one of them starts the others can start again.
std::optional<Fields> fieldsFor(std::int64_t seconds);
// The longest countdown fieldsFor can hold: 1365 days, then 32767 hours, minutes and seconds.
inline constexpr std::int64_t kLongestSeconds = 1365 * 86400 + 32767 * (3600 + 60 + 1);
// What the fields show for the remaining time ("2", "5", "7", "09").
Fields remainingFields(std::int64_t remainingMs);
// Seconds split into the four fields for a quick start.
Fields splitSeconds(std::int32_t seconds);
// The fields added up leniently, the running total rounded after each addition.
std::int64_t fieldTotal(const Fields& fields);

}
