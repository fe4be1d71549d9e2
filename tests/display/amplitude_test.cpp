// Amplitude mapping: the stored level tables and their inverses, the gain
// curve and factors, the zero/gain stage on the raster, inversion, the
// zero/gain buttons and the settings kept in the survey header.

#include "display/amplitude.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace tesk {
namespace {

// --- level tables ----------------------------------------------------------------

struct TableEntry {
    int table;
    int code;
    uint32_t value;
};

std::ostream& operator<<(std::ostream& os, const TableEntry& e) {
    return os << "table " << e.table << " code " << e.code;
}

class LevelTableEntry : public ::testing::TestWithParam<TableEntry> {};

TEST_P(LevelTableEntry, HoldsTheStoredValue) {
    const TableEntry& e = GetParam();
    EXPECT_EQ(storedLevelTable(e.table)[e.code], e.value);
}

INSTANTIATE_TEST_SUITE_P(Stored, LevelTableEntry,
                         ::testing::Values(
                             // Linear: value = code.
                             TableEntry{0, 0, 0}, TableEntry{0, 37, 37}, TableEntry{0, 128, 128},
                             TableEntry{0, 255, 255},
                             // Table 1, centre 32768, linear up to 32 steps.
                             TableEntry{1, 0, 0}, TableEntry{1, 128, 32768},
                             TableEntry{1, 160, 32800}, TableEntry{1, 161, 32802}, // U(33) = 34
                             TableEntry{1, 189, 32877},                            // U(61) = 109
                             TableEntry{1, 255, 62520},                            // U(127) = 29752
                             TableEntry{1, 96, 32736},                             // D(32) = 32
                             TableEntry{1, 95, 32734},                             // D(33) = U(33)
                             TableEntry{1, 67, 32660}, // D(61) = 108, not U(61)
                             TableEntry{1, 59, 32608}, // D(69) = 160, not 162
                             TableEntry{1, 58, 32598}, // D(70) = U(70) = 170
                             TableEntry{1, 57, 32589}, // D(71) = 179, not 180
                             TableEntry{1, 29, 31669}, // D(99) = 1099
                             TableEntry{1, 1, 3016},   // D(127) = U(127)
                             // Table 2, centre 88990, linear up to 63 steps.
                             TableEntry{2, 128, 88990}, TableEntry{2, 191, 89053},
                             TableEntry{2, 192, 89056}, TableEntry{2, 218, 90247}, // U(90) = 1257
                             TableEntry{2, 38, 87773},                             // D(90) = 1217
                             TableEntry{2, 255, 177980}, TableEntry{2, 1, 4}, TableEntry{2, 0, 0},
                             // Table 3, centre 2508.
                             TableEntry{3, 128, 2508}, TableEntry{3, 65, 2445},
                             TableEntry{3, 198, 2602},
                             TableEntry{3, 58, 2415}, // D(70) = 93, not 94
                             TableEntry{3, 255, 5016}, TableEntry{3, 1, 3},
                             // Table 4, centre 730.
                             TableEntry{4, 128, 730}, TableEntry{4, 192, 795},
                             TableEntry{4, 218, 903},
                             TableEntry{4, 38, 552}, // D(90) = 178, not 173
                             TableEntry{4, 255, 1460}, TableEntry{4, 1, 1}, TableEntry{4, 0, 0}));

class EveryLevelTable : public ::testing::TestWithParam<int> {};

TEST_P(EveryLevelTable, StartsAtZeroCentresAt128AndStrictlyIncreases) {
    const int t = GetParam();
    const LevelTableValues& table = storedLevelTable(t);
    EXPECT_EQ(table[0], 0u);
    EXPECT_EQ(int32_t(table[128]), storedLevelTableCentre(t));
    for (int c = 1; c < 256; ++c) EXPECT_GT(table[c], table[c - 1]) << "code " << c;
}

TEST_P(EveryLevelTable, InversesGiveBackEveryCode) {
    const LevelTableValues& table = storedLevelTable(GetParam());
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(levelTableInverse(table, table[c]), c);
        EXPECT_EQ(levelTableUpInverse(table, table[c]), c);
        // The mean of three equal codes on the linear scale.
        const double mean = (3.0 * table[c]) / 3.0;
        EXPECT_EQ(levelTableInverse(table, mean), c);
    }
}

TEST_P(EveryLevelTable, ValuesBetweenEntriesRoundDownOrUp) {
    const LevelTableValues& table = storedLevelTable(GetParam());
    for (int c = 0; c < 255; ++c) {
        EXPECT_EQ(levelTableInverse(table, table[c] + 0.5), c);
        EXPECT_EQ(levelTableUpInverse(table, table[c] + 0.5), c + 1);
    }
    EXPECT_EQ(levelTableInverse(table, -1.0), 0);
    EXPECT_EQ(levelTableUpInverse(table, table[255] + 1.0), 255);
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryLevelTable, ::testing::Range(0, LEVEL_TABLE_COUNT));

TEST(LevelTableInverse, FindsTheNeighboursOfAnIntegerBetweenTwoEntries) {
    const LevelTableValues& t1 = storedLevelTable(1);
    // 32801 lies between T[160] = 32800 and T[161] = 32802.
    EXPECT_EQ(levelTableInverse(t1, 32801), 160);
    EXPECT_EQ(levelTableUpInverse(t1, 32801), 161);
}

TEST(SelectLevelTable, CopiesTableAndCentre) {
    DisplaySettings s;
    selectLevelTable(s, 2);
    EXPECT_EQ(s.levelTableIndex, 2);
    EXPECT_EQ(s.LevelTableCentre, 88990);
    EXPECT_EQ(s.LevelTable[255], 177980u);
    selectLevelTable(s, 7); // out of range: linear
    EXPECT_EQ(s.levelTableIndex, 0);
    EXPECT_EQ(s.LevelTableCentre, 128);
    EXPECT_EQ(s.LevelTable[200], 200u);
}

TEST(DisplaySettingsDefaults, StartUpState) {
    const DisplaySettings s;
    EXPECT_EQ(s.zeroGainMode, 0);
    EXPECT_EQ(s.ZeroLevel, 128);
    EXPECT_EQ(s.GainLevel1, 128);
    EXPECT_EQ(s.GainLevel2, 128);
    EXPECT_EQ(s.GainPos1, 0);
    EXPECT_EQ(s.GainPos2, 511);
    EXPECT_EQ(s.GainRange, 1);
    for (uint8_t level : s.GainCurve) EXPECT_EQ(level, 128);
    EXPECT_DOUBLE_EQ(s.GainFactors[0], 0.5);
    EXPECT_DOUBLE_EQ(s.GainFactors[128], 1.0);
    EXPECT_FALSE(s.inversion);
    EXPECT_EQ(s.amplitudeForm, 1);
    EXPECT_EQ(s.levelTableIndex, 1);
    // The linear table stays until the first selection.
    EXPECT_EQ(s.LevelTable[77], 77u);
    EXPECT_EQ(s.LevelTableCentre, 128);
    EXPECT_EQ(s.colourMode, 0);
    EXPECT_FALSE(s.background);
    EXPECT_FALSE(s.chosenAmplitude);
    EXPECT_EQ(s.chosenCode, 128);
}

// --- gain curve and factors --------------------------------------------------------

DisplaySettings gains(int l1, int l2, int p1, int p2) {
    DisplaySettings s;
    s.GainLevel1 = l1;
    s.GainLevel2 = l2;
    s.GainPos1 = p1;
    s.GainPos2 = p2;
    BuildGainCurve(s);
    return s;
}

TEST(BuildGainCurve, DefaultsGiveAFlatCurve) {
    const DisplaySettings s = gains(128, 128, 0, 511);
    for (uint8_t level : s.GainCurve) EXPECT_EQ(level, 128);
}

TEST(BuildGainCurve, EqualPositionsGiveAStep) {
    const DisplaySettings s = gains(100, 200, 300, 300);
    EXPECT_EQ(s.GainCurve[0], 100);
    EXPECT_EQ(s.GainCurve[299], 100);
    EXPECT_EQ(s.GainCurve[300], 200);
    EXPECT_EQ(s.GainCurve[511], 200);
}

TEST(BuildGainCurve, ReversedPositionsStepAtTheSecondPosition) {
    const DisplaySettings s = gains(50, 150, 300, 100);
    EXPECT_EQ(s.GainCurve[0], 50);
    EXPECT_EQ(s.GainCurve[99], 50);
    EXPECT_EQ(s.GainCurve[100], 150);
    EXPECT_EQ(s.GainCurve[300], 150);
    EXPECT_EQ(s.GainCurve[511], 150);
}

TEST(BuildGainCurve, RisingRampRoundsHalvesToEven) {
    // Slope 2 / 4 = 0.5: interior values 128.5, 129, 129.5.
    const DisplaySettings s = gains(128, 130, 0, 4);
    EXPECT_EQ(s.GainCurve[0], 128);
    EXPECT_EQ(s.GainCurve[1], 128);
    EXPECT_EQ(s.GainCurve[2], 129);
    EXPECT_EQ(s.GainCurve[3], 130);
    EXPECT_EQ(s.GainCurve[4], 130);
    EXPECT_EQ(s.GainCurve[511], 130);
}

TEST(BuildGainCurve, FallingRampCountsDownFromTheFirstLevel) {
    // Slope 0.5: interior values 129.5, 129, 128.5.
    const DisplaySettings s = gains(130, 128, 10, 14);
    EXPECT_EQ(s.GainCurve[0], 130);
    EXPECT_EQ(s.GainCurve[10], 130);
    EXPECT_EQ(s.GainCurve[11], 130);
    EXPECT_EQ(s.GainCurve[12], 129);
    EXPECT_EQ(s.GainCurve[13], 128);
    EXPECT_EQ(s.GainCurve[14], 128);
}

TEST(BuildGainCurve, LongRampMidpoint) {
    // 0 .. 200 over positions 100 .. 300: slope 1, level = i - 100 inside.
    const DisplaySettings s = gains(0, 200, 100, 300);
    EXPECT_EQ(s.GainCurve[100], 0);
    EXPECT_EQ(s.GainCurve[101], 1);
    EXPECT_EQ(s.GainCurve[250], 150);
    EXPECT_EQ(s.GainCurve[299], 199);
    EXPECT_EQ(s.GainCurve[300], 200);
}

struct FactorCase {
    int range;
    int level;
    double factor;
};

std::ostream& operator<<(std::ostream& os, const FactorCase& c) {
    return os << "range " << c.range << " level " << c.level;
}

class GainFactor : public ::testing::TestWithParam<FactorCase> {};

TEST_P(GainFactor, FollowsTheRangeFormula) {
    DisplaySettings s;
    s.GainRange = uint8_t(GetParam().range);
    BuildGainFactors(s);
    EXPECT_DOUBLE_EQ(s.GainFactors[GetParam().level], GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GainFactor,
    ::testing::Values(
        // Range 1: x = 0.5; below 128 0.5 + i / 256, above 1 + (i - 128) / 64.
        FactorCase{1, 0, 0.5}, FactorCase{1, 64, 0.75}, FactorCase{1, 127, 0.99609375},
        FactorCase{1, 128, 1.0}, FactorCase{1, 192, 2.0}, FactorCase{1, 255, 2.984375},
        // Range 3: x = 0.25; below 128 0.25 + 0.75 i / 128, above 1 + 3 (i - 128) / 64.
        FactorCase{3, 0, 0.25}, FactorCase{3, 64, 0.625}, FactorCase{3, 127, 0.994140625},
        FactorCase{3, 128, 1.0}, FactorCase{3, 129, 1.046875}, FactorCase{3, 255, 6.953125}));

// --- zero/gain stage ----------------------------------------------------------------

struct CodeCase {
    int setting; // ZeroLevel (mode 0) or gain level (modes 1, 2)
    int code;
    int expected;
};

std::ostream& operator<<(std::ostream& os, const CodeCase& c) {
    return os << "setting " << c.setting << " code " << c.code << " -> " << c.expected;
}

class ZeroLevelMode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ZeroLevelMode, MapsTheZeroLevelTo128) {
    DisplaySettings s;
    s.ZeroLevel = uint8_t(GetParam().setting);
    EXPECT_EQ(zeroGainCode(s, uint8_t(GetParam().code), 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroLevelMode,
    ::testing::Values(
        // Z = 128 called directly: 129 -> 127 + Trunc(128 / 127), 255 stays.
        CodeCase{128, 129, 128}, CodeCase{128, 255, 255}, CodeCase{128, 128, 128},
        CodeCase{128, 1, 1}, CodeCase{128, 64, 64}, CodeCase{128, 0, 0},
        // Z = 200: codes up to Z are scaled by 128 / 200, code 1 becomes no data.
        CodeCase{200, 1, 0}, CodeCase{200, 100, 64}, CodeCase{200, 150, 96},
        CodeCase{200, 199, 127}, CodeCase{200, 200, 128}, CodeCase{200, 201, 129},
        CodeCase{200, 255, 255}, CodeCase{200, 0, 0},
        // Z = 64.
        CodeCase{64, 1, 2}, CodeCase{64, 63, 126}, CodeCase{64, 65, 127}, CodeCase{64, 66, 128},
        CodeCase{64, 160, 191}));

// Gain level `setting` on samples 0..255 (and 128 from 256 on).
DisplaySettings levelOnLeftHalf(int mode, int level) {
    DisplaySettings s = gains(level, 128, 256, 256);
    s.zeroGainMode = mode;
    return s;
}

class GainMode1 : public ::testing::TestWithParam<CodeCase> {};

TEST_P(GainMode1, ScalesByTheFactorOfTheLevel) {
    const DisplaySettings s = levelOnLeftHalf(1, GetParam().setting);
    EXPECT_EQ(zeroGainCode(s, uint8_t(GetParam().code), 10), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GainMode1,
    ::testing::Values(
        // Factor 1: 129 -> 128, 130 -> 129, 127 stays, 255 -> 127 + 127.
        CodeCase{128, 129, 128}, CodeCase{128, 130, 129}, CodeCase{128, 127, 127},
        CodeCase{128, 1, 1}, CodeCase{128, 255, 254}, CodeCase{128, 128, 128}, CodeCase{128, 0, 0},
        // Level 255, factor 2.984375.
        CodeCase{255, 129, 130}, CodeCase{255, 170, 252}, CodeCase{255, 200, 255},
        CodeCase{255, 127, 125}, CodeCase{255, 100, 44}, CodeCase{255, 50, 1},
        // Level 0, factor 0.5: Round(0.5) = 0 sends 129 below 128 and step B back.
        CodeCase{0, 129, 128}, CodeCase{0, 131, 129}, CodeCase{0, 133, 129}, CodeCase{0, 255, 191},
        CodeCase{0, 126, 127}, CodeCase{0, 123, 126}, CodeCase{0, 1, 64}));

class GainMode2 : public ::testing::TestWithParam<CodeCase> {};

TEST_P(GainMode2, StretchesOrPullsTowardZero) {
    const DisplaySettings s = levelOnLeftHalf(2, GetParam().setting);
    EXPECT_EQ(zeroGainCode(s, uint8_t(GetParam().code), 10), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GainMode2,
                         ::testing::Values(
                             // Level 192 stretches away from 128.
                             CodeCase{192, 200, 227}, CodeCase{192, 255, 255},
                             CodeCase{192, 129, 192}, CodeCase{192, 128, 128},
                             CodeCase{192, 100, 50}, CodeCase{192, 127, 64}, CodeCase{192, 1, 1},
                             CodeCase{192, 0, 0},
                             // Level 64 pulls toward 128.
                             CodeCase{64, 200, 164}, CodeCase{64, 255, 192}, CodeCase{64, 129, 129},
                             CodeCase{64, 100, 114}, CodeCase{64, 1, 64},
                             // Level 128 leaves codes as they are; level 255 is the steepest.
                             CodeCase{128, 200, 200}, CodeCase{128, 37, 37},
                             CodeCase{255, 129, 254}, CodeCase{255, 254, 254}));

TEST(ZeroGainCode, GainModesUseTheLevelOfTheSampleColumn) {
    const DisplaySettings s1 = levelOnLeftHalf(1, 255);
    EXPECT_EQ(zeroGainCode(s1, 129, 255), 130); // level 255
    EXPECT_EQ(zeroGainCode(s1, 130, 256), 129); // level 128
    const DisplaySettings s2 = levelOnLeftHalf(2, 192);
    EXPECT_EQ(zeroGainCode(s2, 200, 0), 227);
    EXPECT_EQ(zeroGainCode(s2, 200, 511), 200);
}

class ZeroGainRaster : public ::testing::Test {
  protected:
    void fillPlane(int plane, uint8_t code) {
        for (int r = 0; r < DisplayRaster::ROWS; ++r)
            for (int c = 0; c < DisplayRaster::COLUMNS; ++c) raster->at(plane, r, c) = code;
    }
    std::unique_ptr<DisplayRaster> raster = std::make_unique<DisplayRaster>();
};

TEST_F(ZeroGainRaster, ZeroLevelModeChangesOnlyTheViewOfTheActivePlane) {
    fillPlane(0, 100);
    fillPlane(2, 100);
    raster->at(2, 20, 5) = 0;
    raster->at(2, 20, 6) = 1;
    raster->at(2, 531, 511) = 201;
    raster->activePlane = 2;
    DisplaySettings s;
    s.ZeroLevel = 200;
    ZeroGain(*raster, s);
    EXPECT_EQ(raster->at(2, 20, 0), 64);
    EXPECT_EQ(raster->at(2, 300, 300), 64);
    EXPECT_EQ(raster->at(2, 20, 5), 0);
    EXPECT_EQ(raster->at(2, 20, 6), 0);
    EXPECT_EQ(raster->at(2, 531, 511), 129);
    // Context rows, further samples and the other planes stay.
    EXPECT_EQ(raster->at(2, 19, 0), 100);
    EXPECT_EQ(raster->at(2, 532, 0), 100);
    EXPECT_EQ(raster->at(2, 20, 512), 100);
    EXPECT_EQ(raster->at(2, 100, 527), 100);
    EXPECT_EQ(raster->at(0, 100, 100), 100);
}

TEST_F(ZeroGainRaster, GainModeOneFollowsTheCurveAlongTheSamples) {
    fillPlane(0, 133);
    raster->at(0, 50, 300) = 129;
    raster->activePlane = 0;
    DisplaySettings s = gains(0, 255, 256, 256);
    s.zeroGainMode = 1;
    ZeroGain(*raster, s);
    EXPECT_EQ(raster->at(0, 50, 10), 129); // level 0: Round(5 * 0.5) = 2
    EXPECT_EQ(raster->at(0, 50, 255), 129);
    EXPECT_EQ(raster->at(0, 50, 300), 130);      // level 255: Round(2.984375) = 3
    EXPECT_EQ(raster->at(0, 50, 256), 127 + 15); // Round(5 * 2.984375) = 15
    EXPECT_EQ(raster->at(0, 19, 300), 133);
}

TEST_F(ZeroGainRaster, GainModeTwoWithBothPositionsAtZeroUsesTheSecondLevel) {
    fillPlane(0, 200);
    raster->activePlane = 0;
    DisplaySettings s = gains(192, 64, 0, 0);
    s.zeroGainMode = 2;
    ZeroGain(*raster, s);
    EXPECT_EQ(raster->at(0, 20, 0), 164); // position 0 takes GainLevel2 = 64
    EXPECT_EQ(raster->at(0, 531, 511), 164);
}

struct NeedCase {
    int mode;
    int zero;
    int l1, l2, p1, p2;
    bool needed;
    bool neededForExport;
};

std::ostream& operator<<(std::ostream& os, const NeedCase& c) {
    return os << "mode " << c.mode << " zero " << c.zero << " levels " << c.l1 << "/" << c.l2
              << " positions " << c.p1 << "/" << c.p2;
}

class ZeroGainNeeded : public ::testing::TestWithParam<NeedCase> {};

TEST_P(ZeroGainNeeded, DependsOnTheModeAndItsSettings) {
    const NeedCase& c = GetParam();
    DisplaySettings s;
    s.zeroGainMode = c.mode;
    s.ZeroLevel = uint8_t(c.zero);
    s.GainLevel1 = c.l1;
    s.GainLevel2 = c.l2;
    s.GainPos1 = c.p1;
    s.GainPos2 = c.p2;
    EXPECT_EQ(zeroGainNeeded(s), c.needed);
    EXPECT_EQ(zeroGainNeededForTextExport(s), c.neededForExport);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZeroGainNeeded,
                         ::testing::Values(NeedCase{0, 128, 128, 128, 0, 511, false, false},
                                           NeedCase{0, 127, 128, 128, 0, 511, true, true},
                                           NeedCase{0, 128, 200, 100, 5, 300, false, false},
                                           NeedCase{1, 128, 128, 128, 0, 511, false, false},
                                           NeedCase{1, 100, 128, 128, 0, 511, false, false},
                                           NeedCase{1, 128, 129, 128, 0, 511, true, false},
                                           NeedCase{1, 128, 128, 127, 0, 511, true, false},
                                           NeedCase{2, 128, 128, 128, 1, 511, true, false},
                                           NeedCase{2, 128, 128, 128, 0, 510, true, false},
                                           NeedCase{2, 128, 129, 127, 1, 510, true, true}));

// --- inversion -------------------------------------------------------------------------

TEST(InvertCode, MirrorsNonZeroCodesAbout128) {
    EXPECT_EQ(invertCode(1), 255);
    EXPECT_EQ(invertCode(255), 1);
    EXPECT_EQ(invertCode(128), 128);
    EXPECT_EQ(invertCode(0), 0);
    EXPECT_EQ(invertCode(100), 156);
}

// --- zero/gain buttons -------------------------------------------------------------

TEST(ZeroGainSteps, ZeroLevelModeStepsTheZeroLevelWithinItsLimits) {
    DisplaySettings s;
    stepZeroGainDown(s, false);
    EXPECT_EQ(s.ZeroLevel, 127);
    stepZeroGainDown(s, true); // Ctrl changes nothing else in mode 0
    EXPECT_EQ(s.ZeroLevel, 126);
    EXPECT_EQ(s.GainRange, 1);
    s.ZeroLevel = 1;
    stepZeroGainDown(s, false);
    EXPECT_EQ(s.ZeroLevel, 1);
    s.ZeroLevel = 254;
    stepZeroGainUp(s, true);
    EXPECT_EQ(s.ZeroLevel, 255);
    stepZeroGainUp(s, false);
    EXPECT_EQ(s.ZeroLevel, 255);
    EXPECT_EQ(s.GainLevel1, 128);
}

TEST(ZeroGainSteps, GainModesStepBothLevelsAndRebuildTheCurve) {
    DisplaySettings s;
    s.zeroGainMode = 1;
    s.GainLevel2 = 2;
    stepZeroGainDown(s, false);
    EXPECT_EQ(s.GainLevel1, 127);
    EXPECT_EQ(s.GainLevel2, 1);
    EXPECT_EQ(s.GainCurve[0], 127);
    EXPECT_EQ(s.GainCurve[511], 1);
    stepZeroGainDown(s, false);
    EXPECT_EQ(s.GainLevel1, 126);
    EXPECT_EQ(s.GainLevel2, 1);

    s.zeroGainMode = 2;
    s.GainLevel1 = 254;
    s.GainLevel2 = 255;
    stepZeroGainUp(s, false);
    EXPECT_EQ(s.GainLevel1, 255);
    EXPECT_EQ(s.GainLevel2, 255);
    EXPECT_EQ(s.GainCurve[0], 255);
    EXPECT_EQ(s.ZeroLevel, 128);
}

TEST(ZeroGainSteps, LeftCtrlStepsTheRangeByTwo) {
    DisplaySettings s;
    s.zeroGainMode = 1;
    stepZeroGainUp(s, true);
    EXPECT_EQ(s.GainRange, 3);
    EXPECT_DOUBLE_EQ(s.GainFactors[0], 0.25);
    EXPECT_EQ(s.GainLevel1, 128);
    s.GainRange = 31;
    stepZeroGainUp(s, true);
    EXPECT_EQ(s.GainRange, 33);
    EXPECT_DOUBLE_EQ(s.GainFactors[192], 1.0 + 33.0);
    // At the top the levels step instead.
    stepZeroGainUp(s, true);
    EXPECT_EQ(s.GainRange, 33);
    EXPECT_EQ(s.GainLevel1, 129);
    EXPECT_EQ(s.GainCurve[100], 129);

    s.GainRange = 3;
    stepZeroGainDown(s, true);
    EXPECT_EQ(s.GainRange, 1);
    EXPECT_DOUBLE_EQ(s.GainFactors[0], 0.5);
    EXPECT_EQ(s.GainLevel1, 129);
    // At range 1 the levels step instead.
    stepZeroGainDown(s, true);
    EXPECT_EQ(s.GainRange, 1);
    EXPECT_EQ(s.GainLevel1, 128);
}

TEST(ZeroGainReset, LeftCtrlResetsOnlyTheRange) {
    DisplaySettings s;
    s.ZeroLevel = 100;
    s.GainRange = 5;
    BuildGainFactors(s);
    resetZeroGain(s, true);
    EXPECT_EQ(s.GainRange, 1);
    EXPECT_DOUBLE_EQ(s.GainFactors[255], 2.984375);
    EXPECT_EQ(s.ZeroLevel, 100);
}

TEST(ZeroGainReset, ZeroLevelModeResetsTheZeroLevel) {
    DisplaySettings s = gains(10, 20, 30, 40);
    s.ZeroLevel = 100;
    resetZeroGain(s, false);
    EXPECT_EQ(s.ZeroLevel, 128);
    EXPECT_EQ(s.GainLevel1, 10);
}

TEST(ZeroGainReset, GainModesResetLevelsPositionsAndCurve) {
    DisplaySettings s = gains(10, 20, 30, 40);
    s.zeroGainMode = 2;
    s.GainRange = 7;
    resetZeroGain(s, false);
    EXPECT_EQ(s.GainLevel1, 128);
    EXPECT_EQ(s.GainLevel2, 128);
    EXPECT_EQ(s.GainPos1, 0);
    EXPECT_EQ(s.GainPos2, 511);
    for (uint8_t level : s.GainCurve) EXPECT_EQ(level, 128);
    EXPECT_EQ(s.GainRange, 7);
}

TEST(ChosenCodeSteps, StayWithin1And255) {
    DisplaySettings s;
    stepChosenCodeUp(s);
    EXPECT_EQ(s.chosenCode, 129);
    s.chosenCode = 255;
    stepChosenCodeUp(s);
    EXPECT_EQ(s.chosenCode, 255);
    s.chosenCode = 1;
    stepChosenCodeDown(s);
    EXPECT_EQ(s.chosenCode, 1);
}

// The captions read the levels on the A-scan's axis, where 128 is zero amplitude.
TEST(ZeroGainModeCaptions, ZeroLevelModeShowsTheZeroLevel) {
    DisplaySettings s;
    ZeroGainCaptions c = zeroGainModeCaptions(s);
    EXPECT_EQ(c.down, "<< ");
    EXPECT_EQ(c.reset, "0"); // 128 - 128
    EXPECT_EQ(c.up, " >>");
    s.ZeroLevel = 20;
    EXPECT_EQ(zeroGainModeCaptions(s).reset, "-108");
}

TEST(ZeroGainModeCaptions, GainModesShowTheSmallerLevelLeftAndTheRangeBetween) {
    struct Row {
        int mode, level1, level2, range;
        const char *down, *reset, *up;
    };
    const Row rows[] = {
        {gainMode::Gain1, 200, 30, 7, "<< -98", "6", "72 >>"}, // 30 - 128, 7 - 1, 200 - 128
        {gainMode::Gain2, 30, 200, 1, "<< -98", "0", "72 >>"}, // order does not matter
        {gainMode::Gain1, 140, 140, 33, "<< 12", "32", "12 >>"},
    };
    for (const Row& r : rows) {
        DisplaySettings s;
        s.zeroGainMode = r.mode;
        s.GainLevel1 = r.level1;
        s.GainLevel2 = r.level2;
        s.GainRange = uint8_t(r.range);
        const ZeroGainCaptions c = zeroGainModeCaptions(s);
        EXPECT_EQ(c.down, r.down) << r.level1 << " " << r.level2;
        EXPECT_EQ(c.reset, r.reset);
        EXPECT_EQ(c.up, r.up);
    }
}

// --- survey header ---------------------------------------------------------------------

TEST(DisplaySettingsHeader, StoreWritesTheCells) {
    DisplaySettings s;
    s.zeroGainMode = 2;
    s.ZeroLevel = 90;
    s.GainLevel1 = 40;
    s.GainLevel2 = 210;
    s.GainPos1 = 100;
    s.GainPos2 = 400;
    s.GainRange = 7;
    s.inversion = true;
    s.amplitudeForm = 0;
    s.levelTableIndex = 3;
    s.colourMode = 6;
    s.background = true;
    s.chosenAmplitude = true;
    SurveyHeader h;
    h.set8(hdr::AmplitudeFlags, hdr::ProcessAll);
    storeDisplaySettings(s, h);
    EXPECT_EQ(h.get8(hdr::ColourMode), 6);
    EXPECT_EQ(h.get8(hdr::AmplitudeFlags), 0x10 | 0x20 | 0x40 | 0x80);
    EXPECT_EQ(h.get8(hdr::AmplitudeForm), 0);
    EXPECT_EQ(h.get8(hdr::ZeroGainMode), 2);
    EXPECT_EQ(h.get8(hdr::ZeroLevel), 90);
    EXPECT_EQ(h.get8(hdr::GainLevel1), 40);
    EXPECT_EQ(h.get8(hdr::GainLevel2), 210);
    EXPECT_EQ(h.get8(40), 0);
    EXPECT_EQ(h.get8(41), 100);
    EXPECT_EQ(h.get8(42), 1);
    EXPECT_EQ(h.get8(43), 144);
    EXPECT_EQ(h.get8(hdr::GainRange), 7);
    EXPECT_EQ(h.get8(hdr::LevelTable), 3);

    s.inversion = false;
    s.chosenAmplitude = false;
    s.background = false;
    storeDisplaySettings(s, h);
    EXPECT_EQ(h.get8(hdr::AmplitudeFlags), 0x40);
}

TEST(DisplaySettingsHeader, LoadGivesBackWhatWasStoredAndRebuildsTheTables) {
    DisplaySettings s;
    s.zeroGainMode = 2;
    s.ZeroLevel = 90;
    s.GainLevel1 = 40;
    s.GainLevel2 = 210;
    s.GainPos1 = 100;
    s.GainPos2 = 400;
    s.GainRange = 7;
    s.inversion = true;
    s.amplitudeForm = 0;
    s.levelTableIndex = 3;
    s.colourMode = 6;
    s.background = true;
    s.chosenAmplitude = true;
    SurveyHeader h;
    storeDisplaySettings(s, h);

    DisplaySettings r;
    loadDisplaySettings(h, r);
    EXPECT_EQ(r.zeroGainMode, 2);
    EXPECT_EQ(r.ZeroLevel, 90);
    EXPECT_EQ(r.GainLevel1, 40);
    EXPECT_EQ(r.GainLevel2, 210);
    EXPECT_EQ(r.GainPos1, 100);
    EXPECT_EQ(r.GainPos2, 400);
    EXPECT_EQ(r.GainRange, 7);
    EXPECT_TRUE(r.inversion);
    EXPECT_EQ(r.amplitudeForm, 0);
    EXPECT_EQ(r.colourMode, 6);
    EXPECT_TRUE(r.background);
    EXPECT_FALSE(r.chosenAmplitude); // never restored checked
    // Rebuilt: level table 3, factors of range 7, the curve of the stored ramp.
    EXPECT_EQ(r.levelTableIndex, 3);
    EXPECT_EQ(r.LevelTableCentre, 2508);
    EXPECT_EQ(r.LevelTable[255], 5016u);
    EXPECT_DOUBLE_EQ(r.GainFactors[0], 0.5 / 6.0);
    EXPECT_DOUBLE_EQ(r.GainFactors[255], 14.890625);
    EXPECT_EQ(r.GainCurve[100], 40);
    EXPECT_EQ(r.GainCurve[101], 41); // 40 + 170 / 300 rounds to 41
    EXPECT_EQ(r.GainCurve[400], 210);
    EXPECT_EQ(r.GainCurve[0], 40);

    SurveyHeader again;
    storeDisplaySettings(r, again);
    for (int c : {23, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 47})
        EXPECT_EQ(again.get8(c), h.get8(c)) << "cell " << c;
    EXPECT_EQ(again.get8(34), 0x10 | 0x80);
}

TEST(DisplaySettingsHeader, StartValuesOfTheHeader) {
    SurveyHeader h;
    h.setStartValues();
    DisplaySettings s;
    s.ZeroLevel = 7;
    loadDisplaySettings(h, s);
    EXPECT_EQ(s.ZeroLevel, 128);
    EXPECT_EQ(s.GainLevel1, 128);
    EXPECT_EQ(s.GainPos2, 511);
    EXPECT_EQ(s.GainRange, 1);
    EXPECT_EQ(s.amplitudeForm, 1);
    EXPECT_EQ(s.zeroGainMode, 0);
    EXPECT_EQ(s.levelTableIndex, 2);
    EXPECT_EQ(s.LevelTableCentre, 88990);
    EXPECT_EQ(s.colourMode, 0);
    EXPECT_FALSE(s.inversion);
}

struct ValidityCase {
    int cell;
    int value;
    int DisplaySettings::*field;
    int expected;
};

std::ostream& operator<<(std::ostream& os, const ValidityCase& c) {
    return os << "cell " << c.cell << " value " << c.value;
}

class HeaderValidity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(HeaderValidity, OutOfRangeValuesTakeTheReadersReplacement) {
    const ValidityCase& c = GetParam();
    SurveyHeader h;
    h.setStartValues();
    h.set8(c.cell, uint8_t(c.value));
    DisplaySettings s;
    loadDisplaySettings(h, s);
    EXPECT_EQ(s.*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, HeaderValidity,
    ::testing::Values(ValidityCase{hdr::AmplitudeForm, 3, &DisplaySettings::amplitudeForm, 1},
                      ValidityCase{hdr::AmplitudeForm, 2, &DisplaySettings::amplitudeForm, 2},
                      ValidityCase{hdr::ZeroGainMode, 3, &DisplaySettings::zeroGainMode, 0},
                      ValidityCase{hdr::ZeroGainMode, 2, &DisplaySettings::zeroGainMode, 2},
                      ValidityCase{hdr::LevelTable, 5, &DisplaySettings::levelTableIndex, 0},
                      ValidityCase{hdr::LevelTable, 4, &DisplaySettings::levelTableIndex, 4},
                      ValidityCase{hdr::ColourMode, 8, &DisplaySettings::colourMode, 0},
                      ValidityCase{hdr::ColourMode, 7, &DisplaySettings::colourMode, 7},
                      ValidityCase{hdr::GainLevel1, 0, &DisplaySettings::GainLevel1, 64},
                      ValidityCase{hdr::GainLevel2, 0, &DisplaySettings::GainLevel2, 64},
                      ValidityCase{hdr::GainLevel2, 1, &DisplaySettings::GainLevel2, 1}));

TEST(HeaderValidity, GainPositionsOutsideTheFrameTakeTheirDefaults) {
    SurveyHeader h;
    h.setStartValues();
    DisplaySettings s;
    struct Case {
        uint32_t p1, p2;
        int expected1, expected2;
    };
    for (const Case& c : {Case{512, 0, 0, 511}, Case{511, 1023, 511, 511}, Case{255, 1, 255, 1},
                          Case{0, 512, 0, 511}}) {
        h.set16(hdr::GainPos1, c.p1);
        h.set16(hdr::GainPos2, c.p2);
        loadDisplaySettings(h, s);
        EXPECT_EQ(s.GainPos1, c.expected1) << c.p1;
        EXPECT_EQ(s.GainPos2, c.expected2) << c.p2;
    }
}

TEST(HeaderValidity, GainRangeZeroOrAbove33BecomesOne) {
    SurveyHeader h;
    h.setStartValues();
    DisplaySettings s;
    for (auto [stored, expected] :
         std::vector<std::pair<int, int>>{{0, 1}, {34, 1}, {33, 33}, {5, 5}}) {
        h.set8(hdr::GainRange, uint8_t(stored));
        loadDisplaySettings(h, s);
        EXPECT_EQ(s.GainRange, expected) << "stored " << stored;
    }
}

TEST(HeaderValidity, ChosenAmplitudeBitIsNotRestored) {
    SurveyHeader h;
    h.setStartValues();
    h.set8(hdr::AmplitudeFlags, hdr::Highlight | hdr::Inversion);
    DisplaySettings s;
    s.chosenAmplitude = true;
    loadDisplaySettings(h, s);
    EXPECT_FALSE(s.chosenAmplitude);
    EXPECT_TRUE(s.inversion);
    EXPECT_FALSE(s.background);
}

} // namespace
} // namespace tesk
