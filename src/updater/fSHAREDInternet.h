#pragma once
#include "platform/InternetControl.h"
#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class AppError;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

// The transfer window: owns the transfer control, turns its states into status, progress and
// completion events, and writes a downloaded body to its file. Log name "fSHAREDInternet".
class fSHAREDInternet : public QDialog {
    Q_OBJECT
public:
    // Ticks of Timer1 (seconds) without any sign of progress before a transfer is given up.
    static constexpr int kInactivityLimit = 60;

    explicit fSHAREDInternet(QWidget* parent = nullptr);
    ~fSHAREDInternet() override;

    bool SuppressAllButDLAndErrors() const { return m_suppressAllButDLAndErrors; }
    void setSuppressAllButDLAndErrors(bool on) { m_suppressAllButDLAndErrors = on; }
    bool SuppressAllButErrors() const { return m_suppressAllButErrors; }
    void setSuppressAllButErrors(bool on) { m_suppressAllButErrors = on; }
    std::int32_t ExpectedFilesize() const { return m_expectedSize; }

    void Cancel();
    QString OpenURL(const QString& sUrl, bool ShowStatus);
    void CancelDownload();
    void DownloadFile(const QString& sUrl, const QString& fileName, bool bGetSize);
    bool Connected();
    void ApplyProxy();
    QString ProxyUser();
    QString ProxyPassword();

    void inet1_StateChanged(int state);
    void Timer1_Timer();
    void cmdStop_Click() { Cancel(); }

    // Tests shorten the time-out instead of waiting a minute.
    void setInactivityLimit(int ticks) { m_inactivityLimit = ticks; }
    bool noControl() const { return m_noControl; }
    bool done() const { return m_done; }
    InternetControl* inetControl() const { return Inet1.get(); }

    QGroupBox* Frame1 = nullptr;
    QLabel* lblFile = nullptr;
    QLabel* lblProgress = nullptr;
    QPushButton* cmdStop = nullptr;
    QTimer* Timer1 = nullptr;
    std::unique_ptr<InternetControl> Inet1;

signals:
    void Status(const QString& Message);
    void Progress(float Progresspercent, const QString& Message);
    void DownloadFinished();
    void DownloadCancelled();
    void DownloadError(const QString& Message);
    void UploadError(const QString& Message);
    void Receiving();
    void NoInternet();

private:
    InternetControl& inet() const;
    void buildWidgets();
    void downloadFtp(const QString& address);
    void stateError();
    void responseReceived();
    void responseCompleted();
    bool refuseHttpStatus();
    void readBody();
    void reportProgress(std::int64_t received);
    void passProgress(float percent, const QString& text);
    // The errors of the control that the state handler answers itself; false for any other.
    bool controlError(const AppError& error);

    bool m_suppressAllButDLAndErrors = false;
    bool m_suppressAllButErrors = false;
    std::int32_t m_expectedSize = 0;
    QString m_textBuffer;
    bool m_done = false;
    bool m_fileMode = false;
    bool m_getSize = false;
    QString m_targetFile;
    int m_inactivity = 0;
    int m_inactivityLimit = kInactivityLimit;
    bool m_noControl = false;
    QString m_address;
    double m_lastProgress = 0;
    float m_percent = 0;
};
