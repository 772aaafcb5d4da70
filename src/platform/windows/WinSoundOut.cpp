#include "platform/windows/WinSoundOut.h"
#include <QDir>
#include <windows.h>
#include <mmsystem.h>

WinSoundOut::~WinSoundOut() { stop(); }

void WinSoundOut::play(const QString& wavePath)
{
    // No default sound in its place: a missing file is silence, as on the other systems.
    const std::wstring path = QDir::toNativeSeparators(wavePath).toStdWString();
    PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void WinSoundOut::stop() { PlaySoundW(nullptr, nullptr, 0); }

void WinSoundOut::beep() { MessageBeep(MB_OK); }

int WinSoundOut::deviceCount() const { return static_cast<int>(waveOutGetNumDevs()); }
