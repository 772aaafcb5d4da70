#include "platform/QtSoundOut.h"
#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

// Each stop and start of the effect waits on the sound server. Forty reminders in one second
// each restart the alarm: what is heard is the last start, so the requests of such a burst are
// gathered and carried out together, a few milliseconds after the last of them.
QtSoundOut::QtSoundOut()
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(15);
    QObject::connect(&m_settle, &QTimer::timeout, [this] { apply(); });
}

QtSoundOut::~QtSoundOut() = default;

void QtSoundOut::play(const QString& wavePath)
{
    // With no output device Qt would hold the effect "playing" forever; there is nothing to hear.
    if (deviceCount() == 0)
        return;
    m_wanted = wavePath;
    m_settle.start();
}

void QtSoundOut::stop()
{
    m_wanted.clear();
    if (m_effect)
        m_settle.start();
}

void QtSoundOut::apply()
{
    if (m_effect)
        m_effect->stop();
    if (m_wanted.isEmpty())
        return;
    // The file is read once and played again from the loaded effect while it stays the same.
    const QDateTime changed = QFileInfo(m_wanted).lastModified();
    if (!m_effect || m_wanted != m_path || changed != m_changed) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setSource(QUrl::fromLocalFile(m_wanted));
        m_effect->setLoopCount(1);
        m_path = m_wanted;
        m_changed = changed;
    }
    m_effect->play();
}

void QtSoundOut::beep() { QApplication::beep(); }

int QtSoundOut::deviceCount() const { return static_cast<int>(QMediaDevices::audioOutputs().size()); }
