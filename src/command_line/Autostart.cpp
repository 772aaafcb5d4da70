#include "command_line/Autostart.h"
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#ifndef Q_OS_WIN
namespace {
// A desktop entry's Exec quoting: the path in double quotes, its special characters escaped;
// then, the value being a string of the entry, each backslash written twice.
QString quoted(const QString& path)
{
    QString out;
    for (const QChar c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
    }
    QString value = '"' + out.replace('%', QStringLiteral("%%")) + '"';
    return value.replace('\\', QStringLiteral("\\\\"));
}
}
#endif

namespace Autostart {

#ifdef Q_OS_WIN
// The user's Run key: Windows starts each program named there at logon.
namespace {
const QString kRunKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

QString entryPath() { return kRunKey + "\\Zelvo"; }

QString set(bool on, const QString& programPath)
{
    QSettings run(kRunKey, QSettings::NativeFormat);
    if (on)
        run.setValue("Zelvo", '"' + QDir::toNativeSeparators(programPath) + '"');
    else
        run.remove("Zelvo");
    run.sync();
    return run.status() == QSettings::NoError ? QString() : "cannot write " + entryPath();
}
#else

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart/zelvo.desktop";
}

QString set(bool on, const QString& programPath)
{
    const QString path = entryPath();
    if (!on) {
        if (QFile::exists(path) && !QFile::remove(path))
            return "cannot remove " + path;
        return {};
    }
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly))
        return "cannot write " + path;
    file.write(QStringLiteral("[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Zelvo\n"
                              "Comment=Brings back your countdowns after you log in\n"
                              "Exec=%1\n"
                              "Icon=zelvo\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n")
                   .arg(quoted(programPath))
                   .toUtf8());
    return file.commit() ? QString() : "cannot write " + path;
}
#endif
}
