// Interpretation on the radargram: the live hyperbola and travel-time curve
// while the pointer moves, the velocity scan over a gather, snapping and
// smoothing one boundary along a 64000-frame survey, the boundary overlay of
// a view and the depth section of a view.
//
//   build/bin/tesk_bench_interpretation [--benchmark_filter=Live]

#include "demo_survey.h"
#include "display/amplitude.h"
#include "display/raster_fill.h"
#include "interpretation/boundaries.h"
#include "interpretation/depth_section.h"
#include "interpretation/layer_cells.h"
#include "interpretation/velocity_fit.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace tesk {
namespace {

ProfileStore& store(const demo::DemoParams& p, int which) {
    static std::unique_ptr<ProfileStore> stores[2];
    if (!stores[which]) {
        stores[which] = std::make_unique<ProfileStore>();
        demo::fillDemoSurvey(*stores[which], p);
    }
    return *stores[which];
}

ProfileStore& demoStore() {
    return store(demo::defaultParams(), 0);
}

ProfileStore& gatherStore() {
    demo::DemoParams p = demo::gatherParams();
    p.noise = 3; // a noisy first trace has many extrema to scan
    return store(p, 1);
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

struct Velocity {
    explicit Velocity(ProfileStore& s) : store(s) {
        store.viewStart = 0;
        fillRaster(*raster, store, 0);
        settings = velocitySettingsFromHeader(store.header);
    }
    VelocityContext context() {
        return VelocityContext{store, *raster, view, session, points, settings, storedLevelTable(0),
                               ui};
    }
    ProfileStore& store;
    std::unique_ptr<DisplayRaster> raster = std::make_unique<DisplayRaster>();
    ViewState view;
    VelocitySession session;
    PointTable points;
    VelocitySettings settings;
    SilentInteraction ui;
};

// The pointer moves along a branch of the hyperbola of the demo's stone at
// x = 2.5 m, 11 m deep (apex 220 ns on line 1): fit and repaint Image9.
void BM_LiveHyperbolaFitAndRedraw(benchmark::State& state) {
    Velocity v(demoStore());
    v.settings.snap = true;
    auto c = v.context();
    Image9MouseDown(c, MouseButton::Left, {100, 222});
    QImage image9 = newOverlayImage();
    int step = 0;
    for (auto _ : state) {
        const int x = 120 + 2 * (step++ % 300);
        benchmark::DoNotOptimize(Image9MouseMove(c, {x, 240}));
        paintOverlay(image9, v.session.drawing);
        benchmark::DoNotOptimize(image9.constBits());
    }
}

// The same for the travel-time curves of a gather with three boundaries.
void BM_LiveHodographFitAndRedraw(benchmark::State& state) {
    Velocity v(gatherStore());
    v.settings.method = VelocityMethod::Hodograph;
    for (int k = 1; k <= 3; ++k) v.session.hodographTable.setCell(1, k, "4");
    auto c = v.context();
    FrameRecord& f = v.store.frame(0);
    setBoundaryRow(f, 2, 157);
    setBoundaryRow(f, 3, 222);
    Image9MouseDown(c, MouseButton::Left, {0, 97});
    QImage image9 = newOverlayImage();
    int step = 0;
    for (auto _ : state) {
        const int x = 100 + 2 * (step++ % 150);
        benchmark::DoNotOptimize(Image9MouseMove(c, {x, 105}));
        paintOverlay(image9, v.session.drawing);
        benchmark::DoNotOptimize(image9.constBits());
    }
}

// Method 3 over a noisy 200-frame gather, with the painting of its results.
void BM_VelocityScanOneView(benchmark::State& state) {
    Velocity v(gatherStore());
    v.settings.method = VelocityMethod::Scan;
    auto c = v.context();
    QImage image9 = newOverlayImage();
    std::size_t extrema = 0;
    for (auto _ : state) {
        const VelocityOutcome out = GODOGRAF(c);
        extrema = out.scan.size();
        paintOverlay(image9, v.session.drawing);
        benchmark::DoNotOptimize(image9.constBits());
    }
    state.counters["extrema"] = double(extrema);
}

// Boundary 1 of every frame of a 64000-frame survey snapped to the maximum
// of the first layer's reflection, then smoothed along the survey.
void BM_SnapAndSmoothBoundary64000(benchmark::State& state) {
    ProfileStore& s = longStore();
    for (auto _ : state) {
        state.PauseTiming();
        for (int f = 0; f <= s.frameCount; ++f) setBoundaryRow(s.frame(f), 1, 80);
        state.ResumeTiming();
        snapBoundaryInFrames(s, 1, 0, s.frameCount, Phase::Maximum);
        smoothBoundary(s, 1, false);
        benchmark::DoNotOptimize(s.frame(5000).value[cell::Boundary1]);
    }
}

// ShowBoundaries on a view with seven boundaries: snapping, ordering and
// the repainted Image8.
void BM_ShowBoundariesOneView(benchmark::State& state) {
    ProfileStore& s = longStore();
    s.viewStart = 2000;
    auto raster = std::make_unique<DisplayRaster>();
    fillRaster(*raster, s, s.viewStart);
    BoundarySettings b;
    b.layer = 1;
    b.snap = true;
    QImage image8 = newOverlayImage();
    for (auto _ : state) {
        for (int i = 0; i < VIEW_FRAMES; ++i)
            for (int k = 1; k <= BOUNDARIES; ++k)
                setBoundaryRow(s.frame(s.viewStart + i), k, 80 + 60 * (k - 1));
        const OverlayDrawing d = ShowBoundaries(s, *raster, b);
        paintOverlay(image8, d);
        benchmark::DoNotOptimize(image8.constBits());
    }
}

// The depth section of one view with three layers of different velocities:
// refill of the raster, conversion of its 553 rows and the repainted Image5.
void BM_DepthSectionRedraw(benchmark::State& state) {
    ProfileStore& s = demoStore();
    s.viewStart = 0;
    for (int f = 0; f < 1240; ++f) {
        FrameRecord& fr = s.frame(f);
        setBoundaryRow(fr, 1, 80);
        setBoundaryRow(fr, 2, 180);
        setBoundaryRow(fr, 3, 330);
        setLayerCode(fr, 1, 700);
        setLayerCode(fr, 2, 350);
        setLayerCode(fr, 3, 500);
        setLayerCode(fr, 8, 1000);
    }
    auto raster = std::make_unique<DisplayRaster>();
    DepthSectionSettings settings = depthSectionSettings(s.header, 500);
    for (int k = 1; k <= LAYERS; ++k) settings.colours[std::size_t(k)] = 0x102030u * uint32_t(k);
    QImage image5 = newOverlayImage();
    for (auto _ : state) {
        fillRaster(*raster, s, s.viewStart);
        ShowLayers(*raster, image5, settings);
        benchmark::DoNotOptimize(image5.constBits());
    }
}

BENCHMARK(BM_LiveHyperbolaFitAndRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveHodographFitAndRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelocityScanOneView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapAndSmoothBoundary64000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowBoundariesOneView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DepthSectionRedraw)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tesk
