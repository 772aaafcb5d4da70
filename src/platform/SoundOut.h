#pragma once
#include <QString>

// Wave playback in the background, a plain beep, and the number of output devices.
class SoundOut {
public:
    virtual ~SoundOut() = default;
    virtual void play(const QString& wavePath) = 0;  // returns at once
    virtual void stop() = 0;
    virtual void beep() = 0;
    virtual int deviceCount() const = 0;
    // Brings in what the first sound needs, so that it does not wait for it; an alarm is near.
    virtual void prepare() {}
};
