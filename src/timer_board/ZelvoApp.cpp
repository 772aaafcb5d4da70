#include "timer_board/ZelvoApp.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/AppFacts.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "platform/SoundOut.h"
#include "settings/cSHAREDSettings.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/TriggerQueue.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedSound.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/TimerRow.h"
#include "timer_board/frmSplash.h"
#include "timer_board/mSHAREDSysTray.h"
#include "updater/fSHAREDUpdater.h"
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace {
const QString kTitle = QStringLiteral("Zelvo");
// The start-up, the tick, the save and the end were the main window's routines, and the log keeps
// the name its readers know them by.
const QString kModule = QStringLiteral("frmMain");

cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
void message(const QString& text) { Platform::dialogs().message(text, Dialogs::Buttons::Ok, kTitle); }
}

ZelvoApp::ZelvoApp()
{
    m_slots.setHost(this);
    m_window = std::make_unique<frmMain>(*this);
    m_reminders.onWaiting([](bool waiting) {
        Guard::silently([&] { Platform::tray().setAttention(waiting, QIcon(TrayPictures::amber())); });
    });
    connect(&m_slots, &SlotBoard::countdownStarting, this, &ZelvoApp::onCountdownStarting);
    connect(&m_slots, &SlotBoard::refused, this, [](const QString& text) { message(text); });
    // A reminder's Snooze or Restart, from its window or its notice.
    m_reminders.onChoice([this](int ring, int seconds) {
        outside(seconds ? "Snooze" : "Restart", [this, ring, seconds] { answerRing(ring, seconds); });
    });
    connect(&m_slots, &SlotBoard::answered, this, [this](int ring, int) { m_reminders.closeFor(ring); });
    buildTimers();
    buildTray();
}

ZelvoApp::~ZelvoApp() = default;

void ZelvoApp::buildTimers()
{
    Timer1 = new QTimer(this);
    SaveTimer = new QTimer(this);
    Timer3 = new QTimer(this);
    Timer1->setInterval(100);
    SaveTimer->setInterval(30000);
    Timer3->setInterval(30000);
    connect(Timer1, &QTimer::timeout, this, &ZelvoApp::Timer1_Timer);
    connect(SaveTimer, &QTimer::timeout, this, &ZelvoApp::SaveTimer_Timer);
    connect(Timer3, &QTimer::timeout, this, &ZelvoApp::Timer3_Timer);
    SaveTimer->start();
}

void ZelvoApp::outside(const QString& name, std::function<void()> trigger)
{
    TriggerQueue::instance().post(name, [app = QPointer<ZelvoApp>(this), trigger = std::move(trigger)] {
        if (app)
            trigger();
    });
}

void ZelvoApp::buildTray()
{
    for (auto& picture : m_pictures)
        picture = std::make_unique<QLabel>();
    picRed = m_pictures[0].get();
    picGreen = m_pictures[1].get();
    TrayIcon = m_pictures[2].get();
    picRed->setPixmap(TrayPictures::red());
    picGreen->setPixmap(TrayPictures::green());

    m_menu = std::make_unique<QMenu>("Hidden");
    mnuTray = m_menu.get();
    mnuShow = mnuTray->addAction("Show");
    mnuTray->addSeparator();
    mnuQuit = mnuTray->addAction("Quit");
    mnuDismiss = mnuTray->addAction("Hide Menu");
    // The icon and its menu belong to the desktop: what they ask for waits for a safe point.
    connect(mnuShow, &QAction::triggered, this,
            [this] { outside("mnuShow_Click", [this] { m_window->mnuShow_Click(); }); });
    connect(mnuQuit, &QAction::triggered, this,
            [this] { outside("mnuQuit_Click", [this] { m_window->mnuQuit_Click(); }); });
    Platform::tray().setHandler(
        [this](TrayHost::Message m) { outside("TrayIcon_Click", [this, m] { TrayIcon_Click(m); }); });
    Platform::tray().setMenu(mnuTray);
}

QString ZelvoApp::settingsPath() const
{
    return cSharedFileSubs::instance().RemoveSlashFromEnd(Platform::facts().dataFolder())
           + cSharedFileSubs::separator() + "Zelvo.ini";
}

QString ZelvoApp::alarmPath() const
{
    return cSharedFileSubs::instance().RemoveSlashFromEnd(Platform::facts().assetFolder())
           + cSharedFileSubs::separator() + "alarm.wav";
}

// ---- start-up --------------------------------------------------------------------------------

void ZelvoApp::Form_Load()
{
    // A command or a click on the icon waits until the program stands.
    const TriggerQueue::Step starting;
    Timer3->stop();
    frmMain& w = *m_window;
    Guard g{"Form_Load", kModule};
    g([&] { showSplash(); });
    g([&] { settings().LoadSettings(settingsPath()); });
    g([&] { cSharedLogging::instance().LogEvent("Zelvo startup", true); });
    g([&] {
        const QString problem = Platform::instanceLock().problem();
        if (!problem.isEmpty())
            cSharedLogging::instance().LogEvent("Running without the single-instance lock: " + problem, false);
    });
    g([&] { w.setWindowTitle(kTitle); });
    g([&] {
        Platform::notifier().setFailureHandler([](const QString& why) {
            cSharedLogging::instance().LogEvent("Desktop notifications are unavailable: " + why, false);
        });
    });
    g([&] { Timer1->stop(); });
    g([&] { TrayIcon->setPixmap(picRed->pixmap()); });
    for (int i = 0; i < frmMain::kRows; ++i)
        m_store.loadEntry(i);
    g([&] { w.ShowPage(0); });
    g([&] { showTrayIcon(); });
    g([&] { RestoreTimers(); });
    g([&] { w.setFixedWidth(Twips::px(2 * 3972 + 400)); });
    g([&] {
        if (const QScreen* screen = QApplication::primaryScreen())
            w.move(screen->availableGeometry().center() - w.rect().center());
    });
    g([&] {
        if (m_splash)
            m_splash->hide();
        cSHAREDDelay::instance().DoEventss();
    });
    g([&] { w.txtCustom->setText("0"); });
    g([&] { w.txtCustom->setText(QString::number(settings().sGet("CustomSeconds", Value::whole(900)).toInt32())); });
    g([&] { closeSplash(); });
    g([&] { hideAtStart(); });
    g([&] { attachUpdater(); });
    g([&] {
        if (!m_unloaded)
            Timer3->start();
    });
}

void ZelvoApp::showTrayIcon()
{
    mSHAREDSysTray& tray = mSHAREDSysTray::instance();
    Guard g{"Form_Load", kModule};
    g([&] { tray.showprogramintray(TrayIcon, "Zelvo standing by"); });
    g([&] { tray.watchForArea(TrayIcon); });
    // With the area gone, a hidden window would have no way back.
    g([&] {
        tray.whenAreaLost([this] {
            outside("areaLost", [this] {
                if (!m_window->isVisible())
                    m_window->showMinimized();
            });
        });
    });
}

void ZelvoApp::attachUpdater()
{
    if (Updater)
        return;
    Updater = new fSHAREDUpdater(m_window.get());
    connect(Updater, &fSHAREDUpdater::InstallFile, this,
            [this] { outside("Updater_InstallFile", [this] { Updater_InstallFile(); }); });
}

void ZelvoApp::showSplash()
{
    m_splash = new frmSplash;
    m_splash->setStatus("Starting up");
    m_splash->show();
    cSHAREDDelay::instance().DoEventss();
}

void ZelvoApp::closeSplash()
{
    delete m_splash;
    m_splash = nullptr;
}

void ZelvoApp::hideAtStart()
{
    // Ended already (Quit or a system close inside a start-up message box): stay out of sight.
    if (m_unloaded)
        return;
    // Only a hand-edited file sets it; a value that is no boolean leaves the window in sight.
    bool hide = false;
    Guard g{"Form_Load", kModule};
    g([&] { hide = settings().sGet("HideOnRun", false).toBool(); });
    if (!hide) {
        m_window->show();
        return;
    }
    if (mSHAREDSysTray::instance().iconShown())
        return;
    // With no notification area a hidden window could never come back.
    m_window->show();
    cSharedLogging::instance().LogEvent("HideOnRun ignored: there is no notification area to return from", false);
}

void ZelvoApp::RestoreTimers()
{
    const QString expired = m_store.restoreTimers();
    // The splash stays on top of other windows: it steps back, or it would cover the list.
    if (!expired.isEmpty() && m_splash) {
        m_splash->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        m_splash->show();
    }
    if (!expired.isEmpty())
        message("The following alarms expired while the program was closed:\r\n" + expired);
}

// ---- tick, alarms and the periodic save ---------------------------------------------------------

void ZelvoApp::onCountdownStarting()
{
    if (Timer1->isActive())
        return;
    Timer1->start(100);
    SetTrayRunning();
}

void ZelvoApp::Timer1_Timer()
{
    bool active = false;
    try {
        active = m_slots.tick();
    } catch (const std::exception&) {
        return;
    }
    if (!active) {
        Timer1->stop();
        SetTrayIdle();
        m_reminders.drop();
        return;
    }
    const std::int64_t next = m_slots.msToNextEnd();
    tickAtNextEnd(next);
    if (next >= 0 && next <= ReminderWindows::kPrepareMs) {
        m_reminders.prepare(m_slots);
        Guard::silently([] { Platform::sound().prepare(); });
    }
}

// An end moment that falls between two ticks gets a tick of its own, so the alarm does not wait
// up to a whole interval for the next one.
void ZelvoApp::tickAtNextEnd(std::int64_t ms)
{
    if (ms < 0 || ms >= Timer1->interval())
        return;
    QTimer::singleShot(static_cast<int>(ms) + 1, Qt::PreciseTimer, this, [this] {
        if (Timer1->isActive())
            Timer1_Timer();
    });
}

void ZelvoApp::remind(int, int ring, const QString& message, const QString& due) { RaiseAlarm(ring, message, due); }

void ZelvoApp::RaiseAlarm(int ring, const QString& text, const QString& due)
{
    m_reminders.show(ring, text, due);
    cSHAREDDelay::instance().DoEventss();
    playAlarm();
}

void ZelvoApp::playAlarm() { cSharedSound::instance().PlayWav(alarmPath()); }

// The first answer to a ring wins; with no free slot its reminder stays open for another try.
void ZelvoApp::answerRing(int ring, int seconds)
{
    int at = -1;
    switch (m_slots.answer(ring, seconds, &at)) {
    case SlotBoard::Answer::NoFreeSlot:
        message(SlotBoard::kNoFreeSlot);
        break;
    case SlotBoard::Answer::NoDuration:
        message(SlotBoard::kNoDuration.arg(m_slots.ring(ring)->slot + 1));
        break;
    case SlotBoard::Answer::AlreadyAnswered:
        cSharedLogging::instance().LogEvent(QStringLiteral("Timer %1 was already %2; the second answer was ignored")
                                                .arg(m_slots.ring(ring)->slot + 1)
                                                .arg(m_slots.ring(ring)->answer),
                                            false);
        m_reminders.closeFor(ring);
        break;
    default:
        break;
    }
}

void ZelvoApp::SaveTimers() { m_store.saveTimers(); }

void ZelvoApp::SaveTimer_Timer()
{
    if (!Timer1->isActive())
        return;
    Guard g{"SaveTimer_Timer", kModule};
    g([&] { SaveTimers(); });
    g([&] { settings().sSet("CustomSeconds", m_window->txtCustom->text().trimmed()); });
    g([&] { settings().SaveSettings(settingsPath()); });
}

// ---- what the slots and the outside triggers ask ------------------------------------------------

bool ZelvoApp::slotOnPage(int i) const { return m_window->slotOnPage(i); }
void ZelvoApp::showWindow() { m_window->mnuShow_Click(); }
void ZelvoApp::quitProgram(bool ask) { ExitProgram(ask); }

void ZelvoApp::dismissDialogs()
{
    // Each one's loop ends when control comes back to it; the program's step then goes on.
    // A context menu holds its own loop too (a submenu one more).
    for (int k = 0; k < 4 && QApplication::activePopupWidget(); ++k)
        QApplication::activePopupWidget()->close();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isModal())
            window->close();
}

QString ZelvoApp::waitsForUser() const
{
    constexpr int kLongest = 80;
    if (QApplication::activePopupWidget())
        return QStringLiteral("menu is closed");
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return {};
    const auto* box = qobject_cast<const QMessageBox*>(modal);
    QString words = box ? box->text().section('\n', 0, 0).trimmed() : modal->windowTitle();
    if (words.size() > kLongest)
        words = words.left(kLongest - 1) + QChar(0x2026);
    return box ? "question \"" + words + "\" is answered" : "window \"" + words + "\" is closed";
}

// ---- the icon ------------------------------------------------------------------------------------

void ZelvoApp::SetTrayIdle()
{
    TrayIcon->setPixmap(picRed->pixmap());
    cSHAREDDelay::instance().DoEventss();
    mSHAREDSysTray::instance().changetrayicon(TrayIcon, "Zelvo is standing by");
}

// Without a pump of pending events: it runs inside a start of the slot model, where a click or a
// tick let in halfway would meet a slot half changed.
void ZelvoApp::SetTrayRunning()
{
    TrayIcon->setPixmap(picGreen->pixmap());
    mSHAREDSysTray::instance().changetrayicon(TrayIcon, "Zelvo is running");
}

void ZelvoApp::TrayIcon_Click(TrayHost::Message m)
{
    try {
        switch (m) {
        case TrayHost::Message::LeftDown:
        case TrayHost::Message::LeftDoubleClick:
            m_window->mnuShow_Click();  // from any state, minimised too
            break;
        case TrayHost::Message::RightDown:
        case TrayHost::Message::RightUp:
            mnuTray->popup(QCursor::pos());
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        m_window->setWindowState(Qt::WindowNoState);
    }
}

// ---- updates -------------------------------------------------------------------------------------

void ZelvoApp::checkforupdate(bool silent)
{
    Guard g{"checkforupdate", kModule};
    g([&] { attachUpdater(); });
    g([&] {
        Updater->CheckForUpdate(silent, MakerAddresses::updateServer() + "/versions/ZELV_current.txt",
                                MakerAddresses::updateServer() + "/versions/ZELV_details.txt", "ZelvoUpd.exe",
                                QString());
    });
}

void ZelvoApp::Timer3_Timer()
{
    // Its questions may come when nobody looks (a program started by a command in the background):
    // a countdown started meanwhile does not wait for them.
    const TriggerQueue::Aside aside;
    Guard g{"timer3_timer", kModule};
    g([&] { Timer3->stop(); });
    bool off = true;
    g([&] { off = Updater->NoAutoCheck(); });
    if (off)
        return;
    g([&] {
        if (Updater->DoCheckNow())
            checkforupdate(true);
    });
}

void ZelvoApp::checkNow()
{
    Guard g{"cmdCheckUpdate_Click", kModule};
    g([&] { Timer3->stop(); });
    g([&] { checkforupdate(false); });
}

void ZelvoApp::Updater_InstallFile()
{
    PendingInstaller = cSharedFileSubs::instance().AddSlashIfMissing(Platform::facts().dataFolder())
                       + "ZelvoUpd.exe";
    message("Please exit Zelvo now to begin the update process.");
}

// ---- the end -------------------------------------------------------------------------------------

void ZelvoApp::ExitProgram(bool ask)
{
    Guard g{"ExitProgram", kModule};
    // Written before the question, which may wait a long time; the store writes only what changed.
    g([&] { settings().SaveSettings(settingsPath()); });
    if (ask && m_slots.anyRunning()) {
        const auto answer = Platform::dialogs().message("You have timers running. Are you sure you want to exit?",
                                                        Dialogs::Buttons::YesNo, kTitle);
        if (answer != Dialogs::Answer::Yes) {
            g([&] { m_window->hideWindow(); });
            cSHAREDDelay::instance().DoEventss();
            return;
        }
    }
    // From here on the program ends: what still waits to run is refused.
    TriggerQueue::instance().close();
    g([&] { stopTransfers(); });
    g([&] { Timer1->stop(); });
    g([&] {
        SaveTimers();
        m_stored = true;
    });
    g([&] { m_window->hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    g([&] { unloadWindow(frmMain::vbFormCode); });
    g([&] { runPendingInstaller(); });
    QApplication::closeAllWindows();
    QApplication::quit();
}

// A check or download still running when the program ends is cancelled, so the waits inside it
// end at once instead of keeping the ending program alive for up to a minute.
void ZelvoApp::stopTransfers()
{
    if (Updater)
        Updater->StopAll();
}

void ZelvoApp::runPendingInstaller()
{
    // Only a download that completed and was accepted is handed over.
    if (PendingInstaller.isEmpty() || !QFile::exists(PendingInstaller))
        return;
    // The user agreed to install it; a downloaded file is not yet marked as a program.
    QFile installer(PendingInstaller);
    installer.setPermissions(installer.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    cSharedFileSubs::instance().RunFile(PendingInstaller, QString());
}

bool ZelvoApp::Form_QueryUnload(UnloadMode mode)
{
    // The tick stopped before the exit stored the slots: nothing has changed since.
    if (!m_stored)
        SaveTimers();
    if (mode != frmMain::vbFormControlMenu)
        return true;
    m_window->hideWindow();
    cSHAREDDelay::instance().DoEventss();
    return false;
}

void ZelvoApp::Form_Unload()
{
    Guard g{"Form_Unload", kModule};
    g([&] { settings().SaveSettings(settingsPath()); });
    g([&] { mSHAREDSysTray::instance().RemoveTrayicon(); });
}

bool ZelvoApp::unloadWindow(UnloadMode mode)
{
    if (m_unloaded)
        return true;
    if (!Form_QueryUnload(mode))
        return false;
    TriggerQueue::instance().close();
    stopTransfers();
    Form_Unload();
    m_unloaded = true;
    Timer1->stop();
    SaveTimer->stop();
    Timer3->stop();
    m_window->hide();
    return true;
}

void ZelvoApp::SystemClose(UnloadMode mode)
{
    if (unloadWindow(mode)) {
        QApplication::closeAllWindows();
        QApplication::quit();
    }
}

void ZelvoApp::closeRequested(UnloadMode mode)
{
    // The system does not wait for an answer: open questions close as their No or Cancel would,
    // and so does any that opens before the end, so that no step of the program's own holds it.
    stopTransfers();
    dismissDialogs();
    if (!m_dismissing) {
        m_dismissing = new QTimer(this);
        connect(m_dismissing, &QTimer::timeout, this, &ZelvoApp::dismissDialogs);
        m_dismissing->start(100);
    }
    outside("SystemClose", [this, mode] {
        // What the unload itself asks (a save that found the disk full) is the user's to answer.
        delete std::exchange(m_dismissing, nullptr);
        SystemClose(mode);
    });
}
