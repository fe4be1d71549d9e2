#include "store/amplitude_table12.h"

namespace tesk {

// The lookup of storedCodeFast clamps levels above 4095 to 4095; that is the
// same answer as the search only while no entry 0 .. 255 exceeds 4095.
static_assert(AmplitudeTable12[255] <= LEVELS_12BIT - 1);

const std::array<uint8_t, LEVELS_12BIT>& storedCodesFor12BitLevels() {
    static const std::array<uint8_t, LEVELS_12BIT> codes = [] {
        std::array<uint8_t, LEVELS_12BIT> t{};
        for (uint32_t u = 0; u < uint32_t(LEVELS_12BIT); ++u) t[u] = storedCodeFor12BitLevel(u);
        return t;
    }();
    return codes;
}

} // namespace tesk
