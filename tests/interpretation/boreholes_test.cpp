// The borehole display: which points are drawn, where their lines, bands and
// level marks fall in pixels, the relief shift, and the table texts read.

#include "interpretation/boreholes.h"
#include "interpretation/overlay_drawing.h"
#include "interpretation/point_table.h"
#include "support/store_test_support.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

// The point numbers are text: drawing them needs the toolkit's fonts.
void ensureApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "boreholes_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Velocity 10 cm/ns and 0.5 ns per row: 5 cm per row, K = 0.2 rows per cm.
constexpr int VELOCITY = 1000;
constexpr double NS_PER_ROW = 0.5;
constexpr int32_t VIEW_START = 100;

struct Board {
    Board() : store(newStore()) {
        grid = PointTable().grid;
        // Layer colours 1 and 2: red and green (blue, green, red cells).
        store->header.setLayerColour(1, LayerColour{0xFF, 0, 0});
        store->header.setLayerColour(2, LayerColour{0, 0xFF, 0});
    }
    // Point at table column c on frame f with its level texts.
    void point(int c, const std::string& frame, std::vector<std::string> levels = {}) {
        grid.setCell(c, point_row::Frame, frame);
        for (std::size_t k = 0; k < levels.size(); ++k)
            grid.setCell(c, point_row::Level + int(k) + 1, levels[k]);
    }
    QImage draw(bool relief = false, uint32_t reference = 0) {
        ensureApp();
        BoreholeView v;
        v.viewStart = VIEW_START;
        v.scale.on = relief;
        v.scale.referenceHeight = reference;
        v.scale.velocityCode = VELOCITY;
        v.scale.nsPerRow = NS_PER_ROW;
        v.scale.stretch = 1.0;
        QImage image;
        ShowBoreholes(image, boreholesOfTable(grid), *store, v);
        return image;
    }
    StorePtr store;
    TableModel grid{65, 35};
};

uint32_t bgr(const QImage& im, int x, int y) {
    const QRgb c = im.pixel(x, y);
    if (qAlpha(c) == 0) return 0xFF000000u; // transparent
    return uint32_t(qRed(c)) | uint32_t(qGreen(c)) << 8 | uint32_t(qBlue(c)) << 16;
}

constexpr uint32_t NONE = 0xFF000000u;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t RED = 0x0000FF;
constexpr uint32_t GREEN = 0x00FF00;

TEST(Boreholes, LinesBandsAndLevelMarksAtTheirPixels) {
    Board b;
    // Frame 150 lies at x = 100; levels 100 cm (row 20) and 250 cm (row 50).
    b.point(2, "150", {"100", "250"});
    const QImage im = b.draw();
    struct Px {
        int x, y;
        uint32_t colour;
    };
    const Px expected[] = {
        {97, 1, 0x000001}, {103, 19, 0x000001}, // band edges
        {98, 1, RED},      {99, 10, RED},         {101, 19, RED},
        {102, 5, RED},     {100, 19, 0x000000},                    // middle column black
        {97, 20, WHITE},   {107, 20, WHITE},      {108, 20, NONE}, // level mark x-3 .. x+7
        {98, 21, GREEN},   {102, 49, GREEN},      {100, 30, 0x000000},
        {107, 50, WHITE},                                           // second mark
        {99, 51, WHITE},   {100, 489, WHITE},     {101, 300, NONE}, // point line: x-1 and x
        {100, 490, NONE},  {98, 51, NONE},        {96, 10, NONE},
        {0, 0, 0x000000},  {1023, 511, 0x000000}, {500, 0, 0x000000}, // black outline
    };
    for (const Px& p : expected)
        EXPECT_EQ(bgr(im, p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
    // The point's number, 1, in white under its line.
    int white = 0;
    for (int y = 494; y < 511; ++y)
        for (int x = 100; x < 112; ++x) white += bgr(im, x, y) == WHITE;
    EXPECT_GT(white, 3);
}

TEST(Boreholes, PointsOutsideTheViewAndPointsWithoutLevels) {
    Board b;
    b.point(2, "100");                     // x = 0: not drawn
    b.point(3, "610");                     // x = 1020: not drawn
    b.point(4, "609.4");                   // rounded to 609, x = 1018: drawn, no levels
    b.point(5, "300", {"abc", "-5", "0"}); // no level is a number above 0
    const QImage im = b.draw();
    for (int y = 1; y < 490; y += 50) {
        EXPECT_EQ(bgr(im, 1, y), NONE) << y;
        EXPECT_EQ(bgr(im, 1018, y), WHITE) << y;
        EXPECT_EQ(bgr(im, 1015, y), NONE) << y; // no band
        EXPECT_EQ(bgr(im, 400, y), WHITE) << y;
        EXPECT_EQ(bgr(im, 398, y), NONE) << y;
    }
    // Nothing is drawn for the point at x = 1020 (the number of the one at
    // 1018 reaches past it below row 490).
    for (int y = 1; y < 490; ++y) EXPECT_EQ(bgr(im, 1021, y), NONE) << y;
}

TEST(Boreholes, LevelAboveThePreviousOneDrawsUpwardAndColourZeroIsBlack) {
    Board b;
    b.store->header.setLayerColour(2, LayerColour{0, 0, 0});
    b.point(2, "150", {"250", "100"}); // row 50, then row 20
    const QImage im = b.draw();
    // The second band runs from row 51 up to row 21, in black, over the
    // first band and its mark; the first band shows above it.
    EXPECT_EQ(bgr(im, 98, 19), RED);
    for (int y : {51, 50, 35, 21}) EXPECT_EQ(bgr(im, 98, y), 0x000000) << y;
    EXPECT_EQ(bgr(im, 97, 50), 0x000001);
    EXPECT_EQ(bgr(im, 107, 50), WHITE); // the first mark's right end stays
    EXPECT_EQ(bgr(im, 97, 20), WHITE);
    EXPECT_EQ(bgr(im, 107, 20), WHITE);
    EXPECT_EQ(bgr(im, 99, 52), WHITE); // the point line below the bands
}

TEST(Boreholes, ReliefDisplayHangsTheColumnFromTheGround) {
    Board b;
    // Href 1000 cm over a frame at 900 cm: s = Round(100 x 0.2) = 20 rows.
    b.store->frame(150).set24(cell::ReliefHeight, 900);
    b.point(2, "150", {"100"});
    const QImage im = b.draw(true, 1000);
    EXPECT_EQ(bgr(im, 98, 19), NONE);
    EXPECT_EQ(bgr(im, 99, 19), NONE); // the point line starts at s too
    EXPECT_EQ(bgr(im, 98, 20), RED);
    EXPECT_EQ(bgr(im, 98, 39), RED);
    EXPECT_EQ(bgr(im, 97, 40), WHITE); // 100 cm: row 20 + 20
    EXPECT_EQ(bgr(im, 99, 41), WHITE);
}

} // namespace
} // namespace tesk::testing
