#include "timer_board/ReminderWindows.h"
#include "slot_model/SlotBoard.h"
#include "timer_board/frmMessage.h"
#include <algorithm>

void ReminderWindows::prepare(const SlotBoard& board)
{
    std::erase_if(m_spare, [](const QPointer<frmMessage>& r) { return r.isNull(); });
    int due = 0;
    for (int i = 0; i < SlotBoard::kSlots; ++i)
        if (board.SlotRunning(i) && !board.SlotPaused(i) && board.entry(i).alarm && board.remainingMs(i) <= kPrepareMs)
            ++due;
    for (int made = 0; made < 8 && static_cast<int>(m_spare.size()) < due; ++made) {
        auto* reminder = new frmMessage(QString());
        reminder->winId();  // its native window, not yet shown
        m_spare.push_back(reminder);
    }
}

void ReminderWindows::drop()
{
    for (const QPointer<frmMessage>& reminder : m_spare)
        delete reminder.data();
    m_spare.clear();
}

void ReminderWindows::show(int ring, const QString& text, const QString& due)
{
    frmMessage* reminder = nullptr;
    while (!reminder && !m_spare.empty()) {
        reminder = m_spare.back();
        m_spare.pop_back();
    }
    if (reminder)
        reminder->setMessage(text, due);
    else
        reminder = new frmMessage(text, due);
    reminder->setRing(ring);
    std::erase_if(m_shown, [](const QPointer<frmMessage>& r) { return r.isNull(); });
    reminder->placeAmong(static_cast<int>(std::count_if(m_shown.begin(), m_shown.end(),
                                                        [](const QPointer<frmMessage>& r) { return r->isVisible(); })));
    reminder->show();
    reminder->notifyDesktop();
    m_shown.push_back(reminder);
    QObject::connect(reminder, &frmMessage::snoozeChosen, &m_context, [this, ring](int seconds) {
        if (m_choice)
            m_choice(ring, seconds);
    });
    QObject::connect(reminder, &frmMessage::restartChosen, &m_context, [this, ring] {
        if (m_choice)
            m_choice(ring, 0);
    });
    // A reminder closes for good: it is deleted when closed.
    QObject::connect(reminder, &QObject::destroyed, &m_context, [this] {
        if (--m_open == 0 && m_waiting)
            m_waiting(false);
    });
    if (m_open++ == 0 && m_waiting)
        m_waiting(true);
}

bool ReminderWindows::isOpen(int ring) const
{
    return std::any_of(m_shown.begin(), m_shown.end(),
                       [ring](const QPointer<frmMessage>& r) { return r && r->isVisible() && r->ring() == ring; });
}

void ReminderWindows::closeFor(int ring)
{
    for (const QPointer<frmMessage>& reminder : std::vector<QPointer<frmMessage>>(m_shown))
        if (reminder && reminder->ring() == ring)
            reminder->close();
}
