#pragma once
#include "platform/FileSystem.h"

class LocalFileSystem : public FileSystem {
public:
    bool isReadOnly(const QString& path) const override;
    bool makeWritable(const QString& path) override;
    std::unique_ptr<FileHandle> openForWrite(const QString& path, WriteMode mode) override;
};
