// Recipes drive the real window: the recipes under tests/recipes run here
// over temporary surveys, and the runner's own errors are checked.

#include "shell/recipe.h"
#include "support/survey_files.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

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
    r = runText("open /no/such/file.gem\n");
    EXPECT_EQ(r.status, 1);
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
