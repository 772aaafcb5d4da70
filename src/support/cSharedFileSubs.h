#pragma once
#include <QString>
#include <QStringList>

// File-system checks, text files and running files. Failures go to the action trail under "cFile"
// and the routine returns its failure value.
class cSharedFileSubs {
public:
    static cSharedFileSubs& instance();

    // The separator paths are built with here; both "\" and "/" are read as separators.
    static QChar separator();

    bool FileExists(const QString& fileName);
    bool FolderExists(const QString& folder);
    bool isReadonly(const QString& fileName);
    bool MakeReadWrite(const QString& fileName);
    bool EraseFile(const QString& fileName);

    int CreateOutputFile(const QString& fileName);
    int OpenOutputFile(const QString& fileName);
    // As CreateOutputFile, but the target is replaced only when the file is closed whole.
    int CreateAtomicOutputFile(const QString& fileName);
    int OpenAppendFile(const QString& fileName);
    void AppendToTextFile(const QString& fileName, const QString& text);

    bool LoadTextFile(const QString& fileName, QString& text);
    bool ReadTextFile(const QString& fileName, QString& text);
    bool WriteTextFile(const QString& fileName, const QString& text);
    int RunFile(const QString& fileName, const QString& workingFolder);

    QString DriveOnly(const QString& path) const;
    QString AddSlashIfMissing(const QString& path) const;
    QString RemoveSlashFromEnd(const QString& path) const;
    // Throws on failure, as its callers expect.
    void FillFiles(const QString& folder, const QString& extensions, QStringList& target);
    QString ExtractPath(const QString& path) const;
    QString PathOnly(const QString& path) const;
    QString FileOnly(const QString& path) const;

private:
    int openChecked(const QString& fileName, int mode, const QString& routine);
};
