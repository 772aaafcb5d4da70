#pragma once
#include "platform/FileSystem.h"
#include <QString>
#include <map>
#include <memory>

// The program-wide table of open files: small positive numbers, the lowest free one first,
// so a file opened while no other is open gets 1.
class FileTable {
public:
    static FileTable& instance();

    int FreeFile() const;
    // Throws AppError when the file cannot be opened.
    int open(const QString& path, FileSystem::WriteMode mode);
    void write(int number, const QByteArray& bytes);
    void close(int number);    // throws AppError when the last bytes cannot reach the disk
    void discard(int number);  // an atomic file is abandoned, its target left as it was
    int openCount() const { return static_cast<int>(m_files.size()); }

private:
    FileHandle& handle(int number);
    std::map<int, std::unique_ptr<FileHandle>> m_files;
};
