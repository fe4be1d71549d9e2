// Recipes drive the real window: the recipes under tests/recipes run here
// over temporary surveys, and the runner's own errors are checked.

#include "commands/file_commands.h"
#include "coordinate_files.h"
#include "interpretation_fixture.h"
#include "shell/recipe/recipe.h"
#include "support/survey_files.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <vector>

namespace tesk::testing {
namespace {

struct RecipeResult {
    int status;
    std::string out;
    std::string err;
};

RecipeResult runFile(const std::string& name, const std::vector<std::string>& files) {
    std::ostringstream out, err;
    const int status = runRecipe(std::string(TESK_RECIPES) + "/" + name, files, out, err);
    return {status, out.str(), err.str()};
}

RecipeResult runText(const std::string& text, const std::vector<std::string>& files = {}) {
    std::ostringstream out, err;
    const int status = runRecipeText(text, "test.recipe", files, out, err);
    return {status, out.str(), err.str()};
}

TEST(Recipes, ProcessSaveAndReopen) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("line1.gem"), 700);
    const RecipeResult r = runFile("process_and_reopen.recipe", {survey});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("line1-processed.gem")));
    const QImage png(QString::fromStdString(dir.file("line1.png")));
    EXPECT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(1160, 600));
}

TEST(Recipes, MeasureAVelocityAndTraceABoundary) {
    TempDir dir;
    std::string error;
    const std::string survey = dir.file("stone.gem");
    ASSERT_TRUE(demo::writeDemoSurvey(survey, stoneSurvey(), error)) << error;
    const RecipeResult r = runFile("velocity_and_boundary.recipe", {survey});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("StaticText4: caption=\"200\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("message: [warning, Yes/No] You want to delete ALL stratums? -> No"),
              std::string::npos)
        << r.out;
    // The point at frame 20: Vgr 5.00 down to 100 ns is 500 cm.
    EXPECT_NE(r.out.find("\n1.  Depth stratum\t0\t500\t"), std::string::npos) << r.out;
    // The saved survey keeps the measured velocity and the traced boundary.
    auto store = std::make_unique<ProfileStore>();
    SilentInteraction quiet;
    const OpenResult opened = openSurveyFile(*store, dir.file("stone-traced.gem"), false, quiet);
    ASSERT_EQ(opened.outcome, OpenOutcome::FramesLoaded);
    EXPECT_EQ(store->velocityCode, 500);
    EXPECT_EQ(store->header.value[hdr::VelocityIndex], 0);
    for (const auto& [frame, row] : {std::pair{9, 0}, {10, 100}, {20, 100}, {30, 100}, {31, 0}})
        EXPECT_EQ(store->frame(frame).get16(cell::Boundary1), row) << frame;
}

// Cells of the last frame the recipe printed (print frame N: 16 cells a line).
std::vector<uint8_t> lastFramePrinted(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    std::vector<uint8_t> cells;
    for (std::size_t i = lines.size(); i-- > 0 && cells.size() < CELLS_PER_FRAME;) {
        std::vector<uint8_t> row;
        std::istringstream w(lines[i]);
        for (std::string h; w >> h;) row.push_back(uint8_t(std::stoul(h, nullptr, 16)));
        cells.insert(cells.begin(), row.begin(), row.end());
    }
    return cells;
}

TEST(Recipes, PositionsImportedSynchronisedRecalculatedAndReopened) {
    TempDir dir;
    auto s = std::make_unique<ProfileStore>();
    demo::fillTimedSurvey(*s, {100}, 0); // frame i recorded at 10:00:00 + i s
    setBit(s->header.value[hdr::ViewFlags], hdr::English, true);
    const std::string survey = writeStore(dir.file("line.gem"), *s);
    for (const auto& f : demo::coordinateFixtures())
        if (f.name == "plain.gpx") writeBytes(dir.file("line.gpx"), f.bytes);
    const RecipeResult r = runFile("positions_and_heights.recipe", {survey});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    // Frame 15 lies halfway between W1 (frame 10) and W2 (frame 20):
    // latitude 55.7512345 + (55.7513000 - 55.7512345) / 2 = 55.75126725 and
    // longitude 37.6184217 + (37.6185000 - 37.6184217) / 2 = 37.61846085,
    // the fractions cut to 1e-7 degree.
    const std::vector<uint8_t> f = lastFramePrinted(r.out);
    ASSERT_EQ(f.size(), std::size_t(CELLS_PER_FRAME)) << r.out;
    auto u24 = [&](int c) { return (f[c] << 16) | (f[c + 1] << 8) | f[c + 2]; };
    EXPECT_EQ(f[cell::LatDegrees], 55);
    EXPECT_EQ(u24(cell::LatFraction), 7512672);
    EXPECT_EQ(f[cell::LonDegrees], 37);
    EXPECT_EQ(u24(cell::LonFraction), 6184608);
    // Converted to the rectangular system: 55.75 degrees north, a few metres
    // east and north of the survey's south-west corner.
    const int32_t x = int32_t((f[cell::UcsX] << 24) | u24(cell::UcsX + 1));
    EXPECT_GT(x, 0);
    EXPECT_LT(x, 1000);
}

TEST(Recipes, RefusedFileMessagesInBothLanguages) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("good.gem"), 100);
    writeBytes(dir.file("not-a-survey.gem"), "ABCD" + std::string(600, '\0'));
    const RecipeResult r = runFile("refused_in_both_languages.recipe", {survey});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    // The transcript shows each box as it appeared, line breaks included.
    EXPECT_NE(r.out.find("message: [warning, OK] ERROR(E026). File = " +
                         dir.file("not-a-survey.gem") + "\nincompatible format <GEM> Tesk -> OK"),
              std::string::npos)
        << r.out;
}

TEST(Recipes, BatchOverSeveralFiles) {
    TempDir dir;
    const std::string a = writeSurvey(dir.file("a.gem"), 100, true, 0);
    const std::string b = writeSurvey(dir.file("b.gem"), 200, true, 9);
    const RecipeResult r = runFile("thumbnails.recipe", {a, b});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("== " + a), std::string::npos);
    EXPECT_NE(r.out.find("== " + b), std::string::npos);
    for (const char* name : {"a-thumb.png", "b-thumb.png"}) {
        const QImage png(QString::fromStdString(dir.file(name)));
        EXPECT_EQ(png.size(), QSize(1024, 512)) << name;
    }
}

TEST(Recipes, AnsweredOverwriteQuestionKeepsTheFileAndFailsTheCommand) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("keep.gem"), 100);
    const std::string before = readBytes(survey);
    const RecipeResult r = runFile("overwrite_question.recipe", {survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find("message: [warning, Yes/No] " + survey + "\nalready exists. Overwrite? -> No"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("overwrite_question.recipe:4: nothing was written"), std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(survey), before);
}

// The operator's recipe for the trace, the markers and the magnifier: the
// zero level set by a click, a marker set by a Shift-click and raised with
// the others, shown in blue and kept in the saved file.
TEST(Recipes, TraceMarkersAndMagnifier) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("line.gem"), 600);
    const RecipeResult r = runFile("trace_markers_magnifier.recipe", {survey});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("message: [warning, Yes/No] Status of marks will be advanced!\n"
                         "Want to continue? -> Yes"),
              std::string::npos)
        << r.out;
    // The flag of frame 50 above the picture (origin 50, 50): blue.
    const QImage png(QString::fromStdString(dir.file("line-marked.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.pixel(50 + 2 * 50, 50 - 5), qRgb(0, 0x66, 0xFF));
    // Frame 50 as saved and reopened, printed last: cell 528 begins row 33
    // of the dump; the in-profile flag 0x10 with marker status 2.
    std::istringstream lines(r.out);
    std::vector<std::string> dump;
    for (std::string line; std::getline(lines, line);) dump.push_back(line);
    ASSERT_GE(dump.size(), 39u);
    const std::string row33 = dump[dump.size() - 39 + 33];
    EXPECT_EQ(row33.substr(0, 2), "12") << r.out;
}

// The README's batch example, over a work file and a device recording: each
// result keeps the filter setting; a failing file does not stop the batch.
TEST(Recipes, LowPassBatchOverWorkFilesAndDeviceRecordings) {
    TempDir dir;
    const std::string gem = writeSurvey(dir.file("line1.gem"), 300);
    const std::string geo = dir.file("field.geo");
    writeBytes(geo, readBytes(std::string(TESK_CORPUS) + "/geo/fr_m1_raw_s1.geo"));
    const std::string bad = dir.file("broken.gem");
    writeBytes(bad, "ABCD" + std::string(600, '\0'));
    const RecipeResult r = runFile("lowpass.recipe", {gem, bad, geo});
    EXPECT_EQ(r.status, 1) << "the broken file is reported at the end";
    EXPECT_NE(r.err.find("lowpass.recipe:3: cannot open " + bad + " (" + bad + ")"),
              std::string::npos)
        << r.err;
    for (const char* name : {"line1-lf.gem", "field-lf.gem"}) {
        const std::string bytes = readBytes(dir.file(name));
        ASSERT_GT(bytes.size(), 64u) << name << "\n" << r.out << r.err;
        // Header cells 24..26: filter 1 is LF 1 with L = 3 and T = 3.
        EXPECT_EQ(uint8_t(bytes[24]), 0) << name;
        EXPECT_EQ(uint8_t(bytes[25]), 3) << name;
        EXPECT_EQ(uint8_t(bytes[26]), 3) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("broken-lf.gem")));
    // No earlier result existed, so the queued Yes was never asked for.
    EXPECT_NE(r.out.find("note: 1 queued answer(s) not used"), std::string::npos) << r.out;
}

// The volume recipe: three lines 100 cm apart give a 2 cm grid over 499 x
// 101 nodes; the nodes print as the frames do; the 3D view refuses without
// OpenGL and the volume stays.
TEST(Recipes, VolumeOfParallelLinesReadBackAndSliced) {
    TempDir dir;
    const std::string survey = writeParallelLines(dir.file("lines.gem"), ParallelLines{});
    const RecipeResult r = runFile("volume_slices.recipe", {survey});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("volume: step=2 cm nodes=499 x 101"), std::string::npos) << r.out;
    // Cell 528 of a node on a line holds the in-profile status of its frame.
    EXPECT_NE(r.out.find("528: 10"), std::string::npos) << r.out;
}

// Lists are chosen and ticked by item; a node before any volume is an error
// of the command, a node off the grid one of the recipe.
TEST(RecipeRunner, ListItemsAndNodesOutOfReach) {
    RecipeResult r = runText("set CheckListBox2 1 off\nprint CheckListBox2\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("CheckListBox2: item=1 items=3"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[ ]   T-X Plane"), std::string::npos) << r.out;
    EXPECT_EQ(runText("set CheckListBox2 3\n").status, 2);
    EXPECT_EQ(runText("set CheckListBox2 1 maybe\n").status, 2);
    r = runText("print volume\nprint node 0 0\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("volume: not built"), std::string::npos) << r.out;
    EXPECT_EQ(runText("print node 512 0\n").status, 2);
}

// Each file of a batch starts from the start-up state, not from the
// settings and frames the previous file left behind.
TEST(Recipes, EveryFileOfABatchStartsFromAFreshWindow) {
    TempDir dir;
    const std::string a = writeSurvey(dir.file("a.gem"), 100);
    const std::string b = writeSurvey(dir.file("b.gem"), 100);
    const RecipeResult r = runText("print ComboBox20\nprint frame 5\nopen $FILE\n"
                                   "set ComboBox20 3\n",
                                   {a, b});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string fresh = "ComboBox20: item=0";
    const auto first = r.out.find(fresh);
    ASSERT_NE(first, std::string::npos) << r.out;
    EXPECT_NE(r.out.find(fresh, first + 1), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("item=3"), std::string::npos);
    // Frame 5 is blank before the open in both runs.
    const std::string blank = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    const auto z = r.out.find(blank);
    ASSERT_NE(z, std::string::npos);
    EXPECT_NE(r.out.find("== " + b), std::string::npos);
    EXPECT_NE(r.out.find(blank, r.out.find("== " + b)), std::string::npos);
}

// The frame dumps of `print frame N` in a transcript, in order: 39 lines of
// 16 cells each.
std::vector<std::string> frameDumps(const std::string& out) {
    static const std::regex row("([0-9A-F]{2} ){15}[0-9A-F]{2}");
    std::vector<std::string> dumps;
    std::istringstream in(out);
    std::string line, dump;
    int rows = 0;
    while (std::getline(in, line)) {
        if (!std::regex_match(line, row)) {
            rows = 0;
            dump.clear();
            continue;
        }
        dump += line + "\n";
        if (++rows == 39) {
            dumps.push_back(dump);
            rows = 0;
            dump.clear();
        }
    }
    return dumps;
}

// A delete, its undo and redo, then save and reopen: frame 10 holds the old
// frame 110 (samples 1 + (7 i + j) mod 255 start at 06), then its own samples
// again (from 0x47), and the saved file keeps the edited frames.
TEST(Recipes, EditUndoRedoSaveAndReopen) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("cut.gem"), 600);
    const RecipeResult r = runFile("edit_and_reopen.recipe", {survey});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("\nundone\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nredone\n"), std::string::npos) << r.out;
    const std::vector<std::string> dumps = frameDumps(r.out);
    ASSERT_EQ(dumps.size(), 4u) << r.out;
    EXPECT_EQ(dumps[0].substr(0, 11), "06 07 08 09");
    EXPECT_EQ(dumps[1].substr(0, 11), "47 48 49 4A");
    EXPECT_EQ(dumps[2], dumps[0]);
    EXPECT_EQ(dumps[3], dumps[0]);
    EXPECT_TRUE(std::filesystem::exists(dir.file("cut-edited.gem")));
}

TEST(RecipeRunner, UndoOrRedoWithNothingToTakeFails) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("s.gem"), 100);
    RecipeResult r = runText("open $FILE\nundo\n", {survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("test.recipe:2: nothing to undo"), std::string::npos) << r.err;
    r = runText("open $FILE\nredo\n", {survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("test.recipe:2: nothing to redo"), std::string::npos) << r.err;
}

TEST(RecipeRunner, FileVariablesWithoutFilesAreARecipeError) {
    const RecipeResult r = runText("# one thumbnail\nopen $FILE\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:2: the recipe uses $FILE, $DIR or $STEM but no files"),
              std::string::npos)
        << r.err;
    // In a comment the words are no command.
    EXPECT_EQ(runText("print CheckBox1 # not $FILE\n").status, 0);
}

// A frame number typed into the frame field and confirmed with Enter moves
// the view; keys and typed text reach the control named.
TEST(RecipeRunner, TypingAndKeysReachTheNamedControl) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("s.gem"), 900);
    const RecipeResult r = runText("open $FILE\nset MaskEdit1 00245\nkey Return MaskEdit1\n"
                                   "print MaskEdit1\nprint SpeedButton10\n"
                                   "key F7\n",
                                   {survey});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:6: unknown key: F7"), std::string::npos) << r.err;
    // The field shows the view start, rounded down to a multiple of 20.
    EXPECT_NE(r.out.find("MaskEdit1: text=\"00240\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("SpeedButton10: caption=\"Options\""), std::string::npos) << r.out;
}

TEST(RecipeRunner, QuestionWithoutAnAnswerStopsWithStatus2) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("s.gem"), 100);
    const RecipeResult r = runText("open $FILE\nsave $FILE\nprint title\n", {survey});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:2: a question had no queued answer"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out.find("Tesk"), std::string::npos) << "the recipe stopped at line 2";
}

TEST(RecipeRunner, UnknownControlCommandAndBadLinesStopAtTheirLine) {
    RecipeResult r = runText("# comment\n\nprint CheckBox1\nset ComboBox999 1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:4: unknown control: ComboBox999"), std::string::npos)
        << r.err;
    r = runText("frobnicate\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:1: unknown command: frobnicate"), std::string::npos);
    r = runText("print \"CheckBox1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("test.recipe:1: unclosed quote"), std::string::npos);
    r = runText("set ComboBox11 99\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("value out of range"), std::string::npos);
}

TEST(RecipeRunner, FailedExpectAndMissingFileGiveStatus1) {
    RecipeResult r = runText("print CheckBox1\nexpect Deutsch\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("test.recipe:2: expected \"Deutsch\""), std::string::npos) << r.err;
    // A missing file gets the message the window shows for a file it cannot read.
    r = runText("open /no/such/file.gem\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("message: [error, OK] ERROR (E020) of reading of a file = "
                         "/no/such/file.gem -> OK"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("test.recipe:1: cannot open /no/such/file.gem"), std::string::npos);
}

// An options file applied to the survey on screen is an open that worked.
TEST(RecipeRunner, OptionsFileAppliedToTheSurveyIsAnOpen) {
    TempDir dir;
    const std::string survey = writeSurvey(dir.file("s.gem"), 100);
    const RecipeResult r = runText("open $FILE\nset ComboBox22 6\nsave $DIR/s.opt --as opt\n"
                                   "answer no\nopen $FILE\nopen $DIR/s.opt\nprint ComboBox22\n"
                                   "expect item=6\n",
                                   {survey});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
}

// The whole window as the operator sees it, or one panel of it.
TEST(RecipeRunner, GrabsTheWindowOrOneControl) {
    TempDir dir;
    const RecipeResult r = runText("click SpeedButton10\ngrab " + dir.file("w.png") + "\ngrab " +
                                   dir.file("p.png") + " Panel_2\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("w.png"))).size(), QSize(1467, 756));
    const QImage panel(QString::fromStdString(dir.file("p.png")));
    EXPECT_FALSE(panel.isNull());
    EXPECT_LT(panel.width(), 1467);
}

TEST(RecipeRunner, PrintsStoredBytesAsHex) {
    const RecipeResult r = runText("print header\nexpect 54 45 53 4B 2A\nprint frame 0\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 14), "54 45 53 4B 2A");
}

TEST(RecipeRunner, LineSplitting) {
    std::vector<std::string> w;
    ASSERT_TRUE(splitRecipeLine("open 'a b.gem' --append # note", w));
    EXPECT_EQ(w, (std::vector<std::string>{"open", "a b.gem", "--append"}));
    ASSERT_TRUE(splitRecipeLine(R"(expect "say \"hi\"" x\ y)", w));
    EXPECT_EQ(w, (std::vector<std::string>{"expect", "say \"hi\"", "x y"}));
    EXPECT_FALSE(splitRecipeLine("print 'open", w));
}

} // namespace
} // namespace tesk::testing
