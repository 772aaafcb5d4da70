#include "timer_board/frmMain.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/AppFacts.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/MakerAddresses.h"
#include "support/TriggerQueue.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedSound.h"
#include "support/cSharedText.h"
#include "timer_board/MainLayout.h"
#include "timer_board/ReminderWindows.h"
#include "timer_board/RowStyle.h"
#include "timer_board/ScreenReaderNames.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/frmSplash.h"
#include "timer_board/mSHAREDSysTray.h"
#include "updater/fSHAREDUpdater.h"
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScopedValueRollback>
#include <QTimer>

namespace {
const QString kTitle = QStringLiteral("Zelvo");
const QColor kGreen(0, 176, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);

cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
void message(const QString& text) { Platform::dialogs().message(text, Dialogs::Buttons::Ok, kTitle); }
}

frmMain::frmMain()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("frmMain");
    m_slots.setHost(this);
    m_reminders.onWaiting([](bool waiting) {
        Guard::silently([&] { Platform::tray().setAttention(waiting, QIcon(TrayPictures::amber())); });
    });
    connect(&m_slots, &SlotBoard::slotChanged, this, &frmMain::drawRow);
    connect(&m_slots, &SlotBoard::fieldsChanged, this, &frmMain::drawFields);
    connect(&m_slots, &SlotBoard::countdownStarting, this, &frmMain::onCountdownStarting);
    connect(&m_slots, &SlotBoard::refused, this, [](const QString& text) { message(text); });
    // A reminder's Snooze or Restart, from its window or its notice.
    m_reminders.onChoice([this](int ring, int seconds) {
        outside(seconds ? "Snooze" : "Restart", [this, ring, seconds] { answerRing(ring, seconds); });
    });
    connect(&m_slots, &SlotBoard::answered, this, [this](int ring, int) { m_reminders.closeFor(ring); });
    // The rows are laid out for an 8-point font (a style sheet would drop it, and costs a tenth
    // of the start-up polishing a thousand widgets).
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    m_rowStyle = new RowStyle;
    m_rowStyle->setParent(this);
    setFixedSize(Twips::px(8088), Twips::px(6264));

    Timer1 = new QTimer(this);
    SaveTimer = new QTimer(this);
    Timer3 = new QTimer(this);
    Timer1->setInterval(100);
    SaveTimer->setInterval(30000);
    Timer3->setInterval(30000);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(SaveTimer, &QTimer::timeout, this, &frmMain::SaveTimer_Timer);
    connect(Timer3, &QTimer::timeout, this, &frmMain::Timer3_Timer);
    SaveTimer->start();

    buildRow(0);
    Frame1[0]->hide();
    buildBottomStrip();
    buildTray();
}

void frmMain::outside(const QString& name, std::function<void()> trigger)
{
    TriggerQueue::instance().post(name, [window = QPointer<frmMain>(this), trigger = std::move(trigger)] {
        if (window)
            trigger();
    });
}

void frmMain::buildTray()
{
    picRed = new QLabel(this);
    picRed->setPixmap(TrayPictures::red());
    picGreen = new QLabel(this);
    picGreen->setPixmap(TrayPictures::green());
    TrayIcon = new QLabel(this);
    for (QLabel* picture : {picRed, picGreen, TrayIcon})
        picture->hide();
    setWindowIcon(QIcon(TrayPictures::green()));

    mnuTray = new QMenu("Hidden", this);
    mnuShow = mnuTray->addAction("Show");
    mnuTray->addSeparator();
    mnuQuit = mnuTray->addAction("Quit");
    mnuDismiss = mnuTray->addAction("Hide Menu");
    // The icon and its menu belong to the desktop: what they ask for waits for a safe point.
    connect(mnuShow, &QAction::triggered, this, [this] { outside("mnuShow_Click", [this] { mnuShow_Click(); }); });
    connect(mnuQuit, &QAction::triggered, this, [this] { outside("mnuQuit_Click", [this] { mnuQuit_Click(); }); });
    Platform::tray().setHandler(
        [this](TrayHost::Message m) { outside("TrayIcon_MouseMove", [this, m] { TrayIcon_MouseMove(m); }); });
    Platform::tray().setMenu(mnuTray);
}

QString frmMain::settingsPath() const
{
    return cSharedFileSubs::instance().RemoveSlashFromEnd(Platform::facts().dataFolder())
           + cSharedFileSubs::separator() + "Zelvo.ini";
}

QString frmMain::alarmPath() const
{
    return cSharedFileSubs::instance().RemoveSlashFromEnd(Platform::facts().assetFolder())
           + cSharedFileSubs::separator() + "alarm.wav";
}

// ---- building the window -------------------------------------------------------------------

void frmMain::buildRow(int i)
{
    MainLayout::buildRow(*this, i, m_rowStyle);
    for (QLineEdit* edit : {txtDesc[i], txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i], txtAtHour[i],
                            txtAtMin[i], txtAtSec[i]})
        watchFocus(edit);
    m_names.rowBuilt(i);
    m_repeats.rowBuilt(i, cmdStart[i], txtDesc[i], [this, i](bool on) { m_slots.setRepeat(i, on); });
    connectRow(i);
    if (i < kSlots) {
        connect(cmdStart[i], &QPushButton::clicked, this, [this, i] { cmdStart_Click(i); });
        connect(cmdPause[i], &QPushButton::clicked, this, [this, i] { cmdPause_Click(i); });
        connect(cmdAt[i], &QPushButton::clicked, this, [this, i] { cmdAt_Click(i); });
    }
}

frmMain::~frmMain() = default;

void frmMain::nameControls() { m_names.nameAll(); }

void frmMain::fillRow(int i) { m_store.loadEntry(i); }

void frmMain::buildBottomStrip()
{
    MainLayout::buildStrip(*this);
    for (int k = 0; k < 4; ++k)
        connect(optPage[k], &QPushButton::clicked, this, [this, k] { optPage_Click(k); });
    m_names.stripBuilt();
    connect(cmd30s, &QPushButton::clicked, this, &frmMain::cmd30s_Click);
    connect(cmd1m, &QPushButton::clicked, this, &frmMain::cmd1m_Click);
    connect(cmd5m, &QPushButton::clicked, this, &frmMain::cmd5m_Click);
    connect(cmdCustom, &QPushButton::clicked, this, &frmMain::cmdCustom_Click);
    connect(cmdTest, &QPushButton::clicked, this, &frmMain::cmdTest_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(cmdHide, &QPushButton::clicked, this, &frmMain::cmdHide_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
    connect(cmdCheckUpdate, &QPushButton::clicked, this, &frmMain::cmdCheckUpdate_Click);
}

void frmMain::watchFocus(QLineEdit* edit) { edit->installEventFilter(this); }

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        // After a click the press itself places the cursor; select once it has been handled.
        if (edit)
            QTimer::singleShot(0, edit, [edit] { cSharedText::instance().HighlightText(edit); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---- start-up --------------------------------------------------------------------------------

void frmMain::Form_Load()
{
    // A command or a click on the icon waits until the program stands.
    const TriggerQueue::Step starting;
    Timer3->stop();
    Guard g{"Form_Load", "frmMain"};
    g([&] { showSplash(); });
    g([&] { settings().LoadSettings(settingsPath()); });
    g([&] { cSharedLogging::instance().LogEvent("Zelvo startup", true); });
    g([&] {
        const QString problem = Platform::instanceLock().problem();
        if (!problem.isEmpty())
            cSharedLogging::instance().LogEvent("Running without the single-instance lock: " + problem, false);
    });
    g([&] { setWindowTitle(kTitle); });
    g([&] {
        Platform::notifier().setFailureHandler([](const QString& why) {
            cSharedLogging::instance().LogEvent("Desktop notifications are unavailable: " + why, false);
        });
    });
    g([&] { Timer1->stop(); });
    g([&] { TrayIcon->setPixmap(picRed->pixmap()); });
    for (int i = 1; i < kRows; ++i)
        g([&] {
            buildRow(i);
            Frame1[i]->hide();
        });
    for (int i = 0; i < kRows; ++i)
        fillRow(i);
    g([&] { ShowPage(0); });
    g([&] { mSHAREDSysTray::instance().showprogramintray(TrayIcon, "Zelvo standing by"); });
    g([&] { mSHAREDSysTray::instance().watchForArea(TrayIcon); });
    g([&] {
        // With the area gone, a hidden window would have no way back.
        mSHAREDSysTray::instance().whenAreaLost([this] {
            outside("areaLost", [this] {
                if (!isVisible())
                    showMinimized();
            });
        });
    });
    g([&] { RestoreTimers(); });
    g([&] { setFixedWidth(Twips::px(2 * 3972 + 400)); });
    g([&] {
        if (const QScreen* screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    });
    g([&] {
        if (m_splash)
            m_splash->hide();
        cSHAREDDelay::instance().DoEventss();
    });
    g([&] { txtCustom->setText("0"); });
    g([&] { txtCustom->setText(QString::number(settings().sGet("CustomSeconds", Value::whole(900)).toInt32())); });
    g([&] { closeSplash(); });
    g([&] { hideAtStart(); });
    g([&] { attachUpdater(); });
    g([&] {
        if (!m_unloaded)
            Timer3->start();
    });
}

void frmMain::attachUpdater()
{
    if (Updater)
        return;
    Updater = new fSHAREDUpdater(this);
    connect(Updater, &fSHAREDUpdater::InstallFile, this,
            [this] { outside("Updater_InstallFile", [this] { Updater_InstallFile(); }); });
}

void frmMain::showSplash()
{
    m_splash = new frmSplash;
    m_splash->setStatus("Starting up");
    m_splash->show();
    cSHAREDDelay::instance().DoEventss();
}

void frmMain::closeSplash()
{
    delete m_splash;
    m_splash = nullptr;
}

void frmMain::hideAtStart()
{
    // Ended already (Quit or a system close inside a start-up message box): stay out of sight.
    if (m_unloaded)
        return;
    // Only a hand-edited file sets it; a value that is no boolean leaves the window in sight.
    bool hide = false;
    Guard g{"Form_Load", "frmMain"};
    g([&] { hide = settings().sGet("HideOnRun", false).toBool(); });
    if (!hide) {
        show();
        return;
    }
    if (mSHAREDSysTray::instance().iconShown())
        return;
    // With no notification area a hidden window could never come back.
    show();
    cSharedLogging::instance().LogEvent("HideOnRun ignored: there is no notification area to return from", false);
}

// ---- pages -----------------------------------------------------------------------------------

void frmMain::HideAllRows()
{
    for (QFrame* frame : Frame1)
        frame->hide();
}

void frmMain::ShowPage(int first)
{
    if (first < 0 || first + 9 >= kRows)
        throw AppError(AppError::SubscriptOutOfRange);
    const int gap = Twips::px(100);
    const QRect anchor = Frame1[0]->geometry();
    Frame1[first]->move(anchor.topLeft());
    Frame1[first]->show();
    for (int k = 1; k <= 9; ++k) {
        QFrame* frame = Frame1[first + k];
        const QRect above = Frame1[first + k - 1]->geometry();
        const int left = k < 5 ? anchor.left() : anchor.left() + anchor.width() + gap;
        const int top = k == 5 ? anchor.top() : above.top() + above.height() + gap;
        frame->move(left, top);
        frame->show();
    }
}

void frmMain::optPage_Click(int page)
{
    if (page < 0 || page > 3)
        throw AppError(AppError::SubscriptOutOfRange);
    optPage[page]->setChecked(true);
    HideAllRows();
    ShowPage(10 * page);
}

// ---- the rows and the slots ------------------------------------------------------------------

SlotMath::Fields frmMain::fieldsOf(int i) const
{
    return {txtDays[i]->text(), txtHours[i]->text(), txtMinutes[i]->text(), txtSeconds[i]->text()};
}

// What the user types goes to the slots; what the slots say comes back through drawRow.
void frmMain::connectRow(int i)
{
    const auto edited = [this](auto&& pass) {
        return [this, pass] {
            if (!m_drawing)
                pass();
        };
    };
    connect(txtDesc[i], &QLineEdit::textChanged, this, edited([this, i] { m_slots.setMessage(i, txtDesc[i]->text()); }));
    for (QLineEdit* edit : {txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i]})
        connect(edit, &QLineEdit::textChanged, this, edited([this, i] { m_slots.setFields(i, fieldsOf(i)); }));
    const auto clockEntry = edited([this, i] {
        m_slots.setClockEntry(i, txtAtHour[i]->text(), txtAtMin[i]->text(), txtAtSec[i]->text(), optAM[i]->isChecked());
    });
    for (QLineEdit* edit : {txtAtHour[i], txtAtMin[i], txtAtSec[i]})
        connect(edit, &QLineEdit::textChanged, this, clockEntry);
    connect(optAM[i], &QRadioButton::toggled, this, clockEntry);
    connect(chkAlarm[i], &QCheckBox::toggled, this, edited([this, i] { m_slots.setAlarm(i, chkAlarm[i]->isChecked()); }));
    connect(chkRun[i], &QCheckBox::toggled, this, edited([this, i] { m_slots.setRun(i, chkRun[i]->isChecked()); }));
}

namespace {
void setText(QLineEdit* edit, const QString& text)
{
    // Unchanged texts are left alone: forty rows ten times a second add up.
    if (edit->text() != text)
        edit->setText(text);
}
}

void frmMain::drawFields(int i)
{
    if (!Frame1[i])
        return;
    const SlotMath::Fields& f = m_slots.entry(i).fields;
    const QScopedValueRollback drawing(m_drawing, true);
    setText(txtDays[i], f.days);
    setText(txtHours[i], f.hours);
    setText(txtMinutes[i], f.minutes);
    setText(txtSeconds[i], f.seconds);
}

void frmMain::drawRow(int i)
{
    if (!Frame1[i])
        return;
    drawFields(i);
    const SlotBoard::Entry& e = m_slots.entry(i);
    const bool running = m_slots.SlotRunning(i);
    const QScopedValueRollback drawing(m_drawing, true);
    setText(txtDesc[i], e.message);
    setText(txtAtHour[i], e.atHour);
    setText(txtAtMin[i], e.atMin);
    setText(txtAtSec[i], e.atSec);
    if (optAM[i]->isChecked() != e.am)
        (e.am ? optAM[i] : optPM[i])->setChecked(true);
    chkAlarm[i]->setChecked(e.alarm);
    chkRun[i]->setChecked(e.run);
    if (fraAtSpecific[i]->isHidden() == e.clockPanel) {
        fraAtSpecific[i]->setVisible(e.clockPanel);
        fraCountdown[i]->setVisible(!e.clockPanel);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i], cmdAt[i],
                                                      chkAlarm[i], chkRun[i]})
        w->setEnabled(!running);
    cmdStart[i]->setText(running ? "Stop" : "Start");
    cmdStart[i]->setToolTip(running ? MainLayout::kStopTip : MainLayout::kStartTip);
    m_names.startChanged(i, running);
    m_repeats.draw(i, e.repeat);
    drawColours(i);
}

// Green on silver while counting, grey on silver when marked paused, the system's colours when idle.
void frmMain::drawColours(int i)
{
    QPalette palette = QApplication::palette(txtDesc[i]);
    if (m_slots.SlotPaused(i) || m_slots.SlotRunning(i)) {
        palette.setColor(QPalette::Text, m_slots.SlotPaused(i) ? kGrey : kGreen);
        palette.setColor(QPalette::Base, kSilver);
    }
    const QPalette& current = txtDesc[i]->palette();
    if (current.color(QPalette::Text) != palette.color(QPalette::Text)
        || current.color(QPalette::Base) != palette.color(QPalette::Base))
        txtDesc[i]->setPalette(palette);
}

void frmMain::onCountdownStarting()
{
    if (Timer1->isActive())
        return;
    Timer1->start(100);
    SetTrayRunning();
}

// ---- starting --------------------------------------------------------------------------------

void frmMain::cmdStart_Click(int i)
{
    // A failing step is passed over silently, as in the start itself.
    if (m_slots.SlotRunning(i)) {
        Guard::silently([&] { StopTimer(i); });
        return;
    }
    // Refused before the file prompt, so a start that cannot happen changes no stored file.
    if (const auto refusal = m_slots.startRefusal(i)) {
        message(*refusal);
        return;
    }
    if (m_slots.entry(i).run) {
        const QString answer = Platform::dialogs().input("Enter the file to run", kTitle + ' ' + QString::number(i + 1),
                                                         m_slots.entry(i).runFile);
        Guard::silently([&] { m_slots.setRunFile(i, answer); });
    }
    Guard::silently([&] { StartTimer(i); });
}

void frmMain::StartTimer(int i) { m_slots.startTimer(i); }
void frmMain::cmdAt_Click(int i) { m_slots.toggleAtTime(i); }
void frmMain::cmd30s_Click() { StartInstantTimer(30); }
void frmMain::cmd1m_Click() { StartInstantTimer(60); }
void frmMain::cmd5m_Click() { StartInstantTimer(300); }

void frmMain::cmdCustom_Click()
{
    std::int32_t seconds = 0;
    Guard g{"cmdCustom_Click", "frmMain"};
    g([&] { seconds = Conversions::CLng(Conversions::Val(txtCustom->text())); });
    if (seconds < 1) {
        message("Please set the custom seconds value first");
        return;
    }
    StartInstantTimer(seconds);
}

bool frmMain::slotOnPage(int i) const { return Frame1[i]->isVisibleTo(this); }

void frmMain::StartInstantTimer(std::int32_t seconds)
{
    if (m_slots.startInstant(seconds) < 0)
        message(SlotBoard::kNoFreeSlot);
}

// ---- tick and expiry -------------------------------------------------------------------------

void frmMain::Timer1_Timer()
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
    if (next >= 0 && next <= ReminderWindows::kPrepareMs)
        m_reminders.prepare(m_slots);
}

// An end moment that falls between two ticks gets a tick of its own, so the alarm does not wait
// up to a whole interval for the next one.
void frmMain::tickAtNextEnd(std::int64_t ms)
{
    if (ms < 0 || ms >= Timer1->interval())
        return;
    QTimer::singleShot(static_cast<int>(ms) + 1, Qt::PreciseTimer, this, [this] {
        if (Timer1->isActive())
            Timer1_Timer();
    });
}

void frmMain::StopTimer(int i) { m_slots.stopTimer(i); }

void frmMain::cmdPause_Click(int i) { m_slots.togglePause(i); }

void frmMain::PauseTimer(int i) { m_slots.pauseTimer(i); }
void frmMain::RestartTimer(int i) { StartTimer(i); }

void frmMain::raiseAlarm(int, int ring, const QString& message, const QString& due) { RaiseAlarm(ring, message, due); }

// The first answer to a ring wins; with no free slot its reminder stays open for another try.
void frmMain::answerRing(int ring, int seconds)
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
        cSharedLogging::instance().LogEvent(
            QStringLiteral("Timer %1 was already %2; the second answer was ignored")
                .arg(m_slots.ring(ring)->slot + 1)
                .arg(m_slots.ring(ring)->answer),
            false);
        m_reminders.closeFor(ring);
        break;
    default:
        break;
    }
}
void frmMain::showWindow() { mnuShow_Click(); }
void frmMain::quitProgram(bool ask) { ExitProgram(ask); }

void frmMain::dismissDialogs()
{
    // Each one's loop ends when control comes back to it; the program's step then goes on.
    // A context menu holds its own loop too (a submenu one more).
    for (int k = 0; k < 4 && QApplication::activePopupWidget(); ++k)
        QApplication::activePopupWidget()->close();
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isModal())
            window->close();
}

QString frmMain::waitsForUser() const
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

void frmMain::RaiseAlarm(int ring, const QString& text, const QString& due)
{
    m_reminders.show(ring, text, due);
    cSHAREDDelay::instance().DoEventss();
    cSharedSound::instance().PlayWav(alarmPath());
}

void frmMain::cmdTest_Click()
{
    const auto answer = Platform::dialogs().message("Play the alarm sound?", Dialogs::Buttons::YesNo, kTitle);
    if (answer != Dialogs::Answer::No)
        cSharedSound::instance().PlayWav(alarmPath());
}

// ---- persistence -----------------------------------------------------------------------------

void frmMain::SaveTimers() { m_store.saveTimers(); }

void frmMain::SaveTimer_Timer()
{
    if (!Timer1->isActive())
        return;
    Guard g{"SaveTimer_Timer", "frmMain"};
    g([&] { SaveTimers(); });
    g([&] { settings().sSet("CustomSeconds", txtCustom->text().trimmed()); });
    g([&] { settings().SaveSettings(settingsPath()); });
}

void frmMain::RestoreTimers()
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

// ---- tray and closing ------------------------------------------------------------------------

void frmMain::SetTrayIdle()
{
    TrayIcon->setPixmap(picRed->pixmap());
    cSHAREDDelay::instance().DoEventss();
    mSHAREDSysTray::instance().changetrayicon(TrayIcon, "Zelvo is standing by");
}

// Without a pump of pending events: it runs inside a start of the slot model, where a click or a
// tick let in halfway would meet a slot half changed.
void frmMain::SetTrayRunning()
{
    TrayIcon->setPixmap(picGreen->pixmap());
    mSHAREDSysTray::instance().changetrayicon(TrayIcon, "Zelvo is running");
}

void frmMain::TrayIcon_MouseMove(TrayHost::Message m)
{
    try {
        switch (m) {
        case TrayHost::Message::LeftDown:
        case TrayHost::Message::LeftDoubleClick:
            mnuShow_Click();  // from any state, minimised too
            break;
        case TrayHost::Message::RightDown:
        case TrayHost::Message::RightUp:
            mnuTray->popup(QCursor::pos());
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        setWindowState(Qt::WindowNoState);
    }
}

void frmMain::mnuShow_Click()
{
    Guard g{"mnushow_click", "frmMain"};
    g([&] { show(); });
    g([&] { setWindowState(windowState() & ~Qt::WindowMinimized); });
    g([&] {
        raise();
        activateWindow();
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void frmMain::mnuQuit_Click() { ExitProgram(); }
void frmMain::cmdExit_Click() { ExitProgram(); }

void frmMain::cmdHide_Click()
{
    hideWindow();
    cSHAREDDelay::instance().DoEventss();
}

void frmMain::cmdAbout_Click()
{
    fSHAREDAbout about(this);
    // Nothing follows its close, so what comes from outside need not wait for it.
    const TriggerQueue::Passive passive;
    about.exec();
}

void frmMain::hideWindow()
{
    if (mSHAREDSysTray::instance().iconShown()) {
        hide();
        return;
    }
    // No notification area: a hidden window would leave no way back.
    showMinimized();
    if (!m_noTrayLogged) {
        m_noTrayLogged = true;
        cSharedLogging::instance().LogEvent("No notification area: the window is minimised instead of hidden", false);
    }
}

void frmMain::ExitProgram(bool ask)
{
    Guard g{"ExitProgram", "frmMain"};
    g([&] { settings().SaveSettings(settingsPath()); });
    if (ask && m_slots.anyRunning()) {
        const auto answer = Platform::dialogs().message("You have timers running. Are you sure you want to exit?",
                                                        Dialogs::Buttons::YesNo, kTitle);
        if (answer != Dialogs::Answer::Yes) {
            g([&] { hideWindow(); });
            cSHAREDDelay::instance().DoEventss();
            return;
        }
    }
    // From here on the program ends: what still waits to run is refused.
    TriggerQueue::instance().close();
    g([&] { stopTransfers(); });
    g([&] { SaveTimers(); });
    g([&] { Timer1->stop(); });
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    g([&] { unloadWindow(vbFormCode); });
    g([&] { runPendingInstaller(); });
    QApplication::closeAllWindows();
    QApplication::quit();
}

// A check or download still running when the program ends is cancelled, so the waits inside it
// end at once instead of keeping the ending program alive for up to a minute.
void frmMain::stopTransfers()
{
    if (Updater)
        Updater->StopAll();
}

void frmMain::runPendingInstaller()
{
    // Only a download that completed and was accepted is handed over.
    if (PendingInstaller.isEmpty() || !QFile::exists(PendingInstaller))
        return;
    // The user agreed to install it; a downloaded file is not yet marked as a program.
    QFile installer(PendingInstaller);
    installer.setPermissions(installer.permissions() | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    cSharedFileSubs::instance().RunFile(PendingInstaller, QString());
}

// ---- updates -----------------------------------------------------------------------------------

void frmMain::checkforupdate(bool silent)
{
    Guard g{"checkforupdate", "frmMain"};
    g([&] { attachUpdater(); });
    g([&] {
        Updater->CheckForUpdate(silent, MakerAddresses::updateServer() + "/versions/ZELV_current.txt",
                                MakerAddresses::updateServer() + "/versions/ZELV_details.txt", "ZelvoUpd.exe",
                                QString());
    });
}

void frmMain::Timer3_Timer()
{
    // Its questions may come when nobody looks (a program started by a command in the background):
    // a countdown started meanwhile does not wait for them.
    const TriggerQueue::Aside aside;
    Guard g{"timer3_timer", "frmMain"};
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

void frmMain::cmdCheckUpdate_Click()
{
    Guard g{"cmdCheckUpdate_Click", "frmMain"};
    g([&] { Timer3->stop(); });
    g([&] { checkforupdate(false); });
}

void frmMain::Updater_InstallFile()
{
    PendingInstaller = cSharedFileSubs::instance().AddSlashIfMissing(Platform::facts().dataFolder())
                       + "ZelvoUpd.exe";
    message("Please exit Zelvo now to begin the update process.");
}

bool frmMain::Form_QueryUnload(UnloadMode mode)
{
    SaveTimers();
    if (mode != vbFormControlMenu)
        return true;
    hideWindow();
    cSHAREDDelay::instance().DoEventss();
    return false;
}

void frmMain::Form_Unload()
{
    Guard g{"Form_Unload", "frmMain"};
    g([&] { settings().SaveSettings(settingsPath()); });
    g([&] { mSHAREDSysTray::instance().RemoveTrayicon(); });
}

bool frmMain::unloadWindow(UnloadMode mode)
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
    hide();
    return true;
}

void frmMain::SystemClose(UnloadMode mode)
{
    if (unloadWindow(mode)) {
        QApplication::closeAllWindows();
        QApplication::quit();
    }
}

void frmMain::closeRequested(UnloadMode mode)
{
    // The system does not wait for an answer: open questions close as their No or Cancel would,
    // and so does any that opens before the end, so that no step of the program's own holds it.
    stopTransfers();
    dismissDialogs();
    if (!m_dismissing) {
        m_dismissing = new QTimer(this);
        connect(m_dismissing, &QTimer::timeout, this, &frmMain::dismissDialogs);
        m_dismissing->start(100);
    }
    outside("SystemClose", [this, mode] {
        // What the unload itself asks (a save that found the disk full) is the user's to answer.
        delete std::exchange(m_dismissing, nullptr);
        SystemClose(mode);
    });
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Once unloaded, the program is ending and every close goes ahead.
    if (m_unloaded || unloadWindow(vbFormControlMenu)) {
        event->accept();
        return;
    }
    event->ignore();
}
