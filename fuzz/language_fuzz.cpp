// The language file loader over any file in a "Languages" folder: listing, loading, looking up
// every text of the file, going back to English and loading again.
#include "FuzzSupport.h"
#include "localisation/cSharedLang.h"
#include <QDir>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::init();
    QDir(FuzzSupport::programFolder()).mkpath("Languages");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace FuzzSupport;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    writeFile("Languages/Fuzzed.txt", bytes);
    cSharedLang::resetInstance();
    cSharedLang& lang = cSharedLang::instance();
    lang.LoadAllLanguages();
    require(lang.LanguageCount() == 1, "the one language file is not listed");
    lang.LoadLanguage(1);
    require(lang.CurrentLanguage() == lang.LanguageTitle(1), "the loaded language is not the listed title",
            lang.CurrentLanguage() + " / " + lang.LanguageTitle(1));

    // Every piece of every line, as a window might ask for it.
    const QString text = QString::fromUtf8(bytes);
    for (const QString& line : text.split(QChar('\n'))) {
        for (const QString& piece : line.split(QStringLiteral("||"))) {
            lang.GetTranslation(piece);
            lang.GetTranslation(piece.trimmed());
        }
    }
    lang.RevertToEnglish();
    require(lang.CurrentLanguage() == QLatin1String("English"), "English is not back");
    for (const QString& line : text.split(QChar('\n')))
        lang.GetTranslation(line.trimmed());
    lang.LoadLanguage(1);
    lang.LoadLanguage(0);
    forgetRecords();
    return 0;
}
