#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class fSHAREDInternet;

// The download facade: fetches an address as text or into a file and waits for the result while
// window messages keep running. Log name "cSHAREDInternet".
class cSHAREDInternet : public QObject {
    Q_OBJECT
public:
    explicit cSHAREDInternet(QObject* parent = nullptr);
    ~cSHAREDInternet() override;

    void setSuppressAllButDLAndErrors(bool on);
    void setSuppressAllButErrors(bool on);
    void ApplyProxy();
    void Cancel();
    bool GetFile(const QString& strUrl, const QString& fileName, bool GetSize, bool SuppressAllButDLAndErrors,
                 bool SuppressAllButErrors, bool WithProgressForm);
    std::int32_t ExpectedFilesize() const;
    QString OpenURL(const QString& sUrl, bool ShowStatus);
    bool Connected();

    // The transfer window, for those who must look inside.
    fSHAREDInternet& transferWindow() const { return *m_window; }

signals:
    void Status(const QString& Message);
    void Progress(float Progresspercent, const QString& Message);
    void NoInternet();
    void Receiving();
    void DownloadCancelled();

private:
    void connectWindow();
    bool ended() const { return m_error || m_finished || m_cancelled; }

    std::unique_ptr<fSHAREDInternet> m_window;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_error = false;
};
