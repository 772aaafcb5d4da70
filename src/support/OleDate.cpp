#include "support/OleDate.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {
// 30 December 1899, as a constant: an OleDate built during another file's static
// initialisation must not see an epoch that is not set yet.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019);
constexpr qint64 kMsPerDay = 86400000;

QString withLocaleWords(QString text, const LocaleFacts& locale)
{
    // Qt parses AM/PM in its own words; map the locale's words onto them.
    if (!locale.amText.isEmpty() && locale.amText != QLatin1String("AM"))
        text.replace(locale.amText, QLatin1String("AM"), Qt::CaseInsensitive);
    if (!locale.pmText.isEmpty() && locale.pmText != QLatin1String("PM"))
        text.replace(locale.pmText, QLatin1String("PM"), Qt::CaseInsensitive);
    return text;
}

QString formatTime(const QTime& time, const LocaleFacts& locale)
{
    QString text = QLocale::c().toString(time, locale.longTimeFormat);
    if (locale.longTimeFormat.contains(QLatin1String("AP"), Qt::CaseInsensitive)) {
        text.replace(QLatin1String("AM"), locale.amText).replace(QLatin1String("PM"), locale.pmText);
        text.replace(QLatin1String("am"), locale.amText).replace(QLatin1String("pm"), locale.pmText);
    }
    return text;
}

std::optional<OleDate> tryForm(const QString& text, const QString& dateFormat, const QString& timeFormat)
{
    const QLocale c = QLocale::c();
    if (dateFormat.isEmpty()) {
        const QTime t = c.toTime(text, timeFormat);
        if (t.isValid())
            return OleDate::fromParts(kEpoch, t);
        return std::nullopt;
    }
    if (timeFormat.isEmpty()) {
        const QDate d = c.toDate(text, dateFormat);
        if (d.isValid())
            return OleDate::fromParts(d, QTime(0, 0));
        return std::nullopt;
    }
    // Date and time are read apart: a local date-time would reject a moment that falls into a
    // daylight-saving gap, and the saved end of a countdown would be lost.
    for (qsizetype blank = text.indexOf(' '); blank > 0; blank = text.indexOf(' ', blank + 1)) {
        const QDate d = c.toDate(text.left(blank), dateFormat);
        if (!d.isValid())
            continue;
        const QTime t = c.toTime(text.mid(blank + 1).trimmed(), timeFormat);
        if (t.isValid())
            return OleDate::fromParts(d, t);
    }
    return std::nullopt;
}
}

OleDate OleDate::fromParts(const QDate& date, const QTime& time)
{
    const double whole = static_cast<double>(kEpoch.daysTo(date));
    const double fraction = static_cast<double>(time.msecsSinceStartOfDay()) / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return OleDate{whole >= 0 ? whole + fraction : whole - fraction};
}

OleDate OleDate::fromDateTime(const QDateTime& moment)
{
    const QDateTime local = moment.toLocalTime();
    return fromParts(local.date(), local.time());
}

QDate OleDate::date() const
{
    const double whole = std::trunc(days);
    double fraction = std::fabs(days - whole);
    qint64 offset = static_cast<qint64>(whole);
    // The fraction counts forward from midnight on either side of the epoch, so a time that
    // rounds up to 24:00 always carries into the following day.
    if (std::llround(fraction * 86400.0) >= 86400)
        ++offset;
    return kEpoch.addDays(offset);
}

QTime OleDate::time() const
{
    const double fraction = std::fabs(days - std::trunc(days));
    qint64 seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400)
        seconds = 0;
    return QTime(0, 0).addSecs(static_cast<int>(seconds));
}

QDateTime OleDate::toDateTime() const
{
    const double fraction = std::fabs(days - std::trunc(days));
    qint64 ms = std::llround(fraction * kMsPerDay);
    QDate day = kEpoch.addDays(static_cast<qint64>(std::trunc(days)));
    if (ms >= kMsPerDay) {
        ms = 0;
        day = day.addDays(1);
    }
    // Built from the wall-clock time, not by adding elapsed time to midnight: on the day the
    // clocks change that would shift the time by an hour.
    const QDateTime wallClock(day, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
    if (wallClock.isValid())
        return wallClock;
    // A time the clocks skipped: the moment that far past midnight.
    return QDateTime(day, QTime(0, 0)).addMSecs(ms);
}

QString OleDate::generalForm(const LocaleFacts& locale) const
{
    const QTime t = time();
    const QDate d = date();
    const bool noDate = d == kEpoch;
    const bool midnight = t == QTime(0, 0);
    const QString dateText = QLocale::c().toString(d, locale.shortDateFormat);
    if (noDate)
        return formatTime(t, locale);
    if (midnight)
        return dateText;
    return dateText + ' ' + formatTime(t, locale);
}

QString OleDate::generalForm() const { return generalForm(Platform::facts().locale()); }

std::optional<OleDate> OleDate::parse(const QString& given, const LocaleFacts& locale)
{
    QString text = withLocaleWords(given.trimmed(), locale);
    // ISO 8601 joins date and time with a T.
    static const QRegularExpression isoJoin(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})T(?=\\d)"));
    text.replace(isoJoin, QStringLiteral("\\1 "));
    if (text.isEmpty())
        return std::nullopt;
    const QString us = QStringLiteral("M/d/yyyy");
    const QString usTime = QStringLiteral("h:mm:ss AP");
    const QString forms[][2] = {
        {locale.shortDateFormat, locale.longTimeFormat},
        {locale.shortDateFormat, QString()},
        {QString(), locale.longTimeFormat},
        {us, usTime},
        {us, QStringLiteral("h:mm AP")},
        {us, QString()},
        {QString(), usTime},
        {QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm:ss")},
        {QStringLiteral("yyyy-MM-dd"), QString()},
        {QString(), QStringLiteral("H:mm:ss")},
        {QString(), QStringLiteral("H:mm")},
    };
    for (const auto& form : forms) {
        if (form[0].isEmpty() && form[1].isEmpty())
            continue;
        if (const auto found = tryForm(text, form[0], form[1]))
            return found;
    }
    return std::nullopt;
}

std::optional<OleDate> OleDate::parse(const QString& text) { return parse(text, Platform::facts().locale()); }
