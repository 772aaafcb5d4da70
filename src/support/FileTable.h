#pragma once
#include "platform/FileSystem.h"
#include "platform/AppError.h"
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
    // A failed write marks the file: its close then abandons it and throws the same failure,
    // so a caller that carries on after the write cannot commit a half-written atomic file.
    void write(int number, const QByteArray& bytes);
    void close(int number);    // throws AppError when the contents did not reach the disk whole
    void discard(int number);  // an atomic file is abandoned, its target left as it was
    int openCount() const { return static_cast<int>(m_files.size()); }

private:
    FileHandle& handle(int number);
    std::map<int, std::unique_ptr<FileHandle>> m_files;
    std::map<int, AppError> m_failed;
};
