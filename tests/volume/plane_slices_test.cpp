// The plane slices on a volume filled with a known pattern: which node and
// time plane each raster cell and image pixel shows for flat and tilted
// sections, the filter context rows, the neighbouring planes, the gain of
// the X-Y plane, picking, the section markers, the readouts, the A-scan
// trace and the screen overlay.

#include "support/store_test_support.h"
#include "volume/plane_slices.h"
#include "volume/slice_overlay.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <memory>

namespace tesk {
namespace {

// Sample code of node (gx, gy) at plane c; never 0.
int pattern(int gx, int c, int gy) {
    return 1 + (gx * 7 + c * 3 + gy * 5) % 251;
}
constexpr int HOLE_X = 10, HOLE_Y = 20; // a node without data

VolumeGrid& patternGrid() {
    static std::unique_ptr<VolumeGrid> g;
    if (!g) {
        g = std::make_unique<VolumeGrid>();
        g->allocate();
        for (int gx = 0; gx < GRID_NODES; ++gx) {
            g->clearRow(gx);
            for (int c = 0; c < NODE_SAMPLES; ++c) {
                uint8_t* row = g->plane(gx, c);
                for (int gy = 0; gy < GRID_NODES; ++gy) row[gy] = uint8_t(pattern(gx, c, gy));
                row[HOLE_Y] = gx == HOLE_X ? 0 : row[HOLE_Y];
            }
            g->set32(gx, node::UcsX, 0, uint32_t(1000 + 10 * gx));
        }
        for (int gy = 0; gy < GRID_NODES; ++gy)
            g->set32(0, node::UcsY, gy, uint32_t(2000 + 10 * gy));
        g->set16(40, node::ProfileNumber, 30, 1);
        g->at(40, node::Status, 30) = status::InProfile | 2;
        g->set16(45, node::ProfileNumber, 30, 1);
        g->info = VolumeInfo{true, 20, 1000, 2000, 511, 511};
    }
    return *g;
}

SectionParameters flat(int x, int t, int y) {
    SectionParameters p;
    p.X.fill(x);
    p.T.fill(t);
    p.Y.fill(y);
    return p;
}

uint32_t bgrOf(QRgb c) {
    return uint32_t(qRed(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qBlue(c)) << 16;
}

class Slices : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.amplitudeForm = form::Amplitude;
        settings.colourMode = 0;
        ReColor3D(palettes, settings);
        proc.settings = &settings;
    }
    const VolumeGrid& g = patternGrid();
    std::unique_ptr<DisplayRaster> raster = std::make_unique<DisplayRaster>();
    DisplaySettings settings;
    Palettes palettes;
    SliceProcessing proc;
    SliceImages images;
};

// --- extraction ----------------------------------------------------------------------

TEST_F(Slices, XYPlaneTakesTheRunningTimePlane) {
    struct Row {
        std::array<int32_t, 4> T;
        int gx, gy, plane; // worked out from T0 + gx (T1 - T0)/512 + gy (T3 - T2)/512
    };
    const Row rows[] = {
        {{100, 100, 100, 100}, 0, 0, 100},   {{100, 100, 100, 100}, 511, 511, 100},
        {{100, 300, 100, 100}, 1, 9, 100},   // 100.39
        {{100, 300, 100, 100}, 256, 9, 200}, // 100 + 256 * 200 / 512
        {{100, 300, 100, 100}, 511, 9, 299}, // 299.6
        {{100, 100, 0, 256}, 77, 3, 101},    // 101.5
        {{500, 511, 0, 511}, 0, 20, 511},    // 519.96, limited
        {{511, 0, 0, 0}, 511, 5, 0},         // 511 - 511 * 511 / 512 = 0.998
    };
    for (const Row& r : rows) {
        SectionParameters p = flat(0, 0, 0);
        p.T = r.T;
        EXPECT_EQ(xyPlaneIndex(p, r.gx, r.gy), r.plane) << r.gx << "," << r.gy;
        extractXY(*raster, g, p, proc);
        EXPECT_EQ(raster->at(2, 20 + r.gx, r.gy), pattern(r.gx, r.plane, r.gy))
            << r.gx << "," << r.gy;
    }
}

TEST_F(Slices, SectionsTakeTheirNodeAtEveryTimePlane) {
    SectionParameters p = flat(30, 0, 50);
    extractTX(*raster, 3, g, p, proc);
    extractTY(*raster, 4, g, p, proc);
    for (int n : {0, 200, 511})
        for (int t : {0, 3, 511}) {
            EXPECT_EQ(raster->at(3, 20 + n, t), pattern(n, t, 50)) << n << " " << t;
            EXPECT_EQ(raster->at(4, 20 + n, t), pattern(30, t, n)) << n << " " << t;
        }
    // Drift with depth: Y2 = 0, Y3 = 256 moves the T-X section by t / 2.
    p.Y = {50, 50, 0, 256};
    extractTX(*raster, 3, g, p, proc);
    EXPECT_EQ(raster->at(3, 20 + 7, 3), pattern(7, 3, 51));      // 51.5
    EXPECT_EQ(raster->at(3, 20 + 7, 511), pattern(7, 511, 305)); // 305.5
    // Filter context: rows 0..19 repeat node 0, rows 532..551 node 511; the
    // columns past the last plane repeat it.
    for (int row : {0, 19}) EXPECT_EQ(raster->at(3, row, 40), raster->at(3, 20, 40));
    for (int row : {532, 551}) EXPECT_EQ(raster->at(3, row, 40), raster->at(3, 531, 40));
    for (int c : {512, 527}) EXPECT_EQ(raster->at(3, 100, c), raster->at(3, 100, 511));
}

TEST_F(Slices, NeighbourPlanesInTheDerivativeForm) {
    settings.amplitudeForm = form::Derivative;
    ReColor3D(palettes, settings);
    for (int t : {100, 2}) {
        extractXY(*raster, g, flat(0, t, 0), proc);
        EXPECT_EQ(raster->at(5, 20 + 5, 6), pattern(5, t + 1, 6)) << t;
        EXPECT_EQ(raster->at(6, 20 + 5, 6), pattern(5, t < 3 ? t : t - 1, 6)) << t;
    }
    // Node (5, 6) at plane 100: 1 + (35 + 300 + 30) % 251 = 115, the next
    // plane 118: a rising sample, drawn from the rise palette.
    extractXY(*raster, g, flat(0, 100, 0), proc);
    paintXYPlane(images.image2, *raster, flat(0, 100, 0), settings, palettes);
    EXPECT_EQ(bgrOf(images.image2.pixel(5, 511 - 6)), palettes.RisePalette[115]);
}

// The gain curve runs along time, so each X-Y cell takes the gain of its
// own time plane, not of its column.
TEST_F(Slices, XYPlaneGainFollowsTheTimePlane) {
    settings.zeroGainMode = gainMode::Gain2;
    settings.GainLevel1 = 128;
    settings.GainLevel2 = 255;
    settings.GainPos1 = 0;
    settings.GainPos2 = 511;
    BuildGainCurve(settings);
    SectionParameters p = flat(0, 0, 0);
    p.T = {0, 0, 0, 511}; // plane = Trunc(gy * 511 / 512): 0 at gy 0, 255 at gy 256
    extractXY(*raster, g, p, proc);
    const int gy = 256, plane = 255, gx = 3;
    const uint8_t raw = uint8_t(pattern(gx, plane, gy));
    EXPECT_EQ(raster->at(2, 20 + gx, gy), zeroGainCode(settings, raw, plane));
    EXPECT_NE(zeroGainCode(settings, raw, plane), raw) << "the gain must do something here";
}

// --- painting ------------------------------------------------------------------------

TEST_F(Slices, ImagesShowTheirNodesAndNoDataIsBlack) {
    const SectionParameters p = flat(30, 100, 50);
    runSliceSteps(layoutSteps(section_layout::TXY, false), *raster, images, g, p, proc, palettes);
    const Palette& main = storedMainPalette();
    // Image2: pixel (x, y) is node (x, 511 - y); the top-left pixel is node (0, 511).
    EXPECT_EQ(bgrOf(images.image2.pixel(0, 0)), main[std::size_t(pattern(0, 100, 511))]);
    EXPECT_EQ(bgrOf(images.image2.pixel(300, 400)), main[std::size_t(pattern(300, 100, 111))]);
    EXPECT_EQ(bgrOf(images.image2.pixel(HOLE_X, 511 - HOLE_Y)), 0u);
    // Image3 (T-X at Y0 = 50) and Image4 (T-Y at X0 = 30): pixel (x, y) is
    // node x along the section at time plane y.
    EXPECT_EQ(bgrOf(images.image3.pixel(200, 7)), main[std::size_t(pattern(200, 7, 50))]);
    EXPECT_EQ(bgrOf(images.image4.pixel(200, 7)), main[std::size_t(pattern(30, 7, 200))]);
}

TEST(SliceSteps, LayoutsAndClicksRecomputeWhatTheyShow) {
    using namespace slice_step;
    EXPECT_EQ(layoutSteps(section_layout::T, false), XY | Image2);
    EXPECT_EQ(layoutSteps(section_layout::T, true), XY | Image2 | TXIn3);
    EXPECT_EQ(layoutSteps(section_layout::TX, false), XY | TXIn3 | Image2 | Image3);
    EXPECT_EQ(layoutSteps(section_layout::TY, false), XY | TYIn3 | Image2 | Image3);
    EXPECT_EQ(layoutSteps(section_layout::TXY, false),
              XY | TXIn3 | TYIn4 | Image2 | Image3 | Image4);
    EXPECT_FALSE(layoutImages(section_layout::T).image3);
    EXPECT_TRUE(layoutImages(section_layout::TY).image3);
    EXPECT_TRUE(layoutImages(section_layout::TXY).image4);
}

// --- picking -------------------------------------------------------------------------

TEST(SlicePicking, ClicksSetTheSectionParameters) {
    using A = std::array<int32_t, 4>;
    using namespace slice_step;
    struct Row {
        const char* name;
        SliceImage image;
        int layout;
        MouseButton button;
        SliceKeys keys;
        A X, T, Y;
        unsigned steps;
    };
    // Every row starts from X = 1, T = 2, Y = 3 and clicks at (40, 500).
    const Row rows[] = {
        {"Image2 plain",
         SliceImage::Image2,
         1,
         MouseButton::Right,
         {},
         {40, 40, 40, 40},
         {2, 2, 2, 2},
         {11, 11, 11, 11},
         TXIn3 | Image3},
        {"Image2 shift left",
         SliceImage::Image2,
         2,
         MouseButton::Left,
         {true, false},
         {40, 40, 40, 1},
         {2, 2, 2, 2},
         {11, 11, 11, 3},
         TYIn3 | Image3},
        {"Image2 ctrl right",
         SliceImage::Image2,
         3,
         MouseButton::Right,
         {false, true},
         {1, 40, 1, 1},
         {2, 2, 2, 2},
         {3, 11, 3, 3},
         TXIn3 | TYIn4 | Image3 | Image4},
        {"Image2 layout 0",
         SliceImage::Image2,
         0,
         MouseButton::Left,
         {},
         {40, 40, 40, 40},
         {2, 2, 2, 2},
         {11, 11, 11, 11},
         0},
        {"T-X plain",
         SliceImage::Image3,
         1,
         MouseButton::Left,
         {},
         {40, 40, 40, 40},
         {500, 500, 500, 500},
         {3, 3, 3, 3},
         XY | Image2},
        {"T-X shift left",
         SliceImage::Image3,
         3,
         MouseButton::Left,
         {true, false},
         {40, 1, 40, 40},
         {500, 500, 500, 2},
         {3, 3, 3, 3},
         XY | Image2 | TYIn4 | Image4},
        {"T-X ctrl right",
         SliceImage::Image3,
         1,
         MouseButton::Right,
         {false, true},
         {1, 1, 1, 40},
         {2, 500, 2, 2},
         {3, 3, 3, 3},
         XY | Image2},
        {"T-Y in Image3",
         SliceImage::Image3,
         2,
         MouseButton::Left,
         {false, true},
         {1, 1, 1, 1},
         {500, 2, 500, 500},
         {40, 3, 40, 40},
         XY | Image2},
        {"T-Y in Image4 right",
         SliceImage::Image4,
         3,
         MouseButton::Right,
         {true, false},
         {1, 1, 1, 1},
         {2, 2, 2, 500},
         {3, 3, 3, 40},
         XY | Image2 | TXIn3 | Image3},
    };
    for (const Row& r : rows) {
        SectionParameters p = flat(1, 2, 3);
        EXPECT_EQ(pickSection(p, r.image, r.layout, 40, 500, r.button, r.keys, false), r.steps)
            << r.name;
        EXPECT_EQ(p.X, r.X) << r.name;
        EXPECT_EQ(p.T, r.T) << r.name;
        EXPECT_EQ(p.Y, r.Y) << r.name;
    }
    SectionParameters p = flat(1, 2, 3);
    pickSection(p, SliceImage::Image2, 0, 0, 0, MouseButton::Left, {}, false);
    EXPECT_EQ(p.X[0], 0);
    EXPECT_EQ(p.Y[0], 511) << "the top-left pixel is node (0, 511)";
    EXPECT_EQ(pickSection(p, SliceImage::Image2, 0, 0, 0, MouseButton::Left, {}, true), TXIn3);
}

// --- markers -------------------------------------------------------------------------

TEST(SliceMarkers, PlacesAndLayouts) {
    SectionParameters p;
    p.X = {100, 110, 120, 130};
    p.Y = {200, 210, 220, 230};
    p.T = {300, 310, 320, 330};
    using M = SectionMarker;
    auto at = [](const auto& m, M which) { return m[std::size_t(which)]; };
    const auto all = Shape_RIS(p, section_layout::TXY, 50, 50);
    EXPECT_EQ(at(all, M::X1).left, 50 + 100 - 5);
    EXPECT_EQ(at(all, M::X2).left, 50 + 110 - 5);
    EXPECT_EQ(at(all, M::X3).left, 50 + 120 + 595);
    EXPECT_EQ(at(all, M::X4).left, 50 + 130 + 595);
    EXPECT_EQ(at(all, M::Y1).top, 50 + 506 - 200);
    EXPECT_EQ(at(all, M::Y2).top, 50 + 506 - 210);
    EXPECT_EQ(at(all, M::T1).top, 50 + 300 - 5);
    EXPECT_EQ(at(all, M::T4).top, 50 + 330 - 5);
    EXPECT_EQ(at(all, M::T3).left, 50 + 1194);
    EXPECT_EQ(at(all, M::T4).left, 50 + 1708);
    for (const auto& m : all) EXPECT_TRUE(m.shown);
    const auto ty = Shape_RIS(p, section_layout::TY, 50, 50);
    EXPECT_EQ(at(ty, M::T3).left, 50 + 594);
    EXPECT_EQ(at(ty, M::T4).left, 50 + 1108);
    struct Row {
        int layout;
        int shown; // bits in marker order X1 .. T4
    };
    for (const Row& r : {Row{0, 0x033}, Row{1, 0x33F}, Row{2, 0xCF3}, Row{3, 0xFFF}}) {
        const auto m = Shape_RIS(p, r.layout, 0, 0);
        for (int i = 0; i < SECTION_MARKERS; ++i)
            EXPECT_EQ(m[std::size_t(i)].shown, bool(r.shown >> i & 1)) << r.layout << " " << i;
    }
}

TEST(SliceMarkers, DragsMoveWholeGroupsPairsOrOneValue) {
    using A = std::array<int32_t, 4>;
    struct Row {
        SectionMarker marker;
        int dx, dy;
        SliceKeys keys;
        A X, Y, T;
    };
    const Row rows[] = {
        {SectionMarker::X1,
         10,
         99,
         {},
         {110, 120, 130, 140},
         {200, 210, 220, 230},
         {300, 310, 320, 330}},
        {SectionMarker::X1,
         10,
         0,
         {true, false},
         {110, 120, 120, 130},
         {200, 210, 220, 230},
         {300, 310, 320, 330}},
        {SectionMarker::X1,
         10,
         0,
         {false, true},
         {110, 110, 120, 130},
         {200, 210, 220, 230},
         {300, 310, 320, 330}},
        {SectionMarker::X4,
         500,
         0,
         {false, true},
         {100, 110, 120, 511},
         {200, 210, 220, 230},
         {300, 310, 320, 330}},
        // Beside the X-Y plane Y grows upwards: a drag 5 pixels up adds 5.
        {SectionMarker::Y2,
         99,
         -5,
         {false, true},
         {100, 110, 120, 130},
         {200, 215, 220, 230},
         {300, 310, 320, 330}},
        {SectionMarker::Y3,
         7,
         99,
         {true, false},
         {100, 110, 120, 130},
         {200, 210, 227, 237},
         {300, 310, 320, 330}},
        {SectionMarker::T2, 99, -400, {}, {100, 110, 120, 130}, {200, 210, 220, 230}, {0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        SectionParameters p;
        p.X = {100, 110, 120, 130};
        p.Y = {200, 210, 220, 230};
        p.T = {300, 310, 320, 330};
        dragMarker(p, r.marker, r.dx, r.dy, r.keys);
        EXPECT_EQ(p.X, r.X) << int(r.marker);
        EXPECT_EQ(p.Y, r.Y) << int(r.marker);
        EXPECT_EQ(p.T, r.T) << int(r.marker);
    }
}

// --- readouts ------------------------------------------------------------------------

// Depth of 100 ns at 10 cm/ns with the antennas 100 cm apart (a = 50),
// offset not removed: t' = 100 + 5 - 3.333, s = (t' + 3.333) * 10 = 1050,
// Trunc(sqrt(1050^2 - 50^2)) = 1048.
TEST(SliceReadouts, CaptionShowsAxisCoordinatesAndDepth) {
    const VolumeGrid& g = patternGrid();
    SliceReadoutSettings s;
    s.prefix = "Tesk  a.gem";
    s.nsPerRow = 1.0;
    s.velocityCode = 1000;
    s.antennaCm = 100;
    const SectionParameters p = flat(30, 100, 50);
    EXPECT_EQ(sliceCaption(g, p, SliceImage::Image2, 1, 5, 511 - 7, s),
              "Tesk  a.gem:  X = 1050:  Y = 2070:  D = 1048");
    // In the T-X section the pointer gives X and the time, Y0 the across node.
    s.antennaCm = 0; // depth = 10 cm/ns * 20 ns
    EXPECT_EQ(sliceCaption(g, p, SliceImage::Image3, 1, 8, 20, s),
              "Tesk  a.gem:  X = 1080:  Y = 2500:  D = 200");
    EXPECT_EQ(sliceCaption(g, p, SliceImage::Image4, 3, 8, 20, s),
              "Tesk  a.gem:  X = 1300:  Y = 2080:  D = 200");
    EXPECT_EQ(depthForTime(100, 1000, 100, true), 1032); // s = (100 + 3.333) * 10: 1032.1
}

TEST_F(Slices, AScanTraceIsTheSectionColumnAtTheCrossing) {
    const SectionParameters p = flat(30, 100, 50);
    runSliceSteps(layoutSteps(section_layout::TX, false), *raster, images, g, p, proc, palettes);
    const SliceTrace t = sliceTrace(*raster, section_layout::TX, p);
    for (int k : {0, 100, 511}) EXPECT_EQ(t.codes[std::size_t(k)], pattern(30, k, 50)) << k;
    EXPECT_EQ(t.cursorRow, 100);
    EXPECT_EQ(t.crossing, pattern(30, 100, 50));
    runSliceSteps(layoutSteps(section_layout::TY, false), *raster, images, g, p, proc, palettes);
    EXPECT_EQ(sliceTrace(*raster, section_layout::TY, p).codes[7], pattern(30, 7, 50));
}

// --- overlay -------------------------------------------------------------------------

void ensureApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "volume_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

bool hasLabel(const SliceOverlayReadouts& r, const std::string& text, int x = -1, int y = -1) {
    for (const auto& l : r.labels)
        if (l.text == text && (x < 0 || (l.x == x && l.y == y))) return true;
    return false;
}

TEST(SliceOverlay, TitlesTracesTracksAndReadouts) {
    ensureApp();
    auto s = testing::newStore();
    s->setVelocity(1000);
    const VolumeGrid& g = patternGrid();
    QImage overlay(SLICE_OVERLAY_WIDTH, SLICE_OVERLAY_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    SliceOverlaySettings o;
    o.layout = section_layout::TY;
    o.english = true;
    o.tracks = true;
    o.markers = true;
    o.profileStepCm = 10;
    // All parameters 0: no section trace crosses the X-Y plane.
    SliceOverlayReadouts r = drawSliceOverlay(overlay, *s, g, flat(0, 0, 0), o);
    for (int x = 60; x < 500; x += 37) EXPECT_EQ(qAlpha(overlay.pixel(50 + x, 50 + 511)), 0) << x;
    for (int y = 60; y < 500; y += 37) EXPECT_EQ(qAlpha(overlay.pixel(50, 50 + y)), 0) << y;
    // A node with a profile is a yellow point; a blue marker a plus.
    EXPECT_EQ(overlay.pixel(50 + 45, 50 + 511 - 30), 0xFFFFFF00u);
    EXPECT_EQ(bgrOf(overlay.pixel(50 + 40 - 3, 50 + 511 - 30)), 0xFF6600u);

    r = drawSliceOverlay(overlay, *s, g, flat(30, 100, 50), o);
    // Layout 2: the first panel is the T-Y section at X0 = 30 nodes of 20 cm.
    EXPECT_TRUE(hasLabel(r, " CUTAWAY  Y-T:  X = 600cm"));
    EXPECT_TRUE(hasLabel(r, " CUTAWAY  X-Y:  T = 100 ns:  X = 1300:  Y = 2500"));
    EXPECT_TRUE(hasLabel(r, "Y"));
    // Distance labels every 40 nodes of 20 cm: 8 m apart, the last one 96 m.
    EXPECT_TRUE(hasLabel(r, "96", 50 - 3 + 480, 50 + 521));
    EXPECT_TRUE(hasLabel(r, "96", 50 - 30, 50 + 504 - 480));
    EXPECT_EQ(r.staticText1, "30");
    EXPECT_EQ(r.staticText2, "600");
    EXPECT_FALSE(r.xInMetres);
    EXPECT_EQ(r.staticText3, "100");
    // The profile step of 100 cm or more switches to metres.
    o.profileStepCm = 100;
    o.english = false;
    r = drawSliceOverlay(overlay, *s, g, flat(30, 100, 50), o);
    EXPECT_TRUE(hasLabel(r, " СЕЧЕНИЕ  Y-T:  X = 6m"));
    EXPECT_EQ(r.staticText2, "6");
    EXPECT_EQ(r.staticText6, "10");
    EXPECT_TRUE(r.xInMetres && r.yInMetres);
}

} // namespace
} // namespace tesk
