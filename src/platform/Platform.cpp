#include "platform/Platform.h"
#include "platform/CurlInternetControl.h"
#include "platform/DesktopShell.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocalInstanceLock.h"
#include "platform/QtDialogs.h"
#ifdef Q_OS_WIN
#include "platform/windows/WinSoundOut.h"
#else
#include "platform/ModuleSoundOut.h"
#endif
#include "platform/QtTrayHost.h"
#include "platform/SystemAppFacts.h"
#include "platform/SystemClock.h"
#ifdef ZELVO_DBUS
#include "platform/dbus/DBusNotifier.h"
#else
#include "platform/BalloonNotifier.h"
#endif

namespace {
#ifdef ZELVO_DBUS
using DesktopNotifier = DBusNotifier;
#else
using DesktopNotifier = BalloonNotifier;
#endif

struct Seams {
    std::shared_ptr<Clock> clock;
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<Shell> shell;
    std::shared_ptr<AppFacts> facts;
    std::shared_ptr<FileSystem> fileSystem;
    std::shared_ptr<SoundOut> sound;
    std::shared_ptr<TrayHost> tray;
    std::shared_ptr<Notifier> notifier;
    std::shared_ptr<InstanceLock> lock;
    std::function<std::unique_ptr<InternetControl>()> internetFactory;
};

Seams& seams()
{
    static Seams* s = new Seams;  // kept until the process ends
    return *s;
}

template <class Real, class Interface>
Interface& get(std::shared_ptr<Interface>& slot)
{
    if (!slot)
        slot = std::make_shared<Real>();
    return *slot;
}
}

namespace Platform {
Clock& clock() { return get<SystemClock>(seams().clock); }
Dialogs& dialogs() { return get<QtDialogs>(seams().dialogs); }
Shell& shell() { return get<DesktopShell>(seams().shell); }
AppFacts& facts() { return get<SystemAppFacts>(seams().facts); }
FileSystem& fileSystem() { return get<LocalFileSystem>(seams().fileSystem); }
#ifdef Q_OS_WIN
SoundOut& sound() { return get<WinSoundOut>(seams().sound); }
#else
SoundOut& sound() { return get<ModuleSoundOut>(seams().sound); }
#endif
TrayHost& tray() { return get<QtTrayHost>(seams().tray); }
Notifier& notifier() { return get<DesktopNotifier>(seams().notifier); }

InstanceLock& instanceLock()
{
    if (!seams().lock)
        seams().lock = std::make_shared<LocalInstanceLock>(facts().programFolder());
    return *seams().lock;
}

std::unique_ptr<InternetControl> newInternetControl()
{
    if (seams().internetFactory)
        return seams().internetFactory();
    return std::make_unique<CurlInternetControl>();
}

void setClock(std::shared_ptr<Clock> c) { seams().clock = std::move(c); }
void setDialogs(std::shared_ptr<Dialogs> d) { seams().dialogs = std::move(d); }
void setShell(std::shared_ptr<Shell> s) { seams().shell = std::move(s); }
void setFacts(std::shared_ptr<AppFacts> f) { seams().facts = std::move(f); }
void setFileSystem(std::shared_ptr<FileSystem> f) { seams().fileSystem = std::move(f); }
void setSound(std::shared_ptr<SoundOut> s) { seams().sound = std::move(s); }
void setTray(std::shared_ptr<TrayHost> t) { seams().tray = std::move(t); }
void setNotifier(std::shared_ptr<Notifier> n) { seams().notifier = std::move(n); }
void setInstanceLock(std::shared_ptr<InstanceLock> l) { seams().lock = std::move(l); }

void setInternetControlFactory(std::function<std::unique_ptr<InternetControl>()> f)
{
    seams().internetFactory = std::move(f);
}

void reset() { seams() = Seams{}; }
}
