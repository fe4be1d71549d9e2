#include "volume/volume_grid.h"

#include <cstring>

namespace tesk {

void VolumeGrid::allocate() {
    // Left uninitialised on purpose: the first build clears the used nodes,
    // so the pages are touched once, by that build.
    if (!bytes_) bytes_.reset(new uint8_t[GRID_BYTES]);
}

void VolumeGrid::clearRow(int gx) {
    // The whole slab, the unused column gy = 512 included: one contiguous
    // block is cheaper to clear than 624 pieces of 512 bytes.
    std::memset(slab(gx), 0, SLAB_BYTES);
}

} // namespace tesk
