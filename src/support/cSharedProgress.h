#pragma once
#include <QColor>
#include <QString>

class QLabel;

// Progress bars drawn into a picture widget; log name "modProgressIndicator".
class cSharedProgress {
public:
    static cSharedProgress& instance();

    void ShowProgressString(QLabel* picture, double current, double maximum, const QString& text,
                            const QColor& fill = QColor(128, 255, 128), const QColor& background = Qt::white);
    void PrintCentered(QLabel* picture, const QString& text, bool clearFirst, const QColor& textColour,
                       const QColor& background);
};
