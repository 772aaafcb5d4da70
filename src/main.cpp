#include "diagnostics/cSharedLogging.h"
#include "timer_board/frmMain.h"
#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zelvo"));
    app.setQuitOnLastWindowClosed(false);
    frmMain main;
    main.Form_Load();
    main.show();
    const int code = app.exec();
    // Nothing of the trail is lost at a normal end.
    cSharedLogging::instance().WriteActionsToLog();
    return code;
}
