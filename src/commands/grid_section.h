#pragma once
// The slice table's view of the regular volume: the horizontal section of a
// complete build at one time plane.

#include "commands/text_export.h"
#include "volume/volume_grid.h"

namespace tesk {

class GridSection final : public VolumeSection {
  public:
    explicit GridSection(const VolumeGrid& grid) : grid_(grid) {}
    // codes[gx * 512 + gy] = sample `plane` of node (gx, gy); false while the
    // grid holds no complete build.
    bool horizontalSection(int plane, uint8_t* codes) const override;
    int32_t nodeStepCm() const override { return grid_.info.stepCm; }

  private:
    const VolumeGrid& grid_;
};

} // namespace tesk
