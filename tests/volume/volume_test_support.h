#pragma once
// Shared pieces of the volume tests: one grid for the whole program (it is
// 164 MB), small hand-placed surveys and an interaction that counts the
// progress calls.

#include "support/store_test_support.h"
#include "volume/volume_build.h"

#include <memory>

namespace tesk::testing {

inline VolumeGrid& sharedGrid() {
    static const std::unique_ptr<VolumeGrid> grid = std::make_unique<VolumeGrid>();
    return *grid;
}

// Frame `slot`: in profile, every sample (and the fill rows) `code`, at the
// rectangular position (x, y) cm.
inline void placeFrame(ProfileStore& s, int slot, int32_t x, int32_t y, uint8_t code,
                       int marker = 0) {
    FrameRecord& f = s.frame(slot);
    for (int c = 0; c < SAMPLE_ROWS; ++c) f.value[c] = code;
    f.value[cell::Status] = uint8_t(status::InProfile | marker);
    f.set32(cell::UcsX, uint32_t(x));
    f.set32(cell::UcsY, uint32_t(y));
    if (slot > s.frameCount - 1) s.frameCount = slot + 1;
}

// A straight profile of `frames` frames from (x, y), one frame every (dx,
// dy) cm, starting at slot `first`; returns the slot after it (left blank
// as the gap to the next profile).
inline int placeProfile(ProfileStore& s, int first, int frames, int32_t x, int32_t y, int32_t dx,
                        int32_t dy, uint8_t code) {
    for (int i = 0; i < frames; ++i) placeFrame(s, first + i, x + i * dx, y + i * dy, code);
    return first + frames + 1;
}

// Records the pass calls besides the messages.
class CountingInteraction final : public Interaction {
  public:
    Answer show(const Message& m) override {
        shown.push_back(m);
        return Answer::Ok;
    }
    void passStarted(Pass pass, const std::string&) override {
        ++started;
        lastPass = pass;
    }
    void progress(int64_t, int64_t) override { ++progressCalls; }
    void passFinished() override { ++finished; }
    std::vector<Message> shown;
    int started = 0, finished = 0;
    int64_t progressCalls = 0;
    Pass lastPass = Pass::Load;
};

inline VolumeSettings settingsFor(int method) {
    VolumeSettings v;
    v.method = method;
    return v;
}

} // namespace tesk::testing
