#include "diagnostics/cSharedLogging.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "settings/cSHAREDSettings.h"
#include "timer_board/TimerRow.h"
#include "timer_board/ZelvoApp.h"
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <memory>

namespace {
// A clock that moves one second at every reading, so every tick rewrites every seconds field.
class SteppingClock : public Clock {
public:
    QDateTime now() const override { return m_now = m_now.addSecs(1); }
    std::int64_t bootMs() const override { return m_boot += 1000; }
    std::int64_t utcMs() const override { return m_now.toMSecsSinceEpoch(); }
    double secondsSinceMidnight() const override { return m_now.time().msecsSinceStartOfDay() / 1000.0; }
    std::uint32_t tickCount() const override { return 0; }
    void sleepMs(int) override {}

private:
    mutable QDateTime m_now = QDateTime(QDate(2026, 12, 7), QTime(12, 0));
    mutable std::int64_t m_boot = 0;
};

void startForty(frmMain& window)
{
    window.app().Form_Load();
    for (int i = 0; i < frmMain::kSlots; ++i) {
        // Far enough ahead for millions of rounds of a clock that moves a second at each reading.
        window.row(i)->txtDays->setText("1000");
        window.row(i)->txtHours->setText(QString::number(i % 24));
        window.StartTimer(i);
    }
}

void prepare()
{
    cSharedLogging::instance().setNOLOGGING(true);
    cSHAREDSettings::resetInstance();
}
}

// One tick with all forty slots counting, as ticks mostly are: the shown second has not changed.
static void BM_TickFortySlotsUnchanged(benchmark::State& state)
{
    prepare();
    ZelvoApp program;
    frmMain& window = program.window();
    startForty(window);
    for (auto _ : state)
        window.app().Timer1_Timer();
}
BENCHMARK(BM_TickFortySlotsUnchanged)->Unit(benchmark::kMicrosecond);

// One tick in which every slot's seconds field changes.
static void BM_TickFortySlotsRewritten(benchmark::State& state)
{
    prepare();
    ZelvoApp program;
    frmMain& window = program.window();
    startForty(window);
    Platform::setClock(std::make_shared<SteppingClock>());
    for (auto _ : state)
        window.app().Timer1_Timer();
    Platform::reset();
}
BENCHMARK(BM_TickFortySlotsRewritten)->Unit(benchmark::kMicrosecond);
