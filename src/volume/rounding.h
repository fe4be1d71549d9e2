#pragma once
// Rounding of the volume passes: to the nearest, ties to even, as every
// formula of the volume uses it. Without SSE4.1 the library calls
// (nearbyint, lrint) are function calls; adding and removing 1.5 * 2^52
// rounds in one step in the default rounding mode (|x| below 2^51).

namespace tesk {

inline double roundHalfEven(double x) {
    constexpr double MAGIC = 6755399441055744.0; // 1.5 * 2^52
    return (x + MAGIC) - MAGIC;
}

inline int roundToInt(double x) {
    return int(roundHalfEven(x));
}

} // namespace tesk
