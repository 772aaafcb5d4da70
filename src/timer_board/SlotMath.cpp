#include "timer_board/SlotMath.h"
#include "support/AppError.h"
#include "support/Conversions.h"
#include <QRegularExpression>
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

QString pmHour(const QString& hour)
{
    try {
        const double value = std::round(Conversions::Val(hour) + 12);
        return std::abs(value) >= kNoClockPart ? hour : QString::number(static_cast<qint64>(value));
    } catch (const AppError&) {
        return hour;
    }
}
}

namespace SlotMath {

QString composeClockTime(const QString& hour, const QString& minute, const QString& second, bool am)
{
    const QString h = am ? formatWhole(hour, 1) : pmHour(hour);
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

int secondsUntil(int targetSeconds, int nowSeconds)
{
    return targetSeconds < nowSeconds ? targetSeconds + 86400 - nowSeconds : targetSeconds - nowSeconds;
}

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

Fields remainingFields(std::int64_t remainingMs)
{
    const std::int64_t total = remainingSeconds(remainingMs);
    Fields f;
    f.days = QString::number(total / 86400);
    f.hours = QString::number(total % 86400 / 3600);
    f.minutes = QString::number(total % 3600 / 60);
    f.seconds = QStringLiteral("%1").arg(total % 60, 2, 10, QChar('0'));
    return f;
}

Fields splitSeconds(std::int32_t seconds)
{
    return Fields{QString::number(seconds / 86400), QString::number(seconds / 3600 % 24),
                  QString::number(seconds / 60 % 60), QString::number(seconds % 60)};
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
