#pragma once
#include "slot_model/SlotMath.h"
#include <cstdint>
#include <optional>

// A countdown's length in whole seconds, and the one rule for each of its forms: the four fields
// the window shows, what is left of a countdown, and the seconds a command or a restore gives.
class Duration {
public:
    // The longest the fields hold: 1365 days, then 32767 hours, minutes and seconds.
    static constexpr std::int64_t kLongestSeconds = 1365 * 86400 + 32767 * (3600 + 60 + 1);

    constexpr explicit Duration(std::int64_t seconds) : m_seconds(seconds) {}
    // The fields read as a start reads them: days to the hour, the rest rounded half to even;
    // nothing when a part does not fit the 16-bit field range.
    static std::optional<Duration> ofFields(const SlotMath::Fields& fields);
    // What is left of a countdown, rounded up so that a counting slot never shows all zeros
    // before its end.
    static Duration left(std::int64_t remainingMs);
    // Milliseconds to the nearest whole second.
    static Duration nearest(std::int64_t ms);

    std::int64_t seconds() const { return m_seconds; }
    // The fields that hold it: whole days up to 1365, the rest as hours, minutes and seconds,
    // each above its usual range only when the one before is full; nothing when even that
    // cannot hold it. One rule for the window, the command line and a restore, so whatever one
    // of them starts the others can start again.
    std::optional<SlotMath::Fields> fields() const;
    // As a counting row shows it ("2", "5", "7", "09").
    SlotMath::Fields shown() const;
    friend bool operator==(const Duration&, const Duration&) = default;

private:
    std::int64_t m_seconds;
};
