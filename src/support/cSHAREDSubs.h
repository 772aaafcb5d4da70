#pragma once
#include <QString>

// Application facts and the mouse pointer; log name "cSharedSubs".
class cSHAREDSubs {
public:
    static cSHAREDSubs& instance();

    QString AppVersion() const;
    void BusyMouse();
    void BusyBGmouse();
    void NormalMouse();
    bool InIDE() const { return false; }
};
