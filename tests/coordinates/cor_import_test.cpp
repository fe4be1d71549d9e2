// The companion .cor file: field rules line by line, the time, height and
// run-end passes, the companion lookup and the questions of the import.

#include "coordinates/imports.h"
#include "coordinates_test_support.h"

#include <filesystem>

namespace tesk::testing {
namespace {

// Answers every question Yes and records what was shown.
class YesInteraction final : public Interaction {
  public:
    Answer show(const Message& m) override {
        shown.push_back(m);
        return m.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    std::vector<Message> shown;
};

struct FieldCase {
    const char* line;
    int year, month, day;     // header
    int hour, minute, second; // frame 5
    int latDegrees;
    long latFraction;
    int lonDegrees;
    long lonFraction;
    long height; // -1: not checked
};

// Header start values: day 1, month 1, year 18. Frame 5 was recorded at 10:00:05.
const FieldCase FIELD_CASES[] = {
    {"5\t2017-05-14\t11:15:30\t55.1234567\tN\t37.7654321\tE\t150.25\t\n", 17, 5, 14, 11, 15, 30, 55,
     1234567, 37, 7654321, 15025},
    {"5\t17-12-31\t23:59:59\t55.1234\tN\t37.123456789\tE\t150.5\t\n", 17, 12, 31, 23, 59, 59, 55,
     1234000, 37, 1234568, 15050},
    {"5\t7-13-32\t24:60:60\t180.5\tN\t179.99999999\tE\t150.05\t\n", 0, 1, 1, 10, 0, 5, 0, 5000000,
     180, 0, 15005},
    {"5\t123-00-00\t09:05:01\t0.12345665\tN\t1.12345675\tE\t150.125\t\n", 0, 0, 0, 9, 5, 1, 0,
     1234566, 1, 1234568, 15012},
    {"5\t2017-05-14\t11:15:30\t55.1234567\n", 17, 5, 14, 11, 15, 30, 55, 0, 0, 0, -1},
    {"5\t2017-05-14\t11:15:30\t55.1234567\tN\t37.7654321\tE\t150.135\t\n", 17, 5, 14, 11, 15, 30,
     55, 1234567, 37, 7654321, 15014},
};

TEST(CorFile, FieldsOfALine) {
    for (const FieldCase& c : FIELD_CASES) {
        SCOPED_TRACE(c.line);
        auto s = newStore();
        demo::fillTimedSurvey(*s, {20}, 10);
        const auto bytes = toBytes(c.line);
        MemorySource src(bytes);
        YesInteraction ui;
        coords::readCorFile(src, *s, coords::CorParts{}, {}, ui);
        const auto& h = s->header.value;
        EXPECT_EQ(h[hdr::Year], c.year);
        EXPECT_EQ(h[hdr::Month], c.month);
        EXPECT_EQ(h[hdr::Day], c.day);
        const FrameRecord& f = s->frame(5);
        EXPECT_EQ(f.value[cell::Hour], c.hour);
        EXPECT_EQ(f.value[cell::Minute], c.minute);
        EXPECT_EQ(f.value[cell::Second], c.second);
        EXPECT_EQ(f.value[cell::Hundredths], 0);
        EXPECT_EQ(f.value[cell::LatDegrees], c.latDegrees);
        EXPECT_EQ(f.get24(cell::LatFraction), uint32_t(c.latFraction));
        EXPECT_EQ(f.value[cell::LonDegrees], c.lonDegrees);
        EXPECT_EQ(f.get24(cell::LonFraction), uint32_t(c.lonFraction));
        if (c.height >= 0) {
            EXPECT_EQ(f.reliefHeight(), uint32_t(c.height));
        }
    }
}

void setTime(FrameRecord& f, int h, int m, int s) {
    f.value[cell::Hour] = uint8_t(h);
    f.value[cell::Minute] = uint8_t(m);
    f.value[cell::Second] = uint8_t(s);
    f.value[cell::Hundredths] = 0;
}
void clearTimes(ProfileStore& s) {
    for (int i = 0; i <= s.frameCount; ++i) setTime(s.frame(i), 0, 0, 0);
}
// hh:mm:ss.hh of a frame.
std::string timeText(const FrameRecord& f) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d.%02d", f.value[cell::Hour], f.value[cell::Minute],
                  f.value[cell::Second], f.value[cell::Hundredths]);
    return b;
}

// Run of frames 0..9 (frame 10 blank) with fixes at frames 2 and 6, one
// second apart: a quarter second per frame between them and after them;
// the two frames before the first fix one second earlier, hundredths rising.
TEST(CorFill, TimesBetweenBeforeAndAfterTheFixes) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {10}, 10);
    clearTimes(*s);
    setTime(s->frame(2), 10, 0, 0);
    setTime(s->frame(6), 10, 0, 1);
    coords::fillCorTimes(*s);
    const char* expected[] = {"09:59:59.33", "09:59:59.67", "10:00:00.00", "10:00:00.25",
                              "10:00:00.50", "10:00:00.75", "10:00:01.00", "10:00:01.25",
                              "10:00:01.50", "10:00:01.75", "00:00:00.00"};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(timeText(s->frame(i)), expected[i]) << "frame " << i;
}

// A run with a single fix has no step: the frames after it keep its second
// with rising hundredths. A fix at 00:00:00.. borrow: the first frame of a
// run whose fix is 10:00:00 gets 09:59:59.
TEST(CorFill, SingleFixAndMidnight) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {4, 5}, 2);
    clearTimes(*s);
    setTime(s->frame(1), 10, 0, 0);
    // Second run (frames 6..10): fixes at 23:59:59 and 00:00:01 two frames apart.
    setTime(s->frame(7), 23, 59, 59);
    setTime(s->frame(9), 0, 0, 1);
    coords::fillCorTimes(*s);
    EXPECT_EQ(timeText(s->frame(0)), "09:59:59.50");
    EXPECT_EQ(timeText(s->frame(2)), "10:00:00.33");
    EXPECT_EQ(timeText(s->frame(3)), "10:00:00.67");
    EXPECT_EQ(timeText(s->frame(4)), "00:00:00.00"); // gap
    EXPECT_EQ(timeText(s->frame(8)), "00:00:00.00");
    EXPECT_EQ(timeText(s->frame(10)), "00:00:02.00");
}

void park(FrameRecord& f, uint32_t h) {
    f.work[cell::ReliefHeight] = uint8_t(h >> 16);
    f.work[cell::ReliefHeight + 1] = uint8_t(h >> 8);
    f.work[cell::ReliefHeight + 2] = uint8_t(h);
}

// Heights 1000 at frame 2 and 1400 at frame 6 of the run 0..9: the frames
// before the first keep it, those between rise evenly, those after keep the
// last; the blank frames after the run get none. A run without heights is cleared.
TEST(CorFill, HeightsAlongARun) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {10, 5}, 10);
    for (int i = 0; i <= s->frameCount; ++i) s->frame(i).set24(cell::ReliefHeight, 5);
    park(s->frame(2), 1000);
    park(s->frame(6), 1400);
    coords::fillCorHeights(*s);
    const uint32_t expected[] = {1000, 1000, 1000, 1100, 1200, 1300, 1400, 1400, 1400, 1400};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s->frame(i).reliefHeight(), expected[i]) << i;
    for (int i = 10; i < 20; ++i) EXPECT_EQ(s->frame(i).reliefHeight(), 5u) << "gap " << i;
    for (int i = 20; i < 25; ++i) EXPECT_EQ(s->frame(i).reliefHeight(), 0u) << "run 2 " << i;
}

// Positions known at frames 3 and 6 of the run 0..9 go to its first and last
// frame; the gap frames stay without.
TEST(CorFill, RunEndPositions) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {10, 5}, 10);
    s->frame(3).value[cell::LatDegrees] = 55;
    s->frame(3).set24(cell::LatFraction, 333);
    s->frame(6).value[cell::LonDegrees] = 37;
    s->frame(6).set24(cell::LonFraction, 666);
    coords::fillRunEndPositions(*s);
    EXPECT_EQ(s->frame(0).value[cell::LatDegrees], 55);
    EXPECT_EQ(s->frame(0).get24(cell::LatFraction), 333u);
    EXPECT_EQ(s->frame(9).value[cell::LonDegrees], 37);
    EXPECT_EQ(s->frame(9).get24(cell::LonFraction), 666u);
    EXPECT_EQ(s->frame(9).value[cell::LatDegrees], 0);
    for (int i = 10; i < 20; ++i) EXPECT_FALSE(hasPosition(s->frame(i))) << i;
    for (int i = 20; i < 25; ++i) EXPECT_FALSE(hasPosition(s->frame(i))) << i;
}

// The companion is found beside the survey whatever the case of the folder.
TEST(CorFile, CompanionBesideTheSurvey) {
    ScratchDir dir;
    const auto folder = dir.path() / "Survey Data";
    std::filesystem::create_directories(folder);
    const std::string survey = (folder / "Line1.GEB").string();
    EXPECT_EQ(coords::findCorCompanion(survey), "");
    writeBytes((folder / "Line1.COR").string(), toBytes("0\t"));
    EXPECT_EQ(coords::findCorCompanion(survey), (folder / "Line1.COR").string());
    writeBytes((folder / "Line1.cor").string(), toBytes("0\t"));
    EXPECT_EQ(coords::findCorCompanion(survey), (folder / "Line1.cor").string());
}

int32_t ucsX(const FrameRecord& f) {
    return int32_t(f.get32(cell::UcsX));
}

TEST(CorFile, QuestionsAndRefusals) {
    ScratchDir dir;
    const std::string survey = dir.file("Line.geb");
    auto s = newStore();
    demo::fillTimedSurvey(*s, {10}, 10);
    s->stateFlags = 0;
    RecordingInteraction none;
    coords::OPN_COR(*s, survey, {}, none);
    EXPECT_TRUE(none.shown.empty());
    EXPECT_EQ(s->stateFlags & state::Changed, state::Changed);

    const std::string cor = dir.file("Line.cor");
    writeBytes(cor, std::vector<uint8_t>());
    s->stateFlags = 0;
    RecordingInteraction empty;
    empty.answers = {Answer::Yes};
    auto r = coords::OPN_COR(*s, survey, {}, empty);
    EXPECT_TRUE(r.refused);
    ASSERT_EQ(empty.shown.size(), 2u);
    EXPECT_EQ(empty.shown[0].ru,
              "Найден файл GPS координат и высот.\rИзменить координаты и высоту.?");
    EXPECT_EQ(empty.shown[0].en, "Found file GPS coordinate.\rChange coordinates?");
    EXPECT_EQ(empty.shown[0].buttons, Buttons::YesNoNoToAll);
    EXPECT_EQ(empty.shown[1].en, "Error! (E025). File " + cor + " = 00!");
    EXPECT_EQ(s->stateFlags & state::Changed, 0);

    writeBytes(cor, fixtureBytes("companion.cor"));
    RecordingInteraction no;
    no.answers = {Answer::No};
    coords::OPN_COR(*s, survey, {}, no);
    EXPECT_EQ(no.shown.size(), 1u);
    EXPECT_FALSE(hasPosition(s->frame(4)));
    EXPECT_EQ(s->stateFlags & state::Changed, state::Changed);

    // No to all, then Yes to the date, No to the time and the height.
    RecordingInteraction parts;
    parts.answers = {Answer::NoToAll, Answer::Yes, Answer::No, Answer::No};
    s->frame(4).set24(cell::ReliefHeight, 321);
    r = coords::OPN_COR(*s, survey, {}, parts);
    ASSERT_GE(parts.shown.size(), 4u);
    EXPECT_EQ(parts.shown[1].en, "Change Date?");
    EXPECT_EQ(parts.shown[1].ru, "Изменить Дату?");
    EXPECT_EQ(parts.shown[2].ru, "Изменить Время?");
    EXPECT_EQ(parts.shown[3].ru, "Изменить Высоту?");
    EXPECT_EQ(s->coordFileName, cor);
    EXPECT_EQ(s->header.value[hdr::Year], 17);
    EXPECT_EQ(s->frame(4).reliefHeight(), 321u);   // heights not imported
    EXPECT_EQ(s->frame(4).value[cell::Second], 4); // the recorded time stays
    expectPosition(*s, {4, 55, 7500400, 37, 6000800, 321});
    // The recalculation ran: positions between the lines interpolated, then
    // converted (frame 0 is the survey's corner).
    expectPosition(*s, {2, 55, 7500200, 37, 6000400, 0});
    EXPECT_TRUE(r.recalculated);
    EXPECT_EQ(ucsX(s->frame(0)), 0);
    EXPECT_GT(ucsX(s->frame(9)), 0);
}

TEST(CorFile, LineOutsideTheStoreIsReported) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {10}, 10);
    const auto bytes = toBytes("70000\t2017-05-14\t10:00:00\t55.1\tN\t37.1\tE\t1.0\t\n");
    MemorySource src(bytes);
    YesInteraction ui;
    coords::readCorFile(src, *s, coords::CorParts{}, {}, ui);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].en, "Lines of the coordinate file with a frame number above 64000: 1.\r"
                              "These lines were not loaded.");
    EXPECT_EQ(s->header.value[hdr::Year], 18);
}

} // namespace
} // namespace tesk::testing
