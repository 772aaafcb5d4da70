#include "platform/StartMessages.h"
#include <QByteArrayList>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {
QtMessageHandler g_previous = nullptr;
QByteArrayList g_held;

void held(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs("zelvo: no display was found: Zelvo shows its window on a desktop (X11 or Wayland)\n", stderr);
        std::_Exit(1);
    }
    g_held << qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
}
}

namespace StartMessages {

void hold() { g_previous = qInstallMessageHandler(held); }

void release()
{
    qInstallMessageHandler(g_previous);
    for (const QByteArray& line : std::exchange(g_held, {}))
        std::fputs(line.constData(), stderr);
}
}
