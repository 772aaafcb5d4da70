#include "command_line/CommandClient.h"
#include "command_line/CommandServer.h"
#include "diagnostics/cSharedLogging.h"
#include "platform/CloseSignals.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "platform/StartMessages.h"
#include "timer_board/ZelvoApp.h"
#include "timer_board/mSHAREDSysTray.h"
#include <QApplication>

int main(int argc, char* argv[])
{
    // A command is handed to the copy that runs (started in the background when none does).
    if (const auto status = CommandClient::run(argc, argv))
        return *status;

    StartMessages::hold();
    QApplication app(argc, argv);
    StartMessages::release();
    app.setApplicationName(QStringLiteral("Zelvo"));
    app.setQuitOnLastWindowClosed(false);
    // A second copy hands over to the first and ends, reading and writing nothing.
    if (mSHAREDSysTray::instance().CheckPrevInstance(QStringLiteral("Zelvo")))
        return 0;

    ZelvoApp main;
    CommandServer commands(main.slotBoard(), main);
    commands.listen(Platform::instanceLock());
    CloseSignals closeSignals;
    QObject::connect(&closeSignals, &CloseSignals::closeRequested, &main,
                     [&main] { main.closeRequested(frmMain::vbAppTaskManager); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                     [&main] { main.closeRequested(frmMain::vbAppWindows); });
    main.Form_Load();
    // An exit during start-up found no event loop to end, so none is started.
    const int code = main.unloaded() ? 0 : app.exec();
    // Nothing of the trail is lost at a normal end.
    cSharedLogging::instance().WriteActionsToLog();
    // The lock and the channel's socket go with a clean end.
    Platform::instanceLock().release();
    return code;
}
