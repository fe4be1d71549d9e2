// The recalculation modes with their checks and questions, the statistics
// report and the clearing with left Ctrl.

#include "coordinates/recalc.h"
#include "coordinates_test_support.h"

namespace tesk::testing {
namespace {

using coords::RecalcMode;
using coords::RecalcSettings;

void setXY(ProfileStore& s, int i, int32_t x, int32_t y) {
    s.frame(i).set32(cell::UcsX, uint32_t(x));
    s.frame(i).set32(cell::UcsY, uint32_t(y));
}
int32_t X(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsX));
}
int32_t Y(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsY));
}
void setGeo(ProfileStore& s, int i, int64_t latUnits, int64_t lonUnits) {
    s.frame(i).value[cell::LatDegrees] = uint8_t(latUnits / 10000000);
    s.frame(i).set24(cell::LatFraction, uint32_t(latUnits % 10000000));
    s.frame(i).value[cell::LonDegrees] = uint8_t(lonUnits / 10000000);
    s.frame(i).set24(cell::LonFraction, uint32_t(lonUnits % 10000000));
}

RecalcSettings rectangular(RecalcMode m) {
    RecalcSettings st;
    st.mode = m;
    st.coordinates = true;
    return st;
}

// Mode 0, rectangular: anchors at frames 0, 5 and 10 of a run of 11 frames.
TEST(Recalc, WholeFileRectangularWithReport) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {11}, 10);
    setXY(*s, 0, 1000, 500);
    setXY(*s, 5, 1600, 1000);
    setXY(*s, 10, 2000, 1500);
    RecordingInteraction ui;
    const auto r = coords::Pereschet(*s, rectangular(RecalcMode::WholeFile), ui);
    EXPECT_TRUE(r.completed);
    const int32_t x[] = {1000, 1120, 1240, 1360, 1480, 1600, 1680, 1760, 1840, 1920, 2000};
    const int32_t y[] = {500, 600, 700, 800, 900, 1000, 1100, 1200, 1300, 1400, 1500};
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(X(*s, i), x[i]) << i;
        EXPECT_EQ(Y(*s, i), y[i]) << i;
    }
    // Five steps of sqrt(120^2 + 100^2) = 156.2050 cm and five of
    // sqrt(80^2 + 100^2) = 128.0625 cm: mean 142.13, largest 156 at frame 1.
    EXPECT_EQ(r.meanProfileStep, 142);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].icon, Icon::Information);
    EXPECT_EQ(ui.shown[0].en, "Attention!\rMedium step on profiles = 142cm.\r"
                              "Maximum step profiles =  156cm.  Position 1.\r"
                              "Maximum height profiles =  0cm.  Position 0.\r"
                              "Maximum step height =  0cm.  Position 0.");
    EXPECT_EQ(ui.shown[0].ru, "Внимание!\rСредний шаг по профилям = 142cm.\r"
                              "Максимальный шаг по профилям =  156cm.  Позиция 1.\r"
                              "Максимальная высота по профилям =  0cm.  Позиция 0.\r"
                              "Максимальный шаг по высоте =  0cm.  Позиция 0.");
    EXPECT_EQ(s->stateFlags & state::Changed, state::Changed);
}

// Values between anchors round half to even; heights fill between non-zero
// heights; a profile starting without a position asks and goes on.
TEST(Recalc, RoundingHeightsAndZeroStart) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3, 5}, 5); // runs 0..2 and 8..12
    setXY(*s, 0, 1, 1);
    setXY(*s, 2, 6, 4);
    setXY(*s, 12, 400, 0);
    s->frame(8).set24(cell::ReliefHeight, 1000);
    s->frame(12).set24(cell::ReliefHeight, 1006);
    auto st = rectangular(RecalcMode::WholeFile);
    st.heights = true;
    RecordingInteraction ui;
    // The position question at frame 8, then the zero heights at frames 0 and 2.
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    const auto r = coords::Pereschet(*s, st, ui);
    EXPECT_TRUE(r.completed);
    ASSERT_EQ(ui.shown.size(), 4u);
    EXPECT_EQ(ui.shown[1].en, "The height is zero.\rStart the profile. Position 0\rContinue?");
    EXPECT_EQ(ui.shown[2].ru, "Высота равна нулю.\rКонец профиля. Позиция 2\rПродолжить?");
    EXPECT_EQ(X(*s, 1), 4); // 3.5 -> 4
    EXPECT_EQ(Y(*s, 1), 2); // 2.5 -> 2
    ASSERT_GE(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en,
              "The coordinates are zero.\rStart the profile. Position 8.\rContinue?");
    EXPECT_EQ(ui.shown[0].ru, "Координаты равны нулю.\rНачало профиля. Позиция 8.\rПродолжить?");
    EXPECT_EQ(X(*s, 10), 200);
    const uint32_t h[] = {1000, 1002, 1003, 1004, 1006}; // 1001.5 -> 1002, 1004.5 -> 1004
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s->frame(8 + i).reliefHeight(), h[i]) << 8 + i;
    EXPECT_EQ(s->Hmax, 1006u);
    EXPECT_EQ(r.hmaxCaption, "Hmax = 10.06 m");
}

TEST(Recalc, GeographicChecks) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {5}, 5);
    RecalcSettings st = rectangular(RecalcMode::WholeFile);
    st.geographic = true;
    // Both zero at the start: a stop, no statistics.
    RecordingInteraction stop;
    auto r = coords::Pereschet(*s, st, stop);
    EXPECT_FALSE(r.completed);
    ASSERT_EQ(stop.shown.size(), 1u);
    EXPECT_EQ(stop.shown[0].en, "Error!\rThe coordinates are zero.\rStart the profile. Position 0");
    EXPECT_EQ(stop.shown[0].ru, "Ошибка!\rКоординаты равны нулю.\rНачало профиля. Позиция 0");

    // Only the longitude zero at the end: the question; No stops.
    setGeo(*s, 0, 557500000, 376000000);
    setGeo(*s, 4, 557500003, 0);
    RecordingInteraction no;
    no.answers = {Answer::No};
    r = coords::Pereschet(*s, st, no);
    EXPECT_FALSE(r.completed);
    ASSERT_EQ(no.shown.size(), 1u);
    EXPECT_EQ(no.shown[0].en, "Longitude is equal to zero.\rEnd profile. Position 4\rContinue?");
    EXPECT_EQ(no.shown[0].ru, "Долгота равна нулю.\rКонец профиля. Позиция 4\rПродолжить?");

    // Geographic values are cut, not rounded: 557500000 + 3 m / 4.
    setGeo(*s, 4, 557500003, 376000002);
    RecordingInteraction ok;
    r = coords::Pereschet(*s, st, ok);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(s->frame(1).get24(cell::LatFraction), 7500000u); // 0.75 cut
    EXPECT_EQ(s->frame(2).get24(cell::LatFraction), 7500001u); // 1.5 cut
    EXPECT_EQ(s->frame(3).get24(cell::LatFraction), 7500002u); // 2.25 cut
    EXPECT_EQ(s->frame(2).get24(cell::LonFraction), 6000001u);
}

// Mode 2: from the cursor to the next marker; a marker right after the
// cursor ends the command without statistics.
TEST(Recalc, CursorToMarker) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {12}, 5, {8});
    setXY(*s, 2, 100, 100);
    setXY(*s, 8, 700, 400);
    auto st = rectangular(RecalcMode::ToMarker);
    st.cursorFrame = 2;
    RecordingInteraction ui;
    ui.answers = {Answer::Yes};
    auto r = coords::Pereschet(*s, st, ui);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(ui.shown[0].en,
              "Attention!\rCoordinates UCS X and Y will be recalculated.\rContinue?");
    for (int i = 3; i < 8; ++i) {
        EXPECT_EQ(X(*s, i), 100 + 100 * (i - 2)) << i;
        EXPECT_EQ(Y(*s, i), 100 + 50 * (i - 2)) << i;
    }
    EXPECT_EQ(X(*s, 9), 0);

    st.cursorFrame = 7;
    RecordingInteraction shortRun;
    shortRun.answers = {Answer::Yes};
    r = coords::Pereschet(*s, st, shortRun);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(shortRun.shown.size(), 1u); // the opening question only, no report
}

// Mode 1: the profile at the view start, anchored at its ends and markers;
// from a view start after the last profile, the end-of-file stop.
TEST(Recalc, ProfileBetweenMarkers) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {5, 9}, 6, {15});
    setXY(*s, 11, 0, 1000);
    setXY(*s, 15, 400, 1000);
    setXY(*s, 19, 400, 1800);
    s->viewStart = 13;
    RecordingInteraction ui;
    ui.answers = {Answer::Yes};
    auto r = coords::Pereschet(*s, rectangular(RecalcMode::ProfileByMarkers), ui);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(ui.shown[0].en, "Attention!\rCoordinates UCS will be recalculated.\rContinue?");
    EXPECT_EQ(X(*s, 12), 100);
    EXPECT_EQ(X(*s, 14), 300);
    EXPECT_EQ(Y(*s, 17), 1400);
    s->viewStart = 30;
    RecordingInteraction end;
    end.answers = {Answer::Yes};
    r = coords::Pereschet(*s, rectangular(RecalcMode::ProfileByMarkers), end);
    EXPECT_FALSE(r.completed);
    ASSERT_EQ(end.shown.size(), 2u);
    EXPECT_EQ(end.shown[1].en, "This is the End ... of file.");
    EXPECT_EQ(end.shown[1].ru, "Это Конец ... файла");
}

// Mode 3 with "Линейный  Yp", D = 100 cm, S = 20 cm; and the crossing grid of
// items 2..4, switched by a red marker.
TEST(Recalc, ByProfileStep) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3, 3}, 2); // runs 0..2 and 5..7
    RecalcSettings st;
    st.mode = RecalcMode::ByProfileStep;
    st.layoutItem = 1;
    st.stepItem = 5;     // 20 cm
    st.distanceItem = 9; // 100 cm
    RecordingInteraction ui;
    ui.answers = {Answer::Yes};
    coords::Pereschet(*s, st, ui);
    const int32_t x[] = {0, 20, 40, 0, 0, 0, 20, 40};
    const int32_t y[] = {0, 0, 0, 0, 0, 100, 100, 100};
    for (int i : {0, 1, 2, 5, 6, 7}) {
        EXPECT_EQ(X(*s, i), x[i]) << i;
        EXPECT_EQ(Y(*s, i), y[i]) << i;
    }

    demo::fillTimedSurvey(*s, {2, 2, 2}, 2); // runs 0..1, 4..5, 8..9
    s->frame(8).value[cell::Status] |= 3;
    st.layoutItem = 2;
    RecordingInteraction grid;
    grid.answers = {Answer::Yes};
    coords::Pereschet(*s, st, grid);
    // Along X first (X = offset), then after the red marker along Y from 0.
    EXPECT_EQ(X(*s, 1), 0);
    EXPECT_EQ(Y(*s, 1), 20);
    EXPECT_EQ(X(*s, 4), 100);
    EXPECT_EQ(Y(*s, 5), 20);
    EXPECT_EQ(X(*s, 8), 0);
    EXPECT_EQ(Y(*s, 8), 0);
    EXPECT_EQ(X(*s, 9), 20);
    EXPECT_EQ(Y(*s, 9), 0);
}

// The step and height warnings come at most once per profile.
TEST(Recalc, WarningsOncePerProfile) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {4, 4}, 2); // runs 0..3 and 6..9
    for (int i : {0, 1, 2, 3, 6, 7, 8, 9}) {
        setXY(*s, i, 20000 * i, 0);
        s->frame(i).set24(cell::ReliefHeight, 5000 * uint32_t(i));
    }
    RecalcSettings st; // mode 0, neither positions nor heights: statistics only
    RecordingInteraction ui;
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    const auto r = coords::Pereschet(*s, st, ui);
    EXPECT_TRUE(r.completed);
    ASSERT_EQ(ui.shown.size(), 5u);
    EXPECT_EQ(ui.shown[0].en,
              "Attention!\rThe distance between the A-Scans > 100mPosition 1.Continue?");
    EXPECT_EQ(ui.shown[1].ru, "Внимание!\rРазница высот > 10mПозиция 1.Продолжить?");
    EXPECT_EQ(ui.shown[2].en,
              "Attention!\rThe distance between the A-Scans > 100mPosition 7.Continue?");
    EXPECT_EQ(ui.shown[3].en, "Attention!\rHeight difference > 10mPosition 7.Continue?");
    EXPECT_EQ(s->Hmax, 45000u);
}

TEST(Recalc, ClearingWithLeftCtrl) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {4}, 2);
    for (int i = 0; i < 4; ++i) {
        setXY(*s, i, 5, 5);
        setGeo(*s, i, 557500000, 376000000);
        s->frame(i).set24(cell::ReliefHeight, 700);
    }
    s->setHmax(700);
    RecordingInteraction onlyHeights;
    onlyHeights.answers = {Answer::No, Answer::Yes};
    auto r = coords::clearPositionsAndHeights(*s, true, true, onlyHeights);
    EXPECT_FALSE(r.coordinates);
    EXPECT_TRUE(r.heights);
    EXPECT_EQ(onlyHeights.shown[0].en,
              "Attention!\rCoordinates file X, Y will be cleared.\rContinue?");
    EXPECT_EQ(onlyHeights.shown[1].ru, "Внимание! \rВысота рельефа будет обнулена.\rПродолжить?");
    EXPECT_EQ(s->frame(2).reliefHeight(), 0u);
    EXPECT_EQ(X(*s, 2), 5);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 0u);
    EXPECT_EQ(s->frame(2).value[cell::Second], 2);

    RecordingInteraction both;
    both.answers = {Answer::Yes, Answer::Yes};
    coords::clearPositionsAndHeights(*s, true, true, both);
    EXPECT_EQ(X(*s, 2), 0);
    EXPECT_FALSE(hasPosition(s->frame(2)));
    EXPECT_EQ(s->frame(2).value[cell::Second], 0);
    EXPECT_EQ(s->frame(2).value[cell::Hour], 0);
}

} // namespace
} // namespace tesk::testing
