#include "command_line/CommandLine.h"
#include <QMap>
#include <QRegularExpression>
#include <limits>

namespace {
constexpr std::int64_t kMaxSeconds = std::int64_t{1} << 40;  // far beyond what a slot holds

const QMap<QString, Command::Verb>& verbs()
{
    static const QMap<QString, Command::Verb> names{
        {"start", Command::Verb::Start}, {"at", Command::Verb::At},       {"list", Command::Verb::List},
        {"stop", Command::Verb::Stop},   {"pause", Command::Verb::Pause}, {"show", Command::Verb::Show},
        {"quit", Command::Verb::Quit},   {"--help", Command::Verb::Help}, {"-h", Command::Verb::Help},
        {"help", Command::Verb::Help},   {"--version", Command::Verb::Version},
        {"autostart", Command::Verb::Autostart}};
    return names;
}

std::optional<int> slotNumber(const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > 40 || !QRegularExpression("^[0-9]+$").match(text).hasMatch())
        return std::nullopt;
    return n;
}

// Reads what follows the verb: positional words and the options the verb allows.
class Reader {
public:
    Reader(const QStringList& args, QString* error) : m_args(args), m_error(error) {}

    bool fail(const QString& why)
    {
        if (m_error)
            *m_error = why;
        return false;
    }

    bool read(Command& c, int most, bool slotOptions)
    {
        for (int k = 1; k < m_args.size(); ++k) {
            const QString& a = m_args[k];
            const bool hasValue = k + 1 < m_args.size();
            if (slotOptions && a == "--slot") {
                const auto n = hasValue ? slotNumber(m_args[++k]) : std::nullopt;
                if (!n)
                    return fail("--slot needs a timer number from 1 to 40");
                c.slot = *n;
            } else if (slotOptions && a == "--no-alarm") {
                c.alarm = false;
            } else if (slotOptions && a == "--run") {
                if (!hasValue || m_args[k + 1].isEmpty())
                    return fail("--run needs a file or web address");
                c.run = m_args[++k];
            } else if (c.verb == Command::Verb::List && a == "--json") {
                c.json = true;
            } else if (a.startsWith("--") && a != "--") {
                return fail("unknown option " + a);
            } else {
                words << a;
            }
        }
        if (words.size() > most)
            return fail("too many arguments: " + words.mid(most).join(' '));
        return true;
    }

    QStringList words;

private:
    const QStringList& m_args;
    QString* m_error;
};
}

namespace CommandLine {

std::optional<std::int64_t> duration(const QString& text)
{
    const QString t = text.trimmed().toLower();
    static const QRegularExpression plain("^([0-9]{1,12})$");
    static const QRegularExpression units("^(?:([0-9]{1,9})d)?(?:([0-9]{1,9})h)?(?:([0-9]{1,9})m)?(?:([0-9]{1,12})s)?$");
    static const QRegularExpression colons("^([0-9]{1,9}):([0-5][0-9])(?::([0-5][0-9]))?$");
    std::int64_t seconds = -1;
    if (const auto m = plain.match(t); m.hasMatch()) {
        seconds = m.captured(1).toLongLong();
    } else if (const auto m = units.match(t); m.hasMatch() && !t.isEmpty()) {
        seconds = m.captured(1).toLongLong() * 86400 + m.captured(2).toLongLong() * 3600
                  + m.captured(3).toLongLong() * 60 + m.captured(4).toLongLong();
    } else if (const auto m = colons.match(t); m.hasMatch()) {
        const bool withHours = m.hasCaptured(3);
        const std::int64_t first = m.captured(1).toLongLong(), second = m.captured(2).toLongLong();
        seconds = withHours ? first * 3600 + second * 60 + m.captured(3).toLongLong() : first * 60 + second;
    }
    if (seconds < 0 || seconds > kMaxSeconds)
        return std::nullopt;
    return seconds;
}

std::optional<int> clockTime(const QString& text)
{
    static const QRegularExpression form("^([0-9]{1,2})(?::([0-5][0-9]))?(?::([0-5][0-9]))?\\s*(am|pm)?$",
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch() || (!m.hasCaptured(2) && !m.hasCaptured(4)))
        return std::nullopt;  // a bare number is no time of day
    int hour = m.captured(1).toInt();
    const QString half = m.captured(4).toLower();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == "pm" ? 12 : 0);
    } else if (hour > 23) {
        return std::nullopt;
    }
    return hour * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

std::optional<Command> parse(const QStringList& args, QString* error)
{
    Command c;
    if (args.isEmpty())
        return c;
    const auto verb = verbs().find(args[0]);
    Reader reader(args, error);
    if (verb == verbs().end()) {
        reader.fail("unknown command " + args[0]);
        return std::nullopt;
    }
    c.verb = *verb;
    using V = Command::Verb;
    const bool slotCommand = c.verb == V::Start || c.verb == V::At;
    const int most = slotCommand ? 2 : (c.verb == V::Stop || c.verb == V::Pause || c.verb == V::Autostart) ? 1 : 0;
    if (!reader.read(c, most, slotCommand))
        return std::nullopt;
    const QStringList& w = reader.words;
    const QString first = w.value(0);
    switch (c.verb) {
    case V::Start: {
        const auto d = duration(first);
        if (w.isEmpty() || !d || *d < 1) {
            reader.fail(w.isEmpty() ? "start needs a duration" : "not a duration: " + first);
            return std::nullopt;
        }
        c.seconds = *d;
        break;
    }
    case V::At: {
        const auto t = clockTime(first);
        if (!t) {
            reader.fail(w.isEmpty() ? "at needs a clock time" : "not a clock time: " + first);
            return std::nullopt;
        }
        c.clockSeconds = *t;
        break;
    }
    case V::Stop:
    case V::Pause: {
        const auto n = slotNumber(first);
        if (!n) {
            reader.fail(args[0] + " needs a timer number from 1 to 40");
            return std::nullopt;
        }
        c.slot = *n;
        break;
    }
    case V::Autostart:
        if (first != "on" && first != "off") {
            reader.fail("autostart needs on or off");
            return std::nullopt;
        }
        c.on = first == "on";
        break;
    default:
        break;
    }
    if (slotCommand) {
        c.message = w.value(1);
        if (!c.alarm && c.run.isEmpty()) {
            reader.fail("--no-alarm needs --run: a countdown must sound or run something");
            return std::nullopt;
        }
    }
    return c;
}

bool needsProgram(const Command& c)
{
    using V = Command::Verb;
    return c.verb != V::Help && c.verb != V::Version && c.verb != V::Autostart;
}

QString usage()
{
    return QStringLiteral(
        "Usage: zelvo [COMMAND]\n"
        "Without a command, starts Zelvo (or shows the copy that runs).\n\n"
        "  start DURATION [MESSAGE] [--slot N] [--no-alarm] [--run FILE-OR-URL]\n"
        "        count down DURATION: 90, 90s, 5m, 1h30m, 2d4h, 1:30:00 (h:mm:ss), 0:45 (m:ss)\n"
        "  at TIME [MESSAGE] [--slot N] [--no-alarm] [--run FILE-OR-URL]\n"
        "        count down to a clock time: 14:30, 2:30pm, \"2:30 pm\"\n"
        "  list [--json]   the timers counting or paused\n"
        "  stop N          stop timer N\n"
        "  pause N         pause timer N, or resume it\n"
        "  show            show the main window\n"
        "  quit            end Zelvo, countdowns kept for the next start\n"
        "  autostart on|off  start Zelvo when you log in\n"
        "  --help, --version\n\n"
        "Without --slot, a countdown takes the timer the quick-start buttons would.\n"
        "Exit status: 0 done, 1 refused (no free timer, timer busy, not running), 2 bad usage.\n");
}
}
