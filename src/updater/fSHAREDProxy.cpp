#include "updater/fSHAREDProxy.h"
#include "diagnostics/cSharedHelp.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include "updater/cSharedDecrypt.h"
#include "updater/cSharedEncrypt.h"
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdint>

namespace {
const QString kLog = QStringLiteral("frmProxySetup");

enum ProxyType : std::int32_t { SystemDefault = 0, Direct = 1, Manual = 2 };

QRadioButton* option(const char* name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    o->setToolTip(tip);
    return o;
}

QLineEdit* field(const char* name, QWidget* parent)
{
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    return f;
}

// The password fields show a "*" for every typed character.
QLineEdit* passwordField(const char* name, QWidget* parent)
{
    QLineEdit* f = field(name, parent);
    f->setEchoMode(QLineEdit::Password);
    f->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return f;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QString textSetting(const char* key)
{
    return cSHAREDSettings::instance().sGet(QLatin1String(key), QString()).toText();
}
}

fSHAREDProxy::fSHAREDProxy(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fSHAREDProxy"));
    setWindowTitle(QStringLiteral("Proxy Setup"));
    buildWidgets();
    connectHandlers();
    Form_Load();
}

void fSHAREDProxy::buildWidgets()
{
    optNamed = option("optNamed", QStringLiteral("Manual Settings"),
                      QStringLiteral("Allows you to specify proxy settings manually"), this);
    optDefault = option("optDefault", QStringLiteral("System Default Proxy"),
                        QStringLiteral("Uses your Internet Explorer settings"), this);
    optNoProxy = option("optNoProxy", QStringLiteral("No Proxy"), QStringLiteral("Switches off the proxy"), this);

    Frame1 = new QGroupBox(QStringLiteral("Proxy Settings"), this);
    Frame1->setObjectName("Frame1");
    txtServer = field("txtServer", Frame1);
    txtPort = field("txtPort", Frame1);
    txtUser = field("txtUser", Frame1);
    txtPassword = passwordField("txtPassword", Frame1);
    txtPassword2 = passwordField("txtPassword2", Frame1);
    auto* fields = new QFormLayout(Frame1);
    fields->addRow(QStringLiteral("Server:"), txtServer);
    fields->addRow(QStringLiteral("Port:"), txtPort);
    fields->addRow(QStringLiteral("User:"), txtUser);
    fields->addRow(QStringLiteral("Password:"), txtPassword);
    fields->addRow(QStringLiteral("Enter Again:"), txtPassword2);
    // Shown only while "Manual Settings" is chosen, and nothing is chosen yet.
    Frame1->hide();

    cmdOK = button("cmdOK", QStringLiteral("OK"), this);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), this);
    cmdHelp = button("cmdHelp", QStringLiteral("Help"), this);
    cmdOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optDefault);
    layout->addWidget(optNoProxy);
    layout->addWidget(optNamed);
    layout->addWidget(Frame1);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void fSHAREDProxy::connectHandlers()
{
    // Choosing an option from the code runs its click step too, as a click would.
    connect(optNamed, &QRadioButton::toggled, this, [this](bool on) { if (on) optNamed_Click(); });
    connect(optDefault, &QRadioButton::toggled, this, [this](bool on) { if (on) optDefault_Click(); });
    connect(optNoProxy, &QRadioButton::toggled, this, [this](bool on) { if (on) optNoProxy_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
}

void fSHAREDProxy::Form_Load()
{
    Guard g{QStringLiteral("Form_Load"), kLog};
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    g([&] { chooseType(settings.sGet(QStringLiteral("ProxyType"), Value(std::int32_t{Direct})).toInt16()); });
    g([&] { txtPort->setText(textSetting("ProxyPort")); });
    g([&] { txtServer->setText(textSetting("ProxyServer")); });
    g([&] { txtUser->setText(textSetting("ProxyUser")); });
    g([&] {
        const QString password = cSharedDecrypt().Decrypt(textSetting("ProxyPwd"));
        txtPassword->setText(password);
        txtPassword2->setText(password);
    });
}

// Any other number leaves every option clear.
void fSHAREDProxy::chooseType(int type)
{
    QRadioButton* chosen = type == Direct ? optNoProxy : type == SystemDefault ? optDefault : type == Manual ? optNamed : nullptr;
    if (!chosen)
        return;
    chosen->setChecked(true);
    chosen->setFocus();  // the window opens on the choice in force
}

int fSHAREDProxy::chosenType() const
{
    if (optDefault->isChecked())
        return SystemDefault;
    if (optNamed->isChecked())
        return Manual;
    return Direct;
}

void fSHAREDProxy::optNamed_Click() { Frame1->show(); }

void fSHAREDProxy::optDefault_Click() { Frame1->hide(); }

void fSHAREDProxy::optNoProxy_Click() { Frame1->hide(); }

void fSHAREDProxy::cmdOK_Click()
{
    Guard g{QStringLiteral("cmdOK_Click"), kLog};
    if (txtPassword->text() != txtPassword2->text()) {
        g([&] {
            Platform::dialogs().message(QStringLiteral("Your passwords don't match.  Please retype them."),
                                        Dialogs::Buttons::Ok, QStringLiteral("Zelvo"));
        });
        return;
    }
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    g([&] { settings.sSet(QStringLiteral("ProxyServer"), txtServer->text()); });
    g([&] { settings.sSet(QStringLiteral("ProxyPort"), txtPort->text()); });
    g([&] { settings.sSet(QStringLiteral("ProxyUser"), txtUser->text()); });
    // A password that cannot be scrambled is not stored; the previous one stays.
    g([&] { settings.sSet(QStringLiteral("ProxyPwd"), cSharedEncrypt().Encrypt(txtPassword->text())); });
    g([&] { settings.sSet(QStringLiteral("ProxyType"), Value(std::int32_t{chosenType()})); });
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void fSHAREDProxy::cmdCancel_Click()
{
    Guard g{QStringLiteral("cmdCancel_Click"), kLog};
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void fSHAREDProxy::cmdHelp_Click()
{
    Guard g{QStringLiteral("cmdHelp_Click"), kLog};
    g([&] { cSharedHelp::instance().ShowHelp(this, QString()); });
}

// The title-bar close saves nothing, as Cancel.
void fSHAREDProxy::closeEvent(QCloseEvent* event)
{
    cmdCancel_Click();
    event->accept();
}

void fSHAREDProxy::reject() { cmdCancel_Click(); }
