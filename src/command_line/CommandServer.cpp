#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "slot_model/SlotHost.h"
#include "support/Guard.h"
#include "support/TriggerQueue.h"
#include <QPointer>
#include <QTimer>
#include <memory>

namespace {
constexpr int kRefusalsLogged = 5;  // a minute, one by one; the rest are counted
constexpr int kLookAgainMs = 200;
}

CommandServer::CommandServer(SlotBoard& board, SlotHost& host) : m_commands(board, host), m_host(host) {}

void CommandServer::listen(InstanceLock& lock)
{
    lock.onRequest(CommandMessage::kMaxBytes,
                   [this](const QByteArray& bytes, const InstanceLock::Answer& answer) { hear(bytes, answer); });
}

void CommandServer::hear(const QByteArray& bytes, const InstanceLock::Answer& answer)
{
    QString why;
    const auto request = CommandMessage::decodeRequest(bytes, &why);
    if (!request) {
        logRefusal(why);
        answer(CommandMessage::encode(CommandMessage::Reply{2, QString(), "message refused: " + why}));
        return;
    }
    const QString verb = request->args.value(0);
    if (verb == QLatin1String("list")) {
        answer(CommandMessage::encode(run(request->args, request->folder)));
        return;
    }
    if (verb == QLatin1String("quit"))
        m_host.dismissDialogs();
    const QString name = "Command " + request->args.value(0);
    // Once the program has begun to end, a command is told so rather than carried out and lost.
    const CommandMessage::Reply ending =
        verb == QLatin1String("quit") ? CommandMessage::Reply{}
                                      : CommandMessage::Reply{1, QString(), QStringLiteral("Zelvo is closing: the command was not carried out")};
    auto over = std::make_shared<bool>(false);
    TriggerQueue::instance().post(
        name,
        [self = QPointer<CommandServer>(this), name, request = *request, answer, over] {
            *over = true;
            // A caller interrupted while it waited was never told the command was done.
            if (!answer.waiting()) {
                cSharedLogging::instance().LogEvent(name + " was not carried out: its caller had gone", false);
                return;
            }
            CommandMessage::Reply reply{1, QString(), QStringLiteral("the command failed; see the log")};
            Guard g{name, "CommandServer"};
            g([&] {
                if (self)
                    reply = self->run(request.args, request.folder);
            });
            answer(CommandMessage::encode(reply));
        },
        [answer, ending, over] {
            *over = true;
            answer(CommandMessage::encode(ending));
        },
        verb == QLatin1String("quit") ? TriggerQueue::Reach::Program : TriggerQueue::Reach::Slots);
    if (!*over && request->readsNotices)
        tellWhileWaiting(answer, over);
}

// A command that waits says at once what for: a window that waits for the user, who may not see it.
// A command that waits only for a step of the program's own hears nothing unless such a window
// opens meanwhile (the start-up's list of missed alarms, say).
void CommandServer::tellWhileWaiting(const InstanceLock::Answer& answer, const std::shared_ptr<bool>& over)
{
    if (*over || !answer.waiting())
        return;
    const QString what = m_host.waitsForUser();
    if (!what.isEmpty()) {
        answer.tell(CommandMessage::encodeNotice("waiting until Zelvo's " + what));
        return;
    }
    QTimer::singleShot(kLookAgainMs, this, [this, answer, over] { tellWhileWaiting(answer, over); });
}

void CommandServer::logRefusal(const QString& why)
{
    if (!m_refusalMinute.isValid() || m_refusalMinute.hasExpired(60000)) {
        if (m_refusalsQuiet > 0)
            cSharedLogging::instance().LogEvent(
                QStringLiteral("Commands refused: %1 more messages in the last minute").arg(m_refusalsQuiet), false);
        m_refusalMinute.start();
        m_refusalsLogged = 0;
        m_refusalsQuiet = 0;
    }
    if (m_refusalsLogged < kRefusalsLogged) {
        ++m_refusalsLogged;
        cSharedLogging::instance().LogEvent("Command refused: the message was " + why, false);
    } else {
        ++m_refusalsQuiet;
    }
}

CommandMessage::Reply CommandServer::run(const QStringList& args, const QString& folder)
{
    QString error;
    const auto command = CommandLine::parse(args, &error);
    if (!command)
        return {2, QString(), error};
    if (!CommandLine::needsProgram(*command))
        return {2, QString(), QStringLiteral("not a command for the running copy")};
    return m_commands.run(*command, folder);
}
