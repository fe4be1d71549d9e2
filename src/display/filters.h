#pragma once
// The filter pass over the display raster: two low-pass kinds (weighted
// means along the frames, along time and along both diagonals) and their
// high-pass counterparts. Means are formed on the linear amplitude scale of
// the level table and mapped back to a code by the table's inverse: the
// largest code whose level does not exceed the mean.
//
// A pass processes rows 0..551 and columns 0..511 of the raster's active
// plane in place; plane 1 is its scratch plane. Cells with code 0 (no data)
// never change.

#include "display/display_raster.h"

#include <array>
#include <cstdint>

namespace tesk {

// Filter kinds, as the items of the kind boxes.
namespace filter_kind {
inline constexpr int LowPass1 = 0;  // " LF 1": weighted means, no-data cells skipped
inline constexpr int HighPass1 = 1; // " HF 1": code minus the LF 1 mean, around 128
inline constexpr int LowPass2 = 2;  // " LF 2": repeated in-place neighbour passes
inline constexpr int HighPass2 = 3; // " HF 2": code minus the LF 2 result, around 128
} // namespace filter_kind

// One filter row of the options panel: the kind and the three parameters
// (item indexes 0..19). L acts along the frames (raster rows), T along time
// (raster columns), X along both diagonals.
struct FilterRow {
    int kind = filter_kind::LowPass1;
    int L = 0;
    int T = 0;
    int X = 0;
};

inline constexpr int MAX_FILTER_PARAMETER = 19;

// A filter runs only when at least one of its parameters is above 0.
bool filterActive(const FilterRow& row);

// One filter pass over rows 0..551, columns 0..511 of raster.activePlane.
// levelTable maps codes to the linear amplitude scale (in every level table
// entry 0 is 0 and the entries rise with the code; the results follow the
// rules for any table). Does nothing when the row is not active or its kind
// is unknown; parameters above 19 count as 19, below 0 as 0.
//
// Plane 1 is left as the pass leaves it: the LF 1 means for LF 1 and HF 1,
// the unfiltered codes for HF 2, untouched for LF 2. When the active plane
// is plane 1 itself, a private buffer stands in for the scratch plane.
void FLTR(DisplayRaster& raster, const FilterRow& row, const std::array<uint32_t, 256>& levelTable);

// The two filter stages of the radargram chain: active plane 0, filter
// number 0 and the first row when it is active, then filter number 1 and the
// second row when it is active; the filter number ends at 0.
void filterRadargram(DisplayRaster& raster, const FilterRow& first, const FilterRow& second,
                     const std::array<uint32_t, 256>& levelTable);

} // namespace tesk
