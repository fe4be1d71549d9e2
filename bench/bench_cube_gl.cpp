// One 3D redraw with 15 sections (five of each kind, flat and tilted) under
// OpenGL: as the window draws it, the sections as textured surfaces (a
// camera move draws the kept surfaces; a change of the windows or the cursor
// builds their texels and loads them first), and for comparison the point
// cloud of GP4_KUB, 15 x 512 x 512 points at most, replayed through vertex
// arrays and sent in immediate mode (one glColor and one glVertex a point).
// Two volumes: the 30-profile demo survey of bench_volume (500 x 494 nodes
// with data) and a grid whose every node holds data (15 x 512 x 512 points).
//
// The profiles in 3D over the whole time range, whole and as the quick
// picture of a mouse turn.
//
// Needs an OpenGL context, so it runs on a (virtual) X display by hand,
// not under ctest:
//
//   xvfb-run -a -s "-screen 0 1600x900x24" build/bin/tesk_bench_cube_gl

#include "demo_survey.h"
#include "shell/volume/cube_replay.h"
#include "shell/volume/cube_surfaces.h"
#include "volume/cube_modes.h"
#include "volume/plane_slices.h"
#include "volume/volume_build.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace tesk {
namespace {

constexpr int WIDTH = 1467, HEIGHT = 720; // the drawing area of the design window

struct Gl {
    QOffscreenSurface surface;
    QOpenGLContext context;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    QOpenGLFunctions_1_1* f = nullptr;
    Gl() {
        QSurfaceFormat format;
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setDepthBufferSize(24);
        context.setFormat(format);
        if (!context.create()) return;
        surface.setFormat(context.format());
        surface.create();
        if (!context.makeCurrent(&surface)) return;
        f = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(&context);
        fbo = std::make_unique<QOpenGLFramebufferObject>(QSize(WIDTH, HEIGHT),
                                                         QOpenGLFramebufferObject::Depth);
        fbo->bind();
        if (f) f->glEnable(GL_DEPTH_TEST);
    }
};

Gl* theGl = nullptr; // made once the application exists, gone before it

Gl& gl() {
    return *theGl;
}

VolumeGrid& grid() {
    static VolumeGrid g;
    return g;
}

ProfileStore& surveyStore() {
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

void buildSurveyVolume() {
    ProfileStore& s = surveyStore();
    SilentInteraction ui;
    VolumeSettings v;
    v.method = fill_method::AlongY;
    GP_Volume(s, grid(), v, ui);
}

// Every node of every plane holds a code 1 .. 254.
void fillWholeGrid() {
    grid().allocate();
    for (int gx = 0; gx < GRID_NODES; ++gx)
        for (int c = 0; c < GRID_NODES; ++c) {
            uint8_t* row = grid().plane(gx, c);
            for (int gy = 0; gy < GRID_NODES; ++gy)
                row[gy] = uint8_t(1 + (gx + 3 * gy + 5 * c) % 254);
        }
}

// The 15 sections of bench_volume's scene, with every decoration on.
struct Sections {
    DisplayRaster raster;
    SectionImages images;
    SectionList list;
    DisplaySettings settings;
    Palettes palettes;
    CubeScene scene;
    SectionSurfaces surfaces;
    explicit Sections(bool wholeGrid) {
        if (wholeGrid)
            fillWholeGrid();
        else
            buildSurveyVolume();
        ReColor3D(palettes, settings);
        SliceProcessing proc;
        proc.settings = &settings;
        for (int k = 3; k < MAX_SECTIONS; ++k) addOrDeleteSection(list, k % 3, false);
        for (int k = 0; k < MAX_SECTIONS; ++k) {
            SectionEntry& e = list.table[std::size_t(k)];
            e.A = uint16_t(30 * k + 20);
            e.B = uint16_t(k % 2 ? e.A : e.A + 60);
            e.C = uint16_t(k % 4 == 3 ? e.A + 40 : e.A);
            GP4_FLTR(images, k, e, raster, grid(), proc);
        }
        build();
    }
    void build() {
        scene.clear();
        CubeDecorations d;
        d.cursor = d.corners = true;
        GP4_KUB(scene, list, images, CubeWindows{}, d, palettes);
        surfaces.build(list, images, CubeWindows{}, palettes);
    }
};

Sections& sections(bool wholeGrid) {
    static std::unique_ptr<Sections> s[2];
    std::unique_ptr<Sections>& slot = s[wholeGrid ? 1 : 0];
    if (!slot) {
        s[0].reset();
        s[1].reset();
        slot = std::make_unique<Sections>(wholeGrid);
    }
    return *slot;
}

void immediate(QOpenGLFunctions_1_1& f, const CubeScene& scene) {
    for (std::size_t i = 0; i < scene.size(); ++i) {
        const Primitive& p = scene[i];
        if (p.kind == PrimitiveKind::Points)
            f.glPointSize(p.size);
        else
            f.glLineWidth(p.size);
        const GLenum smooth = p.kind == PrimitiveKind::Points ? GL_POINT_SMOOTH : GL_LINE_SMOOTH;
        p.smooth ? f.glEnable(smooth) : f.glDisable(smooth);
        f.glBegin(p.kind == PrimitiveKind::Points      ? GL_POINTS
                  : p.kind == PrimitiveKind::LineStrip ? GL_LINE_STRIP
                                                       : GL_LINES);
        for (const Vertex& v : p.vertices) {
            f.glColor3ub(GLubyte(v.rgba), GLubyte(v.rgba >> 8), GLubyte(v.rgba >> 16));
            f.glVertex3f(v.x, v.y, v.z);
        }
        f.glEnd();
    }
}

enum class Draw { Surfaces, BuildAndSurfaces, Replay, Immediate };

void redraw(benchmark::State& state, bool wholeGrid, Draw how) {
    if (!gl().f) {
        state.SkipWithError("no OpenGL 1.1 context (run under xvfb-run)");
        return;
    }
    QOpenGLFunctions_1_1& f = *gl().f;
    Sections& s = sections(wholeGrid);
    const CubeCamera camera;
    for (auto _ : state) {
        cubePrologue(f, camera, WIDTH);
        switch (how) {
        case Draw::BuildAndSurfaces:
            s.surfaces.build(s.list, s.images, CubeWindows{}, s.palettes);
            [[fallthrough]];
        case Draw::Surfaces:
            s.surfaces.draw(f);
            break;
        case Draw::Replay:
            replayScene(f, s.scene);
            break;
        case Draw::Immediate:
            immediate(f, s.scene);
            break;
        }
        f.glFinish();
    }
    state.counters["cells"] = double(s.surfaces.cellsShown());
    state.counters["points"] = double(s.scene.vertexCount());
}

void BM_Surfaces15SectionsSurvey(benchmark::State& st) {
    redraw(st, false, Draw::Surfaces);
}
void BM_BuildAndSurfaces15SectionsSurvey(benchmark::State& st) {
    redraw(st, false, Draw::BuildAndSurfaces);
}
void BM_PointArrays15SectionsSurvey(benchmark::State& st) {
    redraw(st, false, Draw::Replay);
}
void BM_PointsImmediate15SectionsSurvey(benchmark::State& st) {
    redraw(st, false, Draw::Immediate);
}
void BM_Surfaces15SectionsWholeGrid(benchmark::State& st) {
    redraw(st, true, Draw::Surfaces);
}
void BM_BuildAndSurfaces15SectionsWholeGrid(benchmark::State& st) {
    redraw(st, true, Draw::BuildAndSurfaces);
}
void BM_PointArrays15SectionsWholeGrid(benchmark::State& st) {
    redraw(st, true, Draw::Replay);
}
// The other two views of the same survey at the start camera: the carpet
// of time plane 100 raised by D = 64 (its kept scene replayed), and the
// profiles in 3D over the whole time range streamed from the frames' processed
// copies, as every redraw of that view does.
void BM_CarpetSurvey(benchmark::State& state) {
    if (!gl().f) {
        state.SkipWithError("no OpenGL 1.1 context (run under xvfb-run)");
        return;
    }
    QOpenGLFunctions_1_1& f = *gl().f;
    Sections& s = sections(false);
    SliceProcessing proc;
    proc.settings = &s.settings;
    GP2_FLTR(s.raster, grid(), 100, proc);
    CubeScene scene;
    const SectionParameters p;
    GP2_KUB(scene, s.raster, 64, CubeDecorations{}, p, s.palettes);
    for (auto _ : state) {
        cubePrologue(f, CubeCamera{}, WIDTH);
        replayScene(f, scene);
        f.glFinish();
    }
    state.counters["vertices"] = double(scene.vertexCount());
}

// The profiles in 3D; the argument 1 draws the quick picture of a mouse turn.
void BM_ProfilesSurvey(benchmark::State& state) {
    if (!gl().f) {
        state.SkipWithError("no OpenGL 1.1 context (run under xvfb-run)");
        return;
    }
    QOpenGLFunctions_1_1& f = *gl().f;
    Sections& s = sections(false);
    ProfileStore& store = surveyStore();
    SilentInteraction ui;
    SliceProcessing proc;
    proc.settings = &s.settings;
    GP3_CORD(store, ui);
    GP3_FLTR(store, s.raster, proc, CubeRelief{}, ui);
    GP3_PROF(store, std::vector<bool>(30, true));
    ProfileSceneSettings o;
    if (state.range(0))
        o.timeStride = profilePreviewStride(store, CubeWindows{}, PROFILE_PREVIEW_SEGMENTS);
    for (auto _ : state) {
        cubePrologue(f, CubeCamera{}, WIDTH);
        GLStreamSink sink(f);
        GP3_KUB(sink, store, grid(), CubeWindows{}, CubeDecorations{}, o, s.palettes);
        f.glFinish();
    }
    state.counters["timeStride"] = o.timeStride;
}
BENCHMARK(BM_CarpetSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProfilesSurvey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_Surfaces15SectionsSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildAndSurfaces15SectionsSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PointArrays15SectionsSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PointsImmediate15SectionsSurvey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Surfaces15SectionsWholeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BuildAndSurfaces15SectionsWholeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PointArrays15SectionsWholeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tesk

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    tesk::theGl = new tesk::Gl;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete tesk::theGl;
    return 0;
}
