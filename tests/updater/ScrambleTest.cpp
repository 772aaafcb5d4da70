#include "support/ErrorOf.h"
#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "settings/cSHAREDSettings.h"
#include "support/AnsiText.h"
#include "platform/AppError.h"
#include "support/cSharedHTML.h"
#include "updater/cSharedDecrypt.h"
#include "updater/cSharedEncrypt.h"
#include <QList>

namespace {
QString encrypt(const QString& text) { return cSharedEncrypt().Encrypt(text); }
QString decrypt(const QString& text) { return cSharedDecrypt().Decrypt(text); }

// What the earlier versions wrote: the entity text in the Windows code page, every byte 100 up.
QString oldScrambled(const QByteArray& entityText)
{
    QByteArray bytes = entityText;
    for (char& b : bytes)
        b = static_cast<char>(static_cast<unsigned char>(b) + 100);
    return AnsiText::fromWindows1252(bytes);
}

QString codes(std::initializer_list<char16_t> list)
{
    QString s;
    for (char16_t c : list)
        s += QChar(c);
    return s;
}

class Scramble : public ZelvoSettingsTest {};
}

TEST_F(Scramble, MovesEveryCharacterOfTheEntityText100Up)
{
    EXPECT_EQ(encrypt("abc"), codes({197, 198, 199}));
    EXPECT_EQ(decrypt(codes({197, 198, 199})), "abc");
    EXPECT_EQ(cSharedHTML::CharToHtml(" "), "&nbsp;");
    EXPECT_EQ(encrypt(" "), oldScrambled("&nbsp;"));
    EXPECT_EQ(cSharedHTML::CharToHtml("\"<x>\xc3\xa9\xc3\x9f"), "&quot;&lt;x&gt;&eacute;&szlig;");
    // No named entity beyond Latin-1: the code point in decimal.
    EXPECT_EQ(cSharedHTML::CharToHtml(QString::fromUtf8("\xd0\xbf")), "&#1087;");
    EXPECT_EQ(cSharedHTML::CharToHtml(QString::fromUtf8("\xf0\x9f\x94\x91")), "&#128273;");
    EXPECT_EQ(encrypt(""), "");
    EXPECT_EQ(decrypt(""), "");
}

TEST_F(Scramble, EveryPasswordComesBackWhole)
{
    QString allAscii;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        allAscii += QChar(c);
    QString allLatin1;
    for (char16_t c = 0xA0; c <= 0xFF; ++c)
        allLatin1 += QChar(c);
    const QList<QString> passwords = {
        "secret",
        allAscii,
        allLatin1,
        QString::fromUtf8("p\xc3\xa4ss w\xc3\xb6rd"),
        QString::fromUtf8("\xd0\xbf\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c"),  // Cyrillic
        QString::fromUtf8("\xe5\xaf\x86\xe7\xa0\x81"),                          // CJK
        QString::fromUtf8("\xf0\x9f\x94\x91key\xf0\x9f\x98\x80"),               // emoji, outside the BMP
        QString::fromUtf8("\xe2\x82\xac\xc5\x93\xc5\xbe\xc5\xb8\xe2\x84\xa2"),  // Windows-1252 extras
        "a&b;c",
        "&amp;",
        "&#1087;",
        "&nbsp;&eacute",
        ";&;",
        "&",
        " ",
        "   ",
        QString(QChar(0xA0)),
        "\tpass\n",
        QString(QChar(0x01)) + "x",
        QString(QChar(0x7F)) + QChar(0x85),
        QString(QChar(0xFEFF)) + "bom" + QChar(0xFEFF),  // not to be taken for a byte order mark
        QString(QChar(0xFFFF)) + QChar(0xFFFE),
    };
    for (const QString& password : passwords) {
        const QString stored = encrypt(password);
        EXPECT_GT(AnsiText::windows1252Code(stored.at(0)), 128) << qPrintable(password);
        EXPECT_EQ(decrypt(stored), password) << qPrintable(password);
    }
}

TEST_F(Scramble, SurvivesTheSettingsFile)
{
    const QString password = QString::fromUtf8("\xd0\xbf&\xc3\xa9 x;\xf0\x9f\x94\x91");
    cSHAREDSettings::instance().sSet("ProxyPwd", encrypt(password));
    ASSERT_TRUE(cSHAREDSettings::instance().SaveSettings(path("Zelvo.ini")));
    cSHAREDSettings::resetInstance();
    cSHAREDSettings::instance().LoadSettings(path("Zelvo.ini"));
    EXPECT_EQ(decrypt(cSHAREDSettings::instance().sGet("ProxyPwd", "").toText()), password);
}

TEST_F(Scramble, ReadsWhatEarlierVersionsStored)
{
    // Literal "&" was not encoded then, and the Windows-1252 extras were moved up as they stood.
    EXPECT_EQ(decrypt(codes({197, 0x0160, 198})), "a&b");
    EXPECT_EQ(decrypt(oldScrambled("a&b")), "a&b");
    EXPECT_EQ(decrypt(oldScrambled("caf&eacute;&nbsp;&quot;1&lt;2&gt;")), QString::fromUtf8("caf\xc3\xa9 \"1<2>"));
    EXPECT_EQ(decrypt(oldScrambled("50\x80&nbsp;\x8c")), QString::fromUtf8("50\xe2\x82\xac \xc5\x92"));
    EXPECT_EQ(decrypt(oldScrambled("x&;y&unknown;")), "x&;y&unknown;");
    // Stored before there was any scrambling: shown as it stands, entities and all.
    EXPECT_EQ(decrypt("plain"), "plain");
    EXPECT_EQ(decrypt("&eacute;"), "&eacute;");
    EXPECT_EQ(decrypt(QString::fromUtf8("\xd0\xbf")), QString::fromUtf8("\xd0\xbf"));

    // A settings file from the Windows version holds the scrambled bytes in its code page.
    writeBytes("Zelvo.ini", QByteArray("PROXYPWD,\xc5\x8a\xc6\r\n"));
    cSHAREDSettings::instance().LoadSettings(path("Zelvo.ini"));
    EXPECT_EQ(decrypt(cSHAREDSettings::instance().sGet("ProxyPwd", "").toText()), "a&b");
}

TEST_F(Scramble, HostileEntityTextStaysAsItStands)
{
    const QList<QString> untouched = {
        "&", "a&", "&;", "&#;", "&#x;", "&eacute", "&#1087", "&Eacute x;", "&#99999999999999999999;",
        "&#1114112;", "&#x110000;", "&#xD800;", "&#0;", "&#-5;", "&#x-1;", "&#12a;", "&unknown;", "&#\xd9\xa1;",
        "&&&;", "&#0000000000065;",
    };
    for (const QString& text : untouched)
        EXPECT_EQ(cSharedHTML::HtmlToChar(text), text) << qPrintable(text);

    EXPECT_EQ(cSharedHTML::HtmlToChar("&#x10FFFF;&#X41;&#65;&amp;amp;"), QString::fromUcs4(U"\U0010FFFFAA&amp;"));
    EXPECT_EQ(cSharedHTML::HtmlToChar("&&eacute;"), QString::fromUtf8("&\xc3\xa9"));
    EXPECT_EQ(cSharedHTML::HtmlToChar("&#65279;&#xFEFF;"), QString(2, QChar(0xFEFF)));

    const QString ampersands = QString(200000, '&') + "x;";
    EXPECT_EQ(cSharedHTML::HtmlToChar(ampersands), ampersands);

    // Scrambled-looking rubbish only has to come back as some text.
    for (const QString& text : {codes({0xFF, 0x0100, 0xD800, 0x8A}), codes({0x8A, 0x87}), codes({0xE4})})
        EXPECT_NO_THROW(decrypt(text));
}

TEST_F(Scramble, ALoneSurrogateHasNoScrambledFormAndIsLogged)
{
    EXPECT_EQ(errorOf([] { encrypt(QString("ab") + QChar(0xD800)); }), AppError::InvalidCall);
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().endsWith(" (5) in Encrypt of module modEncrypt"))
        << qPrintable(cSharedLogging::instance().CurrentAction());
}

// A NUL would be written "&#0;", which the reader keeps as it stands: the password would come back
// changed, so it is refused as having no scrambled form.
TEST_F(Scramble, ANulHasNoScrambledFormEither)
{
    const QString password = QString("ab") + QChar(0) + "c";
    try {
        encrypt(password);
        FAIL() << "no failure";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), AppError::InvalidCall);
    }
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().endsWith(" (5) in Encrypt of module modEncrypt"));
    EXPECT_EQ(cSharedHTML::HtmlToChar(cSharedHTML::CharToHtml(password)), "ab&#0;c");
}
