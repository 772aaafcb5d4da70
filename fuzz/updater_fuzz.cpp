// The update information file and the version rule: any text read, a version that was read
// keeps its numbers when its own text is read again, and no version is newer than itself.
#include "FuzzSupport.h"
#include "support/AnsiText.h"
#include "updater/fSHAREDUpdater.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

namespace {
QString shown(const UpdateVersion& v) { return v.text() + " [" + v.suffix + "]"; }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    const QString response = AnsiText::decode(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    UpdateVersion available;
    QString address;
    const bool read = fSHAREDUpdater::ExtractVersionFromWebFile(response, available, address);
    require(!available.newerThan(available), "a version newer than itself", shown(available));
    if (read) {
        // A suffix may start with digits that glue onto the revision when the text is read again
        // ("03" gives revision 3 and suffix "3"), so only the first two numbers must come back.
        UpdateVersion again;
        const bool readAgain = fSHAREDUpdater::ExtractVersionFromAppVer(available.text(), again);
        if (readAgain)
            require(again.major == available.major && again.minor == available.minor,
                    "a version text reads back other numbers", shown(available) + " / " + shown(again));
        if (available.suffix.isEmpty())
            require(readAgain && again.revision == available.revision && again.suffix.isEmpty(),
                    "a version without suffix reads back otherwise", shown(available) + " / " + shown(again));
        require(!available.newerThan(again) || !again.newerThan(available), "two versions each newer than the other");
    } else {
        require(available.major == 0 && available.minor == 0 && available.revision == 0 && available.suffix.isEmpty(),
                "a failed read left a version", shown(available));
    }
    // The current version given as text goes through the same rule.
    UpdateVersion current;
    fSHAREDUpdater::ExtractVersionFromAppVer(response, current);
    require(!current.newerThan(current), "a version newer than itself", shown(current));
    return 0;
}
