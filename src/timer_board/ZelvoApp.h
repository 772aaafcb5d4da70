#pragma once
#include "platform/TrayHost.h"
#include "slot_model/SlotBoard.h"
#include "slot_model/SlotHost.h"
#include "slot_model/SlotStore.h"
#include "timer_board/ReminderWindows.h"
#include "timer_board/frmMain.h"
#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class frmSplash;
class fSHAREDUpdater;

// The program around the main window: the start-up in its order, the tick, the periodic save, the
// update schedule, the notification-area icon and the end of the program. The window lays out the
// rows and passes on what the user does; the slots, the command line and the reminders meet here.
class ZelvoApp : public QObject, public SlotHost {
    Q_OBJECT
public:
    using UnloadMode = frmMain::UnloadMode;

    ZelvoApp();
    ~ZelvoApp() override;

    frmMain& window() { return *m_window; }
    SlotBoard& slotBoard() { return m_slots; }

    // The start-up sequence; the program stands when it returns.
    void Form_Load();
    void Timer1_Timer();
    void SaveTimers();
    void SaveTimer_Timer();
    void RestoreTimers();
    // due: when a late reminder was due, shown under the message; empty when on time.
    void RaiseAlarm(int ring, const QString& message, const QString& due = QString());
    // The alarm sound alone (the window's Test button).
    void playAlarm();

    void SetTrayIdle();
    void SetTrayRunning();
    // A click on the icon: left shows the window, right opens the menu.
    void TrayIcon_Click(TrayHost::Message message);
    // ask: false when the caller asked for the end itself (the command line's quit).
    void ExitProgram(bool ask = true);
    void checkforupdate(bool silent);
    void Timer3_Timer();
    // Check for Update: the weekly check does not come as well.
    void checkNow();
    void Updater_InstallFile();
    // Returns whether the close goes ahead.
    bool Form_QueryUnload(UnloadMode mode);
    void Form_Unload();
    // A close of the window; false when it is refused (the title bar's close hides instead).
    bool unloadWindow(UnloadMode mode);
    // A close asked for by the system (session end, a signal): the window unloads and the program ends.
    void SystemClose(UnloadMode mode);
    // The system asks for the end (a signal, the session ending): SystemClose once no step is under way.
    void closeRequested(UnloadMode mode);
    // Whether the program has been unloaded and is ending.
    bool unloaded() const { return m_unloaded; }

    // What the slots and the outside triggers ask of the program.
    bool slotOnPage(int i) const override;
    void remind(int i, int ring, const QString& message, const QString& due) override;
    bool reminderOpen(int ring) const override { return m_reminders.isOpen(ring); }
    void showWindow() override;
    void quitProgram(bool ask) override;
    void dismissDialogs() override;
    QString waitsForUser() const override;

    QString settingsPath() const;
    QString alarmPath() const;

    QTimer *Timer1 = nullptr, *SaveTimer = nullptr, *Timer3 = nullptr;
    // The icon's state: the picture it shows and the two it changes between.
    QLabel *TrayIcon = nullptr, *picRed = nullptr, *picGreen = nullptr;
    QMenu* mnuTray = nullptr;
    QAction *mnuShow = nullptr, *mnuQuit = nullptr, *mnuDismiss = nullptr;
    // The downloaded installer to run at exit; empty unless an update is waiting.
    QString PendingInstaller;
    fSHAREDUpdater* Updater = nullptr;

private:
    // A trigger from outside the window's widgets, through the one queue.
    void outside(const QString& name, std::function<void()> trigger);
    void buildTimers();
    void buildTray();
    void showTrayIcon();
    void showSplash();
    void closeSplash();
    void hideAtStart();
    void attachUpdater();
    void stopTransfers();
    void runPendingInstaller();
    void onCountdownStarting();
    // A reminder's Snooze (seconds) or Restart (0), from its window or its notice.
    void answerRing(int ring, int seconds);
    void tickAtNextEnd(std::int64_t ms);

    SlotBoard m_slots;
    SlotStore m_store{m_slots};
    ReminderWindows m_reminders;
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<QLabel> m_pictures[3];
    std::unique_ptr<QMenu> m_menu;
    frmSplash* m_splash = nullptr;
    bool m_unloaded = false;
    // The exit has stored the slots already: the unload that follows does not store them again.
    bool m_stored = false;
    QTimer* m_dismissing = nullptr;  // while the system's end request waits for a safe point
};
