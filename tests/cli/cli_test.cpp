// The batch front end: info, convert, and its messages and exit status.

#include "cli/cli.h"
#include "support/survey_files.h"

#include <filesystem>
#include <gtest/gtest.h>
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
    // Start-up settings: 256 ns, 2 cm step, 5.00 cm/ns (code 500 -> permittivity 9.00).
    EXPECT_NE(r.out.find("time range:     256 ns"), std::string::npos);
    EXPECT_NE(r.out.find("profile step:   2 cm"), std::string::npos);
    EXPECT_NE(r.out.find("velocity:       5.00 cm/ns (permittivity 9.00)"), std::string::npos);
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

TEST(CliConvert, NeverOverwritesWithoutForce) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    const std::string out = dir.file("out.gem");
    writeBytes(out, "keep me");
    const CliRun r = cli({"convert", in, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(out + "\nalready exists. Overwrite?\n(answered No)"), std::string::npos)
        << r.err;
    EXPECT_EQ(readBytes(out), "keep me");
    const CliRun forced = cli({"convert", in, out, "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(readBytes(out), readBytes(in));
}

TEST(CliConvert, UnwritableTargetFailsWithE030) {
    TempDir dir;
    const std::string in = writeSurvey(dir.file("in.gem"), 100);
    const CliRun r = cli({"convert", in, dir.file("missing/dir/out.gem")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR of creation of a file! (E030)\n");
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
    EXPECT_EQ(g.err, "ERROR(E022). File = " + gpx + "\nincompatible format <GPX>\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.gem")));
}

TEST(CliUsage, HelpAndWrongArguments) {
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("non-destructive answer"), std::string::npos);
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({"info"}).status, 2);
    EXPECT_EQ(cli({"frobnicate", "x"}).status, 2);
}

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
