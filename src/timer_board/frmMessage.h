#pragma once
#include <QWidget>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

// The reminder window "Zelvo Alert!": one per alarm, each closed on its own.
class frmMessage : public QWidget {
    Q_OBJECT
public:
    explicit frmMessage(const QString& message);

    void Form_Load();
    void cmdClose_Click();

    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    // Enter or Escape closes the reminder, as Close does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitMessage();
};
