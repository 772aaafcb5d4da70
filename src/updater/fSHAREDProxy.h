#pragma once
#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The proxy window: how the update checker reaches the network. It only reads and writes the
// "Proxy…" settings; the transport applies them before every request. Log name "frmProxySetup".
class fSHAREDProxy : public QDialog {
    Q_OBJECT
public:
    explicit fSHAREDProxy(QWidget* parent = nullptr);

    void Form_Load();
    void optNamed_Click();
    void optDefault_Click();
    void optNoProxy_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    // Escape saves nothing, as Cancel.
    void reject() override;

    QRadioButton* optNamed = nullptr;
    QRadioButton* optDefault = nullptr;
    QRadioButton* optNoProxy = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtServer = nullptr;
    QLineEdit* txtPort = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtPassword2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWidgets();
    void connectHandlers();
    void chooseType(int type);
    int chosenType() const;
};
