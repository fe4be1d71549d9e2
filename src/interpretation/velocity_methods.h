#pragma once
// The four velocity methods behind GODOGRAF, each drawing into
// session.drawing. Internal to the velocity fitting.

#include "interpretation/velocity_fit.h"

namespace tesk::velocity {

VelocityOutcome hyperbola(VelocityContext& c);
VelocityOutcome hodograph(VelocityContext& c);
VelocityOutcome tracking(VelocityContext& c);
VelocityOutcome scan(VelocityContext& c);

// The curves of method 0 for an apex and a velocity code.
void drawHyperbola(OverlayDrawing& d, Pick apex, int velocityCode, const VelocitySettings& s);
// The curves of method 1 for the boundaries of the cursor frame; the current
// hodograph is drawn with `currentCode` instead of its table velocity when
// that is given.
void drawHodographs(OverlayDrawing& d, const VelocityContext& c, std::optional<int> currentCode);

// Amplitude codes of view column `column` as displayed (raster row 20 + column).
inline const uint8_t* displayedTrace(const DisplayRaster& r, int column) {
    return r.row(0, DisplayRaster::FIRST_VIEW_ROW + column);
}

// Moves the measurement frame of the cursor's profile to frame `to` and
// returns it: the hodograph mark leaves every frame of the profile and of the
// gap before it, the boundaries and velocities of the old measurement frame
// move with it (a profile without one keeps the cursor frame's own).
void moveMeasurementFrame(ProfileStore& s, int to);

} // namespace tesk::velocity
