// Division into profiles on hand-built runs of frames: where each frame
// lands, the blank slots between profiles, the renumbering, the new frame
// count, and that a division that cannot be done changes nothing.

#include "coordinates/profile_division.h"
#include "support/store_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tesk {
namespace {

using testing::newStore;

// A survey laid out as runs: positive n = n in-profile frames, negative n =
// -n gap frames. In-profile frame j carries its own slot number in samples 1
// and 2 (big-endian) so that its new slot shows where it came from.
// Markers: slot -> status.
void layOut(ProfileStore& s, const std::vector<int>& runs, const std::map<int, int>& markers = {}) {
    int slot = 0;
    for (int run : runs) {
        for (int i = 0; i < std::abs(run); ++i, ++slot) {
            FrameRecord& f = s.frame(slot);
            if (run < 0) continue;
            f.value[0] = 128;
            f.set16(1, uint32_t(slot));
            f.value[cell::Status] = status::InProfile;
        }
    }
    for (const auto& [at, marker] : markers)
        s.frame(at).value[cell::Status] = uint8_t(status::InProfile | marker);
    int last = slot - 1;
    while (last > 0 && !s.frame(last).inProfile()) --last;
    s.frameCount = last / 20 * 20 + 40;
    s.stateFlags = 0;
}

// The original slot of the frame now in `slot`, or -1 for a blank slot.
int origin(const ProfileStore& s, int slot) {
    const FrameRecord& f = s.frame(slot);
    return f.inProfile() ? int(f.get16(1)) : -1;
}

struct Expect {
    int from, to; // slots, inclusive
    int firstOrigin;
    int profile;
    int firstIndex = 0; // indexInProfile of slot `from`
};

struct Case {
    const char* name;
    std::vector<int> runs;
    std::map<int, int> markers;
    DivisionRules rules;
    std::vector<Expect> profiles; // every profile after the division, in order
    int frameCount;
};

DivisionRules rulesWith(bool start, bool red, bool blue, bool black) {
    DivisionRules r;
    r.atProfileStart = start;
    r.atRedMarker = red;
    r.atBlueMarker = blue;
    r.atBlackMarker = black;
    return r;
}

TEST(ProfileDivision, CutsBlankSlotsAndRenumbering) {
    const DivisionRules defaults;
    const Case cases[] = {
        // A red marker on frame 50 of one run of 100: 50 -> Trunc(50/20)*20+40 = 80.
        {"red marker", {100}, {{50, 3}}, defaults, {{0, 49, 0, 1}, {80, 129, 50, 2}}, 160},
        // The first profile ends at output 29: the gap cut goes to 60.
        {"gap", {30, -7, 25}, {}, defaults, {{0, 29, 0, 1}, {60, 84, 37, 2}}, 120},
        // Without the start box the gap frames vanish and the profiles join.
        {"joined",
         {30, -7, 25},
         {},
         rulesWith(false, true, true, false),
         {{0, 29, 0, 1}, {30, 54, 37, 1, 30}},
         80},
        {"black marker, box off", {100}, {{50, 1}}, defaults, {{0, 99, 0, 1}}, 120},
        {"black marker, box on",
         {100},
         {{50, 1}},
         rulesWith(true, true, true, true),
         {{0, 49, 0, 1}, {80, 129, 50, 2}},
         160},
        {"blue marker", {100}, {{20, 2}}, defaults, {{0, 19, 0, 1}, {60, 139, 20, 2}}, 160},
        // A marker only cuts inside an open profile: on the first frame of a
        // run (after a gap) it does nothing more than the gap does.
        {"marker after a gap",
         {10, -3, 10},
         {{13, 3}},
         defaults,
         {{0, 9, 0, 1}, {40, 49, 13, 2}},
         80},
        // Two cuts in a row: output 20 -> 60 -> 100, the frames unchanged.
        {"markers on consecutive frames",
         {40},
         {{20, 3}, {21, 3}},
         defaults,
         {{0, 19, 0, 1}, {60, 60, 20, 2}, {100, 118, 21, 3}},
         140},
    };
    for (const Case& c : cases) {
        auto s = newStore();
        layOut(*s, c.runs, c.markers);
        // Stale scratch left by another command must not leak into the result.
        for (int k = 0; k < 300; ++k) s->frame(k).work.fill(0x5A);
        testing::RecordingInteraction ui;
        const DivisionResult r = GrProf(*s, c.rules, ui);
        ASSERT_EQ(r.outcome, DivisionOutcome::Divided) << c.name;
        EXPECT_EQ(r.profiles, c.profiles.back().profile) << c.name;
        EXPECT_EQ(s->frameCount, c.frameCount) << c.name;
        EXPECT_EQ(r.frameCount, c.frameCount) << c.name;
        EXPECT_EQ(int(s->header.get16(hdr::FrameCount)), c.frameCount) << c.name;
        EXPECT_EQ(s->stateFlags & state::Changed, state::Changed) << c.name;
        std::vector<int> expected(300, -1), number(300, 0), index(300, 0);
        for (const Expect& e : c.profiles)
            for (int k = e.from; k <= e.to; ++k) {
                expected[std::size_t(k)] = e.firstOrigin + k - e.from;
                number[std::size_t(k)] = e.profile;
                index[std::size_t(k)] = e.firstIndex + k - e.from;
            }
        for (int k = 0; k < 300; ++k) {
            ASSERT_EQ(origin(*s, k), expected[std::size_t(k)]) << c.name << " slot " << k;
            const FrameRecord& f = s->frame(k);
            if (expected[std::size_t(k)] >= 0) {
                EXPECT_EQ(int(f.get16(cell::ProfileNumber)), number[std::size_t(k)]) << c.name;
                EXPECT_EQ(int(f.get16(cell::IndexInProfile)), index[std::size_t(k)]) << c.name;
            } else {
                for (int cellNo = 0; cellNo < CELLS_PER_FRAME; ++cellNo)
                    ASSERT_EQ(f.value[std::size_t(cellNo)], 0) << c.name << " slot " << k;
            }
            for (int cellNo = 0; cellNo < CELLS_PER_FRAME; ++cellNo)
                ASSERT_EQ(f.work[std::size_t(cellNo)], 0) << c.name << " work of " << k;
        }
        // Markers travel with their frames.
        for (const auto& [at, marker] : c.markers)
            for (int k = 0; k < 300; ++k)
                if (origin(*s, k) == at) {
                    EXPECT_EQ(s->frame(k).markerStatus(), marker) << c.name;
                }
        EXPECT_TRUE(ui.shown.empty());
    }
}

TEST(ProfileDivision, NothingChangesWithoutARuleOrWhenTheSurveyWouldOverflow) {
    struct Row {
        const char* name;
        DivisionRules rules;
        int frames;
        int markerEvery; // red marker on every n-th frame, 0 for none
        DivisionOutcome outcome;
        std::size_t messages;
    };
    const Row rows[] = {
        {"no box", rulesWith(false, false, false, false), 100, 10, DivisionOutcome::NoRule, 0},
        // 1700 cuts of up to 40 slots push 3400 frames past slot 64000.
        {"overflow", DivisionRules{}, 3400, 2, DivisionOutcome::TooLong, 1},
    };
    for (const Row& r : rows) {
        auto s = newStore();
        std::map<int, int> markers;
        for (int k = r.markerEvery; r.markerEvery && k < r.frames; k += r.markerEvery)
            markers[k] = 3;
        layOut(*s, {r.frames}, markers);
        const int before = s->frameCount;
        std::vector<std::array<uint8_t, CELLS_PER_FRAME>> values;
        for (int k = 0; k <= before; ++k) values.push_back(s->frame(k).value);
        testing::RecordingInteraction ui;
        EXPECT_EQ(GrProf(*s, r.rules, ui).outcome, r.outcome) << r.name;
        EXPECT_EQ(ui.shown.size(), r.messages) << r.name;
        EXPECT_EQ(s->frameCount, before);
        EXPECT_EQ(s->stateFlags, 0) << r.name;
        for (int k = 0; k <= before; ++k)
            ASSERT_EQ(s->frame(k).value, values[std::size_t(k)]) << r.name << " " << k;
    }
    const Message m = divisionTooLong();
    EXPECT_EQ(m.en, "Profiles not created:\rthe divided survey does not fit into 64000 frames.");
}

TEST(ProfileDivision, ButtonCaptionsOfBothSteps) {
    EXPECT_EQ(profilesButtonLook(true, false).caption, "Создать Профили");
    EXPECT_EQ(profilesButtonLook(true, true).caption, "Greate Profiles");
    EXPECT_EQ(profilesButtonLook(true, true).fontColour, 0x000080u);
    EXPECT_EQ(profilesButtonLook(false, false).caption, "Профили");
    EXPECT_EQ(profilesButtonLook(false, true).caption, "Profiles");
    EXPECT_EQ(profilesButtonLook(false, true).fontColour, 0x800000u);
}

} // namespace
} // namespace tesk
