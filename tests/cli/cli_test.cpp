// The batch front end: info, convert, and its messages and exit status.

#include "cli/cli.h"
#include "support/survey_files.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace tesk::testing {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliInfo, DescribesAWorkFile) {
    TempDir dir;
    const std::string path = writeSurvey(dir.file("s.gem"), 300);
    const CliRun r = cli({"info", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("kind:           work file (.gem)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("generation:     16"), std::string::npos);
    EXPECT_NE(r.out.find("frames:         300 (frame count 320)"), std::string::npos);
    EXPECT_NE(r.out.find("profiles:       1"), std::string::npos);
    EXPECT_NE(r.out.find("recorded:       01.01.18 00:00"), std::string::npos);
    // Start-up settings: 256 ns, 2 cm step, velocity code 500: Vgr 5.00 cm/ns, half
    // the wave speed of 10 cm/ns, permittivity (30 / 10)^2 = 9.
    EXPECT_NE(r.out.find("time range:     256 ns"), std::string::npos);
    EXPECT_NE(r.out.find("profile step:   2 cm"), std::string::npos);
    EXPECT_NE(r.out.find("velocity Vgr:   5.00 cm/ns (depth = Vgr x two-way time)\n"
                         "wave speed:     10.00 cm/ns (permittivity 9.00)\n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(CliInfo, RefusedFileGivesTheEnglishMessageWithItsCode) {
    TempDir dir;
    const std::string path = dir.file("x.gem");
    writeBytes(path, "ABCD" + std::string(600, '\0'));
    const CliRun r = cli({"info", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR(E026). File = " + path + "\nincompatible format <GEM> Tesk\n");
    EXPECT_TRUE(r.out.empty());
    const CliRun missing = cli({"info", dir.file("none.gem")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ERROR (E020) of reading of a file = " + dir.file("none.gem") + "\n");
}

TEST(CliConvert, WritesAWorkFileThatReadsBackTheSame) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 500, false, 5);
    const std::string out = dir.file("out.gem");
    const CliRun r = cli({"convert", in, out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readBytes(out), readBytes(in));
}

// Every command that writes keeps an existing output unless --force is
// given, and with --force asks nothing.
class CliNeverOverwrites : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(CliNeverOverwrites, WithoutForce) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    const std::string out = dir.file(GetParam()[1]);
    writeBytes(out, "keep me");
    std::vector<std::string> args = {GetParam()[0], in, out};
    for (std::size_t i = 2; i < GetParam().size(); ++i) args.push_back(GetParam()[i]);
    const CliRun r = cli(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, out + "\nalready exists. Overwrite?\n(answered No)\n");
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(readBytes(out), "keep me");
    args.push_back("--force");
    const CliRun forced = cli(args);
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(forced.err.empty()) << "no question with --force: " << forced.err;
    EXPECT_NE(readBytes(out), "keep me");
}

INSTANTIATE_TEST_SUITE_P(Commands, CliNeverOverwrites,
                         ::testing::Values(std::vector<const char*>{"convert", "out.gem"},
                                           std::vector<const char*>{"render", "out.png"},
                                           std::vector<const char*>{"render", "o.png", "--whole"},
                                           std::vector<const char*>{"export", "out.txt"},
                                           std::vector<const char*>{"export", "out.bmp"},
                                           std::vector<const char*>{"export", "out.sgy"}));

TEST(CliConvert, ForcedConversionWritesTheSameWorkFile) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    const std::string out = dir.file("out.gem");
    writeBytes(out, "keep me");
    EXPECT_EQ(cli({"convert", in, out, "--force"}).status, 0);
    EXPECT_EQ(readBytes(out), readBytes(in));
}

TEST(CliConvert, UnwritableTargetFailsWithE030AndNamesThePath) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    const std::string out = dir.file("missing/dir/out.gem");
    const CliRun r = cli({"convert", in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR of creation of a file! (E030)\ntesk-cli: cannot create " + out +
                         ": No such file or directory\n");
}

// The save command would write "out.gem" for "out.txt": the batch tool
// refuses rather than write a name it was not given.
TEST(CliConvert, RefusesAnOutputThatIsNoWorkFileName) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    for (const char* name : {"out.txt", "out.GEM", "out", "out.gem.old"}) {
        SCOPED_TRACE(name);
        const CliRun r = cli({"convert", in, dir.file(name)});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "tesk-cli: convert writes a work file; its name must end in .gem: " +
                             dir.file(name) +
                             "\nusage: tesk-cli convert IN OUT.gem [--force] "
                             "[--replace-implausible]\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// The batch front end opens every file as a plain open: an options file only
// applies to a survey already on screen, so it is reported, not silently
// refused; formats without a reader in this version say so.
TEST(CliInfo, FilesThatHoldNoSurveyAreReported) {
    TempDir dir;
    const std::string opt = dir.file("look.opt");
    writeBytes(opt, "TESK" + std::string(100, '\0'));
    const CliRun o = cli({"info", opt});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_EQ(o.err, "tesk-cli: " + opt +
                         " holds no survey; an options file (.opt) only applies to a survey "
                         "already open\n");
    const std::string gpx = dir.file("track.gpx");
    writeBytes(gpx, "<gpx></gpx>");
    const CliRun g = cli({"convert", gpx, dir.file("out.gem")});
    EXPECT_EQ(g.status, 1);
    EXPECT_EQ(g.err,
              "File = " + gpx + "\nThe <GPX> format is not supported by this version yet.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.gem")));
}

TEST(CliUsage, HelpAndWrongArguments) {
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("non-destructive answer"), std::string::npos);
    EXPECT_EQ(cli({}).status, 2);
    const CliRun unknown = cli({"frobnicate", "x"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("tesk-cli: unknown command: frobnicate\n\nUsage: tesk-cli", 0), 0u);
}

// A wrong command line names what is wrong and prints that command's usage.
struct UsageCase {
    std::vector<std::string> args;
    std::string problem;
    std::string command;
};

class CliCommandUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliCommandUsage, NamesTheProblemAndPrintsTheCommandsUsage) {
    const std::map<std::string, std::string> usage = {
        {"info", "usage: tesk-cli info FILE\n"},
        {"convert", "usage: tesk-cli convert IN OUT.gem [--force] [--replace-implausible]\n"},
        {"render",
         "usage: tesk-cli render IN OUT.png|.jpg|.bmp [--start FRAME] [--no-overlay] [--force]\n"
         "       tesk-cli render IN OUT.png|.jpg|.bmp --whole [--width N] [--force]\n"},
        {"export", "usage: tesk-cli export IN OUT.txt [--shift | --ctrl] [--force]\n"
                   "       tesk-cli export IN OUT.bmp [--start FRAME | --whole] [--force]\n"
                   "       tesk-cli export IN OUT.sgy|.segy [--int16] [--force]\n"}};
    const CliRun r = cli(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "tesk-cli: " + GetParam().problem + "\n" + usage.at(GetParam().command));
    EXPECT_TRUE(r.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliCommandUsage,
    ::testing::Values(
        UsageCase{{"info"}, "missing argument", "info"},
        UsageCase{{"info", "a.gem", "b.gem"}, "too many arguments", "info"},
        UsageCase{{"convert", "a.gem"}, "missing argument", "convert"},
        UsageCase{
            {"convert", "a.gem", "b.gem", "--whole"}, "convert does not take --whole", "convert"},
        UsageCase{{"render", "a.gem"}, "missing argument", "render"},
        UsageCase{{"render", "a.gem", "b.gif"},
                  "unknown picture format: b.gif (use .png, .jpg, .jpeg or .bmp)",
                  "render"},
        UsageCase{
            {"render", "a.gem", "b.png", "--start"}, "--start needs a frame number", "render"},
        UsageCase{{"render", "a.gem", "b.png", "--start", "-3"},
                  "--start needs a frame number",
                  "render"},
        UsageCase{{"render", "a.gem", "b.png", "--width", "9"},
                  "--width is the width of a --whole picture",
                  "render"},
        UsageCase{{"render", "a.gem", "b.png", "--whole", "--start", "9"},
                  "--whole draws every frame without the overlay; no --start or --no-overlay",
                  "render"},
        UsageCase{{"export", "a.gem"}, "missing argument", "export"},
        UsageCase{{"export", "a.gem", "b.gem"},
                  "unknown export: b.gem (use .txt, .bmp, .sgy or .segy)",
                  "export"},
        UsageCase{{"export", "a.gem", "b.txt", "--int16"},
                  "--int16 does not apply to this export",
                  "export"},
        UsageCase{{"export", "a.gem", "b.txt", "--shift", "--ctrl"},
                  "--shift and --ctrl select different tables",
                  "export"},
        UsageCase{{"export", "a.gem", "b.sgy", "--frobnicate"},
                  "unknown option --frobnicate",
                  "export"}));

} // namespace
} // namespace tesk::testing

namespace tesk::testing {
namespace {

// Small device files of the generated fuzz corpora, converted through the
// batch front end and read back as work files.
class CliDeviceConvert : public ::testing::TestWithParam<const char*> {};

TEST_P(CliDeviceConvert, WritesAWorkFileWithTheSameFrames) {
    TempDir dir;
    const std::string in = std::string(TESK_CORPUS) + "/" + GetParam();
    const std::string out = dir.file("converted.gem");
    const CliRun c = cli({"convert", in, out});
    EXPECT_EQ(c.status, 0) << c.err;
    const CliRun a = cli({"info", in});
    const CliRun b = cli({"info", out});
    EXPECT_EQ(b.status, 0) << b.err;
    // The frame count and profiles survive the conversion; the kind changes.
    auto line = [](const std::string& text, const std::string& key) {
        const auto at = text.find(key);
        return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_FALSE(line(a.out, "frames:").empty()) << a.out << a.err;
    EXPECT_EQ(line(a.out, "frames:"), line(b.out, "frames:"));
    EXPECT_EQ(line(a.out, "profiles:"), line(b.out, "profiles:"));
    EXPECT_EQ(line(a.out, "recorded:"), line(b.out, "recorded:"));
    EXPECT_NE(b.out.find("kind:           work file (.gem)"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Formats, CliDeviceConvert,
                         ::testing::Values("geo/fr_m3_rle_s2.geo", "geo/bp_m1_one_s2.geo",
                                           "mr3/three_planes_markers.mr3", "gpr/channel1_mean.gpr",
                                           "geb/fine_mode0.geb"));

TEST(CliDeviceConvert, ImplausibleFramesAreKeptUnlessAskedOtherwise) {
    TempDir dir;
    const std::string in = std::string(TESK_CORPUS) + "/geo/fr_amplitude_no.geo";
    const CliRun kept = cli({"convert", in, dir.file("kept.gem")});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(kept.err.find("Measurement amplitude error.\nPosition 1\nReWrite?\n(answered No)"),
              std::string::npos)
        << kept.err;
    const CliRun replaced = cli({"convert", in, dir.file("replaced.gem"), "--replace-implausible"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(replaced.err.find("(answered Yes)"), std::string::npos);
    EXPECT_NE(readBytes(dir.file("kept.gem")), readBytes(dir.file("replaced.gem")));
}

} // namespace
} // namespace tesk::testing
