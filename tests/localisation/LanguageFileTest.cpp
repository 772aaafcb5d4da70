#include "localisation/LangTest.h"
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>

using LanguageFiles = LangTest;

TEST_F(LanguageFiles, ListingTakesTitlesSkipsTheTemplateAndFallsBackToThePosition)
{
    language("a_german.txt", "# comment\r\n\r\n  Deutsch  \r\nExit||Beenden\r\n");
    language("b_untitled.txt", "# only a comment\r\n\t\r\n   \r\n\t#\tanother\r\n");
    language("Template.TXT", "Template\r\nExit||Exit\r\n");
    language("c_french.txt", "\tFran\xc3\xa7" "ais\nExit||Quitter\n");
    language("readme.doc", "Not a language\r\n");

    lang().LoadAllLanguages();

    ASSERT_EQ(lang().LanguageCount(), 3);
    EXPECT_EQ(lang().LanguageTitle(1), "Deutsch");
    EXPECT_EQ(lang().LanguageTitle(2), "Language 2");
    EXPECT_EQ(lang().LanguageTitle(3), QString::fromUtf8("Fran\xc3\xa7" "ais"));
    EXPECT_EQ(lang().LanguageTitle(4), "");
}

TEST_F(LanguageFiles, PairLinesAreTrimmedLoseTheirTabsAndSplitAtTheFirstBreak)
{
    language("de.txt", "Deutsch\r\n"
                       "  Exit   ||   Beenden  \r\n"
                       "Tab\tText||Tabulator\r\n"
                       "\t# tabbed comment||Kommentar\r\n"
                       "Save||Sichern||Speichern\r\n"
                       "No separator here\r\n"
                       "Close||Schlie\xc3\x9f" "en\r\n"
                       "Last||Letzte");
    // Carried over from Windows: Windows-1252 bytes.
    language("fr.txt", "Fran\xe7" "ais\r\nClose||Fermer \xe0 cl\xe9\r\n");

    load(1);
    EXPECT_EQ(lang().CurrentLanguage(), "Deutsch");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Beenden");
    EXPECT_EQ(lang().GetTranslation("TabText"), "Tabulator");
    EXPECT_EQ(lang().GetTranslation("Tab\tText"), "Tab\tText");
    EXPECT_EQ(lang().GetTranslation("# tabbed comment"), "# tabbed comment");
    EXPECT_EQ(lang().GetTranslation("Save"), "Sichern||Speichern");
    EXPECT_EQ(lang().GetTranslation("No separator here"), "No separator here");
    EXPECT_EQ(lang().GetTranslation("Close"), QString::fromUtf8("Schlie\xc3\x9f" "en"));
    EXPECT_EQ(lang().GetTranslation("Last"), "Letzte");

    lang().LoadLanguage(2);
    EXPECT_EQ(lang().CurrentLanguage(), QString::fromUtf8("Fran\xc3\xa7" "ais"));
    EXPECT_EQ(lang().GetTranslation("Close"), QString::fromUtf8("Fermer \xc3\xa0 cl\xc3\xa9"));
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");
}

TEST_F(LanguageFiles, LoadingFollowsTheIndexRules)
{
    language("1_de.txt", "Deutsch\r\nExit||Beenden\r\n");
    language("2_fr.txt", "Francais\r\nExit||Quitter\r\n");
    language("3_lost.txt", "# the title line was lost\r\n");
    lang().LoadAllLanguages();

    lang().LoadLanguage(0);
    EXPECT_EQ(lang().CurrentLanguage(), "English");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");

    lang().LoadLanguage(1);
    EXPECT_EQ(lang().GetTranslation("Exit"), "Beenden");

    // Beyond the list: logged, the table stays.
    lang().LoadLanguage(4);
    EXPECT_TRUE(lastAction().endsWith("(9) in LoadLanguage of module mLang")) << qPrintable(lastAction());
    EXPECT_EQ(lang().CurrentLanguage(), "Deutsch");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Beenden");

    // A file without a title does not pass for the language loaded before it.
    lang().LoadLanguage(3);
    EXPECT_EQ(lang().CurrentLanguage(), "Language 3");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");
    lang().LoadLanguage(1);
    EXPECT_EQ(lang().GetTranslation("Exit"), "Beenden");

    // Already loaded: the file is not read again.
    QFile::remove(path("Languages/1_de.txt"));
    lang().LoadLanguage(1);
    EXPECT_EQ(lang().GetTranslation("Exit"), "Beenden");

    // A file gone since the listing leaves an empty table.
    lang().LoadLanguage(2);
    lang().LoadLanguage(1);
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");
    EXPECT_EQ(lang().GetTranslation("Quitter"), "Quitter");

    lang().LoadLanguage(-1);
    EXPECT_EQ(lang().CurrentLanguage(), "English");
}

TEST_F(LanguageFiles, HostileFilesLoadAndLookupsStillAnswer)
{
    const QByteArray longLine(1 << 20, 'x');
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(static_cast<char>((i * 37) % 256));
    QByteArray many = "Many\r\n";
    for (int i = 4999; i >= 0; --i)
        many += "Text " + QByteArray::number(i) + "||Nr " + QByteArray::number(i) + "\r\n";

    language("1_empty.txt", "");
    language("2_comments.txt", "# one\r\n#two\r\n");
    language("3_long.txt", "Long\r\n" + longLine + "||y\r\nExit||Ende\r\n" + longLine + "\r\n");
    language("4_binary.txt", binary);
    language("5_many.txt", many);
    language("6_nopairs.txt", "Pairs\r\nJust text\r\nMore text\r\n");

    lang().LoadAllLanguages();
    ASSERT_EQ(lang().LanguageCount(), 6);
    EXPECT_EQ(lang().LanguageTitle(1), "Language 1");
    EXPECT_EQ(lang().LanguageTitle(2), "Language 2");
    EXPECT_EQ(lang().LanguageTitle(3), "Long");
    EXPECT_FALSE(lang().LanguageTitle(4).isEmpty());

    for (int i = 1; i <= 6; ++i) {
        lang().LoadLanguage(i);
        EXPECT_EQ(lang().GetTranslation("Checking for update"), "Checking for update") << i;
    }

    lang().LoadLanguage(3);
    EXPECT_EQ(lang().GetTranslation(QString::fromLatin1(longLine)), "y");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Ende");

    lang().LoadLanguage(5);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(lang().GetTranslation("Text " + QString::number(i)), "Nr " + QString::number(i));

    lang().LoadLanguage(6);
    EXPECT_EQ(lang().GetTranslation(""), "");
    EXPECT_EQ(lang().GetTranslation("Just text"), "Just text");
}

TEST_F(LanguageFiles, MissingFolderGivesOnlyEnglish)
{
    QListWidget list;
    lang().FillLanguageList(&list);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.item(0)->text(), "English");
    EXPECT_EQ(lang().LanguageCount(), 0);

    lang().LoadLanguage(1);
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");
}

TEST_F(LanguageFiles, ListsAreFilledAndTheTitleSelected)
{
    language("a.txt", "Deutsch\r\n");
    language("b.txt", "Francais\r\n");
    language("c.txt", "Deutsch\r\n");

    QListWidget list;
    list.addItem("stale");
    lang().FillLanguageList(&list);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(3)->text(), "Deutsch");

    lang().SetListToSelected("Deutsch", &list);
    EXPECT_EQ(list.currentRow(), 3);  // the last entry of that title
    lang().SetListToSelected("Klingon", &list);
    EXPECT_EQ(list.currentRow(), 3);  // nothing found: the selection stays

    QListWidget fresh;
    fresh.addItems({"English", "Francais"});
    lang().SetListToSelected("francais", &fresh);
    EXPECT_EQ(fresh.currentRow(), 0);  // exact comparison

    QComboBox box;
    lang().FillLanguageList(&box);
    ASSERT_EQ(box.count(), 4);
    lang().SetListToSelected("Francais", &box);
    EXPECT_EQ(box.currentIndex(), 2);
}

TEST_F(LanguageFiles, LanguagePathCanBeOverriddenWithAnExistingFolder)
{
    EXPECT_EQ(lang().LanguagePath(), QDir::toNativeSeparators(dir.path()));

    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    QDir(other.path()).mkpath("Languages");
    QFile file(other.filePath("Languages/it.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Italiano\r\n");
    file.close();

    lang().OverrideLanguagePath(other.path() + "/");
    EXPECT_EQ(lang().LanguagePath(), other.path());
    lang().LoadAllLanguages();
    ASSERT_EQ(lang().LanguageCount(), 1);
    EXPECT_EQ(lang().LanguageTitle(1), "Italiano");

    lang().OverrideLanguagePath(other.path() + "/missing");
    EXPECT_EQ(lang().LanguagePath(), other.path());
}
