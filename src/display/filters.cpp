#include "display/filters.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>
#include <type_traits>
#include <vector>

namespace tesk {
namespace {

constexpr int kRows = DisplayRaster::FILTER_ROWS;          // rows 0..551 are filtered
constexpr int kCols = DisplayRaster::DISPLAY_COLUMNS;      // columns 0..511 are filtered
constexpr std::ptrdiff_t kStride = DisplayRaster::COLUMNS; // bytes from one raster row to the next
constexpr std::size_t kCells = std::size_t(kRows) * kCols;

// Level tables whose levels stay at or below this get a direct inverse table
// (one byte per level) and 64-bit sums; larger levels take the wide path.
// The stored level tables reach 177 980.
constexpr uint32_t kDirectLevelLimit = 1u << 22;

using Wide = unsigned __int128;

using Levels = std::array<uint32_t, 256>;

uint32_t highestLevel(const Levels& T) {
    return *std::max_element(T.begin(), T.end());
}

// The level-table inverse as a table over every level 0..highest: the largest
// code n with T[n] <= w. Built as a running maximum over the codes taken in
// order of their levels, so it equals the search down from 255 for any table.
// A level below every entry has no such code; it maps to 0.
void buildDownInverse(const Levels& T, std::vector<uint8_t>& inverse) {
    std::array<uint8_t, 256> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](uint8_t a, uint8_t b) { return T[a] < T[b]; });
    const uint32_t top = highestLevel(T);
    inverse.assign(std::size_t(top) + 1, 0);
    uint8_t best = 0;
    uint32_t from = 0;
    for (uint8_t n : order) {
        const uint32_t level = T[n];
        if (level > from) {
            std::fill(inverse.begin() + from, inverse.begin() + level, best);
            from = level;
        }
        best = std::max(best, n);
    }
    std::fill(inverse.begin() + from, inverse.end(), best);
}

struct DirectInverse {
    const uint8_t* table;
    uint8_t operator()(uint64_t level) const { return table[level]; }
};

// The inverse for tables too large for a direct table: a binary search when
// the levels never fall, else the literal search down from 255.
struct SearchInverse {
    const uint32_t* T;
    bool rising;
    uint8_t operator()(uint64_t level) const {
        if (rising) {
            const uint32_t* past =
                std::upper_bound(T, T + 256, level, [](uint64_t v, uint32_t t) { return v < t; });
            return past == T ? 0 : uint8_t(past - T - 1);
        }
        for (int n = 255; n >= 0; --n)
            if (T[n] <= level) return uint8_t(n);
        return 0;
    }
};

SearchInverse makeSearchInverse(const Levels& T) {
    return {T.data(), std::is_sorted(T.begin(), T.end())};
}

// Per-thread buffers reused from pass to pass, so that a redraw allocates
// nothing once the first one has run.
struct Workspace {
    std::vector<uint64_t> sums;   // per-cell weighted sums of LF 1 (padded rows)
    std::vector<uint8_t> padded;  // the filtered region with zero margins
    std::vector<uint8_t> means;   // LF 1 means, or the saved codes of HF 2
    std::vector<uint8_t> inverse; // the direct level-table inverse
    Levels inverseFor{};          // the table the inverse was built for
    bool inverseValid = false;
    std::vector<uint32_t> forward;    // one line's forward-filled levels
    std::vector<uint32_t> backward;   // one line's backward-filled levels
    std::vector<uint64_t> lineSums;   // one line's side sums
    std::vector<uint8_t> centreShare; // LF 2: centre-level count of every cell
};

Workspace& workspace() {
    thread_local Workspace w;
    return w;
}

const uint8_t* directInverse(Workspace& w, const Levels& T) {
    if (!w.inverseValid || w.inverseFor != T) {
        buildDownInverse(T, w.inverse);
        w.inverseFor = T;
        w.inverseValid = true;
    }
    return w.inverse.data();
}

int clampParameter(int p) {
    return std::clamp(p, 0, MAX_FILTER_PARAMETER);
}

// ---------------------------------------------------------------------------
// LF 1: weighted means with no-data cells skipped.
//
// Along one line of cells (a raster column for L, a row for T, a diagonal
// for X), a side of the centre k contributes, for m = 1..P, the weight
// P - m + 1 times the level of its current code. The current code starts at
// the centre and moves on to each non-zero code the side meets inside the
// line. Since the centre itself is non-zero, the current code at k + m is
// the last non-zero code at or before k + m (the line filled forward), held
// beyond the line's end; on the other side it is the first non-zero code at
// or after k - m (filled backward), held before the line's start. Both side
// sums then follow from running sums in one sweep per side, whatever P is.
// Cells with code 0 get sums too; they are never used.

template <class Acc>
void addLineSums(const uint8_t* cells, std::ptrdiff_t cellStep, int n, int P, const uint32_t* T,
                 Acc* acc, std::ptrdiff_t accStep, Acc mult, bool assign, Workspace& w) {
    uint32_t* fwd = w.forward.data();
    uint32_t* bwd = w.backward.data(); // bwd[q + P] belongs to position q
    uint64_t* out = w.lineSums.data();

    uint32_t last = 0;
    for (int k = 0; k < n; ++k) {
        const uint8_t code = cells[k * cellStep];
        last = code ? T[code] : last;
        fwd[k] = last;
    }
    for (int k = n; k <= n + P; ++k) fwd[k] = last;

    uint32_t next = 0;
    for (int k = n - 1; k >= 0; --k) {
        const uint8_t code = cells[k * cellStep];
        next = code ? T[code] : next;
        bwd[k + P] = next;
    }
    for (int q = 0; q < P; ++q) bwd[q] = next;

    const uint64_t p = uint64_t(P);
    const uint64_t triangle = p * (p + 1) / 2;

    // Forward side, k from the end: s1 = sum of the P levels after k,
    // s2 = the same with weights P, P - 1, ..., 1.
    uint64_t s1 = p * last;
    uint64_t s2 = triangle * last;
    out[n - 1] = s2;
    for (int k = n - 2; k >= 0; --k) {
        s2 = s2 + p * fwd[k + 1] - s1;
        s1 = s1 + fwd[k + 1] - fwd[k + 1 + P];
        out[k] = s2;
    }

    // Backward side, k from the start.
    s1 = p * next;
    s2 = triangle * next;
    out[0] += s2;
    for (int k = 1; k < n; ++k) {
        s2 = s2 + p * bwd[k - 1 + P] - s1;
        s1 = s1 + bwd[k - 1 + P] - bwd[k - 1];
        out[k] += s2;
    }

    if (assign) {
        for (int k = 0; k < n; ++k) acc[k * accStep] = mult * Acc(out[k]);
    } else {
        for (int k = 0; k < n; ++k) acc[k * accStep] += mult * Acc(out[k]);
    }
}

// Lines that run across the rows (along the frames for L, along the two
// diagonals for X) are taken kLanes at a time, side by side, so that each
// raster row is read and written in short contiguous runs. Line c of shear d
// holds the cells (i, c + d * i - offset): d = 0 the columns, d = 1 the
// down-right diagonals, d = -1 the down-left ones. The lanes of a block run
// over the rows where any of them lies inside the filtered columns; a lane
// outside reads the zero margins of the padded copy (a cell outside counts
// like a no-data cell: the current code stays) and writes to the margins of
// the padded sums.
constexpr int kLanes = 8;
constexpr std::ptrdiff_t kPaddedStride = kCols + 2 * kLanes;

template <class Acc>
void addShearedLines(const uint8_t* padded, int d, int P, const uint32_t* T, Acc* acc, Acc mult,
                     bool assign, Workspace& w) {
    const int offset = d == 1 ? kRows - 1 : 0;
    const int lines = d == 0 ? kCols : kCols + kRows - 1;
    const uint64_t p = uint64_t(P);
    const uint64_t triangle = p * (p + 1) / 2;
    uint32_t* fwd = w.forward.data();
    uint32_t* bwd = w.backward.data(); // row k + P belongs to position k
    for (int c0 = 0; c0 < lines; c0 += kLanes) {
        int first = 0, last = kRows - 1;
        if (d == 1) {
            first = std::max(0, kRows - 1 - (c0 + kLanes - 1));
            last = std::min(kRows - 1, kCols + kRows - 2 - c0);
        } else if (d == -1) {
            first = std::max(0, c0 - (kCols - 1));
            last = std::min(kRows - 1, c0 + kLanes - 1);
        }
        if (first > last) continue;
        const int n = last - first + 1;
        auto column = [&](int i) { return kLanes + c0 + d * i - offset; };

        uint32_t held[kLanes] = {};
        for (int k = 0; k < n; ++k) {
            const int i = first + k;
            const uint8_t* cells = padded + i * kPaddedStride + column(i);
            uint32_t* f = fwd + k * kLanes;
            for (int l = 0; l < kLanes; ++l) {
                const uint8_t code = cells[l];
                held[l] = code ? T[code] : held[l];
                f[l] = held[l];
            }
        }
        for (int k = n; k <= n + P; ++k)
            for (int l = 0; l < kLanes; ++l) fwd[k * kLanes + l] = held[l];

        uint32_t ahead[kLanes] = {};
        for (int k = n - 1; k >= 0; --k) {
            const int i = first + k;
            const uint8_t* cells = padded + i * kPaddedStride + column(i);
            uint32_t* b = bwd + (k + P) * kLanes;
            for (int l = 0; l < kLanes; ++l) {
                const uint8_t code = cells[l];
                ahead[l] = code ? T[code] : ahead[l];
                b[l] = ahead[l];
            }
        }
        for (int k = 0; k < P; ++k)
            for (int l = 0; l < kLanes; ++l) bwd[k * kLanes + l] = ahead[l];

        // Forward sides, from the last row up.
        uint64_t s1[kLanes], s2[kLanes];
        for (int l = 0; l < kLanes; ++l) {
            s1[l] = p * held[l];
            s2[l] = triangle * held[l];
        }
        for (int k = n - 1; k >= 0; --k) {
            const int i = first + k;
            if (k < n - 1) {
                const uint32_t* next = fwd + (k + 1) * kLanes;
                const uint32_t* leaving = fwd + (k + 1 + P) * kLanes;
                for (int l = 0; l < kLanes; ++l) {
                    s2[l] = s2[l] + p * next[l] - s1[l];
                    s1[l] = s1[l] + next[l] - leaving[l];
                }
            }
            Acc* a = acc + i * kPaddedStride + column(i);
            if (assign) {
                for (int l = 0; l < kLanes; ++l) a[l] = mult * Acc(s2[l]);
            } else {
                for (int l = 0; l < kLanes; ++l) a[l] += mult * Acc(s2[l]);
            }
        }

        // Backward sides, from the first row down.
        for (int l = 0; l < kLanes; ++l) {
            s1[l] = p * ahead[l];
            s2[l] = triangle * ahead[l];
        }
        for (int k = 0; k < n; ++k) {
            const int i = first + k;
            if (k > 0) {
                const uint32_t* prev = bwd + (k - 1 + P) * kLanes;
                const uint32_t* leaving = bwd + (k - 1) * kLanes;
                for (int l = 0; l < kLanes; ++l) {
                    s2[l] = s2[l] + p * prev[l] - s1[l];
                    s1[l] = s1[l] + prev[l] - leaving[l];
                }
            }
            Acc* a = acc + i * kPaddedStride + column(i);
            for (int l = 0; l < kLanes; ++l) a[l] += mult * Acc(s2[l]);
        }
    }
}

// The mean of every cell as an integer fraction Q / den with
// Q = T[c] * centreWeight + the cell's weighted sums.
//   One axis with parameter P: V = (T[c] (P + 1) + S) / D, D = (P + 1)^2 for
//   L and T, (P + 1)(2P + 1) for X (four diagonal sides).
//   Several axes: V = sum(P_a V_a) / sum(P_a) over a common denominator.
struct MeanForm {
    uint64_t multL = 0, multT = 0, multX = 0; // weight of each axis's side sums
    uint64_t centreWeight = 0;                // weight of T[c]
    uint64_t den = 1;
    bool rounded = false; // several axes: Round, ties to even; one axis: unrounded
};

MeanForm meanForm(int L, int T, int X) {
    const uint64_t dL = uint64_t(L + 1) * uint64_t(L + 1);
    const uint64_t dT = uint64_t(T + 1) * uint64_t(T + 1);
    const uint64_t dX = uint64_t(X + 1) * uint64_t(2 * X + 1);
    const int axes = (L > 0) + (T > 0) + (X > 0);
    MeanForm f;
    if (axes == 1) {
        f.multL = f.multT = f.multX = 1;
        f.centreWeight = uint64_t(std::max({L, T, X}) + 1);
        f.den = L > 0 ? dL : T > 0 ? dT : dX;
        return f;
    }
    uint64_t common = 1;
    if (L > 0) common = std::lcm(common, dL);
    if (T > 0) common = std::lcm(common, dT);
    if (X > 0) common = std::lcm(common, dX);
    f.multL = L > 0 ? uint64_t(L) * (common / dL) : 0;
    f.multT = T > 0 ? uint64_t(T) * (common / dT) : 0;
    f.multX = X > 0 ? uint64_t(X) * (common / dX) : 0;
    f.centreWeight =
        f.multL * uint64_t(L + 1) + f.multT * uint64_t(T + 1) + f.multX * uint64_t(X + 1);
    f.den = common * uint64_t(L + T + X);
    f.rounded = true;
    return f;
}

// Quotient and remainder of q / den. 64-bit sums (below 2^63, with a
// quotient below 2^23) take a floating-point estimate that is off by at most
// one, corrected without branches.
template <class Acc> inline Acc divide(Acc q, uint64_t den, double inverseDen, Acc& rem) {
    if constexpr (std::is_same_v<Acc, uint64_t>) {
        const int64_t d = int64_t(den);
        int64_t quot = int64_t(double(q) * inverseDen);
        int64_t r = int64_t(q) - quot * d;
        const int64_t under = r >> 63; // -1 when the estimate was one too high
        quot += under;
        r += d & under;
        const int64_t over = int64_t(r >= d);
        quot += over;
        r -= d * over;
        rem = Acc(r);
        return Acc(quot);
    } else {
        rem = q % den;
        return q / den;
    }
}

template <bool Rounded, class Acc, class Inv>
void finishMeans(const uint8_t* src, const Acc* acc, const MeanForm& f, const uint32_t* T,
                 const Inv& inverse, uint8_t* means) {
    const double inverseDen = 1.0 / double(f.den);
    for (int i = 0; i < kRows; ++i) {
        const uint8_t* s = src + i * kStride;
        const Acc* a = acc + i * kPaddedStride + kLanes;
        uint8_t* out = means + std::size_t(i) * kCols;
        for (int j = 0; j < kCols; ++j) {
            const uint8_t c = s[j];
            const Acc q = Acc(T[c]) * Acc(f.centreWeight) + a[j];
            Acc rem;
            Acc level = divide(q, f.den, inverseDen, rem);
            if constexpr (Rounded) {
                // Round half to even: up past the half, and at the half when odd.
                const Acc twice = rem * 2;
                level += Acc(twice > f.den) | (Acc(twice == f.den) & (level & 1));
            }
            const uint8_t mean = inverse(uint64_t(level));
            out[j] = c ? mean : 0;
        }
    }
}

// The LF 1 mean of every cell of the active plane into `means` (row stride
// 512). `padded` is the filtered region with zero margins, `acc` its sums.
template <class Acc, class Inv>
void lowPass1Means(const uint8_t* src, const uint8_t* padded, int L, int T, int X,
                   const uint32_t* levels, const Inv& inverse, Acc* acc, uint8_t* means,
                   Workspace& w) {
    const MeanForm f = meanForm(L, T, X);
    bool assign = true;
    if (L > 0) {
        addShearedLines(padded, 0, L, levels, acc, Acc(f.multL), assign, w);
        assign = false;
    }
    if (T > 0) {
        for (int i = 0; i < kRows; ++i)
            addLineSums(padded + i * kPaddedStride + kLanes, 1, kCols, T, levels,
                        acc + i * kPaddedStride + kLanes, 1, Acc(f.multT), assign, w);
        assign = false;
    }
    if (X > 0) {
        addShearedLines(padded, 1, X, levels, acc, Acc(f.multX), assign, w);
        addShearedLines(padded, -1, X, levels, acc, Acc(f.multX), false, w);
    }
    if (f.rounded)
        finishMeans<true>(src, acc, f, levels, inverse, means);
    else
        finishMeans<false>(src, acc, f, levels, inverse, means);
}

// ---------------------------------------------------------------------------
// LF 2: in-place passes over columns 1..510 (outer) and rows 1..550 (inner).
//
// Each cell reads its neighbours as they stand at its turn: the cells above
// it and those of the column before are already updated, the rest are not.
// Giving cell (i, j) the time i + 2j orders every cell after each neighbour
// it must see updated and before each one it must see untouched, and no two
// neighbours share a time. So a band of columns can run as a wavefront,
// column j0 + q lagging 2q rows behind column j0: the cells of one step are
// independent, which lets the processor overlap them, and every cell still
// sees exactly what the column-by-column order shows it.
//
// A no-data neighbour contributes the centre's level, as does every
// neighbour of an axis that sits the pass out. Cells with code 0 stay 0, and
// the others never reach 0 (half the smoothed sum is at least the lowest
// level of a non-zero code), so that count is fixed per cell while the set
// of axes taking part does not change; it is kept in a byte per cell, and the
// neighbours are summed through a copy of the level table whose entry 0 is
// 0, without a branch.

constexpr int kBand = 32;
constexpr int kInnerRows = kRows - 2; // rows 1..550
constexpr int kInnerCols = kCols - 2; // columns 1..510

template <class Sum, class Inv, bool UseL, bool UseT, bool UseX, int K>
void lowPass2Pass(uint8_t* codes, const uint8_t* centreShare, const uint32_t* levelOf,
                  const Inv& inverse) {
    for (int j0 = 1; j0 <= kInnerCols; j0 += kBand) {
        const int g = std::min(kBand, kInnerCols + 1 - j0);
        const int steps = kInnerRows + 2 * (g - 1);
        for (int s = 0; s < steps; ++s) {
            const int qLow = s >= kInnerRows ? (s - kInnerRows + 2) / 2 : 0;
            const int qHigh = std::min(g - 1, s / 2);
            for (int q = qLow; q <= qHigh; ++q) {
                const std::ptrdiff_t at = (1 + s - 2 * q) * kStride + (j0 + q);
                const uint8_t* v = codes + at;
                const uint8_t c = v[0];
                const Sum m = levelOf[c];
                auto level = [&](std::ptrdiff_t offset) { return Sum(levelOf[v[offset]]); };
                Sum sum = Sum(centreShare[at]) * m;
                if constexpr (UseL) sum += level(-kStride) + level(kStride);
                if constexpr (UseT) sum += level(-1) + level(1);
                if constexpr (UseX)
                    sum += level(-kStride - 1) + level(kStride + 1) + level(kStride - 1) +
                           level(-kStride + 1);
                const Sum smoothed = sum / Sum(K) + m;
                const uint8_t result = inverse(uint64_t(smoothed >> 1));
                codes[at] = c ? result : 0;
            }
        }
    }
}

template <class Sum, class Inv, int K>
void lowPass2PassFor(int active, uint8_t* codes, const uint8_t* centreShare,
                     const uint32_t* levelOf, const Inv& inverse) {
    switch (active) {
    case 1:
        return lowPass2Pass<Sum, Inv, true, false, false, K>(codes, centreShare, levelOf, inverse);
    case 2:
        return lowPass2Pass<Sum, Inv, false, true, false, K>(codes, centreShare, levelOf, inverse);
    case 3:
        return lowPass2Pass<Sum, Inv, true, true, false, K>(codes, centreShare, levelOf, inverse);
    case 4:
        return lowPass2Pass<Sum, Inv, false, false, true, K>(codes, centreShare, levelOf, inverse);
    case 5:
        return lowPass2Pass<Sum, Inv, true, false, true, K>(codes, centreShare, levelOf, inverse);
    case 6:
        return lowPass2Pass<Sum, Inv, false, true, true, K>(codes, centreShare, levelOf, inverse);
    case 7:
        return lowPass2Pass<Sum, Inv, true, true, true, K>(codes, centreShare, levelOf, inverse);
    default:
        return;
    }
}

// How many times each inner cell's own level enters its sum: once for each
// neighbour of an axis sitting the pass out, and once for each no-data
// neighbour of an axis taking part.
void countCentreShares(const uint8_t* codes, bool chosenL, bool chosenT, bool chosenX, bool useL,
                       bool useT, bool useX, uint8_t* centreShare) {
    const int fixed = 2 * (chosenL && !useL) + 2 * (chosenT && !useT) + 4 * (chosenX && !useX);
    for (int i = 1; i <= kInnerRows; ++i) {
        for (int j = 1; j <= kInnerCols; ++j) {
            const uint8_t* c = codes + i * kStride + j;
            int share = fixed;
            if (useL) share += (c[-kStride] == 0) + (c[kStride] == 0);
            if (useT) share += (c[-1] == 0) + (c[1] == 0);
            if (useX)
                share += (c[-kStride - 1] == 0) + (c[kStride + 1] == 0) + (c[kStride - 1] == 0) +
                         (c[-kStride + 1] == 0);
            centreShare[i * kStride + j] = uint8_t(share);
        }
    }
}

// Passes n = 1..N over the codes. K counts the neighbours of every axis with
// a parameter above 0; an axis whose parameter is below n contributes the
// centre's level for each of its neighbours.
template <class Sum, class Inv>
void lowPass2(uint8_t* codes, int L, int T, int X, const Levels& table, const Inv& inverse,
              Workspace& w) {
    Levels levelOf = table;
    levelOf[0] = 0; // no-data cells add nothing; their share goes to the centre
    uint8_t* centreShare = w.centreShare.data();

    const int K = 2 * (L > 0) + 2 * (T > 0) + 4 * (X > 0);
    const int passes = std::max({L, T, X});
    int counted = -1;
    for (int n = 1; n <= passes; ++n) {
        const bool useL = L >= n, useT = T >= n, useX = X >= n;
        const int active = int(useL) | int(useT) << 1 | int(useX) << 2;
        if (active != counted) {
            countCentreShares(codes, L > 0, T > 0, X > 0, useL, useT, useX, centreShare);
            counted = active;
        }
        const uint32_t* lv = levelOf.data();
        switch (K) {
        case 2:
            lowPass2PassFor<Sum, Inv, 2>(active, codes, centreShare, lv, inverse);
            break;
        case 4:
            lowPass2PassFor<Sum, Inv, 4>(active, codes, centreShare, lv, inverse);
            break;
        case 6:
            lowPass2PassFor<Sum, Inv, 6>(active, codes, centreShare, lv, inverse);
            break;
        case 8:
            lowPass2PassFor<Sum, Inv, 8>(active, codes, centreShare, lv, inverse);
            break;
        default:
            break;
        }
    }
}

// ---------------------------------------------------------------------------

// The high-pass result of a code against its smoothed value: the difference
// around zero amplitude 128, wrapping modulo 256; no-data stays no-data.
inline uint8_t highPass(uint8_t code, uint8_t smoothed) {
    return code ? uint8_t(code - smoothed + 128) : uint8_t(0);
}

void copyRegion(const uint8_t* from, std::ptrdiff_t fromStride, uint8_t* to,
                std::ptrdiff_t toStride) {
    for (int i = 0; i < kRows; ++i) std::memcpy(to + i * toStride, from + i * fromStride, kCols);
}

template <class Acc, class Inv>
void runLowPass1(DisplayRaster& raster, const FilterRow& row, int L, int T, int X,
                 const uint32_t* levels, const Inv& inverse, Acc* acc, Workspace& w) {
    uint8_t* active = raster.plane(raster.activePlane);
    uint8_t* means = w.means.data();
    uint8_t* padded = w.padded.data();
    for (int i = 0; i < kRows; ++i)
        std::memcpy(padded + i * kPaddedStride + kLanes, active + i * kStride, kCols);
    lowPass1Means(active, padded, L, T, X, levels, inverse, acc, means, w);
    if (row.kind == filter_kind::HighPass1) {
        for (int i = 0; i < kRows; ++i) {
            uint8_t* a = active + i * kStride;
            const uint8_t* lp = means + std::size_t(i) * kCols;
            for (int j = 0; j < kCols; ++j) a[j] = highPass(a[j], lp[j]);
        }
    } else {
        copyRegion(means, kCols, active, kStride);
    }
    if (raster.activePlane != 1) copyRegion(means, kCols, raster.plane(1), kStride);
}

template <class Sum, class Inv>
void runLowPass2(DisplayRaster& raster, const FilterRow& row, int L, int T, int X,
                 const Levels& table, const Inv& inverse, Workspace& w) {
    uint8_t* active = raster.plane(raster.activePlane);
    const bool high = row.kind == filter_kind::HighPass2;
    uint8_t* saved = w.means.data();
    if (high) copyRegion(active, kStride, saved, kCols);
    lowPass2<Sum>(active, L, T, X, table, inverse, w);
    if (high) {
        for (int i = 0; i < kRows; ++i) {
            uint8_t* a = active + i * kStride;
            const uint8_t* c = saved + std::size_t(i) * kCols;
            for (int j = 0; j < kCols; ++j) a[j] = highPass(c[j], a[j]);
        }
        if (raster.activePlane != 1) copyRegion(saved, kCols, raster.plane(1), kStride);
    }
}

} // namespace

bool filterActive(const FilterRow& row) {
    return row.L > 0 || row.T > 0 || row.X > 0;
}

void FLTR(DisplayRaster& raster, const FilterRow& row,
          const std::array<uint32_t, 256>& levelTable) {
    const int L = clampParameter(row.L), T = clampParameter(row.T), X = clampParameter(row.X);
    if (L == 0 && T == 0 && X == 0) return;
    if (row.kind < filter_kind::LowPass1 || row.kind > filter_kind::HighPass2) return;
    if (raster.activePlane < 0 || raster.activePlane >= DisplayRaster::PLANES) return;

    Workspace& w = workspace();
    const std::size_t longestLine = std::max(kRows, kCols) + MAX_FILTER_PARAMETER + 1;
    w.forward.resize(longestLine * kLanes);
    w.backward.resize(longestLine * kLanes);
    w.lineSums.resize(std::size_t(longestLine));
    w.means.resize(kCells);
    w.padded.resize(std::size_t(kRows) * kPaddedStride); // margins stay 0

    const uint32_t* levels = levelTable.data();
    const bool direct = highestLevel(levelTable) <= kDirectLevelLimit;
    const bool lowPass1Kind =
        row.kind == filter_kind::LowPass1 || row.kind == filter_kind::HighPass1;

    if (direct) {
        const DirectInverse inverse{directInverse(w, levelTable)};
        if (lowPass1Kind) {
            w.sums.resize(std::size_t(kRows) * kPaddedStride);
            runLowPass1(raster, row, L, T, X, levels, inverse, w.sums.data(), w);
        } else {
            w.centreShare.resize(std::size_t(kRows) * kStride);
            runLowPass2<uint32_t>(raster, row, L, T, X, levelTable, inverse, w);
        }
    } else {
        const SearchInverse inverse = makeSearchInverse(levelTable);
        if (!lowPass1Kind) w.centreShare.resize(std::size_t(kRows) * kStride);
        if (lowPass1Kind) {
            std::vector<Wide> sums(std::size_t(kRows) * kPaddedStride);
            runLowPass1(raster, row, L, T, X, levels, inverse, sums.data(), w);
        } else {
            runLowPass2<uint64_t>(raster, row, L, T, X, levelTable, inverse, w);
        }
    }
}

void filterRadargram(DisplayRaster& raster, const FilterRow& first, const FilterRow& second,
                     const std::array<uint32_t, 256>& levelTable) {
    raster.activePlane = 0;
    raster.filterNumber = 0;
    if (filterActive(first)) FLTR(raster, first, levelTable);
    raster.filterNumber = 1;
    if (filterActive(second)) FLTR(raster, second, levelTable);
    raster.filterNumber = 0;
}

} // namespace tesk
