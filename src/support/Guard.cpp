#include "support/Guard.h"
#include "support/EventSink.h"

void Guard::report(const AppError& error, const QString& routine, const QString& module, Text text)
{
    const QString number = QString::number(error.number());
    const QString entry = text == Text::NumberFirst ? number + '-' + error.description()
                          : text == Text::Compact   ? error.description() + '(' + number + ')'
                                                    : error.description() + " (" + number + ')';
    EventSink::action(entry, routine, module);
}

void Guard::record(const AppError& error) noexcept
{
    m_lastError = error.number();
    try {
        report(error, m_routine, m_module, m_text);
    } catch (...) {
        // The trail itself failed; nothing more can be done here.
    }
}
