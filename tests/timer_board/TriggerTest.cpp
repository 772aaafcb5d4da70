#include "TimerBoardTest.h"
#include "command_line/CommandServer.h"
#include "platform/Notifier.h"
#include "fakes/FakeNotifier.h"
#include <QEventLoop>
#include <QToolButton>
#include <QTest>
#include <functional>

// What comes from outside in the middle of one of the program's own steps waits for its end and
// then runs once, in the order it came.
class TriggerTest : public TimerBoardTest {};

TEST_F(TriggerTest, AnOutsideTriggerArrivingInsideAStepWaitsAndThenRunsOnce)
{
    int answers = 0;
    const std::pair<const char*, std::function<void()>> kinds[] = {
        {"command", [&] { lock->handler(CommandMessage::encode({{"stop", "2"}, "/"}), [&](const QByteArray&) { ++answers; }); }},
        {"tray menu Quit", [&] { board->app().mnuQuit->trigger(); }},
        {"close request", [&] { board->app().closeRequested(frmMain::vbAppTaskManager); }},
    };
    enum Moment { AlarmPump, ModalDialog, StartUpList };
    const auto ran = [&](const char* kind) {
        return kind == kinds[0].first ? answers == 1 && !board->slotBoard().SlotRunning(1) : board->app().unloaded();
    };
    for (const auto& [kind, fire] : kinds) {
        for (const Moment moment : {AlarmPump, ModalDialog, StartUpList}) {
            const QString name = QString("%1 during moment %2").arg(kind).arg(moment);
            closeReminders();
            TriggerQueue::instance().reopen();  // the last one ended the program
            answers = 0;
            dialogs->answers = {Dialogs::Answer::Ok, Dialogs::Answer::Yes};  // the box, then Quit's question
            writeIni(moment == StartUpList ? "TIMERRUNNING0,-1\r\nTIMER0END,1/1/2000\r\nTIMERRUNNING1,-1\r\nTIMER1END,1/1/2027\r\n"
                                           : "");
            if (moment == StartUpList)
                dialogs->whileShown = fire;  // the list of those that ended while closed
            program = std::make_unique<ZelvoApp>();
            board = &program->window();
            CommandServer server(board->slotBoard(), board->app());
            server.listen(*lock);
            board->app().Form_Load();
            board->app().Timer1->blockSignals(true);
            if (moment != StartUpList) {  // there it was restored
                board->slotBoard().setFields(1, {"0", "0", "5", "0"});
                board->slotBoard().startTimer(1);
            }
            if (moment == AlarmPump) {
                dialogs->answers = {Dialogs::Answer::Yes};
                board->cmd30s_Click();
                advance(30);
                QTimer::singleShot(0, fire);  // runs in the pump that opens the reminder
                tick();
                ASSERT_EQ(reminders().size(), 1) << name.toStdString();
            }
            if (moment == ModalDialog) {
                // The program's own loop runs; the box "Please tick …" nests another.
                QEventLoop loop;
                QTimer::singleShot(0, &loop, [&] {
                    dialogs->whileShown = fire;
                    board->row(3)->chkAlarm->setChecked(false);
                    board->cmdStart_Click(3);
                    loop.quit();
                });
                loop.exec();
            }
            EXPECT_FALSE(ran(kind)) << name.toStdString() << ": ran inside the step";
            QTest::qWait(200);
            EXPECT_TRUE(ran(kind)) << name.toStdString() << ": never ran";
            closeProgram();
        }
    }
}

// What meets the end or a second answer: a command during Quit's or Exit's question is refused
// once the answer is Yes, never reported done and lost; the system's end does not wait behind the
// start-up's list; a ring answered twice while the program was busy (or stopped) starts one countdown.
TEST_F(TriggerTest, TheEndRefusesWhatWaitsAndARingIsAnsweredOnce)
{
    enum State { QuitQuestion, ExitQuestion, StartUpList, AnswersQueued, UpdateQuestion };
    const QString closing = "1 Zelvo is closing: the command was not carried out";
    const struct {
        const char* name;
        State state;
        QList<QStringList> sent;  // commands; "window" / "notice" / "signal": the reminder's Snooze there, SIGTERM
        QStringList replies;      // how each command's reply begins
        int counting;             // slots counting at the end (saved, when it ended)
    } cases[] = {
        {"start during Quit's question", QuitQuestion, {{"start", "5m", "Late", "--slot", "7"}}, {closing}, 1},
        {"stop during Exit's question", ExitQuestion, {{"stop", "2"}}, {closing}, 1},
        {"start during the update question: it touches no slot", UpdateQuestion, {{"start", "5m", "Late"}},
         {"0 Timer 10 \"Late\" ends at"}, 2},
        {"the system's end during the start-up list", StartUpList, {{"signal"}}, {}, 1},
        {"the window's Snooze and the notice's", AnswersQueued, {{"window"}, {"notice"}}, {}, 2},
        {"the window's Snooze and zelvo snooze", AnswersQueued, {{"window"}, {"snooze"}},
         {"1 Timer 10 was already snoozed: it ends at"}, 2},
        {"two zelvo snoozes", AnswersQueued, {{"snooze", "1m"}, {"snooze", "2m"}},
         {"0 Timer 10 \"Instant timer\" ends at", "1 Timer 10 was already snoozed"}, 2},
    };
    for (const auto& c : cases) {
        closeReminders();
        TriggerQueue::instance().reopen();
        QStringList replies;
        const auto send = [&] {
            for (const QStringList& args : c.sent) {
                if (args[0] == "signal")
                    board->app().closeRequested(frmMain::vbAppTaskManager);
                else if (args[0] == "window")
                    reminders().value(0)->cmdSnooze->click();
                else if (args[0] == "notice")
                    notifier->shown.rbegin()->second.chosen("snooze", QString());
                else
                    lock->handler(CommandMessage::encode({args, "/"}), [&](const QByteArray& a) {
                        const auto r = CommandMessage::decodeReply(a).value();
                        replies << QString::number(r.status) + ' ' + (r.status ? r.error : r.out);
                    });
            }
        };
        writeIni(c.state == StartUpList ? "TIMERRUNNING0,-1\r\nTIMER0END,1/1/2000\r\nTIMERRUNNING1,-1\r\nTIMER1END,1/1/2040\r\n" : "");
        dialogs->answers = {c.state == StartUpList ? Dialogs::Answer::Ok : Dialogs::Answer::Yes};
        qsizetype inside = -1;  // replies given while the question was open
        dialogs->whileShown = [&] {  // the start-up list, or Quit's, Exit's or the update question
            send();
            inside = replies.size();
        };
        program = std::make_unique<ZelvoApp>();
            board = &program->window();
        CommandServer server(board->slotBoard(), board->app());
        server.listen(*lock);
        board->app().Form_Load();
        board->app().Timer1->blockSignals(true);
        board->slotBoard().setFields(1, {"0", "0", "5", "0"});
        board->slotBoard().startTimer(1);
        if (c.state == AnswersQueued) {
            board->cmd30s_Click();
            advance(30);
            tick();
            const TriggerQueue::Step busy;
            std::exchange(dialogs->whileShown, nullptr)();
        } else if (c.state != StartUpList) {
            QEventLoop loop;  // the program's own loop runs; the question nests another
            QTimer::singleShot(0, &loop, [&] {
                c.state == QuitQuestion   ? board->app().mnuQuit->trigger()
                : c.state == ExitQuestion ? board->cmdExit_Click()
                                          : board->app().Timer3_Timer();
                loop.quit();
            });
            loop.exec();
        }
        QTest::qWait(200);
        const bool ended = c.state != AnswersQueued && c.state != UpdateQuestion;
        EXPECT_EQ(inside, c.state == UpdateQuestion ? 1 : 0) << c.name << ": answered while the question was open";
        EXPECT_EQ(board->app().unloaded(), ended) << c.name;
        ASSERT_EQ(replies.size(), c.replies.size()) << c.name << ": " << replies.join('|').toStdString();
        for (int k = 0; k < replies.size(); ++k)
            EXPECT_TRUE(replies[k].startsWith(c.replies[k])) << c.name << ": " << replies[k].toStdString();
        int counting = 0;
        for (int i = 0; i < SlotBoard::kSlots; ++i)
            counting += ended ? store().sGet("TimerRunning" + QString::number(i), false).toBool()
                              : board->slotBoard().SlotRunning(i);
        EXPECT_EQ(counting, c.counting) << c.name;
        if (!ended)
            closeProgram();
    }
}
