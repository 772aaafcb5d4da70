#include "slot_model/ClockTime.h"
#include "platform/AppError.h"
#include "support/Conversions.h"
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {
// Numbers this large are no part of a time of day; they stay as typed, which spoils the time
// just as well and keeps the conversion to a whole number in range.
constexpr double kNoClockPart = 1e6;

// Format(x, "0") / Format(x, "00"): numbers rounded half away from zero, other text unchanged.
QString formatWhole(const QString& text, int width)
{
    try {
        if (!Conversions::isNumericText(text))
            return text;
        const double value = std::round(Conversions::textToNumber(text));
        if (std::abs(value) >= kNoClockPart)
            return text;
        return QStringLiteral("%1").arg(static_cast<qint64>(value), width, 10, QChar('0'));
    } catch (const AppError&) {
        return text;
    }
}

// The hour field on the 24-hour clock, by hour24 (12 am is midnight, 12 pm noon). A text that is
// not a number stays as typed (and spoils the time); a pm one reads 0.
QString dayHour(const QString& hour, bool am)
{
    if (am) {
        const QString h = formatWhole(hour, 1);
        return h == QLatin1String("12") ? QString::number(ClockTime::hour24(12, false)) : h;
    }
    try {
        const double value = std::round(Conversions::Val(hour));
        if (std::abs(value) + 12 >= kNoClockPart)
            return hour;
        const auto h = static_cast<int>(value);
        return QString::number(h == 12 || h == 0 ? ClockTime::hour24(12, true) : h + 12);
    } catch (const AppError&) {
        return hour;
    }
}

std::optional<int> secondsOfText(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{1,2}):(\\d{1,2})$"));
    const auto match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int h = match.captured(1).toInt();
    const int m = match.captured(2).toInt();
    const int s = match.captured(3).toInt();
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}
}

std::optional<ClockTime> ClockTime::ofEntry(const QString& hour, const QString& minute, const QString& second, bool am)
{
    const QString text = dayHour(hour, am) + ':' + formatWhole(minute, 2) + ':' + formatWhole(second, 2);
    const auto seconds = secondsOfText(text);
    return seconds ? std::optional(ClockTime(*seconds)) : std::nullopt;
}

std::optional<ClockTime> ClockTime::ofSeconds(long long secondsOfDay)
{
    if (secondsOfDay < 0 || secondsOfDay >= 86400)
        return std::nullopt;
    return ClockTime(static_cast<int>(secondsOfDay));
}

int ClockTime::hour24(int hour12, bool pm) { return hour12 % 12 + (pm ? 12 : 0); }

ClockTime::Entry ClockTime::entry() const
{
    const int hour = m_seconds / 3600;
    const auto twoDigits = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return {QString::number(hour % 12 == 0 ? 12 : hour % 12), twoDigits(m_seconds / 60 % 60), twoDigits(m_seconds % 60),
            hour < 12};
}
