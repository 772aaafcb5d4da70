#pragma once
#include <QByteArray>
#include <QString>
#include <memory>

// One file opened for writing. Failures throw AppError with the original error numbers
// (61 disk full, 75 path/file access, 57 device I/O …).
class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual void write(const QByteArray& bytes) = 0;
    // Flushes and closes; an atomic handle replaces its target only here.
    virtual void close() = 0;
    // Closes without replacing the target of an atomic handle.
    virtual void discard() = 0;
};

// File attributes and opening files for writing.
class FileSystem {
public:
    enum class WriteMode { Truncate, Append, Atomic };

    virtual ~FileSystem() = default;
    // Read-only means the owner's write bit is missing.
    virtual bool isReadOnly(const QString& path) const = 0;
    virtual bool makeWritable(const QString& path) = 0;
    virtual std::unique_ptr<FileHandle> openForWrite(const QString& path, WriteMode mode) = 0;
};
