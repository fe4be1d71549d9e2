#include "coordinates/profile_division.h"

#include <algorithm>

namespace tesk {

namespace {

constexpr int GAP_ALIGN = 20;
constexpr int GAP_SPAN = 40;
// frameCount = Trunc(l / 20) * 20 + 40 must stay within the last slot.
constexpr int LAST_DIVIDED_FRAME = MAX_FRAME_INDEX - GAP_SPAN + GAP_ALIGN - 1; // 63979

int afterCut(int o) {
    return o / GAP_ALIGN * GAP_ALIGN + GAP_SPAN;
}

bool cutsAt(const DivisionRules& r, int marker) {
    switch (marker) {
    case 1:
        return r.atBlackMarker;
    case 2:
        return r.atBlueMarker;
    case 3:
        return r.atRedMarker;
    default:
        return false;
    }
}

// Walks the frames with the cut rules, calling copy(j, o) for every frame
// kept and cut(o, o') for every cut; returns the output index after the last
// frame.
template <class Copy, class Cut>
int walk(const ProfileStore& s, const DivisionRules& r, Copy copy, Cut cut) {
    int o = 0;
    bool open = false;
    for (int j = 0; j <= s.frameCount; ++j) {
        const FrameRecord& f = s.frame(j);
        if (f.inProfile()) {
            if (open && cutsAt(r, f.markerStatus())) {
                cut(o, afterCut(o));
                o = afterCut(o);
            }
            copy(j, o);
            ++o;
            open = true;
        } else {
            if (open && r.atProfileStart) {
                cut(o, afterCut(o));
                o = afterCut(o);
            }
            open = false;
        }
    }
    return o;
}

} // namespace

DivisionResult GrProf(ProfileStore& s, const DivisionRules& rules, Interaction& ui) {
    DivisionResult result;
    if (!rules.any()) return result;

    // A dry run first: where would the last frame land? Cuts add up to 39
    // blank slots each, and a long survey with many markers can outgrow the
    // store; then nothing is touched.
    int lastKept = -1;
    walk(
        s, rules, [&](int, int o) { lastKept = o; }, [](int, int) {});
    if (lastKept > LAST_DIVIDED_FRAME) {
        ui.show(divisionTooLong());
        result.outcome = DivisionOutcome::TooLong;
        return result;
    }

    // 1. Copy with cuts into the work bytes.
    // A gap after the last profile may push the index past the last slot;
    // there is nothing to keep beyond it.
    const int o = std::min(
        FRAME_SLOTS, walk(
                         s, rules, [&](int j, int out) { s.frame(out).work = s.frame(j).value; },
                         [&](int from, int to) {
                             for (int k = from; k < std::min(to, FRAME_SLOTS); ++k)
                                 s.frame(k).work.fill(0);
                         }));

    // 2. Copy back and renumber.
    int profile = 0;
    int position = 0;
    bool inRun = false;
    for (int k = 0; k < o; ++k) {
        FrameRecord& f = s.frame(k);
        f.value = f.work;
        f.work.fill(0);
        if (f.inProfile()) {
            if (!inRun) {
                ++profile;
                position = 0;
            }
            f.set16(cell::ProfileNumber, uint32_t(profile));
            f.set16(cell::IndexInProfile, uint32_t(position));
            ++position;
            inRun = true;
        } else {
            inRun = false;
        }
    }

    // 3. Clear the tail: the old frames beyond the new end and the padding.
    const int end = std::min(MAX_FRAME_INDEX, (o >= s.frameCount ? o : s.frameCount) + 512);
    for (int k = o; k <= end; ++k) {
        s.frame(k).value.fill(0);
        s.frame(k).work.fill(0);
    }

    // 4. The new frame count from the last in-profile frame.
    int last = std::min(o, MAX_FRAME_INDEX);
    while (last > 0 && !s.frame(last).inProfile()) --last;
    s.frameCount = std::min(MAX_FRAME_INDEX, afterCut(last));
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
    s.stateFlags = uint16_t(s.stateFlags | state::Changed);

    result.outcome = DivisionOutcome::Divided;
    result.profiles = profile;
    result.frameCount = s.frameCount;
    return result;
}

ProfilesButtonLook profilesButtonLook(bool settingUp, bool english) {
    if (settingUp) return {english ? "Greate Profiles" : "Создать Профили", 0x000080};
    return {english ? "Profiles" : "Профили", 0x800000};
}

Message divisionTooLong() {
    return Message{Icon::Warning, Buttons::Ok,
                   "Профили не созданы:\rразделённая съёмка не помещается в 64000 кадров.",
                   "Profiles not created:\rthe divided survey does not fit into 64000 frames."};
}

} // namespace tesk
