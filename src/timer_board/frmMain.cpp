#include "timer_board/frmMain.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/AppFacts.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedFileSubs.h"
#include "support/cSharedSound.h"
#include "support/cSharedText.h"
#include "timer_board/RowStyle.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/WrapButton.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/frmSplash.h"
#include "timer_board/mSHAREDSysTray.h"
#include "updater/fSHAREDUpdater.h"
#include "support/MakerAddresses.h"
#include "timer_board/frmMessage.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
const QString kTitle = QStringLiteral("Zelvo");
const QString kStartTip = QStringLiteral("Click START to begin the countdown timer.");
const QString kStopTip = QStringLiteral("Click STOP to stop the countdown timer.");
const QColor kGreen(0, 176, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);

cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
double now() { return OleDate::fromDateTime(Platform::clock().now()).days; }
void message(const QString& text) { Platform::dialogs().message(text, Dialogs::Buttons::Ok, kTitle); }

QLineEdit* field(QWidget* parent, const QString& text, const QString& tip, const QRect& geometry, bool centred)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setToolTip(tip);
    edit->setGeometry(geometry);
    if (centred)
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& tip, const QRect& geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(tip);
    b->setGeometry(geometry);
    return b;
}

// A failure in the tick ends the tick; code 53 is answered with the slot's reminder instead.
struct TickEnded {};
}

frmMain::frmMain()
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("frmMain");
    m_shownSeconds.fill(-1);
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
    connect(mnuShow, &QAction::triggered, this, &frmMain::mnuShow_Click);
    connect(mnuQuit, &QAction::triggered, this, &frmMain::mnuQuit_Click);
    Platform::tray().setHandler([this](TrayHost::Message m) { TrayIcon_MouseMove(m); });
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

void frmMain::checkIndex(int i)
{
    if (i < 0 || i >= kRows)
        throw AppError(AppError::SubscriptOutOfRange);
}

// ---- building the window -------------------------------------------------------------------

void frmMain::buildRow(int i)
{
    Frame1[i] = new QFrame(this);
    Frame1[i]->setFrameShape(QFrame::Box);
    Frame1[i]->setFrameShadow(QFrame::Sunken);
    Frame1[i]->setGeometry(Twips::rect(135, 135, 3972, 960));
    QFrame* row = Frame1[i];

    txtDesc[i] = field(row, "Reminder " + QString::number(i + 1),
                       "This message will be displayed when the timer reaches 0:00:00", Twips::rect(90, 192, 3780, 285),
                       false);
    chkAlarm[i] = new QCheckBox("A", row);
    chkAlarm[i]->setToolTip("Sound an alarm");
    chkAlarm[i]->setGeometry(Twips::rect(2352, 528, 396, 192));
    chkAlarm[i]->setChecked(true);
    chkRun[i] = new QCheckBox("R", row);
    chkRun[i]->setToolTip("Run a file or a web URL");
    chkRun[i]->setGeometry(Twips::rect(2352, 720, 396, 204));
    cmdAt[i] = button(row, "T", "Switch between entering a countdown and a specific time", Twips::rect(2784, 528, 252, 330));
    cmdPause[i] = button(row, "P", "Pause/Restart Timer", Twips::rect(3072, 528, 300, 330));
    cmdStart[i] = button(row, "Start", kStartTip, Twips::rect(3408, 528, 492, 330));

    fraCountdown[i] = new QWidget(row);
    fraCountdown[i]->setGeometry(Twips::rect(90, 528 - 15, 2220, 396));
    QWidget* count = fraCountdown[i];
    txtDays[i] = field(count, "0", "Enter the Days value", Twips::rect(48, 48, 324, 285), true);
    lblCountD[i] = label(count, "d", Twips::rect(432, 84, 150, 200));
    txtHours[i] = field(count, "0", "Enter the hours value", Twips::rect(588, 48, 324, 285), true);
    lblCountH[i] = label(count, "h", Twips::rect(972, 84, 150, 200));
    txtMinutes[i] = field(count, "0", "Enter the Minutes value", Twips::rect(1164, 48, 324, 285), true);
    lblCountM[i] = label(count, "m", Twips::rect(1500, 84, 200, 200));
    txtSeconds[i] = field(count, "00", "Enter the Seconds value", Twips::rect(1740, 48, 360, 285), true);
    lblCountS[i] = label(count, "s", Twips::rect(2124, 96, 96, 200));

    fraAtSpecific[i] = new QWidget(row);
    fraAtSpecific[i]->setGeometry(Twips::rect(90, 528 - 15, 2172, 396));
    QWidget* at = fraAtSpecific[i];
    txtAtHour[i] = field(at, "0", "Hour", Twips::rect(48, 48, 300, 300), true);
    lblAtHour[i] = label(at, ":", Twips::rect(348, 96, 150, 200));
    txtAtMin[i] = field(at, "00", "Minute", Twips::rect(528, 48, 348, 300), true);
    lblAtMin[i] = label(at, ":", Twips::rect(876, 96, 150, 200));
    txtAtSec[i] = field(at, "00", "Second", Twips::rect(1056, 48, 360, 285), true);
    optAM[i] = new QRadioButton("am", at);
    optAM[i]->setGeometry(Twips::rect(1584, 0, 540, 192));
    optPM[i] = new QRadioButton("pm", at);
    optPM[i]->setGeometry(Twips::rect(1584, 192, 540, 192));
    // Each row's am/pm pair is a group of its own.
    auto* group = new QButtonGroup(at);
    group->addButton(optAM[i]);
    group->addButton(optPM[i]);
    optPM[i]->setChecked(true);
    fraAtSpecific[i]->hide();
    for (QWidget* small : std::initializer_list<QWidget*>{chkAlarm[i], chkRun[i], optAM[i], optPM[i]})
        small->setStyle(m_rowStyle);

    for (QLineEdit* edit : {txtDesc[i], txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i], txtAtHour[i],
                            txtAtMin[i], txtAtSec[i]})
        watchFocus(edit);
    // Tab follows the way a row is filled in (the message, the time, then the switches and
    // buttons) and goes on to the next row; the rows are made after the bottom strip.
    QWidget* const order[] = {i > 0 ? cmdStart[i - 1] : nullptr,
                              txtDesc[i],  txtDays[i],  txtHours[i], txtMinutes[i], txtSeconds[i],
                              txtAtHour[i], txtAtMin[i], txtAtSec[i], optAM[i],      optPM[i],
                              chkAlarm[i], chkRun[i],   cmdAt[i],    cmdPause[i],   cmdStart[i]};
    for (std::size_t k = 1; k < std::size(order); ++k)
        if (order[k - 1])
            QWidget::setTabOrder(order[k - 1], order[k]);
    if (i < kSlots) {
        connect(cmdStart[i], &QPushButton::clicked, this, [this, i] { cmdStart_Click(i); });
        connect(cmdPause[i], &QPushButton::clicked, this, [this, i] { cmdPause_Click(i); });
        connect(cmdAt[i], &QPushButton::clicked, this, [this, i] { cmdAt_Click(i); });
    }
}

void frmMain::fillRow(int i)
{
    Guard g{"Form_Load", "frmMain"};
    g([&] { txtDesc[i]->setText(settings().sGet("TimerName" + QString::number(i), "Reminder " + QString::number(i + 1)).toText()); });
    g([&] { fraCountdown[i]->show(); });
    g([&] { fraAtSpecific[i]->hide(); });
    g([&] { optPM[i]->setChecked(true); });
}

void frmMain::buildBottomStrip()
{
    const QStringList captions{"1-10", "11-20", "21-30", "31-40"};
    const int lefts[] = {2064, 2736, 3456, 4176};
    for (int k = 0; k < 4; ++k) {
        optPage[k] = button(this, captions[k], "Display timers " + captions[k], Twips::rect(lefts[k], 5472, 588, 300));
        optPage[k]->setCheckable(true);
        optPage[k]->setAutoExclusive(true);
        connect(optPage[k], &QPushButton::clicked, this, [this, k] { optPage_Click(k); });
    }
    optPage[0]->setChecked(true);
    cmd30s = button(this, "30s", "Starts a 30 second countdown timer immediately", Twips::rect(1992, 5850, 444, 276));
    cmd1m = button(this, "1m", "Starts a 60 second countdown timer immediately", Twips::rect(2532, 5850, 468, 276));
    cmd5m = button(this, "5m", "Starts a 5m countdown timer immediately", Twips::rect(3108, 5850, 468, 276));
    cmdCustom = button(this, "Ns:", "Starts a custom timer immediately (Set the seconds first)",
                       Twips::rect(3684, 5850, 468, 276));
    txtCustom = field(this, "900", "Number of seconds for custom timer", Twips::rect(4224, 5850, 696, 285), true);
    cmdTest = new WrapButton("Test Alarm Volume", this);
    cmdTest->setGeometry(Twips::rect(5376, 5712, 984, 465));
    cmdAbout = button(this, "About", QString(), Twips::rect(135, 5715, 690, 465));
    cmdCheckUpdate = new WrapButton("Check for Update", this);
    cmdCheckUpdate->setGeometry(Twips::rect(945, 5712, 930, 465));
    cmdExit = button(this, "Exit", QString(), Twips::rect(6528, 5715, 600, 465));
    cmdHide = button(this, "Hide", QString(), Twips::rect(7248, 5715, 672, 465));
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
    Timer3->stop();
    Guard g{"Form_Load", "frmMain"};
    g([&] { showSplash(); });
    g([&] { settings().LoadSettings(settingsPath()); });
    g([&] { cSharedLogging::instance().LogEvent("Zelvo startup", true); });
    g([&] { setWindowTitle(kTitle); });
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
    connect(Updater, &fSHAREDUpdater::InstallFile, this, &frmMain::Updater_InstallFile);
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
    if (!settings().sGet("HideOnRun", false).toBool()) {
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

// ---- starting --------------------------------------------------------------------------------

SlotMath::Fields frmMain::fieldsOf(int i) const
{
    return {txtDays[i]->text(), txtHours[i]->text(), txtMinutes[i]->text(), txtSeconds[i]->text()};
}

void frmMain::setFields(int i, const SlotMath::Fields& f)
{
    // Unchanged texts are left alone: forty rows ten times a second add up.
    const auto set = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text)
            edit->setText(text);
    };
    set(txtDays[i], f.days);
    set(txtHours[i], f.hours);
    set(txtMinutes[i], f.minutes);
    set(txtSeconds[i], f.seconds);
}

void frmMain::setDescColours(int i, const QColor& text, const QColor& base)
{
    QPalette palette = QApplication::palette(txtDesc[i]);
    if (text.isValid())
        palette.setColor(QPalette::Text, text);
    if (base.isValid())
        palette.setColor(QPalette::Base, base);
    txtDesc[i]->setPalette(palette);
}

void frmMain::cmdStart_Click(int i)
{
    checkIndex(i);
    Guard g{"cmdStart_Click", "frmMain"};
    if (SlotRunning[i]) {
        g([&] { StopTimer(i); });
        return;
    }
    if (!chkAlarm[i]->isChecked() && !chkRun[i]->isChecked()) {
        message("Please tick one or both of the 'Alarm' and 'Run' boxes");
        return;
    }
    if (!SlotMath::durationSeconds(fieldsOf(i)) && !SlotAtTime[i]) {
        message("That countdown is too long. Days can be at most 1365; hours, minutes and seconds at most 32767.");
        return;
    }
    if (chkRun[i]->isChecked()) {
        const QString key = "RunFile" + QString::number(i);
        QString current;
        g([&] { current = settings().sGet(key, QString()).toText(); });
        const QString answer =
            Platform::dialogs().input("Enter the file to run", kTitle + ' ' + QString::number(i + 1), current);
        g([&] { settings().sSet(key, answer); });
    }
    g([&] { StartTimer(i); });
}

void frmMain::convertClockTime(int i)
{
    const QString text = SlotMath::composeClockTime(txtAtHour[i]->text(), txtAtMin[i]->text(), txtAtSec[i]->text(),
                                                    optAM[i]->isChecked());
    SlotAtTime[i] = false;
    const auto target = SlotMath::clockTimeSeconds(text);
    if (!target)
        return;
    const int nowSeconds = Platform::clock().now().time().msecsSinceStartOfDay() / 1000;
    const int interval = SlotMath::secondsUntil(*target, nowSeconds);
    fraAtSpecific[i]->hide();
    fraCountdown[i]->show();
    txtDays[i]->setText("0");
    txtHours[i]->setText(QString::number(interval / 3600));
    txtMinutes[i]->setText(QString::number(interval % 3600 / 60));
    txtSeconds[i]->setText(QString::number(interval % 60));
}

void frmMain::StartTimer(int i)
{
    checkIndex(i);
    m_shownSeconds[i] = -1;
    Guard g{"StartTimer", "frmMain"};
    g([&] {
        if (SlotAtTime[i])
            convertClockTime(i);
    });
    // A duration the fields cannot hold never starts with an old one; the row stays idle and
    // the tick and tray are left as they were.
    const auto duration = SlotMath::durationSeconds(fieldsOf(i));
    if (!duration) {
        g([&] { message("That countdown is too long. Days can be at most 1365; hours, minutes and seconds at most 32767."); });
        return;
    }
    g([&] {
        if (!Timer1->isActive()) {
            Timer1->start(100);
            SetTrayRunning();
        }
    });
    g([&] {
        cmdAt[i]->setEnabled(false);
        chkAlarm[i]->setEnabled(false);
        chkRun[i]->setEnabled(false);
    });
    g([&] { cmdStart[i]->setToolTip(kStopTip); });
    SlotDuration[i] = static_cast<double>(*duration) / 86400.0;
    g([&] { cmdStart[i]->setText("Stop"); });
    SlotRunning[i] = true;
    SlotPaused[i] = false;
    g([&] { setDescColours(i, kGreen, kSilver); });
    g([&] { SlotEnd[i] = now() + SlotDuration[i]; });
    g([&] {
        for (QLineEdit* edit : {txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i]})
            edit->setEnabled(false);
    });
}

void frmMain::cmdAt_Click(int i)
{
    checkIndex(i);
    SlotAtTime[i] = !SlotAtTime[i];
    fraAtSpecific[i]->setVisible(SlotAtTime[i]);
    fraCountdown[i]->setVisible(!SlotAtTime[i]);
}

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

void frmMain::StartInstantTimer(std::int32_t seconds)
{
    // A field too large to read (400 digits) holds something: the slot is not free.
    const auto isZero = [](const QLineEdit* edit) {
        try {
            return Conversions::Val(edit->text()) == 0;
        } catch (const AppError&) {
            return false;
        }
    };
    const SlotMath::Fields fields = SlotMath::splitSeconds(seconds);
    for (int i = kSlots - 1; i >= 0; --i) {
        const bool free = Frame1[i]->isVisibleTo(this) && !SlotRunning[i] && isZero(txtDays[i]) && isZero(txtHours[i])
                          && isZero(txtMinutes[i]) && isZero(txtSeconds[i]);
        if (!free)
            continue;
        txtDesc[i]->setText("Instant timer");
        setFields(i, fields);
        chkAlarm[i]->setChecked(true);
        chkRun[i]->setChecked(false);
        StartTimer(i);
        return;
    }
    message("No free timers available. Cannot start countdown.");
}

// ---- tick and expiry -------------------------------------------------------------------------

void frmMain::Timer1_Timer()
{
    bool active = false;
    // Reading the local time asks the C library for the zone, which re-checks the zone file each
    // time; one reading serves the slots of a tick until an expiry (which lets other work run).
    double clockNow = now();
    try {
        for (int i = 0; i < kSlots; ++i)
            tickSlot(i, active, clockNow);
    } catch (const TickEnded&) {
        return;
    }
    if (!active) {
        Timer1->stop();
        SetTrayIdle();
        return;
    }
    tickAtNextEnd(clockNow);
}

// An end moment that falls between two ticks gets a tick of its own, so the alarm does not wait
// up to a whole interval for the next one.
void frmMain::tickAtNextEnd(double clockNow)
{
    double next = 0;
    for (int i = 0; i < kSlots; ++i)
        if (SlotRunning[i] && !SlotPaused[i] && (next == 0 || SlotEnd[i] < next))
            next = SlotEnd[i];
    const double ms = std::ceil((next - clockNow) * 86400000.0);
    if (next == 0 || ms >= Timer1->interval())
        return;
    QTimer::singleShot(static_cast<int>(std::max(0.0, ms)) + 1, Qt::PreciseTimer, this, [this] {
        if (Timer1->isActive())
            Timer1_Timer();
    });
}

void frmMain::tickSlot(int i, bool& active, double& clockNow)
{
    if (!SlotRunning[i] || SlotPaused[i])
        m_shownSeconds[i] = -1;
    if (!SlotRunning[i])
        return;
    if (SlotPaused[i]) {
        active = true;
        return;
    }
    const double exact = SlotEnd[i] - clockNow;
    const float remaining = static_cast<float>(exact);
    if (remaining > 0) {
        // The fields change once a second; the other nine ticks leave them alone.
        const std::int64_t shown = SlotMath::remainingSeconds(exact);
        if (shown != m_shownSeconds[i]) {
            setFields(i, SlotMath::remainingFields(exact));
            m_shownSeconds[i] = shown;
        }
        active = true;
        return;
    }
    expireSlot(i);
    clockNow = now();
}

void frmMain::expireSlot(int i)
{
    // Each step of an expiry: a failure ends the tick, except a missing file (53), which is
    // answered with the slot's reminder before the next step.
    const auto step = [&](auto&& statement) {
        try {
            statement();
        } catch (const AppError& e) {
            if (e.number() != AppError::FileNotFound)
                throw TickEnded{};
            RaiseAlarm(txtDesc[i]->text());
        } catch (const std::exception&) {
            throw TickEnded{};
        }
    };
    step([&] { StopTimer(i); });
    step([&] {
        if (chkAlarm[i]->isChecked())
            RaiseAlarm(txtDesc[i]->text());
    });
    step([&] {
        if (chkRun[i]->isChecked())
            cSharedFileSubs::instance().RunFile(settings().sGet("RunFile" + QString::number(i)).toText(), QString());
    });
}

void frmMain::StopTimer(int i)
{
    checkIndex(i);
    m_shownSeconds[i] = -1;
    Guard g{"StopTimer", "frmMain"};
    g([&] { cmdStart[i]->setToolTip(kStartTip); });
    g([&] {
        cmdAt[i]->setEnabled(true);
        chkAlarm[i]->setEnabled(true);
        chkRun[i]->setEnabled(true);
    });
    g([&] { cmdStart[i]->setText("Start"); });
    g([&] { SlotEnd[i] = 0; });
    g([&] {
        SlotRunning[i] = false;
        SlotPaused[i] = false;
    });
    g([&] {
        for (QLineEdit* edit : {txtDays[i], txtHours[i], txtMinutes[i], txtSeconds[i]})
            edit->setEnabled(true);
    });
    g([&] { txtDesc[i]->setPalette(QApplication::palette(txtDesc[i])); });
    g([&] { setFields(i, {"0", "0", "0", "00"}); });
}

void frmMain::cmdPause_Click(int i)
{
    checkIndex(i);
    if (SlotPaused[i])
        RestartTimer(i);
    else
        PauseTimer(i);
}

void frmMain::PauseTimer(int i)
{
    checkIndex(i);
    SlotPaused[i] = true;
    setDescColours(i, kGrey, kSilver);
}

void frmMain::RestartTimer(int i) { StartTimer(i); }

void frmMain::RaiseAlarm(const QString& text)
{
    auto* reminder = new frmMessage(text);
    reminder->show();
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

void frmMain::saveSlot(int n)
{
    Guard g{"SaveTimers", "frmMain"};
    const QString num = QString::number(n);
    std::int64_t total = 0;
    g([&] { total = SlotMath::fieldTotal(fieldsOf(n)); });
    // A slot counting down is never cleared by a save, whatever its fields show.
    const bool counting = SlotRunning[n] && !SlotPaused[n];
    if (total < 1 && !counting) {
        g([&] { settings().sSet("TimerRunning" + num, false); });
        SlotRunning[n] = false;
        return;
    }
    g([&] { settings().sSet("TimerRunning" + num, SlotRunning[n]); });
    g([&] { settings().sSet("TimerName" + num, txtDesc[n]->text()); });
    g([&] {
        const double days = Conversions::textToNumber(txtDays[n]->text());
        const std::int64_t span = static_cast<std::int64_t>(Conversions::CInt(txtHours[n]->text())) * 3600
                                  + static_cast<std::int64_t>(Conversions::CInt(txtMinutes[n]->text())) * 60
                                  + Conversions::CInt(txtSeconds[n]->text());
        settings().sSet("Timer" + num + "End", OleDate{now() + days + static_cast<double>(span) / 86400.0});
    });
    g([&] { settings().sSet("AlarmOn" + num, chkAlarm[n]->isChecked()); });
    g([&] { settings().sSet("Run" + num, chkRun[n]->isChecked()); });
}

void frmMain::SaveTimers()
{
    for (int n = 0; n < kSlots; ++n)
        saveSlot(n);
}

void frmMain::SaveTimer_Timer()
{
    if (!Timer1->isActive())
        return;
    Guard g{"SaveTimer_Timer", "frmMain"};
    g([&] { SaveTimers(); });
    g([&] { settings().sSet("CustomSeconds", txtCustom->text().trimmed()); });
    g([&] { settings().SaveSettings(settingsPath()); });
}

namespace {
// A flag read leniently: an unreadable value counts as its default.
bool flagOf(const QString& name, bool fallback)
{
    try {
        return cSHAREDSettings::instance().sGet(name, fallback).toBool();
    } catch (const std::exception&) {
        return fallback;
    }
}
}

void frmMain::restoreSlot(int n, double nowDays, QString& expired)
{
    const QString num = QString::number(n);
    if (!flagOf("TimerRunning" + num, false))
        return;
    const OleDate end = settings().sGet("Timer" + num + "End", Value::whole(0)).toDate();
    const QString name = settings().sGet("TimerName" + num, "Timer " + QString::number(n + 1)).toText();
    if (end.days > nowDays) {
        const double remaining = end.days - nowDays;
        const std::int64_t total = std::llround(remaining * 86400.0);
        txtDesc[n]->setText(name);
        setFields(n, {QString::number(total / 86400), QString::number(total % 86400 / 3600),
                      QString::number(total % 3600 / 60), QString::number(total % 60)});
        chkAlarm[n]->setChecked(flagOf("AlarmOn" + num, true));
        chkRun[n]->setChecked(flagOf("Run" + num, false));
        StartTimer(n);
        // The fields hold whole seconds; the countdown still ends at the moment that was stored.
        if (SlotRunning[n])
            SlotEnd[n] = end.days;
        return;
    }
    settings().sSet("TimerRunning" + num, false);
    expired += name + " (" + end.generalForm() + ") \r\n";
}

void frmMain::RestoreTimers()
{
    const double nowDays = now();
    QString expired;
    for (int n = 0; n < kSlots; ++n) {
        // One unreadable slot must not cost the countdowns after it.
        Guard g{"RestoreTimers", "frmMain"};
        g([&] { restoreSlot(n, nowDays, expired); });
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

void frmMain::SetTrayRunning()
{
    TrayIcon->setPixmap(picGreen->pixmap());
    cSHAREDDelay::instance().DoEventss();
    mSHAREDSysTray::instance().changetrayicon(TrayIcon, "Zelvo is running");
}

void frmMain::TrayIcon_MouseMove(TrayHost::Message m)
{
    try {
        switch (m) {
        case TrayHost::Message::LeftDown:
        case TrayHost::Message::LeftDoubleClick:
            show();
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

void frmMain::ExitProgram()
{
    Guard g{"ExitProgram", "frmMain"};
    g([&] { settings().SaveSettings(settingsPath()); });
    const bool running = std::any_of(SlotRunning.begin(), SlotRunning.begin() + kSlots, [](bool r) { return r; });
    if (running) {
        const auto answer = Platform::dialogs().message("You have timers running. Are you sure you want to exit?",
                                                        Dialogs::Buttons::YesNo, kTitle);
        if (answer != Dialogs::Answer::Yes) {
            g([&] { hideWindow(); });
            cSHAREDDelay::instance().DoEventss();
            return;
        }
    }
    g([&] { SaveTimers(); });
    g([&] { Timer1->stop(); });
    g([&] { hide(); });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    g([&] { unloadWindow(vbFormCode); });
    g([&] { runPendingInstaller(); });
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::runPendingInstaller()
{
    if (PendingInstaller.isEmpty())
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

void frmMain::closeEvent(QCloseEvent* event)
{
    // Once unloaded, the program is ending and every close goes ahead.
    if (m_unloaded || unloadWindow(vbFormControlMenu)) {
        event->accept();
        return;
    }
    event->ignore();
}
