#pragma once
#include <QString>
#include <optional>

// A time of day to the second, and the one am/pm rule for the window's fields and the command
// line: 12 am is midnight, 12 pm noon.
class ClockTime {
public:
    // The row's clock fields as a start reads them: numbers rounded half away from zero, an hour
    // on the 12-hour clock; a part that is not a number spoils the time (a pm hour reads 0), and
    // so does one out of range. Nothing when they make no time of day.
    static std::optional<ClockTime> ofEntry(const QString& hour, const QString& minute, const QString& second, bool am);
    // Seconds since midnight; nothing outside the day.
    static std::optional<ClockTime> ofSeconds(long long secondsOfDay);
    // The hour on the 24-hour clock of an hour from 1 to 12 and its half of the day.
    static int hour24(int hour12, bool pm);

    int secondsOfDay() const { return m_seconds; }
    // As the row's fields hold it: the hour from 1 to 12, minute and second in two digits, and
    // whether it is am.
    struct Entry {
        QString hour, minute, second;
        bool am;
    };
    Entry entry() const;

private:
    explicit ClockTime(int seconds) : m_seconds(seconds) {}
    int m_seconds;
};
