#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "settings/cSHAREDSettings.h"
#include "updater/cSharedDecrypt.h"
#include "updater/cSharedEncrypt.h"
#include "updater/fSHAREDProxy.h"
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <memory>

namespace {
const QString kMismatch = QStringLiteral("Your passwords don't match.  Please retype them.");

class ProxyWindow : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
    }
    void TearDown() override
    {
        form.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }

    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }

    fSHAREDProxy& open()
    {
        form = std::make_unique<fSHAREDProxy>();
        form->show();
        return *form;
    }

    static void type(fSHAREDProxy& w, const QString& server, const QString& port, const QString& user,
                     const QString& password, const QString& again)
    {
        w.txtServer->setText(server);
        w.txtPort->setText(port);
        w.txtUser->setText(user);
        w.txtPassword->setText(password);
        w.txtPassword2->setText(again);
    }

    QStringList storedNames() const
    {
        QStringList names;
        for (int i = 1; i <= store().SettingsCount(); ++i)
            names << store().SettingNameByIndex(i);
        return names;
    }

    std::unique_ptr<fSHAREDProxy> form;
};

QString labelOf(QLineEdit* field)
{
    auto* layout = qobject_cast<QFormLayout*>(field->parentWidget()->layout());
    auto* label = layout ? qobject_cast<QLabel*>(layout->labelForField(field)) : nullptr;
    return label ? label->text() : QString();
}
}

TEST_F(ProxyWindow, ShowsItsCaptionsTooltipsAndMaskedPasswords)
{
    fSHAREDProxy& w = open();
    EXPECT_EQ(w.windowTitle(), "Proxy Setup");
    const struct {
        QRadioButton* option;
        const char* caption;
        const char* tip;
    } options[] = {
        {w.optNamed, "Manual Settings", "Allows you to specify proxy settings manually"},
        {w.optDefault, "System Default Proxy", "Uses your Internet Explorer settings"},
        {w.optNoProxy, "No Proxy", "Switches off the proxy"},
    };
    for (const auto& o : options) {
        EXPECT_EQ(o.option->text(), o.caption);
        EXPECT_EQ(o.option->toolTip(), o.tip);
    }
    EXPECT_EQ(w.Frame1->title(), "Proxy Settings");
    EXPECT_EQ(labelOf(w.txtServer), "Server:");
    EXPECT_EQ(labelOf(w.txtPort), "Port:");
    EXPECT_EQ(labelOf(w.txtUser), "User:");
    EXPECT_EQ(labelOf(w.txtPassword), "Password:");
    EXPECT_EQ(labelOf(w.txtPassword2), "Enter Again:");
    EXPECT_EQ(w.cmdOK->text(), "OK");
    EXPECT_EQ(w.cmdCancel->text(), "Cancel");
    EXPECT_EQ(w.cmdHelp->text(), "Help");

    w.txtPassword->setText("abc");
    w.txtPassword2->setText("x y");
    EXPECT_EQ(w.txtPassword->displayText(), "***");
    EXPECT_EQ(w.txtPassword2->displayText(), "***");
    w.txtUser->setText("abc");
    EXPECT_EQ(w.txtUser->displayText(), "abc");
}

TEST_F(ProxyWindow, WithNothingStoredChoosesNoProxyAndHidesTheFields)
{
    fSHAREDProxy& w = open();
    EXPECT_TRUE(w.optNoProxy->isChecked());
    EXPECT_FALSE(w.optNamed->isChecked());
    EXPECT_FALSE(w.optDefault->isChecked());
    EXPECT_FALSE(w.Frame1->isVisible());
    for (QLineEdit* f : {w.txtServer, w.txtPort, w.txtUser, w.txtPassword, w.txtPassword2})
        EXPECT_TRUE(f->text().isEmpty());
}

TEST_F(ProxyWindow, LoadsTheStoredChoiceAndFields)
{
    store().sSet("ProxyType", Value(std::int32_t{2}));
    store().sSet("ProxyServer", "proxy.local");
    store().sSet("ProxyPort", "3128");
    store().sSet("ProxyUser", "anna");
    store().sSet("ProxyPwd", cSharedEncrypt().Encrypt(QString::fromUtf8("p\xc3\xa4ss \xd0\xbf")));
    fSHAREDProxy& w = open();
    EXPECT_TRUE(w.optNamed->isChecked());
    EXPECT_TRUE(w.Frame1->isVisible());
    EXPECT_EQ(w.txtServer->text(), "proxy.local");
    EXPECT_EQ(w.txtPort->text(), "3128");
    EXPECT_EQ(w.txtUser->text(), "anna");
    EXPECT_EQ(w.txtPassword->text(), QString::fromUtf8("p\xc3\xa4ss \xd0\xbf"));
    EXPECT_EQ(w.txtPassword2->text(), w.txtPassword->text());

    // As read back from the file: text.
    store().sSet("ProxyType", "0");
    store().sSet("ProxyPwd", "plain&amp;");
    fSHAREDProxy& again = open();
    EXPECT_TRUE(again.optDefault->isChecked());
    EXPECT_FALSE(again.Frame1->isVisible());
    EXPECT_EQ(again.txtPassword->text(), "plain&amp;");
    EXPECT_EQ(again.txtPassword2->text(), "plain&amp;");
}

TEST_F(ProxyWindow, AnUnknownOrUnreadableTypeChoosesNothingAndStillFillsTheFields)
{
    store().sSet("ProxyServer", "proxy.local");
    for (const char* stored : {"7", "abc"}) {
        store().sSet("ProxyType", stored);
        fSHAREDProxy& w = open();
        EXPECT_FALSE(w.optNamed->isChecked() || w.optDefault->isChecked() || w.optNoProxy->isChecked()) << stored;
        EXPECT_FALSE(w.Frame1->isVisible()) << stored;
        EXPECT_EQ(w.txtServer->text(), "proxy.local") << stored;
    }
    cSharedLogging::instance().WriteActionsToLog();
    EXPECT_TRUE(QString::fromUtf8(readBytes("log.txt")).contains("Type mismatch (13) in Form_Load of module frmProxySetup"));
}

TEST_F(ProxyWindow, OnlyManualSettingsShowsTheFieldsWhichKeepTheirContents)
{
    fSHAREDProxy& w = open();
    w.optNamed->click();
    EXPECT_TRUE(w.Frame1->isVisible());
    w.txtServer->setText("proxy.local");
    w.optDefault->click();
    EXPECT_FALSE(w.Frame1->isVisible());
    w.optNamed->click();
    EXPECT_TRUE(w.Frame1->isVisible());
    w.optNoProxy->click();
    EXPECT_FALSE(w.Frame1->isVisible());
    EXPECT_EQ(w.txtServer->text(), "proxy.local");
}

TEST_F(ProxyWindow, DifferentPasswordsAreRefusedAndNothingIsStored)
{
    store().sSet("ProxyPwd", cSharedEncrypt().Encrypt("old"));
    fSHAREDProxy& w = open();
    w.optNamed->click();
    type(w, "proxy.local", "3128", "anna", "secret", "Secret");
    w.cmdOK->click();

    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kMismatch);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(storedNames(), QStringList{"ProxyPwd"});
    EXPECT_EQ(cSharedDecrypt().Decrypt(store().sGet("ProxyPwd", "").toText()), "old");

    w.txtPassword2->setText("secret");
    w.cmdOK->click();
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(cSharedDecrypt().Decrypt(store().sGet("ProxyPwd", "").toText()), "secret");
}

TEST_F(ProxyWindow, OkStoresEveryFieldAsTypedAndTheChosenType)
{
    const struct {
        QRadioButton* fSHAREDProxy::*option;
        std::int32_t type;
    } cases[] = {
        {&fSHAREDProxy::optDefault, 0},
        {&fSHAREDProxy::optNoProxy, 1},
        {&fSHAREDProxy::optNamed, 2},
    };
    for (const auto& c : cases) {
        cSHAREDSettings::resetInstance();
        fSHAREDProxy& w = open();
        (w.*c.option)->click();
        type(w, " proxy.local ", "80a", "", "a b&c;", "a b&c;");
        w.cmdOK->click();
        EXPECT_TRUE(dialogs->shown.empty());
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(storedNames(), (QStringList{"ProxyServer", "ProxyPort", "ProxyUser", "ProxyPwd", "ProxyType"}));
        EXPECT_EQ(store().sGet("ProxyType").toInt32(), c.type);
        EXPECT_EQ(store().sGet("ProxyServer").toText(), " proxy.local ");
        EXPECT_EQ(store().sGet("ProxyPort").toText(), "80a");
        EXPECT_EQ(store().sGet("ProxyUser").toText(), "");
        const QString scrambled = store().sGet("ProxyPwd").toText();
        EXPECT_NE(scrambled, "a b&c;");
        EXPECT_EQ(cSharedDecrypt().Decrypt(scrambled), "a b&c;");
    }
}

TEST_F(ProxyWindow, WithNoOptionChosenOkStoresNoProxy)
{
    store().sSet("ProxyType", "9");
    fSHAREDProxy& w = open();
    w.cmdOK->click();
    EXPECT_EQ(store().sGet("ProxyType").toInt32(), 1);
}

TEST_F(ProxyWindow, WhatOkStoredIsWhatTheWindowShowsNextTime)
{
    const QString password = QString::fromUtf8(" \xe5\xaf\x86&nbsp;\xc3\xa9\xf0\x9f\x94\x91");
    fSHAREDProxy& w = open();
    w.optNamed->click();
    type(w, "10.0.0.1", "8080", QString::fromUtf8("J\xc3\xb6rg"), password, password);
    w.cmdOK->click();
    ASSERT_TRUE(store().SaveSettings(path("Zelvo.ini")));
    cSHAREDSettings::resetInstance();
    store().LoadSettings(path("Zelvo.ini"));

    fSHAREDProxy& next = open();
    EXPECT_TRUE(next.optNamed->isChecked());
    EXPECT_EQ(next.txtServer->text(), "10.0.0.1");
    EXPECT_EQ(next.txtPort->text(), "8080");
    EXPECT_EQ(next.txtUser->text(), QString::fromUtf8("J\xc3\xb6rg"));
    EXPECT_EQ(next.txtPassword->text(), password);
    EXPECT_EQ(next.txtPassword2->text(), password);
}

TEST_F(ProxyWindow, CancelCloseAndEscapeStoreNothing)
{
    for (int way = 0; way < 3; ++way) {
        fSHAREDProxy& w = open();
        w.optDefault->click();
        type(w, "proxy.local", "3128", "anna", "a", "b");
        if (way == 0)
            w.cmdCancel->click();
        else if (way == 1)
            w.close();
        else
            w.reject();
        EXPECT_FALSE(w.isVisible()) << way;
        EXPECT_EQ(store().SettingsCount(), 0) << way;
        EXPECT_TRUE(dialogs->shown.empty()) << way;
    }
}

TEST_F(ProxyWindow, APasswordWithoutAScrambledFormKeepsTheOldOneAndTheRestIsStored)
{
    store().sSet("ProxyPwd", cSharedEncrypt().Encrypt("old"));
    fSHAREDProxy& w = open();
    w.optNamed->click();
    const QString broken = QString("x") + QChar(0xD800);
    w.txtPassword->setText(broken);
    w.txtPassword2->setText(broken);
    if (w.txtPassword->text() != broken)
        GTEST_SKIP() << "the line edit does not keep a lone surrogate";
    w.cmdOK->click();
    EXPECT_EQ(cSharedDecrypt().Decrypt(store().sGet("ProxyPwd", "").toText()), "old");
    EXPECT_EQ(store().sGet("ProxyType").toInt32(), 2);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().endsWith("(5) in cmdOK_Click of module frmProxySetup"));
}

TEST_F(ProxyWindow, OkEndsTheModalDisplay)
{
    form = std::make_unique<fSHAREDProxy>();
    QTimer::singleShot(0, form.get(), [this] {
        form->txtUser->setText("anna");
        form->cmdOK->click();
    });
    form->exec();
    EXPECT_EQ(store().sGet("ProxyUser").toText(), "anna");
}

TEST_F(ProxyWindow, HelpOpensTheHelpPage)
{
    fSHAREDProxy& w = open();
    w.cmdHelp->click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "Cannot find help file " + path("Help") + "/Index.htm");

    ASSERT_TRUE(QDir(dir.path()).mkpath("Help"));
    writeBytes("Help/Index.htm", "<html></html>");
    w.cmdHelp->click();
    EXPECT_EQ(shell->opened, QStringList{path("Help") + "/Index.htm"});
}
