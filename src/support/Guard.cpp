#include "support/Guard.h"
#include "diagnostics/cSharedLogging.h"

void Guard::report(const AppError& error, const QString& routine, const QString& module)
{
    cSharedLogging::instance().AddAction(
        error.description() + " (" + QString::number(error.number()) + ")", routine, module);
}

void Guard::record(const AppError& error) noexcept
{
    m_lastError = error.number();
    try {
        report(error, m_routine, m_module);
    } catch (...) {
        // The trail itself failed; nothing more can be done here.
    }
}
