// Colour tables and the colour of radargram cells: the fine ramp, the stored
// main palette, the rise, fall and grey palettes, ReColor3D, the eight colour
// modes in the amplitude and derivative forms and the chosen-amplitude marks.

#include "display/palettes.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

namespace tesk {
namespace {

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr uint32_t RED = 0x0000FF;
constexpr uint32_t BLUE = 0xFF0000;
constexpr uint32_t MAGENTA = 0xFF00FF;

class PaletteTest : public ::testing::Test {
  protected:
    std::unique_ptr<Palettes> p = std::make_unique<Palettes>();
};

// --- rule-built and stored tables ----------------------------------------------------

struct Entry {
    int index;
    uint32_t colour;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << "entry " << e.index;
}

class FineRampEntry : public ::testing::TestWithParam<Entry> {};

TEST_P(FineRampEntry, FollowsTheSegmentRules) {
    const Palettes p;
    EXPECT_EQ(p.FineRamp[GetParam().index], GetParam().colour) << "entry " << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(
    Segments, FineRampEntry,
    ::testing::Values(Entry{0, 0x600060},    // segment 0, g 0, k 0
                      Entry{1, 0x600860},    // green 8k
                      Entry{127, 0x7E3806},  // g 15, k 7: red 6, green 0x38, blue 0x7E
                      Entry{200, 0xC80000},  // segment 1, g 9, k 0
                      Entry{250, 0xF81000},  // segment 1, g 15, k 2: green C[2]
                      Entry{383, 0xC8F000},  // segment 2, g 15, k 7: blue A[7]
                      Entry{385, 0xFFFC00},  // segment 3, g 0, k 1: green B[1]
                      Entry{512, 0x008080},  // segment 4 start
                      Entry{639, 0x00DCF8},  // segment 4, g 15, k 7
                      Entry{700, 0x00B7EF},  // segment 5, g 7, k 4
                      Entry{800, 0x0070FF},  // segment 6, g 4, k 0
                      Entry{895, 0x0028E4},  // segment 6, g 15, k 7
                      Entry{896, 0x0000FF},  // segment 7 start
                      Entry{1023, 0x00006B}, // segment 7, g 15, k 7
                      Entry{1024, 0x000000}));

class MainPaletteEntry : public ::testing::TestWithParam<Entry> {};

TEST_P(MainPaletteEntry, HoldsTheStoredColour) {
    const Palettes p;
    EXPECT_EQ(p.MainPalette[GetParam().index], GetParam().colour);
    EXPECT_EQ(storedMainPalette()[GetParam().index], GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Stored, MainPaletteEntry,
                         ::testing::Values(Entry{0, 0x000000}, Entry{1, 0x140004},
                                           Entry{16, 0x630042}, Entry{64, 0xC06F11},
                                           Entry{100, 0x7FB35E}, Entry{128, 0x32E1BF},
                                           Entry{150, 0x05F7FF}, Entry{211, 0x0707FF},
                                           Entry{239, 0x0006CC}, Entry{255, 0x000AA0}));

TEST_F(PaletteTest, RiseAndFallRampsAtTheirEndsAndMiddle) {
    // RisePalette: 127 - k from ramp(0x004080, 0x80F0FF), 255 - k from ramp(0x000080, 0x0080FF).
    EXPECT_EQ(p->RisePalette[127], 0x004080u);
    EXPECT_EQ(p->RisePalette[63], 0x4098BFu); // k 64: 191, 152, 64
    EXPECT_EQ(p->RisePalette[0], 0x7FEEFEu);  // k 127: 254, 238, 127
    EXPECT_EQ(p->RisePalette[255], 0x000080u);
    EXPECT_EQ(p->RisePalette[253], 0x000281u); // k 2: 129, 2, 0
    EXPECT_EQ(p->RisePalette[128], 0x007FFEu);
    // FallPalette: k from ramp(0xC00000, 0xFFD080), 128 + k from ramp(0x006000, 0xB0FFB0).
    EXPECT_EQ(p->FallPalette[0], 0xC00000u);
    EXPECT_EQ(p->FallPalette[1], 0xC00101u); // 1, 1.625, 192.49 truncated
    EXPECT_EQ(p->FallPalette[127], 0xFECE7Fu);
    EXPECT_EQ(p->FallPalette[128], 0x006000u);
    EXPECT_EQ(p->FallPalette[156], 0x268226u);
    EXPECT_EQ(p->FallPalette[253], 0xABFBABu);
    EXPECT_EQ(p->FallPalette[255], 0xAEFDAEu);
}

TEST_F(PaletteTest, GreyScaleAndStartUpWorkingPalettes) {
    EXPECT_EQ(p->GreyPalette[0], 0u);
    EXPECT_EQ(p->GreyPalette[1], 0x010101u);
    EXPECT_EQ(p->GreyPalette[128], 0x808080u);
    EXPECT_EQ(p->GreyPalette[255], 0xFFFFFFu);
    EXPECT_EQ(p->ViewPalette, p->MainPalette);
    EXPECT_EQ(p->VolumePalette, p->MainPalette);
}

// --- ReColor3D -------------------------------------------------------------------------

DisplaySettings settings(int form, int mode, bool inversion) {
    DisplaySettings s;
    s.amplitudeForm = form;
    s.colourMode = mode;
    s.inversion = inversion;
    return s;
}

TEST_F(PaletteTest, FineRampFormSamplesEveryFourthEntry) {
    EXPECT_EQ(ReColor3D(*p, settings(0, 0, false)), 0x8000u);
    EXPECT_EQ(p->ViewPalette[1], 0x602060u); // FineRamp[4]
    EXPECT_EQ(p->ViewPalette[128], 0x008080u);
    EXPECT_EQ(p->ViewPalette[255], 0x000077u); // FineRamp[1020]
    EXPECT_EQ(p->VolumePalette[255], 0x000077u);
    EXPECT_EQ(p->VolumePalette[1], 0x602060u);
}

TEST_F(PaletteTest, FineRampFormWithColourModeTwo) {
    ReColor3D(*p, settings(0, 2, false));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(p->VolumePalette[i], p->FineRamp[4 * ((i >> 2) << 2)]) << i;
    EXPECT_EQ(p->VolumePalette[7], 0x640054u); // FineRamp[16]
    EXPECT_EQ(p->VolumePalette[4], 0x640054u);
    EXPECT_EQ(p->ViewPalette[7], p->FineRamp[28]); // the view palette is not reduced
}

TEST_F(PaletteTest, FineRampFormInvertedMirrorsTheVolumePalette) {
    ReColor3D(*p, settings(0, 0, true));
    EXPECT_EQ(p->VolumePalette[0], 0u); // FineRamp[1024]
    EXPECT_EQ(p->VolumePalette[1], 0x000077u);
    EXPECT_EQ(p->VolumePalette[128], 0x008080u);
    EXPECT_EQ(p->ViewPalette[1], 0x602060u);
}

TEST_F(PaletteTest, AmplitudeFormUsesTheMainPalette) {
    ReColor3D(*p, settings(0, 0, false));
    EXPECT_EQ(ReColor3D(*p, settings(1, 0, false)), 0x80u);
    EXPECT_EQ(p->ViewPalette, p->MainPalette);
    EXPECT_EQ(p->VolumePalette, p->MainPalette);
}

TEST_F(PaletteTest, AmplitudeFormInvertedWithSixteenColours) {
    ReColor3D(*p, settings(1, 4, true));
    EXPECT_EQ(p->VolumePalette[20], 0x0006CCu); // MainPalette[255 - 16]
    EXPECT_EQ(p->VolumePalette[16], 0x0006CCu);
    EXPECT_EQ(p->VolumePalette[0], 0x000AA0u);   // MainPalette[255]
    EXPECT_EQ(p->VolumePalette[255], 0x5D003Fu); // MainPalette[15]
    EXPECT_EQ(p->ViewPalette, p->MainPalette);
}

TEST_F(PaletteTest, MarkModesDoNotReduceTheVolumePalette) {
    ReColor3D(*p, settings(1, 6, false));
    EXPECT_EQ(p->VolumePalette[3], 0x2C000Cu);
    ReColor3D(*p, settings(1, 5, false));
    EXPECT_EQ(p->VolumePalette[3], 0x2C000Cu);
}

TEST_F(PaletteTest, DerivativeFormKeepsTheViewPalette) {
    ReColor3D(*p, settings(0, 0, false));
    EXPECT_EQ(ReColor3D(*p, settings(2, 0, false)), 0x800000u);
    EXPECT_EQ(p->ViewPalette[1], 0x602060u); // still the fine-ramp view palette
    EXPECT_EQ(p->VolumePalette, p->RisePalette);
    EXPECT_EQ(p->VolumePaletteMarked, p->FallPalette);
}

TEST_F(PaletteTest, DerivativeFormInvertedSwapsRiseAndFall) {
    ReColor3D(*p, settings(2, 1, true));
    EXPECT_EQ(p->VolumePalette[3], 0xABFBABu);       // FallPalette[253]
    EXPECT_EQ(p->VolumePaletteMarked[3], 0x000281u); // RisePalette[253]
    EXPECT_EQ(p->VolumePalette[2], 0xABFBABu);
}

// --- cell colours ------------------------------------------------------------------------

// A frame's raster row: 528 codes, all `fill` unless set.
struct Trace {
    std::array<uint8_t, 528> codes;
    explicit Trace(uint8_t fill) { codes.fill(fill); }
    Trace& set(int k, uint8_t v) {
        codes[k] = v;
        return *this;
    }
    Trace& set(int from, int to, uint8_t v) {
        for (int k = from; k <= to; ++k) codes[k] = v;
        return *this;
    }
};

class CellColours : public PaletteTest {
  protected:
    ColumnColours paint(const Trace& t, const DisplaySettings& s) {
        ReColor3D(*p, s);
        ColumnColours out;
        out.fill(0x123456);
        paintFrameColumn(t.codes.data(), s, *p, out);
        return out;
    }
    uint32_t cell(uint8_t d, uint8_t e, const DisplaySettings& s, int k = 0) {
        ReColor3D(*p, s);
        return ColumnPainter(s, *p).cellColour(d, e, k);
    }
};

// Code 0 is black in every form, mode, inversion and background.
class NoDataIsBlack : public CellColours,
                      public ::testing::WithParamInterface<std::tuple<int, int, bool, bool>> {};

TEST_P(NoDataIsBlack, InEveryModeAndForm) {
    auto [form, mode, inversion, background] = GetParam();
    DisplaySettings s = settings(form, mode, inversion);
    s.background = background;
    const ColumnColours empty = paint(Trace(0), s);
    for (int k = 0; k < COLUMN_ROWS; ++k) EXPECT_EQ(empty[k], 0u) << "row " << k;
    // A gap in a constant trace: no mark reaches it.
    const ColumnColours gap = paint(Trace(100).set(50, 0), s);
    EXPECT_EQ(gap[50], 0u);
    EXPECT_NE(gap[52], 0u);
    EXPECT_EQ(cell(0, 100, s, 50), 0u);
    EXPECT_EQ(cell(0, 0, s, 50), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllModes, NoDataIsBlack,
                         ::testing::Combine(::testing::Range(0, 3), ::testing::Range(0, 8),
                                            ::testing::Bool(), ::testing::Bool()));

TEST_F(CellColours, FineRampPaletteEntryZeroIsNotUsedForNoData) {
    const DisplaySettings s = settings(0, 4, false);
    EXPECT_EQ(cell(5, 5, s), 0x600060u); // codes 1..15 reduce to entry 0
    EXPECT_EQ(cell(0, 5, s), 0u);
}

TEST_F(CellColours, InversionSwapsOneAnd255AndKeeps128) {
    const DisplaySettings s = settings(1, 0, true);
    EXPECT_EQ(cell(1, 1, s), 0x000AA0u);     // colour of 255
    EXPECT_EQ(cell(255, 255, s), 0x140004u); // colour of 1
    EXPECT_EQ(cell(128, 128, s), 0x32E1BFu);
    const DisplaySettings plain = settings(1, 0, false);
    EXPECT_EQ(cell(1, 1, plain), 0x140004u);
}

TEST_F(CellColours, ReducedColourModesShareTheColourOfTheBand) {
    const DisplaySettings s4 = settings(1, 4, false);
    for (int d = 16; d <= 31; ++d) EXPECT_EQ(cell(uint8_t(d), 0, s4), 0x630042u) << d;
    EXPECT_EQ(cell(32, 0, s4), 0x9D1653u);
    EXPECT_EQ(cell(77, 0, settings(1, 1, false)), 0xC08C0Cu); // MainPalette[76]
    EXPECT_EQ(cell(77, 0, settings(1, 2, false)), 0xC08C0Cu); // MainPalette[76]
    EXPECT_EQ(cell(77, 0, settings(1, 3, false)), 0xC98400u); // MainPalette[72]
    EXPECT_EQ(cell(77, 0, settings(1, 0, false)), 0xBD8E0Fu); // MainPalette[77]
}

TEST_F(CellColours, GreyScaleMode) {
    EXPECT_EQ(cell(77, 0, settings(1, 5, false)), 0x4D4D4Du);
    EXPECT_EQ(cell(77, 0, settings(0, 5, true)), 0xB3B3B3u); // 179
}

TEST_F(CellColours, DerivativeComparesWithTheNextSample) {
    const DisplaySettings s = settings(2, 0, false);
    EXPECT_EQ(cell(100, 110, s), p->RisePalette[100]);
    EXPECT_EQ(cell(110, 100, s), p->FallPalette[110]);
    EXPECT_EQ(cell(100, 100, s), p->GreyPalette[100]);
    EXPECT_EQ(cell(100, 0, s), p->FallPalette[100]); // no-data successor
    // Inverted, a rise becomes a fall of the mirrored code.
    const DisplaySettings inv = settings(2, 0, true);
    EXPECT_EQ(cell(100, 110, inv), 0x268226u); // FallPalette[156]
    EXPECT_EQ(cell(100, 0, inv), p->FallPalette[156]);
}

TEST_F(CellColours, DerivativeReducedModesCompareUnreducedCodes) {
    const DisplaySettings s = settings(2, 1, false);
    EXPECT_EQ(cell(101, 100, s), p->FallPalette[100]);
    EXPECT_EQ(cell(100, 101, s), p->RisePalette[100]);
    EXPECT_EQ(cell(101, 101, s), p->GreyPalette[100]);
    EXPECT_EQ(cell(77, 90, settings(2, 4, false)), p->RisePalette[64]);
}

TEST_F(CellColours, DerivativeTwoColoursCompareWithTheGainCurve) {
    DisplaySettings s = settings(2, 5, false);
    EXPECT_EQ(cell(100, 0, s, 7), 0xC0DCC0u); // 128 > 100
    EXPECT_EQ(cell(128, 0, s, 7), 0x000080u);
    EXPECT_EQ(cell(200, 0, s, 7), 0x000080u);
    s.GainLevel1 = 50;
    s.GainLevel2 = 250;
    s.GainPos1 = 256;
    s.GainPos2 = 256;
    BuildGainCurve(s);
    EXPECT_EQ(cell(100, 0, s, 10), 0x000080u);  // 50 > 100 fails
    EXPECT_EQ(cell(200, 0, s, 300), 0xC0DCC0u); // 250 > 200
    s.inversion = true;
    EXPECT_EQ(cell(200, 0, s, 10), 0x000080u); // 56
    EXPECT_EQ(cell(210, 0, s, 10), 0xC0DCC0u); // 46
    // The painted column uses the sample index.
    const ColumnColours out = paint(Trace(100), settings(2, 5, false));
    EXPECT_EQ(out[0], 0xC0DCC0u);
    EXPECT_EQ(out[511], 0xC0DCC0u);
}

TEST_F(CellColours, PaintedColumnAgreesWithSingleCells) {
    Trace t(128);
    for (int k = 0; k < 528; ++k) t.codes[k] = uint8_t((k * 37 + (k / 3) * 11) % 256);
    for (int form = 0; form < 3; ++form) {
        for (int mode = 0; mode < 6; ++mode) {
            for (bool inversion : {false, true}) {
                const DisplaySettings s = settings(form, mode, inversion);
                const ColumnColours out = paint(t, s);
                const ColumnPainter painter(s, *p);
                for (int k = 0; k < COLUMN_ROWS; ++k)
                    ASSERT_EQ(out[k], painter.cellColour(t.codes[k], t.codes[k + 1], k))
                        << form << " " << mode << " " << inversion << " row " << k;
            }
        }
    }
}

// --- mode 6: extremum marks ---------------------------------------------------------------

// Rows of `out` that are not `background`, with their colours.
std::vector<std::pair<int, uint32_t>> marks(const ColumnColours& out, uint32_t background) {
    std::vector<std::pair<int, uint32_t>> m;
    for (int k = 0; k < COLUMN_ROWS; ++k)
        if (out[k] != background) m.emplace_back(k, out[k]);
    return m;
}

using Marks = std::vector<std::pair<int, uint32_t>>;

class ExtremumMarks : public CellColours, public ::testing::WithParamInterface<int> {};

TEST_P(ExtremumMarks, ConstantTraceDrawsOnlyBackground) {
    DisplaySettings s = settings(GetParam(), 6, false);
    EXPECT_EQ(marks(paint(Trace(100), s), WHITE), Marks{});
    s.background = true;
    EXPECT_EQ(marks(paint(Trace(100), s), 0x646464), Marks{});
}

TEST_P(ExtremumMarks, SinglePeakDrawsOneRedMark) {
    const ColumnColours out = paint(Trace(10).set(100, 20), settings(GetParam(), 6, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{99, RED}, {100, RED}}));
}

TEST_P(ExtremumMarks, SingleDipDrawsOneBlueMark) {
    const ColumnColours out = paint(Trace(100).set(200, 90), settings(GetParam(), 6, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{199, BLUE}, {200, BLUE}}));
}

TEST_P(ExtremumMarks, InvertedDipBecomesAPeak) {
    const ColumnColours out = paint(Trace(100).set(200, 90), settings(GetParam(), 6, true));
    EXPECT_EQ(marks(out, WHITE), (Marks{{199, RED}, {200, RED}}));
}

TEST_P(ExtremumMarks, PlateauOfThreeMarksItsLastSample) {
    // Rise to 99, equal at 100 and 101 (n = 1), fall after 102: mark at 102 - 1 / 2.
    const ColumnColours out = paint(Trace(10).set(100, 102, 20), settings(GetParam(), 6, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{101, RED}, {102, RED}}));
}

TEST_P(ExtremumMarks, PlateauOfFourMarksOneRowAboveTheLastSample) {
    // n = 2 when the fall begins after sample 103: mark at 103 - 1.
    const ColumnColours out = paint(Trace(10).set(100, 103, 20), settings(GetParam(), 6, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{101, RED}, {102, RED}}));
}

TEST_P(ExtremumMarks, BackgroundIsTheGreyOfTheDrawnCode) {
    DisplaySettings s = settings(GetParam(), 6, false);
    s.background = true;
    const ColumnColours out = paint(Trace(10).set(100, 20), s);
    EXPECT_EQ(out[0], 0x0A0A0Au);
    EXPECT_EQ(out[101], 0x0A0A0Au);
    EXPECT_EQ(out[100], RED);
    s.inversion = true;
    const ColumnColours inv = paint(Trace(10), s);
    EXPECT_EQ(inv[5], 0xF6F6F6u); // grey of 246
}

TEST_P(ExtremumMarks, SampleAfterTheLastRowIsStillVisited) {
    Trace t(100);
    t.set(511, 110).set(512, 120).set(513, 110);
    const ColumnColours out = paint(t, settings(GetParam(), 6, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{511, RED}}));
}

INSTANTIATE_TEST_SUITE_P(Forms, ExtremumMarks, ::testing::Values(0, 1, 2));

TEST_F(CellColours, ExtremumMarksPlateauCrossedFallingInTheDerivativeForm) {
    // Peak at 100; plateau 101..148 reached falling (n = 47 by sample 148);
    // fall at 149, dip at 150.
    Trace t(10);
    t.set(100, 20).set(150, 5);
    const Marks turns = {{99, RED}, {100, RED}, {149, BLUE}, {150, BLUE}};
    EXPECT_EQ(marks(paint(t, settings(1, 6, false)), WHITE), turns);
    Marks withPlateau = turns;
    withPlateau.insert(withPlateau.begin() + 2, {126, 0xCCFF99}); // 149 - 47 / 2
    EXPECT_EQ(marks(paint(t, settings(2, 6, false)), WHITE), withPlateau);
}

TEST_F(CellColours, ExtremumMarksPlateauCrossedRisingInTheDerivativeForm) {
    // Rise at 49, plateau 50..99 (n = 48 by sample 98), rise again at 99.
    Trace t(30);
    t.set(0, 49, 10).set(50, 99, 20);
    EXPECT_EQ(marks(paint(t, settings(0, 6, false)), WHITE), Marks{});
    EXPECT_EQ(marks(paint(t, settings(2, 6, false)), WHITE), (Marks{{75, 0x66BBFF}}));
}

// --- mode 7 ------------------------------------------------------------------------------

TEST_F(CellColours, SlopeModeColoursRisesRedAndFallsBlue) {
    Trace t(100);
    const uint8_t shape[] = {110, 120, 130, 140, 150, 140, 130, 120, 110};
    for (int i = 0; i < 9; ++i) t.set(10 + i, shape[i]);
    const ColumnColours out = paint(t, settings(1, 7, false));
    const Marks expected = {
        {9, 0x000055},  {10, 0x000055}, {11, 0x000055}, {12, 0x000055}, {13, RED},
        {14, 0x550000}, {15, 0x550000}, {16, 0x550000}, {17, 0x550000}, {18, BLUE},
    };
    EXPECT_EQ(marks(out, WHITE), expected);
}

TEST_F(CellColours, SlopeModeFirstSampleOfARiseIsBlue) {
    // One rise from 100 to 110 at sample 20: s was 0, the cell turns blue.
    const ColumnColours out = paint(Trace(100).set(21, 527, 110), settings(0, 7, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{20, BLUE}}));
}

TEST_F(CellColours, SlopeModeFirstFallDarkensTheRowAbove) {
    // A fall while s = 0 paints the cell blue and the row above dark blue;
    // at sample 0 the row above lies off the picture.
    const ColumnColours out = paint(Trace(100).set(0, 120), settings(1, 7, false));
    EXPECT_EQ(marks(out, WHITE), (Marks{{0, BLUE}}));
    const ColumnColours later = paint(Trace(100).set(0, 30, 120), settings(1, 7, false));
    EXPECT_EQ(marks(later, WHITE), (Marks{{29, 0x550000}, {30, BLUE}}));
}

TEST_F(CellColours, DerivativeMarksSinglePeak) {
    // s starts at 1: the leading constant run is a plateau from row 0, which
    // the rise at 49 crosses (rise colour at 49 and 0); the peak at 50 is red.
    const ColumnColours out = paint(Trace(100).set(50, 110), settings(2, 7, false));
    const uint32_t rise = p->RisePalette[100];
    EXPECT_EQ(marks(out, WHITE), (Marks{{0, rise}, {49, RED}, {50, RED}}));
}

TEST_F(CellColours, DerivativeMarksPlateauMaximumAtBothEnds) {
    const ColumnColours out = paint(Trace(100).set(50, 52, 110), settings(2, 7, false));
    const uint32_t rise = p->RisePalette[100];
    EXPECT_EQ(marks(out, WHITE), (Marks{{0, rise}, {49, RED}, {50, RED}, {51, RED}, {52, RED}}));
}

TEST_F(CellColours, DerivativeMarksPlateauMinimumAtBothEnds) {
    const ColumnColours out = paint(Trace(100).set(50, 52, 90), settings(2, 7, false));
    EXPECT_EQ(marks(out, WHITE),
              (Marks{{0, RED}, {48, RED}, {49, BLUE}, {50, BLUE}, {51, BLUE}, {52, BLUE}}));
}

TEST_F(CellColours, DerivativeMarksFallingPlateauInTheFallColour) {
    Trace t(100);
    t.set(0, 9, 120).set(10, 19, 110);
    const ColumnColours out = paint(t, settings(2, 7, false));
    const uint32_t fall = p->FallPalette[110];
    EXPECT_EQ(marks(out, WHITE), (Marks{{0, RED}, {8, RED}, {9, RED}, {10, fall}, {19, fall}}));
}

TEST_F(CellColours, DerivativeMarksUseTheGreyBackground) {
    DisplaySettings s = settings(2, 7, false);
    s.background = true;
    const ColumnColours out = paint(Trace(100).set(50, 110), s);
    EXPECT_EQ(out[1], 0x646464u);
    EXPECT_EQ(out[50], RED);
}

// --- chosen amplitude ---------------------------------------------------------------------

TEST(ChosenAmplitudeColour, WhiteOverDarkMagentaOverLight) {
    EXPECT_EQ(chosenAmplitudeColour(0x000000), WHITE);
    EXPECT_EQ(chosenAmplitudeColour(0x630042), WHITE);   // luminance 31
    EXPECT_EQ(chosenAmplitudeColour(0x32E1BF), MAGENTA); // luminance 194
    EXPECT_EQ(chosenAmplitudeColour(0x7F7F7F), WHITE);   // 127
    EXPECT_EQ(chosenAmplitudeColour(0x808080), MAGENTA); // 128
}

TEST_F(CellColours, ChosenCodeStandsOutOnlyWhileTheModeIsOn) {
    DisplaySettings s = settings(1, 0, false);
    EXPECT_EQ(cell(128, 0, s), 0x32E1BFu);
    s.chosenAmplitude = true;
    EXPECT_EQ(cell(128, 0, s), MAGENTA);
    EXPECT_EQ(cell(129, 0, s), 0x30E2C2u);
    s.chosenCode = 16;
    EXPECT_EQ(cell(16, 0, s), WHITE);
    EXPECT_EQ(cell(128, 0, s), 0x32E1BFu);
}

TEST_F(CellColours, ChosenCodeFollowsTheInversion) {
    DisplaySettings s = settings(1, 0, true);
    s.chosenAmplitude = true;
    s.chosenCode = 100;
    EXPECT_EQ(cell(100, 0, s), MAGENTA);   // drawn as 156, 0x0CE4FF
    EXPECT_EQ(cell(156, 0, s), 0x7FB35Eu); // drawn as 100, unmarked
}

TEST_F(CellColours, ChosenCodeMarksItsWholeBandInReducedModes) {
    DisplaySettings s = settings(1, 4, false);
    s.chosenAmplitude = true;
    s.chosenCode = 20;
    for (int d = 16; d <= 31; ++d) EXPECT_EQ(cell(uint8_t(d), 0, s), WHITE) << d;
    EXPECT_EQ(cell(32, 0, s), 0x9D1653u);
    EXPECT_EQ(cell(48, 0, s), 0xAF4232u);
}

TEST_F(CellColours, ChosenCodeInTheGreyScale) {
    DisplaySettings s = settings(1, 5, false);
    s.chosenAmplitude = true;
    s.chosenCode = 200;
    EXPECT_EQ(cell(200, 0, s), MAGENTA);
    EXPECT_EQ(cell(199, 0, s), 0xC7C7C7u);
    s.chosenCode = 50;
    EXPECT_EQ(cell(50, 0, s), WHITE);
}

TEST_F(CellColours, ChosenCodeLeavesTheDerivativeFormAlone) {
    DisplaySettings s = settings(2, 0, false);
    s.chosenAmplitude = true;
    EXPECT_EQ(cell(128, 130, s), p->RisePalette[128]);
}

TEST_F(PaletteTest, MarkedVariantsOfTheTables) {
    DisplaySettings s = settings(0, 0, false);
    s.chosenCode = 128;
    ReColor3D(*p, s);
    EXPECT_EQ(p->FineRampMarked[511], p->FineRamp[511]);
    for (int f = 512; f < 516; ++f) EXPECT_EQ(p->FineRampMarked[f], WHITE) << f; // 0x008080 is dark
    EXPECT_EQ(p->FineRampMarked[516], p->FineRamp[516]);
    EXPECT_EQ(p->MainPaletteMarked[128], MAGENTA);
    EXPECT_EQ(p->MainPaletteMarked[127], 0x35DFBAu);
    EXPECT_EQ(p->GreyPaletteMarked[128], MAGENTA);
    EXPECT_EQ(p->ViewPaletteMarked[128], WHITE); // the view palette holds FineRamp[512]
    EXPECT_EQ(p->ViewPaletteMarked[127], p->ViewPalette[127]);

    // The cube view's marked palette, indexed with the stored code.
    s = settings(1, 2, false);
    s.chosenCode = 130;
    ReColor3D(*p, s);
    for (int i = 128; i <= 131; ++i)
        EXPECT_EQ(p->VolumePaletteMarked[i], chosenAmplitudeColour(p->MainPalette[128])) << i;
    EXPECT_EQ(p->VolumePaletteMarked[127], p->VolumePalette[127]);
    EXPECT_EQ(p->VolumePaletteMarked[132], p->VolumePalette[132]);
}

} // namespace
} // namespace tesk
