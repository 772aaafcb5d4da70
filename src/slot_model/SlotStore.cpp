#include "slot_model/SlotStore.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/StoredEnd.h"
#include "platform/AppError.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace {
cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }

QString storedText(const QString& key)
{
    QString text;
    Guard::silently([&] { text = settings().sGet(key, QString()).toText(); });
    return text.trimmed();
}
}

SlotStore::SlotStore(SlotBoard& board) : m_board(board)
{
    // The file the run box opens is kept at once, as it is given.
    QObject::connect(&board, &SlotBoard::runFileChanged, &m_context, [this](int n) {
        settings().sSet("RunFile" + QString::number(n), m_board.entry(n).runFile);
    });
}

void SlotStore::logUnreadable(int n, const QString& key, const QString& text, const QString& meaning)
{
    if (!m_board.noteUnreadable(n, key))
        return;
    Guard::silently([&] {
        cSharedLogging::instance().LogEvent(
            QStringLiteral("Timer %1: the stored %2 \"%3\" cannot be read (%4); it stays in the settings file until "
                           "the timer is used")
                .arg(n + 1)
                .arg(key, text, meaning),
            false);
    });
}

bool SlotStore::readFlag(int n, const QString& key, bool fallback)
{
    try {
        return settings().sGet(key, fallback).toBool();
    } catch (const std::exception&) {
        logUnreadable(n, key, storedText(key), fallback ? QStringLiteral("taken as true") : QStringLiteral("taken as false"));
        return fallback;
    }
}

void SlotStore::loadEntry(int n)
{
    SlotBoard::Entry e = m_board.entry(n);
    const QString num = QString::number(n);
    Guard g{"loadEntry", "SlotStore"};
    g([&] { e.message = SlotBoard::singleLine(settings().sGet("TimerName" + num, "Reminder " + QString::number(n + 1)).toText()); });
    g([&] { e.runFile = settings().sGet("RunFile" + num, QString()).toText(); });
    e.repeat = readFlag(n, "RepeatOn" + num, false);
    e.kind = SlotBoard::Kind::Duration;
    e.am = false;
    m_board.fill(n, e, m_board.last(n));
}

void SlotStore::saveSlot(int n)
{
    Guard guard{"saveTimers", "SlotStore"};
    const SlotBoard::State state = m_board.state(n);
    if (state == SlotBoard::State::Kept)
        return;
    // A value that could not be read stays as it is until the slot is used.
    const auto g = [&](const QString& key, auto&& write) {
        if (!m_board.unreadable(n, key + QString::number(n)))
            guard(write);
    };
    const SlotBoard::Entry& e = m_board.entry(n);
    const SlotBoard::Last& last = m_board.last(n);
    const QString num = QString::number(n);
    std::int64_t total = 0;
    guard([&] { total = SlotMath::fieldTotal(e.fields); });
    // A slot counting down is never cleared by a save, whatever its fields show.
    const bool counting = state == SlotBoard::State::Counting;
    if (total < 1 && !counting) {
        g("TimerRunning", [&] { settings().sSet("TimerRunning" + num, false); });
        // The repeat mark of an idle slot is kept too, once it has been set.
        g("RepeatOn", [&] {
            if (e.repeat || settings().IsSettingPresent("RepeatOn" + num))
                settings().sSet("RepeatOn" + num, e.repeat);
        });
        m_board.settle(n);
        return;
    }
    g("TimerRunning", [&] { settings().sSet("TimerRunning" + num, m_board.SlotRunning(n)); });
    g("TimerName", [&] { settings().sSet("TimerName" + num, e.message); });
    guard([&] { StoredEnd::write(n, endUtcMs(n)); });
    g("AlarmOn", [&] { settings().sSet("AlarmOn" + num, e.alarm); });
    g("Run", [&] { settings().sSet("Run" + num, e.run); });
    // What a restart and a repeat need once the program has started again.
    g("RepeatOn", [&] { settings().sSet("RepeatOn" + num, e.repeat); });
    g("LastSeconds", [&] { settings().sSet("LastSeconds" + num, Value::whole(last.seconds)); });
    // -1: the last start was no clock time.
    g("LastClockTime", [&] { settings().sSet("LastClockTime" + num, Value::whole(last.clock ? last.clock->secondsOfDay() : -1)); });
}

std::int64_t SlotStore::endUtcMs(int n) const
{
    const std::int64_t utcNow = Platform::clock().utcMs();
    if (m_board.state(n) == SlotBoard::State::Counting)
        return utcNow + m_board.remainingMs(n);
    // Paused or never started: the time the fields hold, from now. Fields that make no duration
    // fail here, and the stored end stays as it was.
    const auto duration = Duration::ofFields(m_board.entry(n).fields);
    if (!duration)
        throw AppError(AppError::TypeMismatch);
    return utcNow + duration->seconds() * 1000;
}

void SlotStore::saveTimers()
{
    for (int n = 0; n < SlotBoard::kSlots; ++n)
        saveSlot(n);
}

void SlotStore::restoreSlot(int n, QString& expired)
{
    const QString num = QString::number(n);
    bool running = false;
    try {
        running = settings().sGet("TimerRunning" + num, false).toBool();
    } catch (const std::exception&) {
        keepStored(n, QStringLiteral("its TimerRunning%1 \"%2\" cannot be read").arg(num, storedText("TimerRunning" + num)));
        return;
    }
    if (!running)
        return;
    const std::optional<std::int64_t> stored = StoredEnd::read(n);
    if (!stored) {
        keepStored(n, StoredEnd::unreadable(n));
        return;
    }
    const QString name =
        SlotBoard::singleLine(settings().sGet("TimerName" + num, "Timer " + QString::number(n + 1)).toText());
    std::int64_t end = *stored;
    if (end <= Platform::clock().utcMs()) {
        settings().sSet("TimerRunning" + num, false);
        expired += name + " (" + OleDate::fromDateTime(QDateTime::fromMSecsSinceEpoch(end)).generalForm() + ") \r\n";
        const auto next = rangWhileClosed(n, name, end);
        if (!next)
            return;
        end = *next;
    }
    const Duration remaining = Duration::nearest(end - Platform::clock().utcMs());
    const auto fields = remaining.fields();
    if (!fields) {
        keepStored(n, QStringLiteral("ends on %1, further ahead than a countdown can run")
                          .arg(QDateTime::fromMSecsSinceEpoch(end).toString(Qt::ISODate)));
        return;
    }
    SlotBoard::Entry e = m_board.entry(n);
    e.message = name;
    e.fields = *fields;
    e.alarm = readFlag(n, "AlarmOn" + num, true);
    e.run = readFlag(n, "Run" + num, false);
    // A repeat that came round again has read them already.
    const SlotBoard::Last last = end == *stored ? readLast(n, e, remaining.seconds()) : m_board.last(n);
    m_board.fill(n, e, last);
    m_board.restoreCountdown(n, end);
}

SlotBoard::Last SlotStore::readLast(int n, SlotBoard::Entry& e, std::int64_t fallbackSeconds)
{
    const QString num = QString::number(n);
    e.repeat = readFlag(n, "RepeatOn" + num, false);
    SlotBoard::Last last;
    // A file from before these keys: the time restored counts as the last duration.
    const QString seconds = storedText("LastSeconds" + num);
    const QString clock = storedText("LastClockTime" + num);
    static const QRegularExpression whole(QStringLiteral("^-?\\d{1,6}$"));
    const int readClock = clock.toInt();
    if (!clock.isEmpty() && (!whole.match(clock).hasMatch() || readClock < -1 || readClock >= 86400))
        logUnreadable(n, "LastClockTime" + num, clock, QStringLiteral("no time of day"));
    else if (!clock.isEmpty())
        last.clock = ClockTime::ofSeconds(readClock);
    bool ok = true;
    const double readSeconds = seconds.isEmpty() ? static_cast<double>(fallbackSeconds) : seconds.toDouble(&ok);
    if (!ok || !(readSeconds >= 0 && readSeconds < 1e12) || !Duration(std::llround(readSeconds)).fields())
        logUnreadable(n, "LastSeconds" + num, seconds,
                      QStringLiteral("no duration a countdown can run; it neither repeats nor restarts"));
    else
        last.seconds = std::llround(readSeconds);
    return last;
}

std::optional<std::int64_t> SlotStore::rangWhileClosed(int n, const QString& name, std::int64_t endUtcMs)
{
    const QString num = QString::number(n);
    SlotBoard::Entry e = m_board.entry(n);
    SlotBoard::Last last = readLast(n, e, 0);
    e.message = name;
    e.alarm = readFlag(n, "AlarmOn" + num, true);
    e.run = readFlag(n, "Run" + num, false);
    m_board.fill(n, e, last);
    const int ring = m_board.rangWhileClosed(n, endUtcMs);
    if (!e.repeat)
        return std::nullopt;
    const std::int64_t now = Platform::clock().utcMs();
    std::int64_t next = 0;
    if (last.clock) {
        next = SlotBoard::nextClockMoment(*last.clock, now / 1000 * 1000);
    } else if (last.seconds > 0) {
        const std::int64_t period = last.seconds * 1000;
        next = endUtcMs + ((now - endUtcMs) / period + 1) * period;
    } else {
        return std::nullopt;
    }
    last.round = ring;
    m_board.fill(n, e, last);
    Guard::silently([&] {
        cSharedLogging::instance().LogEvent(
            QStringLiteral("Timer %1 repeats on its beat: it ends at %2")
                .arg(n + 1)
                .arg(OleDate::fromDateTime(QDateTime::fromMSecsSinceEpoch(next)).generalForm()),
            false);
    });
    return next;
}

void SlotStore::keepStored(int n, const QString& why)
{
    m_board.keep(n);
    cSharedLogging::instance().LogEvent(
        QStringLiteral("Timer %1 was not restored: %2; its entries stay in the settings file until the timer is used")
            .arg(n + 1)
            .arg(why),
        false);
}

QString SlotStore::restoreTimers()
{
    QString expired;
    m_board.beginRestore();
    for (int n = 0; n < SlotBoard::kSlots; ++n) {
        // One unreadable slot must not cost the countdowns after it.
        Guard g{"restoreTimers", "SlotStore"};
        g([&] { restoreSlot(n, expired); });
    }
    return expired;
}
