#pragma once
// Profile correction (Kor_LX): every profile rebuilt so that consecutive
// frames lie one profile step apart along the UCS track. Frames closer than
// half a step to the last kept one are dropped, the frame nearest one step
// on is kept and moved onto the step, and a long gap is filled with copies of
// the frame after it, one step apart. Markers of dropped frames move to the
// kept frame. The new sequence is built in the work bytes and copied back.

#include "store/interaction.h"
#include "store/profile_store.h"

#include <cstdint>

namespace tesk::coords {

struct CorrectionSettings {
    uint16_t meanProfileStep = 0; // cm, from the last recalculation
    int stepItem = 1;             // ComboBox12
};

struct CorrectionResult;

// The step-table item proposed for a mean step m: the first entry above m
// (from the second entry on) or the one before it, whichever is nearer (the
// lower one on a tie); the largest entry when none lies above m.
int proposedStepItem(uint16_t meanProfileStep);

// Highest output frame the correction writes.
inline constexpr int CORRECTION_LIMIT = 63900;

// Asks which step to use (Yes: the proposal, No: the current step, Cancel:
// nothing), rebuilds the profiles, sets the new frameCount (a multiple of 20
// plus 40) and viewStart 0. ORs 0x3000 into stateFlags when it ran.
CorrectionResult Kor_LX(ProfileStore& store, const CorrectionSettings& settings, Interaction& ui);

} // namespace tesk::coords

#include "coordinates/recalc.h"
