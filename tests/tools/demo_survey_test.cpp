// The demo survey read back through the work-file reader: layout of the
// profiles, normalised frame records, the settings in the header, and the
// radar events at the travel times the ground model predicts.

#include "demo_survey.h"

#include "commands/file_commands.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/settings_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace tesk;
namespace fs = std::filesystem;

// A scratch directory removed with everything in it.
class ScratchDir {
  public:
    ScratchDir() {
        static int counter = 0;
        path_ = fs::temp_directory_path() /
                ("tesk_tools_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Opens a work file through the open command, as the window does.
std::unique_ptr<ProfileStore> openSurvey(const std::string& path) {
    auto store = std::make_unique<ProfileStore>();
    SilentInteraction ui;
    const OpenResult r = openSurveyFile(*store, path, false, ui);
    EXPECT_EQ(r.outcome, OpenOutcome::FramesLoaded) << path;
    return store;
}

struct ProfileRun {
    int first;
    int length;
};

// Runs of in-profile frames over slots 0..frameCount.
std::vector<ProfileRun> profileRuns(const ProfileStore& s) {
    std::vector<ProfileRun> runs;
    for (int i = 0; i <= s.frameCount; ++i) {
        if (!s.frame(i).inProfile()) continue;
        if (!runs.empty() && runs.back().first + runs.back().length == i)
            ++runs.back().length;
        else
            runs.push_back({i, 1});
    }
    return runs;
}

bool allSamplesZero(const FrameRecord& f) {
    return std::all_of(f.value.begin(), f.value.begin() + SAMPLES_PER_FRAME,
                       [](uint8_t v) { return v == 0; });
}

// The sample with the highest (sign > 0) or lowest (sign < 0) amplitude code
// within halfWindow samples of time t.
int extremumNear(const FrameRecord& f, double t, double dt, int halfWindow, int sign) {
    const int centre = int(std::lround(t / dt));
    int best = -1;
    for (int k = std::max(0, centre - halfWindow);
         k <= std::min(SAMPLES_PER_FRAME - 1, centre + halfWindow); ++k) {
        if (best < 0 || sign * (f.value[k] - f.value[best]) > 0) best = k;
    }
    return best;
}

// The survey read back, with the quantities every check needs taken from the
// file itself: sampling, step and velocity from the header, positions from
// the frame coordinates and the ground from the relief heights.
class DemoSurveyFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        params_ = new demo::DemoParams(demo::defaultParams());
        dir_ = new ScratchDir;
        path_ = new std::string(dir_->file("demo.gem"));
        std::string error;
        ASSERT_TRUE(demo::writeDemoSurvey(*path_, *params_, error)) << error;
        store_ = openSurvey(*path_).release();
    }
    static void TearDownTestSuite() {
        delete store_;
        delete path_;
        delete dir_;
        delete params_;
    }

    const ProfileStore& s() const { return *store_; }
    const demo::DemoParams& p() const { return *params_; }
    double dt() const { return items::NS_PER_SAMPLE.at(s().header.value[hdr::TimeRange]); }
    double step() const { return items::STEP_CM.at(s().header.value[hdr::Step]); }
    double vgr() const { return s().velocityCode / 100.0; }
    int slotOf(int profile, int index) const { return profileRuns(s()).at(profile).first + index; }
    // Position of a frame along its profile and across the lines, cm.
    double xOf(int slot) const {
        const ProfileRun r = runOf(slot);
        return double(s().frame(slot).get32(cell::UcsX)) - s().frame(r.first).get32(cell::UcsX);
    }
    double yOf(int slot) const {
        return double(s().frame(slot).get32(cell::UcsY)) - s().frame(0).get32(cell::UcsY);
    }
    // Height of the antenna above the mean ground level, from the relief.
    double aboveMean(int slot) const {
        return double(s().frame(slot).reliefHeight()) - p().meanGround;
    }
    ProfileRun runOf(int slot) const {
        for (const ProfileRun& r : profileRuns(s()))
            if (slot >= r.first && slot < r.first + r.length) return r;
        ADD_FAILURE() << "slot " << slot << " lies in no profile";
        return {slot, 1};
    }

    // Two-way times of every modelled reflector under a frame: a point at
    // slant distance r arrives at r / Vgr.
    std::vector<double> eventTimes(int slot) const {
        const double x = xOf(slot), y = yOf(slot), up = aboveMean(slot);
        std::vector<double> t;
        for (const auto& d : p().diffractors) {
            const double dz = d.depth + up;
            t.push_back(std::sqrt(dz * dz + (x - d.x) * (x - d.x) + (y - d.y) * (y - d.y)) / vgr());
        }
        for (const auto& pipe : p().pipes) {
            const double across =
                (x - pipe.x - pipe.slope * y) / std::sqrt(1 + pipe.slope * pipe.slope);
            const double dz = pipe.depth + up;
            t.push_back(std::sqrt(dz * dz + across * across) / vgr());
        }
        for (const auto& l : p().layers) t.push_back((demo::layerDepth(l, x, y) + up) / vgr());
        t.push_back(p().directWaveNs);
        return t;
    }
    // Distance in ns from t to the nearest modelled event other than t itself.
    double clearance(int slot, double t) const {
        double c = 1e9;
        for (double e : eventTimes(slot))
            if (std::abs(e - t) > 1e-6) c = std::min(c, std::abs(e - t));
        return c;
    }

    static demo::DemoParams* params_;
    static ScratchDir* dir_;
    static std::string* path_;
    static ProfileStore* store_;
};

demo::DemoParams* DemoSurveyFile::params_ = nullptr;
ScratchDir* DemoSurveyFile::dir_ = nullptr;
std::string* DemoSurveyFile::path_ = nullptr;
ProfileStore* DemoSurveyFile::store_ = nullptr;

TEST_F(DemoSurveyFile, ProfilesAreSeparatedByBlankFrames) {
    const std::vector<ProfileRun> runs = profileRuns(s());
    ASSERT_EQ(int(runs.size()), p().profiles);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        EXPECT_EQ(runs[r].length, p().framesPerProfile) << "profile " << r;
        if (r > 0) {
            const int gapStart = runs[r - 1].first + runs[r - 1].length;
            EXPECT_EQ(runs[r].first - gapStart, p().gapFrames) << "before profile " << r;
            for (int i = gapStart; i < runs[r].first; ++i) {
                const FrameRecord& f = s().frame(i);
                EXPECT_TRUE(
                    std::all_of(f.value.begin(), f.value.end(), [](uint8_t v) { return v == 0; }))
                    << "blank frame " << i;
            }
        }
    }
    EXPECT_EQ(runs.front().first, 0);
}

TEST_F(DemoSurveyFile, FrameCountIsNormalisedAndMatchesTheFile) {
    const std::vector<ProfileRun> runs = profileRuns(s());
    ASSERT_FALSE(runs.empty());
    const int last = runs.back().first + runs.back().length - 1;
    EXPECT_EQ(s().frameCount, last / 20 * 20 + 40);
    EXPECT_EQ(int(s().header.get16(hdr::FrameCount)), s().frameCount);
    for (int i = last + 1; i <= s().frameCount; ++i) EXPECT_TRUE(allSamplesZero(s().frame(i)));
    // The file holds one record per slot below the saved frame count.
    const auto bytes = fileBytes(*path_);
    ASSERT_GE(bytes.size(), 18u);
    const int saved = (bytes[16] << 8) | bytes[17];
    EXPECT_EQ(saved, s().frameCount);
    EXPECT_EQ(bytes.size(), 512u + std::size_t(saved) * CELLS_PER_FRAME);
}

TEST_F(DemoSurveyFile, FramesCarryTheirProfileAndPosition) {
    const std::vector<ProfileRun> runs = profileRuns(s());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (int k = 0; k < runs[r].length; ++k) {
            const FrameRecord& f = s().frame(runs[r].first + k);
            ASSERT_EQ(int(f.get16(cell::IndexInProfile)), k);
            ASSERT_EQ(int(f.get16(cell::ProfileNumber)), int(r) + 1);
            ASSERT_EQ(f.status() & 0x0C, 0) << "status bits 2 and 3 are always 0";
            ASSERT_EQ(f.status() & status::Reversed, 0);
        }
    }
}

TEST_F(DemoSurveyFile, SamplesInsideProfilesAreNeverZero) {
    for (int i = 0; i <= s().frameCount; ++i) {
        const FrameRecord& f = s().frame(i);
        if (!f.inProfile()) continue;
        for (int k = 0; k < SAMPLES_PER_FRAME; ++k) ASSERT_NE(f.value[k], 0) << i << ":" << k;
        for (int k = SAMPLES_PER_FRAME; k < SAMPLE_ROWS; ++k)
            ASSERT_EQ(f.value[k], f.value[SAMPLES_PER_FRAME - 1]);
    }
}

TEST_F(DemoSurveyFile, LateSamplesAreNoiseAboutZeroAmplitude) {
    // Below the deepest event only noise is left: centred on code 128, not constant.
    for (int prof = 0; prof < p().profiles; ++prof) {
        double sum = 0, sum2 = 0;
        int n = 0;
        for (int k = 0; k < p().framesPerProfile; ++k) {
            const FrameRecord& f = s().frame(slotOf(prof, k));
            for (int j = 480; j < SAMPLES_PER_FRAME; ++j) {
                if (clearance(slotOf(prof, k), j * dt()) < 20) continue;
                sum += f.value[j];
                sum2 += double(f.value[j]) * f.value[j];
                ++n;
            }
        }
        ASSERT_GT(n, 1000) << "profile " << prof;
        const double mean = sum / n;
        const double rms = std::sqrt(sum2 / n - mean * mean);
        EXPECT_NEAR(mean, 128.0, 1.0) << "profile " << prof;
        EXPECT_GT(rms, 0.5 * p().noise) << "profile " << prof;
        EXPECT_LT(rms, 4.0 * p().noise) << "profile " << prof;
    }
}

TEST_F(DemoSurveyFile, HeaderHoldsTheRecordingSettings) {
    const auto& h = s().header;
    EXPECT_EQ(h.value[0] + h.value[1] + h.value[2] + h.value[3], 311);
    EXPECT_EQ(h.value[hdr::FormatVersion], CURRENT_FORMAT_VERSION);
    EXPECT_EQ(h.value[hdr::TimeRange], p().timeRangeItem);
    EXPECT_EQ(items::TIME_RANGE_NS.at(h.value[hdr::TimeRange]), 512);
    EXPECT_EQ(h.value[hdr::Step], p().stepItem);
    EXPECT_EQ(h.value[hdr::VelocityIndex], p().velocityItem);
    EXPECT_EQ(s().velocityCode, VELOCITY_TABLE.at(p().velocityItem));
    EXPECT_EQ(h.get16(hdr::VelocityCode), s().velocityCode);
    EXPECT_EQ(h.value[hdr::Antenna], 0);
    EXPECT_EQ(h.value[hdr::Day], p().day);
    EXPECT_EQ(h.value[hdr::Month], p().month);
    EXPECT_EQ(h.value[hdr::Year], p().year);
    EXPECT_EQ(h.value[hdr::Hour], p().hour);
    EXPECT_EQ(h.value[hdr::Minute], p().minute);
    EXPECT_FALSE(h.value[hdr::CoordFlags] & hdr::Geographic) << "positions are rectangular";
    EXPECT_TRUE(h.value[hdr::ViewFlags] & hdr::English);
    uint32_t highest = 0;
    for (int i = 0; i <= s().frameCount; ++i)
        highest = std::max(highest, s().frame(i).reliefHeight());
    EXPECT_EQ(s().Hmax, highest);
    EXPECT_EQ(h.get24(hdr::Hmax), highest);
}

TEST_F(DemoSurveyFile, DirectWaveArrivesAtItsTimeInEveryFrame) {
    const int expected = int(std::lround(p().directWaveNs / dt()));
    for (int i = 0; i <= s().frameCount; ++i) {
        const FrameRecord& f = s().frame(i);
        if (!f.inProfile()) continue;
        // The strongest sample around it, clear of the shallowest objects.
        const int k = extremumNear(f, p().directWaveNs, dt(), 12, +1);
        ASSERT_NEAR(k, expected, 1) << "frame " << i;
        ASSERT_GT(f.value[k], 128 + 60) << "frame " << i;
    }
}

TEST_F(DemoSurveyFile, DiffractionApexAndFlanksFollowTheVelocity) {
    int checked = 0;
    for (const auto& d : p().diffractors) {
        // Only objects right under a line draw their apex on it.
        const double lineIndex = d.y / p().lineSpacing;
        if (std::abs(lineIndex - std::round(lineIndex)) > 1e-9) continue;
        const int prof = int(std::lround(lineIndex));
        const int apexIndex = int(std::lround(d.x / step()));
        ASSERT_LT(prof, p().profiles);
        ASSERT_LT(apexIndex, p().framesPerProfile);
        const int apexSlot = slotOf(prof, apexIndex);
        ASSERT_DOUBLE_EQ(xOf(apexSlot), d.x);
        ASSERT_DOUBLE_EQ(yOf(apexSlot), d.y);

        // Apex: straight down, t = 2 d / v with v = 2 Vgr the wave speed.
        const double depth = d.depth + aboveMean(apexSlot);
        const double tApex = 2 * depth / (2 * vgr());
        ASSERT_GT(clearance(apexSlot, tApex), 10.0) << "object at x " << d.x;
        const int apex = extremumNear(s().frame(apexSlot), tApex, dt(), 6, +1);
        EXPECT_NEAR(apex, tApex / dt(), 1.0) << "apex of the object at x " << d.x;

        // Flanks 30 degrees off vertical on both sides; an object misplaced
        // along the line moves one flank earlier and the other later.
        const int offset = int(std::lround(depth * std::tan(std::numbers::pi / 6) / step()));
        for (int side : {-1, +1}) {
            const int index = apexIndex + side * offset;
            if (index < 0 || index >= p().framesPerProfile) continue;
            const int slot = slotOf(prof, index);
            const double dx = xOf(slot) - d.x;
            const double dz = d.depth + aboveMean(slot);
            const double t = std::sqrt(dz * dz + dx * dx) / vgr();
            ASSERT_GT(clearance(slot, t), 10.0) << "object at x " << d.x << " side " << side;
            const int k = extremumNear(s().frame(slot), t, dt(), 6, +1);
            EXPECT_NEAR(k, t / dt(), 2.0) << "flank of the object at x " << d.x << " side " << side;
            ++checked;
        }
    }
    EXPECT_GE(checked, 6);
}

TEST_F(DemoSurveyFile, PipeApexMovesAlongTheLinesWithItsCrossing) {
    ASSERT_FALSE(p().pipes.empty());
    for (const auto& pipe : p().pipes) {
        for (int prof = 0; prof < p().profiles; ++prof) {
            const double y = prof * p().lineSpacing;
            const int index = int(std::lround((pipe.x + pipe.slope * y) / step()));
            if (index < 0 || index >= p().framesPerProfile) continue;
            const int slot = slotOf(prof, index);
            ASSERT_DOUBLE_EQ(yOf(slot), y);
            const double t = (pipe.depth + aboveMean(slot)) / vgr();
            ASSERT_GT(clearance(slot, t), 10.0) << "profile " << prof;
            const int k = extremumNear(s().frame(slot), t, dt(), 6, +1);
            EXPECT_NEAR(k, t / dt(), 1.0) << "profile " << prof;
            // Twenty frames to either side, on the hyperbola's flanks.
            for (int off : {-20, 20}) {
                if (index + off < 0 || index + off >= p().framesPerProfile) continue;
                const int other = slotOf(prof, index + off);
                const double dx = xOf(other) - xOf(slot);
                const double across = dx / std::sqrt(1 + pipe.slope * pipe.slope);
                const double dz = pipe.depth + aboveMean(other);
                const double tOff = std::sqrt(dz * dz + across * across) / vgr();
                if (clearance(other, tOff) < 10.0) continue;
                const int kOff = extremumNear(s().frame(other), tOff, dt(), 6, +1);
                EXPECT_NEAR(kOff, tOff / dt(), 2.0) << "profile " << prof << " offset " << off;
            }
        }
    }
}

TEST_F(DemoSurveyFile, LayerReflectionsFollowTheBoundariesWithTheirPolarity) {
    for (std::size_t li = 0; li < p().layers.size(); ++li) {
        const auto& l = p().layers[li];
        const int sign = l.reflectivity > 0 ? +1 : -1;
        int checked = 0, total = 0;
        for (int prof = 0; prof < p().profiles; ++prof) {
            for (int k = 0; k < p().framesPerProfile; k += 10) {
                const int slot = slotOf(prof, k);
                const double t =
                    (demo::layerDepth(l, xOf(slot), yOf(slot)) + aboveMean(slot)) / vgr();
                ++total;
                if (clearance(slot, t) < 12.0) continue;
                const int j = extremumNear(s().frame(slot), t, dt(), 5, sign);
                EXPECT_NEAR(j, t / dt(), 1.0)
                    << "layer " << li << " profile " << prof << " frame " << k;
                EXPECT_GT(sign * (s().frame(slot).value[j] - 128), 10)
                    << "layer " << li << " profile " << prof << " frame " << k;
                ++checked;
            }
        }
        EXPECT_GE(checked, std::max(20, total / 3)) << "layer " << li;
    }
}

TEST_F(DemoSurveyFile, MarkersEveryFewMetresWithTheirLevels) {
    bool seen[4] = {};
    const double spacingFrames = p().markerSpacing / step();
    for (int prof = 0; prof < p().profiles; ++prof) {
        int markers = 0;
        for (int k = 0; k < p().framesPerProfile; ++k) {
            const int level = s().frame(slotOf(prof, k)).markerStatus();
            const double m = k / spacingFrames;
            const int mark = int(std::lround(m));
            const bool atMark = mark >= 1 && std::abs(k - mark * spacingFrames) < 0.5;
            if (!atMark) {
                EXPECT_EQ(level, 0) << "profile " << prof << " frame " << k;
                continue;
            }
            const int expected = mark % 4 == 0 ? 3 : mark % 2 == 0 ? 2 : 1;
            EXPECT_EQ(level, expected) << "profile " << prof << " mark " << mark;
            seen[level] = true;
            ++markers;
        }
        EXPECT_EQ(markers, int((p().framesPerProfile - 1) / spacingFrames)) << "profile " << prof;
        EXPECT_GE(markers, 3);
    }
    EXPECT_TRUE(seen[1] && seen[2] && seen[3]);
}

TEST_F(DemoSurveyFile, RecordingTimesIncrease) {
    auto hundredths = [](const FrameRecord& f) {
        return ((f.get8(cell::Hour) * 60 + f.get8(cell::Minute)) * 60 + f.get8(cell::Second)) *
                   100 +
               f.get8(cell::Hundredths);
    };
    const FrameRecord& first = s().frame(0);
    EXPECT_EQ(first.get8(cell::Hour), p().hour);
    EXPECT_EQ(first.get8(cell::Minute), p().minute);
    int previous = -1;
    const int interval = int(std::lround(p().frameIntervalS * 100));
    for (int prof = 0; prof < p().profiles; ++prof) {
        for (int k = 0; k < p().framesPerProfile; ++k) {
            const FrameRecord& f = s().frame(slotOf(prof, k));
            ASSERT_LT(f.get8(cell::Hundredths), 100);
            ASSERT_LT(f.get8(cell::Second), 60);
            ASSERT_LT(f.get8(cell::Minute), 60);
            const int t = hundredths(f);
            if (k > 0) {
                ASSERT_EQ(t - previous, interval) << "profile " << prof << " frame " << k;
            }
            ASSERT_GT(t, previous);
            previous = t;
        }
    }
}

TEST_F(DemoSurveyFile, ParallelLinesOneMetreApart) {
    const uint32_t x0 = s().frame(slotOf(0, 0)).get32(cell::UcsX);
    const uint32_t y0 = s().frame(slotOf(0, 0)).get32(cell::UcsY);
    EXPECT_EQ(x0, p().originX);
    EXPECT_EQ(y0, p().originY);
    for (int prof = 0; prof < p().profiles; ++prof) {
        for (int k = 0; k < p().framesPerProfile; ++k) {
            const FrameRecord& f = s().frame(slotOf(prof, k));
            ASSERT_EQ(f.get32(cell::UcsX), x0 + uint32_t(k * step())) << prof << ":" << k;
            ASSERT_EQ(f.get32(cell::UcsY), y0 + uint32_t(prof * 100)) << prof << ":" << k;
        }
    }
}

TEST_F(DemoSurveyFile, ReliefIsASmoothUndulatingGround) {
    uint32_t lo = UINT32_MAX, hi = 0;
    for (int prof = 0; prof < p().profiles; ++prof) {
        for (int k = 0; k < p().framesPerProfile; ++k) {
            const uint32_t h = s().frame(slotOf(prof, k)).reliefHeight();
            lo = std::min(lo, h);
            hi = std::max(hi, h);
            if (k > 0) {
                const int prev = int(s().frame(slotOf(prof, k - 1)).reliefHeight());
                ASSERT_LE(std::abs(int(h) - prev), 2) << "profile " << prof << " frame " << k;
            }
        }
    }
    EXPECT_GE(hi - lo, 20u);
    EXPECT_LE(double(hi), p().meanGround + p().reliefWave1 + p().reliefWave2 + 1);
    EXPECT_GE(double(lo), p().meanGround - p().reliefWave1 - p().reliefWave2 - 1);
}

TEST(DemoSurvey, SameSeedSameFileOtherSeedOtherNoise) {
    ScratchDir dir;
    demo::DemoParams p = demo::defaultParams();
    std::string error;
    ASSERT_TRUE(demo::writeDemoSurvey(dir.file("a.gem"), p, error)) << error;
    ASSERT_TRUE(demo::writeDemoSurvey(dir.file("b.gem"), p, error)) << error;
    p.seed += 1;
    ASSERT_TRUE(demo::writeDemoSurvey(dir.file("c.gem"), p, error)) << error;
    const auto a = fileBytes(dir.file("a.gem"));
    const auto b = fileBytes(dir.file("b.gem"));
    const auto c = fileBytes(dir.file("c.gem"));
    ASSERT_GT(a.size(), 512u);
    EXPECT_EQ(a, b);
    ASSERT_EQ(a.size(), c.size());
    // The noise differs; the attributes of every frame do not.
    int samplesDiffering = 0;
    for (std::size_t off = 512; off + CELLS_PER_FRAME <= a.size(); off += CELLS_PER_FRAME) {
        for (int k = 0; k < SAMPLES_PER_FRAME; ++k) samplesDiffering += a[off + k] != c[off + k];
        for (int k = SAMPLE_ROWS; k < CELLS_PER_FRAME; ++k)
            ASSERT_EQ(a[off + k], c[off + k]) << "cell " << k;
    }
    EXPECT_GT(samplesDiffering, 10000);
}

TEST(DemoSurvey, RejectsSurveysTheStoreCannotHold) {
    demo::DemoParams p = demo::defaultParams();
    EXPECT_EQ(demo::validate(p), "");
    p.profiles = 100;
    p.framesPerProfile = 700;
    EXPECT_NE(demo::validate(p), "");
    p = demo::defaultParams();
    p.centreFrequencyMHz = 400; // fewer than five samples per period at 1 ns
    EXPECT_NE(demo::validate(p), "");
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(demo::writeDemoSurvey(dir.file("x.gem"), p, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.file("x.gem")));
}

int runGenerator(const std::string& args) {
    const std::string cmd =
        std::string("\"") + TESK_MAKE_DEMO_EXE + "\" " + args + " >/dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(DemoSurveyCommand, WritesTheDefaultSurvey) {
    ScratchDir dir;
    ASSERT_EQ(runGenerator("\"" + dir.file("sub/cmd.gem") + "\""), 0);
    std::string error;
    ASSERT_TRUE(demo::writeDemoSurvey(dir.file("lib.gem"), demo::defaultParams(), error)) << error;
    const auto fromCommand = fileBytes(dir.file("sub/cmd.gem"));
    ASSERT_GT(fromCommand.size(), 512u);
    EXPECT_EQ(fromCommand, fileBytes(dir.file("lib.gem")));
}

TEST(DemoSurveyCommand, TakesTheLayoutFromItsOptions) {
    ScratchDir dir;
    const std::string path = dir.file("small.gem");
    ASSERT_EQ(runGenerator("\"" + path + "\" --profiles 2 --frames 120 --gap 7 --seed 9 --noise 1"),
              0);
    const auto store = openSurvey(path);
    const std::vector<ProfileRun> runs = profileRuns(*store);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first, 0);
    EXPECT_EQ(runs[0].length, 120);
    EXPECT_EQ(runs[1].first, 127);
    EXPECT_EQ(runs[1].length, 120);
    EXPECT_EQ(store->frameCount, 246 / 20 * 20 + 40);
}

TEST(DemoSurveyCommand, RefusesBadArguments) {
    ScratchDir dir;
    EXPECT_NE(runGenerator(""), 0);
    EXPECT_NE(runGenerator("\"" + dir.file("a.gem") + "\" --frames many"), 0);
    EXPECT_NE(runGenerator("\"" + dir.file("a.gem") + "\" --profiles 0"), 0);
    EXPECT_NE(runGenerator("\"" + dir.file("a.gem") + "\" --colour red"), 0);
    EXPECT_NE(runGenerator("\"" + dir.file("a.gem") + "\" --frames 30000 --profiles 5"), 0);
    EXPECT_FALSE(fs::exists(dir.file("a.gem")));
    EXPECT_EQ(runGenerator("--help"), 0);
}

TEST(DemoSurveyBuild, BuildTimeSurveyIsTheDefaultOne) {
    const std::string built = TESK_DEMO_SURVEY_FILE;
    ASSERT_TRUE(fs::exists(built)) << built;
    ScratchDir dir;
    std::string error;
    ASSERT_TRUE(demo::writeDemoSurvey(dir.file("d.gem"), demo::defaultParams(), error)) << error;
    EXPECT_EQ(fileBytes(built), fileBytes(dir.file("d.gem")));
    const auto store = openSurvey(built);
    EXPECT_EQ(int(profileRuns(*store).size()), demo::defaultParams().profiles);
}

} // namespace
