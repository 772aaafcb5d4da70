#include "diagnostics/cSHAREDShowError.h"
#include "diagnostics/cSharedLogging.h"
#include "support/AppError.h"

// Placeholder until the error report window lands: the message goes to the log.
cSHAREDShowError& cSHAREDShowError::instance()
{
    static cSHAREDShowError* show = new cSHAREDShowError;
    return *show;
}

void cSHAREDShowError::ShowErr(const QString& message, const QString&)
{
    cSharedLogging::instance().LogEvent(message, false);
}

void cSHAREDShowError::ShowErrObj(const AppError& error, const QString& routine, const QString& module,
                                  const QString& helpTopic)
{
    ShowErr("Error " + QString::number(error.number()) + " - " + error.description() + " in " + routine + " of "
                + module,
            helpTopic);
}
