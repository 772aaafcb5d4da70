#include "platform/DesktopShell.h"
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
constexpr int kShellOk = 42;
constexpr int kShellFileNotFound = 2;

QString unquoted(QString target)
{
    if (target.size() >= 2 && target.startsWith('"') && target.endsWith('"'))
        target = target.mid(1, target.size() - 2);
    return target;
}

QUrl toUrl(const QString& target, const QString& workingFolder)
{
    const QUrl url(target, QUrl::TolerantMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    QString path = target;
    if (QFileInfo(path).isRelative() && !workingFolder.isEmpty() && QDir(workingFolder).exists())
        path = QDir(workingFolder).filePath(path);
    return QUrl::fromLocalFile(path);
}
}

int DesktopShell::open(const QString& target, const QString& workingFolder)
{
    const QUrl url = toUrl(unquoted(target), workingFolder);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return kShellFileNotFound;
    // A program is started, as the original shell's "open" did.
    const QFileInfo file(url.isLocalFile() ? url.toLocalFile() : QString());
    if (file.isFile() && file.isExecutable())
        return QProcess::startDetached(file.absoluteFilePath(), {},
                                       workingFolder.isEmpty() ? file.absolutePath() : workingFolder)
                   ? kShellOk
                   : kShellFileNotFound;
#ifdef Q_OS_LINUX
    // xdg-open started by ourselves at least tells whether it could start.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (!opener.isEmpty())
        return QProcess::startDetached(opener, {url.toString()}) ? kShellOk : kShellFileNotFound;
#endif
    return QDesktopServices::openUrl(url) ? kShellOk : kShellFileNotFound;
}
