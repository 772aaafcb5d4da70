#pragma once
#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The error report window: the error next to the event log, the user's comments, and two ways
// to send a report to the maker (a ready-made mail, or a text file to paste by hand).
// Log name "fSHAREDErrorRpt".
class fSHAREDErrorRpt : public QDialog {
    Q_OBJECT
public:
    explicit fSHAREDErrorRpt(QWidget* parent = nullptr);

    // Fills the window and shows it modally; returns once it is closed or hidden.
    void ShowError(const QString& message, const QString& helpTopic);
    // The filling part of ShowError, without the modal display.
    void FillReport(const QString& message, const QString& helpTopic);
    void MakeClean();

    bool commentsEdited() const { return m_commentsEdited; }
    QString helpTopic() const { return m_helpTopic; }

    // Where "View Error Report" writes; replaced on every use.
    static QString reportFileName();

    // The mail link's escaping of a report text, and the cut of a body to what mail programs
    // take; the first rawLength characters were not escaped.
    static QString mailEscaped(const QString& text);
    static QString cutMailBody(const QString& body, qsizetype rawLength);

    void Form_Load();
    void cmdShowComments_Click();
    void cmdViewLog_Click();
    void cmdHelp_Click();
    void cmdEmail_Click();
    void cmdViewReport_Click();
    void cmdExit_Click();
    void txtUserMessage_Click();
    void txtUserMessage_Change();

    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPlainTextEdit* txtError = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPlainTextEdit* txtLog = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPlainTextEdit* txtUserMessage = nullptr;
    QPushButton* cmdShowComments = nullptr;
    QPushButton* cmdViewLog = nullptr;
    QPushButton* cmdViewReport = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdEmail = nullptr;
    QPushButton* cmdExit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void connectHandlers();
    QString reportHeading() const;
    QString errorPart() const;
    QString reportText() const;
    QString userMessage() const;
    void ShowHelp(const QString& topic);

    QString m_helpTopic;
    QString m_errorText;  // exactly as given: the mail keeps its line ends apart
    QString m_logText;
    bool m_commentsEdited = false;
};
