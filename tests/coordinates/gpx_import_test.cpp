// GPX listing and synchronisation over the generated files: the list texts,
// and every frame that receives a point with the position, height and name
// read off the file by hand.

#include "coordinates/imports.h"
#include "coordinates_test_support.h"

#include <fstream>
#include <iterator>

namespace tesk::testing {
namespace {

using coords::GpxPoints;

// Points of the standard files (see tools/coordinate_files.cpp).
const FramePosition W1{0, 55, 7512345, 37, 6184217, 15025};
const FramePosition W2{0, 55, 7513000, 37, 6185000, 15150};
const FramePosition T1{0, 55, 7500100, 37, 6000200, 15000};
const FramePosition T2{0, 55, 7500200, 37, 6000400, 15010};
const FramePosition T3{0, 55, 7500300, 37, 6000600, 15020};

FramePosition at(FramePosition p, int frame, const std::string& name = {}) {
    p.frame = frame;
    p.name = name;
    return p;
}

const std::vector<std::string> STANDARD_WPT = {"2024-05-14 10:00:10  Wpt W1",
                                               "2024-05-14 10:00:20  Wpt W2"};
const std::vector<std::string> STANDARD_TRK = {
    "2024-05-14 10:00:10  Trk ", "2024-05-14 10:00:20  Trk ", "2024-05-14 10:00:30  Trk "};

// The survey: one run of frames 0..99 recorded at 10:00:00 + frame seconds.
// The cursor stands on frame `cursor`, the selected item is the first of its
// list, so that the clock offset is (cursor - first item's second).
// Besides the frames whose times enclose a point, the run's first frame (0)
// and last frame (99) keep the point nearest in time.
struct GpxCase {
    std::string file;
    std::vector<std::string> waypointItems;
    std::vector<std::string> trackItems;
    int waypointCursor;
    std::vector<FramePosition> afterWaypoints;
    int trackCursor;
    std::vector<FramePosition> afterTrack;
};

// W1 on frames 0 and 10, W2 on frames 20 and 99, with the names given.
std::vector<FramePosition> waypointFrames(FramePosition w1, FramePosition w2, const std::string& n1,
                                          const std::string& n2) {
    return {at(w1, 0, n1), at(w1, 10, n1), at(w2, 20, n2), at(w2, 99, n2)};
}

std::vector<GpxCase> cases() {
    const std::vector<FramePosition> wpt = waypointFrames(W1, W2, "W1", "W2");
    const std::vector<FramePosition> trk = {at(T1, 0), at(T1, 10), at(T2, 20), at(T3, 30),
                                            at(T3, 99)};
    std::vector<GpxCase> c;
    for (const char* f : {"plain.gpx", "lon_before_lat.gpx", "single_quotes.gpx",
                          "namespace_prefix.gpx", "bom_crlf.gpx"})
        c.push_back({f, STANDARD_WPT, STANDARD_TRK, 10, wpt, 10, trk});
    c.push_back({"latin1_names.gpx",
                 {"2024-05-14 10:00:10  Wpt Caf\xC3\xA9", "2024-05-14 10:00:20  Wpt \xC3\x85s"},
                 STANDARD_TRK,
                 10,
                 waypointFrames(W1, W2, "Caf\xC3\xA9", "\xC3\x85s"),
                 10,
                 trk});
    c.push_back({"tracks_segments.gpx", {}, STANDARD_TRK, 10, {}, 10, trk});
    // W1 has no elevation: its frames keep height 0. W2 has no time: not listed,
    // not matched. Only track point 3 is complete.
    FramePosition w1NoEle = W1;
    w1NoEle.heightCm = 0;
    c.push_back({"missing_ele_time.gpx",
                 {"2024-05-14 10:00:10  Wpt W1"},
                 {"2024-05-14 10:00:30  Trk "},
                 10,
                 {at(w1NoEle, 0), at(w1NoEle, 10), at(w1NoEle, 99)},
                 30,
                 {at(T3, 0), at(T3, 30), at(T3, 99)}});
    c.push_back({"fractional_zone.gpx", {}, STANDARD_TRK, 10, {}, 10, trk});
    // W2's stamp names no month: no time, neither listed nor matched.
    c.push_back({"comment_stamps.gpx",
                 {"2024-05-14 10:00:10  Wpt W1"},
                 {},
                 10,
                 {at(W1, 0, "W1"), at(W1, 10, "W1"), at(W1, 99, "W1")},
                 10,
                 {}});
    // W2 has no name: listed without one, matched with the previous name.
    c.push_back({"nameless_waypoint.gpx",
                 {"2024-05-14 10:00:10  Wpt W1", "2024-05-14 10:00:20  Wpt "},
                 {},
                 10,
                 waypointFrames(W1, W2, "W1", "W1"),
                 10,
                 {}});
    c.push_back({"south_west.gpx",
                 STANDARD_WPT,
                 {},
                 10,
                 waypointFrames({0, 33, 8568000, 70, 6500000, 15025},
                                {0, 33, 8569000, 70, 6501000, 15150}, "W1", "W2"),
                 10,
                 {}});
    c.push_back({"cdata_entities.gpx",
                 {"2024-05-14 10:00:10  Wpt A&B", "2024-05-14 10:00:20  Wpt R&D"},
                 {},
                 10,
                 waypointFrames(W1, W2, "A&B", "R&D"),
                 10,
                 {}});
    c.push_back({"truncated.gpx",
                 STANDARD_WPT,
                 {"2024-05-14 10:00:10  Trk "},
                 10,
                 wpt,
                 10,
                 {at(T1, 0), at(T1, 10), at(T1, 99)}});
    return c;
}

class GpxFiles : public ::testing::TestWithParam<GpxCase> {};

TEST_P(GpxFiles, ListsAndSynchronisesPointByPoint) {
    const GpxCase& k = GetParam();
    auto s = newStore();
    demo::fillTimedSurvey(*s, {100}, 10);
    s->openFileName = "/data/" + k.file;
    const auto bytes = fixtureBytes(k.file);
    MemorySource src(bytes);
    RecordingInteraction ui;
    const auto listed = coords::readGpxFile(src, *s, {}, ui);
    EXPECT_EQ(listed.waypointItems, k.waypointItems);
    EXPECT_EQ(listed.trackItems, k.trackItems);
    EXPECT_FALSE(listed.refused);
    EXPECT_TRUE(s->header.value[hdr::CoordFlags] & hdr::CoordPanelExpanded);

    for (int pass = 0; pass < 2; ++pass) {
        const bool wpt = pass == 0;
        const auto& items = wpt ? k.waypointItems : k.trackItems;
        if (items.empty()) continue;
        demo::fillTimedSurvey(*s, {100}, 10);
        s->openFileName = "/data/" + k.file;
        RecordingInteraction sync;
        sync.answers = {Answer::No};
        const auto r =
            coords::synchronizeGpx(src, *s, wpt ? GpxPoints::Waypoints : GpxPoints::Track,
                                   {wpt ? k.waypointCursor : k.trackCursor, items[0]}, sync);
        ASSERT_EQ(sync.shown.size(), 2u);
        EXPECT_EQ(sync.shown[1].en, "File = /data/" + k.file + "downloaded");
        EXPECT_EQ(sync.shown[1].ru, "Файл = /data/" + k.file + "загружен.");
        const auto& expected = wpt ? k.afterWaypoints : k.afterTrack;
        std::vector<int> frames;
        for (const auto& e : expected) {
            expectPosition(*s, e);
            frames.push_back(e.frame);
        }
        // No other frame received a position.
        for (int i = 0; i <= s->frameCount; ++i)
            if (std::find(frames.begin(), frames.end(), i) == frames.end()) {
                EXPECT_FALSE(hasPosition(s->frame(i))) << k.file << " frame " << i;
            }
        EXPECT_EQ(r.lines, int(items.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GpxFiles, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string n = info.param.file;
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});

TEST(GpxFiles, CommittedFilesAreTheGeneratedOnes) {
    for (const auto& f : demo::coordinateFixtures()) {
        std::ifstream in(std::string(TESK_TEST_DATA) + "/coordinates/" + f.name, std::ios::binary);
        const std::string got((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        EXPECT_EQ(got, f.bytes) << f.name << ": run tesk-make-coordinate-files";
    }
}

TEST(GpxFiles, FileThatIsNoXmlIsRefusedAndTheSurveyStays) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {100}, 10);
    s->frame(5).set24(cell::ReliefHeight, 777);
    s->openFileName = "junk.gpx";
    const auto bytes = fixtureBytes("not_xml.gpx");
    MemorySource src(bytes);
    RecordingInteraction ui;
    const auto r = coords::readGpxFile(src, *s, {}, ui);
    EXPECT_TRUE(r.refused);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR(E022). File = junk.gpx\rincompatible format <GPX>");
    EXPECT_EQ(ui.shown[0].ru, "Ошибка!(E022). Файл = junk.gpx\rне соответствует формату <GPX>");
    // Synchronising anyway (No to the clearing) changes no frame.
    RecordingInteraction sync;
    sync.answers = {Answer::No};
    coords::synchronizeGpx(src, *s, GpxPoints::Waypoints, {10, "2024-05-14 10:00:10"}, sync);
    ASSERT_EQ(sync.shown.size(), 2u);
    EXPECT_EQ(sync.shown[1].en, ui.shown[0].en);
    EXPECT_EQ(s->frame(5).reliefHeight(), 777u);
    for (int i = 0; i <= s->frameCount; ++i) EXPECT_FALSE(hasPosition(s->frame(i)));
}

// Clock offset: the cursor on frame 15 with W1 (10:00:10) selected moves every
// point 5 s later. Clearing: Yes clears positions, heights and names first,
// Cancel does nothing at all.
TEST(GpxSync, OffsetFromCursorAndClearingAnswers) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {100}, 10);
    const auto bytes = fixtureBytes("plain.gpx");
    MemorySource src(bytes);
    s->frame(50).set24(cell::ReliefHeight, 999);
    s->frame(50).value[cell::PointName] = 'Q';
    s->setHmax(999);

    RecordingInteraction cancel;
    cancel.answers = {Answer::Cancel};
    auto r = coords::synchronizeGpx(src, *s, GpxPoints::Waypoints, {15, STANDARD_WPT[0]}, cancel);
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(cancel.shown.size(), 1u);
    EXPECT_EQ(cancel.shown[0].en, "Attention!\rCoordinates X, Y, H will be cleared.\rContinue?");
    EXPECT_EQ(cancel.shown[0].ru, "Внимание! \rКоординаты X, Y, H будут обнулены.\rПродолжить?");
    EXPECT_EQ(s->frame(50).reliefHeight(), 999u);

    RecordingInteraction yes;
    yes.answers = {Answer::Yes};
    r = coords::synchronizeGpx(src, *s, GpxPoints::Waypoints, {15, STANDARD_WPT[0]}, yes);
    EXPECT_EQ(s->frame(50).reliefHeight(), 0u);
    EXPECT_EQ(s->frame(50).value[cell::PointName], 0);
    expectPosition(*s, at(W1, 15, "W1"));
    expectPosition(*s, at(W2, 25, "W2"));
    EXPECT_FALSE(hasPosition(s->frame(10)));
    EXPECT_EQ(s->Hmax, 15150u);
}

// A point exactly halfway in time between two frames goes to the later one.
// Frames are 2 s apart here: frame i at 10:00:00 + 2 i.
TEST(GpxSync, HalfwayGoesToTheLaterFrame) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {100}, 10);
    for (int i = 0; i < 100; ++i) {
        const int t = 36000 + 2 * i;
        s->frame(i).value[cell::Minute] = uint8_t(t / 60 % 60);
        s->frame(i).value[cell::Second] = uint8_t(t % 60);
    }
    demo::GpxFilePoint p;
    p.time = "2024-05-14T10:00:21Z";
    p.name = "H";
    const auto bytes = toBytes(demo::gpxFile({p}, {}));
    MemorySource src(bytes);
    RecordingInteraction ui;
    ui.answers = {Answer::No};
    // Cursor on frame 0 (10:00:00) with an item of 10:00:00: no offset.
    coords::synchronizeGpx(src, *s, GpxPoints::Waypoints, {0, "2024-05-14 10:00:00  Wpt H"}, ui);
    EXPECT_FALSE(hasPosition(s->frame(10)));
    expectPosition(*s, {11, 55, 7512345, 37, 6184217, 15025, "H"});
}

// A track point pushed past 23:59:59 by the offset comes back by a day; a
// waypoint does not. Frames 0..49 at 23:59:10 + i, frames 50..99 at 00:00:00 + (i - 50).
TEST(GpxSync, TrackTimePastMidnightWraps) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {100}, 10);
    for (int i = 0; i < 100; ++i) {
        const int t = i < 50 ? 86350 + i : i - 50;
        s->frame(i).value[cell::Hour] = uint8_t(t / 3600);
        s->frame(i).value[cell::Minute] = uint8_t(t / 60 % 60);
        s->frame(i).value[cell::Second] = uint8_t(t % 60);
    }
    demo::GpxFilePoint p;
    p.time = "2024-05-14T10:00:55Z"; // + offset 86350 - 36000 = 86405 -> 00:00:05, frame 55
    const auto bytes = toBytes(demo::gpxFile({p}, {demo::GpxFileTrack{{{p}}}}));
    MemorySource src(bytes);
    RecordingInteraction ui;
    ui.answers = {Answer::No, Answer::No};
    coords::synchronizeGpx(src, *s, GpxPoints::Waypoints, {0, "2024-05-14 10:00:00  Wpt "}, ui);
    EXPECT_FALSE(hasPosition(s->frame(55)));
    coords::synchronizeGpx(src, *s, GpxPoints::Track, {0, "2024-05-14 10:00:00  Trk "}, ui);
    expectPosition(*s, {55, 55, 7512345, 37, 6184217, 15025});
}

// A track of 14 000 points, one a second, onto a survey recorded at the same
// rate: point k lands on frame k (the points are generated so that point k
// lies at 55.75 + k 0.00001 N, 37.6 + k 0.00002 E, 150 m + k cm).
TEST(GpxSync, FourteenThousandPoints) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {14000}, 10);
    const auto bytes = toBytes(demo::longGpxTrack(14000));
    MemorySource src(bytes);
    RecordingInteraction ui;
    const auto listed = coords::readGpxFile(src, *s, {}, ui);
    ASSERT_EQ(listed.trackItems.size(), 14000u);
    EXPECT_EQ(listed.trackItems[13999], "2024-05-14 13:53:19  Trk ");
    ui.answers = {Answer::No};
    const auto r = coords::synchronizeGpx(src, *s, GpxPoints::Track, {0, listed.trackItems[0]}, ui);
    EXPECT_EQ(r.lines, 14000);
    expectPosition(*s, {1, 55, 7500100, 37, 6000200, 15001});
    expectPosition(*s, {7000, 55, 8200000, 37, 7400000, 22000});
    expectPosition(*s, {13999, 55, 8899900, 37, 8799800, 28999});
}

} // namespace
} // namespace tesk::testing
