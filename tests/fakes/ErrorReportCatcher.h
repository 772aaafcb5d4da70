#pragma once
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

// Answers error report windows as a user would: notes the error text and presses Exit.
// Finds the window by its object name "fSHAREDErrorRpt" and its text box "txtError".
class ErrorReportCatcher : public QObject {
public:
    ErrorReportCatcher()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &ErrorReportCatcher::poll);
        m_timer.start();
    }

    QStringList errors;

private:
    void poll()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() != QLatin1String("fSHAREDErrorRpt") || !w->isVisible())
                continue;
            if (auto* text = w->findChild<QPlainTextEdit*>("txtError"))
                errors << text->toPlainText();
            else if (auto* rich = w->findChild<QTextEdit*>("txtError"))
                errors << rich->toPlainText();
            if (auto* exit = w->findChild<QPushButton*>("cmdExit"))
                exit->click();
            else
                w->close();
        }
    }
    QTimer m_timer;
};
