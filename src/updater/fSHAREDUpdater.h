#pragma once
#include <QDialog>
#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class cSHAREDInternet;

// A version as the update files write it: major.minor.revision with an optional suffix.
struct UpdateVersion {
    std::int16_t major = 0, minor = 0, revision = 0;
    QString suffix;

    QString text() const;  // "2.1.3b"
    // Numbers numerically, then the suffix by character codes (an empty suffix is lowest).
    bool newerThan(const UpdateVersion& other) const;
};

// The update window: checks the maker's server, shows the verdict and notes, downloads the installer.
class fSHAREDUpdater : public QDialog {
    Q_OBJECT
public:
    explicit fSHAREDUpdater(QWidget* owner = nullptr);
    ~fSHAREDUpdater() override;

    void StopAll();
    bool CheckForUpdate(bool SuppressForm, const QString& UpdateURL, const QString& DetailsURL,
                        const QString& UpdateFilename, QString CurrentVersion);
    void ShowandCheck(const QString& UpdateURL, const QString& DetailsURL, const QString& DownloadedFilename,
                      const QString& CurrentVersion);
    void DownloadAndInstall(const QString& DownloadURL);
    void cInternet_Progress(float Progresspercent, const QString& Message);
    void cInternet_NoInternet();
    bool NoAutoCheck();
    bool DoCheckNow();
    void SaveLastCheckDate();
    static bool ExtractVersionFromWebFile(const QString& DataString, UpdateVersion& version, QString& ProgURL);
    static bool ExtractVersionFromAppVer(const QString& text, UpdateVersion& version);

    // Today's day number: days since 30 December 1899, rounded half to even.
    static std::int32_t dayNumber(double oleDate);
    // "DD/MMM/YYYY" in the locale's separator and month abbreviations.
    static QString dateText(double oleDate);

    void cmdCheckAgain_Click();
    void cmdShowDetail_Click();
    void cmdDownload_Click();
    void cmdDownloadInstall_Click();
    void cmdDownloadPage_Click();
    // Installed for the whole system (files in the per-user data folder): its own package
    // manager or installer updates it, never an installer downloaded beside it.
    static bool installedCopy();
    void cmdProxy_Click();
    void cmdExit_Click();

    QString downloadAddress() const { return m_downloadUrl; }
    cSHAREDInternet& internet() const { return *m_internet; }

    QLabel* lblProgram = nullptr;
    QLabel* lblUpdate = nullptr;
    QLabel* picStatus = nullptr;
    QPlainTextEdit* txtDetails = nullptr;
    QPushButton* cmdCheckAgain = nullptr;
    QPushButton* cmdShowDetail = nullptr;
    QCheckBox* chkDisableAutoUpdate = nullptr;
    QPushButton* cmdDownload = nullptr;
    QPushButton* cmdDownloadInstall = nullptr;
    // An installed copy offers the maker's download page instead of the two download buttons.
    QPushButton* cmdDownloadPage = nullptr;
    QPushButton* cmdProxy = nullptr;
    QPushButton* cmdExit = nullptr;

signals:
    void Status(const QString& text);
    void Finished();
    void InstallFile();
    void FormClosed();

public slots:
    // Escape: the same as the close box.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWidgets();
    void Form_Load();
    void ensureLoaded();
    void unload();
    bool DownloadFile(const QString& folder, const QString& fileName, const QString& address, bool progressWindow);
    bool fetchAddressIfMissing();
    void SetStatus(const QString& text);
    void fitStatus(const QString& text);
    void CloseUpdater();
    void showVerdict(const QString& text, const QColor& colour);
    QString programFolderSlash() const;

    std::unique_ptr<cSHAREDInternet> m_internet;
    QString m_updateUrl, m_detailsUrl, m_downloadUrl, m_installerName;
    bool m_noInternet = false;
    bool m_checking = false;
    bool m_loaded = false;
    std::int32_t m_expectedSize = 0;
};
