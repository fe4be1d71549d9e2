#pragma once
// The working raster every display stage shares: 1002 rows (frames around
// the view) x 624 columns (the frame's cells) x 8 planes of amplitude codes.
// Row r of plane 0 holds frame viewStart - 20 + r; rows 20..531 are the 512
// frames in view, rows 0..19 and 532..551 are context for the filters.
// Plane 1 is the filter pass's scratch plane, planes 2..4 the slice images,
// plane 7 the magnifier. Each plane is stored whole (plane-major) so a
// filter pass walks contiguous bytes.

#include <array>
#include <cstdint>
#include <memory>

namespace tesk {

class DisplayRaster {
  public:
    static constexpr int ROWS = 1002;
    static constexpr int COLUMNS = 624;
    static constexpr int PLANES = 8;
    static constexpr int FIRST_VIEW_ROW = 20;   // raster row of viewStart
    static constexpr int VIEW_ROWS = 512;       // frames in view
    static constexpr int FILTER_ROWS = 552;     // rows 0..551 take part in filtering
    static constexpr int DISPLAY_COLUMNS = 512; // samples drawn

    DisplayRaster() : cells_(std::make_unique<uint8_t[]>(std::size_t(PLANES) * ROWS * COLUMNS)) {}

    uint8_t* row(int plane, int r) {
        return cells_.get() + (std::size_t(plane) * ROWS + std::size_t(r)) * COLUMNS;
    }
    const uint8_t* row(int plane, int r) const {
        return cells_.get() + (std::size_t(plane) * ROWS + std::size_t(r)) * COLUMNS;
    }
    uint8_t& at(int plane, int r, int c) { return row(plane, r)[c]; }
    uint8_t at(int plane, int r, int c) const { return row(plane, r)[c]; }
    uint8_t* plane(int p) { return row(p, 0); }

    // The plane that ZeroGain and the filter pass process; callers set it.
    int activePlane = 0;
    // 0 while filter 1 runs, 1 while filter 2 runs.
    int filterNumber = 0;

  private:
    std::unique_ptr<uint8_t[]> cells_;
};

} // namespace tesk
