// The normalisation pass after every frame load: in-profile flags and
// positions, merged markers, the relief maximum and the final frame count.

#include "support/store_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tesk::testing {
namespace {

TEST(FinishLoad, BlankFrameLosesEveryStatusBitMarkersIncluded) {
    auto s = newStore();
    for (int i = 0; i <= 4; ++i) putSample(*s, i);
    s->frame(5).value[cell::Status] = 0xF3; // reversed, hodograph, table, in-profile, marker 3
    putSample(*s, 7);
    s->frameCount = 10;
    s->finishLoad();
    EXPECT_EQ(s->frame(5).status(), 0);
}

TEST(FinishLoad, FillRowsAloneDoNotMakeAFrameHoldData) {
    auto s = newStore();
    putSample(*s, 0);
    s->frame(1).value[520] = 7; // a fill row, not a recorded sample
    s->frame(1).value[cell::Status] = status::InProfile;
    s->frameCount = 5;
    s->finishLoad();
    EXPECT_FALSE(s->frame(1).inProfile());
}

TEST(FinishLoad, AnyNonZeroSampleMakesTheFrameInProfile) {
    auto s = newStore();
    s->frame(0).value[511] = 1; // the last recorded sample alone
    s->frame(1).value[255] = 128;
    s->frameCount = 5;
    s->finishLoad();
    EXPECT_TRUE(s->frame(0).inProfile());
    EXPECT_TRUE(s->frame(1).inProfile());
    EXPECT_FALSE(s->frame(2).inProfile());
}

TEST(FinishLoad, InProfileFrameKeepsItsOtherStatusBits) {
    auto s = newStore();
    putSample(*s, 0);
    s->frame(0).value[cell::Status] = 0xE1; // reversed, hodograph, table mark, marker 1
    s->frameCount = 5;
    s->finishLoad();
    EXPECT_EQ(s->frame(0).status(), 0xF1);
}

// --- markers -----------------------------------------------------------------

struct MarkerCase {
    const char* name;
    std::map<int, int> markers;  // slot -> marker status before the pass
    std::set<int> blank;         // slots without samples (all others 0..30 hold data)
    std::map<int, int> expected; // slot -> marker status after (slots not listed: 0)
};

std::ostream& operator<<(std::ostream& os, const MarkerCase& c) {
    return os << c.name;
}

class MarkerMerge : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(MarkerMerge, ConsecutiveMarkersBecomeOne) {
    const MarkerCase& c = GetParam();
    auto s = newStore();
    for (int i = 0; i <= 30; ++i)
        if (!c.blank.count(i)) putSample(*s, i);
    for (const auto& [slot, m] : c.markers) s->frame(slot).value[cell::Status] = uint8_t(m);
    s->frameCount = 30;
    s->finishLoad();
    for (int i = 0; i <= 30; ++i) {
        const auto it = c.expected.find(i);
        EXPECT_EQ(s->frame(i).markerStatus(), it == c.expected.end() ? 0 : it->second)
            << "slot " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkerMerge,
    ::testing::Values(MarkerCase{"TwoAndTwoMakeThreeThenNone", {{10, 2}, {11, 2}}, {}, {{10, 3}}},
                      MarkerCase{"OneAndOneTwoApart", {{10, 1}, {12, 1}}, {}, {{10, 2}}},
                      MarkerCase{"ThirdNeighbourStillMerged", {{10, 1}, {13, 1}}, {}, {{10, 2}}},
                      MarkerCase{
                          "FourApartStaySeparate", {{10, 1}, {14, 1}}, {}, {{10, 1}, {14, 1}}},
                      MarkerCase{"FiveInARowCapAtThreeThenStartAgain",
                                 {{10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}},
                                 {},
                                 {{10, 3}, {14, 1}}},
                      MarkerCase{"ThreeAndThreeCapAtThree", {{20, 3}, {21, 3}}, {}, {{20, 3}}},
                      MarkerCase{"LoneMarkerOnBlankFrameIsLost", {{10, 3}}, {10}, {}},
                      // The frames ahead are summed before their own turn, so a marker on
                      // the blank frame right after a marked frame still counts.
                      MarkerCase{"BlankNeighbourStillCounts", {{10, 1}, {11, 2}}, {11}, {{10, 3}}},
                      MarkerCase{"FirstSlot", {{0, 1}, {1, 1}}, {}, {{0, 2}}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- positions inside profiles -----------------------------------------------

TEST(FinishLoad, IndexInProfileCountsFromZeroInEveryProfile) {
    auto s = newStore();
    for (int i : {0, 1, 3, 4, 5, 7, 8, 10}) putSample(*s, i);
    for (int i = 0; i <= 10; ++i) s->frame(i).set16(cell::IndexInProfile, 999); // stale values
    s->frameCount = 20;
    s->finishLoad();
    const std::map<int, int> expected = {{0, 0}, {1, 1}, {3, 0}, {4, 1},
                                         {5, 2}, {7, 0}, {8, 1}, {10, 0}};
    for (const auto& [slot, k] : expected)
        EXPECT_EQ(s->frame(slot).get16(cell::IndexInProfile), k) << "slot " << slot;
}

// --- frame count --------------------------------------------------------------

struct CountCase {
    int frameCountBefore;
    int lastInProfile; // -1: no frame holds data
    int expected;
};

std::ostream& operator<<(std::ostream& os, const CountCase& c) {
    return os << "before " << c.frameCountBefore << " last " << c.lastInProfile;
}

class FrameCountAfterLoad : public ::testing::TestWithParam<CountCase> {};

TEST_P(FrameCountAfterLoad, LastInProfileRoundedDownTo20Plus40) {
    const CountCase& c = GetParam();
    auto s = newStore();
    putSample(*s, 0);
    if (c.lastInProfile >= 0)
        putSample(*s, c.lastInProfile);
    else
        s->frame(0).value[0] = 0;
    s->frameCount = c.frameCountBefore;
    s->finishLoad();
    EXPECT_EQ(s->frameCount, c.expected);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), c.expected) << "header copy in cells 16..17";
}

INSTANTIATE_TEST_SUITE_P(Cases, FrameCountAfterLoad,
                         ::testing::Values(CountCase{1050, 1000, 1040}, CountCase{1050, 1019, 1040},
                                           CountCase{1050, 1020, 1060}, CountCase{500, -1, 40},
                                           CountCase{10, 0, 40}, CountCase{30, 19, 40},
                                           CountCase{30, 20, 60}, CountCase{63999, 63959, 63980},
                                           // The rounding passes the last slot from 63960 on; the
                                           // count is clamped to 64000.
                                           CountCase{63999, 63960, 64000},
                                           CountCase{63999, 63990, 64000},
                                           // A count above 63999 is cut to 63989 before the pass.
                                           CountCase{64000, 63989, 64000}));

TEST(FinishLoad, CountAbove63999IsCutTo63989BeforeThePass) {
    auto s = newStore();
    putSample(*s, 100);
    putSample(*s, 63995); // beyond slot 63989: the pass never looks at it
    s->frameCount = 64000;
    s->finishLoad();
    EXPECT_FALSE(s->frame(63995).inProfile());
    EXPECT_EQ(s->frameCount, 140);
}

TEST(FinishLoad, FramesAboveTheCountAreNotLookedAt) {
    auto s = newStore();
    putSample(*s, 5);
    putSample(*s, 200);
    s->frame(201).set24(cell::ReliefHeight, 50000);
    s->frameCount = 100;
    s->finishLoad();
    EXPECT_FALSE(s->frame(200).inProfile());
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_EQ(s->Hmax, 0u);
}

// --- relief maximum -----------------------------------------------------------

TEST(FinishLoad, HmaxRaisedToTheHighestRelief) {
    auto s = newStore();
    const int relief[] = {0, 250, 1200, 700};
    for (int i = 0; i < 4; ++i) {
        putSample(*s, i);
        s->frame(i).set24(cell::ReliefHeight, uint32_t(relief[i]));
    }
    s->setHmax(300);
    s->frameCount = 10;
    s->finishLoad();
    EXPECT_EQ(s->Hmax, 1200u);
    EXPECT_EQ(s->header.value[61], 0x00);
    EXPECT_EQ(s->header.value[62], 0x04);
    EXPECT_EQ(s->header.value[63], 0xB0);
}

TEST(FinishLoad, HmaxNeverLowered) {
    auto s = newStore();
    putSample(*s, 0);
    s->frame(0).set24(cell::ReliefHeight, 700);
    s->setHmax(5000);
    s->frameCount = 10;
    s->finishLoad();
    EXPECT_EQ(s->Hmax, 5000u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 5000u);
}

TEST(FinishLoad, ReliefZeroEverywhereLeavesHmax) {
    auto s = newStore();
    for (int i = 0; i < 50; ++i) putSample(*s, i);
    s->setHmax(321);
    s->frameCount = 60;
    s->finishLoad();
    EXPECT_EQ(s->Hmax, 321u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 321u);
}

TEST(FinishLoad, ReliefOfABlankSlotStillCounts) {
    auto s = newStore();
    putSample(*s, 0);
    s->frame(3).set24(cell::ReliefHeight, 900); // slot 3 holds no samples
    s->frameCount = 10;
    s->finishLoad();
    EXPECT_EQ(s->Hmax, 900u);
}

} // namespace
} // namespace tesk::testing
