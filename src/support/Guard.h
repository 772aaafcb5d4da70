#pragma once
#include "support/AppError.h"
#include <QString>

// "Log the failure and continue with the next statement":
//     Guard g{"StopTimer", "frmMain"};
//     g([&] { ... });   // a failure here goes to the action trail; the next statement runs
class Guard {
public:
    Guard(QString routine, QString module) : m_routine(std::move(routine)), m_module(std::move(module)) {}

    template <class F>
    bool operator()(F&& statement) noexcept
    {
        try {
            statement();
            return true;
        } catch (const std::exception& e) {
            record(AppError::from(e));
        } catch (...) {
            record(AppError(AppError::InvalidCall));
        }
        return false;
    }

    // Number of the last failure caught, 0 when none.
    int lastError() const { return m_lastError; }
    // Puts a failure into the action trail as every handler does.
    static void report(const AppError& error, const QString& routine, const QString& module);

private:
    void record(const AppError& error) noexcept;

    QString m_routine;
    QString m_module;
    int m_lastError = 0;
};
