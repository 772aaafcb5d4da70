#include "SettingsTestBase.h"
#include "support/OleDate.h"
#include <cstdio>
#include <cstdlib>

namespace {
Value int16(int v) { return Value(static_cast<std::int16_t>(v)); }
}

class SettingsFileTest : public SettingsTestBase {};

TEST_F(SettingsFileTest, SavedLinesAreUpperCaseNamesAndDisplayFormsWithCrLf)
{
    store().sSet("TimerRunning0", true);
    store().sSet("CustomSeconds", "900");
    store().sSet("Count", int16(5));
    store().sSet("Far", Value(static_cast<std::int32_t>(-70000)));
    store().sSet("Ratio", 2.5);
    store().sSet("AlarmOn0", false);
    store().sSet("TimerName0", "Call Bob, then Alice,,");
    store().sSet("End0", OleDate::fromParts(QDate(2026, 12, 7), QTime(22, 7, 5)));
    store().sSet("Day", OleDate::fromParts(QDate(2026, 12, 7), QTime(0, 0)));
    store().sSet("Nothing", Value());
    store().sSet("Note", QString::fromUtf8("caf\xc3\xa9 \xe2\x98\x95"));
    // No value starts a line of its own.
    store().sSet("Injected", "a\r\nHideOnRun,-1");
    store().sSet("Cr", "x\ry");
    store().sSet("Lf", "x\ny");

    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"),
              QByteArray("TIMERRUNNING0,-1 \r\n"
                         "CUSTOMSECONDS,900\r\n"
                         "COUNT, 5 \r\n"
                         "FAR,-70000 \r\n"
                         "RATIO, 2.5 \r\n"
                         "ALARMON0, 0 \r\n"
                         "TIMERNAME0,Call Bob, then Alice,,\r\n"
                         "END0,12/7/2026 10:07:05 PM\r\n"
                         "DAY,12/7/2026\r\n"
                         "NOTHING,\r\n"
                         "NOTE,caf\xc3\xa9 \xe2\x98\x95\r\n"
                         "INJECTED,a\t\tHideOnRun,-1\r\n"
                         "CR,x\ty\r\n"
                         "LF,x\ty\r\n"));
}

TEST_F(SettingsFileTest, ValuesComeBackAsTextWithTheirBlanks)
{
    const OleDate end = OleDate::fromParts(QDate(2026, 12, 7), QTime(22, 7, 5));
    store().sSet("Count", int16(5));
    store().sSet("Message", "a,b,,c");
    store().sSet("End", end);
    store().sSet("Empty", Value());
    ASSERT_TRUE(store().SaveSettings(ini()));

    cSHAREDSettings::resetInstance();
    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), 4);
    EXPECT_EQ(store().SettingNameByIndex(1), "COUNT");
    EXPECT_EQ(store().SettingNameByIndex(2), "MESSAGE");
    const Value count = store().sGet("count");
    EXPECT_EQ(count.type(), Value::Type::Text);
    EXPECT_EQ(count.toText(), " 5 ");
    EXPECT_EQ(count.toInt32(), 5);
    EXPECT_EQ(store().sGet("message").toText(), "a,b,,c");
    EXPECT_EQ(store().sGet("end").toDate(), end);
    EXPECT_EQ(store().sGet("empty").type(), Value::Type::Text);
    EXPECT_EQ(store().sGet("empty").toText(), "");

    // A second round writes the same bytes.
    const QByteArray first = readBytes("Zelvo.ini");
    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), first);
}

TEST_F(SettingsFileTest, StoredTrueIsMinusOneUntilLoadThenTextThenTheWordTrue)
{
    store().sSet("Flag", true);
    EXPECT_EQ(store().sGet("flag").type(), Value::Type::Integer);
    EXPECT_EQ(store().sGet("flag").toInt32(), -1);

    ASSERT_TRUE(store().SaveSettings(ini()));
    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet("flag").type(), Value::Type::Text);
    EXPECT_EQ(store().sGet("flag").toText(), "-1 ");
    EXPECT_TRUE(store().sGet("flag").toBool());

    // The word true in the file loads as the stored form of true again.
    writeBytes("Zelvo.ini", "FLAG,tRUe\r\n");
    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet("flag").type(), Value::Type::Integer);
    EXPECT_EQ(store().sGet("flag").toInt32(), -1);
    EXPECT_TRUE(store().sGet("flag").toBool());
}

TEST_F(SettingsFileTest, CommaInANameIsDroppedInTheFile)
{
    store().sSet("Proxy,Host", "h");
    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), QByteArray("PROXYHOST,h\r\n"));
}

TEST_F(SettingsFileTest, LinesSplitAtTheFirstCommaAndMalformedLinesAreSkippedSilently)
{
    writeBytes("Zelvo.ini",
               "A,b,c\r\n"
               ",starts with comma\r\n"
               "   ,only blanks before\r\n"
               "no comma at all\r\n"
               "\r\n"
               " Spaced Name , value \r\n"
               "Mixed,x\ry\r\n"
               "Last,no line end");
    store().LoadSettings(ini());

    ASSERT_EQ(store().SettingsCount(), 4);
    EXPECT_EQ(store().SettingNameByIndex(1), "A");
    EXPECT_EQ(store().sGet("a").toText(), "b,c");
    EXPECT_EQ(store().SettingNameByIndex(2), " Spaced Name ");
    EXPECT_EQ(store().sGet(" spaced name ").toText(), " value ");
    EXPECT_FALSE(store().IsSettingPresent("Spaced Name"));
    EXPECT_EQ(store().sGet("Mixed").toText(), "x\ry");
    EXPECT_EQ(store().sGet("Last").toText(), "no line end");
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(catcher->errors.isEmpty());
    EXPECT_FALSE(logText().contains("in setting file"));
}

TEST_F(SettingsFileTest, LfOnlyLineEndsMakeOneSetting)
{
    writeBytes("Zelvo.ini", "A,1\nB,2\nC,3\n");
    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), 1);
    EXPECT_EQ(store().sGet("A").toText(), "1\nB,2\nC,3\n");
}

TEST_F(SettingsFileTest, TrueAndFalseWordsLoadAsSixteenBitNumbers)
{
    writeBytes("Zelvo.ini", "On,TRUE\r\nOff, false \r\nWordy,not true\r\n");
    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet("On").type(), Value::Type::Integer);
    EXPECT_EQ(store().sGet("On").toInt32(), -1);
    EXPECT_EQ(store().sGet("Off").type(), Value::Type::Integer);
    EXPECT_EQ(store().sGet("Off").toInt32(), 0);
    EXPECT_EQ(store().sGet("Wordy").toText(), "not true");

    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), QByteArray("ON,-1 \r\nOFF, 0 \r\nWORDY,not true\r\n"));
}

TEST_F(SettingsFileTest, LocaleWordsForTrueAndFalseLoadAsNumbers)
{
    // The locale's words are worked out once per process, so the German ones need a fresh process.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            facts->localeFacts.trueWord = "Wahr";
            facts->localeFacts.falseWord = "Falsch";
            writeBytes("Zelvo.ini", "A,wahr\r\nB, FALSCH \r\nC,True\r\nD,Vrai\r\n");
            store().LoadSettings(ini());
            const Value a = store().sGet("A");
            const Value b = store().sGet("B");
            const bool ok = a.type() == Value::Type::Integer && a.toInt32() == -1
                            && b.type() == Value::Type::Integer && b.toInt32() == 0
                            && store().sGet("C").type() == Value::Type::Integer
                            && store().sGet("D").toText() == "Vrai" && store().sGet("X", "WAHR").toBool();
            std::fprintf(stderr, "A=%s B=%s D=%s\n", qPrintable(a.toText()), qPrintable(b.toText()),
                         qPrintable(store().sGet("D").toText()));
            std::fflush(stderr);
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SettingsFileTest, RepeatedNamesKeepTheFirstPlaceAndTheLastValue)
{
    writeBytes("Zelvo.ini", "Keep,1\r\nOther,2\r\nKEEP,3\r\n");
    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), 2);
    EXPECT_EQ(store().SettingNameByIndex(1), "Keep");
    EXPECT_EQ(store().sGet("keep").toText(), "3");
}

TEST_F(SettingsFileTest, LoadingReplacesTheTableAndAMissingFileLeavesItEmpty)
{
    store().sSet("Old", "x");
    writeBytes("Zelvo.ini", "New,y\r\n");
    store().LoadSettings(ini());
    EXPECT_FALSE(store().IsSettingPresent("Old"));
    EXPECT_TRUE(store().IsSettingPresent("New"));

    store().LoadSettings(path("absent.ini"));
    EXPECT_EQ(store().SettingsCount(), 0);
    EXPECT_EQ(store().sGet("New", "fallback").toText(), "fallback");
    EXPECT_FALSE(QFile::exists(path("absent.ini")));
}

TEST_F(SettingsFileTest, NonAsciiNamesAndValuesRoundTripAsUtf8)
{
    writeBytes("Zelvo.ini", "NOTE,caf\xc3\xa9\r\n");
    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet("note").toText(), QString::fromUtf8("caf\xc3\xa9"));

    store().sSet(QString::fromUtf8("Stra\xc3\x9f" "e"), "x");
    store().sSet(QString::fromUtf8("\xc3\xa9t\xc3\xa9"), "y");
    ASSERT_TRUE(store().SaveSettings(ini()));
    const QByteArray bytes = readBytes("Zelvo.ini");
    EXPECT_TRUE(bytes.contains("\r\nSTRASSE,x\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n\xc3\x89T\xc3\x89,y\r\n"));

    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet(QString::fromUtf8("stra\xc3\x9f" "e")).toText(), "x");
    EXPECT_EQ(store().sGet(QString::fromUtf8("\xc3\xa9t\xc3\xa9")).toText(), "y");
}

TEST_F(SettingsFileTest, SavingAnEmptyStoreWritesAnEmptyFile)
{
    writeBytes("Zelvo.ini", "OLD,1\r\n");
    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_TRUE(QFile::exists(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), QByteArray());
}
