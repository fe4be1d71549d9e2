// The magnifier: the zoom and size rules of its window, the window of cells
// it shows, plane 7 against interpolations worked out by hand for factors 2
// and 5, and the colours of the enlarged picture.

#include "display/magnifier.h"

#include "display/pixel_canvas.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace tesk {
namespace {

// The caption is drawn as text, which needs the toolkit's fonts.
void ensureApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "magnifier_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

TEST(MagnifierZoom, StaysWithin2And16WhateverTheClicks) {
    Magnifier m;
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(magnifierMouseDown(m, MouseButton::Left, {false, true}, {60, 60}),
                  MagnifierPress::Zoomed);
    EXPECT_EQ(m.factor, 16);
    EXPECT_EQ(m.mouseState, magnifier_mouse::ZoomedIn);
    for (int i = 0; i < 20; ++i) magnifierMouseDown(m, MouseButton::Right, {false, true}, {60, 60});
    EXPECT_EQ(m.factor, 2);
    magnifierMouseDown(m, MouseButton::Right, {}, {60, 60});
    EXPECT_EQ(m.factor, 2);
    EXPECT_EQ(m.mouseState, magnifier_mouse::RightPressed);
}

TEST(MagnifierPresses, EdgesResizeAndTheRestMovesThePanel) {
    struct Row {
        Point at;
        MagnifierPress press;
    };
    const Row rows[] = {
        {{121, 10}, MagnifierPress::Resize},    {{128, 10}, MagnifierPress::Resize},
        {{10, 121}, MagnifierPress::Resize},    {{120, 120}, MagnifierPress::MovePanel},
        {{129, 10}, MagnifierPress::MovePanel}, {{60, 60}, MagnifierPress::MovePanel},
    };
    for (const Row& r : rows) {
        Magnifier m; // 128 x 128
        EXPECT_EQ(magnifierMouseDown(m, MouseButton::Left, {}, r.at), r.press)
            << r.at.x << "," << r.at.y;
    }
}

TEST(MagnifierResize, CornerDragStopsAt512AndAt128) {
    struct Row {
        Point to;
        int width, height;
    };
    const Row rows[] = {
        {{1000, 1000}, 512, 512},
        {{-1000, -1000}, 128, 128},
        {{300, 126}, 302, 128},
        {{126, 200}, 128, 202},
    };
    for (const Row& r : rows) {
        Magnifier m;
        ASSERT_EQ(magnifierMouseDown(m, MouseButton::Left, {}, {126, 126}), MagnifierPress::Resize);
        EXPECT_TRUE(magnifierMouseMove(m, r.to));
        magnifierMouseUp(m, r.to);
        EXPECT_EQ(m.width, r.width) << r.to.x;
        EXPECT_EQ(m.height, r.height) << r.to.y;
        EXPECT_EQ(m.mouseState, magnifier_mouse::Idle);
        EXPECT_FALSE(magnifierMouseMove(m, {0, 0})); // no longer resizing
    }
}

TEST(MagnifierCursorShape, SizingShapesNearTheRightAndBottomEdges) {
    const Magnifier m; // 128 x 128
    EXPECT_EQ(magnifierCursor(m, {60, 60}), MagnifierCursor::Drag);
    EXPECT_EQ(magnifierCursor(m, {118, 60}), MagnifierCursor::SizeWE);
    EXPECT_EQ(magnifierCursor(m, {60, 128}), MagnifierCursor::SizeNS);
    EXPECT_EQ(magnifierCursor(m, {120, 120}), MagnifierCursor::SizeDiagonal);
}

TEST(MagnifierWindowRule, CentresOnTheCursorInsideTheView) {
    struct Row {
        int factor, size, column, row;
        MagnifierWindow expected;
    };
    const Row rows[] = {
        {2, 128, 100, 100, {32, 64, 84, 68}},
        {2, 128, 0, 0, {32, 64, 0, 0}},         // starts at frame 0
        {2, 128, 511, 511, {32, 64, 480, 448}}, // ends at view column 511
        {5, 128, 6, 12, {12, 25, 0, 0}},        // Trunc(12 - 12.5) = 0
        {16, 512, 300, 300, {16, 32, 292, 284}},
    };
    for (const Row& r : rows) {
        Magnifier m;
        m.factor = r.factor;
        m.width = m.height = r.size;
        const MagnifierWindow w = magnifierWindow(m, r.column, r.row);
        EXPECT_EQ(w.columns, r.expected.columns) << r.factor;
        EXPECT_EQ(w.rows, r.expected.rows);
        EXPECT_EQ(w.firstColumn, r.expected.firstColumn);
        EXPECT_EQ(w.firstRow, r.expected.firstRow);
    }
}

class Plane7 : public ::testing::Test {
  protected:
    std::unique_ptr<DisplayRaster> raster = std::make_unique<DisplayRaster>();
    // Plane 0 all `code`, plane 7 filled with a value no rule produces here.
    void fill(uint8_t code) {
        std::fill(raster->plane(0), raster->plane(0) + DisplayRaster::ROWS * DisplayRaster::COLUMNS,
                  code);
        std::fill(raster->plane(7), raster->plane(7) + DisplayRaster::ROWS * DisplayRaster::COLUMNS,
                  0xEE);
    }
    // Picture cell (column, row) of plane 7.
    int cell(int column, int row) const { return raster->at(7, column, row); }
};

// A 2 x 2 neighbourhood at the top-left of the view: view column 0 holds 100
// and 103 at samples 0 and 1, view column 1 holds 111 and 90; all else 100.
TEST_F(Plane7, FactorTwoInterpolatesHalfwayWithTiesToEven) {
    fill(100);
    raster->at(0, 20, 1) = 103;
    raster->at(0, 21, 0) = 111;
    raster->at(0, 21, 1) = 90;
    Magnifier m; // F = 2, 128 x 128: window 32 x 64 from (0, 0) for a cursor at (16, 32)
    ViewState v;
    v.cursorColumn = 16;
    v.cursorRow = 32;
    enlargeIntoPlane7(*raster, m, v);
    // Along the frames, rows 0 and 2: 100, Round(105.5) = 106, 111, Round(105.5) = 106;
    // 103, Round(96.5) = 96, 90, 95. Along the samples, row 1: Round(101.5) = 102,
    // Round(101) = 101, Round(100.5) = 100, Round(100.5) = 100.
    const int expected[3][4] = {{100, 106, 111, 106}, {102, 101, 100, 100}, {103, 96, 90, 95}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(cell(col, row), expected[row][col]) << col << "," << row;
}

TEST_F(Plane7, FactorFiveStepsAFifthOfTheDifference) {
    fill(100);
    raster->at(0, 20, 1) = 103;
    raster->at(0, 21, 0) = 111;
    raster->at(0, 21, 1) = 90;
    Magnifier m;
    m.factor = 5; // window 12 x 25 from (0, 0) for a cursor at (6, 12)
    ViewState v;
    v.cursorColumn = 6;
    v.cursorRow = 12;
    enlargeIntoPlane7(*raster, m, v);
    // Row 0: 100 + 2.2 j -> 100, 102, 104, 107, 109. Row 5: 103 - 2.6 j -> 103, 100, 98, 95, 93.
    const int row0[5] = {100, 102, 104, 107, 109};
    const int row5[5] = {103, 100, 98, 95, 93};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(cell(j, 0), row0[j]) << j;
        EXPECT_EQ(cell(j, 5), row5[j]) << j;
    }
    // Column 0 from 100 to 103: 100.6, 101.2, 101.8, 102.4; column 3 from 107 to 95 in
    // steps of -2.4: 104.6, 102.2, 99.8, 97.4.
    const int column0[4] = {101, 101, 102, 102};
    const int column3[4] = {105, 102, 100, 97};
    for (int j = 1; j <= 4; ++j) {
        EXPECT_EQ(cell(0, j), column0[j - 1]) << j;
        EXPECT_EQ(cell(3, j), column3[j - 1]) << j;
    }
    // The next view column starts at its own code: column 5 is view column 1 at sample 0.
    EXPECT_EQ(cell(5, 0), 111);
}

// Every painted row lies between two enlarged samples, also where the height
// is not a multiple of the factor (Round(H / F) intervals may stop short of
// row H - 3, and Trunc(H / F) source samples short of the last interval's
// end). A neighbourhood that rises by s codes per sample from the window's
// first sample on must come out as 20 + s row / F on every painted row.
TEST_F(Plane7, EveryPaintedRowInterpolatesBetweenEnlargedSamples) {
    struct Row {
        int factor, width, height, column, row;
    };
    const Row rows[] = {{2, 128, 128, 0, 0},    {5, 131, 133, 511, 511}, {8, 200, 135, 300, 500},
                        {16, 512, 143, 511, 0}, {16, 512, 135, 40, 40},  {16, 512, 512, 256, 256},
                        {13, 300, 400, 10, 300}};
    for (const Row& r : rows) {
        Magnifier m;
        m.factor = r.factor;
        m.width = r.width;
        m.height = r.height;
        ViewState v;
        v.cursorColumn = r.column;
        v.cursorRow = r.row;
        const int first = magnifierWindow(m, r.column, r.row).firstRow;
        const int slope = 200 / (r.height / r.factor + 1); // stays below 255 over the window
        fill(0);
        for (int f = 0; f < DisplayRaster::FILTER_ROWS; ++f)
            for (int k = first; k < SAMPLE_ROWS; ++k)
                raster->at(0, f, k) = uint8_t(std::min(20 + slope * (k - first), 255));
        enlargeIntoPlane7(*raster, m, v);
        int wrong = 0;
        for (int col = 0; 2 * col < r.width; ++col)
            for (int row = 0; row <= r.height - 3; ++row)
                wrong += cell(col, row) != int(std::nearbyint(20 + slope * double(row) / r.factor));
        EXPECT_EQ(wrong, 0) << "F " << r.factor << " " << r.width << "x" << r.height;
    }
}

struct PaintCase {
    const char* name;
    int form, mode;
    uint8_t code;
    uint32_t colour;
};

class MagnifierPaint : public ::testing::TestWithParam<PaintCase> {};

TEST_P(MagnifierPaint, UsesTheRadargramColoursWithItsOwnNoDataAndBackground) {
    ensureApp();
    const PaintCase& c = GetParam();
    auto raster = std::make_unique<DisplayRaster>();
    std::fill(raster->plane(0), raster->plane(0) + DisplayRaster::ROWS * DisplayRaster::COLUMNS,
              c.code);
    auto s = std::make_unique<DisplaySettings>();
    auto p = std::make_unique<Palettes>();
    s->amplitudeForm = c.form;
    s->colourMode = c.mode;
    ReColor3D(*p, *s);
    Magnifier m;
    m.width = 200;
    m.height = 160;
    QImage image;
    LUPA(image, *raster, m, ViewState{}, *s, *p);
    ASSERT_EQ(image.width(), 512);
    for (Point at : {Point{10, 10}, Point{11, 10}, Point{195, 150}, Point{100, 80}})
        EXPECT_EQ(bgrOf(image.pixel(at.x, at.y)), c.colour) << c.name << " " << at.x << "," << at.y;
    // Right of the panel's width nothing is painted; the outline covers the edge.
    EXPECT_EQ(qAlpha(image.pixel(300, 80)), 0) << c.name;
    EXPECT_EQ(bgrOf(image.pixel(199, 80)), magnifier_colour::Outline) << c.name;
    EXPECT_EQ(bgrOf(image.pixel(100, 159)), magnifier_colour::Outline) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, MagnifierPaint,
                         ::testing::Values(PaintCase{"main palette 150", 1, 0, 150, 0x05F7FF},
                                           PaintCase{"no data", 1, 0, 0, 0x000001},
                                           PaintCase{"no data, derivative two colours", 2, 5, 0,
                                                     0x000000},
                                           PaintCase{"mark mode background", 1, 6, 150, 0xDDDDDD},
                                           PaintCase{"slope mode background", 1, 7, 150, 0xDDDDDD}),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

} // namespace
} // namespace tesk
