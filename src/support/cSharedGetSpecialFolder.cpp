#include "support/cSharedGetSpecialFolder.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "support/Guard.h"
#include "support/cSharedFileSubs.h"

cSharedGetSpecialFolder& cSharedGetSpecialFolder::instance()
{
    static cSharedGetSpecialFolder* folders = new cSharedGetSpecialFolder;
    return *folders;
}

QString cSharedGetSpecialFolder::SystemTempFolder(QWidget*)
{
    QString folder;
    Guard g{"SystemTempFolder", "cGetSpecialFolder"};
    g([&] {
        folder = Platform::facts().tempFolder();
        const int nul = folder.indexOf(QChar(0));
        if (nul >= 0)
            folder.truncate(nul);
        while (folder.endsWith(' '))
            folder.chop(1);
        folder = cSharedFileSubs::instance().AddSlashIfMissing(folder);
    });
    return folder;
}
