#include "timer_board/TimerRow.h"
#include "slot_model/SlotBoard.h"
#include "support/Twips.h"
#include "timer_board/MainLayout.h"
#include "support/cSharedText.h"
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

const QString TimerRow::kStartTip = QStringLiteral("Click START to begin the countdown timer.");
const QString TimerRow::kStopTip = QStringLiteral("Click STOP to stop the countdown timer.");

namespace {
using MainLayout::button;
using MainLayout::field;
using MainLayout::label;

const QColor kGreen(0, 176, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);

void setText(QLineEdit* edit, const QString& text)
{
    // Unchanged texts are left alone: forty rows ten times a second add up.
    if (edit->text() != text)
        edit->setText(text);
}

// The repeat mark is a picture to look at, not a button that nothing can press or reach.
class MarkPicture : public QAccessibleWidget {
public:
    explicit MarkPicture(QToolButton* mark) : QAccessibleWidget(mark, QAccessible::Graphic) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<QToolButton*>(widget())->text() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* markFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEditIconButton") && qobject_cast<QToolButton*>(object))
        return new MarkPicture(static_cast<QToolButton*>(object));
    return nullptr;
}
}

TimerRow::TimerRow(SlotBoard& board, int i, QStyle* smallBoxes, QWidget* parent, TimerRow* previous)
    : QFrame(parent), m_slots(board), m_i(i)
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setGeometry(Twips::rect(135, 135, 3972, 960));
    txtDesc = field(this, "Reminder " + QString::number(i + 1),
                    "This message will be displayed when the timer reaches 0:00:00", Twips::rect(90, 192, 3780, 285), false);
    chkAlarm = new QCheckBox("A", this);
    chkAlarm->setToolTip("Sound an alarm");
    chkAlarm->setGeometry(Twips::rect(2352, 528, 396, 192));
    chkAlarm->setChecked(true);
    chkRun = new QCheckBox("R", this);
    chkRun->setToolTip("Run a file or a web URL");
    chkRun->setGeometry(Twips::rect(2352, 720, 396, 204));
    cmdAt = button(this, "T", "Switch between entering a countdown and a specific time", Twips::rect(2784, 528, 252, 330));
    cmdPause = button(this, "P", "Pause/Restart Timer", Twips::rect(3072, 528, 300, 330));
    cmdStart = button(this, "Start", kStartTip, Twips::rect(3408, 528, 492, 330));
    buildFields();
    buildClockFields();
    for (QWidget* small : std::initializer_list<QWidget*>{chkAlarm, chkRun, optAM, optPM})
        small->setStyle(smallBoxes);
    setTabOrder(previous);
    for (QLineEdit* edit : {txtDesc, txtDays, txtHours, txtMinutes, txtSeconds, txtAtHour, txtAtMin, txtAtSec})
        edit->installEventFilter(this);
    connectEdits();
    buildRepeatChoice();
    connect(cmdStart, &QPushButton::clicked, this, &TimerRow::startClicked);
    connect(cmdPause, &QPushButton::clicked, this, &TimerRow::pauseClicked);
    connect(cmdAt, &QPushButton::clicked, this, &TimerRow::atClicked);
}

void TimerRow::buildFields()
{
    fraCountdown = new QWidget(this);
    fraCountdown->setGeometry(Twips::rect(90, 528 - 15, 2220, 396));
    QWidget* count = fraCountdown;
    txtDays = field(count, "0", "Enter the Days value", Twips::rect(48, 48, 324, 285), true);
    lblCountD = label(count, "d", Twips::rect(432, 84, 150, 200));
    txtHours = field(count, "0", "Enter the hours value", Twips::rect(588, 48, 324, 285), true);
    lblCountH = label(count, "h", Twips::rect(972, 84, 150, 200));
    txtMinutes = field(count, "0", "Enter the Minutes value", Twips::rect(1164, 48, 324, 285), true);
    lblCountM = label(count, "m", Twips::rect(1500, 84, 200, 200));
    txtSeconds = field(count, "00", "Enter the Seconds value", Twips::rect(1740, 48, 360, 285), true);
    lblCountS = label(count, "s", Twips::rect(2124, 96, 96, 200));
}

void TimerRow::buildClockFields()
{
    fraAtSpecific = new QWidget(this);
    fraAtSpecific->setGeometry(Twips::rect(90, 528 - 15, 2172, 396));
    QWidget* at = fraAtSpecific;
    txtAtHour = field(at, "0", "Hour", Twips::rect(48, 48, 300, 300), true);
    lblAtHour = label(at, ":", Twips::rect(348, 96, 150, 200));
    txtAtMin = field(at, "00", "Minute", Twips::rect(528, 48, 348, 300), true);
    lblAtMin = label(at, ":", Twips::rect(876, 96, 150, 200));
    txtAtSec = field(at, "00", "Second", Twips::rect(1056, 48, 360, 285), true);
    optAM = new QRadioButton("am", at);
    optAM->setGeometry(Twips::rect(1584, 0, 540, 192));
    optPM = new QRadioButton("pm", at);
    optPM->setGeometry(Twips::rect(1584, 192, 540, 192));
    // Each row's am/pm pair is a group of its own.
    auto* group = new QButtonGroup(at);
    group->addButton(optAM);
    group->addButton(optPM);
    optPM->setChecked(true);
    fraAtSpecific->hide();
}

// Tab follows the way a row is filled in (the message, the time, then the switches and buttons)
// and goes on to the next row; the rows are made after the bottom strip.
void TimerRow::setTabOrder(TimerRow* previous)
{
    QWidget* const order[] = {previous ? previous->cmdStart : nullptr,
                              txtDesc,  txtDays,  txtHours, txtMinutes, txtSeconds, txtAtHour, txtAtMin, txtAtSec,
                              optAM,    optPM,    chkAlarm, chkRun,     cmdAt,      cmdPause,  cmdStart};
    for (std::size_t k = 1; k < std::size(order); ++k)
        if (order[k - 1])
            QWidget::setTabOrder(order[k - 1], order[k]);
}

// What the user types goes to the slot; what the slot says comes back through draw.
void TimerRow::connectEdits()
{
    const auto edited = [this](auto&& pass) {
        return [this, pass] {
            if (!m_drawing)
                pass();
        };
    };
    connect(txtDesc, &QLineEdit::textChanged, this, edited([this] { m_slots.setMessage(m_i, txtDesc->text()); }));
    const auto fields = edited([this] {
        m_slots.setFields(m_i, {txtDays->text(), txtHours->text(), txtMinutes->text(), txtSeconds->text()});
    });
    for (QLineEdit* edit : {txtDays, txtHours, txtMinutes, txtSeconds})
        connect(edit, &QLineEdit::textChanged, this, fields);
    const auto clockEntry = edited([this] {
        m_slots.setClockEntry(m_i, txtAtHour->text(), txtAtMin->text(), txtAtSec->text(), optAM->isChecked());
    });
    for (QLineEdit* edit : {txtAtHour, txtAtMin, txtAtSec})
        connect(edit, &QLineEdit::textChanged, this, clockEntry);
    connect(optAM, &QRadioButton::toggled, this, clockEntry);
    connect(chkAlarm, &QCheckBox::toggled, this, edited([this] { m_slots.setAlarm(m_i, chkAlarm->isChecked()); }));
    connect(chkRun, &QCheckBox::toggled, this, edited([this] { m_slots.setRun(m_i, chkRun->isChecked()); }));
}

// The repeat mark without a change to the row's layout: set from the Start button's context menu
// (right click, the Menu key or Shift+F10), shown as a picture at the end of the message field,
// which a screen reader hears as "Timer n repeats at each end".
void TimerRow::buildRepeatChoice()
{
    static const bool pictures = (QAccessible::installFactory(markFactory), true);
    Q_UNUSED(pictures);
    m_repeatChoice = new QAction(QStringLiteral("Repeat at each end"), cmdStart);
    m_repeatChoice->setCheckable(true);
    connect(m_repeatChoice, &QAction::triggered, this, [this](bool on) { m_slots.setRepeat(m_i, on); });
    // One menu kept per row: a screen reader's listener holds on to the items of the first one,
    // and one made anew at each opening would be silent from the second.
    cmdStart->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cmdStart, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!m_repeatMenu) {
            m_repeatMenu = new QMenu(cmdStart);
            m_repeatMenu->addAction(m_repeatChoice);
        }
        m_repeatMenu->popup(cmdStart->mapToGlobal(at));
    });
    cmdStart->installEventFilter(this);
}

bool TimerRow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // After a click the press itself places the cursor; select once it has been handled.
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { cSharedText::instance().HighlightText(edit); });
        return false;
    }
    // Shift+F10 opens Start's context menu as the Menu key does.
    if (watched != cmdStart || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
        return false;
    const QPoint centre = cmdStart->rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, cmdStart->mapToGlobal(centre));
    QApplication::sendEvent(cmdStart, &menu);
    return true;
}

void TimerRow::drawFields()
{
    const auto& f = m_slots.entry(m_i).fields;
    const QScopedValueRollback drawing(m_drawing, true);
    setText(txtDays, f.days);
    setText(txtHours, f.hours);
    setText(txtMinutes, f.minutes);
    setText(txtSeconds, f.seconds);
}

void TimerRow::draw()
{
    drawFields();
    const SlotBoard::Entry& e = m_slots.entry(m_i);
    const bool running = m_slots.SlotRunning(m_i);
    const QScopedValueRollback drawing(m_drawing, true);
    setText(txtDesc, e.message);
    setText(txtAtHour, e.atHour);
    setText(txtAtMin, e.atMin);
    setText(txtAtSec, e.atSec);
    if (optAM->isChecked() != e.am)
        (e.am ? optAM : optPM)->setChecked(true);
    chkAlarm->setChecked(e.alarm);
    chkRun->setChecked(e.run);
    const bool clockPanel = e.kind == SlotBoard::Kind::ClockTime;
    if (fraAtSpecific->isHidden() == clockPanel) {
        fraAtSpecific->setVisible(clockPanel);
        fraCountdown->setVisible(!clockPanel);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{txtDays, txtHours, txtMinutes, txtSeconds, cmdAt, chkAlarm, chkRun})
        w->setEnabled(!running);
    cmdStart->setText(running ? "Stop" : "Start");
    cmdStart->setToolTip(running ? kStopTip : kStartTip);
    nameStart(running);
    drawRepeat(e.repeat);
    drawColours();
}

// Green on silver while counting, grey on silver when marked paused, the system's colours when idle.
void TimerRow::drawColours()
{
    QPalette palette = QApplication::palette(txtDesc);
    const bool paused = m_slots.SlotPaused(m_i);
    if (paused || m_slots.SlotRunning(m_i)) {
        palette.setColor(QPalette::Text, paused ? kGrey : kGreen);
        palette.setColor(QPalette::Base, kSilver);
    }
    const QPalette& current = txtDesc->palette();
    if (current.color(QPalette::Text) != palette.color(QPalette::Text)
        || current.color(QPalette::Base) != palette.color(QPalette::Base))
        txtDesc->setPalette(palette);
}

void TimerRow::drawRepeat(bool repeat)
{
    m_repeatChoice->setChecked(repeat);
    // Heard with the field, where the mark is only seen.
    txtDesc->setAccessibleDescription(repeat ? QStringLiteral("Repeats at each end") : QString());
    if (txtDesc->actions().contains(m_repeatMark) == repeat)
        return;
    // Made when first needed: forty pictures nobody sees would cost the start.
    if (!m_repeatMark)
        m_repeatMark = new QAction(QApplication::style()->standardIcon(QStyle::SP_BrowserReload),
                                   QStringLiteral("Timer %1 repeats at each end").arg(m_i + 1), txtDesc);
    // Added and removed: a hidden action still leaves its picture in the field.
    if (repeat)
        txtDesc->addAction(m_repeatMark, QLineEdit::TrailingPosition);
    else
        txtDesc->removeAction(m_repeatMark);
}

void TimerRow::nameStart(bool running)
{
    if (m_named)
        cmdStart->setAccessibleName((running ? "Stop timer " : "Start timer ") + QString::number(m_i + 1));
}

// Given once a screen reader listens: naming seven hundred controls costs nothing at a start nobody
// listens to. The descriptions are the tool tips.
void TimerRow::nameControls()
{
    m_named = true;
    const QString timer = "timer " + QString::number(m_i + 1);
    const QString Timer = "Timer " + QString::number(m_i + 1);
    const std::pair<QWidget*, QString> names[] = {
        {txtDesc, Timer + " message"},       {txtDays, Timer + " days"},
        {txtHours, Timer + " hours"},        {txtMinutes, Timer + " minutes"},
        {txtSeconds, Timer + " seconds"},    {txtAtHour, Timer + " clock hour"},
        {txtAtMin, Timer + " clock minute"}, {txtAtSec, Timer + " clock second"},
        {optAM, Timer + " am"},              {optPM, Timer + " pm"},
        {chkAlarm, "Alarm for " + timer},    {chkRun, "Run a file for " + timer},
        {cmdAt, "Clock time for " + timer},  {cmdPause, "Pause " + timer},
        {cmdStart, (m_slots.SlotRunning(m_i) ? "Stop " : "Start ") + timer},
        {this, Timer},
    };
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(name);
}
