#pragma once
#include <QString>

// Opens files, web addresses and mailto: links with the desktop's default handler.
class Shell {
public:
    virtual ~Shell() = default;
    // Result above 32 means success, as the original shell call reported it.
    virtual int open(const QString& target, const QString& workingFolder) = 0;
};
