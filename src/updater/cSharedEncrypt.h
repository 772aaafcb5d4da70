#pragma once
#include <QString>

// Scrambles the proxy password for the settings file; log name "modEncrypt".
// Not a cipher: it only keeps the password from being read at a glance.
class cSharedEncrypt {
public:
    // Entity-encodes the text, then moves every character 100 up in the single-byte code page.
    // A character with no scrambled form (a lone surrogate, a NUL) is logged and the failure passed
    // on to the caller.
    QString Encrypt(const QString& text) const;
};
