// The five stored level tables of ComboBox29. Table 0 is linear (value =
// code). Tables 1..4 are stored as their steps away from the centre: U(k) =
// T(128 + k) - centre and D(k) = centre - T(128 - k). U(k) = k up to the
// linear limit (32 for table 1, 63 for tables 2..4) and follows the lists
// below beyond it; D(k) = U(k) except for the listed entries, and D(128) =
// centre so that T(0) = 0. The tables are assembled at compile time and
// checked there: entry 0 is 0, entry 128 the centre, values strictly increase.

#include "display/amplitude.h"

#include <cstddef>

namespace tesk {
namespace {

struct DownException {
    int k;
    uint32_t d;
};

// U(33 .. 127) of table 1.
constexpr std::array<uint32_t, 95> UP1 = {
    34,   36,   38,    40,    42,    44,    46,    48,    50,    52,    54,    56,   58,   60,
    62,   64,   67,    70,    73,    76,    79,    82,    85,    88,    92,    96,   100,  104,
    109,  114,  119,   125,   131,   138,   146,   153,   162,   170,   180,   189,  200,  211,
    224,  236,  250,   264,   280,   296,   314,   332,   353,   373,   397,   420,  447,  474,
    505,  536,  572,   608,   654,   700,   762,   824,   906,   988,   1094,  1200, 1340, 1480,
    1664, 1848, 2092,  2336,  2644,  2952,  3356,  3760,  4268,  4776,  5428,  6080, 6904, 7728,
    8780, 9832, 11160, 12488, 14172, 15856, 18180, 20504, 23620, 26736, 29752,
};
constexpr std::array<DownException, 15> DOWN1 = {{{61, 108},
                                                  {62, 113},
                                                  {63, 118},
                                                  {64, 123},
                                                  {65, 129},
                                                  {66, 135},
                                                  {67, 143},
                                                  {68, 151},
                                                  {69, 160},
                                                  {71, 179},
                                                  {75, 223},
                                                  {83, 352},
                                                  {85, 396},
                                                  {97, 911},
                                                  {99, 1099}}};

// U(64 .. 127) of table 2.
constexpr std::array<uint32_t, 64> UP2 = {
    66,    71,    79,    89,    100,   112,   126,   141,   158,   178,   199,   224,   251,
    281,   316,   354,   398,   446,   500,   561,   630,   707,   793,   890,   998,   1120,
    1257,  1410,  1582,  1776,  1992,  2235,  2508,  2814,  3157,  3543,  3975,  4460,  5004,
    5615,  6300,  7069,  7931,  8899,  9985,  11203, 12570, 14104, 15825, 17756, 19922, 22353,
    25081, 28141, 31575, 35428, 39750, 44601, 50043, 56149, 63000, 70687, 79312, 88990,
};
constexpr std::array<DownException, 2> DOWN2 = {{{90, 1217}, {127, 88986}}};

// U(64 .. 127) of table 3.
constexpr std::array<uint32_t, 64> UP3 = {
    66,   71,   74,   79,   83,   89,   94,   100,  105,  112,  118,  126,  132,  141,  148,  158,
    166,  178,  187,  199,  209,  224,  235,  251,  264,  281,  296,  316,  332,  354,  372,  398,
    418,  446,  469,  500,  526,  562,  590,  630,  662,  707,  743,  793,  833,  890,  935,  999,
    1049, 1120, 1177, 1257, 1321, 1410, 1482, 1583, 1663, 1776, 1866, 1992, 2093, 2235, 2349, 2508,
};
constexpr std::array<DownException, 8> DOWN3 = {
    {{70, 93}, {85, 223}, {88, 263}, {95, 397}, {101, 561}, {111, 998}, {119, 1582}, {127, 2505}}};

// U(64 .. 127) of table 4.
constexpr std::array<uint32_t, 64> UP4 = {
    65,  67,  71,  73,  76,  79,  82,  85,  89,  92,  95,  100, 103, 107, 112, 116,
    120, 126, 130, 134, 141, 146, 151, 158, 163, 169, 173, 183, 190, 199, 206, 213,
    224, 231, 239, 251, 259, 268, 281, 291, 301, 316, 326, 337, 354, 366, 379, 398,
    411, 425, 446, 461, 477, 500, 517, 535, 561, 580, 600, 630, 651, 673, 707, 730,
};
constexpr std::array<DownException, 2> DOWN4 = {{{90, 178}, {127, 729}}};

template <std::size_t NU, std::size_t ND>
constexpr LevelTableValues buildTable(uint32_t centre, const std::array<uint32_t, NU>& up,
                                      const std::array<DownException, ND>& down) {
    constexpr int linearLimit = 127 - int(NU);
    std::array<uint32_t, 129> u{};
    for (int k = 1; k <= 127; ++k) u[k] = k <= linearLimit ? uint32_t(k) : up[k - linearLimit - 1];
    std::array<uint32_t, 129> d = u;
    for (const DownException& x : down) d[x.k] = x.d;
    d[128] = centre;
    LevelTableValues t{};
    t[128] = centre;
    for (int k = 1; k <= 127; ++k) t[128 + k] = centre + u[k];
    for (int k = 1; k <= 128; ++k) t[128 - k] = centre - d[k];
    return t;
}

constexpr LevelTableValues linearTable() {
    LevelTableValues t{};
    for (int c = 0; c < 256; ++c) t[c] = uint32_t(c);
    return t;
}

constexpr std::array<int32_t, LEVEL_TABLE_COUNT> CENTRES = {128, 32768, 88990, 2508, 730};

constexpr std::array<LevelTableValues, LEVEL_TABLE_COUNT> TABLES = {
    linearTable(),
    buildTable(uint32_t(CENTRES[1]), UP1, DOWN1),
    buildTable(uint32_t(CENTRES[2]), UP2, DOWN2),
    buildTable(uint32_t(CENTRES[3]), UP3, DOWN3),
    buildTable(uint32_t(CENTRES[4]), UP4, DOWN4),
};

constexpr bool wellFormed(const LevelTableValues& t, int32_t centre) {
    if (t[0] != 0 || t[128] != uint32_t(centre)) return false;
    for (int c = 1; c < 256; ++c)
        if (t[c] <= t[c - 1]) return false;
    return true;
}

static_assert(wellFormed(TABLES[0], CENTRES[0]));
static_assert(wellFormed(TABLES[1], CENTRES[1]));
static_assert(wellFormed(TABLES[2], CENTRES[2]));
static_assert(wellFormed(TABLES[3], CENTRES[3]));
static_assert(wellFormed(TABLES[4], CENTRES[4]));

int validIndex(int index) {
    return (index < 0 || index >= LEVEL_TABLE_COUNT) ? 0 : index;
}

} // namespace

const LevelTableValues& storedLevelTable(int index) {
    return TABLES[validIndex(index)];
}

int32_t storedLevelTableCentre(int index) {
    return CENTRES[validIndex(index)];
}

} // namespace tesk
