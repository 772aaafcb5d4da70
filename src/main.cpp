#include "command_line/CommandClient.h"
#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/CloseSignals.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "timer_board/frmMain.h"
#include "timer_board/mSHAREDSysTray.h"
#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    // A command for the copy that runs is handed over without loading a window.
    QStringList pending;
    if (const auto status = CommandClient::run(argc, argv, &pending))
        return *status;

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zelvo"));
    app.setQuitOnLastWindowClosed(false);
    if (!pending.isEmpty()) {
        // Another copy came up since the command looked: it gets the command.
        if (Platform::instanceLock().earlierInstanceRunning())
            return CommandClient::forward(Platform::instanceLock(), pending);
    } else if (mSHAREDSysTray::instance().CheckPrevInstance(QStringLiteral("Zelvo"))) {
        // A second copy hands over to the first and ends, reading and writing nothing.
        return 0;
    }

    frmMain main;
    CommandServer commands(main.slotBoard(), main);
    commands.listen(Platform::instanceLock());
    CloseSignals closeSignals;
    QObject::connect(&closeSignals, &CloseSignals::closeRequested, &main,
                     [&main] { main.closeRequested(frmMain::vbAppTaskManager); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                     [&main] { main.closeRequested(frmMain::vbAppWindows); });
    main.Form_Load();
    // The command this start was made for, once the program stands.
    if (!pending.isEmpty() && !main.unloaded())
        CommandClient::print(commands.run(pending, QDir::currentPath()));
    // An exit during start-up found no event loop to end, so none is started.
    const int code = main.unloaded() ? 0 : app.exec();
    // Nothing of the trail is lost at a normal end.
    cSharedLogging::instance().WriteActionsToLog();
    return code;
}
