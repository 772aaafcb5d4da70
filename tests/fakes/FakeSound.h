#pragma once
#include "platform/SoundOut.h"
#include <QStringList>

// Records what would have been played.
class FakeSound : public SoundOut {
public:
    void play(const QString& wavePath) override { played << wavePath; }
    void stop() override { ++stops; }
    void beep() override { ++beeps; }
    int deviceCount() const override { return devices; }

    QStringList played;
    int stops = 0;
    int beeps = 0;
    int devices = 1;
};
