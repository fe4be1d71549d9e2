#pragma once
// Resampling of the loaded survey in place: "cX" doubles or halves the
// frames along X or fits the profile at the cursor to the cursor; "cT"
// stretches or compresses every trace along T and steps the time range.
// The commands hold the busy bit, ask through the Interaction, record their
// changes in the history of `tools` and finish the store's side of their
// closing steps; the result says whether the window redraws.

#include "editing/edit_inputs.h"
#include "store/interaction.h"
#include "store/profile_store.h"

namespace tesk::editing {

// "cX" (SpeedButton31).
EditResult resampleX(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in,
                     XResampling variant);

// "cT" (SpeedButton32). The new time range item is in header cell 18.
EditResult resampleT(ProfileStore& s, EditTools& tools, Interaction& ui, TResampling variant);

// Highest item of ComboBox11 (16384 ns).
inline constexpr int LAST_TIME_RANGE_ITEM = 7;

} // namespace tesk::editing
