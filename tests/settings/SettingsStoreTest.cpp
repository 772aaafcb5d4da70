#include "SettingsTestBase.h"

namespace {
Value int16(int v) { return Value(static_cast<std::int16_t>(v)); }
}

class SettingsStoreTest : public SettingsTestBase {};

TEST_F(SettingsStoreTest, NamesIgnoreCaseKeepTheFirstSpellingAndTheirPlace)
{
    store().sSet("Alpha", int16(1));
    store().sSet("beta", int16(2));
    store().sSet("ALPHA", int16(3));
    store().StoreSetting("Gamma", int16(4));
    store().sSet("alpha", "last");

    ASSERT_EQ(store().SettingsCount(), 3);
    EXPECT_EQ(store().SettingNameByIndex(1), "Alpha");
    EXPECT_EQ(store().SettingNameByIndex(2), "beta");
    EXPECT_EQ(store().SettingNameByIndex(3), "Gamma");
    EXPECT_EQ(store().sGet("aLpHa").toText(), "last");
    EXPECT_EQ(store().RetrieveSetting("BETA").toText(), "2");
    EXPECT_TRUE(store().IsSettingPresent("GAMMA"));
    EXPECT_FALSE(store().IsSettingPresent("Delta"));
}

TEST_F(SettingsStoreTest, CommasAreRemovedFromNamesAndBlanksAreKept)
{
    store().sSet("Slot,3,", "x");
    EXPECT_TRUE(store().IsSettingPresent("Slot3"));
    EXPECT_TRUE(store().IsSettingPresent(",S,l,o,t,3"));
    EXPECT_EQ(store().sGet("slot3").toText(), "x");
    EXPECT_EQ(store().SettingNameByIndex(1), "Slot3");

    store().sSet(" Pad ", int16(1));
    EXPECT_FALSE(store().IsSettingPresent("Pad"));
    EXPECT_TRUE(store().IsSettingPresent(" pad "));

    store().DeleteSettingByName("Slot,3");
    EXPECT_FALSE(store().IsSettingPresent("Slot3"));
    EXPECT_EQ(store().SettingsCount(), 1);
}

TEST_F(SettingsStoreTest, BooleansAreKeptAsSixteenBitMinusOneAndZero)
{
    store().sSet("TimerRunning0", true);
    store().sSet("AlarmOn0", false);

    const Value on = store().sGet("timerrunning0");
    EXPECT_EQ(on.type(), Value::Type::Integer);
    EXPECT_EQ(on.toInt32(), -1);
    const Value off = store().sGet("ALARMON0");
    EXPECT_EQ(off.type(), Value::Type::Integer);
    EXPECT_EQ(off.toInt32(), 0);
}

TEST_F(SettingsStoreTest, ReadingTurnsTheBooleanWordsIntoBooleansDefaultsIncluded)
{
    store().sSet("A", "  tRuE ");
    store().sSet("B", "FALSE");
    store().sSet("C", "truely");
    store().sSet("D", Value(-1.0));

    EXPECT_EQ(store().sGet("A").type(), Value::Type::Boolean);
    EXPECT_TRUE(store().sGet("A").toBool());
    EXPECT_EQ(store().sGet("B").type(), Value::Type::Boolean);
    EXPECT_FALSE(store().sGet("B").toBool());
    EXPECT_EQ(store().sGet("C").toText(), "truely");
    EXPECT_EQ(store().sGet("D").type(), Value::Type::Double);

    EXPECT_TRUE(store().sGet("Missing").isEmpty());
    EXPECT_EQ(store().sGet("Missing", int16(7)).toInt32(), 7);
    const Value flag = store().sGet("Missing", true);
    EXPECT_EQ(flag.type(), Value::Type::Boolean);
    EXPECT_TRUE(flag.toBool());
    EXPECT_EQ(store().sGet("Missing", "False").type(), Value::Type::Boolean);
}

TEST_F(SettingsStoreTest, RetrieveWithDefaultReplacesZeroAndTextThatIsNoNumber)
{
    store().sSet("Zero", int16(0));
    store().sSet("Off", false);
    store().sSet("ZeroText", " 0 ");
    store().sSet("Seven", " 7 ");
    store().sSet("Word", "abc");
    store().sSet("Blank", "");
    const Value fallback(static_cast<std::int32_t>(42));

    EXPECT_EQ(store().RetrieveWithDefault("Zero", fallback).toInt32(), 42);
    EXPECT_EQ(store().sGetWD("Off", fallback).toInt32(), 42);
    EXPECT_EQ(store().sGetWD("ZeroText", fallback).toInt32(), 42);
    EXPECT_EQ(store().sGetWD("Missing", fallback).toInt32(), 42);
    EXPECT_EQ(store().sGetWD("Seven", fallback).toText(), " 7 ");
    EXPECT_FALSE(logText().contains("in RetrieveWithDefault"));

    EXPECT_EQ(store().sGetWD("Word", fallback).toInt32(), 42);
    EXPECT_TRUE(logText().contains("Type mismatch (13) in RetrieveWithDefault of module cSHAREDSettings"));
    EXPECT_EQ(store().sGetWD("Blank", fallback).toInt32(), 42);
}

TEST_F(SettingsStoreTest, PositionsAreOneBasedAndOutOfRangeNamesAreEmptyWithoutLogging)
{
    store().sSet("First", int16(1));
    store().sSet("Second", int16(2));
    store().sGet("First");  // the locale words are worked out (and logged) on first use
    const int before = cSharedLogging::instance().trailSize();

    EXPECT_EQ(store().SettingNameByIndex(0), "");
    EXPECT_EQ(store().SettingNameByIndex(3), "");
    EXPECT_EQ(store().SettingNameByIndex(-5), "");
    EXPECT_EQ(cSharedLogging::instance().trailSize(), before);

    store().DeleteSetting(3);
    EXPECT_EQ(store().SettingsCount(), 2);
    EXPECT_TRUE(logText().contains("in DeleteSetting of module cSHAREDSettings"));
}

TEST_F(SettingsStoreTest, DeletingByPositionKeepsLookUpsAndOrderRight)
{
    for (const char* name : {"One", "Two", "Three", "Four"})
        store().sSet(name, name);

    store().DeleteSetting(2);
    ASSERT_EQ(store().SettingsCount(), 3);
    EXPECT_FALSE(store().IsSettingPresent("two"));
    EXPECT_EQ(store().sGet("three").toText(), "Three");
    EXPECT_EQ(store().sGet("four").toText(), "Four");

    // Replacing after the delete must hit the moved entries, not append new ones.
    store().sSet("FOUR", "4");
    store().sSet("Two", "2");
    ASSERT_EQ(store().SettingsCount(), 4);
    EXPECT_EQ(store().SettingNameByIndex(1), "One");
    EXPECT_EQ(store().SettingNameByIndex(2), "Three");
    EXPECT_EQ(store().SettingNameByIndex(3), "Four");
    EXPECT_EQ(store().SettingNameByIndex(4), "Two");
    EXPECT_EQ(store().sGet("four").toText(), "4");

    store().DeleteSettingByName("one");
    store().DeleteSettingByName("never there");
    EXPECT_EQ(store().SettingNameByIndex(1), "Three");
    EXPECT_EQ(store().sGet("Two").toText(), "2");

    store().DeleteAllSettings();
    EXPECT_EQ(store().SettingsCount(), 0);
    EXPECT_FALSE(store().IsSettingPresent("Three"));
}

TEST_F(SettingsStoreTest, InstanceIsSharedUntilReset)
{
    cSHAREDSettings::instance().sSet("Shared", "yes");
    EXPECT_EQ(cSHAREDSettings::instance().sGet("shared").toText(), "yes");
    cSHAREDSettings::resetInstance();
    EXPECT_EQ(cSHAREDSettings::instance().SettingsCount(), 0);
}
