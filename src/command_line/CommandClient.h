#pragma once
#include "platform/CommandMessage.h"
#include <QStringList>
#include <optional>

class InstanceLock;

// The `zelvo COMMAND` side: what needs no window is done here, the rest is handed to the copy
// that runs, whose reply is printed.
namespace CommandClient {
// The exit status when the command line has been dealt with; nothing when the program itself
// must start: a plain start, or start and at with no copy running (their arguments in pending).
std::optional<int> run(int argc, char* argv[], QStringList* pending);
// Hands the arguments to the copy that runs; prints its reply and returns the exit status.
int forward(InstanceLock& lock, const QStringList& args);
int print(const CommandMessage::Reply& reply);
}
