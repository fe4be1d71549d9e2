#pragma once
// Frame editing of the loaded survey: shift right and left, copy into and
// paste from the frame clipboard, delete, mirror along X and move up along T.
//
// Each command runs to its end on the caller's thread. It owns the busy bit
// of stateFlags: it does nothing (Outcome::Busy) when the bit is already set,
// and holds it while it runs, questions included, so the window's change
// handlers stay quiet meanwhile; the window does not set the bit around the
// call. The command asks its questions through the Interaction, records its
// changes in the history of `tools` so that they can be undone, and finishes
// the store's side of its closing steps (renumbering, frameCount, the
// data-changed bits, the state of the clipboard). The result says whether the
// window redraws; the paste button follows tools.clipboard.filled.

#include "editing/edit_inputs.h"
#include "store/interaction.h"
#include "store/profile_store.h"

namespace tesk::editing {

// "SR": shifts the frames from the cursor to frameCount right by the
// ComboBox16 number of frames (fewer at the end of the store), opening a gap
// of empty frames at the cursor.
EditResult ShiftFramesRight(ProfileStore& s, EditTools& tools, Interaction& ui,
                            const EditInputs& in);

// "SL": closes the gap after the cursor's profile (or the gap the cursor
// stands in): everything after it moves left.
EditResult ShiftFramesLeft(ProfileStore& s, EditTools& tools, Interaction& ui,
                           const EditInputs& in);

// "Ck": copies the ComboBox16 block at the cursor, or the profile at the
// cursor, into the clipboard. The store's frames do not change.
EditResult copyFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in);

// "Pk": inserts the clipboard at the cursor, moving the frames from the
// cursor on to the right.
EditResult pasteFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in);

// "Dk": deletes the ComboBox16 block or the profile at the cursor, or (left
// Ctrl) the frames between the cursor and a second point in view.
EditResult DeleteFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in,
                        DeleteRange range);

// Mirrors a block of frames along X (SpeedButton13); no question is asked.
EditResult mirrorFrames(ProfileStore& s, EditTools& tools, const EditInputs& in, BlockScope scope);

// Moves a block of frames up along T by the cursor row, or back to where they
// were recorded when the cursor is on row 0 (SpeedButton14).
EditResult moveFramesUp(ProfileStore& s, EditTools& tools, const EditInputs& in, BlockScope scope);

// The first and last slot of the mirror and move-up block, first > last when
// the block is empty.
struct SlotRange {
    int first = 0;
    int last = -1;
    bool empty() const { return first > last; }
    int size() const { return empty() ? 0 : last - first + 1; }
};
SlotRange mirrorBlock(const ProfileStore& s, int blockItem, BlockScope scope);
SlotRange moveUpBlock(const ProfileStore& s, int blockItem, BlockScope scope);

} // namespace tesk::editing
