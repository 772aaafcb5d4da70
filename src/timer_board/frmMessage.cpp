#include "timer_board/frmMessage.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "slot_model/SlotBoard.h"
#include "support/Twips.h"
#include "support/TriggerQueue.h"
#include "support/cSHAREDDelay.h"
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace {
constexpr int kLongestUnbroken = 16;  // characters; a longer run may break anywhere

// A word too long for a line (an address, say) would be cut at both edges: it may break
// anywhere (a zero-width space between its characters), as the label breaks only between words.
QString breakable(const QString& text)
{
    QString out;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestUnbroken && !c.isLowSurrogate() && !c.isMark())
            out += QChar(0x200B);
        out += c;
    }
    return out;
}

// The keys that open a menu: the Menu key, Shift+F10, Alt+Down and F4.
bool opensMenu(const QKeyEvent* key)
{
    const Qt::KeyboardModifiers m = key->modifiers() & ~Qt::KeypadModifier;
    return (key->key() == Qt::Key_Menu && m == Qt::NoModifier) || (key->key() == Qt::Key_F10 && m == Qt::ShiftModifier)
           || (key->key() == Qt::Key_Down && m == Qt::AltModifier) || (key->key() == Qt::Key_F4 && m == Qt::NoModifier);
}

// A reminder is a notification to a screen reader, which speaks one as it appears, whichever
// window has the keyboard focus (an alert is spoken only once it is active).
QAccessibleInterface* notificationFactory(const QString&, QObject* object)
{
    if (auto* reminder = qobject_cast<frmMessage*>(object))
        return new QAccessibleWidget(reminder, QAccessible::Notification);
    return nullptr;
}
}

frmMessage::frmMessage(const QString& message, const QString& due)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint
                           | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmMessage");
    static const bool notifications = (QAccessible::installFactory(notificationFactory), true);
    Q_UNUSED(notifications);
    setAttribute(Qt::WA_DeleteOnClose);
    // It comes up on top without the keyboard focus: keys typed into another window when it
    // appears stay there, and cannot close it unread.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Zelvo Alert!"));
    setFixedSize(Twips::px(4980), Twips::px(2352));

    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(Twips::rect(45, 45, 4875, 2265));

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);
    lblDue = new QLabel(this);
    lblDue->setObjectName("lblDue");
    lblDue->setAlignment(Qt::AlignCenter);
    lblDue->setTextFormat(Qt::PlainText);
    lblDue->setGeometry(Twips::rect(225, 1635, 4515, 210));
    setMessage(message, due);

    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setGeometry(Twips::rect(1890, 1845, 1185, 330));
    connect(cmdClose, &QPushButton::clicked, this, &frmMessage::cmdClose_Click);
    buildChoices();
    // The order on screen.
    setTabOrder(cmdSnooze, cmdClose);
    setTabOrder(cmdClose, cmdRestart);
    for (QWidget* button : std::initializer_list<QWidget*>{cmdSnooze, cmdClose, cmdRestart})
        button->installEventFilter(this);
    fitButtons();

    Form_Load();
}

// Beside Close, which keeps its place: Snooze on its left, Restart on its right.
void frmMessage::buildChoices()
{
    cmdSnooze = new QToolButton(this);
    cmdSnooze->setObjectName("cmdSnooze");
    cmdSnooze->setText(QStringLiteral("&Snooze"));
    cmdSnooze->setAccessibleName(QStringLiteral("Snooze 5 minutes"));
    cmdSnooze->setToolTip(QStringLiteral("Remind me again in 5 minutes (the arrow offers other times)"));
    cmdSnooze->setPopupMode(QToolButton::MenuButtonPopup);
    cmdSnooze->setFocusPolicy(Qt::StrongFocus);
    cmdSnooze->setGeometry(Twips::rect(450, 1845, 1335, 330));
    auto* times = new QMenu(cmdSnooze);
    const std::pair<const char*, int> choices[] = {{"1 minute", 60},     {"5 minutes", 300},  {"10 minutes", 600},
                                                   {"15 minutes", 900},  {"30 minutes", 1800}, {"1 hour", 3600}};
    for (const auto& [text, seconds] : choices)
        connect(times->addAction(QString::fromLatin1(text)), &QAction::triggered, this,
                [this, seconds = seconds] { emit snoozeChosen(seconds); });
    cmdSnooze->setMenu(times);
    connect(cmdSnooze, &QToolButton::clicked, this, [this] { emit snoozeChosen(SlotBoard::kSnoozeSeconds); });

    cmdRestart = new QPushButton(QStringLiteral("&Restart"), this);
    cmdRestart->setObjectName("cmdRestart");
    cmdRestart->setToolTip(QStringLiteral("Count down again for the same time"));
    cmdRestart->setGeometry(Twips::rect(3180, 1845, 1185, 330));
    connect(cmdRestart, &QPushButton::clicked, this, [this] { emit restartChosen(); });
}

frmMessage::~frmMessage() { withdrawNotice(); }

void frmMessage::closeEvent(QCloseEvent* event)
{
    withdrawNotice();
    QWidget::closeEvent(event);
}

void frmMessage::withdrawNotice()
{
    if (m_notice)
        Platform::notifier().withdraw(std::exchange(m_notice, 0));
}

void frmMessage::notifyDesktop()
{
    if (m_notice)
        return;
    const auto chosen = [self = QPointer<frmMessage>(this)](const QString& key, const QString& token) {
        if (!self)
            return;
        if (key == QLatin1String("snooze"))
            emit self->snoozeChosen(SlotBoard::kSnoozeSeconds);
        else if (key == QLatin1String("restart"))
            emit self->restartChosen();
        else
            TriggerQueue::instance().post("bringToFront", [self, token] {
                if (self)
                    self->bringToFront(token);
            });
    };
    const QList<Notifier::Action> actions{{QStringLiteral("snooze"), QStringLiteral("Snooze 5 minutes")},
                                          {QStringLiteral("restart"), QStringLiteral("Restart")}};
    m_notice = Platform::notifier().post(windowTitle(), Label1->text(), windowIcon().pixmap(32).toImage(), actions, chosen);
}

void frmMessage::bringToFront(const QString& token)
{
    // Where focus stealing is prevented (Wayland), the window comes forward only with the token the
    // notice brought; Qt's Wayland window takes it from the environment when asked to activate. It
    // must not outlive this call, or a file the program opens later would inherit a stale one.
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

void frmMessage::setMessage(const QString& message, const QString& due)
{
    // Never smaller than the buttons' captions in the desktop's font.
    QFont font(QStringLiteral("MS Sans Serif"), std::max(12, QApplication::font().pointSize() + 2));
    font.setBold(true);
    Label1->setFont(font);
    Label1->setGeometry(Twips::rect(225, 540, 4515, 1095));
    Label1->setText(breakable(message));
    lblDue->setText(due);
    setAccessibleName(due.isEmpty() ? message : message + ". " + due);
    lblDue->setVisible(!due.isEmpty());
    fitMessage(message, due.isEmpty() ? Twips::rect(105, 105, 4755, 1710) : Twips::rect(105, 105, 4755, 1530));
}

// A long message is set smaller, down to 8 points, and then given all the room above Close,
// rather than cut off at the label's edge; what still does not fit is in the tool tip.
void frmMessage::fitMessage(const QString& message, const QRect& room)
{
    const auto overflows = [this] { return Label1->heightForWidth(Label1->width()) > Label1->height(); };
    QFont font = Label1->font();
    while (font.pointSize() > 8 && overflows()) {
        font.setPointSize(font.pointSize() - 1);
        Label1->setFont(font);
    }
    if (overflows())
        Label1->setGeometry(room);
    Label1->setToolTip(overflows() ? message : QString());
}

void frmMessage::Form_Load()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmMain")) {
            setWindowIcon(w->windowIcon());
            break;
        }
    placeAmong(0);
}

// In a large desktop font the due note and the buttons grow to their captions (the buttons side
// by side in the middle), and the window with them.
void frmMessage::fitButtons()
{
    const std::initializer_list<QWidget*> row{cmdSnooze, cmdClose, cmdRestart};
    const auto widthOf = [](QWidget* button) { return std::max(button->width(), button->sizeHint().width()); };
    const int dueTaller = std::max(0, lblDue->fontMetrics().height() - lblDue->height());
    int taller = 0;
    bool wider = false;
    for (QWidget* button : row) {
        taller = std::max(taller, button->sizeHint().height() - button->height());
        wider = wider || widthOf(button) > button->width();
    }
    if (!wider && taller <= 0 && dueTaller == 0)
        return;
    taller = std::max(taller, 0);
    lblDue->resize(lblDue->width(), lblDue->height() + dueTaller);
    const int gap = cmdClose->x() - (cmdSnooze->x() + cmdSnooze->width());
    int left = width() / 2;
    for (QWidget* button : row)
        left -= (widthOf(button) + gap) / 2;
    for (QWidget* button : row) {
        button->setGeometry(left, button->y() + dueTaller, widthOf(button), button->height() + taller);
        left += button->width() + gap;
    }
    Shape1->resize(Shape1->width(), Shape1->height() + dueTaller + taller);
    setFixedSize(width(), height() + dueTaller + taller);
}

void frmMessage::placeAmong(int k)
{
    constexpr int kStepTwips = 360;
    constexpr int kSteps = 10;  // then from the centre again
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center() + QPoint(1, 1) * Twips::px(kStepTwips * (k % kSteps)));
}

void frmMessage::cmdClose_Click()
{
    hide();
    cSHAREDDelay::instance().DoEventss();
    close();
}

void frmMessage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        cmdClose_Click();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The menu keys reach the reminder whichever button has the keyboard: the buttons would take
// some of them (the arrows) for themselves.
bool frmMessage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !opensMenu(static_cast<const QKeyEvent*>(event)))
        return QWidget::eventFilter(watched, event);
    cmdSnooze->showMenu();
    return true;
}

void frmMessage::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard)
        cmdSnooze->showMenu();
}

void frmMessage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    cmdClose->setFocus();  // Close has the keyboard once the reminder is clicked or chosen
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}
