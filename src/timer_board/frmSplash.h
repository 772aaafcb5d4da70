#pragma once
#include <QWidget>

class QLabel;

// The splash window shown while the main window starts; log name "frmSplash2".
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();
    void Form_Load();
    // The status line, kept centred above the bottom edge.
    void setStatus(const QString& text);

    QLabel* picture = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblstatus = nullptr;
};
