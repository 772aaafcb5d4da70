#include "diagnostics/cSHAREDShowError.h"
#include "diagnostics/fSHAREDErrorRpt.h"
#include "platform/AppError.h"
#include "support/Guard.h"
#include <QApplication>
#include <memory>

namespace {
const QString kLog = QStringLiteral("cShowError");
}

cSHAREDShowError& cSHAREDShowError::instance()
{
    static cSHAREDShowError* show = new cSHAREDShowError;
    return *show;
}

void cSHAREDShowError::ShowErr(const QString& message, const QString& helpTopic)
{
    Guard g{"ShowErr", kLog};
    std::unique_ptr<fSHAREDErrorRpt> form;
    g([&] { form = std::make_unique<fSHAREDErrorRpt>(QApplication::activeWindow()); });
    g([&] {
        if (!form)
            throw AppError(AppError::ObjectVariableNotSet);
        form->ShowError(message, helpTopic);
    });
    g([&] { form.reset(); });
}

void cSHAREDShowError::ShowErrObj(const AppError& error, const QString& routine, const QString& module,
                                  const QString& helpTopic)
{
    Guard g{"showerrobj", kLog};
    QString message;
    g([&] {
        message = "Error " + QString::number(error.number()) + " - " + error.description() + " in " + routine
                  + " of " + module;
    });
    g([&] { ShowErr(message, helpTopic); });
}
