#pragma once
#include "support/OleDate.h"
#include <QList>
#include <QString>

class AppError;

// The event log "log.txt" and the in-memory action trail, written out in batches of 21.
class cSharedLogging {
public:
    static cSharedLogging& instance();
    // Tests start from a clean log object; the old one writes out its trail first.
    static void resetInstance();
    ~cSharedLogging();

    bool NOLOGGING() const { return m_noLogging; }
    void setNOLOGGING(bool on) { m_noLogging = on; }

    QString CurrentLogFilename() const { return m_path; }
    void OverrideLogFilename(const QString& path);
    void LogEvent(const QString& text, bool freshStart);
    void LogToFile(const QString& path, const QString& text, bool freshStart);
    void LogError(const AppError& error, const QString& routine, const QString& module);
    void AddDebug(const QString& text, const QString& routine, const QString& module);
    void AddAction(const QString& text, const QString& routine, const QString& module);
    void WriteActionsToLog();
    QString CurrentAction() const;

    int trailSize() const { return static_cast<int>(m_texts.size()); }
    QString defaultPath() const;

private:
    void addEntry(const QString& text, const QString& routine, const QString& module);
    static QString line(int number, const OleDate& moment, const QString& text);
    void writeLine(int number, const OleDate& moment, const QString& text);

    bool m_noLogging = false;
    QString m_path;
    QList<QString> m_texts;
    QList<OleDate> m_times;
};
