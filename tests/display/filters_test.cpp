// The filter pass: hand-computed cases for each kind, the edge cases of the
// filter chain, and every kind checked cell by cell against a slow, literal
// transcription of the filter rules in exact rational arithmetic.

#include "display/filters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace tesk {
namespace {

using Levels = std::array<uint32_t, 256>;

constexpr int ROWS = 552; // filtered rows
constexpr int COLS = 512; // filtered columns

Levels linearTable() {
    Levels t{};
    for (int n = 0; n < 256; ++n) t[n] = uint32_t(n);
    return t;
}

// Linear for |code - 128| <= 63 around a centre of 100000, then one decibel
// per code (symmetric), entry 0 at 0.
Levels decibelTable() {
    Levels t{};
    const uint32_t centre = 100000;
    for (int k = 0; k <= 127; ++k) {
        const uint32_t u = k <= 63 ? uint32_t(k) : uint32_t(63.0 * std::pow(10.0, (k - 63) / 20.0));
        t[128 + k] = centre + u;
        t[128 - k] = centre - u;
    }
    t[0] = 0;
    return t;
}

// Levels up to 4.2e9: too large for a direct inverse table.
Levels wideTable() {
    Levels t{};
    for (int n = 0; n < 256; ++n) t[n] = uint32_t(n) * uint32_t(n) * 65000u;
    return t;
}

// Levels that rise and fall with the code: the inverse is still the largest
// code whose level does not exceed the mean.
Levels unevenTable() {
    Levels t{};
    for (int n = 1; n < 256; ++n) t[n] = uint32_t((n * 37) % 256) * 100 + uint32_t(n);
    return t;
}

// --- a plain copy of the filtered region ----------------------------------

struct Plane {
    std::vector<uint8_t> c = std::vector<uint8_t>(std::size_t(ROWS) * COLS, 0);
    uint8_t& at(int i, int j) { return c[std::size_t(i) * COLS + j]; }
    uint8_t at(int i, int j) const { return c[std::size_t(i) * COLS + j]; }
};

Plane planeOf(const DisplayRaster& r, int plane) {
    Plane p;
    for (int i = 0; i < ROWS; ++i)
        for (int j = 0; j < COLS; ++j) p.at(i, j) = r.at(plane, i, j);
    return p;
}

void putPlane(DisplayRaster& r, int plane, const Plane& p) {
    for (int i = 0; i < ROWS; ++i)
        for (int j = 0; j < COLS; ++j) r.at(plane, i, j) = p.at(i, j);
}

// Random codes lo..hi with about one cell in 20 set to 0, one whole row
// (a blank frame) and part of a column at 0.
Plane randomPlane(unsigned seed, int lo = 1, int hi = 255) {
    std::mt19937 g(seed);
    std::uniform_int_distribution<int> code(lo, hi);
    std::uniform_int_distribution<int> hole(0, 19);
    Plane p;
    for (auto& v : p.c) v = hole(g) == 0 ? 0 : uint8_t(code(g));
    for (int j = 0; j < COLS; ++j) p.at(300, j) = 0;
    for (int i = 100; i < 140; ++i) p.at(i, 77) = 0;
    return p;
}

// --- the literal rules -----------------------------------------------------

using Big = unsigned __int128;

// An exact non-negative fraction.
struct Frac {
    Big num = 0, den = 1;
};
Frac operator+(Frac a, Frac b) {
    if (a.den == b.den) return {a.num + b.num, a.den};
    return {a.num * b.den + b.num * a.den, a.den * b.den};
}
Frac operator*(Frac a, Frac b) {
    return {a.num * b.num, a.den * b.den};
}
Frac operator/(Frac a, Big d) {
    return {a.num, a.den * d};
}
bool operator<=(Frac a, Frac b) {
    return a.num * b.den <= b.num * a.den;
}
Frac whole(uint64_t v) {
    return {Big(v), 1};
}

// Round, ties to even.
Big roundHalfEven(Frac v) {
    const Big q = v.num / v.den, r = v.num % v.den;
    if (2 * r > v.den || (2 * r == v.den && (q & 1))) return q + 1;
    return q;
}

// The largest code n with T[n] <= v, searching down from 255.
uint8_t inverseDown(const Levels& T, Frac v) {
    for (int n = 255; n >= 0; --n)
        if (whole(T[n]) <= v) return uint8_t(n);
    return 0;
}

// The LF 1 mean of one cell, literally.
uint8_t referenceLowPass1(const Plane& a, int i, int j, int L, int Tp, int X, const Levels& T) {
    const int c = a.at(i, j);
    if (c == 0) return 0;
    auto axis = [&](int P, std::vector<std::array<int, 2>> dirs, int divisor) {
        Frac sum = whole(T[c]);
        for (auto [di, dj] : dirs) {
            int current = c;
            for (int m = 1; m <= P; ++m) {
                const int ni = i + m * di, nj = j + m * dj;
                if (ni >= 0 && ni < ROWS && nj >= 0 && nj < COLS && a.at(ni, nj) != 0)
                    current = a.at(ni, nj);
                const Frac w{Big(P - m + 1), Big(P + 1)};
                sum = sum + w * whole(T[current]);
            }
        }
        return sum / Big(divisor);
    };
    std::vector<std::pair<int, Frac>> means;
    if (L > 0) means.push_back({L, axis(L, {{-1, 0}, {1, 0}}, L + 1)});
    if (Tp > 0) means.push_back({Tp, axis(Tp, {{0, -1}, {0, 1}}, Tp + 1)});
    if (X > 0) means.push_back({X, axis(X, {{-1, -1}, {1, 1}, {1, -1}, {-1, 1}}, 2 * X + 1)});
    Frac v;
    if (means.size() == 1) {
        v = means[0].second;
    } else {
        Frac weighted{0, 1};
        int weights = 0;
        for (auto& [p, mean] : means) {
            weighted = weighted + whole(uint64_t(p)) * mean;
            weights += p;
        }
        v = whole(uint64_t(roundHalfEven(weighted / Big(weights))));
    }
    return inverseDown(T, v);
}

Plane referenceFilter1(const Plane& a, int kind, int L, int Tp, int X, const Levels& T) {
    Plane out;
    for (int i = 0; i < ROWS; ++i)
        for (int j = 0; j < COLS; ++j) {
            const uint8_t lp = referenceLowPass1(a, i, j, L, Tp, X, T);
            const int c = a.at(i, j);
            out.at(i, j) = kind == 0 ? lp : c == 0 ? 0 : uint8_t((c - lp + 128 + 256) % 256);
        }
    return out;
}

// LF 2 passes, literally: columns 1..510 outer, rows 1..550 inner, in place.
void referenceLowPass2(Plane& a, int L, int Tp, int X, const Levels& T) {
    const int K = (L > 0 ? 2 : 0) + (Tp > 0 ? 2 : 0) + (X > 0 ? 4 : 0);
    const int N = std::max({L, Tp, X});
    for (int n = 1; n <= N; ++n)
        for (int j = 1; j <= 510; ++j)
            for (int i = 1; i <= 550; ++i) {
                const int c = a.at(i, j);
                if (c == 0) continue;
                const uint64_t m = T[c];
                auto contribution = [&](int ni, int nj) -> uint64_t {
                    const int code = a.at(ni, nj);
                    return code == 0 ? m : T[code];
                };
                uint64_t sum = 0;
                if (L > 0) sum += L >= n ? contribution(i - 1, j) + contribution(i + 1, j) : 2 * m;
                if (Tp > 0)
                    sum += Tp >= n ? contribution(i, j - 1) + contribution(i, j + 1) : 2 * m;
                if (X > 0)
                    sum += X >= n ? contribution(i - 1, j - 1) + contribution(i + 1, j + 1) +
                                        contribution(i + 1, j - 1) + contribution(i - 1, j + 1)
                                  : 4 * m;
                const uint64_t s = sum / uint64_t(K) + m;
                a.at(i, j) = inverseDown(T, whole(s / 2));
            }
}

Plane referenceFilter2(const Plane& a, int kind, int L, int Tp, int X, const Levels& T) {
    Plane out = a;
    referenceLowPass2(out, L, Tp, X, T);
    if (kind == 3)
        for (std::size_t k = 0; k < out.c.size(); ++k)
            out.c[k] = a.c[k] == 0 ? 0 : uint8_t((a.c[k] - out.c[k] + 128 + 256) % 256);
    return out;
}

Plane referenceFilter(const Plane& a, const FilterRow& f, const Levels& T) {
    return f.kind <= 1 ? referenceFilter1(a, f.kind, f.L, f.T, f.X, T)
                       : referenceFilter2(a, f.kind, f.L, f.T, f.X, T);
}

int differingCells(const Plane& a, const Plane& b) {
    int n = 0;
    for (std::size_t k = 0; k < a.c.size(); ++k) n += a.c[k] != b.c[k];
    return n;
}

Plane filtered(const Plane& in, const FilterRow& f, const Levels& T, int plane = 0) {
    auto r = std::make_unique<DisplayRaster>();
    putPlane(*r, plane, in);
    r->activePlane = plane;
    FLTR(*r, f, T);
    return planeOf(*r, plane);
}

// --- filterActive and the chain -------------------------------------------

TEST(FilterActive, AnyParameterAboveZeroMakesTheRowRun) {
    EXPECT_FALSE(filterActive(FilterRow{0, 0, 0, 0}));
    EXPECT_FALSE(filterActive(FilterRow{3, 0, 0, 0}));
    EXPECT_TRUE(filterActive(FilterRow{0, 1, 0, 0}));
    EXPECT_TRUE(filterActive(FilterRow{1, 0, 19, 0}));
    EXPECT_TRUE(filterActive(FilterRow{2, 0, 0, 3}));
}

TEST(FilterChain, BothRowsAtZeroLeaveTheWholeRasterUnchanged) {
    auto r = std::make_unique<DisplayRaster>();
    std::mt19937 g(5);
    for (int p = 0; p < DisplayRaster::PLANES; ++p)
        for (int i = 0; i < DisplayRaster::ROWS; ++i)
            for (int j = 0; j < DisplayRaster::COLUMNS; ++j) r->at(p, i, j) = uint8_t(g());
    auto before = std::make_unique<DisplayRaster>();
    for (int p = 0; p < DisplayRaster::PLANES; ++p)
        std::memcpy(before->row(p, 0), r->row(p, 0),
                    std::size_t(DisplayRaster::ROWS) * DisplayRaster::COLUMNS);
    r->activePlane = 4;
    filterRadargram(*r, FilterRow{1, 0, 0, 0}, FilterRow{3, 0, 0, 0}, linearTable());
    EXPECT_EQ(r->activePlane, 0);
    EXPECT_EQ(r->filterNumber, 0);
    for (int p = 0; p < DisplayRaster::PLANES; ++p)
        EXPECT_EQ(std::memcmp(before->row(p, 0), r->row(p, 0),
                              std::size_t(DisplayRaster::ROWS) * DisplayRaster::COLUMNS),
                  0)
            << "plane " << p;
    // FLTR itself leaves an inactive row alone too.
    r->activePlane = 0;
    FLTR(*r, FilterRow{1, 0, 0, 0}, linearTable());
    EXPECT_EQ(std::memcmp(before->row(0, 0), r->row(0, 0),
                          std::size_t(DisplayRaster::ROWS) * DisplayRaster::COLUMNS),
              0);
}

TEST(FilterChain, RunsTheFirstRowThenTheSecondOnPlaneZero) {
    const Levels T = decibelTable();
    const Plane in = randomPlane(11, 90, 170);
    const FilterRow first{0, 2, 1, 0}, second{1, 0, 3, 0};
    const Plane expected = filtered(filtered(in, first, T), second, T);

    auto r = std::make_unique<DisplayRaster>();
    putPlane(*r, 0, in);
    r->activePlane = 2;
    r->filterNumber = 1;
    filterRadargram(*r, first, second, T);
    EXPECT_EQ(differingCells(planeOf(*r, 0), expected), 0);
    EXPECT_EQ(r->activePlane, 0);
    EXPECT_EQ(r->filterNumber, 0);
}

TEST(FilterChain, OnlyTheFilteredRegionOfTheActivePlaneChanges) {
    auto r = std::make_unique<DisplayRaster>();
    std::mt19937 g(8);
    for (int p = 0; p < DisplayRaster::PLANES; ++p)
        for (int i = 0; i < DisplayRaster::ROWS; ++i)
            for (int j = 0; j < DisplayRaster::COLUMNS; ++j) r->at(p, i, j) = uint8_t(g() | 1);
    auto copy = [&](int p) {
        return std::vector<uint8_t>(r->row(p, 0),
                                    r->row(p, 0) + DisplayRaster::ROWS * DisplayRaster::COLUMNS);
    };
    for (int kind = 0; kind < 4; ++kind) {
        const auto before3 = copy(3), before0 = copy(0), before1 = copy(1);
        r->activePlane = 3;
        FLTR(*r, FilterRow{kind, 2, 2, 2}, decibelTable());
        EXPECT_EQ(copy(0), before0) << "kind " << kind;
        const auto after3 = copy(3), after1 = copy(1);
        for (int i = 0; i < DisplayRaster::ROWS; ++i)
            for (int j = 0; j < DisplayRaster::COLUMNS; ++j) {
                const std::size_t k = std::size_t(i) * DisplayRaster::COLUMNS + j;
                if (i >= ROWS || j >= COLS) {
                    ASSERT_EQ(after3[k], before3[k]) << "kind " << kind << " at " << i << "," << j;
                    ASSERT_EQ(after1[k], before1[k]) << "kind " << kind << " at " << i << "," << j;
                }
            }
    }
}

// --- LF 1 by hand ------------------------------------------------------------

TEST(LowPass1, EqualCodesAlongTheFramesStayWhatTheyAre) {
    for (const Levels& T : {linearTable(), decibelTable()}) {
        for (int code : {1, 60, 128, 200, 255}) {
            Plane in;
            for (auto& v : in.c) v = uint8_t(code);
            const Plane out = filtered(in, FilterRow{0, 1, 0, 0}, T);
            EXPECT_EQ(differingCells(out, in), 0) << "code " << code;
        }
    }
}

// A column of codes around (r, col) in an otherwise empty plane.
Plane columnPlane(int col, std::initializer_list<std::pair<int, int>> cells) {
    Plane p;
    for (auto [i, code] : cells) p.at(i, col) = uint8_t(code);
    return p;
}

TEST(LowPass1, NoDataNeighbourIsSkippedAndItsSideRepeatsThePreviousCode) {
    // L = 3 at row 10: below, 130 then no data then 160; above, 100 three times.
    // Below: 3/4*130 + 2/4*130 + 1/4*160 = 810/4; above: 6/4*100 = 600/4.
    // V = (100 + 810/4 + 600/4) / 4 = 1810/16 = 113.125 -> code 113.
    const Plane in =
        columnPlane(5, {{7, 100}, {8, 100}, {9, 100}, {10, 100}, {11, 130}, {12, 0}, {13, 160}});
    const Plane out = filtered(in, FilterRow{0, 3, 0, 0}, linearTable());
    EXPECT_EQ(out.at(10, 5), 113);
    EXPECT_EQ(out.at(12, 5), 0);
}

TEST(LowPass1, NoDataNextToTheCentreRepeatsTheCentre) {
    // L = 2 at row 10 (100): below no data then 140: 2/3*100 + 1/3*140 = 340/3;
    // above 120, 120: 120. V = (100 + 340/3 + 120) / 3 = 1000/9 -> 111.
    const Plane in = columnPlane(5, {{8, 120}, {9, 120}, {10, 100}, {11, 0}, {12, 140}});
    EXPECT_EQ(filtered(in, FilterRow{0, 2, 0, 0}, linearTable()).at(10, 5), 111);
}

TEST(LowPass1, OutsideTheFilteredRowsTheSideKeepsTheCentre) {
    // Row 0, L = 2: the upper side lies outside, 100 twice; below 2/3*120 +
    // 1/3*160 = 400/3. V = (100 + 100 + 400/3) / 3 = 1000/9 -> 111.
    const Plane in = columnPlane(9, {{0, 100}, {1, 120}, {2, 160}});
    EXPECT_EQ(filtered(in, FilterRow{0, 2, 0, 0}, linearTable()).at(0, 9), 111);
    // Row 551, same codes mirrored.
    const Plane mirrored = columnPlane(9, {{551, 100}, {550, 120}, {549, 160}});
    EXPECT_EQ(filtered(mirrored, FilterRow{0, 2, 0, 0}, linearTable()).at(551, 9), 111);
}

TEST(LowPass1, TimeAxisWorksAlongTheFrame) {
    // T = 1 at column 511 (100): the right side lies outside and keeps 100,
    // the left neighbour is 121. V = (100 + 121/2 + 100/2) / 2 = 105.25 -> 105.
    Plane in;
    in.at(40, 510) = 121;
    in.at(40, 511) = 100;
    EXPECT_EQ(filtered(in, FilterRow{0, 0, 1, 0}, linearTable()).at(40, 511), 105);
}

TEST(LowPass1, DiagonalsAloneDivideByTwoPPlusOne) {
    // X = 1: (100 + (110 + 120 + 130 + 140) / 2) / 3 = 350/3 = 116.67 -> 116.
    Plane in;
    in.at(50, 50) = 100;
    in.at(49, 49) = 110;
    in.at(51, 51) = 120;
    in.at(51, 49) = 130;
    in.at(49, 51) = 140;
    EXPECT_EQ(filtered(in, FilterRow{0, 0, 0, 1}, linearTable()).at(50, 50), 116);
}

TEST(LowPass1, OneAxisMeanIsComparedUnroundedSeveralAxesRoundHalfToEven) {
    // Centre 101 with 101 and 103 on both axes: each axis mean is
    // (101 + 101/2 + 103/2) / 2 = 101.5.
    Plane in;
    in.at(20, 20) = 101;
    in.at(19, 20) = 101;
    in.at(21, 20) = 103;
    in.at(20, 19) = 101;
    in.at(20, 21) = 103;
    // One axis: the largest code with level <= 101.5 is 101.
    EXPECT_EQ(filtered(in, FilterRow{0, 1, 0, 0}, linearTable()).at(20, 20), 101);
    // Two axes: Round((101.5 + 101.5) / 2) = 102 (tie, even).
    EXPECT_EQ(filtered(in, FilterRow{0, 1, 1, 0}, linearTable()).at(20, 20), 102);

    // Centre 100 with 100 and 102: both means 100.5, Round gives 100 (even).
    Plane down;
    down.at(20, 20) = 100;
    down.at(19, 20) = 100;
    down.at(21, 20) = 102;
    down.at(20, 19) = 100;
    down.at(20, 21) = 102;
    EXPECT_EQ(filtered(down, FilterRow{0, 1, 1, 0}, linearTable()).at(20, 20), 100);
}

TEST(LowPass1, SeveralAxesAreWeightedByTheirParameters) {
    // L = 2: above 90, 90; below 120, 120: V_L = (100 + 90 + 120) / 3 = 310/3.
    // T = 1: left 100, right 106: V_T = (100 + 50 + 53) / 2 = 101.5.
    // V = Round((2 * 310/3 + 101.5) / 3) = Round(102.72) = 103 (an unweighted
    // mean of the two, 102.42, would give 102).
    Plane in;
    in.at(30, 30) = 100;
    in.at(29, 30) = 90;
    in.at(28, 30) = 90;
    in.at(31, 30) = 120;
    in.at(32, 30) = 120;
    in.at(30, 29) = 100;
    in.at(30, 31) = 106;
    EXPECT_EQ(filtered(in, FilterRow{0, 2, 1, 0}, linearTable()).at(30, 30), 103);
}

TEST(LowPass1, MeansLandInPlaneOneAndOverTheActivePlane) {
    const Levels T = decibelTable();
    const Plane in = randomPlane(3, 60, 200);
    auto r = std::make_unique<DisplayRaster>();
    putPlane(*r, 5, in);
    r->activePlane = 5;
    FLTR(*r, FilterRow{0, 1, 2, 0}, T);
    EXPECT_EQ(differingCells(planeOf(*r, 5), planeOf(*r, 1)), 0);
    EXPECT_EQ(differingCells(planeOf(*r, 5), referenceFilter(in, FilterRow{0, 1, 2, 0}, T)), 0);
}

// --- HF 1 by hand ------------------------------------------------------------

TEST(HighPass1, ConstantAreaGivesZeroAmplitude) {
    for (const Levels& T : {linearTable(), decibelTable()}) {
        Plane in;
        for (auto& v : in.c) v = 150;
        in.at(200, 200) = 0;
        const Plane out = filtered(in, FilterRow{1, 3, 2, 1}, T);
        for (int i = 0; i < ROWS; ++i)
            for (int j = 0; j < COLS; ++j)
                ASSERT_EQ(out.at(i, j), (i == 200 && j == 200) ? 0 : 128) << i << "," << j;
    }
}

TEST(HighPass1, HighCodeAmongLowCodesWraps) {
    // A 255 among 1s, T = 19: N = 255*20 + 1*380 = 5480, D = 400: the mean
    // is 13.7 -> 13 and (255 - 13 + 128) mod 256 = 114.
    // Its right neighbour: left side 19*255 + 171*1, right side 190*1, so
    // N = 20 + 4845 + 171 + 190 = 5226 -> 13.065 -> 13; 1 - 13 + 128 = 116.
    Plane in;
    for (auto& v : in.c) v = 1;
    in.at(100, 100) = 255;
    const Plane out = filtered(in, FilterRow{1, 0, 19, 0}, linearTable());
    EXPECT_EQ(out.at(100, 100), 114);
    EXPECT_EQ(out.at(100, 101), 116);
    EXPECT_EQ(out.at(100, 99), 116);
}

TEST(HighPass1, LeavesTheMeansInPlaneOne) {
    const Levels T = linearTable();
    const Plane in = randomPlane(21);
    auto r = std::make_unique<DisplayRaster>();
    putPlane(*r, 0, in);
    FLTR(*r, FilterRow{1, 2, 0, 1}, T);
    EXPECT_EQ(differingCells(planeOf(*r, 1), referenceFilter(in, FilterRow{0, 2, 0, 1}, T)), 0);
}

// --- LF 2 and HF 2 by hand ---------------------------------------------------

TEST(LowPass2, FrameAxisDropsOutAfterItsPassesAndTimeRunsOn) {
    // Codes A (100,200) = 200, B (101,200) = 100, C (100,201) = 60 in an empty
    // plane, L = 2, T = 5, K = 4, linear table. No-data neighbours count as
    // the centre. Passes 1-2: A from 2A + B + C, B from A' + 3B, C from
    // A' + 3C; passes 3-5: A from 3A + C, B unchanged, C from A' + 3C.
    //   pass 1: A 560/4=140 +200=340 -> 170; B 470/4=117 +100 -> 108; C 350/4=87 +60 -> 73
    //   pass 2: A 521/4=130 +170 -> 150; B 474/4=118 +108 -> 113; C 369/4=92 +73 -> 82
    //   pass 3: A 532/4=133 +150 -> 141; C 387/4=96 +82 -> 89
    //   pass 4: A 512/4=128 +141 -> 134; C 401/4=100 +89 -> 94
    //   pass 5: A 496/4=124 +134 -> 129; C 411/4=102 +94 -> 98
    Plane in;
    in.at(100, 200) = 200;
    in.at(101, 200) = 100;
    in.at(100, 201) = 60;
    const Plane out = filtered(in, FilterRow{2, 2, 5, 0}, linearTable());
    EXPECT_EQ(out.at(100, 200), 129);
    EXPECT_EQ(out.at(101, 200), 113);
    EXPECT_EQ(out.at(100, 201), 98);
    EXPECT_EQ(out.at(99, 200), 0);
}

TEST(LowPass2, DivisionBySixTruncates) {
    // A (50,50) = 200 and B (51,51) = 101, L = 1, X = 1, K = 6, one pass.
    // A: 2*200 (L) + 3*200 + 101 (X) = 1101, /6 = 183, +200 = 383 -> 191.
    // B: 2*101 + 191 + 3*101 = 696, /6 = 116, +101 = 217 -> 108.
    Plane in;
    in.at(50, 50) = 200;
    in.at(51, 51) = 101;
    const Plane out = filtered(in, FilterRow{2, 1, 0, 1}, linearTable());
    EXPECT_EQ(out.at(50, 50), 191);
    EXPECT_EQ(out.at(51, 51), 108);
}

TEST(LowPass2, UpdatedCellsAreSeenByTheCellsAfterThem) {
    // A column 1..3 of 200, 100, 100 at column 7, T = 0, L = 1, K = 2.
    // Row 1: (0 -> 200) + 100 = 300, /2 = 150, +200 = 350 -> 175.
    // Row 2: 175 (updated) + 100 = 275, /2 = 137, +100 = 237 -> 118.
    // Row 3: 118 + (0 -> 100) = 218, /2 = 109, +100 = 209 -> 104.
    const Plane in = columnPlane(7, {{1, 200}, {2, 100}, {3, 100}});
    const Plane out = filtered(in, FilterRow{2, 1, 0, 0}, linearTable());
    EXPECT_EQ(out.at(1, 7), 175);
    EXPECT_EQ(out.at(2, 7), 118);
    EXPECT_EQ(out.at(3, 7), 104);
}

TEST(LowPass2, OuterRowsAndColumnsNeverChange) {
    const Plane in = randomPlane(13);
    const Plane out = filtered(in, FilterRow{2, 3, 3, 3}, decibelTable());
    for (int j = 0; j < COLS; ++j) {
        EXPECT_EQ(out.at(0, j), in.at(0, j));
        EXPECT_EQ(out.at(551, j), in.at(551, j));
    }
    for (int i = 0; i < ROWS; ++i) {
        EXPECT_EQ(out.at(i, 0), in.at(i, 0));
        EXPECT_EQ(out.at(i, 511), in.at(i, 511));
    }
}

TEST(HighPass2, OuterRowsAndColumnsBecomeZeroAmplitudeWhereTheyHoldData) {
    const Plane in = randomPlane(17);
    auto r = std::make_unique<DisplayRaster>();
    putPlane(*r, 0, in);
    FLTR(*r, FilterRow{3, 3, 2, 4}, decibelTable());
    const Plane out = planeOf(*r, 0);
    auto expectBorder = [&](int i, int j) {
        EXPECT_EQ(out.at(i, j), in.at(i, j) == 0 ? 0 : 128) << i << "," << j;
    };
    for (int j = 0; j < COLS; ++j) {
        expectBorder(0, j);
        expectBorder(551, j);
    }
    for (int i = 0; i < ROWS; ++i) {
        expectBorder(i, 0);
        expectBorder(i, 511);
    }
    // Plane 1 keeps the codes before filtering.
    EXPECT_EQ(differingCells(planeOf(*r, 1), in), 0);
}

TEST(HighPass2, IsTheCodeMinusTheSmoothedCodeAroundZeroAmplitude) {
    // The three cells of the LF 2 case: 200 - 129 + 128 = 199,
    // 100 - 113 + 128 = 115, 60 - 98 + 128 = 90; empty cells stay 0.
    Plane in;
    in.at(100, 200) = 200;
    in.at(101, 200) = 100;
    in.at(100, 201) = 60;
    const Plane out = filtered(in, FilterRow{3, 2, 5, 0}, linearTable());
    EXPECT_EQ(out.at(100, 200), 199);
    EXPECT_EQ(out.at(101, 200), 115);
    EXPECT_EQ(out.at(100, 201), 90);
    EXPECT_EQ(out.at(102, 200), 0);
}

// --- exactness against the literal rules ---------------------------------

struct Case {
    FilterRow row;
    unsigned seed;
};

void expectMatchesRules(const Levels& T, const std::vector<Case>& cases, const char* table) {
    for (const Case& c : cases) {
        const Plane in = randomPlane(c.seed);
        const Plane expected = referenceFilter(in, c.row, T);
        const Plane got = filtered(in, c.row, T);
        EXPECT_EQ(differingCells(got, expected), 0)
            << table << " kind " << c.row.kind << " L " << c.row.L << " T " << c.row.T << " X "
            << c.row.X;
    }
}

const std::vector<Case> kLowPass1Cases = {
    {{0, 1, 0, 0}, 1},  {{0, 0, 7, 0}, 2},   {{0, 0, 0, 4}, 3},    {{0, 5, 5, 0}, 4},
    {{0, 3, 0, 9}, 5},  {{0, 0, 2, 13}, 6},  {{0, 19, 19, 19}, 7}, {{1, 6, 11, 2}, 8},
    {{1, 0, 19, 0}, 9}, {{0, 19, 0, 0}, 10},
};

const std::vector<Case> kLowPass2Cases = {
    {{2, 1, 0, 0}, 21}, {{2, 0, 3, 0}, 22}, {{2, 0, 0, 2}, 23},
    {{2, 2, 5, 0}, 24}, {{2, 4, 0, 1}, 25}, {{2, 0, 2, 3}, 26},
    {{2, 3, 1, 2}, 27}, {{3, 2, 2, 2}, 28}, {{3, 0, 4, 0}, 29},
};

TEST(FilterExactness, LowPass1AndHighPass1MatchTheRulesOnTheLinearTable) {
    expectMatchesRules(linearTable(), kLowPass1Cases, "linear");
}

TEST(FilterExactness, LowPass1AndHighPass1MatchTheRulesOnADecibelTable) {
    expectMatchesRules(decibelTable(), kLowPass1Cases, "decibel");
}

TEST(FilterExactness, LowPass1AndHighPass1MatchTheRulesOnAWideTable) {
    expectMatchesRules(wideTable(), {{{0, 4, 0, 0}, 31}, {{0, 19, 19, 19}, 32}, {{1, 2, 3, 5}, 33}},
                       "wide");
}

TEST(FilterExactness, LowPass2AndHighPass2MatchTheRulesOnTheLinearTable) {
    expectMatchesRules(linearTable(), kLowPass2Cases, "linear");
}

TEST(FilterExactness, LowPass2AndHighPass2MatchTheRulesOnADecibelTable) {
    expectMatchesRules(decibelTable(), kLowPass2Cases, "decibel");
}

TEST(FilterExactness, LowPass2AndHighPass2MatchTheRulesOnAWideTable) {
    expectMatchesRules(wideTable(), {{{2, 3, 0, 2}, 41}, {{3, 1, 2, 0}, 42}}, "wide");
}

TEST(FilterExactness, EveryKindMatchesTheRulesOnATableThatRisesAndFalls) {
    expectMatchesRules(
        unevenTable(),
        {{{0, 3, 0, 2}, 81}, {{1, 0, 5, 0}, 82}, {{2, 2, 3, 1}, 83}, {{3, 0, 0, 3}, 84}}, "uneven");
}

TEST(FilterExactness, NineteenPassesOnEveryAxisMatchTheRules) {
    expectMatchesRules(decibelTable(), {{{2, 19, 19, 19}, 51}}, "decibel");
    expectMatchesRules(linearTable(), {{{3, 19, 7, 12}, 52}}, "linear");
}

TEST(FilterExactness, PlaneOneAsTheActivePlaneFiltersLikeAnyOther) {
    const Levels T = decibelTable();
    for (int kind = 0; kind < 4; ++kind) {
        const FilterRow row{kind, 2, 1, 1};
        const Plane in = randomPlane(60 + unsigned(kind));
        EXPECT_EQ(differingCells(filtered(in, row, T, 1), referenceFilter(in, row, T)), 0)
            << "kind " << kind;
    }
}

TEST(FilterExactness, ParametersAboveNineteenCountAsNineteen) {
    const Levels T = linearTable();
    const Plane in = randomPlane(70);
    EXPECT_EQ(differingCells(filtered(in, FilterRow{0, 25, 0, 0}, T),
                             filtered(in, FilterRow{0, 19, 0, 0}, T)),
              0);
}

} // namespace
} // namespace tesk
