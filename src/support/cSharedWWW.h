#pragma once
#include <QString>

class QWidget;

// Opening web addresses and files with the shell; log name "cWWW".
class cSharedWWW {
public:
    static cSharedWWW& instance();
    int WebSiteVisit(QWidget* owner, const QString& address);
};
