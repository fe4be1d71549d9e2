// The volume on a survey of 30 parallel profiles of 1000 frames each (5 cm
// frame step, 170 cm between the lines): a 500 x 494 node grid at 10 cm.
// Builds with every fill method (gap limit on, D = 200 cm: R = 21 nodes, and
// for the two nearest-profile methods also without it), one X-Y slice
// redraw, and the vertex arrays of a 15-section 3D scene.
//
//   build/bin/tesk_bench_volume [--benchmark_filter=Build]

#include "demo_survey.h"
#include "volume/cube_modes.h"
#include "volume/plane_slices.h"
#include "volume/volume_build.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace tesk {
namespace {

ProfileStore& survey() {
    static ProfileStore s;
    static bool filled = false;
    if (!filled) {
        demo::DemoParams p = demo::defaultParams();
        p.profiles = 30;
        p.framesPerProfile = 1000;
        p.lineSpacing = 170;
        demo::fillDemoSurvey(s, p);
        filled = true;
    }
    return s;
}

VolumeGrid& grid() {
    static VolumeGrid g;
    return g;
}

void buildWith(benchmark::State& state, int method, bool limited) {
    ProfileStore& s = survey();
    VolumeSettings v;
    v.method = method;
    v.gapLimited = limited;
    v.distanceItem = 19; // 200 cm
    SilentInteraction ui;
    for (auto _ : state) {
        if (GP_Volume(s, grid(), v, ui) != BuildResult::Built) state.SkipWithError("not built");
        benchmark::DoNotOptimize(grid().plane(100, 100));
    }
    state.counters["gxMax"] = grid().info.gxMax;
    state.counters["gyMax"] = grid().info.gyMax;
}

void BM_BuildAlongX(benchmark::State& st) {
    buildWith(st, fill_method::AlongX, true);
}
void BM_BuildAlongY(benchmark::State& st) {
    buildWith(st, fill_method::AlongY, true);
}
void BM_BuildAlongXY(benchmark::State& st) {
    buildWith(st, fill_method::AlongXY, true);
}
void BM_BuildVector(benchmark::State& st) {
    buildWith(st, fill_method::Vector, true);
}
void BM_BuildRing(benchmark::State& st) {
    buildWith(st, fill_method::Ring, true);
}
void BM_BuildVectorNoLimit(benchmark::State& st) {
    buildWith(st, fill_method::Vector, false);
}
void BM_BuildRingNoLimit(benchmark::State& st) {
    buildWith(st, fill_method::Ring, false);
}

// One X-Y slice redraw: the plane cut from the volume, processed (no filter,
// default zero/gain) and painted into Image2.
void BM_SliceXYRedraw(benchmark::State& state) {
    SilentInteraction ui;
    VolumeSettings v;
    v.method = fill_method::AlongY;
    if (GP_Volume(survey(), grid(), v, ui) != BuildResult::Built) state.SkipWithError("not built");
    static DisplayRaster raster;
    static SliceImages images;
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    SectionParameters p;
    p.X.fill(250);
    p.T.fill(120);
    p.Y.fill(250);
    using namespace slice_step;
    for (auto _ : state) {
        runSliceSteps(XY | Image2, raster, images, grid(), p, proc, palettes);
        benchmark::DoNotOptimize(images.image2.constBits());
    }
}
// The same with a tilted plane and both filters at L = T = 5.
void BM_SliceXYRedrawTiltedFiltered(benchmark::State& state) {
    SilentInteraction ui;
    VolumeSettings v;
    v.method = fill_method::AlongY;
    if (GP_Volume(survey(), grid(), v, ui) != BuildResult::Built) state.SkipWithError("not built");
    static DisplayRaster raster;
    static SliceImages images;
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    proc.filter1 = FilterRow{0, 5, 5, 0};
    proc.filter2 = FilterRow{1, 5, 5, 0};
    SectionParameters p;
    p.X.fill(250);
    p.T = {100, 300, 100, 200};
    p.Y.fill(250);
    using namespace slice_step;
    for (auto _ : state) {
        runSliceSteps(XY | Image2, raster, images, grid(), p, proc, palettes);
        benchmark::DoNotOptimize(images.image2.constBits());
    }
}
// The vertex arrays of a 3D-section scene with 15 sections (five of each
// kind, flat and tilted), every cell passing the default windows: the
// point cloud the renderer replays. The section images are built first.
void BM_SectionSceneFifteen(benchmark::State& state) {
    SilentInteraction ui;
    VolumeSettings v;
    v.method = fill_method::AlongY;
    if (GP_Volume(survey(), grid(), v, ui) != BuildResult::Built) state.SkipWithError("not built");
    static DisplayRaster raster;
    static SectionImages images;
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    SectionList list;
    for (int k = 3; k < MAX_SECTIONS; ++k) addOrDeleteSection(list, k % 3, false);
    for (int k = 0; k < MAX_SECTIONS; ++k) {
        SectionEntry& e = list.table[std::size_t(k)];
        e.A = uint16_t(30 * k + 20);
        e.B = uint16_t(k % 2 ? e.A : e.A + 60);
        e.C = uint16_t(k % 4 == 3 ? e.A + 40 : e.A);
        GP4_FLTR(images, k, e, raster, grid(), proc);
    }
    CubeScene scene;
    const CubeWindows windows;
    CubeDecorations decorations;
    decorations.cursor = decorations.corners = true;
    for (auto _ : state) {
        scene.clear();
        GP4_KUB(scene, list, images, windows, decorations, palettes);
        benchmark::DoNotOptimize(scene.vertexCount());
    }
    state.counters["vertices"] = double(scene.vertexCount());
}
BENCHMARK(BM_SectionSceneFifteen)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SliceXYRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliceXYRedrawTiltedFiltered)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_BuildAlongX)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildAlongY)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildAlongXY)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildVector)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildRing)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildVectorNoLimit)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_BuildRingNoLimit)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
} // namespace tesk

BENCHMARK_MAIN();
