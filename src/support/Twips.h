#pragma once
#include <QRect>

// Window geometry is designed in twips (1/1440 inch); 15 twips are one pixel at 96 dpi.
namespace Twips {
int px(int twips);
QRect rect(int left, int top, int width, int height);
int toTwips(int pixels);
}
