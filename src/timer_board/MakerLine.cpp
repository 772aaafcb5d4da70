#include "timer_board/MakerLine.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

QString makerLine()
{
    return QStringLiteral("Zelvo Software \u00A9 ") + QString::number(Platform::clock().now().date().year());
}
