#include "diagnostics/fSHAREDErrorRpt.h"
#include "diagnostics/cSharedHelp.h"
#include "diagnostics/cSharedLogging.h"
#include "diagnostics/cSharedOSInfo.h"
#include "platform/AppFacts.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/cSHAREDDelay.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedGetSpecialFolder.h"
#include "support/cSharedWWW.h"
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kLog = QStringLiteral("fSHAREDErrorRpt");
const QString kTitle = QStringLiteral("Zelvo");
const QString kCrLf = QStringLiteral("\r\n");
const QString kMailLineEnd = QStringLiteral("%0D%0A");
constexpr qsizetype kMaxMailBody = 400;

QPlainTextEdit* textBox(const QString& name, const QString& tip, bool readOnly, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    box->setReadOnly(readOnly);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return box;
}

QGroupBox* frame(const QString& name, const QString& caption, QPlainTextEdit* content, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QPushButton* button(const QString& name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}
}

fSHAREDErrorRpt::fSHAREDErrorRpt(QWidget* parent) : QDialog(parent)
{
    setObjectName(kLog);
    setWindowTitle(QStringLiteral("Error Reporter"));
    buildWidgets();
    connectHandlers();
    Form_Load();
}

void fSHAREDErrorRpt::buildWidgets()
{
    Label1 = new QLabel(QStringLiteral("An error has ocurred:"), this);
    Label1->setObjectName("Label1");

    txtError = textBox("txtError", QStringLiteral("This is the error which ocurred"), true, this);
    Frame1 = frame("Frame1", QStringLiteral("Error Details"), txtError, this);
    txtLog = textBox("txtLog", QStringLiteral("This is the content of the program's log file"), true, this);
    Frame2 = frame("Frame2", QStringLiteral("Log"), txtLog, this);
    txtUserMessage = textBox("txtUserMessage", QStringLiteral("These comments will be added to your error report."),
                             false, this);
    Frame3 = frame("Frame3", QStringLiteral("Enter your own comments here"), txtUserMessage, this);
    Frame2->hide();
    Frame3->hide();

    cmdShowComments = button("cmdShowComments", QStringLiteral("Enter Comments"),
                             QStringLiteral("If you want to add any comments before submitting an error report, "
                                            "click here."),
                             this);
    cmdViewLog = button("cmdViewLog", QStringLiteral("View Log File"),
                        QStringLiteral("Click this button to view the log file"), this);
    cmdViewReport = button("cmdViewReport", QStringLiteral("View Error Report"),
                           QStringLiteral("If 'Submit Error' doesn't work, click here"), this);
    cmdHelp = button("cmdHelp", QStringLiteral("Help"), QString(), this);
    cmdEmail = button("cmdEmail", QStringLiteral("Submit Error Report"),
                      QStringLiteral("You will get a chance to preview the report before sending."), this);
    cmdExit = button("cmdExit", QStringLiteral("Exit"), QString(), this);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame1, 1);
    frames->addWidget(Frame2, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdShowComments, cmdViewLog, cmdViewReport, cmdHelp})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdEmail);
    buttons->addWidget(cmdExit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(frames, 3);
    layout->addWidget(Frame3, 2);
    layout->addLayout(buttons);
    resize(760, 460);
}

void fSHAREDErrorRpt::connectHandlers()
{
    connect(cmdShowComments, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdShowComments_Click);
    connect(cmdViewLog, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdViewLog_Click);
    connect(cmdViewReport, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdViewReport_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdHelp_Click);
    connect(cmdEmail, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdEmail_Click);
    connect(cmdExit, &QPushButton::clicked, this, &fSHAREDErrorRpt::cmdExit_Click);
    connect(txtUserMessage, &QPlainTextEdit::textChanged, this, &fSHAREDErrorRpt::txtUserMessage_Change);
    txtUserMessage->viewport()->installEventFilter(this);
}

void fSHAREDErrorRpt::Form_Load()
{
    Guard g{"Form_Load", kLog};
    g([&] { Frame2->setTitle(cSharedLogging::instance().CurrentLogFilename()); });
}

void fSHAREDErrorRpt::ShowError(const QString& message, const QString& helpTopic)
{
    FillReport(message, helpTopic);
    Guard g{"ShowError", kLog};
    g([&] { exec(); });
}

void fSHAREDErrorRpt::FillReport(const QString& message, const QString& helpTopic)
{
    Guard g{"ShowError", kLog};
    g([&] { m_helpTopic = helpTopic; });
    g([&] {
        m_errorText = message;
        txtError->setPlainText(message);
    });
    g([&] { MakeClean(); });
    g([&] {
        cSharedFileSubs& files = cSharedFileSubs::instance();
        const QString logFile = cSharedLogging::instance().CurrentLogFilename();
        m_logText.clear();
        if (!files.FileExists(logFile) || !files.LoadTextFile(logFile, m_logText))
            m_logText = QStringLiteral("No log file");
        txtLog->setPlainText(m_logText);
    });
}

void fSHAREDErrorRpt::MakeClean() { m_commentsEdited = false; }

void fSHAREDErrorRpt::cmdShowComments_Click()
{
    Guard g{"cmdShowComments_Click", kLog};
    g([&] { Frame3->show(); });
    g([&] { cmdShowComments->hide(); });
}

void fSHAREDErrorRpt::cmdViewLog_Click()
{
    Guard g{"cmdViewLog_Click", kLog};
    g([&] { Frame2->show(); });
    g([&] { cmdViewLog->hide(); });
}

void fSHAREDErrorRpt::cmdHelp_Click()
{
    Guard g{"cmdHelp_Click", kLog};
    g([&] { ShowHelp(m_helpTopic); });
}

void fSHAREDErrorRpt::ShowHelp(const QString& topic) { cSharedHelp::instance().ShowHelp(this, topic); }

void fSHAREDErrorRpt::cmdExit_Click()
{
    Guard g{"cmdExit_Click", kLog};
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void fSHAREDErrorRpt::closeEvent(QCloseEvent* event)
{
    cmdExit_Click();
    event->accept();
}

bool fSHAREDErrorRpt::eventFilter(QObject* watched, QEvent* event)
{
    if (txtUserMessage && watched == txtUserMessage->viewport() && event->type() == QEvent::MouseButtonPress)
        txtUserMessage_Click();
    return QDialog::eventFilter(watched, event);
}

void fSHAREDErrorRpt::txtUserMessage_Click() { m_commentsEdited = true; }

void fSHAREDErrorRpt::txtUserMessage_Change() { m_commentsEdited = true; }

QString fSHAREDErrorRpt::reportHeading() const
{
    return QStringLiteral("Error Report: ") + kTitle + ' ' + cSHAREDSubs::instance().AppVersion() + ", "
           + cSharedOSInfo().fOSName();
}

// The comments box ends its lines with CR LF, as the report's other texts do.
QString fSHAREDErrorRpt::userMessage() const
{
    QString text = txtUserMessage->toPlainText();
    text.replace('\n', kCrLf);
    return text;
}

QString fSHAREDErrorRpt::errorPart() const
{
    if (m_commentsEdited)
        return QStringLiteral("User: ") + userMessage() + kCrLf + m_errorText;
    return m_errorText;
}

void fSHAREDErrorRpt::cmdEmail_Click()
{
    Guard g{"cmdEmail_Click", kLog};
    QString body;
    QString part;
    QString subject;
    QString link;
    qsizetype rawLength = 0;
    g([&] {
        const QString logFile = cSharedLogging::instance().CurrentLogFilename();
        body = reportHeading() + QStringLiteral(" (Please click Attach and add the file ")
               + cSharedFileSubs::instance().FileOnly(logFile) + ')';
        rawLength = body.size();
        body += kMailLineEnd + kMailLineEnd;
    });
    g([&] { part = errorPart(); });
    g([&] { body += mailEscaped(part); });
    g([&] { body += kMailLineEnd + kMailLineEnd + mailEscaped(m_logText); });
    g([&] { body = cutMailBody(body, rawLength); });
    g([&] {
        subject = QStringLiteral("Bug Report (") + kTitle + " - " + cSHAREDSubs::instance().AppVersion() + ')';
        subject.replace(' ', QStringLiteral("%20"));
    });
    g([&] {
        link = QStringLiteral("mailto:") + MakerAddresses::bugReportAddress() + QStringLiteral("?subject=") + subject
               + QStringLiteral("&body=") + body + QStringLiteral("&attachment=\"\"");
    });
    g([&] { cSharedWWW::instance().WebSiteVisit(this, link); });
}

// Mail links carry line ends as escapes; a CR LF pair counts as one line end, a blank line as two.
QString fSHAREDErrorRpt::mailEscaped(const QString& raw)
{
    QString text = raw;
    text.replace('%', QStringLiteral("%25"));
    text.replace('?', QStringLiteral("%3F"));
    text.replace('&', QStringLiteral("%26"));
    text.replace('#', QStringLiteral("%23"));
    text.replace('\n', '\r');
    text.replace(QStringLiteral("\r\r"), QStringLiteral("\r"));
    text.replace('\r', kMailLineEnd);
    return text;
}

// Mail programs choke on long links. Past rawLength every "%" starts a three-character escape,
// and a cut through one would leave a broken escape at the end of the body.
QString fSHAREDErrorRpt::cutMailBody(const QString& body, qsizetype rawLength)
{
    if (body.size() <= kMaxMailBody)
        return body;
    qsizetype length = kMaxMailBody;
    for (qsizetype at = kMaxMailBody - 2; at < kMaxMailBody; ++at) {
        if (at >= rawLength && body.at(at) == '%') {
            length = at;
            break;
        }
    }
    // Nor may it split a character outside the BMP into a lone half.
    if (body.at(length - 1).isHighSurrogate() && body.at(length).isLowSurrogate())
        --length;
    return body.left(length);
}

QString fSHAREDErrorRpt::reportFileName()
{
    return cSharedGetSpecialFolder::instance().SystemTempFolder() + QStringLiteral("FullLog.txt");
}

QString fSHAREDErrorRpt::reportText() const
{
    QString body = reportHeading() + kCrLf + kCrLf + m_errorText;
    if (m_commentsEdited)
        body += kCrLf + userMessage();
    body += kCrLf + kCrLf + m_logText;

    const QString dashes(75, '-');
    const QString preamble = dashes + kCrLf
                             + QStringLiteral("If the 'submit report' button doesn't work on your system, open an email")
                             + kCrLf + QStringLiteral("to '") + MakerAddresses::bugReportAddress()
                             + QStringLiteral("' and paste the following text into it.") + kCrLf + kCrLf
                             + QStringLiteral("Submitting a bug report helps improve the software.") + kCrLf + dashes
                             + kCrLf + kCrLf;
    return preamble + body;
}

void fSHAREDErrorRpt::cmdViewReport_Click()
{
    Guard g{"cmdViewReport_Click", kLog};
    QString text;
    QString fileName;
    bool written = false;
    g([&] { text = reportText(); });
    g([&] { fileName = reportFileName(); });
    g([&] { written = cSharedFileSubs::instance().WriteTextFile(fileName, text); });
    // An earlier report left in the file must not pass for this one.
    g([&] {
        if (written)
            cSharedFileSubs::instance().RunFile(fileName, QString());
    });
}
