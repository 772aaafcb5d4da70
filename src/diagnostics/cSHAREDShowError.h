#pragma once
#include <QString>

class AppError;

// Shows a failure to the user through the error report window; log name "cShowError".
class cSHAREDShowError {
public:
    static cSHAREDShowError& instance();

    // Returns when the user has closed the window.
    void ShowErr(const QString& message, const QString& helpTopic);
    void ShowErrObj(const AppError& error, const QString& routine, const QString& module, const QString& helpTopic);
};
