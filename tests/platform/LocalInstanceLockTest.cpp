#include "platform/LocalInstanceLock.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <atomic>
#include <optional>
#include <gtest/gtest.h>
#include <thread>

namespace {
QString freshKey() { return "/tmp/zelvo-test-folder-" + QUuid::createUuid().toString(QUuid::WithoutBraces); }

bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}
}

TEST(LocalInstanceLock, TheSecondCopyOfAFolderFindsTheFirstAndHasItsAnswer)
{
    const QString key = freshKey();
    LocalInstanceLock first(key);
    QByteArrayList heard;
    first.onRequest(16, [&](const QByteArray& request, const InstanceLock::Answer& answer) {
        heard << request;
        if (request != "slow\n")
            return answer("ok " + request);
        answer.tell("wait\n");  // why it waits, before the answer
        QTimer::singleShot(200, [answer] { answer("done\n"); });
    });
    ASSERT_FALSE(first.earlierInstanceRunning());
    EXPECT_EQ(QFile(first.socketPath()).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup
                                                         | QFile::WriteGroup),
              QFile::Permissions()) << "the channel is the user's alone";

    LocalInstanceLock second(key);
    ASSERT_TRUE(second.earlierInstanceRunning());
    EXPECT_TRUE(second.earlierListening());
    // The later copy waits for the answer while the first answers from its event loop.
    std::atomic<bool> done = false;
    QByteArray reply;
    std::thread asking([&] {
        reply = second.ask("show\n", 3000);
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done.load(); }));
    asking.join();
    EXPECT_EQ(reply, "ok show\n");
    EXPECT_EQ(heard, QByteArrayList{"show\n"});
    done = false;
    QByteArrayList lines;
    std::thread waiting([&] {
        reply = second.askAndWait("slow\n", [&](const QByteArray& line) {
            lines << line;
            return line != "wait\n";
        });
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done.load(); }));
    waiting.join();
    EXPECT_EQ(reply, "done\n");
    EXPECT_EQ(lines, (QByteArrayList{"wait\n", "done\n"}));

    LocalInstanceLock elsewhere(freshKey());
    EXPECT_FALSE(elsewhere.earlierInstanceRunning()) << "a copy in another folder runs on its own";
    EXPECT_FALSE(LocalInstanceLock(freshKey()).earlierListening());
    // A clean end leaves nothing behind in the runtime folder.
    first.release();
    EXPECT_FALSE(QFile::exists(first.socketPath()) || QFile::exists(first.lockPath()));
}

// A folder below a plain file can be made by nobody, root included.
TEST(LocalInstanceLock, ALockThatCannotBeMadeIsNoEarlierCopy)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the lock is a named mutex there, which its process's end lets go";
#endif
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    LocalInstanceLock blocked(freshKey(), plain.fileName() + "/runtime");
    EXPECT_FALSE(blocked.earlierInstanceRunning());
    EXPECT_TRUE(blocked.problem().contains(blocked.lockPath())) << blocked.problem().toStdString();
}

TEST(LocalInstanceLock, TheLockOfAKilledCopyNeverBlocksTheNextStart)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the lock is a named mutex there, which its process's end lets go";
#endif
    const QString key = freshKey();
    LocalInstanceLock next(key);
    // A killed copy leaves its lock behind, naming a process that is gone.
    QFile stale(next.lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
    stale.write("999999\n" + QCoreApplication::applicationName().toUtf8() + "\n"
                + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();

    EXPECT_FALSE(next.earlierInstanceRunning());
    EXPECT_TRUE(LocalInstanceLock(key).earlierInstanceRunning()) << "and it now holds the lock itself";
}

TEST(LocalInstanceLock, NoEarlierCopyMeansNobodyAnswers)
{
    LocalInstanceLock lonely(freshKey());
    EXPECT_TRUE(lonely.ask("show\n", 500).isEmpty());
}

// An answer larger than the socket's buffer goes out in pieces from the event loop, and a caller
// that hung up is seen as gone when its answer is due.
TEST(LocalInstanceLock, AnAnswerBeyondTheBufferArrivesWholeAndAGoneCallerIsNoLongerWaiting)
{
    const QString key = freshKey();
    LocalInstanceLock first(key);
    const QByteArray large = QByteArray(3 << 20, 'z') + '\n';
    std::optional<InstanceLock::Answer> held;
    first.onRequest(16, [&](const QByteArray& request, const InstanceLock::Answer& answer) {
        if (request == "large\n")
            return answer(large);
        held = answer;
    });
    ASSERT_FALSE(first.earlierInstanceRunning());

    std::atomic<bool> done = false;
    QByteArray reply;
    std::thread asking([&] {
        reply = LocalInstanceLock(key).ask("large\n", 5000);
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done.load(); }));
    asking.join();
    EXPECT_EQ(reply.size(), large.size());
    EXPECT_EQ(reply, large);

    done = false;
    std::thread leaving([&] {
        LocalInstanceLock(key).ask("later\n", 300);  // hangs up after 300 ms, unanswered
        done = true;
    });
    ASSERT_TRUE(waitFor([&] { return held.has_value(); }));
    EXPECT_TRUE(held->waiting());
    EXPECT_TRUE(waitFor([&] { return done.load() && !held->waiting(); }));
    leaving.join();
    (*held)("too late\n");  // written to nobody, harmlessly
}
