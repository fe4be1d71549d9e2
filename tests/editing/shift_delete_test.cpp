// Renumbering, shift right, shift left and delete on small hand-built
// surveys: where every frame ends up, the profile numbering and frameCount.

#include "editing/frame_editing.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

// --- renumbering -------------------------------------------------------------

struct CountCase {
    const char* name;
    int lastProfileFrame; // -1: no profile
    int expected;
};

class RenumberCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(RenumberCount, LastProfileFrameRoundedDownPlusForty) {
    const CountCase& c = GetParam();
    auto s = newStore();
    if (c.lastProfileFrame >= 0) putTaggedFrame(*s, c.lastProfileFrame, 1);
    s->frameCount = MAX_FRAME_INDEX;
    SdvPrf(*s, nullptr);
    EXPECT_EQ(s->frameCount, c.expected);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), uint32_t(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Rule, RenumberCount,
                         ::testing::Values(CountCase{"at1000", 1000, 1040},
                                           CountCase{"at1019", 1019, 1040},
                                           CountCase{"at1020", 1020, 1060},
                                           CountCase{"empty", -1, 40},
                                           CountCase{"at63979", 63979, 64000},
                                           // 63980 + 40 would pass the last slot
                                           CountCase{"at63999", 63999, 64000}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(Renumber, ProfilesCountFromOneFramesFromZeroGapsKeepTheirFields) {
    auto s = newStore();
    for (int i : {0, 1, 2, 5, 6, 10}) putTaggedFrame(*s, i, 1);
    s->frame(3).set16(cell::ProfileNumber, 99); // a gap frame's fields are not written
    s->frame(3).set16(cell::IndexInProfile, 77);
    s->frameCount = 60;
    SdvPrf(*s, nullptr);
    const int profile[] = {1, 1, 1, 99, 0, 2, 2, 0, 0, 0, 3};
    const int index[] = {0, 1, 2, 77, 0, 0, 1, 0, 0, 0, 0};
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(s->frame(i).get16(cell::ProfileNumber), uint32_t(profile[i])) << i;
        EXPECT_EQ(s->frame(i).get16(cell::IndexInProfile), uint32_t(index[i])) << i;
    }
    EXPECT_EQ(s->frameCount, 40);
}

TEST(Renumber, LooksNoFurtherThanFrameCount) {
    auto s = newStore();
    putTaggedFrame(*s, 5, 1);
    putTaggedFrame(*s, 500, 2);
    s->frameCount = 100;
    SdvPrf(*s, nullptr);
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_EQ(s->frame(500).get16(cell::ProfileNumber), 0u);
}

// --- where the frames go ---------------------------------------------------

enum class Command { ShiftRight, ShiftLeft, Delete };

struct LayoutCase {
    const char* name;
    std::vector<Span> runs;
    Command command;
    EditInputs in;
    DeleteRange range;
    int questions;                  // questions the command asks (all answered Yes)
    std::vector<uint32_t> expected; // tags of slots 0.., every later slot empty
    int frameCount;
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) {
    return os << c.name;
}

EditInputs at(int cursor, int item = 0, int second = 0) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    in.secondFrame = second;
    return in;
}

// A 0..9, gap 10..14, B 15..24 (frameCount 60).
const std::vector<Span> TWO = {{0, 10}, {15, 10}};
// A 0..9, gap 10..14, B 15..24, gap 25..29, C 30..34 (frameCount 60).
const std::vector<Span> THREE = {{0, 10}, {15, 10}, {30, 5}};

std::vector<LayoutCase> layoutCases() {
    const auto block = DeleteRange::Block;
    const auto second = DeleteRange::SecondPoint;
    return {
        // Frames 5..60 move to 25..80; the opened gap splits A, and A's tail
        // becomes profile 2 counted from 0 (checked by the numbering rule).
        {"ShiftRightInsideAProfile", TWO, Command::ShiftRight, at(5), block, 1,
         layout({T(1, 5), G(20), T(6, 5), G(5), T(16, 10)}), 80},
        {"ShiftRightFromAGap", TWO, Command::ShiftRight, at(12), block, 1,
         layout({T(1, 10), G(25), T(16, 10)}), 80},
        // Nothing moves; frameCount becomes 80 and the renumbering brings it back.
        {"ShiftRightBeyondTheSurvey", TWO, Command::ShiftRight, at(100), block, 1,
         layout({T(1, 10), G(5), T(16, 10)}), 60},
        {"ShiftRightByProfileItemCounts500", TWO, Command::ShiftRight, at(0, PROFILE_ITEM), block,
         1, layout({G(500), T(1, 10), G(5), T(16, 10)}), 560},
        // The gap after A closes: B and C move left by 5.
        {"ShiftLeftFromInsideAProfile", THREE, Command::ShiftLeft, at(5), block, 1,
         layout({T(1, 10), T(16, 10), G(5), T(31, 5)}), 60},
        // Only the part of the gap from the cursor on closes.
        {"ShiftLeftFromAGap", THREE, Command::ShiftLeft, at(12), block, 1,
         layout({T(1, 10), G(2), T(16, 10), G(5), T(31, 5)}), 60},
        {"ShiftLeftAfterTheLastProfile", THREE, Command::ShiftLeft, at(32), block, 1,
         layout({T(1, 10), G(5), T(16, 10), G(5), T(31, 5)}), 60},
        // Frames 5..24 go; 25.. move down to 5..
        {"DeleteABlock", THREE, Command::Delete, at(5), block, 1, layout({T(1, 5), G(5), T(31, 5)}),
         40},
        {"DeleteTheProfileAtTheCursor", THREE, Command::Delete, at(17, PROFILE_ITEM), block, 1,
         layout({T(1, 10), G(10), T(31, 5)}), 60},
        // Frames 3..19 go; frame 20, at the larger position, stays.
        {"DeleteToTheSecondPoint", THREE, Command::Delete, at(20, 0, 3), second, 1,
         layout({T(1, 3), T(21, 5), G(5), T(31, 5)}), 40},
        {"DeleteToASecondPointOutOfViewTakesTheBlock", THREE, Command::Delete, at(5, 0, 600),
         second, 1, layout({T(1, 5), G(5), T(31, 5)}), 40},
        {"DeleteWithTheSecondPointOnTheCursorDoesNothing", THREE, Command::Delete, at(5, 0, 5),
         second, 0, layout({T(1, 10), G(5), T(16, 10), G(5), T(31, 5)}), 60},
    };
}

class FrameLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FrameLayout, FramesLandWhereTheRuleSays) {
    const LayoutCase& c = GetParam();
    auto s = newStore();
    buildSurvey(*s, c.runs);
    ASSERT_EQ(s->frameCount, 60);
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, c.questions);
    EditResult r;
    switch (c.command) {
    case Command::ShiftRight:
        r = ShiftFramesRight(*s, tools, ui, c.in);
        break;
    case Command::ShiftLeft:
        r = ShiftFramesLeft(*s, tools, ui, c.in);
        break;
    case Command::Delete:
        r = DeleteFrames(*s, tools, ui, c.in, c.range);
        break;
    }
    EXPECT_EQ(int(ui.shown.size()), c.questions);
    EXPECT_TRUE(r.redraw);
    const int checked = 700;
    std::vector<uint32_t> expected = c.expected;
    expected.resize(checked, 0);
    EXPECT_EQ(tags(*s, 0, checked - 1), expected);
    for (int i = 0; i < checked; ++i) {
        if (expected[std::size_t(i)] == 0) {
            EXPECT_TRUE(emptyAt(*s, i)) << "slot " << i;
        }
    }
    EXPECT_EQ(s->frameCount, c.frameCount);
    EXPECT_EQ(numberingFault(*s), -1);
}

INSTANTIATE_TEST_SUITE_P(Commands, FrameLayout, ::testing::ValuesIn(layoutCases()),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(ShiftRight, PastTheLoaderLimitAsksAndShiftsOnlyWhatFits) {
    for (const Answer a : {Answer::Yes, Answer::No}) {
        auto s = newStore();
        buildSurvey(*s, {{63000, 761}}); // last profile frame 63760: frameCount 63800
        ASSERT_EQ(s->frameCount, 63800);
        EditTools tools;
        RecordingInteraction ui;
        ui.answers = {Answer::Yes, a};
        ShiftFramesRight(*s, tools, ui, at(63700, 6)); // 500 frames asked for
        ASSERT_EQ(ui.shown.size(), 2u);
        if (a == Answer::Yes) {
            // 63989 - 63800 = 189 frames.
            EXPECT_TRUE(emptyAt(*s, 63700));
            EXPECT_TRUE(emptyAt(*s, 63888));
            EXPECT_EQ(tagAt(*s, 63889), 63701u);
            EXPECT_EQ(tagAt(*s, 63949), 63761u);
            EXPECT_EQ(s->frameCount, 63980);
        } else {
            EXPECT_EQ(tagAt(*s, 63700), 63701u);
            EXPECT_EQ(s->frameCount, 63800);
        }
    }
}

// Declining a shift or a delete changes no frame, but the closing steps
// still run: the survey is marked changed and the paste button goes off.
TEST(ShiftAndDelete, ANoChangesNoFrameButClosesAsAfterAChange) {
    using Run3 = std::function<EditResult(ProfileStore&, EditTools&, Interaction&)>;
    const std::vector<Run3> commands = {
        [](ProfileStore& s, EditTools& t, Interaction& ui) {
            return ShiftFramesRight(s, t, ui, at(5));
        },
        [](ProfileStore& s, EditTools& t, Interaction& ui) {
            return ShiftFramesLeft(s, t, ui, at(5));
        },
        [](ProfileStore& s, EditTools& t, Interaction& ui) {
            return DeleteFrames(s, t, ui, at(5), DeleteRange::Block);
        },
    };
    for (const Run3& command : commands) {
        auto s = newStore();
        buildSurvey(*s, THREE);
        s->stateFlags = 0;
        const StoreImage before(*s);
        EditTools tools;
        tools.clipboard = {true, 3};
        RecordingInteraction ui;
        ui.answers = {Answer::No};
        const EditResult r = command(*s, tools, ui);
        EXPECT_EQ(r.outcome, Outcome::Declined);
        EXPECT_TRUE(r.redraw);
        EXPECT_TRUE(before.matches(*s));
        EXPECT_FALSE(tools.clipboard.filled);
        EXPECT_EQ(s->stateFlags, state::Changed);
        EXPECT_FALSE(tools.history.canUndo());
    }
}

TEST(ShiftAndDelete, AreRefusedWhileTheStoreIsBusy) {
    auto s = newStore();
    buildSurvey(*s, THREE);
    s->stateFlags = state::Busy;
    const StoreImage before(*s);
    EditTools tools;
    RecordingInteraction ui; // any question would fail the test
    EXPECT_EQ(ShiftFramesRight(*s, tools, ui, at(5)).outcome, Outcome::Busy);
    EXPECT_EQ(ShiftFramesLeft(*s, tools, ui, at(5)).outcome, Outcome::Busy);
    EXPECT_EQ(DeleteFrames(*s, tools, ui, at(5), DeleteRange::Block).outcome, Outcome::Busy);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_EQ(s->stateFlags, state::Busy);
}

TEST(ShiftAndDelete, HoldTheBusyBitWhileAsking) {
    struct Probe final : Interaction {
        ProfileStore* s = nullptr;
        bool sawBusy = false;
        Answer show(const Message&) override {
            sawBusy = s->stateFlags & state::Busy;
            return Answer::No;
        }
    };
    auto s = newStore();
    buildSurvey(*s, THREE);
    s->stateFlags = 0;
    EditTools tools;
    Probe ui;
    ui.s = s.get();
    ShiftFramesRight(*s, tools, ui, at(5));
    EXPECT_TRUE(ui.sawBusy);
    EXPECT_FALSE(s->stateFlags & state::Busy);
}

TEST(Delete, OfTheProfileWithTheCursorInAGapShowsTheErrorAndDeletesNothing) {
    auto s = newStore();
    buildSurvey(*s, THREE);
    const StoreImage before(*s);
    EditTools tools;
    RecordingInteraction ui;
    const EditResult r = DeleteFrames(*s, tools, ui, at(12, PROFILE_ITEM), DeleteRange::Block);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_TRUE(r.redraw);
    EXPECT_TRUE(before.matches(*s));
}

TEST(Delete, SecondPointMustLieStrictlyInsideTheView) {
    // With viewStart 100, second points 100 and 611 fall back to the block.
    for (const int second : {100, 611}) {
        auto s = newStore();
        buildSurvey(*s, {{100, 50}});
        s->viewStart = 100;
        EditTools tools;
        RecordingInteraction ui;
        answerYes(ui, 1);
        DeleteFrames(*s, tools, ui, at(120, 0, second), DeleteRange::SecondPoint);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].en, "You really want to remove 20 kadrs?") << second;
    }
}

} // namespace
} // namespace tesk::testing
