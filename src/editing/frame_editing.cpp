#include "editing/frame_editing.h"

#include "editing/command_support.h"
#include "editing/frame_ops.h"
#include "editing/messages.h"

#include <algorithm>

namespace tesk::editing {

namespace {

// Closing steps of shift right, shift left and delete, which run also after
// a No: the survey counts as changed and the clipboard is given up.
EditResult closeShiftOrDelete(ProfileStore& s, EditTools& tools, Outcome outcome) {
    s.stateFlags |= state::Changed;
    tools.clipboard.filled = false;
    return EditResult{outcome, true, false};
}

bool yes(Interaction& ui, const Message& m) {
    return ui.show(m) == Answer::Yes;
}

} // namespace

DeleteRange deleteRangeFor(EditKeys k) {
    return k.leftCtrl ? DeleteRange::SecondPoint : DeleteRange::Block;
}

EditResult ShiftFramesRight(ProfileStore& s, EditTools& tools, Interaction& ui,
                            const EditInputs& in) {
    if (busy(s)) return busyResult();
    Outcome outcome = Outcome::Done;
    {
        BusyGuard hold(s);
        const int k = blockFrames(in.blockItem);
        const int n = surveyEnd(s);
        int target = n + k;
        if (!yes(ui, msg::confirmShiftRight(k))) {
            outcome = Outcome::Declined;
        } else if (target > MAX_LOADED_FRAME && !yes(ui, msg::shiftRightCritical())) {
            outcome = Outcome::Declined;
        } else {
            target = std::min(target, MAX_LOADED_FRAME);
            // A survey already past the limit has no room left: nothing moves.
            const int shift = std::max(target - n, 0);
            const int c = clampSlot(in.cursorFrame);
            EditJournal j(s, EditKind::ShiftRight);
            if (c <= n) moveFrames(s, &j, c, c + shift, n - c + 1);
            s.frameCount = n + shift;
            SdvPrf(s, &j);
            tools.history.commit(s, std::move(j));
        }
    }
    return closeShiftOrDelete(s, tools, outcome);
}

EditResult ShiftFramesLeft(ProfileStore& s, EditTools& tools, Interaction& ui,
                           const EditInputs& in) {
    if (busy(s)) return busyResult();
    Outcome outcome = Outcome::Done;
    {
        BusyGuard hold(s);
        if (!yes(ui, msg::confirmShiftLeft())) {
            outcome = Outcome::Declined;
        } else {
            const int n = surveyEnd(s);
            const int c = clampSlot(in.cursorFrame);
            // Destination: the cursor, or past the end of the cursor's profile.
            int d = c;
            for (int steps = 0; steps < n - c + 1 && d < MAX_FRAME_INDEX && inProfileAt(s, d);
                 ++steps)
                ++d;
            // Source: the next in-profile frame after the gap.
            int src = d;
            for (int steps = 0; steps < n - d + 1 && src < MAX_FRAME_INDEX && !inProfileAt(s, src);
                 ++steps)
                ++src;
            EditJournal j(s, EditKind::ShiftLeft);
            const int repeats = n - d + 1;
            if (repeats > 0 && src > d) {
                // Sources past the last slot do not exist: their destinations
                // become empty.
                const int count = std::min(repeats, MAX_FRAME_INDEX + 1 - src);
                moveFrames(s, &j, src, d, count);
                emptyFrames(s, &j, d + count, n);
            }
            SdvPrf(s, &j);
            tools.history.commit(s, std::move(j));
        }
    }
    return closeShiftOrDelete(s, tools, outcome);
}

EditResult copyFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in) {
    if (busy(s)) return busyResult();
    BusyGuard hold(s);
    const int c = clampSlot(in.cursorFrame);
    int first = c;
    int count = 0;
    if (in.blockItem == PROFILE_ITEM) {
        if (!inProfileAt(s, c)) {
            ui.show(msg::noProfileAtCursor());
            return EditResult{Outcome::Refused, false, false};
        }
        const ProfileSpan p = profileAround(s, c);
        first = p.first;
        count = p.last - p.first + 1;
    } else {
        // Frames past the last slot do not exist and are not copied.
        count = std::min(blockFrames(in.blockItem), MAX_FRAME_INDEX + 1 - c);
    }
    const Slots f(s);
    for (int k = 0; k < count; ++k)
        std::memcpy(f[k].work.data(), f.value(first + k), CELLS_PER_FRAME);
    tools.clipboard.clipLast = count - 1;
    tools.clipboard.filled = true;
    s.stateFlags |= state::Changed;
    return EditResult{Outcome::Done, false, false};
}

EditResult pasteFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in) {
    if (busy(s)) return busyResult();
    const Clipboard clip = tools.clipboard;
    if (!clip.filled || clip.clipLast < 0) return EditResult{Outcome::Refused, false, false};
    BusyGuard hold(s);
    const int n = surveyEnd(s);
    const int m = clip.clipLast + 1;
    const int c = clampSlot(in.cursorFrame);
    // The last frame after the paste: the old end moved by the clipboard, or
    // the clipboard's end when it lands past the old end.
    const int newEnd = std::max(n, c - 1) + m;
    if (n + blockFrames(in.blockItem) > 63999 || newEnd > 63999) {
        ui.show(msg::pasteTooLarge());
        return EditResult{Outcome::Refused, false, false};
    }
    EditJournal j(s, EditKind::Paste);
    if (c <= n) moveFrames(s, &j, c, c + m, n - c + 1);
    j.framesBefore(c, c + m - 1);
    const Slots f(s);
    for (int k = 0; k < m; ++k) std::memcpy(f.value(c + k), f[k].work.data(), CELLS_PER_FRAME);
    s.frameCount = newEnd;
    SdvPrf(s, &j);
    tools.history.commit(s, std::move(j));
    s.stateFlags |= state::Changed;
    tools.clipboard.filled = false;
    return EditResult{Outcome::Done, true, false};
}

EditResult DeleteFrames(ProfileStore& s, EditTools& tools, Interaction& ui, const EditInputs& in,
                        DeleteRange range) {
    if (busy(s)) return busyResult();
    Outcome outcome = Outcome::Done;
    {
        BusyGuard hold(s);
        const int c = clampSlot(in.cursorFrame);
        const int second = in.secondFrame;
        const int view = s.viewStart;
        int start = c;
        int end = c;
        bool ask = true;
        if (range == DeleteRange::SecondPoint && second > view && second < view + 511) {
            start = std::min(c, second);
            end = std::max(c, second); // the frame at the larger position stays
            ask = start != end;
            if (!ask) outcome = Outcome::Refused;
        } else if (in.blockItem == PROFILE_ITEM) {
            if (!inProfileAt(s, c)) {
                ui.show(msg::noProfileAtCursor());
                outcome = Outcome::Refused;
                ask = false;
            } else {
                const ProfileSpan p = profileAround(s, c);
                start = p.first;
                end = p.last + 1;
            }
        } else {
            end = c + blockFrames(in.blockItem);
        }
        start = clampSlot(start);
        end = std::clamp(end, start, MAX_FRAME_INDEX + 1);
        if (ask && !yes(ui, msg::confirmDelete(end - start))) {
            outcome = Outcome::Declined;
        } else if (ask) {
            const int n = surveyEnd(s);
            EditJournal j(s, EditKind::Delete);
            const int repeats = n - start + 1;
            if (repeats > 0 && end > start) {
                // Every frame from `end` moves down; sources past the last
                // slot do not exist and leave their destinations empty.
                const int count = std::clamp(MAX_FRAME_INDEX + 1 - end, 0, repeats);
                moveFrames(s, &j, end, start, count);
                emptyFrames(s, &j, start + count, n);
            }
            SdvPrf(s, &j);
            tools.history.commit(s, std::move(j));
        }
    }
    return closeShiftOrDelete(s, tools, outcome);
}

} // namespace tesk::editing
