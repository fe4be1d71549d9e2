// Profile correction: the proposed step, dropped and placed frames, filled
// gaps, markers carried to the kept frame, the output limit.

#include "coordinates/correction.h"
#include "coordinates_test_support.h"

namespace tesk::testing {
namespace {

int32_t X(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsX));
}
// Frames are told apart by their recorded second (frame i at 10:00:00 + i).
int recordedFrame(const ProfileStore& s, int i) {
    return s.frame(i).value[cell::Minute] * 60 + s.frame(i).value[cell::Second];
}

TEST(Correction, ProposedStep) {
    struct Row {
        uint16_t mean;
        int item;
    };
    // Step table 1, 2, 5, 10, 15, 20, 25, 30, 40 ... 25000, 50000.
    const Row rows[] = {{0, 0},  {18, 5}, {17, 4},     {25, 6},
                        {35, 7}, {36, 8}, {50000, 30}, {60000, 30}};
    for (const Row& r : rows) EXPECT_EQ(coords::proposedStepItem(r.mean), r.item) << r.mean;
}

coords::CorrectionResult correct(ProfileStore& s, int stepItem, Answer a, RecordingInteraction& ui,
                                 uint16_t mean = 20) {
    ui.answers = {a};
    return coords::Kor_LX(s, {mean, stepItem}, ui);
}

// 20 cm spacing corrected to 100 cm: every fifth frame is kept and placed on
// the step; a marker on a dropped frame lands on the kept one.
TEST(Correction, KeepsEveryFifthFrame) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {51}, 10);
    for (int i = 0; i < 51; ++i) s->frame(i).set32(cell::UcsX, uint32_t(20 * i));
    s->frame(4).value[cell::Status] |= 2;
    RecordingInteraction ui;
    const auto r = correct(*s, 14, Answer::No, ui); // current step item 14: 100 cm
    EXPECT_TRUE(r.done);
    EXPECT_EQ(r.stepCm, 100);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en,
              "Perform correction Profiles:\r<Yes> - by Calculating the average step "
              "20 cm.\r<No>  - by Establishing the average step 100 cm.\r<Cansel> - "
              "do not Perform correction profiles.");
    EXPECT_EQ(ui.shown[0].ru, "Выполнить коррекцию профилей:\r<Yes> - по Вычисленому среднему шагу "
                              "20 cm.\r<No> - по Установленному среднему шагу 100 cm.\r<Cansel> - "
                              "Не выполнять коррекцию профилей.");
    EXPECT_EQ(recordedFrame(*s, 0), 0);
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(X(*s, k), 100 * k) << k;
        EXPECT_EQ(recordedFrame(*s, k), 5 * k + 2) << k;
    }
    EXPECT_EQ(X(*s, 10), 1000);
    EXPECT_EQ(recordedFrame(*s, 10), 50);
    EXPECT_FALSE(s->frame(11).inProfile());
    for (int k = 0; k <= 10; ++k) EXPECT_EQ(s->frame(k).markerStatus(), k == 1 ? 2 : 0) << k;
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), 40);
}

// A 500 cm gap is filled with copies of the frame after it, one per step.
TEST(Correction, FillsAGap) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {5}, 10);
    const int32_t x[] = {0, 100, 200, 700, 800};
    for (int i = 0; i < 5; ++i) s->frame(i).set32(cell::UcsX, uint32_t(x[i]));
    RecordingInteraction ui;
    correct(*s, 14, Answer::No, ui);
    const int source[] = {0, 1, 2, 3, 3, 3, 3, 3, 4};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(X(*s, k), 100 * k) << k;
        EXPECT_EQ(recordedFrame(*s, k), source[k]) << k;
    }
    EXPECT_FALSE(s->frame(9).inProfile());
}

// Two profiles with one blank frame between them stay two profiles.
TEST(Correction, SingleGapFrameKeepsProfilesApart) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3, 3}, 1); // runs 0..2 and 4..6
    const int32_t x[] = {0, 100, 200, 0, 1000, 1100, 1200};
    for (int i = 0; i < 7; ++i) s->frame(i).set32(cell::UcsX, uint32_t(x[i]));
    RecordingInteraction ui;
    correct(*s, 14, Answer::No, ui);
    for (int k : {0, 1, 2, 4, 5, 6}) EXPECT_TRUE(s->frame(k).inProfile()) << k;
    EXPECT_FALSE(s->frame(3).inProfile());
    EXPECT_EQ(X(*s, 4), 1000);
    EXPECT_EQ(X(*s, 6), 1200);
}

TEST(Correction, CancelAndTheProposal) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {5}, 10);
    for (int i = 0; i < 5; ++i) s->frame(i).set32(cell::UcsX, uint32_t(20 * i));
    RecordingInteraction cancel;
    auto r = correct(*s, 14, Answer::Cancel, cancel);
    EXPECT_FALSE(r.done);
    EXPECT_EQ(X(*s, 1), 20);
    // Yes takes the proposal for a mean of 20 cm: item 5 (20 cm): nothing moves.
    RecordingInteraction yes;
    r = correct(*s, 14, Answer::Yes, yes);
    EXPECT_EQ(r.stepItem, 5);
    EXPECT_EQ(r.stepCm, 20);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(X(*s, i), 20 * i) << i;
}

// A gap of 100 km at a step of 1 cm would need ten million frames: the output
// stops at frame 63900 and the frame count stays inside the store.
TEST(Correction, OutputLimit) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {2}, 10);
    s->frame(1).set32(cell::UcsX, 10000000);
    RecordingInteraction ui;
    correct(*s, 0, Answer::No, ui, 1);
    EXPECT_TRUE(s->frame(63899).inProfile());
    EXPECT_FALSE(s->frame(63901).inProfile());
    EXPECT_LE(s->frameCount, MAX_FRAME_INDEX);
    EXPECT_EQ(s->frameCount % 20, 0);
    // Frame 0 twice (the first frame and its untouched candidate), then one step each.
    EXPECT_EQ(X(*s, 63000), 62999);
}

} // namespace
} // namespace tesk::testing
