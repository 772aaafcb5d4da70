#pragma once
#include <functional>
#include <memory>

class AppFacts;
class Clock;
class Dialogs;
class FileSystem;
class InstanceLock;
class InternetControl;
class Notifier;
class Shell;
class SoundOut;
class TrayHost;

// The one place that knows which implementation of each seam the program runs with.
// Real implementations are created on first use; tests install fakes.
namespace Platform {
Clock& clock();
Dialogs& dialogs();
Shell& shell();
AppFacts& facts();
FileSystem& fileSystem();
SoundOut& sound();
TrayHost& tray();
Notifier& notifier();
// One lock per program folder.
InstanceLock& instanceLock();
// A new transfer control for each owner; throws AppError 339 when none can be made.
std::unique_ptr<InternetControl> newInternetControl();

void setClock(std::shared_ptr<Clock> clock);
void setDialogs(std::shared_ptr<Dialogs> dialogs);
void setShell(std::shared_ptr<Shell> shell);
void setFacts(std::shared_ptr<AppFacts> facts);
void setFileSystem(std::shared_ptr<FileSystem> fileSystem);
void setSound(std::shared_ptr<SoundOut> sound);
void setTray(std::shared_ptr<TrayHost> tray);
void setNotifier(std::shared_ptr<Notifier> notifier);
void setInstanceLock(std::shared_ptr<InstanceLock> lock);
// An empty factory means the real transfer control.
void setInternetControlFactory(std::function<std::unique_ptr<InternetControl>()> factory);
// Back to the real implementations.
void reset();
}
