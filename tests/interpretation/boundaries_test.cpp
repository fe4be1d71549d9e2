// Layer boundaries: the phase walks, the ordering rule, tracking a dipping
// reflector, the boundary overlay, the pencil, smoothing and deletion with
// their questions in both languages.

#include "interpretation/boundaries.h"
#include "interpretation/depth_section.h"
#include "interpretation/messages.h"
#include "interpretation/time_depth.h"
#include "interpretation_rig.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace tesk::testing {
namespace {

// A raster row of zero amplitude (or `background`) with the given codes
// from row `first` on.
std::array<uint8_t, DisplayRaster::COLUMNS> trace(int first, std::vector<int> codes,
                                                  int background = 128) {
    std::array<uint8_t, DisplayRaster::COLUMNS> t{};
    for (int i = 0; i < SAMPLE_ROWS; ++i) t[std::size_t(i)] = uint8_t(background);
    for (std::size_t i = 0; i < codes.size(); ++i) t[std::size_t(first) + i] = uint8_t(codes[i]);
    return t;
}

// Codes that rise steadily towards row 0: no maximum below the top.
std::array<uint8_t, DisplayRaster::COLUMNS> risingToTop() {
    std::array<uint8_t, DisplayRaster::COLUMNS> t{};
    for (int i = 0; i < SAMPLE_ROWS; ++i) t[std::size_t(i)] = uint8_t(std::max(1, 250 - i / 2));
    return t;
}

TEST(PhaseWalks, WhereEachWalkEnds) {
    // A flat top of four rows 100..103 over a ramp.
    const auto flat = trace(96, {130, 140, 150, 160, 200, 200, 200, 200, 160, 150, 140});
    // A minimum at row 100.
    const auto dip = trace(97, {120, 100, 80, 60, 80, 100, 120});
    // A zero crossing: positive down to row 99, negative from 100 on.
    auto crossing = trace(100, std::vector<int>(428, 110), 150);
    // Exactly zero at rows 100..102, positive above and below.
    const auto zeros = trace(97, {150, 150, 150, 128, 128, 128, 150, 150});
    const auto ramp = risingToTop();

    struct Case {
        const char* name;
        const std::array<uint8_t, DisplayRaster::COLUMNS>* t;
        int shift, row;
        Phase phase;
        int boundary;            // boundary walk
        std::optional<int> pick; // pick walk
    };
    const Case cases[] = {
        // Reached moving down, the boundary lands on the second row of a
        // four-row flat top (103 - 3 + 1), the pick on the third (103 - 1).
        {"flat top from above", &flat, 0, 97, Phase::Maximum, 101, 102},
        // From below the pick walks over the top and back down onto it.
        {"flat top from below", &flat, 0, 105, Phase::Maximum, 101, 102},
        {"minimum", &dip, 0, 98, Phase::Minimum, 100, 100},
        {"zero crossing from above", &crossing, 0, 97, Phase::Zero, 100, 100},
        // Started on code 128 whose upper neighbour is not 128: the start.
        {"on zero", &zeros, 0, 100, Phase::Zero, 100, 100},
        // No maximum below the top: the boundary walks to row 0 (gone from
        // the frame), the pick keeps its row.
        {"maximum at the top", &ramp, 0, 50, Phase::Maximum, 0, std::nullopt},
        {"minimum at the bottom of a ramp", &ramp, 0, 50, Phase::Minimum, 511, std::nullopt},
        // The relief display shifts the trace down: rows are compared
        // 4 columns lower.
        {"shifted trace", &flat, 4, 93, Phase::Maximum, 97, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(snapBoundaryRow(c.t->data(), c.shift, c.row, c.phase), c.boundary) << c.name;
        if (c.shift == 0) {
            EXPECT_EQ(snapPick(c.t->data(), c.row, c.phase), c.pick) << c.name;
        }
    }
}

TEST(BoundaryOrder, TheCurrentBoundaryKeepsItsDistance) {
    struct Case {
        const char* name;
        BoundaryRows rows;
        int k;
        int expected;
    };
    const Case cases[] = {
        {"on the boundary above", {0, 100, 100, 0, 0, 0, 0}, 3, 101},
        {"between two equal ones: the lower wins", {0, 100, 100, 100, 0, 0, 0}, 3, 99},
        {"far from both", {50, 0, 100, 0, 200, 0, 0}, 3, 100},
        {"two numbers below the first", {100, 0, 101, 0, 0, 0, 0}, 3, 102},
        {"absent stays absent", {100, 0, 0, 0, 0, 0, 0}, 3, 0},
        {"pushed off the top", {0, 0, 0, 2, 0, 0, 0}, 1, 0},
    };
    for (const auto& c : cases) {
        BoundaryRows r = c.rows;
        orderBoundary(r, c.k);
        EXPECT_EQ(r[std::size_t(c.k - 1)], c.expected) << c.name;
        for (int j = 1; j <= BOUNDARIES; ++j)
            if (j != c.k) {
                EXPECT_EQ(r[std::size_t(j - 1)], c.rows[std::size_t(j - 1)]) << c.name;
            }
    }
}

struct TrackCase {
    const char* name;
    double reflectivity;
    Phase phase;
    double noise;
};

class BoundaryTracking : public ::testing::TestWithParam<TrackCase> {};

// One dipping boundary under one profile of 512 frames: 400 cm deep at the
// start, 1 cm deeper every 10 cm along, Vgr 5 cm/ns, 0.5 ns per sample (13
// samples per period of the 150 MHz wavelet).
demo::DemoParams dippingLayer(const TrackCase& c) {
    demo::DemoParams p;
    p.timeRangeItem = 1;
    p.profiles = 1;
    p.framesPerProfile = 512;
    p.reliefWave1 = 0;
    p.reliefWave2 = 0;
    p.ringingCodes = 0;
    p.noise = c.noise;
    p.layers = {{400, 0.1, 0, 0, 1, 0, c.reflectivity}};
    return p;
}

TEST_P(BoundaryTracking, SnappingFollowsTheReflectorWithinOneSample) {
    const TrackCase& c = GetParam();
    Rig rig(dippingLayer(c));
    const demo::Layer& l = rig.params.layers[0];
    auto trueRow = [&](int f) {
        return demo::layerDepth(l, f * demo::stepCm(rig.params), 0) / demo::vgr(rig.params) /
               demo::nsPerSample(rig.params);
    };
    // A rough tracing, up to two samples off the reflector (within a quarter
    // period of the wavelet, where the phase walk can find it).
    for (int f = 0; f < 512; ++f)
        setBoundaryRow(rig.store->frame(f), 2, int(std::lround(trueRow(f))) + (f % 5) - 2);
    BoundarySettings b;
    b.layer = 2;
    b.snap = true;
    b.phase = c.phase;
    ShowBoundaries(*rig.store, *rig.raster, b);
    // On clean traces the boundary lies on the sample nearest the reflector;
    // noise may move the peak by one sample.
    const int allowed = c.noise == 0 ? 0 : 1;
    for (int f = 0; f < 512; ++f) {
        const long nearest = std::lround(trueRow(f));
        EXPECT_LE(std::abs(boundaryRow(rig.store->frame(f), 2) - nearest), allowed)
            << c.name << " frame " << f;
    }
    // The survey-wide snapping on the stored samples lands on the same rows.
    std::vector<int> snapped;
    for (int f = 0; f < 512; ++f) snapped.push_back(boundaryRow(rig.store->frame(f), 2));
    for (int f = 0; f < 512; ++f)
        setBoundaryRow(rig.store->frame(f), 2, int(std::lround(trueRow(f))) + (f % 5) - 2);
    snapBoundaryInFrames(*rig.store, 2, 0, 511, c.phase);
    for (int f = 0; f < 512; ++f)
        EXPECT_EQ(boundaryRow(rig.store->frame(f), 2), snapped[std::size_t(f)]) << f;
}

INSTANTIATE_TEST_SUITE_P(Reflectors, BoundaryTracking,
                         ::testing::Values(TrackCase{"positive_clean", 0.6, Phase::Maximum, 0},
                                           TrackCase{"positive_noisy", 0.6, Phase::Maximum, 3},
                                           TrackCase{"negative_noisy", -0.6, Phase::Minimum, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- overlay ---------------------------------------------------------------------

TEST(BoundaryOverlay, PolylinesBreakAtFramesWithoutTheBoundary) {
    auto s = newStore();
    for (int f = 0; f < 600; ++f) putSample(*s, f);
    s->frameCount = 599;
    s->finishLoad();
    for (int f = 0; f < 10; ++f) setBoundaryRow(s->frame(f), 1, 100 + f);
    for (int f = 20; f < 25; ++f) setBoundaryRow(s->frame(f), 1, 300);
    setBoundaryRow(s->frame(30), 3, 511); // below the picture's last drawn row
    setBoundaryRow(s->frame(31), 3, 200);
    s->header.value[hdr::LayerColour + 3 * 3] = 0x11;     // blue of layer 3
    s->header.value[hdr::LayerColour + 3 * 3 + 1] = 0x22; // green
    s->header.value[hdr::LayerColour + 3 * 3 + 2] = 0x33; // red
    DisplayRaster raster;
    BoundarySettings b;
    b.layer = 1;
    const OverlayDrawing d = ShowBoundaries(*s, raster, b);
    EXPECT_TRUE(d.frameOutline);
    ASSERT_EQ(d.lines.size(), 3u);
    EXPECT_EQ(d.lines[0].colour, 0xFFFFF8u); // the current boundary
    EXPECT_EQ(d.lines[0].width, 2);
    EXPECT_EQ(d.lines[0].points.size(), 10u);
    EXPECT_EQ(d.lines[0].points[9].x, 18);
    EXPECT_EQ(d.lines[0].points[9].y, 109);
    EXPECT_EQ(d.lines[1].points.front().x, 40);
    // Boundary 3: the row below 510 starts a line at 510 that leads on.
    EXPECT_EQ(d.lines[2].colour, 0x112233u);
    ASSERT_EQ(d.lines[2].points.size(), 2u);
    EXPECT_EQ(d.lines[2].points[0].y, 510);
    EXPECT_EQ(d.lines[2].points[1].y, 200);
}

// --- pencil, smoothing, deletion ----------------------------------------------------

struct Survey {
    Survey() : store(newStore()) {
        for (int f = 0; f < 1000; ++f) putSample(*store, f);
        store->frameCount = 999;
        store->finishLoad();
    }
    int row(int f, int k = 1) const { return boundaryRow(store->frame(f), k); }
    StorePtr store;
    PointTable table;
    RecordingInteraction ui;
    Pencil pencil;
};

TEST(Pencil, StrokeFillsEveryFrameItCrossesAndTheRightButtonErases) {
    Survey s;
    s.store->viewStart = 100;
    // Pixel column 20 is frame 110.
    Image8MouseDown(s.pencil, MouseButton::Left, {20, 100});
    Image8MouseMove(s.pencil, *s.store, 1, {20, 100});
    EXPECT_EQ(s.row(110), 100);
    // Dragged fast across ten frames: frames 111..120 get rows 102 .. 120.
    Image8MouseMove(s.pencil, *s.store, 1, {40, 120});
    for (int f = 111; f <= 120; ++f) EXPECT_EQ(s.row(f), 100 + 2 * (f - 110)) << f;
    EXPECT_EQ(s.row(109), 0);
    // Off the picture the pointer is held at its edge.
    Image8MouseMove(s.pencil, *s.store, 1, {40, 900});
    EXPECT_EQ(s.row(120), 510);
    // A stroke with the right button erases the same frames.
    Image8MouseDown(s.pencil, MouseButton::Right, {20, 100});
    Image8MouseMove(s.pencil, *s.store, 1, {40, 120});
    for (int f = 111; f <= 120; ++f) EXPECT_EQ(s.row(f), 0) << f;
    EXPECT_EQ(s.row(110), 100);
    // Layer 8 and no layer have no boundary to draw.
    Image8MouseDown(s.pencil, MouseButton::Left, {20, 100});
    for (int layer : {0, 8}) Image8MouseMove(s.pencil, *s.store, layer, {40, 120});
    for (int k = 1; k <= BOUNDARIES; ++k) EXPECT_EQ(s.row(115, k), 0);
}

TEST(Pencil, ReleaseSmoothsTheBoundaryAlongTheSurvey) {
    Survey s;
    for (int f = 200; f < 300; ++f) setBoundaryRow(s.store->frame(f), 1, 100);
    setBoundaryRow(s.store->frame(250), 1, 130);
    Image8MouseDown(s.pencil, MouseButton::Left, {0, 100});
    const auto r = Image8MouseUp(s.pencil, *s.store, s.table, 1, MouseButton::Left, {2 * 500, 100},
                                 {}, s.ui, 1.0);
    EXPECT_EQ(r, GsrslResult::Smoothed);
    EXPECT_EQ(s.pencil.state, PencilState::Idle);
    // Frame 500 got the pencil's row; the spike at 250 was smoothed in
    // place, each frame seeing its smoothed predecessor: 100 130 100
    // became (100 + 100 + 130) / 3 = 110, (110 + 130 + 100) / 3 = 113 and
    // (113 + 100 + 100) / 3 = 104.
    EXPECT_EQ(s.row(500), 100);
    EXPECT_EQ(s.row(249), 110);
    EXPECT_EQ(s.row(250), 113);
    EXPECT_EQ(s.row(251), 104);
    EXPECT_TRUE(s.ui.shown.empty());
}

TEST(Smoothing, GapsOfSevenFramesCloseAndLongerOnesStay) {
    struct Case {
        const char* name;
        int gap;
        bool closes;
    };
    const Case cases[] = {{"seven", 7, true}, {"eight", 8, false}, {"one", 1, true}};
    for (const auto& c : cases) {
        Survey s;
        for (int f = 100; f < 200; ++f) setBoundaryRow(s.store->frame(f), 1, 200);
        for (int f = 150; f < 150 + c.gap; ++f) setBoundaryRow(s.store->frame(f), 1, 0);
        smoothBoundary(*s.store, 1, false);
        for (int f = 150; f < 150 + c.gap; ++f)
            EXPECT_EQ(s.row(f), c.closes ? 200 : 0) << c.name << " frame " << f;
    }
    // A boundary absent everywhere stays absent; others are untouched.
    Survey s;
    setBoundaryRow(s.store->frame(10), 2, 40);
    smoothBoundary(*s.store, 1, false);
    for (int f = 0; f < 1000; ++f) EXPECT_EQ(s.row(f), 0);
    EXPECT_EQ(s.row(10, 2), 40);
    // With the right Ctrl key: ((p + q) div 2 + v) div 2, each frame seeing
    // its smoothed predecessor: 40 47 40 becomes 41 43 40.
    setBoundaryRow(s.store->frame(11), 2, 47);
    setBoundaryRow(s.store->frame(12), 2, 40);
    smoothBoundary(*s.store, 2, true);
    EXPECT_EQ(s.row(10, 2), 41);
    EXPECT_EQ(s.row(11, 2), 43);
    EXPECT_EQ(s.row(12, 2), 40);
    EXPECT_EQ(s.row(13, 2), 0);
}

TEST(Deletion, QuestionsInBothLanguagesAndTheirAnswers) {
    const Message all = msg::deleteAllLayers();
    EXPECT_EQ(all.ru, "X\xD0\xBE\xD1\x82\xD0\xB8\xD1\x82\xD0\xB5 удалить Все слои?");
    EXPECT_EQ(all.ru.substr(0, 1), "X"); // a Latin X
    EXPECT_EQ(all.en, "You want to delete ALL stratums?");
    const Message one = msg::deleteCurrentLayer();
    EXPECT_EQ(one.ru, "Xотите удалить текущий слой?");
    EXPECT_EQ(one.en, "You want to delete stratum?");
    for (const Message& m : {all, one}) {
        EXPECT_EQ(m.icon, Icon::Warning);
        EXPECT_EQ(m.buttons, Buttons::YesNo);
    }

    struct Case {
        const char* name;
        BoundaryKeys keys;
        std::vector<Answer> answers;
        std::vector<std::string> asked; // English wordings
        GsrslResult result;
        bool boundary1, boundary2; // left afterwards
    };
    const Case cases[] = {
        {"all, no",
         {true, false, false},
         {Answer::No},
         {all.en},
         GsrslResult::Declined,
         true,
         true},
        {"all, yes",
         {true, false, false},
         {Answer::Yes},
         {all.en},
         GsrslResult::Deleted,
         false,
         false},
        {"current, yes",
         {false, true, false},
         {Answer::Yes},
         {one.en},
         GsrslResult::Deleted,
         false,
         true},
        {"current, no",
         {false, true, false},
         {Answer::No},
         {one.en},
         GsrslResult::Declined,
         true,
         true},
        {"both, yes and yes",
         {true, true, false},
         {Answer::Yes, Answer::Yes},
         {all.en, one.en},
         GsrslResult::Deleted,
         false,
         false},
        {"both, no",
         {true, true, false},
         {Answer::No},
         {all.en},
         GsrslResult::Declined,
         true,
         true},
    };
    for (const auto& c : cases) {
        Survey s;
        setBoundaryRow(s.store->frame(0), 1, 120);
        setBoundaryRow(s.store->frame(63999), 1, 121);
        setBoundaryRow(s.store->frame(500), 2, 200);
        s.ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(GSRSL(*s.store, s.table, 1, c.keys, s.ui, 1.0), c.result) << c.name;
        ASSERT_EQ(s.ui.shown.size(), c.asked.size()) << c.name;
        for (std::size_t i = 0; i < c.asked.size(); ++i) EXPECT_EQ(s.ui.shown[i].en, c.asked[i]);
        EXPECT_EQ(s.row(0) == 120 && s.row(63999) == 121, c.boundary1) << c.name;
        EXPECT_EQ(s.row(500, 2) == 200, c.boundary2) << c.name;
    }
    // No boundary work for "no boundaries" and layer 8: nothing is asked.
    for (int layer : {0, 8}) {
        Survey s;
        EXPECT_EQ(GSRSL(*s.store, s.table, layer, {true, true, false}, s.ui, 1.0),
                  GsrslResult::Nothing);
        EXPECT_TRUE(s.ui.shown.empty());
    }
}

} // namespace
} // namespace tesk::testing

namespace tesk::testing {
namespace {

// Cells a damaged file may hold: every boundary at 65535, every velocity at
// 65535. Nothing reads off a trace, divides by zero or writes a NaN.
TEST(HostileCells, BoundaryAndVelocityCellsAtTheirLimit) {
    Survey s;
    for (int f = 0; f < 600; ++f) {
        FrameRecord& fr = s.store->frame(f);
        for (int k = 1; k <= BOUNDARIES; ++k) setBoundaryRow(fr, k, 65535);
        for (int k = 1; k <= LAYERS; ++k) {
            setLayerCode(fr, k, 65535);
            setHodographCode(fr, k, 65535);
        }
    }
    DisplayRaster raster;
    fillRaster(raster, *s.store, 0);
    BoundarySettings b;
    b.layer = 4;
    b.snap = true;
    const OverlayDrawing d = ShowBoundaries(*s.store, raster, b);
    for (const auto& l : d.lines)
        for (Point p : l.points) EXPECT_LE(p.y, 510);
    EXPECT_LE(boundaryRow(s.store->frame(10), 4), 511);

    DepthSectionSettings ds;
    ds.referenceCode = 500;
    for (const SectionTrace& t : convertDepthSection(raster, ds))
        for (int k = 1; k <= LAYERS; ++k)
            if (t.drawn[std::size_t(k)]) {
                EXPECT_GE(t.top[std::size_t(k)], 0);
                EXPECT_LE(t.bottom[std::size_t(k)], 510);
            }

    const TimeDepth m = TimeDepth::layered(s.store->frame(10), 1.0, 500);
    EXPECT_TRUE(std::isfinite(m.depthCm(300)));
    EXPECT_TRUE(std::isfinite(m.timeNs(1e6)));

    editPointCell(s.table, *s.store, 2, point_row::Frame, "10", 1.0);
    editPointCell(s.table, *s.store, 2, point_row::Hodograph + 1, "99999999999999999999", 1.0);
    for (int r = 1; r <= point_row::Last; ++r) {
        const std::string& cell = s.table.grid.cell(2, r);
        EXPECT_EQ(cell.find("nan"), std::string::npos) << r;
        EXPECT_EQ(cell.find("inf"), std::string::npos) << r;
    }
    EXPECT_EQ(s.table.grid.cell(2, point_row::Hodograph + 1), "15");
}

} // namespace
} // namespace tesk::testing
