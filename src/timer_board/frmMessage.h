#pragma once
#include <QWidget>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolButton;

// The reminder window "Zelvo Alert!": one per alarm, each closed on its own.
class frmMessage : public QWidget {
    Q_OBJECT
public:
    // due: for a reminder that comes late, when it was due; shown under the message.
    explicit frmMessage(const QString& message, const QString& due = QString());
    ~frmMessage() override;

    // The message and the due note of a window made ahead of its moment.
    void setMessage(const QString& message, const QString& due = QString());
    void Form_Load();
    // Centred on the screen, the k-th of those open at once a step further down and right.
    void placeAmong(int k);
    // Leaves a notice of this reminder in the desktop's list, withdrawn when the window closes.
    void notifyDesktop();
    void cmdClose_Click();
    // The ring of a slot the reminder shows, which Snooze and Restart answer.
    void setRing(int ring) { m_ring = ring; }
    int ring() const { return m_ring; }

    QFrame* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDue = nullptr;  // hidden when the reminder is on time
    QPushButton* cmdClose = nullptr;
    QToolButton* cmdSnooze = nullptr;  // five minutes; its arrow offers other times
    QPushButton* cmdRestart = nullptr;

signals:
    // The window closes once the countdown stands again; with no free slot it stays open.
    void snoozeChosen(int seconds);
    void restartChosen();

protected:
    // Enter or Escape closes the reminder, as Close does.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The menu keys open Snooze's times.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tells a screen reader that a notification appeared.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fitMessage(const QString& message, const QRect& room);
    void bringToFront(const QString& token = QString());
    void withdrawNotice();

    void buildChoices();
    void fitButtons();

    int m_notice = 0;
    int m_ring = 0;
};
