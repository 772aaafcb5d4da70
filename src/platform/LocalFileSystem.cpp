#include "platform/LocalFileSystem.h"
#include "platform/AppError.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
// The settings (with the proxy password), the log and the error report are the user's own.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

#ifdef Q_OS_WIN
// Qt's files use the system's own calls there, which leave errno alone: the failure is the thread's
// last error.
int systemErrno(int err)
{
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    default:
        return err;
    }
}
#endif

AppError errorFromErrno(int err, int fallback)
{
#ifdef Q_OS_WIN
    err = systemErrno(err);
#endif
    switch (err) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return AppError(61);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return AppError(75);
    case ENOENT:
    case ENOTDIR:
        return AppError(76);
    case EIO:
        return AppError(57);
    default:
        return AppError(fallback);
    }
}

class PlainHandle : public FileHandle {
public:
    explicit PlainHandle(std::unique_ptr<QFile> file) : m_file(std::move(file)) {}
    void write(const QByteArray& bytes) override
    {
        errno = 0;
        if (m_file->write(bytes) != bytes.size())
            throw errorFromErrno(errno, 57);
    }
    void close() override
    {
        errno = 0;
        const bool flushed = m_file->flush();
        const int err = errno;
        m_file->close();
        if (!flushed)
            throw errorFromErrno(err, 57);
    }
    void discard() override { m_file->close(); }

private:
    std::unique_ptr<QFile> m_file;
};

class AtomicHandle : public FileHandle {
public:
    explicit AtomicHandle(std::unique_ptr<QSaveFile> file) : m_file(std::move(file)) {}
    ~AtomicHandle() override { discard(); }
    void write(const QByteArray& bytes) override
    {
        errno = 0;
        if (m_file->write(bytes) != bytes.size()) {
            const int err = errno;
            discard();
            throw errorFromErrno(err, 57);
        }
    }
    void close() override
    {
        errno = 0;
        if (!m_file->commit())
            throw errorFromErrno(errno, 57);
    }
    void discard() override
    {
        if (m_file->isOpen())
            m_file->cancelWriting(), m_file->commit();
    }

private:
    std::unique_ptr<QSaveFile> m_file;
};
}

bool LocalFileSystem::isReadOnly(const QString& path) const
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

bool LocalFileSystem::makeWritable(const QString& path)
{
    QFile file(path);
    return file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
}

std::unique_ptr<FileHandle> LocalFileSystem::openForWrite(const QString& path, WriteMode mode)
{
    // A read-only file stays unwritten even for root, as the read-only attribute works on Windows.
    if (isReadOnly(path))
        throw AppError(AppError::PathFileAccess);
    errno = 0;
    if (mode == WriteMode::Atomic) {
        auto file = std::make_unique<QSaveFile>(path);
        // The temporary file beside the target keeps the old file whole until the rename.
        file->setDirectWriteFallback(false);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw errorFromErrno(errno, 75);
        // The rewritten file takes the temporary file's mode: owner only, even where it was wider.
        file->setPermissions(kOwnerOnly);
        return std::make_unique<AtomicHandle>(std::move(file));
    }
    auto file = std::make_unique<QFile>(path);
    QIODevice::OpenMode flags = QIODevice::WriteOnly | QIODevice::Unbuffered;
    flags |= (mode == WriteMode::Append) ? QIODevice::Append : QIODevice::Truncate;
    // A new file is made owner only; an existing one keeps its mode.
    if (!file->open(flags, kOwnerOnly))
        throw errorFromErrno(errno, 75);
    return std::make_unique<PlainHandle>(std::move(file));
}
