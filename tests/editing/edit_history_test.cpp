// Undo and redo: every command comes back byte for byte, long chains of
// edits unwind to the original survey, the history keeps only what changed
// and stays within its limits.

#include "editing/frame_editing.h"
#include "editing/resampling.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

using Command = std::function<void(ProfileStore&, EditTools&, Interaction&)>;

EditInputs at(int cursor, int item = 0, int row = 0, int second = 0) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    in.cursorRow = row;
    in.secondFrame = second;
    return in;
}

// Three profiles with markers, moved samples, boundaries, a gap frame with
// attributes of its own, and stray bytes past frameCount that no command
// should lose.
void rich(ProfileStore& s) {
    buildSurvey(s, {{0, 40}, {55, 30}, {100, 25}});
    s.frame(3).value[cell::Status] |= 2;
    s.frame(60).value[cell::Status] |= status::Reversed;
    s.frame(61).set16(cell::VerticalShift, 40);
    s.frame(62).set16(cell::Boundary1, 300);
    s.frame(45).set24(cell::ReliefHeight, 1234); // a gap frame
    s.frame(170).value[cell::Hour] = 7;          // past frameCount (160)
    s.frame(400).value[cell::Hour] = 8;
    s.header.value[hdr::TimeRange] = 3;
}

struct UndoCase {
    const char* name;
    Command command;
};

std::ostream& operator<<(std::ostream& os, const UndoCase& c) {
    return os << c.name;
}

std::vector<UndoCase> undoCases() {
    return {
        {"ShiftRight", [](ProfileStore& s, EditTools& t,
                          Interaction& ui) { ShiftFramesRight(s, t, ui, at(20)); }},
        {"ShiftLeft",
         [](ProfileStore& s, EditTools& t, Interaction& ui) { ShiftFramesLeft(s, t, ui, at(10)); }},
        {"Paste",
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             copyFrames(s, t, ui, at(55, PROFILE_ITEM));
             pasteFrames(s, t, ui, at(5));
         }},
        {"DeleteBlock",
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             DeleteFrames(s, t, ui, at(30), DeleteRange::Block);
         }},
        {"DeleteProfile",
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             DeleteFrames(s, t, ui, at(60, PROFILE_ITEM), DeleteRange::Block);
         }},
        {"DeleteToSecondPoint",
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             DeleteFrames(s, t, ui, at(70, 0, 0, 20), DeleteRange::SecondPoint);
         }},
        {"MirrorBlock", [](ProfileStore& s, EditTools& t,
                           Interaction&) { mirrorFrames(s, t, at(0), BlockScope::ViewBlock); }},
        {"MirrorProfile",
         [](ProfileStore& s, EditTools& t, Interaction&) {
             s.viewStart = 50;
             mirrorFrames(s, t, at(0), BlockScope::ViewProfile);
         }},
        {"MirrorSurvey", [](ProfileStore& s, EditTools& t,
                            Interaction&) { mirrorFrames(s, t, at(0), BlockScope::WholeSurvey); }},
        {"MoveUpBlock",
         [](ProfileStore& s, EditTools& t, Interaction&) {
             s.viewStart = 50;
             moveFramesUp(s, t, at(0, 2, 333), BlockScope::ViewBlock);
         }},
        {"MoveUpRowZero",
         [](ProfileStore& s, EditTools& t, Interaction&) {
             moveFramesUp(s, t, at(0, 0, 0), BlockScope::WholeSurvey);
         }},
        {"MoveUpProfile",
         [](ProfileStore& s, EditTools& t, Interaction&) {
             s.viewStart = 60;
             moveFramesUp(s, t, at(0, 0, 500), BlockScope::ViewProfile);
         }},
        {"Double", [](ProfileStore& s, EditTools& t,
                      Interaction& ui) { resampleX(s, t, ui, at(0), XResampling::Double); }},
        {"Halve", [](ProfileStore& s, EditTools& t,
                     Interaction& ui) { resampleX(s, t, ui, at(0), XResampling::Halve); }},
        {"FitStretch", [](ProfileStore& s, EditTools& t,
                          Interaction& ui) { resampleX(s, t, ui, at(140), XResampling::Fit); }},
        {"FitCompress", [](ProfileStore& s, EditTools& t,
                           Interaction& ui) { resampleX(s, t, ui, at(65), XResampling::Fit); }},
        {"HalveThenFit",
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleX(s, t, ui, at(30), XResampling::HalveThenFit);
         }},
        {"ExpandT", [](ProfileStore& s, EditTools& t,
                       Interaction& ui) { resampleT(s, t, ui, TResampling::Expand); }},
        {"CompressT", [](ProfileStore& s, EditTools& t,
                         Interaction& ui) { resampleT(s, t, ui, TResampling::Compress); }},
    };
}

class UndoEach : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoEach, UndoRestoresEveryByteAndRedoTheEdit) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    SilentInteraction yes(Answer::Yes);
    const StoreImage before(*s);
    GetParam().command(*s, tools, yes);
    const StoreImage after(*s);
    ASSERT_FALSE(after == before);
    ASSERT_EQ(tools.history.undoSteps(), 1);
    s->stateFlags = 0;
    ASSERT_TRUE(tools.history.undo(*s).has_value());
    EXPECT_EQ(before.firstDifference(*s), -1);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_EQ(s->stateFlags, state::Changed);
    ASSERT_TRUE(tools.history.redo(*s).has_value());
    EXPECT_TRUE(after.matches(*s));
    ASSERT_TRUE(tools.history.undo(*s).has_value());
    EXPECT_TRUE(before.matches(*s));
}

INSTANTIATE_TEST_SUITE_P(Commands, UndoEach, ::testing::ValuesIn(undoCases()),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(EditHistory, TwentyFiveEditsUnwindToTheOriginalAndRedoToTheEnd) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    SilentInteraction yes(Answer::Yes);
    const StoreImage original(*s);
    const auto all = undoCases();
    for (int k = 0; k < 25; ++k) all[std::size_t(k * 7) % all.size()].command(*s, tools, yes);
    const StoreImage end(*s);
    // A command the survey gives nothing to do leaves no step.
    const int steps = tools.history.undoSteps();
    ASSERT_GE(steps, 20);
    for (int k = 0; k < steps; ++k) ASSERT_TRUE(tools.history.undo(*s).has_value()) << k;
    EXPECT_FALSE(tools.history.undo(*s).has_value());
    EXPECT_TRUE(original.matches(*s));
    for (int k = 0; k < steps; ++k) ASSERT_TRUE(tools.history.redo(*s).has_value()) << k;
    EXPECT_FALSE(tools.history.canRedo());
    EXPECT_TRUE(end.matches(*s));
}

TEST(EditHistory, ANewEditDropsTheStepsThatCouldBeRedone) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    mirrorFrames(*s, tools, at(0), BlockScope::ViewBlock);
    mirrorFrames(*s, tools, at(0), BlockScope::WholeSurvey);
    tools.history.undo(*s);
    EXPECT_TRUE(tools.history.canRedo());
    moveFramesUp(*s, tools, at(0, 0, 3), BlockScope::ViewBlock);
    EXPECT_FALSE(tools.history.canRedo());
    EXPECT_EQ(tools.history.undoSteps(), 2);
}

TEST(EditHistory, ADeleteNearTheStartOfAFullSurveyKeepsOnlyWhatMoved) {
    auto s = newStore();
    buildSurvey(*s, {{0, 64000}});
    EditTools tools;
    SilentInteraction yes(Answer::Yes);
    DeleteFrames(*s, tools, yes, at(100, 6), DeleteRange::Block);
    // The frames moved are recorded as one move and the renumbered frames by
    // their four numbering bytes: far below the 40 MB of value bytes.
    EXPECT_LT(tools.history.memoryUsed(), std::size_t(1) << 20);
    EXPECT_EQ(tagAt(*s, 100), 601u);
}

TEST(EditHistory, LetsTheOldestStepsGoBeyondItsMemory) {
    auto s = newStore();
    buildSurvey(*s, {{0, 2000}}); // about 1.25 MB of value bytes
    EditTools tools(std::size_t(3) << 20);
    SilentInteraction yes(Answer::Yes);
    for (int k = 0; k < 5; ++k) {
        s->header.value[hdr::TimeRange] = 2;
        resampleT(*s, tools, yes, k % 2 ? TResampling::Compress : TResampling::Expand);
    }
    EXPECT_LE(tools.history.memoryUsed(), std::size_t(3) << 20);
    EXPECT_EQ(tools.history.undoSteps(), 2);
    EXPECT_TRUE(tools.history.undo(*s).has_value());
    EXPECT_TRUE(tools.history.undo(*s).has_value());
    EXPECT_FALSE(tools.history.undo(*s).has_value());
}

TEST(EditHistory, KeepsAtMostItsNumberOfSteps) {
    auto s = newStore();
    rich(*s);
    EditTools tools(EditHistory::DEFAULT_MEMORY_LIMIT, 3);
    for (int k = 0; k < 5; ++k) mirrorFrames(*s, tools, at(0), BlockScope::WholeSurvey);
    EXPECT_EQ(tools.history.undoSteps(), 3);
}

TEST(EditHistory, UndoLeavesTheClipboardInTheWorkBytes) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    SilentInteraction yes(Answer::Yes);
    copyFrames(*s, tools, yes, at(55, PROFILE_ITEM));
    std::vector<std::array<uint8_t, CELLS_PER_FRAME>> clip;
    for (int k = 0; k < 30; ++k) clip.push_back(s->frame(k).work);
    ShiftFramesRight(*s, tools, yes, at(0));
    DeleteFrames(*s, tools, yes, at(10), DeleteRange::Block);
    tools.history.undo(*s);
    tools.history.undo(*s);
    tools.history.redo(*s);
    for (int k = 0; k < 30; ++k) EXPECT_EQ(s->frame(k).work, clip[std::size_t(k)]) << k;
}

TEST(EditHistory, PutsBackOnlyTheHeaderCellsTheEditChanged) {
    auto s = newStore();
    rich(*s); // time range item 3
    EditTools tools;
    SilentInteraction yes(Answer::Yes);
    resampleT(*s, tools, yes, TResampling::Expand);
    ASSERT_EQ(s->header.value[hdr::TimeRange], 2);
    s->header.value[hdr::Step] = 9; // the operator changes the profile step afterwards
    tools.history.undo(*s);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 3);
    EXPECT_EQ(s->header.value[hdr::Step], 9);
}

TEST(EditHistory, NothingHappensWhileBusyAndClearForgetsEverything) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    mirrorFrames(*s, tools, at(0), BlockScope::WholeSurvey);
    const StoreImage mirrored(*s);
    s->stateFlags = state::Busy;
    EXPECT_FALSE(tools.history.undo(*s).has_value());
    EXPECT_TRUE(mirrored.matches(*s));
    s->stateFlags = 0;
    tools.clipboard = {true, 3};
    tools.surveyOpened();
    EXPECT_FALSE(tools.history.canUndo());
    EXPECT_FALSE(tools.clipboard.filled);
    EXPECT_EQ(tools.history.memoryUsed(), 0u);
}

TEST(EditHistory, CommandsThatChangeNothingLeaveNoStep) {
    auto s = newStore();
    rich(*s);
    EditTools tools;
    SilentInteraction no(Answer::No);
    ShiftFramesRight(*s, tools, no, at(0));
    resampleX(*s, tools, no, at(0), XResampling::Double);
    s->viewStart = 200;
    mirrorFrames(*s, tools, at(0), BlockScope::ViewProfile); // no profile after frame 200
    EXPECT_FALSE(tools.history.canUndo());
}

} // namespace
} // namespace tesk::testing
