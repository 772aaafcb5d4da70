#include "fakes/FakeSlotHost.h"
#include "fakes/TimeZone.h"
#include "fakes/ZelvoTest.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/SlotStore.h"

// The slot rules on their own: no window, the fake clock, a fresh store, a host that records.
class SlotBoardTest : public ZelvoSettingsTest {
protected:
    void SetUp() override
    {
        ZelvoSettingsTest::SetUp();
        board.setHost(&host);
    }
    // The row filled in as the user would, then started.
    void start(int i, const QString& seconds, bool alarm, const QString& runFile = QString())
    {
        board.setMessage(i, "Tea");
        board.setFields(i, {"0", "0", "0", seconds});
        board.setAlarm(i, alarm);
        board.setRun(i, !runFile.isEmpty());
        board.setRunFile(i, runFile);
        ASSERT_FALSE(board.startRefusal(i));
        ASSERT_TRUE(board.startTimer(i));
    }
    FakeSlotHost host;
    SlotBoard board;
    SlotStore store{board};  // keeps what is given at once (the file to run)
};

TEST_F(SlotBoardTest, AnExpiryRaisesTheReminderRunsTheFileAndSaysWhenALateOneWasDue)
{
    struct Case {
        const char* name;
        bool alarm;
        const char* runFile;
        qint64 asleepMs;  // the computer slept past the end
        const char* alarms;
        const char* opened;
    };
    const Case cases[] = {
        {"alarm", true, "", 0, "Tea", ""},
        {"file only", false, "https://example.org", 0, "", "\"https://example.org\""},
        {"both", true, "notes.txt", 0, "Tea", "\"notes.txt\""},
        {"a minute and a half late", true, "", 90000, "Tea | Due at 10:07:10 PM", ""},
    };
    for (const Case& c : cases) {
        host.alarms.clear();
        shell->opened.clear();
        clock->set(QDateTime(QDate(2026, 12, 7), QTime(22, 7, 5)));
        start(3, "5", c.alarm, c.runFile);
        clock->advanceMs(4900);
        EXPECT_TRUE(board.tick()) << c.name;
        EXPECT_TRUE(host.alarms.isEmpty()) << c.name;
        clock->suspendMs(100 + c.asleepMs);
        EXPECT_FALSE(board.tick()) << c.name << ": nothing counts any more";
        EXPECT_FALSE(board.SlotRunning(3)) << c.name;
        EXPECT_EQ(host.alarms.join(','), c.alarms) << c.name;
        EXPECT_EQ(shell->opened.join(','), c.opened) << c.name;
        EXPECT_EQ(cSHAREDSettings::instance().sGet("RunFile3").toText(), c.runFile) << c.name;
    }
}

TEST_F(SlotBoardTest, StartRefusalsFreeSlotsAndPause)
{
    board.setAlarm(0, false);
    EXPECT_EQ(board.startRefusal(0).value_or(""), SlotBoard::kNoBox);
    board.setAlarm(0, true);
    board.setFields(0, {"1366", "0", "0", "0"});
    EXPECT_EQ(board.startRefusal(0).value_or(""), SlotBoard::kTooLong);

    // Quick starts take the page on display from its last row, skipping what counts or holds a time.
    host.onPage = [](int i) { return i < 10; };
    EXPECT_EQ(board.startInstant(60), 9);
    board.setFields(8, {"0", "0", "1", "0"});
    EXPECT_EQ(board.freeSlot(), 7);
    EXPECT_EQ(board.entry(9).message, "Instant timer");

    clock->advanceMs(20000);
    board.tick();
    board.togglePause(9);
    clock->advanceMs(60000);
    board.tick();
    EXPECT_TRUE(board.SlotPaused(9));
    board.togglePause(9);
    EXPECT_EQ(board.remainingMs(9), 40000);
}

TEST_F(SlotBoardTest, EachStateGoesWhereItsButtonOrTheFileTakesIt)
{
    using S = SlotBoard::State;
    struct Case {
        const char* name;
        S from;
        std::function<void(SlotBoard&)> act;
        S to;
    };
    const std::function<void(SlotBoard&)> pause = [](SlotBoard& b) { b.togglePause(4); };
    const Case cases[] = {
        {"P on an idle slot marks it", S::Idle, pause, S::MarkedPaused},
        {"P again starts it", S::MarkedPaused, pause, S::Counting},
        {"P pauses a countdown", S::Counting, pause, S::Paused},
        {"P resumes it", S::Paused, pause, S::Counting},
        {"a save finds nothing left", S::Paused, [](SlotBoard& b) { b.settle(4); }, S::MarkedPaused},
        {"Stop", S::Paused, [](SlotBoard& b) { b.stopTimer(4); }, S::Idle},
        {"an edit takes a kept slot over", S::Kept, [](SlotBoard& b) { b.setMessage(4, "Mine"); }, S::Idle},
        {"P on a kept slot takes it over", S::Kept, pause, S::MarkedPaused},
    };
    for (const Case& c : cases) {
        SlotBoard b;
        b.setFields(4, {"1.5", "0", "0", "0"});
        if (c.from == S::Kept)
            b.keep(4);
        if (c.from == S::Counting || c.from == S::Paused)
            b.startTimer(4);
        if (c.from == S::MarkedPaused || c.from == S::Paused)
            b.pauseTimer(4);
        ASSERT_EQ(b.state(4), c.from) << c.name;
        c.act(b);
        EXPECT_EQ(b.state(4), c.to) << c.name;
        EXPECT_EQ(b.SlotRunning(4), c.to == S::Counting || c.to == S::Paused) << c.name;
        if (c.to == S::Counting) {
            EXPECT_NEAR(b.SlotDuration(4), 1.5, 1e-12) << c.name;
        }
    }
}

TEST_F(SlotBoardTest, SnoozeAndRestartStartWhatRangAgain)
{
    struct Case {
        const char* name;
        bool restart, clockTime;
        int othersBusy;        // slots counting something else meanwhile, from 39 down (3 among them if > 36)
        qint64 snoozeSeconds;
        int slot;              // where it counts again; -1 nowhere
        qint64 left;           // seconds
    };
    const Case cases[] = {
        {"snooze, its slot idle", false, false, 0, 300, 3, 300},
        {"snooze, its slot busy", false, false, 37, 60, 2, 60},
        {"snooze, nothing free", false, false, 40, 300, -1, 0},
        {"restart", true, false, 0, 0, 3, 5},
        {"restart at 10:07:10 PM: tomorrow", true, true, 0, 0, 3, 86400},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < SlotBoard::kSlots; ++i)
            board.stopTimer(i);
        clock->set(QDateTime(QDate(2026, 12, 7), QTime(22, 7, 5)));
        host.alarms.clear();
        if (c.clockTime) {
            board.setMessage(3, "Tea");
            board.setRunFile(3, "notes.txt");
            board.setClockEntry(3, "10", "07", "10", false);
            board.toggleAtTime(3);
            ASSERT_TRUE(board.startTimer(3));
        } else {
            start(3, "5", true, "notes.txt");
        }
        clock->advanceMs(5000);
        board.tick();
        ASSERT_EQ(host.alarms, QStringList{"Tea"}) << c.name;
        for (int k = 0; k < c.othersBusy; ++k)
            board.startInstant(60);
        int at = -1;
        board.answer(host.rings.back(), c.restart ? 0 : c.snoozeSeconds, &at);
        EXPECT_EQ(at, c.slot) << c.name;
        if (at < 0)
            continue;
        EXPECT_EQ((board.remainingMs(at) + 500) / 1000, c.left) << c.name;
        EXPECT_EQ(board.entry(at).message, "Tea") << c.name;
        EXPECT_EQ(board.entry(at).runFile, "notes.txt") << c.name;
    }
}

TEST_F(SlotBoardTest, ARepeatKeepsTheBeatOfItsEndsAndComesBackAfterARestart)
{
    start(2, "5", true);
    board.setRepeat(2, true);
    for (int round = 1; round <= 3; ++round) {
        clock->advanceMs(round == 1 ? 5300 : 5000);  // the first tick came 0.3 s late
        EXPECT_TRUE(board.tick()) << "the tick goes on";
        EXPECT_EQ(host.alarms.size(), round);
        EXPECT_TRUE(board.SlotRunning(2));
        EXPECT_EQ(board.remainingMs(2), 4700) << "round " << round << " counts from the previous end";
    }
    SlotStore(board).saveTimers();
    clock->advanceMs(60000);  // the program was closed over its end
    SlotBoard after;
    EXPECT_TRUE(SlotStore(after).restoreTimers().startsWith("Tea ("));
    EXPECT_TRUE(after.SlotRunning(2) && after.entry(2).repeat);
    EXPECT_EQ(after.remainingMs(2), 4700) << "the next round on the beat of the earlier ends";
    EXPECT_EQ(after.ring(after.lastRing(-1, {}))->slot, 2) << "it rang while the program was closed";
    after.stopTimer(2);
    EXPECT_FALSE(after.SlotRunning(2));
}

// The program-level table (TriggerTest) has the answers from two places; here, an older ring.
TEST_F(SlotBoardTest, AnOlderRingIsAnsweredWithWhatItRangWithAndOnlyOnce)
{
    const auto ring = [&](const QString& message) {
        start(3, "5", true);
        board.setMessage(3, message);
        clock->advanceMs(5000);
        board.tick();
        return host.rings.back();
    };
    const int tea = ring("Tea"), coffee = ring("Coffee");
    int at = -1;
    EXPECT_EQ(board.answer(tea, 300, &at), SlotBoard::Answer::Started);
    EXPECT_EQ(std::pair(at, board.entry(at).message), std::pair(39, QString("Tea"))) << "its row holds Coffee";
    EXPECT_EQ(board.answer(tea, 0, &at), SlotBoard::Answer::AlreadyAnswered);
    EXPECT_EQ(at, 39);
    EXPECT_EQ(board.answer(coffee, 0, &at), SlotBoard::Answer::Started);
    EXPECT_EQ(std::pair(at, board.entry(at).message), std::pair(3, QString("Coffee")));
}

TEST_F(SlotBoardTest, AClockTimeIsAMomentOnTheWallClockDayAfterDay)
{
    SKIP_WITHOUT_OWN_ZONE();
    const TimeZone zone("America/New_York");
    struct Case {
        const char* name;
        const char *hour, *minute;
        bool am;
        QDateTime now;
        qint64 firstSeconds, nextSeconds;  // until it rings, and from then until it rings again
        int wallStep;                      // seconds the clock is set on before the first ring
    };
    const QDateTime lateEvening(QDate(2026, 12, 7), QTime(23, 50));
    const Case cases[] = {
        {"12:05 am typed at 23:50", "12", "05", true, lateEvening, 900, 86400, 0},
        {"12:05 pm typed at 23:50", "12", "05", false, lateEvening, 44100, 86400, 0},
        {"9:00 daily across the spring change", "9", "00", true, QDateTime(QDate(2027, 3, 13), QTime(8, 0)), 3600,
         82800, 0},
        {"0:35, the clock set on half an hour", "0", "35", true, lateEvening, 900, 86400, 1800},
    };
    for (const Case& c : cases) {
        board.stopTimer(0);
        clock->set(c.now);
        board.setClockEntry(0, c.hour, c.minute, "00", c.am);
        if (!board.SlotAtTime(0))
            board.toggleAtTime(0);
        board.setRepeat(0, true);
        ASSERT_TRUE(board.startTimer(0)) << c.name;
        clock->stepWallMs(c.wallStep * 1000);
        board.tick();
        EXPECT_EQ((board.remainingMs(0) + 500) / 1000, c.firstSeconds) << c.name;
        clock->advanceMs(c.firstSeconds * 1000);
        board.tick();
        EXPECT_EQ((board.remainingMs(0) + 500) / 1000, c.nextSeconds) << c.name;
    }
}
