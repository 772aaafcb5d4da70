#include "platform/QtSoundOut.h"
#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

QtSoundOut::QtSoundOut() = default;
QtSoundOut::~QtSoundOut() = default;

void QtSoundOut::play(const QString& wavePath)
{
    // With no output device Qt would hold the effect "playing" forever; there is nothing to hear.
    if (deviceCount() == 0)
        return;
    m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(wavePath));
    m_effect->setLoopCount(1);
    m_effect->play();
}

void QtSoundOut::stop()
{
    if (m_effect)
        m_effect->stop();
}

void QtSoundOut::beep() { QApplication::beep(); }

int QtSoundOut::deviceCount() const { return static_cast<int>(QMediaDevices::audioOutputs().size()); }
