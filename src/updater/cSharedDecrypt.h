#pragma once
#include <QString>

// Reads back what cSharedEncrypt scrambled; log name "modDecrypt".
class cSharedDecrypt {
public:
    // A text whose first character lies above 128 in the single-byte code page is taken as
    // scrambled and moved back; any other text is a password stored before scrambling existed
    // and comes back unchanged.
    QString Decrypt(const QString& text) const;
};
