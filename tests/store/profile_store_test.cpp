// The survey store at start-up, its big-endian cell accessors, the clearing
// done before every open and the velocity and relief maximum setters.

#include "support/store_test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tesk::testing {
namespace {

// --- header start values -------------------------------------------------

struct StartRow {
    int first;                  // first header cell of the field
    std::vector<uint8_t> bytes; // value bytes from `first` on
    const char* field;
};

std::ostream& operator<<(std::ostream& os, const StartRow& r) {
    return os << r.field << "@" << r.first;
}

// The survey header as start-up leaves it, field by field.
const std::vector<StartRow>& startRows() {
    static const std::vector<StartRow> rows = {
        {0, {'T', 'E', 'S', 'K'}, "magic"},
        {4, {'*'}, "separator4"},
        {5, {0}, "deviceType"},
        {6, {'*'}, "separator6"},
        {7, {1}, "day"},
        {8, {1}, "month"},
        {9, {18}, "year"},
        {10, {0}, "hour"},
        {11, {0}, "minute"},
        {12, {23}, "formatVersion"},
        {13, {'Q', 'X', 'J'}, "constantQXJ"},
        {16, {0, 0}, "frameCount"},
        {18, {1}, "timeRangeIndex"},
        {19, {1}, "stepIndex"},
        {20, {1}, "velocityIndex"},
        {21, {0x00, 50}, "velocityCode"},
        {23, {0}, "colourModeIndex"},
        {24, {0}, "filter1Kind"},
        {25, {0, 0, 0}, "filter1LTX"},
        {28, {0}, "filter2Kind"},
        {29, {0, 0, 0}, "filter2LTX"},
        {32, {0x42}, "viewFlags"},
        {33, {0x3C}, "optionFlags"},
        {34, {0}, "amplitudeFlags"},
        {35, {1}, "amplitudeFormIndex"},
        {36, {0}, "zeroGainModeIndex"},
        {37, {128}, "ZeroLevel"},
        {38, {128}, "GainLevel1"},
        {39, {128}, "GainLevel2"},
        {40, {0, 0}, "GainPos1"},
        {42, {0x01, 0xFF}, "GainPos2"}, // 511
        {44, {1}, "GainRange"},
        {45, {10}, "antennaIndex"},
        {46, {5}, "depthStepIndex"},
        {47, {2}, "levelTableIndex"},
        {48, {0}, "coordFlags"},
        {49, {2}, "volumeInterpIndex"},
        {50, {8}, "profileDistanceIndex"},
        {51, {1}, "sectionIndex"},
        {52, {0, 0, 0}, "zero52"},
        {55, {0xC0, 0x80, 0x40}, "constantC08040"},
        {58, {0, 0, 0}, "zero58"},
        {61, {0, 0, 0}, "Hmax"},
        {64, std::vector<uint8_t>(16, 0), "zero64"},
        {80, {0, 0, 0}, "layerColour0"},
        {83, {0, 140, 200}, "layerColour1"},
        {86, {130, 130, 30}, "layerColour2"},
        {89, {80, 0, 160}, "layerColour3"},
        {92, {120, 0, 0}, "layerColour4"},
        {95, {0, 80, 80}, "layerColour5"},
        {98, {0, 0, 96}, "layerColour6"},
        {101, {0, 0, 0}, "layerColour7"},
        {104, {0, 0, 0}, "layerColour8"},
        {107, std::vector<uint8_t>(21, 0), "zero107"},
    };
    return rows;
}

class HeaderStartValue : public ::testing::TestWithParam<StartRow> {
  protected:
    static void SetUpTestSuite() { store_ = new ProfileStore(); }
    static void TearDownTestSuite() {
        delete store_;
        store_ = nullptr;
    }
    static ProfileStore* store_;
};
ProfileStore* HeaderStartValue::store_ = nullptr;

TEST_P(HeaderStartValue, CellHoldsItsStartValue) {
    const StartRow& r = GetParam();
    for (std::size_t i = 0; i < r.bytes.size(); ++i)
        EXPECT_EQ(store_->header.value[r.first + i], r.bytes[i]) << "cell " << r.first + int(i);
}

INSTANTIATE_TEST_SUITE_P(StartUp, HeaderStartValue, ::testing::ValuesIn(startRows()),
                         [](const auto& info) { return std::string(info.param.field); });

TEST(HeaderStartValueTable, CoversEveryCellOnce) {
    std::set<int> seen;
    for (const auto& r : startRows())
        for (std::size_t i = 0; i < r.bytes.size(); ++i)
            EXPECT_TRUE(seen.insert(r.first + int(i)).second) << "cell listed twice";
    EXPECT_EQ(seen.size(), std::size_t(HEADER_CELLS));
}

TEST(StoreStartUp, FramesEmptyAndScalarsAtRest) {
    auto s = std::make_unique<ProfileStore>();
    EXPECT_EQ(s->frameCount, 0);
    EXPECT_EQ(s->viewStart, 0);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->stateFlags, 0x3000);
    for (int slot : {0, 1, 1040, 51000, 63989, 64000}) {
        for (int c = 0; c < CELLS_PER_FRAME; ++c) {
            ASSERT_EQ(s->frame(slot).value[c], 0) << "slot " << slot << " cell " << c;
            ASSERT_EQ(s->frame(slot).work[c], 0) << "slot " << slot << " cell " << c;
        }
    }
}

TEST(StoreStartUp, ResetReturnsToTheStartUpState) {
    auto fresh = std::make_unique<ProfileStore>();
    auto s = newStore();
    for (int slot : {0, 777, 51000, 51001, 64000}) {
        s->frame(slot).value.fill(0x5A);
        s->frame(slot).work.fill(0xA5);
    }
    s->header.value.fill(0x11);
    s->header.work.fill(0x22);
    s->frameCount = 1040;
    s->viewStart = 9;
    s->deviceType = 4;
    s->setVelocity(800);
    s->setHmax(1234);
    s->fileKind = 16;
    s->stateFlags = 0x4C08;
    s->currentFileName = "x.gem";
    s->captionDate = "     01.01.01";
    s->reset();
    for (int slot : {0, 777, 51000, 51001, 64000}) {
        EXPECT_EQ(s->frame(slot).value, fresh->frame(slot).value) << slot;
        EXPECT_EQ(s->frame(slot).work, fresh->frame(slot).work) << slot;
    }
    EXPECT_EQ(s->header.value, fresh->header.value);
    EXPECT_EQ(s->header.work, fresh->header.work);
    EXPECT_EQ(s->frameCount, fresh->frameCount);
    EXPECT_EQ(s->viewStart, fresh->viewStart);
    EXPECT_EQ(s->deviceType, fresh->deviceType);
    EXPECT_EQ(s->velocityCode, fresh->velocityCode);
    EXPECT_EQ(s->permittivity, fresh->permittivity);
    EXPECT_EQ(s->Hmax, fresh->Hmax);
    EXPECT_EQ(s->fileKind, fresh->fileKind);
    EXPECT_EQ(s->stateFlags, fresh->stateFlags);
    EXPECT_EQ(s->currentFileName, fresh->currentFileName);
    EXPECT_EQ(s->captionDate, fresh->captionDate);
}

// --- bitmap template in the header's work bytes --------------------------

struct TemplateField {
    int offset;
    int width; // bytes, little-endian as bitmap files keep them
    uint32_t expected;
    const char* name;
};

uint32_t le(const std::array<uint8_t, HEADER_CELLS>& w, int offset, int width) {
    uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | w[offset + i];
    return v;
}

// A 1032 x 528 picture at 24 bits: rows of 1032 * 3 = 3096 bytes, which is
// already a multiple of four, so the pixel data is 3096 * 528 bytes.
constexpr uint32_t IMAGE_BYTES = 1032u * 3u * 528u;

class BitmapTemplate : public ::testing::TestWithParam<TemplateField> {};

TEST_P(BitmapTemplate, FieldPresetForTheStartUpPicture) {
    const TemplateField& f = GetParam();
    auto s = newStore();
    EXPECT_EQ(le(s->header.work, f.offset, f.width), f.expected);
}

INSTANTIATE_TEST_SUITE_P(
    StartUp, BitmapTemplate,
    ::testing::Values(
        TemplateField{0, 1, 'B', "signatureB"}, TemplateField{1, 1, 'M', "signatureM"},
        TemplateField{2, 4, 54 + IMAGE_BYTES, "fileSize"}, TemplateField{6, 4, 0, "reserved"},
        TemplateField{10, 4, 54, "dataOffset"}, TemplateField{14, 4, 40, "infoSize"},
        TemplateField{18, 4, 1032, "width"}, TemplateField{22, 4, 528, "height"},
        TemplateField{26, 2, 1, "planes"}, TemplateField{28, 2, 24, "bitsPerPixel"},
        TemplateField{30, 4, 0, "compression"}, TemplateField{34, 4, IMAGE_BYTES, "imageSize"},
        TemplateField{38, 4, 11811, "xPixelsPerMetre"},
        TemplateField{42, 4, 11811, "yPixelsPerMetre"}, TemplateField{46, 4, 0, "coloursUsed"},
        TemplateField{50, 4, 0, "coloursImportant"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitmapTemplateRest, OtherHeaderWorkBytesAreZero) {
    auto s = newStore();
    for (int k = 54; k < HEADER_CELLS; ++k) EXPECT_EQ(s->header.work[k], 0) << "work byte " << k;
}

// --- big-endian accessors --------------------------------------------------

TEST(CellAccessors, MultiCellIntegersAreBigEndianOverValueBytes) {
    FrameRecord f{};
    f.set16(cell::Boundary1, 0x1234);
    f.set24(cell::ReliefHeight, 0xABCDEF);
    f.set32(cell::UcsX, 0x89ABCDEF);
    EXPECT_EQ(f.value[538], 0x12);
    EXPECT_EQ(f.value[539], 0x34);
    EXPECT_EQ(f.value[535], 0xAB);
    EXPECT_EQ(f.value[536], 0xCD);
    EXPECT_EQ(f.value[537], 0xEF);
    EXPECT_EQ(f.value[560], 0x89);
    EXPECT_EQ(f.value[561], 0xAB);
    EXPECT_EQ(f.value[562], 0xCD);
    EXPECT_EQ(f.value[563], 0xEF);
    // Neighbours are left alone; work bytes are never touched.
    EXPECT_EQ(f.value[534], 0);
    EXPECT_EQ(f.value[540], 0);
    EXPECT_EQ(f.value[559], 0);
    EXPECT_EQ(f.value[564], 0);
    for (int c = 0; c < CELLS_PER_FRAME; ++c) EXPECT_EQ(f.work[c], 0) << c;
}

TEST(CellAccessors, GettersReadWhatTheBytesSay) {
    FrameRecord f{};
    f.value[556] = 0x01;
    f.value[557] = 0x02;
    f.value[621] = 0x01;
    f.value[622] = 0x51;
    f.value[623] = 0x80; // 86400 s = 0x015180
    f.value[564] = 0xFF;
    f.value[565] = 0x00;
    f.value[566] = 0x00;
    f.value[567] = 0x01;
    EXPECT_EQ(f.get16(cell::IndexInProfile), 0x0102);
    EXPECT_EQ(f.get24(cell::FixTime), 86400u);
    EXPECT_EQ(f.get32(cell::UcsY), 0xFF000001u);
}

TEST(CellAccessors, SettersKeepOnlyTheLowBytesOfWideValues) {
    FrameRecord f{};
    f.set16(cell::VerticalShift, 0x12345678);
    EXPECT_EQ(f.get16(cell::VerticalShift), 0x5678);
    EXPECT_EQ(f.value[607], 0);
    EXPECT_EQ(f.value[610], 0);
    f.set24(cell::LonFraction, 0xFF123456);
    EXPECT_EQ(f.get24(cell::LonFraction), 0x123456u);
    EXPECT_EQ(f.value[568], 0);
}

TEST(CellAccessors, HeaderUsesTheSameByteOrder) {
    auto s = newStore();
    s->header.set16(hdr::GainPos2, 300);
    EXPECT_EQ(s->header.value[42], 0x01);
    EXPECT_EQ(s->header.value[43], 0x2C);
    EXPECT_EQ(s->header.get16(hdr::GainPos2), 300);
}

// --- clearing before an open ----------------------------------------------

void scribble(FrameRecord& f) {
    f.value.fill(0x5A);
    f.work.fill(0xA5);
}

bool allValue(const FrameRecord& f, uint8_t v) {
    for (uint8_t b : f.value)
        if (b != v) return false;
    return true;
}
bool allWork(const FrameRecord& f, uint8_t v) {
    for (uint8_t b : f.work)
        if (b != v) return false;
    return true;
}

TEST(ClearForOpen, PlainOpenClearsBothPlanesOfSlotsUpTo51000) {
    auto s = newStore();
    for (int slot : {0, 1, 25000, 51000, 51001, 64000}) scribble(s->frame(slot));
    s->header.value[hdr::Day] = 9;
    s->clearForOpen(false);
    for (int slot : {0, 1, 25000, 51000}) {
        EXPECT_TRUE(allValue(s->frame(slot), 0)) << "slot " << slot;
        EXPECT_TRUE(allWork(s->frame(slot), 0)) << "slot " << slot;
    }
    for (int slot : {51001, 64000}) {
        EXPECT_TRUE(allValue(s->frame(slot), 0x5A)) << "slot " << slot;
        EXPECT_TRUE(allWork(s->frame(slot), 0xA5)) << "slot " << slot;
    }
    EXPECT_EQ(s->header.value[hdr::Day], 9) << "the header is not the opener's to clear";
}

TEST(ClearForOpen, AppendClearsOnlyTheWorkBytes) {
    auto s = newStore();
    for (int slot : {0, 1, 25000, 51000, 51001, 64000}) scribble(s->frame(slot));
    s->clearForOpen(true);
    for (int slot : {0, 1, 25000, 51000}) {
        EXPECT_TRUE(allValue(s->frame(slot), 0x5A)) << "slot " << slot;
        EXPECT_TRUE(allWork(s->frame(slot), 0)) << "slot " << slot;
    }
    for (int slot : {51001, 64000}) {
        EXPECT_TRUE(allValue(s->frame(slot), 0x5A)) << "slot " << slot;
        EXPECT_TRUE(allWork(s->frame(slot), 0xA5)) << "slot " << slot;
    }
}

// --- velocity and permittivity ----------------------------------------------

struct VelocityCase {
    uint16_t code;
    double permittivity; // Round(2.25e8 / code^2) / 100
};

class SetVelocity : public ::testing::TestWithParam<VelocityCase> {};

TEST_P(SetVelocity, SetsScalarHeaderCellsAndPermittivity) {
    const VelocityCase& c = GetParam();
    auto s = newStore();
    s->setVelocity(c.code);
    EXPECT_EQ(s->velocityCode, c.code);
    EXPECT_EQ(s->header.value[21], uint8_t(c.code >> 8));
    EXPECT_EQ(s->header.value[22], uint8_t(c.code & 0xFF));
    EXPECT_DOUBLE_EQ(s->permittivity, c.permittivity);
}

// 2.25e8 / code^2 never falls exactly on a half for a whole code, so the
// cases check rounding up and down on either side of .5.
INSTANTIATE_TEST_SUITE_P(Codes, SetVelocity,
                         ::testing::Values(VelocityCase{1500, 1.00}, // 100 exactly
                                           VelocityCase{1000, 2.25}, // 225 exactly
                                           VelocityCase{500, 9.00},  // 900 exactly
                                           VelocityCase{167, 80.68}, // 8067.70 -> 8068
                                           VelocityCase{700, 4.59},  // 459.18 -> 459
                                           VelocityCase{650, 5.33},  // 532.54 -> 533
                                           VelocityCase{555, 7.30},  // 730.46 -> 730
                                           VelocityCase{450, 11.11}, // 1111.11 -> 1111
                                           VelocityCase{160, 87.89}  // 8789.06 -> 8789
                                           ),
                         [](const auto& info) { return "code" + std::to_string(info.param.code); });

TEST(SetHmax, SetsScalarAndHeaderCells61To63) {
    auto s = newStore();
    s->setHmax(100000); // 0x0186A0
    EXPECT_EQ(s->Hmax, 100000u);
    EXPECT_EQ(s->header.value[61], 0x01);
    EXPECT_EQ(s->header.value[62], 0x86);
    EXPECT_EQ(s->header.value[63], 0xA0);
    EXPECT_EQ(s->header.value[60], 0);
    EXPECT_EQ(s->header.value[64], 0);
    s->setHmax(0);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->header.get24(61), 0u);
}

} // namespace
} // namespace tesk::testing
