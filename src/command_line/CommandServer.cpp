#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "support/Guard.h"
#include "support/TriggerQueue.h"
#include <QPointer>

CommandServer::CommandServer(SlotBoard& board, SlotHost& host) : m_commands(board, host) {}

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
        cSharedLogging::instance().LogEvent("Command refused: the message was " + why, false);
        answer(CommandMessage::encode(CommandMessage::Reply{2, QString(), "message refused: " + why}));
        return;
    }
    const QString name = "Command " + request->args.value(0);
    TriggerQueue::instance().post(name, [self = QPointer<CommandServer>(this), name, request = *request, answer] {
        CommandMessage::Reply reply{1, QString(), QStringLiteral("the command failed; see the log")};
        Guard g{name, "CommandServer"};
        g([&] {
            if (self)
                reply = self->run(request.args, request.folder);
        });
        answer(CommandMessage::encode(reply));
    });
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
