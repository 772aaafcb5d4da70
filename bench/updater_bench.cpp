#include "diagnostics/cSharedLogging.h"
#include "updater/fSHAREDUpdater.h"
#include <benchmark/benchmark.h>

// The update-information file as the server sends it: version line, download address.
static void BM_ExtractVersionFromWebFile(benchmark::State& state)
{
    cSharedLogging::instance().setNOLOGGING(true);
    const QString data = QStringLiteral("2.14.3b\r\nhttps://updates.example.org/files/ZelvoUpd@@@.exe\r\n");
    UpdateVersion version;
    QString address;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fSHAREDUpdater::ExtractVersionFromWebFile(data, version, address));
        benchmark::DoNotOptimize(address.constData());
    }
    if (version.text() != QStringLiteral("2.14.3b") || !address.endsWith(QStringLiteral("ZelvoUpd2143b.exe")))
        state.SkipWithError("not read as expected");
}
BENCHMARK(BM_ExtractVersionFromWebFile);
