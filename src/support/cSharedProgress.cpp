#include "support/cSharedProgress.h"
#include "support/Guard.h"
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {
QPixmap canvasOf(QLabel* picture, bool clear, const QColor& background)
{
    const QSize size = picture->size().expandedTo(QSize(1, 1));
    QPixmap pixmap = picture->pixmap();
    if (clear || pixmap.size() != size) {
        pixmap = QPixmap(size);
        pixmap.fill(background);
    }
    return pixmap;
}
}

cSharedProgress& cSharedProgress::instance()
{
    static cSharedProgress* progress = new cSharedProgress;
    return *progress;
}

void cSharedProgress::ShowProgressString(QLabel* picture, double current, double maximum, const QString& text,
                                         const QColor& fill, const QColor& background)
{
    Guard g{"ShowProgressString", "modProgressIndicator"};
    g([&] {
        if (!picture)
            throw AppError(AppError::ObjectVariableNotSet);
        const double share = maximum > 0 ? std::clamp(current / maximum, 0.0, 1.0) : 0.0;
        QPixmap pixmap = canvasOf(picture, true, background);
        QPainter painter(&pixmap);
        painter.fillRect(QRect(0, 0, static_cast<int>(std::lround(pixmap.width() * share)), pixmap.height()), fill);
        const QString shown = text.isEmpty() ? QString::number(std::lround(share * 100)) + '%' : text;
        painter.setPen(Qt::black);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, shown);
        painter.end();
        picture->setPixmap(pixmap);
    });
}

void cSharedProgress::PrintCentered(QLabel* picture, const QString& text, bool clearFirst, const QColor& textColour,
                                    const QColor& background)
{
    Guard g{"PrintCentered", "modProgressIndicator"};
    g([&] {
        if (!picture)
            throw AppError(AppError::ObjectVariableNotSet);
        QPixmap pixmap = canvasOf(picture, clearFirst, background);
        QPainter painter(&pixmap);
        painter.setPen(textColour);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
        painter.end();
        picture->setPixmap(pixmap);
    });
}
