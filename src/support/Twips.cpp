#include "support/Twips.h"
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
double dpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double logical = screen ? screen->logicalDotsPerInch() : 96.0;
    return logical > 0 ? logical : 96.0;
}
}

namespace Twips {
int px(int twips) { return static_cast<int>(std::lround(twips * dpi() / 1440.0)); }
QRect rect(int left, int top, int width, int height) { return QRect(px(left), px(top), px(width), px(height)); }
int toTwips(int pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi())); }
}
