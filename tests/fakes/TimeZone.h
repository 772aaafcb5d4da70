#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <ctime>

// The time zone for one test; the machine's own comes back afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};
