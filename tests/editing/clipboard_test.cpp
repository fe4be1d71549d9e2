// Copy into and paste from the frame clipboard, which lives in the work bytes
// of the first slots, and the two states of the paste button.

#include "editing/frame_editing.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

EditInputs at(int cursor, int item = 0) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    return in;
}

uint32_t workTag(const ProfileStore& s, int slot) {
    const auto& w = s.frame(slot).work;
    return (uint32_t(w[cell::UcsX]) << 24) | (uint32_t(w[cell::UcsX + 1]) << 16) |
           (uint32_t(w[cell::UcsX + 2]) << 8) | w[cell::UcsX + 3];
}

// A 0..9, gap 10..14, B 15..24: frameCount 60.
const std::vector<Span> TWO = {{0, 10}, {15, 10}};

TEST(Copy, ABlockCopiesThatManyFramesWhateverTheyHold) {
    auto s = newStore();
    buildSurvey(*s, TWO);
    const StoreImage before(*s);
    EditTools tools;
    RecordingInteraction ui;
    const EditResult r = copyFrames(*s, tools, ui, at(5)); // item 0: 20 frames
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_FALSE(r.redraw);
    EXPECT_TRUE(tools.clipboard.filled);
    EXPECT_EQ(tools.clipboard.clipLast, 19);
    // Clipboard frame k is frame 5 + k: A's tail, the gap, B's head.
    for (int k = 0; k < 20; ++k) EXPECT_EQ(s->frame(k).work, s->frame(5 + k).value) << k;
    EXPECT_EQ(workTag(*s, 0), 6u);
    EXPECT_EQ(workTag(*s, 7), 0u);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_TRUE(ui.shown.empty());
}

TEST(Copy, TheProfileItemCopiesTheWholeProfileAroundTheCursor) {
    auto s = newStore();
    buildSurvey(*s, TWO);
    EditTools tools;
    RecordingInteraction ui;
    copyFrames(*s, tools, ui, at(21, PROFILE_ITEM));
    EXPECT_EQ(tools.clipboard.clipLast, 9);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(workTag(*s, k), uint32_t(16 + k));
}

TEST(Copy, OfAProfileFromAGapShowsTheErrorAndLeavesTheClipboardAsItWas) {
    for (const bool filled : {false, true}) {
        auto s = newStore();
        buildSurvey(*s, TWO);
        EditTools tools;
        tools.clipboard = {filled, 4};
        s->stateFlags = 0;
        RecordingInteraction ui;
        const EditResult r = copyFrames(*s, tools, ui, at(12, PROFILE_ITEM));
        EXPECT_EQ(r.outcome, Outcome::Refused);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(tools.clipboard.filled, filled);
        EXPECT_EQ(tools.clipboard.clipLast, 4);
        EXPECT_EQ(s->stateFlags, 0); // the error ends the command before its closing steps
        EXPECT_EQ(workTag(*s, 0), 0u);
    }
}

TEST(Paste, InsertsTheClipboardAtTheCursorAndMovesTheRestRight) {
    auto s = newStore();
    buildSurvey(*s, TWO);
    EditTools tools;
    RecordingInteraction ui;
    copyFrames(*s, tools, ui, at(15, PROFILE_ITEM)); // B: 10 frames
    const EditResult r = pasteFrames(*s, tools, ui, at(10));
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_TRUE(r.redraw);
    EXPECT_TRUE(ui.shown.empty());
    // A, the copy of B right after it, the old gap, B.
    std::vector<uint32_t> expected = layout({T(1, 10), T(16, 10), G(5), T(16, 10)});
    expected.resize(200, 0);
    EXPECT_EQ(tags(*s, 0, 199), expected);
    // A and the copy touch: one profile of 20 frames, B the second.
    EXPECT_EQ(s->frame(19).get16(cell::ProfileNumber), 1u);
    EXPECT_EQ(s->frame(19).get16(cell::IndexInProfile), 19u);
    EXPECT_EQ(s->frame(25).get16(cell::ProfileNumber), 2u);
    EXPECT_EQ(s->frameCount, 60);
    EXPECT_EQ(numberingFault(*s), -1);
    // The work bytes stay where they were: the clipboard is still there.
    EXPECT_EQ(workTag(*s, 0), 16u);
}

TEST(Paste, IsPossibleOncePerCopy) {
    auto s = newStore();
    buildSurvey(*s, TWO);
    EditTools tools;
    RecordingInteraction ui;
    copyFrames(*s, tools, ui, at(0));
    pasteFrames(*s, tools, ui, at(30));
    EXPECT_FALSE(tools.clipboard.filled);
    const StoreImage after(*s);
    const EditResult r = pasteFrames(*s, tools, ui, at(30));
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_FALSE(r.redraw);
    EXPECT_TRUE(after.matches(*s));
    EXPECT_TRUE(ui.shown.empty());
}

TEST(Paste, BeyondTheSurveyEndLandsAtTheCursorAndCountsInFrameCount) {
    auto s = newStore();
    buildSurvey(*s, TWO);
    EditTools tools;
    RecordingInteraction ui;
    copyFrames(*s, tools, ui, at(0, PROFILE_ITEM)); // A: 10 frames
    pasteFrames(*s, tools, ui, at(300));
    EXPECT_EQ(tagAt(*s, 300), 1u);
    EXPECT_EQ(tagAt(*s, 309), 10u);
    EXPECT_TRUE(emptyAt(*s, 299));
    // Last profile frame 309: 300 + 40.
    EXPECT_EQ(s->frameCount, 340);
    EXPECT_EQ(s->frame(300).get16(cell::ProfileNumber), 3u);
}

struct LimitCase {
    const char* name;
    int lastProfileFrame;
    int copiedFrames; // a profile of this length is copied
    int item;         // ComboBox16 at the paste
    bool refused;
};

class PasteLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PasteLimit, RefusesASurveyOfMoreThan64000Frames) {
    const LimitCase& c = GetParam();
    auto s = newStore();
    buildSurvey(*s, {{0, c.copiedFrames}, {c.lastProfileFrame - 9, 10}});
    EditTools tools;
    RecordingInteraction ui;
    copyFrames(*s, tools, ui, at(0, PROFILE_ITEM));
    ASSERT_EQ(tools.clipboard.clipLast, c.copiedFrames - 1);
    const StoreImage before(*s);
    const EditResult r = pasteFrames(*s, tools, ui, at(c.copiedFrames, c.item));
    if (c.refused) {
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].en, "File will have > 64000 kadrs");
        EXPECT_EQ(r.outcome, Outcome::Refused);
        EXPECT_TRUE(before.matches(*s));
        EXPECT_TRUE(tools.clipboard.filled);
    } else {
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_EQ(r.outcome, Outcome::Done);
        EXPECT_EQ(tagAt(*s, c.lastProfileFrame + c.copiedFrames), uint32_t(c.lastProfileFrame + 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Rule, PasteLimit,
                         ::testing::Values(
                             // frameCount 63500: 63500 + 500 (the profile item counts 500) > 63999,
                             // though only one frame is on the clipboard.
                             LimitCase{"ProfileItemCounts500", 63460, 1, PROFILE_ITEM, true},
                             // 63500 + 400 fits.
                             LimitCase{"BlockOf400Fits", 63460, 1, 5, false},
                             // The block fits, but 2000 copied frames after 62600 would not.
                             LimitCase{"ClipboardLongerThanTheBlock", 62560, 2000, 0, true},
                             LimitCase{"ClipboardLongerThanTheBlockThatFits", 61560, 2000, 0,
                                       false}),
                         [](const auto& i) { return std::string(i.param.name); });

} // namespace
} // namespace tesk::testing
