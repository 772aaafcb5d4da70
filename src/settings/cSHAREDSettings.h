#pragma once
#include "settings/cSHAREDSetting.h"
#include "support/Value.h"
#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

class AppError;

// The program's one key/value store and its text file "Zelvo.ini"; log name "cSHAREDSettings".
// Names lose their commas and are compared without regard to case; the entry keeps the spelling
// under which it was first stored, and entries keep their insertion order.
class cSHAREDSettings {
public:
    static cSHAREDSettings& instance();
    // Tests start from an empty store.
    static void resetInstance();

    void sSet(const QString& name, const Value& value) { StoreSetting(name, value); }
    void StoreSetting(const QString& name, const Value& value) { AddSetting(name, value); }
    Value sGet(const QString& name, const Value& defaultValue = Value()) const
    {
        return RetrieveSetting(name, defaultValue);
    }
    Value RetrieveSetting(const QString& name, const Value& defaultValue = Value()) const;
    Value sGetWD(const QString& name, const Value& defaultValue) const { return RetrieveWithDefault(name, defaultValue); }
    Value RetrieveWithDefault(const QString& name, const Value& defaultValue) const;

    bool IsSettingPresent(const QString& name) const;
    std::int32_t SettingsCount() const { return static_cast<std::int32_t>(m_entries.size()); }
    // Positions are 1-based.
    QString SettingNameByIndex(int position) const;
    void DeleteSetting(int position);
    void DeleteSettingByName(const QString& name);
    void DeleteAllSettings();

    void LoadSettings(const QString& filePath);
    // False when the save was abandoned or nothing could be written.
    bool SaveSettings(const QString& filePath);

    // A set is a numbered list kept in settings SET_1, SET_2 … with SET_INDEX the highest number used.
    std::int32_t AddToSet(const QString& setName, const Value& value);
    std::int32_t LastIndexInSet(const QString& setName) const;
    std::int32_t SetCount(const QString& setName) const;
    bool ValueInSet(const QString& setName, const Value& value) const;
    void DeleteFromSetByValue(const QString& setName, const Value& value);
    void DeleteASet(const QString& setName);

private:
    enum class WriteResult { Written, NotOpened };

    void AddSetting(const QString& name, const Value& value);
    void DeleteFromSetByIndex(const QString& setName, std::int32_t number);
    int findMember(const QString& setName, const Value& value) const;

    // Position (0-based) of the entry with that name, commas already removed; -1 when absent.
    qsizetype positionOf(const QString& name) const;
    void removeAt(qsizetype position);
    void loadLine(const QString& line, const QString& filePath);
    WriteResult writeFile(const QString& filePath);
    bool retrySave(const QString& filePath);
    void reportSaveFailure(const AppError& error);

    std::vector<cSHAREDSetting> m_entries;
    QHash<QString, qsizetype> m_positions;  // upper-case name → position in m_entries
};
