#include "TimerBoardTest.h"
#include "fakes/TimeZone.h"
#include <functional>

// Countdowns keep real elapsed time whatever the wall clock does, in New York (daylight saving
// from 8 March to 1 November 2026).
class RealTimeTest : public TimerBoardTest {
protected:
    void SetUp() override
    {
        TimerBoardTest::SetUp();
        zone = std::make_unique<TimeZone>("America/New_York");
        setLocal(12, 7, QTime(22, 7, 5));
    }
    void TearDown() override
    {
        TimerBoardTest::TearDown();
        zone.reset();
    }
    void setLocal(int month, int day, const QTime& time) { clock->set(QDateTime(QDate(2026, month, day), time)); }
    static void useZone(const char* name) { qputenv("TZ", name), tzset(); }
    QString log() const { return QString::fromUtf8(readBytes("log.txt")); }
    std::unique_ptr<TimeZone> zone;
};

TEST_F(RealTimeTest, ACountdownLastsItsDurationWhateverTheWallClockDoes)
{
    struct Case {
        const char* name;
        int month, day;
        QTime start;
        std::function<void(FakeClock&)> event;  // 10 s into a 30 s countdown
    };
    const Case cases[] = {
        {"clocks fall back", 11, 1, QTime(1, 59, 45), [](FakeClock& c) { c.advanceMs(0); }},
        {"clocks spring forward", 3, 8, QTime(1, 59, 45), [](FakeClock& c) { c.advanceMs(0); }},
        {"zone changes", 12, 7, QTime(14, 0), [](FakeClock&) { useZone("Asia/Tokyo"); }},
        {"wall clock an hour ahead", 12, 7, QTime(14, 0), [](FakeClock& c) { c.stepWallMs(3600000); }},
        {"wall clock an hour back", 12, 7, QTime(14, 0), [](FakeClock& c) { c.stepWallMs(-3600000); }},
        {"wall clock 5 s back", 12, 7, QTime(14, 0), [](FakeClock& c) { c.stepWallMs(-5000); }},
    };
    for (const Case& c : cases) {
        useZone("America/New_York");
        setLocal(c.month, c.day, c.start);
        frmMain& w = open();
        w.cmd30s_Click();
        advance(10);
        c.event(*clock);
        tick();
        EXPECT_EQ(shown(9), "0 0 0 20") << c.name;
        clock->advanceMs(19900);
        tick();
        EXPECT_TRUE(reminders().isEmpty()) << c.name;
        clock->advanceMs(100);
        tick();
        ASSERT_EQ(reminders().size(), 1) << c.name;
        EXPECT_EQ(reminders()[0]->Label1->text(), "Instant timer") << c.name;
        EXPECT_FALSE(reminders()[0]->lblDue->isVisibleTo(reminders()[0])) << c.name;
        closeProgram();
    }
}

// Asleep past its end: the first tick after waking fires it and the reminder says when it was due.
TEST_F(RealTimeTest, ACountdownThatEndedDuringSleepFiresAtTheFirstTickAndSaysWhenItWasDue)
{
    setLocal(12, 7, QTime(14, 4, 30));
    open().cmd30s_Click();
    advance(10);
    clock->suspendMs(2 * 3600 * 1000);
    tick();
    ASSERT_EQ(reminders().size(), 1);
    EXPECT_TRUE(reminders()[0]->lblDue->isVisibleTo(reminders()[0]));
    EXPECT_EQ(reminders()[0]->lblDue->text(), "Due at 2:05:00 PM");
    EXPECT_TRUE(log().contains("Timer 10 was due at 12/7/2026 2:05:00 PM; its reminder came 7180 s late")) << log().toStdString();
}

// 9:00 am is eight wall-clock hours after 1:00 am on the day the clocks spring forward, but only
// seven real ones; in autumn, from midnight, it is ten.
TEST_F(RealTimeTest, AClockTimeStartCountsTheRealHoursToThatTime)
{
    SKIP_WITHOUT_OWN_ZONE();
    for (const auto& [month, day, from, hours] : {std::tuple{3, 8, 1, 7}, std::tuple{11, 1, 0, 10}}) {
        setLocal(month, day, QTime(from, 0));
        frmMain& w = open();
        w.cmdAt_Click(0);
        w.row(0)->txtAtHour->setText("9");
        w.row(0)->optAM->setChecked(true);
        w.cmdStart_Click(0);
        EXPECT_EQ(secondsLeft(0), hours * 3600) << month;
        tick();
        EXPECT_EQ(shown(0), QString("0 %1 0 00").arg(hours)) << month;
        closeProgram();
    }
}

// 00:50 EDT plus 100 minutes is 1:30 EST, the second time the clock shows 1:30 that night.
TEST_F(RealTimeTest, AnEndInTheRepeatedAutumnHourRestoresToTheRightOne)
{
    SKIP_WITHOUT_OWN_ZONE();
    setLocal(11, 1, QTime(0, 50));
    frmMain& w = open();
    type(0, "0", "0", "100", "0");
    w.cmdStart_Click(0);
    closeProgram();
    EXPECT_TRUE(readBytes("Zelvo.ini").contains("TIMER0END,11/1/2026 1:30:00 AM\r\nTIMER0ENDISO,2026-11-01T01:30:00-05:00"));
    advance(60);
    open();
    EXPECT_EQ(secondsLeft(0), 99 * 60);
}

TEST_F(RealTimeTest, AFileWrittenInOneZoneRestoresInAnother)
{
    SKIP_WITHOUT_OWN_ZONE();
    useZone("Europe/Berlin");
    setLocal(12, 7, QTime(22, 7, 5));
    frmMain& w = open();
    type(0, "0", "2", "0", "0");
    w.cmdStart_Click(0);
    type(1, "0", "0", "30", "0");
    w.cmdStart_Click(1);
    closeProgram();
    useZone("America/New_York");
    advance(3600);
    open();
    EXPECT_EQ(secondsLeft(0), 3600);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    // The expired one is listed in the time of the zone it is read in: 22:37:05 in Berlin.
    EXPECT_EQ(dialogs->shown[0].text,
              "The following alarms expired while the program was closed:\r\nReminder 2 (12/7/2026 4:37:05 PM) \r\n");
}

// What an earlier version leaves behind (it rewrites the general form only), a malformed value,
// or no value: the general form counts, the slot and its neighbours are restored, the log says so.
TEST_F(RealTimeTest, AnIsoEndThatIsMalformedOrContradictsTheGeneralFormIsIgnored)
{
    SKIP_WITHOUT_OWN_ZONE();
    const QString end = "12/7/2026 11:07:05 PM";  // an hour after the clock's 10:07:05 PM
    writeIni(("TIMERRUNNING0,-1\r\nTIMER0END," + end + "\r\nTIMER0ENDISO,2026-12-07T20:00:00-05:00\r\n"
              "TIMERRUNNING1,-1\r\nTIMER1END," + end + "\r\nTIMER1ENDISO,half past ten\r\n"
              "TIMERRUNNING2,-1\r\nTIMER2END," + end + "\r\nTIMER2ENDISO,2026-12-07T23:07:05\r\n"
              "TIMERRUNNING3,-1\r\nTIMER3END," + end + "\r\n"
              "TIMERRUNNING4,-1\r\nTIMER4END," + end + "\r\nTIMER4ENDISO,2026-12-07T23:07:05-05:00\r\n")
                 .toUtf8());
    open();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(secondsLeft(i), 3600) << i;
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(log().contains("Timer 1: the stored end \"2026-12-07T20:00:00-05:00\" does not match \"" + end
                               + "\" and was ignored"));
    EXPECT_TRUE(log().contains("Timer 2: the stored end \"half past ten\""));
    EXPECT_TRUE(log().contains("Timer 3: the stored end \"2026-12-07T23:07:05\""));
    EXPECT_FALSE(log().contains("Timer 4:"));
    EXPECT_FALSE(log().contains("Timer 5:"));
}
