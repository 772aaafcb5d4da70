#pragma once
#include "platform/AppError.h"
#include <QString>

// "Log the failure and continue with the next statement":
//     Guard g{"StopTimer", "frmMain"};
//     g([&] { ... });   // a failure here goes to the action trail; the next statement runs
class Guard {
public:
    // How the failure is written: "description (n)", "n-description" or "description(n)";
    // a few routines of the update window log in the two older forms.
    enum class Text { Standard, NumberFirst, Compact };

    Guard(QString routine, QString module, Text text = Text::Standard)
        : m_routine(std::move(routine)), m_module(std::move(module)), m_text(text)
    {
    }

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

    // A step of a routine that carries on after a failure without a word, in the log or elsewhere.
    template <class F>
    static void silently(F&& statement) noexcept
    {
        try {
            statement();
        } catch (...) {
        }
    }

    // Number of the last failure caught, 0 when none.
    int lastError() const { return m_lastError; }
    // Puts a failure into the action trail as every handler does.
    static void report(const AppError& error, const QString& routine, const QString& module,
                       Text text = Text::Standard);

private:
    void record(const AppError& error) noexcept;

    QString m_routine;
    QString m_module;
    Text m_text;
    int m_lastError = 0;
};
