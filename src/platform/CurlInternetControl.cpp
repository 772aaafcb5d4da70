#include "platform/CurlInternetControl.h"
#include "platform/AppError.h"
#include <QFile>
#include <QUrl>
#include <algorithm>

#ifndef ZELVO_VERSION_MAJOR
#define ZELVO_VERSION_MAJOR 0
#define ZELVO_VERSION_MINOR 0
#define ZELVO_VERSION_PATCH 0
#endif

namespace {
constexpr int kPollMs = 5;
constexpr int kRoundsPerPoll = 10;
constexpr int kRoundWaitMs = 5;

#define ZELVO_STR2(x) #x
#define ZELVO_STR(x) ZELVO_STR2(x)
// The program's name and version only: nothing that tells who or where the user is.
constexpr char kUserAgent[] =
    "Zelvo/" ZELVO_STR(ZELVO_VERSION_MAJOR) "." ZELVO_STR(ZELVO_VERSION_MINOR) "." ZELVO_STR(ZELVO_VERSION_PATCH);

bool isFtp(const QString& url) { return url.startsWith(QLatin1String("ftp:"), Qt::CaseInsensitive); }

// "\pub\files\" or ".\" as the folder part of a remote path, in the form of a URL path.
QString urlFolder(QString folder)
{
    folder.replace('\\', '/');
    if (folder == QLatin1String(".") || folder.startsWith(QLatin1String("./")))
        folder = folder.mid(1);
    if (!folder.startsWith('/'))
        folder.prepend('/');
    if (!folder.endsWith('/'))
        folder.append('/');
    return QString::fromLatin1(QUrl::toPercentEncoding(folder, "/"));
}

// "FTP://host" in the lower-case form libcurl expects, without a closing slash.
QString ftpServer(const QString& url)
{
    QString rest = url.trimmed();
    const int scheme = rest.indexOf(QLatin1String("://"));
    rest = scheme < 0 ? rest.mid(4) : rest.mid(scheme + 3);
    while (rest.endsWith('/'))
        rest.chop(1);
    return QStringLiteral("ftp://") + rest;
}
}

CurlInternetControl::CurlInternetControl()
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &CurlInternetControl::poll);
}

CurlInternetControl::~CurlInternetControl()
{
    release();
    if (m_localFile)
        m_localFile->remove();
    if (m_multi)
        m_curl->multi_cleanup(m_multi);
}

bool CurlInternetControl::startLibrary()
{
    if (!m_multi && (m_curl = CurlLibrary::get()))
        m_multi = m_curl->multi_init();
    return m_multi != nullptr;
}

void CurlInternetControl::Execute(const QString& url, const QString& operation)
{
    const QString op = operation.trimmed();
    const QString verb = op.section(' ', 0, 0).toUpper();
    const bool withArguments = op.contains(' ');
    if (isFtp(url) && (verb == QLatin1String("CD") || verb == QLatin1String("CLOSE") || withArguments)) {
        ftpOperation(url, op);
        return;
    }
    if (verb != QLatin1String("GET") || withArguments)
        throw AppError(AppError::InvalidCall);
    if (StillExecuting())
        throw AppError(ErrStillExecuting, QStringLiteral("Still executing last request"));
    startTransfer(url.trimmed(), QString());
}

// An FTP session is kept as its folder: "CD" and "CLOSE" cost no round trip, "GET" fetches
// the file from that folder into a local file.
void CurlInternetControl::ftpOperation(const QString& url, const QString& operation)
{
    const QString verb = operation.section(' ', 0, 0).toUpper();
    const QString arguments = operation.section(' ', 1).trimmed();
    if (verb == QLatin1String("CD")) {
        m_ftpFolder = arguments;
    } else if (verb == QLatin1String("CLOSE")) {
        m_ftpFolder.clear();
        if (StillExecuting()) {
            m_closeAfterTransfer = true;
        } else {
            queue(Disconnecting);
            queue(Disconnected);
            m_poll.start();
        }
    } else if (verb == QLatin1String("GET")) {
        if (StillExecuting())
            throw AppError(ErrStillExecuting, QStringLiteral("Still executing last request"));
        const QString remote = arguments.section(' ', 0, 0);
        const QString local = arguments.section(' ', 1).trimmed();
        startTransfer(ftpServer(url) + urlFolder(m_ftpFolder) + QString::fromLatin1(QUrl::toPercentEncoding(remote)),
                      local);
    } else {
        throw AppError(AppError::InvalidCall);
    }
}

void CurlInternetControl::startTransfer(const QString& url, const QString& localFile)
{
    release();
    m_pending.clear();
    m_reached = 0;
    m_body.clear();
    m_read = 0;
    m_headers.clear();
    m_responseInfo.clear();
    m_responseCode = 0;
    m_errorText[0] = '\0';
    m_localFile.reset();
    m_poll.start();
    if (!localFile.isEmpty()) {
        m_localFile = std::make_unique<QFile>(localFile);
        if (!m_localFile->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            m_responseInfo = QStringLiteral("Cannot write ") + localFile;
            m_localFile.reset();
            queue(Error);
            return;
        }
    }
    // Without libcurl the request fails like any other, so the caller's wait ends at once.
    if (!startLibrary()) {
        m_responseInfo = QStringLiteral("The internet library (libcurl) cannot be loaded");
        queue(Error);
        return;
    }
    m_easy = m_curl->easy_init();
    if (!m_easy)
        throw AppError(AppError::OutOfMemory);
    applyOptions(url);
    m_curl->multi_add_handle(m_multi, m_easy);
    reach(ResolvingHost);
}

void CurlInternetControl::applyOptions(const QString& url)
{
    CURL* e = m_easy;
    m_curl->easy_setopt(e, CURLOPT_URL, url.toUtf8().constData());
    m_curl->easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    m_curl->easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    // An address given as https must not be redirected to an unauthenticated one.
    const bool secure = url.startsWith(QLatin1String("https:"), Qt::CaseInsensitive);
    m_curl->easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    m_curl->easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    m_curl->easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    m_curl->easy_setopt(e, CURLOPT_USERAGENT, kUserAgent);
    m_curl->easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    m_curl->easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    m_curl->easy_setopt(e, CURLOPT_ERRORBUFFER, m_errorText);
    m_curl->easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlInternetControl::onBody);
    m_curl->easy_setopt(e, CURLOPT_WRITEDATA, this);
    m_curl->easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlInternetControl::onHeader);
    m_curl->easy_setopt(e, CURLOPT_HEADERDATA, this);
    m_curl->easy_setopt(e, CURLOPT_SOCKOPTFUNCTION, &CurlInternetControl::onSocket);
    m_curl->easy_setopt(e, CURLOPT_SOCKOPTDATA, this);
    m_curl->easy_setopt(e, CURLOPT_PREREQFUNCTION, &CurlInternetControl::onPrereq);
    m_curl->easy_setopt(e, CURLOPT_PREREQDATA, this);
    // The debug stream is where libcurl tells that the request went out.
    m_curl->easy_setopt(e, CURLOPT_DEBUGFUNCTION, &CurlInternetControl::onDebug);
    m_curl->easy_setopt(e, CURLOPT_DEBUGDATA, this);
    m_curl->easy_setopt(e, CURLOPT_VERBOSE, 1L);
    if (m_requestTimeout > 0) {
        const long seconds = m_requestTimeout;
        m_curl->easy_setopt(e, CURLOPT_CONNECTTIMEOUT, seconds);
        m_curl->easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
        m_curl->easy_setopt(e, CURLOPT_LOW_SPEED_TIME, seconds);
    }
    if (isFtp(url))
        m_curl->easy_setopt(e, CURLOPT_FORBID_REUSE, 1L);

    switch (m_accessType) {
    case Direct:
        m_curl->easy_setopt(e, CURLOPT_PROXY, "");  // "" also overrides the proxy variables
        break;
    case NamedProxy:
        m_curl->easy_setopt(e, CURLOPT_PROXY, m_proxy.trimmed().toUtf8().constData());
        if (!m_userName.isEmpty()) {
            m_curl->easy_setopt(e, CURLOPT_PROXYUSERNAME, m_userName.toUtf8().constData());
            m_curl->easy_setopt(e, CURLOPT_PROXYPASSWORD, m_password.toUtf8().constData());
        }
        break;
    default:
        break;  // libcurl reads the usual proxy variables of the environment itself
    }
}

size_t CurlInternetControl::onBody(char* data, size_t size, size_t count, void* self)
{
    auto* c = static_cast<CurlInternetControl*>(self);
    const size_t bytes = size * count;
    c->reach(ResponseReceived);
    c->m_bodyArrived = true;
    if (c->m_localFile) {
        if (c->m_localFile->write(data, static_cast<qint64>(bytes)) != static_cast<qint64>(bytes))
            return 0;  // libcurl then ends the transfer with a write error
    } else {
        c->m_body.append(data, static_cast<qsizetype>(bytes));
    }
    return bytes;
}

size_t CurlInternetControl::onHeader(char* data, size_t size, size_t count, void* self)
{
    auto* c = static_cast<CurlInternetControl*>(self);
    const size_t bytes = size * count;
    c->reach(ReceivingResponse);
    const QString line = QString::fromLatin1(data, static_cast<qsizetype>(bytes)).trimmed();
    if (line.startsWith(QLatin1String("HTTP/"))) {
        c->m_headers.clear();  // a redirect or a proxy's answer came first
    } else {
        const int colon = line.indexOf(':');
        if (colon > 0)
            c->m_headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return bytes;
}

int CurlInternetControl::onSocket(void* self, curl_socket_t, curlsocktype)
{
    static_cast<CurlInternetControl*>(self)->reach(Connecting);
    return CURL_SOCKOPT_OK;
}

int CurlInternetControl::onPrereq(void* self, char*, char*, int, int)
{
    static_cast<CurlInternetControl*>(self)->reach(Requesting);
    return CURL_PREREQFUNC_OK;
}

int CurlInternetControl::onDebug(CURL*, curl_infotype type, char*, size_t, void* self)
{
    if (type == CURLINFO_HEADER_OUT)
        static_cast<CurlInternetControl*>(self)->reach(RequestSent);
    return 0;
}

void CurlInternetControl::reach(int state)
{
    while (m_reached < state)
        queue(++m_reached);
}

void CurlInternetControl::queue(int state) { m_pending.push_back(state); }

void CurlInternetControl::poll()
{
    if (m_polling)
        return;
    m_polling = true;
    // The waiting loops let events run only a few times a second; while the peer keeps
    // answering at once, carry on for a few rounds instead of one step per poll.
    for (int round = 0; round < kRoundsPerPoll && m_easy; ++round) {
        int running = 0;
        m_curl->multi_perform(m_multi, &running);
        int left = 0;
        while (CURLMsg* message = m_curl->multi_info_read(m_multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy) {
                finish(message->data.result);
                break;
            }
        }
        int ready = 0;
        if (!m_easy || m_curl->multi_wait(m_multi, nullptr, 0, kRoundWaitMs, &ready) != CURLM_OK || ready == 0)
            break;
    }
    m_polling = false;
    deliver();
    if (!m_easy && m_pending.empty())
        m_poll.stop();
}

void CurlInternetControl::finish(CURLcode code)
{
    long status = 0;
    m_curl->easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    m_responseCode = static_cast<int>(status);
    if (m_localFile) {
        m_localFile->close();
        if (code != CURLE_OK || m_localFile->error() != QFileDevice::NoError)
            m_localFile->remove();
        m_localFile.reset();
    }
    if (code == CURLE_OK) {
        reach(ResponseReceived);
        queue(ResponseCompleted);
    } else {
        m_responseInfo = m_errorText[0] ? QString::fromLocal8Bit(m_errorText)
                                        : QString::fromLatin1(m_curl->easy_strerror(code));
        queue(Error);
    }
    release();
    if (m_closeAfterTransfer) {
        m_closeAfterTransfer = false;
        queue(Disconnecting);
        queue(Disconnected);
    }
}

// The handler may cancel, start a new request or let events run; a nested call leaves the
// work to the outer one, so the states keep their order.
void CurlInternetControl::deliver()
{
    if (m_delivering)
        return;
    m_delivering = true;
    if (m_bodyArrived) {
        m_bodyArrived = false;
        raiseDataArrived();
    }
    while (!m_pending.empty()) {
        const int state = m_pending.front();
        m_pending.pop_front();
        raiseStateChanged(state);
    }
    m_delivering = false;
}

void CurlInternetControl::release()
{
    if (!m_easy)
        return;
    m_curl->multi_remove_handle(m_multi, m_easy);
    m_curl->easy_cleanup(m_easy);
    m_easy = nullptr;
}

void CurlInternetControl::Cancel()
{
    release();
    m_pending.clear();
    m_bodyArrived = false;
    m_closeAfterTransfer = false;
    if (m_localFile) {
        m_localFile->remove();
        m_localFile.reset();
    }
    m_body.clear();
    m_read = 0;
}

QByteArray CurlInternetControl::GetChunk(int size)
{
    if (size <= 0)
        return {};
    const QByteArray chunk = m_body.mid(m_read, size);
    m_read += chunk.size();
    return chunk;
}

QString CurlInternetControl::GetHeader(const QString& name) const
{
    for (auto it = m_headers.crbegin(); it != m_headers.crend(); ++it)
        if (it->first.compare(name, Qt::CaseInsensitive) == 0)
            return it->second;
    return {};
}
