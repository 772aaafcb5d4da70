#include "timer_board/TrayPictures.h"
#include <QPainter>

namespace {
// A small clock face: coloured rim, white dial, two hands.
QPixmap clockFace(const QColor& rim)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(QRectF(1, 1, 30, 30));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 20, 20));
    p.setPen(QPen(QColor(40, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 9));
    p.drawLine(QPointF(16, 16), QPointF(21, 19));
    return pixmap;
}
}

namespace TrayPictures {
QPixmap red() { return clockFace(QColor(200, 30, 30)); }
QPixmap green() { return clockFace(QColor(20, 160, 40)); }
QPixmap amber() { return clockFace(QColor(240, 160, 0)); }
}
