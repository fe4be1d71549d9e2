// Writing generation-16 work files and reading them back.

#include "support/store_test_support.h"

#include "store/byte_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tesk::testing {
namespace {

// A survey as a load leaves it: frames 0..1010 hold data except a gap at
// 500..503, statuses and attributes are varied, and finishLoad has run, so
// that frameCount is 1040 (1000 rounded down to 20, plus 40).
void fillSurvey(ProfileStore& s) {
    images::Lcg rng{12345}; // deterministic bytes for the frames
    auto next = [&rng] { return uint8_t(rng.next(256)); };
    for (int i = 0; i <= 1010; ++i) {
        FrameRecord& f = s.frame(i);
        if (i >= 500 && i <= 503) continue;
        for (int c = 0; c < SAMPLES_PER_FRAME; ++c) f.value[c] = next();
        f.value[0] = uint8_t(f.value[0] | 1);
        f.fillRowsFromLastSample();
        f.value[cell::Status] = uint8_t(next() & 0xE3);
        for (int c = 529; c < CELLS_PER_FRAME; ++c) f.value[c] = next();
        f.set24(cell::ReliefHeight, uint32_t(i * 7));
        for (int c = 0; c < CELLS_PER_FRAME; ++c) f.work[c] = next(); // never saved
    }
    s.frameCount = 1011;
    s.finishLoad();
}

TEST(WriteWorkFile, SurveyOf1040FramesIs649472BytesWithCountInHeader) {
    auto s = newStore();
    fillSurvey(*s);
    ASSERT_EQ(s->frameCount, 1040);
    RecordingInteraction ui;
    VectorSink sink;
    ASSERT_TRUE(writeWorkFile(sink, *s, ui));
    ASSERT_EQ(sink.bytes.size(), 649472u);
    EXPECT_EQ(sink.bytes[16], 0x04);
    EXPECT_EQ(sink.bytes[17], 0x10);
    EXPECT_EQ(sink.bytes[12], 23) << "version byte of generation 16";
    for (int b = 128; b < 512; ++b) ASSERT_EQ(sink.bytes[b], 0) << "byte " << b;
    // Record i is the value bytes of slot i, in cell order.
    for (int i : {0, 1, 499, 500, 1010, 1011, 1039}) {
        for (int c = 0; c < CELLS_PER_FRAME; ++c)
            ASSERT_EQ(sink.bytes[512 + std::size_t(i) * 624 + c], s->frame(i).value[c])
                << "slot " << i << " cell " << c;
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST(WriteWorkFile, HeaderRefreshedFromTheStoreBeforeWriting) {
    auto s = newStore();
    s->frameCount = 2;
    s->velocityCode = 750; // the scalar moved; the header cells still say 50
    s->Hmax = 0x010203;
    RecordingInteraction ui;
    VectorSink sink;
    ASSERT_TRUE(writeWorkFile(sink, *s, ui));
    ASSERT_EQ(sink.bytes.size(), 512u + 2u * 624u);
    EXPECT_EQ(sink.bytes[16], 0x00);
    EXPECT_EQ(sink.bytes[17], 0x02);
    EXPECT_EQ(sink.bytes[21], 0x02); // 750 = 0x02EE
    EXPECT_EQ(sink.bytes[22], 0xEE);
    EXPECT_EQ(sink.bytes[61], 0x01);
    EXPECT_EQ(sink.bytes[62], 0x02);
    EXPECT_EQ(sink.bytes[63], 0x03);
    // The store's header now mirrors what was written.
    for (int c = 0; c < HEADER_CELLS; ++c) EXPECT_EQ(s->header.value[c], sink.bytes[c]) << c;
}

struct FlagByte {
    int cell;
    uint8_t inStore;
    uint8_t written;
    const char* name;
};

class WrittenFlagByte : public ::testing::TestWithParam<FlagByte> {};

// The flag bytes are rebuilt from the settings they carry; bits that stand
// for no setting are not written.
TEST_P(WrittenFlagByte, OnlyTheSettingBitsAreWritten) {
    const FlagByte& f = GetParam();
    auto s = newStore();
    s->header.value[f.cell] = f.inStore;
    RecordingInteraction ui;
    VectorSink sink;
    ASSERT_TRUE(writeWorkFile(sink, *s, ui));
    EXPECT_EQ(sink.bytes[f.cell], f.written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrittenFlagByte,
    ::testing::Values(
        // 32: ComboBox16 item (bits 0..2), CheckBox2 0x20, CheckBox4 0x40, CheckBox1 0x80.
        FlagByte{32, 0x42, 0x42, "viewFlagsStartUp"}, FlagByte{32, 0xFF, 0xE7, "viewFlagsAll"},
        FlagByte{32, 0x18, 0x00, "viewFlagsNoSetting"},
        // 33: CheckBox13 0x08, CheckBox12 0x10, CheckBox11 0x20; 0x04 is read by nothing.
        FlagByte{33, 0x3C, 0x38, "optionFlagsStartUp"}, FlagByte{33, 0xFF, 0x38, "optionFlagsAll"},
        // 34: CheckBox22 0x10, CheckBox23 0x20, CheckBox52 0x40, CheckBox21 0x80.
        FlagByte{34, 0xFF, 0xF0, "amplitudeFlagsAll"},
        FlagByte{34, 0x20, 0x20, "amplitudeFlagsHighlight"},
        // 48: CheckBox74 0x20, RadioGroup_Lat 0x40, RadioGroup_Lon 0x80; 0x10 is not saved.
        FlagByte{48, 0xFF, 0xE0, "coordFlagsAll"}, FlagByte{48, 0x10, 0x00, "coordFlagsPanel"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteWorkFile, SinkFailureIsReported) {
    auto s = newStore();
    fillSurvey(*s);
    RecordingInteraction ui;
    FailingSink first(0);
    EXPECT_FALSE(writeWorkFile(first, *s, ui));
    FailingSink second(1); // the header goes through, the frames do not
    EXPECT_FALSE(writeWorkFile(second, *s, ui));
    EXPECT_EQ(second.written, 512u);
}

TEST(WriteWorkFile, EmptySurveyIsHeaderOnly) {
    auto s = newStore();
    RecordingInteraction ui;
    VectorSink sink;
    ASSERT_TRUE(writeWorkFile(sink, *s, ui));
    EXPECT_EQ(sink.bytes.size(), 512u);
    EXPECT_EQ(sink.bytes[0], 'T');
    EXPECT_EQ(sink.bytes[3], 'K');
}

// --- round trip ------------------------------------------------------------------

class RoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        fillSurvey(*saved);
        auto& h = saved->header.value;
        saved->deviceType = 3;
        h[hdr::DeviceType] = 3;
        h[hdr::Day] = 17;
        h[hdr::Month] = 11;
        h[hdr::Year] = 24;
        h[hdr::Hour] = 9;
        h[hdr::Minute] = 41;
        h[hdr::TimeRange] = 5;
        h[hdr::Step] = 12;
        h[hdr::VelocityIndex] = 7;
        saved->setVelocity(750);
        h[hdr::ColourMode] = 3;
        for (int c = 24; c <= 31; ++c) h[c] = uint8_t(c % 4);
        h[hdr::ViewFlags] = 0xA5;
        h[hdr::OptionFlags] = 0x28;
        h[hdr::AmplitudeFlags] = 0xF0; // CheckBox23 (0x20) among them
        h[hdr::AmplitudeForm] = 2;
        h[hdr::ZeroGainMode] = 2;
        h[hdr::ZeroLevel] = 117;
        h[hdr::GainLevel1] = 90;
        h[hdr::GainLevel2] = 200;
        saved->header.set16(hdr::GainPos1, 37);
        saved->header.set16(hdr::GainPos2, 480);
        h[hdr::GainRange] = 9;
        h[hdr::Antenna] = 21;
        h[hdr::DepthStep] = 13;
        h[hdr::LevelTable] = 4;
        h[hdr::CoordFlags] = 0xA0;
        h[hdr::VolumeInterp] = 3;
        h[hdr::ProfileDistance] = 30;
        h[hdr::Section] = 2;
        for (int c = 80; c <= 106; ++c) h[c] = uint8_t(c * 5);
        saved->setHmax(saved->Hmax + 5000);

        ASSERT_TRUE(writeWorkFile(sink, *saved, ui));
        MemorySource src(sink.bytes);
        loaded->clearForOpen(false);
        const LoadReport l =
            readWorkFile(src, *generationForVersion(sink.bytes[12]), false, *loaded, ui);
        ASSERT_EQ(l.framesRead, 1040);
        loaded->finishLoad();
    }
    StorePtr saved = newStore();
    StorePtr loaded = newStore();
    RecordingInteraction ui;
    VectorSink sink;
};

TEST_F(RoundTrip, EveryFrameValueByteComesBack) {
    EXPECT_EQ(loaded->frameCount, 1040);
    for (int i = 0; i <= 1040; ++i)
        for (int c = 0; c < CELLS_PER_FRAME; ++c)
            ASSERT_EQ(loaded->frame(i).value[c], saved->frame(i).value[c])
                << "slot " << i << " cell " << c;
}

TEST_F(RoundTrip, RefreshedHeaderBytesComeBack) {
    for (int c = 16; c <= 51; ++c) {
        if (c == hdr::AmplitudeFlags) continue;
        EXPECT_EQ(loaded->header.value[c], saved->header.value[c]) << "cell " << c;
    }
    for (int c = 61; c <= 63; ++c) EXPECT_EQ(loaded->header.value[c], saved->header.value[c]) << c;
    EXPECT_EQ(loaded->Hmax, saved->Hmax);
    EXPECT_EQ(loaded->velocityCode, 750);
}

TEST_F(RoundTrip, CheckBox23ComesBackUnchecked) {
    EXPECT_EQ(sink.bytes[hdr::AmplitudeFlags], 0xF0) << "written checked";
    EXPECT_EQ(loaded->header.value[hdr::AmplitudeFlags], 0xD0);
}

TEST_F(RoundTrip, DateDeviceAndLayerColoursComeBack) {
    for (int c : {5, 7, 8, 9, 10, 11})
        EXPECT_EQ(loaded->header.value[c], saved->header.value[c]) << c;
    EXPECT_EQ(loaded->deviceType, 3);
    for (int c = 80; c <= 106; ++c) EXPECT_EQ(loaded->header.value[c], saved->header.value[c]) << c;
}

} // namespace
} // namespace tesk::testing
