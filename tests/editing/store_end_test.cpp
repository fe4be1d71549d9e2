// The last slots of the store: whatever the cursor, the clipboard and the
// survey length, no command reads or writes a slot outside 0..64000, and the
// frames near the end land where the rules say.

#include "editing/frame_editing.h"
#include "editing/resampling.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

EditInputs at(int cursor, int item = 0, int row = 0) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    in.cursorRow = row;
    return in;
}

// Runs a command on a survey near the end of the store, checks that no slot
// outside the store was touched and that undo brings the survey back.
class StoreEnd : public ::testing::Test {
  protected:
    void SetUp() override { faults_ = outOfRangeAccesses(); }
    void TearDown() override {
        EXPECT_EQ(outOfRangeAccesses(), faults_) << "a slot outside 0..64000 was touched";
        if (before_ && tools.history.canUndo()) {
            while (tools.history.undo(*s)) {
            }
            EXPECT_EQ(before_->firstDifference(*s), -1);
        }
    }
    // frameCount as the renumbering leaves it, or as given.
    void survey(const std::vector<Span>& runs, int frameCount = -1) {
        buildSurvey(*s, runs);
        if (frameCount >= 0) s->frameCount = frameCount;
        before_ = std::make_unique<StoreImage>(*s);
    }

    StorePtr s = newStore();
    EditTools tools;
    SilentInteraction yes{Answer::Yes};

  private:
    uint64_t faults_ = 0;
    std::unique_ptr<StoreImage> before_;
};

TEST_F(StoreEnd, RenumberingStopsFrameCountAtTheLastSlot) {
    survey({{63900, 101}}); // the last profile frame is slot 64000
    EXPECT_EQ(s->frameCount, 64000);
    EXPECT_EQ(s->frame(64000).get16(cell::IndexInProfile), 100u);
}

TEST_F(StoreEnd, ShiftLeftWhoseSourcesRunPastTheLastSlot) {
    survey({{0, 100}, {63900, 101}}); // frameCount 64000
    ShiftFramesLeft(*s, tools, yes, at(50));
    // Destination 100, source 63900: 64000 - 100 + 1 repeats, but only 101
    // source frames exist; the rest of the destinations become empty.
    EXPECT_EQ(tagAt(*s, 100), 63901u);
    EXPECT_EQ(tagAt(*s, 200), 64001u);
    for (int i = 201; i <= MAX_FRAME_INDEX; i += 997) EXPECT_TRUE(emptyAt(*s, i)) << i;
    EXPECT_TRUE(emptyAt(*s, MAX_FRAME_INDEX));
    EXPECT_EQ(s->frameCount, 240);
}

TEST_F(StoreEnd, CopyOfABlockNearTheEndTakesOnlyTheSlotsThatExist) {
    survey({{63500, 501}});
    copyFrames(*s, tools, yes, at(63800, 6)); // 500 asked, 201 exist
    EXPECT_EQ(tools.clipboard.clipLast, 200);
    EXPECT_EQ(s->frame(0).work, s->frame(63800).value);
    EXPECT_EQ(s->frame(200).work, s->frame(64000).value);
}

TEST_F(StoreEnd, CopyOfAProfileEndingOnTheLastSlot) {
    survey({{63000, 1001}});
    copyFrames(*s, tools, yes, at(63500, PROFILE_ITEM));
    EXPECT_EQ(tools.clipboard.clipLast, 1000);
}

TEST_F(StoreEnd, PasteAtACursorNearTheEndIsRefused) {
    survey({{0, 20}}); // frameCount 60: frameCount + 20 passes the block check
    copyFrames(*s, tools, yes, at(0));
    RecordingInteraction ui;
    const EditResult r = pasteFrames(*s, tools, ui, at(63990));
    // Frames 63990..64009 do not all exist.
    EXPECT_EQ(r.outcome, Outcome::Refused);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_TRUE(emptyAt(*s, 63990));
}

TEST_F(StoreEnd, ShiftRightOfAFullStoreMovesNothing) {
    survey({{63000, 1000}}); // frameCount 64000, past the 63989 limit already
    const EditResult r = ShiftFramesRight(*s, tools, yes, at(63100));
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_EQ(tagAt(*s, 63100), 63101u);
    EXPECT_EQ(tagAt(*s, 63999), 64000u);
    EXPECT_EQ(s->frameCount, 64000);
}

TEST_F(StoreEnd, ShiftRightWithTheCursorOnTheLastSlot) {
    survey({{63000, 1001}});
    ShiftFramesRight(*s, tools, yes, at(MAX_FRAME_INDEX));
    EXPECT_EQ(tagAt(*s, 64000), 64001u);
}

TEST_F(StoreEnd, DeleteNearTheEndMovesEveryLaterFrame) {
    survey({{63000, 1000}}); // frameCount 64000
    DeleteFrames(*s, tools, yes, at(63000, 6), DeleteRange::Block);
    // Frames 63500..64000 move down to 63000..63500, frame 63900 included.
    EXPECT_EQ(tagAt(*s, 63000), 63501u);
    EXPECT_EQ(tagAt(*s, 63400), 63901u);
    EXPECT_EQ(tagAt(*s, 63499), 64000u);
    for (int i = 63500; i <= MAX_FRAME_INDEX; ++i) ASSERT_TRUE(emptyAt(*s, i)) << i;
    EXPECT_EQ(s->frameCount, 63520);
}

TEST_F(StoreEnd, DeleteOfABlockPastTheEndCountsOnlyTheSlotsThatExist) {
    survey({{63500, 501}});
    RecordingInteraction ui;
    ui.answers = {Answer::Yes};
    DeleteFrames(*s, tools, ui, at(63800, 6), DeleteRange::Block);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "You really want to remove 201 kadrs?");
    EXPECT_EQ(tagAt(*s, 63799), 63800u);
    EXPECT_TRUE(emptyAt(*s, 63800));
    EXPECT_TRUE(emptyAt(*s, MAX_FRAME_INDEX));
}

TEST_F(StoreEnd, DoublingThatWouldMake64002FramesKeepsTheFirst63990) {
    survey({{0, 32001}}, 32000); // every frame 0..32000 in a profile
    resampleX(*s, tools, yes, at(0), XResampling::Double);
    EXPECT_EQ(tagAt(*s, 63988), 31995u); // output 2i is frame i
    EXPECT_EQ(tagAt(*s, 63989), 31995u); // the frame between 31994 and 31995
    for (int i = 63990; i <= MAX_FRAME_INDEX; ++i) ASSERT_TRUE(emptyAt(*s, i)) << i;
    EXPECT_EQ(s->frameCount, 64000);
}

TEST_F(StoreEnd, HalvingReadsNoSourcePastTheLastSlot) {
    survey({{0, 64001}}); // frameCount 64000: sources up to 64041 asked for
    resampleX(*s, tools, yes, at(0), XResampling::Halve);
    EXPECT_EQ(tagAt(*s, 31999), 63999u); // merge of 63998 and 63999
    EXPECT_EQ(tagAt(*s, 32000), 64001u); // merge of 64000 and nothing
    EXPECT_EQ(s->frame(32000).value[0], tagSample(64001, 0));
    EXPECT_TRUE(emptyAt(*s, 32001));
    EXPECT_TRUE(emptyAt(*s, MAX_FRAME_INDEX));
    EXPECT_EQ(s->frameCount, 32040);
}

TEST_F(StoreEnd, CompressingAProfileThatEndsOnTheLastSlot) {
    survey({{63000, 1001}});
    resampleX(*s, tools, yes, at(63500), XResampling::Fit);
    // 501 / 501: every output after the first merges two frames.
    EXPECT_EQ(tagAt(*s, 63000), 63001u);
    EXPECT_EQ(tagAt(*s, 63001), 63003u);
    EXPECT_EQ(tagAt(*s, 63500), 64001u);
    for (int i = 63501; i <= MAX_FRAME_INDEX; ++i) ASSERT_TRUE(emptyAt(*s, i)) << i;
}

TEST_F(StoreEnd, StretchingToACursorOnTheLastSlot) {
    survey({{63000, 500}});
    resampleX(*s, tools, yes, at(MAX_FRAME_INDEX), XResampling::Fit);
    // 500 / 501 < 1: doubled to 63000..63999.
    EXPECT_TRUE(s->frame(63999).inProfile());
    EXPECT_TRUE(emptyAt(*s, MAX_FRAME_INDEX));
    EXPECT_EQ(s->frameCount, 64000);
}

TEST_F(StoreEnd, MirrorAndMoveUpFromAViewNearTheEnd) {
    survey({{63800, 201}});
    s->viewStart = 63900;
    moveFramesUp(*s, tools, at(0, 6, 10), BlockScope::ViewBlock); // 101 of 500 exist
    EXPECT_EQ(s->frame(64000).get16(cell::VerticalShift), 10u);
    mirrorFrames(*s, tools, at(0, 6), BlockScope::ViewBlock);
    EXPECT_EQ(tagAt(*s, 63900), 64001u);
    mirrorFrames(*s, tools, at(0), BlockScope::ViewProfile);
    EXPECT_EQ(tagAt(*s, 63800), 63901u);
}

TEST_F(StoreEnd, CursorsOutsideTheStoreAreHeldToIt) {
    survey({{63900, 101}});
    for (const int cursor : {-5, 70000}) {
        copyFrames(*s, tools, yes, at(cursor, PROFILE_ITEM));
        pasteFrames(*s, tools, yes, at(cursor));
        ShiftFramesLeft(*s, tools, yes, at(cursor));
        DeleteFrames(*s, tools, yes, at(cursor), DeleteRange::Block);
        resampleX(*s, tools, yes, at(cursor), XResampling::Fit);
    }
    EXPECT_LE(s->frameCount, MAX_FRAME_INDEX);
}

// The net under every command: a slot outside the store reads as an empty
// frame, takes no write and is counted.
TEST(Slots, AnAccessOutsideTheStoreIsCountedAndGoesNowhere) {
    auto s = newStore();
    const uint64_t faults = outOfRangeAccesses();
    const Slots f(*s);
    f[MAX_FRAME_INDEX + 1].value[0] = 9;
    EXPECT_EQ(f[-1].value[0], 0);
    EXPECT_EQ(outOfRangeAccesses(), faults + 2);
    EXPECT_TRUE(emptyAt(*s, MAX_FRAME_INDEX));
    EXPECT_TRUE(emptyAt(*s, 0));
}

} // namespace
} // namespace tesk::testing
