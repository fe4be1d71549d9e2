#pragma once
// Checked access to the frame slots for the editing commands.
//
// Every frame an editing command reads or writes goes through Slots. The
// commands bound their ranges themselves; Slots is the net under them: a slot
// outside 0..64000 reads as an empty frame, a write to it goes nowhere, and
// the access is counted so that tests can prove it never happens.

#include "store/profile_store.h"

#include <cstdint>
#include <cstring>

namespace tesk::editing {

inline bool isSlot(int i) {
    return i >= 0 && i <= MAX_FRAME_INDEX;
}

// Accesses to slots outside 0..64000 since the program started (tests only).
uint64_t outOfRangeAccesses();

class Slots {
  public:
    explicit Slots(ProfileStore& s) : f_(s.frames()) {}
    FrameRecord& operator[](int i) const { return isSlot(i) ? f_[i] : outside(); }
    uint8_t* value(int i) const { return (*this)[i].value.data(); }
    bool inProfile(int i) const { return isSlot(i) && f_[i].inProfile(); }

  private:
    static FrameRecord& outside();
    FrameRecord* f_;
};

inline bool valueEmpty(const FrameRecord& f) {
    const uint8_t* p = f.value.data();
    for (int i = 0; i < CELLS_PER_FRAME; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w != 0) return false;
    }
    return true;
}

inline void emptyValue(FrameRecord& f) {
    f.value.fill(0);
}

} // namespace tesk::editing
