#include "localisation/LangTest.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace {
// Every English text of the window, each translated to "<text> (de)"; a text translated twice
// would come out as "TWICE".
const QStringList kTexts = {"Zelvo Setup", "OK", "Save the settings", "Name", "Your name", "Logo",
                            "Alarm", "Sound", "Direct", "No proxy", "Proxy", "Proxy settings",
                            "Server", "Server name", "Notes", "Mode", "Choice", "File", "Size",
                            "Files", "Column", "Table", "General", "Advanced", "Page", "Progress",
                            "Count", "Open", "Open a file", "Recent", "&File", "E&xit", "Language"};

QByteArray germanFile()
{
    QByteArray file = "Deutsch\r\n";
    for (const QString& text : kTexts)
        file += text.toUtf8() + "||" + text.toUtf8() + " (de)\r\n" + text.toUtf8() + " (de)||TWICE\r\n";
    return file;
}

// A window holding one of every kind of widget the translation knows, and some it leaves alone.
struct SetupWindow {
    SetupWindow()
    {
        window.setWindowTitle("Zelvo Setup");
        auto* central = new QWidget(&window);
        window.setCentralWidget(central);
        auto* layout = new QVBoxLayout(central);
        const auto add = [&](auto* widget, const QString& tip) {
            widget->setToolTip(tip);
            layout->addWidget(widget);
            return widget;
        };
        cmdOK = add(new QPushButton("OK"), "Save the settings");
        lblName = add(new QLabel("Name"), "Your name");
        picLogo = add(new QLabel, "Logo");
        QPixmap logo(8, 8);
        logo.fill(Qt::red);
        picLogo->setPixmap(logo);
        chkAlarm = add(new QCheckBox("Alarm"), "Sound");
        optDirect = add(new QRadioButton("Direct"), "No proxy");
        fraProxy = add(new QGroupBox("Proxy"), "Proxy settings");
        txtServer = add(new QLineEdit("Server"), "Server name");
        txtNotes = add(new QPlainTextEdit("Notes"), "");
        cboMode = add(new QComboBox, "Mode");
        cboMode->addItems({"OK", "Name"});
        cboChoice = add(new QComboBox, "Choice");
        cboChoice->setEditable(true);
        cboChoice->setEditText("Server");
        lvwFiles = add(new QTreeWidget, "Files");
        lvwFiles->setHeaderLabels({"File", "Size"});
        grdTable = add(new QTableWidget(1, 1), "Table");
        grdTable->setHorizontalHeaderLabels({"Column"});
        tabPages = add(new QTabWidget, "");
        tabPages->addTab(new QWidget, "General");
        tabPages->addTab(new QWidget, "Advanced");
        tbsStrip = add(new QTabBar, "");
        tbsStrip->addTab("Page");
        prgDone = add(new QProgressBar, "Progress");
        spnCount = add(new QSpinBox, "Count");
        new QTimer(&window);

        QToolBar* bar = window.addToolBar("Tools");
        QAction* open = bar->addAction("Open");
        open->setToolTip("Open a file");
        auto* recent = new QMenu(bar);
        recent->addAction("Recent");
        open->setMenu(recent);
        bar->addSeparator();

        QMenu* file = window.menuBar()->addMenu("&File");
        file->addAction("E&xit");
        file->addSeparator();
        file->addMenu("Language");
    }

    QStringList texts() const
    {
        QStringList all = {window.windowTitle(), cmdOK->text(), cmdOK->toolTip(), lblName->text(),
                           lblName->toolTip(), picLogo->toolTip(), chkAlarm->text(), chkAlarm->toolTip(),
                           optDirect->text(), optDirect->toolTip(), fraProxy->title(), fraProxy->toolTip(),
                           txtServer->text(), txtServer->toolTip(), txtNotes->toPlainText(),
                           cboMode->toolTip(), cboChoice->toolTip(),
                           lvwFiles->headerItem()->text(0), lvwFiles->headerItem()->text(1), lvwFiles->toolTip(),
                           grdTable->horizontalHeaderItem(0)->text(), grdTable->toolTip(),
                           tabPages->tabText(0), tabPages->tabText(1), tbsStrip->tabText(0),
                           prgDone->toolTip()};
        QToolBar* bar = window.findChild<QToolBar*>();
        QAction* open = bar->actions().first();
        all << open->text() << open->toolTip() << open->menu()->actions().first()->text();
        const QList<QAction*> menus = window.menuBar()->actions();
        QMenu* file = menus.first()->menu();
        all << file->title() << file->actions().at(0)->text() << file->actions().at(2)->text();
        return all;
    }

    QMainWindow window;
    QPushButton* cmdOK;
    QLabel* lblName;
    QLabel* picLogo;
    QCheckBox* chkAlarm;
    QRadioButton* optDirect;
    QGroupBox* fraProxy;
    QLineEdit* txtServer;
    QPlainTextEdit* txtNotes;
    QComboBox* cboMode;
    QComboBox* cboChoice;
    QTreeWidget* lvwFiles;
    QTableWidget* grdTable;
    QTabWidget* tabPages;
    QTabBar* tbsStrip;
    QProgressBar* prgDone;
    QSpinBox* spnCount;
};

class TranslateForm : public LangTest {
protected:
    void SetUp() override
    {
        LangTest::SetUp();
        form = std::make_unique<SetupWindow>();
    }
    void TearDown() override
    {
        form.reset();
        LangTest::TearDown();
    }
    QString logText() const { return QString::fromUtf8(readBytes("log.txt")); }

    std::unique_ptr<SetupWindow> form;
};
}

TEST_F(TranslateForm, WithoutALanguageEveryTextStays)
{
    const QStringList before = form->texts();
    language("de.txt", germanFile());
    lang().LoadAllLanguages();

    lang().TranslateForm(&form->window);
    lang().TranslateForm(nullptr);

    EXPECT_EQ(form->texts(), before);
    EXPECT_EQ(form->spnCount->toolTip(), "Count");
}

TEST_F(TranslateForm, EveryKindOfWidgetIsTranslatedOnce)
{
    language("de.txt", germanFile());
    load(1);

    lang().TranslateForm(&form->window);

    QStringList expected;
    // Order of texts() minus the untranslated ones; the empty notes tooltip is not a text.
    const QStringList order = {"Zelvo Setup", "OK", "Save the settings", "Name", "Your name", "Logo",
                               "Alarm", "Sound", "Direct", "No proxy", "Proxy", "Proxy settings",
                               "Server", "Server name", "Notes", "Mode", "Choice", "File", "Size",
                               "Files", "Column", "Table", "General", "Advanced", "Page", "Progress",
                               "Open", "Open a file", "Recent", "&File", "E&xit", "Language"};
    for (const QString& text : order)
        expected << text + " (de)";
    EXPECT_EQ(form->texts(), expected);

    // Items, pictures, the line inside an editable combo box and other widgets stay as they were.
    EXPECT_EQ(form->cboMode->itemText(0), "OK");
    EXPECT_EQ(form->cboChoice->currentText(), "Server");
    EXPECT_TRUE(form->picLogo->text().isEmpty());
    EXPECT_FALSE(form->picLogo->pixmap().isNull());
    EXPECT_EQ(form->spnCount->toolTip(), "Count");
}

TEST_F(TranslateForm, LocaliseGoesFromOneLanguageToAnotherThroughEnglish)
{
    language("1_de.txt", "Deutsch\r\nExit||Beenden\r\nStart||Starten\r\nZelvo Setup||Zelvo Einrichtung\r\n");
    language("2_fr.txt", "Fran\xc3\xa7" "ais\r\nExit||Quitter\r\nStart||D\xc3\xa9marrer\r\n");
    lang().LoadAllLanguages();
    form->cmdOK->setText("Exit");
    form->lblName->setToolTip("Start");

    lang().Localise(&form->window, 1);
    EXPECT_EQ(form->cmdOK->text(), "Beenden");
    EXPECT_EQ(form->lblName->toolTip(), "Starten");
    EXPECT_EQ(form->window.windowTitle(), "Zelvo Einrichtung");

    lang().Localise(&form->window, 2);
    EXPECT_EQ(form->cmdOK->text(), "Quitter");
    EXPECT_EQ(form->lblName->toolTip(), QString::fromUtf8("D\xc3\xa9marrer"));
    EXPECT_EQ(form->window.windowTitle(), "Zelvo Setup");

    lang().Localise(&form->window, 0);
    EXPECT_EQ(form->cmdOK->text(), "Exit");
    EXPECT_EQ(form->lblName->toolTip(), "Start");
    EXPECT_EQ(lang().CurrentLanguage(), "English");
}

TEST_F(TranslateForm, MissingFontIsLoggedClearedAndTheTextsStillTranslate)
{
    language("de.txt", germanFile());
    load(1);
    const QString family = form->lblName->font().family();
    lang().setFormFontName("  No Such Font Zelvo  ");

    lang().TranslateForm(&form->window);

    EXPECT_TRUE(logText().contains("Cannot set font to No Such Font Zelvo. Not present.")) << qPrintable(logText());
    EXPECT_EQ(lang().FormFontName(), "");
    EXPECT_EQ(form->lblName->font().family(), family);
    EXPECT_EQ(form->cmdOK->text(), "OK (de)");
}

TEST_F(TranslateForm, InstalledFontIsSetOnEveryWidgetButSymbolButtons)
{
    const QStringList families = QFontDatabase::families();
    if (families.isEmpty())
        GTEST_SKIP() << "no fonts installed for the offscreen platform";
    const QString installed = families.first();
    QFont symbols = form->cmdOK->font();
    symbols.setFamily("Webdings");
    form->cmdOK->setFont(symbols);
    lang().setFormFontName(" " + installed.toUpper() + " ");

    lang().TranslateForm(&form->window);

    EXPECT_FALSE(logText().contains("Cannot set font")) << qPrintable(logText());
    EXPECT_EQ(form->lblName->font().family(), installed.toUpper());
    EXPECT_EQ(form->txtServer->font().family(), installed.toUpper());
    EXPECT_EQ(form->window.font().family(), installed.toUpper());
    EXPECT_EQ(form->cmdOK->font().family(), "Webdings");
    EXPECT_EQ(lang().FormFontName(), " " + installed.toUpper() + " ");
}
