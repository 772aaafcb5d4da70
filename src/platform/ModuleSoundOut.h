#pragma once
#include "platform/SoundOut.h"
#include <memory>

// The alarm's backend comes in at the first sound: Qt Multimedia and the sound server's libraries
// live in a module of their own ("zelvo_sound"), so a start that plays nothing maps none of them.
// Without the module the program stays silent and says why once on its error output.
class ModuleSoundOut : public SoundOut {
public:
    ModuleSoundOut();
    ~ModuleSoundOut() override;
    void play(const QString& wavePath) override;
    void stop() override;
    void beep() override;
    int deviceCount() const override;
    void prepare() override { backend(); }

private:
    SoundOut* backend() const;

    mutable std::unique_ptr<SoundOut> m_backend;
    mutable bool m_tried = false;
};
