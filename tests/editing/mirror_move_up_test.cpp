// Mirror along X and move up along T: the block each key variant takes, the
// reversed frames and flags, the rotation of the samples and the vertical
// shift accumulator.

#include "editing/frame_editing.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

EditInputs block(int item, int row = 0) {
    EditInputs in;
    in.blockItem = item;
    in.cursorRow = row;
    return in;
}

// --- which block -----------------------------------------------------------

struct BlockCase {
    const char* name;
    std::vector<Span> runs;
    int viewStart;
    int item;
    BlockScope scope;
    int first; // expected block; first > last: empty
    int last;
};

std::ostream& operator<<(std::ostream& os, const BlockCase& c) {
    return os << c.name;
}

class MirrorBlock : public ::testing::TestWithParam<BlockCase> {};

TEST_P(MirrorBlock, TakesTheFramesTheKeysSelect) {
    const BlockCase& c = GetParam();
    auto s = newStore();
    buildSurvey(*s, c.runs);
    s->viewStart = c.viewStart;
    const SlotRange r = mirrorBlock(*s, c.item, c.scope);
    if (c.first > c.last) {
        EXPECT_TRUE(r.empty()) << r.first << ".." << r.last;
    } else {
        EXPECT_EQ(r.first, c.first);
        EXPECT_EQ(r.last, c.last);
    }
}

// A 0..9, gap 10..14, B 15..44.
const std::vector<Span> AB = {{0, 10}, {15, 30}};

INSTANTIATE_TEST_SUITE_P(
    Keys, MirrorBlock,
    ::testing::Values(
        // Profile frames from the view start, at most the block number.
        BlockCase{"BlockStopsAtTheProfileEnd", AB, 0, 0, BlockScope::ViewBlock, 0, 9},
        BlockCase{"BlockOfTwentyInsideAProfile", AB, 16, 0, BlockScope::ViewBlock, 16, 35},
        // Three gap frames stepped over leave 17 of the 20.
        BlockCase{"GapFramesCountAgainstTheBlock", AB, 12, 0, BlockScope::ViewBlock, 15, 31},
        BlockCase{"GapLongerThanTheBlockTakesNothing",
                  {{0, 5}, {60, 10}},
                  10,
                  0,
                  BlockScope::ViewBlock,
                  1,
                  0},
        BlockCase{"ShiftTakesTheProfileAroundTheViewStart", AB, 5, 0, BlockScope::ViewProfile, 0,
                  9},
        BlockCase{"ShiftFromAGapTakesTheNextProfile", AB, 12, 0, BlockScope::ViewProfile, 15, 44},
        BlockCase{"ShiftAfterTheLastProfileTakesNothing", AB, 50, 0, BlockScope::ViewProfile, 1, 0},
        // From slot 0 to the last profile frame, gaps included.
        BlockCase{"CtrlTakesTheWholeSurvey", AB, 30, 0, BlockScope::WholeSurvey, 0, 44}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(BlockScope, FollowsTheLeftKeysAndShiftWinsOverCtrl) {
    EXPECT_EQ(blockScopeFor({}), BlockScope::ViewBlock);
    EXPECT_EQ(blockScopeFor({true, false, false, false}), BlockScope::ViewProfile);
    EXPECT_EQ(blockScopeFor({false, false, true, false}), BlockScope::WholeSurvey);
    EXPECT_EQ(blockScopeFor({true, false, true, false}), BlockScope::ViewProfile);
    // Right-hand keys select nothing.
    EXPECT_EQ(blockScopeFor({false, true, false, true}), BlockScope::ViewBlock);
}

TEST(MoveUpBlock, TakesGapFramesTooAndTheWholeSurveyWithCtrl) {
    auto s = newStore();
    buildSurvey(*s, AB); // frameCount 80
    s->viewStart = 5;
    SlotRange r = moveUpBlock(*s, 0, BlockScope::ViewBlock);
    EXPECT_EQ(r.first, 5);
    EXPECT_EQ(r.last, 24);
    r = moveUpBlock(*s, 0, BlockScope::WholeSurvey);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, 80);
    r = moveUpBlock(*s, 0, BlockScope::ViewProfile);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, 9);
}

// --- mirror ------------------------------------------------------------------

TEST(Mirror, ReversesTheBlockWithItsNumbersAndTogglesTheDirection) {
    auto s = newStore();
    buildSurvey(*s, AB);
    s->frame(12).set24(cell::ReliefHeight, 5); // a gap frame outside the block
    const FrameRecord gap = s->frame(12);
    EditTools tools;
    tools.clipboard = {true, 0};
    s->viewStart = 0;
    const EditResult r = mirrorFrames(*s, tools, block(0), BlockScope::ViewBlock);
    EXPECT_TRUE(r.redraw);
    EXPECT_FALSE(tools.clipboard.filled);
    for (int k = 0; k <= 9; ++k) {
        const FrameRecord& f = s->frame(k);
        EXPECT_EQ(tagAt(*s, k), uint32_t(10 - k));
        EXPECT_EQ(f.status() & status::Reversed, status::Reversed);
        // Frame numbers travel with their frames: they now run backwards.
        EXPECT_EQ(f.get16(cell::IndexInProfile), uint32_t(9 - k));
        EXPECT_EQ(f.get16(cell::ProfileNumber), 1u);
    }
    EXPECT_EQ(tagAt(*s, 15), 16u);
    EXPECT_EQ(s->frame(15).status() & status::Reversed, 0);
    EXPECT_EQ(s->frame(12).value, gap.value);
}

TEST(Mirror, TwiceRestoresFramesAndFlags) {
    for (const BlockScope scope :
         {BlockScope::ViewBlock, BlockScope::ViewProfile, BlockScope::WholeSurvey}) {
        auto s = newStore();
        buildSurvey(*s, AB);
        s->frame(3).value[cell::Status] |= status::Reversed | 2;
        s->viewStart = 20;
        const StoreImage before(*s);
        EditTools tools;
        mirrorFrames(*s, tools, block(0), scope);
        EXPECT_FALSE(before.matches(*s));
        mirrorFrames(*s, tools, block(0), scope);
        EXPECT_TRUE(before.matches(*s));
    }
}

TEST(Mirror, OfTheWholeSurveyTogglesTheGapFramesToo) {
    auto s = newStore();
    buildSurvey(*s, AB);
    EditTools tools;
    mirrorFrames(*s, tools, block(0), BlockScope::WholeSurvey);
    // Slot k holds old frame 44 - k: B first, then the gap, then A.
    EXPECT_EQ(tagAt(*s, 0), 45u);
    EXPECT_EQ(tagAt(*s, 29), 16u);
    EXPECT_EQ(tagAt(*s, 30), 0u);
    EXPECT_EQ(s->frame(30).status(), status::Reversed);
    EXPECT_EQ(tagAt(*s, 44), 1u);
}

TEST(Mirror, WithNothingToTakeChangesNoFrameButClosesTheClipboard) {
    auto s = newStore();
    buildSurvey(*s, AB);
    s->viewStart = 50;
    const StoreImage before(*s);
    EditTools tools;
    tools.clipboard = {true, 2};
    const EditResult r = mirrorFrames(*s, tools, block(0), BlockScope::ViewProfile);
    EXPECT_TRUE(r.redraw);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_FALSE(tools.clipboard.filled);
    EXPECT_FALSE(tools.history.canUndo());
}

// --- move up -----------------------------------------------------------------

// Samples numbered so that a rotation shows: sample k of the frame is k mod
// 251 + 1.
void numberSamples(FrameRecord& f) {
    for (int k = 0; k < SAMPLE_ROWS; ++k) f.value[k] = uint8_t(k % 251 + 1);
}

struct MoveUpCase {
    const char* name;
    std::vector<int> rows; // cursor rows of successive moves
    int accumulator;       // expected afterwards
    int rotation;          // expected total upward rotation, mod 528
};

class MoveUp : public ::testing::TestWithParam<MoveUpCase> {};

TEST_P(MoveUp, RotatesTheSamplesAndKeepsTheAccumulator) {
    const MoveUpCase& c = GetParam();
    auto s = newStore();
    buildSurvey(*s, {{0, 1}});
    numberSamples(s->frame(0));
    const FrameRecord before = s->frame(0);
    EditTools tools;
    for (const int row : c.rows) moveFramesUp(*s, tools, block(0, row), BlockScope::ViewBlock);
    const FrameRecord& f = s->frame(0);
    EXPECT_EQ(f.get16(cell::VerticalShift), uint32_t(c.accumulator));
    for (int k = 0; k < SAMPLE_ROWS; ++k)
        ASSERT_EQ(f.value[k], before.value[(k + c.rotation) % SAMPLE_ROWS]) << "sample " << k;
    // The attributes do not move.
    for (int c2 = SAMPLE_ROWS; c2 < CELLS_PER_FRAME; ++c2) {
        if (c2 != cell::VerticalShift && c2 != cell::VerticalShift + 1) {
            ASSERT_EQ(f.value[c2], before.value[c2]) << "cell " << c2;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MoveUp,
    ::testing::Values(MoveUpCase{"Once", {5}, 5, 5},
                      // 600 - 528
                      MoveUpCase{"ThreeHundredTwice", {300, 300}, 72, 72},
                      // 264 + 264 = 528 is a full turn but not above 528
                      MoveUpCase{"ExactlyAFullTurn", {264, 264}, 528, 0},
                      // Row 0 undoes every earlier move.
                      MoveUpCase{"RowZeroRestores", {100, 311, 0}, 0, 0},
                      // A frame never moved turns a full 528 positions: unchanged.
                      MoveUpCase{"RowZeroOnAFrameNeverMoved", {0}, 0, 0}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(MoveUp, MovesEveryFrameOfTheBlockGapsIncluded) {
    auto s = newStore();
    buildSurvey(*s, {{0, 3}});
    s->frame(3).value[7] = 9; // a gap frame holding a stray sample
    EditTools tools;
    tools.clipboard = {true, 0};
    s->viewStart = 1;
    const EditResult r = moveFramesUp(*s, tools, block(0, 7), BlockScope::ViewBlock);
    EXPECT_TRUE(r.redraw);
    EXPECT_FALSE(tools.clipboard.filled);
    EXPECT_EQ(s->frame(0).get16(cell::VerticalShift), 0u);
    EXPECT_EQ(s->frame(1).get16(cell::VerticalShift), 7u);
    EXPECT_EQ(s->frame(3).value[0], 9);
    EXPECT_EQ(s->frame(20).get16(cell::VerticalShift), 7u); // block of 20 from slot 1
    EXPECT_EQ(s->frame(21).get16(cell::VerticalShift), 0u);
}

} // namespace
} // namespace tesk::testing
