// The A-scan picture at known pixels for hand-built traces in each zero/gain
// mode, the legend of every colour mode, the readouts, the relief and slice
// variants of the trace, and the clicks into the picture with the header
// cells they write. Palette colours are worked out by hand from the stored
// main palette and the ramp rules (comments give the arithmetic).

#include "display/ascan.h"
#include "display/pixel_canvas.h"
#include "display/radargram.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tesk {
namespace {

constexpr uint32_t BACKGROUND = ascan_colour::Background;
constexpr uint32_t GRID = 0x888888;
constexpr uint32_t RED = 0x0000FF;
constexpr uint32_t BLUE = 0xFF0000;
constexpr uint32_t MAROON = 0x000080;
constexpr uint32_t GREY_TRACE = 0x666666;
constexpr uint32_t EDGE = 0x777777;

uint32_t at(const QImage& image, int x, int y) {
    return bgrOf(image.pixel(x, y));
}

AScanTrace constantTrace(uint8_t processed, uint8_t stored, int row) {
    AScanTrace t;
    t.processed.fill(processed);
    std::array<uint8_t, SAMPLES_PER_FRAME> s{};
    s.fill(stored);
    t.stored = s;
    t.row = row;
    return t;
}

struct Px {
    int x, y;
    uint32_t colour;
};

void expectPixels(const QImage& image, const std::vector<Px>& pixels, const std::string& what) {
    for (const Px& p : pixels)
        EXPECT_EQ(at(image, p.x, p.y), p.colour) << what << " at " << p.x << "," << p.y;
}

class AScan : public ::testing::Test {
  protected:
    std::unique_ptr<DisplaySettings> s = std::make_unique<DisplaySettings>();
    std::unique_ptr<Palettes> p = std::make_unique<Palettes>();
    QImage image;
    AScanReadouts draw(const AScanTrace& t) {
        ReColor3D(*p, *s);
        return DrawAScan(image, t, *s, *p, GRID);
    }
};

// --- curve area ------------------------------------------------------------------------

// Processed trace 150 everywhere (red, x = 150 from row 0), stored trace 100
// (grey, x = 100), cursor row 300 (dotted grid colour, one pixel in three).
TEST_F(AScan, ShowsTheSettingLinesTheTracesAndTheCursorRowInEachMode) {
    struct Row {
        const char* name;
        int mode, zeroLevel, level1, pos1, level2, pos2;
        std::vector<Px> pixels;
    };
    // clang-format off
    const Row rows[] = {
        // Mode 0: a blue line at the zero level over rows 0..511, none in the gain colour.
        {"zero level 90", 0, 90, 60, 100, 200, 300,
         {{90, 0, BLUE}, {90, 200, BLUE}, {90, 511, BLUE}, {60, 50, BACKGROUND}}},
        // Modes 1, 2: the maroon polyline (60, 0) - (60, 100) - (200, 300) - (200, 511),
        // passing (130, 200) halfway along the slope.
        {"gain 1", 1, 90, 60, 100, 200, 300,
         {{60, 50, MAROON}, {60, 100, MAROON}, {200, 300, MAROON}, {200, 400, MAROON},
          {130, 200, MAROON}, {90, 200, BACKGROUND}}},
        {"gain 2 step", 2, 128, 40, 250, 220, 250,
         {{40, 100, MAROON}, {170, 250, MAROON}, {220, 400, MAROON}, {40, 400, BACKGROUND}}},
    };
    const std::vector<Px> common = {
        {150, 200, RED}, {150, 510, RED}, {140, 0, RED},  // runs in from (128, 0)
        {100, 200, GREY_TRACE}, {120, 0, GREY_TRACE},     // runs in from (127, 0)
        {3, 300, GRID}, {4, 300, BACKGROUND}, {230, 300, BACKGROUND},
        {128, 3, 0}, {128, 4, BACKGROUND},                // dotted zero axis
        {200, 0, EDGE}, {200, 512, EDGE}, {200, 532, EDGE},
        {220, 100, BACKGROUND}, {0, 100, ascan_colour::Frame},
    };
    // clang-format on
    for (const Row& c : rows) {
        s->zeroGainMode = c.mode;
        s->ZeroLevel = uint8_t(c.zeroLevel);
        s->GainLevel1 = c.level1;
        s->GainPos1 = c.pos1;
        s->GainLevel2 = c.level2;
        s->GainPos2 = c.pos2;
        BuildGainCurve(*s);
        const AScanReadouts r = draw(constantTrace(150, 100, 300));
        ASSERT_EQ(image.width(), 256);
        ASSERT_EQ(image.height(), 533);
        expectPixels(image, common, c.name);
        expectPixels(image, c.pixels, c.name);
        EXPECT_EQ(r.captions.down, zeroGainModeCaptions(*s).down);
    }
}

TEST_F(AScan, NoDataRunsAlongTheZeroAxisAndReadsAsNoAmplitude) {
    AScanTrace t = constantTrace(0, 128, 200);
    const AScanReadouts r = draw(t);
    EXPECT_EQ(at(image, 128, 200), RED);
    EXPECT_EQ(at(image, 128, 4), RED); // over the dotted axis
    EXPECT_EQ(r.panel51, " Am Ln ");
    EXPECT_EQ(r.panel52, " Am Lg ");
}

TEST(AScanReadouts, ReadTheLevelTableAndTheCodeAboutZero) {
    struct Row {
        int table, code;
        const char *ln, *lg;
    };
    const Row rows[] = {
        {0, 200, " Am ln = 72", " Am lg = 72"},
        {2, 200, " Am ln = 158", " Am lg = 72"},  // U(72) of table 2 is 158
        {2, 100, " Am ln = -28", " Am lg = -28"}, // linear within 63 of the centre
        {1, 128, " Am ln = 0", " Am lg = 0"},
    };
    for (const Row& r : rows) {
        auto s = std::make_unique<DisplaySettings>();
        selectLevelTable(*s, r.table);
        std::string a, b;
        aScanReadouts(uint8_t(r.code), *s, a, b);
        EXPECT_EQ(a, r.ln) << r.table << " " << r.code;
        EXPECT_EQ(b, r.lg);
    }
}

// Relief display: shift 10, stretch 2. Rows 0..9 at code 127 (y = Round(h / 2)
// = 0..4), row 10 takes sample 0, which is 0 and drawn at 1 (y = 5), then the
// samples of 200 from y = 6 down to y = Round(511 / 2) = 256.
TEST_F(AScan, ReliefTraceHangsBelowItsShiftAndFollowsTheStretch) {
    AScanTrace t = constantTrace(150, 200, 400);
    (*t.stored)[0] = 0;
    t.relief = true;
    t.reliefShift = 10;
    t.stretch = 2.0;
    draw(t);
    expectPixels(image,
                 {{127, 2, GREY_TRACE},
                  {1, 5, GREY_TRACE},
                  {200, 100, GREY_TRACE},
                  {200, 250, GREY_TRACE},
                  {200, 300, BACKGROUND}},
                 "relief");
}

TEST(AScanTraceSources, RadargramTakesTheCursorFrameAndItsRasterRowWithTheReliefShift) {
    auto store = std::make_unique<ProfileStore>();
    auto raster = std::make_unique<DisplayRaster>();
    store->viewStart = 100;
    FrameRecord& f = store->frame(107);
    for (int k = 0; k < SAMPLES_PER_FRAME; ++k) f.value[k] = uint8_t(k % 200 + 1);
    f.set24(cell::ReliefHeight, 900);
    store->setVelocity(1000);
    for (int k = 0; k < SAMPLES_PER_FRAME; ++k) raster->at(0, 27, k) = uint8_t(255 - k % 100);
    ViewState v;
    v.cursorColumn = 7;
    v.cursorRow = 33;
    ReliefDisplay relief;
    relief.on = true;
    relief.nsPerRow = 1.0;
    relief.stretch = 1.0;
    // Reference 1000 cm, frame at 900 cm: Round(100 * 100 / (1000 * 1 * 1)) = 10 rows.
    const AScanTrace t = radargramAScanTrace(*store, *raster, v, relief, 1000);
    ASSERT_TRUE(t.stored.has_value());
    EXPECT_EQ((*t.stored)[5], 6);
    EXPECT_EQ(t.processed[5], 250);
    EXPECT_EQ(t.row, 33);
    EXPECT_EQ(t.startX, 128);
    EXPECT_TRUE(t.relief);
    EXPECT_EQ(t.reliefShift, 10);
}

TEST_F(AScan, SliceTraceStartsAt64AndHasNoStoredCurve) {
    auto raster = std::make_unique<DisplayRaster>();
    for (int k = 0; k < SAMPLES_PER_FRAME; ++k) raster->at(3, 45, k) = 150;
    raster->at(3, 45, 60) = 90;
    const AScanTrace t = sliceAScanTrace(*raster, 3, 45, 60);
    EXPECT_FALSE(t.stored.has_value());
    const AScanReadouts r = draw(t);
    expectPixels(image, {{100, 0, RED}, {150, 200, RED}, {127, 200, BACKGROUND}}, "slice");
    EXPECT_EQ(r.panel52, " Am lg = -38"); // the cell at the time-section row
}

// --- legend --------------------------------------------------------------------------

// Main palette: 100 -> 7FB35E, 192 -> 2266FF, 200 -> 1645FF.
// RisePalette[200]: entry 255 - 55 of ramp(000080, 0080FF): red 128 + 55 * 127 / 128 -> 182,
// green 55: 0037B6. FallPalette[200]: entry 128 + 72 of ramp(006000, B0FFB0): red and blue
// 72 * 176 / 128 = 99, green 96 + 72 * 159 / 128 -> 185: 63B963.
// RisePalette[100]: entry 127 - 27 of ramp(004080, 80F0FF): red 128 + 26.8 -> 154, green
// 64 + 37.1 -> 101, blue 27: 1B659A. FallPalette[100]: ramp(C00000, FFD080)[100]: red 100,
// green 162.5 -> 162, blue 192 + 49.2 -> 241: F1A264. RisePalette[180] (k = 75): 004BCA;
// FallPalette[180] (k = 52): red and blue 71.5 -> 71, green 96 + 64.6 -> 160: 47A047.
TEST_F(AScan, LegendShowsTheColoursOfTheCodesInEveryColourMode) {
    struct Row {
        const char* name;
        int form, mode;
        bool inversion;
        std::vector<Px> pixels;
    };
    // clang-format off
    const Row rows[] = {
        {"form 1 mode 0", 1, 0, false,
         {{200, 513, 0x1645FF}, {200, 530, 0x1645FF}, {200, 531, BACKGROUND}, {100, 520, 0x7FB35E}}},
        {"inverted: code 56 is drawn as 200", 1, 0, true, {{56, 520, 0x1645FF}}},
        {"16 colours: 200 in the band of 192", 1, 4, false, {{200, 520, 0x2266FF}}},
        {"derivative", 2, 0, false,
         {{200, 515, 0x0037B6}, {200, 525, 0x63B963}, {100, 522, EDGE}, {200, 521, BACKGROUND}}},
        {"grey scale", 1, 5, false, {{100, 520, 0x646464}}},
        {"two colours", 2, 5, false, {{100, 520, 0xC0DCC0}, {200, 520, 0x000080}}},
        {"extremum sign", 1, 6, false,
         {{255, 513, RED}, {255, 531, RED}, {247, 521, RED}, {247, 520, 0xF7F7F7}, {0, 513, BLUE},
          {0, 530, BLUE}, {8, 521, BLUE}, {8, 520, 0x080808}, {160, 518, 0xA0A0A0}}},
        {"derivative mode 6 steps", 2, 6, false,
         {{160, 518, 0x0088CC}, {159, 518, 0x0088CC}, {161, 518, 0xA1A1A1}, {96, 518, 0x88CC00}}},
        {"mode 7 crossed lines", 1, 7, false,
         {{100, 532, 0x646464}, {48, 514, 0x000099}, {48, 530, 0x990000}}},
        {"derivative mode 7", 2, 7, false,
         {{100, 515, 0x1B659A}, {100, 520, 0x646464}, {100, 522, BLUE}, {100, 528, 0xF1A264},
          {180, 514, 0xB4B4B4}, {180, 518, 0x004BCA}, {180, 522, RED}, {180, 525, 0x47A047},
          {180, 530, 0xB4B4B4}}},
    };
    // clang-format on
    for (const Row& c : rows) {
        s->amplitudeForm = c.form;
        s->colourMode = c.mode;
        s->inversion = c.inversion;
        draw(constantTrace(150, 100, 0));
        expectPixels(image, c.pixels, c.name);
    }
}

// --- clicks --------------------------------------------------------------------------

TEST(AScanClicks, SetTheZeroLevelOrTheGainAndWriteCells37To44) {
    struct Row {
        const char* name;
        int mode;
        int level1, pos1, level2, pos2; // before the click
        int x, y;
        MouseButton button;
        bool ctrl;
        std::vector<int> cells; // header cells 37..44 afterwards
    };
    constexpr MouseButton L = MouseButton::Left, R = MouseButton::Right;
    // Cells: 37 ZeroLevel, 38 GainLevel1, 39 GainLevel2, 40-41 GainPos1, 42-43 GainPos2
    // (high byte first), 44 GainRange.
    // clang-format off
    const Row rows[] = {
        {"x 300 is 255", 0, 128, 0, 128, 511, 300, 40, L, false, {255, 128, 128, 0, 0, 1, 255, 5}},
        {"x 0 is 1", 0, 128, 0, 128, 511, 0, 40, L, false, {1, 128, 128, 0, 0, 1, 255, 5}},
        {"right sets the zero level too", 0, 128, 0, 128, 511, 77, 40, R, false, {77, 128, 128, 0, 0, 1, 255, 5}},
        {"left sets level 1 and its position", 1, 128, 0, 128, 511, 60, 100, L, false, {128, 60, 128, 0, 100, 1, 255, 5}},
        {"left Ctrl sets both levels", 1, 128, 0, 128, 511, 60, 100, L, true, {128, 60, 60, 0, 100, 1, 255, 5}},
        {"left below position 2 pushes it down", 2, 128, 100, 150, 300, 10, 400, L, false, {128, 10, 150, 1, 144, 1, 144, 5}},
        {"right above position 1 makes a step", 1, 128, 100, 128, 300, 200, 50, R, false, {128, 128, 200, 0, 50, 0, 50, 5}},
        {"right Ctrl at x 0 sets both levels to 1", 2, 90, 0, 200, 511, 0, 200, R, true, {128, 1, 1, 0, 0, 0, 200, 5}},
        {"a plain click on the legend changes nothing", 1, 90, 20, 200, 400, 100, 520, L, false, {128, 90, 200, 0, 20, 1, 144, 5}},
    };
    // clang-format on
    QImage image(ASCAN_WIDTH, ASCAN_HEIGHT, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (const Row& c : rows) {
        auto s = std::make_unique<DisplaySettings>();
        s->zeroGainMode = c.mode;
        s->GainLevel1 = c.level1;
        s->GainPos1 = c.pos1;
        s->GainLevel2 = c.level2;
        s->GainPos2 = c.pos2;
        s->GainRange = 5;
        BuildGainCurve(*s);
        AScanClick click;
        click.at = {c.x, c.y};
        click.button = c.button;
        click.keys.leftCtrl = c.ctrl;
        const AScanClickEffect e = aScanClick(*s, image, click);
        EXPECT_FALSE(e.cursorColour || e.gridColour) << c.name;
        ViewState v;
        SurveyHeader h;
        applyAScanClick(e, *s, v, h);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(h.get8(37 + i), c.cells[std::size_t(i)]) << c.name << ", cell " << 37 + i;
        // The gain curve follows the new levels and positions (a step when they meet).
        const int p1 = s->GainPos1;
        EXPECT_EQ(s->GainCurve[std::size_t(p1)], p1 == s->GainPos2 ? s->GainLevel2 : s->GainLevel1)
            << c.name;
        EXPECT_EQ(s->GainCurve[511], s->GainLevel2) << c.name;
    }
}

TEST_F(AScan, LegendClicksPickTheCursorOrGridColour) {
    draw(constantTrace(150, 100, 0)); // form 1, mode 0: code 200 is 1645FF
    struct Row {
        MouseButton button;
        bool shift, ctrl;
        std::optional<uint32_t> cursor, grid;
    };
    const Row rows[] = {
        {MouseButton::Left, true, false, 0x1645FF, std::nullopt},
        {MouseButton::Left, false, true, std::nullopt, 0x1645FF},
        {MouseButton::Left, true, true, 0x1645FF, 0x1645FF},
        {MouseButton::Right, true, true, std::nullopt, std::nullopt},
    };
    for (const Row& r : rows) {
        AScanClick click;
        click.at = {200, 520};
        click.button = r.button;
        click.keys = {r.shift, r.ctrl};
        const AScanClickEffect e = aScanClick(*s, image, click);
        EXPECT_EQ(e.cursorColour, r.cursor);
        EXPECT_EQ(e.gridColour, r.grid);
        EXPECT_EQ(e.settings.ZeroLevel, 128);
    }
}

} // namespace
} // namespace tesk
