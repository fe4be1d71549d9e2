// Filling plane 0 of the display raster from the survey: the normal fill,
// the profile-start and next-profile searches, and profile addition with
// its methods, threshold and early stop.

#include "display/raster_fill.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace tesk {
namespace {

using Levels = std::array<uint32_t, 256>;

Levels linearTable() {
    Levels t{};
    for (int n = 0; n < 256; ++n) t[n] = uint32_t(n);
    return t;
}

// Level 1000 + (n - 128) for codes 96..160, then 8 levels per code:
// T[n] = 8n - 248 above code 160 and T[n] = 1224 - 8(128 - n) below 96;
// entry 0 is 0.
Levels steepTable() {
    Levels t{};
    for (int k = 0; k <= 127; ++k) {
        const uint32_t u = k <= 32 ? uint32_t(k) : uint32_t(32 + 8 * (k - 32));
        t[128 + k] = 1000 + u;
        t[128 - k] = 1000 - u;
    }
    t[0] = 0;
    return t;
}

// One survey shared by the tests (it is 80 MB); each test starts from blank
// slots in the ranges the tests use and frameCount 0.
ProfileStore& blankStore() {
    static const std::unique_ptr<ProfileStore> store = std::make_unique<ProfileStore>();
    for (int f = 0; f <= 2000; ++f) store->frame(f) = FrameRecord{};
    for (int f = 63900; f <= MAX_FRAME_INDEX; ++f) store->frame(f) = FrameRecord{};
    store->frameCount = 0;
    return *store;
}

// Frame f gets samples and fill rows of `code` and attribute bytes that
// name the frame, and the in-profile flag when code is not 0.
void putFrame(ProfileStore& s, int f, uint8_t code) {
    FrameRecord& r = s.frame(f);
    for (int c = 0; c < SAMPLE_ROWS; ++c) r.value[c] = code;
    r.value[cell::Status] = code ? status::InProfile : 0;
    r.set24(cell::ReliefHeight, uint32_t(f) * 3 + 1);
    r.value[cell::FixTime + 2] = uint8_t(f * 7 + 5);
}

void putProfile(ProfileStore& s, int first, int last, uint8_t code) {
    for (int f = first; f <= last; ++f) putFrame(s, f, code);
}

// Every sample row of a frame distinct, so that a row tells its frame.
void putNamedFrame(ProfileStore& s, int f) {
    FrameRecord& r = s.frame(f);
    for (int c = 0; c < CELLS_PER_FRAME; ++c) r.value[c] = uint8_t((f * 31 + c * 7) % 251 + 1);
}

std::unique_ptr<DisplayRaster> sentinelRaster(uint8_t value = 0xEE) {
    auto r = std::make_unique<DisplayRaster>();
    for (int p = 0; p < DisplayRaster::PLANES; ++p)
        std::memset(r->row(p, 0), value, std::size_t(DisplayRaster::ROWS) * DisplayRaster::COLUMNS);
    return r;
}

bool rowIsFrame(const DisplayRaster& r, int row, const ProfileStore& s, int frame) {
    return std::memcmp(r.row(0, row), s.frame(frame).value.data(), CELLS_PER_FRAME) == 0;
}

bool rowIsEmpty(const DisplayRaster& r, int row) {
    for (int c = 0; c < CELLS_PER_FRAME; ++c)
        if (r.at(0, row, c) != 0) return false;
    return true;
}

bool rowIsSentinel(const DisplayRaster& r, int plane, int row, uint8_t value = 0xEE) {
    for (int c = 0; c < CELLS_PER_FRAME; ++c)
        if (r.at(plane, row, c) != value) return false;
    return true;
}

// --- normal fill -------------------------------------------------------------

TEST(FillRaster, ViewStartZeroRepeatsFrameZeroInTheFirstTwentyRows) {
    ProfileStore& s = blankStore();
    for (int f = 0; f <= 600; ++f) putNamedFrame(s, f);
    auto r = sentinelRaster();
    fillRaster(*r, s, 0);
    for (int row = 0; row < 20; ++row) EXPECT_TRUE(rowIsFrame(*r, row, s, 0)) << row;
    for (int row = 20; row <= 552; ++row) EXPECT_TRUE(rowIsFrame(*r, row, s, row - 20)) << row;
    EXPECT_TRUE(rowIsSentinel(*r, 0, 553));
    EXPECT_TRUE(rowIsSentinel(*r, 0, 1001));
    for (int p = 1; p < DisplayRaster::PLANES; ++p) EXPECT_TRUE(rowIsSentinel(*r, p, 100)) << p;
}

TEST(FillRaster, RowsFollowTheViewAndCarryTheAttributeCells) {
    ProfileStore& s = blankStore();
    for (int f = 970; f <= 1540; ++f) putNamedFrame(s, f);
    s.frame(1000).value[cell::Status] = 0x93;
    s.frame(1000).set16(cell::ProfileNumber, 0x1234);
    s.frame(1000).value[623] = 0x5A;
    auto r = sentinelRaster();
    fillRaster(*r, s, 1000);
    for (int row = 0; row <= 552; ++row) EXPECT_TRUE(rowIsFrame(*r, row, s, 980 + row)) << row;
    EXPECT_EQ(r->at(0, 20, cell::Status), 0x93);
    EXPECT_EQ(r->at(0, 20, cell::ProfileNumber), 0x12);
    EXPECT_EQ(r->at(0, 20, cell::ProfileNumber + 1), 0x34);
    EXPECT_EQ(r->at(0, 20, 623), 0x5A);
}

TEST(FillRaster, NegativeFramesReadFrameZeroAndFramesPastTheLastSlotAreEmpty) {
    ProfileStore& s = blankStore();
    for (int f = 0; f <= 10; ++f) putNamedFrame(s, f);
    for (int f = 63960; f <= MAX_FRAME_INDEX; ++f) putNamedFrame(s, f);
    auto r = sentinelRaster();
    fillRaster(*r, s, 5);
    for (int row = 0; row <= 15; ++row) EXPECT_TRUE(rowIsFrame(*r, row, s, 0)) << row;
    EXPECT_TRUE(rowIsFrame(*r, 16, s, 1));

    fillRaster(*r, s, 63990);
    EXPECT_TRUE(rowIsFrame(*r, 0, s, 63970));
    EXPECT_TRUE(rowIsFrame(*r, 30, s, 64000));
    EXPECT_TRUE(rowIsEmpty(*r, 31));
    EXPECT_TRUE(rowIsEmpty(*r, 552));
}

// --- profile searches ---------------------------------------------------------

// Profiles 10..59, 100..249 and 260..299 with gaps between; frameCount 340.
ProfileStore& threeProfiles() {
    ProfileStore& s = blankStore();
    putProfile(s, 10, 59, 120);
    putProfile(s, 100, 249, 130);
    putProfile(s, 260, 299, 140);
    s.frameCount = 340;
    return s;
}

TEST(ProfileSearch, ProfileStartWalksBackOrOnToTheNextProfile) {
    ProfileStore& s = threeProfiles();
    EXPECT_EQ(profileStart(s, 10), 10);
    EXPECT_EQ(profileStart(s, 30), 10);
    EXPECT_EQ(profileStart(s, 59), 10);
    EXPECT_EQ(profileStart(s, 249), 100);
    // In a gap: the start of the next profile.
    EXPECT_EQ(profileStart(s, 0), 10);
    EXPECT_EQ(profileStart(s, 60), 100);
    EXPECT_EQ(profileStart(s, 255), 260);
    // No profile after: one past frameCount, or the frame itself beyond it.
    EXPECT_EQ(profileStart(s, 320), 341);
    EXPECT_EQ(profileStart(s, 500), 500);
    EXPECT_EQ(profileStart(s, -5), 10);
}

TEST(ProfileSearch, ProfileStartStopsAtFrameZero) {
    ProfileStore& s = blankStore();
    putProfile(s, 0, 5, 128);
    s.frameCount = 40;
    EXPECT_EQ(profileStart(s, 3), 0);
    EXPECT_EQ(profileStart(s, 0), 0);
}

TEST(ProfileSearch, NextProfileLeavesTheRunAndTakesTheNextInProfileFrame) {
    ProfileStore& s = threeProfiles();
    EXPECT_EQ(nextProfileStart(s, 10), 100);
    EXPECT_EQ(nextProfileStart(s, 30), 100);
    EXPECT_EQ(nextProfileStart(s, 100), 260);
    EXPECT_EQ(nextProfileStart(s, 60), 100);
    EXPECT_EQ(nextProfileStart(s, 260), 341);
    EXPECT_EQ(nextProfileStart(s, 341), 341);
}

// --- the combination of one cell -----------------------------------------------

using namespace addition_method;

uint8_t combined(int method, uint8_t a, std::array<uint8_t, 3> pairs, int count, int threshold,
                 const Levels& T) {
    return combineProfileCodes(method, count, a, pairs, threshold, T);
}

TEST(AdditionMethods, ThresholdAndMethodRowFollowTheBoxes) {
    EXPECT_EQ(additionThreshold(0), 32);
    EXPECT_EQ(additionThreshold(2), 24);
    EXPECT_EQ(additionThreshold(7), 4);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 0, 0}, 0), LinearAddition);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 1, 0}, 0), LinearMultiply);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 2, 0}, 0), LinearSubtract);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 0, 0}, 2), Addition);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 1, 0}, 1), Multiply);
    EXPECT_EQ(additionMethod(AdditionSettings{2, 2, 0}, 4), Subtract);
}

TEST(AdditionMethods, LinearAdditionAveragesCodes) {
    const Levels T = linearTable();
    EXPECT_EQ(combined(LinearAddition, 100, {51, 0, 0}, 2, 32, T), 75);   // 151 >> 1
    EXPECT_EQ(combined(LinearAddition, 100, {50, 52, 0}, 3, 32, T), 67);  // Round(67.33)
    EXPECT_EQ(combined(LinearAddition, 101, {51, 51, 0}, 3, 32, T), 68);  // Round(67.67)
    EXPECT_EQ(combined(LinearAddition, 100, {50, 60, 71}, 4, 32, T), 70); // 281 >> 2
}

TEST(AdditionMethods, LinearMultiplyShiftsAfterEachProduct) {
    const Levels T = linearTable();
    EXPECT_EQ(combined(LinearMultiply, 200, {128, 0, 0}, 2, 32, T), 100); // 25600 >> 8
    EXPECT_EQ(combined(LinearMultiply, 200, {128, 64, 0}, 3, 32, T), 25); // 1638400 >> 16
    // 3*200 = 600 >> 8 = 2; 2*200 >> 8 = 1; 1*200 >> 8 = 0 (one shift at the
    // end would give 24000000 >> 24 = 1).
    EXPECT_EQ(combined(LinearMultiply, 3, {200, 200, 200}, 4, 32, T), 0);
}

TEST(AdditionMethods, LinearSubtractKeepsCloseCodesAsTheGeometricMean) {
    const Levels T = linearTable();
    EXPECT_EQ(combined(LinearSubtract, 100, {131, 0, 0}, 2, 32, T), 114); // sqrt(13100) = 114.46
    EXPECT_EQ(combined(LinearSubtract, 100, {132, 0, 0}, 2, 32, T), 255); // difference 32
    EXPECT_EQ(combined(LinearSubtract, 100, {103, 0, 0}, 2, 4, T), 101);  // sqrt(10300) = 101.49
    EXPECT_EQ(combined(LinearSubtract, 100, {104, 0, 0}, 2, 4, T), 255);
    // sqrt(sqrt(110 * 125) * 100) = sqrt(11726.04) = 108.29
    EXPECT_EQ(combined(LinearSubtract, 100, {110, 125, 0}, 3, 32, T), 108);
    // 100 and 132 differ by 32 although both are within 16 of 116.
    EXPECT_EQ(combined(LinearSubtract, 116, {100, 132, 0}, 3, 32, T), 255);
    // m1 = Round(sqrt(13000)) = 114, m2 = Round(sqrt(131 * 114)) = 122,
    // Round(sqrt(120 * 122)) = Round(120.996) = 121.
    EXPECT_EQ(combined(LinearSubtract, 120, {100, 130, 131}, 4, 32, T), 121);
    EXPECT_EQ(combined(LinearSubtract, 120, {100, 130, 133}, 4, 32, T), 255); // 100 vs 133
}

TEST(AdditionMethods, AdditionAveragesLevelsAndMapsUpToACode) {
    // T[200] = 1352, T[150] = 1022, T[100] = 972, T[60] = 680; above code 160
    // T[n] = 8n - 248.
    const Levels T = steepTable();
    // (1352 + 1022) >> 1 = 1187: T[179] = 1184 < 1187 <= T[180] = 1192.
    EXPECT_EQ(combined(Addition, 200, {150, 0, 0}, 2, 32, T), 180);
    // Round(3346 / 3) = 1115: T[170] = 1112 < 1115 <= T[171] = 1120.
    EXPECT_EQ(combined(Addition, 200, {150, 100, 0}, 3, 32, T), 171);
    // 4026 >> 2 = 1006 = T[134].
    EXPECT_EQ(combined(Addition, 200, {150, 100, 60}, 4, 32, T), 134);
}

TEST(AdditionMethods, MultiplyWorksOnCodesWhateverTheTable) {
    const Levels T = steepTable();
    EXPECT_EQ(combined(Multiply, 100, {150, 0, 0}, 2, 32, T), 122); // sqrt(15000) = 122.47
    // sqrt(sqrt(100 * 103) * 100) = sqrt(10148.9) = 100.74 -> 101 (with the
    // inner root rounded first it would be sqrt(10100) = 100.50 -> 100).
    EXPECT_EQ(combined(Multiply, 100, {100, 103, 0}, 3, 32, T), 101);
}

TEST(AdditionMethods, SubtractUsesTheAdditionForCloseCodes) {
    const Levels T = steepTable();
    // |150 - 170| = 20 < 24: (1022 + 1112) >> 1 = 1067, T[164] = 1064 < 1067 <= T[165].
    EXPECT_EQ(combined(Subtract, 150, {170, 0, 0}, 2, 24, T), 165);
    EXPECT_EQ(combined(Subtract, 150, {174, 0, 0}, 2, 24, T), 255);
}

// --- profile addition fill -------------------------------------------------------

TEST(ProfileAddition, SingleShortProfileStopsWithinTheSameHundred) {
    // Profile 0..49, frameCount 80: s = 0, o = 10, no next profile so
    // p1 = 81 and p1 + o = 91, in the same hundred as s.
    ProfileStore& s = blankStore();
    putProfile(s, 0, 49, 150);
    s.frameCount = 80;
    auto r = sentinelRaster();
    EXPECT_FALSE(fillRasterWithAddition(*r, s, 10, AdditionSettings{2, 0, 0}, linearTable(), 0));
    for (int row = 0; row < DisplayRaster::ROWS; ++row)
        ASSERT_TRUE(rowIsSentinel(*r, 0, row)) << row;
}

TEST(ProfileAddition, OnlyTheFirstPairDecidesTheStop) {
    // Profiles 0..9, 20..29 and 200..299: s = 0 and p1 = 20 share the
    // hundred, so three profiles stop too although p2 = 200 does not.
    ProfileStore& s = blankStore();
    putProfile(s, 0, 9, 110);
    putProfile(s, 20, 29, 120);
    putProfile(s, 200, 299, 130);
    s.frameCount = 340;
    auto r = sentinelRaster();
    EXPECT_FALSE(fillRasterWithAddition(*r, s, 0, AdditionSettings{3, 0, 0}, linearTable(), 0));
    EXPECT_TRUE(rowIsSentinel(*r, 0, 20));
}

// Profiles A 0..99 (code 100), B 120..299 (60), C 320..519 (200),
// D 540..799 (30); frameCount 840.
ProfileStore& fourProfiles() {
    ProfileStore& s = blankStore();
    putProfile(s, 0, 99, 100);
    putProfile(s, 120, 299, 60);
    putProfile(s, 320, 519, 200);
    putProfile(s, 540, 799, 30);
    s.frameCount = 840;
    return s;
}

TEST(ProfileAddition, TwoProfilesAddTheFrameAtTheSameOffsetInTheNextProfile) {
    ProfileStore& s = fourProfiles();
    auto r = sentinelRaster();
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{2, 0, 0}, linearTable(), 0));
    // Row 20: frame 0 (100) with frame 120 (60): (100 + 60) >> 1 = 80 up to
    // column 526; column 527 and the attribute cells are frame 0's own.
    for (int c = 0; c < ADDITION_COLUMNS; ++c) ASSERT_EQ(r->at(0, 20, c), 80) << c;
    EXPECT_EQ(r->at(0, 20, 527), 100);
    EXPECT_EQ(std::memcmp(r->row(0, 20) + 528, s.frame(0).value.data() + 528, 96), 0);
    // Row 5: frame 0 (clamped) with frame 105, a blank one: (100 + 0) >> 1.
    EXPECT_EQ(r->at(0, 5, 0), 50);
    // Row 120: frame 100 is blank, so its own code 0 stays.
    EXPECT_EQ(r->at(0, 120, 0), 0);
    EXPECT_EQ(r->at(0, 120, 300), 0);
    // Row 552 (frame 532, blank) is filled; row 553 is not.
    EXPECT_EQ(r->at(0, 552, 0), 0);
    EXPECT_TRUE(rowIsSentinel(*r, 0, 553));
}

TEST(ProfileAddition, ThreeAndFourProfilesTakeTheFollowingProfilesInTurn) {
    ProfileStore& s = fourProfiles();
    auto r = sentinelRaster();
    // Multiply with the linear table: 100 * 60 * 200 >> 16 = 18.
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{3, 1, 0}, linearTable(), 0));
    EXPECT_EQ(r->at(0, 20, 0), 18);
    EXPECT_EQ(r->at(0, 20, 526), 18);
    // Subtract over four profiles, threshold 4: codes far apart give 255.
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{4, 2, 7}, linearTable(), 0));
    EXPECT_EQ(r->at(0, 20, 0), 255);
    // Addition over four profiles: (100 + 60 + 200 + 30) >> 2 = 97.
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{4, 0, 0}, linearTable(), 0));
    EXPECT_EQ(r->at(0, 20, 0), 97);
}

TEST(ProfileAddition, ANonLinearTableAddsLevels) {
    // T[100] = 972, T[60] = 680: 1652 >> 1 = 826; T[78] = 824 < 826 <= T[79] = 832.
    ProfileStore& s = fourProfiles();
    auto r = sentinelRaster();
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{2, 0, 0}, steepTable(), 2));
    EXPECT_EQ(r->at(0, 20, 0), 79);
}

TEST(ProfileAddition, ViewInAGapPairsWithTheProfilesAfterIt) {
    // viewStart 110 lies in the gap before B: s = 120, o = -10, p1 = 320.
    // Row 30 holds frame 120 (60) and its pair frame 320 (200): 130.
    ProfileStore& s = fourProfiles();
    auto r = sentinelRaster();
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 110, AdditionSettings{2, 0, 0}, linearTable(), 0));
    EXPECT_EQ(r->at(0, 20, 0), 0); // frame 110, blank
    EXPECT_EQ(r->at(0, 30, 0), 130);
    EXPECT_EQ(r->at(0, 29, 0), 0); // frame 119, blank
}

TEST(ProfileAddition, NegativePairFramesReadFrameZero) {
    // Data 0..4 (90), B 100..102 (50), C 105..200 (150); viewStart 10 in the
    // gap: s = 100, o = -90, p1 = 105, p1 + o = 15 (hundred 0 against 1).
    // Row 0: own frame 0, pair frame max(-5, 0) = 0: (90 + 90) >> 1 = 90.
    // Row 9: own frame 0, pair frame 4: 90. Row 10: pair frame 5, blank: 45.
    ProfileStore& s = blankStore();
    putProfile(s, 0, 4, 90);
    putProfile(s, 100, 102, 50);
    putProfile(s, 105, 200, 150);
    s.frameCount = 240;
    auto r = sentinelRaster();
    ASSERT_TRUE(fillRasterWithAddition(*r, s, 10, AdditionSettings{2, 0, 0}, linearTable(), 0));
    EXPECT_EQ(r->at(0, 0, 0), 90);
    EXPECT_EQ(r->at(0, 9, 0), 90);
    EXPECT_EQ(r->at(0, 10, 0), 45);
}

TEST(ProfileAddition, EveryCellIsTheCombinationOfItsCodes) {
    // Profile A 0..199 and B 300..499 hold every code: frame f, column c has
    // code (f + c) % 255 + 1 in A and (3f + 5c) % 255 + 1 in B. Each filled
    // cell must be the single-cell combination of its own and paired code.
    ProfileStore& s = blankStore();
    for (int f = 0; f <= 199; ++f) {
        putFrame(s, f, 1);
        putFrame(s, 300 + f, 1);
        for (int c = 0; c < SAMPLE_ROWS; ++c) {
            s.frame(f).value[c] = uint8_t((f + c) % 255 + 1);
            s.frame(300 + f).value[c] = uint8_t((3 * f + 5 * c) % 255 + 1);
        }
    }
    s.frameCount = 540;
    for (int table : {0, 2}) {
        const Levels T = table == 0 ? linearTable() : steepTable();
        for (int method = 0; method < 3; ++method) {
            auto r = sentinelRaster();
            const AdditionSettings a{2, method, 3};
            ASSERT_TRUE(fillRasterWithAddition(*r, s, 0, a, T, table));
            const int row = additionMethod(a, table);
            for (int f = 0; f <= 199; ++f)
                for (int c = 0; c < ADDITION_COLUMNS; ++c) {
                    const uint8_t own = s.frame(f).value[c];
                    const uint8_t pair = s.frame(300 + f).value[c];
                    ASSERT_EQ(r->at(0, 20 + f, c),
                              combineProfileCodes(row, 2, own, {pair, 0, 0}, 20, T))
                        << "table " << table << " method " << method << " frame " << f << " column "
                        << c;
                }
        }
    }
}

TEST(ProfileAddition, FewerThanTwoProfilesIsTheNormalFill) {
    ProfileStore& s = fourProfiles();
    auto r = sentinelRaster();
    EXPECT_TRUE(fillRasterWithAddition(*r, s, 0, AdditionSettings{1, 0, 0}, linearTable(), 0));
    for (int row = 0; row <= 552; ++row)
        ASSERT_TRUE(rowIsFrame(*r, row, s, std::max(row - 20, 0))) << row;
}

// --- relief display -----------------------------------------------------------------

TEST(ReliefFill, StretchOneCopiesTheSamplesAndRepeatsTheLastWrittenOne) {
    ProfileStore& s = blankStore();
    for (int f = 0; f <= 600; ++f) putNamedFrame(s, f);
    auto r = sentinelRaster();
    fillRasterRelief(*r, s, 100, 1.0);
    for (int row : {0, 20, 300, 552}) {
        const FrameRecord& f = s.frame(80 + row);
        // Sample k goes to columns k and k + 1 up to k = 526.
        for (int c = 0; c <= 526; ++c) ASSERT_EQ(r->at(0, row, c), f.value[c]) << row << " " << c;
        EXPECT_EQ(r->at(0, row, 527), f.value[526]);
        for (int c = 528; c < CELLS_PER_FRAME; ++c) ASSERT_EQ(r->at(0, row, c), f.value[c]);
    }
    EXPECT_TRUE(rowIsSentinel(*r, 0, 553));
}

TEST(ReliefFill, HalfStretchDoublesEverySample) {
    ProfileStore& s = blankStore();
    putNamedFrame(s, 0);
    auto r = sentinelRaster();
    fillRasterRelief(*r, s, 0, 0.5); // g = 2: sample k to columns 2k and 2k + 1
    const FrameRecord& f = s.frame(0);
    for (int k = 0; k <= 263; ++k) {
        ASSERT_EQ(r->at(0, 20, 2 * k), f.value[k]) << k;
        ASSERT_EQ(r->at(0, 20, 2 * k + 1), f.value[k]) << k;
    }
}

TEST(ReliefFill, DoubleStretchHalvesAndFadesPastTheRecordedRows) {
    ProfileStore& s = blankStore();
    putFrame(s, 0, 200);
    s.frame(0).value[1] = 10;
    s.frame(0).value[525] = 50;
    auto r = sentinelRaster();
    fillRasterRelief(*r, s, 0, 2.0);
    // g = 1/2: column c is written last by code k = 2c + 1. Codes past 526
    // fade from sample 526 (200) by one per code: code 526 + j is 200 - j.
    EXPECT_EQ(r->at(0, 20, 0), 10);   // code 1
    EXPECT_EQ(r->at(0, 20, 262), 50); // code 525
    EXPECT_EQ(r->at(0, 20, 263), 199);
    EXPECT_EQ(r->at(0, 20, 300), 125); // code 601
    EXPECT_EQ(r->at(0, 20, 460), 0);   // faded out, stays 0
    EXPECT_EQ(r->at(0, 20, 527), 0);
}

TEST(ReliefWindowMaximum, CoversTheFramesInViewAndOneMore) {
    ProfileStore& s = blankStore();
    s.frame(99).set24(cell::ReliefHeight, 9999); // before the view
    s.frame(100).set24(cell::ReliefHeight, 300);
    s.frame(612).set24(cell::ReliefHeight, 5000); // row 532
    EXPECT_EQ(reliefWindowMaximum(s, 100), 5000u);
    s.frame(613).set24(cell::ReliefHeight, 7000); // row 533: outside
    EXPECT_EQ(reliefWindowMaximum(s, 100), 5000u);
    EXPECT_EQ(reliefWindowMaximum(s, 99), 9999u);
}

TEST(ReliefShift, TracesHangFromTheReferenceHeight) {
    ProfileStore& s = blankStore();
    for (int f = 0; f <= 800; ++f) putNamedFrame(s, f);
    auto heights = [&](int frame, uint32_t h) { s.frame(frame).set24(cell::ReliefHeight, h); };
    // viewStart 0: row r holds frame r - 20 (frame 0 for rows 0..20).
    for (int f = 0; f <= 800; ++f) heights(f, 1000);
    heights(30, 400);  // 600 cm below: Round(600 * 100 / 1000) = 60 rows
    heights(31, 975);  // 2.5 rows: ties to even, 2
    heights(32, 965);  // 3.5 rows: 4
    heights(33, 1200); // above the reference: not lifted
    heights(34, 0);    // no height: 100 rows
    auto r = sentinelRaster();
    fillRaster(*r, s, 0);
    shiftRasterForRelief(*r, s, 0, 1000, 1000, 1.0, 1.0);
    for (int c = 0; c < CELLS_PER_FRAME; ++c) ASSERT_EQ(r->at(0, 0, c), 0) << c;
    const struct {
        int frame, rows;
    } cases[] = {{29, 0}, {30, 60}, {31, 2}, {32, 4}, {33, 0}, {34, 100}};
    for (const auto& k : cases) {
        const int row = k.frame + 20;
        const FrameRecord& f = s.frame(k.frame);
        for (int c = 0; c < k.rows; ++c) ASSERT_EQ(r->at(0, row, c), 0) << k.frame << " " << c;
        for (int c = k.rows; c < SAMPLE_ROWS; ++c)
            ASSERT_EQ(r->at(0, row, c), f.value[c - k.rows]) << k.frame << " " << c;
        for (int c = SAMPLE_ROWS; c < CELLS_PER_FRAME; ++c) ASSERT_EQ(r->at(0, row, c), f.value[c]);
    }
    // The time per row and the stretch enter the scale: 600 cm at 2 ns per
    // row is Round(600 * 100 / 2000) = 30 rows; with stretch 1.5 as well,
    // Round(60000 / 3000) = 20.
    fillRaster(*r, s, 0);
    shiftRasterForRelief(*r, s, 0, 1000, 1000, 2.0, 1.0);
    EXPECT_EQ(r->at(0, 50, 29), 0);
    EXPECT_EQ(r->at(0, 50, 30), s.frame(30).value[0]);
    fillRaster(*r, s, 0);
    shiftRasterForRelief(*r, s, 0, 1000, 1000, 2.0, 1.5);
    EXPECT_EQ(r->at(0, 50, 19), 0);
    EXPECT_EQ(r->at(0, 50, 20), s.frame(30).value[0]);
}

} // namespace
} // namespace tesk
