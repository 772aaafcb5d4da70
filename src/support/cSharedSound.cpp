#include "support/cSharedSound.h"
#include "platform/Platform.h"
#include "platform/SoundOut.h"
#include "support/Guard.h"
#include "support/cSharedFileSubs.h"

cSharedSound& cSharedSound::instance()
{
    static cSharedSound* sound = new cSharedSound;
    return *sound;
}

void cSharedSound::PlayWav(const QString& fileName)
{
    Guard g{"PlayWav", "cSound"};
    g([&] { StopPlayingWAV(); });
    bool exists = false;
    g([&] { exists = cSharedFileSubs::instance().FileExists(fileName); });
    if (exists)
        g([&] { Platform::sound().play(fileName); });
    else
        g([&] { Platform::sound().beep(); });
}

bool cSharedSound::StopPlayingWAV()
{
    Platform::sound().stop();
    return false;
}

bool cSharedSound::HasSound()
{
    if (!m_checked) {
        m_checked = true;
        m_hasSound = SoundAvailable();
    }
    return m_hasSound;
}

bool cSharedSound::SoundAvailable()
{
    bool available = false;
    Guard g{"SoundAvailable", "cSound"};
    g([&] { available = Platform::sound().deviceCount() > 0; });
    return available;
}
