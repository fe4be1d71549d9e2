// The text tables of the save command on small hand-built surveys: headers,
// which frames give lines, every column's number form with both decimal
// separators, the processing the samples pass through, and the refusals.

#include "support/store_test_support.h"

#include "commands/export_common.h"
#include "commands/export_messages.h"
#include "commands/grid_section.h"
#include "commands/text_export.h"

#include <gtest/gtest.h>

#include <locale>
#include <string>
#include <vector>

namespace tesk::testing {
namespace {

std::vector<std::string> linesOf(const std::vector<uint8_t>& bytes) {
    const std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line without its line break";
            lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// Settings as a test states them: time step p, antenna 0, velocity code
// 1000 (10 cm/ns), the linear level table, no processing.
ExportSettings settings(SaveVariant v, double p = 1.0, char sep = '.') {
    ExportSettings e;
    e.variant = v;
    e.scale.nsPerSample = p;
    e.scale.antennaCm = 0;
    e.scale.velocityCode = 1000;
    e.scale.stepCm = 5;
    e.decimalSeparator = sep;
    selectLevelTable(e.display, 0);
    return e;
}

class TextTables : public ::testing::Test {
  protected:
    std::vector<std::string> write(const ExportSettings& e) {
        VectorSink sink;
        const ExportResult r = writeTextTable(sink, *s, e, ui);
        EXPECT_EQ(r.outcome, ExportOutcome::Written);
        EXPECT_EQ(r.bytes, sink.bytes.size());
        auto lines = linesOf(sink.bytes);
        EXPECT_EQ(r.lines + 1, int64_t(lines.size()));
        return lines;
    }
    // Frames first..last hold sample j = 1 + (j + f) % 250 and are in profile.
    void frames(int first, int last) {
        for (int f = first; f <= last; ++f) {
            for (int j = 0; j < SAMPLE_ROWS; ++j)
                s->frame(f).value[std::size_t(j)] = uint8_t(1 + (std::min(j, 511) + f) % 250);
            s->frame(f).value[cell::Status] = status::InProfile;
        }
    }
    StorePtr s = newStore();
    RecordingInteraction ui;
};

// --- headers -------------------------------------------------------------------------

struct HeaderCase {
    SaveVariant variant;
    int levelItem;
    int view;
    const char* header;
};

class TextTableHeaders : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(TextTableHeaders, FollowTheVariantTheLevelTableAndTheView) {
    const HeaderCase& c = GetParam();
    ExportSettings e = settings(c.variant);
    selectLevelTable(e.display, c.levelItem);
    e.view = c.view;
    EXPECT_EQ(textTableHeader(e), c.header);
}

INSTANTIATE_TEST_SUITE_P(
    AllVariants, TextTableHeaders,
    ::testing::Values(
        HeaderCase{SaveVariant::Plain, 0, 0, "X;T;ALn;"},
        HeaderCase{SaveVariant::Plain, 1, 0, "X;T;ALg_11;"},
        HeaderCase{SaveVariant::Plain, 2, 0, "X;T;ALg_20;"},
        HeaderCase{SaveVariant::Plain, 3, 8, "X;T;ALg_21;"},
        HeaderCase{SaveVariant::Plain, 4, 0, "X;T;ALg_22;"},
        HeaderCase{SaveVariant::LeftShift, 0, 0, "X;Y;Z;NS;ALn_00;h:m:s.0"},
        HeaderCase{SaveVariant::LeftShift, 1, 0, "X;Y;Z;NS;ALg_10;h:m:s.0"},
        HeaderCase{SaveVariant::LeftShift, 2, 0, "X;Y;Z;NS;ALg_20;h:m:s.0"},
        HeaderCase{SaveVariant::LeftShift, 3, 0, "X;Y;Z;NS;ALg_21;h:m:s.0"},
        HeaderCase{SaveVariant::LeftShift, 4, 0x40, "X;Y;Z;NS;ALg_22;h:m:s.0"},
        HeaderCase{SaveVariant::LeftCtrl, 2, 8, "X;Y;A"},
        HeaderCase{SaveVariant::LeftCtrl, 2, 0,
                   "Long;Latd;X;Y;HR;T01;A01;D02;T12;A02;D03;T23;A03;D04;T34;A04;D05;T45;A05;"
                   "D06;T56;A06;D07;T67;A07;GRT"},
        HeaderCase{SaveVariant::LeftCtrl, 0, 0x20,
                   "Long;Latd;X;Y;HR;T01;A01;D02;T12;A02;D03;T23;A03;D04;T34;A04;D05;T45;A05;"
                   "D06;T56;A06;D07;T67;A07;GRT"}));

// --- number forms --------------------------------------------------------------------------

struct ScaledCase {
    int64_t units;
    int decimals;
    char separator;
    const char* text;
};

TEST(ExportNumbers, FixedPointValuesTakeTheirShortestForm) {
    const ScaledCase cases[] = {{123456, 2, ',', "1234,56"},
                                {123450, 2, '.', "1234.5"},
                                {100, 2, '.', "1"},
                                {0, 2, ',', "0"},
                                {-50, 2, '.', "-0.5"},
                                {-7, 2, ',', "-0,07"},
                                {371234567, 7, '.', "37.1234567"},
                                {550000000, 7, ',', "55"},
                                {555000001, 7, '.', "55.5000001"},
                                {-2147483648LL, 2, '.', "-21474836.48"}};
    for (const ScaledCase& c : cases)
        EXPECT_EQ(scaledText(c.units, c.decimals, c.separator), c.text) << c.units;
    EXPECT_EQ(shortestText(0.25 * 511, ','), "127,75");
    EXPECT_EQ(shortestText(32.0 * 511, '.'), "16352");
    EXPECT_EQ(shortestText(0.5 * 3, '.'), "1.5");
}

// A number format whose decimal separator is a comma, as the Russian one.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(ExportNumbers, DecimalSeparatorComesFromTheLocale) {
    EXPECT_EQ(decimalSeparatorOf(std::locale::classic()), '.');
    EXPECT_EQ(decimalSeparatorOf(std::locale(std::locale::classic(), new CommaDecimal)), ',');
}

struct DepthCase {
    int antennaCm;
    bool zeroLine;
    double timeNs;
    int depthCm;
};

// With a = 50 cm and Vgr = 10 cm/ns: t' = t + 5 - 3.333 unless the zero line
// is on; s = (t' + 3.333) x 10; depth = Trunc(sqrt(s^2 - 2500)).
TEST(ExportNumbers, DepthIsTheReadoutsDepth) {
    const DepthCase cases[] = {
        {100, false, 10, 141}, // s = 150: sqrt(20000) = 141.42
        {100, true, 10, 123},  // s = 133.33: sqrt(15277.8) = 123.6
        {100, true, 0, 0},     // s = 33.3 below a
        {0, false, 12.5, 125}, // no antenna gap: depth = Vgr t
        {0, true, 0, 0},
    };
    for (const DepthCase& c : cases) {
        SampleScale scale;
        scale.antennaCm = c.antennaCm;
        scale.zeroLine = c.zeroLine;
        scale.velocityCode = 1000;
        EXPECT_EQ(readoutDepthCm(scale, c.timeNs), c.depthCm) << c.antennaCm << " " << c.timeNs;
    }
}

// --- no key ----------------------------------------------------------------------------------

TEST_F(TextTables, PlainTableHasALinePerSampleOfEveryFrameUpToFrameCount) {
    frames(0, 999);
    s->frameCount = 1040;
    const auto lines = write(settings(SaveVariant::Plain, 0.25, ','));
    ASSERT_EQ(lines.size(), 1u + 1041u * 512u);
    EXPECT_EQ(lines[0], "X;T;ALn;");
    // Frame 0, sample 0: code 1; frame 3, sample 511 at 127.75 ns: code 1 + 514 % 250 = 15.
    EXPECT_EQ(lines[1], "0;0;1;");
    EXPECT_EQ(lines[1 + 3 * 512 + 511], "3;127,75;15;");
    // Frame 999 (the second block's last), sample 2: 1 + 1001 % 250 = 2.
    EXPECT_EQ(lines[1 + 999 * 512 + 2], "999;0,5;2;");
    // Frames past the data: no data, amplitude value 0.
    EXPECT_EQ(lines.back(), "1040;127,75;0;");
}

TEST_F(TextTables, PlainTableWritesTheLastFrameWhenFrameCountIsAWholeBlock) {
    frames(0, 10);
    s->frameCount = 1000;
    const auto lines = write(settings(SaveVariant::Plain));
    ASSERT_EQ(lines.size(), 1u + 1001u * 512u);
    EXPECT_EQ(lines.back(), "1000;511;0;");
}

TEST_F(TextTables, AmplitudeValuesComeFromTheChosenLevelTable) {
    frames(0, 0);
    s->frame(0).value[0] = 128;
    s->frame(0).value[1] = 255;
    s->frame(0).value[2] = 0;
    s->frameCount = 0;
    ExportSettings e = settings(SaveVariant::Plain);
    selectLevelTable(e.display, 2);
    const auto lines = write(e);
    // Table 2: centre 88990 at 128, 88990 + U(127) = 177980 at 255; 0 for no data.
    EXPECT_EQ(lines[0], "X;T;ALg_20;");
    EXPECT_EQ(lines[1], "0;0;88990;");
    EXPECT_EQ(lines[2], "0;1;177980;");
    EXPECT_EQ(lines[3], "0;2;0;");
}

// --- processing -------------------------------------------------------------------------------

struct ProcessingCase {
    const char* name;
    int filterKind;
    int L;
    int zeroGainMode;
    int zeroLevel;
    int gainLevel1;
    const char* sampleLine; // the line of frame 5, sample 7, from codes all 150
};

class TextTableProcessing : public TextTables,
                            public ::testing::WithParamInterface<ProcessingCase> {};

TEST_P(TextTableProcessing, SamplesPassTheRadargramChainWithTheExportsGainRule) {
    const ProcessingCase& c = GetParam();
    for (int f = 0; f <= 40; ++f) {
        s->frame(f).value.fill(0);
        for (int j = 0; j < SAMPLE_ROWS; ++j) s->frame(f).value[std::size_t(j)] = 150;
        s->frame(f).value[cell::Status] = status::InProfile;
    }
    s->frameCount = 40;
    ExportSettings e = settings(SaveVariant::Plain);
    e.processing.filter1 = FilterRow{c.filterKind, c.L, 0, 0};
    e.display.zeroGainMode = c.zeroGainMode;
    e.display.ZeroLevel = uint8_t(c.zeroLevel);
    e.display.GainLevel1 = c.gainLevel1;
    BuildGainCurve(e.display);
    const auto lines = write(e);
    EXPECT_EQ(lines[1 + 5 * 512 + 7], c.sampleLine) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Chain, TextTableProcessing,
    ::testing::Values(ProcessingCase{"unprocessed", 0, 0, 0, 128, 128, "5;7;150;"},
                      // HF 1 of a constant area: zero amplitude.
                      ProcessingCase{"high pass", 1, 1, 0, 128, 128, "5;7;128;"},
                      // Zero level 100: 127 + Trunc(128 x 50 / 155) = 168.
                      ProcessingCase{"zero level", 0, 0, 0, 100, 128, "5;7;168;"},
                      // Gain mode 1 with one gain setting changed: the display would apply
                      // it, the text table only when all four differ from their defaults.
                      ProcessingCase{"gain not all set", 0, 0, 1, 128, 200, "5;7;150;"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (ch == ' ') ch = '_';
        return n;
    });

// --- left Shift ------------------------------------------------------------------------------

TEST_F(TextTables, PositionTableSkipsFramesWithoutData) {
    frames(0, 2);
    frames(6, 7);
    s->frameCount = 40;
    const auto lines = write(settings(SaveVariant::LeftShift));
    ASSERT_EQ(lines.size(), 1u + 5u * 512u);
    // The third frame written is frame 2 (sample 0: code 3), the fourth frame 6 (code 7).
    EXPECT_EQ(lines[1 + 2 * 512], "0;0;0;0;3;0:0:0.00");
    EXPECT_EQ(lines[1 + 3 * 512], "0;0;0;0;7;0:0:0.00");
}

TEST_F(TextTables, PositionLinesGiveCoordinatesHeightTimeAmplitudeAndClock) {
    frames(0, 0);
    FrameRecord& f = s->frame(0);
    f.set32(cell::UcsX, 123456);
    f.set32(cell::UcsY, uint32_t(-50));
    f.set24(cell::ReliefHeight, 15000);
    f.value[cell::LonDegrees] = 37;
    f.set24(cell::LonFraction, 1234567);
    f.value[cell::LatDegrees] = 55;
    f.set24(cell::LatFraction, 5000000);
    f.value[cell::Hour] = 9;
    f.value[cell::Minute] = 5;
    f.value[cell::Second] = 7;
    f.value[cell::Hundredths] = 3;
    s->frameCount = 0;
    // Sample 3: depth 10 cm/ns x 3 ns = 30 cm: Z = (15000 - 30) / 100; code 1 + 3 = 4.
    const auto rect = write(settings(SaveVariant::LeftShift, 1.0, ','));
    EXPECT_EQ(rect[1 + 3], "1234,56;-0,5;149,7;3;4;9:5:7,03");
    // Sample 10: 100 cm deep, Z a whole number of metres.
    EXPECT_EQ(rect[1 + 10], "1234,56;-0,5;149;10;11;9:5:7,03");
    ExportSettings geo = settings(SaveVariant::LeftShift, 0.5, '.');
    geo.scale.geographic = true;
    // Sample 3 at 1.5 ns: 15 cm deep.
    EXPECT_EQ(write(geo)[1 + 3], "37.1234567;55.5;149.85;1.5;4;9:5:7.03");
}

// --- left Ctrl: layer boundaries ----------------------------------------------------------

TEST_F(TextTables, LayerTableGivesDepthThicknessAndCodeOfEachBoundary) {
    frames(0, 1);
    s->frameCount = 40;
    FrameRecord& f = s->frame(0);
    f.value[cell::LonDegrees] = 30;
    f.set24(cell::LonFraction, 25);
    f.value[cell::LatDegrees] = 60;
    f.set32(cell::UcsX, 100);
    f.set32(cell::UcsY, 250);
    f.set24(cell::ReliefHeight, 1234);
    f.set16(cell::Boundary1, 10);      // 100 cm, code 11
    f.set16(cell::Boundary1 + 4, 30);  // boundary 3: 300 cm, 200 below boundary 1, code 31
    f.set16(cell::Boundary1 + 6, 512); // boundary 4 past the trace: absent
    f.set16(cell::Boundary1 + 12, 45); // boundary 7: 450 cm, code 46
    f.set16(cell::ProfileNumber, 3);
    s->frame(1).set16(cell::ProfileNumber, 3);
    const auto lines = write(settings(SaveVariant::LeftCtrl));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "30.0000025;60;1;2.5;1234;100;11;00;00;00;300;200;31;00;00;00;00;00;00;"
                        "00;00;00;450;150;46;3");
    EXPECT_EQ(lines[2], "0;0;0;0;0;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;3");
}

TEST_F(TextTables, ThicknessOfTheFirstPresentBoundaryBelowAnAbsentOneCountsFromTheSurface) {
    frames(0, 0);
    s->frameCount = 0;
    s->frame(0).set16(cell::Boundary1 + 2, 20); // boundary 2 alone: 200 cm, code 21
    const auto lines = write(settings(SaveVariant::LeftCtrl));
    EXPECT_EQ(lines[1],
              "0;0;0;0;0;00;00;200;200;21;00;00;00;00;00;00;00;00;00;00;00;00;00;00;00;0");
}

// --- left Ctrl in the slice view -------------------------------------------------------------

// Node (gx, gy) holds 1 + (gx + 2 gy) % 255 at every plane; remembers the plane asked.
class FakeVolume final : public VolumeSection {
  public:
    bool horizontalSection(int plane, uint8_t* codes) const override {
        asked = plane;
        if (!built) return false;
        for (int gx = 0; gx < SECTION_NODES; ++gx)
            for (int gy = 0; gy < SECTION_NODES; ++gy)
                codes[gx * SECTION_NODES + gy] = uint8_t(1 + (gx + 2 * gy) % 255);
        return true;
    }
    int32_t nodeStepCm() const override { return step; }
    bool built = true;
    int32_t step = 0;
    mutable int asked = -1;
};

TEST_F(TextTables, SliceTableWritesEveryNodeOfTheSectionAtTheCursorRow) {
    FakeVolume volume;
    ExportSettings e = settings(SaveVariant::LeftCtrl);
    e.view = view::Slices;
    e.volume = &volume;
    e.cursorRow = 77;
    const auto lines = write(e);
    EXPECT_EQ(volume.asked, 77);
    ASSERT_EQ(lines.size(), 1u + 512u * 512u);
    EXPECT_EQ(lines[0], "X;Y;A");
    // Row 3, column 5 with a step of 5 cm: code 1 + 13.
    EXPECT_EQ(lines[1 + 3 * 512 + 5], "15;25;14");
    EXPECT_EQ(lines.back(), "2555;2555;" + std::to_string(1 + (511 + 1022) % 255));
    // A volume built on a 20 cm grid places its nodes 20 cm apart, whatever
    // the profile step.
    volume.step = 20;
    EXPECT_EQ(write(e)[1 + 3 * 512 + 5], "60;100;14");
}

// The volume's own section: node (gx, gy) of the time plane, gx the line.
TEST(GridSectionOfTheVolume, GivesPlaneCOfEveryNodeLineByLineOnceBuilt) {
    static VolumeGrid grid; // about 164 MB, once
    grid.allocate();
    GridSection section(grid);
    std::vector<uint8_t> codes(std::size_t(SECTION_NODES) * SECTION_NODES, 0);
    grid.info.built = false;
    EXPECT_FALSE(section.horizontalSection(100, codes.data())) << "no complete build";
    grid.info.built = true;
    grid.at(3, 100, 7) = 200;
    grid.at(7, 100, 3) = 50;
    grid.at(3, 101, 7) = 9;
    grid.at(511, 100, 511) = 77;
    ASSERT_TRUE(section.horizontalSection(100, codes.data()));
    EXPECT_EQ(codes[3 * 512 + 7], 200);
    EXPECT_EQ(codes[7 * 512 + 3], 50);
    EXPECT_EQ(codes[511 * 512 + 511], 77);
    ASSERT_TRUE(section.horizontalSection(101, codes.data()));
    EXPECT_EQ(codes[3 * 512 + 7], 9);
    EXPECT_FALSE(section.horizontalSection(512, codes.data())) << "planes 0..511 only";
}

// --- refusals --------------------------------------------------------------------------------

TEST_F(TextTables, NothingToWriteWritesNothingAndSaysSo) {
    s->frameCount = 40; // frames without data only
    FakeVolume unbuilt;
    unbuilt.built = false;
    ExportSettings slice = settings(SaveVariant::LeftCtrl);
    slice.view = view::Slices;
    slice.volume = &unbuilt;
    ExportSettings noVolume = slice;
    noVolume.volume = nullptr;
    for (const ExportSettings& e : {settings(SaveVariant::Plain), settings(SaveVariant::LeftShift),
                                    settings(SaveVariant::LeftCtrl), slice, noVolume}) {
        VectorSink sink;
        ui.shown.clear();
        const ExportResult r = writeTextTable(sink, *s, e, ui);
        EXPECT_EQ(r.outcome, ExportOutcome::NothingToWrite);
        EXPECT_TRUE(sink.bytes.empty());
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].icon, Icon::Error);
        EXPECT_EQ(ui.shown[0].ru, "Ошибка! Нет данных для записи.");
        EXPECT_EQ(ui.shown[0].en, "ERROR! There is no Structure for record ");
    }
}

TEST_F(TextTables, AFailingSinkEndsTheExportAsFailed) {
    frames(0, 999);
    s->frameCount = 1000;
    FailingSink sink(1);
    const ExportResult r = writeTextTable(sink, *s, settings(SaveVariant::Plain), ui);
    EXPECT_EQ(r.outcome, ExportOutcome::WriteFailed);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(TextTables, SettingsFromTheStoreFollowTheHeader) {
    auto& h = s->header.value;
    h[hdr::TimeRange] = 0; // 0.25 ns
    h[hdr::Antenna] = 10;  // 100 cm
    h[hdr::Step] = 3;      // 10 cm
    h[hdr::LevelTable] = 3;
    h[hdr::CoordFlags] = hdr::Geographic;
    h[hdr::Filter2Kind + 2] = 4;
    s->stateFlags = state::Relief | view::Slices;
    const ExportSettings e = exportSettingsFromStore(*s, SaveVariant::LeftShift, ',');
    EXPECT_EQ(e.scale.nsPerSample, 0.25);
    EXPECT_EQ(e.scale.antennaCm, 100);
    EXPECT_EQ(e.scale.stepCm, 10);
    EXPECT_TRUE(e.scale.geographic);
    EXPECT_EQ(e.display.levelTableIndex, 3);
    EXPECT_EQ(e.display.LevelTable[128], 2508u);
    EXPECT_EQ(e.processing.filter2.T, 4);
    EXPECT_TRUE(e.processing.relief.on);
    EXPECT_EQ(e.view, view::Slices);
    EXPECT_EQ(e.decimalSeparator, ',');
}

} // namespace
} // namespace tesk::testing
