#include "timer_board/frmMain.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "support/Conversions.h"
#include "support/Guard.h"
#include "support/TriggerQueue.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include "timer_board/MainLayout.h"
#include "timer_board/RowStyle.h"
#include "timer_board/TimerRow.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/ZelvoApp.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/mSHAREDSysTray.h"
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kTitle = QStringLiteral("Zelvo");

void message(const QString& text) { Platform::dialogs().message(text, Dialogs::Buttons::Ok, kTitle); }
}

frmMain::frmMain(ZelvoApp& app)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_app(app)
{
    setObjectName("frmMain");
    setWindowIcon(QIcon(TrayPictures::green()));
    connect(&slotBoard(), &SlotBoard::slotChanged, this, &frmMain::drawRow);
    connect(&slotBoard(), &SlotBoard::fieldsChanged, this, [this](int i) {
        if (TimerRow* r = builtRow(i))
            r->drawFields();
    });
    // The rows are laid out for an 8-point font (a style sheet would drop it, and costs a tenth
    // of the start-up polishing a thousand widgets).
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    m_rowStyle = new RowStyle;
    m_rowStyle->setParent(this);
    setFixedSize(Twips::px(8088), Twips::px(6264));
    row(0);
    buildBottomStrip();
}

frmMain::~frmMain() = default;

SlotBoard& frmMain::slotBoard() { return m_app.slotBoard(); }

TimerRow* frmMain::row(int i)
{
    if (!builtRow(i))
        buildRow(i);
    return m_rows[i];
}

void frmMain::buildRow(int i)
{
    auto* r = new TimerRow(slotBoard(), i, m_rowStyle, this, i > 0 ? row(i - 1) : nullptr);
    m_rows[i] = r;
    r->hide();
    r->draw();
    m_names.rowBuilt(i);
    if (i >= kSlots)
        return;
    connect(r, &TimerRow::startClicked, this, [this, i] { cmdStart_Click(i); });
    connect(r, &TimerRow::pauseClicked, this, [this, i] { cmdPause_Click(i); });
    connect(r, &TimerRow::atClicked, this, [this, i] { cmdAt_Click(i); });
}

void frmMain::buildBottomStrip()
{
    m_pages = MainLayout::buildStrip(*this);
    for (int k = 0; k < 4; ++k)
        connect(m_pages[k], &QPushButton::clicked, this, [this, k] { optPage_Click(k); });
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

void frmMain::nameControls() { m_names.nameAll(); }

// A row not built yet draws itself from the slot when it is.
void frmMain::drawRow(int i)
{
    if (TimerRow* r = builtRow(i))
        r->draw();
}

// ---- pages -----------------------------------------------------------------------------------

void frmMain::HideAllRows()
{
    for (TimerRow* r : m_rows)
        if (r)
            r->hide();
}

void frmMain::ShowPage(int first)
{
    if (first < 0 || first + 9 >= kRows)
        throw AppError(AppError::SubscriptOutOfRange);
    const int gap = Twips::px(100);
    const QRect anchor = row(0)->geometry();
    row(first)->move(anchor.topLeft());
    row(first)->show();
    for (int k = 1; k <= 9; ++k) {
        const QRect above = row(first + k - 1)->geometry();
        const int left = k < 5 ? anchor.left() : anchor.left() + anchor.width() + gap;
        const int top = k == 5 ? anchor.top() : above.top() + above.height() + gap;
        row(first + k)->move(left, top);
        row(first + k)->show();
    }
}

void frmMain::optPage_Click(int page)
{
    if (page < 0 || page > 3)
        throw AppError(AppError::SubscriptOutOfRange);
    m_pages[page]->setChecked(true);
    HideAllRows();
    ShowPage(10 * page);
}

bool frmMain::slotOnPage(int i) const
{
    const TimerRow* r = builtRow(i);
    return r && r->isVisibleTo(this);
}

// ---- the rows' buttons -----------------------------------------------------------------------

void frmMain::cmdStart_Click(int i)
{
    SlotBoard& board = slotBoard();
    // A failing step is passed over silently, as in the start itself.
    if (board.SlotRunning(i)) {
        Guard::silently([&] { StopTimer(i); });
        return;
    }
    // Refused before the file prompt, so a start that cannot happen changes no stored file.
    if (const auto refusal = board.startRefusal(i)) {
        message(*refusal);
        return;
    }
    if (board.entry(i).run) {
        const QString answer = Platform::dialogs().input("Enter the file to run", kTitle + ' ' + QString::number(i + 1),
                                                         board.entry(i).runFile);
        Guard::silently([&] { board.setRunFile(i, answer); });
    }
    Guard::silently([&] { StartTimer(i); });
}

void frmMain::StartTimer(int i) { slotBoard().startTimer(i); }
void frmMain::StopTimer(int i) { slotBoard().stopTimer(i); }
void frmMain::cmdAt_Click(int i) { slotBoard().toggleAtTime(i); }

void frmMain::cmdPause_Click(int i)
{
    if (slotBoard().SlotPaused(i))
        RestartTimer(i);
    else
        PauseTimer(i);
}

void frmMain::PauseTimer(int i) { slotBoard().pauseTimer(i); }
void frmMain::RestartTimer(int i) { slotBoard().resumeTimer(i); }

// ---- the strip -------------------------------------------------------------------------------

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
    if (slotBoard().startInstant(seconds) < 0)
        message(SlotBoard::kNoFreeSlot);
}

void frmMain::cmdTest_Click()
{
    const auto answer = Platform::dialogs().message("Play the alarm sound?", Dialogs::Buttons::YesNo, kTitle);
    if (answer != Dialogs::Answer::No)
        m_app.playAlarm();
}

void frmMain::cmdCheckUpdate_Click() { m_app.checkNow(); }

void frmMain::cmdAbout_Click()
{
    fSHAREDAbout about(this);
    // Nothing follows its close, so what comes from outside need not wait for it.
    const TriggerQueue::Passive passive;
    about.exec();
}

void frmMain::cmdHide_Click()
{
    hideWindow();
    cSHAREDDelay::instance().DoEventss();
}

void frmMain::cmdExit_Click() { m_app.ExitProgram(); }
void frmMain::mnuQuit_Click() { m_app.ExitProgram(); }

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

void frmMain::closeEvent(QCloseEvent* event)
{
    // Once unloaded, the program is ending and every close goes ahead.
    if (m_app.unloaded() || m_app.unloadWindow(vbFormControlMenu)) {
        event->accept();
        return;
    }
    event->ignore();
}
