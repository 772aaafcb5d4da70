#include "command_line/SlotCommands.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/SlotHost.h"
#include "slot_model/StoredEnd.h"
#include "support/TriggerQueue.h"
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>

namespace {
using Reply = CommandMessage::Reply;

Reply refused(const QString& why) { return Reply{1, QString(), why}; }

// The one limit of a command's duration, in its own words (the window's text speaks of its fields).
Reply tooLong()
{
    constexpr std::int64_t most = Duration::kLongestSeconds;
    return refused(QStringLiteral("That countdown is too long: the longest is %1 days %2:%3:%4.")
                       .arg(most / 86400)
                       .arg(most / 3600 % 24)
                       .arg(most / 60 % 60, 2, 10, QLatin1Char('0'))
                       .arg(most % 60, 2, 10, QLatin1Char('0')));
}

// An end moment in ISO 8601 with its offset from UTC, so the hour that comes twice reads apart.
QString isoEnd(std::int64_t msFromNow)
{
    const QString iso = StoredEnd::isoForm(Platform::clock().utcMs() + msFromNow);
    return iso.endsWith('Z') ? iso.chopped(1) + QStringLiteral("+00:00") : iso;
}

// The same for people: "2026-11-01 01:30:00 -05:00 EST".
QString humanEnd(std::int64_t msFromNow)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(SlotMath::wholeSecond(Platform::clock().utcMs() + msFromNow));
    const QString iso = isoEnd(msFromNow);
    return iso.left(10) + ' ' + iso.mid(11, 8) + ' ' + iso.mid(19) + ' ' + local.timeZoneAbbreviation();
}

QString remaining(std::int64_t seconds)
{
    const QString clock = QStringLiteral("%1:%2:%3")
                              .arg(seconds / 3600 % 24)
                              .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                              .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return seconds >= 86400 ? QString::number(seconds / 86400) + "d " + clock : clock;
}

// A web or mail address as it is; otherwise a file that exists (a file: address to one too), read
// from the caller's folder and without the quotes a launcher may leave around it. Nothing for
// anything else: an address the desktop would hand to who knows what is refused at once.
std::optional<QString> runTarget(QString run, const QString& folder)
{
    if (run.size() > 1 && (run.front() == '"' || run.front() == '\'') && run.back() == run.front())
        run = run.mid(1, run.size() - 2);
    const QUrl url(run);
    const QString scheme = url.scheme().toLower();
    if ((scheme == "http" || scheme == "https") && !url.host().isEmpty())
        return run;
    if (scheme == "mailto" && !url.path().isEmpty())
        return run;
    if (scheme == "file")
        run = url.toLocalFile();
    else if (scheme.size() > 1)
        return std::nullopt;
    const QString path = QDir::isAbsolutePath(run) || folder.isEmpty() ? run : QDir(folder).absoluteFilePath(run);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return QDir::toNativeSeparators(path);  // the form a user of the system types
}
}

Reply SlotCommands::run(const Command& c, const QString& folder)
{
    using V = Command::Verb;
    switch (c.verb) {
    case V::Start:
    case V::At: return start(c, folder);
    case V::List: return list(c);
    case V::Stop: return stop(c.slot - 1);
    case V::Pause: return pause(c.slot - 1);
    case V::Snooze: return snooze(c);
    case V::Show:
    case V::Plain: m_host.showWindow(); return {};
    case V::Quit:
        // After the reply has gone: the caller asked for the end, so no question.
        QTimer::singleShot(0, &m_board, [host = &m_host] {
            TriggerQueue::instance().post("Command quit", [host] { host->quitProgram(false); });
        });
        return {};
    default: return Reply{2, QString(), QStringLiteral("not a command for the running copy")};
    }
}

int SlotCommands::pick(const Command& c, Reply& reply) const
{
    if (c.slot) {
        if (m_board.SlotRunning(c.slot - 1)) {
            reply = refused(QStringLiteral("Timer %1 is busy: stop it first").arg(c.slot));
            return -1;
        }
        return c.slot - 1;
    }
    // A command may come with the window hidden: any free row will do when the page shown has none.
    const int i = m_board.freeSlot(true);
    if (i < 0)
        reply = refused(SlotBoard::kNoFreeSlot);
    return i;
}

Reply SlotCommands::start(const Command& c, const QString& folder)
{
    // Checked before anything changes: a refused command leaves every slot as it was.
    if (c.verb == Command::Verb::Start && !Duration(c.seconds).fields())
        return tooLong();
    const auto target = c.run.isEmpty() ? std::optional<QString>(QString()) : runTarget(c.run, folder);
    if (!target)
        return refused(QStringLiteral("not an existing file, a web address (https://…) or a mailto: address: ") + c.run);
    Reply reply;
    const int i = pick(c, reply);
    if (i < 0)
        return reply;
    fill(i, c, *target);
    if (!m_board.startTimer(i))
        return tooLong();
    return Reply{0, describe(i) + '\n', QString()};
}

void SlotCommands::fill(int i, const Command& c, const QString& runFile)
{
    SlotBoard& board = m_board;
    const bool clockTime = c.verb == Command::Verb::At;
    if (!c.message.isEmpty())
        board.setMessage(i, c.message);
    else if (!c.slot)
        board.setMessage(i, SlotBoard::kInstantName);  // as a quick start names it
    if (board.SlotAtTime(i) != clockTime)
        board.toggleAtTime(i);
    if (clockTime) {
        const ClockTime::Entry at = ClockTime::ofSeconds(c.clockSeconds).value().entry();
        board.setClockEntry(i, at.hour, at.minute, at.second, at.am);
    } else {
        board.setFields(i, *Duration(c.seconds).fields());
    }
    board.setAlarm(i, c.alarm);
    board.setRun(i, !c.run.isEmpty());
    board.setRepeat(i, c.repeat);
    if (!runFile.isEmpty())
        board.setRunFile(i, runFile);
}

QString SlotCommands::describe(int i) const
{
    const SlotBoard& board = m_board;
    const std::int64_t left = Duration::left(board.remainingMs(i)).seconds();
    return QStringLiteral("Timer %1 \"%2\" ends at %3 (in %4)")
        .arg(i + 1)
        .arg(board.entry(i).message, humanEnd(board.remainingMs(i)),
             remaining(left));
}

Reply SlotCommands::list(const Command& c) const
{
    const SlotBoard& board = m_board;
    QStringList lines;
    QJsonArray rows;
    for (int i = 0; i < SlotBoard::kSlots; ++i) {
        if (!board.SlotRunning(i))
            continue;
        const bool paused = board.SlotPaused(i);
        const std::int64_t left =
            (paused ? Duration::ofFields(board.entry(i).fields).value_or(Duration(0)) : Duration::left(board.remainingMs(i)))
                .seconds();
        const QString state = (paused ? QStringLiteral("paused") : QStringLiteral("counting"))
                              + (board.entry(i).repeat ? QStringLiteral(", repeats") : QString());
        rows.append(QJsonObject{{"slot", i + 1},
                                {"message", board.entry(i).message},
                                {"remaining", remaining(left)},
                                {"remainingSeconds", static_cast<double>(left)},
                                {"end", paused ? QJsonValue() : QJsonValue(isoEnd(board.remainingMs(i)))},
                                {"state", paused ? QStringLiteral("paused") : QStringLiteral("counting")},
                                {"repeat", board.entry(i).repeat}});
        lines << QStringLiteral("%1\t%2\t%3\t%4\t%5")
                     .arg(i + 1)
                     .arg(board.entry(i).message, remaining(left), paused ? QStringLiteral("-") : humanEnd(board.remainingMs(i)), state);
    }
    if (c.json)
        return Reply{0, QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented)), QString()};
    return Reply{0, lines.isEmpty() ? QString() : lines.join('\n') + '\n', QString()};
}

Reply SlotCommands::stop(int i)
{
    if (!m_board.SlotRunning(i))
        return refused(QStringLiteral("Timer %1 is not counting down").arg(i + 1));
    m_board.stopTimer(i);
    return Reply{0, QStringLiteral("Timer %1 stopped\n").arg(i + 1), QString()};
}

Reply SlotCommands::pause(int i)
{
    if (!m_board.SlotRunning(i))
        return refused(QStringLiteral("Timer %1 is not counting down").arg(i + 1));
    m_board.togglePause(i);
    return Reply{0,
                 m_board.SlotPaused(i) ? QStringLiteral("Timer %1 paused\n").arg(i + 1)
                                                   : describe(i) + '\n',
                 QString()};
}

Reply SlotCommands::snooze(const Command& c)
{
    const auto open = [this](int ring) { return m_host.reminderOpen(ring); };
    const int ring = m_board.lastRing(c.slot - 1, open);
    if (!ring)
        return refused(c.slot ? QStringLiteral("Timer %1 has not rung in the last hour").arg(c.slot)
                              : QStringLiteral("No timer has rung in the last hour"));
    const std::int64_t seconds = c.seconds ? c.seconds : SlotBoard::kSnoozeSeconds;
    if (!Duration(seconds).fields())
        return tooLong();
    int to = -1;
    switch (m_board.answer(ring, seconds, &to)) {
    case SlotBoard::Answer::Started: return Reply{0, describe(to) + '\n', QString()};
    case SlotBoard::Answer::AlreadyAnswered: {
        // The first answer stands: a second never doubles the countdown it started.
        const SlotBoard::Ring& r = *m_board.ring(ring);
        const QString how = QStringLiteral("Timer %1 was already %2").arg(r.slot + 1).arg(r.answer);
        return refused(to >= 0 && m_board.SlotRunning(to) && !m_board.SlotPaused(to)
                           ? how + QStringLiteral(": it ends at ") + humanEnd(m_board.remainingMs(to))
                           : how);
    }
    default: return refused(SlotBoard::kNoFreeSlot);
    }
}
