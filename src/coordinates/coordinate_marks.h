#pragma once
// The flags under the radargram that show which frames carry a position or
// a height, drawn on the overlay while the coordinates panel is shown with
// its GPS area: a dark red flag pointing up from the bottom edge of the
// picture for a frame with any of cells 560..575 (UCS X .. latitude) set, a
// dark green flag pointing down below it for a frame with a relief height.

#include "store/profile_store.h"

#include <QImage>

#include <cstdint>

namespace tesk::coords {

inline constexpr uint32_t POSITION_FLAG = 0x000055; // 0x00BBGGRR
inline constexpr uint32_t HEIGHT_FLAG = 0x005500;

// Frame viewStart + i at pixel column x0 + 2 i (i = 0 .. 511), the picture's
// top row at y0. positions: CheckBox71 checked; heights: CheckBox72 checked.
void paintCoordinateMarks(QImage& overlay, const ProfileStore& s, int32_t viewStart, int x0, int y0,
                          bool positions, bool heights);

} // namespace tesk::coords
