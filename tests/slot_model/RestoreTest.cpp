#include "fakes/FakeSlotHost.h"
#include "fakes/TimeZone.h"
#include "fakes/ZelvoTest.h"
#include "platform/SystemAppFacts.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/SlotStore.h"
#include <QFile>
#include <QLocale>

// A countdown saved by one start and restored by the next, in New York from 2026-12-09 22:00: a
// 2-hour countdown ends at midnight, where the general form is the date alone ("12/10/2026").
using RestoreTest = ZelvoSettingsTest;

TEST_F(RestoreTest, AStoredCountdownComesBackWhateverLocaleWroteOrReadsItAndFollowsACorrectedClock)
{
    const TimeZone zone("America/New_York");
    constexpr std::int64_t kLong = 1365 * 86400 + 100 * 3600;
    struct Case {
        const char *name, *writer, *reader;
        const char* iso;      // written over the ISO key; "" removes it; nullptr leaves it
        const char* general;  // written over the general form, or nullptr
        std::int64_t seconds;
        int wallStep;         // seconds the wall clock is corrected by after the restore
        std::int64_t left;    // seconds left after the restore; 0 listed as expired; -1 kept unread
        const char* logLine;  // what log.txt holds once, or nullptr for nothing about timer 1
    };
    const Case cases[] = {
        {"en_US read in en_GB", "en_US", "en_GB", nullptr, nullptr, 7200, 0, 7200, nullptr},
        {"no ISO: 12 October", "en_US", "en_GB", "", nullptr, 7200, 0, 0, nullptr},
        {"en_GB read in C", "en_GB", "C", nullptr, nullptr, 10800, 0, 10800, nullptr},
        {"en_GB read in C, no ISO", "en_GB", "C", "", nullptr, 10800, 0, -1,
         "Timer 1 was not restored: its stored end \"10/12/2026 01:00:00\" (ISO \"\") cannot be read; its entries stay"},
        {"de_DE read in en_GB", "de_DE", "en_GB", nullptr, nullptr, 10800, 0, 10800, nullptr},
        {"ISO garbage", "de_DE", "de_DE", "garbage", nullptr, 10800, 0, 10800,
         "Timer 1: the stored end \"garbage\" is no date with an offset from UTC and was ignored"},
        {"en_US read in de_DE, no ISO", "en_US", "de_DE", "", nullptr, 10800, 0, 10800, nullptr},
        {"general form unreadable", "en_US", "en_US", nullptr, "notadate", 10800, 0, 10800, nullptr},
        {"both unreadable", "en_US", "en_US", "garbage", "notadate", 10800, 0, -1, "(ISO \"garbage\") cannot be read"},
        {"over 1365 days", "en_US", "en_GB", nullptr, nullptr, kLong, 0, kLong, nullptr},
        {"clock corrected back", "en_US", "en_US", nullptr, nullptr, 10800, -3600, 14400,
         "The clock was corrected by -3600 s; the restored countdowns and the clock times follow it"},
        {"clock corrected on", "en_US", "en_US", nullptr, nullptr, 10800, 3600, 7200, "corrected by 3600 s"},
    };
    const auto useLocale = [&](const char* name) { facts->localeFacts = SystemAppFacts::factsOf(QLocale(name)); };
    const auto log = [&] { return QString::fromUtf8(readBytes("log.txt")); };
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    for (const Case& c : cases) {
        clock->set(QDateTime(QDate(2026, 12, 9), QTime(22, 0)));
        QFile::remove(path("log.txt"));
        useLocale(c.writer);
        SlotBoard before;
        before.setMessage(0, "Tea\tfor\r\ntwo");
        before.setFields(0, *Duration(c.seconds).fields());
        ASSERT_TRUE(before.startTimer(0)) << c.name;
        SlotStore(before).saveTimers();
        if (c.iso)
            *c.iso ? settings.sSet("Timer0EndISO", c.iso) : settings.DeleteSettingByName("Timer0EndISO");
        if (c.general)
            settings.sSet("Timer0End", c.general);
        ASSERT_TRUE(settings.SaveSettings(path("Zelvo.ini")));

        useLocale(c.reader);
        settings.LoadSettings(path("Zelvo.ini"));
        const QString storedEnd = settings.sGet("Timer0End").toText();
        SlotBoard after;
        FakeSlotHost host;
        host.onPage = [](int i) { return i == 0; };
        after.setHost(&host);
        SlotStore store(after);
        const QString expired = store.restoreTimers();
        after.setFields(1, SlotMath::splitSeconds(3600));
        after.startTimer(1);  // started in this run: keeps its duration
        clock->stepWallMs(c.wallStep * 1000);
        for (int tick = 0; tick < 2; ++tick)
            after.tick();
        EXPECT_EQ((after.remainingMs(0) + 500) / 1000, std::max<std::int64_t>(c.left, 0)) << c.name;
        EXPECT_EQ(after.remainingMs(1), 3600000) << c.name;
        EXPECT_EQ(!expired.isEmpty(), c.left == 0) << c.name;
        EXPECT_EQ(c.logLine ? log().count(c.logLine) : log().count("Timer 1"), c.logLine ? 1 : 0) << c.name;
        if (c.left > 0) {
            EXPECT_EQ(after.entry(0).message, "Tea for  two") << c.name;
            after.pauseTimer(0);
            EXPECT_TRUE(after.startTimer(0)) << c.name;
            EXPECT_EQ((after.remainingMs(0) + 500) / 1000, c.left) << c.name;
        }
        if (c.left < 0) {
            // Its entries stay as they are, and no quick start takes the slot, until it is used.
            SlotStore(after).saveTimers();
            EXPECT_TRUE(settings.sGet("TimerRunning0").toBool() && settings.sGet("Timer0End").toText() == storedEnd) << c.name;
            EXPECT_EQ(after.freeSlot(), -1) << c.name;
            after.stopTimer(0);
            SlotStore(after).saveTimers();
            EXPECT_FALSE(settings.sGet("TimerRunning0").toBool()) << c.name;
        }
    }
}

// A value of a slot that cannot be read is logged once and stays in the file until the slot is
// used; what can be read of the slot still comes back.
TEST_F(RestoreTest, AnUnreadableValueIsLoggedOnceAndKeptUntilTheSlotIsUsed)
{
    const struct {
        const char *key, *value;
        bool counting, restored;  // it counted (an hour ahead) when saved; it counts after the start
        bool restarts;            // a Restart of its ring at its end starts it again
    } cases[] = {
        {"RepeatOn0", "garbage", false, false, false}, {"RepeatOn0", "garbage", true, true, true},
        {"LastSeconds0", "-5", true, true, false},     {"LastSeconds0", "99999999999", true, true, false},
        {"TimerRunning0", "yes", true, false, false},
    };
    cSHAREDSettings& settings = cSHAREDSettings::instance();
    for (const auto& c : cases) {
        const std::string name = std::string(c.key) + " " + c.value + (c.counting ? ", counting" : "");
        QFile::remove(path("log.txt"));
        settings.DeleteAllSettings();
        SlotBoard before;
        before.setFields(0, {"0", "1", "0", "0"});
        if (c.counting)
            before.startTimer(0);
        SlotStore(before).saveTimers();
        settings.sSet(c.key, c.value);

        SlotBoard after;
        FakeSlotHost host;
        after.setHost(&host);
        SlotStore store(after);
        store.loadEntry(0);
        store.restoreTimers();
        store.saveTimers();
        EXPECT_EQ(settings.sGet(c.key).toText(), c.value) << name << ": kept as it was";
        EXPECT_EQ(QString::fromUtf8(readBytes("log.txt")).count(QString("\"%1\"").arg(c.value)), 1) << name;
        EXPECT_EQ(after.SlotRunning(0), c.restored) << name;
        clock->advanceMs(3600000);
        after.tick();
        using A = SlotBoard::Answer;
        EXPECT_EQ(after.answer(host.rings.empty() ? 0 : host.rings.back(), 0),
                  !c.restored ? A::Unknown : c.restarts ? A::Started : A::NoDuration) << name;
        after.setFields(0, {"0", "0", "5", "0"});
        after.startTimer(0);
        SlotStore(after).saveTimers();
        EXPECT_NE(settings.sGet(c.key).toText(), c.value) << name << ": written anew once used";
    }
}
