#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "support/cSHAREDDelay.h"
#include <QThread>

namespace {
constexpr int kRetryMs = 100;
}

CommandServer::CommandServer(frmMain& main) : m_commands(main)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &CommandServer::drain);
}

void CommandServer::listen(InstanceLock& lock)
{
    lock.onRequest(CommandMessage::kMaxBytes,
                   [this](const QByteArray& bytes, const InstanceLock::Answer& answer) { hear(bytes, answer); });
}

bool CommandServer::busy()
{
    // Inside a message box or another modal window the loop is nested; inside a save or an
    // expiry the events are pumped by hand.
    return QThread::currentThread()->loopLevel() > 1 || cSHAREDDelay::instance().pumping();
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
    m_queue.push_back({*request, answer});
    drain();
}

void CommandServer::drain()
{
    while (!m_queue.empty()) {
        if (busy()) {
            m_retry.start();
            return;
        }
        const Pending next = m_queue.front();
        m_queue.pop_front();
        next.answer(CommandMessage::encode(run(next.request.args, next.request.folder)));
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
