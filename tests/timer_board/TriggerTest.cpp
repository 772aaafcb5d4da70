#include "TimerBoardTest.h"
#include "command_line/CommandServer.h"
#include <QEventLoop>
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
        {"tray menu Quit", [&] { board->mnuQuit->trigger(); }},
        {"close request", [&] { board->closeRequested(frmMain::vbAppTaskManager); }},
    };
    enum Moment { AlarmPump, ModalDialog, StartUpList };
    const auto ran = [&](const char* kind) {
        return kind == kinds[0].first ? answers == 1 && !board->slotBoard().SlotRunning(1) : board->unloaded();
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
            board = std::make_unique<frmMain>();
            CommandServer server(board->slotBoard(), *board);
            server.listen(*lock);
            board->Form_Load();
            board->Timer1->blockSignals(true);
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
                    board->chkAlarm[3]->setChecked(false);
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
