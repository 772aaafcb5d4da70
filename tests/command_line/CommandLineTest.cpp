#include "command_line/CommandLine.h"
#include "platform/CommandMessage.h"
#include <gtest/gtest.h>

TEST(CommandLine, DurationsAndClockTimesReadTheFormsOfTheHelpAndNothingElse)
{
    const std::vector<std::pair<const char*, std::int64_t>> durations{
        {"90", 90},       {"90s", 90},   {"5m", 300},        {"1h30m", 5400}, {"2d4h", 187200},
        {"1:30:00", 5400}, {"0:45", 45}, {"1d1h1m1s", 90061}, {" 5M ", 300}, {"", -1},
        {"5x", -1},       {"-5", -1},    {"1:60", -1},       {"1:5", -1},     {"m", -1},
        {"1.5h", 5400},   {"99999999999999", -1}, {"5 minutes", 300}, {"1 hour 30 minutes", 5400},
        {"1h 30m", 5400}, {"5 min", 300}, {"2 days", 172800}, {"30m 1h", -1}, {"5 5", -1}, {"5 mx", -1}};
    for (const auto& [text, seconds] : durations)
        EXPECT_EQ(CommandLine::duration(text).value_or(-1), seconds) << text;

    const std::vector<std::pair<const char*, int>> times{
        {"14:30", 52200}, {"14:30:15", 52215}, {"2:30pm", 52200}, {"2:30 PM", 52200}, {"12am", 0},
        {"12:15pm", 44100}, {"0:05", 300},    {"9am", 32400},    {"24:00", -1},      {"13pm", -1},
        {"0am", -1},       {"14", -1},        {"14:60", -1},     {"noon", -1}};
    for (const auto& [text, seconds] : times)
        EXPECT_EQ(CommandLine::clockTime(text).value_or(-1), seconds) << text;
}

TEST(CommandLine, EveryCommandReadsItsWordsAndOptionsAndBadUsageSaysWhatIsWrong)
{
    QString error;
    const auto start = CommandLine::parse({"start", "5m", "Tea", "--slot", "3", "--no-alarm", "--run", "a.sh"}, &error);
    ASSERT_TRUE(start) << error.toStdString();
    EXPECT_EQ(start->verb, Command::Verb::Start);
    EXPECT_EQ(start->seconds, 300);
    EXPECT_EQ(start->message, "Tea");
    EXPECT_EQ(start->slot, 3);
    EXPECT_FALSE(start->alarm);
    EXPECT_EQ(start->run, "a.sh");
    const auto at = CommandLine::parse({"at", "2:30 pm"}, &error);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->clockSeconds, 52200);
    EXPECT_TRUE(CommandLine::parse({"list", "--json"}, &error)->json);
    EXPECT_EQ(CommandLine::parse({"pause", "40"}, &error)->slot, 40);
    EXPECT_TRUE(CommandLine::parse({"autostart", "on"}, &error)->on);
    EXPECT_TRUE(CommandLine::parse({"start", "20m", "Stretch", "--repeat"}, &error)->repeat);

    // Words as users write them: the duration is every word that belongs to it, then one message.
    const std::vector<std::tuple<QStringList, std::int64_t, const char*, int>> read{
        {{"start", "5", "minutes"}, 300, "", 0},
        {{"start", "1", "hour", "30", "minutes", "Tea"}, 5400, "Tea", 0},
        {{"start", "--slot=3", "1h", "30m"}, 5400, "", 3},
        {{"start", "-s", "4", "5", "m", "--", "--weird"}, 300, "--weird", 4},
        {{"start", "5m", "--message", "Tea time"}, 300, "Tea time", 0},
        {{"at", "2:30", "pm", "Meeting"}, 52200, "Meeting", 0},
        {{"snooze"}, 0, "", 0},
        {{"snooze", "3"}, 0, "", 3},
        {{"snooze", "10m"}, 600, "", 0},
        {{"snooze", "3", "1", "hour"}, 3600, "", 3}};
    for (const auto& [args, seconds, message, slot] : read) {
        const auto c = CommandLine::parse(args, &error);
        ASSERT_TRUE(c) << args.join(' ').toStdString() << ": " << error.toStdString();
        EXPECT_EQ(c->verb == Command::Verb::At ? c->clockSeconds : c->seconds, seconds) << args.join(' ').toStdString();
        EXPECT_EQ(c->message, message) << args.join(' ').toStdString();
        EXPECT_EQ(c->slot, slot) << args.join(' ').toStdString();
    }

    const std::vector<std::pair<QStringList, const char*>> bad{
        {{"start", "5", "minutes", "Tea", "extra"}, "too many arguments: extra"},
        {{"start", "1h", "30", "Tea"}, "too many arguments: Tea"},
        {{"start", "5m", "Tea", "--message", "Other"}, "too many arguments: Tea"},
        {{"start", "5m", "-x"}, "unknown option -x"},
        {{"help", "begin"}, "no help on begin"},
        {{"begin"}, "unknown command begin"},
        {{"start"}, "start needs a duration"},
        {{"start", "0"}, "not a duration: 0"},
        {{"start", "5m", "Tea", "extra"}, "too many arguments: extra"},
        {{"start", "5m", "--slot", "41"}, "--slot needs a timer number from 1 to 40"},
        {{"start", "5m", "--no-alarm"}, "--no-alarm needs --run: a countdown must sound or run something"},
        {{"at", "25:00"}, "not a clock time: 25:00"},
        {{"stop"}, "stop needs a timer number from 1 to 40"},
        {{"list", "--slot", "2"}, "unknown option --slot"},
        {{"autostart", "maybe"}, "autostart needs on or off"},
        {{"snooze", "3", "soon"}, "not a duration: soon"},
        {{"snooze", "--repeat"}, "unknown option --repeat"},
        {{"snooze", "41", "10m"}, "snooze needs a timer number from 1 to 40, not 41"},
        {{"start", "5m", "--slot", "2", "-s", "3"}, "--slot given twice"},
        {{"start", "5m", "--run", "a", "--run=b"}, "--run given twice"},
        {{"start", "1s", "X", "--repeat"}, "--repeat needs a countdown of at least 1 minute"},
        {{"start", "1", "hour", "30"}, "the message \"30\" reads as part of the duration: write it joined (1h30m), or give the message with --message"},
        {{"start", "30s", "5m"}, "the message \"5m\" reads as part of the duration: write it joined (1h30m), or give the message with --message"},
        {{"at", "2:30", "p.m."}, "the message \"p.m.\" reads as part of the time: write it joined (2:30pm), or give the message with --message"}};
    for (const auto& [args, why] : bad) {
        EXPECT_FALSE(CommandLine::parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_EQ(error, why);
    }
}

TEST(CommandMessage, ARequestGoesRoundAndAnythingElseIsRefusedWithItsReason)
{
    // Characters count, not bytes: ten thousand cups of tea are no more than ten thousand letters.
    const CommandMessage::Request sent{{"start", "5m", "Tea\n\"time\"" + QString(10000, QChar(0x2615))}, "/home/u"};
    const QByteArray line = CommandMessage::encode(sent);
    EXPECT_EQ(line.count('\n'), 1);
    const auto back = CommandMessage::decodeRequest(line, nullptr);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->args, sent.args);
    EXPECT_EQ(back->folder, sent.folder);
    const auto reply = CommandMessage::decodeReply(CommandMessage::encode(CommandMessage::Reply{1, "o", "e"}));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 1);
    EXPECT_EQ(reply->error, "e");

    const std::vector<std::pair<QByteArray, const char*>> refused{
        {line.left(line.size() - 5), "cut short or not one line"},
        {QByteArray(CommandMessage::kMaxBytes + 1, 'x'), "oversized (66561 bytes)"},
        {CommandMessage::encode(CommandMessage::Request{{QString(CommandMessage::kMaxChars, 'x')}, "/"}),
         "oversized (16385 characters)"},
        {"garbage\n", "not well formed"},
        {"{\"args\":[1,2],\"folder\":\"/\"}\n", "not a request"},
        {"{\"args\":[]}\n", "not a request"}};
    for (const auto& [bytes, reason] : refused) {
        QString why;
        EXPECT_FALSE(CommandMessage::decodeRequest(bytes, &why)) << bytes.left(40).toStdString();
        EXPECT_EQ(why, reason);
    }
}
