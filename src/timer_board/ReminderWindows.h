#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class SlotBoard;
class frmMessage;

// The reminder windows of the alarms. Those due within two seconds are made ahead, hidden and a
// few per tick, so that many due together reach the screen at once; none is shown before its moment.
class ReminderWindows {
public:
    static constexpr std::int64_t kPrepareMs = 2000;

    ~ReminderWindows() { drop(); }
    // Makes windows ahead for the alarms of the board due within kPrepareMs.
    void prepare(const SlotBoard& board);
    // Nothing counts any more: the windows made ahead go.
    void drop();
    // Shows the reminder of a ring with the message (and when a late one was due) and
    // leaves its notice on the desktop.
    void show(int ring, const QString& text, const QString& due);
    bool isOpen(int ring) const;
    // Closes the reminder of that ring, as Close would.
    void closeFor(int ring);
    // Told true when the first reminder opens and false when the last one has closed.
    void onWaiting(std::function<void(bool)> waiting) { m_waiting = std::move(waiting); }
    // Told the ring and the seconds of a Snooze, or 0 for a Restart, from a window or its notice.
    void onChoice(std::function<void(int, int)> choice) { m_choice = std::move(choice); }

private:
    std::vector<QPointer<frmMessage>> m_spare;
    std::vector<QPointer<frmMessage>> m_shown;
    int m_open = 0;
    QObject m_context;  // ends the reminders' calls back with this
    std::function<void(bool)> m_waiting;
    std::function<void(int, int)> m_choice;
};
