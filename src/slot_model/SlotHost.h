#pragma once
#include <QString>

// What the slots and the outside triggers need of the program around them; ZelvoApp is one.
class SlotHost {
public:
    virtual ~SlotHost() = default;
    // A reminder of ring `ring` of slot i with its message; due: when a late one was due, empty
    // when on time.
    virtual void remind(int i, int ring, const QString& message, const QString& due) = 0;
    // Whether the reminder of that ring is still open.
    virtual bool reminderOpen(int ring) const = 0;
    // Whether the slot's row is on the page on display, where a quick start looks for a free slot.
    virtual bool slotOnPage(int i) const = 0;
    virtual void showWindow() = 0;
    // Ends the program; ask: whether to ask first when timers run.
    virtual void quitProgram(bool ask) = 0;
    // Closes the windows that wait for the user, as their Cancel or No would.
    virtual void dismissDialogs() = 0;
    // What waits for the user now, holding what comes from outside until it is answered, as the end
    // of a sentence ("question \"Exit anyway?\" is answered"); empty when nothing does.
    virtual QString waitsForUser() const = 0;
};
