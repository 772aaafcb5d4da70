#pragma once
#include <QString>

class QLineEdit;

// Small text helpers; log name "cText".
class cSharedText {
public:
    static cSharedText& instance();

    QString AddQuotes(const QString& text) const;
    // Selects the whole content, then lets pending window messages run.
    void HighlightText(QLineEdit* field);
    // Cut at the first null character, blanks trimmed, case ignored.
    bool StringsEqual(const QString& a, const QString& b) const;
};
