#include "command_line/CommandServer.h"
#include "timer_board/TimerBoardTest.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

class CommandServerTest : public TimerBoardTest {
protected:
    CommandMessage::Reply send(CommandServer& server, const QStringList& args)
    {
        return server.run(args, dir.path());
    }
};

TEST_F(CommandServerTest, ACommandChangesASlotAsTheWindowWouldAndARefusalChangesNothing)
{
    frmMain& w = open();
    CommandServer server(w.slotBoard(), w.app());
    const SlotBoard& b = w.slotBoard();
    writeBytes("notes.txt", "agenda");
    auto reply = send(server, {"start", "1h30m", "Meeting", "--slot", "3", "--no-alarm", "--run", "notes.txt"});
    EXPECT_EQ(reply.status, 0) << reply.error.toStdString();
    // Times carry their offset from UTC, so the hour that comes twice reads apart.
    const QRegularExpression offset(QStringLiteral("\\d\\d:\\d\\d:\\d\\d ?[+-]\\d\\d:\\d\\d"));
    EXPECT_TRUE(reply.out.startsWith("Timer 3 \"Meeting\" ends at ")) << reply.out.toStdString();
    EXPECT_TRUE(reply.out.contains(offset)) << reply.out.toStdString();
    EXPECT_TRUE(b.SlotRunning(2));
    EXPECT_FALSE(b.entry(2).alarm);
    EXPECT_EQ(w.row(2)->txtDesc->text(), "Meeting");
    EXPECT_EQ(w.row(2)->cmdStart->text(), "Stop");
    EXPECT_EQ(cSHAREDSettings::instance().sGet("RunFile2").toText(), path("notes.txt"));
    EXPECT_EQ(tray->tip, "Zelvo is running");

    // Without --slot: the quick-start rule, from the bottom of the page; a clock time as T does.
    EXPECT_EQ(send(server, {"at", "11:59pm"}).status, 0);
    EXPECT_EQ(b.entry(9).message, "Instant timer");
    EXPECT_GT(b.remainingMs(9), 0);
    const QJsonArray listed = QJsonDocument::fromJson(send(server, {"list", "--json"}).out.toUtf8()).array();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].toObject()["slot"].toInt(), 3);
    EXPECT_EQ(listed[0].toObject()["remaining"].toString(), "1:30:00");
    EXPECT_TRUE(listed[0].toObject()["end"].toString().contains(offset));
    // Plain list prints the end as every other reply does, for people.
    const QString plain = send(server, {"list"}).out;
    EXPECT_TRUE(plain.contains(QRegularExpression(QStringLiteral(R"(^3\tMeeting\t1:30:00\t\d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d\d:\d\d [^\t]+\tcounting\n)"))))
        << plain.toStdString();

    const SlotBoard::Entry before = b.entry(2);
    for (const QStringList& args : {QStringList{"start", "5m", "Other", "--slot", "3"}, {"start", "3000d", "--slot", "4"}, {"start", "5m", "--run", "www.example.org", "--slot", "4"},
                                    QStringList{"start", "5m", "--run", "javascript:alert(1)"}, {"start", "5m", "--run", "file:///missing"},
                                    QStringList{"stop", "5"}, QStringList{"start", "soon"}}) {
        reply = send(server, args);
        EXPECT_NE(reply.status, 0) << args.join(' ').toStdString();
    }
    EXPECT_EQ(b.entry(2).message, before.message);
    // One limit, stated as it is: 2000 days or 40000 hours fit, 2754 days do not.
    EXPECT_EQ(send(server, {"start", "2754d"}).error.toStdString(), "That countdown is too long: the longest is 2753 days 10:13:07.");
    EXPECT_EQ(send(server, {"start", "40000h", "--slot", "5"}).status, 0);
    EXPECT_FALSE(b.SlotRunning(3));
    EXPECT_EQ(send(server, {"pause", "3"}).out, "Timer 3 paused\n");
    EXPECT_TRUE(b.SlotPaused(2));
    EXPECT_EQ(send(server, {"stop", "3"}).status, 0);
    EXPECT_FALSE(b.SlotRunning(2));
}

TEST_F(CommandServerTest, ACommandArrivingWhileAReminderOpensWaitsUntilTheExpiryHasEnded)
{
    frmMain& w = open();
    CommandServer server(w.slotBoard(), w.app());
    server.listen(*lock);
    type(0, "0", "0", "0", "1");
    type(1, "0", "0", "5", "0");
    w.cmdStart_Click(0);
    w.cmdStart_Click(1);
    advance(1);
    QByteArray answer;
    bool reminderOpenWhenHeard = false;
    // Delivered by the first pump of the tick: the one inside the opening of the reminder.
    QTimer::singleShot(0, [&] {
        reminderOpenWhenHeard = !reminders().isEmpty();
        lock->handler(CommandMessage::encode({{"stop", "2"}, "/"}), [&](const QByteArray& a) { answer = a; });
    });
    tick();
    EXPECT_TRUE(reminderOpenWhenHeard);
    EXPECT_TRUE(answer.isEmpty()) << "carried out inside the expiry";
    EXPECT_TRUE(w.slotBoard().SlotRunning(1));
    QTest::qWait(300);
    EXPECT_FALSE(w.slotBoard().SlotRunning(1));
    EXPECT_EQ(CommandMessage::decodeReply(answer).value_or(CommandMessage::Reply{9, {}, {}}).status, 0);

    lock->handler("{\"args\": [", [&](const QByteArray& a) { answer = a; });
    EXPECT_EQ(CommandMessage::decodeReply(answer)->status, 2);
    EXPECT_TRUE(QString::fromUtf8(readBytes("log.txt")).contains("Command refused: the message was cut short"));
}

// A command held by a question says so at once, naming it, to a caller that reads such lines;
// one held only by the program's own step hears nothing until a question opens.
TEST_F(CommandServerTest, ACommandThatWaitsForAQuestionSaysSoAtOnce)
{
    frmMain& w = open();
    CommandServer server(w.slotBoard(), w.app());
    server.listen(*lock);
    QByteArrayList told[3];
    QByteArray replies[3];
    const auto ask = [&](int k, bool readsNotices) {
        CommandMessage::Request request{{"start", "5m", "Tea" + QString::number(k)}, "/"};
        request.readsNotices = readsNotices;
        lock->handler(CommandMessage::encode(request),
                      InstanceLock::Answer([&, k](const QByteArray& a) { replies[k] = a; }, [] { return true; },
                                           [&, k](const QByteArray& line) { told[k] << line; }));
    };
    QMessageBox question(QMessageBox::Question, "Zelvo", "There are timers running.\nExit anyway?");
    question.setWindowModality(Qt::ApplicationModal);
    {
        const TriggerQueue::Step busy;
        ask(0, true);
        ask(1, false);
        QTest::qWait(300);
        EXPECT_TRUE(told[0].isEmpty()) << "nothing waits for the user yet";
        question.show();
        ask(2, true);
        QTest::qWait(300);
    }
    const QByteArray notice = CommandMessage::encodeNotice("waiting until Zelvo's question \"There are timers running.\" is answered");
    EXPECT_EQ(told[2], QByteArrayList{notice}) << "at once";
    EXPECT_EQ(told[0], QByteArrayList{notice}) << "once the question opened";
    EXPECT_TRUE(told[1].isEmpty()) << "a caller that reads no notices gets none";
    EXPECT_TRUE(replies[0].isEmpty());
    question.close();
    QTest::qWait(200);
    for (const QByteArray& reply : replies)
        EXPECT_EQ(CommandMessage::decodeReply(reply).value_or(CommandMessage::Reply{9, {}, {}}).status, 0) << reply.constData();
}
