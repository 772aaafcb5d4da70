#pragma once
#include <QPointer>
#include <QString>
#include <cstdint>
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
    // Shows a reminder with the message (and when a late one was due) and leaves its notice on the desktop.
    void show(const QString& text, const QString& due);

private:
    std::vector<QPointer<frmMessage>> m_spare;
};
