#include "diagnostics/cSharedLogging.h"
#include "diagnostics/cSharedOSInfo.h"
#include "platform/AppFacts.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/AppError.h"
#include "support/AnsiText.h"
#include "support/EventSink.h"
#include "support/FileTable.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedFileSubs.h"
#include <QLocale>

namespace {
// The support routines below the log write through it.
[[maybe_unused]] const bool kSinkSet = [] {
    EventSink::setTarget({[](const QString& text, const QString& routine, const QString& module) {
                              cSharedLogging::instance().AddAction(text, routine, module);
                          },
                          [](const QString& text) { cSharedLogging::instance().LogEvent(text, false); }});
    return true;
}();
cSharedLogging*& current()
{
    static cSharedLogging* log = nullptr;
    return log;
}

OleDate now() { return OleDate::fromDateTime(Platform::clock().now()); }

// Without its trailing separator, unless it is a root.
QString programFolder()
{
    const QString folder = Platform::facts().programFolder();
    const QString trimmed = cSharedFileSubs::instance().RemoveSlashFromEnd(folder);
    return trimmed.isEmpty() || trimmed.endsWith(':') ? folder : trimmed;
}
}

cSharedLogging& cSharedLogging::instance()
{
    if (!current())
        current() = new cSharedLogging;  // kept until the process ends
    return *current();
}

void cSharedLogging::resetInstance()
{
    delete current();
    current() = nullptr;
}

cSharedLogging::~cSharedLogging()
{
    try {
        WriteActionsToLog();
    } catch (...) {
    }
}

QString cSharedLogging::defaultPath() const
{
    return cSharedFileSubs::instance().AddSlashIfMissing(Platform::facts().dataFolder()) + "log.txt";
}

void cSharedLogging::OverrideLogFilename(const QString& path)
{
    cSharedFileSubs& files = cSharedFileSubs::instance();
    if (files.FolderExists(files.ExtractPath(path)))
        m_path = path;
    else
        m_path = files.AddSlashIfMissing(Platform::facts().dataFolder()) + files.FileOnly(path);
}

QString cSharedLogging::line(int number, const OleDate& moment, const QString& text)
{
    const QString sep = Platform::facts().locale().timeSeparator;
    const QString time = moment.toDateTime().time().toString("HH" + sep + "mm" + sep + "ss");
    return QString::number(number) + ' ' + time + ", " + text + "\r\n";
}

void cSharedLogging::writeLine(int number, const OleDate& moment, const QString& text)
{
    FileTable::instance().write(number, AnsiText::encode(line(number, moment, text)));
}

void cSharedLogging::LogEvent(const QString& text, bool freshStart)
{
    if (m_noLogging)
        return;
    if (m_path.isEmpty())
        m_path = defaultPath();
    LogToFile(m_path, text, freshStart);
}

void cSharedLogging::LogToFile(const QString& path, const QString& text, bool freshStart)
{
    if (m_noLogging)
        return;
    cSharedFileSubs& files = cSharedFileSubs::instance();
    if (freshStart) {
        files.EraseFile(path);
        if (files.FileExists(path))
            freshStart = false;
    }
    FileTable& table = FileTable::instance();
    const int number = table.open(path, freshStart ? FileSystem::WriteMode::Truncate : FileSystem::WriteMode::Append);
    try {
        const OleDate moment = now();
        if (freshStart) {
            const AppFacts& facts = Platform::facts();
            writeLine(number, moment, "Log file created ");
            writeLine(number, moment, "Operating System: " + cSharedOSInfo().fOSName());
            writeLine(number, moment, "App: " + facts.exeName());
            writeLine(number, moment, "Version: " + cSHAREDSubs::instance().AppVersion());
            writeLine(number, moment, "Curdir: " + facts.currentFolder());
            writeLine(number, moment, "App path: " + programFolder());
        }
        writeLine(number, moment, text);
    } catch (...) {
        table.discard(number);
        throw;
    }
    table.close(number);
}

void cSharedLogging::LogError(const AppError& error, const QString& routine, const QString& module)
{
    if (m_noLogging)
        return;
    LogEvent("Error " + QString::number(error.number()) + " (" + error.description() + ") in " + routine + " of "
                 + module,
             false);
    WriteActionsToLog();
}

void cSharedLogging::addEntry(const QString& text, const QString& routine, const QString& module)
{
    if (m_noLogging)
        return;
    QString entry = text;
    if (!routine.isEmpty())
        entry += " in " + routine;
    if (!module.isEmpty())
        entry += " of module " + module;
    m_texts.append(entry);
    m_times.append(now());
    if (m_texts.size() > 20)
        WriteActionsToLog();
}

void cSharedLogging::AddDebug(const QString& text, const QString& routine, const QString& module)
{
    addEntry("DBG: " + text, routine, module);
}

void cSharedLogging::AddAction(const QString& text, const QString& routine, const QString& module)
{
    addEntry(text, routine, module);
}

void cSharedLogging::WriteActionsToLog()
{
    if (m_noLogging || m_texts.isEmpty())
        return;
    if (m_path.isEmpty())
        m_path = defaultPath();
    // Re-entry from a failure inside the write itself must not write the trail twice.
    static bool writing = false;
    if (writing)
        return;
    writing = true;
    const int number = cSharedFileSubs::instance().OpenAppendFile(m_path);
    if (number <= 0) {
        writing = false;
        return;
    }
    try {
        while (!m_texts.isEmpty()) {
            writeLine(number, m_times.first(), m_texts.first());
            m_texts.removeFirst();
            m_times.removeFirst();
        }
        FileTable::instance().close(number);
    } catch (...) {
        FileTable::instance().discard(number);
    }
    writing = false;
}

QString cSharedLogging::CurrentAction() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
