// Redraw of the radargram: fill, filters, zero/gain, painting and overlay of
// 512 frames of the demo survey, with the filter settings operators use, and
// the work per step when walking a 64000-frame survey with "next".
//
//   build/bin/tesk_bench_display [--benchmark_filter=Redraw]

#include "demo_survey.h"
#include "display/radargram.h"
#include "display/view_state.h"

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

// A 64000-frame survey: the demo's frames repeated.
ProfileStore& longStore() {
    static ProfileStore s;
    static bool filled = false;
    if (!filled) {
        const ProfileStore& d = demoStore();
        for (int i = 0; i < MAX_LOADED_FRAME; ++i) s.frame(i).value = d.frame(i % 1200).value;
        s.frameCount = 63999;
        s.finishLoad();
        filled = true;
    }
    return s;
}

void redraw(benchmark::State& state, FilterRow f1, FilterRow f2) {
    ProfileStore& s = demoStore();
    s.viewStart = 0;
    static Radargram r;
    r.loadSettings(s);
    ProcessingSettings p;
    p.filter1 = f1;
    p.filter2 = f2;
    const ViewState v;
    const OverlaySettings o = overlaySettingsFromHeader(s);
    for (auto _ : state) {
        GRAF(r, s, p, v.ViewOrigin);
        DrawView(r.overlay, s, v, o);
        benchmark::DoNotOptimize(r.picture.constBits());
    }
}

void BM_RedrawPlain(benchmark::State& st) {
    redraw(st, {}, {});
}
void BM_RedrawLF1_L5T5(benchmark::State& st) {
    redraw(st, {0, 5, 5, 0}, {});
}
void BM_RedrawLF1_L19T19X19(benchmark::State& st) {
    redraw(st, {0, 19, 19, 19}, {});
}
void BM_RedrawLF2_19Passes(benchmark::State& st) {
    redraw(st, {2, 19, 0, 0}, {});
}
void BM_RedrawHF1AndHF2(benchmark::State& st) {
    redraw(st, {1, 5, 5, 0}, {3, 5, 5, 0});
}
// The heaviest settings: 19 passes of LF 2 on every axis, and both filter
// rows at 19 on every axis.
void BM_RedrawLF2_L19T19X19(benchmark::State& st) {
    redraw(st, {2, 19, 19, 19}, {});
}
void BM_RedrawLF1AndHF2_All19(benchmark::State& st) {
    redraw(st, {0, 19, 19, 19}, {3, 19, 19, 19});
}

// The overlay alone: scales, labels, frame and cursor.
void BM_OverlayOnly(benchmark::State& state) {
    ProfileStore& s = demoStore();
    static Radargram r;
    const ViewState v;
    const OverlaySettings o = overlaySettingsFromHeader(s);
    for (auto _ : state) DrawView(r.overlay, s, v, o);
}

// One "next" through a long survey: the new window start, fill, paint, overlay.
void BM_StepNext64000(benchmark::State& state) {
    ProfileStore& s = longStore();
    static Radargram r;
    r.loadSettings(s);
    const ProcessingSettings p;
    const ViewState v;
    const OverlaySettings o = overlaySettingsFromHeader(s);
    s.viewStart = 0;
    for (auto _ : state) {
        s.viewStart = nextViewStart(s, s.viewStart, 0, {});
        if (s.viewStart >= MAX_VIEW_START) s.viewStart = 0;
        GRAF(r, s, p, v.ViewOrigin);
        DrawView(r.overlay, s, v, o);
    }
}

// For scale: one table lookup over the same bytes the redraw reads
// (553 raster rows of 624 codes).
void BM_PlainLookupPass(benchmark::State& state) {
    std::vector<uint8_t> bytes(553 * 624);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37);
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[std::size_t(i)] = uint8_t(255 - i);
    std::vector<uint8_t> out(bytes.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = table[bytes[i]];
        benchmark::DoNotOptimize(out.data());
    }
}

BENCHMARK(BM_RedrawPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLF1_L5T5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLF1_L19T19X19)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLF2_19Passes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawHF1AndHF2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLF2_L19T19X19)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawLF1AndHF2_All19)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverlayOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepNext64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLookupPass)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tesk
