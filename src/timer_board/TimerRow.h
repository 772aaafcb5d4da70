#pragma once
#include <QFrame>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStyle;
class SlotBoard;

// One timer slot on the main window: its fields, boxes and buttons, drawn from the slot and
// passing on what the user types; its colours, screen-reader names and repeat mark. The buttons
// are the window's to answer (startClicked and the like).
class TimerRow : public QFrame {
    Q_OBJECT
public:
    static const QString kStartTip;
    static const QString kStopTip;

    // smallBoxes draws the tick boxes and am/pm choices; previous: the row before, for Tab.
    TimerRow(SlotBoard& board, int i, QStyle* smallBoxes, QWidget* parent, TimerRow* previous);

    // Draws what the slot holds; fields: the countdown fields alone (the tick's change).
    void draw();
    void drawFields();
    // Gives every control the name a screen reader says; Start keeps its name up to date after.
    void nameControls();

    QLineEdit* txtDesc;
    QCheckBox *chkAlarm, *chkRun;
    QPushButton *cmdAt, *cmdPause, *cmdStart;
    QWidget *fraCountdown, *fraAtSpecific;
    QLineEdit *txtDays, *txtHours, *txtMinutes, *txtSeconds;
    QLabel *lblCountD, *lblCountH, *lblCountM, *lblCountS;
    QLineEdit *txtAtHour, *txtAtMin, *txtAtSec;
    QLabel *lblAtHour, *lblAtMin;
    QRadioButton *optAM, *optPM;

signals:
    void startClicked();
    void pauseClicked();
    void atClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields();
    void buildClockFields();
    void setTabOrder(TimerRow* previous);
    void connectEdits();
    void buildRepeatChoice();
    void drawColours();
    void drawRepeat(bool repeat);
    void nameStart(bool running);

    SlotBoard& m_slots;
    const int m_i;
    // Set while the row is drawn from the slot, so the widgets' change signals are not taken
    // for the user's edits.
    bool m_drawing = false;
    bool m_named = false;
    QAction* m_repeatChoice = nullptr;
    QMenu* m_repeatMenu = nullptr;  // made at the first opening
    QAction* m_repeatMark = nullptr;
};
