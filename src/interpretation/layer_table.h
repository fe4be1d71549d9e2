#pragma once
// The layered model at the cursor frame, shown in the hodograph table
// (StringGrid4) and in column 1 of the velocity and depth table: for each
// boundary its hodograph velocity Vh (the mean velocity from the surface,
// typed or measured), the depth D = Vh x T, the velocity inside the layer
// above it Vs = (D - D_above) / dT, that layer's permittivity and, for the
// current hodograph, a conductivity estimate from the picked amplitudes.

#include "interpretation/velocity_fit.h"

namespace tesk {

// UpdateLayerTable: normalises the hodograph velocities typed in StringGrid4
// column 1, places the current boundary between its neighbours at the cursor
// frame (and moves the cursor row onto it), stores the hodograph velocity
// codes in the cursor frame, and fills StringGrid4 columns 2..5 and column 1
// of the velocity and depth table. Refreshes the echo table too.
void UpdateLayerTable(VelocityContext& c);

// StringGrid5 for a frame: rows 1..7 the time of boundary k (ns) and of its
// multiples at 2 and 3 times it; rows without a boundary and row 8 "0".
void fillEchoTable(TableModel& echo, const FrameRecord& f, double nsPerRow, char separator);

} // namespace tesk
