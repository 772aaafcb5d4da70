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
#include <cmath>

namespace {
cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
std::int64_t bootNow() { return Platform::clock().bootMs(); }

// A flag read leniently: an unreadable value counts as its default.
bool flagOf(const QString& name, bool fallback)
{
    try {
        return settings().sGet(name, fallback).toBool();
    } catch (const std::exception&) {
        return fallback;
    }
}
}

void SlotStore::saveSlot(int n)
{
    Guard g{"SaveTimers", "frmMain"};
    SlotBoard::Slot& s = m_board.m_slots[n];
    if (s.kept)
        return;
    const SlotBoard::Entry& e = s.entry;
    const QString num = QString::number(n);
    std::int64_t total = 0;
    g([&] { total = SlotMath::fieldTotal(e.fields); });
    // A slot counting down is never cleared by a save, whatever its fields show.
    const bool counting = s.running && !s.paused;
    if (total < 1 && !counting) {
        g([&] { settings().sSet("TimerRunning" + num, false); });
        // The repeat mark of an idle slot is kept too, once it has been set.
        g([&] {
            if (e.repeat || settings().IsSettingPresent("RepeatOn" + num))
                settings().sSet("RepeatOn" + num, e.repeat);
        });
        if (s.running) {
            s.running = false;
            emit m_board.slotChanged(n);
        }
        return;
    }
    g([&] { settings().sSet("TimerRunning" + num, s.running); });
    g([&] { settings().sSet("TimerName" + num, e.message); });
    g([&] { StoredEnd::write(n, endUtcMs(n)); });
    g([&] { settings().sSet("AlarmOn" + num, e.alarm); });
    g([&] { settings().sSet("Run" + num, e.run); });
    // What a restart and a repeat need once the program has started again.
    g([&] { settings().sSet("RepeatOn" + num, e.repeat); });
    g([&] { settings().sSet("LastSeconds" + num, Value::whole(s.lastSeconds)); });
    g([&] { settings().sSet("LastClockTime" + num, Value::whole(s.lastClock)); });
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
    if (!flagOf("TimerRunning" + num, false))
        return;
    const std::optional<std::int64_t> end = StoredEnd::read(n);
    if (!end) {
        keepStored(n, StoredEnd::unreadable(n));
        return;
    }
    const QString name =
        SlotBoard::singleLine(settings().sGet("TimerName" + num, "Timer " + QString::number(n + 1)).toText());
    const std::int64_t remaining = *end - Platform::clock().utcMs();
    if (remaining <= 0) {
        settings().sSet("TimerRunning" + num, false);
        expired += name + " (" + OleDate::fromDateTime(QDateTime::fromMSecsSinceEpoch(*end)).generalForm() + ") \r\n";
        rangWhileClosed(n, name, *end);
        return;
    }
    const auto fields = SlotMath::fieldsFor((remaining + 500) / 1000);
    if (!fields) {
        keepStored(n, QStringLiteral("ends on %1, further ahead than a countdown can run")
                          .arg(QDateTime::fromMSecsSinceEpoch(*end).toString(Qt::ISODate)));
        return;
    }
    SlotBoard::Slot& s = m_board.m_slots[n];
    s.entry.message = name;
    s.entry.fields = *fields;
    s.entry.alarm = flagOf("AlarmOn" + num, true);
    s.entry.run = flagOf("Run" + num, false);
    emit m_board.slotChanged(n);
    // The fields hold whole seconds; the countdown still ends at the moment that was stored.
    if (m_board.startTimer(n)) {
        s.end = bootNow() + remaining;
        s.wallEnd = *end;
        readLast(n);
    }
}

void SlotStore::readLast(int n)
{
    SlotBoard::Slot& s = m_board.m_slots[n];
    const QString num = QString::number(n);
    s.entry.repeat = flagOf("RepeatOn" + num, false);
    // A file from before these keys: the time restored counts as the last duration.
    Guard::silently([&] { s.lastSeconds = std::llround(settings().sGet("LastSeconds" + num, Value::whole(s.lastSeconds)).toDouble()); });
    Guard::silently([&] { s.lastClock = settings().sGet("LastClockTime" + num, Value::whole(-1)).toInt32(); });
    if (s.lastClock < -1 || s.lastClock >= 86400 || s.lastSeconds < 0)
        s.lastClock = -1, s.lastSeconds = 0;
}

// A slot whose end passed while the program was closed rang then, for a snooze from the command
// line; a repeating one starts its next round from now.
void SlotStore::rangWhileClosed(int n, const QString& name, std::int64_t endUtcMs)
{
    SlotBoard::Slot& s = m_board.m_slots[n];
    readLast(n);
    s.entry.message = name;
    s.entry.alarm = flagOf("AlarmOn" + QString::number(n), true);
    s.entry.run = flagOf("Run" + QString::number(n), false);
    s.rang = s.entry;
    s.rangUtcMs = endUtcMs;
    if (s.entry.repeat)
        m_board.relaunch(n, n, s.lastSeconds, s.lastClock, true, QStringLiteral("repeats"));
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
        Guard g{"RestoreTimers", "frmMain"};
        g([&] { restoreSlot(n, expired); });
    }
    return expired;
}
