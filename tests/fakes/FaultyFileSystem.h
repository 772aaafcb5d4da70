#pragma once
#include "platform/LocalFileSystem.h"
#include "platform/AppError.h"
#include <QSet>

// The real file system, with failures a test asks for: files that refuse to become writable,
// opens that fail, and writes that run out of space after a number of bytes.
class FaultyFileSystem : public LocalFileSystem {
public:
    bool isReadOnly(const QString& path) const override
    {
        return readOnly.contains(path) || LocalFileSystem::isReadOnly(path);
    }
    bool makeWritable(const QString& path) override
    {
        ++makeWritableCalls;
        if (stuckReadOnly.contains(path))
            return false;
        readOnly.remove(path);
        return LocalFileSystem::makeWritable(path);
    }
    std::unique_ptr<FileHandle> openForWrite(const QString& path, WriteMode mode) override
    {
        if (openError)
            throw AppError(openError);
        auto real = LocalFileSystem::openForWrite(path, mode);
        if (writeError == 0 || writeFaultsLeft == 0)
            return real;
        if (writeFaultsLeft > 0)
            --writeFaultsLeft;
        return std::make_unique<Failing>(std::move(real), writeError, bytesBeforeFailure);
    }

    QSet<QString> readOnly;       // seen as read-only until made writable
    QSet<QString> stuckReadOnly;  // cannot be made writable
    int openError = 0;
    int writeError = 0;           // e.g. 61: the disk fills up
    int writeFaultsLeft = -1;     // how many opens fail their writes (-1: all)
    qint64 bytesBeforeFailure = 0;
    int makeWritableCalls = 0;

private:
    class Failing : public FileHandle {
    public:
        Failing(std::unique_ptr<FileHandle> real, int error, qint64 budget)
            : m_real(std::move(real)), m_error(error), m_budget(budget) {}
        void write(const QByteArray& bytes) override
        {
            if (bytes.size() > m_budget) {
                m_real->write(bytes.left(m_budget));
                m_budget = 0;
                throw AppError(m_error);
            }
            m_budget -= bytes.size();
            m_real->write(bytes);
        }
        void close() override { m_real->close(); }
        void discard() override { m_real->discard(); }

    private:
        std::unique_ptr<FileHandle> m_real;
        int m_error;
        qint64 m_budget;
    };
};
