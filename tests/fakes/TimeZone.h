#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <ctime>
#include <gtest/gtest.h>

// A Windows process takes its zone from the system (TZ reads only US rules there): a test that
// needs a zone of its own runs on Linux.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_OWN_ZONE() GTEST_SKIP() << "a Windows process cannot choose its own time zone"
#else
#define SKIP_WITHOUT_OWN_ZONE() (void)0
#endif

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
