#include "FuzzSupport.h"
#include "diagnostics/cSharedLogging.h"
#include "fakes/ErrorReportCatcher.h"
#include "fakes/FakeAppFacts.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSound.h"
#include "fakes/FakeTrayHost.h"
#include "platform/Platform.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
// Saving the settings syncs the file to disk; in memory that costs nothing, so inputs run faster.
QString scratchBase()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

struct Seams {
    QTemporaryDir folder{scratchBase() + QStringLiteral("/zelvo-fuzz-XXXXXX")};
    std::shared_ptr<FakeAppFacts> facts = std::make_shared<FakeAppFacts>();
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::unique_ptr<ErrorReportCatcher> catcher;
};

Seams* seams = nullptr;

int qtArgc = 1;
char qtName[] = "zelvo_fuzz";
char* qtArgv[] = {qtName, nullptr};
}

namespace FuzzSupport {
void init()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + "/zelvo-fuzz-runtime";
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    }
    new QApplication(qtArgc, qtArgv);  // lives as long as the process

    seams = new Seams;
    if (!seams->folder.isValid())
        fail("no scratch folder");
    std::atexit([] { seams->folder.remove(); });  // libFuzzer ends with exit(); the seams stay
    seams->facts->folder = seams->folder.path();
    seams->facts->temp = seams->folder.path();
    Platform::setFacts(seams->facts);
    Platform::setDialogs(seams->dialogs);
    Platform::setShell(seams->shell);
    Platform::setSound(std::make_shared<FakeSound>());
    Platform::setTray(std::make_shared<FakeTrayHost>());
    cSharedLogging::instance().setNOLOGGING(true);
    // A settings line that fails shows the error report window modally; someone has to close it.
    seams->catcher = std::make_unique<ErrorReportCatcher>();
}

QString programFolder() { return seams->folder.path(); }

QString path(const QString& name) { return seams->folder.filePath(name); }

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file", name);
}

QByteArray readFile(const QString& name)
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void forgetRecords()
{
    seams->dialogs->shown.clear();
    seams->dialogs->prompts.clear();
    seams->shell->opened.clear();
    seams->shell->folders.clear();
    seams->catcher->errors.clear();
}

QString text(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return QString();
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);
    if (data[0] & 1) {
        QString units(length / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < units.size(); ++i)
            units[i] = QChar(static_cast<char16_t>(static_cast<std::uint8_t>(rest[2 * i])
                                                   | static_cast<std::uint8_t>(rest[2 * i + 1]) << 8));
        return units;
    }
    return QString::fromUtf8(rest, length);
}

void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "\n*** %s\n*** %s\n", what, qUtf8Printable(detail));
    std::abort();
}
}
