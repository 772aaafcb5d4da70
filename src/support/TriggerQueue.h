#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

// The one way in for what reaches the program from outside its own widgets: the command
// channel, the tray's clicks and menu, a notification's action, the system's close requests and
// the update window's hand-overs. Each trigger runs once, in arrival order, and only where the
// program is inside no step of its own: not in a pump of pending events, not in a modal loop
// (except one declared passive), not inside a step such as the start-up or another trigger.
// A failing trigger is written to the action trail and the program goes on.
class TriggerQueue : public QObject {
    Q_OBJECT
public:
    static TriggerQueue& instance();

    // What a trigger reaches: the slots alone (a countdown started, stopped, paused, snoozed,
    // the window shown), or anything of the program (its end, say).
    enum class Reach { Slots, Program };

    // Runs the trigger now when the program is at a safe point, otherwise as soon as it is.
    // refuse: what to do instead when the program has begun to end first (tell the caller);
    // without one the trigger is dropped, and the log says so.
    void post(const QString& name, std::function<void()> trigger, std::function<void()> refuse = {},
              Reach reach = Reach::Program);
    bool safeNow(Reach reach = Reach::Program) const;
    // The program has begun to end: nothing that waits, and nothing that comes later, runs.
    void close();
    bool closed() const { return m_closed; }
    // For tests: open again.
    void reopen() { m_closed = false; }

    // A step of the program's own (its start-up, say): triggers wait until it has ended.
    class Step;
    // A modal window whose opener does nothing once it closes (About): triggers run while it is open.
    class Passive;
    // A question that touches no slot (the update check's): what reaches only the slots runs while
    // it waits for the user, who may not even see it; the rest waits for the answer.
    class Aside;

private:
    TriggerQueue();
    void drain();

    struct Trigger {
        QString name;
        std::function<void()> run;
        std::function<void()> refuse;
        Reach reach;
    };
    static void turnAway(const Trigger& trigger);
    std::deque<Trigger> m_queue;
    QTimer m_retry;
    int m_steps = 0;
    int m_passive = 0;
    int m_aside = 0;
    bool m_running = false;
    bool m_closed = false;
};

// Counts itself in one of the queue's tallies for as long as it lives.
class TriggerQueueHold {
public:
    explicit TriggerQueueHold(int& tally) : m_tally(tally) { ++m_tally; }
    ~TriggerQueueHold() { --m_tally; }
    TriggerQueueHold(const TriggerQueueHold&) = delete;
    TriggerQueueHold& operator=(const TriggerQueueHold&) = delete;

private:
    int& m_tally;
};
class TriggerQueue::Step : TriggerQueueHold {
public:
    Step() : TriggerQueueHold(instance().m_steps) {}
};
class TriggerQueue::Passive : TriggerQueueHold {
public:
    Passive() : TriggerQueueHold(instance().m_passive) {}
};
class TriggerQueue::Aside : TriggerQueueHold {
public:
    Aside() : TriggerQueueHold(instance().m_aside) {}
};
