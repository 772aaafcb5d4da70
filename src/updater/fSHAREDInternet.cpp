#include "updater/fSHAREDInternet.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/InternetControl.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/Conversions.h"
#include "support/FileTable.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedHTML.h"
#include "updater/cSharedDecrypt.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {
const QString kLog = QStringLiteral("fSHAREDInternet");
constexpr int kChunkSize = 1024;
constexpr double kProgressGap = 0.25;  // seconds between two progress reports

struct StateTexts {
    const char* label;
    const char* status;  // raised for states 1 to 4 only
};

StateTexts textsFor(int state)
{
    switch (state) {
    case 1: return {"Resolving Host", "Resolving host"};
    case 2: return {"Host Resolved", "Resolved host"};
    case 3: return {"Connecting", "Connecting"};
    case 4: return {"Connected", "Connected"};
    case 5: return {"Requesting", nullptr};
    case 6: return {"Request Sent", nullptr};
    case 7: return {"Receiving Response", nullptr};
    case 8: return {"Response Received", nullptr};
    case 9: return {"Disconnecting", nullptr};
    case 10: return {"Disconnected", nullptr};
    case 11: return {"Error", nullptr};
    case 12: return {"Response Completed", nullptr};
    default: return {"Other response", nullptr};
    }
}

// Kilobytes as whole numbers and with two decimals, in the locale's number form.
QString wholeKb(std::int64_t bytes)
{
    return Conversions::numberText(static_cast<std::int64_t>(Conversions::roundHalfEven(bytes / 1024.0)));
}

QString twoDecimalKb(std::int64_t bytes)
{
    return Conversions::numberText(Conversions::roundHalfEven(bytes / 1024.0 * 100.0) / 100.0);
}

// Each statement of the state handler on its own: an ordinary failure is logged and the next
// statement runs; the control's own errors are answered and end the handler.
class StateStep {
public:
    explicit StateStep(std::function<bool(const AppError&)> answer) : m_answer(std::move(answer)) {}

    template <class F>
    bool operator()(F&& statement)
    {
        if (m_stopped)
            return false;
        try {
            statement();
            return true;
        } catch (const std::exception& e) {
            const AppError error = AppError::from(e);
            if (m_answer(error))
                m_stopped = true;
            else
                Guard::report(error, QStringLiteral("inet1_StateChanged"), kLog);
        }
        return false;
    }
    bool stopped() const { return m_stopped; }

private:
    std::function<bool(const AppError&)> m_answer;
    bool m_stopped = false;
};

}

fSHAREDInternet::fSHAREDInternet(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fSHAREDInternet"));
    setWindowTitle(QStringLiteral("Internet"));
    buildWidgets();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &fSHAREDInternet::Timer1_Timer);
    connect(cmdStop, &QPushButton::clicked, this, &fSHAREDInternet::cmdStop_Click);
    setWindowState(Qt::WindowMinimized);
    try {
        Inet1 = Platform::newInternetControl();
        if (!Inet1)
            throw AppError(AppError::ComponentMissing);
        Inet1->setStateChanged([this](int state) { inet1_StateChanged(state); });
        // Every part of the body that arrives is progress, however long the whole one takes.
        Inet1->setDataArrived([this] { m_inactivity = 0; });
    } catch (const std::exception& e) {
        // Noticed for good when the proxy settings are applied.
        Guard::report(AppError::from(e), QStringLiteral("Form_Load"), kLog);
        Inet1.reset();
    }
}

fSHAREDInternet::~fSHAREDInternet()
{
    if (Inet1) {
        Inet1->setStateChanged({});
        Inet1->setDataArrived({});
        Inet1->Cancel();
    }
}

void fSHAREDInternet::buildWidgets()
{
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    lblFile = new QLabel(Frame1);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblProgress = new QLabel(Frame1);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(lblFile);
    frameLayout->addWidget(lblProgress);
    cmdStop = new QPushButton(QStringLiteral("Stop"), this);
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(cmdStop, 0, Qt::AlignRight);
}

InternetControl& fSHAREDInternet::inet() const
{
    if (!Inet1)
        throw AppError(AppError::ComponentMissing);
    return *Inet1;
}

void fSHAREDInternet::Cancel()
{
    Guard g{"Cancel", kLog};
    g([&] { inet().Cancel(); });
    g([&] { m_done = true; });
    g([&] { Timer1->stop(); });
    g([&] { emit Progress(0, QStringLiteral("Download cancelled")); });
    g([&] { emit DownloadCancelled(); });
}

QString fSHAREDInternet::OpenURL(const QString& sUrl, bool ShowStatus)
{
    Guard g{"OpenURL", kLog};
    g([&] { m_address = sUrl; });
    if (m_noControl) {
        g([&] { m_done = true; });
        g([&] { emit NoInternet(); });
        return {};
    }
    g([&] { m_suppressAllButErrors = !ShowStatus; });
    g([&] {
        m_inactivity = 0;
        Timer1->start();
        m_expectedSize = 0;
        m_textBuffer.clear();
        m_done = false;
        m_fileMode = false;
        m_getSize = false;
    });
    g([&] { inet().Execute(sUrl.trimmed(), QStringLiteral("GET")); });
    cSHAREDDelay& delay = cSHAREDDelay::instance();
    while (Timer1->isActive() && !m_done) {
        delay.RegularDoEvents();
        delay.Sleep(100);
    }
    return m_textBuffer;
}

void fSHAREDInternet::CancelDownload()
{
    Guard g{"CancelDownload", kLog};
    g([&] { Timer1->stop(); });
    g([&] { inet().Cancel(); });
    g([&] {
        cSharedFileSubs& files = cSharedFileSubs::instance();
        if (!m_targetFile.isEmpty() && files.FileExists(m_targetFile))
            files.EraseFile(m_targetFile);
    });
    g([&] { emit DownloadError(QStringLiteral("Download cancelled")); });
}

void fSHAREDInternet::DownloadFile(const QString& sUrl, const QString& fileName, bool bGetSize)
{
    Guard g{"DownloadFile", kLog};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    g([&] {
        m_address = sUrl;
        m_getSize = bGetSize;
    });
    if (m_noControl) {
        g([&] { files.EraseFile(fileName); });
        g([&] { m_done = true; });
        g([&] { emit DownloadFinished(); });
        g([&] { emit NoInternet(); });
        return;
    }
    g([&] { lblFile->setText(fileName); });
    g([&] {
        m_expectedSize = 0;
        m_fileMode = true;
        m_done = false;
        m_textBuffer.clear();  // only this download's body counts towards its progress
    });
    g([&] { inet().setAccessType(InternetControl::DefaultAccess); });
    g([&] {
        if (files.FileExists(fileName))
            files.EraseFile(fileName);
    });
    g([&] { m_targetFile = fileName; });
    g([&] { inet().setRequestTimeout(60); });
    g([&] {
        m_inactivity = 0;
        Timer1->start();
    });
    if (sUrl.left(3).compare(QLatin1String("FTP"), Qt::CaseInsensitive) == 0) {
        downloadFtp(sUrl);
        return;
    }
    g([&] { inet().Execute(sUrl.trimmed(), QStringLiteral("GET")); });
}

// The completion comes with the GET's own states, so a failed FTP transfer is not taken for
// a finished one.
void fSHAREDInternet::downloadFtp(const QString& address)
{
    Guard g{"DownloadFile", kLog};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    QString url = address;
    url.replace('\\', '/');
    QString host;
    QString path;
    if (url.startsWith(QLatin1String("FTP."), Qt::CaseInsensitive)) {
        const int slash = url.indexOf('/');
        host = slash < 0 ? url : url.left(slash);
        path = slash < 0 ? QString() : url.mid(slash);
    } else {
        const int start = url.indexOf(QLatin1String("//"));
        if (start >= 0) {
            const int slash = url.indexOf('/', start + 2);
            host = slash < 0 ? url.mid(start + 2) : url.mid(start + 2, slash - start - 2);
            path = slash < 0 ? QString() : url.mid(slash);
        }
    }
    if (host.isEmpty()) {
        g([&] { emit DownloadError(QStringLiteral("No address specified")); });
        return;
    }
    const QString remoteFile = files.FileOnly(path);
    QString backslashed = path;
    backslashed.replace('/', '\\');
    const QString folder = files.PathOnly(backslashed);
    const QString server = QStringLiteral("FTP://") + host;
    g([&] { inet().Execute(server, QStringLiteral("CD ") + folder); });
    g([&] { inet().Execute(server, QStringLiteral("GET ") + remoteFile + ' ' + m_targetFile); });
    g([&] { inet().Execute(server, QStringLiteral("CLOSE")); });
}

bool fSHAREDInternet::Connected()
{
    bool result = false;
    Guard g{"Connected", kLog};
    g([&] { result = inet().StillExecuting(); });
    return result;
}

void fSHAREDInternet::ApplyProxy()
{
    try {
        cSHAREDSettings& settings = cSHAREDSettings::instance();
        cSharedLogging& log = cSharedLogging::instance();
        const std::int16_t type = settings.sGet(QStringLiteral("ProxyType"), Value(std::int16_t(1))).toInt16();
        inet().setAccessType(type);
        inet().setUserName(QString());
        inet().setPassword(QString());
        if (type == InternetControl::NamedProxy) {
            const QString server = settings.sGet(QStringLiteral("ProxyServer"), Value(QString())).toText();
            const QString port = settings.sGet(QStringLiteral("ProxyPort"), Value(QString())).toText();
            inet().setProxy(!server.isEmpty() && !port.isEmpty() ? server + ':' + port : QString());
        } else if (type == InternetControl::Direct) {
            inet().setProxy(QString());
        }
        log.AddAction(QStringLiteral("Proxy set to: ") + QString::number(inet().AccessType()) + ' ' + inet().Proxy(),
                      QString(), QString());
        if (type == InternetControl::NamedProxy) {
            inet().setUserName(ProxyUser());
            inet().setPassword(ProxyPassword());
            log.AddDebug(QStringLiteral("Proxy username/password set"), QString(), QString());
        }
    } catch (const std::exception& e) {
        const AppError error = AppError::from(e);
        if (error.number() == AppError::ComponentMissing)
            m_noControl = true;
        Guard::report(error, QStringLiteral("ApplyProxy"), kLog);
    }
}

QString fSHAREDInternet::ProxyUser()
{
    QString result;
    Guard g{"ProxyUser", kLog};
    g([&] { result = cSHAREDSettings::instance().sGet(QStringLiteral("ProxyUser"), Value(QString())).toText(); });
    return result;
}

QString fSHAREDInternet::ProxyPassword()
{
    QString result;
    Guard g{"ProxyPassword", kLog};
    g([&] {
        result = cSharedDecrypt().Decrypt(
            cSHAREDSettings::instance().sGet(QStringLiteral("ProxyPwd"), Value(QString())).toText());
    });
    return result;
}

bool fSHAREDInternet::controlError(const AppError& error)
{
    const auto failWith = [this](const QString& message) {
        try {
            inet().Cancel();
        } catch (const std::exception&) {
        }
        cSHAREDSubs::instance().NormalMouse();
        emit DownloadError(message);
    };
    switch (error.number()) {
    case InternetControl::ErrStillExecuting:
        failWith(QStringLiteral("Download failed. Please try again."));
        return true;
    case InternetControl::ErrRequestTimedOut:
        failWith(QStringLiteral("Download timed out. Please try again."));
        return true;
    case InternetControl::ErrNoResponse:
        try {
            inet().Cancel();
            m_getSize = false;
            inet().Execute(m_address.trimmed(), QStringLiteral("GET"));
        } catch (const std::exception& e) {
            Guard::report(AppError::from(e), QStringLiteral("inet1_StateChanged"), kLog);
        }
        return true;
    default:
        return false;
    }
}

void fSHAREDInternet::inet1_StateChanged(int state)
{
    StateStep step{[this](const AppError& e) { return controlError(e); }};
    const StateTexts texts = textsFor(state);
    step([&] { lblProgress->setText(QString::fromLatin1(texts.label)); });
    step([&] { m_inactivity = 0; });
    if (texts.status)
        step([&] {
            if (!m_suppressAllButErrors)
                emit Status(QString::fromLatin1(texts.status));
        });
    switch (state) {
    case InternetControl::ReceivingResponse:
        step([&] { emit Receiving(); });
        break;
    case InternetControl::Error: {
        QString info;
        step([&] { m_inactivity = 0; });
        step([&] { lblProgress->setText(QStringLiteral("Error")); });
        step([&] { m_done = true; });
        step([&] { info = inet().ResponseInfo(); });
        step([&] { emit Status(info); });
        step([&] { emit DownloadError(info); });
        step([&] { Timer1->stop(); });
        step([&] { cSHAREDDelay::instance().RegularDoEvents(); });
        break;
    }
    case InternetControl::ResponseReceived:
        step([&] {
            if (m_expectedSize == 0)
                m_expectedSize = -1;
        });
        step([&] {
            if (!m_getSize)
                return;
            const QString length = inet().GetHeader(QStringLiteral("Content-Length"));
            if (!length.isEmpty())
                m_expectedSize = Conversions::CLng(Conversions::Val(length));
            lblProgress->setText(QStringLiteral("File size: ") + QString::number(m_expectedSize));
        });
        break;
    case InternetControl::ResponseCompleted: {
        if (refuseHttpStatus())
            break;
        step([&] {
            if (m_expectedSize != 0)
                return;
            m_getSize = false;
            inet().Execute(m_address.trimmed(), QStringLiteral("GET"));
        });
        step([&] {
            if (!m_suppressAllButErrors)
                emit Status(QStringLiteral("Downloading"));
        });
        if (!step.stopped())
            readBody();
        break;
    }
    default:
        break;
    }
}

// Only a success status (after redirects) is a body to use: an error page of a server or a
// captive portal is no installer and no update information. FTP answers by its own rules.
bool fSHAREDInternet::refuseHttpStatus()
{
    if (m_address.trimmed().startsWith(QLatin1String("ftp"), Qt::CaseInsensitive))
        return false;
    int code = 0;
    Guard g{"inet1_StateChanged", kLog};
    g([&] { code = inet().ResponseCode(); });
    if (code >= 200 && code <= 299)
        return false;
    const QString info = QStringLiteral("HTTP %1").arg(code);
    g([&] { cSharedLogging::instance().LogEvent("Transfer failed: " + info + " from " + m_address.trimmed(), false); });
    g([&] { lblProgress->setText(QStringLiteral("Error")); });
    g([&] { m_done = true; });
    g([&] { Timer1->stop(); });
    g([&] { inet().Cancel(); });
    g([&] { emit Status(info); });
    g([&] { emit DownloadError(info); });
    return true;
}

// The body of a completed response, chunk by chunk, into the text buffer and, for a download,
// into the target file.
void fSHAREDInternet::readBody()
{
    StateStep step{[this](const AppError& e) { return controlError(e); }};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    FileTable& table = FileTable::instance();
    int file = -1;
    QString writeFailure;
    const auto fileStep = [&](auto&& statement) {
        try {
            statement();
        } catch (const std::exception& e) {
            const AppError error = AppError::from(e);
            if (writeFailure.isEmpty())
                writeFailure = error.description();
            Guard::report(error, QStringLiteral("inet1_StateChanged"), kLog);
        }
    };

    std::int64_t received = 0;
    m_percent = 0;
    QByteArray chunk;
    do {
        chunk.clear();
        step([&] { chunk = inet().GetChunk(kChunkSize); });
        m_inactivity = 0;
        if (m_fileMode && !chunk.isEmpty()) {
            // Opened at the first byte: an FTP transfer has written the file itself already.
            if (file <= 0 && writeFailure.isEmpty())
                file = files.CreateOutputFile(m_targetFile);
            if (file <= 0 && writeFailure.isEmpty())
                writeFailure = QStringLiteral("Cannot write ") + m_targetFile;
            if (file > 0)
                fileStep([&] { table.write(file, chunk); });
        }
        // Every chunk that holds anything counts, a single byte included.
        if (!chunk.isEmpty())
            step([&] {
                m_textBuffer += cSharedHTML::ByteArrayToString(chunk);
                received += kChunkSize;
            });
        step([&] { reportProgress(received); });
    } while (!chunk.isEmpty() && !step.stopped());

    step([&] { m_done = true; });
    step([&] { Timer1->stop(); });
    if (m_fileMode) {
        if (file > 0)
            fileStep([&] { table.close(file); });
        else if (writeFailure.isEmpty() && !files.FileExists(m_targetFile))
            fileStep([&] {
                const int empty = files.CreateOutputFile(m_targetFile);
                if (empty > 0)
                    table.close(empty);
            });
    }
    step([&] { emit Status(QStringLiteral("Downloaded ") + twoDecimalKb(received) + QStringLiteral(" kb (100%)")); });
    // A file that did not reach the disk whole is no finished download.
    if (!writeFailure.isEmpty())
        step([&] { emit DownloadError(writeFailure); });
    else
        step([&] { emit DownloadFinished(); });
}

void fSHAREDInternet::reportProgress(std::int64_t received)
{
    if (m_suppressAllButDLAndErrors || m_suppressAllButErrors)
        return;
    if (m_expectedSize > 0) {
        if (!m_textBuffer.isEmpty())
            m_percent = static_cast<float>(
                Conversions::roundHalfEven(static_cast<double>(received) / m_expectedSize * 100.0));
        if (m_getSize)
            passProgress(m_percent, wholeKb(received) + QStringLiteral(" kb of ") + wholeKb(m_expectedSize)
                                        + QStringLiteral(" kb (")
                                        + Conversions::numberText(static_cast<std::int64_t>(m_percent))
                                        + QStringLiteral("%)"));
        else
            passProgress(0, wholeKb(received) + QStringLiteral(" kb downloaded"));
    } else {
        passProgress(100, QStringLiteral("Downloaded ") + twoDecimalKb(received) + QStringLiteral("kb"));
    }
}

void fSHAREDInternet::passProgress(float percent, const QString& text)
{
    const double now = Platform::clock().secondsSinceMidnight();
    // Past midnight the clock starts again from zero.
    if (now - m_lastProgress <= kProgressGap && now >= m_lastProgress)
        return;
    m_lastProgress = now;
    emit Status(text);
    emit Progress(percent, text);
}

void fSHAREDInternet::Timer1_Timer()
{
    Guard g{"Timer1_Timer", kLog};
    g([&] {
        m_inactivity = std::min(m_inactivity + 1, m_inactivityLimit + 1);
        if (m_inactivity > m_inactivityLimit) {
            // Given up for good: nothing of it may arrive or be written afterwards.
            Timer1->stop();
            inet().Cancel();
            emit DownloadError(QStringLiteral("Transfer timed out"));
            m_done = true;
        }
    });
}
