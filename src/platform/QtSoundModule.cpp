#include "platform/QtSoundOut.h"

// The one entry of the sound module, which the program resolves at its first sound.
extern "C" Q_DECL_EXPORT SoundOut* zelvo_sound_create() { return new QtSoundOut; }
