#include "timer_board/frmMessage.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

frmMessage::frmMessage(const QString& message)
    : QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName("frmMessage");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Zelvo Alert!"));
    setFixedSize(Twips::px(4980), Twips::px(2352));

    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(Twips::rect(45, 45, 4875, 2265));

    Label1 = new QLabel(message, this);
    Label1->setObjectName("Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("MS Sans Serif"), 12);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setGeometry(Twips::rect(225, 540, 4515, 1095));

    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setGeometry(Twips::rect(1890, 1845, 1185, 330));
    connect(cmdClose, &QPushButton::clicked, this, &frmMessage::cmdClose_Click);

    Form_Load();
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
