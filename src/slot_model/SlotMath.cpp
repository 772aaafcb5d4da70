#include "slot_model/SlotMath.h"
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
        return h == QLatin1String("12") ? QString::number(SlotMath::hour24(12, false)) : h;
    }
    try {
        const double value = std::round(Conversions::Val(hour));
        if (std::abs(value) + 12 >= kNoClockPart)
            return hour;
        const auto h = static_cast<int>(value);
        return QString::number(h == 12 || h == 0 ? SlotMath::hour24(12, true) : h + 12);
    } catch (const AppError&) {
        return hour;
    }
}
}

namespace SlotMath {

QString composeClockTime(const QString& hour, const QString& minute, const QString& second, bool am)
{
    const QString h = dayHour(hour, am);
    return h + ':' + formatWhole(minute, 2) + ':' + formatWhole(second, 2);
}

std::optional<int> clockTimeSeconds(const QString& text)
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

std::int64_t wholeSecond(std::int64_t utcMs) { return (utcMs + 500) / 1000 * 1000; }

int hour24(int hour12, bool pm) { return hour12 % 12 + (pm ? 12 : 0); }

std::pair<int, bool> hour12(int hour24) { return {hour24 % 12 == 0 ? 12 : hour24 % 12, hour24 >= 12}; }

std::optional<std::int64_t> durationSeconds(const Fields& f)
{
    try {
        const std::int64_t dayHours = Conversions::CInt(Conversions::Val(f.days) * 24);
        const std::int64_t hours = Conversions::CInt(Conversions::Val(f.hours));
        const std::int64_t minutes = Conversions::CInt(Conversions::Val(f.minutes));
        const std::int64_t seconds = Conversions::CInt(Conversions::Val(f.seconds));
        return dayHours * 3600 + hours * 3600 + minutes * 60 + seconds;
    } catch (const AppError&) {
        return std::nullopt;
    }
}

std::int64_t remainingSeconds(std::int64_t remainingMs)
{
    return remainingMs > 0 ? (remainingMs + 999) / 1000 : 0;
}

std::optional<Fields> fieldsFor(std::int64_t seconds)
{
    constexpr std::int64_t kMostDays = 1365;  // 24 × 1365 is the last day count a 16-bit hour total holds
    constexpr std::int64_t kMostPart = 32767;
    if (seconds < 0)
        return std::nullopt;
    const std::int64_t days = std::min(seconds / 86400, kMostDays);
    std::int64_t rest = seconds - days * 86400;
    const std::int64_t hours = std::min(rest / 3600, kMostPart);
    rest -= hours * 3600;
    const std::int64_t minutes = std::min(rest / 60, kMostPart);
    rest -= minutes * 60;
    if (rest > kMostPart)
        return std::nullopt;
    return Fields{QString::number(days), QString::number(hours), QString::number(minutes), QString::number(rest)};
}

Fields remainingFields(std::int64_t remainingMs)
{
    const std::int64_t total = remainingSeconds(remainingMs);
    // A counting slot always fits: it started from fields, or was restored only when it fits.
    Fields f = fieldsFor(total).value_or(Fields{QString::number(total / 86400), "0", "0", "0"});
    f.seconds = f.seconds.rightJustified(2, QChar('0'));
    return f;
}

Fields splitSeconds(std::int32_t seconds)
{
    // Too many seconds keep the days the start then refuses.
    return fieldsFor(seconds).value_or(Fields{QString::number(seconds / 86400), "0", "0", "0"});
}

std::int64_t fieldTotal(const Fields& f)
{
    std::int64_t total = Conversions::CLng(Conversions::Val(f.days));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.hours));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.minutes));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.seconds));
    return total;
}

}
