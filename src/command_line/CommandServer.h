#pragma once
#include "command_line/CommandMessage.h"
#include "command_line/SlotCommands.h"
#include "platform/InstanceLock.h"
#include <QObject>
#include <QTimer>
#include <deque>

class frmMain;

// The running copy's end of the channel. Every message is untrusted: one that is oversized, cut
// short or not well formed is refused and logged. A command that arrives while the program is
// inside another step (a message box, a save, an expiry pumping events) waits until that step
// has ended, so a slot never changes half-way through it.
class CommandServer : public QObject {
    Q_OBJECT
public:
    explicit CommandServer(frmMain& main);
    void listen(InstanceLock& lock);
    // Carries out the arguments now (the first start's own command, or one taken from the queue).
    CommandMessage::Reply run(const QStringList& args, const QString& folder);
    // Whether the program is inside another step right now.
    static bool busy();

private:
    void hear(const QByteArray& bytes, const InstanceLock::Answer& answer);
    void drain();

    struct Pending {
        CommandMessage::Request request;
        InstanceLock::Answer answer;
    };
    SlotCommands m_commands;
    std::deque<Pending> m_queue;
    QTimer m_retry;
};
