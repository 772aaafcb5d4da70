#include "TimerBoardTest.h"
#include "support/cSharedSound.h"

namespace {
// One list of everything the expiry does, in the order it happens.
struct Journal {
    QStringList events;
    frmMain* board = nullptr;
    QString idleSlots() const
    {
        QStringList idle;
        for (int i = 0; i < 4; ++i)
            if (board && !board->slotBoard().SlotRunning(i) && board->row(i)->cmdStart->text() == "Start")
                idle << QString::number(i);
        return idle.join(',');
    }
    QString windows() const
    {
        QStringList texts;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmMessage") && w->isVisible())
                texts << static_cast<frmMessage*>(w)->Label1->text();
        texts.sort();
        return texts.join('+');
    }
};

class JournalSound : public FakeSound {
public:
    explicit JournalSound(Journal& j) : journal(j) {}
    void play(const QString& path) override
    {
        FakeSound::play(path);
        journal.events << "play idle[" + journal.idleSlots() + "] windows[" + journal.windows() + "]";
    }
    void stop() override
    {
        FakeSound::stop();
        journal.events << "stop";
    }
    void beep() override
    {
        FakeSound::beep();
        journal.events << "beep windows[" + journal.windows() + "]";
    }
    Journal& journal;
};

class JournalShell : public FakeShell {
public:
    explicit JournalShell(Journal& j) : journal(j) {}
    int open(const QString& target, const QString& folder) override
    {
        FakeShell::open(target, folder);
        journal.events << "run " + target + " idle[" + journal.idleSlots() + "] windows[" + journal.windows() + "]";
        return 2;  // refused: changes nothing
    }
    Journal& journal;
};
}

class ExpiryTest : public TimerBoardTest {
protected:
    void useJournal()
    {
        journalSound = std::make_shared<JournalSound>(journal);
        journalShell = std::make_shared<JournalShell>(journal);
        Platform::setSound(journalSound);
        Platform::setShell(journalShell);
        journal.board = board;
    }
    Journal journal;
    std::shared_ptr<JournalSound> journalSound;
    std::shared_ptr<JournalShell> journalShell;
};

TEST_F(ExpiryTest, AlarmOnlySlotStopsShowsItsReminderAndPlaysTheAlarm)
{
    addAlarmFile();
    frmMain& w = open();
    w.row(2)->txtDesc->setText("Take the cake out");
    type(2, "0", "0", "0", "3");
    w.cmdStart_Click(2);
    advance(1);
    tick();
    EXPECT_EQ(shown(2), "0 0 0 02");
    advance(2);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(2));
    EXPECT_EQ(w.row(2)->cmdStart->text(), "Start");
    EXPECT_EQ(shown(2), "0 0 0 00");
    EXPECT_EQ(textColour(2), systemText(2));
    EXPECT_EQ(baseColour(2), systemBase(2));
    EXPECT_EQ(w.row(2)->txtDesc->text(), "Take the cake out");

    const auto open = reminders();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0]->windowTitle(), "Zelvo Alert!");
    EXPECT_EQ(open[0]->Label1->text(), "Take the cake out");
    EXPECT_EQ(open[0]->cmdClose->text(), "Close");
    EXPECT_FALSE(open[0]->parentWidget());
    EXPECT_EQ(sound->played, QStringList{alarm()});
    EXPECT_EQ(sound->beeps, 0);
    EXPECT_TRUE(shell->opened.isEmpty());
    // Nothing left counting: the tick turned itself off in the same round.
    EXPECT_FALSE(w.app().Timer1->isActive());
    // An expired slot does not fire again.
    advance(5);
    tick();
    EXPECT_EQ(reminders().size(), 1);
    EXPECT_EQ(sound->played.size(), 1);
}

TEST_F(ExpiryTest, TwoSlotsInOneTickAlarmAndRunInSlotOrder)
{
    addAlarmFile();
    frmMain& w = open();
    useJournal();
    dialogs->inputs = {"first.txt", "second.txt"};
    for (int i : {3, 1}) {
        w.row(i)->txtDesc->setText("Slot " + QString::number(i));
        w.row(i)->chkRun->setChecked(true);
        type(i, "0", "0", "1", "0");
    }
    w.cmdStart_Click(3);
    w.cmdStart_Click(1);
    // A third slot, still counting, keeps the tick alive.
    type(0, "0", "1", "0", "0");
    w.cmdStart_Click(0);
    journal.events.clear();
    advance(61);
    tick();
    EXPECT_EQ(journal.events, (QStringList{
                                  "stop",
                                  "play idle[1,2] windows[Slot 1]",
                                  "run \"second.txt\" idle[1,2] windows[Slot 1]",
                                  "stop",
                                  "play idle[1,2,3] windows[Slot 1+Slot 3]",
                                  "run \"first.txt\" idle[1,2,3] windows[Slot 1+Slot 3]",
                              }));
    EXPECT_TRUE(w.app().Timer1->isActive());
    EXPECT_EQ(shown(0), "0 0 58 59");
}

TEST_F(ExpiryTest, RefusedRunChangesNothing)
{
    frmMain& w = open();
    shell->result = 2;
    w.row(0)->chkRun->setChecked(true);
    w.cmdStart_Click(0);  // no answer: the stored file is empty
    type(1, "0", "0", "1", "0");
    w.cmdStart_Click(1);
    advance(1);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(shell->opened.size(), 1);
    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(shown(1), "0 0 0 59");
    EXPECT_EQ(dialogs->shown.size(), 0u);
}

TEST_F(ExpiryTest, MissingAlarmFileBeepsOnceAndStillShowsTheReminder)
{
    frmMain& w = open();
    useJournal();
    type(0, "0", "0", "0", "1");
    w.cmdStart_Click(0);
    advance(1);
    tick();
    EXPECT_EQ(journal.events, (QStringList{"stop", "beep windows[Reminder 1]"}));
    EXPECT_TRUE(journalSound->played.isEmpty());
    EXPECT_EQ(journalSound->beeps, 1);
}

TEST_F(ExpiryTest, SecondAlarmCutsOffTheFirst)
{
    addAlarmFile();
    frmMain& w = open();
    useJournal();
    type(0, "0", "0", "0", "1");
    type(1, "0", "0", "0", "2");
    w.cmdStart_Click(0);
    w.cmdStart_Click(1);
    journal.events.clear();
    advance(1);
    tick();
    advance(1);
    tick();
    ASSERT_EQ(journal.events.size(), 4);
    EXPECT_EQ(journal.events[0], "stop");
    EXPECT_TRUE(journal.events[1].startsWith("play"));
    EXPECT_EQ(journal.events[2], "stop");
    EXPECT_TRUE(journal.events[3].startsWith("play"));
    EXPECT_EQ(reminders().size(), 2);
}

TEST_F(ExpiryTest, ClosingOneReminderLeavesTheOtherOpenAndWithdrawsOnlyItsDesktopNotice)
{
    frmMain& w = open();
    w.row(0)->txtDesc->setText("one");
    w.row(1)->txtDesc->setText("<two> & more");
    w.cmdStart_Click(0);
    w.cmdStart_Click(1);
    clock->advanceMs(100);
    tick();
    ASSERT_EQ(reminderTexts(), (QStringList{"<two> & more", "one"}));
    const auto notices = [this] {
        QStringList texts;
        for (const auto& [handle, notice] : notifier->shown)
            texts << notice.text;
        return texts;
    };
    EXPECT_EQ(notices(), (QStringList{"Zelvo Alert!: one", "Zelvo Alert!: <two> & more"}));
    EXPECT_TRUE(notifier->withIcon);
    frmMessage* two = nullptr;
    for (frmMessage* m : reminders())
        if (m->Label1->text() == "one")
            m->cmdClose->click();
        else
            two = m;
    EXPECT_EQ(reminderTexts(), QStringList{"<two> & more"});
    EXPECT_EQ(notices(), QStringList{"Zelvo Alert!: <two> & more"});

    // Picking the notice brings its reminder back; a failing service is logged.
    two->hide();
    notifier->shown.begin()->second.chosen("default", QString());
    EXPECT_TRUE(two->isVisible());
    notifier->failed("org.freedesktop.DBus.Error.NoReply: no answer");
    EXPECT_EQ(QString::fromUtf8(readBytes("log.txt")).count("Desktop notifications are unavailable: org.freedesktop.DBus.Error.NoReply"), 1);
}

TEST_F(ExpiryTest, PausedSlotKeepsTheTickRunning)
{
    frmMain& w = open();
    type(0, "0", "0", "0", "1");
    type(1, "0", "0", "0", "1");
    w.cmdStart_Click(0);
    w.cmdStart_Click(1);
    w.cmdPause_Click(1);
    advance(5);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(reminders().size(), 1);
    EXPECT_TRUE(w.app().Timer1->isActive());
    tick();
    EXPECT_TRUE(w.app().Timer1->isActive());
    w.cmdStart_Click(1);
    tick();
    EXPECT_FALSE(w.app().Timer1->isActive());
}

TEST_F(ExpiryTest, ResumeStartsFromTheTimeShownAtThePause)
{
    frmMain& w = open();
    type(0, "0", "2", "0", "0");
    w.cmdStart_Click(0);
    advance(29 * 60 + 55);
    tick();
    ASSERT_EQ(shown(0), "0 1 30 05");
    w.cmdPause_Click(0);
    advance(600);
    tick();
    EXPECT_EQ(shown(0), "0 1 30 05");
    w.cmdPause_Click(0);
    EXPECT_EQ(secondsLeft(0), 3600 + 30 * 60 + 5);
    advance(3600 + 30 * 60 + 4);
    tick();
    EXPECT_EQ(shown(0), "0 0 0 01");
    EXPECT_TRUE(reminders().isEmpty());
    advance(1);
    tick();
    EXPECT_FALSE(w.slotBoard().SlotRunning(0));
    EXPECT_EQ(reminders().size(), 1);
}

TEST_F(ExpiryTest, TestButtonAsksFirstAndPlaysOnlyOnYes)
{
    addAlarmFile();
    frmMain& w = open();
    dialogs->answers.push_back(Dialogs::Answer::No);
    w.cmdTest_Click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "Play the alarm sound?");
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_TRUE(sound->played.isEmpty());
    EXPECT_EQ(sound->stops, 0);

    dialogs->answers.push_back(Dialogs::Answer::Yes);
    w.cmdTest_Click();
    EXPECT_EQ(sound->played, QStringList{alarm()});
    EXPECT_TRUE(reminders().isEmpty());
}

class SoundTest : public ZelvoTest {};

TEST_F(SoundTest, PlayWavStopsFirstThenPlaysOrBeeps)
{
    const QString wav = path("alarm.wav");
    cSharedSound::instance().PlayWav(wav);
    EXPECT_EQ(sound->stops, 1);
    EXPECT_EQ(sound->beeps, 1);
    EXPECT_TRUE(sound->played.isEmpty());

    writeBytes("alarm.wav", "RIFF");
    cSharedSound::instance().PlayWav(wav);
    EXPECT_EQ(sound->stops, 2);
    EXPECT_EQ(sound->beeps, 1);
    EXPECT_EQ(sound->played, QStringList{wav});

    EXPECT_FALSE(cSharedSound::instance().StopPlayingWAV());
    EXPECT_EQ(sound->stops, 3);
}

TEST_F(SoundTest, DeviceTestIsWorkedOutOnce)
{
    sound->devices = 0;
    EXPECT_FALSE(cSharedSound::instance().HasSound());
    sound->devices = 2;
    EXPECT_FALSE(cSharedSound::instance().HasSound());
}
