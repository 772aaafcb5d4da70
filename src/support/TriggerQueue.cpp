#include "support/TriggerQueue.h"
#include "support/EventSink.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include <QThread>

namespace {
constexpr int kRetryMs = 50;
}

TriggerQueue& TriggerQueue::instance()
{
    static TriggerQueue* queue = new TriggerQueue;  // kept until the process ends
    return *queue;
}

TriggerQueue::TriggerQueue()
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &TriggerQueue::drain);
}

bool TriggerQueue::safeNow(Reach reach) const
{
    // The main loop runs at level 1 (0 before it starts); a modal window nests another.
    // Set aside, the update check's wait for its transfer holds no slot half changed either: its
    // pump (with the loop it may nest) is one more level that a countdown command may run in.
    const int aside = reach == Reach::Slots ? m_aside : 0;
    const int pumping = cSHAREDDelay::instance().pumping() ? 1 : 0;
    return !m_running && m_steps == 0 && (!pumping || aside > 0)
           && QThread::currentThread()->loopLevel() <= 1 + m_passive + aside + pumping;
}

void TriggerQueue::post(const QString& name, std::function<void()> trigger, std::function<void()> refuse, Reach reach)
{
    m_queue.push_back({name, std::move(trigger), std::move(refuse), reach});
    drain();
}

void TriggerQueue::close()
{
    m_closed = true;
    while (!m_queue.empty()) {
        const Trigger next = std::move(m_queue.front());
        m_queue.pop_front();
        turnAway(next);
    }
}

void TriggerQueue::turnAway(const Trigger& trigger)
{
    EventSink::event(trigger.name + " was not carried out: the program is ending");
    if (trigger.refuse) {
        Guard g{trigger.name, "TriggerQueue"};
        g(trigger.refuse);
    }
}

void TriggerQueue::drain()
{
    while (!m_queue.empty()) {
        if (m_closed) {
            close();
            return;
        }
        if (!safeNow(m_queue.front().reach)) {
            m_retry.start();
            return;
        }
        const Trigger next = std::move(m_queue.front());
        m_queue.pop_front();
        m_running = true;
        Guard g{next.name, "TriggerQueue"};
        g(next.run);
        m_running = false;
    }
}
