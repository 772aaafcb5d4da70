#pragma once
#include "platform/CommandMessage.h"
#include <QStringList>
#include <optional>

class InstanceLock;

// The `zelvo COMMAND` side: what needs no window is done here, the rest is handed to the copy
// that runs, whose reply is printed.
namespace CommandClient {
// The exit status when the command line has been dealt with; nothing for a plain start, when
// this process becomes the program. start and at with no copy running start one in the background.
std::optional<int> run(int argc, char* argv[]);
// Hands the arguments to the copy that runs; prints its reply and returns the exit status.
int forward(InstanceLock& lock, const QStringList& args);
int print(const CommandMessage::Reply& reply);
}
