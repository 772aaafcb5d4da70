#include "fakes/ZelvoTest.h"
#include "support/TestPrinters.h"
#include "support/cSHAREDDelay.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedDateSubs.h"
#include "support/cSharedText.h"
#include "support/cSharedWWW.h"
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <vector>

class DelayTest : public ZelvoTest {
protected:
    long pumps() const { return delay.pumpCount(); }
    cSHAREDDelay& delay = cSHAREDDelay::instance();
};

TEST_F(DelayTest, SleepUpToOneSecondIsOnePlatformSleep)
{
    const long before = pumps();
    delay.Sleep(200);
    delay.Sleep(1000);
    EXPECT_EQ(clock->sleeps, std::vector<int>({200, 1000}));
    EXPECT_EQ(pumps(), before);
}

TEST_F(DelayTest, LongerSleepsKeepAnsweringInput)
{
    const QDateTime start = clock->now();
    const long before = pumps();
    delay.Sleep(1500);
    EXPECT_EQ(clock->sleeps, std::vector<int>({500, 500, 500}));
    EXPECT_EQ(pumps(), before + 2);
    EXPECT_EQ(start.msecsTo(clock->now()), 1500);
}

TEST_F(DelayTest, DelayInHalfSecondsThenTheFraction)
{
    const long before = pumps();
    delay.Delay(2.25f);
    EXPECT_EQ(clock->sleeps, std::vector<int>({500, 500, 500, 500, 250}));
    EXPECT_EQ(pumps(), before + 4);
    clock->sleeps.clear();
    delay.Delay(3.0f);
    EXPECT_EQ(clock->sleeps, std::vector<int>(6, 500));
    clock->sleeps.clear();
    delay.Delay(0.75f);
    EXPECT_EQ(clock->sleeps, std::vector<int>({750}));
}

TEST_F(DelayTest, RegularDoEventsPumpsAtMostEveryQuarterSecond)
{
    clock->advanceMs(1000);  // past any moment stored by an earlier test
    const long before = pumps();
    delay.RegularDoEvents();
    EXPECT_EQ(pumps(), before + 1);
    clock->advanceMs(100);
    delay.RegularDoEvents();
    clock->advanceMs(100);
    delay.RegularDoEvents();
    EXPECT_EQ(pumps(), before + 1);
    clock->advanceMs(100);
    delay.RegularDoEvents();
    EXPECT_EQ(pumps(), before + 2);
    delay.RegularDoEvents();
    EXPECT_EQ(pumps(), before + 2);
}

TEST_F(DelayTest, RegularDoEventsStillPumpsAfterMidnight)
{
    clock->set(QDateTime(QDate(2026, 12, 7), QTime(23, 59, 59, 900)));
    delay.RegularDoEvents();
    const long before = pumps();
    clock->set(QDateTime(QDate(2026, 12, 8), QTime(0, 0, 1)));
    delay.RegularDoEvents();
    EXPECT_EQ(pumps(), before + 1);
}

TEST_F(DelayTest, PumpsLetTimersRun)
{
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    delay.DoEventss();
    EXPECT_EQ(fired, 1);
}

TEST_F(DelayTest, MsgWaitWaitsTheTicksAndPumpsInBetween)
{
    const std::uint32_t start = clock->tickCount();
    const long before = pumps();
    delay.MsgWait(25);
    EXPECT_EQ(clock->tickCount() - start, 25u);
    EXPECT_GT(pumps(), before);
    for (const int ms : clock->sleeps)
        EXPECT_LE(ms, 25);
    clock->sleeps.clear();
    delay.MsgWait(0);
    EXPECT_TRUE(clock->sleeps.empty());
}

class TextTest : public ZelvoTest {
protected:
    cSharedText& text = cSharedText::instance();
};

TEST_F(TextTest, AddQuotes)
{
    EXPECT_EQ(text.AddQuotes("C:\\a b.txt"), "\"C:\\a b.txt\"");
    EXPECT_EQ(text.AddQuotes(""), "\"\"");
}

TEST_F(TextTest, StringsEqualCutsAtNullAndIgnoresBlanksAndCase)
{
    EXPECT_TRUE(text.StringsEqual("  Zelvo ", "zELVO"));
    EXPECT_TRUE(text.StringsEqual(QString("abc") + QChar(0) + "junk", "ABC"));
    EXPECT_TRUE(text.StringsEqual(QString("abc ") + QChar(0) + "x", QString(" abc") + QChar(0) + "y"));
    EXPECT_TRUE(text.StringsEqual("", "   "));
    EXPECT_TRUE(text.StringsEqual(QString(QChar(0)) + "abc", ""));
    EXPECT_FALSE(text.StringsEqual("a b", "ab"));
    EXPECT_FALSE(text.StringsEqual("abc", "abd"));
    EXPECT_FALSE(text.StringsEqual("abc\t", "abc"));  // only blanks are removed
}

TEST_F(TextTest, HighlightTextSelectsAllAndPumps)
{
    QLineEdit field("12:30");
    field.setCursorPosition(2);
    const long before = cSHAREDDelay::instance().pumpCount();
    text.HighlightText(&field);
    EXPECT_EQ(field.selectionStart(), 0);
    EXPECT_EQ(field.selectedText(), "12:30");
    EXPECT_EQ(cSHAREDDelay::instance().pumpCount(), before + 1);
    text.HighlightText(nullptr);
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(),
              "Object variable or With block variable not set (91) in HighlightText of module cText");
}

class SubsTest : public ZelvoTest {};

TEST_F(SubsTest, AppVersionWithoutLeadingZeros)
{
    facts->major = 1;
    facts->minor = 0;
    facts->revision = 46;
    EXPECT_EQ(cSHAREDSubs::instance().AppVersion(), "1.0.46");
    facts->major = 10;
    facts->minor = 2;
    facts->revision = 3;
    EXPECT_EQ(cSHAREDSubs::instance().AppVersion(), "10.2.3");
    EXPECT_FALSE(cSHAREDSubs::instance().InIDE());
}

TEST_F(SubsTest, PointerShapes)
{
    cSHAREDSubs& subs = cSHAREDSubs::instance();
    subs.BusyMouse();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    subs.BusyBGmouse();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    subs.NormalMouse();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SubsTest, WebSiteVisitOpensTheAddressAndRestoresThePointer)
{
    EXPECT_EQ(cSharedWWW::instance().WebSiteVisit(nullptr, "https://www.zelvo.example/"), 42);
    EXPECT_EQ(shell->opened, QStringList({"https://www.zelvo.example/"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SubsTest, TrueAndFalseWordsAreWorkedOutOnceAndLogged)
{
    cSharedDateSubs& words = cSharedDateSubs::instance();
    EXPECT_EQ(words.TrueStr(), "TRUE");
    EXPECT_EQ(words.FalseStr(), "FALSE");
    EXPECT_EQ(words.DateSeparator(), "/");
    EXPECT_EQ(cSharedLogging::instance().CurrentAction(), "True string: TRUE False string: FALSE of module cDateSubs");
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 5);
    facts->localeFacts.trueWord = "Wahr";
    EXPECT_EQ(words.TrueStr(), "TRUE");
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 5);
}
