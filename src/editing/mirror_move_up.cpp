// Mirror along X and move up along T: both work on a block of frames chosen
// by the modifier keys, change no frame positions outside it and do not
// renumber the profiles.

#include "editing/command_support.h"
#include "editing/frame_editing.h"
#include "editing/frame_ops.h"

#include <algorithm>

namespace tesk::editing {

BlockScope blockScopeFor(EditKeys k) {
    if (k.leftShift) return BlockScope::ViewProfile;
    if (k.leftCtrl) return BlockScope::WholeSurvey;
    return BlockScope::ViewBlock;
}

namespace {

// The profile at the first frame in view: the profile containing it, or the
// first one after it. Each scan takes at most frameCount + 1 steps.
SlotRange profileAtView(const ProfileStore& s) {
    const int limit = s.frameCount + 1;
    int a = clampSlot(s.viewStart);
    if (inProfileAt(s, a)) {
        for (int steps = 0; steps < limit && a > 0 && inProfileAt(s, a - 1); ++steps) --a;
    } else {
        for (int steps = 0; steps < limit && a < MAX_FRAME_INDEX && !inProfileAt(s, a); ++steps)
            ++a;
        // No profile after the view start: nothing to take.
        if (!inProfileAt(s, a)) return {};
    }
    int b = a;
    for (int steps = 0; steps < limit && inProfileAt(s, b + 1); ++steps) ++b;
    return {a, b};
}

void closeMirrorOrMoveUp(ProfileStore& s, EditTools& tools) {
    tools.clipboard.filled = false;
    s.stateFlags |= state::Changed;
}

} // namespace

SlotRange mirrorBlock(const ProfileStore& s, int blockItem, BlockScope scope) {
    switch (scope) {
    case BlockScope::ViewProfile:
        return profileAtView(s);
    case BlockScope::WholeSurvey: {
        for (int i = std::min(s.frameCount - 1, MAX_FRAME_INDEX); i >= 0; --i)
            if (inProfileAt(s, i)) return {0, i};
        return {};
    }
    case BlockScope::ViewBlock:
        break;
    }
    // From the first frame in view: the gap before the first profile frame
    // counts against the block size, then consecutive profile frames.
    int n = blockFrames(blockItem);
    int a = clampSlot(s.viewStart);
    int stepped = 0;
    while (stepped < n && a < MAX_FRAME_INDEX && !inProfileAt(s, a)) {
        ++a;
        ++stepped;
    }
    n -= stepped;
    int b = a - 1;
    while (b + 1 - a < n && inProfileAt(s, b + 1)) ++b;
    return {a, b};
}

SlotRange moveUpBlock(const ProfileStore& s, int blockItem, BlockScope scope) {
    switch (scope) {
    case BlockScope::ViewProfile:
        return profileAtView(s);
    case BlockScope::WholeSurvey:
        return {0, std::clamp(s.frameCount, 0, MAX_FRAME_INDEX)};
    case BlockScope::ViewBlock:
        break;
    }
    const int a = clampSlot(s.viewStart);
    return {a, std::min(a + blockFrames(blockItem) - 1, MAX_FRAME_INDEX)};
}

EditResult mirrorFrames(ProfileStore& s, EditTools& tools, const EditInputs& in, BlockScope scope) {
    if (busy(s)) return busyResult();
    {
        BusyGuard hold(s);
        const SlotRange r = mirrorBlock(s, in.blockItem, scope);
        if (!r.empty()) {
            EditJournal j(s, EditKind::Mirror);
            j.mirrorBefore(r.first, r.last);
            // The reversed block is built in the work bytes of the same
            // frames, then becomes their value bytes.
            const Slots f(s);
            for (int k = 0; k <= r.last - r.first; ++k) f[r.first + k].work = f[r.last - k].value;
            for (int i = r.first; i <= r.last; ++i) {
                f[i].value = f[i].work;
                f[i].value[cell::Status] ^= status::Reversed;
            }
            tools.history.commit(s, std::move(j));
        }
    }
    closeMirrorOrMoveUp(s, tools);
    return EditResult{Outcome::Done, true, false};
}

EditResult moveFramesUp(ProfileStore& s, EditTools& tools, const EditInputs& in, BlockScope scope) {
    if (busy(s)) return busyResult();
    {
        BusyGuard hold(s);
        const SlotRange r = moveUpBlock(s, in.blockItem, scope);
        if (!r.empty()) {
            EditJournal j(s, EditKind::MoveUp);
            j.moveUpBefore(r.first, r.last, in.cursorRow);
            const Slots f(s);
            for (int i = r.first; i <= r.last; ++i) moveUpFrame(f[i], in.cursorRow);
            tools.history.commit(s, std::move(j));
        }
    }
    closeMirrorOrMoveUp(s, tools);
    return EditResult{Outcome::Done, true, false};
}

} // namespace tesk::editing
