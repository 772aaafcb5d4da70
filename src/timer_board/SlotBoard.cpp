#include "timer_board/SlotBoard.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/AppError.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include "timer_board/StoredEnd.h"
#include <QDateTime>
#include <algorithm>
#include <cmath>

const QString SlotBoard::kTooLong =
    QStringLiteral("That countdown is too long. Days can be at most 1365; hours, minutes and seconds at most 32767.");

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

// A field too large to read (400 digits) holds something.
bool isZero(const QString& text)
{
    try {
        return Conversions::Val(text) == 0;
    } catch (const AppError&) {
        return false;
    }
}
}

SlotBoard::SlotBoard()
{
    for (int i = 0; i < kRows; ++i)
        m_slots[i].entry.message = "Reminder " + QString::number(i + 1);
}

void SlotBoard::checkIndex(int i)
{
    if (i < 0 || i >= kRows)
        throw AppError(AppError::SubscriptOutOfRange);
}

const SlotBoard::Slot& SlotBoard::slot(int i) const
{
    checkIndex(i);
    return m_slots[i];
}

SlotBoard::Slot& SlotBoard::slot(int i)
{
    checkIndex(i);
    return m_slots[i];
}

const SlotBoard::Entry& SlotBoard::entry(int i) const { return slot(i).entry; }

std::int64_t SlotBoard::remainingMs(int i) const
{
    const Slot& s = slot(i);
    if (!s.running || s.end == 0)
        return 0;
    return s.end - bootNow();
}

bool SlotBoard::anyRunning() const
{
    return std::any_of(m_slots.begin(), m_slots.begin() + kSlots, [](const Slot& s) { return s.running; });
}

// ---- what the user types ---------------------------------------------------------------------

template <class T>
void SlotBoard::change(int i, T Entry::*field, const T& value)
{
    T& current = slot(i).entry.*field;
    if (current == value)
        return;
    current = value;
    takeOver(slot(i));
    emit slotChanged(i);
}

QString SlotBoard::singleLine(const QString& text)
{
    QString line = text;
    for (QChar& c : line) {
        const QChar::Category kind = c.category();
        if (kind == QChar::Other_Control || kind == QChar::Separator_Line || kind == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line;
}

void SlotBoard::takeOver(Slot& s)
{
    s.wallEnd = 0;
    s.kept = false;
}

void SlotBoard::setMessage(int i, const QString& text) { change(i, &Entry::message, singleLine(text)); }
void SlotBoard::setFields(int i, const SlotMath::Fields& f) { change(i, &Entry::fields, f); }
void SlotBoard::setAlarm(int i, bool on) { change(i, &Entry::alarm, on); }
void SlotBoard::setRun(int i, bool on) { change(i, &Entry::run, on); }

void SlotBoard::setClockEntry(int i, const QString& hour, const QString& minute, const QString& second, bool am)
{
    Entry& e = slot(i).entry;
    if (e.atHour == hour && e.atMin == minute && e.atSec == second && e.am == am)
        return;
    e.atHour = hour;
    e.atMin = minute;
    e.atSec = second;
    e.am = am;
    takeOver(slot(i));
    emit slotChanged(i);
}

void SlotBoard::loadEntry(int i)
{
    Entry& e = slot(i).entry;
    Guard g{"Form_Load", "frmMain"};
    g([&] {
        e.message = singleLine(settings().sGet("TimerName" + QString::number(i), "Reminder " + QString::number(i + 1)).toText());
    });
    e.clockPanel = false;
    e.am = false;
    emit slotChanged(i);
}

// ---- starting, stopping, pausing ---------------------------------------------------------------

bool SlotBoard::canStart(int i) const
{
    const Slot& s = slot(i);
    const Entry& e = s.entry;
    if (s.atTime && SlotMath::clockTimeSeconds(SlotMath::composeClockTime(e.atHour, e.atMin, e.atSec, e.am)))
        return true;
    return SlotMath::durationSeconds(e.fields).has_value();
}

void SlotBoard::toggleAtTime(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.atTime = !s.atTime;
    s.entry.clockPanel = s.atTime;
    emit slotChanged(i);
}

// Seconds from now (to the whole second) until that time today, or tomorrow when it is earlier
// than now on the wall clock (so in the hour that comes twice, a time already passed once means
// tomorrow); real seconds, so a daylight-saving change in between counts as the hour it really is.
int SlotBoard::secondsUntilClockTime(int targetSeconds)
{
    const QDateTime now = Platform::clock().now();
    const int nowSeconds = now.time().msecsSinceStartOfDay() / 1000;
    const int wall = SlotMath::secondsUntil(targetSeconds, nowSeconds);
    const QDateTime from = now.addMSecs(-now.time().msec());
    const QDateTime to(now.date().addDays(targetSeconds < nowSeconds ? 1 : 0), QTime(0, 0).addSecs(targetSeconds));
    // A time the clocks skip that night has no moment of its own, and one in the hour that comes
    // twice may name the first while it is already the second: the wall-clock difference then.
    const qint64 real = to.isValid() ? from.secsTo(to) : -1;
    return static_cast<int>(real < 0 ? wall : real);
}

// A clock time becomes a countdown when it starts and from then on keeps its real duration like
// any other: a change of time zone afterwards does not move it to the new zone's wall clock.
void SlotBoard::convertClockTime(int i)
{
    Slot& s = slot(i);
    const QString text = SlotMath::composeClockTime(s.entry.atHour, s.entry.atMin, s.entry.atSec, s.entry.am);
    s.atTime = false;
    const auto target = SlotMath::clockTimeSeconds(text);
    if (!target)
        return;
    const int interval = secondsUntilClockTime(*target);
    s.entry.clockPanel = false;
    s.entry.fields = {"0", QString::number(interval / 3600), QString::number(interval % 3600 / 60),
                      QString::number(interval % 60)};
}

bool SlotBoard::startTimer(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.shownSeconds = -1;
    // A failing step of a start is passed over silently.
    Guard::silently([&] {
        if (s.atTime)
            convertClockTime(i);
    });
    // A duration the fields cannot hold never starts with an old one; the slot stays idle and
    // the tick and tray are left as they were.
    const auto duration = SlotMath::durationSeconds(s.entry.fields);
    if (!duration) {
        emit slotChanged(i);
        Guard::silently([&] { emit refused(kTooLong); });
        return false;
    }
    Guard::silently([&] { emit countdownStarting(); });
    s.duration = static_cast<double>(*duration) / 86400.0;
    s.running = true;
    s.paused = false;
    s.end = bootNow() + *duration * 1000;
    emit slotChanged(i);
    return true;
}

void SlotBoard::stopTimer(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.shownSeconds = -1;
    s.end = 0;
    s.running = false;
    s.paused = false;
    s.entry.fields = {"0", "0", "0", "00"};
    emit slotChanged(i);
}

void SlotBoard::pauseTimer(int i)
{
    takeOver(slot(i));
    slot(i).paused = true;
    emit slotChanged(i);
}

int SlotBoard::freeSlot(const std::function<bool(int)>& onPage) const
{
    for (int i = kSlots - 1; i >= 0; --i) {
        const Slot& s = m_slots[i];
        const SlotMath::Fields& f = s.entry.fields;
        if (onPage(i) && !s.running && !s.kept && isZero(f.days) && isZero(f.hours) && isZero(f.minutes) && isZero(f.seconds))
            return i;
    }
    return -1;
}

int SlotBoard::startInstant(std::int32_t seconds, const std::function<bool(int)>& onPage)
{
    const int i = freeSlot(onPage);
    if (i < 0)
        return -1;
    Slot& s = m_slots[i];
    s.entry.message = QStringLiteral("Instant timer");
    s.entry.fields = SlotMath::splitSeconds(seconds);
    s.entry.alarm = true;
    s.entry.run = false;
    emit slotChanged(i);
    startTimer(i);
    return i;
}

// ---- the tick ----------------------------------------------------------------------------------

bool SlotBoard::tick(const ExpiryHandler& expire)
{
    followWallClock();
    bool active = false;
    for (int i = 0; i < kSlots; ++i) {
        Slot& s = m_slots[i];
        if (!s.running || s.paused)
            s.shownSeconds = -1;
        if (!s.running)
            continue;
        if (s.paused) {
            active = true;
            continue;
        }
        const std::int64_t remaining = s.end - bootNow();
        if (remaining > 0) {
            // The fields change once a second; the other nine ticks leave them alone.
            const std::int64_t shown = SlotMath::remainingSeconds(remaining);
            if (shown != s.shownSeconds) {
                s.entry.fields = SlotMath::remainingFields(remaining);
                s.shownSeconds = shown;
                emit fieldsChanged(i);
            }
            active = true;
            continue;
        }
        stopTimer(i);
        expire(i, -remaining);
    }
    return active;
}

void SlotBoard::followWallClock()
{
    const auto follows = [](const Slot& s) { return s.wallEnd != 0 && s.running && !s.paused; };
    if (std::none_of(m_slots.begin(), m_slots.begin() + kSlots, follows))
        return;
    const std::int64_t boot = bootNow();
    const std::int64_t utc = Platform::clock().utcMs();
    const std::int64_t moved = utc - boot - m_wallOffset;
    if (std::abs(moved) <= 2000)
        return;
    m_wallOffset = utc - boot;
    for (Slot& s : m_slots)
        if (follows(s))
            s.end = boot + (s.wallEnd - utc);
    Guard::silently([&] {
        cSharedLogging::instance().LogEvent(
            QStringLiteral("The clock was corrected by %1 s; the restored countdowns follow it").arg(moved / 1000), false);
    });
}

std::int64_t SlotBoard::msToNextEnd() const
{
    std::int64_t next = -1;
    const std::int64_t now = bootNow();
    for (int i = 0; i < kSlots; ++i) {
        const Slot& s = m_slots[i];
        if (s.running && !s.paused && (next < 0 || s.end - now < next))
            next = std::max<std::int64_t>(0, s.end - now);
    }
    return next;
}

// ---- persistence -------------------------------------------------------------------------------

void SlotBoard::saveSlot(int n)
{
    Guard g{"SaveTimers", "frmMain"};
    Slot& s = m_slots[n];
    if (s.kept)
        return;
    const Entry& e = s.entry;
    const QString num = QString::number(n);
    std::int64_t total = 0;
    g([&] { total = SlotMath::fieldTotal(e.fields); });
    // A slot counting down is never cleared by a save, whatever its fields show.
    const bool counting = s.running && !s.paused;
    if (total < 1 && !counting) {
        g([&] { settings().sSet("TimerRunning" + num, false); });
        if (s.running) {
            s.running = false;
            emit slotChanged(n);
        }
        return;
    }
    g([&] { settings().sSet("TimerRunning" + num, s.running); });
    g([&] { settings().sSet("TimerName" + num, e.message); });
    g([&] { StoredEnd::write(n, endUtcMs(n)); });
    g([&] { settings().sSet("AlarmOn" + num, e.alarm); });
    g([&] { settings().sSet("Run" + num, e.run); });
}

std::int64_t SlotBoard::endUtcMs(int n) const
{
    const Slot& s = m_slots[n];
    const std::int64_t utcNow = Platform::clock().utcMs();
    if (s.running && !s.paused)
        return utcNow + (s.end - bootNow());
    // Paused or never started: the time the fields hold, from now. A field that is not a number
    // fails here, and the stored end stays as it was.
    const Entry& e = s.entry;
    const double days = Conversions::textToNumber(e.fields.days);
    const std::int64_t span = static_cast<std::int64_t>(Conversions::CInt(e.fields.hours)) * 3600
                              + static_cast<std::int64_t>(Conversions::CInt(e.fields.minutes)) * 60
                              + Conversions::CInt(e.fields.seconds);
    return utcNow + std::llround(days * 86400000.0) + span * 1000;
}

void SlotBoard::saveTimers()
{
    for (int n = 0; n < kSlots; ++n)
        saveSlot(n);
}

void SlotBoard::restoreSlot(int n, QString& expired)
{
    const QString num = QString::number(n);
    if (!flagOf("TimerRunning" + num, false))
        return;
    const std::optional<std::int64_t> end = StoredEnd::read(n);
    if (!end) {
        keepStored(n, StoredEnd::unreadable(n));
        return;
    }
    const QString name = singleLine(settings().sGet("TimerName" + num, "Timer " + QString::number(n + 1)).toText());
    const std::int64_t remaining = *end - Platform::clock().utcMs();
    if (remaining <= 0) {
        settings().sSet("TimerRunning" + num, false);
        expired += name + " (" + OleDate::fromDateTime(QDateTime::fromMSecsSinceEpoch(*end)).generalForm() + ") \r\n";
        return;
    }
    const auto fields = SlotMath::fieldsFor((remaining + 500) / 1000);
    if (!fields) {
        keepStored(n, QStringLiteral("ends on %1, further ahead than a countdown can run")
                          .arg(QDateTime::fromMSecsSinceEpoch(*end).toString(Qt::ISODate)));
        return;
    }
    Slot& s = m_slots[n];
    s.entry.message = name;
    s.entry.fields = *fields;
    s.entry.alarm = flagOf("AlarmOn" + num, true);
    s.entry.run = flagOf("Run" + num, false);
    emit slotChanged(n);
    // The fields hold whole seconds; the countdown still ends at the moment that was stored.
    if (startTimer(n)) {
        s.end = bootNow() + remaining;
        s.wallEnd = *end;
    }
}

void SlotBoard::keepStored(int n, const QString& why)
{
    m_slots[n].kept = true;
    cSharedLogging::instance().LogEvent(
        QStringLiteral("Timer %1 was not restored: %2; its entries stay in the settings file until the timer is used")
            .arg(n + 1)
            .arg(why),
        false);
}

QString SlotBoard::restoreTimers()
{
    QString expired;
    m_wallOffset = Platform::clock().utcMs() - bootNow();
    for (int n = 0; n < kSlots; ++n) {
        // One unreadable slot must not cost the countdowns after it.
        Guard g{"RestoreTimers", "frmMain"};
        g([&] { restoreSlot(n, expired); });
    }
    return expired;
}
