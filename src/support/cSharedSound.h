#pragma once
#include <QString>

// Plays the alarm in the background; a missing file beeps once. Log name "cSound".
class cSharedSound {
public:
    static cSharedSound& instance();

    void PlayWav(const QString& fileName);
    bool StopPlayingWAV();
    bool HasSound();

private:
    bool SoundAvailable();
    bool m_checked = false;
    bool m_hasSound = false;
};
