#pragma once
#include "platform/Shell.h"

class DesktopShell : public Shell {
public:
    int open(const QString& target, const QString& workingFolder) override;
};
