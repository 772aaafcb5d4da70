#include "timer_board/frmSplash.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "platform/AppError.h"
#include "support/Guard.h"
#include "support/Twips.h"
#include "support/cSHAREDDelay.h"
#include "support/cSharedFileSubs.h"
#include "timer_board/MakerLine.h"
#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QScreen>

namespace {
QLabel* overlay(QWidget* parent, int pointSize, bool bold)
{
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    // Readable on the picture and on the plain window alike.
    label->setStyleSheet("color: white; background: rgba(0, 0, 0, 60); padding: 1px 4px;");
    return label;
}
}

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmSplash");
    // Not "Zelvo": a later copy looks for the main window by that title.
    setWindowTitle(QStringLiteral("Zelvo is starting"));
    setStyleSheet("frmSplash { background: rgb(40, 80, 150); }");
    setAttribute(Qt::WA_StyledBackground);
    resize(Twips::px(4500), Twips::px(2400));
    picture = new QLabel(this);
    lblTitle = overlay(this, 14, true);
    lblCopyright = overlay(this, 9, false);
    lblstatus = overlay(this, 9, false);
    Form_Load();
}

void frmSplash::Form_Load()
{
    Guard g{"form_load", "frmSplash2"};
    g([&] {
        const QString file = cSharedFileSubs::instance().RemoveSlashFromEnd(Platform::facts().assetFolder())
                             + cSharedFileSubs::separator() + "splash.png";
        QFile png(file);
        if (!png.open(QIODevice::ReadOnly))
            throw AppError(AppError::FileNotFound);
        // Read as PNG without sniffing: sniffing loads every image plugin (SVG, JPEG, GIF, ICO).
        QImageReader reader(&png, "png");
        reader.setAutoDetectImageFormat(false);
        const QPixmap pixmap = QPixmap::fromImage(reader.read());
        if (pixmap.isNull())
            throw AppError(AppError::FileNotFound);
        picture->setPixmap(pixmap);
        picture->resize(pixmap.size());
        resize(pixmap.size());
    });
    g([&] {
        lblTitle->setText("V:" + QString::number(Platform::facts().versionMajor()) + '.'
                          + QString::number(Platform::facts().versionMinor()) + '.'
                          + QString::number(Platform::facts().versionRevision()));
        lblTitle->adjustSize();
        lblTitle->move(width() / 2 - lblTitle->width() / 2 - Twips::px(100), Twips::px(100));
    });
    g([&] {
        lblCopyright->setText(makerLine());
        lblCopyright->adjustSize();
        lblCopyright->move(Twips::px(150), height() / 2 - lblCopyright->height() / 2);
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
    g([&] { setStatus(lblstatus->text()); });
    g([&] {
        if (const QScreen* screen = QApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    });
    g([&] { cSHAREDDelay::instance().DoEventss(); });
}

void frmSplash::setStatus(const QString& text)
{
    lblstatus->setText(text);
    lblstatus->setVisible(!text.isEmpty());
    lblstatus->adjustSize();
    lblstatus->move((width() - lblstatus->width()) / 2 - Twips::px(50), height() - lblstatus->height() - Twips::px(50));
}
