// "cT": every trace stretched (its first half over the whole trace) or
// compressed (the whole trace into its first half), with the layer boundary
// rows following their samples and the time range stepped to match.

#include "editing/command_support.h"
#include "editing/messages.h"
#include "editing/resampling.h"
#include "editing/samples.h"

#include <algorithm>

namespace tesk::editing {

TResampling tResamplingFor(EditKeys k) {
    if (k.leftShift) return TResampling::Compress;
    if (k.leftCtrl || k.rightCtrl || k.rightShift) return TResampling::None;
    return TResampling::Expand;
}

namespace {

constexpr int BOUNDARIES = 7;

void expandFrame(FrameRecord& f) {
    expandSamples(f.value.data());
    for (int r = 0; r < BOUNDARIES; ++r) {
        const int c = cell::Boundary1 + 2 * r;
        const uint32_t row = f.get16(c) * 2;
        // A boundary that leaves the recorded samples is no boundary any more.
        f.set16(c, row < uint32_t(SAMPLES_PER_FRAME) ? row : 0);
    }
}

void compressFrame(FrameRecord& f) {
    compressSamples(f.value.data());
    for (int r = 0; r < BOUNDARIES; ++r) {
        const int c = cell::Boundary1 + 2 * r;
        f.set16(c, f.get16(c) / 2);
    }
}

} // namespace

EditResult resampleT(ProfileStore& s, EditTools& tools, Interaction& ui, TResampling variant) {
    if (busy(s)) return busyResult();
    bool timeRangeChanged = false;
    {
        BusyGuard hold(s);
        const int item = s.header.value[hdr::TimeRange];
        const int n = surveyEnd(s);
        if (variant == TResampling::Expand) {
            if (ui.show(msg::confirmExpandT()) != Answer::Yes)
                return EditResult{Outcome::Declined, false, false};
            if (item == 0 && ui.show(msg::expandAtMaximum()) != Answer::Yes)
                return EditResult{Outcome::Declined, false, false};
        } else if (variant == TResampling::Compress) {
            if (item == LAST_TIME_RANGE_ITEM) {
                ui.show(msg::compressAtMaximum());
                return EditResult{Outcome::Refused, false, false};
            }
            if (ui.show(msg::confirmCompressT()) != Answer::Yes)
                return EditResult{Outcome::Declined, false, false};
        }
        if (variant != TResampling::None) {
            EditJournal j(s, EditKind::ResampleT);
            j.sweepBefore(0, n);
            const Slots f(s);
            for (int i = 0; i <= n; ++i) {
                j.keepUpTo(i);
                // An empty frame stays empty either way.
                if (valueEmpty(f[i])) continue;
                if (variant == TResampling::Expand)
                    expandFrame(f[i]);
                else
                    compressFrame(f[i]);
            }
            int next = item;
            if (variant == TResampling::Expand && item > 0) next = item - 1;
            if (variant == TResampling::Compress && item < LAST_TIME_RANGE_ITEM) next = item + 1;
            s.header.value[hdr::TimeRange] = uint8_t(next);
            timeRangeChanged = next != item;
            tools.history.commit(s, std::move(j));
        }
    }
    s.stateFlags |= state::Changed;
    tools.clipboard.filled = false;
    return EditResult{Outcome::Done, true, timeRangeChanged};
}

} // namespace tesk::editing
