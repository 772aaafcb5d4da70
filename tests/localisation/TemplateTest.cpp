#include "localisation/LangTest.h"
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

using Templates = LangTest;

TEST_F(Templates, WriteStringsListsEachTextOfAWindowAndEndsTheBlock)
{
    QWidget window;
    window.setWindowTitle("Setup");
    (new QPushButton("OK", &window))->setToolTip("Save");
    new QLabel(&window);
    new QLineEdit("Server", &window);
    (new QTreeWidget(&window))->setHeaderLabels({"File"});
    (new QTabWidget(&window))->addTab(new QWidget, "General");
    QMenu* file = (new QMenuBar(&window))->addMenu("File");
    file->addAction("Exit");
    file->addAction("-");
    file->addSeparator();

    lang().WriteStrings(&window, "");
    const QByteArray block = "Setup||Setup\r\nOK||OK\r\nSave||Save\r\nServer||Server\r\nFile||File\r\n"
                             "General||General\r\nFile||File\r\nExit||Exit\r\n\r\n";
    EXPECT_EQ(readBytes("FormsText.txt"), block);

    lang().WriteStrings(&window, path("other.txt"));
    lang().WriteStrings(&window, path("other.txt"));
    EXPECT_EQ(readBytes("other.txt"), block + block);
}

TEST_F(Templates, GenerateLanguageTemplateWritesEveryOpenWindowAfresh)
{
    writeBytes("FormsText.txt", "stale\r\n");
    QWidget main;
    main.setWindowTitle("Zelvo");
    new QLabel("Hello", &main);
    QDialog proxy;
    proxy.setWindowTitle("Proxy");
    new QPushButton("OK", &proxy);

    lang().GenerateLanguageTemplate();

    const QByteArray written = readBytes("FormsText.txt");
    const QByteArray first = "Zelvo||Zelvo\r\nHello||Hello\r\n\r\n";
    const QByteArray second = "Proxy||Proxy\r\nOK||OK\r\n\r\n";
    EXPECT_TRUE(written.startsWith("\r\n")) << written.constData();
    EXPECT_TRUE(written.contains(first)) << written.constData();
    EXPECT_TRUE(written.contains(second)) << written.constData();
    EXPECT_EQ(written.size(), 2 + first.size() + second.size()) << written.constData();
}

TEST_F(Templates, UpdateTemplatesAddsTheMissingTextsToEachLanguageOnce)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    QDir(other.path()).mkpath("Languages");
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(other.filePath("Languages/" + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto read = [&](const QString& name) {
        QFile f(other.filePath("Languages/" + name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray templ = "# Comment||Kommentar\r\nExit||Exit\r\nStart||Start\r\nno separator\r\n"
                             "  New text  ||  New text\r\nTab\tbed||Tab\tbed\r\n";
    write("Template.txt", templ);
    const QByteArray german = "Deutsch\r\nExit||Beenden\r\nStart||Starten\r\nTabbed||Mit Tab\r\n";
    // "exit" is the only entry, so it is also the first one and matches "Exit".
    const QByteArray french = "Francais\r\nexit||Quitter\r\n";
    write("de.txt", german);
    write("fr.txt", french);

    lang().UpdateTemplates(other.path());

    EXPECT_EQ(lang().LanguagePath(), other.path());
    EXPECT_EQ(read("de.txt"), german + "\r\nNew text||New text\r\n");
    EXPECT_EQ(read("fr.txt"),
              french + "\r\nStart||Start\r\n\r\nNew text||New text\r\n\r\nTabbed||Tabbed\r\n");
    EXPECT_EQ(read("Template.txt"), templ);

    // A second run finds everything in place: the files are read again, also the one whose
    // language is still loaded from the first run.
    const QByteArray frenchNow = read("fr.txt");
    QFile::remove(other.filePath("Languages/de.txt"));
    lang().UpdateTemplates(other.path());
    EXPECT_EQ(read("fr.txt"), frenchNow);
}
