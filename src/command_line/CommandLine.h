#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// What a command line asks for: read the same way at a first start and in the running copy.
struct Command {
    enum class Verb { Plain, Start, At, List, Stop, Pause, Snooze, Show, Quit, Help, Version, Autostart };
    Verb verb = Verb::Plain;
    std::int64_t seconds = 0;     // start, snooze: the duration (snooze: 0 for the usual five minutes)
    int clockSeconds = 0;         // at: seconds since midnight
    QString message;              // empty: the slot keeps its own; help: the command asked about
    int slot = 0;                 // 1 to 40; 0: the slot a quick start would take (snooze: the last that rang)
    bool alarm = true;
    QString run;                  // a file or web address; empty: none
    bool json = false;            // list
    bool repeat = false;          // start, at: again at each end
    bool on = false;              // autostart
};

namespace CommandLine {
// The arguments after the program's name; on bad usage, nothing and the reason in error.
std::optional<Command> parse(const QStringList& args, QString* error);
// "90", "90s", "5m", "1h30m", "1h 30m", "5 minutes", "1.5h", "2d4h", "1:30:00" (h:mm:ss),
// "0:45" (m:ss): whole seconds.
std::optional<std::int64_t> duration(const QString& text);
// "14:30", "14:30:15", "2:30pm", "2:30 pm", "12am": seconds since midnight.
std::optional<int> clockTime(const QString& text);
// Whether the command needs a running copy, or one started for it.
bool needsProgram(const Command& command);
// The whole help, or the lines about one command.
QString usage(const QString& topic = QString());
}
