#pragma once
// The sample arithmetic of the resamplings, on the 528 sample rows of a
// frame (value bytes 0..527), sixteen samples at a time.

#include "store/profile_store.h"

#include <cstdint>

namespace tesk::editing {

// Samples of `out` = midpoints (s + t) div 2 of the samples s of a and t of
// b under the zero rule: data never spreads into an empty neighbour (t = 0
// counts as s) and an empty sample never spreads into data (s = 0 makes t
// count as 0).
void midpointSamples(const uint8_t* a, const uint8_t* b, uint8_t* out);

// The first 265 samples stretched over the trace: sample 2k = old k, sample
// 2k + 1 = (old k + old k + 1) div 2, for k = 0..263.
void expandSamples(uint8_t* samples);

// The trace compressed into its first half: sample k = (old 2k + old 2k + 1)
// div 2 for k = 0..256, then from v = old sample 513 samples 257..527 fall by
// one per row, v, v - 1, ..., and stay at 0.
void compressSamples(uint8_t* samples);

// The frame between frame a and its right neighbour b, as the doubling and
// the stretch insert it: zero-rule midpoint samples, a's status without its
// marker, a's other attributes. `out` may be b.
void interpolatedFrame(const uint8_t* a, const uint8_t* b, uint8_t* out);

// Two neighbouring frames merged into one, as the halving and the compression
// build it: zero-rule midpoint samples, the status bits of both (in profile if
// either was, both markers kept), a's other attributes.
void mergedFrame(const uint8_t* a, const uint8_t* b, uint8_t* out);

} // namespace tesk::editing
