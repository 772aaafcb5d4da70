#include "timer_board/frmMessage.h"
#include "platform/Notifier.h"
#include "platform/Platform.h"
#include "support/Twips.h"
#include "support/TriggerQueue.h"
#include "support/cSHAREDDelay.h"
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <utility>

namespace {
// A reminder is an alert to a screen reader, which then speaks it as it opens.
QAccessibleInterface* alertFactory(const QString&, QObject* object)
{
    if (auto* reminder = qobject_cast<frmMessage*>(object))
        return new QAccessibleWidget(reminder, QAccessible::AlertMessage);
    return nullptr;
}
}

frmMessage::frmMessage(const QString& message, const QString& due)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName("frmMessage");
    static const bool alerts = (QAccessible::installFactory(alertFactory), true);
    Q_UNUSED(alerts);
    setAttribute(Qt::WA_DeleteOnClose);
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

    Form_Load();
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
        if (key == QLatin1String("default"))
            TriggerQueue::instance().post("bringToFront", [self, token] {
                if (self)
                    self->bringToFront(token);
            });
    };
    m_notice = Platform::notifier().post(windowTitle(), Label1->text(), windowIcon().pixmap(32).toImage(), {}, chosen);
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
    QFont font(QStringLiteral("MS Sans Serif"), 12);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setGeometry(Twips::rect(225, 540, 4515, 1095));
    Label1->setText(message);
    lblDue->setText(due);
    setAccessibleName(due.isEmpty() ? message : message + ". " + due);
    lblDue->setVisible(!due.isEmpty());
    fitMessage(due.isEmpty() ? Twips::rect(105, 105, 4755, 1710) : Twips::rect(105, 105, 4755, 1530));
}

// A long message is set smaller, down to 8 points, and then given all the room above Close,
// rather than cut off at the label's edge; what still does not fit is in the tool tip.
void frmMessage::fitMessage(const QRect& room)
{
    const auto overflows = [this] { return Label1->heightForWidth(Label1->width()) > Label1->height(); };
    QFont font = Label1->font();
    while (font.pointSize() > 8 && overflows()) {
        font.setPointSize(font.pointSize() - 1);
        Label1->setFont(font);
    }
    if (overflows())
        Label1->setGeometry(room);
    Label1->setToolTip(overflows() ? Label1->text() : QString());
}

void frmMessage::Form_Load()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmMain")) {
            setWindowIcon(w->windowIcon());
            break;
        }
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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

void frmMessage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    // Qt's bridge drops the alert event on Linux; what a screen reader speaks is the window that
    // becomes active, with its name (the message), and the control that takes the focus.
    activateWindow();
}
