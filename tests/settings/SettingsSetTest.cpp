#include "SettingsTestBase.h"

class SettingsSetTest : public SettingsTestBase {
protected:
    void addAll(const QString& set, const QStringList& values)
    {
        for (const QString& v : values)
            store().AddToSet(set, v);
    }
};

TEST_F(SettingsSetTest, MembersAreNumberedFromOneUnderTheUpperCaseSetName)
{
    EXPECT_EQ(store().AddToSet("Colours", "red"), 1);
    EXPECT_EQ(store().AddToSet("colours", "green"), 2);
    EXPECT_EQ(store().LastIndexInSet("COLOURS"), 2);
    EXPECT_EQ(store().SetCount("Colours"), 2);
    EXPECT_EQ(store().sGet("Colours_2").toText(), "green");

    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), QByteArray("COLOURS_INDEX, 2 \r\nCOLOURS_1,red\r\nCOLOURS_2,green\r\n"));

    // After a reload the index is text with its blanks and numbering carries on.
    store().LoadSettings(ini());
    EXPECT_EQ(store().LastIndexInSet("colours"), 2);
    EXPECT_EQ(store().AddToSet("colours", "blue"), 3);
}

TEST_F(SettingsSetTest, AddToSetSkipsNumbersAlreadyTaken)
{
    store().sSet("S_INDEX", Value(static_cast<std::int32_t>(2)));
    store().sSet("S_3", "there already");
    EXPECT_EQ(store().AddToSet("s", "new"), 4);
    EXPECT_EQ(store().LastIndexInSet("S"), 4);
    EXPECT_EQ(store().sGet("S_4").toText(), "new");
    EXPECT_EQ(store().sGet("S_3").toText(), "there already");
}

TEST_F(SettingsSetTest, DeletingAMiddleMemberClosesTheGap)
{
    addAll("S", {"a", "b", "c"});
    store().DeleteFromSetByValue("s", " B ");
    EXPECT_EQ(store().sGet("S_1").toText(), "a");
    EXPECT_EQ(store().sGet("S_2").toText(), "c");
    EXPECT_FALSE(store().IsSettingPresent("S_3"));
    EXPECT_EQ(store().LastIndexInSet("S"), 2);
    EXPECT_EQ(store().SetCount("S"), 2);

    store().DeleteFromSetByValue("S", "c");
    EXPECT_FALSE(store().IsSettingPresent("S_2"));
    EXPECT_EQ(store().LastIndexInSet("S"), 1);

    store().DeleteFromSetByValue("S", "zzz");
    EXPECT_EQ(store().LastIndexInSet("S"), 1);
    EXPECT_EQ(store().sGet("S_1").toText(), "a");
}

TEST_F(SettingsSetTest, AMissingMemberMovesDownAsAnEmptyValue)
{
    addAll("S", {"a", "b", "c"});
    store().DeleteSettingByName("S_2");
    store().DeleteFromSetByValue("S", "a");
    EXPECT_TRUE(store().IsSettingPresent("S_1"));
    EXPECT_EQ(store().sGet("S_1").toText(), "");
    EXPECT_EQ(store().sGet("S_2").toText(), "c");
    EXPECT_FALSE(store().IsSettingPresent("S_3"));
    EXPECT_EQ(store().LastIndexInSet("S"), 2);
}

TEST_F(SettingsSetTest, ValueInSetComparesLikeStringsEqual)
{
    addAll("Fruit", {"Apple", "  pear  "});
    store().AddToSet("Fruit", QString("Plum") + QChar(0) + "junk");
    EXPECT_TRUE(store().ValueInSet("fruit", "APPLE"));
    EXPECT_TRUE(store().ValueInSet("FRUIT", "Pear"));
    EXPECT_TRUE(store().ValueInSet("FRUIT", "plum"));
    EXPECT_FALSE(store().ValueInSet("FRUIT", "Appl"));
    EXPECT_FALSE(store().ValueInSet("Veg", "Apple"));
}

TEST_F(SettingsSetTest, CountWithAGapWarnsInTheActionTrail)
{
    addAll("Gappy", {"1", "2", "3"});
    store().DeleteSettingByName("GAPPY_2");
    EXPECT_EQ(store().SetCount("gappy"), 2);
    EXPECT_EQ(store().LastIndexInSet("gappy"), 3);
    EXPECT_TRUE(logText().contains("WARNING: LastIDX and Setcount not the same with setting 'GAPPY'\r\n"));
}

TEST_F(SettingsSetTest, DeleteASetRemovesMembersUpToCountPlusTen)
{
    addAll("S", {"a", "b", "c"});
    store().sSet("S_13", "within reach");
    store().sSet("S_14", "beyond reach");
    store().sSet("Other_1", "untouched");
    store().DeleteASet("s");
    for (int i = 1; i <= 13; ++i)
        EXPECT_FALSE(store().IsSettingPresent("S_" + QString::number(i))) << i;
    EXPECT_FALSE(store().IsSettingPresent("S_INDEX"));
    EXPECT_TRUE(store().IsSettingPresent("S_14"));
    EXPECT_TRUE(store().IsSettingPresent("Other_1"));
    EXPECT_EQ(store().LastIndexInSet("S"), 0);
}

TEST_F(SettingsSetTest, AnIndexThatIsNoNumberCountsAsZeroAndIsLogged)
{
    store().sSet("S_INDEX", "many");
    EXPECT_EQ(store().LastIndexInSet("S"), 0);
    EXPECT_TRUE(logText().contains("Type mismatch (13) in LastIndexInSet of module cSHAREDSettings"));
    EXPECT_EQ(store().SetCount("S"), 0);
}
