#pragma once
// Pieces the editing and resampling commands share: the busy bit held while
// a command runs, profile scans bounded by the store, the closing steps.

#include "editing/edit_inputs.h"
#include "editing/slots.h"
#include "store/profile_store.h"

#include <algorithm>

namespace tesk::editing {

inline bool inProfileAt(const ProfileStore& s, int i) {
    return isSlot(i) && s.frame(i).inProfile();
}

inline int clampSlot(int i) {
    return std::clamp(i, 0, MAX_FRAME_INDEX);
}

// frameCount as the commands use it: never past the store's last slot.
inline int surveyEnd(const ProfileStore& s) {
    return clampSlot(s.frameCount);
}

// Holds the busy bit of stateFlags while a command runs, so that the
// change handlers of the window do nothing meanwhile.
class BusyGuard {
  public:
    explicit BusyGuard(ProfileStore& s) : s_(s) { s_.stateFlags |= state::Busy; }
    ~BusyGuard() { s_.stateFlags &= uint16_t(~state::Busy); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    ProfileStore& s_;
};

inline bool busy(const ProfileStore& s) {
    return s.stateFlags & state::Busy;
}

inline EditResult busyResult() {
    return EditResult{Outcome::Busy, false, false};
}

// The profile around frame c, which has the in-profile flag: the first frame
// steps back while the previous frame has the flag, the last steps forward
// from the first while the next one has it, at most frameCount - first + 1
// steps and never past the store's last slot.
struct ProfileSpan {
    int first;
    int last;
};
inline ProfileSpan profileAround(const ProfileStore& s, int c) {
    int first = c;
    while (first > 0 && inProfileAt(s, first - 1)) --first;
    int last = first;
    for (int steps = 0; steps < s.frameCount - first + 1 && inProfileAt(s, last + 1); ++steps)
        ++last;
    return {first, std::max(last, c)};
}

} // namespace tesk::editing
