#pragma once
#include <QByteArray>
#include <QString>

class cSharedHTML {
public:
    // One character per byte, in order.
    static QString ByteArrayToString(const QByteArray& bytes) { return QString::fromLatin1(bytes); }
};
