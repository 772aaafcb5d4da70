#include "settings/cSHAREDSettings.h"
#include "diagnostics/cSHAREDShowError.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "support/AnsiText.h"
#include "platform/AppError.h"
#include "support/FileTable.h"
#include "support/Guard.h"
#include "support/cSHAREDSubs.h"
#include "support/cSharedDateSubs.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedText.h"
#include <QStringView>
#include <algorithm>
#include <optional>

namespace {
const QString kLog = QStringLiteral("cSHAREDSettings");
const QString kTitle = QStringLiteral("Zelvo");
const QString kLineEnd = QStringLiteral("\r\n");
constexpr qsizetype kWriteChunk = 64 * 1024;

cSHAREDSettings*& current()
{
    static cSHAREDSettings* settings = nullptr;
    return settings;
}

QString withoutCommas(const QString& name)
{
    QString copy = name;
    copy.remove(',');
    return copy;
}

// Only blanks are trimmed, as the file format knows no other padding.
QStringView trimBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    return text.mid(first, last - first);
}

QString keyOf(const QString& name) { return name.toUpper(); }

// A line break inside a value would start a line of its own at the next load, and let whoever
// wrote the value set any setting: each CR and LF of a value is written as a tab, which no
// reading trims away (a blank would turn "False<CR>" into the word False at the next load).
// Names are the program's own, or came from the file, where no name holds a CR LF.
QString oneLine(QString text)
{
    if (text.contains('\r') || text.contains('\n'))
        text.replace('\r', '\t').replace('\n', '\t');
    return text;
}

// The boolean a text stands for when it is "TRUE"/"FALSE" or the locale's word, in any case.
std::optional<bool> booleanWord(const QString& text)
{
    cSharedDateSubs& words = cSharedDateSubs::instance();
    const QString trueWord = words.TrueStr();
    const QString falseWord = words.FalseStr();
    const QStringView trimmed = trimBlanks(text);
    // A long text cannot be one of the words; spare upper-casing it.
    const qsizetype longest = std::max<qsizetype>({5, trueWord.size(), falseWord.size()});
    if (trimmed.size() > longest)
        return std::nullopt;
    const QString upper = trimmed.toString().toUpper();
    if (upper == QLatin1String("FALSE") || (!falseWord.isEmpty() && upper == falseWord))
        return false;
    if (upper == QLatin1String("TRUE") || (!trueWord.isEmpty() && upper == trueWord))
        return true;
    return std::nullopt;
}

QString indexName(const QString& set) { return set + QStringLiteral("_INDEX"); }
QString memberName(const QString& set, std::int32_t number) { return set + '_' + QString::number(number); }
}

cSHAREDSettings& cSHAREDSettings::instance()
{
    if (!current())
        current() = new cSHAREDSettings;  // kept until the process ends
    return *current();
}

void cSHAREDSettings::resetInstance()
{
    delete current();
    current() = nullptr;
}

qsizetype cSHAREDSettings::positionOf(const QString& name) const
{
    return m_positions.value(keyOf(name), -1);
}

void cSHAREDSettings::removeAt(qsizetype position)
{
    m_positions.remove(keyOf(m_entries[position].KeyName));
    m_entries.erase(m_entries.begin() + position);
    for (auto i = static_cast<std::size_t>(position); i < m_entries.size(); ++i)
        m_positions[keyOf(m_entries[i].KeyName)] = static_cast<qsizetype>(i);
}

void cSHAREDSettings::AddSetting(const QString& name, const Value& value)
{
    Guard g{"AddSetting", kLog};
    Value stored = value;
    QString key = name;
    g([&] {
        if (const bool* flag = value.get<bool>())
            stored = Value(static_cast<std::int16_t>(*flag ? -1 : 0));
    });
    g([&] { key = withoutCommas(name); });
    bool replaced = false;
    g([&] {
        const qsizetype position = positionOf(key);
        if (position >= 0) {
            m_entries[position].KeyValue = stored;
            replaced = true;
        }
    });
    if (replaced)
        return;
    g([&] {
        m_entries.push_back(cSHAREDSetting{key, stored});
        m_positions.insert(keyOf(key), static_cast<qsizetype>(m_entries.size() - 1));
    });
}

Value cSHAREDSettings::RetrieveSetting(const QString& name, const Value& defaultValue) const
{
    Value result = defaultValue;
    try {
        const qsizetype position = positionOf(withoutCommas(name));
        if (position >= 0)
            result = m_entries[position].KeyValue;
        if (const auto word = booleanWord(result.toText()))
            result = Value(*word);
    } catch (...) {
        // A reader always gets a value: whatever the result holds.
    }
    return result;
}

Value cSHAREDSettings::RetrieveWithDefault(const QString& name, const Value& defaultValue) const
{
    const Value result = RetrieveSetting(name, defaultValue);
    bool isZero = true;
    Guard g{"RetrieveWithDefault", kLog};
    if (!g([&] { isZero = result.equalsNumber(0); }))
        return defaultValue;
    return isZero ? defaultValue : result;
}

bool cSHAREDSettings::IsSettingPresent(const QString& name) const
{
    bool present = false;
    Guard g{"IsSettingPresent", kLog};
    g([&] { present = positionOf(withoutCommas(name)) >= 0; });
    return present;
}

QString cSHAREDSettings::SettingNameByIndex(int position) const
{
    QString name;
    if (position < 1 || position > SettingsCount())
        return name;
    Guard g{"SettingNameByIndex", kLog};
    g([&] { name = m_entries.at(static_cast<std::size_t>(position - 1)).KeyName; });
    return name;
}

void cSHAREDSettings::DeleteSetting(int position)
{
    Guard g{"DeleteSetting", kLog};
    g([&] {
        if (position < 1 || position > SettingsCount())
            throw AppError(AppError::SubscriptOutOfRange);
        removeAt(position - 1);
    });
}

void cSHAREDSettings::DeleteSettingByName(const QString& name)
{
    try {
        const qsizetype position = positionOf(withoutCommas(name));
        if (position >= 0)
            removeAt(position);
    } catch (...) {
        // Deleting what cannot be deleted is no failure for the caller.
    }
}

void cSHAREDSettings::DeleteAllSettings()
{
    m_entries.clear();
    m_positions.clear();
}

void cSHAREDSettings::LoadSettings(const QString& filePath)
{
    DeleteAllSettings();
    cSharedFileSubs& files = cSharedFileSubs::instance();
    if (!files.FileExists(filePath))
        return;
    QString text;
    files.LoadTextFile(filePath, text);
    // Only CR LF ends a line; a lone CR or LF stays part of the value.
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(kLineEnd, start);
        if (end < 0)
            end = text.size();
        loadLine(text.mid(start, end - start), filePath);
        start = end + kLineEnd.size();
    }
}

void cSHAREDSettings::loadLine(const QString& line, const QString& filePath)
{
    try {
        const qsizetype comma = line.indexOf(',');
        if (comma < 0)
            return;
        const QString name = line.left(comma);
        if (trimBlanks(name).isEmpty())
            return;
        const QString text = line.mid(comma + 1);
        if (const auto word = booleanWord(text))
            AddSetting(name, Value(static_cast<std::int16_t>(*word ? -1 : 0)));
        else
            AddSetting(name, Value(text));
    } catch (const std::exception& e) {
        const AppError error = AppError::from(e);
        cSHAREDSubs::instance().NormalMouse();
        cSHAREDShowError::instance().ShowErr("Error " + QString::number(error.number()) + " in setting file. Line: "
                                                 + line + " of " + filePath,
                                             QString());
        cSHAREDSubs::instance().BusyMouse();
    }
}

cSHAREDSettings::WriteResult cSHAREDSettings::writeFile(const QString& filePath)
{
    // The old file is replaced only when the new one is closed whole, so a failed save never
    // leaves it truncated.
    const int number = cSharedFileSubs::instance().CreateAtomicOutputFile(filePath);
    if (number <= 0)
        return WriteResult::NotOpened;
    FileTable& table = FileTable::instance();
    try {
        QByteArray chunk;
        for (const cSHAREDSetting& entry : m_entries) {
            chunk += AnsiText::encode(entry.KeyName.toUpper() + ',' + oneLine(entry.KeyValue.displayForm()) + kLineEnd);
            if (chunk.size() >= kWriteChunk) {
                table.write(number, chunk);
                chunk.clear();
            }
        }
        if (!chunk.isEmpty())
            table.write(number, chunk);
        table.close(number);
    } catch (...) {
        table.discard(number);
        throw;
    }
    return WriteResult::Written;
}

bool cSHAREDSettings::SaveSettings(const QString& filePath)
{
    try {
        // A file that cannot be opened (read-only for good, or not openable) has been logged by the
        // file routines; nothing was written, and the caller hears so.
        return writeFile(filePath) == WriteResult::Written;
    } catch (const std::exception& e) {
        const AppError error = AppError::from(e);
        switch (error.number()) {
        case AppError::BadFileNameOrNumber:
        case AppError::PathFileAccess:
            if (cSharedFileSubs::instance().MakeReadWrite(filePath))
                return retrySave(filePath);
            Platform::dialogs().message(
                QStringLiteral("Your settings file is read-only and I can't change it. Save cancelled."),
                Dialogs::Buttons::Ok, kTitle);
            return false;
        case AppError::DiskFull: {
            const QString text = "You've run out of disk space on drive "
                                 + cSharedFileSubs::instance().DriveOnly(filePath) + ":\r"
                                 + "Please clear some space and then click Retry, else click Cancel to abort.";
            if (Platform::dialogs().message(text, Dialogs::Buttons::RetryCancel, kTitle) == Dialogs::Answer::Retry)
                return retrySave(filePath);
            return false;
        }
        default:
            reportSaveFailure(error);
            return false;
        }
    }
}

// The one repeated attempt: a failure here is reported once and the save ends.
bool cSHAREDSettings::retrySave(const QString& filePath)
{
    try {
        if (writeFile(filePath) == WriteResult::Written)
            return true;
        reportSaveFailure(AppError(AppError::PathFileAccess));
    } catch (const std::exception& e) {
        reportSaveFailure(AppError::from(e));
    }
    return false;
}

void cSHAREDSettings::reportSaveFailure(const AppError& error)
{
    try {
        cSHAREDShowError::instance().ShowErr(
            QString::number(error.number()) + " - " + error.description() + " in SaveSettings", QString());
    } catch (...) {
        // Showing the failure must not end the program either.
    }
}

std::int32_t cSHAREDSettings::LastIndexInSet(const QString& setName) const
{
    std::int32_t last = 0;
    Guard g{"LastIndexInSet", kLog};
    g([&] { last = RetrieveSetting(indexName(setName.toUpper()), Value(static_cast<std::int16_t>(0))).toInt32(); });
    return last;
}

std::int32_t cSHAREDSettings::AddToSet(const QString& setName, const Value& value)
{
    const QString set = setName.toUpper();
    std::int32_t next = 0;
    Guard g{"AddToSet", kLog};
    g([&] {
        // Skip numbers already taken by members stored some other way.
        do {
            next = LastIndexInSet(set) + 1;
            AddSetting(indexName(set), Value(next));
        } while (IsSettingPresent(memberName(set, next)));
        AddSetting(memberName(set, next), value);
    });
    return next;
}

std::int32_t cSHAREDSettings::SetCount(const QString& setName) const
{
    const QString set = setName.toUpper();
    std::int32_t count = 0;
    Guard g{"SetCount", kLog};
    g([&] {
        const std::int32_t last = LastIndexInSet(set);
        for (std::int32_t number = 1; number <= last; ++number) {
            if (IsSettingPresent(memberName(set, number)))
                ++count;
        }
        if (count != last)
            cSharedLogging::instance().AddAction(
                "WARNING: LastIDX and Setcount not the same with setting '" + set + "'", QString(), QString());
    });
    return count;
}

int cSHAREDSettings::findMember(const QString& set, const Value& value) const
{
    const QString wanted = value.toText();
    const cSharedText& text = cSharedText::instance();
    const std::int32_t last = LastIndexInSet(set);
    for (std::int32_t number = 1; number <= last; ++number) {
        if (text.StringsEqual(RetrieveSetting(memberName(set, number)).toText(), wanted))
            return number;
    }
    return 0;
}

bool cSHAREDSettings::ValueInSet(const QString& setName, const Value& value) const
{
    bool found = false;
    Guard g{"ValueInSet", kLog};
    g([&] { found = findMember(setName.toUpper(), value) > 0; });
    return found;
}

void cSHAREDSettings::DeleteFromSetByValue(const QString& setName, const Value& value)
{
    const QString set = setName.toUpper();
    Guard g{"DeleteFromSetByValue", kLog};
    g([&] {
        const int number = findMember(set, value);
        if (number > 0)
            DeleteFromSetByIndex(set, number);
    });
}

void cSHAREDSettings::DeleteFromSetByIndex(const QString& set, std::int32_t number)
{
    Guard g{"DeleteFromSetByIndex", kLog};
    g([&] {
        const std::int32_t last = LastIndexInSet(set);
        if (number < last) {
            for (std::int32_t k = number + 1; k <= last; ++k) {
                const qsizetype position = positionOf(memberName(set, k));
                AddSetting(memberName(set, k - 1), position >= 0 ? m_entries[position].KeyValue : Value());
            }
            DeleteSettingByName(memberName(set, last));
        } else {
            DeleteSettingByName(memberName(set, number));
        }
        AddSetting(indexName(set), Value(static_cast<std::int32_t>(last - 1)));
    });
}

void cSHAREDSettings::DeleteASet(const QString& setName)
{
    const QString set = setName.toUpper();
    Guard g{"DeleteASet", kLog};
    g([&] {
        const std::int32_t count = SetCount(set);
        for (std::int32_t number = 1; number <= count + 10; ++number)
            DeleteSettingByName(memberName(set, number));
        DeleteSettingByName(indexName(set));
    });
}
