// The radargram chain end to end on small hand-built surveys: which frame a
// picture column shows, the colour at known pixels in every colour mode of
// both form families, no-data black, the inversion, and the order of the
// chain (fill, filter 1, filter 2, zero/gain, painting). Expected colours are
// taken from the stored main palette, the fine-ramp rules and the ramp rules
// of the rise and fall palettes, worked out by hand in the comments.

#include "display/radargram.h"

#include <gtest/gtest.h>

#include <QColor>

#include <memory>
#include <vector>

namespace tesk {
namespace {

constexpr int X0 = 50; // ViewOrigin
constexpr int Y0 = 50;
constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t RED = 0x0000FF;
constexpr uint32_t BLUE = 0xFF0000;

// One survey shared by the tests (it is 80 MB); each test starts from blank
// slots 0..700.
ProfileStore& blankStore() {
    static const std::unique_ptr<ProfileStore> store = std::make_unique<ProfileStore>();
    for (int f = 0; f <= 700; ++f) store->frame(f) = FrameRecord{};
    store->frameCount = 700;
    store->viewStart = 0;
    store->stateFlags = 0;
    return *store;
}

// Frame f: every sample (and the fill rows) `code`, in profile when not 0.
void putConstantFrame(ProfileStore& s, int f, uint8_t code) {
    FrameRecord& r = s.frame(f);
    for (int c = 0; c < SAMPLE_ROWS; ++c) r.value[c] = code;
    r.value[cell::Status] = code ? status::InProfile : 0;
}

// Frame f: samples from a list, the rest `rest`; fill rows repeat sample 511.
void putTrace(ProfileStore& s, int f, const std::vector<uint8_t>& codes, uint8_t rest = 128) {
    FrameRecord& r = s.frame(f);
    for (int c = 0; c < SAMPLES_PER_FRAME; ++c)
        r.value[c] = c < int(codes.size()) ? codes[std::size_t(c)] : rest;
    r.fillRowsFromLastSample();
    r.value[cell::Status] = status::InProfile;
}

// The colour painted at view column `column`, sample `k`, as 0x00BBGGRR. Both
// pixel columns of the frame must agree.
uint32_t pixel(const Radargram& r, int column, int k) {
    const QRgb a = r.picture.pixel(X0 + 2 * column, Y0 + k);
    const QRgb b = r.picture.pixel(X0 + 2 * column + 1, Y0 + k);
    EXPECT_EQ(a, b) << "column " << column << " sample " << k;
    return uint32_t(qRed(a)) | uint32_t(qGreen(a)) << 8 | uint32_t(qBlue(a)) << 16;
}

class RadargramChain : public ::testing::Test {
  protected:
    ProfileStore& s = blankStore();
    std::unique_ptr<Radargram> r = std::make_unique<Radargram>();
    ProcessingSettings processing;

    void set(int form, int mode, bool inversion = false, bool background = false) {
        r->settings.amplitudeForm = form;
        r->settings.colourMode = mode;
        r->settings.inversion = inversion;
        r->settings.background = background;
        r->recolour();
    }
    bool draw() { return GRAF(*r, s, processing, Point{X0, Y0}); }
};

// --- columns and rows ----------------------------------------------------------------

TEST_F(RadargramChain, ColumnIShowsFrameViewStartPlusIWithTimeRunningDown) {
    for (int f = 0; f < 600; ++f) putConstantFrame(s, f, uint8_t(f % 200 + 20));
    putTrace(s, 37, {1, 2, 3});
    s.viewStart = 30;
    set(form::Amplitude, 0);
    ASSERT_TRUE(draw());
    // Column 7 is frame 37: samples 0, 1, 2 are codes 1, 2, 3, then 128.
    EXPECT_EQ(pixel(*r, 7, 0), 0x140004u);
    EXPECT_EQ(pixel(*r, 7, 1), 0x280008u);
    EXPECT_EQ(pixel(*r, 7, 2), 0x2C000Cu);
    EXPECT_EQ(pixel(*r, 7, 3), 0x32E1BFu);
    EXPECT_EQ(pixel(*r, 7, 511), 0x32E1BFu);
    // Column 0 is frame 30 (code 50), column 511 frame 541 (code 161).
    EXPECT_EQ(pixel(*r, 0, 0), 0xB1472Eu);
    EXPECT_EQ(pixel(*r, 511, 300), 0x16D3FFu);
    // Nothing is painted left of or below the picture.
    const QRgb outside = r->picture.pixel(X0 - 1, Y0);
    EXPECT_NE(outside, r->picture.pixel(X0, Y0));
    EXPECT_EQ(r->picture.pixel(X0 + 1024, Y0 + 10), outside);
    EXPECT_EQ(r->picture.pixel(X0 + 10, Y0 + 512), outside);
}

TEST_F(RadargramChain, FramesPastTheSurveyAndGapsAreBlack) {
    putConstantFrame(s, 0, 200);
    putConstantFrame(s, 2, 200);
    s.frame(0).value[10] = 0; // a single no-data sample
    for (int form : {0, 1, 2})
        for (int mode = 0; mode < 8; ++mode) {
            for (bool inv : {false, true}) {
                set(form, mode, inv, true);
                ASSERT_TRUE(draw());
                EXPECT_EQ(pixel(*r, 1, 100), 0u) << form << " " << mode;   // blank frame
                EXPECT_EQ(pixel(*r, 300, 100), 0u) << form << " " << mode; // empty slots
                EXPECT_EQ(pixel(*r, 0, 10), 0u) << form << " " << mode;    // no-data sample
                EXPECT_NE(pixel(*r, 2, 100), 0u) << form << " " << mode;
            }
        }
}

// --- amplitude forms -------------------------------------------------------------------

struct PixelCase {
    int form, mode;
    bool inversion;
    uint8_t code;
    uint32_t colour;
};

std::ostream& operator<<(std::ostream& os, const PixelCase& c) {
    return os << "form " << c.form << " mode " << c.mode << (c.inversion ? " inverted" : "")
              << " code " << int(c.code);
}

class AmplitudeFormPixel : public RadargramChain,
                           public ::testing::WithParamInterface<PixelCase> {};

// A constant frame of the code in column 3; the colour of sample 200.
TEST_P(AmplitudeFormPixel, ConstantFrameTakesThePaletteColour) {
    const PixelCase c = GetParam();
    putConstantFrame(s, 3, c.code);
    set(c.form, c.mode, c.inversion);
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 3, 200), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AmplitudeFormPixel,
    ::testing::Values(
        // Form 1: the stored main palette.
        PixelCase{1, 0, false, 1, 0x140004}, PixelCase{1, 0, false, 128, 0x32E1BF},
        PixelCase{1, 0, false, 200, 0x1645FF}, PixelCase{1, 0, false, 255, 0x000AA0},
        // Inverted: 1 <-> 255, 128 stays, 56 draws as 200.
        PixelCase{1, 0, true, 1, 0x000AA0}, PixelCase{1, 0, true, 255, 0x140004},
        PixelCase{1, 0, true, 128, 0x32E1BF}, PixelCase{1, 0, true, 56, 0x1645FF},
        // Reduced colour counts: 129 -> 128 (mode 1), 131 -> 128 (2), 135 -> 128 (3),
        // 31 -> 16 (4); inverted 225 draws as 31 -> 16.
        PixelCase{1, 1, false, 129, 0x32E1BF}, PixelCase{1, 2, false, 131, 0x32E1BF},
        PixelCase{1, 3, false, 135, 0x32E1BF}, PixelCase{1, 4, false, 31, 0x630042},
        PixelCase{1, 4, true, 225, 0x630042}, PixelCase{1, 4, false, 16, 0x630042},
        // Mode 4: codes 1..15 take entry 0 of the main palette, which is black.
        PixelCase{1, 4, false, 15, 0x000000},
        // Grey scale; inverted 100 draws as 156.
        PixelCase{1, 5, false, 100, 0x646464}, PixelCase{0, 5, true, 100, 0x9C9C9C},
        // Form 0: FineRamp[4d]. d 1: segment 0, g 0, k 4 -> red 0x60, green 0x20,
        // blue 0x60. d 128: segment 4 start -> red 0x80, green 0x80. d 255: entry
        // 1020, segment 7, g 15, k 4 -> red 0xFF - 120 - 16 = 0x77.
        PixelCase{0, 0, false, 1, 0x602060}, PixelCase{0, 0, false, 128, 0x008080},
        PixelCase{0, 0, false, 255, 0x000077}, PixelCase{0, 0, true, 255, 0x602060},
        // Form 0, mode 2: 6 -> 4 -> entry 16: segment 0, g 2, k 0 -> red 0x60 - 12 =
        // 0x54, green 0, blue 0x64.
        PixelCase{0, 2, false, 6, 0x640054},
        // A constant frame in the derivative form: every sample equals its
        // successor, so the grey palette; mode 5 compares with the flat gain
        // curve at 128: below it 0xC0DCC0, at or above it 0x000080.
        PixelCase{2, 0, false, 90, 0x5A5A5A}, PixelCase{2, 3, false, 95, 0x585858},
        PixelCase{2, 0, true, 90, 0xA6A6A6}, PixelCase{2, 5, false, 127, 0xC0DCC0},
        PixelCase{2, 5, false, 128, 0x000080}, PixelCase{2, 5, true, 127, 0x000080},
        // Mark modes on a constant frame: background only, white without "Фон".
        PixelCase{1, 6, false, 90, WHITE}, PixelCase{1, 7, false, 90, WHITE},
        PixelCase{2, 6, false, 90, WHITE}, PixelCase{2, 7, false, 90, WHITE}));

// --- derivative form ---------------------------------------------------------------------

TEST_F(RadargramChain, DerivativeFormComparesEachSampleWithTheNext) {
    putTrace(s, 4, {100, 110, 110, 105, 0, 105});
    set(form::Derivative, 0);
    ASSERT_TRUE(draw());
    // 100 < 110: RisePalette[100] = ramp(0x004080, 0x80F0FF)[27]: red 128 +
    // Trunc(27 * 127 / 128) = 154, green 64 + Trunc(27 * 176 / 128) = 101,
    // blue Trunc(27 * 128 / 128) = 27.
    EXPECT_EQ(pixel(*r, 4, 0), 0x1B659Au);
    // 110 = 110: GreyPalette[110].
    EXPECT_EQ(pixel(*r, 4, 1), 0x6E6E6Eu);
    // 110 > 105: FallPalette[110] = ramp(0xC00000, 0xFFD080)[110]: red 110,
    // green Trunc(110 * 208 / 128) = 178, blue 192 + Trunc(110 * 63 / 128) = 246.
    EXPECT_EQ(pixel(*r, 4, 2), 0xF6B26Eu);
    // 105 followed by no data: falling, FallPalette[105]: red 105, green
    // Trunc(105 * 208 / 128) = 170, blue 192 + Trunc(105 * 63 / 128) = 243.
    EXPECT_EQ(pixel(*r, 4, 3), 0xF3AA69u);
    EXPECT_EQ(pixel(*r, 4, 4), 0u);
    // 105 < 128: RisePalette[105], k = 22: red 128 + Trunc(22 * 127 / 128) =
    // 149, green 64 + Trunc(22 * 176 / 128) = 94, blue 22.
    EXPECT_EQ(pixel(*r, 4, 5), 0x165E95u);
}

TEST_F(RadargramChain, InvertedDerivativeSwapsRisingAndFalling) {
    // Drawn as 156, 146, 146, 151: falling, level, rising.
    putTrace(s, 4, {100, 110, 110, 105}, 105);
    set(form::Derivative, 0, true);
    ASSERT_TRUE(draw());
    // FallPalette[156] = ramp(0x006000, 0xB0FFB0)[28]: red Trunc(28 * 176 /
    // 128) = 38, green 96 + Trunc(28 * 159 / 128) = 130, blue 38.
    EXPECT_EQ(pixel(*r, 4, 0), 0x268226u);
    EXPECT_EQ(pixel(*r, 4, 1), 0x929292u);
    // RisePalette[146] = ramp(0x000080, 0x0080FF)[109]: red 128 + Trunc(109 *
    // 127 / 128) = 236, green Trunc(109 * 128 / 128) = 109, blue 0.
    EXPECT_EQ(pixel(*r, 4, 2), 0x006DECu);
}

// --- mark modes -------------------------------------------------------------------------

TEST_F(RadargramChain, ExtremumMarksOnAPeakAndADip) {
    // Rising to a peak at sample 3, down to a dip at sample 6, then up.
    putTrace(s, 9, {100, 110, 120, 130, 120, 110, 100, 110, 120}, 130);
    set(form::Amplitude, 6);
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 9, 3), RED); // the maximum and the row above it
    EXPECT_EQ(pixel(*r, 9, 2), RED);
    EXPECT_EQ(pixel(*r, 9, 4), WHITE);
    EXPECT_EQ(pixel(*r, 9, 6), BLUE); // the minimum and the row above it
    EXPECT_EQ(pixel(*r, 9, 5), BLUE);
    EXPECT_EQ(pixel(*r, 9, 7), WHITE);
    EXPECT_EQ(pixel(*r, 9, 1), WHITE);
}

TEST_F(RadargramChain, BackgroundOptionGivesTheGreyOfTheCode) {
    putTrace(s, 9, {100, 110, 120, 130, 120}, 120);
    set(form::Amplitude, 6, false, true);
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 9, 1), 0x6E6E6Eu);
    EXPECT_EQ(pixel(*r, 9, 3), RED);
    EXPECT_EQ(pixel(*r, 9, 100), 0x787878u);
}

TEST_F(RadargramChain, SlopeModeColoursRisesRedAndFallsBlue) {
    // 100 < 110 < 120 > 110 > 100 = 100.
    putTrace(s, 9, {100, 110, 120, 110, 100}, 100);
    set(form::Amplitude, 7);
    ASSERT_TRUE(draw());
    // Row 0: rising with s 0 -> blue, s 1; row 1: rising with s 1 -> red and
    // the row above dark red; row 2: falling with s 1 -> red, s 0; row 3:
    // falling with s 0 -> blue and the row above dark blue; row 4 on: equal.
    EXPECT_EQ(pixel(*r, 9, 0), 0x000055u);
    EXPECT_EQ(pixel(*r, 9, 1), RED);
    EXPECT_EQ(pixel(*r, 9, 2), 0x550000u);
    EXPECT_EQ(pixel(*r, 9, 3), BLUE);
    EXPECT_EQ(pixel(*r, 9, 4), WHITE);
    EXPECT_EQ(pixel(*r, 9, 5), WHITE); // equal neighbours: background
}

TEST_F(RadargramChain, DerivativeMarksColourACrossedPlateauAtBothEnds) {
    // Falling 130 > 120, plateau 120 = 120 = 120 from row 1, falling again at
    // row 3: the cell and the plateau's first row in FallPalette[120].
    putTrace(s, 9, {130, 120, 120, 120, 110}, 110);
    set(form::Derivative, 7);
    ASSERT_TRUE(draw());
    // Row 0: s 1 and falling -> red 2 x 2 mark (row -1 lies off the picture).
    EXPECT_EQ(pixel(*r, 9, 0), RED);
    // FallPalette[120]: red 120, green Trunc(120 * 208 / 128) = 195, blue 192
    // + Trunc(120 * 63 / 128) = 251.
    EXPECT_EQ(pixel(*r, 9, 1), 0xFBC378u);
    EXPECT_EQ(pixel(*r, 9, 3), 0xFBC378u);
    EXPECT_EQ(pixel(*r, 9, 2), WHITE);
}

// --- the order of the chain -----------------------------------------------------------

TEST_F(RadargramChain, DefaultZeroGainSettingsLeaveCodesAsTheyAre) {
    putConstantFrame(s, 2, 129);
    set(form::Amplitude, 0);
    ASSERT_TRUE(draw());
    // Run with zero level 128, 129 would become 128.
    EXPECT_EQ(pixel(*r, 2, 0), 0x30E2C2u);
}

TEST_F(RadargramChain, ZeroLevelRunsAfterTheFilters) {
    for (int f = 0; f < 60; ++f) putConstantFrame(s, f, 100);
    set(form::Amplitude, 0);
    r->settings.ZeroLevel = 64;
    // HF 1 on the constant area gives 128; zero level 64 then maps it to 127 +
    // Trunc(128 * 64 / 191) = 169. In the other order it would stay 128.
    processing.filter1 = FilterRow{filter_kind::HighPass1, 1, 0, 0};
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 10, 100), 0x22BAFFu); // MainPalette[169]
    // Without the filter: 100 -> 127 + Trunc(128 * 36 / 191) = 151.
    processing.filter1 = FilterRow{};
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 10, 100), 0x06F3FFu); // MainPalette[151]
}

TEST_F(RadargramChain, SecondFilterWorksOnTheFirstFiltersResult) {
    // Frame 10 is 200 among frames of 100. LF 1 with L = 1 along the frames:
    // frame 10 becomes (2 * 200 + 100 + 100) / 4 = 150, its neighbours (2 *
    // 100 + 100 + 200) / 4 = 125, the frames further off stay 100. HF 1 with
    // L = 1 then gives frame 10: 150 - (2 * 150 + 125 + 125) / 4 + 128 =
    // 150 - 137 + 128 = 141 (137.5 cut to the code not above it).
    for (int f = 0; f < 60; ++f) putConstantFrame(s, f, 100);
    putConstantFrame(s, 10, 200);
    set(form::Amplitude, 0);
    processing.filter1 = FilterRow{filter_kind::LowPass1, 1, 0, 0};
    processing.filter2 = FilterRow{filter_kind::HighPass1, 1, 0, 0};
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 10, 50), 0x0FF5EBu); // MainPalette[141]
    // Filter 1 alone: 150.
    processing.filter2 = FilterRow{};
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 10, 50), 0x05F7FFu); // MainPalette[150]
}

TEST_F(RadargramChain, GainModeOneScalesAroundZeroAmplitude) {
    putTrace(s, 5, {138, 120, 128});
    set(form::Amplitude, 0);
    r->settings.zeroGainMode = gainMode::Gain1;
    r->settings.GainLevel1 = r->settings.GainLevel2 = 192; // factor 1 + 64 / 64 = 2
    BuildGainCurve(r->settings);
    ASSERT_TRUE(draw());
    // 138: v = Round(10 * 2) = 20 -> 147; 120: w = Round(8 * 2) = 16 -> 112; 128 stays.
    EXPECT_EQ(pixel(*r, 5, 0), 0x02FDFEu);
    EXPECT_EQ(pixel(*r, 5, 1), 0x5EC687u);
    EXPECT_EQ(pixel(*r, 5, 2), 0x32E1BFu);
}

TEST_F(RadargramChain, TextExportNeedsEveryGainSettingAwayFromItsDefault) {
    putTrace(s, 5, {138});
    r->settings.zeroGainMode = gainMode::Gain1;
    r->settings.GainLevel1 = r->settings.GainLevel2 = 192;
    BuildGainCurve(r->settings);
    // The picture's chain applies the gain (138 -> 147); the export's does not,
    // since the positions are still 0 and 511.
    ASSERT_TRUE(processRaster(*r, s, processing));
    EXPECT_EQ(r->raster.at(0, 25, 0), 147);
    ASSERT_TRUE(processRaster(*r, s, processing, true));
    EXPECT_EQ(r->raster.at(0, 25, 0), 138);
    // With both positions moved as well the export applies it too. Sample 0
    // lies at or before GainPos1, so its level is GainLevel1.
    r->settings.GainPos1 = 10;
    r->settings.GainPos2 = 500;
    BuildGainCurve(r->settings);
    ASSERT_TRUE(processRaster(*r, s, processing, true));
    EXPECT_EQ(r->raster.at(0, 25, 0), 147);
    EXPECT_EQ(r->raster.activePlane, 0);
}

TEST_F(RadargramChain, ReliefDisplayHangsEachTraceFromTheHighestFrameInView) {
    for (int f = 0; f < 600; ++f) putConstantFrame(s, f, 150);
    s.frame(5).set24(cell::ReliefHeight, 1000);
    s.frame(6).set24(cell::ReliefHeight, 975);
    s.velocityCode = 500;
    set(form::Amplitude, 0);
    processing.relief.on = true;
    processing.relief.absolute = true; // reference: the window maximum, 1000 cm
    ASSERT_TRUE(draw());
    EXPECT_EQ(r->reliefWindowMaximum, 1000u);
    const uint32_t colour = 0x05F7FF; // MainPalette[150]
    EXPECT_EQ(pixel(*r, 5, 0), colour);
    // 25 cm lower: Round(25 * 100 / 500) = 5 rows of no data above the trace.
    EXPECT_EQ(pixel(*r, 6, 4), 0u);
    EXPECT_EQ(pixel(*r, 6, 5), colour);
    // No height: Round(1000 * 100 / 500) = 200 rows.
    EXPECT_EQ(pixel(*r, 7, 199), 0u);
    EXPECT_EQ(pixel(*r, 7, 200), colour);
    // Against Hmax 0 nothing is lifted or lowered.
    processing.relief.absolute = false;
    s.Hmax = 0;
    ASSERT_TRUE(draw());
    EXPECT_EQ(pixel(*r, 7, 0), colour);
}

TEST_F(RadargramChain, InterpretationStagesRunAfterTheReliefShiftAndAroundTheFilters) {
    // Frames of 100, heights as in the relief test: frame 7 has none and
    // hangs 200 rows down. The stage before the filters sees the shifted
    // fill and raises frame 10 to 200; LF 1 with L = 1 along the frames then
    // gives frame 10 (2 * 200 + 100 + 100) / 4 = 150, which the stage after
    // processing and the picture both show.
    for (int f = 0; f < 600; ++f) putConstantFrame(s, f, 100);
    s.frame(5).set24(cell::ReliefHeight, 1000);
    s.velocityCode = 500;
    set(form::Amplitude, 0);
    processing.relief.on = true;
    processing.relief.absolute = true;
    processing.filter1 = FilterRow{filter_kind::LowPass1, 1, 0, 0};
    constexpr int ROW7 = DisplayRaster::FIRST_VIEW_ROW + 7;
    constexpr int ROW10 = DisplayRaster::FIRST_VIEW_ROW + 10;
    int before7 = -1, before10 = -1, after10 = -1;
    processing.interpretation.beforeFilters = [&](DisplayRaster& raster) {
        before7 = raster.row(0, ROW7)[199];
        before10 = raster.row(0, ROW10)[300];
        for (int k = 0; k < SAMPLE_ROWS; ++k) raster.row(0, ROW10)[k] = 200;
    };
    processing.interpretation.afterProcessing = [&](const DisplayRaster& raster) {
        after10 = raster.row(0, ROW10)[300];
    };
    ASSERT_TRUE(draw());
    EXPECT_EQ(before7, 0); // the shift came first
    EXPECT_EQ(before10, 100);
    EXPECT_EQ(after10, 150);
    EXPECT_EQ(pixel(*r, 10, 300), 0x05F7FFu); // MainPalette[150]
}

TEST_F(RadargramChain, AdditionWithoutAPartnerLeavesThePictureAsItWas) {
    // One profile, frames 0..49, and the survey ends at 90: the next profile
    // start is searched up to 91, in the same hundred as frame 0.
    for (int f = 0; f < 50; ++f) putConstantFrame(s, f, 150);
    s.frameCount = 90;
    set(form::Amplitude, 0);
    ASSERT_TRUE(draw());
    const QImage before = r->picture.copy();
    putConstantFrame(s, 3, 200);
    processing.additionItem = 1; // 2 profiles: the pair falls within the same hundred
    EXPECT_FALSE(draw());
    EXPECT_EQ(r->picture, before);
}

} // namespace
} // namespace tesk
