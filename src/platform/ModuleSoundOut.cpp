#include "platform/ModuleSoundOut.h"
#include <QApplication>
#include <QDir>
#include <QLibrary>

namespace {
using Create = SoundOut* (*)();

// Beside the program (a build, a portable copy), or where an installed copy keeps its modules.
QStringList modulePaths()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.filePath(QStringLiteral("zelvo_sound")),
            QDir::cleanPath(program.filePath(QStringLiteral(ZELVO_MODULE_DIR "/zelvo_sound")))};
}
}

ModuleSoundOut::ModuleSoundOut() = default;
// The module stays loaded to the end: its code must outlive the backend it made.
ModuleSoundOut::~ModuleSoundOut() = default;

SoundOut* ModuleSoundOut::backend() const
{
    if (m_tried)
        return m_backend.get();
    m_tried = true;
    QStringList errors;
    for (const QString& path : modulePaths()) {
        QLibrary module(path);
        if (const auto create = reinterpret_cast<Create>(module.resolve("zelvo_sound_create"))) {
            m_backend.reset(create());
            return m_backend.get();
        }
        errors << module.errorString();
    }
    qWarning("zelvo: no alarm sound: %s", qPrintable(errors.join(QStringLiteral("; "))));
    return nullptr;
}

void ModuleSoundOut::play(const QString& wavePath)
{
    if (SoundOut* sound = backend())
        sound->play(wavePath);
}

// Nothing plays before the first sound, so a stop does not bring the backend in.
void ModuleSoundOut::stop()
{
    if (m_backend)
        m_backend->stop();
}

void ModuleSoundOut::beep() { QApplication::beep(); }

int ModuleSoundOut::deviceCount() const
{
    const SoundOut* sound = backend();
    return sound ? sound->deviceCount() : 0;
}
