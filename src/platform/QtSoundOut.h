#pragma once
#include "platform/SoundOut.h"
#include <memory>

class QSoundEffect;

class QtSoundOut : public SoundOut {
public:
    QtSoundOut();
    ~QtSoundOut() override;
    void play(const QString& wavePath) override;
    void stop() override;
    void beep() override;
    int deviceCount() const override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
