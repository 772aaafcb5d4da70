#include "localisation/LangTest.h"

using Lookup = LangTest;

TEST_F(Lookup, WithoutALanguageEveryTextComesBackUnchanged)
{
    for (const QString& text : {QString("Checking for update"), QString("You're up to date!"), QString(),
                                QString(" Exit "), QString::fromLatin1("a\0b", 3)})
        EXPECT_EQ(lang().GetTranslation(text), text);
    lang().RevertToEnglish();
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");
}

// In character-code order: AAA Mango Zebra _under apple banana cherry zzz \u00c4pfel.
class SortedLookup : public Lookup {
protected:
    void SetUp() override
    {
        Lookup::SetUp();
        language("de.txt", "Deutsch\r\n"
                           "banana||b\r\nZebra||Z\r\napple||a\r\nMango||M\r\n\xc3\x84" "pfel||last\r\n"
                           "cherry||c\r\nAAA||first\r\nzzz||z\r\n_under||u\r\n");
        load(1);
    }
};

TEST_F(SortedLookup, TableIsSortedByCharacterCodeSoBisectionFindsEveryEntry)
{
    const QList<QPair<QString, QString>> pairs = {
        {"AAA", "first"}, {"Mango", "M"}, {"Zebra", "Z"}, {"_under", "u"}, {"apple", "a"},
        {"banana", "b"},  {"cherry", "c"}, {"zzz", "z"},  {QString::fromUtf8("\xc3\x84" "pfel"), "last"}};
    for (const auto& [english, translation] : pairs)
        EXPECT_EQ(lang().GetTranslation(english), translation) << qPrintable(english);
}

TEST_F(SortedLookup, OnlyTheFirstAndLastEntriesIgnoreCaseAndBlanks)
{
    EXPECT_EQ(lang().GetTranslation(" aaa "), "first");
    EXPECT_EQ(lang().GetTranslation(QString::fromUtf8("\xc3\xa4" "PFEL ")), "last");
    // The same differences on entries in the middle are not found.
    for (const QString text : {"mango", " Mango", "Mango ", "ZZZ", "Apple"})
        EXPECT_EQ(lang().GetTranslation(text), text) << qPrintable(text);
}

TEST_F(Lookup, RevertToEnglishTranslatesBackOnce)
{
    language("de.txt", "Deutsch\r\nExit||Beenden\r\nAbout||\xc3\x9c" "ber\r\nStart||Anfang\r\n");
    load(1);
    lang().RevertToEnglish();

    EXPECT_EQ(lang().CurrentLanguage(), "English");
    EXPECT_EQ(lang().GetTranslation("Beenden"), "Exit");
    EXPECT_EQ(lang().GetTranslation(QString::fromUtf8("\xc3\x9c" "ber")), "About");
    EXPECT_EQ(lang().GetTranslation("Anfang"), "Start");
    EXPECT_EQ(lang().GetTranslation("Exit"), "Exit");

    // Already English: neither a second revert nor language 0 turns the table round again.
    lang().RevertToEnglish();
    lang().LoadLanguage(0);
    EXPECT_EQ(lang().GetTranslation("Beenden"), "Exit");
}
