#pragma once
#include "slot_model/SlotHost.h"
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

// The program around the slots, recording what they ask of it.
class FakeSlotHost : public SlotHost {
public:
    void remind(int i, int ring, const QString& message, const QString& due) override
    {
        alarms << (due.isEmpty() ? message : message + " | " + due);
        rang.push_back(i);
        rings.push_back(ring);
    }
    bool reminderOpen(int ring) const override { return std::find(open.begin(), open.end(), ring) != open.end(); }
    bool slotOnPage(int i) const override { return onPage(i); }
    void showWindow() override { ++shows; }
    void quitProgram(bool ask) override { quits.push_back(ask); }
    void dismissDialogs() override {}
    QString waitsForUser() const override { return waitingFor; }

    std::function<bool(int)> onPage = [](int) { return true; };
    QStringList alarms;
    std::vector<int> rang, rings;
    std::vector<int> open;  // the rings whose reminder is open
    int shows = 0;
    QString waitingFor;
    std::vector<bool> quits;
};
