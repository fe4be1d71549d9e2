// The text coordinate table: both layouts, the per-line questions, the key
// frames the lines go to and the every-fifth-frame rule.

#include "coordinates/imports.h"
#include "coordinates_test_support.h"

namespace tesk::testing {
namespace {

coords::CoordImportResult importTxt(ProfileStore& s, const std::vector<uint8_t>& bytes,
                                    bool geographic, RecordingInteraction& ui, bool fifth = false) {
    MemorySource src(bytes);
    coords::CoordImportSettings st;
    st.geographic = geographic;
    st.everyFifthFrame = fifth;
    s.openFileName = "pts.txt";
    return coords::readTxtFile(src, s, st, ui);
}

int32_t X(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsX));
}
int32_t Y(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsY));
}

// Two runs 0..9 (marker of status 2 on frame 4) and 15..24: key frames 0, 4, 9, 15, 24.
void keyFrameSurvey(ProfileStore& s) {
    demo::fillTimedSurvey(s, {10, 10}, 5, {4});
}

TEST(TxtFile, GeographicLinesGoToTheKeyFrames) {
    auto s = newStore();
    keyFrameSurvey(*s);
    RecordingInteraction ui;
    importTxt(*s, fixtureBytes("geographic.txt"), true, ui);
    expectPosition(*s, {0, 55, 7512345, 37, 6184217, 15025, "P1"});
    expectPosition(*s, {4, 55, 2500000, 37, 5000000, 15100, "P2"});
    expectPosition(*s, {9, 56, 0, 38, 0, 15200, "P3"});
    for (int i : {1, 2, 3, 5, 8, 15}) EXPECT_FALSE(hasPosition(s->frame(i))) << i;
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "File = pts.txt downloaded");
    EXPECT_EQ(ui.shown[0].ru, "Файл = pts.txt загружен.");
    EXPECT_EQ(ui.shown[0].icon, Icon::Information);
    EXPECT_EQ(s->Hmax, 0u); // heights of the text file leave Hmax alone
}

TEST(TxtFile, RectangularLinesWithLineFeedsOnly) {
    auto s = newStore();
    keyFrameSurvey(*s);
    RecordingInteraction ui;
    importTxt(*s, fixtureBytes("rectangular.txt"), false, ui);
    EXPECT_EQ(X(*s, 0), 250050);
    EXPECT_EQ(Y(*s, 0), 120000);
    EXPECT_EQ(s->frame(0).reliefHeight(), 15025u);
    EXPECT_EQ(X(*s, 4), -1250);
    EXPECT_EQ(Y(*s, 4), 130000);
    EXPECT_EQ(s->frame(4).reliefHeight(), 15030u);
    EXPECT_EQ(X(*s, 9), 260000);
    EXPECT_EQ(Y(*s, 9), 140000);
    EXPECT_EQ(frameName(s->frame(9)), "C");
    EXPECT_EQ(X(*s, 15), 0);
}

// Line 2 holds only a name, line 3 ends after the longitude fraction.
TEST(TxtFile, MissingFieldsAsk) {
    auto s = newStore();
    keyFrameSurvey(*s);
    RecordingInteraction ui;
    ui.answers = {Answer::Yes, Answer::Yes};
    importTxt(*s, fixtureBytes("missing_fields.txt"), true, ui);
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[0].en, "Error! \rNo coordinates \rLine number 2\rContinue?");
    EXPECT_EQ(ui.shown[0].ru, "Ошибка\rНет координат \rНомер строки 2\rПродолжить?");
    EXPECT_EQ(ui.shown[1].en, "Error! \rNo coordinates Latitude and H\rLine number 3\rContinue?");
    EXPECT_EQ(ui.shown[1].ru, "Ошибка\rНет координат Широты и Высоты\rНомер строки 3\rПродолжить?");
    expectPosition(*s, {0, 55, 5000000, 37, 5000000, 100, "P1"});
    EXPECT_EQ(frameName(s->frame(4)), "P2");
    EXPECT_FALSE(hasPosition(s->frame(4)));
    // After the name-only line the search starts one frame on: frame 9.
    expectPosition(*s, {9, 0, 0, 37, 2500000, 0, "P3"});
    expectPosition(*s, {15, 55, 7500000, 37, 7500000, 200, "P4"});

    // No ends the import at once, without the completion message.
    keyFrameSurvey(*s);
    RecordingInteraction no;
    no.answers = {Answer::No};
    importTxt(*s, fixtureBytes("missing_fields.txt"), true, no);
    EXPECT_EQ(no.shown.size(), 1u);
    EXPECT_FALSE(hasPosition(s->frame(9)));
}

TEST(TxtFile, LongitudeOf200Degrees) {
    auto s = newStore();
    keyFrameSurvey(*s);
    RecordingInteraction ui;
    ui.answers = {Answer::Yes};
    importTxt(*s, fixtureBytes("longitude_200.txt"), true, ui);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].en, "Error! Longitude coordinate.\rLine number 1\rContinue?");
    EXPECT_EQ(ui.shown[0].ru, "Ошибка! Координаты долготы.\rНомер строки 1\rПродолжить?");
    expectPosition(*s, {0, 55, 5000000, 180, 5000000, 100, "P1"});
}

std::string rectangularLines(int n) {
    std::string t;
    for (int k = 1; k <= n; ++k)
        t += "L" + std::to_string(k) + ";" + std::to_string(k) + ";0;0\r\n";
    return t;
}

// Every fifth frame inside a run, then the run's last frame, then the next run.
TEST(TxtFile, EveryFifthFrame) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {60, 10}, 5);
    RecordingInteraction ui;
    importTxt(*s, toBytes(rectangularLines(14)), false, ui, true);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(X(*s, 5 * k), k + 1) << "frame " << 5 * k;
    EXPECT_EQ(X(*s, 59), 13);
    EXPECT_EQ(X(*s, 65), 14);
    EXPECT_EQ(X(*s, 3), 0);

    // At most 24 five-frame steps: a long run gets its lines at 0, 5 .. 120, then its end.
    demo::fillTimedSurvey(*s, {200}, 5);
    RecordingInteraction ui2;
    importTxt(*s, toBytes(rectangularLines(26)), false, ui2, true);
    EXPECT_EQ(X(*s, 120), 25);
    EXPECT_EQ(X(*s, 125), 0);
    EXPECT_EQ(X(*s, 199), 26);
}

// A run of one frame is a key frame; lines beyond the last key frame are reported.
TEST(TxtFile, OneFrameRunAndLinesLeftOver) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3, 1}, 4); // runs 0..2 and 7
    RecordingInteraction ui;
    importTxt(*s, toBytes(rectangularLines(6)), false, ui);
    EXPECT_EQ(X(*s, 0), 1);
    EXPECT_EQ(X(*s, 2), 2);
    EXPECT_EQ(X(*s, 7), 3);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en,
              "The file has more lines than the profiles have key frames.\rLines not loaded: 3");
}

} // namespace
} // namespace tesk::testing
