#include "support/FileTable.h"
#include "platform/Platform.h"
#include "platform/AppError.h"

FileTable& FileTable::instance()
{
    static FileTable* table = new FileTable;  // kept until the process ends
    return *table;
}

int FileTable::FreeFile() const
{
    int number = 1;
    while (m_files.count(number))
        ++number;
    return number;
}

int FileTable::open(const QString& path, FileSystem::WriteMode mode)
{
    const int number = FreeFile();
    m_failed.erase(number);
    m_files[number] = Platform::fileSystem().openForWrite(path, mode);
    return number;
}

FileHandle& FileTable::handle(int number)
{
    const auto it = m_files.find(number);
    if (it == m_files.end())
        throw AppError(AppError::BadFileNameOrNumber);
    return *it->second;
}

void FileTable::write(int number, const QByteArray& bytes)
{
    FileHandle& file = handle(number);
    try {
        file.write(bytes);
    } catch (const std::exception& e) {
        m_failed.insert_or_assign(number, AppError::from(e));
        throw;
    }
}

void FileTable::close(int number)
{
    auto node = m_files.extract(number);
    if (node.empty())
        throw AppError(AppError::BadFileNameOrNumber);
    auto failed = m_failed.extract(number);
    if (!failed.empty()) {
        node.mapped()->discard();
        throw failed.mapped();
    }
    node.mapped()->close();
}

void FileTable::discard(int number)
{
    m_failed.erase(number);
    auto node = m_files.extract(number);
    if (!node.empty())
        node.mapped()->discard();
}
