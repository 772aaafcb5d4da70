#include "support/EventSink.h"

namespace {
EventSink::Target g_target;  // set before main by the event log; empty until then
}

namespace EventSink {

void setTarget(const Target& target) { g_target = target; }

void action(const QString& text, const QString& routine, const QString& module)
{
    if (g_target.action)
        g_target.action(text, routine, module);
}

void event(const QString& text)
{
    if (g_target.event)
        g_target.event(text);
}

}
