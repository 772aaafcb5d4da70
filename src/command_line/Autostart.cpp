#include "command_line/Autostart.h"
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

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

namespace Autostart {

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
}
