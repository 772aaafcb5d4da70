#include "support/cSharedFileSubs.h"
#include "support/EventSink.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "support/AnsiText.h"
#include "support/FileTable.h"
#include "support/Guard.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedText.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QRegularExpression>

namespace {
const QString kLog = QStringLiteral("cFile");

bool isSep(QChar c) { return c == '\\' || c == '/'; }

QString slashed(const QString& path)
{
    QString copy = path;
    copy.replace('/', '\\');
    return copy;
}

// The path as the local file system spells it.
QString localPath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString copy = path;
    copy.replace('\\', '/');
    return copy;
#endif
}

bool hasWildcards(const QString& name) { return name.contains('*') || name.contains('?'); }

QString readOnlyText(const QString& fileName)
{
    return fileName + " is read only, can't change it to read write, can't update it";
}
}

cSharedFileSubs& cSharedFileSubs::instance()
{
    static cSharedFileSubs* subs = new cSharedFileSubs;
    return *subs;
}

QChar cSharedFileSubs::separator() { return QDir::separator(); }

bool cSharedFileSubs::FileExists(const QString& fileName)
{
    bool result = false;
    Guard g{"FileExists", kLog};
    g([&] {
        const QString path = localPath(fileName);
        if (path.isEmpty())
            return;
        if (!hasWildcards(path)) {
            const QFileInfo info(path);
            result = info.exists() && !info.isDir();
            return;
        }
        const QFileInfo pattern(path);
        const QDir dir(pattern.path());
        const QFileInfoList entries = dir.entryInfoList({pattern.fileName()},
                                                        QDir::AllEntries | QDir::Hidden | QDir::System
                                                            | QDir::NoDotAndDotDot,
                                                        QDir::Name | QDir::IgnoreCase);
        // The first match in name order decides, as the file search hands them out.
        result = !entries.isEmpty() && !entries.first().isDir();
    });
    return result;
}

bool cSharedFileSubs::FolderExists(const QString& folder)
{
    bool result = false;
    Guard g{"FolderExists", kLog};
    g([&] {
        if (folder.size() < 4 && folder.size() >= 2 && folder[1] == ':') {
            result = true;
            return;
        }
        QString path = localPath(folder);
        if (path.size() > 1 && isSep(path.back()))
            path.chop(1);
        const QFileInfo info(path);
        result = info.exists() && info.isDir();
    });
    return result;
}

bool cSharedFileSubs::isReadonly(const QString& fileName)
{
    bool result = false;
    Guard g{"isReadonly", kLog};
    g([&] { result = Platform::fileSystem().isReadOnly(localPath(fileName)); });
    return result;
}

bool cSharedFileSubs::MakeReadWrite(const QString& fileName)
{
    bool result = false;
    Guard g{"MakeReadWrite", kLog};
    g([&] {
        if (FileExists(fileName))
            result = Platform::fileSystem().makeWritable(localPath(fileName));
    });
    return result;
}

bool cSharedFileSubs::EraseFile(const QString& fileName)
{
    bool result = false;
    try {
        if (FileExists(fileName)) {
            // A file that stays read-only is not deleted, as on Windows.
            if (!MakeReadWrite(fileName) && isReadonly(fileName))
                throw AppError(AppError::PathFileAccess);
            QFile file(localPath(fileName));
            if (!file.remove())
                throw AppError(AppError::PathFileAccess);
            result = true;
        }
    } catch (const std::exception& e) {
        const AppError error = AppError::from(e);
        EventSink::action(error.description() + " (" + QString::number(error.number())
                                                 + ") erasing " + fileName,
                                             "EraseFile", kLog);
    }
    return result;
}

int cSharedFileSubs::openChecked(const QString& fileName, int mode, const QString& routine)
{
    int number = -1;
    Guard g{routine, kLog};
    g([&] {
        if (FileExists(fileName) && isReadonly(fileName) && !MakeReadWrite(fileName)) {
            EventSink::event(readOnlyText(fileName));
            return;
        }
        number = FileTable::instance().open(localPath(fileName), static_cast<FileSystem::WriteMode>(mode));
    });
    return number;
}

int cSharedFileSubs::CreateOutputFile(const QString& fileName)
{
    return openChecked(fileName, static_cast<int>(FileSystem::WriteMode::Truncate), "CreateOutputFile");
}

int cSharedFileSubs::OpenOutputFile(const QString& fileName) { return CreateOutputFile(fileName); }

int cSharedFileSubs::CreateAtomicOutputFile(const QString& fileName)
{
    return openChecked(fileName, static_cast<int>(FileSystem::WriteMode::Atomic), "CreateOutputFile");
}

int cSharedFileSubs::OpenAppendFile(const QString& fileName)
{
    if (!FileExists(fileName))
        return CreateOutputFile(fileName);
    return openChecked(fileName, static_cast<int>(FileSystem::WriteMode::Append), "OpenAppendFile");
}

void cSharedFileSubs::AppendToTextFile(const QString& fileName, const QString& text)
{
    Guard g{"AppendToTextFile", kLog};
    const int number = OpenAppendFile(fileName);
    if (number <= 0)
        return;
    g([&] { FileTable::instance().write(number, AnsiText::encode(text + "\r\n")); });
    g([&] { FileTable::instance().close(number); });
}

bool cSharedFileSubs::LoadTextFile(const QString& fileName, QString& text)
{
    text.clear();
    if (!FileExists(fileName))
        return false;
    Guard g{"LoadTextFile", kLog};
    QFile file(localPath(fileName));
    g([&] {
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(AppError::PathFileAccess);
    });
    g([&] { text = AnsiText::decode(file.readAll()); });
    g([&] { file.close(); });
    return true;
}

bool cSharedFileSubs::ReadTextFile(const QString& fileName, QString& text) { return LoadTextFile(fileName, text); }

bool cSharedFileSubs::WriteTextFile(const QString& fileName, const QString& text)
{
    const int number = CreateOutputFile(fileName);
    if (number <= 0)
        return false;
    Guard g{"WriteTextFile", kLog};
    g([&] { FileTable::instance().write(number, AnsiText::encode(text + "\r\n")); });
    // A text that did not reach the disk is not reported as written.
    return g([&] { FileTable::instance().close(number); });
}

int cSharedFileSubs::RunFile(const QString& fileName, const QString& workingFolder)
{
    int result = 0;
    Guard g{"RunFile", kLog};
    g([&] { result = Platform::shell().open(cSharedText::instance().AddQuotes(fileName), workingFolder); });
    return result;
}

QString cSharedFileSubs::DriveOnly(const QString& path) const
{
    // A path from the root has no drive letter: the disk that fills up is the mount that holds it.
    if (path.startsWith('/') && !path.startsWith("//")) {
        const QString mount = QStorageInfo(QFileInfo(path).absolutePath()).rootPath();
        if (!mount.isEmpty())
            return mount;
    }
    if (!path.isEmpty() && isSep(path[0]))
        return path;
    return path.left(1);
}

QString cSharedFileSubs::AddSlashIfMissing(const QString& path) const
{
    if (path.isEmpty() || isSep(path.back()))
        return path;
    return path + separator();
}

QString cSharedFileSubs::RemoveSlashFromEnd(const QString& path) const
{
    if (!path.isEmpty() && isSep(path.back()))
        return path.left(path.size() - 1);
    return path;
}

void cSharedFileSubs::FillFiles(const QString& folder, const QString& extensions, QStringList& target)
{
    const QDir dir(localPath(folder));
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    int count = 0;
    for (QString name : names) {
        if (++count % 20 == 0)
            cSHAREDDelay::instance().RegularDoEvents();
        const int nul = name.indexOf(QChar(0));
        if (nul >= 0)
            name.truncate(nul);
        while (name.endsWith(' '))
            name.chop(1);
        if (!extensions.isEmpty()) {
            const int dot = name.lastIndexOf('.');
            if (dot < 0)
                continue;
            const QString extension = name.mid(dot + 1);
            if (extension.isEmpty() || !extensions.contains(extension, Qt::CaseInsensitive))
                continue;
        }
        target << name;
    }
}

QString cSharedFileSubs::ExtractPath(const QString& path) const
{
    const int last = slashed(path).lastIndexOf('\\');
    return last < 0 ? QString() : path.left(last + 1);
}

QString cSharedFileSubs::PathOnly(const QString& path) const
{
    const int last = slashed(path).lastIndexOf('\\');
    return last < 0 ? QString('.') + separator() : path.left(last + 1);
}

QString cSharedFileSubs::FileOnly(const QString& path) const
{
    const QString copy = slashed(path);
    const int last = copy.lastIndexOf('\\');
    return last < 0 ? copy : copy.mid(last + 1);
}
