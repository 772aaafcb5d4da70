#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "slot_model/SlotHost.h"
#include "support/Guard.h"
#include "support/TriggerQueue.h"
#include <QPointer>

namespace {
constexpr int kRefusalsLogged = 5;  // a minute, one by one; the rest are counted
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
    TriggerQueue::instance().post(
        name,
        [self = QPointer<CommandServer>(this), name, request = *request, answer] {
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
        [answer, ending] { answer(CommandMessage::encode(ending)); },
        verb == QLatin1String("quit") ? TriggerQueue::Reach::Program : TriggerQueue::Reach::Slots);
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
