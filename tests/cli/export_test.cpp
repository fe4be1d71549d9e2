// The batch exports and pictures: `export` runs the save command's writers
// with the survey's stored settings, `render` writes the format its name
// asks for and refuses a view beyond the survey, `render --whole` the
// overview.

#include "cli/cli.h"
#include "support/survey_files.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace tesk::testing {
namespace {

struct BatchRun {
    int status;
    std::string out;
    std::string err;
};

BatchRun cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

std::size_t lineCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

uint32_t le32(const std::string& b, std::size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        // The decimal separator comes from the locale the program runs under.
        setenv("LC_ALL", "C", 1);
        in = writeSurvey(dir.file("in.gem"), 300); // frames 0..299, frame count 320
    }
    TempDir dir;
    std::string in;
};

TEST_F(Batch, TextTablesOfEachKey) {
    struct Row {
        const char* flag;
        const char* header;
        std::size_t lines;
    };
    // The survey keeps the start-up level table, ComboBox29 item 2 ("ALg_20").
    for (const Row& row : {Row{"", "X;T;ALg_20;", 1 + 321u * 512u},
                           Row{"--shift", "X;Y;Z;NS;ALg_20;h:m:s.0", 1 + 300u * 512u},
                           Row{"--ctrl",
                               "Long;Latd;X;Y;HR;T01;A01;D02;T12;A02;D03;T23;A03;D04;"
                               "T34;A04;D05;T45;A05;D06;T56;A06;D07;T67;A07;GRT",
                               1 + 300u}}) {
        SCOPED_TRACE(row.flag);
        const std::string out = dir.file(std::string("t") + row.flag + ".txt");
        std::vector<std::string> args = {"export", in, out};
        if (*row.flag) args.push_back(row.flag);
        const BatchRun r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "written " + out + "\n");
        const std::string text = readBytes(out);
        EXPECT_EQ(firstLine(text), row.header);
        EXPECT_EQ(lineCount(text), row.lines);
    }
    // Frame 7, sample 3: T = 3 x 0.5 ns with the C locale's separator.
    EXPECT_NE(readBytes(dir.file("t.txt")).find("\r\n7;1.5;"), std::string::npos);
}

// One profile: the one at or after --start; --whole: every frame, two columns each.
TEST_F(Batch, BitmapOfOneProfileOrTheWholeSurvey) {
    struct Row {
        std::vector<std::string> flags;
        uint32_t width;
    };
    for (const Row& row : {Row{{}, 672},                 // 300 frames: 8 x 75 + 72
                           Row{{"--start", "100"}, 472}, // 200 frames: 8 x 50 + 72
                           Row{{"--whole"}, 716}}) {     // 321 frames: 28 + 642 + 44 -> 716
        const std::string out = dir.file("p" + std::to_string(row.width) + ".bmp");
        std::vector<std::string> args = {"export", in, out};
        args.insert(args.end(), row.flags.begin(), row.flags.end());
        const BatchRun r = cli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string b = readBytes(out);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(le32(b, 18), row.width);
        EXPECT_EQ(le32(b, 22), 536u);
        EXPECT_EQ(b.size(), 54u + row.width * 536u * 3u);
    }
    const BatchRun beyond = cli({"export", in, dir.file("late.bmp"), "--start", "300"});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_EQ(beyond.err,
              "tesk-cli: --start 300 lies beyond the survey: its last frame with data is 299\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("late.bmp")));
}

// SEG-Y in floats or 16-bit integers, under either extension, and read back.
TEST_F(Batch, SegyWrittenAndReadBack) {
    ASSERT_EQ(cli({"export", in, dir.file("f.sgy")}).status, 0);
    ASSERT_EQ(cli({"export", in, dir.file("i.segy"), "--int16"}).status, 0);
    EXPECT_EQ(std::filesystem::file_size(dir.file("f.sgy")), 3600u + 300u * (240u + 2048u));
    EXPECT_EQ(std::filesystem::file_size(dir.file("i.segy")), 3600u + 300u * (240u + 1024u));
    for (const char* name : {"f.sgy", "i.segy"}) {
        const BatchRun info = cli({"info", dir.file(name)});
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find("kind:           SEG-Y file (.sgy, .segy)\n"), std::string::npos)
            << info.out;
        EXPECT_NE(info.out.find("frames:         300 "), std::string::npos) << info.out;
        EXPECT_NE(info.out.find("time range:     256 ns\n"), std::string::npos) << info.out;
    }
    // A SEG-Y survey converts to a work file like any other.
    EXPECT_EQ(cli({"convert", dir.file("f.sgy"), dir.file("back.gem")}).status, 0);
}

// The picture is written in the format its name asks for, by Qt's writers.
TEST_F(Batch, RenderWritesTheFormatTheNameAsksFor) {
    struct Row {
        const char* name;
        std::string magic;
    };
    for (const Row& row : {Row{"r.png", "\x89PNG"}, Row{"r.JPG", "\xFF\xD8\xFF"},
                           Row{"r.jpeg", "\xFF\xD8\xFF"}, Row{"r.bmp", "BM"}}) {
        SCOPED_TRACE(row.name);
        const BatchRun r = cli({"render", in, dir.file(row.name), "--no-overlay"});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string b = readBytes(dir.file(row.name));
        EXPECT_EQ(b.substr(0, row.magic.size()), row.magic);
        QImage image;
        ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(b.data()), int(b.size())));
        EXPECT_EQ(image.width(), 1024);
        EXPECT_EQ(image.height(), 512);
    }
    const BatchRun gif = cli({"render", in, dir.file("r.gif")});
    EXPECT_EQ(gif.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("r.gif")));
}

// A view that starts after the last frame with data would be black.
TEST_F(Batch, RenderRefusesAStartBeyondTheSurvey) {
    const BatchRun late = cli({"render", in, dir.file("late.png"), "--start", "300"});
    EXPECT_EQ(late.status, 2);
    EXPECT_EQ(late.err,
              "tesk-cli: --start 300 lies beyond the survey: its last frame with data is 299\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("late.png")));
    EXPECT_EQ(cli({"render", in, dir.file("last.png"), "--start", "299"}).status, 0);
}

// One column per frame at most; --width sets the columns.
TEST_F(Batch, RenderWholeDrawsTheOverview) {
    for (const auto& [flags, width] :
         {std::pair<std::vector<std::string>, int>{{}, 321}, {{"--width", "100"}, 100}}) {
        const std::string out = dir.file("w" + std::to_string(width) + ".png");
        std::vector<std::string> args = {"render", in, out, "--whole"};
        args.insert(args.end(), flags.begin(), flags.end());
        const BatchRun r = cli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(out), "PNG"));
        EXPECT_EQ(image.width(), width);
        EXPECT_EQ(image.height(), 512);
    }
}

} // namespace
} // namespace tesk::testing
