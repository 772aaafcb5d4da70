#pragma once
#include "slot_model/ClockTime.h"
#include "slot_model/Duration.h"
#include "slot_model/SlotMath.h"
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

class SlotHost;

// The forty timer slots without their widgets: what each row holds, its countdown from start to
// expiry and the rules of both. The main window draws what this says and passes on what the user
// does; the command line and every other trigger go through here too.
class SlotBoard : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 41;  // index 40 is built but never used
    static constexpr int kSlots = 40;
    // The message of a quick start.
    static const QString kInstantName;
    // Why a start is refused.
    static const QString kTooLong;
    static const QString kNoBox;
    static const QString kNoFreeSlot;
    // A Restart whose ring has no duration that can be read ("%1": the timer's number).
    static const QString kNoDuration;
    // What a reminder's Snooze gives without a choice, and how long after its end it can still be
    // snoozed from the command line.
    static constexpr std::int64_t kSnoozeSeconds = 300;
    static constexpr std::int64_t kRecentMs = 3600000;

    // Where a slot stands. Paused counts as running (SlotRunning) and as paused (SlotPaused); an
    // idle slot can be marked paused, and the P button then starts it. Kept: its stored countdown
    // could not be restored, and its keys stay in the file until the user takes the slot over.
    enum class State { Idle, Counting, Paused, MarkedPaused, Kept };
    // What the row's entry panel shows: the countdown fields, or the clock-time fields.
    enum class Kind { Duration, ClockTime };

    // What a row holds besides its countdown: the texts typed (or written by the tick) and the boxes.
    struct Entry {
        QString message;
        SlotMath::Fields fields{"0", "0", "0", "00"};
        QString atHour{"0"}, atMin{"00"}, atSec{"00"};
        bool am = false;
        bool alarm = true;
        bool run = false;
        Kind kind = Kind::Duration;
        QString runFile;          // what the run box opens, kept as "RunFile<n>"
        bool repeat = false;      // starts again at each end, kept as "RepeatOn<n>"
    };

    SlotBoard();
    // The program around the slots: reminders and the page on display.
    void setHost(SlotHost* host) { m_host = host; }

    const Entry& entry(int i) const;
    State state(int i) const { return slot(i).state; }
    bool SlotRunning(int i) const { return state(i) == State::Counting || state(i) == State::Paused; }
    bool SlotPaused(int i) const { return state(i) == State::Paused || state(i) == State::MarkedPaused; }
    bool SlotAtTime(int i) const { return slot(i).atTime; }
    // Where the countdown reaches zero on the clock that counts sleep (Clock::bootMs); 0 when
    // it does not count down.
    std::int64_t SlotEnd(int i) const { return slot(i).end; }
    double SlotDuration(int i) const { return slot(i).duration; }
    // Milliseconds until the slot's countdown ends; 0 when it does not count down.
    std::int64_t remainingMs(int i) const;
    bool anyRunning() const;

    void setMessage(int i, const QString& text);
    void setFields(int i, const SlotMath::Fields& fields);
    void setClockEntry(int i, const QString& hour, const QString& minute, const QString& second, bool am);
    void setAlarm(int i, bool on);
    void setRun(int i, bool on);
    void setRunFile(int i, const QString& target);
    void setRepeat(int i, bool on);

    // Why the Start button may not start the slot (no box ticked, fields too long); nothing when it may.
    std::optional<QString> startRefusal(int i) const;
    void toggleAtTime(int i);
    // Starts the slot's countdown from its fields; false, with refused(), when they cannot hold it.
    bool startTimer(int i);
    void stopTimer(int i);
    void pauseTimer(int i);
    // A new start of a slot marked paused from what its fields hold, without the Start button's checks.
    void resumeTimer(int i);
    // Pauses a counting slot, or resumes a paused one from what its fields hold.
    void togglePause(int i);
    // A paused slot whose fields came to nothing is no longer counting (it stays marked paused).
    void settle(int i);
    // The slot a quick start takes: the last idle one with empty fields on the page on display
    // (and whose stored countdown is not kept for an unreadable end); -1 when there is none.
    // anyPage: when the page on display has none, the last free one of all forty.
    int freeSlot(bool anyPage = false) const;
    // Fills and starts the slot freeSlot names; -1 when there is none.
    int startInstant(std::int32_t seconds);

    // One time a slot rang: what it rang with and how it was answered. A reminder's window, its
    // notice and the command line answer a ring, never a slot, and the first answer wins.
    struct Ring {
        int id = 0;
        int slot = -1;
        Entry entry;                   // as it rang
        std::int64_t seconds = 0;      // the duration that rang; 0 when it cannot be read
        std::optional<ClockTime> clock;  // or its clock time
        std::int64_t utcMs = 0;        // when it rang (wall clock)
        QString answer;                // "snoozed" or "restarted", once answered
        int answeredIn = -1;           // the slot that answer counts down in
    };
    enum class Answer { Started, AlreadyAnswered, NoFreeSlot, NoDuration, Unknown };

    // What a reminder offers. Both start again what the ring rang with, in its slot while that is
    // free and holds the message that rang (nothing typed into it since), otherwise in the slot a
    // quick start takes (a command's rule: any page). snooze:
    // for seconds, once (the slot it runs in does not repeat). restart (seconds 0): for the
    // duration that rang, or for its clock time again (so tomorrow); a repeating slot still
    // counting that ring's round restarts the round from now. slot: where it counts (or, for
    // AlreadyAnswered, where the first answer counts).
    Answer answer(int ring, std::int64_t seconds, int* slot = nullptr);
    const Ring* ring(int id) const;
    // The latest ring of the slot (any slot when -1) that rang within kRecentMs, or whose reminder
    // open() says is still open; 0 for none.
    int lastRing(int slot, const std::function<bool(int)>& open) const;
    // What a restart and a repeat take from the slot's latest start (not a resume): its whole
    // seconds, its clock time when it was one, and the ring whose next round a repeating slot counts.
    struct Last {
        std::int64_t seconds = 0;
        std::optional<ClockTime> clock;
        int round = 0;
    };
    const Last& last(int i) const { return slot(i).last; }

    // What the settings file gave back. A slot that stays as the file holds it: its countdown
    // could not be restored, and a save leaves its keys alone until the user takes it over.
    void keep(int i);
    // A key of the slot whose stored value could not be read: a save leaves it in the file as it
    // is until the slot is used. False when it was noted already.
    bool noteUnreadable(int i, const QString& key);
    bool unreadable(int i, const QString& key) const { return slot(i).unreadable.contains(key); }
    // The entry as the file holds it; the slot is not taken over.
    void fill(int i, const Entry& entry, const Last& last);
    // Restored countdowns follow the wall clock from here; call before the first restore.
    void beginRestore();
    // Starts the slot from its fields and lets it end at that wall-clock moment (ms since 1970
    // UTC), keeping what fill gave it; false when the fields cannot start it.
    bool restoreCountdown(int i, std::int64_t endUtcMs);
    // The slot rang at that moment while the program was closed; its ring's id.
    int rangWhileClosed(int i, std::int64_t utcMs);
    // The next moment (ms since 1970 UTC) the wall clock shows that time of day, after `after`.
    static std::int64_t nextClockMoment(const ClockTime& time, std::int64_t after);

    // One round over the slots, expiring those that fell due; false when none counts down or is
    // paused any more. A failing expiry ends the round, as a failure of the tick always has.
    bool tick();
    // Milliseconds until the nearest end of a counting slot; -1 when none counts.
    std::int64_t msToNextEnd() const;
    // A message as one line: control characters and line separators become blanks, so no text
    // can break the settings file's lines or the command line's columns.
    static QString singleLine(const QString& text);

signals:
    // Anything of the slot changed; the countdown fields alone give fieldsChanged.
    void slotChanged(int i);
    void fieldsChanged(int i);
    // A slot has started to count down: the tick must run.
    void countdownStarting();
    void refused(const QString& text);
    // A slot fell due and was stopped; lateMs: how long after its end.
    void expired(int i, std::int64_t lateMs);
    // A ring was answered: what rang now counts down in slot to (a snooze or a restart).
    void answered(int ring, int to);
    // The file the run box opens was given for the slot.
    void runFileChanged(int i);

private:
    struct Slot {
        Entry entry;
        State state = State::Idle;
        bool atTime = false;
        std::int64_t end = 0;  // on the clock that counts sleep; 0 when it does not count
        double duration = 0;  // days, as the latest start computed it
        std::int64_t shownSeconds = -1;
        // Restored from the file: the stored moment on the wall clock (ms since 1970 UTC), which
        // the countdown follows when the wall clock is corrected; 0 for one started in this run.
        std::int64_t wallEnd = 0;
        Last last;
        // Keys of the slot whose stored values could not be read: a save leaves them in the file
        // as they are until the slot is used.
        QStringList unreadable;
    };
    template <class Rings>
    static auto* findRing(Rings& rings, int id);
    // Sets one part of a slot's entry, telling the window only when it changed.
    template <class T>
    void change(int i, T Entry::*field, const T& value);
    static void checkIndex(int i);
    const Slot& slot(int i) const;
    Slot& slot(int i);
    // Idle, its countdown fields empty, and not kept for an unreadable end.
    static bool isFree(const Slot& s);
    int lastFree(bool pageOnly) const;
    static int secondsUntilClockTime(const ClockTime& time);
    // The slot's countdown ends at that wall-clock moment and follows the clock when it is set.
    void followMoment(Slot& s, std::int64_t utcMs);
    void convertClockTime(int i);
    // Starts the countdown from the fields; a resume does not count as a start of its own.
    bool begin(int i);
    // What an answer starts again: for seconds, or for a clock time when one is given.
    struct Again {
        std::int64_t seconds = 0;
        std::optional<ClockTime> clock;
        bool repeat = false;
        QString how;  // for the log: "snoozed for 300 s"
    };
    // The slot an answer counts down in: the ring's own while it is free and holds the message
    // that rang (or, for a restart, counts that ring's round), otherwise the one a quick start takes.
    int slotFor(const Ring& ring, bool restart) const;
    // Starts slot to again with what the ring carried; false when the start fails.
    bool relaunch(const Ring& ring, int to, const Again& again);
    // The clock time the slot's entry holds, when it makes one.
    std::optional<ClockTime> entryClockTime(const Slot& s) const;
    // A new ring of slot i; its id.
    int addRing(int i, std::int64_t utcMs);
    // A repeating slot's next round, on the beat of its previous end; false when it does not repeat.
    bool nextRound(int i);
    // The log line of a new end: what happened to slot i, and when slot at now ends.
    void logEnd(int i, const QString& what, int at);
    // The slot's own use: it no longer waits on what the file held.
    void takeOver(Slot& s);
    // Restored countdowns move with a corrected wall clock (the distance between the wall clock
    // and the boot clock changed by more than two seconds); the log says so once per correction.
    void followWallClock();
    // The reminder, then the file to run; false when a step failed and the round must end.
    bool expire(int i, std::int64_t lateMs);
    // "Due at …" for a reminder more than a minute late (logged); empty when on time.
    static QString lateNote(int i, std::int64_t lateMs);

    std::array<Slot, kRows> m_slots;
    std::deque<Ring> m_rings;  // this run's, the oldest first
    int m_lastRing = 0;
    SlotHost* m_host = nullptr;
    std::int64_t m_wallOffset = 0;  // wall clock minus boot clock when the slots were restored
};
