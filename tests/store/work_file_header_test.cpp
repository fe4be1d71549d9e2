// How the reader takes the survey settings from the work-file header: the
// validity rules of generation 16 and the older arrangements.

#include "support/store_test_support.h"

#include "store/byte_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesk::testing {
namespace {

class HeaderRead : public ::testing::Test {
  protected:
    void read(const WorkFileImage& f, bool append = false) {
        MemorySource src(f.bytes);
        readWorkFile(src, f.generation(), append, *s, ui);
    }
    StorePtr s = newStore();
    RecordingInteraction ui;
};

// One frame, so the count is not zero and the header is read.
WorkFileImage oneFrame(const Layout& l) {
    WorkFileImage f(l);
    f.setCount(1);
    f.record(0)[0] = 50;
    return f;
}

// --- generation 16 ---------------------------------------------------------------

struct Rule16 {
    int byte;
    int width; // 1, or 2 for a big-endian u16
    int fileValue;
    int expected;
    const char* name;
};

std::ostream& operator<<(std::ostream& os, const Rule16& r) {
    return os << r.name;
}

class Gen16HeaderRule : public HeaderRead, public ::testing::WithParamInterface<Rule16> {};

TEST_P(Gen16HeaderRule, ByteStoredAfterItsRule) {
    const Rule16& r = GetParam();
    WorkFileImage f = oneFrame(GEN16);
    setPlainSettings16(f);
    if (r.width == 2)
        f.setHeader16(r.byte, uint16_t(r.fileValue));
    else
        f.header(r.byte) = uint8_t(r.fileValue);
    read(f);
    const int got = r.width == 2 ? s->header.get16(r.byte) : s->header.value[r.byte];
    EXPECT_EQ(got, r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gen16HeaderRule,
    ::testing::Values(
        Rule16{5, 1, 7, 7, "deviceTypeAsIs"}, Rule16{7, 1, 31, 31, "dayAsIs"},
        Rule16{8, 1, 12, 12, "monthAsIs"}, Rule16{9, 1, 99, 99, "yearAsIs"},
        Rule16{10, 1, 23, 23, "hourAsIs"}, Rule16{11, 1, 59, 59, "minuteAsIs"},
        // ComboBox11: eight time ranges.
        Rule16{18, 1, 7, 7, "timeRangeLastItem"}, Rule16{18, 1, 8, 0, "timeRangeOutOfRange"},
        Rule16{18, 1, 255, 0, "timeRange255"},
        // ComboBox12: 29 profile steps.
        Rule16{19, 1, 28, 28, "stepLastItem"}, Rule16{19, 1, 29, 4, "stepOutOfRange"},
        // ComboBox10: item 0 and 19 velocities.
        Rule16{20, 1, 19, 19, "velocityItemLast"}, Rule16{20, 1, 20, 0, "velocityItemOutOfRange"},
        // ComboBox28: eight colour counts.
        Rule16{23, 1, 7, 7, "colourModeLastItem"}, Rule16{23, 1, 8, 0, "colourModeOutOfRange"},
        // Filter kinds: four items; L, T, X: 0 .. 19.
        Rule16{24, 1, 3, 3, "filter1KindLastItem"}, Rule16{24, 1, 4, 0, "filter1KindOutOfRange"},
        Rule16{25, 1, 19, 19, "filter1LLastItem"}, Rule16{25, 1, 20, 0, "filter1LOutOfRange"},
        Rule16{26, 1, 20, 0, "filter1TOutOfRange"}, Rule16{27, 1, 20, 0, "filter1XOutOfRange"},
        Rule16{28, 1, 4, 0, "filter2KindOutOfRange"}, Rule16{29, 1, 20, 0, "filter2LOutOfRange"},
        Rule16{30, 1, 19, 19, "filter2TLastItem"}, Rule16{31, 1, 20, 0, "filter2XOutOfRange"},
        // viewFlags: low four bits above 7 are cleared, the rest stays.
        Rule16{32, 1, 0xE7, 0xE7, "viewFlagsItem7"}, Rule16{32, 1, 0x08, 0x00, "viewFlagsLow8"},
        Rule16{32, 1, 0xEF, 0xE0, "viewFlagsLow15"}, Rule16{32, 1, 0x17, 0x17, "viewFlagsBit4"},
        Rule16{33, 1, 0x38, 0x38, "optionFlags"},
        // CheckBox23 (0x20) always comes back unchecked.
        Rule16{34, 1, 0xF0, 0xD0, "amplitudeFlagsHighlightCleared"},
        Rule16{34, 1, 0x20, 0x00, "amplitudeFlagsHighlightAlone"},
        Rule16{34, 1, 0xD0, 0xD0, "amplitudeFlagsOthersKept"},
        // ComboBox18 and ComboBox19: three items each.
        Rule16{35, 1, 2, 2, "amplitudeFormLastItem"},
        Rule16{35, 1, 3, 1, "amplitudeFormOutOfRange"}, Rule16{36, 1, 2, 2, "zeroGainModeLastItem"},
        Rule16{36, 1, 3, 0, "zeroGainModeOutOfRange"}, Rule16{37, 1, 0, 0, "zeroLevelZero"},
        Rule16{37, 1, 200, 200, "zeroLevelAsIs"}, Rule16{38, 1, 0, 64, "gainLevel1Zero"},
        Rule16{38, 1, 1, 1, "gainLevel1One"}, Rule16{39, 1, 0, 64, "gainLevel2Zero"},
        Rule16{39, 1, 255, 255, "gainLevel2Max"}, Rule16{40, 2, 511, 511, "gainPos1At511"},
        Rule16{40, 2, 512, 0, "gainPos1Above511"}, Rule16{40, 2, 0, 0, "gainPos1Zero"},
        Rule16{42, 2, 0, 511, "gainPos2Zero"}, Rule16{42, 2, 512, 511, "gainPos2Above511"},
        Rule16{42, 2, 1, 1, "gainPos2One"}, Rule16{42, 2, 511, 511, "gainPos2At511"},
        Rule16{44, 1, 0, 1, "gainRangeZero"}, Rule16{44, 1, 34, 1, "gainRangeAbove33"},
        Rule16{44, 1, 33, 33, "gainRange33StepButtonMaximum"}, Rule16{44, 1, 32, 32, "gainRange32"},
        // ComboBox13: 38 antenna distances.
        Rule16{45, 1, 37, 37, "antennaLastItem"}, Rule16{45, 1, 38, 0, "antennaOutOfRange"},
        // ComboBox15: 23 depth steps.
        Rule16{46, 1, 0, 8, "depthStepZero"}, Rule16{46, 1, 22, 22, "depthStepLastItem"},
        Rule16{46, 1, 23, 8, "depthStepOutOfRange"},
        // ComboBox29: five level tables.
        Rule16{47, 1, 4, 4, "levelTableLastItem"}, Rule16{47, 1, 5, 0, "levelTableOutOfRange"},
        Rule16{48, 1, 0xE0, 0xE0, "coordFlags"},
        // ComboBox51: five items; ComboBox52: 48 distances; ComboBox54: four layouts.
        Rule16{49, 1, 4, 4, "volumeInterpLastItem"}, Rule16{49, 1, 5, 0, "volumeInterpOutOfRange"},
        Rule16{50, 1, 47, 47, "profileDistanceLastItem"},
        Rule16{50, 1, 48, 9, "profileDistanceOutOfRange"}, Rule16{51, 1, 3, 3, "sectionLastItem"},
        Rule16{51, 1, 4, 0, "sectionOutOfRange"}, Rule16{80, 1, 0x12, 0x12, "layerColourFirst"},
        Rule16{106, 1, 0xFE, 0xFE, "layerColourLast"},
        // Bytes the reader does not take back keep the store's values.
        Rule16{13, 1, 'A', 'Q', "constantNotRead"}, Rule16{52, 1, 9, 0, "byte52NotRead"},
        Rule16{55, 1, 0x11, 0xC0, "byte55NotRead"}, Rule16{60, 1, 9, 0, "byte60NotRead"},
        Rule16{64, 1, 9, 0, "byte64NotRead"}, Rule16{79, 1, 9, 0, "byte79NotRead"},
        Rule16{107, 1, 9, 0, "byte107NotRead"}, Rule16{127, 1, 9, 0, "byte127NotRead"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeaderRead, Gen16DeviceTypeAndHmaxReachTheScalars) {
    WorkFileImage f = oneFrame(GEN16);
    setPlainSettings16(f);
    f.header(5) = 4;
    f.header(61) = 0x01;
    f.header(62) = 0x86;
    f.header(63) = 0xA0;
    read(f);
    EXPECT_EQ(s->deviceType, 4);
    EXPECT_EQ(s->Hmax, 100000u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 100000u);
}

struct VelocityRule {
    uint16_t fileCode;
    uint8_t fileItem;
    uint16_t code;
    uint8_t item;
    double permittivity;
};

std::ostream& operator<<(std::ostream& os, const VelocityRule& r) {
    return os << r.fileCode << "/" << int(r.fileItem);
}

class Gen16Velocity : public HeaderRead, public ::testing::WithParamInterface<VelocityRule> {};

TEST_P(Gen16Velocity, CodesOutside160To1500Become555OnTheHodographItem) {
    const VelocityRule& r = GetParam();
    WorkFileImage f = oneFrame(GEN16);
    setPlainSettings16(f);
    f.setHeader16(21, r.fileCode);
    f.header(20) = r.fileItem;
    read(f);
    EXPECT_EQ(s->velocityCode, r.code);
    EXPECT_EQ(s->header.get16(hdr::VelocityCode), r.code);
    EXPECT_EQ(s->header.value[hdr::VelocityIndex], r.item);
    EXPECT_EQ(s->hodographVelocity, r.code) << "kept as the hodograph entry";
    EXPECT_DOUBLE_EQ(s->permittivity, r.permittivity);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gen16Velocity,
    ::testing::Values(VelocityRule{100, 5, 555, 0, 7.30}, // 730.46 -> 730
                      VelocityRule{159, 5, 555, 0, 7.30},
                      VelocityRule{160, 5, 160, 5, 87.89}, // 8789.06 -> 8789
                      VelocityRule{1500, 1, 1500, 1, 1.00}, VelocityRule{1501, 3, 555, 0, 7.30},
                      VelocityRule{0, 0, 555, 0, 7.30},
                      VelocityRule{800, 7, 800, 7, 3.52},   // 351.56 -> 352
                      VelocityRule{500, 25, 500, 0, 9.00}), // item out of range only
    [](const auto& info) {
        return "code" + std::to_string(info.param.fileCode) + "item" +
               std::to_string(info.param.fileItem);
    });

TEST_F(HeaderRead, Gen16AppendReadsNoHeaderAtAll) {
    s->frameCount = 40;
    const std::array<uint8_t, HEADER_CELLS> before = s->header.value;
    WorkFileImage f = oneFrame(GEN16);
    for (int b = 18; b < 128; ++b) f.header(b) = uint8_t(b * 3);
    f.header(5) = 9;
    f.header(7) = 9;
    read(f, true);
    for (int c = 0; c < HEADER_CELLS; ++c) {
        if (c == 16 || c == 17) continue; // the new frame count
        EXPECT_EQ(s->header.value[c], before[c]) << "cell " << c;
    }
    EXPECT_EQ(s->deviceType, 0);
}

// --- older generations: bytes 5..31 ---------------------------------------------

struct OldByte {
    Layout layout;
    int byte;
    uint8_t fileValue;
    int cell;
    uint8_t expected;
};

std::ostream& operator<<(std::ostream& os, const OldByte& r) {
    return os << genName(r.layout.generation) << " byte " << r.byte << "=" << int(r.fileValue);
}

// Settings bytes that every rule of the older layouts accepts as they stand.
void setPlainOldSettings(WorkFileImage& f) {
    const int g = f.layout.generation;
    if (g == 7) {
        f.header(18) = 0;
        f.header(19) = 1;
        f.header(20) = 2;
        f.header(21) = 50;
        f.header(23) = 1;
        return;
    }
    if (g == 8) {
        f.header(19) = 1;
        f.header(20) = 2;
        f.header(22) = 1;
        f.header(23) = 50;
    } else {
        f.header(18) = 2;
        f.header(19) = 1;
        f.header(20) = 1;
        if (g == 9)
            f.header(22) = 50;
        else
            f.setHeader16(21, 500);
    }
    f.header(35) = 5;
    f.header(36) = 3;
    f.header(37) = 100;
    f.header(38) = 100;
    f.header(39) = 100;
    f.setHeader16(42, 400);
    f.header(44) = 2;
}

class OldHeaderByte : public HeaderRead, public ::testing::WithParamInterface<OldByte> {};

TEST_P(OldHeaderByte, SettingTakenFromWhereTheGenerationKeepsIt) {
    const OldByte& r = GetParam();
    WorkFileImage f = oneFrame(r.layout);
    setPlainOldSettings(f);
    f.header(r.byte) = r.fileValue;
    read(f);
    EXPECT_EQ(s->header.value[r.cell], r.expected);
}

std::vector<OldByte> oldByteCases() {
    std::vector<OldByte> v = {
        // Generation 7: no device type, no date; items from bytes 19, 20, 23.
        {GEN7, 5, 9, 5, 0},
        {GEN7, 7, 25, 7, 1},
        {GEN7, 8, 12, 8, 1},
        {GEN7, 9, 21, 9, 7},
        {GEN7, 10, 14, 10, 0},
        {GEN7, 11, 30, 11, 0},
        {GEN7, 19, 28, 19, 28},
        {GEN7, 19, 29, 19, 0},
        {GEN7, 20, 7, 18, 7},
        {GEN7, 20, 8, 18, 1},
        {GEN7, 23, 19, 20, 19},
        {GEN7, 23, 20, 20, 0},
        {GEN7, 24, 2, 24, 0}, // nothing else is read
        {GEN7, 35, 2, 35, 1},
        // Generation 8: date, no device type; items from bytes 19..22; filters.
        {GEN8, 5, 9, 5, 0},
        {GEN8, 7, 25, 7, 25},
        {GEN8, 9, 21, 9, 21},
        {GEN8, 11, 30, 11, 30},
        {GEN8, 19, 28, 19, 28},
        {GEN8, 19, 29, 19, 0},
        {GEN8, 20, 7, 18, 7},
        {GEN8, 20, 8, 18, 1},
        {GEN8, 21, 7, 23, 7},
        {GEN8, 21, 8, 23, 0},
        {GEN8, 22, 19, 20, 19},
        {GEN8, 22, 20, 20, 0},
        {GEN8, 24, 3, 24, 3},
        {GEN8, 24, 4, 24, 0},
        {GEN8, 27, 19, 27, 19},
        {GEN8, 27, 20, 27, 0},
        {GEN8, 28, 4, 28, 0},
        {GEN8, 31, 20, 31, 0},
    };
    // Generations 9 .. 13 keep bytes 5..20, 23..31 where generation 16 does.
    for (const Layout& l : {GEN9, GEN11, GEN12, GEN13}) {
        v.push_back({l, 5, 9, 5, 9});
        v.push_back({l, 7, 25, 7, 25});
        v.push_back({l, 11, 30, 11, 30});
        v.push_back({l, 18, 7, 18, 7});
        v.push_back({l, 18, 8, 18, 0});
        v.push_back({l, 19, 29, 19, 4});
        v.push_back({l, 20, 19, 20, 19});
        v.push_back({l, 20, 20, 20, 0});
        v.push_back({l, 23, 7, 23, 7});
        v.push_back({l, 23, 8, 23, 0});
        v.push_back({l, 24, 4, 24, 0});
        v.push_back({l, 30, 20, 30, 0});
    }
    return v;
}

INSTANTIATE_TEST_SUITE_P(Cases, OldHeaderByte, ::testing::ValuesIn(oldByteCases()));

struct ViewStepCase {
    Layout layout;
    uint8_t byte18;
    uint8_t item;
};

class OldViewStep : public HeaderRead, public ::testing::WithParamInterface<ViewStepCase> {};

TEST_P(OldViewStep, Byte18And7Plus2AboveSevenBecomes2) {
    const ViewStepCase& c = GetParam();
    WorkFileImage f = oneFrame(c.layout);
    setPlainOldSettings(f);
    f.header(18) = c.byte18;
    read(f);
    EXPECT_EQ(s->header.value[hdr::ViewFlags] & 0x07, c.item);
}

INSTANTIATE_TEST_SUITE_P(Cases, OldViewStep,
                         ::testing::Values(ViewStepCase{GEN7, 0, 2}, ViewStepCase{GEN7, 5, 7},
                                           ViewStepCase{GEN7, 6, 2}, ViewStepCase{GEN7, 7, 2},
                                           ViewStepCase{GEN7, 0x0B, 5}, ViewStepCase{GEN8, 0xF8, 2},
                                           ViewStepCase{GEN8, 3, 5}, ViewStepCase{GEN8, 6, 2}));

struct OldVelocity {
    Layout layout;
    int byte;
    int width;
    int fileValue;
    uint16_t code;
};

std::ostream& operator<<(std::ostream& os, const OldVelocity& r) {
    return os << genName(r.layout.generation) << " byte " << r.byte << "=" << r.fileValue;
}

class OldGenerationVelocity : public HeaderRead,
                              public ::testing::WithParamInterface<OldVelocity> {};

TEST_P(OldGenerationVelocity, CodeFromItsByte) {
    const OldVelocity& r = GetParam();
    WorkFileImage f = oneFrame(r.layout);
    setPlainOldSettings(f);
    if (r.width == 2)
        f.setHeader16(r.byte, uint16_t(r.fileValue));
    else
        f.header(r.byte) = uint8_t(r.fileValue);
    read(f);
    EXPECT_EQ(s->velocityCode, r.code);
    EXPECT_EQ(s->header.get16(hdr::VelocityCode), r.code);
}

INSTANTIATE_TEST_SUITE_P(Cases, OldGenerationVelocity,
                         ::testing::Values(
                             // One byte in tenths of cm/ns; above 150 or below 16 counts as 50.
                             OldVelocity{GEN7, 21, 1, 80, 800}, OldVelocity{GEN7, 21, 1, 150, 1500},
                             OldVelocity{GEN7, 21, 1, 151, 500}, OldVelocity{GEN7, 21, 1, 16, 160},
                             OldVelocity{GEN7, 21, 1, 15, 500}, OldVelocity{GEN7, 21, 1, 0, 500},
                             OldVelocity{GEN8, 23, 1, 80, 800}, OldVelocity{GEN8, 23, 1, 200, 500},
                             OldVelocity{GEN9, 22, 1, 80, 800}, OldVelocity{GEN9, 22, 1, 10, 500},
                             OldVelocity{GEN9, 21, 1, 0x7F, 500}, // byte 21 plays no part
                             // Generations 11..13: the u16 with the generation-16 rule.
                             OldVelocity{GEN11, 21, 2, 800, 800},
                             OldVelocity{GEN11, 21, 2, 100, 555},
                             OldVelocity{GEN12, 21, 2, 1501, 555},
                             OldVelocity{GEN13, 21, 2, 167, 167}));

TEST_F(HeaderRead, Gen11VelocityOutOfRangeSelectsTheHodographItem) {
    WorkFileImage f = oneFrame(GEN11);
    setPlainOldSettings(f);
    f.header(20) = 7;
    f.setHeader16(21, 100);
    read(f);
    EXPECT_EQ(s->header.value[hdr::VelocityIndex], 0);
}

// --- older generations: bytes 32..54 ----------------------------------------------

struct Arrangement {
    Layout layout;
    int byte;
    int width;
    int fileValue;
    int cell;
    int mask; // of the cell's bits that the byte decides (width 1)
    int expected;
};

std::ostream& operator<<(std::ostream& os, const Arrangement& r) {
    return os << genName(r.layout.generation) << " byte " << r.byte << "=0x" << std::hex
              << r.fileValue << " -> cell " << std::dec << r.cell;
}

class OldArrangement : public HeaderRead, public ::testing::WithParamInterface<Arrangement> {};

TEST_P(OldArrangement, SettingMovedToItsCurrentPlace) {
    const Arrangement& r = GetParam();
    WorkFileImage f = oneFrame(r.layout);
    setPlainOldSettings(f);
    if (r.width == 2)
        f.setHeader16(r.byte, uint16_t(r.fileValue));
    else
        f.header(r.byte) = uint8_t(r.fileValue);
    read(f);
    const int got = r.width == 2 ? s->header.get16(r.cell) : (s->header.value[r.cell] & r.mask);
    EXPECT_EQ(got, r.expected);
}

std::vector<Arrangement> arrangementCases() {
    std::vector<Arrangement> v;
    for (const Layout& l : {GEN8, GEN9}) {
        const std::vector<Arrangement> rows = {
            {l, 34, 1, 0x01, 32, 0x80, 0x80},                                   // CheckBox1
            {l, 34, 1, 0x00, 32, 0x80, 0x00}, {l, 34, 1, 0x02, 35, 0xFF, 2},    // ComboBox18 item 2
            {l, 34, 1, 0x00, 35, 0xFF, 1},                                      // else 1
            {l, 34, 1, 0x04, 36, 0xFF, 1},                                      // ComboBox19 item 1
            {l, 34, 1, 0x00, 36, 0xFF, 0},    {l, 34, 1, 0x08, 34, 0x20, 0x20}, // CheckBox23
            {l, 34, 1, 0x10, 34, 0x10, 0x10},                                   // CheckBox22
            {l, 34, 1, 0x00, 34, 0x30, 0x00}, {l, 34, 1, 0x20, 47, 0xFF, 1},    // ComboBox29 item 1
            {l, 34, 1, 0x40, 47, 0xFF, 0},    {l, 34, 1, 0x00, 47, 0xFF, 0},
            {l, 35, 1, 37, 45, 0xFF, 37},     {l, 35, 1, 38, 45, 0xFF, 0},
            {l, 36, 1, 0, 46, 0xFF, 6},       {l, 36, 1, 22, 46, 0xFF, 22},
            {l, 36, 1, 23, 46, 0xFF, 6},      {l, 37, 1, 0, 37, 0xFF, 64},
            {l, 37, 1, 77, 37, 0xFF, 77},     {l, 38, 1, 0, 38, 0xFF, 64},
            {l, 39, 1, 0, 39, 0xFF, 64},      {l, 40, 2, 512, 40, 0, 0},
            {l, 42, 2, 0, 42, 0, 511},        {l, 42, 2, 512, 42, 0, 511},
            {l, 42, 2, 300, 42, 0, 300},      {l, 44, 1, 0, 44, 0xFF, 1},
            {l, 44, 1, 34, 44, 0xFF, 1},      {l, 44, 1, 33, 44, 0xFF, 33},
            {l, 44, 1, 32, 44, 0xFF, 32},
        };
        v.insert(v.end(), rows.begin(), rows.end());
    }
    for (const Layout& l : {GEN11, GEN12}) {
        const std::vector<Arrangement> rows = {
            {l, 32, 1, 5, 32, 0x07, 5},       // ComboBox16 item
            {l, 32, 1, 7, 32, 0x07, 2},       // 7 becomes 2
            {l, 32, 1, 0xFD, 32, 0x87, 5},    // upper bits are not CheckBox1 here
            {l, 33, 1, 0x01, 32, 0x40, 0x40}, // CheckBox4
            {l, 33, 1, 0x00, 32, 0x40, 0x00}, {l, 33, 1, 0x02, 33, 0x08, 0x08}, // CheckBox13
            {l, 33, 1, 0x10, 33, 0x10, 0x10},                                   // CheckBox12
            {l, 33, 1, 0x20, 33, 0x20, 0x20},                                   // CheckBox11
            {l, 33, 1, 0x00, 33, 0x38, 0x00}, {l, 33, 1, 0x40, 32, 0x20, 0x20}, // CheckBox2
            {l, 34, 1, 0x01, 32, 0x80, 0x80},                                   // CheckBox1
            {l, 34, 1, 0x08, 34, 0x20, 0x20}, {l, 34, 1, 0x10, 34, 0x10, 0x10},
            {l, 34, 1, 0x20, 47, 0xFF, 1}, // bits 5..6: ComboBox29 item
            {l, 34, 1, 0x40, 47, 0xFF, 2},    {l, 34, 1, 0x60, 47, 0xFF, 3},
            {l, 35, 1, 38, 45, 0xFF, 0},      {l, 36, 1, 0, 46, 0xFF, 6},
            {l, 37, 1, 0, 37, 0xFF, 0}, // ZeroLevel as is
            {l, 38, 1, 0, 38, 0xFF, 64},      {l, 49, 1, 4, 49, 0xFF, 4},
            {l, 50, 1, 47, 50, 0xFF, 47},
        };
        v.insert(v.end(), rows.begin(), rows.end());
    }
    const std::vector<Arrangement> gen11Only = {
        {GEN11, 34, 1, 0x02, 35, 0xFF, 2},
        {GEN11, 34, 1, 0x04, 36, 0xFF, 1},
        {GEN11, 53, 1, 2, 35, 0xFF, 1}, // bytes 53, 54 are not generation 11's
        {GEN11, 54, 1, 2, 36, 0xFF, 0},
        {GEN11, 52, 1, 3, 51, 0xFF, 1}, // nor 52: ComboBox54 keeps its item
    };
    const std::vector<Arrangement> gen12Only = {
        {GEN12, 53, 1, 2, 35, 0xFF, 2},
        {GEN12, 54, 1, 2, 36, 0xFF, 2},
    };
    const std::vector<Arrangement> gen13 = {
        {GEN13, 32, 1, 7, 32, 0x07, 7},                                             // 7 stays
        {GEN13, 32, 1, 0x40, 32, 0x40, 0x40},                                       // CheckBox4
        {GEN13, 32, 1, 0x00, 32, 0x40, 0x00}, {GEN13, 32, 1, 0x80, 32, 0x80, 0x80}, // CheckBox1
        {GEN13, 33, 1, 0x01, 32, 0x40, 0x00}, // not CheckBox4 here
        {GEN13, 33, 1, 0x02, 33, 0x08, 0x08}, {GEN13, 33, 1, 0x10, 33, 0x10, 0x10},
        {GEN13, 33, 1, 0x20, 33, 0x20, 0x20}, {GEN13, 33, 1, 0x40, 32, 0x20, 0x20},
        {GEN13, 34, 1, 0x01, 32, 0x80, 0x00}, // not CheckBox1 here
        {GEN13, 34, 1, 0x08, 34, 0x20, 0x20}, {GEN13, 34, 1, 0x10, 34, 0x10, 0x10},
        {GEN13, 34, 1, 0x80, 34, 0x80, 0x80}, // CheckBox21
        {GEN13, 34, 1, 0x60, 47, 0xFF, 3},    {GEN13, 37, 1, 0, 37, 0xFF, 0},
        {GEN13, 49, 1, 4, 49, 0xFF, 4},       {GEN13, 50, 1, 47, 50, 0xFF, 47},
        {GEN13, 52, 1, 3, 51, 0xFF, 3}, // ComboBox54
        {GEN13, 53, 1, 2, 35, 0xFF, 2}, // ComboBox18
        {GEN13, 54, 1, 1, 36, 0xFF, 1}, // ComboBox19
    };
    v.insert(v.end(), gen11Only.begin(), gen11Only.end());
    v.insert(v.end(), gen12Only.begin(), gen12Only.end());
    v.insert(v.end(), gen13.begin(), gen13.end());
    return v;
}

INSTANTIATE_TEST_SUITE_P(Cases, OldArrangement, ::testing::ValuesIn(arrangementCases()));

// --- layer colours -----------------------------------------------------------------

class OldLayerColours : public HeaderRead,
                        public ::testing::WithParamInterface<std::pair<Layout, bool>> {};

TEST_P(OldLayerColours, TakenFromGeneration9On) {
    const auto& [layout, carried] = GetParam();
    WorkFileImage f = oneFrame(layout);
    setPlainOldSettings(f);
    for (int b = 80; b <= 106; ++b) f.header(b) = uint8_t(b - 79);
    read(f);
    // Start-up colours of entry 1 are 0, 140, 200.
    EXPECT_EQ(s->header.value[84], carried ? 5 : 140);
    EXPECT_EQ(s->header.value[106], carried ? 27 : 0);
    EXPECT_EQ(s->header.value[80], carried ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Generations, OldLayerColours,
                         ::testing::Values(std::pair{GEN7, false}, std::pair{GEN8, false},
                                           std::pair{GEN9, true}, std::pair{GEN11, true},
                                           std::pair{GEN12, true}, std::pair{GEN13, true}),
                         [](const auto& info) { return genName(info.param.first.generation); });

} // namespace
} // namespace tesk::testing
