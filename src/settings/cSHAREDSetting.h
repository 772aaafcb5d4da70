#pragma once
#include "support/Value.h"
#include <QString>

// One entry of the settings store: the name as first stored and its value.
class cSHAREDSetting {
public:
    QString KeyName;
    Value KeyValue;
};
