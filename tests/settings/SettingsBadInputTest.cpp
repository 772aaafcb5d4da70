#include "SettingsTestBase.h"
#include <random>

class SettingsBadInputTest : public SettingsTestBase {};

TEST_F(SettingsBadInputTest, BinaryJunkAroundWellFormedLinesKeepsEveryWellFormedLine)
{
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray bytes;
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < 300; ++j)
            bytes.append(static_cast<char>(byte(random)));
        bytes.append("\r\nWELLFORMED_" + QByteArray::number(i) + ",value " + QByteArray::number(i) + "\r\n");
    }
    writeBytes("Zelvo.ini", bytes);

    store().LoadSettings(ini());
    for (int i = 0; i < 200; ++i) {
        const QString name = "WELLFORMED_" + QString::number(i);
        ASSERT_TRUE(store().IsSettingPresent(name)) << name.toStdString();
        EXPECT_EQ(store().sGet(name).toText(), "value " + QString::number(i));
    }
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(SettingsBadInputTest, NulBytesStayInNamesAndValues)
{
    writeBytes("Zelvo.ini", QByteArray("NUL\0NAME,va\0lue\r\nNEXT,1\r\n", 26));
    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), 2);
    EXPECT_EQ(store().sGet(QString("nul") + QChar(0) + "name").toText(), QString("va") + QChar(0) + "lue");
    EXPECT_EQ(store().sGet("next").toText(), "1");
}

TEST_F(SettingsBadInputTest, InvalidUtf8IsReadAsWindows1252)
{
    writeBytes("Zelvo.ini", "CITY,Z\xfcrich\r\nPRICE,\x80 5\r\n");
    store().LoadSettings(ini());
    EXPECT_EQ(store().sGet("city").toText(), QString::fromUtf8("Z\xc3\xbcrich"));
    EXPECT_EQ(store().sGet("price").toText(), QString::fromUtf8("\xe2\x82\xac 5"));
}

TEST_F(SettingsBadInputTest, TenMegabyteLinesLoadWhole)
{
    const QByteArray big(10 * 1024 * 1024, 'x');
    writeBytes("Zelvo.ini", "BIG," + big + "\r\n" + big + "\r\nAFTER,1\r\n");
    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), 2);
    const QString value = store().sGet("big").toText();
    EXPECT_EQ(value.size(), big.size());
    EXPECT_EQ(value.count('x'), big.size());
    EXPECT_EQ(store().sGet("after").toText(), "1");

    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), "BIG," + big + "\r\nAFTER,1\r\n");
}

TEST_F(SettingsBadInputTest, HundredThousandLinesLoadInOrderAndSaveBackByteForByte)
{
    constexpr int kLines = 100000;
    QByteArray bytes;
    for (int i = 0; i < kLines; ++i)
        bytes += "KEY" + QByteArray::number(i) + ",value " + QByteArray::number(i * 7) + "\r\n";
    writeBytes("Zelvo.ini", bytes);

    store().LoadSettings(ini());
    ASSERT_EQ(store().SettingsCount(), kLines);
    EXPECT_EQ(store().SettingNameByIndex(1), "KEY0");
    EXPECT_EQ(store().SettingNameByIndex(50001), "KEY50000");
    EXPECT_EQ(store().SettingNameByIndex(kLines), "KEY99999");
    EXPECT_EQ(store().sGet("key99999").toText(), "value 699993");
    EXPECT_EQ(store().sGet("Key12345").toText(), "value 86415");

    ASSERT_TRUE(store().SaveSettings(ini()));
    EXPECT_EQ(readBytes("Zelvo.ini"), bytes);
}
