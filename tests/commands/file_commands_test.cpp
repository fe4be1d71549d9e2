// The open and save commands on real files in a scratch directory: what
// each kind of file does to the survey, every refusal and its message, the
// window title, and saves that must never damage the file already on disk.

#include "support/store_test_support.h"

#include "support/segy_files.h"

#include "commands/file_commands.h"
#include "commands/segy.h"
#include "commands/text_export.h"
#include "store/atomic_file.h"
#include "store/byte_source.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace tesk::testing {
namespace {

// A generation-16 file of `frames` frames, sample 0 of frame i = 100 + i,
// recorded on 05.03.21 at 14:07.
WorkFileImage gem16(int frames) {
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.header(7) = 5;
    f.header(8) = 3;
    f.header(9) = 21;
    f.header(10) = 14;
    f.header(11) = 7;
    f.setCount(uint16_t(frames));
    for (int i = 0; i < frames; ++i) f.record(i)[0] = uint8_t(100 + i);
    return f;
}

class Commands : public ::testing::Test {
  protected:
    std::string put(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string p = dir.file(name);
        writeBytes(p, bytes);
        return p;
    }
    OpenResult open(const std::string& path, bool append = false) {
        return openSurveyFile(*s, path, append, ui);
    }
    ScratchDir dir;
    StorePtr s = newStore();
    RecordingInteraction ui;
};

// --- opening work files ------------------------------------------------------------

TEST_F(Commands, OpeningAWorkFileLoadsItAndNamesTheSurvey) {
    WorkFileImage f = gem16(3);
    f.header(48) = 0xEF;
    const std::string path = put("survey.gem", f.bytes);
    s->viewStart = 300;
    s->stateFlags = 0x4108; // coordinate file open, relief display, slice view

    const OpenResult r = open(path);
    EXPECT_EQ(r.outcome, OpenOutcome::FramesLoaded);
    EXPECT_FALSE(r.added);
    EXPECT_EQ(r.report.framesRead, 3);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(s->fileKind, 16);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s->frame(i).value[0], 100 + i);
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_EQ(s->viewStart, 0);
    EXPECT_EQ(s->stateFlags, 0x7000) << "only data changed, volume stale and coordinate file stay";
    EXPECT_EQ(s->currentFileName, path);
    EXPECT_EQ(s->captionDate, "     05.03.21");
    EXPECT_EQ(s->captionTime, "   14:07:00");
    EXPECT_EQ(windowTitle(*s), "Tesk  " + path + "     05.03.21   14:07:00");
    EXPECT_EQ(s->header.value[hdr::CoordFlags], 0xE0) << "low four bits of cell 48 cleared";
}

TEST_F(Commands, Generation16KeepsItsZeroAndGainSettings) {
    WorkFileImage f = gem16(1);
    f.header(37) = 100;
    f.header(38) = 90;
    f.setHeader16(40, 12);
    f.header(44) = 7;
    f.header(46) = 2;
    open(put("a.gem", f.bytes));
    EXPECT_EQ(s->header.value[hdr::ZeroLevel], 100);
    EXPECT_EQ(s->header.value[hdr::GainLevel1], 90);
    EXPECT_EQ(s->header.get16(hdr::GainPos1), 12);
    EXPECT_EQ(s->header.value[hdr::GainRange], 7);
    EXPECT_EQ(s->header.value[hdr::DepthStep], 2);
}

struct DepthStepCase {
    uint8_t timeRangeItem;
    uint8_t depthStepItem;
};

class OlderGenerationOpen : public Commands, public ::testing::WithParamInterface<DepthStepCase> {};

// Older files carry no zero and gain settings of the current kind: they are
// reset, and the depth step follows the time range.
TEST_P(OlderGenerationOpen, ResetsZeroGainAndSetsDepthStepFromTimeRange) {
    const DepthStepCase& c = GetParam();
    WorkFileImage f(GEN13);
    f.header(18) = c.timeRangeItem;
    f.header(19) = 1;
    f.setHeader16(21, 500);
    f.header(36) = 3;
    f.header(37) = 77;
    f.header(38) = 20;
    f.header(39) = 30;
    f.setHeader16(40, 100);
    f.setHeader16(42, 200);
    f.header(44) = 9;
    f.setCount(1);
    f.record(0)[0] = 50;
    open(put("old.gem", f.bytes));
    EXPECT_EQ(s->fileKind, 13);
    EXPECT_EQ(s->header.value[hdr::TimeRange], c.timeRangeItem);
    EXPECT_EQ(s->header.value[hdr::ZeroLevel], 128);
    EXPECT_EQ(s->header.value[hdr::GainLevel1], 128);
    EXPECT_EQ(s->header.value[hdr::GainLevel2], 128);
    EXPECT_EQ(s->header.get16(hdr::GainPos1), 0);
    EXPECT_EQ(s->header.get16(hdr::GainPos2), 511);
    EXPECT_EQ(s->header.value[hdr::GainRange], 1);
    EXPECT_EQ(s->header.value[hdr::DepthStep], c.depthStepItem);
}

// 128 ns -> item 4, 256 -> 5, 512 -> 6, 1024 -> 7, 2048 -> 8, 4096 -> 10,
// 8192 -> 12, 16384 -> 16.
INSTANTIATE_TEST_SUITE_P(TimeRanges, OlderGenerationOpen,
                         ::testing::Values(DepthStepCase{0, 4}, DepthStepCase{1, 5},
                                           DepthStepCase{2, 6}, DepthStepCase{3, 7},
                                           DepthStepCase{4, 8}, DepthStepCase{5, 10},
                                           DepthStepCase{6, 12}, DepthStepCase{7, 16}));

TEST_F(Commands, VersionByte16IsReadAsGeneration8) {
    WorkFileImage f(GEN8);
    f.header(12) = 16;
    f.setCount(1);
    f.record(0)[0] = 5;
    EXPECT_EQ(open(put("v16.gem", f.bytes)).outcome, OpenOutcome::FramesLoaded);
    EXPECT_EQ(s->fileKind, 8);
    EXPECT_EQ(s->frame(0).value[0], 12) << "(5 + 1) * 2";
    EXPECT_EQ(s->frame(1).value[0], 0) << "a hundred records announced, one present";
}

TEST_F(Commands, VersionByte22IsReadAsGeneration13) {
    WorkFileImage f(GEN13);
    f.header(12) = 22;
    f.setCount(2);
    f.record(0)[0] = 5;
    f.record(1)[0] = 6;
    EXPECT_EQ(open(put("v22.gem", f.bytes)).outcome, OpenOutcome::FramesLoaded);
    EXPECT_EQ(s->fileKind, 13);
    EXPECT_EQ(s->frame(0).value[0], 5);
    EXPECT_EQ(s->frame(1).value[0], 6);
}

TEST_F(Commands, AppendAddsAfterTheSurveyAndKeepsItsName) {
    const std::string first = put("first.gem", gem16(3).bytes);
    WorkFileImage other = gem16(2);
    other.header(7) = 28;
    other.header(9) = 99;
    const std::string second = put("second.gem", other.bytes);
    ASSERT_EQ(open(first).outcome, OpenOutcome::FramesLoaded);
    ASSERT_EQ(s->frameCount, 40);
    s->viewStart = 7;

    const OpenResult r = open(second, true);
    EXPECT_EQ(r.outcome, OpenOutcome::FramesLoaded);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(s->frame(40).value[0], 100);
    EXPECT_EQ(s->frame(41).value[0], 101);
    EXPECT_EQ(s->frame(0).value[0], 100) << "first survey kept";
    EXPECT_EQ(s->frameCount, 80) << "last in-profile slot 41: 40 + 40";
    EXPECT_EQ(s->viewStart, 7);
    EXPECT_EQ(s->currentFileName, first);
    EXPECT_EQ(s->header.value[hdr::Day], 5) << "date of the first survey";
    EXPECT_EQ(windowTitle(*s, second),
              "Tesk  " + first + "     05.03.21   14:07:00    +add file:// " + second);
    EXPECT_EQ(s->stateFlags & (state::Busy | state::Append), 0);
}

TEST_F(Commands, ZeroCountFileEndsTheLoadSilently) {
    ASSERT_EQ(open(put("first.gem", gem16(3).bytes)).outcome, OpenOutcome::FramesLoaded);
    WorkFileImage f = gem16(1);
    f.setCount(0);
    f.header(7) = 28;
    open(put("empty-count.gem", f.bytes));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(s->frame(0).value[0], 0) << "cleared before the count was read";
    EXPECT_EQ(s->header.value[hdr::Day], 5) << "the header was not read";
}

// --- refusals ---------------------------------------------------------------------

struct Text {
    std::string ru;
    std::string en;
    Icon icon;
};

struct Refusal {
    const char* name;
    std::string fileName;
    std::vector<uint8_t> bytes;
    bool create;                // false: the file does not exist
    std::vector<Text> messages; // "{P}" stands for the path; empty: one message naming the path
};

std::ostream& operator<<(std::ostream& os, const Refusal& r) {
    return os << r.name;
}

// A device recording header ("TESK", then the model code at byte 4).
std::vector<uint8_t> geoWithModel(uint8_t model) {
    std::vector<uint8_t> b(700, 0);
    b[0] = 'T';
    b[1] = 'E';
    b[2] = 'S';
    b[3] = 'K';
    std::fill(b.begin() + 4, b.end(), model);
    return b;
}

std::vector<uint8_t> startingWith(const char* four, std::size_t size = 700) {
    std::vector<uint8_t> b(size, 0);
    for (int i = 0; i < 4; ++i) b[std::size_t(i)] = uint8_t(four[i]);
    return b;
}

std::string withPath(std::string t, const std::string& path) {
    const auto at = t.find("{P}");
    if (at != std::string::npos) t.replace(at, 3, path);
    return t;
}

std::vector<Refusal> refusals() {
    auto empty = [](const char* code) {
        const std::string t = std::string("Error! (") + code + "). File {P} = 00!";
        return std::vector<Text>{{t, t, Icon::Warning}};
    };
    std::vector<uint8_t> badVersion = gem16(2).bytes;
    badVersion[12] = 20;
    const Text readError{"Ошибка (E001) чтения файла = {P}",
                         "ERROR (E020) of reading of a file = {P}", Icon::Error};
    return {
        {"EmptyGem", "a.gem", {}, true, empty("E025")},
        {"GemMagicABCD",
         "a.gem",
         startingWith("ABCD"),
         true,
         {{"Ошибка(E026). Файл = {P}\rне соответствует формату <GEM> Tesk",
           "ERROR(E026). File = {P}\rincompatible format <GEM> Tesk", Icon::Warning}}},
        {"GemUnknownVersion",
         "a.gem",
         badVersion,
         true,
         {{"Ошибка(E027). Файл = {P}\rне соответствует формату <GEM> Mirn",
           "ERROR(E027). File = {P}\rincompatible format <GEM> Mirn", Icon::Warning},
          {"Ошибка(E027). Неизвестная модель илиОшибка внутренней структуры файла",
           "ERROR(E027). Unknown model or internal Error of structure of a file", Icon::Warning}}},
        {"MissingGem", "missing.gem", {}, false, {readError}},
        {"MissingGeo", "missing.geo", {}, false, {readError}},
        {"EmptyGeo", "a.geo", {}, true, empty("E023")},
        {"EmptyMr3", "a.mr3", {}, true, empty("E022")},
        {"EmptyGpr", "a.gpr", {}, true, empty("E023")},
        {"EmptyGeb", "a.geb", {}, true, empty("E002")},
        {"EmptyOpt", "a.opt", {}, true, empty("E025")},
        {"GeoMagic",
         "a.geo",
         startingWith("ABCD"),
         true,
         {{"Ошибка!(E022). Файл = {P}\rне соответствует формату <GEO> Mirn.",
           "ERROR(E022). File = {P}\rincompatible format <GEO> Mirn.", Icon::Warning}}},
        {"GebMagic",
         "a.geb",
         startingWith("TESK"), // 311, not the 310 of "MIRN"
         true,
         {{"Ошибка!(E022). Файл = {P}\rне соответствует формату <MIRN>",
           "ERROR(E022). File = {P}\rincompatible format <MIRN>", Icon::Warning}}},
        {"OptMagic",
         "a.opt",
         startingWith("ABCD"),
         true,
         {{"Ошибка(E026). Файл Опций= {P}\rне соответствует формату <OPT> Mirn",
           "ERROR(E026). File Option= {P}\rincompatible format <OPT> Mirn", Icon::Warning}}},
        {"MissingGpx",
         "missing.gpx",
         {},
         false,
         {{"Ошибка (E001) чтения файла координат = {P}",
           "ERROR (E001) reading coordinate file = {P}", Icon::Error}}},
        {"EmptyTxt", "a.txt", {}, true, empty("E025")},
        // A device recording whose model byte names no known radar is refused
        // before anything is cleared.
        {"GeoUnknownModel",
         "a.geo",
         geoWithModel(0x80),
         true,
         {{"Ошибка! Тип георадара не определён", "Error! Incorrect Type GtoRadar.", Icon::Error}}},
        {"UpperCaseGebMagic",
         "A.GEB",
         startingWith("ABCD"),
         true,
         {{"Ошибка!(E022). Файл = {P}\rне соответствует формату <MIRN>",
           "ERROR(E022). File = {P}\rincompatible format <MIRN>", Icon::Warning}}},
    };
}

// Everything of the survey a refused open must leave as it was.
struct Snapshot {
    explicit Snapshot(const ProfileStore& s)
        : header(s.header.value), frameCount(s.frameCount), viewStart(s.viewStart), Hmax(s.Hmax),
          velocityCode(s.velocityCode), currentFileName(s.currentFileName),
          captionDate(s.captionDate) {
        for (int i = 0; i <= s.frameCount; ++i) frames.push_back(s.frame(i).value);
    }
    bool operator==(const Snapshot&) const = default;
    std::array<uint8_t, HEADER_CELLS> header;
    int frameCount;
    int32_t viewStart;
    uint32_t Hmax;
    uint16_t velocityCode;
    std::string currentFileName;
    std::string captionDate;
    std::vector<std::array<uint8_t, CELLS_PER_FRAME>> frames;
};

class RefusedOpen : public Commands, public ::testing::WithParamInterface<Refusal> {
  protected:
    void SetUp() override {
        WorkFileImage f = gem16(25);
        f.header(61) = 0x01;
        ASSERT_EQ(open(put("loaded.gem", f.bytes)).outcome, OpenOutcome::FramesLoaded);
        s->viewStart = 12;
        ui.shown.clear();
    }
};

TEST_P(RefusedOpen, MessageShownAndSurveyUntouched) {
    const Refusal& c = GetParam();
    const std::string path = dir.file(c.fileName);
    if (c.create) writeBytes(path, c.bytes);
    const Snapshot before(*s);

    for (bool append : {false, true}) {
        SCOPED_TRACE(append ? "append" : "plain");
        ui.shown.clear();
        const OpenResult r = open(path, append);
        EXPECT_EQ(r.outcome, OpenOutcome::Refused);
        if (c.messages.empty()) {
            ASSERT_EQ(ui.shown.size(), 1u);
            EXPECT_NE(ui.shown[0].en.find(path), std::string::npos) << ui.shown[0].en;
            EXPECT_NE(ui.shown[0].ru.find(path), std::string::npos) << ui.shown[0].ru;
        } else {
            ASSERT_EQ(ui.shown.size(), c.messages.size());
            for (std::size_t i = 0; i < c.messages.size(); ++i) {
                EXPECT_EQ(ui.shown[i].ru, withPath(c.messages[i].ru, path));
                EXPECT_EQ(ui.shown[i].en, withPath(c.messages[i].en, path));
                EXPECT_EQ(ui.shown[i].icon, c.messages[i].icon);
                EXPECT_EQ(ui.shown[i].buttons, Buttons::Ok);
            }
        }
        EXPECT_TRUE(Snapshot(*s) == before) << "the survey on screen changed";
        EXPECT_EQ(s->stateFlags & (state::Busy | state::Append), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedOpen, ::testing::ValuesIn(refusals()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Commands, OptionsFileBeforeAnySurveyDoesNothing) {
    const std::string good = put("a.opt", startingWith("TESK"));
    const std::string bad = put("b.opt", startingWith("ABCD"));
    const Snapshot before(*s);
    for (const std::string& p : {good, bad}) {
        const OpenResult r = open(p);
        EXPECT_EQ(r.outcome, OpenOutcome::NothingDone);
    }
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(Snapshot(*s) == before);
    EXPECT_EQ(s->fileKind, kind::None);
    EXPECT_EQ(s->stateFlags & state::Busy, 0);
}

// --- the table of file kinds and the steps after an open ------------------------------

TEST(FileKinds, DialogFiltersListTheRowsInOrder) {
    EXPECT_EQ(
        openDialogFilter(),
        "Gem. Work file|*.gem|Geo. Original file|*.geo|Mr3. Binary file|*.mr3|Opt. Options "
        "file|*.opt|Gpx. GPS file|*.gpx|Txt. Coordinates file|*.txt|Gpr. Mirn file|*.gpr|Geb. "
        "Mirn file|*.geb|Sgy. SEG-Y file|*.sgy;*.segy|");
    EXPECT_EQ(saveDialogFilter(), "Gem Files|*.gem|Bmp Files|*.bmp|Option Files|*.opt|Text "
                                  "Files|*.txt|SEG-Y Files|*.sgy;*.segy|");
    // The filter index selects the entry; indices outside the list take the nearest one.
    EXPECT_EQ(saveKindForFilterIndex(0), SaveKind::WorkFile);
    EXPECT_EQ(saveKindForFilterIndex(3), SaveKind::Options);
    EXPECT_EQ(saveKindForFilterIndex(5), SaveKind::Segy);
    EXPECT_EQ(saveKindForFilterIndex(9), SaveKind::Segy);
}

TEST_F(Commands, AfterAFrameLoadTheViewStartsOverAndTheTitleNamesTheSurvey) {
    const std::string first = put("first.gem", gem16(3).bytes);
    const std::string second = put("second.gem", gem16(2).bytes);
    ViewState view;
    view.ViewOrigin = Point{7, 9};
    view.cursorColumn = 100;
    view.cursorRow = 30;
    view.secondFrame = 400;
    view.sectionIndex = 5;
    AfterOpen a = afterOpen(*s, open(first), first, view);
    EXPECT_TRUE(a.framesLoaded);
    EXPECT_FALSE(a.showDeviceOptions);
    EXPECT_EQ(a.title, "Tesk  " + first + "     05.03.21   14:07:00");
    EXPECT_EQ(view.cursorColumn, 0);
    EXPECT_EQ(view.cursorRow, 0);
    EXPECT_EQ(view.secondFrame, 0);
    EXPECT_EQ(view.sectionIndex, 0);
    EXPECT_EQ(view.ViewOrigin.x, 7);
    EXPECT_EQ(view.ViewOrigin.y, 9);

    a = afterOpen(*s, open(second, true), second, view);
    EXPECT_EQ(a.title, "Tesk  " + first + "     05.03.21   14:07:00    +add file:// " + second);

    // A refused file changes neither the view nor the caption.
    view.cursorColumn = 12;
    const std::string bad = put("bad.gem", startingWith("ABCD"));
    a = afterOpen(*s, open(bad), bad, view);
    EXPECT_FALSE(a.framesLoaded);
    EXPECT_TRUE(a.title.empty());
    EXPECT_EQ(view.cursorColumn, 12);

    // A 12-bit device file brings its options panel.
    images::GebImage g(4, 1000000000, 1);
    g.frames(1);
    const std::string geb = put("a.geb", g.b);
    EXPECT_TRUE(afterOpen(*s, open(geb), geb, view).showDeviceOptions);
}

// --- title ------------------------------------------------------------------------

TEST(WindowTitle, NameDateAndTimeThenTheAddedFile) {
    auto s = newStore();
    s->currentFileName = "/data/line1.gem";
    s->header.value[hdr::Day] = 1;
    s->header.value[hdr::Month] = 12;
    s->header.value[hdr::Year] = 7;
    s->header.value[hdr::Hour] = 0;
    s->header.value[hdr::Minute] = 9;
    buildCaptions(*s);
    EXPECT_EQ(s->captionDate, "     01.12.07");
    EXPECT_EQ(s->captionTime, "   00:09:00");
    EXPECT_EQ(windowTitle(*s), "Tesk  /data/line1.gem     01.12.07   00:09:00");
    EXPECT_EQ(windowTitle(*s, "/data/gps.txt"),
              "Tesk  /data/line1.gem     01.12.07   00:09:00    +add file:// /data/gps.txt");
}

// Each field gets a leading "0" below 10 and is otherwise written whole, also
// when a header byte holds more than two digits.
TEST(WindowTitle, FieldsOfThreeDigitsAreWrittenWhole) {
    auto s = newStore();
    s->header.value[hdr::Day] = 10;
    s->header.value[hdr::Month] = 0;
    s->header.value[hdr::Year] = 107;
    s->header.value[hdr::Hour] = 255;
    s->header.value[hdr::Minute] = 59;
    buildCaptions(*s);
    EXPECT_EQ(s->captionDate, "     10.00.107");
    EXPECT_EQ(s->captionTime, "   255:59:00");
}

struct SavePathCase {
    const char* chosen;
    SaveKind kind;
    const char* expected;
};

class SavePath : public ::testing::TestWithParam<SavePathCase> {};

TEST_P(SavePath, LastFourCharactersReplacedByTheFilterExtension) {
    EXPECT_EQ(savePathFor(GetParam().chosen, GetParam().kind), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SavePath,
    ::testing::Values(SavePathCase{"/d/survey.gem", SaveKind::WorkFile, "/d/survey.gem"},
                      SavePathCase{"/d/survey.gem", SaveKind::Bitmap, "/d/survey.bmp"},
                      SavePathCase{"/d/survey.gem", SaveKind::Options, "/d/survey.opt"},
                      SavePathCase{"/d/survey.gem", SaveKind::Text, "/d/survey.txt"},
                      SavePathCase{"/d/survey.txt", SaveKind::WorkFile, "/d/survey.gem"},
                      SavePathCase{"/d/survey.gem", SaveKind::Segy, "/d/survey.sgy"},
                      // The second extension of SEG-Y stays; it is not cut to "survey.s".
                      SavePathCase{"/d/survey.segy", SaveKind::Segy, "/d/survey.segy"},
                      SavePathCase{"/d/survey.SEGY", SaveKind::Segy, "/d/survey.SEGY"},
                      SavePathCase{"/d/survey.segy", SaveKind::Text, "/d/survey.segy.txt"},
                      SavePathCase{"/d/a.b.c.GEM", SaveKind::WorkFile, "/d/a.b.c.gem"}));

// --- saving -----------------------------------------------------------------------

class Save : public Commands {
  protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) putSample(*s, i, uint8_t(150 + i));
        s->frameCount = 10;
        s->finishLoad(); // frameCount 40
        s->currentFileName = "/before/survey.gem";
    }
    std::vector<uint8_t> oldContents() const {
        std::vector<uint8_t> b(1000);
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i * 13);
        return b;
    }
};

TEST_F(Save, WritesTheWorkFileAndRenamesTheSurvey) {
    const std::string path = dir.file("out.gem");
    const SaveResult r = saveSurveyFile(*s, path, SaveKind::WorkFile, ui);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.path, path);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(readBytes(path).size(), 512u + 40u * 624u);
    EXPECT_EQ(s->currentFileName, path);
    EXPECT_EQ(s->stateFlags & state::Busy, 0);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.gem"}) << "no temporary file left";

    auto back = newStore();
    RecordingInteraction ui2;
    ASSERT_EQ(openSurveyFile(*back, path, false, ui2).outcome, OpenOutcome::FramesLoaded);
    for (int i = 0; i <= 40; ++i)
        for (int c = 0; c < CELLS_PER_FRAME; ++c)
            ASSERT_EQ(back->frame(i).value[c], s->frame(i).value[c]) << i << "/" << c;
}

TEST_F(Save, NameChosenWithAnotherExtensionGetsGem) {
    const SaveResult r = saveSurveyFile(*s, dir.file("out.txt"), SaveKind::WorkFile, ui);
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.path, dir.file("out.gem"));
    EXPECT_EQ(s->currentFileName, dir.file("out.gem"));
}

TEST_F(Save, OverwriteNoKeepsTheOldFileByteForByte) {
    const std::string path = put("out.gem", oldContents());
    ui.answers.push_back(Answer::No);
    const SaveResult r = saveSurveyFile(*s, path, SaveKind::WorkFile, ui);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, path + "\ralready exists. Overwrite?");
    EXPECT_EQ(ui.shown[0].ru, path + "\rуже сущетвует. Заменить?");
    EXPECT_EQ(ui.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(readBytes(path), oldContents());
    EXPECT_EQ(s->currentFileName, "/before/survey.gem");
}

TEST_F(Save, OverwriteYesReplacesTheFile) {
    const std::string path = put("out.gem", oldContents());
    ui.answers.push_back(Answer::Yes);
    ASSERT_TRUE(saveSurveyFile(*s, path, SaveKind::WorkFile, ui).written);
    EXPECT_EQ(readBytes(path).size(), 512u + 40u * 624u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.gem"});
}

TEST_F(Save, MissingDirectoryGivesE030) {
    const std::string path = dir.file("no-such-dir") + "/out.gem";
    const SaveResult r = saveSurveyFile(*s, path, SaveKind::WorkFile, ui);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR of creation of a file! (E030)");
    EXPECT_EQ(ui.shown[0].ru, "ERROR of creation of a file! (E030)");
    EXPECT_EQ(ui.shown[0].icon, Icon::Error);
    EXPECT_EQ(ui.shown[0].buttons, Buttons::Ok);
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(s->currentFileName, "/before/survey.gem");
}

// Every export entry writes through its row: the bytes of its writer with
// the survey's stored settings, replacing a file only after Yes. (The
// picture, which needs the toolkit's fonts, is checked through the window.)
TEST_F(Save, ExportsWriteTheirWritersBytesAndReplaceAFileOnlyAfterYes) {
    struct Row {
        SaveKind kind;
        const char* file;
    };
    for (const Row& row : {Row{SaveKind::Text, "pic.txt"}, Row{SaveKind::Segy, "pic.sgy"}}) {
        SCOPED_TRACE(row.file);
        ui.shown.clear();
        const std::string path = put(row.file, oldContents());
        ui.answers = {Answer::No};
        EXPECT_FALSE(saveSurveyFile(*s, dir.file("pic.gem"), row.kind, ui).written);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].en, path + "\ralready exists. Overwrite?");
        EXPECT_EQ(readBytes(path), oldContents());

        VectorSink expected;
        RecordingInteraction quiet;
        if (row.kind == SaveKind::Text)
            writeTextTable(expected, *s, exportSettingsFromStore(*s, SaveVariant::Plain, ','),
                           quiet);
        else
            writeSegyFile(expected, *s, segyOptionsFromStore(*s), quiet);
        ASSERT_FALSE(expected.bytes.empty());
        ui.answers = {Answer::Yes};
        SaveSettings settings;
        settings.decimalSeparator = ',';
        const SaveResult r = saveSurveyFile(*s, dir.file("pic.gem"), row.kind, ui, settings);
        EXPECT_TRUE(r.written);
        EXPECT_EQ(r.path, path);
        EXPECT_EQ(readBytes(path), expected.bytes);
        EXPECT_EQ(s->currentFileName, "/before/survey.gem") << "an export does not rename";
        EXPECT_EQ(s->stateFlags & state::Busy, 0);
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"pic.sgy", "pic.txt"}));
}

// Nothing to write, a file that cannot be created: the export's own message
// and nothing else; a file of that name stays as it was.
TEST_F(Save, ExportsThatWriteNothingKeepTheFileAndSayWhy) {
    auto empty = newStore();
    empty->frameCount = 40;
    const std::string path = put("old.txt", oldContents());
    ui.answers.push_back(Answer::Yes);
    const SaveResult r = saveSurveyFile(*empty, path, SaveKind::Text, ui);
    EXPECT_FALSE(r.written);
    ASSERT_EQ(ui.shown.size(), 2u) << "the overwrite question, then the reason";
    EXPECT_EQ(ui.shown[1].en, "ERROR! There is no Structure for record ");
    EXPECT_EQ(ui.shown[1].ru, "Ошибка! Нет данных для записи.");
    EXPECT_EQ(ui.shown[1].icon, Icon::Error);
    EXPECT_EQ(readBytes(path), oldContents());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.txt"});

    ui.shown.clear();
    const std::string missing = dir.file("no-such-dir") + "/x.txt";
    const SaveResult c = saveSurveyFile(*s, missing, SaveKind::Text, ui);
    EXPECT_FALSE(c.written);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR of creation of a file!");
    EXPECT_EQ(ui.shown[0].ru, "ERROR of creation of a file!");
    EXPECT_EQ(c.path, missing);
    EXPECT_EQ(c.failure, "No such file or directory");
}

// --- SEG-Y through the open command ------------------------------------------------

TEST_F(Commands, SegyFilesOpenUnderBothExtensions) {
    SegyImage f(3, 4, 1000); // 16-bit integers, 1 ns
    for (int i = 0; i < 5; ++i) f.addTrace({1, 2, 3, double(i)});
    for (const char* name : {"line.sgy", "LINE.SEGY"}) {
        SCOPED_TRACE(name);
        const std::string path = put(name, f.bytes);
        const OpenResult r = open(path);
        EXPECT_EQ(r.outcome, OpenOutcome::FramesLoaded);
        EXPECT_EQ(r.report.framesRead, 5);
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_EQ(s->fileKind, kind::Segy);
        EXPECT_EQ(s->currentFileName, path);
        EXPECT_EQ(s->frame(4).value[3], 132); // 128 + sample 4
        // Opened like the other files without zero level and gains.
        EXPECT_EQ(s->header.value[hdr::ZeroLevel], 128);
    }
}

TEST_F(Commands, SegyRefusalAndCutAreWordedByTheOpenCommand) {
    ASSERT_EQ(open(put("a.gem", gem16(30).bytes)).outcome, OpenOutcome::FramesLoaded);
    const std::string refused = put("short.sgy", std::vector<uint8_t>(2000, 0x40));
    EXPECT_EQ(open(refused).outcome, OpenOutcome::Refused);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR. File = " + refused +
                                  "\rincompatible format <SEG-Y>: the file is shorter than its "
                                  "headers (3600 bytes)");
    EXPECT_EQ(ui.shown[0].ru, "Ошибка! Файл = " + refused +
                                  "\rне соответствует формату <SEG-Y>: файл короче заголовков "
                                  "(3600 байт)");
    EXPECT_EQ(s->frame(3).value[0], 103) << "the survey on screen stays";

    ui.shown.clear();
    SegyImage f(5, 4, 1000);
    for (int i = 0; i < 3; ++i) f.addTrace({1, 2, 3, 4});
    f.bytes.resize(f.bytes.size() - 9);
    const std::string cut = put("cut.sgy", f.bytes);
    EXPECT_EQ(open(cut).outcome, OpenOutcome::FramesLoaded);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en,
              "File = " + cut + "\rcut short in trace 3 (byte 4112).\rTraces loaded: 2.");
    EXPECT_EQ(ui.shown[0].ru,
              "Файл = " + cut + "\rобрезан в трассе 3 (байт 4112).\rЗагружено трасс: 2.");
    EXPECT_EQ(ui.shown[0].icon, Icon::Warning);
    EXPECT_EQ(s->frame(1).value[3], 132);
}

// Lowers the file size limit for the duration of a test, so that a write
// runs out of room part way, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = old_;
        r.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &r) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, handler_);
    }
    bool ok() const { return ok_; }

  private:
    rlimit old_{};
    void (*handler_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(Save, InterruptedSaveLeavesTheOldFileAndIsReported) {
    auto big = newStore();
    for (int i = 0; i <= 1000; ++i) putSample(*big, i);
    big->frameCount = 1000;
    big->finishLoad(); // 1040 frames: 649472 bytes
    big->currentFileName = "/before/survey.gem";
    const std::string path = put("out.gem", oldContents());
    ui.answers.push_back(Answer::Yes);
    SaveResult r;
    {
        FileSizeLimit limit(100000);
        ASSERT_TRUE(limit.ok());
        r = saveSurveyFile(*big, path, SaveKind::WorkFile, ui);
    }
    EXPECT_FALSE(r.written);
    EXPECT_EQ(readBytes(path), oldContents());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.gem"}) << "no temporary file left";
    ASSERT_EQ(ui.shown.size(), 2u) << "the overwrite question, then the failure";
    EXPECT_EQ(ui.shown[1].icon, Icon::Error);
    EXPECT_NE(ui.shown[1].en.find(path), std::string::npos) << ui.shown[1].en;
    EXPECT_EQ(big->currentFileName, "/before/survey.gem");
    EXPECT_EQ(big->stateFlags & state::Busy, 0);
}

TEST_F(Save, SinkDiscardedWithoutCommitLeavesTargetAlone) {
    const std::string path = put("out.gem", oldContents());
    {
        std::string error;
        auto sink = AtomicFileSink::create(path, error);
        ASSERT_TRUE(sink) << error;
        const uint8_t junk[64] = {1, 2, 3};
        EXPECT_TRUE(sink->write(junk, sizeof junk));
    }
    EXPECT_EQ(readBytes(path), oldContents());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.gem"});
}

} // namespace
} // namespace tesk::testing
