#include "diagnostics/cSharedLogging.h"
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zelvo"));
    app.setQuitOnLastWindowClosed(false);
    QLabel placeholder(QStringLiteral("Zelvo"));
    placeholder.show();
    QObject::connect(&placeholder, &QObject::destroyed, &app, &QApplication::quit);
    const int code = app.exec();
    // Nothing of the trail is lost at a normal end.
    cSharedLogging::instance().WriteActionsToLog();
    return code;
}
