#pragma once
#include <QDateTime>
#include <QString>
#include <optional>

struct LocaleFacts;

// A moment as a count of days since 30 December 1899, the fraction being the time of day.
// Intervals are the same type: a number of days.
struct OleDate {
    double days = 0;

    static constexpr double kSecond = 1.0 / 86400.0;

    static OleDate fromDateTime(const QDateTime& moment);
    static OleDate fromParts(const QDate& date, const QTime& time);
    QDateTime toDateTime() const;
    QDate date() const;
    QTime time() const;  // rounded to the second

    // The locale's general date form: short date, a blank and the long time;
    // only the date at midnight, only the time when there is no date part.
    QString generalForm(const LocaleFacts& locale) const;
    QString generalForm() const;
    // Reads the general form of the current locale, then the United States form, then ISO 8601.
    static std::optional<OleDate> parse(const QString& text, const LocaleFacts& locale);
    static std::optional<OleDate> parse(const QString& text);

    friend bool operator==(OleDate a, OleDate b) { return a.days == b.days; }
};
