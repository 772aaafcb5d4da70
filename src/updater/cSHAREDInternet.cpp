#include "updater/cSHAREDInternet.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedFileSubs.h"
#include "updater/fSHAREDInternet.h"

namespace {
const QString kLog = QStringLiteral("cSHAREDInternet");
constexpr int kWaitMs = 150;
}

cSHAREDInternet::cSHAREDInternet(QObject* parent) : QObject(parent), m_window(std::make_unique<fSHAREDInternet>())
{
    connectWindow();
}

cSHAREDInternet::~cSHAREDInternet()
{
    m_window->disconnect(this);
    m_window->Cancel();
    m_window->hide();
}

void cSHAREDInternet::connectWindow()
{
    fSHAREDInternet* w = m_window.get();
    connect(w, &fSHAREDInternet::Status, this, &cSHAREDInternet::Status);
    connect(w, &fSHAREDInternet::Progress, this, &cSHAREDInternet::Progress);
    connect(w, &fSHAREDInternet::DownloadFinished, this, [this] {
        m_window->hide();
        m_finished = true;
    });
    connect(w, &fSHAREDInternet::DownloadCancelled, this, [this] {
        m_cancelled = true;
        emit DownloadCancelled();
        m_window->hide();
    });
    const auto failed = [this](const QString&) {
        m_window->hide();
        m_error = true;
    };
    connect(w, &fSHAREDInternet::DownloadError, this, failed);
    connect(w, &fSHAREDInternet::UploadError, this, failed);
    connect(w, &fSHAREDInternet::Receiving, this, &cSHAREDInternet::Receiving);
    // Without a transfer control nothing was downloaded, whatever else the window reported.
    connect(w, &fSHAREDInternet::NoInternet, this, [this] {
        m_error = true;
        emit NoInternet();
    });
}

void cSHAREDInternet::setSuppressAllButDLAndErrors(bool on) { m_window->setSuppressAllButDLAndErrors(on); }

void cSHAREDInternet::setSuppressAllButErrors(bool on) { m_window->setSuppressAllButErrors(on); }

void cSHAREDInternet::ApplyProxy() { m_window->ApplyProxy(); }

void cSHAREDInternet::Cancel()
{
    m_window->Cancel();
    m_cancelled = true;
}

bool cSHAREDInternet::GetFile(const QString& strUrl, const QString& fileName, bool GetSize,
                              bool SuppressAllButDLAndErrors, bool SuppressAllButErrors, bool WithProgressForm)
{
    Guard g{"GetFile", kLog};
    cSharedFileSubs& files = cSharedFileSubs::instance();
    g([&] { m_cancelled = false; });
    g([&] {
        m_window->setSuppressAllButDLAndErrors(SuppressAllButDLAndErrors);
        m_window->setSuppressAllButErrors(SuppressAllButErrors);
    });
    g([&] {
        m_error = false;
        m_finished = false;
    });
    // A request still running is cancelled, and this download fails without starting.
    g([&] {
        if (m_window->Connected())
            m_window->Cancel();
    });
    if (!m_cancelled) {
        g([&] { m_window->DownloadFile(strUrl, fileName, GetSize); });
        // The window hides itself when the transfer ends, which ends the modal display.
        if (WithProgressForm && !ended())
            g([&] { m_window->exec(); });
        cSHAREDDelay& delay = cSHAREDDelay::instance();
        while (!ended()) {
            delay.Sleep(kWaitMs);
            delay.RegularDoEvents();
        }
    }
    if (m_error || m_cancelled) {
        g([&] { files.EraseFile(fileName); });
        return false;
    }
    return true;
}

std::int32_t cSHAREDInternet::ExpectedFilesize() const { return m_window->ExpectedFilesize(); }

QString cSHAREDInternet::OpenURL(const QString& sUrl, bool ShowStatus)
{
    m_cancelled = false;
    return m_window->OpenURL(sUrl, ShowStatus);
}

bool cSHAREDInternet::Connected() { return m_window->Connected(); }
