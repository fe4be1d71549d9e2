// The 3D cube view without a rendering context: the camera through the
// projection the renderers set up, the mouse turns, the panel's rules, and
// the primitives of each mode at known places.

#include "volume/cube_modes.h"
#include "volume/panel_3d.h"
#include "volume_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tesk {
namespace {

using testing::newStore;
using testing::placeProfile;

constexpr int W = 800;

struct Span {
    double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
};
Span cubeSpan(const CubeCamera& c) {
    Span s;
    for (int x = -1; x <= 1; x += 2)
        for (int y = -1; y <= 1; y += 2)
            for (int z = -1; z <= 1; z += 2) {
                const WindowPoint p = projectToWindow(c, x, y, z, W);
                s.left = std::min(s.left, p.x);
                s.right = std::max(s.right, p.x);
                s.bottom = std::min(s.bottom, p.y);
                s.top = std::max(s.top, p.y);
            }
    return s;
}

// --- camera ---------------------------------------------------------------------------

// The start camera: scale 0.25 makes the cube half a unit of the 2-unit
// viewport wide; turned 10 degrees about y its width grows by cos 10 + sin
// 10 = 1.158, to 29 % of the viewport; shifted by -0.5 its centre lies a
// quarter of the viewport above the bottom edge, below the middle.
TEST(CubeCamera, StartCameraShowsAQuarterSizedCubeBelowTheCentre) {
    const Panel3D panel;
    const CubeCamera c = panel.camera();
    EXPECT_EQ(c.angleX, 10);
    EXPECT_EQ(c.angleY, 10);
    EXPECT_EQ(c.angleZ, 0);
    EXPECT_EQ(c.scale, 0.25);
    EXPECT_EQ(c.shiftX, 0);
    EXPECT_EQ(c.shiftY, -0.5);
    const Span s = cubeSpan(c);
    const double deg = std::numbers::pi / 180;
    EXPECT_NEAR((s.right - s.left) / W, 0.25 * (std::cos(10 * deg) + std::sin(10 * deg)), 1e-9);
    const WindowPoint centre = projectToWindow(c, 0, 0, 0, W);
    EXPECT_NEAR(centre.x, W / 2.0, 1e-9);
    EXPECT_NEAR(centre.y, W / 4.0, 1e-9);
    // The front face's centre (0, 0, 1): turned about y by 10 degrees it
    // moves right by sin 10; then about x it moves down by cos 10 sin 10.
    const WindowPoint front = projectToWindow(c, 0, 0, 1, W);
    EXPECT_NEAR(front.x, W / 2.0 + 0.25 * std::sin(10 * deg) * W / 2, 1e-9);
    EXPECT_NEAR(front.y, W / 4.0 - 0.25 * std::cos(10 * deg) * std::sin(10 * deg) * W / 2, 1e-9);
}

TEST(CubeCamera, ScaleBarEnds) {
    Panel3D panel;
    SectionParameters p;
    SectionList l;
    panel.change(Bar::M, 0, cube_view::Sections, false, false, p, l); // limited to 1
    EXPECT_EQ(panel.camera().scale, 1.0 / 64);
    const Span small = cubeSpan(panel.camera());
    EXPECT_LT(small.right - small.left, W / 30.0);
    panel.change(Bar::M, 128, cube_view::Sections, false, false, p, l);
    EXPECT_EQ(panel.camera().scale, 2.0);
    const Span big = cubeSpan(panel.camera());
    EXPECT_LT(big.left, 0);
    EXPECT_GT(big.right, W);
    // Shift bars: G at 512 moves the cube's centre to the right edge.
    panel.captionClick(Bar::M, cube_view::Sections, false, false, p, l);
    panel.change(Bar::G, 512, cube_view::Sections, false, false, p, l);
    EXPECT_NEAR(projectToWindow(panel.camera(), 0, 0, 0, W).x, W, 1e-9);
}

// --- mouse ----------------------------------------------------------------------------

TEST(CubeMouse, TurnsAndShiftsByRoundedQuarterSteps) {
    Panel3D panel;
    CubeMouse m;
    EXPECT_EQ(cubeMouseDown(m, panel, MouseButton::Left, 100, 100), 3);
    cubeMouseMove(m, panel, 140, 100); // 40 / 4 = 10
    EXPECT_EQ(panel.position(Bar::T), 200);
    cubeMouseMove(m, panel, 141, 100); // Round(0.25) = 0
    cubeMouseMove(m, panel, 143, 100); // Round(0.5) = 0: the stored point follows
    EXPECT_EQ(panel.position(Bar::T), 200);
    cubeMouseMove(m, panel, 143, 106); // Round(1.5) = 2
    EXPECT_EQ(panel.position(Bar::X), 192);
    cubeMouseMove(m, panel, 143 + 4 * 159, 106); // to 359: allowed
    EXPECT_EQ(panel.position(Bar::T), 359);
    cubeMouseMove(m, panel, 143 + 4 * 160, 106); // to 360: ignored
    EXPECT_EQ(panel.position(Bar::T), 359);
    cubeMouseUp(m, panel, 143 + 4 * 160, 106);
    EXPECT_EQ(m.drag, CubeDrag::None);

    EXPECT_EQ(cubeMouseDown(m, panel, MouseButton::Right, 0, 0), 4);
    cubeMouseMove(m, panel, 10, -8); // G + 5, V + Round(8 / 4) = 2
    EXPECT_EQ(panel.position(Bar::G), 261);
    EXPECT_EQ(panel.position(Bar::V), 258);
    cubeMouseMove(m, panel, 10 + 2 * 251, -8); // G to 512: ignored (1..511)
    EXPECT_EQ(panel.position(Bar::G), 261);
    EXPECT_EQ(cubeMouseDown(m, panel, MouseButton::Middle, 0, 0), 0);
    cubeMouseMove(m, panel, 400, 400);
    EXPECT_EQ(panel.position(Bar::G), 261);
    EXPECT_EQ(panel.position(Bar::T), 359);
}

// --- panel rules ----------------------------------------------------------------------

TEST(Panel3DRules, WindowsPushEachOther) {
    Panel3D panel;
    SectionParameters p;
    SectionList l;
    panel.change(Bar::A2, 150, cube_view::Profiles, false, false, p, l);
    panel.change(Bar::A1, 160, cube_view::Profiles, false, false, p, l);
    panel.captionClick(Bar::A3, cube_view::Profiles, false, false, p, l); // 210
    EXPECT_EQ(panel.position(Bar::A3), 210);
    EXPECT_EQ(panel.position(Bar::A2), 211);
    EXPECT_EQ(panel.position(Bar::A1), 212);
    EXPECT_EQ(panel.position(Bar::A4), 1);
    panel.change(Bar::A4, 252, cube_view::Profiles, false, false, p, l);
    EXPECT_EQ(panel.position(Bar::A3), 253);
    EXPECT_EQ(panel.position(Bar::A2), 254);
    EXPECT_EQ(panel.position(Bar::A1), 255);
    panel.change(Bar::A1, 4, cube_view::Profiles, false, false, p, l);
    EXPECT_EQ(panel.position(Bar::A4), 1);
    EXPECT_EQ(panel.position(Bar::A2), 3);

    panel.change(Bar::T2, 200, cube_view::Sections, false, false, p, l);
    panel.change(Bar::T1, 511, cube_view::Sections, false, false, p, l); // range ends at 510
    EXPECT_EQ(panel.position(Bar::T1), 510);
    EXPECT_EQ(panel.position(Bar::T2), 511);
    panel.change(Bar::T2, 200, cube_view::Sections, false, false, p, l);
    EXPECT_EQ(panel.position(Bar::T1), 199);
    panel.change(Bar::T1, 300, cube_view::Sections, false, false, p, l);
    EXPECT_EQ(panel.position(Bar::T2), 301);
}

TEST(Panel3DRules, CursorBarsSectionBarsAndRedraws) {
    Panel3D panel;
    SectionParameters p;
    SectionList l;
    PanelEffect e = panel.change(Bar::Kx, 300, cube_view::Carpet, false, false, p, l);
    EXPECT_EQ(p.X[0], 300);
    EXPECT_TRUE(e.readoutsX && e.redraw);
    const DistanceReadout d = cursorDistance(500, 300);
    EXPECT_EQ(d.value, "1500");
    EXPECT_TRUE(d.metres);
    EXPECT_EQ(cursorDistance(20, 300).value, "6000");
    EXPECT_FALSE(cursorDistance(20, 300).metres);
    // Kt changes nothing in the carpet mode, where it is disabled.
    e = panel.change(Bar::Kt, 77, cube_view::Carpet, false, false, p, l);
    EXPECT_FALSE(e.redraw || e.glubina);
    EXPECT_EQ(p.T[0], 0);
    e = panel.change(Bar::H, 90, cube_view::Carpet, false, false, p, l);
    EXPECT_TRUE(e.rebuildCarpet && e.redraw && e.glubina);
    EXPECT_EQ(p.T[0], 90);

    // A from 100 to 150 with B = 500: B stops at 511, C moves by 50.
    l.selected = 1;
    l.table[1] = SectionEntry{0x20, 100, 500, 10};
    panel.selectSection(l, 1);
    EXPECT_EQ(panel.position(Bar::B), 500);
    e = panel.change(Bar::A, 150, cube_view::Sections, false, false, p, l);
    EXPECT_EQ(l.table[1].A, 150);
    EXPECT_EQ(l.table[1].B, 511);
    EXPECT_EQ(l.table[1].C, 60);
    EXPECT_EQ(panel.position(Bar::C), 60);
    EXPECT_EQ(e.rebuildSection, 1);
    // With left Ctrl A moves alone; busy or another mode stores nothing.
    panel.change(Bar::A, 200, cube_view::Sections, true, false, p, l);
    EXPECT_EQ(l.table[1].B, 511);
    EXPECT_EQ(panel.change(Bar::A, 7, cube_view::Sections, false, true, p, l).rebuildSection, -1);
    EXPECT_EQ(l.table[1].A, 200);
    // The caption "A" resets A, B and C; with left Ctrl only A.
    panel.captionClick(Bar::A, cube_view::Sections, false, false, p, l);
    EXPECT_EQ(l.table[1].A + l.table[1].B + l.table[1].C, 0);
}

TEST(Panel3DRules, ModeLayoutsAndEntry) {
    const PanelLayout a = panelLayout(cube_view::Profiles);
    EXPECT_TRUE(a.windows && a.k && a.layersBox && a.profileList && !a.sectionBars);
    const PanelLayout b = panelLayout(cube_view::Carpet);
    EXPECT_TRUE(b.kt && !b.ktEnabled && b.carpetBars && !b.windows);
    const PanelLayout c = panelLayout(cube_view::Sections);
    EXPECT_TRUE(c.sectionBars && c.sectionControls && !c.k && !c.carpetBars);
    Panel3D panel;
    SectionParameters p;
    p.X.fill(5);
    p.T.fill(6);
    p.Y.fill(7);
    panel.enterMode(cube_view::Profiles, p);
    EXPECT_EQ(panel.position(Bar::K), 256);
    EXPECT_EQ(panel.position(Bar::Kt), 6);
    panel.enterMode(cube_view::Carpet, p);
    EXPECT_EQ(panel.position(Bar::H), 6);
    EXPECT_EQ(profileListHeight(3, 100, 600), 52);
    EXPECT_EQ(profileListHeight(40, 100, 600), 492); // 100 + 13 * 39 passes 592
    EXPECT_EQ(enterViewFlags(0xF3FF, cube_view::Sections), 0xF140);
    EXPECT_EQ(enterViewFlags(0xF3FF, cube_view::Profiles), 0xD110);
}

// t = 1 ns * 100 = 100. With A = 100 and V = 1000: t' = 100 + 0.5 - 3.333;
// s = 1000 * (t' + 3.333) / 100 = 1005, h = 50: Trunc(sqrt(1005^2 - 50^2)) = 1003.
TEST(Panel3DRules, GlubinaReadouts) {
    GlubinaSettings s;
    s.nsPerRow = 1;
    s.velocityCode = 1000;
    s.tableVelocity = 1000;
    s.antennaCm = 100;
    GlubinaReadout r = GLUBINA(100, s);
    EXPECT_EQ(r.time, "100");
    EXPECT_EQ(r.depth, "1003");
    s.zeroLine = true; // s = 1000 * 103.33 / 100 = 1033.3: sqrt(1033.3^2 - 2500) = 1032.1
    EXPECT_EQ(GLUBINA(100, s).depth, "1032");
    s.reliefDisplay = true; // 30 cm below Hmax: 3 ns less
    s.Hmax = 530;
    s.frameHeight = 500;
    EXPECT_EQ(GLUBINA(100, s).time, "100");
    EXPECT_EQ(GLUBINA(100, s).depth, "1002"); // s = 1003.3
    EXPECT_EQ(GLUBINA(0, GlubinaSettings{}).depth, "0");
}

// --- sections --------------------------------------------------------------------------

TEST(CubeSections, PositionsAcrossATiltedSection) {
    const SectionEntry e{0x10, 100, 300, 100};
    EXPECT_EQ(sectionPosition(e, 0, 0), 100);
    EXPECT_EQ(sectionPosition(e, 511, 0), 300); // Round(100 + 511 * 200 / 512) = Round(299.6)
    EXPECT_EQ(sectionPosition(e, 511, 511), 300);
    EXPECT_EQ(sectionPosition(e, 256, 77), 200);
    EXPECT_EQ(sectionPosition(SectionEntry{0x20, 0, 511, 0}, 1, 0), 1); // 0.998
    EXPECT_EQ(sectionPosition(SectionEntry{0x20, 0, 1, 0}, 256, 0), 0); // 0.5, to even
    EXPECT_EQ(sectionPosition(SectionEntry{0x20, 0, 3, 0}, 256, 0), 2); // 1.5, to even
}

TEST(CubeSections, ListAddsUpToFifteenAndDeletesWithCtrl) {
    SectionList l;
    EXPECT_EQ(l.items[0], "  X-Y Plane");
    EXPECT_EQ(l.listHeight(), 13 * 3 + 8);
    l.table[3] = SectionEntry{0, 7, 8, 9}; // a slot used before keeps A, B, C
    EXPECT_EQ(addOrDeleteSection(l, 2, false), std::vector<int>{3});
    EXPECT_EQ(l.items[3], "  T-Y  Plane");
    EXPECT_EQ(l.table[3].type, 0x40);
    EXPECT_EQ(l.table[3].B, 8);
    EXPECT_EQ(l.selected, 3);
    for (int k = 0; k < 20; ++k) addOrDeleteSection(l, 0, false);
    EXPECT_EQ(l.items.size(), 15u);
    EXPECT_EQ(l.buildIndex, 14);
    // Delete item 1: the entries after it move down and are rebuilt.
    l.selected = 1;
    const SectionEntry third = l.table[2];
    const std::vector<int> rebuilt = addOrDeleteSection(l, 0, true);
    EXPECT_EQ(l.items.size(), 14u);
    EXPECT_EQ(l.table[1].type, third.type);
    EXPECT_EQ(rebuilt.front(), 1);
    EXPECT_EQ(rebuilt.back(), 13);
    EXPECT_EQ(l.selected, 0);
    // Without Ctrl nothing is deleted; with one item left Ctrl adds.
    SectionList one;
    one.selected = 0;
    addOrDeleteSection(one, 0, true);
    addOrDeleteSection(one, 0, true);
    EXPECT_EQ(one.items.size(), 1u);
    addOrDeleteSection(one, 1, true);
    EXPECT_EQ(one.items.size(), 2u);
}

// A T-X section at Y = 40 (flat), time window 100..200: only the points of
// times 100..200 are drawn, at (gx / 256 - 1, 1 - t / 256, 1 - 40 / 256).
TEST(CubeSections, PointsOfCheckedSectionsInsideTheWindows) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 150);
    placeProfile(*s, next, 81, 0, 2000, 100, 0, 150);
    testing::CountingInteraction ui;
    ASSERT_EQ(GP_Volume(*s, testing::sharedGrid(), testing::settingsFor(fill_method::AlongY), ui),
              BuildResult::Built);
    SectionList l;
    l.checked = {false, true, false};
    l.table[1] = SectionEntry{0x20, 40, 40, 40};
    auto raster = std::make_unique<DisplayRaster>();
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    SectionImages images;
    GP4_FLTR(images, 1, l.table[1], *raster, testing::sharedGrid(), proc);
    CubeWindows w;
    w.T1 = 100;
    w.T2 = 200;
    CubeDecorations d;
    d.edges = false;
    CubeScene scene;
    GP4_KUB(scene, l, images, w, d, palettes);
    ASSERT_EQ(scene.size(), 1u);
    const Primitive& points = scene[0];
    EXPECT_EQ(points.kind, PrimitiveKind::Points);
    EXPECT_EQ(points.size, 2);
    EXPECT_TRUE(points.smooth);
    // The volume holds data for gx 0..400 (the profiles' length) at gy 40
    // (between the profiles at gy 0 and 100): 401 nodes x 101 times.
    EXPECT_EQ(points.vertices.size(), 401u * 101u);
    for (const Vertex& v : points.vertices) {
        ASSERT_NEAR(v.z, 1 - 40 / 256.0, 1e-6);
        ASSERT_GE(v.y, 1 - 200 / 256.0 - 1e-6);
        ASSERT_LE(v.y, 1 - 100 / 256.0 + 1e-6);
    }
    EXPECT_EQ(points.vertices[0].rgba, vertexColour(palettes.ViewPalette[150]));
}

// --- carpet ----------------------------------------------------------------------------

TEST(CubeCarpet, FlatAtZeroHeightWithHolesWhereThereIsNoData) {
    auto s = newStore();
    placeProfile(*s, 0, 81, 0, 0, 100, 0, 150); // one track along gx at gy 0
    testing::CountingInteraction ui;
    ASSERT_EQ(GP_Volume(*s, testing::sharedGrid(), testing::settingsFor(fill_method::AlongX), ui),
              BuildResult::Built);
    auto raster = std::make_unique<DisplayRaster>();
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    GP2_FLTR(*raster, testing::sharedGrid(), 50, proc);
    CubeDecorations d;
    d.edges = false;
    d.cursor = true;
    SectionParameters p;
    p.X.fill(3);
    CubeScene scene;
    for (int D : {0, 256}) {
        scene.clear();
        GP2_KUB(scene, *raster, D, d, p, palettes);
        ASSERT_EQ(scene.size(), 3u); // the carpet and two cursor profiles
        const Primitive& carpet = scene[0];
        EXPECT_EQ(carpet.size, 7);
        // Only the track holds data: 400 segments along gx at gy 0, none across.
        EXPECT_EQ(carpet.vertices.size(), 2u * 400u);
        for (const Vertex& v : carpet.vertices) {
            ASSERT_FLOAT_EQ(v.z, 1.0f);
            ASSERT_FLOAT_EQ(v.y, float(150.0 * D / 32768));
        }
        // The cursor profile along gy at gx 3 runs through all 512 nodes.
        EXPECT_EQ(scene[1].kind, PrimitiveKind::LineStrip);
        EXPECT_EQ(scene[1].vertices.size(), 512u);
        EXPECT_FLOAT_EQ(scene[1].vertices[0].y, float(150.0 * D / 32768 + 0.05));
        EXPECT_FLOAT_EQ(scene[1].vertices[1].y, 0.05f) << "no data: at the carpet's zero";
        EXPECT_EQ(scene[1].vertices[0].rgba, vertexColour(0.8, 0.8, 0.8));
    }
}

// --- decorations ---------------------------------------------------------------------------

TEST(CubeDecorations, EdgesCursorAndCornerMarks) {
    CubeScene scene;
    addCubeEdges(scene);
    CubeDecorations d;
    d.Kx = 128;
    d.Kt = 64;
    d.Ky = 384;
    addCursorLines(scene, d, true);
    addCornerMarks(scene);
    ASSERT_EQ(scene.size(), 3u);
    const Primitive& edges = scene[0];
    EXPECT_EQ(edges.vertices.size(), 24u);
    for (std::size_t i = 0; i < edges.vertices.size(); i += 2) {
        const Vertex &a = edges.vertices[i], &b = edges.vertices[i + 1];
        const int differ = (a.x != b.x) + (a.y != b.y) + (a.z != b.z);
        EXPECT_EQ(differ, 1) << "an edge runs along one axis";
        EXPECT_EQ(a.rgba, vertexColour(0, 0, 1));
    }
    // Cursor through (-0.5, 0.75, -0.5): the x line shaded from (1, .7, .7) to (.7, 1, 1).
    const Primitive& cursor = scene[1];
    ASSERT_EQ(cursor.vertices.size(), 6u);
    EXPECT_FLOAT_EQ(cursor.vertices[0].x, -1.02f);
    EXPECT_FLOAT_EQ(cursor.vertices[0].y, 0.75f);
    EXPECT_FLOAT_EQ(cursor.vertices[0].z, -0.5f);
    EXPECT_EQ(cursor.vertices[0].rgba, vertexColour(1, 0.7, 0.7));
    EXPECT_EQ(cursor.vertices[1].rgba, vertexColour(0.7, 1, 1));
    EXPECT_FLOAT_EQ(cursor.vertices[2].x, -0.5f);
    EXPECT_FLOAT_EQ(cursor.vertices[3].y, 1.02f);
    // Corner marks: the red point's three segments.
    const Primitive& marks = scene[2];
    EXPECT_EQ(marks.size, 2);
    ASSERT_EQ(marks.vertices.size(), 24u);
    const float d4 = 0.04f;
    const Vertex* v = marks.vertices.data();
    EXPECT_FLOAT_EQ(v[0].x, -1 - d4);
    EXPECT_FLOAT_EQ(v[1].x, -1.0f);
    EXPECT_FLOAT_EQ(v[1].y, 1 + d4);
    EXPECT_FLOAT_EQ(v[3].y, 1.0f);
    EXPECT_FLOAT_EQ(v[5].z, 1.0f);
    EXPECT_EQ(v[0].rgba, vertexColour(1, 0, 0));
    EXPECT_EQ(marks.vertices[6].rgba, vertexColour(0, 0.5, 1));
    EXPECT_FLOAT_EQ(marks.vertices[18].y, -1 - d4); // the yellow point at the deepest time
}

// --- profiles in 3D ------------------------------------------------------------------------

// Profile 1: frames at gx 0..4 (X 0..80, step 20), code 150, sample 10 of
// frame 2 empty; profile 2 far away, unchecked. Times 5..12: 4 segments per
// time between consecutive frames, 2 at time 10 where frame 2 breaks the
// curtain: 30 segments.
TEST(CubeProfiles, CurtainsOfCheckedProfilesInsideTheWindows) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 5, 0, 0, 20, 0, 150);
    placeProfile(*s, next, 3, 0, 8000, 20, 0, 90);
    s->frame(2).value[10] = 0;
    s->frame(0).value[6] = 160;
    testing::CountingInteraction ui;
    const Placement place = GP3_CORD(*s, ui);
    ASSERT_TRUE(place.placed);
    EXPECT_EQ(place.stepCm, 20);
    ASSERT_EQ(place.profileItems.size(), 2u);
    EXPECT_EQ(place.profileItems[1], "  2  Profile");
    EXPECT_EQ(s->frame(3).get16(cell::VolumeSlot), 3u);
    EXPECT_EQ(s->frame(next).get16(cell::VolumeSlot + 2), 400u);

    auto raster = std::make_unique<DisplayRaster>();
    DisplaySettings settings;
    Palettes palettes;
    ReColor3D(palettes, settings);
    SliceProcessing proc;
    proc.settings = &settings;
    ASSERT_TRUE(GP3_FLTR(*s, *raster, proc, CubeRelief{}, ui));
    EXPECT_EQ(s->frame(1).work[7], 150);
    EXPECT_EQ(s->frame(next - 1).work[7], 0) << "a gap frame has no processed copy";
    GP3_PROF(*s, {true, false});

    CubeWindows w;
    w.T1 = 5;
    w.T2 = 12;
    CubeDecorations d;
    d.edges = false;
    ProfileSceneSettings o;
    o.layers = false;
    CubeScene scene;
    GP3_KUB(scene, *s, testing::sharedGrid(), w, d, o, palettes);
    ASSERT_EQ(scene.size(), 1u);
    const Primitive& curtain = scene[0];
    EXPECT_TRUE(curtain.smooth);
    EXPECT_EQ(curtain.vertices.size(), 2u * 30u);
    // The first segment: frame 0 to frame 1 at time 5.
    EXPECT_FLOAT_EQ(curtain.vertices[1].x, float(1 / 256.0 - 1));
    EXPECT_FLOAT_EQ(curtain.vertices[1].y, float(1 - 5 / 256.0));
    EXPECT_FLOAT_EQ(curtain.vertices[1].z, 1.0f);
    EXPECT_EQ(curtain.vertices[1].rgba, vertexColour(palettes.VolumePalette[150]));

    // The quick picture of a mouse turn: five frames drawn at eight times
    // are 40 frame rows; the stride keeps the rows near the limit, and a
    // stride of 3 draws times 5, 8 and 11 only (four segments each; at time
    // 10 the empty sample of frame 2 cuts two).
    struct StrideRow {
        int64_t segments;
        int stride;
    };
    for (const StrideRow r : {StrideRow{40, 1}, StrideRow{1000, 1}, StrideRow{20, 2},
                              StrideRow{13, 4}, StrideRow{1, 40}}) {
        SCOPED_TRACE(r.segments);
        EXPECT_EQ(profilePreviewStride(*s, w, r.segments), r.stride);
    }
    o.timeStride = 3;
    scene.clear();
    GP3_KUB(scene, *s, testing::sharedGrid(), w, d, o, palettes);
    ASSERT_EQ(scene.size(), 1u);
    EXPECT_EQ(scene[0].vertices.size(), 2u * 12u);
    for (const Vertex& vx : scene[0].vertices) {
        const int t = int(std::lround((1 - vx.y) * 256));
        EXPECT_TRUE(t == 5 || t == 8 || t == 11) << t;
    }
    o.timeStride = 1;

    // The derivative form compares with the next sample: frame 0 at time 5
    // rises to 160 (VolumePalette), at time 6 falls (the marked palette), at
    // time 7 stays (grey).
    settings.amplitudeForm = form::Derivative;
    ReColor3D(palettes, settings);
    o.derivative = true;
    scene.clear();
    GP3_KUB(scene, *s, testing::sharedGrid(), w, d, o, palettes);
    const auto& v = scene[0].vertices;
    EXPECT_EQ(v[0].rgba, vertexColour(palettes.VolumePalette[150]));
    EXPECT_EQ(v[8].rgba, vertexColour(palettes.VolumePaletteMarked[160]));
    EXPECT_EQ(v[16].rgba, vertexColour(palettes.GreyPalette[150]));
}

// Layer boundary 1 at time 100 under a profile along gx at gy 0: segments
// along gx at y = 1 - 100 / 256, grey 1 - 50 / K; K = 0 counts as 1 (black).
TEST(CubeProfiles, LayerSurfacesFromTheVolume) {
    auto s = newStore();
    placeProfile(*s, 0, 81, 0, 0, 100, 0, 150);
    for (int f = 0; f < 81; ++f) s->frame(f).set16(cell::Boundary1, 100);
    testing::CountingInteraction ui;
    ASSERT_EQ(GP_Volume(*s, testing::sharedGrid(), testing::settingsFor(fill_method::AlongX), ui),
              BuildResult::Built);
    CubeDecorations d;
    d.edges = false;
    ProfileSceneSettings o;
    o.M = 16; // width Trunc(16 / 4) + 1 = 5
    Palettes palettes;
    for (int K : {256, 0}) {
        o.K = K;
        CubeScene scene;
        GP3_KUB(scene, *s, testing::sharedGrid(), CubeWindows{}, d, o, palettes);
        ASSERT_EQ(scene.size(), 2u);
        const Primitive& layer = scene[1];
        EXPECT_EQ(layer.size, 5);
        EXPECT_EQ(layer.vertices.size(), 2u * 400u);
        EXPECT_FLOAT_EQ(layer.vertices[0].y, float(1 - 100 / 256.0));
        const double grey = K ? 1 - 50.0 / 256 : 0;
        EXPECT_EQ(layer.vertices[0].rgba, vertexColour(grey, grey, grey));
    }
}

} // namespace
} // namespace tesk
