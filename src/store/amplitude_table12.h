#pragma once
// The conversion of 12-bit sample levels to 8-bit amplitude codes used by the
// readers of the 12-bit device-family files.
//
// AmplitudeTable12 has 257 entries, index 0 .. 256: entry c is the 12-bit
// level (0 .. 4095, zero amplitude at 2048) that amplitude code c stands
// for. Its content is the linear curve, entry c = 16 c (entry 128 = 2048,
// entry 256 = 4096). It is fixed for the whole run and kept in no file.
//
// codeFor12BitLevel(u) is the largest code c, searched from 255 down to 0,
// whose entry does not exceed u: Trunc(u / 16) for u = 0 .. 4095. Entry 256
// is never reached by the search. The readers store 1 where the result is 0,
// since code 0 means "no data".

#include <array>
#include <cstdint>

namespace tesk {

inline constexpr int AMPLITUDE_TABLE12_SIZE = 257;
inline constexpr int LEVELS_12BIT = 4096; // levels 0 .. 4095

using AmplitudeTable12Values = std::array<uint16_t, AMPLITUDE_TABLE12_SIZE>;

namespace detail {
constexpr AmplitudeTable12Values linearAmplitudeTable12() {
    AmplitudeTable12Values t{};
    for (int c = 0; c < AMPLITUDE_TABLE12_SIZE; ++c) t[std::size_t(c)] = uint16_t(16 * c);
    return t;
}
} // namespace detail

inline constexpr AmplitudeTable12Values AmplitudeTable12 = detail::linearAmplitudeTable12();

// The largest code c in 255 .. 0 with AmplitudeTable12[c] <= u (0 when no
// entry is that small). Levels above 4095 (which the .gpr rule can form)
// give 255.
constexpr uint8_t codeFor12BitLevel(uint32_t u) {
    for (int c = 255; c > 0; --c)
        if (AmplitudeTable12[std::size_t(c)] <= u) return uint8_t(c);
    return 0;
}

// The code a reader stores for level u: codeFor12BitLevel, with 0 (no data)
// replaced by 1.
constexpr uint8_t storedCodeFor12BitLevel(uint32_t u) {
    const uint8_t c = codeFor12BitLevel(u);
    return c == 0 ? 1 : c;
}

// storedCodeFor12BitLevel for every level 0 .. 4095, built once from the
// search above; the readers look codes up here instead of searching per
// sample. Levels above 4095 share the code of 4095 because no entry 0 .. 255
// lies above 4095.
const std::array<uint8_t, LEVELS_12BIT>& storedCodesFor12BitLevels();

inline uint8_t storedCodeFast(uint32_t u) {
    return storedCodesFor12BitLevels()[u < uint32_t(LEVELS_12BIT) ? u : LEVELS_12BIT - 1];
}

} // namespace tesk
