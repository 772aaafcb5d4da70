#include "fakes/TimeZone.h"
#include "fakes/ZelvoTest.h"
#include "platform/SystemAppFacts.h"
#include "timer_board/SlotBoard.h"
#include <QFile>
#include <QLocale>

// A countdown saved by one start and restored by the next, in New York, 2026-12-09 22:00: a 2-hour
// countdown ends at midnight, where the general form holds the date alone ("12/10/2026").
class RestoreTest : public ZelvoSettingsTest {
protected:
    void SetUp() override
    {
        ZelvoSettingsTest::SetUp();
        clock->set(QDateTime(QDate(2026, 12, 9), QTime(22, 0)));
    }
    void useLocale(const char* name)
    {
        facts->localeFacts = SystemAppFacts::factsOf(QLocale(QString::fromLatin1(name)));
    }
    QString ini() const { return path("Zelvo.ini"); }
    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }
    QString log() const { return QString::fromUtf8(readBytes("log.txt")); }

    TimeZone zone{"America/New_York"};
    const SlotBoard::ExpiryHandler ignore = [](int, std::int64_t) {};
};

TEST_F(RestoreTest, AStoredCountdownComesBackWhateverLocaleWroteOrReadsItAndFollowsACorrectedClock)
{
    enum class Iso { Kept, Absent, Garbage };
    struct Case {
        const char* name;
        const char *writer, *reader;
        Iso iso;
        std::int64_t seconds;
        const char* general;  // written over the general form, or nullptr
        qint64 wallStep;      // the wall clock corrected after the restore
        std::int64_t left;    // seconds left after the restore; 0: listed as expired; -1: kept
        const char* logLine;  // what log.txt must hold, or nullptr for nothing
    };
    constexpr std::int64_t kLong = 1365 * 86400 + 100 * 3600;
    const Case cases[] = {
        {"en_US read in en_GB", "en_US", "en_GB", Iso::Kept, 7200, nullptr, 0, 7200, nullptr},
        {"en_US read in en_GB, no ISO: 12 October", "en_US", "en_GB", Iso::Absent, 7200, nullptr, 0, 0, nullptr},
        {"en_GB read in C", "en_GB", "C", Iso::Kept, 10800, nullptr, 0, 10800, nullptr},
        {"en_GB read in C, no ISO", "en_GB", "C", Iso::Absent, 10800, nullptr, 0, -1,
         "Timer 1 was not restored: its stored end \"10/12/2026 01:00:00\" (ISO \"\") cannot be read; its entries stay"},
        {"de_DE read in en_GB", "de_DE", "en_GB", Iso::Kept, 10800, nullptr, 0, 10800, nullptr},
        {"de_DE, ISO garbage", "de_DE", "de_DE", Iso::Garbage, 10800, nullptr, 0, 10800,
         "Timer 1: the stored end \"garbage\" is no date with an offset from UTC and was ignored"},
        {"en_US read in de_DE, no ISO", "en_US", "de_DE", Iso::Absent, 10800, nullptr, 0, 10800, nullptr},
        {"general form unreadable", "en_US", "en_US", Iso::Kept, 10800, "notadate", 0, 10800, nullptr},
        {"both unreadable", "en_US", "en_US", Iso::Garbage, 10800, "notadate", 0, -1, "(ISO \"garbage\") cannot be read"},
        {"over 1365 days", "en_US", "en_GB", Iso::Kept, kLong, nullptr, 0, kLong, nullptr},
        {"clock corrected 1 h back", "en_US", "en_US", Iso::Kept, 10800, nullptr, -3600, 14400,
         "The clock was corrected by -3600 s; the restored countdowns follow it"},
        {"clock corrected 1 h on", "en_US", "en_US", Iso::Kept, 10800, nullptr, 3600, 7200,
         "The clock was corrected by 3600 s; the restored countdowns follow it"},
    };
    for (const Case& c : cases) {
        cSHAREDSettings::resetInstance();
        QFile::remove(path("log.txt"));
        useLocale(c.writer);
        SlotBoard before;
        before.setMessage(0, "Tea\tfor\r\ntwo");
        before.setFields(0, *SlotMath::fieldsFor(c.seconds));
        ASSERT_TRUE(before.startTimer(0)) << c.name;
        before.saveTimers();
        if (c.iso == Iso::Absent)
            store().DeleteSettingByName("Timer0EndISO");
        if (c.iso == Iso::Garbage)
            store().sSet("Timer0EndISO", "garbage");
        if (c.general)
            store().sSet("Timer0End", c.general);
        ASSERT_TRUE(store().SaveSettings(ini()));

        useLocale(c.reader);
        store().LoadSettings(ini());
        const QString storedEnd = store().sGet("Timer0End").toText();
        SlotBoard after;
        const QString expired = after.restoreTimers();
        after.startInstant(3600, [](int i) { return i == 1; });  // started in this run: never follows the wall clock
        clock->stepWallMs(c.wallStep * 1000);
        after.tick(ignore);
        after.tick(ignore);
        EXPECT_EQ(after.SlotRunning(0), c.left > 0) << c.name;
        EXPECT_EQ((after.remainingMs(0) + 500) / 1000, std::max<std::int64_t>(c.left, 0)) << c.name;
        EXPECT_EQ(after.remainingMs(1), 3600000) << c.name;
        EXPECT_EQ(!expired.isEmpty(), c.left == 0) << c.name;
        if (c.logLine)
            EXPECT_EQ(log().count(c.logLine), 1) << c.name << '\n' << log().toStdString();
        else
            EXPECT_FALSE(log().contains("Timer 1")) << c.name << '\n' << log().toStdString();
        if (c.left > 0) {
            EXPECT_EQ(after.entry(0).message, "Tea for  two") << c.name;
            // A pause and a resume keep what the fields hold.
            after.pauseTimer(0);
            EXPECT_TRUE(after.startTimer(0)) << c.name;
            EXPECT_EQ((after.remainingMs(0) + 500) / 1000, c.left) << c.name;
        }
        if (c.left < 0) {
            // Kept as it was until the slot is used.
            after.saveTimers();
            EXPECT_TRUE(store().sGet("TimerRunning0").toBool()) << c.name;
            EXPECT_EQ(store().sGet("Timer0End").toText(), storedEnd) << c.name;
            EXPECT_EQ(after.freeSlot([](int i) { return i == 0; }), -1) << c.name;
            after.stopTimer(0);
            after.saveTimers();
            EXPECT_FALSE(store().sGet("TimerRunning0").toBool()) << c.name;
        }
    }
}
