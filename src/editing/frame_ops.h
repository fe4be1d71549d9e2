#pragma once
// The changes to the frame sequence that the editing commands are made of,
// each on the value bytes only (the work bytes, where the frame clipboard
// lives, stay where they are). The journaled forms tell an EditJournal what
// they change before they change it; a null journal records nothing.

#include "editing/edit_history.h"
#include "store/profile_store.h"

namespace tesk::editing {

// Value bytes of `count` slots from src to dst, as one block; the slots of the
// source the destination does not cover are emptied. Both ranges must lie in
// 0..64000.
void moveValues(ProfileStore& s, int src, int dst, int count);
void moveFrames(ProfileStore& s, EditJournal* j, int src, int dst, int count);

// Sets every value byte of slots first..last to 0 (the range is clipped).
void emptyFrames(ProfileStore& s, EditJournal* j, int first, int last);

// Reverses the order of slots first..last in place and toggles their
// reversed-direction flags: a mirror along X, which is its own inverse.
void reverseValues(ProfileStore& s, int first, int last);

// Samples 0..527 of a frame rotated up by `positions` (mod 528): new sample k
// is old sample (k + positions) mod 528.
void rotateSamplesUp(FrameRecord& f, int positions);

// The rotation the move-up command gives a frame whose vertical shift
// accumulator is `shift`, for cursor row `row`.
int moveUpRotation(int row, uint32_t shift);
// One frame moved up in time with cursor row `row`: rotated, its
// accumulator advanced (row > 0) or reset to 0 (row <= 0).
void moveUpFrame(FrameRecord& f, int row);

// Frames a doubling along X makes of source frames 0..lastSource: two for a
// frame in a profile, one for a gap frame.
int doubledFrames(const ProfileStore& s, int lastSource);
// Doubling in place: source frame i lands on the slot after the frames made
// of the sources before it, followed, when it is in a profile, by the frame
// between it and its right neighbour. New frames past newN are dropped;
// slots after the last new frame up to clearTo become empty.
void doubleValues(ProfileStore& s, int lastSource, int newN, int clearTo);
// The inverse of a doubling that dropped nothing, for slots 0..lastSource:
// every source frame taken back from where the doubling put it.
void undoubleValues(ProfileStore& s, int lastSource);

// Renumbers the profiles over slots 0..frameCount and sets frameCount (and
// its header copy) to the last in-profile frame rounded down to a multiple of
// 20, plus 40, at most 64000.
void SdvPrf(ProfileStore& s, EditJournal* j);

} // namespace tesk::editing
