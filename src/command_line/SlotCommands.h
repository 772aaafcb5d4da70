#pragma once
#include "command_line/CommandLine.h"
#include "platform/CommandMessage.h"

class SlotBoard;
class SlotHost;

// Carries out a command in the running copy as the same action in the window would: through
// the slot model and the program around it, with the same settings, log lines and tray colour.
class SlotCommands {
public:
    SlotCommands(SlotBoard& board, SlotHost& host) : m_board(board), m_host(host) {}
    // folder: the caller's, against which a relative file to run is read.
    CommandMessage::Reply run(const Command& command, const QString& folder);

private:
    CommandMessage::Reply start(const Command& c, const QString& folder);
    CommandMessage::Reply list(const Command& c) const;
    CommandMessage::Reply stop(int i);
    CommandMessage::Reply pause(int i);
    // Snoozes the slot asked for, or the one that rang last.
    CommandMessage::Reply snooze(const Command& c);
    // The slot asked for, or the one a quick start would take; -1 with the refusal in reply.
    int pick(const Command& c, CommandMessage::Reply& reply) const;
    void fill(int i, const Command& c, const QString& runFile);
    QString describe(int i) const;

    SlotBoard& m_board;
    SlotHost& m_host;
};
