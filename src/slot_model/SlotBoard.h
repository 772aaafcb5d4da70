#pragma once
#include "slot_model/SlotMath.h"
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
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
    // The message and file stored for the slot (or "Reminder n"), the countdown panel and pm.
    void loadEntry(int i);

    // Why the Start button may not start the slot (no box ticked, fields too long); nothing when it may.
    std::optional<QString> startRefusal(int i) const;
    void toggleAtTime(int i);
    // Starts the slot's countdown from its fields; false, with refused(), when they cannot hold it.
    bool startTimer(int i);
    void stopTimer(int i);
    void pauseTimer(int i);
    // Pauses a counting slot, or resumes a paused one from what its fields hold.
    void togglePause(int i);
    // The slot a quick start takes: the last idle one with empty fields on the page on display
    // (and whose stored countdown is not kept for an unreadable end); -1 when there is none.
    // anyPage: when the page on display has none, the last free one of all forty.
    int freeSlot(bool anyPage = false) const;
    // Fills and starts the slot freeSlot names; -1 when there is none.
    int startInstant(std::int32_t seconds);

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
    };
    // Sets one part of a slot's entry, telling the window only when it changed.
    template <class T>
    void change(int i, T Entry::*field, const T& value);
    static void checkIndex(int i);
    const Slot& slot(int i) const;
    Slot& slot(int i);
    int lastFree(bool pageOnly) const;
    static int secondsUntilClockTime(int targetSeconds);
    void convertClockTime(int i);
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
    SlotHost* m_host = nullptr;
    std::int64_t m_wallOffset = 0;  // wall clock minus boot clock when the slots were restored
};
