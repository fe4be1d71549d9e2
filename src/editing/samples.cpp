#include "editing/samples.h"

#include <array>
#include <cstring>

namespace tesk::editing {

namespace {

// Sixteen samples in one vector register; both compilers of the build know
// the vector extension.
typedef uint8_t Bytes16 __attribute__((vector_size(16)));
constexpr int LANES = 16;
static_assert(SAMPLE_ROWS % LANES == 0);

Bytes16 load(const uint8_t* p) {
    Bytes16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store(uint8_t* p, Bytes16 v) {
    std::memcpy(p, &v, sizeof v);
}

// (a + b) div 2 without overflow.
Bytes16 average(Bytes16 a, Bytes16 b) {
    return (a & b) + ((a ^ b) >> 1);
}

constexpr int EXPANDED_PAIRS = 264;                   // k = 0..263
constexpr int COMPRESSED_PAIRS = 257;                 // k = 0..256
constexpr int RAMP_FIRST = COMPRESSED_PAIRS;          // samples 257..527
constexpr int RAMP_LENGTH = SAMPLE_ROWS - RAMP_FIRST; // 271
constexpr int RAMP_SOURCE = 513;

// The falling tail of a compressed trace for every starting value.
const std::array<std::array<uint8_t, RAMP_LENGTH>, 256>& ramps() {
    static const auto table = [] {
        std::array<std::array<uint8_t, RAMP_LENGTH>, 256> t{};
        for (int v = 0; v < 256; ++v)
            for (int k = 0; k < RAMP_LENGTH; ++k) t[v][k] = uint8_t(v > k ? v - k : 0);
        return t;
    }();
    return table;
}

} // namespace

void midpointSamples(const uint8_t* a, const uint8_t* b, uint8_t* out) {
    const Bytes16 zero{};
    for (int k = 0; k < SAMPLE_ROWS; k += LANES) {
        const Bytes16 s = load(a + k);
        Bytes16 t = load(b + k);
        const Bytes16 tEmpty = (Bytes16)(t == zero);
        const Bytes16 sEmpty = (Bytes16)(s == zero);
        t = ((t & ~tEmpty) | (s & tEmpty)) & ~sEmpty;
        store(out + k, average(s, t));
    }
}

void expandSamples(uint8_t* samples) {
    uint8_t old[SAMPLE_ROWS];
    std::memcpy(old, samples, SAMPLE_ROWS);
    int k = 0;
    for (; k + LANES <= EXPANDED_PAIRS; k += LANES) {
        const Bytes16 here = load(old + k);
        const Bytes16 mid = average(here, load(old + k + 1));
        store(samples + 2 * k, __builtin_shufflevector(here, mid, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20,
                                                       5, 21, 6, 22, 7, 23));
        store(samples + 2 * k + LANES, __builtin_shufflevector(here, mid, 8, 24, 9, 25, 10, 26, 11,
                                                               27, 12, 28, 13, 29, 14, 30, 15, 31));
    }
    for (; k < EXPANDED_PAIRS; ++k) {
        samples[2 * k] = old[k];
        samples[2 * k + 1] = uint8_t((unsigned(old[k]) + unsigned(old[k + 1])) / 2);
    }
}

void compressSamples(uint8_t* samples) {
    const uint8_t v = samples[RAMP_SOURCE];
    uint8_t old[SAMPLE_ROWS];
    std::memcpy(old, samples, SAMPLE_ROWS);
    int k = 0;
    for (; k + LANES <= COMPRESSED_PAIRS; k += LANES) {
        const Bytes16 lo = load(old + 2 * k);
        const Bytes16 hi = load(old + 2 * k + LANES);
        const Bytes16 even = __builtin_shufflevector(lo, hi, 0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20,
                                                     22, 24, 26, 28, 30);
        const Bytes16 odd = __builtin_shufflevector(lo, hi, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21,
                                                    23, 25, 27, 29, 31);
        store(samples + k, average(even, odd));
    }
    for (; k < COMPRESSED_PAIRS; ++k)
        samples[k] = uint8_t((unsigned(old[2 * k]) + unsigned(old[2 * k + 1])) / 2);
    std::memcpy(samples + RAMP_FIRST, ramps()[v].data(), RAMP_LENGTH);
}

void interpolatedFrame(const uint8_t* a, const uint8_t* b, uint8_t* out) {
    midpointSamples(a, b, out);
    out[cell::Status] = uint8_t(a[cell::Status] & ~status::MarkerMask);
    std::memcpy(out + cell::Status + 1, a + cell::Status + 1, CELLS_PER_FRAME - cell::Status - 1);
}

void mergedFrame(const uint8_t* a, const uint8_t* b, uint8_t* out) {
    midpointSamples(a, b, out);
    out[cell::Status] = uint8_t(a[cell::Status] | b[cell::Status]);
    std::memcpy(out + cell::Status + 1, a + cell::Status + 1, CELLS_PER_FRAME - cell::Status - 1);
}

} // namespace tesk::editing
