#include "platform/BalloonNotifier.h"
#include "platform/Platform.h"
#include "platform/TrayHost.h"

int BalloonNotifier::post(const QString& summary, const QString& body, const QImage&, const QList<Action>&,
                          Chosen chosen)
{
    Platform::tray().showMessage(summary, body, [chosen = std::move(chosen)] {
        if (chosen)
            chosen(QStringLiteral("default"), QString());
    });
    return ++m_next;
}
