#include "command_line/CommandClient.h"
#include "command_line/Autostart.h"
#include "command_line/CommandLine.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "support/cSHAREDSubs.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
constexpr int kStartMs = 20000;

void out(FILE* to, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fflush(to);
}

int fail(int status, const QString& why)
{
    out(stderr, "zelvo: " + why + '\n');
    return status;
}

// What is done without the running copy: help, version, the autostart entry.
int local(const Command& c)
{
    switch (c.verb) {
    case Command::Verb::Help: out(stdout, CommandLine::usage(c.message)); return 0;
    case Command::Verb::Version: out(stdout, "Zelvo version " + cSHAREDSubs::instance().AppVersion() + '\n'); return 0;
    default: {
        const QString problem = Autostart::set(c.on, QCoreApplication::applicationFilePath());
        if (!problem.isEmpty())
            return fail(1, problem);
        out(stdout, c.on ? "Zelvo starts when you log in: " + Autostart::entryPath() + '\n'
                         : QStringLiteral("Zelvo no longer starts when you log in\n"));
        return 0;
    }
    }
}
}

namespace CommandClient {

int print(const CommandMessage::Reply& reply)
{
    out(stdout, reply.out);
    if (!reply.error.isEmpty())
        fail(reply.status, reply.error);
    return reply.status;
}

int forward(InstanceLock& lock, const QStringList& args)
{
    // No time-out: a command waits for the copy that runs, which answers once it has carried it
    // out (after a window that waits for the user, say, which it names at once) or refused it.
    CommandMessage::Request request{args, QDir::currentPath()};
    request.readsNotices = true;
    const QByteArray answer = lock.askAndWait(CommandMessage::encode(request), [](const QByteArray& line) {
        const auto waitingFor = CommandMessage::decodeNotice(line);
        if (waitingFor)
            out(stderr, "zelvo: " + *waitingFor + '\n');
        return !waitingFor;
    });
    if (answer.isEmpty())
        return fail(1, QStringLiteral("Zelvo did not take the command (it is not running, or it ended)"));
    const auto reply = CommandMessage::decodeReply(answer);
    return reply ? print(*reply) : fail(1, QStringLiteral("Zelvo gave an answer that could not be read"));
}

// No copy runs: one is started in the background, in a session of its own and with none of the
// terminal's streams, so that it outlives the shell; the command then goes to it as to any copy.
int startAndForward(InstanceLock& lock, const QStringList& args)
{
#ifdef Q_OS_WIN
    // Windows hands a new process every inheritable handle: the caller's pipe would stay open in the
    // program, and whoever reads this command's output would wait for its end.
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        SetHandleInformation(GetStdHandle(stream), HANDLE_FLAG_INHERIT, 0);
#endif
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    if (!program.startDetached())
        return fail(1, QStringLiteral("Zelvo could not be started"));
    QElapsedTimer waited;
    waited.start();
    while (!lock.earlierListening()) {
        if (waited.elapsed() > kStartMs)
            return fail(1, QStringLiteral("Zelvo was started but did not come up"));
        QThread::msleep(50);
    }
    return forward(lock, args);
}

std::optional<int> run(int argc, char* argv[])
{
    QStringList args;
    for (int k = 1; k < argc; ++k)
        args << QString::fromLocal8Bit(argv[k]);
    if (args.isEmpty())
        return std::nullopt;
    QString error;
    const auto command = CommandLine::parse(args, &error);
    if (!command)
        return fail(2, error + "\nTry 'zelvo --help'.");
    QCoreApplication app(argc, argv);
    if (!CommandLine::needsProgram(*command))
        return local(*command);
    InstanceLock& lock = Platform::instanceLock();
    if (lock.earlierListening())
        return forward(lock, args);
    using V = Command::Verb;
    if (command->verb != V::Start && command->verb != V::At)
        return fail(1, QStringLiteral("Zelvo is not running"));
    return startAndForward(lock, args);
}
}
