// The settings file loader over any file: what it loads it must save and load back unchanged,
// and every entry must answer under its own name.
#include "FuzzSupport.h"
#include "settings/cSHAREDSettings.h"
#include <QRegularExpression>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    writeFile("Zelvo.ini", QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    cSHAREDSettings::resetInstance();
    cSHAREDSettings& store = cSHAREDSettings::instance();
    store.LoadSettings(path("Zelvo.ini"));

    for (int position = 1; position <= store.SettingsCount(); ++position) {
        const QString name = store.SettingNameByIndex(position);
        require(name.contains(QRegularExpression(QStringLiteral("[^ ]"))), "an entry whose name is only blanks", name);
        require(!name.contains(','), "a name with a comma", name);
        require(store.IsSettingPresent(name) && store.IsSettingPresent(name.toUpper()),
                "an entry does not answer under its own name", name);
    }

    require(store.SaveSettings(path("first.ini")), "the first save failed");
    store.LoadSettings(path("first.ini"));
    require(store.SaveSettings(path("second.ini")), "the second save failed");
    const QByteArray first = readFile("first.ini");
    const QByteArray second = readFile("second.ini");
    require(first == second, "a saved file does not load back as it was",
            QString::fromLatin1(first.toPercentEncoding()) + "\n" + QString::fromLatin1(second.toPercentEncoding()));
    forgetRecords();
    return 0;
}
