#pragma once
// Moving a picked row along its trace to the nearest phase of the signal:
// a maximum, a zero crossing (code 128) or a minimum, as ComboBox36 chooses.
// Two walks exist: the one that places the picks of the velocity methods
// (and tracks a phase in the automatic method), and the one that keeps a
// layer boundary on its reflection. They differ in where a flat top lands
// and in what happens when no phase is found.
//
// A trace is given as its raster row: sample columns 0..527 hold amplitude
// codes (0 no data, 128 zero amplitude), the columns after them are the
// frame's attribute cells and are never read as samples.

#include <cstdint>
#include <optional>

namespace tesk {

enum class Phase { Maximum = 0, Zero = 1, Minimum = 2 }; // ComboBox36 items

Phase phaseOfItem(int comboBox36Item);

// Pick snapping. From `row`, at most `steps` steps while 0 < r < 511:
// maximum climbs to the nearest local maximum (the middle of a flat top,
// counted from its lower end), minimum likewise downwards, zero finds the
// nearest row above or below whose code is 128 or lies on the other side of
// 128 than the start (the upper candidate first; a start exactly on 128
// gives the top of its run of 128s). Empty when no phase was found.
std::optional<int> snapPick(const uint8_t* trace, int row, Phase phase, int steps = 512);
// The snapped row, or `row` itself when no phase was found.
inline int snapPickRow(const uint8_t* trace, int row, Phase phase, int steps = 512) {
    return snapPick(trace, row, phase, steps).value_or(row);
}

// Boundary snapping. The boundary row r of a trace shifted `shift` rows
// down (the relief display) is compared at columns shift + r. Maximum and
// minimum end in the middle of a flat top (its second row of four) and,
// without a result, where the walk stopped: maximum can reach row 0 (the
// boundary disappears from the frame), minimum stops at row 1. Zero keeps
// the row when it finds no crossing. The result lies in 0..511.
int snapBoundaryRow(const uint8_t* trace, int shift, int row, Phase phase);

} // namespace tesk
