#pragma once
#include "diagnostics/fSHAREDErrorRpt.h"
#include "fakes/ZelvoTest.h"
#include "support/MakerAddresses.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <memory>

// An error report window over a log file the test writes, with helpers to act as the user.
class ErrorReportTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        facts->os = OsVersion{true, 5, 1, 2, QString()};  // the heading then ends in "WinXP"
    }
    void TearDown() override
    {
        form.reset();
        ZelvoTest::TearDown();
    }

    void useLog(const QByteArray& content)
    {
        writeBytes("log.txt", content);
        cSharedLogging::instance().OverrideLogFilename(path("log.txt"));
    }
    void useMissingLog() { cSharedLogging::instance().OverrideLogFilename(path("log.txt")); }

    fSHAREDErrorRpt& open(const QString& message, const QString& topic = QString())
    {
        form = std::make_unique<fSHAREDErrorRpt>();
        form->FillReport(message, topic);
        return *form;
    }

    void typeComments(const QString& text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, c == '\n' ? Qt::Key_Return : 0, Qt::NoModifier,
                            c == '\n' ? QStringLiteral("\r") : QString(c));
            QApplication::sendEvent(form->txtUserMessage, &press);
        }
    }
    void pressBackspace(int times)
    {
        for (int i = 0; i < times; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(form->txtUserMessage, &press);
        }
    }
    void clickComments()
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(form->txtUserMessage->viewport(), &press);
    }

    QString mailLink() const { return shell->opened.isEmpty() ? QString() : shell->opened.last(); }
    QString mailBody() const
    {
        const QString link = mailLink();
        const qsizetype from = link.indexOf("&body=");
        const qsizetype to = link.lastIndexOf("&attachment=");
        if (from < 0 || to < from)
            return QString();
        return link.mid(from + 6, to - from - 6);
    }
    // The body as far as the error text, found by sending a marker once.
    QString bodyPrefix()
    {
        open("MARKER");
        form->cmdEmail_Click();
        const QString body = mailBody();
        shell->opened.clear();
        return body.left(body.indexOf("MARKER"));
    }

    static QString bugAddress(int year)
    {
        return "bugs" + QString::number(year) + "@" + MakerAddresses::bugDomain();
    }

    std::unique_ptr<fSHAREDErrorRpt> form;
};
