#include "slot_model/SlotBoard.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/AppError.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include "support/cSharedFileSubs.h"
#include "slot_model/SlotHost.h"
#include <QDateTime>
#include <algorithm>
#include <cmath>

const QString SlotBoard::kTooLong =
    QStringLiteral("That countdown is too long. Days can be at most 1365; hours, minutes and seconds at most 32767.");
const QString SlotBoard::kInstantName = QStringLiteral("Instant timer");
const QString SlotBoard::kNoBox = QStringLiteral("Please tick one or both of the 'Alarm' and 'Run' boxes");
const QString SlotBoard::kNoFreeSlot = QStringLiteral("No free timers available. Cannot start countdown.");
const QString SlotBoard::kNoDuration =
    QStringLiteral("Timer %1 cannot restart: its last duration could not be read (see the log).");

namespace {
std::int64_t bootNow() { return Platform::clock().bootMs(); }

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
    if (!SlotRunning(i) || s.end == 0)
        return 0;
    return s.end - bootNow();
}

bool SlotBoard::anyRunning() const
{
    for (int i = 0; i < kSlots; ++i)
        if (SlotRunning(i))
            return true;
    return false;
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
    if (s.state == State::Kept)
        s.state = State::Idle;
    s.unreadable.clear();
}

void SlotBoard::followMoment(Slot& s, std::int64_t utcMs)
{
    const std::int64_t utc = Platform::clock().utcMs();
    const bool others = std::any_of(m_slots.begin(), m_slots.begin() + kSlots,
                                    [&](const Slot& o) { return &o != &s && o.wallEnd && o.state == State::Counting; });
    if (!others)
        m_wallOffset = utc - bootNow();
    s.wallEnd = utcMs;
    s.end = bootNow() + (utcMs - utc);
}

void SlotBoard::setMessage(int i, const QString& text) { change(i, &Entry::message, singleLine(text)); }
void SlotBoard::setFields(int i, const SlotMath::Fields& f) { change(i, &Entry::fields, f); }
void SlotBoard::setAlarm(int i, bool on) { change(i, &Entry::alarm, on); }
void SlotBoard::setRun(int i, bool on) { change(i, &Entry::run, on); }
void SlotBoard::setRepeat(int i, bool on) { change(i, &Entry::repeat, on); }

void SlotBoard::setRunFile(int i, const QString& target)
{
    change(i, &Entry::runFile, target);
    Guard::silently([&] { emit runFileChanged(i); });
}

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

// ---- starting, stopping, pausing ---------------------------------------------------------------

std::optional<QString> SlotBoard::startRefusal(int i) const
{
    const Slot& s = slot(i);
    const Entry& e = s.entry;
    if (!e.alarm && !e.run)
        return kNoBox;
    // A valid clock time always fits the fields.
    if (s.atTime && entryClockTime(s))
        return std::nullopt;
    if (!Duration::ofFields(e.fields))
        return kTooLong;
    return std::nullopt;
}

void SlotBoard::toggleAtTime(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.atTime = !s.atTime;
    s.entry.kind = s.atTime ? Kind::ClockTime : Kind::Duration;
    emit slotChanged(i);
}

namespace {
std::int64_t wholeSecondNow() { return Platform::clock().utcMs() / 1000 * 1000; }
}

// The first moment after `after` at which the wall clock shows that time of day: today's or a
// later day's, so a daily time stays at its hour across a daylight-saving change. A time the
// clocks skip that night comes as Qt places it (after the gap); in the hour that comes twice the
// first of the two counts, so a time already passed once means tomorrow.
std::int64_t SlotBoard::nextClockMoment(const ClockTime& time, std::int64_t after)
{
    const QDate day = QDateTime::fromMSecsSinceEpoch(after).date();
    for (int d = 0; d < 3; ++d) {
        const QDateTime at(day.addDays(d), QTime(0, 0).addSecs(time.secondsOfDay()));
        if (at.isValid() && at.toMSecsSinceEpoch() > after)
            return at.toMSecsSinceEpoch();
    }
    return after + 86400000;
}

// Seconds from now (to the whole second) until that time today (0 in its own second), or
// tomorrow when it is earlier than now on the wall clock; real seconds, so a daylight-saving
// change in between counts as the hour it really is.
int SlotBoard::secondsUntilClockTime(const ClockTime& time)
{
    const std::int64_t now = wholeSecondNow();
    return static_cast<int>((nextClockMoment(time, now - 1) - now) / 1000);
}

std::optional<ClockTime> SlotBoard::entryClockTime(const Slot& s) const
{
    return ClockTime::ofEntry(s.entry.atHour, s.entry.atMin, s.entry.atSec, s.entry.am);
}

// A clock time becomes a countdown when it starts and from then on keeps its real duration like
// any other: a change of time zone afterwards does not move it to the new zone's wall clock.
void SlotBoard::convertClockTime(int i)
{
    Slot& s = slot(i);
    s.atTime = false;
    const auto target = entryClockTime(s);
    if (!target)
        return;
    s.entry.kind = Kind::Duration;
    s.entry.fields = *Duration(secondsUntilClockTime(*target)).fields();  // under a day: days "0"
}

bool SlotBoard::startTimer(int i)
{
    Slot& s = slot(i);
    std::optional<ClockTime> clock;
    Guard::silently([&] {
        if (s.atTime)
            clock = entryClockTime(s);
    });
    if (!begin(i))
        return false;
    s.last.seconds = Duration::ofFields(s.entry.fields).value_or(Duration(0)).seconds();
    s.last.clock = clock;
    // A clock time is a moment on the wall clock: it moves when the clock is set.
    if (clock)
        followMoment(s, nextClockMoment(*clock, wholeSecondNow() - 1));
    return true;
}

bool SlotBoard::begin(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.wallEnd = 0;
    s.last.round = 0;
    s.shownSeconds = -1;
    // A failing step of a start is passed over silently.
    Guard::silently([&] {
        if (s.atTime)
            convertClockTime(i);
    });
    // A duration the fields cannot hold never starts with an old one; the slot stays idle and
    // the tick and tray are left as they were.
    const auto duration = Duration::ofFields(s.entry.fields);
    if (!duration) {
        emit slotChanged(i);
        Guard::silently([&] { emit refused(kTooLong); });
        return false;
    }
    s.duration = static_cast<double>(duration->seconds()) / 86400.0;
    s.state = State::Counting;
    s.end = bootNow() + duration->seconds() * 1000;
    // Told once the slot stands: its receiver lets pending events run, a tick among them.
    Guard::silently([&] { emit countdownStarting(); });
    emit slotChanged(i);
    return true;
}

void SlotBoard::stopTimer(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.wallEnd = 0;
    s.last.round = 0;
    s.shownSeconds = -1;
    s.end = 0;
    s.state = State::Idle;
    s.entry.fields = {"0", "0", "0", "00"};
    emit slotChanged(i);
}

void SlotBoard::pauseTimer(int i)
{
    Slot& s = slot(i);
    takeOver(s);
    s.state = s.state == State::Idle ? State::MarkedPaused : s.state == State::Counting ? State::Paused : s.state;
    emit slotChanged(i);
}

void SlotBoard::settle(int i)
{
    if (slot(i).state != State::Paused)
        return;
    slot(i).state = State::MarkedPaused;
    emit slotChanged(i);
}

void SlotBoard::resumeTimer(int i) { begin(i); }

void SlotBoard::togglePause(int i)
{
    if (SlotPaused(i))
        resumeTimer(i);
    else
        pauseTimer(i);
}

int SlotBoard::freeSlot(bool anyPage) const
{
    const int onPage = lastFree(true);
    return onPage < 0 && anyPage ? lastFree(false) : onPage;
}

bool SlotBoard::isFree(const Slot& s)
{
    const SlotMath::Fields& f = s.entry.fields;
    return (s.state == State::Idle || s.state == State::MarkedPaused) && isZero(f.days) && isZero(f.hours) && isZero(f.minutes) && isZero(f.seconds);
}

int SlotBoard::lastFree(bool pageOnly) const
{
    for (int i = kSlots - 1; i >= 0; --i)
        if ((!pageOnly || !m_host || m_host->slotOnPage(i)) && isFree(m_slots[i]))
            return i;
    return -1;
}

int SlotBoard::startInstant(std::int32_t seconds)
{
    const int i = freeSlot();
    if (i < 0)
        return -1;
    Slot& s = m_slots[i];
    s.entry.message = kInstantName;
    s.entry.fields = SlotMath::splitSeconds(seconds);
    s.entry.alarm = true;
    s.entry.run = false;
    emit slotChanged(i);
    startTimer(i);
    return i;
}

// ---- what the settings file gave back ------------------------------------------------------------

void SlotBoard::keep(int i) { slot(i).state = State::Kept; }

bool SlotBoard::noteUnreadable(int i, const QString& key)
{
    QStringList& keys = slot(i).unreadable;
    if (keys.contains(key))
        return false;
    keys << key;
    return true;
}

void SlotBoard::fill(int i, const Entry& entry, const Last& last)
{
    slot(i).entry = entry;
    slot(i).last = last;
    emit slotChanged(i);
}

void SlotBoard::beginRestore() { m_wallOffset = Platform::clock().utcMs() - bootNow(); }

bool SlotBoard::restoreCountdown(int i, std::int64_t endUtcMs)
{
    // The start is the restore's, not the user's: what was read stays as it was read.
    Slot& s = slot(i);
    const Last last = s.last;
    const QStringList unreadable = s.unreadable;
    if (!startTimer(i))
        return false;
    s.last = last;
    s.unreadable = unreadable;
    // The fields hold whole seconds; the countdown still ends at the moment that was stored.
    followMoment(s, endUtcMs);
    return true;
}

int SlotBoard::rangWhileClosed(int i, std::int64_t utcMs) { return addRing(i, utcMs); }

// ---- what a reminder offers --------------------------------------------------------------------

int SlotBoard::addRing(int i, std::int64_t utcMs)
{
    const Slot& s = slot(i);
    // Rings older than the hour go unless their reminder is still open.
    const std::int64_t now = Platform::clock().utcMs();
    std::erase_if(m_rings, [&](const Ring& r) {
        return now - r.utcMs > kRecentMs && !(m_host && m_host->reminderOpen(r.id));
    });
    Ring ring{++m_lastRing, i, s.entry, s.last.seconds, s.last.clock, utcMs, QString(), -1};
    m_rings.push_back(ring);
    return ring.id;
}

template <class Rings>
auto* SlotBoard::findRing(Rings& rings, int id)
{
    const auto found = std::find_if(rings.begin(), rings.end(), [id](const Ring& r) { return r.id == id; });
    return found == rings.end() ? nullptr : &*found;
}

const SlotBoard::Ring* SlotBoard::ring(int id) const { return findRing(m_rings, id); }

SlotBoard::Answer SlotBoard::answer(int id, std::int64_t seconds, int* at)
{
    const Ring* found = ring(id);
    if (!found)
        return Answer::Unknown;
    // A copy: starting a countdown tells the window, which may let events run meanwhile.
    const Ring r = *found;
    if (at)
        *at = r.answeredIn;
    if (!r.answer.isEmpty())
        return Answer::AlreadyAnswered;
    const bool restart = seconds <= 0;
    if (restart && !r.clock && r.seconds < 1)
        return Answer::NoDuration;
    const int to = slotFor(r, restart);
    Again again{seconds, std::nullopt, false, QStringLiteral("snoozed for %1 s").arg(seconds)};
    if (restart)
        again = {r.seconds, r.clock, to == r.slot && r.entry.repeat,
                 r.clock ? QStringLiteral("restarted for its clock time") : QStringLiteral("restarted for %1 s").arg(r.seconds)};
    if (to < 0 || !relaunch(r, to, again))
        return Answer::NoFreeSlot;
    if (Ring* still = findRing(m_rings, id)) {
        still->answer = seconds > 0 ? QStringLiteral("snoozed") : QStringLiteral("restarted");
        still->answeredIn = to;
    }
    if (at)
        *at = to;
    emit answered(id, to);
    return Answer::Started;
}

int SlotBoard::slotFor(const Ring& r, bool restart) const
{
    const Slot& s = slot(r.slot);
    // Its own slot, unless it counts something else or the user has typed into it since.
    const bool ownFree = isFree(s) && s.entry.message == r.entry.message;
    const bool ownRound = restart && SlotRunning(r.slot) && s.last.round == r.id;
    return ownFree || ownRound ? r.slot : freeSlot(true);
}

bool SlotBoard::relaunch(const Ring& ring, int to, const Again& again)
{
    if (!again.clock && (again.seconds < 1 || !Duration(again.seconds).fields()))
        return false;
    Slot& s = slot(to);
    s.entry.message = ring.entry.message;
    s.entry.alarm = ring.entry.alarm;
    s.entry.run = ring.entry.run;
    s.entry.repeat = again.repeat;
    setRunFile(to, ring.entry.runFile);
    std::int64_t span = again.seconds;
    std::int64_t moment = 0;
    if (again.clock) {
        // A clock time comes round again tomorrow when it is the time now.
        moment = nextClockMoment(*again.clock, wholeSecondNow());
        span = (moment - wholeSecondNow()) / 1000;
    }
    s.atTime = false;
    s.entry.kind = Kind::Duration;
    s.entry.fields = *Duration(std::max<std::int64_t>(span, 1)).fields();
    if (!startTimer(to))
        return false;
    s.last.clock = again.clock;
    if (again.clock)
        followMoment(s, moment);
    logEnd(ring.slot, to == ring.slot ? again.how : again.how + QStringLiteral(" in timer %1").arg(to + 1), to);
    return true;
}

int SlotBoard::lastRing(int i, const std::function<bool(int)>& open) const
{
    const std::int64_t now = Platform::clock().utcMs();
    for (auto r = m_rings.rbegin(); r != m_rings.rend(); ++r)
        if ((i < 0 || r->slot == i) && ((open && open(r->id)) || now - r->utcMs <= kRecentMs))
            return r->id;
    return 0;
}

// "Timer 3 snoozed for 300 s: it ends at 12/9/2026 5:00:00 PM", in the log's general form.
void SlotBoard::logEnd(int i, const QString& what, int at)
{
    Guard::silently([&] {
        const QDateTime end = QDateTime::fromMSecsSinceEpoch(SlotMath::wholeSecond(Platform::clock().utcMs() + remainingMs(at)));
        cSharedLogging::instance().LogEvent(QStringLiteral("Timer %1 %2: it ends at %3")
                                                .arg(i + 1)
                                                .arg(what, OleDate::fromDateTime(end).generalForm()),
                                            false);
    });
}

bool SlotBoard::nextRound(int i)
{
    Slot& s = slot(i);
    if (!s.entry.repeat)
        return false;
    if (s.last.clock) {
        // A daily time comes round when the wall clock shows it again, however long the day.
        followMoment(s, nextClockMoment(*s.last.clock, std::max(wholeSecondNow(), s.wallEnd)));
    } else {
        const std::int64_t period = s.last.seconds * 1000;
        if (period <= 0)
            return false;
        // From the previous end, so the rounds keep their beat however long a reminder stays open;
        // rounds slept through are skipped, not rung one after another.
        const std::int64_t now = bootNow();
        s.end += period;
        if (s.end <= now)
            s.end += ((now - s.end) / period + 1) * period;
        s.wallEnd = 0;
    }
    s.shownSeconds = -1;
    logEnd(i, QStringLiteral("repeats"), i);
    emit slotChanged(i);
    return true;
}

// ---- the tick ----------------------------------------------------------------------------------

bool SlotBoard::tick()
{
    followWallClock();
    bool active = false;
    for (int i = 0; i < kSlots; ++i) {
        Slot& s = m_slots[i];
        if (s.state != State::Counting)
            s.shownSeconds = -1;
        if (s.state == State::Paused)
            active = true;
        if (s.state != State::Counting)
            continue;
        const std::int64_t remaining = s.end - bootNow();
        if (remaining > 0) {
            // The fields change once a second; the other nine ticks leave them alone.
            const Duration left = Duration::left(remaining);
            const std::int64_t shown = left.seconds();
            if (shown != s.shownSeconds) {
                s.entry.fields = left.shown();
                s.shownSeconds = shown;
                emit fieldsChanged(i);
            }
            active = true;
            continue;
        }
        if (nextRound(i))
            active = true;
        else
            stopTimer(i);
        if (!expire(i, -remaining))
            return true;
    }
    return active;
}

bool SlotBoard::expire(int i, std::int64_t lateMs)
{
    // A copy: the reminder lets pending events run, and the user may edit the row meanwhile.
    const Entry e = slot(i).entry;
    const int ring = addRing(i, Platform::clock().utcMs());
    slot(i).last.round = SlotRunning(i) ? ring : 0;
    const QString due = lateNote(i, lateMs);
    // A failing step ends the round, except a missing file (53), which is answered with the
    // slot's reminder before the next step.
    const auto step = [&](auto&& statement) {
        try {
            statement();
            return true;
        } catch (const AppError& error) {
            if (error.number() != AppError::FileNotFound)
                return false;
        } catch (const std::exception&) {
            return false;
        }
        try {
            if (m_host)
                m_host->remind(i, ring, e.message, QString());
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    return step([&] {
        if (e.alarm && m_host)
            m_host->remind(i, ring, e.message, due);
    }) && step([&] {
        // The shell's code above 32 means it was opened; anything else is logged.
        if (e.run && cSharedFileSubs::instance().RunFile(e.runFile, QString()) <= 32)
            cSharedLogging::instance().LogEvent(
                QStringLiteral("Timer %1 could not run \"%2\"").arg(i + 1).arg(e.runFile), false);
    });
}

// A reminder more than a minute late (the computer slept through its end) says when it was due,
// and the log keeps the delay; one on time looks as it always did.
QString SlotBoard::lateNote(int i, std::int64_t lateMs)
{
    if (lateMs <= 60000)
        return QString();
    const QDateTime due = QDateTime::fromMSecsSinceEpoch(Platform::clock().utcMs() - lateMs);
    const OleDate at = OleDate::fromDateTime(due);
    Guard g{"lateNote", "SlotBoard"};
    g([&] {
        cSharedLogging::instance().LogEvent(QStringLiteral("Timer %1 was due at %2; its reminder came %3 s late")
                                                .arg(i + 1)
                                                .arg(at.generalForm())
                                                .arg(lateMs / 1000),
                                            false);
    });
    // The time alone when it was due today, with the date otherwise.
    const bool today = due.date() == Platform::clock().now().date();
    return "Due at " + (today ? OleDate{at.days - std::trunc(at.days)} : at).generalForm();
}

void SlotBoard::followWallClock()
{
    const auto follows = [](const Slot& s) { return s.wallEnd != 0 && s.state == State::Counting; };
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
            QStringLiteral("The clock was corrected by %1 s; the restored countdowns and the clock times follow it").arg(moved / 1000), false);
    });
}

std::int64_t SlotBoard::msToNextEnd() const
{
    std::int64_t next = -1;
    const std::int64_t now = bootNow();
    for (int i = 0; i < kSlots; ++i) {
        const Slot& s = m_slots[i];
        if (s.state == State::Counting && (next < 0 || s.end - now < next))
            next = std::max<std::int64_t>(0, s.end - now);
    }
    return next;
}
