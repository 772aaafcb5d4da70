#pragma once
#include <QString>

class QWidget;

// Special folders of the system; log name "cGetSpecialFolder".
class cSharedGetSpecialFolder {
public:
    static cSharedGetSpecialFolder& instance();
    // The temporary folder, ending in a separator.
    QString SystemTempFolder(QWidget* owner = nullptr);
};
