// The volume build on small hand-placed surveys: the grid step and extent
// error, the frame pass (same node, markers, tracks, slots written back),
// each fill method against values worked out by hand from its rule, the gap
// limit, the axis coordinates, the relief display and the abort.
//
// Most surveys use a grid step of 20 cm: profiles spanning 8000 cm give
// 8000 / 512 = 15.6 cm per node, and the first step above that is 20.

#include "volume/messages.h"
#include "volume/volume_build.h"
#include "volume/volume_controls.h"
#include "volume/volume_passes.h"
#include "volume_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk {
namespace {

using testing::CountingInteraction;
using testing::newStore;
using testing::placeFrame;
using testing::placeProfile;
using testing::settingsFor;
using testing::sharedGrid;

constexpr int SPAN = 8000; // cm: grid step 20

BuildResult build(ProfileStore& s, const VolumeSettings& v, CountingInteraction& ui,
                  const AbortCheck& abort = {}) {
    return GP_Volume(s, sharedGrid(), v, ui, abort);
}

// --- grid step, extent and bad input ------------------------------------------------

TEST(VolumeGridStep, FirstStepAboveTheNodeSpacing) {
    struct Row {
        double s;
        int step;
    };
    for (const Row& r : {Row{0.5, 1}, Row{1.0, 2}, Row{15.625, 20}, Row{20.0, 25},
                         Row{9999.9, 10000}, Row{10000, 25000}, Row{10000.01, 0}, Row{0, 0}})
        EXPECT_EQ(gridStepFor(r.s), r.step) << r.s;
}

TEST(VolumeGridStep, GapLimitIsRoundedDistanceOverStepPlusOne) {
    VolumeSettings v;
    EXPECT_EQ(gapLimit(v, 20), 256); // CheckBox52 unchecked
    v.gapLimited = true;
    v.distanceItem = 5; // 60 cm
    EXPECT_EQ(gapLimit(v, 20), 4);
    v.distanceItem = 9; // 100 cm
    EXPECT_EQ(gapLimit(v, 20), 6);
    v.distanceItem = 1; // 25 cm / 10 = 2.5, to even: 2
    EXPECT_EQ(gapLimit(v, 10), 3);
}

// Surveys the grid cannot be built from: nothing changes in the store and
// the error names the frames of the four extremes.
TEST(VolumeBuild, ExtentErrorsLeaveTheStoreUntouched) {
    struct Row {
        const char* name;
        std::vector<std::array<int32_t, 3>> frames; // slot, x, y
        int xMax, xMin, yMax, yMin;
    };
    const Row rows[] = {
        {"60 km survey", {{0, 0, 0}, {1, 3000000, 100}, {2, 6000000, 200}}, 2, 0, 2, 0},
        {"coordinates all zero", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, 0, 0, 0, 0},
        {"single frame", {{5, 12345, 678}}, 5, 5, 5, 5},
        {"no frame at all", {}, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        auto s = newStore();
        for (const auto& f : r.frames) placeFrame(*s, f[0], f[1], f[2], 130);
        s->frameCount = 40;
        for (int i = 0; i <= 40; ++i) s->frame(i).set32(cell::VolumeSlot, 0xA5A5A5A5u);
        s->stateFlags = 0x3108;
        CountingInteraction ui;
        EXPECT_EQ(build(*s, settingsFor(fill_method::AlongX), ui), BuildResult::ExtentError)
            << r.name;
        ASSERT_EQ(ui.shown.size(), 1u) << r.name;
        const Message expected = msg::volumeExtentError(r.xMax, r.xMin, r.yMax, r.yMin);
        EXPECT_EQ(ui.shown[0].en, expected.en) << r.name;
        EXPECT_EQ(ui.shown[0].icon, Icon::Error);
        for (int i = 0; i <= 40; ++i)
            EXPECT_EQ(s->frame(i).get32(cell::VolumeSlot), 0xA5A5A5A5u) << r.name << " " << i;
        EXPECT_EQ(s->stateFlags, 0x3108) << r.name; // still stale
        EXPECT_EQ(ui.started, 1);
        EXPECT_EQ(ui.finished, 1);
        EXPECT_FALSE(sharedGrid().info.built);
    }
}

TEST(VolumeBuild, ExtentMessageWordingInBothLanguages) {
    const Message m = msg::volumeExtentError(2, 0, 7, 3);
    EXPECT_EQ(m.ru, "Ошибка Координат!\rШаг профиля = 0 или >100m.\rX-max = 2\rX-min = 0\r"
                    "Y-max = 7\rY-min = 3");
    EXPECT_EQ(m.en, "Error coordinates!\rStep profile =0 or >100m.\rX-max = 2\rX-min = 0\r"
                    "Y-max = 7\rY-min = 3");
    const Message p = msg::placementExtentError(11718.75, 2, 0, 7, 3);
    EXPECT_EQ(p.en, "Error coordinates!\rStep profile = 11718.75cm.\rX-max = 2\rX-min = 0\r"
                    "Y-max = 7\rY-min = 3");
}

// Negative coordinates and an extent whose far end rounds to node 512.
TEST(VolumeBuild, FramesMapInsideTheGridWhateverTheirCoordinates) {
    auto s = newStore();
    // 10235 / 512 = 19.99 cm per node: step 20, and 10235 / 20 = 511.75
    // rounds to 512, which is the last node 511.
    placeFrame(*s, 0, -5000, -300, 100);
    placeFrame(*s, 1, -5000 + 10235, -300, 100);
    CountingInteraction ui;
    ASSERT_EQ(build(*s, settingsFor(fill_method::AlongX), ui), BuildResult::Built);
    EXPECT_EQ(sharedGrid().info.stepCm, 20);
    EXPECT_EQ(sharedGrid().info.gxMax, 511);
    EXPECT_EQ(s->frame(1).get16(cell::VolumeSlot), 511u);
    EXPECT_EQ(sharedGrid().at(511, 7, 0), 100);
    EXPECT_EQ(volumeSummary(sharedGrid()), "volume: step=20 cm nodes=512 x 1");
}

// --- frame pass ---------------------------------------------------------------------------

TEST(VolumeBuild, FramesOnOneNodeLastWinsAndMarkersAccumulate) {
    auto s = newStore();
    placeFrame(*s, 0, 0, 0, 100);
    placeFrame(*s, 1, 5, 0, 110, 1); // 5 cm on: the same node
    placeFrame(*s, 2, 9, 0, 120, 2);
    placeFrame(*s, 3, SPAN, 0, 140);
    CountingInteraction ui;
    ASSERT_EQ(build(*s, settingsFor(fill_method::AlongX), ui), BuildResult::Built);
    const VolumeGrid& g = sharedGrid();
    EXPECT_EQ(g.at(0, 0, 0), 120);
    EXPECT_EQ(g.at(0, 300, 0), 120);
    EXPECT_EQ(g.markerStatus(0, 0), 3);
    EXPECT_EQ(g.at(0, node::Status, 0) & status::InProfile, status::InProfile);
    EXPECT_EQ(g.profileNumber(0, 0), 1u);
    // The track to the far frame (400 nodes on) carries frame 3, its marker
    // (none) on the last node only.
    EXPECT_EQ(g.at(1, 10, 0), 140);
    EXPECT_EQ(g.at(399, 10, 0), 140);
    EXPECT_EQ(g.at(400, 10, 0), 140);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s->frame(i).get16(cell::VolumeSlot + 2), 0u);
    EXPECT_EQ(s->frame(3).get16(cell::VolumeSlot), 400u);
    EXPECT_EQ(s->stateFlags & state::VolumeStale, 0);
    EXPECT_EQ(ui.lastPass, Interaction::Pass::Volume);
    EXPECT_EQ(ui.finished, 1);
}

TEST(VolumeBuild, TrackMarkerGoesToTheLastNodeAndProfilesAreNumbered) {
    auto s = newStore();
    placeFrame(*s, 0, 0, 0, 100);
    placeFrame(*s, 1, 100, 60, 100, 3); // 5 nodes on along X, 3 along Y
    // A gap, then a second profile.
    placeFrame(*s, 3, SPAN, 0, 90);
    CountingInteraction ui;
    ASSERT_EQ(build(*s, settingsFor(fill_method::AlongX), ui), BuildResult::Built);
    const VolumeGrid& g = sharedGrid();
    // Steps of (1, 0.6): nodes (1,1) (2,1) (3,2) (4,2) (5,3), rounding to even.
    const int track[5][2] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}};
    for (const auto& n : track) {
        EXPECT_EQ(g.at(n[0], 20, n[1]), 100) << n[0] << "," << n[1];
        EXPECT_EQ(g.profileNumber(n[0], n[1]), 1u);
        EXPECT_EQ(g.markerStatus(n[0], n[1]), n[0] == 5 ? 3 : 0);
    }
    EXPECT_EQ(g.profileNumber(400, 0), 2u);
}

// --- linear methods -----------------------------------------------------------------------

// Two parallel profiles along X at Y = 0 and Y = 100 (gy 0 and 5): method Y
// blends the four rows between, Round(a - j (a - a0) / 5) for a0 = 100 at
// gy 0 and a = 200 at gy 5; a gap limit of 4 nodes (D = 60 cm) leaves the
// five-node gap empty, 6 nodes (D = 100 cm) fills it.
TEST(VolumeLinear, TwoProfilesHundredCentimetresApartAlongY) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 100);
    placeProfile(*s, next, 81, 0, 100, 100, 0, 200);
    struct Row {
        bool limited;
        int distanceItem;
        bool filled;
    };
    for (const Row& r : {Row{false, 0, true}, Row{true, 5, false}, Row{true, 9, true}}) {
        VolumeSettings v = settingsFor(fill_method::AlongY);
        v.gapLimited = r.limited;
        v.distanceItem = r.distanceItem;
        CountingInteraction ui;
        ASSERT_EQ(build(*s, v, ui), BuildResult::Built);
        const VolumeGrid& g = sharedGrid();
        EXPECT_EQ(g.info.stepCm, 20);
        EXPECT_EQ(volumeSummary(g), "volume: step=20 cm nodes=401 x 6");
        for (int gx : {0, 3, 200, 400}) {
            for (int c : {1, 256, 512}) {
                const int expected[6] = {100, 120, 140, 160, 180, 200};
                for (int gy = 0; gy <= 5; ++gy) {
                    const int want = (gy == 0 || gy == 5 || r.filled) ? expected[gy] : 0;
                    EXPECT_EQ(g.at(gx, c, gy), want)
                        << "limited " << r.limited << " gx " << gx << " c " << c << " gy " << gy;
                }
            }
            EXPECT_EQ(g.at(gx, 0, 2), 0) << "plane 0 is never interpolated";
            EXPECT_TRUE(g.empty(gx, 2));
        }
    }
}

// Hand-computed blends on the shortest gaps, with a tie to even: a0 = 10 at
// gx 0 and a = 19 (or the other way round) at gx 2 or 3. k = 2: 19 - 9 / 2 =
// 14.5 -> 14. k = 3: 19 - 3 = 16 and 19 - 6 = 13. The same rows transposed
// for method Y.
TEST(VolumeLinear, ShortGapsRoundToEven) {
    struct Row {
        int method;
        uint8_t first, second;
        int k;
        std::vector<int> between; // from node 1 on
    };
    const Row rows[] = {
        {fill_method::AlongX, 10, 19, 2, {14}},     {fill_method::AlongX, 10, 19, 3, {13, 16}},
        {fill_method::AlongX, 19, 10, 2, {14}},     {fill_method::AlongX, 19, 10, 3, {16, 13}},
        {fill_method::AlongY, 10, 19, 3, {13, 16}}, {fill_method::AlongY, 19, 10, 2, {14}},
    };
    for (const Row& r : rows) {
        auto s = newStore();
        const bool alongX = r.method == fill_method::AlongX;
        // Two profiles across the filling direction, k nodes (20 cm each) apart.
        const int32_t dx = alongX ? 0 : 100, dy = alongX ? 100 : 0;
        const int next = placeProfile(*s, 0, 81, 0, 0, dx, dy, r.first);
        placeProfile(*s, next, 81, alongX ? 20 * r.k : 0, alongX ? 0 : 20 * r.k, dx, dy, r.second);
        CountingInteraction ui;
        ASSERT_EQ(build(*s, settingsFor(r.method), ui), BuildResult::Built);
        const VolumeGrid& g = sharedGrid();
        for (int along : {0, 150, 400}) {
            for (int j = 0; j < int(r.between.size()); ++j) {
                const int gx = alongX ? j + 1 : along, gy = alongX ? along : j + 1;
                EXPECT_EQ(g.at(gx, 100, gy), r.between[std::size_t(j)])
                    << "method " << r.method << " k " << r.k << " node " << j + 1;
            }
        }
    }
}

// Method X+Y: a node first blended along X is overwritten where the Y pass,
// which counts only frame-written nodes, reaches it. Profiles along X at gy
// 0 (code 10) and gy 2 (30); along Y at gx 0 (50) and gx 2 (70). Node (1, 1):
// X alone 70 - 20 / 2 = 60; X+Y 30 - 20 / 2 = 20.
TEST(VolumeLinear, XPlusYOverwritesTheXBlend) {
    auto s = newStore();
    int next = placeProfile(*s, 0, 3, 0, 0, 20, 0, 10);
    next = placeProfile(*s, next, 3, 0, 40, 20, 0, 30);
    next = placeProfile(*s, next, 3, 0, 0, 0, 20, 50);
    next = placeProfile(*s, next, 3, 40, 0, 0, 20, 70);
    placeFrame(*s, next, SPAN, 0, 90); // sets the extent: step 20
    struct Row {
        int method;
        int value;
    };
    for (const Row& r : {Row{fill_method::AlongX, 60}, Row{fill_method::AlongXY, 20}}) {
        CountingInteraction ui;
        ASSERT_EQ(build(*s, settingsFor(r.method), ui), BuildResult::Built);
        EXPECT_EQ(sharedGrid().at(1, 44, 1), r.value) << r.method;
        EXPECT_EQ(sharedGrid().at(1, 512, 1), r.value) << r.method;
    }
}

// --- nearest-profile methods ---------------------------------------------------------------

// One straight profile: the ring and vector methods need two profiles, so
// only the track holds data.
TEST(VolumeNearest, SingleProfileFillsOnlyItsTrack) {
    auto s = newStore();
    placeProfile(*s, 0, 81, 0, 0, 100, 50, 150); // a slanted track, 5 x 2.5 nodes per frame
    for (int method : {fill_method::Ring, fill_method::Vector, fill_method::AlongX,
                       fill_method::AlongY, fill_method::AlongXY}) {
        CountingInteraction ui;
        ASSERT_EQ(build(*s, settingsFor(method), ui), BuildResult::Built);
        const VolumeGrid& g = sharedGrid();
        int trackNodes = 0;
        for (int gx = 0; gx < GRID_NODES; ++gx)
            for (int gy = 0; gy < GRID_NODES; ++gy) {
                if (!g.empty(gx, gy)) {
                    ++trackNodes;
                    EXPECT_EQ(g.at(gx, 200, gy), 150);
                } else if (g.at(gx, 200, gy) != 0) {
                    ADD_FAILURE() << "method " << method << " filled " << gx << "," << gy;
                }
            }
        EXPECT_EQ(trackNodes, 401) << method; // one node per step along X
    }
}

// Three profiles at equal distance 2 from node (2, 2) (along X at gy 0 and
// 4, along Y at gx 4): the ring blend of codes 30, 60, 90 is their mean, 60.
// Between two parallel profiles (gy 0 and 4) the vector method blends by
// inverse distance: the middle node takes the mean of 30 and 90, 60; node
// gy 1 takes (30 * 3 + 90 * 1) / 4 = 45.
TEST(VolumeNearest, SymmetricBlends) {
    {
        auto s = newStore();
        int next = placeProfile(*s, 0, 5, 0, 0, 20, 0, 30);
        next = placeProfile(*s, next, 5, 0, 80, 20, 0, 60);
        next = placeProfile(*s, next, 3, 80, 20, 0, 20, 90);
        placeFrame(*s, next, SPAN, 4000, 200);
        CountingInteraction ui;
        ASSERT_EQ(build(*s, settingsFor(fill_method::Ring), ui), BuildResult::Built);
        EXPECT_EQ(sharedGrid().at(2, 1, 2), 60);
        EXPECT_EQ(sharedGrid().at(2, 511, 2), 60);
        EXPECT_EQ(sharedGrid().at(2, 512, 2), 0) << "the nearest methods fill planes 1..511";
    }
    {
        auto s = newStore();
        const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 30);
        placeProfile(*s, next, 81, 0, 80, 100, 0, 90);
        CountingInteraction ui;
        ASSERT_EQ(build(*s, settingsFor(fill_method::Vector), ui), BuildResult::Built);
        for (int gx : {1, 200, 399}) {
            EXPECT_EQ(sharedGrid().at(gx, 300, 2), 60) << gx;
            EXPECT_EQ(sharedGrid().at(gx, 300, 1), 45) << gx;
            EXPECT_EQ(sharedGrid().at(gx, 300, 3), 75) << gx;
        }
    }
}

// The ring method with only two profiles repeats the first candidate met as
// the third. Node gy 1 between profiles at gy 0 (30, distance 1) and gy 5
// (90, distance 4): (30 / 1 + 90 / 4 + 30 / 1) * 4 / 9 = 36.67 -> 37. With
// the gap limit R = 2 (D = 20 cm) the rings end at half-size 3, one profile
// is found and the node stays empty; the linear blend of the 5-node gap
// (90 - 4 * 60 / 5 = 42) needs R above 5 too.
TEST(VolumeNearest, RingRepeatsTheFirstCandidateAndObeysTheGapLimit) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 30);
    placeProfile(*s, next, 81, 0, 100, 100, 0, 90);
    struct Row {
        int method;
        bool limited;
        int value;
    };
    for (const Row& r : {Row{fill_method::Ring, false, 37}, Row{fill_method::Ring, true, 0},
                         Row{fill_method::AlongY, false, 42}, Row{fill_method::AlongY, true, 0}}) {
        VolumeSettings v = settingsFor(r.method);
        v.gapLimited = r.limited;
        v.distanceItem = 0;
        CountingInteraction ui;
        ASSERT_EQ(build(*s, v, ui), BuildResult::Built);
        EXPECT_EQ(sharedGrid().at(100, 7, 1), r.value) << r.method << " " << r.limited;
    }
}

// The profile-in-3D view blends per plane only the candidates that hold
// data there: where the far profile has no data the near one alone counts.
TEST(VolumeNearest, MaskedVectorSkipsCandidatesWithoutData) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 30);
    placeProfile(*s, next, 81, 0, 80, 100, 0, 90);
    for (int f = next; f < next + 81; ++f) s->frame(f).value[100] = 0;
    VolumeSettings v = settingsFor(fill_method::Ring); // the view overrides the method
    v.maskedVector = true;
    CountingInteraction ui;
    ASSERT_EQ(build(*s, v, ui), BuildResult::Built);
    EXPECT_EQ(sharedGrid().at(50, 99, 1), 45);
    EXPECT_EQ(sharedGrid().at(50, 100, 1), 30);
    v.maskedVector = false;
    v.method = fill_method::Vector;
    ASSERT_EQ(build(*s, v, ui), BuildResult::Built);
    EXPECT_EQ(sharedGrid().at(50, 100, 1), 22) << "(30 * 3 + 0 * 1) / 4 = 22.5, to even";
}

// --- axis coordinates, relief, abort ---------------------------------------------------------

// Two profiles along Y cross the row gy = 0 at gx 0 (X = 1000) and gx 10
// (X = 1203); the nodes between get Trunc(1000 + 203 k / 10).
TEST(VolumeFinish, AxisCoordinatesAreInterpolatedAndTruncated) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 1000, 0, 0, 100, 120);
    placeProfile(*s, next, 81, 1203, 0, 0, 100, 140);
    CountingInteraction ui;
    ASSERT_EQ(build(*s, settingsFor(fill_method::AlongY), ui), BuildResult::Built);
    const VolumeGrid& g = sharedGrid();
    EXPECT_EQ(g.ucsX(0, 0), 1000);
    EXPECT_EQ(g.ucsX(1, 0), 1020);
    EXPECT_EQ(g.ucsX(5, 0), 1101);
    EXPECT_EQ(g.ucsX(9, 0), 1182);
    EXPECT_EQ(g.ucsX(10, 0), 1203);
    EXPECT_EQ(g.ucsX(11, 0), 0) << "beyond the last known node nothing is invented";
    // Along the column gx = 0 every node lies on the first track.
    EXPECT_EQ(g.ucsY(0, 5), 100);
}

// Relief display: a node 50 cm below Hmax with 10 cm/ns, 1 ns per row and
// window factor 1 moves 50 * 100 / 1000 = 5 planes down. Window factor 2
// halves the trace first: input rows 2o and 2o + 1 both go to row o, the
// later one staying, so row o holds sample 2o + 1 (code 2o + 2); its shift
// is 2.5 -> 2.
TEST(VolumeFinish, ReliefDisplayRescalesAndHangsTheTraces) {
    auto s = newStore();
    placeFrame(*s, 0, 0, 0, 0);
    for (int c = 0; c < SAMPLE_ROWS; ++c) s->frame(0).value[c] = uint8_t(c < 255 ? c + 1 : 255);
    s->frame(0).set24(cell::ReliefHeight, 950);
    placeFrame(*s, 1, SPAN, 0, 100);
    s->frame(1).set24(cell::ReliefHeight, 1000);
    struct Row {
        double w;
        int shift;
        int top, tenth; // codes of the rescaled rows 0 and 10
    };
    for (const Row& r : {Row{1.0, 5, 1, 11}, Row{2.0, 2, 2, 22}}) {
        VolumeSettings v = settingsFor(fill_method::AlongX);
        v.reliefDisplay = true;
        v.velocityCode = 1000;
        v.nsPerRow = 1.0;
        v.windowFactor = r.w;
        v.Hmax = 1000;
        CountingInteraction ui;
        ASSERT_EQ(build(*s, v, ui), BuildResult::Built);
        const VolumeGrid& g = sharedGrid();
        for (int c = 0; c < r.shift; ++c) EXPECT_EQ(g.at(0, c, 0), 0) << r.w << " " << c;
        EXPECT_EQ(g.at(0, r.shift, 0), r.top) << r.w;
        EXPECT_EQ(g.at(0, r.shift + 10, 0), r.tenth) << r.w;
        EXPECT_EQ(g.reliefHeight(0, 0), 950u);
        EXPECT_EQ(g.at(400, 0, 0), 100) << "the node at Hmax is not moved";
    }
}

// Escape at any poll: the build stops, the store keeps its slots and its
// stale bit, and the next build runs to the end.
TEST(VolumeBuild, AbortAtAnyMomentLeavesTheStoreUntouched) {
    auto s = newStore();
    const int next = placeProfile(*s, 0, 81, 0, 0, 100, 0, 30);
    placeProfile(*s, next, 81, 0, 80, 100, 0, 90);
    for (int method : {fill_method::AlongXY, fill_method::Ring, fill_method::Vector}) {
        CountingInteraction counting;
        int64_t polls = 0;
        ASSERT_EQ(build(*s, settingsFor(method), counting, [&] { return ++polls < 0; }),
                  BuildResult::Built);
        ASSERT_EQ(polls, counting.progressCalls) << "one poll per progress call";
        for (int64_t at : {int64_t(1), polls / 3, polls - 1, polls}) {
            for (int i = 0; i <= s->frameCount; ++i)
                s->frame(i).set32(cell::VolumeSlot, 0x01020304);
            s->stateFlags = 0x3008;
            CountingInteraction ui;
            int64_t n = 0;
            EXPECT_EQ(build(*s, settingsFor(method), ui, [&] { return ++n >= at; }),
                      BuildResult::Aborted)
                << method << " at " << at;
            EXPECT_EQ(n, at) << "no poll after the abort";
            EXPECT_EQ(ui.finished, 1);
            EXPECT_EQ(s->stateFlags, 0x3008);
            for (int i = 0; i <= s->frameCount; ++i)
                ASSERT_EQ(s->frame(i).get32(cell::VolumeSlot), 0x01020304u) << i;
            EXPECT_FALSE(sharedGrid().info.built);
        }
        CountingInteraction ui;
        EXPECT_EQ(build(*s, settingsFor(method), ui), BuildResult::Built);
    }
}

TEST(VolumeBuild, NodeCellsInHex) {
    auto s = newStore();
    placeFrame(*s, 0, 0, 0, 0xAB);
    placeFrame(*s, 1, SPAN, 0, 0x12);
    CountingInteraction ui;
    ASSERT_EQ(build(*s, settingsFor(fill_method::AlongX), ui), BuildResult::Built);
    const std::string hex = nodeCellsHex(sharedGrid(), 0, 0);
    EXPECT_EQ(hex.substr(0, 12), "  0: AB AB A");
    EXPECT_EQ(std::count(hex.begin(), hex.end(), '\n'), 39);
    // Line 33 starts at cell 528: status 0x10, then hour .. hundredths 0,
    // profile number 1.
    const std::size_t at = hex.find("528:");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(hex.substr(at, 22), "528: 10 00 00 00 00 00");
    EXPECT_EQ(hex.substr(at + 22, 3), " 01");
}

} // namespace
} // namespace tesk

namespace tesk {
namespace {

TEST(VolumeControls, ItemsGoToTheHeaderUnlessBusy) {
    auto s = testing::newStore();
    s->stateFlags = 0;
    EXPECT_TRUE(fillMethodChanged(*s, fill_method::Ring));
    EXPECT_EQ(s->header.value[hdr::VolumeInterp], fill_method::Ring);
    EXPECT_EQ(s->stateFlags, state::Changed);
    EXPECT_TRUE(profileDistanceChanged(*s, 47));
    EXPECT_FALSE(profileDistanceChanged(*s, 48)) << "48 items";
    EXPECT_EQ(s->header.value[hdr::ProfileDistance], 47);
    EXPECT_TRUE(gapLimitClicked(*s, true));
    EXPECT_TRUE(volumeSettingsFromStore(*s, 1.0).gapLimited);
    s->stateFlags = state::Busy;
    EXPECT_FALSE(sectionLayoutChanged(*s, 3));
    EXPECT_FALSE(gapLimitClicked(*s, false));
    EXPECT_EQ(s->stateFlags, state::Busy);
    EXPECT_TRUE(volumeSettingsFromStore(*s, 1.0).gapLimited);
    EXPECT_EQ(gapLimitLook(true, true).caption, "Calculate to the Profile");
    EXPECT_EQ(gapLimitLook(false, false).caption, "Обработать Всё");
    EXPECT_EQ(gapLimitLook(false, false).fontColour, 0x800000u);
}

TEST(VolumeControls, WhenTheViewCommandsBuild) {
    struct Row {
        VolumeView view;
        uint16_t flags;
        bool ctrl, layers, build;
    };
    const Row rows[] = {
        {VolumeView::Slices, 0x0000, false, true, false},
        {VolumeView::Slices, 0x1000, false, true, true},
        {VolumeView::Carpet, 0x0008, true, true, true},
        {VolumeView::Sections, 0x0040, false, true, true},
        {VolumeView::Profiles, 0x0008, false, true, true},  // entering the mode
        {VolumeView::Profiles, 0x0010, false, true, false}, // already in it
        {VolumeView::Profiles, 0x1010, true, true, true},
        {VolumeView::Profiles, 0x0008, false, false, false}, // "Слои" unchecked
    };
    for (const Row& r : rows)
        EXPECT_EQ(volumeBuildWanted(r.view, r.flags, r.ctrl, r.layers), r.build)
            << int(r.view) << " " << r.flags;
}

} // namespace
} // namespace tesk

namespace tesk {
namespace {

// The gap blend's division by multiplication against the rounded formula,
// Round(a - j (a - a0) / k) to even, over every pair of codes.
TEST(VolumeLinear, GapBlendIsTheRoundedFormulaForEveryCodePair) {
    std::vector<uint8_t> out(512);
    for (int k : {2, 3, 4, 5, 7, 64, 255, 511}) {
        for (int a0 = 1; a0 <= 255; ++a0)
            for (int a = 1; a <= 255; ++a) {
                volume_detail::fillGap(out.data() + k, 1, a0, a, k);
                for (int j = 1; j < k; ++j) {
                    const int64_t want = volume_detail::divRound(int64_t(a) * k - j * (a - a0), k);
                    ASSERT_EQ(out[std::size_t(k - j)], want)
                        << "a0 " << a0 << " a " << a << " k " << k << " j " << j;
                }
            }
    }
}

} // namespace
} // namespace tesk
