// The layered model of the hodograph table and the velocity and depth table:
// depths, layer velocities and permittivities of hand-computed layered
// cases, the text rules of the cells, validation, the table mark and the
// lateral interpolation of layer velocities.

#include "interpretation/layer_cells.h"
#include "interpretation/layer_table.h"
#include "interpretation/table_text.h"
#include "interpretation_rig.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk::testing {
namespace {

// A blank survey of one profile: frames 0..999 in profile.
struct Blank {
    Blank() : store(newStore()) {
        for (int f = 0; f < 1000; ++f) putSample(*store, f);
        store->frameCount = 999;
        store->finishLoad();
        fillRaster(raster, *store, 0);
    }
    VelocityContext context() {
        return VelocityContext{*store, raster, view, session, points, settings, storedLevelTable(0),
                               ui};
    }
    StorePtr store;
    DisplayRaster raster;
    ViewState view;
    VelocitySession session;
    PointTable points;
    VelocitySettings settings;
    RecordingInteraction ui;
};

struct Layer {
    int row;
    const char* vh; // typed hodograph velocity
    const char* vs; // expected layer velocity ("0": invalid)
    const char* depth;
    const char* eps;
};

struct LayeredCase {
    const char* name;
    double nsPerRow;
    std::vector<Layer> layers;
};

TEST(LayerTable, DepthsAndLayerVelocitiesOfLayeredGround) {
    const LayeredCase cases[] = {
        // 10 cm/ns to 100 ns: 1000 cm; mean 8 cm/ns to 150 ns: 1200 cm, so
        // the second layer holds 200 cm in 50 ns: 4 cm/ns.
        {"two layers", 1.0, {{100, "10", "10", "1000", "2.25"}, {150, "8", "4", "1200", "14.06"}}},
        // 0.5 ns per row: boundaries at 60, 100 and 150 ns; 300, 460, 630 cm.
        {"three layers",
         0.5,
         {{120, "5", "5", "300", "9"},
          {200, "4.6", "4", "460", "14.06"},
          {300, "4.2", "3.4", "630", "19.46"}}},
        // The second layer would need 24 cm/ns: shown as 0; the third is
        // still counted from the second one's depth of 440 cm.
        {"too fast a layer",
         1.0,
         {{100, "2", "2", "200", "56.25"},
          {110, "4", "0", "0", "0"},
          {200, "3", "1.78", "600", "71.01"}}},
    };
    for (const auto& c : cases) {
        Blank b;
        b.settings.nsPerRow = c.nsPerRow;
        b.view.cursorColumn = 40;
        FrameRecord& f = b.store->frame(40);
        for (std::size_t i = 0; i < c.layers.size(); ++i) {
            setBoundaryRow(f, int(i) + 1, c.layers[i].row);
            b.session.hodographTable.setCell(1, int(i) + 1, c.layers[i].vh);
        }
        auto ctx = b.context();
        UpdateLayerTable(ctx);
        const TableModel& g4 = b.session.hodographTable;
        const TableModel& g1 = b.points.grid;
        for (std::size_t i = 0; i < c.layers.size(); ++i) {
            const int k = int(i) + 1;
            const Layer& l = c.layers[i];
            EXPECT_EQ(g4.cell(2, k), l.vs) << c.name << " layer " << k;
            EXPECT_EQ(g4.cell(3, k), l.depth) << c.name << " layer " << k;
            EXPECT_EQ(g4.cell(4, k), l.eps) << c.name << " layer " << k;
            EXPECT_EQ(g1.cell(1, point_row::LayerVelocity + k), l.vs) << c.name << " layer " << k;
            EXPECT_EQ(g1.cell(1, point_row::Depth + k), l.depth) << c.name << " layer " << k;
            EXPECT_EQ(hodographCode(f, k), velocityCodeOfCell(l.vh)) << c.name;
        }
        // Layer 8 down to row 526 has no velocity: nothing shown.
        EXPECT_EQ(g4.cell(2, 8), "0") << c.name;
        // The echo table: each boundary's time and its multiples.
        const double t1 = c.layers[0].row * c.nsPerRow;
        for (int m = 1; m <= 3; ++m)
            EXPECT_EQ(b.session.echoTable.cell(m, 1), formatDecimal(m * t1, 2, '.')) << c.name;
        EXPECT_EQ(b.session.echoTable.cell(1, 7), "0") << c.name;
    }
}

TEST(LayerTable, HodographVelocityTextRules) {
    struct Case {
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {"4.5555", "4.555"}, // six characters keep five
        {".5", "00"},        // a leading separator leaves nothing
        {"20", "15"},        // faster than free space
        {"5,5", "5.5"},      // either separator, written as the table's
        {"1.5.3", "1.5"},    // a second separator cuts the text
        {"1234.5", "15"},    // a separator in the fifth place is cut, 1234 is too fast
        {"3.25", "3.25"},    {"x", "00"},
    };
    for (const auto& c : cases) EXPECT_EQ(normaliseVelocityText(c.typed, '.'), c.kept) << c.typed;
    Blank b;
    b.session.hodographTable.setCell(1, 1, "");
    b.session.hodographTable.setCell(1, 2, "4.5555");
    auto ctx = b.context();
    UpdateLayerTable(ctx);
    EXPECT_EQ(b.session.hodographTable.cell(1, 1), "0");
    EXPECT_EQ(b.session.hodographTable.cell(1, 2), "4.555");
}

TEST(LayerTable, CurrentBoundaryIsPlacedBetweenItsNeighbours) {
    Blank b;
    FrameRecord& f = b.store->frame(0);
    setBoundaryRow(f, 1, 100);
    setBoundaryRow(f, 2, 90);
    setBoundaryRow(f, 3, 300);
    for (int k = 1; k <= 3; ++k) b.session.hodographTable.setCell(1, k, "5");
    b.session.hodograph = 2;
    auto ctx = b.context();
    UpdateLayerTable(ctx);
    EXPECT_EQ(boundaryRow(f, 2), 101);
    EXPECT_EQ(b.view.cursorRow, 101);
    // A hodograph of velocity "0" that is not being measured leaves the frame.
    b.session.hodographTable.setCell(1, 3, "0");
    UpdateLayerTable(ctx);
    EXPECT_EQ(boundaryRow(f, 3), 0);
    EXPECT_EQ(boundaryRow(f, 1), 100);
}

TEST(LayerTable, ConductivityFromTheAmplitudesAtThePicks) {
    struct Case {
        const char* name;
        int a1, a2;
        bool picked;
        const char* shown;
    };
    // Vgr 5 (permittivity 9) to 100 ns: D1 = 500 cm; picks 10 frames of
    // 10 cm apart, no antenna gap: P1 = 1000, P2 = 2 sqrt(50^2 + 500^2) =
    // 1004.988, delta = 0.04988 x 125.6 = 6.26438; alpha = 2 ln(200 / 100) x 3
    // = 4.15888; sigma = Round(alpha / delta x 1e7) = 6638940, shown / 1000.
    const Case cases[] = {{"halved amplitude", 200, 100, true, "6638.94 4"},
                          {"equal amplitudes", 150, 150, true, "0 4"},
                          {"not picked yet", 200, 100, false, "0 4"}};
    for (const auto& c : cases) {
        Blank b;
        b.settings.stepCm = 10;
        b.settings.antennaCm = 0;
        setBoundaryRow(b.store->frame(0), 1, 100);
        b.session.hodographTable.setCell(1, 1, "5");
        b.raster.at(0, DisplayRaster::FIRST_VIEW_ROW + 0, 100) = uint8_t(c.a1);
        b.raster.at(0, DisplayRaster::FIRST_VIEW_ROW + 10, 100) = uint8_t(c.a2);
        b.session.remembered[1] = {{0, 100}, {10, 100}, c.picked, c.picked};
        auto ctx = b.context();
        UpdateLayerTable(ctx);
        EXPECT_EQ(b.session.hodographTable.cell(5, 1), c.shown) << c.name;
    }
}

// --- velocity and depth table -----------------------------------------------------

TEST(PointTable, VelocityTableDerivesDepthsAndStoresTheVelocities) {
    Blank b;
    FrameRecord& f = b.store->frame(250);
    setBoundaryRow(f, 1, 100);
    setBoundaryRow(f, 2, 150);
    PointTable& t = b.points;
    const std::pair<int, const char*> typed[] = {{point_row::Frame, "250"},
                                                 {point_row::Hodograph + 1, "10"},
                                                 {point_row::Hodograph + 2, "8"}};
    for (auto [row, text] : typed) editPointCell(t, *b.store, 2, row, text, 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::LayerVelocity + 1), "10");
    EXPECT_EQ(t.grid.cell(2, point_row::LayerVelocity + 2), "4");
    EXPECT_EQ(t.grid.cell(2, point_row::Depth + 1), "1000");
    EXPECT_EQ(t.grid.cell(2, point_row::Depth + 2), "1200");
    EXPECT_TRUE(f.status() & status::TableMark);
    EXPECT_EQ(hodographCode(f, 2), 800);
    EXPECT_EQ(layerCode(f, 1), 1000);
    EXPECT_EQ(layerCode(f, 2), 400);
    // The single point's layer velocities hold along the whole survey.
    EXPECT_EQ(layerCode(b.store->frame(0), 2), 400);
    EXPECT_EQ(layerCode(b.store->frame(999), 2), 400);
    // Moving the point to another frame takes the mark with it.
    editPointCell(t, *b.store, 2, point_row::Frame, "260", 1.0);
    EXPECT_FALSE(f.status() & status::TableMark);
    EXPECT_TRUE(b.store->frame(260).status() & status::TableMark);
}

TEST(PointTable, DepthTableDerivesVelocities) {
    struct Case {
        const char* d1;
        const char* d2;
        const char* vh2;
        const char* vs2;
    };
    const Case cases[] = {
        {"1000", "1200", "8", "4"}, {"1000", "900", "0", "0"}, // not deeper than the layer above
    };
    for (const auto& c : cases) {
        Blank b;
        FrameRecord& f = b.store->frame(250);
        setBoundaryRow(f, 1, 100);
        setBoundaryRow(f, 2, 150);
        PointTable& t = b.points;
        t.mode = TableMode::Depth;
        editPointCell(t, *b.store, 2, point_row::Frame, "250", 1.0);
        editPointCell(t, *b.store, 2, point_row::Depth + 1, c.d1, 1.0);
        editPointCell(t, *b.store, 2, point_row::Depth + 2, c.d2, 1.0);
        EXPECT_EQ(t.grid.cell(2, point_row::Hodograph + 1), "10") << c.d2;
        EXPECT_EQ(t.grid.cell(2, point_row::LayerVelocity + 1), "10") << c.d2;
        EXPECT_EQ(t.grid.cell(2, point_row::Hodograph + 2), c.vh2) << c.d2;
        EXPECT_EQ(t.grid.cell(2, point_row::LayerVelocity + 2), c.vs2) << c.d2;
        EXPECT_EQ(layerCode(f, 2), velocityCodeOfCell(c.vs2)) << c.d2;
    }
}

TEST(PointTable, LayerVelocitiesAreInterpolatedBetweenPoints) {
    Blank b;
    PointTable& t = b.points;
    for (auto [column, frame, code] : {std::tuple{2, 300, "7"}, std::tuple{3, 100, "5"}}) {
        setBoundaryRow(b.store->frame(frame), 1, 100);
        editPointCell(t, *b.store, column, point_row::Frame, std::to_string(frame), 1.0);
        editPointCell(t, *b.store, column, point_row::Hodograph + 1, code, 1.0);
    }
    const std::pair<int, int> expected[] = {{0, 500},   {99, 500},  {100, 500}, {150, 550},
                                            {200, 600}, {300, 700}, {999, 700}};
    for (auto [frame, code] : expected)
        EXPECT_EQ(layerCode(b.store->frame(frame), 1), code) << frame;
    // A point beyond the last frame slot a point may name is reset and
    // takes no part.
    editPointCell(t, *b.store, 4, point_row::Frame, "70000", 1.0);
    EXPECT_EQ(t.grid.cell(4, point_row::Frame), "00");
    EXPECT_EQ(layerCode(b.store->frame(999), 1), 700);
}

TEST(PointTable, CellValidationAndNames) {
    Blank b;
    PointTable& t = b.points;
    editPointCell(t, *b.store, 2, point_row::Frame, "42", 1.0);
    editPointCell(t, *b.store, 2, point_row::Name, "BH12345", 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::Name), "BH1234");
    const FrameRecord& f = b.store->frame(42);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.value[cell::PointName]), 6), "BH1234");
    // Depths are typed in the depth table.
    t.mode = TableMode::Depth;
    editPointCell(t, *b.store, 2, point_row::Depth + 3, "70000", 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::Depth + 3), "65535");
    t.mode = TableMode::Velocity;
    editPointCell(t, *b.store, 2, point_row::Level + 1, "70000", 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::Level + 1), "00");
    editPointCell(t, *b.store, 2, point_row::Level + 2, "", 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::Level + 2), "00");
    EXPECT_EQ(t.grid.cell(1, point_row::Name), "A1289Z");
    // The name row is rebuilt from the frame after any other edit.
    t.grid.setCell(2, point_row::Name, "junk");
    editPointCell(t, *b.store, 2, point_row::Level + 3, "12", 1.0);
    EXPECT_EQ(t.grid.cell(2, point_row::Name), "BH1234");
    // Reloaded, the point comes back with its frame, name and velocities.
    PointTable again;
    loadPointTable(again, *b.store);
    EXPECT_EQ(again.grid.cell(2, point_row::Frame), "42");
    EXPECT_EQ(again.grid.cell(2, point_row::Name), "BH1234");
    EXPECT_EQ(again.grid.cell(3, point_row::Frame), "0");
}

TEST(PointTable, KeysEachRowTakes) {
    Blank b;
    PointTable& t = b.points;
    struct Case {
        int row;
        char32_t key;
        std::optional<char32_t> taken;
    };
    const Case cases[] = {
        {1, U'a', U'a'},          {1, U'7', U'7'},
        {1, U'-', std::nullopt},  {2, U'7', U'7'},
        {2, U'.', std::nullopt},  {3, U',', U'.'},
        {10, U'.', U'.'},         {10, U'x', std::nullopt},
        {11, U'5', U'5'},         {11, U'.', std::nullopt},
        {26, U'.', std::nullopt}, {27, U'-', U'-'},
        {34, U'x', U'x'},         {5, KEY_BACKSPACE, KEY_BACKSPACE},
    };
    for (const auto& c : cases) {
        StringGrid1Click(t, 2, c.row);
        EXPECT_EQ(StringGrid1KeyPress(t, *b.store, c.key), c.taken) << c.row;
    }
    EXPECT_EQ(StringGrid4KeyPress(U',', ','), U',');
    EXPECT_EQ(StringGrid4KeyPress(U'.', ','), U',');
    EXPECT_EQ(StringGrid4KeyPress(KEY_ENTER, ','), KEY_ENTER);
    EXPECT_EQ(StringGrid4KeyPress(U'a', ','), std::nullopt);
    // Typing into a point takes its frame's table mark away until the
    // table is updated.
    editPointCell(t, *b.store, 2, point_row::Frame, "42", 1.0);
    ASSERT_TRUE(b.store->frame(42).status() & status::TableMark);
    StringGrid1Click(t, 2, 3);
    StringGrid1KeyPress(t, *b.store, U'5');
    EXPECT_FALSE(b.store->frame(42).status() & status::TableMark);
}

} // namespace
} // namespace tesk::testing
