#pragma once
#include "platform/Shell.h"
#include <QStringList>

class FakeShell : public Shell {
public:
    int open(const QString& target, const QString& workingFolder) override
    {
        opened << target;
        folders << workingFolder;
        return result;
    }
    QStringList opened;
    QStringList folders;
    int result = 42;
};
