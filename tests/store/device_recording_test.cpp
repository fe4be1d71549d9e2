// Decoding device recordings (.geo) from hand-built files: the header
// checks, both families and every encoding, the block key search, the
// positioning block with each of its codes, the amplitude conversion and
// question, the check log, appends, truncated and hostile files.

#include "support/store_test_support.h"

#include "store/byte_source.h"
#include "store/device_recording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace tesk::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// --- file builder ------------------------------------------------------------

// The recordings are laid out by tools/file_images.h: a header dated
// 14.06.21 09:30, records with the unit clock 10:20:30.
using images::BitPlaneBlock;
using images::bitPlaneFile;
using images::GeoFile;
using images::geoHeader;
using images::packBits;
using images::runColumns;
using Rec = images::GeoRecord;
using Block = BitPlaneBlock;

Bytes constant(std::size_t n, uint8_t v) {
    return Bytes(n, v);
}

// A positioning text of exactly 50 bytes: fix 12:34:56, 55 deg 45.12345' N,
// 37 deg 36.54321' E, altitude 12.34 m, 14.06.21, deviation 01.50, 7 satellites.
std::string goodGps() {
    return "GPS123456"
           "5545.12345N"
           "03736.54321E"
           "12.34M"
           "140621"
           "01.50"
           "7";
}
// Positions inside the text above.
constexpr int LAT = 9, LAT_MIN = 11, LAT_POINT = 13, LAT_DEC = 14, LAT_HEMI = 19;
constexpr int LON = 20, LON_MIN = 23, LON_POINT = 25, LON_DEC = 26, LON_HEMI = 31;
constexpr int DAY = 38, MONTH = 40, YEAR = 42, DEVIATION = 44, SATELLITES = 49;

// 55 + 45.12345 / 60 degrees: 4512345 x 5 / 3 = 7520575 (exact).
constexpr uint32_t LAT_FRACTION = 7520575;
// 37 + 36.54321 / 60 degrees: 3654321 x 5 / 3 = 6090535 (exact).
constexpr uint32_t LON_FRACTION = 6090535;

// A byte source that fails after `good` bytes, as a disk error would.
class FaultySource final : public ByteSource {
  public:
    FaultySource(const Bytes& b, std::size_t good) : bytes_(b), good_(good) {}
    uint64_t size() const override { return bytes_.size(); }
    std::size_t read(uint64_t offset, uint8_t* dst, std::size_t n) override {
        if (offset >= good_) {
            failed_ = true;
            return 0;
        }
        const std::size_t k = std::min<std::size_t>(n, good_ - std::size_t(offset));
        std::copy_n(bytes_.begin() + std::ptrdiff_t(offset), k, dst);
        if (k < n) failed_ = true;
        return k;
    }
    bool failed() const override { return failed_; }

  private:
    Bytes bytes_;
    std::size_t good_;
    bool failed_ = false;
};

class GeoRead : public ::testing::Test {
  protected:
    DeviceRecordingLoad read(const Bytes& b, bool append = false) {
        MemorySource src(b);
        return readSource(src, append);
    }
    DeviceRecordingLoad readSource(ByteSource& src, bool append = false) {
        s->clearForOpen(append);
        last = readDeviceRecording(src, append, *s, ui, log);
        return last;
    }
    const uint8_t* v(int slot) const { return s->frame(slot).value.data(); }
    // The last load ended with the data error (its message: "Error Data GPS!").
    bool warned() const { return last.has(LoadWarning::DataError); }
    std::vector<std::string>
    findingsRu(std::initializer_list<std::pair<std::string, std::string>> f) const {
        std::vector<std::string> out{"", "TEST GEO", ""};
        for (const auto& [code, text] : f) {
            out.push_back(code);
            out.push_back(text);
            out.push_back("");
        }
        return out;
    }

    StorePtr s = newStore();
    RecordingInteraction ui;
    DeviceCheckLog log;
    DeviceRecordingLoad last;
};

// --- header ---------------------------------------------------------------------

struct PrecheckCase {
    const char* name;
    uint8_t model;
    std::size_t size;
    int expect; // 0 accepted, 1 unknown model, 2 unknown structure
};

class Precheck : public ::testing::TestWithParam<PrecheckCase> {};

TEST_P(Precheck, RefusesBeforeAnythingIsCleared) {
    const PrecheckCase& c = GetParam();
    Bytes b = geoHeader(c.model, 1);
    b.resize(40, 0x48);
    b.resize(c.size);
    MemorySource src(b);
    const LoadReport r = precheckDeviceRecording(src);
    static const std::vector<LoadWarning> why[3] = {
        {}, {LoadWarning::UnknownModel}, {LoadWarning::UnknownStructure}};
    EXPECT_EQ(r.fault, c.expect == 0 ? LoadFault::None : LoadFault::Refused);
    EXPECT_EQ(r.warnings, why[c.expect]);
}

INSTANTIATE_TEST_SUITE_P(Headers, Precheck,
                         ::testing::Values(PrecheckCase{"magic_only", 1, 4, 2},
                                           PrecheckCase{"no_model", 1, 5, 2},
                                           PrecheckCase{"model7", 7, 40, 1},
                                           PrecheckCase{"model255", 255, 40, 1},
                                           PrecheckCase{"model7_cut_after_model", 7, 6, 1},
                                           PrecheckCase{"model0_no_mode_byte", 0, 23, 2},
                                           PrecheckCase{"model0_mode_byte", 0, 24, 0},
                                           PrecheckCase{"model1_no_mode_byte", 1, 26, 2},
                                           PrecheckCase{"model1_mode_byte", 1, 27, 0},
                                           PrecheckCase{"model6_mode_byte", 6, 27, 0},
                                           PrecheckCase{"model6_cut_in_count", 6, 14, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GeoRead, ModelAboveSixIsRefusedWithItsReasonAndNothingLoaded) {
    putSample(*s, 0, 77);
    const int before = s->frameCount = 40;
    Bytes b = GeoFile(1).add(Rec(0x4C, constant(512, 64))).bytes();
    b[5] = 7;
    MemorySource src(b);
    // The loader itself refuses too (after the caller's clear, which keeps value bytes here).
    const DeviceRecordingLoad l = readDeviceRecording(src, true, *s, ui, log);
    EXPECT_EQ(l.fault, LoadFault::Refused);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(l.warnings, std::vector<LoadWarning>{LoadWarning::UnknownModel});
    EXPECT_EQ(s->frame(0).value[0], 77);
    EXPECT_EQ(s->frameCount, before);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"", "TEST GEO", ""}));
}

TEST_F(GeoRead, HeaderCutBeforeTheModeByteIsRefused) {
    Bytes b = GeoFile(2).add(Rec(0x4C, constant(512, 64))).bytes();
    b.resize(20);
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.fault, LoadFault::Refused);
    EXPECT_EQ(l.warnings, std::vector<LoadWarning>{LoadWarning::UnknownStructure});
}

TEST_F(GeoRead, PlainLoadSetsModelDateTimeAndResetsRelief) {
    s->setHmax(900);
    s->header.value[hdr::DeviceType] = 0;
    const Bytes b = GeoFile(3).add(Rec(0x4C, constant(512, 128))).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_NE(l.fault, LoadFault::Refused);
    EXPECT_EQ(l.deviceType, 3);
    EXPECT_EQ(s->deviceType, 3);
    EXPECT_EQ(s->header.value[hdr::DeviceType], 3);
    EXPECT_EQ(s->header.value[hdr::Day], 14);
    EXPECT_EQ(s->header.value[hdr::Month], 6);
    EXPECT_EQ(s->header.value[hdr::Year], 21);
    EXPECT_EQ(s->header.value[hdr::Hour], 9);
    EXPECT_EQ(s->header.value[hdr::Minute], 30);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 0u);
    EXPECT_EQ(s->header.get16(hdr::VelocityCode), s->velocityCode);
    EXPECT_TRUE(log.lines.empty()); // no finding: the log is cleared
    EXPECT_TRUE(ui.shown.empty());
}

// --- frame records: raw samples ------------------------------------------------

TEST_F(GeoRead, RawEightBitHalfRateAllTwoHundred) {
    // Model 3, s = 1: the first sample is the mean of 128 and 200.
    const Bytes b = GeoFile(3).add(Rec(0x44, constant(256, 200))).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(v(0)[0], 164);
    for (int c = 1; c < 528; ++c) ASSERT_EQ(v(0)[c], 200) << c;
}

TEST_F(GeoRead, RawSevenBitHalfRateStartsFromSixtyFour) {
    // Model 1, s = 1, bytes 100: sample 0 = (64 + 100) / 2 = 82 -> 165, others 100 -> 201.
    const Bytes b = GeoFile(1).add(Rec(0x44, constant(256, 100))).bytes();
    read(b);
    EXPECT_EQ(v(0)[0], 165);
    for (int c = 1; c < 528; ++c) ASSERT_EQ(v(0)[c], 201) << c;
}

TEST_F(GeoRead, RawSevenBitZeroAndOverRangeBytes) {
    // Model 1, s = 2: 0 is read as 1, 200 is limited to 127; the 7-bit
    // amplitudes v become 2v + 1.
    Bytes data = constant(512, 64);
    data[0] = 0;
    data[1] = 200;
    data[2] = 127;
    data[3] = 1;
    data[511] = 10;
    const Bytes b = GeoFile(1).add(Rec(0x4C, data)).bytes();
    read(b);
    EXPECT_EQ(v(0)[0], 3);
    EXPECT_EQ(v(0)[1], 255);
    EXPECT_EQ(v(0)[2], 255);
    EXPECT_EQ(v(0)[3], 3);
    EXPECT_EQ(v(0)[4], 129);
    EXPECT_EQ(v(0)[511], 21);
    for (int c = 512; c < 528; ++c) EXPECT_EQ(v(0)[c], 21) << c;
}

TEST_F(GeoRead, RawHalfRateMeansUseTheAdjustedBytes) {
    // Model 4 (8-bit), s = 1: bytes 0, 50, 255: read as 1, 50, 255.
    Bytes data = constant(256, 100);
    data[0] = 0;
    data[1] = 50;
    data[2] = 255;
    const Bytes b = GeoFile(4).add(Rec(0x44, data)).bytes();
    read(b);
    EXPECT_EQ(v(0)[0], (128 + 1) / 2);
    EXPECT_EQ(v(0)[1], 1);
    EXPECT_EQ(v(0)[2], (1 + 50) / 2);
    EXPECT_EQ(v(0)[3], 50);
    EXPECT_EQ(v(0)[4], (50 + 255) / 2);
    EXPECT_EQ(v(0)[5], 255);
    EXPECT_EQ(v(0)[6], (255 + 100) / 2);
}

TEST_F(GeoRead, ModelZeroShortLayoutRawSamplesWithoutClock) {
    // Model 0: F at record offset 7, samples from offset 10, no unit clock.
    Bytes data(512);
    for (int i = 0; i < 512; ++i) data[std::size_t(i)] = uint8_t(40 + i % 50);
    const Bytes b = GeoFile(0).add(Rec(0x4C, data)).bytes();
    EXPECT_EQ(b[23], 0x4C); // the file mode byte of model 0 is the first F
    const DeviceRecordingLoad l = read(b);
    EXPECT_FALSE(l.bitPlane);
    EXPECT_EQ(l.framesRead, 1);
    for (int i = 0; i < 512; ++i) ASSERT_EQ(v(0)[i], 2 * (40 + i % 50) + 1) << i;
    EXPECT_EQ(v(0)[cell::Hour], 0);
    EXPECT_EQ(v(0)[cell::Minute], 0);
    EXPECT_EQ(v(0)[cell::Second], 0);
}

TEST_F(GeoRead, UnitClockIsReadAsBcd) {
    const Bytes b =
        GeoFile(2).add(Rec(0x4C, constant(512, 64)).withClock(0x23, 0x59, 0x07)).bytes();
    read(b);
    EXPECT_EQ(v(0)[cell::Hour], 23);
    EXPECT_EQ(v(0)[cell::Minute], 59);
    EXPECT_EQ(v(0)[cell::Second], 7);
}

TEST_F(GeoRead, MarkerBitCountsFromTheSecondFrame) {
    GeoFile f(1);
    for (int i = 0; i < 3; ++i) f.add(Rec(0x4D, constant(512, 64)));
    read(f.bytes());
    EXPECT_EQ(v(0)[cell::Status], 0);
    EXPECT_EQ(v(1)[cell::Status], 1);
    EXPECT_EQ(v(2)[cell::Status], 1);
}

// --- frame records: run-length samples -------------------------------------------

TEST_F(GeoRead, RunLengthSevenBitColumnsOfSixtyFourGive129) {
    const Bytes runs = runColumns(std::vector<int>(512, 64), 128);
    ASSERT_EQ(runs.size(), 1024u);
    EXPECT_EQ(runs[0], 0xC0);
    EXPECT_EQ(runs[1], 0x40);
    read(GeoFile(1).add(Rec(0x48, runs)).bytes());
    for (int c = 0; c < 528; ++c) ASSERT_EQ(v(0)[c], 129) << c;
}

TEST_F(GeoRead, RunLengthZeroByteIs128ClearBitsAnd0x85FiveSetBits) {
    // Model 1, s = 2, 128 rows: 0x85 gives column 0 five set bits, 0x00
    // fills its 123 other rows and 5 rows of column 1, 0xFF sets the 123
    // remaining rows of column 1 and 4 rows of column 2; the stream ends
    // there, the other columns stay clear.
    const Bytes runs{0x85, 0x00, 0xFF};
    ui.answers.push_back(Answer::No); // the mean is implausibly low
    read(GeoFile(1).add(Rec(0x48, runs)).bytes());
    EXPECT_EQ(v(0)[0], 2 * 5 + 1);
    EXPECT_EQ(v(0)[1], 2 * 123 + 1);
    EXPECT_EQ(v(0)[2], 2 * 4 + 1);
    for (int c = 3; c < 528; ++c) ASSERT_EQ(v(0)[c], 1) << c;
}

TEST_F(GeoRead, RunLengthSevenBitHalfRateMeansOfNeighbouringColumns) {
    // s = 1: column c gives sample 2c, sample 2c + 1 is the mean of columns
    // c and c + 1; the last odd sample repeats the last column.
    std::vector<int> amps(256);
    for (int c = 0; c < 256; ++c) amps[std::size_t(c)] = 40 + (c * 7) % 80;
    read(GeoFile(6).add(Rec(0x40, runColumns(amps, 128)).withGps(goodGps())).bytes());
    for (int c = 0; c < 256; ++c) {
        const int a = amps[std::size_t(c)];
        const int next = c < 255 ? amps[std::size_t(c + 1)] : a;
        ASSERT_EQ(v(0)[2 * c], 2 * a + 1) << c;
        ASSERT_EQ(v(0)[2 * c + 1], 2 * ((a + next) / 2) + 1) << c;
    }
}

TEST_F(GeoRead, RunLengthEightBitColumnsOf256RowsLimitedTo255) {
    // Model 4, s = 2 (time range item 3 for model 4): amplitudes 0, 1, 200,
    // 255 and a full column of 256 set bits, which is limited to 255.
    std::vector<int> amps(512, 130);
    amps[0] = 0;
    amps[1] = 1;
    amps[2] = 200;
    amps[3] = 255;
    amps[4] = 256;
    read(GeoFile(4).add(Rec(0x88, runColumns(amps, 256))).bytes());
    EXPECT_EQ(v(0)[0], 1); // a zero code becomes 1
    EXPECT_EQ(v(0)[1], 1);
    EXPECT_EQ(v(0)[2], 200);
    EXPECT_EQ(v(0)[3], 255);
    EXPECT_EQ(v(0)[4], 255);
    EXPECT_EQ(v(0)[5], 130);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 3);
    EXPECT_EQ(s->header.value[hdr::LevelTable], 3);
}

TEST_F(GeoRead, RunLengthModelZeroAndSeveralRecords) {
    GeoFile f(0);
    for (int k = 0; k < 4; ++k) {
        std::vector<int> amps(512);
        for (int c = 0; c < 512; ++c) amps[std::size_t(c)] = (c + 10 * k) % 90 + 20;
        f.add(Rec(0x48, runColumns(amps, 128)));
    }
    const DeviceRecordingLoad l = read(f.bytes());
    EXPECT_EQ(l.framesRead, 4);
    for (int k = 0; k < 4; ++k)
        for (int c = 0; c < 512; ++c) ASSERT_EQ(v(k)[c], 2 * ((c + 10 * k) % 90 + 20) + 1) << k;
    EXPECT_EQ(s->frameCount, 4 + 10);
}

// --- frame mode byte: time range and scale -----------------------------------------

struct ModeCase {
    uint8_t model;
    uint8_t sBits; // F bits 3..4
    uint8_t scaleBits;
    int timeRange;
    int levelTable;
};

class FrameMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(FrameMode, SetsTimeRangeAndScaleFromTheLastRecord) {
    const ModeCase& c = GetParam();
    StorePtr s = newStore();
    RecordingInteraction ui;
    DeviceCheckLog log;
    const int sValue = c.sBits + 1;
    const std::size_t rawBytes = sValue == 1 ? 256 : 512;
    // The first record decides the family (its scale bits must not be 0);
    // the second one's settings stay.
    const std::string gps = c.model >= 5 ? goodGps() : "";
    const Bytes b =
        GeoFile(c.model)
            .add(Rec(0xC4, constant(512, 100)).withGps(gps))
            .add(Rec(uint8_t(c.scaleBits | (c.sBits << 3) | 0x04), constant(rawBytes, 100))
                     .withGps(gps))
            .bytes();
    MemorySource src(b);
    s->clearForOpen(false);
    const DeviceRecordingLoad l = readDeviceRecording(src, false, *s, ui, log);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(s->header.value[hdr::TimeRange], c.timeRange);
    EXPECT_EQ(s->header.value[hdr::LevelTable], c.levelTable);
}

std::vector<ModeCase> modeCases() {
    std::vector<ModeCase> out;
    static const int scale8[4] = {0, 2, 3, 4};
    static const int scale7[4] = {0, 0, 1, 2};
    for (uint8_t m = 0; m <= 6; ++m)
        for (uint8_t sb = 0; sb < 4; ++sb)
            for (uint8_t sc = 0; sc < 4; ++sc) {
                const bool eight = m == 3 || m == 4;
                const int range = sb + 1 + ((m == 2 || m == 4) ? 1 : 0);
                out.push_back({m, sb, uint8_t(sc << 6), range, eight ? scale8[sc] : scale7[sc]});
            }
    return out;
}

INSTANTIATE_TEST_SUITE_P(AllModels, FrameMode, ::testing::ValuesIn(modeCases()),
                         [](const auto& info) {
                             return "model" + std::to_string(info.param.model) + "_s" +
                                    std::to_string(info.param.sBits + 1) + "_scale" +
                                    std::to_string(info.param.scaleBits >> 6);
                         });

TEST_F(GeoRead, TimeRangesAboveTwoStillDecode512Samples) {
    // s = 3 and s = 4 store 512 bytes like s = 2.
    Bytes data(512);
    for (int i = 0; i < 512; ++i) data[std::size_t(i)] = uint8_t(30 + i % 60);
    read(GeoFile(1)
             .add(Rec(0x54, data)) // s = 3
             .add(Rec(0x5C, data)) // s = 4
             .bytes());
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 512; ++i) ASSERT_EQ(v(k)[i], 2 * (30 + i % 60) + 1) << k << " " << i;
    EXPECT_EQ(s->header.value[hdr::TimeRange], 4);
}

// --- key search -------------------------------------------------------------------

class KeyOffset : public GeoRead, public ::testing::WithParamInterface<int> {};

TEST_P(KeyOffset, FoundWithinTenBytesEitherSide) {
    const int off = GetParam();
    Rec a = Rec(0x4C, constant(512, 64));
    Rec b = Rec(0x4C, constant(512, 90));
    GeoFile f(1);
    if (off >= 0) {
        f.add(a).junk(off);
    } else {
        a.lengthDelta = -off; // the length says the next key is later than it is
        f.add(a);
    }
    f.add(b).add(Rec(0x4C, constant(512, 70)));
    const DeviceRecordingLoad l = read(f.bytes());
    EXPECT_EQ(l.framesRead, 3);
    EXPECT_EQ(v(1)[0], 181);
    EXPECT_EQ(v(2)[0], 141);
    EXPECT_FALSE(l.has(LoadWarning::DataError));
}

INSTANTIATE_TEST_SUITE_P(Offsets, KeyOffset, ::testing::Values(1, 3, 10, -1, -3, -10));

TEST_F(GeoRead, KeyElevenBytesOffEndsDecodingWithE03) {
    const Bytes b = GeoFile(1)
                        .add(Rec(0x4C, constant(512, 64)))
                        .junk(11)
                        .add(Rec(0x4C, constant(512, 90)))
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesDecoded, 1);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_TRUE(l.has(LoadWarning::DataError));
    EXPECT_EQ(v(0)[0], 129);
    EXPECT_EQ(v(1)[0], 0);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E03.C 1", "Нет ключа начала блока А1!"}}));
    EXPECT_TRUE(warned());
    EXPECT_EQ(s->frameCount, 11);
}

TEST_F(GeoRead, KeyElevenBytesEarlyEndsDecodingWithE03) {
    const Bytes b = GeoFile(1)
                        .add(Rec(0x4C, constant(512, 64)).withLengthDelta(11))
                        .add(Rec(0x4C, constant(512, 90)))
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E03.C 1", "Нет ключа начала блока А1!"}}));
}

// --- ends of file and counts ---------------------------------------------------------

TEST_F(GeoRead, FewerRecordsThanCountedEndsWithE02) {
    const Bytes b = GeoFile(1)
                        .add(Rec(0x4C, constant(512, 64)))
                        .add(Rec(0x4C, constant(512, 64)))
                        .count(3)
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 2", "Неправильный конец файла!"}}));
    EXPECT_TRUE(warned());
}

TEST_F(GeoRead, CountFieldAbove63999LogsE01) {
    const Bytes b = GeoFile(1)
                        .add(Rec(0x4C, constant(512, 64)))
                        .add(Rec(0x4C, constant(512, 64)))
                        .count(70000)
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E01.C", "Количество измерений > 64000. "},
                                     {"ERROR. E02.C 2", "Неправильный конец файла!"}}));
    EXPECT_EQ(l.warnings,
              (std::vector<LoadWarning>{LoadWarning::CountClamped, LoadWarning::DataError}));
}

TEST_F(GeoRead, CountField63999IsNoFinding) {
    const Bytes b = GeoFile(1).add(Rec(0x4C, constant(512, 64))).count(63999).bytes();
    read(b);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, CutInsideRecordHeaderLogsE04) {
    Bytes b =
        GeoFile(1).add(Rec(0x4C, constant(512, 64))).add(Rec(0x4C, constant(512, 64))).bytes();
    const std::size_t second = 16 + 13 + 512 + 1;
    b.resize(second + 10); // key, length, clock: the mode byte is missing
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E04.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, CutInsideRawSamplesDropsTheFrameWithE02) {
    Bytes b =
        GeoFile(1).add(Rec(0x4C, constant(512, 64))).add(Rec(0x4C, constant(512, 64))).bytes();
    b.resize(b.size() - 10);
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesDecoded, 1);
    EXPECT_EQ(v(1)[0], 0);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, CutInsideRunLengthSamplesDropsTheFrameWithE02) {
    const Bytes runs = runColumns(std::vector<int>(512, 64), 128);
    Bytes b = GeoFile(1).add(Rec(0x48, runs)).add(Rec(0x48, runs)).bytes();
    b.resize(b.size() - 200);
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, RunLengthStreamFillingEveryColumnNeedsNoMoreBytes) {
    // The length field promises more bytes than the file holds, but the
    // runs fill all 512 columns: the frame is whole.
    const Bytes runs = runColumns(std::vector<int>(512, 64), 128);
    const Bytes b = GeoFile(1).add(Rec(0x48, runs).withLengthDelta(5000)).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(v(0)[511], 129);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(GeoRead, CutInsidePositioningBlockLogsE05) {
    Bytes b = GeoFile(5)
                  .add(Rec(0x4C, constant(512, 64)).withGps(goodGps()))
                  .add(Rec(0x4C, constant(512, 64)).withGps(goodGps()))
                  .bytes();
    const std::size_t second = 16 + 13 + 50 + 512 + 1;
    b.resize(second + 13 + 49);
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E05.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, ReadFaultIsReportedAndEarlierFramesStay) {
    const Bytes b =
        GeoFile(1).add(Rec(0x4C, constant(512, 64))).add(Rec(0x4C, constant(512, 64))).bytes();
    FaultySource src(b, 16 + 526 + 300);
    const DeviceRecordingLoad l = readSource(src);
    EXPECT_EQ(l.fault, LoadFault::ReadFault);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(v(0)[0], 129);
    EXPECT_TRUE(l.has(LoadWarning::DataError));
}

// --- positioning block ---------------------------------------------------------------

TEST_F(GeoRead, PositioningBlockStoresPositionAndRelief) {
    const Bytes b = GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(goodGps())).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    const FrameRecord& f = s->frame(0);
    EXPECT_EQ(f.value[cell::LatDegrees], 55);
    EXPECT_EQ(f.get24(cell::LatFraction), LAT_FRACTION);
    EXPECT_EQ(f.value[cell::LonDegrees], 37);
    EXPECT_EQ(f.get24(cell::LonFraction), LON_FRACTION);
    EXPECT_EQ(f.reliefHeight(), 1234u);
    // The unit clock replaces the fix time.
    EXPECT_EQ(f.value[cell::Hour], 10);
    EXPECT_EQ(f.value[cell::Minute], 20);
    EXPECT_EQ(f.value[cell::Second], 30);
    EXPECT_EQ(f.value[0], 129);
    EXPECT_EQ(f.value[511], 129);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_TRUE(ui.shown.empty());
}

struct GpsCase {
    const char* name;
    int at;              // position in the text
    const char* replace; // bytes put there
    std::vector<int> codes;
    int field; // cell left at 0, or -1
};

class PositioningCheck : public GeoRead, public ::testing::WithParamInterface<GpsCase> {};

TEST_P(PositioningCheck, LogsItsCodeAndLeavesTheFieldAsItWas) {
    const GpsCase& c = GetParam();
    std::string gps = goodGps();
    gps.replace(std::size_t(c.at), std::strlen(c.replace), c.replace);
    ASSERT_EQ(gps.size(), 50u);
    // Frame 0 is sound; the faulty text is frame 1's.
    const Bytes b = GeoFile(6)
                        .add(Rec(0x4C, constant(512, 64)).withGps(goodGps()))
                        .add(Rec(0x4C, constant(512, 64)).withGps(gps))
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(l.has(LoadWarning::DataError), !c.codes.empty());
    EXPECT_EQ(warned(), !c.codes.empty());
    std::vector<std::string> codeLines;
    for (std::size_t i = 3; i < log.lines.size(); i += 3) codeLines.push_back(log.lines[i]);
    std::vector<std::string> want;
    for (int code : c.codes) {
        char t[32];
        std::snprintf(t, sizeof t, "ERROR. E%02d.C 1", code);
        want.push_back(t);
    }
    EXPECT_EQ(codeLines, want);
    const FrameRecord& f = s->frame(1);
    const int fields[] = {cell::LatDegrees, cell::LatFraction, cell::LonDegrees, cell::LonFraction};
    for (int fieldCell : fields) {
        const uint32_t got = (fieldCell == cell::LatDegrees || fieldCell == cell::LonDegrees)
                                 ? f.value[fieldCell]
                                 : f.get24(fieldCell);
        const uint32_t sound = fieldCell == cell::LatDegrees    ? 55
                               : fieldCell == cell::LatFraction ? LAT_FRACTION
                               : fieldCell == cell::LonDegrees  ? 37
                                                                : LON_FRACTION;
        EXPECT_EQ(got, fieldCell == c.field ? 0u : sound) << fieldCell;
    }
    // The samples are loaded whatever the text held.
    EXPECT_EQ(f.value[0], 129);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PositioningCheck,
    ::testing::Values(GpsCase{"E06_key", 0, "GPX", {6}, -1},
                      GpsCase{"key_same_sum", 0, "SPG", {}, -1},
                      GpsCase{"E07_time_ff", 5, "\xFF", {7}, -1},
                      GpsCase{"E10_lat_digits", LAT, "5A", {10}, cell::LatDegrees},
                      GpsCase{"E11_lat_95", LAT, "95", {11}, cell::LatDegrees},
                      GpsCase{"E12_lat_minutes_digits", LAT_MIN, "4x", {12}, cell::LatFraction},
                      GpsCase{"E13_lat_minutes_60", LAT_MIN, "60", {13}, cell::LatFraction},
                      GpsCase{"E14_lat_point", LAT_POINT, ",", {14}, -1},
                      GpsCase{"E15_lat_decimals", LAT_DEC + 2, "a", {15}, cell::LatFraction},
                      GpsCase{"E16_lat_hemisphere", LAT_HEMI, "X", {16}, -1},
                      GpsCase{"lat_south", LAT_HEMI, "S", {}, -1},
                      GpsCase{"E20_lon_digits", LON, "0A7", {20}, cell::LonDegrees},
                      GpsCase{"E21_lon_180", LON, "180", {21}, cell::LonDegrees},
                      GpsCase{"E22_lon_minutes_digits", LON_MIN + 1, " ", {22}, cell::LonFraction},
                      GpsCase{"E23_lon_minutes_99", LON_MIN, "99", {23}, cell::LonFraction},
                      GpsCase{"E24_lon_point", LON_POINT, "5", {24}, -1},
                      GpsCase{"E25_lon_decimals", LON_DEC, "-", {25}, cell::LonFraction},
                      GpsCase{"E26_lon_hemisphere", LON_HEMI, "e", {26}, -1},
                      GpsCase{"lon_west", LON_HEMI, "W", {}, -1},
                      GpsCase{"E31_day_digits", DAY, "1x", {31}, -1},
                      GpsCase{"E32_day_32", DAY, "32", {32}, -1},
                      GpsCase{"E33_month_digits", MONTH, "?6", {33}, -1},
                      GpsCase{"E34_month_13", MONTH, "13", {34}, -1},
                      GpsCase{"E35_year_digits", YEAR, "2 ", {35}, -1},
                      GpsCase{"E41_deviation_1", DEVIATION, "x", {41}, -1},
                      GpsCase{"E42_deviation_2", DEVIATION + 1, "x", {42}, -1},
                      GpsCase{"E43_E46_deviation_3", DEVIATION + 2, "x", {43, 46}, -1},
                      GpsCase{"E44_deviation_4", DEVIATION + 3, "x", {44}, -1},
                      GpsCase{"E45_deviation_5", DEVIATION + 4, "x", {45}, -1},
                      GpsCase{"E46_no_point", DEVIATION + 2, "5", {46}, -1},
                      GpsCase{"E46_two_points", DEVIATION, ".", {46}, -1},
                      GpsCase{"E50_satellites", SATELLITES, "x", {50}, -1},
                      GpsCase{"several_fields", LAT_HEMI, "X03A36", {16, 20}, cell::LonDegrees}),
    [](const auto& info) { return std::string(info.param.name); });

struct FractionCase {
    const char* minutes; // MM.ddddd
    uint32_t fraction;   // (MM x 100000 + ddddd) x 5 / 3, rounded to nearest
};

class MinuteFraction : public GeoRead, public ::testing::WithParamInterface<FractionCase> {};

TEST_P(MinuteFraction, RoundsToNearestTenMillionthOfADegree) {
    const FractionCase& c = GetParam();
    std::string gps = goodGps();
    gps.replace(LAT_MIN, 8, c.minutes);
    gps.replace(LON_MIN, 8, c.minutes);
    read(GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(gps)).bytes());
    EXPECT_EQ(s->frame(0).get24(cell::LatFraction), c.fraction);
    EXPECT_EQ(s->frame(0).get24(cell::LonFraction), c.fraction);
    EXPECT_TRUE(log.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(Minutes, MinuteFraction,
                         ::testing::Values(FractionCase{"00.00000", 0}, // 0
                                           FractionCase{"00.00001", 2}, // 1.67
                                           FractionCase{"00.00002", 3}, // 3.33
                                           FractionCase{"30.00000", 5000000},
                                           FractionCase{"59.99999", 9999998})); // 9999998.33

TEST_F(GeoRead, LatitudeOf90IsStored) {
    std::string gps = goodGps();
    gps.replace(LAT, 2, "90");
    read(GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(gps)).bytes());
    EXPECT_EQ(s->frame(0).value[cell::LatDegrees], 90);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(GeoRead, FindingsAreInEnglishWhenEnglishIsSelected) {
    s->header.value[hdr::ViewFlags] |= hdr::English;
    std::string gps = goodGps();
    gps.replace(LAT, 2, "95");
    gps.replace(SATELLITES, 1, "x");
    read(GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(gps)).bytes());
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"", "TEST GEO", "", "ERROR. E11.C 0", "Latitude > 90 gr.!",
                                        "", "ERROR. E50.C 0", "Satellites. Data Error !", ""}));
}

TEST_F(GeoRead, RussianFindingTexts) {
    std::string gps = goodGps();
    gps.replace(0, 3, "GPZ");
    gps.replace(LON, 3, "200");
    gps.replace(DEVIATION, 5, "01,50");
    read(GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(gps)).bytes());
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E06.C 0", "Нет ключа начала блока GPS!"},
                                     {"ERROR. E21.C 0", "Долгота > 180 гр.!"},
                                     {"ERROR. E43.C 0", "Точность. Ошибка данных!"},
                                     {"ERROR. E46.C 0", "Точность. Ошибка данных!"}}));
}

struct AltitudeCase {
    const char* text;
    uint32_t centimetres;
};

class Altitude : public GeoRead, public ::testing::WithParamInterface<AltitudeCase> {};

TEST_P(Altitude, DigitsReadAsCentimetres) {
    const AltitudeCase& c = GetParam();
    std::string gps = goodGps();
    gps.replace(32, 6, c.text);
    // Raw samples, s = 2: when the text is not 50 bytes long, the samples
    // start at record offset L - 509.
    const Bytes b = GeoFile(5).add(Rec(0x4C, constant(512, 70)).withGps(gps)).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(s->frame(0).reliefHeight(), c.centimetres);
    EXPECT_EQ(s->frame(0).value[0], 141);
    EXPECT_EQ(s->frame(0).value[511], 141);
    EXPECT_TRUE(log.lines.empty()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Altitude,
    ::testing::Values(AltitudeCase{"12.34M", 1234}, AltitudeCase{"12.34m", 1234},
                      AltitudeCase{"123.45M", 12345}, AltitudeCase{"0.5M", 5},
                      AltitudeCase{"1799999M", 1799999}, AltitudeCase{"1800000M", 0},
                      AltitudeCase{"180000012M", 12}, AltitudeCase{"7.891M", 789}));

TEST_F(GeoRead, RawSamplesFoundFromTheEndOfTheRecordWhenTheTextIsLonger) {
    // Seven altitude characters and one more byte before the samples: the
    // samples are where the length says (L - 509), not right after the text.
    std::string gps = goodGps();
    gps.replace(32, 6, "123.45M");
    Bytes data(512);
    for (int i = 0; i < 512; ++i) data[std::size_t(i)] = uint8_t(33 + i % 90);
    read(GeoFile(5).add(Rec(0x4C, data).withGps(gps).withGap(1)).bytes());
    for (int i = 0; i < 512; ++i) ASSERT_EQ(v(0)[i], 2 * (33 + i % 90) + 1) << i;
}

TEST_F(GeoRead, RawHalfRateSamplesFoundFromTheEndOfTheRecord) {
    // s = 1: L - 253.
    std::string gps = goodGps();
    gps.replace(32, 6, "5.1M");
    Bytes data(256);
    for (int i = 0; i < 256; ++i) data[std::size_t(i)] = uint8_t(50 + i % 40);
    read(GeoFile(6).add(Rec(0x44, data).withGps(gps).withGap(3)).bytes());
    EXPECT_EQ(s->frame(0).reliefHeight(), 51u);
    for (int i = 1; i < 256; ++i) ASSERT_EQ(v(0)[2 * i + 1], 2 * (50 + i % 40) + 1) << i;
}

TEST_F(GeoRead, RunLengthSamplesFollowTheText) {
    std::string gps = goodGps();
    gps.replace(32, 6, "1.5M");
    read(
        GeoFile(6).add(Rec(0x48, runColumns(std::vector<int>(512, 50), 128)).withGps(gps)).bytes());
    EXPECT_EQ(s->frame(0).reliefHeight(), 15u);
    for (int c = 0; c < 512; ++c) ASSERT_EQ(v(0)[c], 101) << c;
}

// --- bit-plane family ---------------------------------------------------------------

std::vector<Bytes> onePlane(const std::vector<int>& bits) {
    return {packBits(bits)};
}

TEST_F(GeoRead, BitPlaneOnePlaneSevenBit) {
    // Model 1, M = 0x08: s = 2, 64 bytes per frame, one bit per sample,
    // levels 100 and 4 (converted 201 and 9).
    std::vector<int> a(512), b(512, 1);
    for (int j = 0; j < 512; ++j) a[std::size_t(j)] = j % 3 == 0;
    const Bytes file = bitPlaneFile(1, 0x08, 1, {Block{{onePlane(a), onePlane(b)}}});
    EXPECT_EQ(file[26], 0x08);
    const DeviceRecordingLoad l = read(file);
    EXPECT_TRUE(l.bitPlane);
    EXPECT_EQ(l.framesRead, 2);
    for (int j = 0; j < 512; ++j) ASSERT_EQ(v(0)[j], j % 3 == 0 ? 201 : 9) << j;
    for (int j = 0; j < 528; ++j) ASSERT_EQ(v(1)[j], 201) << j;
    EXPECT_EQ(v(0)[527], v(0)[511]);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 2);
    EXPECT_EQ(s->frameCount, 12);
}

TEST_F(GeoRead, BitPlaneHalfRateEachBitFillsTwoSamples) {
    // Model 3 (8-bit), M = 0x00: s = 1, 32 bytes per frame; levels 200 and 8.
    std::vector<int> bits(256);
    for (int j = 0; j < 256; ++j) bits[std::size_t(j)] = (j / 4) % 2;
    const Bytes file = bitPlaneFile(3, 0x00, 1, {Block{{onePlane(bits)}}});
    read(file);
    for (int j = 0; j < 256; ++j) {
        const int want = (j / 4) % 2 ? 200 : 8;
        ASSERT_EQ(v(0)[2 * j], want) << j;
        ASSERT_EQ(v(0)[2 * j + 1], want) << j;
    }
    EXPECT_EQ(s->header.value[hdr::TimeRange], 1);
}

TEST_F(GeoRead, BitPlaneTimeRangeFourReadsAsTwo) {
    // M = 0x18: time range item 4, frames of 64 bytes.
    std::vector<int> bits(512);
    for (int j = 0; j < 512; ++j) bits[std::size_t(j)] = j < 200;
    read(bitPlaneFile(2, 0x18, 1, {Block{{onePlane(bits), onePlane(bits)}}}));
    EXPECT_EQ(s->header.value[hdr::TimeRange], 4);
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 512; ++j) ASSERT_EQ(v(k)[j], j < 200 ? 201 : 9) << j;
}

TEST_F(GeoRead, BitPlaneThreePlanesEightBit) {
    // Model 4, M = 0x28: s = 2, three planes; the number of planes with
    // the bit set picks 8, 90, 160 or 230.
    std::vector<Bytes> planes;
    for (int p = 0; p < 3; ++p) {
        std::vector<int> bits(512);
        for (int j = 0; j < 512; ++j) bits[std::size_t(j)] = p < j % 4;
        planes.push_back(packBits(bits));
    }
    read(bitPlaneFile(4, 0x28, 1, {Block{{planes}}}));
    static const int levels[4] = {8, 90, 160, 230};
    for (int j = 0; j < 512; ++j) ASSERT_EQ(v(0)[j], levels[j % 4]) << j;
}

TEST_F(GeoRead, BitPlaneThreePlanesSevenBitModelZeroSeveralBlocks) {
    // Model 0 (block header of 11 bytes, M at 23), M = 0x20: s = 1, three
    // planes; levels 4, 40, 80, 120 (converted 9, 81, 161, 241). Two blocks
    // of two and one frames: the frames follow one another in the slots.
    auto frame = [](int shift) {
        std::vector<Bytes> planes;
        for (int p = 0; p < 3; ++p) {
            std::vector<int> bits(256);
            for (int j = 0; j < 256; ++j) bits[std::size_t(j)] = p < (j + shift) % 4;
            planes.push_back(packBits(bits));
        }
        return planes;
    };
    const Bytes file = bitPlaneFile(0, 0x20, 2, {Block{{frame(0), frame(1)}}, Block{{frame(2)}}});
    EXPECT_EQ(file[23], 0x20);
    const DeviceRecordingLoad l = read(file);
    EXPECT_EQ(l.framesRead, 3);
    static const int levels[4] = {9, 81, 161, 241};
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 256; ++j) {
            ASSERT_EQ(v(k)[2 * j], levels[(j + k) % 4]) << k << " " << j;
            ASSERT_EQ(v(k)[2 * j + 1], levels[(j + k) % 4]) << k << " " << j;
        }
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(GeoRead, BitPlaneFewerBlocksThanCountedEndsWithE02) {
    std::vector<int> bits(512, 1);
    const Bytes file = bitPlaneFile(1, 0x08, 3, {Block{{onePlane(bits), onePlane(bits)}}});
    const DeviceRecordingLoad l = read(file);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 2", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, BitPlaneBlockCutShortIsNotLoaded) {
    std::vector<int> bits(512, 1);
    Bytes file = bitPlaneFile(1, 0x08, 2,
                              {Block{{onePlane(bits)}}, Block{{onePlane(bits), onePlane(bits)}}});
    file.resize(file.size() - 1);
    const DeviceRecordingLoad l = read(file);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, BitPlaneCountAbove63999) {
    std::vector<int> bits(512, 1);
    const Bytes file = bitPlaneFile(1, 0x08, 0x0FFFFF, {Block{{onePlane(bits)}}});
    const DeviceRecordingLoad l = read(file);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E01.C", "Количество измерений > 64000. "},
                                     {"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, BitPlaneEmptyBlockLoadsNothing) {
    const DeviceRecordingLoad l = read(bitPlaneFile(1, 0x08, 1, {Block{}}));
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(s->frameCount, 10);
    EXPECT_TRUE(log.lines.empty());
}

// --- amplitude question ------------------------------------------------------------------

// Three 8-bit raw frames (model 3, s = 2) with constant bytes; the middle
// one's mean is implausible.
Bytes threeFrames(uint8_t first, uint8_t middle, uint8_t last) {
    return GeoFile(3)
        .add(Rec(0x4C, constant(512, first)))
        .add(Rec(0x4C, constant(512, middle)))
        .add(Rec(0x4C, constant(512, last)))
        .bytes();
}

struct MeanCase {
    uint8_t level;
    bool asks;
};

class MeanLimits : public GeoRead, public ::testing::WithParamInterface<MeanCase> {};

TEST_P(MeanLimits, AsksOnlyOutside32To224) {
    const MeanCase& c = GetParam();
    if (c.asks) ui.answers.push_back(Answer::No);
    read(threeFrames(100, c.level, 100));
    EXPECT_EQ(ui.answers.size(), 0u);
    int questions = 0;
    for (const Message& m : ui.shown) questions += m.buttons == Buttons::YesNoCancel;
    EXPECT_EQ(questions, c.asks ? 1 : 0);
    EXPECT_EQ(v(1)[5], c.level); // No keeps the frame as recorded
}

INSTANTIATE_TEST_SUITE_P(Levels, MeanLimits,
                         ::testing::Values(MeanCase{1, true}, MeanCase{31, true},
                                           MeanCase{32, false}, MeanCase{128, false},
                                           MeanCase{224, false}, MeanCase{225, true},
                                           MeanCase{255, true}));

TEST_F(GeoRead, MeanIsTakenOverTheWorkBytesBeforeWidening) {
    // Model 1: work bytes 20 (converted 41) give the mean 20 < 32.
    ui.answers.push_back(Answer::No);
    read(GeoFile(1).add(Rec(0x4C, constant(512, 20))).bytes());
    EXPECT_EQ(v(0)[0], 41);
    EXPECT_TRUE(ui.answers.empty());
}

TEST_F(GeoRead, AmplitudeQuestionTextAndButtons) {
    ui.answers.push_back(Answer::No);
    read(threeFrames(100, 250, 100));
    ASSERT_EQ(ui.shown.size(), 1u);
    const Message& m = ui.shown[0];
    EXPECT_EQ(m.buttons, Buttons::YesNoCancel);
    EXPECT_EQ(m.ru, "Ошибка амплитуды измерения.\rПозиция 1\rИсправить?");
    EXPECT_EQ(m.en, "Measurement amplitude error.\rPosition 1\rReWrite?");
}

TEST_F(GeoRead, AmplitudeAnswerYesCopiesThePreviousFrame) {
    ui.answers.push_back(Answer::Yes);
    Bytes b = GeoFile(3)
                  .add(Rec(0x4C, constant(512, 100)).withClock(0x01, 0x02, 0x03))
                  .add(Rec(0x4D, constant(512, 10)).withClock(0x04, 0x05, 0x06))
                  .add(Rec(0x4C, constant(512, 120)))
                  .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 3);
    for (int c = 0; c < 528; ++c) ASSERT_EQ(v(1)[c], 100) << c;
    // Only the samples are replaced: the frame keeps its own clock and marker.
    EXPECT_EQ(v(1)[cell::Hour], 4);
    EXPECT_EQ(v(1)[cell::Status], 1);
    EXPECT_EQ(v(2)[0], 120);
}

TEST_F(GeoRead, AmplitudeAnswerYesOnTheFirstFrameTakesTheNextOne) {
    ui.answers.push_back(Answer::Yes);
    read(threeFrames(5, 100, 120));
    for (int c = 0; c < 528; ++c) ASSERT_EQ(v(0)[c], 100) << c;
    EXPECT_EQ(v(1)[0], 100);
}

TEST_F(GeoRead, AmplitudeAnswerYesOnAnOnlyFrameKeepsIt) {
    ui.answers.push_back(Answer::Yes);
    read(GeoFile(3).add(Rec(0x4C, constant(512, 5))).bytes());
    EXPECT_EQ(v(0)[0], 5);
}

TEST_F(GeoRead, AmplitudeAnswerNoKeepsEveryFrame) {
    ui.answers = {Answer::No, Answer::No};
    read(threeFrames(250, 10, 100));
    EXPECT_EQ(v(0)[0], 250);
    EXPECT_EQ(v(1)[0], 10);
    EXPECT_EQ(v(2)[0], 100);
    EXPECT_TRUE(ui.answers.empty());
}

TEST_F(GeoRead, AmplitudeAnswerCancelEndsTheConversion) {
    ui.answers.push_back(Answer::Cancel);
    const DeviceRecordingLoad l = read(threeFrames(100, 10, 100));
    EXPECT_EQ(l.fault, LoadFault::Cancelled);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(v(0)[0], 100);
    EXPECT_EQ(v(1)[0], 10);
    for (int c = 0; c < 624; ++c) ASSERT_EQ(v(2)[c], 0) << c;
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_FALSE(s->frame(2).inProfile());
}

TEST_F(GeoRead, AmplitudeCancelLeavesStaleSlotsAboveTheClearedRangeEmpty) {
    // Appending at slot 60000: slots above 51000 are not cleared by the
    // open; the frames not converted must not show what they held.
    s->frameCount = 60000;
    s->frame(60002).value.fill(77);
    ui.answers.push_back(Answer::Cancel);
    read(threeFrames(100, 10, 100), true);
    EXPECT_EQ(v(60001)[0], 10);
    for (int c = 0; c < 624; ++c) ASSERT_EQ(v(60002)[c], 0) << c;
}

TEST_F(GeoRead, AmplitudeQuestionNamesTheTargetSlotWhenAppending) {
    s->frameCount = 40;
    ui.answers.push_back(Answer::No);
    read(threeFrames(100, 240, 100), true);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].en, "Measurement amplitude error.\rPosition 41\rReWrite?");
}

TEST_F(GeoRead, BatchAnswersKeepImplausibleFrames) {
    SilentInteraction batch; // answers No
    const Bytes b = threeFrames(3, 4, 5);
    MemorySource src(b);
    s->clearForOpen(false);
    const DeviceRecordingLoad l = readDeviceRecording(src, false, *s, batch, log);
    EXPECT_EQ(l.framesRead, 3);
    EXPECT_EQ(v(0)[0], 3);
    EXPECT_EQ(v(1)[0], 4);
    EXPECT_EQ(v(2)[0], 5);
}

// --- append ------------------------------------------------------------------------

TEST_F(GeoRead, AppendStartsAtFrameCountAndKeepsTheHeader) {
    read(GeoFile(3).add(Rec(0x4C, constant(512, 100))).bytes());
    s->finishLoad();
    ASSERT_EQ(s->frameCount, 40);
    std::vector<uint8_t> header(s->header.value.begin(), s->header.value.end());
    const uint32_t hmax = s->Hmax;

    std::string gps = goodGps();
    const Bytes second = GeoFile(6)
                             .add(Rec(0xD4, constant(512, 90)).withGps(gps))
                             .add(Rec(0xD4, constant(512, 80)).withGps(gps))
                             .bytes();
    const DeviceRecordingLoad l = read(second, true);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(v(0)[0], 100); // the first survey stays
    EXPECT_EQ(v(40)[0], 181);
    EXPECT_EQ(v(41)[0], 161);
    EXPECT_EQ(s->frame(41).reliefHeight(), 1234u);
    EXPECT_EQ(s->frameCount, 40 + 2 + 10);
    header[hdr::FrameCount] = uint8_t(s->frameCount >> 8);
    header[hdr::FrameCount + 1] = uint8_t(s->frameCount);
    EXPECT_EQ(std::vector<uint8_t>(s->header.value.begin(), s->header.value.end()), header);
    EXPECT_EQ(s->Hmax, hmax);
    EXPECT_EQ(s->deviceType, 3);
    s->finishLoad();
    EXPECT_EQ(s->Hmax, 1234u);
}

TEST_F(GeoRead, AppendStopsAtTheLastLoaderSlot) {
    s->frameCount = 63980;
    GeoFile f(1);
    for (int i = 0; i < 20; ++i) f.add(Rec(0x4C, constant(512, uint8_t(40 + i))));
    const DeviceRecordingLoad l = read(f.bytes(), true);
    EXPECT_EQ(l.framesRead, 10);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(v(63989)[0], 2 * 49 + 1);
    EXPECT_EQ(v(63990)[0], 0);
    EXPECT_EQ(s->frameCount, MAX_LOADED_FRAME);
}

TEST_F(GeoRead, AppendToAFullStoreLoadsNothing) {
    s->frameCount = MAX_FRAME_INDEX;
    const DeviceRecordingLoad l = read(GeoFile(1).add(Rec(0x4C, constant(512, 64))).bytes(), true);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(v(MAX_FRAME_INDEX)[0], 0);
}

// --- hostile files --------------------------------------------------------------------------

TEST_F(GeoRead, ZeroLengthRecordsReplayedUpToTheSlotLimit) {
    // Length 0: the next record is looked for 4 bytes on, and the key search
    // finds the same record again. The count bounds the frames.
    const Bytes b =
        GeoFile(1)
            .add(Rec(0x4C, constant(512, 64)).withClock(0x11, 0x11, 0x11).withLengthDelta(-522))
            .count(63999)
            .bytes();
    ASSERT_EQ(b[17], 0);
    ASSERT_EQ(b[19], 0);
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesDecoded, MAX_LOADED_FRAME + 1);
    EXPECT_EQ(l.framesRead, MAX_LOADED_FRAME + 1);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(v(MAX_LOADED_FRAME)[0], 129);
    EXPECT_EQ(s->frameCount, MAX_LOADED_FRAME);
}

TEST_F(GeoRead, HugeLengthEndsAtTheEndOfTheFile) {
    const Bytes b = GeoFile(1)
                        .add(Rec(0x4C, constant(512, 64)).withLengthDelta(0xFF0000))
                        .add(Rec(0x4C, constant(512, 64)))
                        .count(0xFFFFFF)
                        .bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 1);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E01.C", "Количество измерений > 64000. "},
                                     {"ERROR. E02.C 1", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, HugeRunLengthPromiseInATinyFile) {
    const Bytes b = GeoFile(1).add(Rec(0x48, {0x85, 0x05}).withLengthDelta(0xFFF000)).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 0", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, HugeGpsLengthFallbackOutsideTheFile) {
    std::string gps = goodGps();
    gps.replace(32, 6, "1.2M");
    const Bytes b =
        GeoFile(5).add(Rec(0x4C, constant(512, 64)).withGps(gps).withLengthDelta(0x7FFFFF)).bytes();
    const DeviceRecordingLoad l = read(b);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 0", "Неправильный конец файла!"}}));
}

TEST_F(GeoRead, SmallLengthWithGpsFallsBackToTheFixedOffset) {
    // A text of 48 bytes and a length below 509: the samples are taken at
    // record offset 63.
    std::string gps = goodGps();
    gps.replace(32, 6, "1.2M");
    Rec r = Rec(0x4C, constant(514, 64)).withGps(gps).withLengthDelta(-300);
    read(GeoFile(5).add(r).count(1).bytes());
    EXPECT_EQ(v(0)[0], 129);
    EXPECT_EQ(v(0)[511], 129);
}

TEST_F(GeoRead, BitPlaneHugeBlockInATinyFile) {
    Bytes file = bitPlaneFile(1, 0x28, 1, {Block{}});
    file.back() = 255; // 255 frames of three planes announced, none present
    const DeviceRecordingLoad l = read(file);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(log.lines, findingsRu({{"ERROR. E02.C 0", "Неправильный конец файла!"}}));
}

// --- with the normalisation pass ------------------------------------------------------------

TEST_F(GeoRead, FinishLoadAfterThreeFramesLeavesForty) {
    read(threeFrames(100, 110, 120));
    EXPECT_EQ(s->frameCount, 13);
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 40);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(s->frame(k).inProfile());
        EXPECT_EQ(s->frame(k).get16(cell::IndexInProfile), k);
    }
}

} // namespace
} // namespace tesk::testing
