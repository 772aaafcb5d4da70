#include "diagnostics/cSharedLogging.h"
#include "settings/cSHAREDSettings.h"
#include "support/OleDate.h"
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
// What the program writes for forty slots that all count down, plus its few other settings.
QByteArray fortySlotFile()
{
    const QString end = OleDate::fromDateTime(QDateTime(QDate(2026, 12, 7), QTime(22, 7, 5))).generalForm();
    QByteArray text = "LASTUPDATECHECK,46300\r\nASKEDABOUTAUTOUPDATES,-1\r\nDISABLEAUTOUPDATECHECK,0\r\n";
    for (int n = 0; n < 40; ++n) {
        const QByteArray num = QByteArray::number(n);
        text += "TIMERRUNNING" + num + ",-1\r\n";
        text += "TIMERNAME" + num + ",Take the bread out of the oven " + num + "\r\n";
        text += "TIMER" + num + "END," + end.toUtf8() + "\r\n";
        text += "ALARMON" + num + ",-1\r\n";
        text += "RUN" + num + ",0\r\n";
        text += "RUNFILE" + num + ",https://example.org/reminder/" + num + "\r\n";
    }
    return text + "CUSTOMSECONDS,900\r\n";
}

// 100 000 lines with distinct names, so every line becomes an entry.
QByteArray hugeFile()
{
    QByteArray text;
    text.reserve(100000 * 32);
    for (int n = 0; n < 100000; ++n)
        text += "SETTING" + QByteArray::number(n) + ",Some value " + QByteArray::number(n * 7) + "\r\n";
    return text;
}

QByteArray content(int which) { return which == 0 ? fortySlotFile() : hugeFile(); }

class SettingsFixture {
public:
    explicit SettingsFixture(int which)
    {
        cSharedLogging::instance().setNOLOGGING(true);
        cSHAREDSettings::resetInstance();
        path = folder.filePath("Zelvo.ini");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(content(which));
    }
    ~SettingsFixture() { cSHAREDSettings::resetInstance(); }

    QTemporaryDir folder;
    QString path;
};

void label(benchmark::State& state, const cSHAREDSettings& store)
{
    state.counters["entries"] = store.SettingsCount();
    state.SetLabel(state.range(0) == 0 ? "40 slots" : "100000 lines");
}
}

// Arg 0: the file forty counting slots make; arg 1: 100 000 lines.
static void BM_LoadSettings(benchmark::State& state)
{
    SettingsFixture fixture(static_cast<int>(state.range(0)));
    cSHAREDSettings& store = cSHAREDSettings::instance();
    for (auto _ : state)
        store.LoadSettings(fixture.path);
    label(state, store);
}
BENCHMARK(BM_LoadSettings)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

static void BM_SaveSettings(benchmark::State& state)
{
    SettingsFixture fixture(static_cast<int>(state.range(0)));
    cSHAREDSettings& store = cSHAREDSettings::instance();
    store.LoadSettings(fixture.path);
    for (auto _ : state) {
        if (!store.SaveSettings(fixture.path))
            state.SkipWithError("save failed");
    }
    label(state, store);
}
BENCHMARK(BM_SaveSettings)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
