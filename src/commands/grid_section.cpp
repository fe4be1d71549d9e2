#include "commands/grid_section.h"

#include <cstring>

namespace tesk {

static_assert(GRID_NODES == SECTION_NODES, "one section line per node row");

bool GridSection::horizontalSection(int plane, uint8_t* codes) const {
    if (!grid_.allocated() || !grid_.info.built || plane < 0 || plane >= SAMPLES_PER_FRAME)
        return false;
    // Plane `plane` of node row gx holds the samples of every gy side by side.
    for (int gx = 0; gx < SECTION_NODES; ++gx)
        std::memcpy(codes + std::size_t(gx) * SECTION_NODES, grid_.plane(gx, plane), SECTION_NODES);
    return true;
}

} // namespace tesk
