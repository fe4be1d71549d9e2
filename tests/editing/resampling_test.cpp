// "cX" and "cT" on small hand-built surveys: the frames each variant builds,
// the zero rule, markers, boundaries, the time range and frameCount.

#include "editing/resampling.h"
#include "editing/samples.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

EditInputs cursorAt(int frame) {
    EditInputs in;
    in.cursorFrame = frame;
    return in;
}

// Sample k of the plain average of the frames tagged a and b (no sample of
// the tagged frames is 0, so the zero rule does not apply).
uint8_t average(uint32_t a, uint32_t b, int k) {
    return uint8_t((tagSample(a, k) + tagSample(b, k)) / 2);
}

void expectSamplesOfTag(const ProfileStore& s, int slot, uint32_t tag) {
    for (int k = 0; k < SAMPLE_ROWS; ++k)
        ASSERT_EQ(s.frame(slot).value[k], tagSample(tag, k)) << "slot " << slot << " sample " << k;
}

void expectAverageOf(const ProfileStore& s, int slot, uint32_t a, uint32_t b) {
    for (int k = 0; k < SAMPLE_ROWS; ++k)
        ASSERT_EQ(s.frame(slot).value[k], average(a, b, k)) << "slot " << slot << " sample " << k;
}

TEST(ResamplingKeys, SelectTheVariants) {
    const EditKeys none{};
    const EditKeys leftShift{true, false, false, false};
    const EditKeys rightShift{false, true, false, false};
    const EditKeys leftCtrl{false, false, true, false};
    const EditKeys rightCtrl{false, false, false, true};
    const EditKeys shiftCtrl{false, true, true, false};
    EXPECT_EQ(xResamplingFor(none), XResampling::Double);
    EXPECT_EQ(xResamplingFor(rightShift), XResampling::Halve);
    EXPECT_EQ(xResamplingFor(leftCtrl), XResampling::Fit);
    EXPECT_EQ(xResamplingFor(shiftCtrl), XResampling::HalveThenFit);
    EXPECT_EQ(xResamplingFor(rightCtrl), XResampling::Double);
    EXPECT_EQ(tResamplingFor(none), TResampling::Expand);
    EXPECT_EQ(tResamplingFor(leftShift), TResampling::Compress);
    EXPECT_EQ(tResamplingFor({true, false, true, false}), TResampling::Compress);
    EXPECT_EQ(tResamplingFor(rightShift), TResampling::None);
    EXPECT_EQ(tResamplingFor(rightCtrl), TResampling::None);
    EXPECT_EQ(tResamplingFor(leftCtrl), TResampling::None);
    EXPECT_EQ(deleteRangeFor(leftCtrl), DeleteRange::SecondPoint);
    EXPECT_EQ(deleteRangeFor(rightCtrl), DeleteRange::Block);
}

TEST(ZeroRule, HoldsForEveryPairOfSamples) {
    std::array<uint8_t, SAMPLE_ROWS> a{}, b{}, out{};
    for (int s = 0; s < 256; ++s) {
        for (int t0 = 0; t0 < 256; t0 += SAMPLE_ROWS / 2) {
            // Half a frame of (s, t) pairs per call, each row its own t.
            for (int k = 0; k < SAMPLE_ROWS; ++k) {
                a[std::size_t(k)] = uint8_t(s);
                b[std::size_t(k)] = uint8_t((t0 + k) % 256);
            }
            midpointSamples(a.data(), b.data(), out.data());
            for (int k = 0; k < SAMPLE_ROWS; ++k) {
                const int t = b[std::size_t(k)];
                const int expected = s == 0 ? 0 : t == 0 ? s : (s + t) / 2;
                ASSERT_EQ(out[std::size_t(k)], expected) << "s " << s << " t " << t;
            }
        }
    }
}

// --- doubling ----------------------------------------------------------------

TEST(Double, EveryProfileFrameGetsAnInterpolatedNeighbour) {
    auto s = newStore();
    buildSurvey(*s, {{0, 100}}); // frameCount 120
    s->frame(10).value[cell::Status] |= 2;
    s->frame(3).work[7] = 99; // part of the clipboard
    EditTools tools;
    tools.clipboard = {true, 5};
    RecordingInteraction ui;
    answerYes(ui, 1);
    const EditResult r = resampleX(*s, tools, ui, cursorAt(0), XResampling::Double);
    EXPECT_EQ(r.outcome, Outcome::Done);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(ui.shown.size(), 1u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(tagAt(*s, 2 * i), uint32_t(i + 1));
        EXPECT_EQ(tagAt(*s, 2 * i + 1), uint32_t(i + 1)); // attributes of the left frame
        EXPECT_TRUE(s->frame(2 * i + 1).inProfile());
    }
    expectSamplesOfTag(*s, 40, 21);
    expectAverageOf(*s, 41, 21, 22);
    // Frame 100 is empty: the last interpolated frame repeats frame 99.
    expectSamplesOfTag(*s, 199, 100);
    for (int i = 200; i <= 260; ++i) EXPECT_TRUE(emptyAt(*s, i)) << i;
    // The marker stays on its own frame only.
    EXPECT_EQ(s->frame(20).markerStatus(), 2);
    EXPECT_EQ(s->frame(21).markerStatus(), 0);
    EXPECT_EQ(s->frameCount, 220);
    EXPECT_EQ(numberingFault(*s), -1);
    // The new frames are built in place: the clipboard in the work bytes stays.
    EXPECT_TRUE(tools.clipboard.filled);
    EXPECT_EQ(s->frame(3).work[7], 99);
}

TEST(Double, ALargeSurveyAsksFirstAndANoChangesNothing) {
    auto s = newStore();
    buildSurvey(*s, {{0, 10}, {31960, 10}}); // frameCount 32000
    const StoreImage before(*s);
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui;
    ui.answers = {Answer::No};
    const EditResult r = resampleX(*s, tools, ui, cursorAt(0), XResampling::Double);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "The file will have > 64000 staff  \rYou will lose a part of the "
                              "information!\rContinue?");
    EXPECT_FALSE(r.redraw);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_TRUE(tools.clipboard.filled);
}

// --- halving -----------------------------------------------------------------

TEST(Halve, MergesPairsKeepingBothMarkers) {
    auto s = newStore();
    buildSurvey(*s, {{0, 10}}); // frameCount 40
    s->frame(2).value[cell::Status] |= 1;
    s->frame(3).value[cell::Status] |= 2;
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui;
    answerYes(ui, 1);
    const EditResult r = resampleX(*s, tools, ui, cursorAt(0), XResampling::Halve);
    EXPECT_TRUE(r.redraw);
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(tagAt(*s, j), uint32_t(2 * j + 1));
        expectAverageOf(*s, j, uint32_t(2 * j + 1), uint32_t(2 * j + 2));
    }
    EXPECT_EQ(s->frame(1).markerStatus(), 3);
    for (int i = 5; i <= 90; ++i) EXPECT_TRUE(emptyAt(*s, i)) << i;
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_EQ(numberingFault(*s), -1);
    // Halving works in the value bytes: the clipboard survives.
    EXPECT_TRUE(tools.clipboard.filled);
}

TEST(Halve, AProfileFrameBesideAGapFrameKeepsItsSamples) {
    auto s = newStore();
    buildSurvey(*s, {{0, 1}, {3, 1}}); // pairs (0, 1) and (2, 3)
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, 1);
    resampleX(*s, tools, ui, cursorAt(0), XResampling::Halve);
    // Frame 1 is empty: counts as frame 0.
    expectSamplesOfTag(*s, 0, 1);
    EXPECT_TRUE(s->frame(0).inProfile());
    // Frame 2 is empty and comes first: the merged samples stay 0, though the
    // merged status says in profile.
    EXPECT_TRUE(s->frame(1).inProfile());
    EXPECT_EQ(s->frame(1).value[0], 0);
    EXPECT_EQ(s->frame(1).value[527], 0);
}

TEST(Halve, BelowTwentyFramesDoesNothingAfterTheQuestion) {
    auto s = newStore();
    buildSurvey(*s, {{0, 10}});
    s->frameCount = 19;
    const StoreImage before(*s);
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, 1);
    const EditResult r = resampleX(*s, tools, ui, cursorAt(0), XResampling::Halve);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(r.outcome, Outcome::EarlyExit);
    EXPECT_FALSE(r.redraw);
    EXPECT_TRUE(before.matches(*s));
}

// --- fit to the cursor -------------------------------------------------------

struct FitCase {
    const char* name;
    std::vector<Span> runs;
    int cursor;
    std::vector<uint32_t> tags; // slots 0..; tags repeated at interpolated or merged frames
    // Slots holding the average of the frame they are tagged with and the
    // frame tagged `second` (0: an empty neighbour, whose samples repeat).
    std::vector<std::pair<int, uint32_t>> blended;
    int emptyFrom; // first slot that must be empty, up to emptyTo
    int emptyTo;
};

std::ostream& operator<<(std::ostream& os, const FitCase& c) {
    return os << c.name;
}

class Fit : public ::testing::TestWithParam<FitCase> {};

TEST_P(Fit, EndsTheProfileAtTheCursor) {
    const FitCase& c = GetParam();
    auto s = newStore();
    buildSurvey(*s, c.runs);
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui; // the fit asks nothing
    const EditResult r = resampleX(*s, tools, ui, cursorAt(c.cursor), XResampling::Fit);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(tags(*s, 0, int(c.tags.size()) - 1), c.tags);
    for (const auto& [slot, second] : c.blended) {
        const uint32_t tag = c.tags[std::size_t(slot)];
        if (second == 0)
            expectSamplesOfTag(*s, slot, tag);
        else
            expectAverageOf(*s, slot, tag, second);
    }
    for (int i = c.emptyFrom; i <= c.emptyTo; ++i) EXPECT_TRUE(emptyAt(*s, i)) << i;
    EXPECT_EQ(numberingFault(*s), -1);
    EXPECT_FALSE(tools.clipboard.filled);
}

INSTANTIATE_TEST_SUITE_P(Cases, Fit,
                         ::testing::Values(
                             // Profile 1..6, cursor 9: 6 / 3 = 2, one new frame after every second.
                             FitCase{"StretchByHalf",
                                     {{1, 6}},
                                     9,
                                     {0, 2, 3, 3, 4, 5, 5, 6, 7, 7},
                                     {{3, 4}, {6, 6}, {9, 0}},
                                     10,
                                     40},
                             // Profile 1..4, cursor 20: at most doubled, the rest of the gap stays.
                             FitCase{"StretchAtMostTwofold",
                                     {{1, 4}},
                                     20,
                                     {0, 2, 2, 3, 3, 4, 4, 5, 5},
                                     {{2, 3}, {4, 4}, {6, 5}, {8, 0}},
                                     9,
                                     40},
                             // Profile 1..12, cursor 9: 9 / 4 = 2.25, merges at 3, 4.5, 6.75, 9.
                             FitCase{"CompressByAQuarter",
                                     {{1, 12}},
                                     9,
                                     {0, 2, 3, 4, 6, 7, 9, 10, 12, 13},
                                     {{3, 5}, {5, 8}, {7, 11}, {9, 0}},
                                     10,
                                     40},
                             // Cursor 11: 11 / 2 = 5.5, merges at 6 and 11.
                             FitCase{"CompressNearTheEnd",
                                     {{1, 12}},
                                     11,
                                     {0, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13},
                                     {{6, 8}, {11, 0}},
                                     12,
                                     40},
                             // Cursor 3: 3 / 10 < 1, the profile is halved; 7..13 become empty.
                             FitCase{"CompressAtMostTwofold",
                                     {{1, 12}},
                                     3,
                                     {0, 2, 4, 6, 8, 10, 12},
                                     {{1, 3}, {2, 5}, {3, 7}, {4, 9}, {5, 11}, {6, 13}},
                                     7,
                                     40}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(Fit, SilentEarlyExitsChangeNothing) {
    struct Exit {
        std::vector<Span> runs;
        int cursor;
    };
    // No profile before a cursor in a gap; the cursor on a profile's last frame.
    for (const Exit& e : {Exit{{{10, 5}}, 5}, Exit{{{1, 12}}, 12}, Exit{{{10, 5}}, 0}}) {
        auto s = newStore();
        buildSurvey(*s, e.runs);
        const StoreImage before(*s);
        EditTools tools;
        tools.clipboard = {true, 0};
        RecordingInteraction ui;
        const EditResult r = resampleX(*s, tools, ui, cursorAt(e.cursor), XResampling::Fit);
        EXPECT_EQ(r.outcome, Outcome::EarlyExit) << e.cursor;
        EXPECT_FALSE(r.redraw);
        EXPECT_TRUE(before.matches(*s));
        EXPECT_TRUE(tools.clipboard.filled);
        EXPECT_FALSE(tools.history.canUndo());
    }
}

TEST(Fit, KeepsAClipboardWhoseSlotsItDoesNotUse) {
    auto s = newStore();
    buildSurvey(*s, {{100, 6}});
    EditTools tools;
    tools.clipboard = {true, 98}; // work bytes of slots 0..98
    RecordingInteraction ui;
    resampleX(*s, tools, ui, cursorAt(108), XResampling::Fit); // works on 99..108
    EXPECT_TRUE(tools.clipboard.filled);
    tools.clipboard = {true, 99};
    resampleX(*s, tools, ui, cursorAt(111), XResampling::Fit);
    EXPECT_FALSE(tools.clipboard.filled);
}

TEST(Fit, CursorPastTheSurveyRaisesFrameCount) {
    auto s = newStore();
    buildSurvey(*s, {{0, 30}}); // frameCount 60
    EditTools tools;
    RecordingInteraction ui;
    // Frame 0 is in the profile: the scan back stops on it. 29 / 30 < 1: doubled.
    resampleX(*s, tools, ui, cursorAt(90), XResampling::Fit);
    EXPECT_TRUE(s->frame(58).inProfile());
    EXPECT_FALSE(s->frame(59).inProfile());
    EXPECT_EQ(s->frameCount, 80);
}

TEST(HalveThenFit, FitsTheHalvedProfileToTheCursor) {
    auto s = newStore();
    buildSurvey(*s, {{0, 40}});
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, 1);
    resampleX(*s, tools, ui, cursorAt(38), XResampling::HalveThenFit);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "The file, on scale <X> will be Decreased twice\rContinue?");
    // Halved: 0..19, frame i tagged 2i + 1. Then 19 / 19 = 1: doubled to 0..38.
    for (int i = 1; i <= 19; ++i) {
        EXPECT_EQ(tagAt(*s, 2 * i - 1), uint32_t(2 * i + 1));
        EXPECT_EQ(tagAt(*s, 2 * i), uint32_t(2 * i + 1));
    }
    EXPECT_TRUE(s->frame(38).inProfile());
    EXPECT_TRUE(emptyAt(*s, 39));
    EXPECT_EQ(s->frameCount, 60);
}

TEST(HalveThenFit, ANoToTheHalvingStopsEverything) {
    auto s = newStore();
    buildSurvey(*s, {{0, 40}});
    const StoreImage before(*s);
    EditTools tools;
    RecordingInteraction ui;
    ui.answers = {Answer::No};
    const EditResult r = resampleX(*s, tools, ui, cursorAt(38), XResampling::HalveThenFit);
    EXPECT_EQ(r.outcome, Outcome::Declined);
    EXPECT_TRUE(before.matches(*s));
}

// --- along T -------------------------------------------------------------------

// Sample k of the test trace: k mod 200 + 1.
uint8_t trace(int k) {
    return uint8_t(k % 200 + 1);
}

void putTrace(ProfileStore& s, int slot) {
    FrameRecord& f = s.frame(slot);
    for (int k = 0; k < SAMPLE_ROWS; ++k) f.value[k] = trace(k);
    f.value[cell::Status] = status::InProfile;
    const int rows[7] = {100, 300, 255, 256, 0, 1, 511};
    for (int b = 0; b < 7; ++b) f.set16(cell::Boundary1 + 2 * b, uint32_t(rows[b]));
}

uint32_t boundary(const ProfileStore& s, int slot, int b) {
    return s.frame(slot).get16(cell::Boundary1 + 2 * b);
}

TEST(ExpandT, StretchesTheFirstHalfOverTheTraceAndDoublesTheBoundaries) {
    auto s = newStore();
    putTrace(*s, 0);
    putTrace(*s, 1);
    s->frame(5).set24(cell::ReliefHeight, 77); // a gap frame: no samples to stretch
    s->frameCount = 40;
    s->header.value[hdr::TimeRange] = 2; // 512 ns
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui;
    answerYes(ui, 1);
    const EditResult r = resampleT(*s, tools, ui, TResampling::Expand);
    EXPECT_TRUE(r.redraw);
    EXPECT_TRUE(r.timeRangeChanged);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 1); // 256 ns
    for (int slot : {0, 1}) {
        const auto& v = s->frame(slot).value;
        for (int k = 0; k <= 263; ++k) {
            ASSERT_EQ(v[2 * k], trace(k)) << k;
            ASSERT_EQ(v[2 * k + 1], (trace(k) + trace(k + 1)) / 2) << k;
        }
        // 100 -> 200, 255 -> 510; 300 and 256 leave the 512 recorded samples.
        const uint32_t expected[7] = {200, 0, 510, 0, 0, 2, 0};
        for (int b = 0; b < 7; ++b) EXPECT_EQ(boundary(*s, slot, b), expected[b]) << b;
    }
    EXPECT_EQ(s->frame(5).reliefHeight(), 77u);
    EXPECT_FALSE(tools.clipboard.filled);
}

TEST(ExpandT, AtTheShortestRangeAsksAgainAndKeepsTheRange) {
    for (const Answer second : {Answer::Yes, Answer::No}) {
        auto s = newStore();
        putTrace(*s, 0);
        s->frameCount = 40;
        s->header.value[hdr::TimeRange] = 0; // 128 ns
        const StoreImage before(*s);
        EditTools tools;
        RecordingInteraction ui;
        ui.answers = {Answer::Yes, second};
        const EditResult r = resampleT(*s, tools, ui, TResampling::Expand);
        ASSERT_EQ(ui.shown.size(), 2u);
        EXPECT_EQ(ui.shown[1].en, "The file is maximized! \rContinue?");
        EXPECT_EQ(s->header.value[hdr::TimeRange], 0);
        EXPECT_FALSE(r.timeRangeChanged);
        if (second == Answer::Yes) {
            EXPECT_EQ(s->frame(0).value[1], (trace(0) + trace(1)) / 2);
            EXPECT_TRUE(r.redraw);
        } else {
            EXPECT_TRUE(before.matches(*s));
            EXPECT_FALSE(r.redraw);
        }
    }
}

TEST(CompressT, AveragesPairsThenFallsFromSample513TowardZero) {
    auto s = newStore();
    putTrace(*s, 0);
    s->frameCount = 40;
    s->header.value[hdr::TimeRange] = 2;
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, 1);
    const EditResult r = resampleT(*s, tools, ui, TResampling::Compress);
    EXPECT_TRUE(r.timeRangeChanged);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 3); // 1024 ns
    const auto& v = s->frame(0).value;
    for (int k = 0; k <= 256; ++k) ASSERT_EQ(v[k], (trace(2 * k) + trace(2 * k + 1)) / 2) << k;
    // Old sample 513 is 114: samples 257..370 run 114 down to 1, then 0.
    EXPECT_EQ(v[257], 114);
    EXPECT_EQ(v[258], 113);
    EXPECT_EQ(v[370], 1);
    for (int k = 371; k < SAMPLE_ROWS; ++k) ASSERT_EQ(v[k], 0) << k;
    const uint32_t expected[7] = {50, 150, 127, 128, 0, 0, 255};
    for (int b = 0; b < 7; ++b) EXPECT_EQ(boundary(*s, 0, b), expected[b]) << b;
}

TEST(CompressT, AtTheLongestRangeIsRefused) {
    auto s = newStore();
    putTrace(*s, 0);
    s->frameCount = 40;
    s->header.value[hdr::TimeRange] = 7; // 16384 ns
    const StoreImage before(*s);
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui;
    const EditResult r = resampleT(*s, tools, ui, TResampling::Compress);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].buttons, Buttons::Ok);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_FALSE(r.redraw);
    EXPECT_TRUE(before.matches(*s));
    EXPECT_TRUE(tools.clipboard.filled);
}

TEST(ResampleT, WithACtrlKeyOnlyClosesTheClipboardAndRedraws) {
    auto s = newStore();
    putTrace(*s, 0);
    s->frameCount = 40;
    s->stateFlags = 0;
    const StoreImage before(*s);
    EditTools tools;
    tools.clipboard = {true, 0};
    RecordingInteraction ui;
    const EditResult r = resampleT(*s, tools, ui, TResampling::None);
    EXPECT_TRUE(r.redraw);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(before.matches(*s));
    EXPECT_FALSE(tools.clipboard.filled);
    EXPECT_EQ(s->stateFlags, state::Changed);
}

} // namespace
} // namespace tesk::testing
