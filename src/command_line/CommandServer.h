#pragma once
#include "platform/CommandMessage.h"
#include "command_line/SlotCommands.h"
#include "platform/InstanceLock.h"
#include <QObject>

class SlotBoard;
class SlotHost;

// The running copy's end of the channel. Every message is untrusted: one that is oversized, cut
// short or not well formed is refused and logged. A command goes through the trigger queue, so
// it waits until no step of the program's own is under way and a slot never changes half-way
// through one.
class CommandServer : public QObject {
    Q_OBJECT
public:
    CommandServer(SlotBoard& board, SlotHost& host);
    void listen(InstanceLock& lock);
    // Carries out the arguments now (the first start's own command, or one taken from the queue).
    CommandMessage::Reply run(const QStringList& args, const QString& folder);

private:
    void hear(const QByteArray& bytes, const InstanceLock::Answer& answer);

    SlotCommands m_commands;
};
