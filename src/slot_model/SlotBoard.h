#pragma once
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
class SlotStore;

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

    // What a row holds besides its countdown: the texts typed (or written by the tick) and the boxes.
    struct Entry {
        QString message;
        SlotMath::Fields fields{"0", "0", "0", "00"};
        QString atHour{"0"}, atMin{"00"}, atSec{"00"};
        bool am = false;
        bool alarm = true;
        bool run = false;
        bool clockPanel = false;  // the row shows its clock-time fields
        QString runFile;          // what the run box opens, kept as "RunFile<n>"
        bool repeat = false;      // starts again at each end, kept as "RepeatOn<n>"
    };

    SlotBoard();
    // The program around the slots: reminders and the page on display.
    void setHost(SlotHost* host) { m_host = host; }

    const Entry& entry(int i) const;
    bool SlotRunning(int i) const { return slot(i).running; }
    bool SlotPaused(int i) const { return slot(i).paused; }
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
        int clock = -1;                // or its clock time, seconds since midnight
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
    // Whole seconds of the slot's latest start (not a resume); its clock time, as seconds since
    // midnight, when that start was one, otherwise -1.
    std::int64_t lastSeconds(int i) const { return slot(i).lastSeconds; }
    int lastClockTime(int i) const { return slot(i).lastClock; }

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

private:
    friend class SlotStore;
    struct Slot {
        Entry entry;
        bool running = false, paused = false, atTime = false;
        std::int64_t end = 0;  // on the clock that counts sleep; 0 when it does not count
        double duration = 0;  // days, as the latest start computed it
        std::int64_t shownSeconds = -1;
        // Restored from the file: the stored moment on the wall clock (ms since 1970 UTC), which
        // the countdown follows when the wall clock is corrected; 0 for one started in this run.
        std::int64_t wallEnd = 0;
        // Its stored end could not be restored: its entries stay in the file as they are until
        // the user starts, stops or edits the slot.
        bool kept = false;
        std::int64_t lastSeconds = 0;  // see lastSeconds()
        int lastClock = -1;
        int round = 0;                 // the ring whose next round a repeating slot counts
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
    // The next moment (ms since 1970 UTC) the wall clock shows that time of day, after now.
    static std::int64_t nextClockMoment(int targetSeconds, std::int64_t after);
    static int secondsUntilClockTime(int targetSeconds);
    // The slot's countdown ends at that wall-clock moment and follows the clock when it is set.
    void followMoment(Slot& s, std::int64_t utcMs);
    void convertClockTime(int i);
    // Starts the countdown from the fields; a resume does not count as a start of its own.
    bool begin(int i);
    // Starts slot to for seconds (or for clock time `clock`, seconds since midnight, when >= 0)
    // with what the ring carried, repeating or not; false when the start fails.
    bool relaunch(const Ring& ring, int to, std::int64_t seconds, int clock, bool repeat, const QString& how);
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
