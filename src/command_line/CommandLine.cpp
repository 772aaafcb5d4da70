#include "command_line/CommandLine.h"
#include "slot_model/ClockTime.h"
#include <QMap>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {
constexpr std::int64_t kMaxSeconds = std::int64_t{1} << 40;  // far beyond what a slot holds
constexpr std::int64_t kShortestRepeat = 60;

const QMap<QString, Command::Verb>& verbs()
{
    static const QMap<QString, Command::Verb> names{
        {"start", Command::Verb::Start}, {"at", Command::Verb::At},       {"list", Command::Verb::List},
        {"stop", Command::Verb::Stop},   {"pause", Command::Verb::Pause}, {"show", Command::Verb::Show},
        {"snooze", Command::Verb::Snooze},
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

// Reads what follows the verb: the options the verb allows (--slot N, --slot=N, -s N, --run X,
// --message X, --no-alarm, --repeat, --json) and the other words, in their order; "--" ends the options.
class Reader {
public:
    Reader(const QStringList& args, QString* error) : m_args(args), m_error(error) {}

    bool fail(const QString& why)
    {
        if (m_error)
            *m_error = why;
        return false;
    }

    bool read(Command& c, bool slotOptions)
    {
        bool options = true;
        for (int k = 1; k < m_args.size(); ++k) {
            QString a = m_args[k];
            if (!options || a == "-" || !a.startsWith('-') || isNegativeNumber(a)) {
                words << a;
                continue;
            }
            if (a == "--") {
                options = false;
                continue;
            }
            // "--slot=3" and "-s3" are "--slot 3".
            QString value;
            bool inline_ = false;
            if (const qsizetype eq = a.indexOf('='); a.startsWith("--") && eq > 0) {
                value = a.mid(eq + 1);
                a.truncate(eq);
                inline_ = true;
            } else if (!a.startsWith("--") && a.size() > 2) {
                value = a.mid(2);
                a.truncate(2);
                inline_ = true;
            }
            const auto takeValue = [&]() -> std::optional<QString> {
                if (inline_)
                    return value;
                if (k + 1 < m_args.size())
                    return m_args[++k];
                return std::nullopt;
            };
            // An option given twice would silently mean its last value.
            const QString option = a == "-s" ? "--slot" : a == "-r" ? "--run" : a == "-m" ? "--message" : a;
            if (m_given.contains(option))
                return fail(option + " given twice");
            m_given << option;
            if (slotOptions && (a == "--slot" || a == "-s")) {
                const auto text = takeValue();
                const auto n = text ? slotNumber(*text) : std::nullopt;
                if (!n)
                    return fail("--slot needs a timer number from 1 to 40");
                c.slot = *n;
            } else if (slotOptions && a == "--no-alarm" && !inline_) {
                c.alarm = false;
            } else if (slotOptions && a == "--repeat" && !inline_) {
                c.repeat = true;
            } else if (slotOptions && (a == "--run" || a == "-r")) {
                const auto text = takeValue();
                if (!text || text->isEmpty())
                    return fail("--run needs a file or web address");
                c.run = *text;
            } else if (slotOptions && (a == "--message" || a == "-m")) {
                const auto text = takeValue();
                if (!text)
                    return fail("--message needs a text");
                c.message = *text;
                hasMessage = true;
            } else if (c.verb == Command::Verb::List && a == "--json" && !inline_) {
                c.json = true;
            } else {
                return fail("unknown option " + m_args[k]);
            }
        }
        return true;
    }

    QStringList words;
    bool hasMessage = false;

private:
    static bool isNegativeNumber(const QString& a) { return a.size() > 1 && a[0] == '-' && a[1].isDigit(); }

    const QStringList& m_args;
    QString* m_error;
    QStringList m_given;
};

// A message word that reads as more of the duration ("start 1h 30") or of the clock time ("at 2:30
// p.m."): the user meant one value, and would get another with a message they did not write.
bool misreadMessage(const Command& c)
{
    static const QRegularExpression half(QStringLiteral("^[ap]\\.?m\\.?$"), QRegularExpression::CaseInsensitiveOption);
    if (c.message.isEmpty())
        return false;
    if (c.verb == Command::Verb::At)
        return half.match(c.message).hasMatch() || CommandLine::clockTime(c.message).has_value();
    return CommandLine::duration(c.message).has_value();
}

// The longest run of leading words that reads as one value; 0 when none does.
template <class Read>
qsizetype leadingWords(const QStringList& words, qsizetype most, Read read)
{
    for (qsizetype n = std::min(most, words.size()); n > 0; --n)
        if (read(words.mid(0, n).join(' ')))
            return n;
    return 0;
}
}

namespace CommandLine {

std::optional<std::int64_t> duration(const QString& text)
{
    const QString t = text.trimmed().toLower();
    static const QRegularExpression plain("^([0-9]{1,12})$");
    // "5m", "1h30m", "1h 30m", "5 minutes", "1 hour 30 minutes", "1.5h": each unit at most once, largest first.
    static const QRegularExpression units(
        "^(?:([0-9]{1,9}(?:\\.[0-9]{1,6})?) *(?:d|days?) *)?(?:([0-9]{1,9}(?:\\.[0-9]{1,6})?) *(?:h|hrs?|hours?) *)?"
        "(?:([0-9]{1,9}(?:\\.[0-9]{1,6})?) *(?:m|mins?|minutes?) *)?(?:([0-9]{1,12}(?:\\.[0-9]{1,6})?) *(?:s|secs?|seconds?))?$");
    static const QRegularExpression colons("^([0-9]{1,9}):([0-5][0-9])(?::([0-5][0-9]))?$");
    double seconds = -1;
    if (const auto m = plain.match(t); m.hasMatch()) {
        seconds = m.captured(1).toDouble();
    } else if (const auto m = units.match(t); m.hasMatch() && !t.isEmpty()) {
        seconds = m.captured(1).toDouble() * 86400 + m.captured(2).toDouble() * 3600 + m.captured(3).toDouble() * 60
                  + m.captured(4).toDouble();
    } else if (const auto m = colons.match(t); m.hasMatch()) {
        const bool withHours = m.hasCaptured(3);
        const double first = m.captured(1).toDouble(), second = m.captured(2).toDouble();
        seconds = withHours ? first * 3600 + second * 60 + m.captured(3).toDouble() : first * 60 + second;
    }
    if (seconds < 0 || seconds > static_cast<double>(kMaxSeconds))
        return std::nullopt;
    return std::llround(seconds);
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
        hour = ClockTime::hour24(hour, half == "pm");
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
    if (!reader.read(c, slotCommand))
        return std::nullopt;
    QStringList w = reader.words;
    const QString first = w.value(0);
    qsizetype used = w.isEmpty() ? 0 : 1;
    switch (c.verb) {
    case V::Start: {
        // The duration is every leading word that belongs to it: "1 hour 30 minutes".
        used = leadingWords(w, 6, [](const QString& t) { return duration(t).has_value(); });
        const auto d = used ? duration(w.mid(0, used).join(' ')) : std::nullopt;
        if (w.isEmpty() || !d || *d < 1) {
            reader.fail(w.isEmpty() ? "start needs a duration" : "not a duration: " + first);
            return std::nullopt;
        }
        c.seconds = *d;
        break;
    }
    case V::At: {
        used = leadingWords(w, 2, [](const QString& t) { return clockTime(t).has_value(); });
        if (!used) {
            reader.fail(w.isEmpty() ? "at needs a clock time" : "not a clock time: " + first);
            return std::nullopt;
        }
        c.clockSeconds = *clockTime(w.mid(0, used).join(' '));
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
    case V::Snooze: {
        // "snooze", "snooze 3", "snooze 10m", "snooze 3 10m": a bare number first is the timer,
        // and one that is no timer is named as such rather than read as seconds.
        const auto n = slotNumber(first);
        static const QRegularExpression bare(QStringLiteral("^[0-9]+$"));
        if (!n && w.size() > 1 && bare.match(first).hasMatch() && !duration(w.mid(0, 2).join(' '))) {
            reader.fail("snooze needs a timer number from 1 to 40, not " + first);
            return std::nullopt;
        }
        if (n) {
            c.slot = *n;
            w.removeFirst();
        }
        used = leadingWords(w, 6, [](const QString& t) { return duration(t).has_value(); });
        const auto d = used ? duration(w.mid(0, used).join(' ')) : std::nullopt;
        if (!w.isEmpty() && (!d || *d < 1)) {
            reader.fail("not a duration: " + w.first());
            return std::nullopt;
        }
        c.seconds = d.value_or(0);
        break;
    }
    case V::Autostart:
        if (first != "on" && first != "off") {
            reader.fail("autostart needs on or off");
            return std::nullopt;
        }
        c.on = first == "on";
        break;
    case V::Help:
        // "help start": the lines about that command.
        if (!first.isEmpty() && (!verbs().contains(first) || verbs()[first] == V::Help)) {
            reader.fail("no help on " + first);
            return std::nullopt;
        }
        c.message = first;
        break;
    default:
        used = 0;
        break;
    }
    w = w.mid(used);
    // After the duration or time, one word is the message, unless --message gave it.
    if (slotCommand && !reader.hasMessage && !w.isEmpty())
        c.message = w.takeFirst();
    if (!w.isEmpty()) {
        reader.fail("too many arguments: " + w.join(' '));
        return std::nullopt;
    }
    if (slotCommand && !reader.hasMessage && misreadMessage(c)) {
        reader.fail(QStringLiteral("the message \"%1\" reads as part of the %2: write it joined (%3), or give the "
                                   "message with --message")
                        .arg(c.message, c.verb == V::At ? "time" : "duration", c.verb == V::At ? "2:30pm" : "1h30m"));
        return std::nullopt;
    }
    if (slotCommand && !c.alarm && c.run.isEmpty()) {
        reader.fail("--no-alarm needs --run: a countdown must sound or run something");
        return std::nullopt;
    }
    // A reminder a second would bury the desktop in windows.
    if (c.repeat && c.verb == V::Start && c.seconds < kShortestRepeat) {
        reader.fail("--repeat needs a countdown of at least 1 minute");
        return std::nullopt;
    }
    return c;
}

bool needsProgram(const Command& c)
{
    using V = Command::Verb;
    return c.verb != V::Help && c.verb != V::Version && c.verb != V::Autostart;
}

QString usage(const QString& topic)
{
    const QString all = QStringLiteral(
        "Usage: zelvo [COMMAND]\n"
        "Without a command, starts Zelvo (or shows the copy that runs).\n\n"
        "  start DURATION [MESSAGE] [--slot N] [--no-alarm] [--run FILE-OR-URL] [--message TEXT] [--repeat]\n"
        "        count down DURATION: 90, 90s, 5m, \"5 minutes\", \"1h 30m\", \"1 hour 30 minutes\", 1.5h,\n"
        "        2d4h, 1:30:00 (h:mm:ss), 0:45 (m:ss)\n"
        "  at TIME [MESSAGE] [--slot N] [--no-alarm] [--run FILE-OR-URL] [--message TEXT] [--repeat]\n"
        "        count down to a clock time: 14:30, 2:30pm, \"2:30 pm\" (12am is midnight, 12pm noon)\n"
        "  list [--json]   the timers counting or paused\n"
        "  stop N          stop timer N\n"
        "  pause N         pause timer N, or resume it\n"
        "  snooze [N] [DURATION]\n"
        "        ring again after DURATION (5 minutes unless told) what timer N rang with, or the\n"
        "        timer whose reminder is open or that rang last within the hour; closes its reminder.\n"
        "        A ring is answered once: if it was snoozed or restarted already, says so (exit 1)\n"
        "  show            show the main window\n"
        "  quit            end Zelvo, countdowns kept for the next start\n"
        "  autostart on|off  start Zelvo when you log in\n"
        "  help [COMMAND], --help, --version\n\n"
        "--repeat starts the countdown again at each end, on the beat of the previous end (a clock\n"
        "time: every day) until the timer is stopped; it needs a countdown of at least 1 minute.\n"
        "Without a MESSAGE, --slot N keeps timer N's message; otherwise it is \"Instant timer\". A\n"
        "MESSAGE that reads as more of the duration or time (start 1h 30, at 2:30 p.m.) is refused:\n"
        "join it (1h30m, 2:30pm), or give the message with --message.\n"
        "Options also as --slot=N and -s N, each once; -- ends the options. --run takes an existing\n"
        "file (read from the current folder, or as file://...; a program file is run, as the window\n"
        "runs it), an http(s):// or a mailto: address.\n"
        "Without --slot, a countdown takes the timer the quick-start buttons would, or the last free\n"
        "one of all forty when the page on display has none. start and at start Zelvo in the\n"
        "background when none runs.\n"
        "Exit status: 0 done, 1 refused (no free timer, timer busy, not running), 2 bad usage.\n");
    if (topic.isEmpty())
        return all;
    // The command's own lines: its entry and the lines indented under it.
    QStringList lines;
    for (const QString& line : all.split('\n')) {
        const bool entry = line.startsWith("  " + topic + ' ') || line == "  " + topic;
        if (lines.isEmpty() ? entry : line.startsWith("        "))
            lines << line;
        else if (!lines.isEmpty())
            break;
    }
    return "Usage: zelvo " + topic + "\n" + lines.join('\n') + '\n';
}
}
