#include "diagnostics/cSharedLogging.h"
#include "localisation/cSharedLang.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kEntries = 10000;

QString english(int i) { return QStringLiteral("Message number %1").arg(i, 5, 10, QChar('0')); }

// A language file of 10 000 pairs written in reverse order, so the load has to sort it.
void writeLanguage(const QTemporaryDir& folder)
{
    QDir(folder.path()).mkpath("Languages");
    QFile file(folder.filePath("Languages/big.txt"));
    file.open(QIODevice::WriteOnly);
    QByteArray text = "Big\r\n";
    for (int i = kEntries - 1; i >= 0; --i)
        text += english(i).toUtf8() + "||Nachricht " + QByteArray::number(i) + "\r\n";
    file.write(text);
}
}

// One lookup in a 10 000-entry table, over texts found by bisection and texts not found.
static void BM_GetTranslation10000(benchmark::State& state)
{
    cSharedLogging::instance().setNOLOGGING(true);
    QTemporaryDir folder;
    writeLanguage(folder);
    cSharedLang& lang = cSharedLang::instance();
    lang.OverrideLanguagePath(folder.path());
    lang.LoadAllLanguages();
    lang.LoadLanguage(1);
    if (lang.GetTranslation(english(4321)) != QStringLiteral("Nachricht 4321"))
        state.SkipWithError("table not loaded");

    QStringList texts;
    for (int i = 1; i < kEntries - 1; i += 97)
        texts << english(i) << english(i) + '?';
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lang.GetTranslation(texts[next]));
        next = (next + 1) % texts.size();
    }
    cSharedLang::resetInstance();
}
BENCHMARK(BM_GetTranslation10000);
