#pragma once
#include "command_line/SlotCommands.h"
#include "platform/CommandMessage.h"
#include "platform/InstanceLock.h"
#include <QElapsedTimer>
#include <QObject>
#include <memory>

class SlotBoard;
class SlotHost;

// The running copy's end of the channel. Every message is untrusted: one that is oversized, cut
// short or not well formed is refused and logged (the first few one by one, then a count a
// minute). A command goes through the trigger queue, so it waits until no step of the program's
// own is under way and a slot never changes half-way through one; list, which changes nothing,
// answers at once, and quit first closes the windows that wait for the user, as their Cancel would.
class CommandServer : public QObject {
    Q_OBJECT
public:
    CommandServer(SlotBoard& board, SlotHost& host);
    void listen(InstanceLock& lock);
    // Carries out the arguments now.
    CommandMessage::Reply run(const QStringList& args, const QString& folder);

private:
    void hear(const QByteArray& bytes, const InstanceLock::Answer& answer);
    void tellWhileWaiting(const InstanceLock::Answer& answer, const std::shared_ptr<bool>& over);
    void logRefusal(const QString& why);

    SlotCommands m_commands;
    SlotHost& m_host;
    QElapsedTimer m_refusalMinute;
    int m_refusalsLogged = 0;
    int m_refusalsQuiet = 0;
};
