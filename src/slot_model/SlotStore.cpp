#include "slot_model/SlotStore.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/StoredEnd.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace {
cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
std::int64_t bootNow() { return Platform::clock().bootMs(); }

QString storedText(const QString& key)
{
    QString text;
    Guard::silently([&] { text = settings().sGet(key, QString()).toText(); });
    return text.trimmed();
}
}

void SlotStore::logUnreadable(int n, const QString& key, const QString& text, const QString& meaning)
{
    SlotBoard::Slot& s = m_board.m_slots[n];
    if (s.unreadable.contains(key))
        return;
    s.unreadable << key;
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
    SlotBoard::Slot& s = m_board.m_slots[n];
    SlotBoard::Entry& e = s.entry;
    const QString num = QString::number(n);
    Guard g{"loadEntry", "SlotStore"};
    g([&] { e.message = SlotBoard::singleLine(settings().sGet("TimerName" + num, "Reminder " + QString::number(n + 1)).toText()); });
    g([&] { e.runFile = settings().sGet("RunFile" + num, QString()).toText(); });
    e.repeat = readFlag(n, "RepeatOn" + num, false);
    e.clockPanel = false;
    e.am = false;
    emit m_board.slotChanged(n);
}

void SlotStore::saveSlot(int n)
{
    Guard guard{"saveTimers", "SlotStore"};
    SlotBoard::Slot& s = m_board.m_slots[n];
    if (s.kept)
        return;
    // A value that could not be read stays as it is until the slot is used.
    const auto g = [&](const QString& key, auto&& write) {
        if (!s.unreadable.contains(key + QString::number(n)))
            guard(write);
    };
    const SlotBoard::Entry& e = s.entry;
    const QString num = QString::number(n);
    std::int64_t total = 0;
    guard([&] { total = SlotMath::fieldTotal(e.fields); });
    // A slot counting down is never cleared by a save, whatever its fields show.
    const bool counting = s.running && !s.paused;
    if (total < 1 && !counting) {
        g("TimerRunning", [&] { settings().sSet("TimerRunning" + num, false); });
        // The repeat mark of an idle slot is kept too, once it has been set.
        g("RepeatOn", [&] {
            if (e.repeat || settings().IsSettingPresent("RepeatOn" + num))
                settings().sSet("RepeatOn" + num, e.repeat);
        });
        if (s.running) {
            s.running = false;
            emit m_board.slotChanged(n);
        }
        return;
    }
    g("TimerRunning", [&] { settings().sSet("TimerRunning" + num, s.running); });
    g("TimerName", [&] { settings().sSet("TimerName" + num, e.message); });
    guard([&] { StoredEnd::write(n, endUtcMs(n)); });
    g("AlarmOn", [&] { settings().sSet("AlarmOn" + num, e.alarm); });
    g("Run", [&] { settings().sSet("Run" + num, e.run); });
    // What a restart and a repeat need once the program has started again.
    g("RepeatOn", [&] { settings().sSet("RepeatOn" + num, e.repeat); });
    g("LastSeconds", [&] { settings().sSet("LastSeconds" + num, Value::whole(s.lastSeconds)); });
    g("LastClockTime", [&] { settings().sSet("LastClockTime" + num, Value::whole(s.lastClock)); });
}

std::int64_t SlotStore::endUtcMs(int n) const
{
    const SlotBoard::Slot& s = m_board.m_slots[n];
    const std::int64_t utcNow = Platform::clock().utcMs();
    if (s.running && !s.paused)
        return utcNow + (s.end - bootNow());
    // Paused or never started: the time the fields hold, from now. A field that is not a number
    // fails here, and the stored end stays as it was.
    const SlotBoard::Entry& e = s.entry;
    const double days = Conversions::textToNumber(e.fields.days);
    const std::int64_t span = static_cast<std::int64_t>(Conversions::CInt(e.fields.hours)) * 3600
                              + static_cast<std::int64_t>(Conversions::CInt(e.fields.minutes)) * 60
                              + Conversions::CInt(e.fields.seconds);
    return utcNow + std::llround(days * 86400000.0) + span * 1000;
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
    const std::int64_t remaining = end - Platform::clock().utcMs();
    const auto fields = SlotMath::fieldsFor((remaining + 500) / 1000);
    if (!fields) {
        keepStored(n, QStringLiteral("ends on %1, further ahead than a countdown can run")
                          .arg(QDateTime::fromMSecsSinceEpoch(end).toString(Qt::ISODate)));
        return;
    }
    SlotBoard::Slot& s = m_board.m_slots[n];
    s.entry.message = name;
    s.entry.fields = *fields;
    s.entry.alarm = readFlag(n, "AlarmOn" + num, true);
    s.entry.run = readFlag(n, "Run" + num, false);
    if (end == *stored)  // a repeat that came round again has read them already
        readLast(n, (remaining + 500) / 1000);
    // The start below is the restore's, not the user's: what was read stays as it was read.
    const std::int64_t lastSeconds = s.lastSeconds;
    const int lastClock = s.lastClock, round = s.round;
    const QStringList unreadable = s.unreadable;
    emit m_board.slotChanged(n);
    // The fields hold whole seconds; the countdown still ends at the moment that was stored.
    if (m_board.startTimer(n)) {
        s.lastSeconds = lastSeconds;
        s.lastClock = lastClock;
        s.round = round;
        s.unreadable = unreadable;
        m_board.followMoment(s, end);
    }
}

void SlotStore::readLast(int n, std::int64_t fallbackSeconds)
{
    SlotBoard::Slot& s = m_board.m_slots[n];
    const QString num = QString::number(n);
    s.entry.repeat = readFlag(n, "RepeatOn" + num, false);
    s.lastSeconds = 0;
    s.lastClock = -1;
    // A file from before these keys: the time restored counts as the last duration.
    const QString seconds = storedText("LastSeconds" + num);
    const QString clock = storedText("LastClockTime" + num);
    static const QRegularExpression whole(QStringLiteral("^-?\\d{1,6}$"));
    const int readClock = clock.toInt();
    if (!clock.isEmpty() && (!whole.match(clock).hasMatch() || readClock < -1 || readClock >= 86400))
        logUnreadable(n, "LastClockTime" + num, clock, QStringLiteral("no time of day"));
    else if (!clock.isEmpty())
        s.lastClock = readClock;
    bool ok = true;
    const double readSeconds = seconds.isEmpty() ? static_cast<double>(fallbackSeconds) : seconds.toDouble(&ok);
    if (!ok || !(readSeconds >= 0 && readSeconds < 1e12) || !SlotMath::fieldsFor(std::llround(readSeconds)))
        logUnreadable(n, "LastSeconds" + num, seconds,
                      QStringLiteral("no duration a countdown can run; it neither repeats nor restarts"));
    else
        s.lastSeconds = std::llround(readSeconds);
}

std::optional<std::int64_t> SlotStore::rangWhileClosed(int n, const QString& name, std::int64_t endUtcMs)
{
    SlotBoard::Slot& s = m_board.m_slots[n];
    const QString num = QString::number(n);
    readLast(n, 0);
    s.entry.message = name;
    s.entry.alarm = readFlag(n, "AlarmOn" + num, true);
    s.entry.run = readFlag(n, "Run" + num, false);
    const int ring = m_board.addRing(n, endUtcMs);
    if (!s.entry.repeat)
        return std::nullopt;
    const std::int64_t now = Platform::clock().utcMs();
    std::int64_t next = 0;
    if (s.lastClock >= 0) {
        next = SlotBoard::nextClockMoment(s.lastClock, now / 1000 * 1000);
    } else if (s.lastSeconds > 0) {
        const std::int64_t period = s.lastSeconds * 1000;
        next = endUtcMs + ((now - endUtcMs) / period + 1) * period;
    } else {
        return std::nullopt;
    }
    s.round = ring;
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
    m_board.m_slots[n].kept = true;
    cSharedLogging::instance().LogEvent(
        QStringLiteral("Timer %1 was not restored: %2; its entries stay in the settings file until the timer is used")
            .arg(n + 1)
            .arg(why),
        false);
}

QString SlotStore::restoreTimers()
{
    QString expired;
    m_board.m_wallOffset = Platform::clock().utcMs() - bootNow();
    for (int n = 0; n < SlotBoard::kSlots; ++n) {
        // One unreadable slot must not cost the countdowns after it.
        Guard g{"restoreTimers", "SlotStore"};
        g([&] { restoreSlot(n, expired); });
    }
    return expired;
}
