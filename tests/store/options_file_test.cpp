// The options file: the 5520-byte version-17 layout, checked byte by byte
// at its fixed offsets, the round trip of every applied field, the fields
// that are read and not applied, unknown versions and files cut short.

#include "support/store_test_support.h"

#include "store/byte_source.h"
#include "store/options_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk::testing {
namespace {

// Settings where every field differs from its default and from its neighbours.
OptionsFileSettings distinctive() {
    OptionsFileSettings o;
    o.english = true;
    o.grid = false;
    o.zeroLine = true;
    o.showParameters = false;
    o.showFilters = true;
    o.show3D = false;
    o.function = true;
    o.velocityItem = 7;
    o.velocityCode = 0x1234;
    o.timeRangeItem = 5;
    o.stepItem = 11;
    o.antennaItem = 21;
    o.depthStepItem = 9;
    o.viewStepItem = 6;
    o.filter1 = {1, 2, 3, 4};
    o.filter2 = {3, 17, 18, 19};
    o.colourModeItem = 6;
    o.levelTableItem = 4;
    o.amplitudeFormItem = 2;
    o.zeroGainModeItem = 1;
    o.inversion = true;
    o.chosenAmplitude = true;
    o.background = true;
    o.ZeroLevel = 77;
    o.GainRange = 9;
    o.GainLevel1 = 200;
    o.GainLevel2 = 33;
    o.GainPos1 = 0x0102;
    o.GainPos2 = 0x01F0;
    o.processAll = true;
    o.volumeInterpItem = 3;
    o.profileDistanceItem = 40;
    o.sectionItem = 2;
    o.addition = {2, 1, 7};
    o.layerChecks = {true, false, true, true, false, true};
    o.layerItems = {4, 5, 6};
    o.singleReading = true;
    o.startDelayItem = 200;
    o.samplingModeItem = 2;
    o.channelItem = 0;
    o.channelItemAgain = 0;
    for (std::size_t i = 0; i < 27; ++i) o.layerColours[i] = uint8_t(100 + i);
    o.colourComponents = {10, 20, 30};
    o.chosenCode = 201;
    for (std::size_t i = 0; i < 256; ++i) {
        o.tableA[i] = uint32_t(0x010203 * i) & 0xFFFFFF;
        o.tableB[i] = uint32_t(0xFFFFFF - i);
        o.tableC[i] = uint32_t(i << 8);
    }
    for (std::size_t i = 0; i < 1024; ++i) o.tableD[i] = uint32_t(0x00ABCD00 + i) & 0xFFFFFF;
    o.tableA[0] = 0x00123456;
    return o;
}

std::vector<uint8_t> bytesOf(const OptionsFileSettings& o) {
    const auto a = encodeOptionsFile(o);
    return std::vector<uint8_t>(a.begin(), a.end());
}

class ProgressLog final : public Interaction {
  public:
    Answer show(const Message&) override { return Answer::Ok; }
    void progress(int64_t done, int64_t total) override {
        steps.push_back(done);
        EXPECT_EQ(total, 42);
    }
    std::vector<int64_t> steps;
};

// --- layout ----------------------------------------------------------------------

TEST(OptionsFileLayout, SizeAndLead) {
    const auto b = bytesOf(OptionsFileSettings{});
    ASSERT_EQ(b.size(), 5520u);
    const uint8_t lead[8] = {'T', 'E', 'S', 'K', 42, 17, 42, 42};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b[std::size_t(i)], lead[i]) << i;
    EXPECT_EQ(int(b[0]) + b[1] + b[2] + b[3], 311);
}

TEST(OptionsFileLayout, FixedOffsetsByHand) {
    const auto b = bytesOf(distinctive());
    struct Byte {
        int offset;
        int value;
    };
    const Byte expected[] = {
        {8, 0x05}, // English 0x01, zero line 0x04
        {9, 0x44}, // CheckBox12 0x04, CheckBox4 0x40
        {10, 0},
        {11, 0},
        {12, 42},
        {13, 0},
        {14, 0},
        {15, 0},
        {16, 7},
        {17, 0x12},
        {18, 0x34}, // velocity code big-endian
        {19, 5},
        {20, 11},
        {21, 21},
        {22, 9},
        {23, 6},
        {24, 42},
        {25, 0},
        {26, 0},
        {27, 0},
        {28, 42},
        {29, 0},
        {30, 0},
        {31, 0},
        {32, 1},
        {33, 2},
        {34, 3},
        {35, 4},
        {36, 3},
        {37, 17},
        {38, 18},
        {39, 19},
        {40, 6},
        {41, 4},
        {42, 2},
        {43, 1},
        {44, 0x07},
        {45, 0},
        {46, 0},
        {47, 0},
        {48, 77},
        {49, 9},
        {50, 200},
        {51, 33},
        {52, 0x01},
        {53, 0x02},
        {54, 0x01},
        {55, 0xF0},
        {56, 42},
        {57, 0},
        {60, 42},
        {63, 0},
        {64, 0x01},
        {65, 3},
        {66, 40},
        {67, 2},
        {68, 0},
        {75, 0},
        {76, 2},
        {77, 1},
        {78, 7},
        {79, 0},
        {80, 0x2D}, // 0x01 | 0x04 | 0x08 | 0x20
        {81, 4},
        {82, 5},
        {83, 6},
        {84, 0},
        {87, 0},
        {88, 42},
        {92, 42},
        {95, 0},
        {96, 0x01},
        {97, 200},
        {98, 2},
        {99, 0},
        {100, 0},
        {101, 0},
        {103, 0},
        {104, 42},
        {111, 42},
        {112, 100},
        {138, 126},
        {139, 42},
        {140, 10},
        {141, 20},
        {142, 30},
        {143, 201},
        // table A entry 0 = 0x00123456 -> 56 34 12
        {144, 0x56},
        {145, 0x34},
        {146, 0x12},
        // table A entry 1 = 0x010203 -> 03 02 01
        {147, 0x03},
        {148, 0x02},
        {149, 0x01},
        // table B entry 0 = 0xFFFFFF, entry 255 = 0xFFFF00
        {912, 0xFF},
        {914, 0xFF},
        {912 + 765, 0x00},
        {912 + 766, 0xFF},
        // table C entry 1 = 0x000100
        {1680 + 3, 0x00},
        {1680 + 4, 0x01},
        {1680 + 5, 0x00},
        // table D entry 0 = 0xABCD00, entry 1023 = 0xABD0FF
        {2448, 0x00},
        {2449, 0xCD},
        {2450, 0xAB},
        {5517, 0xFF},
        {5518, 0xD0},
        {5519, 0xAB},
    };
    for (const Byte& e : expected) EXPECT_EQ(b[std::size_t(e.offset)], e.value) << e.offset;
}

TEST(OptionsFileLayout, TheChannelItemIsWrittenTwice) {
    OptionsFileSettings o;
    o.channelItem = 2;
    o.channelItemAgain = 0; // what a reader saw; the writer repeats channelItem
    const auto b = bytesOf(o);
    EXPECT_EQ(b[99], 2);
    EXPECT_EQ(b[100], 2);
}

TEST(OptionsFileLayout, WriterProgressAndFailure) {
    VectorSink sink;
    ProgressLog ui;
    ASSERT_TRUE(writeOptionsFile(sink, distinctive(), ui));
    EXPECT_EQ(sink.bytes, bytesOf(distinctive()));
    EXPECT_EQ(ui.steps, (std::vector<int64_t>{0, 1, 2, 3, 4, 5, 6, 8, 40}));
    FailingSink broken(3);
    ProgressLog ui2;
    EXPECT_FALSE(writeOptionsFile(broken, distinctive(), ui2));
    EXPECT_EQ(broken.written, 64u); // the blocks ending at 16, 32 and 64
}

// --- reading ---------------------------------------------------------------------

class ReadOptions : public ::testing::Test {
  protected:
    OptionsFileRead read(const std::vector<uint8_t>& bytes) {
        MemorySource src(bytes);
        return readOptionsFile(src, *s);
    }
    StorePtr s = newStore();
};

TEST_F(ReadOptions, RoundTripRestoresEveryAppliedField) {
    const OptionsFileSettings o = distinctive();
    auto& h = s->header.value;
    // Settings the reader must leave as they are.
    h[hdr::TimeRange] = 2;
    h[hdr::Step] = 3;
    h[hdr::VelocityIndex] = 4;
    s->setVelocity(900);
    h[hdr::ViewFlags] = 0x02;
    h[hdr::OptionFlags] = 0x3C;
    h[hdr::AmplitudeFlags] = 0x80; // background on, which the file's 0x04 does not change
    h[hdr::VolumeInterp] = 1;

    const OptionsFileRead r = read(bytesOf(o));
    EXPECT_EQ(r.status, OptionsReadStatus::Applied);
    EXPECT_EQ(r.version, 17);
    for (int f = 0; f < int(OptionsField::Count); ++f) EXPECT_TRUE(r.applied(OptionsField(f))) << f;
    EXPECT_EQ(r.tableEntries, (std::array<int, 4>{256, 256, 256, 1024}));

    // Header cells of the applied fields.
    EXPECT_EQ(h[24], 1);
    EXPECT_EQ(h[25], 2);
    EXPECT_EQ(h[26], 3);
    EXPECT_EQ(h[27], 4);
    EXPECT_EQ(h[28], 3);
    EXPECT_EQ(h[29], 17);
    EXPECT_EQ(h[30], 18);
    EXPECT_EQ(h[31], 19);
    EXPECT_EQ(h[hdr::ColourMode], 6);
    EXPECT_EQ(h[hdr::LevelTable], 4);
    EXPECT_EQ(h[hdr::AmplitudeForm], 2);
    EXPECT_EQ(h[hdr::ZeroGainMode], 1);
    EXPECT_EQ(h[hdr::AmplitudeFlags], 0x80 | 0x10 | 0x20);
    EXPECT_EQ(h[hdr::ZeroLevel], 77);
    EXPECT_EQ(h[hdr::GainRange], 9);
    EXPECT_EQ(h[hdr::GainLevel1], 200);
    EXPECT_EQ(h[hdr::GainLevel2], 33);
    EXPECT_EQ(s->header.get16(hdr::GainPos1), 0x0102);
    EXPECT_EQ(s->header.get16(hdr::GainPos2), 0x01F0);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(h[std::size_t(80 + i)], 100 + i);

    // Values for the window.
    EXPECT_EQ(r.values.colourComponents, o.colourComponents);
    EXPECT_EQ(r.values.tableA, o.tableA);
    EXPECT_EQ(r.values.tableB, o.tableB);
    EXPECT_EQ(r.values.tableC, o.tableC);
    EXPECT_EQ(r.values.tableD, o.tableD);
    EXPECT_TRUE(r.values.inversion);
    EXPECT_TRUE(r.values.chosenAmplitude);

    // Read, not applied: velocity, time range, step, flags, volume items.
    EXPECT_EQ(h[hdr::TimeRange], 2);
    EXPECT_EQ(h[hdr::Step], 3);
    EXPECT_EQ(h[hdr::VelocityIndex], 4);
    EXPECT_EQ(s->velocityCode, 900);
    EXPECT_EQ(h[hdr::ViewFlags], 0x02);
    EXPECT_EQ(h[hdr::OptionFlags], 0x3C);
    EXPECT_EQ(h[hdr::VolumeInterp], 1);
    // ... but reported as the file holds them.
    EXPECT_EQ(r.values.velocityCode, 0x1234);
    EXPECT_EQ(r.values.timeRangeItem, 5);
    EXPECT_EQ(r.values.addition, o.addition);
    EXPECT_EQ(r.values.layerChecks, o.layerChecks);
    EXPECT_EQ(r.values.layerItems, o.layerItems);
    EXPECT_EQ(r.values.startDelayItem, 200);
    EXPECT_EQ(r.values.chosenCode, 201);
    EXPECT_TRUE(r.values.english);
    EXPECT_TRUE(r.values.processAll);
    EXPECT_EQ(r.values.profileDistanceItem, 40);
}

TEST_F(ReadOptions, ClearedFlagsClearTheirHeaderBits) {
    s->header.value[hdr::AmplitudeFlags] = 0x10 | 0x20 | 0x40;
    OptionsFileSettings o;
    o.inversion = false;
    o.chosenAmplitude = false;
    read(bytesOf(o));
    EXPECT_EQ(s->header.value[hdr::AmplitudeFlags], 0x40);
}

TEST_F(ReadOptions, WriteFromStoreThenReadBack) {
    // Settings taken from one store, written, and applied to another.
    auto& h = s->header.value;
    h[hdr::Filter1Kind] = 2;
    h[hdr::Filter1Kind + 3] = 11;
    h[hdr::ColourMode] = 4;
    h[hdr::LevelTable] = 0;
    h[hdr::ZeroLevel] = 90;
    s->header.set16(hdr::GainPos2, 300);
    h[hdr::LayerColour + 5] = 250;
    DeviceOptions d;
    d.startDelayItem = 300; // low byte 44
    const OptionsFileSettings o = optionsFromStore(*s, d);
    EXPECT_EQ(o.startDelayItem, 44);
    EXPECT_EQ(o.channelItem, 1);
    EXPECT_EQ(o.viewStepItem, 2);
    EXPECT_TRUE(o.function);
    EXPECT_TRUE(o.showParameters);
    EXPECT_FALSE(o.english);
    const auto bytes = bytesOf(o);

    StorePtr other = newStore();
    MemorySource src(bytes);
    const OptionsFileRead r = readOptionsFile(src, *other);
    EXPECT_EQ(r.status, OptionsReadStatus::Applied);
    for (int c :
         {23, 24, 25, 26, 27, 28, 29, 30, 31, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 47})
        EXPECT_EQ(other->header.value[std::size_t(c)], h[std::size_t(c)]) << c;
    for (int c = 80; c <= 106; ++c)
        EXPECT_EQ(other->header.value[std::size_t(c)], h[std::size_t(c)]) << c;
}

TEST_F(ReadOptions, UnknownVersionsApplyNothing) {
    for (int version : {0, 10, 14, 16, 18, 255}) {
        auto bytes = bytesOf(distinctive());
        bytes[5] = uint8_t(version);
        const std::array<uint8_t, HEADER_CELLS> before = s->header.value;
        const OptionsFileRead r = read(bytes);
        EXPECT_EQ(r.status, OptionsReadStatus::UnknownVersion) << version;
        EXPECT_EQ(r.version, version);
        EXPECT_EQ(r.appliedFields, 0u);
        EXPECT_EQ(s->header.value, before);
    }
}

TEST_F(ReadOptions, CutShortKeepsWhatWasApplied) {
    struct Case {
        std::size_t size;
        OptionsField lastApplied; // the last field whose bytes the file holds
        std::array<int, 4> entries;
    };
    const Case cases[] = {
        {40, OptionsField::Filter2X, {0, 0, 0, 0}},
        {45, OptionsField::AmplitudeFlags, {0, 0, 0, 0}},
        {53, OptionsField::GainLevel2, {0, 0, 0, 0}}, // GainPos1 needs 52 and 53
        {130, OptionsField::GainPos2, {0, 0, 0, 0}},  // the layer colours end at 138
        {142, OptionsField::ColourComponent33, {0, 0, 0, 0}},
        {144 + 31, OptionsField::ColourComponent34, {10, 0, 0, 0}},
        {2448 + 3000, OptionsField::ColourTableC, {256, 256, 256, 1000}},
        {5519, OptionsField::ColourTableC, {256, 256, 256, 1023}},
    };
    for (const Case& c : cases) {
        StorePtr fresh = newStore();
        const std::array<uint8_t, HEADER_CELLS> start = fresh->header.value;
        const auto full = bytesOf(distinctive());
        const std::vector<uint8_t> bytes(full.begin(), full.begin() + std::ptrdiff_t(c.size));
        MemorySource src(bytes);
        const OptionsFileRead r = readOptionsFile(src, *fresh);
        EXPECT_EQ(r.status, OptionsReadStatus::CutShort) << c.size;
        for (int f = 0; f < int(OptionsField::Count); ++f)
            EXPECT_EQ(r.applied(OptionsField(f)), f <= int(c.lastApplied)) << c.size << " " << f;
        EXPECT_EQ(r.tableEntries, c.entries) << c.size;
        // Cells of fields past the cut keep their values.
        if (c.size < 112) {
            for (int cell = 80; cell <= 106; ++cell)
                EXPECT_EQ(fresh->header.value[std::size_t(cell)], start[std::size_t(cell)]);
        }
        if (c.size == 53) {
            EXPECT_EQ(fresh->header.value[hdr::GainLevel2], 33);
            EXPECT_EQ(fresh->header.get16(hdr::GainPos1), 0);
        }
    }
    // Shorter than the version byte: nothing at all.
    const std::vector<uint8_t> tiny = {'T', 'E', 'S', 'K', 42};
    const OptionsFileRead r = read(tiny);
    EXPECT_EQ(r.status, OptionsReadStatus::CutShort);
    EXPECT_EQ(r.appliedFields, 0u);
}

TEST_F(ReadOptions, ValuesOutsideTheirBoxesAreNotApplied) {
    auto& h = s->header.value;
    const std::array<uint8_t, HEADER_CELLS> before = h;
    OptionsFileSettings o;
    o.filter1 = {4, 20, 19, 0}; // kind has items 0..3, L/T/X 0..19
    o.filter2 = {3, 0, 0, 200};
    o.colourModeItem = 8;
    o.levelTableItem = 5;
    o.amplitudeFormItem = 3;
    o.zeroGainModeItem = 3;
    o.GainRange = 0;
    o.GainLevel1 = 0;
    o.GainLevel2 = 255;
    o.GainPos1 = 512;
    o.GainPos2 = 511;
    const OptionsFileRead r = read(bytesOf(o));
    EXPECT_EQ(r.status, OptionsReadStatus::Applied);
    EXPECT_FALSE(r.applied(OptionsField::Filter1Kind));
    EXPECT_FALSE(r.applied(OptionsField::Filter1L));
    EXPECT_TRUE(r.applied(OptionsField::Filter1T));
    EXPECT_TRUE(r.applied(OptionsField::Filter2Kind));
    EXPECT_FALSE(r.applied(OptionsField::Filter2X));
    EXPECT_FALSE(r.applied(OptionsField::ColourMode));
    EXPECT_FALSE(r.applied(OptionsField::LevelTable));
    EXPECT_FALSE(r.applied(OptionsField::AmplitudeForm));
    EXPECT_FALSE(r.applied(OptionsField::ZeroGainMode));
    EXPECT_FALSE(r.applied(OptionsField::GainRange));
    EXPECT_FALSE(r.applied(OptionsField::GainLevel1));
    EXPECT_TRUE(r.applied(OptionsField::GainLevel2));
    EXPECT_FALSE(r.applied(OptionsField::GainPos1));
    EXPECT_TRUE(r.applied(OptionsField::GainPos2));
    EXPECT_EQ(h[24], before[24]);
    EXPECT_EQ(h[25], before[25]);
    EXPECT_EQ(h[26], 19);
    EXPECT_EQ(h[28], 3);
    EXPECT_EQ(h[31], before[31]);
    EXPECT_EQ(h[hdr::ColourMode], before[hdr::ColourMode]);
    EXPECT_EQ(h[hdr::LevelTable], before[hdr::LevelTable]);
    EXPECT_EQ(h[hdr::GainRange], before[hdr::GainRange]);
    EXPECT_EQ(h[hdr::GainLevel1], before[hdr::GainLevel1]);
    EXPECT_EQ(h[hdr::GainLevel2], 255);
    EXPECT_EQ(s->header.get16(hdr::GainPos1), 0);
    // The largest gain range the step buttons reach is applied.
    o.GainRange = 33;
    read(bytesOf(o));
    EXPECT_EQ(h[hdr::GainRange], 33);
}

TEST_F(ReadOptions, TableEntriesReadBackInTheirByteOrder) {
    std::vector<uint8_t> bytes = bytesOf(OptionsFileSettings{});
    bytes[144] = 0x56;
    bytes[145] = 0x34;
    bytes[146] = 0x12;
    bytes[5517] = 0x01;
    bytes[5518] = 0x02;
    bytes[5519] = 0x03;
    const OptionsFileRead r = read(bytes);
    EXPECT_EQ(r.values.tableA[0], 0x00123456u);
    EXPECT_EQ(r.values.tableD[1023], 0x00030201u);
}

} // namespace
} // namespace tesk::testing
