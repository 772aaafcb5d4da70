#include "support/cSharedDateSubs.h"
#include "support/EventSink.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/Guard.h"

cSharedDateSubs& cSharedDateSubs::instance()
{
    static cSharedDateSubs* subs = new cSharedDateSubs;
    return *subs;
}

void cSharedDateSubs::ensureFacts()
{
    if (m_ready)
        return;
    m_ready = true;
    Guard g{"Class_Initialize", "cDateSubs"};
    g([&] {
        const LocaleFacts& locale = Platform::facts().locale();
        m_true = locale.trueWord.toUpper();
        m_false = locale.falseWord.toUpper();
        m_dateFormat = locale.shortDateFormat;
        m_fullDateFormat = locale.longDateFormat;
        m_separator = locale.dateSeparator;
        EventSink::action("Date format: " + m_dateFormat, "", "cDateSubs");
        EventSink::action("Full date format: " + m_fullDateFormat, "", "cDateSubs");
        EventSink::action("Full date format plus time: " + m_fullDateFormat + ' ' + locale.longTimeFormat, "",
                          "cDateSubs");
        EventSink::action("Date separator: " + m_separator, "", "cDateSubs");
        EventSink::action("True string: " + m_true + " False string: " + m_false, "", "cDateSubs");
    });
}

QString cSharedDateSubs::TrueStr() { return ensureFacts(), m_true; }
QString cSharedDateSubs::FalseStr() { return ensureFacts(), m_false; }
QString cSharedDateSubs::DateFormat() { return ensureFacts(), m_dateFormat; }
QString cSharedDateSubs::FullDateFormat() { return ensureFacts(), m_fullDateFormat; }
QString cSharedDateSubs::DateSeparator() { return ensureFacts(), m_separator; }
