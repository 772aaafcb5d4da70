#include "slot_model/Duration.h"
#include "platform/AppError.h"
#include "support/Conversions.h"
#include <algorithm>

std::optional<Duration> Duration::ofFields(const SlotMath::Fields& f)
{
    try {
        const std::int64_t dayHours = Conversions::CInt(Conversions::Val(f.days) * 24);
        const std::int64_t hours = Conversions::CInt(Conversions::Val(f.hours));
        const std::int64_t minutes = Conversions::CInt(Conversions::Val(f.minutes));
        const std::int64_t seconds = Conversions::CInt(Conversions::Val(f.seconds));
        return Duration(dayHours * 3600 + hours * 3600 + minutes * 60 + seconds);
    } catch (const AppError&) {
        return std::nullopt;
    }
}

Duration Duration::left(std::int64_t remainingMs) { return Duration(remainingMs > 0 ? (remainingMs + 999) / 1000 : 0); }

Duration Duration::nearest(std::int64_t ms) { return Duration(SlotMath::wholeSecond(ms) / 1000); }

std::optional<SlotMath::Fields> Duration::fields() const
{
    constexpr std::int64_t kMostDays = 1365;  // 24 × 1365 is the last day count a 16-bit hour total holds
    constexpr std::int64_t kMostPart = 32767;
    if (m_seconds < 0)
        return std::nullopt;
    const std::int64_t days = std::min(m_seconds / 86400, kMostDays);
    std::int64_t rest = m_seconds - days * 86400;
    const std::int64_t hours = std::min(rest / 3600, kMostPart);
    rest -= hours * 3600;
    const std::int64_t minutes = std::min(rest / 60, kMostPart);
    rest -= minutes * 60;
    if (rest > kMostPart)
        return std::nullopt;
    return SlotMath::Fields{QString::number(days), QString::number(hours), QString::number(minutes),
                            QString::number(rest)};
}

SlotMath::Fields Duration::shown() const
{
    // A counting slot always fits: it started from fields, or was restored only when it fits.
    SlotMath::Fields f = fields().value_or(SlotMath::Fields{QString::number(m_seconds / 86400), "0", "0", "0"});
    f.seconds = f.seconds.rightJustified(2, QChar('0'));
    return f;
}
