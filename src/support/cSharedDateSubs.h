#pragma once
#include <QString>

// The locale's date facts, worked out once; log name "cDateSubs".
class cSharedDateSubs {
public:
    static cSharedDateSubs& instance();

    QString TrueStr();
    QString FalseStr();
    QString DateFormat();
    QString FullDateFormat();
    QString DateSeparator();

private:
    void ensureFacts();
    bool m_ready = false;
    QString m_true, m_false, m_dateFormat, m_fullDateFormat, m_separator;
};
