#pragma once
#include "platform/SoundOut.h"

// The alarm through Windows' own PlaySound (winmm), in the background: Qt Multimedia is not part
// of the Windows build.
class WinSoundOut : public SoundOut {
public:
    ~WinSoundOut() override;
    void play(const QString& wavePath) override;
    void stop() override;
    void beep() override;
    int deviceCount() const override;
};
