// The views that follow the pointer: one A-scan picture of the trace under
// the cursor, and one magnifier redraw (plane 7 and its picture) of a
// 512 x 512 window, on the demo survey after a radargram redraw.
//
//   build/bin/tesk_bench_ascan [--benchmark_filter=LUPA]

#include "demo_survey.h"
#include "display/ascan.h"
#include "display/magnifier.h"
#include "display/radargram.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace tesk {
namespace {

ProfileStore& demoStore() {
    static ProfileStore s;
    static bool filled = false;
    if (!filled) {
        demo::fillDemoSurvey(s, demo::defaultParams());
        filled = true;
    }
    return s;
}

// The demo survey drawn once, as the window holds it when the pointer moves.
Radargram& drawnRadargram(int colourMode, int form) {
    static Radargram r;
    ProfileStore& s = demoStore();
    s.viewStart = 0;
    r.loadSettings(s);
    r.settings.colourMode = colourMode;
    r.settings.amplitudeForm = form;
    r.recolour();
    GRAF(r, s, ProcessingSettings{}, ViewState{}.ViewOrigin);
    return r;
}

void aScan(benchmark::State& state, int colourMode, int form, int zeroGainMode) {
    Radargram& r = drawnRadargram(colourMode, form);
    r.settings.zeroGainMode = zeroGainMode;
    const ProfileStore& s = demoStore();
    QImage image;
    ViewState v;
    v.cursorRow = 200;
    int column = 0;
    for (auto _ : state) {
        v.cursorColumn = column;
        column = (column + 37) % VIEW_FRAMES;
        const AScanTrace t = radargramAScanTrace(s, r.raster, v, ReliefDisplay{}, 0);
        const AScanReadouts out = DrawAScan(image, t, r.settings, r.palettes, v.gridColour);
        benchmark::DoNotOptimize(out.panel51.data());
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DrawAScan(benchmark::State& st) {
    aScan(st, 0, form::Amplitude, gainMode::ZeroLevelMode);
}
// The richest legend: derivative form, colour mode 7; gain polyline.
void BM_DrawAScanDerivativeMode7(benchmark::State& st) {
    aScan(st, 7, form::Derivative, gainMode::Gain1);
}

void lupa(benchmark::State& state, int factor, int colourMode) {
    Radargram& r = drawnRadargram(colourMode, form::Amplitude);
    Magnifier m;
    m.factor = factor;
    m.width = m.height = MAX_MAGNIFIER_SIZE;
    QImage image;
    clearMagnifierImage(image);
    ViewState v;
    v.cursorRow = 256;
    int column = 0;
    for (auto _ : state) {
        v.cursorColumn = column;
        column = (column + 37) % VIEW_FRAMES;
        LUPA(image, r.raster, m, v, r.settings, r.palettes);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_LUPA16_512(benchmark::State& st) {
    lupa(st, 16, 0);
}
void BM_LUPA2_512(benchmark::State& st) {
    lupa(st, 2, 0);
}
// The extremum marks walk every column with their state machine.
void BM_LUPA16_512Mode6(benchmark::State& st) {
    lupa(st, 16, 6);
}

BENCHMARK(BM_DrawAScan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawAScanDerivativeMode7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LUPA16_512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LUPA2_512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LUPA16_512Mode6)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tesk
