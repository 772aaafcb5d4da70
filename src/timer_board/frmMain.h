#pragma once
#include "platform/TrayHost.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/SlotHost.h"
#include "slot_model/SlotStore.h"
#include "timer_board/ReminderWindows.h"
#include "timer_board/RepeatMarks.h"
#include "timer_board/ScreenReaderNames.h"
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class frmMessage;
class frmSplash;
class fSHAREDUpdater;
class QPushButton;
class QRadioButton;
class RowStyle;
class QTimer;

// The main window: forty timer slots on four pages, the quick-start strip and the three timers.
class frmMain : public QWidget, public SlotHost {
    Q_OBJECT
public:
    static constexpr int kRows = SlotBoard::kRows;  // index 40 is built but never used
    static constexpr int kSlots = SlotBoard::kSlots;

    // How a close was asked for, as the system reports it.
    enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

    frmMain();
    ~frmMain() override;

    void Form_Load();
    void optPage_Click(int page);
    void HideAllRows();
    void ShowPage(int first);

    void cmdStart_Click(int i);
    void StartTimer(int i);
    void cmdAt_Click(int i);
    void cmd30s_Click();
    void cmd1m_Click();
    void cmd5m_Click();
    void cmdCustom_Click();
    void StartInstantTimer(std::int32_t seconds);

    void Timer1_Timer();
    void StopTimer(int i);
    void cmdPause_Click(int i);
    void PauseTimer(int i);
    void RestartTimer(int i);
    // due: when a late reminder was due, shown under the message; empty when on time.
    void RaiseAlarm(int ring, const QString& message, const QString& due = QString());
    void cmdTest_Click();

    void SaveTimers();
    void SaveTimer_Timer();
    void RestoreTimers();

    void SetTrayIdle();
    void SetTrayRunning();
    void TrayIcon_MouseMove(TrayHost::Message message);
    void mnuShow_Click();
    void mnuQuit_Click();
    void cmdHide_Click();
    void cmdExit_Click();
    void cmdAbout_Click();
    // ask: false when the caller asked for the end itself (the command line's quit).
    void ExitProgram(bool ask = true);
    void checkforupdate(bool silent);
    void Timer3_Timer();
    void cmdCheckUpdate_Click();
    void Updater_InstallFile();
    // Returns whether the close goes ahead.
    bool Form_QueryUnload(UnloadMode mode);
    void Form_Unload();
    // A close asked for by the system (session end, a signal): the window unloads and the program ends.
    void SystemClose(UnloadMode mode);
    // The system asks for the end (a signal, the session ending): SystemClose once no step is under way.
    void closeRequested(UnloadMode mode);
    // Gives every control the name a screen reader says; done when one starts listening.
    void nameControls();
    // What the slots and the outside triggers ask of the window.
    bool slotOnPage(int i) const override;
    void raiseAlarm(int i, int ring, const QString& message, const QString& due) override;
    bool reminderOpen(int ring) const override { return m_reminders.isOpen(ring); }
    void showWindow() override;
    void quitProgram(bool ask) override;
    void dismissDialogs() override;
    QString waitsForUser() const override;
    // Whether the program has been unloaded and is ending.
    bool unloaded() const { return m_unloaded; }

    // The slots themselves; the rows draw what it says.
    SlotBoard& slotBoard() { return m_slots; }
    const SlotBoard& slotBoard() const { return m_slots; }

    QString settingsPath() const;
    QString alarmPath() const;

    // Rows: one widget of each kind per slot.
    std::array<QFrame*, kRows> Frame1{};
    std::array<QLineEdit*, kRows> txtDesc{};
    std::array<QCheckBox*, kRows> chkAlarm{}, chkRun{};
    std::array<QPushButton*, kRows> cmdAt{}, cmdPause{}, cmdStart{};
    std::array<QWidget*, kRows> fraCountdown{}, fraAtSpecific{};
    std::array<QLineEdit*, kRows> txtDays{}, txtHours{}, txtMinutes{}, txtSeconds{};
    std::array<QLabel*, kRows> lblCountD{}, lblCountH{}, lblCountM{}, lblCountS{};
    std::array<QLineEdit*, kRows> txtAtHour{}, txtAtMin{}, txtAtSec{};
    std::array<QLabel*, kRows> lblAtHour{}, lblAtMin{};
    std::array<QRadioButton*, kRows> optAM{}, optPM{};

    std::array<QPushButton*, 4> optPage{};
    QPushButton *cmd30s = nullptr, *cmd1m = nullptr, *cmd5m = nullptr, *cmdCustom = nullptr;
    QLineEdit* txtCustom = nullptr;
    QPushButton *cmdTest = nullptr, *cmdAbout = nullptr, *cmdCheckUpdate = nullptr;
    QPushButton *cmdExit = nullptr, *cmdHide = nullptr;
    QTimer *Timer1 = nullptr, *SaveTimer = nullptr, *Timer3 = nullptr;
    QLabel *TrayIcon = nullptr, *picRed = nullptr, *picGreen = nullptr;
    QMenu* mnuTray = nullptr;
    QAction *mnuShow = nullptr, *mnuQuit = nullptr, *mnuDismiss = nullptr;
    // The downloaded installer to run at exit; empty unless an update is waiting.
    QString PendingInstaller;
    fSHAREDUpdater* Updater = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A trigger from outside the window's widgets, through the one queue.
    void outside(const QString& name, std::function<void()> trigger);
    void buildTray();
    void showSplash();
    void closeSplash();
    void hideAtStart();
    void attachUpdater();
    void stopTransfers();
    void runPendingInstaller();
    void hideWindow();
    bool unloadWindow(UnloadMode mode);
    void buildRow(int i);
    void fillRow(int i);
    void buildBottomStrip();
    void watchFocus(QLineEdit* field);
    void connectRow(int i);
    SlotMath::Fields fieldsOf(int i) const;
    void drawRow(int i);
    void drawFields(int i);
    void drawColours(int i);
    void onCountdownStarting();
    // A reminder's Snooze (seconds) or Restart (0), from its window or its notice.
    void answerRing(int ring, int seconds);
    void tickAtNextEnd(std::int64_t ms);

    SlotBoard m_slots;
    SlotStore m_store{m_slots};
    ReminderWindows m_reminders;
    // Set while the rows are drawn from the slots, so the widgets' change signals are not taken
    // for the user's edits.
    bool m_drawing = false;
    ScreenReaderNames m_names{*this};
    RepeatMarks m_repeats;
    RowStyle* m_rowStyle = nullptr;
    frmSplash* m_splash = nullptr;
    bool m_unloaded = false;
    bool m_noTrayLogged = false;
    QTimer* m_dismissing = nullptr;  // while the system's end request waits for a safe point
};
