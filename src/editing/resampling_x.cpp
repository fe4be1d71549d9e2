// "cX": doubling and halving of the whole survey along X, and the fit of one
// profile so that it ends at the cursor.

#include "editing/command_support.h"
#include "editing/frame_ops.h"
#include "editing/messages.h"
#include "editing/resampling.h"
#include "editing/samples.h"

#include <algorithm>

namespace tesk::editing {

XResampling xResamplingFor(EditKeys k) {
    const bool shift = k.leftShift || k.rightShift;
    if (shift && k.leftCtrl) return XResampling::HalveThenFit;
    if (shift) return XResampling::Halve;
    if (k.leftCtrl) return XResampling::Fit;
    return XResampling::Double;
}

namespace {

// Highest source frame of a doubling: the rest of a long survey is dropped.
constexpr int DOUBLING_LAST_SOURCE = 31990;

// Value bytes of a slot, or an empty frame for a slot past the store's end.
const uint8_t* sourceFrame(const Slots& f, int i) {
    static const std::array<uint8_t, CELLS_PER_FRAME> empty{};
    return isSlot(i) ? f.value(i) : empty.data();
}

bool doubleAlongX(ProfileStore& s, Interaction& ui, EditJournal& j) {
    const int n = surveyEnd(s);
    if (n >= 31999 && ui.show(msg::doublingTooLarge()) != Answer::Yes) return false;
    if (ui.show(msg::confirmDoubling()) != Answer::Yes) return false;
    const int lastSource = n > 32000 ? DOUBLING_LAST_SOURCE : n;
    const int outputs = doubledFrames(s, lastSource);
    // A doubled survey of more than 63999 frames keeps its first 63990.
    const int newN = outputs > 63999 ? MAX_LOADED_FRAME : outputs;
    const int clearTo = std::max(newN, n);
    if (outputs <= newN) {
        // Nothing of the sources is lost: undo can take each source frame back
        // from where the doubling put it.
        j.doublingBefore(lastSource, newN, clearTo);
    } else {
        j.framesBefore(0, clearTo);
    }
    doubleValues(s, lastSource, newN, clearTo);
    s.frameCount = newN;
    return true;
}

enum class Halved { No, Declined, Done };

Halved halveAlongX(ProfileStore& s, Interaction& ui, EditJournal& j) {
    if (ui.show(msg::confirmHalving()) != Answer::Yes) return Halved::Declined;
    const int n = surveyEnd(s);
    if (n < 20) return Halved::No;
    const int lastOutput = (n + 40) / 2;
    const int lastSource = std::min(2 * lastOutput + 1, MAX_FRAME_INDEX);
    j.sweepBefore(0, lastSource);
    const Slots f(s);
    std::array<uint8_t, CELLS_PER_FRAME> out;
    // In place from the start: output jo lands on slot jo <= 2 jo, whose
    // frame has already been read.
    for (int jo = 0; jo <= lastOutput; ++jo) {
        j.keepUpTo(2 * jo + 1);
        mergedFrame(sourceFrame(f, 2 * jo), sourceFrame(f, 2 * jo + 1), out.data());
        f[jo].value = out;
    }
    // Every source frame is used up: the second half of the store is empty.
    for (int i = lastOutput + 1; i <= lastSource; ++i) emptyValue(f[i]);
    s.frameCount = n / 2 + 20;
    return Halved::Done;
}

// What a fit did: nothing (a silent early exit), or the slots whose work
// bytes it built its frames in.
struct Fitted {
    bool done = false;
    int firstWork = 0;
    int lastWork = -1;
};

// Stretches the profile before a cursor standing in a gap so that it ends at
// the cursor, at most twofold. Nothing when there is no profile before it.
Fitted stretchToCursor(ProfileStore& s, EditJournal& j, int c) {
    const Slots f(s);
    int e = c - 1;
    while (e > 0 && !f.inProfile(e)) --e;
    if (e < 0 || !f.inProfile(e)) return {};
    int a = e;
    while (a > 0 && f.inProfile(a)) --a;
    const int length = e - a;
    const int gap = c - e;
    int t = c - a;
    double q = double(length) / double(gap);
    if (q < 1) {
        q = 1;
        t = 2 * length;
    }
    if (s.frameCount <= c) s.frameCount = std::min(c + 20, MAX_FRAME_INDEX);
    const int lastOut = a + t; // never past the cursor
    int d = a;
    double threshold = q;
    for (int i = 0; i <= length && d <= lastOut; ++i) {
        f[d].work = f[a + i].value;
        if (i >= threshold) {
            if (d + 1 <= lastOut)
                interpolatedFrame(f.value(a + i), sourceFrame(f, a + i + 1), f[d + 1].work.data());
            threshold += q;
            ++d;
        }
        ++d;
    }
    // Rounding of the thresholds can leave the last slot without an output
    // frame: it keeps what it held, never stale work bytes.
    const int produced = std::min(d, lastOut + 1) - 1;
    j.framesBefore(a, produced);
    for (int i = a; i <= produced; ++i) f[i].value = f[i].work;
    return {true, a, produced};
}

// Compresses the profile around the cursor so that it ends at the cursor, at
// most twofold; the frames after its new end become empty. Nothing when the
// cursor stands on the profile's last frame.
Fitted compressToCursor(ProfileStore& s, EditJournal& j, int c) {
    const Slots f(s);
    int a = c;
    while (a > 0 && f.inProfile(a)) --a;
    int b = c;
    for (int steps = 0; steps < s.frameCount - c + 2 && f.inProfile(b); ++steps) ++b;
    const int t = b - a;
    const int r = b - c;
    int k = c - a;
    if (r < 2) return {};
    double q = double(k) / double(r);
    if (q < 1) {
        q = 1;
        k = t / 2;
    }
    // Only the outputs up to a + k are kept, so the walk stops there.
    int src = a;
    double threshold = q;
    for (int i = 0; i <= k; ++i) {
        uint8_t* out = f[a + i].work.data();
        if (i >= threshold) {
            mergedFrame(sourceFrame(f, src), sourceFrame(f, src + 1), out);
            ++src;
            threshold += q;
        } else {
            std::memcpy(out, sourceFrame(f, src), CELLS_PER_FRAME);
        }
        ++src;
    }
    const int last = std::min(a + t, MAX_FRAME_INDEX);
    j.framesBefore(a, last);
    for (int i = a; i <= last; ++i) {
        if (i - a <= k)
            f[i].value = f[i].work;
        else
            emptyValue(f[i]);
    }
    return {true, a, a + k};
}

Fitted fitToCursor(ProfileStore& s, EditJournal& j, int c) {
    return inProfileAt(s, c) ? compressToCursor(s, j, c) : stretchToCursor(s, j, c);
}

} // namespace

EditResult resampleX(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in,
                     XResampling variant) {
    if (busy(s)) return busyResult();
    bool changed = false;
    Fitted fit;
    Outcome outcome = Outcome::Done;
    {
        BusyGuard hold(s);
        EditJournal j(s, EditKind::ResampleX);
        const int c = clampSlot(in.cursorFrame);
        switch (variant) {
        case XResampling::Double:
            changed = doubleAlongX(s, ui, j);
            if (!changed) outcome = Outcome::Declined;
            break;
        case XResampling::Halve:
        case XResampling::HalveThenFit: {
            const Halved h = halveAlongX(s, ui, j);
            changed = h == Halved::Done;
            if (!changed) {
                outcome = h == Halved::Declined ? Outcome::Declined : Outcome::EarlyExit;
                break;
            }
            // The fit follows on the halved store; its silent early exits
            // leave the halving standing, and it still closes like a change.
            if (variant == XResampling::HalveThenFit) fit = fitToCursor(s, j, c);
            break;
        }
        case XResampling::Fit:
            fit = fitToCursor(s, j, c);
            changed = fit.done;
            if (!changed) outcome = Outcome::EarlyExit;
            break;
        }
        if (changed) {
            SdvPrf(s, &j);
            tools.history.commit(s, std::move(j));
        }
    }
    if (!changed) return EditResult{outcome, false, false};
    s.stateFlags |= state::Changed;
    // The fit builds its frames in the work bytes: a clipboard there is lost.
    Clipboard& clip = tools.clipboard;
    if (fit.done && fit.firstWork <= clip.clipLast && fit.lastWork >= 0) clip.filled = false;
    return EditResult{Outcome::Done, true, false};
}

} // namespace tesk::editing
