// The device-family readers (.mr3, .gpr, .geb), the twelve-bit amplitude
// table and the device options, on files laid out by hand byte by byte.
// Every expected frame is worked out from the format rules in the comments
// next to it, not from the reader.

#include "support/store_test_support.h"

#include "store/amplitude_table12.h"
#include "store/byte_source.h"
#include "store/device_family.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace tesk::testing {
namespace {

// --- byte images ----------------------------------------------------------------

// The files are laid out by tools/file_images.h: .geb files dated 23.06.14,
// .gpr files with the frame area at 142 unless given.
using Mr3 = images::Mr3Image;
using Geb = images::GebImage;
using Gpr = images::GprImage;
using Group = images::GprGroup;
using images::constantGroup;

// A 12-bit word of the given offset level, by the inverse of the .geb and .gpr
// rules: levels from 2048 up are w = u - 2048, levels 1 .. 2047 are the
// negative words 65536 - (2048 - u).
uint16_t wordForLevel(uint32_t u) {
    return u >= 2048 ? uint16_t(u - 2048) : uint16_t(65536 - (2048 - u));
}
// A word whose level is 16 c, i.e. whose code is c (c >= 1).
uint16_t wordForCode(int c) {
    return wordForLevel(uint32_t(16 * c));
}

// --- fixture --------------------------------------------------------------------

class DeviceFamily : public ::testing::Test {
  protected:
    using Reader = LoadReport (*)(ByteSource&, bool, ProfileStore&, const DeviceOptions&,
                                  Interaction&);
    // The frame-load frame-work without the file: clear, read; finishLoad on request.
    LoadReport load(Reader r, const std::vector<uint8_t>& bytes, bool append = false,
                    bool finish = false) {
        MemorySource src(bytes);
        s->clearForOpen(append);
        const LoadReport l = r(src, append, *s, opt, ui);
        if (finish) s->finishLoad();
        return l;
    }
    const uint8_t* frame(int slot) const { return s->frame(slot).value.data(); }
    // Slots 0 .. n-1 of the store hold frames from an earlier load.
    void preload(int frames) {
        for (int i = 0; i < frames; ++i) putSample(*s, i, 140);
        s->frameCount = frames + 10;
        s->finishLoad();
    }

    StorePtr s = newStore();
    RecordingInteraction ui;
    DeviceOptions opt;
};

// --- twelve-bit amplitude table ---------------------------------------------------

TEST(AmplitudeTable12Test, LinearContentAndEnds) {
    EXPECT_EQ(AmplitudeTable12.size(), 257u);
    for (int c = 0; c <= 256; ++c) EXPECT_EQ(AmplitudeTable12[std::size_t(c)], 16 * c) << c;
    EXPECT_EQ(AmplitudeTable12[128], 2048);
    EXPECT_EQ(AmplitudeTable12[256], 4096);
}

TEST(AmplitudeTable12Test, CodeAtTheTableBoundaries) {
    // Largest c in 255..0 with 16 c <= u, i.e. Trunc(u / 16) capped at 255.
    struct Case {
        uint32_t u;
        int code;
        int stored;
    };
    const Case cases[] = {
        {0, 0, 1},
        {1, 0, 1},
        {15, 0, 1},
        {16, 1, 1},
        {17, 1, 1},
        {31, 1, 1},
        {32, 2, 2},
        {2047, 127, 127},
        {2048, 128, 128},
        {2063, 128, 128},
        {2064, 129, 129},
        {4079, 254, 254},
        {4080, 255, 255},
        {4095, 255, 255},
        {4096, 255, 255},
        {63487, 255, 255},
        {0xFFFFFFFFu, 255, 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(codeFor12BitLevel(c.u), c.code) << c.u;
        EXPECT_EQ(storedCodeFor12BitLevel(c.u), c.stored) << c.u;
        EXPECT_EQ(storedCodeFast(c.u), c.stored) << c.u;
    }
}

TEST(AmplitudeTable12Test, FastLookupAgreesWithTheSearchEverywhere) {
    for (uint32_t u = 0; u < 70000; ++u)
        ASSERT_EQ(storedCodeFast(u), storedCodeFor12BitLevel(u)) << u;
}

TEST(TwelveBitWords, GebLevels) {
    struct Case {
        uint16_t w;
        uint32_t u;
    };
    // Negative words (above 0x7FF): 2048 - ((65536 - w) AND 0x7FF), except
    // that a magnitude of 0 modulo 2048 is full scale negative (-2048, level
    // 0) rather than zero amplitude: 0xF800 sign-extended, 0x0800 as a plain
    // 12-bit word.
    const Case cases[] = {
        {0x0000, 2048}, {0x0001, 2049}, {0x07FF, 4095}, {0x0800, 0},
        {0x0801, 1},    {0x0FFF, 2047}, {0x8000, 0},    {0xF800, 0},
        {0xF801, 1},    {0xFC00, 1024}, {0xFFFF, 2047}, {0xFFF0, 2032},
    };
    for (const Case& c : cases) EXPECT_EQ(gebLevel(c.w), c.u) << std::hex << c.w;
}

TEST(TwelveBitWords, GprLevels) {
    struct Case {
        uint16_t w;
        uint32_t u;
    };
    // High byte 0xF0 or more is negative: 0 when 65536 - w reaches 2048
    // (full scale negative, 0xF800, included), else 2048 - (65536 - w);
    // other words w + 2048.
    const Case cases[] = {
        {0x0000, 2048}, {0x07FF, 4095}, {0x1000, 6144}, {0xEFFF, 63487}, {0xF000, 0},
        {0xF7FF, 0},    {0xF800, 0},    {0xF801, 1},    {0xFFFF, 2047},
    };
    for (const Case& c : cases) EXPECT_EQ(gprLevel(c.w), c.u) << std::hex << c.w;
    // 6144 and above give the top code.
    EXPECT_EQ(storedCodeFor12BitLevel(gprLevel(0x1000)), 255);
    EXPECT_EQ(storedCodeFor12BitLevel(gprLevel(0xF000)), 1);
}

// --- device options -----------------------------------------------------------------

TEST(DeviceOptionsTest, StartValues) {
    const DeviceOptions d;
    EXPECT_EQ(d.startDelayItem, 0);
    EXPECT_EQ(d.samplingModeItem, 0);
    EXPECT_EQ(d.channelItem, 1);
    EXPECT_EQ(d.probeLevelItem, 142);
    EXPECT_FALSE(d.singleReading);
    EXPECT_EQ(d.frameAreaItem, 0);
    EXPECT_EQ(d.hiddenItem46, 142);
    EXPECT_EQ(deviceOptionStartItem(DeviceControl::ComboBox63), 1);
    EXPECT_EQ(deviceOptionStartItem(DeviceControl::ComboBox64), 142);
    EXPECT_EQ(deviceOptionStartItem(DeviceControl::ComboBox46), 142);
    EXPECT_EQ(deviceOptionStartItem(DeviceControl::ComboBox61), 0);
}

TEST(DeviceOptionsTest, ItemLists) {
    const auto delays = deviceOptionItems(DeviceControl::ComboBox61);
    ASSERT_EQ(delays.size(), 2049u);
    EXPECT_EQ(delays[0], "0 ns");
    EXPECT_EQ(delays[142], "142 ns");
    EXPECT_EQ(delays[2048], "2048 ns");
    const auto modes = deviceOptionItems(DeviceControl::ComboBox62);
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[0], "  Выборка       64");
    EXPECT_EQ(modes[1], "  Усреднение 42");
    EXPECT_EQ(modes[2], "  Накопление 24");
    const auto channels = deviceOptionItems(DeviceControl::ComboBox63);
    ASSERT_EQ(channels.size(), 3u);
    EXPECT_EQ(channels[0], " 1  Канал  Грубый");
    EXPECT_EQ(channels[1], " 2  Канал  Точный");
    EXPECT_EQ(channels[2], " 3  Канал  Сумма");
    const auto probe = deviceOptionItems(DeviceControl::ComboBox64);
    ASSERT_EQ(probe.size(), 256u);
    EXPECT_EQ(probe[0], "0");
    EXPECT_EQ(probe[255], "255");
    const auto areas = deviceOptionItems(DeviceControl::ComboBox66);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0], "  ED  01  8E");
    EXPECT_EQ(areas[1], "  ED  02  7A");
    EXPECT_EQ(deviceItems::FrameAreaOffsets[0], 142);
    EXPECT_EQ(deviceItems::FrameAreaOffsets[1], 122);
    const auto hidden = deviceOptionItems(DeviceControl::ComboBox46);
    ASSERT_EQ(hidden.size(), 2049u);
    EXPECT_EQ(hidden[2048], "2048");
    EXPECT_STREQ(deviceItems::SingleReadingCaption, "Сложение");
    EXPECT_STREQ(deviceItems::ProbeLevelCaption, "Уровень зонда");
}

TEST(DeviceOptionsTest, ClampedIntoTheirBoxes) {
    DeviceOptions d;
    d.startDelayItem = 5000;
    d.samplingModeItem = -3;
    d.channelItem = 7;
    d.probeLevelItem = 999;
    d.frameAreaItem = 2;
    d.hiddenItem46 = -1;
    const DeviceOptions c = clampedDeviceOptions(d);
    EXPECT_EQ(c.startDelayItem, 2048);
    EXPECT_EQ(c.samplingModeItem, 0);
    EXPECT_EQ(c.channelItem, 2);
    EXPECT_EQ(c.probeLevelItem, 255);
    EXPECT_EQ(c.frameAreaItem, 1);
    EXPECT_EQ(c.hiddenItem46, 0);
}

// --- .mr3 ---------------------------------------------------------------------------

TEST(Mr3Levels, LevelBytesToCodes) {
    struct Case {
        uint8_t b;
        uint8_t code;
    };
    // b < 128: 4b above 124 -> 254, else 128 + 4b; b >= 128: 4(256 - b)
    // above 127 -> 2, else 128 - 4(256 - b).
    const Case cases[] = {
        {0x00, 128}, {0x01, 132}, {0x10, 192}, {0x1F, 252}, {0x20, 254}, {0x7F, 254},
        {0x80, 2},   {0xE0, 2},   {0xE1, 4},   {0xF0, 64},  {0xFF, 124},
    };
    for (const Case& c : cases) EXPECT_EQ(mr3LevelCode(c.b), c.code) << int(c.b);
}

TEST_F(DeviceFamily, Mr3OnePlaneAllOnesGivesL1Everywhere) {
    Mr3 f(1, false, 0x10); // L1 code 192
    for (int smp = 0; smp < 512; ++smp) f.set(0, 0, smp);
    f.frames(1);
    const auto l = load(readMr3File, f.b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_NE(l.fault, LoadFault::CutShort);
    for (int c = 0; c < 528; ++c) ASSERT_EQ(frame(0)[c], 192) << c;
    EXPECT_EQ(frame(0)[cell::Status], status::InProfile);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DeviceFamily, Mr3BitsAreLeastSignificantFirstAndPlanesCombine) {
    // Level bytes: L1 0x10 -> 192, L2 0xF0 -> 64, L3 0x01 -> 132.
    for (bool three : {false, true}) {
        Mr3 f(1, three, 0x10, 0xF0, 0x01);
        f.set(0, 0, 0); // sample 0: plane 1 and 3 -> L1 (plane 3 only over a 1)
        f.set(0, 2, 0);
        f.set(0, 2, 1); // sample 1: plane 3 only -> L3
        f.set(0, 1, 2); // sample 2: planes 2 and 3 -> L2 (no longer 1 for plane 3)
        f.set(0, 2, 2);
        f.set(0, 0, 3); // sample 3: planes 1 and 2 -> L2
        f.set(0, 1, 3);
        f.set(0, 0, 10); // sample 10: byte 1, bit 2
        f.set(0, 0, 511);
        f.frames(1);
        load(readMr3File, f.b);
        const uint8_t* v = frame(0);
        if (three) {
            EXPECT_EQ(v[0], 192);
            EXPECT_EQ(v[1], 132);
            EXPECT_EQ(v[2], 64);
            EXPECT_EQ(v[3], 64);
        } else {
            // One plane: set bits L1, clear bits 1.
            EXPECT_EQ(v[0], 192);
            EXPECT_EQ(v[1], 1);
            EXPECT_EQ(v[2], 1);
            EXPECT_EQ(v[3], 192);
        }
        EXPECT_EQ(v[4], 1) << three;
        EXPECT_EQ(v[9], 1);
        EXPECT_EQ(v[10], 192);
        EXPECT_EQ(v[11], 1);
        EXPECT_EQ(v[511], 192);
        for (int c = 512; c < 528; ++c) EXPECT_EQ(v[c], 192) << c;
    }
}

TEST_F(DeviceFamily, Mr3PlaneBytesAreReadLeastSignificantBitFirst) {
    // Plane 1 byte 0 = 0x05: samples 0 and 2; byte 1 = 0x80: sample 15.
    Mr3 f(1, false, 0x10);
    f.frames(1);
    f.b[f.area(0)] = 0x05;
    f.b[f.area(0) + 1] = 0x80;
    load(readMr3File, f.b);
    const uint8_t expected[16] = {192, 1, 192, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 192};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(frame(0)[i], expected[i]) << i;
}

TEST_F(DeviceFamily, Mr3MarkerListRaisesMarkerStatus) {
    Mr3 f(12, false, 0x10);
    f.markers({5, 5, 9});
    for (int k = 0; k < 12; ++k) f.set(k, 0, 100);
    f.frames(12);
    load(readMr3File, f.b);
    for (int k = 0; k < 12; ++k) {
        const int expected = k == 5 ? 2 : (k == 9 ? 1 : 0);
        EXPECT_EQ(s->frame(k).markerStatus(), expected) << k;
    }
    s->finishLoad();
    EXPECT_EQ(s->frame(5).markerStatus(), 2);
    EXPECT_EQ(s->frame(9).markerStatus(), 1);
}

TEST_F(DeviceFamily, Mr3MarkerLevelStopsAtThree) {
    Mr3 f(3, false, 0x10);
    f.markers({1, 1, 1, 1, 1});
    f.frames(3);
    load(readMr3File, f.b);
    EXPECT_EQ(s->frame(1).markerStatus(), 3);
    EXPECT_EQ(s->frame(0).markerStatus(), 0);
}

TEST_F(DeviceFamily, Mr3HeaderSettingsWithoutAppend) {
    auto& h = s->header.value;
    h[hdr::DeviceType] = 9;
    h[hdr::Day] = 20;
    h[hdr::Month] = 7;
    h[hdr::Year] = 30;
    h[hdr::Hour] = 12;
    h[hdr::Minute] = 34;
    h[hdr::ViewFlags] = 0xC5;
    h[hdr::Step] = 9;
    h[hdr::TimeRange] = 6;
    h[hdr::ColourMode] = 3;
    h[hdr::VelocityIndex] = 7;
    h[hdr::Antenna] = 3;
    h[hdr::Filter1Kind] = 2;
    s->setVelocity(900);
    s->setHmax(5000);
    Mr3 f(1, false, 0x10);
    f.frames(1);
    load(readMr3File, f.b);
    EXPECT_EQ(s->deviceType, 0);
    EXPECT_EQ(h[hdr::DeviceType], 0);
    EXPECT_EQ(h[hdr::Day], 1);
    EXPECT_EQ(h[hdr::Month], 1);
    EXPECT_EQ(h[hdr::Year], 5);
    EXPECT_EQ(h[hdr::Hour], 0);
    EXPECT_EQ(h[hdr::Minute], 0);
    EXPECT_EQ(h[hdr::ViewFlags], 0xC0); // ComboBox16 item 0, other bits kept
    EXPECT_EQ(h[hdr::Step], 4);
    EXPECT_EQ(h[hdr::TimeRange], 2);
    EXPECT_EQ(h[hdr::ColourMode], 0);
    EXPECT_EQ(h[hdr::VelocityIndex], 0);
    EXPECT_EQ(s->velocityCode, 500);
    EXPECT_EQ(s->header.get16(hdr::VelocityCode), 500);
    EXPECT_EQ(h[hdr::Antenna], 10);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 0u);
    EXPECT_EQ(h[hdr::Filter1Kind], 2); // not a setting of the reader
}

TEST_F(DeviceFamily, Mr3AppendKeepsSettingsButTheTimeRange) {
    preload(3); // frames 0..2, frameCount 40
    ASSERT_EQ(s->frameCount, 40);
    auto& h = s->header.value;
    h[hdr::TimeRange] = 6;
    h[hdr::Step] = 9;
    h[hdr::Day] = 20;
    s->setVelocity(900);
    Mr3 f(3, false, 0x20); // L1 code 254
    for (int k = 0; k < 3; ++k) f.set(k, 0, 7);
    f.frames(3);
    const auto l = load(readMr3File, f.b, true);
    EXPECT_EQ(l.firstSlot, 40);
    EXPECT_EQ(l.framesRead, 3);
    EXPECT_EQ(h[hdr::TimeRange], 2);
    EXPECT_EQ(h[hdr::Step], 9);
    EXPECT_EQ(h[hdr::Day], 20);
    EXPECT_EQ(s->velocityCode, 900);
    // old frameCount + N + 20
    EXPECT_EQ(s->frameCount, 63);
    EXPECT_EQ(frame(0)[0], 140); // the first survey stays
    for (int k = 40; k < 43; ++k) {
        EXPECT_EQ(frame(k)[7], 254);
        EXPECT_EQ(frame(k)[6], 1);
    }
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 80); // last in-profile 42 -> 40 + 40
}

TEST_F(DeviceFamily, Mr3CountAbove63999IsReportedAndTheFileReadToItsEnd) {
    Mr3 f(70000, false, 0x10);
    f.frames(2);
    const auto l = load(readMr3File, f.b);
    EXPECT_TRUE(l.has(LoadWarning::CountClamped));
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(l.framesDeclared, 70000);
    EXPECT_EQ(s->frameCount, 12);
}

TEST_F(DeviceFamily, Mr3ReadsFramesZeroToNInclusive) {
    // Frames k = 0 .. N: a file with N = 2 that holds three areas gives three frames.
    Mr3 f(2, false, 0x10);
    f.frames(3);
    EXPECT_EQ(load(readMr3File, f.b).framesRead, 3);
    Mr3 g(2, false, 0x10);
    g.frames(2);
    EXPECT_EQ(load(readMr3File, g.b).framesRead, 2);
}

TEST_F(DeviceFamily, Mr3CutInsideAFrameKeepsWhatWasRead) {
    Mr3 f(2, true, 0x10, 0xF0, 0x01);
    for (int smp = 0; smp < 512; ++smp) {
        f.set(0, 0, smp);
        f.set(1, 1, smp); // frame 1: plane 2 everywhere -> L2 where read
    }
    f.frames(2);
    // Frame 1 keeps its plane 1 (64 bytes) and 36 bytes of plane 2: samples
    // 0 .. 287 get L2, the others stay 1 from plane 1.
    const auto l = load(readMr3File, f.cut(f.area(1) + 100));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(frame(0)[300], 192);
    EXPECT_EQ(frame(1)[0], 64);
    EXPECT_EQ(frame(1)[287], 64);
    EXPECT_EQ(frame(1)[288], 1);
    EXPECT_EQ(frame(1)[527], 1);
    // Cut inside plane 1: 10 bytes give samples 0 .. 79; the rest has no data.
    const auto m = load(readMr3File, f.cut(f.area(0) + 10));
    EXPECT_EQ(m.framesRead, 1);
    EXPECT_EQ(frame(0)[79], 192);
    EXPECT_EQ(frame(0)[80], 0);
    EXPECT_EQ(frame(0)[527], 0);
}

TEST_F(DeviceFamily, Mr3CutInsideTheHeaderLoadsNothing) {
    s->header.value[hdr::TimeRange] = 6;
    Mr3 f(1, false, 0x10);
    f.frames(1);
    const auto l = load(readMr3File, f.cut(10));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 6);
    EXPECT_EQ(s->frameCount, 10);
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 40);
}

TEST_F(DeviceFamily, Mr3AppendStopsAtTheLastLoaderSlot) {
    s->frameCount = 63980;
    Mr3 f(20, false, 0x10);
    f.frames(20);
    const auto l = load(readMr3File, f.b, true);
    EXPECT_EQ(l.framesRead, 10); // slots 63980 .. 63989
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(frame(MAX_LOADED_FRAME)[0], 1);
    EXPECT_EQ(frame(MAX_LOADED_FRAME + 1)[cell::Status], 0);
    EXPECT_EQ(s->frameCount, MAX_LOADED_FRAME);
}

TEST_F(DeviceFamily, Mr3FramesReplaceStaleSlotsAboveTheClearedRange) {
    // A slot above 51000 holding an earlier frame is emptied before it is filled.
    s->frameCount = 51990;
    FrameRecord& stale = s->frame(51990);
    stale.value.fill(77);
    Mr3 f(1, false, 0x10);
    f.frames(1);
    load(readMr3File, f.b, true);
    EXPECT_EQ(stale.value[0], 1);
    EXPECT_EQ(stale.value[cell::Hour], 0);
    EXPECT_EQ(stale.get24(cell::ReliefHeight), 0u);
}

// --- .geb ---------------------------------------------------------------------------

TEST(GebMagic, ByteSumOfMirn) {
    auto magic = [](const std::string& t) {
        std::vector<uint8_t> b(t.begin(), t.end());
        MemorySource src(b);
        return hasMirnMagic(src);
    };
    EXPECT_TRUE(magic("MIRN...."));
    EXPECT_TRUE(magic("NRIM")); // the same byte sum is accepted
    EXPECT_FALSE(magic("MIRO"));
    EXPECT_FALSE(magic("TESK"));
    EXPECT_FALSE(magic("MI"));
    EXPECT_FALSE(magic(""));
}

// Time range items and their T: 0.25 x 2^k ns.
constexpr int RANGE_1NS = 2;

TEST_F(DeviceFamily, GebSelectsTheSampleReachedAtEachStep) {
    // Cell m (m >= 1) takes the first sample i whose time (i + 1) P reaches
    // m T: i = ceil(m T / P) - 1. Table: frequency, time range, T / P as a
    // fraction num / den.
    struct Case {
        uint32_t f;
        int range;
        uint64_t num, den; // T / P
    };
    const Case cases[] = {
        {2000000000, RANGE_1NS, 2, 1},  // P 0.5 ns, T 1 ns
        {3000000000u, RANGE_1NS, 3, 1}, // P 1/3 ns: exact, no drift
        {1500000000, RANGE_1NS, 3, 2},  // P 2/3 ns: cells at samples 1, 2, 4, 5, 7 ..
        {4000000000u, 1, 2, 1},         // P 0.25 ns, T 0.5 ns
        {1000000000, 7, 32, 1},         // P 1 ns, T 32 ns
    };
    for (const Case& c : cases) {
        const uint32_t S = 16400;
        Geb f(S, c.f, 1);
        for (uint32_t i = 0; i < S; ++i) f.word(0, int(i), wordForCode(2 + int(i % 250)));
        f.frames(1);
        s->header.value[hdr::TimeRange] = uint8_t(c.range);
        load(readGebFile, f.b);
        EXPECT_EQ(frame(0)[0], 128);
        for (uint64_t m = 1; m < 512; ++m) {
            const uint64_t i = (m * c.num + c.den - 1) / c.den - 1;
            ASSERT_EQ(frame(0)[m], 2 + int(i % 250)) << c.f << " cell " << m;
        }
        for (int r = 512; r < 528; ++r) EXPECT_EQ(frame(0)[r], frame(0)[511]);
    }
}

TEST_F(DeviceFamily, GebFullScaleNegativeSamplesAreTheLowestCode) {
    // One sample per cell (P = T = 1 ns): cell m + 1 holds sample m. -2048,
    // sign-extended (0xF800) or as a plain 12-bit word (0x0800), is level 0,
    // code 0, stored as 1 — not the zero amplitude 128. Beside it -2047 and
    // +2047 and the words next to zero.
    const uint16_t words[] = {0xF800, 0x0800, 0xF801, 0x0801, 0x07FF, 0xFFFF, 0x0000, 0x0010};
    const int codes[] = {1, 1, 1, 1, 255, 127, 128, 129};
    Geb f(8, 1000000000, 1);
    for (int i = 0; i < 8; ++i) f.word(0, i, words[i]);
    f.frames(1);
    s->header.value[hdr::TimeRange] = RANGE_1NS;
    load(readGebFile, f.b);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(frame(0)[1 + i], codes[i]) << std::hex << words[i];
}

TEST_F(DeviceFamily, GebStartDelayPassesOverTheFirstSamples) {
    // Samples with i P < delay are passed over: 3 ns at P 0.5 ns skips 0 .. 5;
    // 1 ns at P 1/3 ns skips 0 .. 2. Then cell m takes skip + 2m - 1 (resp. 3m - 1).
    struct Case {
        uint32_t f;
        int delay;
        int skip;
        int perCell;
    };
    const Case cases[] = {{2000000000, 3, 6, 2}, {3000000000u, 1, 3, 3}, {2000000000, 0, 0, 2}};
    for (const Case& c : cases) {
        const uint32_t S = 2000;
        Geb f(S, c.f, 1);
        for (uint32_t i = 0; i < S; ++i) f.word(0, int(i), wordForCode(2 + int(i % 200)));
        f.frames(1);
        s->header.value[hdr::TimeRange] = RANGE_1NS;
        opt.startDelayItem = c.delay;
        load(readGebFile, f.b);
        for (int m = 1; m < 512; ++m) {
            const int i = c.skip + c.perCell * m - 1;
            ASSERT_EQ(frame(0)[m], 2 + i % 200) << c.delay << " cell " << m;
        }
    }
}

TEST_F(DeviceFamily, GebAveragingAndAccumulationModes) {
    // P 0.5 ns, T 1 ns: the bin of cell m is samples 2m - 2 and 2m - 1.
    struct Case {
        int mode;
        uint32_t u0, u1; // levels of the two samples of cell 1
        int code;
    };
    const Case cases[] = {
        // mean, rounded half to even, then Trunc(u / 16)
        {1, 2048 + 160, 2048 + 320, 143}, // 2288
        {1, 2063, 2064, 129},             // 2063.5 -> 2064
        {1, 2062, 2063, 128},             // 2062.5 -> 2062
        {1, 1, 1, 1},                     // code 0 stored as 1
        // 2048 + sum of deviations, clipped to 0 .. 4095
        {2, 2048 + 100, 2048 + 100, 140}, // 2248
        {2, 2048 + 2000, 2048 + 2000, 255},
        {2, 48, 48, 1}, // 2048 - 4000 -> 0 -> code 0 -> 1
        {2, 2048 - 64, 2048, 124},
        // sampling: the second sample of the bin
        {0, 2048 + 160, 2048 + 320, 148},
    };
    for (const Case& c : cases) {
        Geb f(1024, 2000000000, 1);
        for (int i = 0; i < 1024; ++i) f.word(0, i, wordForLevel(2048));
        f.word(0, 0, wordForLevel(c.u0));
        f.word(0, 1, wordForLevel(c.u1));
        f.frames(1);
        s->header.value[hdr::TimeRange] = RANGE_1NS;
        opt.samplingModeItem = c.mode;
        load(readGebFile, f.b);
        EXPECT_EQ(frame(0)[1], c.code) << c.mode << " " << c.u0 << " " << c.u1;
        EXPECT_EQ(frame(0)[2], 128);
    }
}

TEST_F(DeviceFamily, GebCoarseFileIsInterpolatedOntoTheGrid) {
    // P 1 ns (f 1 GHz), T 0.5 ns: sample j at (j + 1) ns, cell m at m / 2 ns.
    // Cell 1 lies between zero amplitude at 0 and sample 0; even cells fall on
    // samples; odd cells halfway between two samples. 100 samples reach 100 ns
    // = cell 200; cells past it have no data. Sample j has level
    // 2048 + 64 ((j mod 30) + 1).
    auto level = [](int j) { return 2048 + 64 * (j % 30 + 1); };
    for (int mode : {0, 1, 2}) {
        Geb f(100, 1000000000, 1);
        for (int j = 0; j < 100; ++j) f.word(0, j, wordForLevel(uint32_t(level(j))));
        f.frames(1);
        s->header.value[hdr::TimeRange] = 1;
        opt.samplingModeItem = mode;
        load(readGebFile, f.b);
        const uint8_t* v = frame(0);
        EXPECT_EQ(v[1], 130);  // 2048 + 64 / 2 = 2080
        EXPECT_EQ(v[2], 132);  // sample 0: 2112
        EXPECT_EQ(v[3], 134);  // (2112 + 2176) / 2 = 2144
        EXPECT_EQ(v[4], 136);  // sample 1: 2176
        EXPECT_EQ(v[61], 190); // (3968 + 2112) / 2 = 3040, between samples 29 and 30
        for (int m = 2; m <= 200; m += 2) ASSERT_EQ(v[m], level(m / 2 - 1) / 16) << m;
        EXPECT_EQ(v[201], 0);
        EXPECT_EQ(v[511], 0);
        EXPECT_EQ(v[527], 0);
    }
}

TEST_F(DeviceFamily, GebInterpolationRoundsToNearest) {
    // P 1 ns, T 0.25 ns: cells 1 .. 3 lie before sample 0 (zero amplitude to
    // sample 0 = 2048), cell 4 on sample 0, cell 5 a quarter of the way to
    // sample 1, cell 8 on sample 1. Sample 1 = 2048 + 62: a quarter is 15.5,
    // which rounds to 16 (2064, code 129) where truncation would give 2063
    // (code 128). Sample 3 lies at 4 ns = cell 16; later cells have no data.
    Geb f(4, 1000000000, 1);
    f.word(0, 0, wordForLevel(2048));
    f.word(0, 1, wordForLevel(2048 + 62));
    f.word(0, 2, wordForLevel(2048 + 62));
    f.word(0, 3, wordForLevel(2048));
    f.frames(1);
    s->header.value[hdr::TimeRange] = 0;
    load(readGebFile, f.b);
    EXPECT_EQ(frame(0)[3], 128);
    EXPECT_EQ(frame(0)[4], 128);
    EXPECT_EQ(frame(0)[5], 129); // 2063.5 -> 2064
    EXPECT_EQ(frame(0)[6], 129); // 2048 + 31
    EXPECT_EQ(frame(0)[8], 131); // 2110
    EXPECT_EQ(frame(0)[16], 128);
    EXPECT_EQ(frame(0)[17], 0);
}

TEST_F(DeviceFamily, GebEqualPeriodAndZeroFrequencyTakeOneSamplePerCell) {
    // f 4 GHz at T 0.25 ns: P = T. f 0 is read with P = T.
    for (uint32_t freq : {4000000000u, 0u}) {
        Geb f(600, freq, 1);
        for (int i = 0; i < 600; ++i) f.word(0, i, wordForCode(3 + i % 200));
        f.frames(1);
        s->header.value[hdr::TimeRange] = freq ? 0 : 5;
        load(readGebFile, f.b);
        for (int m = 1; m < 512; ++m) ASSERT_EQ(frame(0)[m], 3 + (m - 1) % 200) << freq << " " << m;
    }
}

TEST_F(DeviceFamily, GebMarkerTimeAndHeader) {
    auto& h = s->header.value;
    h[hdr::TimeRange] = RANGE_1NS;
    h[hdr::Step] = 9;
    h[hdr::Hour] = 7;
    h[hdr::Minute] = 8;
    Geb f(8, 1000000000, 3);
    f.u8(24, 23);
    f.u8(25, 13); // month above 12 -> 0
    f.u8(26, 32); // day above 31 -> 0
    f.marker(0, 0);
    f.marker(1, 5);
    f.time(0, 23, 59, 59, 99);
    f.time(1, 24, 60, 60, 100);
    f.time(2, 0, 1, 2, 3);
    f.frames(3);
    load(readGebFile, f.b);
    EXPECT_EQ(s->deviceType, 8);
    EXPECT_EQ(h[hdr::DeviceType], 8);
    EXPECT_EQ(h[hdr::Year], 23);
    EXPECT_EQ(h[hdr::Month], 0);
    EXPECT_EQ(h[hdr::Day], 0);
    EXPECT_EQ(h[hdr::Step], 9);
    EXPECT_EQ(h[hdr::Hour], 7);
    EXPECT_EQ(h[hdr::Minute], 8);
    EXPECT_EQ(s->frame(0).markerStatus(), 0);
    EXPECT_EQ(s->frame(1).markerStatus(), 1);
    const uint8_t t0[4] = {23, 59, 59, 99};
    const uint8_t t1[4] = {0, 0, 0, 0};
    const uint8_t t2[4] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frame(0)[cell::Hour + i], t0[i]);
        EXPECT_EQ(frame(1)[cell::Hour + i], t1[i]);
        EXPECT_EQ(frame(2)[cell::Hour + i], t2[i]);
    }
    // Valid month and day are kept.
    Geb g(8, 1000000000, 1);
    g.u8(25, 12);
    g.u8(26, 31);
    g.frames(1);
    load(readGebFile, g.b);
    EXPECT_EQ(h[hdr::Month], 12);
    EXPECT_EQ(h[hdr::Day], 31);
}

TEST_F(DeviceFamily, GebAmplitudeWidthWarnsAndLoads) {
    struct Case {
        uint8_t width;
        std::vector<LoadWarning> warnings;
    };
    const Case cases[] = {
        {12, {}}, {10, {LoadWarning::AmplitudeBelow12}}, {16, {LoadWarning::AmplitudeAbove12}}};
    for (const Case& c : cases) {
        Geb f(8, 1000000000, 2, c.width);
        f.frames(2);
        const auto l = load(readGebFile, f.b);
        EXPECT_EQ(l.framesRead, 2);
        EXPECT_EQ(l.warnings, c.warnings) << int(c.width);
    }
    EXPECT_EQ(msg::amplitudeWidthBelow12().ru, "Внимание! Величина Амплитуды < 12 бит.");
    EXPECT_EQ(msg::amplitudeWidthAbove12().ru, "Внимание! Величина Амплитуды > 12 бит.");
}

TEST_F(DeviceFamily, GebCountAbove63999) {
    Geb f(4, 1000000000, 64000);
    f.frames(2);
    const auto l = load(readGebFile, f.b);
    EXPECT_TRUE(l.has(LoadWarning::CountClamped));
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(s->frameCount, 20); // trunc(2 / 10) x 10 + 20
    // 63999 itself is no error.
    Geb g(4, 1000000000, 63999);
    g.frames(2);
    EXPECT_FALSE(load(readGebFile, g.b).has(LoadWarning::CountClamped));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DeviceFamily, GebAppendStartsAtFrameCountAndMovesTheView) {
    preload(5); // frameCount 40
    s->viewStart = 3;
    s->header.value[hdr::Year] = 99;
    Geb f(8, 1000000000, 15);
    f.frames(15);
    const auto l = load(readGebFile, f.b, true);
    EXPECT_EQ(l.firstSlot, 40);
    EXPECT_EQ(s->viewStart, 40);
    EXPECT_EQ(s->header.value[hdr::Year], 99);
    EXPECT_EQ(frame(40)[0], 128);
    EXPECT_EQ(frame(54)[0], 128);
    EXPECT_EQ(frame(55)[0], 0);
    EXPECT_EQ(s->frameCount, 70); // trunc(55 / 10) x 10 + 20
    // A plain open leaves viewStart to the caller.
    s->viewStart = 3;
    load(readGebFile, f.b, false);
    EXPECT_EQ(s->viewStart, 3);
    EXPECT_EQ(s->frameCount, 30);
}

TEST_F(DeviceFamily, GebAndGprStopAtTheLastLoaderSlot) {
    // Appending 20 frames at frameCount 63980 fills slots 63980 .. 63989.
    Geb g(4, 1000000000, 20);
    g.frames(20);
    s->frameCount = 63980;
    auto l = load(readGebFile, g.b, true);
    EXPECT_EQ(l.framesRead, 10);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(s->viewStart, 63980);
    EXPECT_EQ(frame(MAX_LOADED_FRAME)[0], 128);
    EXPECT_EQ(frame(MAX_LOADED_FRAME + 1)[0], 0);
    EXPECT_EQ(s->frameCount, MAX_LOADED_FRAME); // 63990 -> 64010, kept below 64000

    Gpr p(20);
    for (int k = 0; k < 20; ++k) p.add("", {1, 2, 3, 4}, 0, {constantGroup(0, 0)});
    s->frameCount = 63980;
    l = load(readGprFile, p.b, true);
    EXPECT_EQ(l.framesRead, 10);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(s->frameCount, MAX_LOADED_FRAME);
}

TEST_F(DeviceFamily, GebCountAndSlotLimit) {
    // 64000 records of 16 bytes: the count clamped, 63990 frames, the slot limit.
    Geb g(0, 1000000000, 64000);
    g.frames(64000);
    const auto l = load(readGebFile, g.b, false, true);
    EXPECT_EQ(l.framesRead, MAX_LOADED_FRAME + 1);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(l.warnings, std::vector<LoadWarning>{LoadWarning::CountClamped});
    EXPECT_EQ(s->frameCount, MAX_FRAME_INDEX); // last in-profile 63989 -> 64020, clamped
}

TEST_F(DeviceFamily, GebCutInsideARecordKeepsTheCellsRead) {
    // P 0.5 ns, T 1 ns: cell m needs sample 2m - 1; 10 samples fill cells 1 .. 5.
    Geb f(1024, 2000000000, 2);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 1024; ++i) f.word(j, i, wordForCode(130));
    f.marker(1, 1);
    f.frames(2);
    s->header.value[hdr::TimeRange] = RANGE_1NS;
    const auto l = load(readGebFile, f.cut(f.rec(1) + 16 + 20));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(frame(0)[511], 130);
    EXPECT_EQ(frame(1)[5], 130);
    EXPECT_EQ(frame(1)[6], 0);
    EXPECT_EQ(s->frame(1).markerStatus(), 1);
    // Cut inside the 16 bytes before the samples: the frame holds cell 0 only.
    const auto m = load(readGebFile, f.cut(f.rec(1) + 3));
    EXPECT_EQ(m.framesRead, 2);
    EXPECT_EQ(frame(1)[0], 128);
    EXPECT_EQ(frame(1)[1], 0);
    EXPECT_EQ(s->frame(1).markerStatus(), 0);
}

TEST_F(DeviceFamily, GebCutInsideTheHeaderLoadsNothing) {
    s->header.value[hdr::Year] = 44;
    Geb f(8, 1000000000, 2);
    f.frames(2);
    const auto l = load(readGebFile, f.cut(20));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(s->header.value[hdr::Year], 44);
    EXPECT_EQ(s->frameCount, 20);
}

TEST_F(DeviceFamily, GebHugeSampleCountInASmallFile) {
    // S = 2^31 - 1 announces records of 4 GB; the file holds 200 bytes.
    Geb f(0x7FFFFFFF, 2000000000, 5);
    f.atLeast(200);
    s->header.value[hdr::TimeRange] = RANGE_1NS;
    const auto l = load(readGebFile, f.b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(l.fault, LoadFault::CutShort);
}

TEST_F(DeviceFamily, GebHeaderLengthPlacesTheFirstRecord) {
    Geb f(4, 1000000000, 1, 12, 100); // records from 106
    f.marker(0, 1);
    f.frames(1);
    s->header.value[hdr::TimeRange] = RANGE_1NS;
    load(readGebFile, f.b);
    EXPECT_EQ(s->frame(0).markerStatus(), 1);
    EXPECT_EQ(f.rec(0), 106u);
}

// --- .gpr ---------------------------------------------------------------------------

constexpr std::array<uint8_t, 4> NOON = {12, 30, 15, 50};

TEST_F(DeviceFamily, GprChannelsAndRunningMean) {
    struct Case {
        int channel;
        bool single;
        int probe;
        Group g;
        int code;
    };
    auto oneReading = [](int i, uint16_t w) {
        Group g = constantGroup(wordForLevel(2048), wordForLevel(2048));
        g[std::size_t(2 * i)] = w;
        return g;
    };
    Group ramp = constantGroup(0, 0);
    for (int i = 0; i < 32; ++i) ramp[std::size_t(2 * i)] = wordForLevel(2048 + 16 * uint32_t(i));
    const Case cases[] = {
        // channel 1 2208 (138), channel 2 1888 (118), mean 2048 (128)
        {0, false, 0, constantGroup(wordForLevel(2208), wordForLevel(1888)), 138},
        {1, false, 0, constantGroup(wordForLevel(2208), wordForLevel(1888)), 118},
        {2, false, 0, constantGroup(wordForLevel(2208), wordForLevel(1888)), 128},
        // running mean: reading 31 weighs 1/2, reading 30 1/4, reading 0 1/2^31
        {0, false, 0, oneReading(31, wordForLevel(2048 + 1600)), 178}, // 2848
        {0, false, 0, oneReading(30, wordForLevel(2048 + 1600)), 153}, // 2448
        {0, false, 0, oneReading(0, wordForLevel(4095)), 128},         // 2048.0000009
        // single reading: the probe item picks it; item 0 and items past 31 the first
        {0, true, 5, ramp, 133},  // 2048 + 80
        {0, true, 31, ramp, 159}, // 2048 + 496
        {0, true, 0, ramp, 128},
        {0, true, 142, ramp, 128},
        // .gpr words above 0x07FF and below 0xF000 lie above 4095: code 255
        {0, true, 0, constantGroup(0x1000, 0), 255},
        {0, true, 0, constantGroup(0xF000, 0), 1},
        // full scale negative (-2048) is the lowest level, code 0 stored as 1;
        // -2047 is level 1, code 0 too
        {0, true, 0, constantGroup(0xF800, 0), 1},
        {0, true, 0, constantGroup(0xF801, 0), 1},
        {0, true, 0, constantGroup(0xF810, 0), 1}, // -2032: level 16, code 1
        {0, true, 0, constantGroup(0xF820, 0), 2}, // -2016: level 32, code 2
    };
    for (const Case& c : cases) {
        Gpr f(1);
        f.add("", NOON, 0, {c.g});
        opt.channelItem = c.channel;
        opt.singleReading = c.single;
        opt.probeLevelItem = c.probe;
        s->header.value[hdr::TimeRange] = 7;
        load(readGprFile, f.b);
        EXPECT_EQ(frame(0)[1], c.code) << c.channel << " " << c.single << " " << c.probe;
    }
}

TEST_F(DeviceFamily, GprCellsStartAtOneAndZerosBecomeOne) {
    Gpr f(1);
    f.add("", NOON, 0,
          {constantGroup(wordForCode(200), 0), constantGroup(wordForCode(60), 0),
           constantGroup(wordForCode(129), 0)});
    opt.channelItem = 0;
    s->header.value[hdr::TimeRange] = 7;
    const auto l = load(readGprFile, f.b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_NE(l.fault, LoadFault::CutShort);
    const uint8_t* v = frame(0);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 200);
    EXPECT_EQ(v[2], 60);
    EXPECT_EQ(v[3], 129);
    for (int c = 4; c < 528; ++c) ASSERT_EQ(v[c], 1) << c;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v[cell::Hour + i], NOON[std::size_t(i)]);
}

TEST_F(DeviceFamily, GprStoresAtMost511Groups) {
    std::vector<Group> groups;
    for (int i = 0; i < 600; ++i) groups.push_back(constantGroup(wordForCode(2 + i % 250), 0));
    Gpr f(1);
    f.add("", NOON, 0, groups);
    opt.channelItem = 0;
    s->header.value[hdr::TimeRange] = 7;
    load(readGprFile, f.b);
    for (int m = 1; m < 512; ++m) ASSERT_EQ(frame(0)[m], 2 + (m - 1) % 250) << m;
    for (int c = 512; c < 528; ++c) EXPECT_EQ(frame(0)[c], frame(0)[511]);
}

TEST_F(DeviceFamily, GprDelaySkipsGroupsOfTheTimeRange) {
    // One group per cell of the time range: T = 32 ns at item 7, 1 ns at item 2.
    struct Case {
        int range;
        int delay;
        int skipped;
    };
    const Case cases[] = {{7, 64, 2}, {7, 63, 1}, {7, 0, 0}, {2, 3, 3}, {0, 2, 8}, {7, 2048, 64}};
    for (const Case& c : cases) {
        std::vector<Group> groups;
        for (int i = 0; i < 100; ++i) groups.push_back(constantGroup(wordForCode(2 + i), 0));
        Gpr f(1);
        f.add("", NOON, 0, groups);
        opt.channelItem = 0;
        opt.startDelayItem = c.delay;
        s->header.value[hdr::TimeRange] = uint8_t(c.range);
        load(readGprFile, f.b);
        const int stored = std::max(0, 100 - c.skipped);
        for (int m = 1; m <= stored; ++m)
            ASSERT_EQ(frame(0)[m], 2 + c.skipped + m - 1) << c.range << " " << c.delay;
        EXPECT_EQ(frame(0)[stored + 1], 1);
    }
}

TEST_F(DeviceFamily, GprPositionText) {
    struct Case {
        std::string text;
        int latDeg;
        uint32_t latFrac;
        int lonDeg;
        uint32_t lonFrac;
    };
    const Case cases[] = {
        // 45.1234' / 60 = 0.75205667 deg; 37.5678' / 60 = 0.62613 deg
        {"5545.1234,N,03737.5678,E", 55, 7520567, 37, 6261300},
        {"$GP 0130.5 S 17959.99 W", 1, 5083333, 179, 9998333},
        // ties of Round go to even: 0.000003' = 0.5e-7 deg, 0.000009' = 1.5e-7 deg
        {"5500.000003 3700.000009", 55, 0, 37, 2},
        // fewer than four numbers, minutes of 60, latitude above 90: no position
        {"5545.1234,N", 0, 0, 0, 0},
        {"5560.0,N,03737.5,E", 0, 0, 0, 0},
        {"9100.0,N,03737.5,E", 0, 0, 0, 0},
        {"5545.1,N,18000.0,E", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Gpr f(1);
        f.add(c.text, NOON, 0, {constantGroup(0, 0)});
        load(readGprFile, f.b);
        const FrameRecord& r = s->frame(0);
        EXPECT_EQ(r.value[cell::LatDegrees], c.latDeg) << c.text;
        EXPECT_EQ(r.get24(cell::LatFraction), c.latFrac) << c.text;
        EXPECT_EQ(r.value[cell::LonDegrees], c.lonDeg) << c.text;
        EXPECT_EQ(r.get24(cell::LonFraction), c.lonFrac) << c.text;
    }
}

TEST_F(DeviceFamily, GprHeaderMarkerTimeAndRecordWalk) {
    auto& h = s->header.value;
    h[hdr::Step] = 9;
    h[hdr::TimeRange] = 7;
    Gpr f(3);
    f.add("1", {24, 60, 60, 100}, 0xFE, {constantGroup(wordForCode(140), 0)});
    f.add(std::string(100, 'x'), {1, 2, 3, 4}, 1, {constantGroup(wordForCode(150), 0)}, 37);
    f.add("", {5, 6, 7, 8}, 0, {constantGroup(wordForCode(160), 0)});
    opt.channelItem = 0;
    const auto l = load(readGprFile, f.b);
    EXPECT_EQ(l.framesRead, 3);
    EXPECT_EQ(s->deviceType, 7);
    EXPECT_EQ(h[hdr::DeviceType], 7);
    EXPECT_EQ(h[hdr::Day], 0);
    EXPECT_EQ(h[hdr::Month], 0);
    EXPECT_EQ(h[hdr::Year], 16);
    EXPECT_EQ(h[hdr::Hour], 0);
    EXPECT_EQ(h[hdr::Minute], 1);
    EXPECT_EQ(h[hdr::Step], 9);
    // Only the marker bits of the marker byte: 0xFE -> marker status 2.
    EXPECT_EQ(frame(0)[cell::Status], 2);
    EXPECT_EQ(frame(1)[cell::Status], 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(frame(0)[cell::Hour + i], 0);
    EXPECT_EQ(frame(1)[cell::Hour], 1);
    EXPECT_EQ(frame(2)[cell::Second], 7);
    EXPECT_EQ(frame(0)[1], 140);
    EXPECT_EQ(frame(1)[1], 150);
    EXPECT_EQ(frame(2)[1], 160);
    EXPECT_EQ(s->frameCount, 13); // count + 10
}

TEST_F(DeviceFamily, GprSecondFrameArea) {
    Gpr f(1, 122);
    f.add("", NOON, 3, {constantGroup(wordForCode(170), 0)});
    opt.channelItem = 0;
    opt.frameAreaItem = 1;
    load(readGprFile, f.b);
    EXPECT_EQ(frame(0)[1], 170);
    EXPECT_EQ(s->frame(0).markerStatus(), 3);
}

TEST_F(DeviceFamily, GprCountField) {
    // The count is the field minus 1; 0 gives no frame.
    Gpr f(0);
    f.u32(6, 0);
    f.add("", NOON, 0, {constantGroup(0, 0)});
    EXPECT_EQ(load(readGprFile, f.b).framesRead, 0);
    EXPECT_EQ(s->frameCount, 10);
    // 64001 - 1 = 64000 frames: clamped, then the frames the file holds.
    Gpr g(64000);
    g.add("", NOON, 0, {constantGroup(0, 0)});
    const auto l = load(readGprFile, g.b);
    EXPECT_TRUE(l.has(LoadWarning::CountClamped));
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(l.framesDeclared, 64000);
}

TEST_F(DeviceFamily, GprCutShort) {
    Gpr f(2);
    f.add("", NOON, 0, {constantGroup(wordForCode(140), 0)});
    std::vector<Group> groups;
    for (int i = 0; i < 5; ++i) groups.push_back(constantGroup(wordForCode(150 + i), 0));
    const std::size_t second = f.add("", NOON, 0, groups);
    opt.channelItem = 0;
    // Inside the third group of the second record: two groups are stored,
    // the other cells become 1.
    const std::size_t groupsAt = second + 4 + 1 + 5;
    auto l = load(readGprFile, f.cut(groupsAt + 2 * 128 + 50));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(frame(1)[1], 150);
    EXPECT_EQ(frame(1)[2], 151);
    EXPECT_EQ(frame(1)[3], 1);
    EXPECT_EQ(frame(0)[1], 140);
    // Inside the count word of the second record: no second frame.
    l = load(readGprFile, f.cut(second + 2));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 1);
    // Inside the header.
    s->header.value[hdr::Year] = 44;
    l = load(readGprFile, f.cut(8));
    EXPECT_EQ(l.fault, LoadFault::CutShort);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(s->header.value[hdr::Year], 44);
}

TEST_F(DeviceFamily, GprGroupsNeverReadPastTheirRecord) {
    // W = 64 x 3 announces two groups; a text of 200 characters leaves room
    // for one inside the record's 2 W + 4 bytes; the next record's bytes are
    // never taken for samples.
    Gpr f(2);
    f.add(std::string(200, '-'), NOON, 0, {constantGroup(wordForCode(140), 0)}, 64); // W = 192
    f.add("", NOON, 0, {constantGroup(wordForCode(150), 0)});
    opt.channelItem = 0;
    const auto l = load(readGprFile, f.b);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(frame(0)[1], 140);
    EXPECT_EQ(frame(0)[2], 1);
    EXPECT_EQ(frame(1)[1], 150);
}

TEST_F(DeviceFamily, GprAppend) {
    preload(2); // frameCount 40
    Gpr f(2);
    f.add("", NOON, 0, {constantGroup(0, 0)});
    f.add("", NOON, 0, {constantGroup(0, 0)});
    s->header.value[hdr::Year] = 77;
    const auto l = load(readGprFile, f.b, true);
    EXPECT_EQ(l.firstSlot, 40);
    EXPECT_EQ(s->header.value[hdr::Year], 77);
    EXPECT_EQ(s->frameCount, 52); // old + count + 10
    EXPECT_EQ(frame(41)[0], 1);
    EXPECT_EQ(frame(0)[0], 140);
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 80);
}

// --- the readers with finishLoad --------------------------------------------------

TEST_F(DeviceFamily, FinishLoadAfterEveryReader) {
    Mr3 m(1, false, 0x10);
    m.frames(1);
    load(readMr3File, m.b, false, true);
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_TRUE(s->frame(0).inProfile());

    Geb g(8, 1000000000, 30);
    g.frames(30);
    load(readGebFile, g.b, false, true);
    EXPECT_EQ(s->frameCount, 60); // last in-profile 29 -> 20 + 40
    EXPECT_EQ(s->frame(29).get16(cell::IndexInProfile), 29);

    Gpr p(1);
    p.add("", NOON, 0, {});
    load(readGprFile, p.b, false, true);
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_TRUE(s->frame(0).inProfile()); // cells of 1: a .gpr frame always holds data
}

} // namespace
} // namespace tesk::testing
