#pragma once
#include <QString>
#include <QStringList>

// What the user's locale says about numbers, dates and the boolean words.
// Date and time forms are Qt format strings.
struct LocaleFacts {
    QString decimalSeparator = ".";
    QString groupSeparator = ",";
    QString shortDateFormat = "M/d/yyyy";
    QString longTimeFormat = "h:mm:ss AP";
    QString longDateFormat = "dddd, MMMM d, yyyy";
    QString dateSeparator = "/";
    QString timeSeparator = ":";
    QString amText = "AM";
    QString pmText = "PM";
    QStringList monthNames;       // January … December
    QStringList shortMonthNames;  // Jan … Dec
    QString trueWord = "True";
    QString falseWord = "False";
    QString localeName = "en_US";

    static LocaleFacts unitedStates();
};
