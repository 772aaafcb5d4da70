#include "updater/fSHAREDUpdater.h"
#include "diagnostics/cSharedLogging.h"
#include "localisation/cSharedLang.h"
#include "platform/AppFacts.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/OleDate.h"
#include "support/cSHAREDDelay.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedProgress.h"
#include "support/cSharedWWW.h"
#include "updater/cSHAREDInternet.h"
#include "updater/fSHAREDProxy.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kModule = QStringLiteral("fSharedUpdater");
const QString kTitle = QStringLiteral("Zelvo");
const QColor kGreen(0, 128, 0);
const QColor kRed(192, 0, 0);
constexpr qint64 kSmallestInstaller = 25000;

QString tr_(const QString& text) { return cSharedLang::instance().GetTranslation(text); }
cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
double now() { return OleDate::fromDateTime(Platform::clock().now()).days; }

// The status strip is painted, but what it says is text: a screen reader reads it with the window
// (it passes over a picture), a failure included.
QAccessibleInterface* statusAsText(const QString&, QObject* object)
{
    if (object && object->objectName() == QLatin1String("picStatus") && qobject_cast<QLabel*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
    return nullptr;
}
Dialogs::Answer ask(const QString& text)
{
    return Platform::dialogs().message(text, Dialogs::Buttons::YesNo, kTitle);
}

// The day a "DD/MMM/YYYY" text names, in the locale's separator and month names.
std::optional<OleDate> readDateText(const QString& text)
{
    const LocaleFacts& locale = Platform::facts().locale();
    const QStringList parts = text.trimmed().split(locale.dateSeparator.isEmpty() ? "/" : locale.dateSeparator);
    if (parts.size() == 3) {
        const QStringList english = LocaleFacts::unitedStates().shortMonthNames;
        int month = parts[1].toInt();
        for (int m = 0; m < 12 && month == 0; ++m)
            if (parts[1].compare(locale.shortMonthNames.value(m), Qt::CaseInsensitive) == 0
                || parts[1].compare(english.value(m), Qt::CaseInsensitive) == 0)
                month = m + 1;
        const QDate date(parts[2].toInt(), month, parts[0].toInt());
        if (date.isValid())
            return OleDate::fromParts(date, QTime(0, 0));
    }
    return OleDate::parse(text);
}
}

// ---- versions ----------------------------------------------------------------------------------

QString UpdateVersion::text() const
{
    return QString::number(major) + '.' + QString::number(minor) + '.' + QString::number(revision) + suffix;
}

bool UpdateVersion::newerThan(const UpdateVersion& other) const
{
    if (major != other.major)
        return major > other.major;
    if (minor != other.minor)
        return minor > other.minor;
    if (revision != other.revision)
        return revision > other.revision;
    return QString::compare(suffix, other.suffix, Qt::CaseSensitive) > 0;
}

bool fSHAREDUpdater::ExtractVersionFromAppVer(const QString& text, UpdateVersion& version)
{
    bool ok = false;
    Guard g{"ExtractVersionFromAppVer", kModule, Guard::Text::Compact};
    g([&] {
        const QStringList pieces = text.split('.');
        if (pieces.size() < 3)
            return;
        UpdateVersion read = version;
        read.major = Conversions::CInt(Conversions::Val(pieces[0]));
        read.minor = Conversions::CInt(Conversions::Val(pieces[1]));
        read.revision = Conversions::CInt(Conversions::Val(pieces[2]));
        const int written = static_cast<int>(QString::number(read.revision).size());
        if (written != pieces[2].size())
            read.suffix = pieces[2].mid(written);
        version = read;
        ok = true;
    });
    return ok;
}

bool fSHAREDUpdater::ExtractVersionFromWebFile(const QString& DataString, UpdateVersion& version, QString& ProgURL)
{
    version = UpdateVersion{};
    ProgURL.clear();
    bool ok = false;
    Guard g{"ExtractVersionFromWebFile", kModule, Guard::Text::Compact};
    g([&] {
        QStringList lines = DataString.split('\n');
        if (lines.size() < 2)
            return;
        QString first = lines[0];
        QString second = lines[1];
        if (first.endsWith('\r'))
            first.chop(1);
        if (second.endsWith('\r'))
            second.chop(1);
        ok = ExtractVersionFromAppVer(first, version);
        ProgURL = second.replace("@@@", QString::number(version.major) + QString::number(version.minor)
                                          + QString::number(version.revision) + version.suffix);
    });
    return ok;
}

// ---- schedule ----------------------------------------------------------------------------------

std::int32_t fSHAREDUpdater::dayNumber(double oleDate) { return Conversions::CLng(Conversions::roundHalfEven(oleDate)); }

QString fSHAREDUpdater::dateText(double oleDate)
{
    const LocaleFacts& locale = Platform::facts().locale();
    const QDate date = OleDate{oleDate}.date();
    const QString month = locale.shortMonthNames.value(date.month() - 1,
                                                       LocaleFacts::unitedStates().shortMonthNames[date.month() - 1]);
    return QStringLiteral("%1").arg(date.day(), 2, 10, QChar('0')) + locale.dateSeparator + month
           + locale.dateSeparator + QString::number(date.year()).rightJustified(4, '0');
}

bool fSHAREDUpdater::NoAutoCheck()
{
    bool off = true;
    Guard g{"NoAutoCheck", kModule};
    g([&] {
        bool asked = false;
        try {
            asked = settings().sGet("AskedAboutAutoUpdates", false).toBool();
        } catch (const AppError&) {
        }
        if (!asked) {
            settings().sSet("AskedAboutAutoUpdates", true);
            const auto answer = ask("Do you want to enable an automatic weekly check for new versions of this "
                                    "software? (Recommended)");
            settings().sSet("DisableAutoUpdateCheck", answer != Dialogs::Answer::Yes);
        }
    });
    g([&] { off = settings().sGet("DisableAutoUpdateCheck", true).toBool(); });
    if (off)
        g([&] { cSharedLogging::instance().LogEvent("Automatic update check is disabled", false); });
    return off;
}

bool fSHAREDUpdater::DoCheckNow()
{
    bool due = false;
    Guard g{"DoCheckNow", kModule};
    const std::int32_t today = dayNumber(now());
    QString stored;
    g([&] { stored = settings().sGet("LastUpdateCheck", Value(today - 7)).toText(); });
    g([&] {
        if (!stored.contains('/'))
            return;
        const auto date = readDateText(stored);
        if (!date)
            throw AppError(AppError::TypeMismatch);
        stored = QString::number(dayNumber(date->days));
    });
    stored = stored.trimmed();
    // Compared as text, as it always was; with five-digit day numbers this is the numeric order.
    due = QString::compare(stored, QString::number(today - 7), Qt::CaseSensitive) <= 0;
    return due;
}

void fSHAREDUpdater::SaveLastCheckDate()
{
    Guard g{"SaveLastCheckDate", kModule};
    g([&] { settings().sSet("LastUpdateCheck", Value(dayNumber(now()))); });
}

// ---- window ------------------------------------------------------------------------------------

fSHAREDUpdater::fSHAREDUpdater(QWidget* owner) : QDialog(owner), m_internet(std::make_unique<cSHAREDInternet>())
{
    setObjectName("fSHAREDUpdater");
    buildWidgets();
    connect(m_internet.get(), &cSHAREDInternet::Progress, this, &fSHAREDUpdater::cInternet_Progress);
    connect(m_internet.get(), &cSHAREDInternet::NoInternet, this, &fSHAREDUpdater::cInternet_NoInternet);
}

fSHAREDUpdater::~fSHAREDUpdater() = default;

void fSHAREDUpdater::buildWidgets()
{
    lblProgram = new QLabel(this);
    lblUpdate = new QLabel(this);
    QFont bold = lblUpdate->font();
    bold.setBold(true);
    lblUpdate->setFont(bold);
    // The verdict can be copied, e.g. into a support mail.
    lblUpdate->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    static const bool strip = (QAccessible::installFactory(statusAsText), true);
    Q_UNUSED(strip);
    picStatus = new QLabel(this);
    picStatus->setObjectName("picStatus");
    picStatus->setFixedHeight(22);
    picStatus->setMinimumWidth(380);
    picStatus->setFrameShape(QFrame::StyledPanel);
    txtDetails = new QPlainTextEdit(this);
    txtDetails->setAccessibleName("Version details");
    txtDetails->setReadOnly(true);
    txtDetails->setMinimumHeight(140);
    cmdCheckAgain = new QPushButton("Check Again", this);
    cmdShowDetail = new QPushButton("Show Version Details", this);
    cmdShowDetail->setToolTip("Reads details of the latest version from the server");
    chkDisableAutoUpdate = new QCheckBox("Disable automatic checking", this);
    chkDisableAutoUpdate->setToolTip(
        "If you tick this box, the program will NOT check for updated versions. Recommended setting: not ticked");
    cmdDownload = new QPushButton("Download Only", this);
    cmdDownload->setToolTip("This will download the update package without installing it.");
    cmdDownloadInstall = new QPushButton("Download and Install", this);
    cmdDownloadInstall->setToolTip("This will download the update package and update your copy of the program");
    cmdDownloadPage = new QPushButton("Open Download Page", this);
    cmdDownloadPage->setToolTip("Opens the maker's download page in your browser. This copy is installed: update it "
                                "the way it was installed.");
    cmdDownloadPage->setVisible(installedCopy());
    cmdDownload->setVisible(!installedCopy());
    cmdDownloadInstall->setVisible(!installedCopy());
    cmdProxy = new QPushButton("Proxy Setup", this);
    cmdExit = new QPushButton("Exit", this);
    auto* privacy =
        new QLabel("Privacy Guarantee: No information is sent from your computer when you check for updates.", this);
    privacy->setWordWrap(true);

    auto* facts = new QGridLayout;
    facts->addWidget(new QLabel("You have:", this), 0, 0);
    facts->addWidget(lblProgram, 0, 1);
    facts->addWidget(new QLabel("Status:", this), 1, 0);
    facts->addWidget(lblUpdate, 1, 1);
    facts->setColumnStretch(1, 1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(cmdCheckAgain);
    checks->addWidget(cmdShowDetail);
    checks->addStretch(1);
    auto* downloads = new QHBoxLayout;
    downloads->addWidget(cmdDownload);
    downloads->addWidget(cmdDownloadInstall);
    downloads->addWidget(cmdDownloadPage);
    downloads->addWidget(cmdProxy);
    downloads->addStretch(1);
    downloads->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(facts);
    layout->addWidget(picStatus);
    layout->addWidget(txtDetails);
    layout->addLayout(checks);
    layout->addWidget(chkDisableAutoUpdate);
    layout->addLayout(downloads);
    layout->addWidget(privacy);

    connect(cmdCheckAgain, &QPushButton::clicked, this, &fSHAREDUpdater::cmdCheckAgain_Click);
    connect(cmdShowDetail, &QPushButton::clicked, this, &fSHAREDUpdater::cmdShowDetail_Click);
    connect(cmdDownload, &QPushButton::clicked, this, &fSHAREDUpdater::cmdDownload_Click);
    connect(cmdDownloadInstall, &QPushButton::clicked, this, &fSHAREDUpdater::cmdDownloadInstall_Click);
    connect(cmdDownloadPage, &QPushButton::clicked, this, &fSHAREDUpdater::cmdDownloadPage_Click);
    connect(cmdProxy, &QPushButton::clicked, this, &fSHAREDUpdater::cmdProxy_Click);
    connect(cmdExit, &QPushButton::clicked, this, &fSHAREDUpdater::cmdExit_Click);
}

void fSHAREDUpdater::Form_Load()
{
    Guard g{"Form_Load", kModule, Guard::Text::NumberFirst};
    g([&] { setWindowTitle(kTitle + " Updater"); });
    g([&] { lblProgram->setText(kTitle + " version " + cSHAREDSubs::instance().AppVersion()); });
    g([&] { chkDisableAutoUpdate->setChecked(settings().sGet("DisableAutoUpdateCheck", true).toBool()); });
    g([&] {
        lblUpdate->clear();
        txtDetails->hide();
        txtDetails->clear();
        picStatus->clear();
    });
}

void fSHAREDUpdater::ensureLoaded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void fSHAREDUpdater::unload()
{
    hide();
    m_loaded = false;
}

QString fSHAREDUpdater::programFolderSlash() const
{
    return cSharedFileSubs::instance().AddSlashIfMissing(Platform::facts().dataFolder());
}

// A status longer than the strip widens the strip, and so the window, instead of losing both ends.
void fSHAREDUpdater::fitStatus(const QString& text)
{
    const int needed = picStatus->fontMetrics().horizontalAdvance(text) + 2 * picStatus->frameWidth() + 12;
    if (needed <= picStatus->width())
        return;
    picStatus->setMinimumWidth(needed);
    layout()->activate();
}

void fSHAREDUpdater::SetStatus(const QString& text)
{
    fitStatus(text);
    cSharedProgress::instance().PrintCentered(picStatus, text, true, palette().color(QPalette::WindowText),
                                              palette().color(QPalette::Window));
    // Painted into the strip, the words reach a screen reader only as its name.
    picStatus->setAccessibleName(text);
    emit Status(text);
}

void fSHAREDUpdater::showVerdict(const QString& text, const QColor& colour)
{
    QPalette p = lblUpdate->palette();
    p.setColor(QPalette::WindowText, colour);
    lblUpdate->setPalette(p);
    lblUpdate->setText(text);
}

void fSHAREDUpdater::cInternet_Progress(float Progresspercent, const QString& Message)
{
    if (m_checking)
        return;
    if (Progresspercent == 100.0f) {
        fitStatus("Downloaded " + Message);
        cSharedProgress::instance().PrintCentered(picStatus, "Downloaded " + Message, true,
                                                  palette().color(QPalette::WindowText),
                                                  palette().color(QPalette::Window));
    } else {
        cSharedProgress::instance().ShowProgressString(picStatus, Progresspercent, 100, Message);
    }
}

void fSHAREDUpdater::cInternet_NoInternet() { m_noInternet = true; }

// ---- the check ---------------------------------------------------------------------------------

bool fSHAREDUpdater::CheckForUpdate(bool SuppressForm, const QString& UpdateURL, const QString& DetailsURL,
                                    const QString& UpdateFilename, QString CurrentVersion)
{
    ensureLoaded();
    Guard g{"CheckForUpdate", kModule, Guard::Text::NumberFirst};
    bool result = false;
    QString closing;
    UpdateVersion current;
    const QString site = MakerAddresses::webSite();
    g([&] {
        cmdCheckAgain->setEnabled(false);
        cmdShowDetail->setEnabled(false);
    });
    g([&] {
        if (!CurrentVersion.isEmpty())
            lblProgram->setText("Version " + CurrentVersion);
        else
            CurrentVersion = cSHAREDSubs::instance().AppVersion();
        ExtractVersionFromAppVer(CurrentVersion, current);
    });
    if (!SuppressForm)
        g([&] {
            show();
            cSHAREDDelay::instance().DoEventss();
        });
    g([&] { chkDisableAutoUpdate->setChecked(settings().sGet("DisableAutoUpdateCheck", true).toBool()); });
    g([&] { m_internet->Cancel(); });
    m_updateUrl = UpdateURL;
    m_detailsUrl = DetailsURL;
    m_installerName = UpdateFilename;
    g([&] { SetStatus(tr_("Checking for update")); });
    g([&] { m_internet->ApplyProxy(); });
    QString response;
    m_checking = true;
    g([&] { response = m_internet->OpenURL(UpdateURL, false); });

    cSharedLogging& log = cSharedLogging::instance();
    if (response.trimmed().isEmpty() || response.contains("<HTML", Qt::CaseInsensitive)) {
        log.AddAction("Could not retrieve information from the update server.", "", "");
        if (m_noInternet) {
            log.AddAction("MSINET control is missing or outdated", "", "");
            closing = "The internet control (MSINET.OCX) is missing or outdated. Visit the Runtimes page on " + site
                      + " to download an updated version.";
        } else {
            log.AddAction("Please visit " + site + " to see if an update is available.", "", "");
            closing = tr_("Update check failed. Visit ") + site + tr_(" to update this program manually.");
        }
        g([&] { showVerdict(tr_("Could not retrieve update status"), kRed); });
    } else {
        g([&] { SetStatus(tr_("Data retrieved")); });
        UpdateVersion available;
        QString address;
        ExtractVersionFromWebFile(response, available, address);
        if (address.isEmpty()) {
            g([&] { showVerdict("Could not read update status from file", kRed); });
            closing = "Update check failed, could not read download filename";
        } else {
            const QString availableText = available.text().toUpper();
            m_downloadUrl = address;
            if (available.newerThan(current)) {
                g([&] {
                    cmdCheckAgain->setEnabled(true);
                    cmdShowDetail->setEnabled(true);
                });
                g([&] { settings().sSet("LastUpdateCheck", dateText(now())); });
                g([&] { showVerdict("Version " + availableText + " is available!", kGreen); });
                result = true;
                if (SuppressForm)
                    g([&] {
                        if (ask(tr_("An update is available. Would you like to view the details now?"))
                            == Dialogs::Answer::Yes)
                            exec();
                    });
            } else {
                SaveLastCheckDate();
                g([&] { log.LogEvent("Already up to date (Available version is " + availableText + ")", false); });
                g([&] { showVerdict(tr_("You're up to date!"), kRed); });
                closing = tr_("Latest available version is") + " " + availableText;
            }
        }
    }
    g([&] { SetStatus(closing); });
    log.AddDebug(closing, "", "");
    g([&] {
        cmdCheckAgain->setEnabled(true);
        cmdShowDetail->setEnabled(true);
    });
    emit Finished();
    return result;
}

void fSHAREDUpdater::ShowandCheck(const QString& UpdateURL, const QString& DetailsURL,
                                  const QString& DownloadedFilename, const QString& CurrentVersion)
{
    Guard g{"ShowandCheck", kModule, Guard::Text::NumberFirst};
    m_updateUrl = UpdateURL;
    m_detailsUrl = DetailsURL;
    m_installerName = DownloadedFilename;
    g([&] { CheckForUpdate(false, UpdateURL, DetailsURL, DownloadedFilename, CurrentVersion); });
}

void fSHAREDUpdater::StopAll()
{
    Guard g{"StopAll", kModule};
    g([&] { m_internet->Cancel(); });
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    unload();
}

// ---- downloads ---------------------------------------------------------------------------------

bool fSHAREDUpdater::DownloadFile(const QString& folder, const QString& fileName, const QString& address,
                                  bool progressWindow)
{
    ensureLoaded();
    Guard g{"DownloadFile", kModule, Guard::Text::NumberFirst};
    bool result = false;
    cSharedFileSubs& files = cSharedFileSubs::instance();
    m_checking = false;
    g([&] { m_internet->ApplyProxy(); });
    g([&] { cSHAREDSubs::instance().BusyMouse(); });
    g([&] { cSharedLogging::instance().LogEvent("Trying to download " + address, false); });
    const QString target = folder + fileName;
    // A program we will run must not arrive over a weaker channel than the file that named it.
    if (m_updateUrl.startsWith("https:", Qt::CaseInsensitive) && !address.startsWith("https:", Qt::CaseInsensitive)) {
        cSharedLogging::instance().AddAction("Refused to download an installer without https: " + address,
                                             "DownloadFile", kModule);
        g([&] { SetStatus("Error - Download failed."); });
        cSHAREDSubs::instance().NormalMouse();
        return false;
    }
    bool fetched = false;
    g([&] { fetched = m_internet->GetFile(address, target, true, false, false, progressWindow); });
    // The size the server announced, when it announced one.
    g([&] {
        if (m_internet->ExpectedFilesize() > 0)
            m_expectedSize = m_internet->ExpectedFilesize();
    });
    const qint64 length = QFileInfo(target).size();
    if (!fetched) {
        g([&] { SetStatus("Error - Download failed."); });
        files.EraseFile(target);
    } else if (m_expectedSize > 0 && length != m_expectedSize) {
        g([&] { SetStatus("Error - Downloaded file is incomplete. Please retry"); });
        files.EraseFile(target);
    } else {
        g([&] { cSharedProgress::instance().ShowProgressString(picStatus, 100, 100, "100%"); });
        if (length >= kSmallestInstaller) {
            result = true;
        } else {
            QString text;
            files.LoadTextFile(target, text);
            // A short file is never an installer: left on disk it would pass for one.
            files.EraseFile(target);
            g([&] {
                SetStatus(text.contains("<HTML>", Qt::CaseInsensitive)
                              ? "Error - File not found on server."
                              : "Error - Downloaded file is incomplete. Please retry");
            });
        }
    }
    m_expectedSize = 0;
    cSHAREDSubs::instance().NormalMouse();
    return result;
}

void fSHAREDUpdater::DownloadAndInstall(const QString& DownloadURL)
{
    if (installedCopy())
        return;
    Guard g{"DownloadAndInstall", kModule};
    g([&] { DownloadFile(programFolderSlash(), m_installerName, DownloadURL, false); });
}

bool fSHAREDUpdater::installedCopy()
{
    const AppFacts& facts = Platform::facts();
#ifdef Q_OS_WIN
    // The maker's installer updates any copy whose folder the user can write: a portable one, or
    // one installed for the user alone (it installs over it); one for all users waits for its admin.
    return !QFileInfo(facts.programFolder()).isWritable();
#else
    return QDir(facts.dataFolder()) != QDir(facts.programFolder());
#endif
}

void fSHAREDUpdater::cmdDownloadPage_Click()
{
    Guard g{"cmdDownloadPage_Click", kModule};
    g([&] { cSharedWWW::instance().WebSiteVisit(this, MakerAddresses::webSite()); });
}

bool fSHAREDUpdater::fetchAddressIfMissing()
{
    // Never an installer for an installed copy, whichever way the download is asked for.
    if (installedCopy()) {
        cmdDownloadPage_Click();
        return false;
    }
    if (m_downloadUrl.isEmpty())
        CheckForUpdate(true, m_updateUrl, m_detailsUrl, m_installerName, QString());
    return DownloadFile(programFolderSlash(), m_installerName, m_downloadUrl, false);
}

void fSHAREDUpdater::cmdDownload_Click()
{
    Guard g{"cmdDownload_Click", kModule};
    g([&] {
        if (fetchAddressIfMissing())
            Platform::dialogs().message("File saved to " + programFolderSlash() + m_installerName,
                                        Dialogs::Buttons::Ok, kTitle);
    });
}

void fSHAREDUpdater::cmdDownloadInstall_Click()
{
    Guard g{"cmdDownloadInstall_Click", kModule};
    g([&] {
        if (!fetchAddressIfMissing())
            return;
        if (ask(tr_("The update has been downloaded. Do you want to install it now?")) == Dialogs::Answer::Yes) {
            hide();
            cSHAREDDelay::instance().DoEventss();
            emit InstallFile();
            CloseUpdater();
        } else {
            Platform::dialogs().message("File saved to " + programFolderSlash() + m_installerName,
                                        Dialogs::Buttons::Ok, kTitle);
        }
    });
}

void fSHAREDUpdater::cmdCheckAgain_Click()
{
    CheckForUpdate(false, m_updateUrl, m_detailsUrl, m_installerName, QString());
}

void fSHAREDUpdater::cmdShowDetail_Click()
{
    Guard g{"cmdShowDetail_Click", kModule, Guard::Text::NumberFirst};
    g([&] { cSHAREDSubs::instance().BusyMouse(); });
    g([&] {
        txtDetails->show();
        txtDetails->setPlainText("Retrieving info...");
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    g([&] {
        const QString notes = m_internet->OpenURL(m_detailsUrl, false);
        // An error status now arrives as no text at all.
        if (notes.trimmed().isEmpty()
            || (notes.contains("html", Qt::CaseInsensitive) && notes.contains("404", Qt::CaseInsensitive)))
            txtDetails->setPlainText(
                tr_("Unable to read data from server. Please check your internet settings and try again."));
        else
            txtDetails->setPlainText(notes);
    });
    cSHAREDSubs::instance().NormalMouse();
}

void fSHAREDUpdater::cmdProxy_Click()
{
    Guard g{"cmdProxy_Click", kModule};
    g([&] {
        fSHAREDProxy proxy(this);
        cSharedLang::instance().TranslateForm(&proxy);
        proxy.exec();
    });
}

void fSHAREDUpdater::cmdExit_Click() { CloseUpdater(); }

void fSHAREDUpdater::CloseUpdater()
{
    Guard g{"CloseUpdater", kModule};
    g([&] { settings().sSet("DisableAutoUpdateCheck", chkDisableAutoUpdate->isChecked()); });
    emit FormClosed();
    unload();
}

void fSHAREDUpdater::reject()
{
    // Otherwise the dialog would hide itself without storing the check box.
    if (m_loaded)
        CloseUpdater();
    else
        QDialog::reject();
}

void fSHAREDUpdater::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && m_loaded)
        CloseUpdater();
    event->accept();
}
