// Reading work files of every generation from hand-built images: version
// bytes, sample conversions, attribute moves, relief, counts, truncation,
// append and the slot limit.

#include "support/store_test_support.h"

#include "store/byte_source.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace tesk::testing {
namespace {

class ReadWorkFile : public ::testing::Test {
  protected:
    LoadReport read(const WorkFileImage& f, bool append = false) {
        return read(f.bytes, f.generation(), append);
    }
    LoadReport read(const std::vector<uint8_t>& bytes, const Generation& g, bool append = false) {
        MemorySource src(bytes);
        return readWorkFile(src, g, append, *s, ui);
    }
    StorePtr s = newStore();
    RecordingInteraction ui;
};

// --- version byte ------------------------------------------------------------

struct VersionExpectation {
    int kind;
    int headerLength;
    int recordBytes;
    bool countInHundreds;
};

std::optional<VersionExpectation> expectedFor(int versionByte) {
    switch (versionByte) {
    case 7:
        return VersionExpectation{7, 192, 512, true};
    case 8:
    case 16:
        return VersionExpectation{8, 512, 576, true};
    case 9:
        return VersionExpectation{9, 512, 576, false};
    case 17:
        return VersionExpectation{11, 512, 608, false};
    case 18:
        return VersionExpectation{12, 512, 608, false};
    case 19:
    case 22:
        return VersionExpectation{13, 512, 608, false};
    case 23:
        return VersionExpectation{16, 512, 624, false};
    default:
        return std::nullopt;
    }
}

class VersionByte : public ::testing::TestWithParam<int> {};

TEST_P(VersionByte, SelectsItsGenerationOrIsRejected) {
    const int v = GetParam();
    const auto got = generationForVersion(uint8_t(v));
    const auto want = expectedFor(v);
    ASSERT_EQ(got.has_value(), want.has_value());
    if (!want) return;
    EXPECT_EQ(got->kind, want->kind);
    EXPECT_EQ(got->headerLength, want->headerLength);
    EXPECT_EQ(got->recordBytes, want->recordBytes);
    EXPECT_EQ(got->countInHundreds, want->countInHundreds);
}

INSTANTIATE_TEST_SUITE_P(AllBytes, VersionByte, ::testing::Range(0, 256));

// --- samples -------------------------------------------------------------------

TEST_F(ReadWorkFile, Gen7SamplesWidenedAndZerosAfterTheFirstSampleBecomeOne) {
    WorkFileImage f(GEN7);
    f.setCount(1); // one hundred records announced, three present
    uint8_t* r = f.record(0);
    r[2] = 5;   // (5 + 1) * 2
    r[4] = 200; // limited to 126
    r[5] = 126;
    r[6] = 127;
    r[7] = 1;
    r[499] = 63;                                 // last sample
    r[500] = 0xF7;                               // status: low four bits kept
    for (int i = 501; i < 512; ++i) r[i] = 0xEE; // skipped bytes
    f.record(1)[500] = 0x03;                     // no sample at all
    f.record(2)[0] = 10;
    f.record(2)[499] = 0;

    const LoadReport l = read(f);
    EXPECT_EQ(l.framesRead, 3);

    const FrameRecord& a = s->frame(0);
    EXPECT_EQ(a.value[0], 0);
    EXPECT_EQ(a.value[1], 0);
    EXPECT_EQ(a.value[2], 12);
    EXPECT_EQ(a.value[3], 1);
    EXPECT_EQ(a.value[4], 254);
    EXPECT_EQ(a.value[5], 254);
    EXPECT_EQ(a.value[6], 254);
    EXPECT_EQ(a.value[7], 4);
    for (int c = 8; c < 499; ++c) ASSERT_EQ(a.value[c], 1) << c;
    EXPECT_EQ(a.value[499], 128);
    for (int c = 500; c < 528; ++c) EXPECT_EQ(a.value[c], 128) << "cell " << c;
    EXPECT_EQ(a.status(), 0x07);
    for (int c = 529; c < CELLS_PER_FRAME; ++c) ASSERT_EQ(a.value[c], 0) << c;

    const FrameRecord& b = s->frame(1);
    for (int c = 0; c < 528; ++c) ASSERT_EQ(b.value[c], 0) << c;
    EXPECT_EQ(b.status(), 0x03);

    const FrameRecord& c2 = s->frame(2);
    EXPECT_EQ(c2.value[0], 22);
    for (int c = 1; c < 528; ++c) ASSERT_EQ(c2.value[c], 1) << c;
}

TEST_F(ReadWorkFile, Gen8SamplesWidenedUpTo509AndMarkedAbove) {
    WorkFileImage f(GEN8);
    f.setCount(1);
    uint8_t* r = f.record(0);
    r[0] = 5;
    r[100] = 127;
    r[200] = 1;
    r[509] = 200;
    r[510] = 3;
    r[511] = 200;
    for (int c = 512; c < 528; ++c) r[c] = 0x11;
    uint8_t* q = f.record(1);
    q[0] = 9;
    q[520] = 9; // 510 and 511 are zero

    EXPECT_EQ(read(f).framesRead, 2);
    const FrameRecord& a = s->frame(0);
    EXPECT_EQ(a.value[0], 12);
    EXPECT_EQ(a.value[1], 0) << "a zero sample stays zero";
    EXPECT_EQ(a.value[100], 254);
    EXPECT_EQ(a.value[200], 4);
    EXPECT_EQ(a.value[509], 254);
    EXPECT_EQ(a.value[510], 128);
    EXPECT_EQ(a.value[511], 128);
    for (int c = 512; c < 528; ++c) EXPECT_EQ(a.value[c], 128) << c;
    const FrameRecord& b = s->frame(1);
    EXPECT_EQ(b.value[0], 20);
    EXPECT_EQ(b.value[510], 0);
    EXPECT_EQ(b.value[511], 0);
    for (int c = 512; c < 528; ++c) EXPECT_EQ(b.value[c], 0) << c;
}

TEST_F(ReadWorkFile, Gen9SamplesWidenedUpTo511) {
    WorkFileImage f(GEN9);
    f.setCount(1);
    uint8_t* r = f.record(0);
    r[0] = 5;
    r[509] = 7;
    r[510] = 7;
    r[511] = 126;
    for (int c = 512; c < 528; ++c) r[c] = 0x33;
    EXPECT_EQ(read(f).framesRead, 1);
    const FrameRecord& a = s->frame(0);
    EXPECT_EQ(a.value[0], 12);
    EXPECT_EQ(a.value[1], 0);
    EXPECT_EQ(a.value[509], 16);
    EXPECT_EQ(a.value[510], 16);
    EXPECT_EQ(a.value[511], 254);
    for (int c = 512; c < 528; ++c) EXPECT_EQ(a.value[c], 254) << c;
}

class UnconvertedSamples : public ReadWorkFile, public ::testing::WithParamInterface<Layout> {};

TEST_P(UnconvertedSamples, StoredAsTheFileHoldsThem) {
    WorkFileImage f(GetParam());
    f.setCount(1);
    uint8_t* r = f.record(0);
    const uint8_t codes[] = {1, 0, 255, 127, 128, 129, 2};
    for (int i = 0; i < 7; ++i) r[i] = codes[i];
    r[511] = 77;
    EXPECT_EQ(read(f).framesRead, 1);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(s->frame(0).value[i], codes[i]) << i;
    EXPECT_EQ(s->frame(0).value[511], 77);
}

INSTANTIATE_TEST_SUITE_P(Generations, UnconvertedSamples,
                         ::testing::Values(GEN11, GEN12, GEN13, GEN16),
                         [](const auto& info) { return genName(info.param.generation); });

struct FillRowCase {
    Layout layout;
    uint8_t fileSample511;
    uint8_t expected511; // after the generation's conversion
};

class FillRows : public ReadWorkFile, public ::testing::WithParamInterface<FillRowCase> {};

TEST_P(FillRows, Cells512To527RepeatCell511WhateverTheFileHolds) {
    const FillRowCase& c = GetParam();
    WorkFileImage f(c.layout);
    f.setCount(1);
    uint8_t* r = f.record(0);
    r[0] = 50;
    r[511] = c.fileSample511;
    for (int i = 512; i < 528; ++i) r[i] = uint8_t(0xA0 + i - 512);
    read(f);
    EXPECT_EQ(s->frame(0).value[511], c.expected511);
    for (int i = 512; i < 528; ++i) EXPECT_EQ(s->frame(0).value[i], c.expected511) << "cell " << i;
}

INSTANTIATE_TEST_SUITE_P(Generations, FillRows,
                         ::testing::Values(FillRowCase{GEN8, 60, 128}, // 510..511 non-zero -> 128
                                           FillRowCase{GEN9, 60, 122}, // (60 + 1) * 2
                                           FillRowCase{GEN11, 60, 60}, FillRowCase{GEN12, 60, 60},
                                           FillRowCase{GEN13, 60, 60}, FillRowCase{GEN16, 60, 60},
                                           FillRowCase{GEN16, 0, 0}),
                         [](const auto& info) {
                             return genName(info.param.layout.generation) + "_" +
                                    std::to_string(info.param.fileSample511);
                         });

// --- frame attributes ------------------------------------------------------------

// Every attribute byte of the file record gets a distinct value, so that each
// cell of the loaded frame tells where it came from.
uint8_t fileAttr(int c) {
    return uint8_t(c - 400);
}

enum class Expect { Copy, Zero, Times10 };

struct AttrCase {
    Layout layout;
    int cell;
    Expect expect;
    int source; // Copy: file cell copied; Times10: file cell whose value x 10 is the u16 at `cell`
};

std::ostream& operator<<(std::ostream& os, const AttrCase& c) {
    return os << genName(c.layout.generation) << " cell " << c.cell;
}

class AttributeMove : public ReadWorkFile, public ::testing::WithParamInterface<AttrCase> {};

TEST_P(AttributeMove, CellEndsWhereTheGenerationPutsIt) {
    const AttrCase& c = GetParam();
    WorkFileImage f(c.layout);
    f.setCount(1);
    uint8_t* r = f.record(0);
    r[0] = 50;
    for (int i = 528; i < c.layout.recordBytes; ++i) r[i] = fileAttr(i);
    ASSERT_EQ(read(f).framesRead, 1);
    const FrameRecord& fr = s->frame(0);
    switch (c.expect) {
    case Expect::Copy:
        EXPECT_EQ(fr.value[c.cell], fileAttr(c.source));
        break;
    case Expect::Zero:
        EXPECT_EQ(fr.value[c.cell], 0);
        break;
    case Expect::Times10:
        EXPECT_EQ(fr.get16(c.cell), 10 * fileAttr(c.source));
        break;
    }
}

std::vector<AttrCase> attributeCases() {
    std::vector<AttrCase> v;
    for (const Layout& l : {GEN11, GEN12, GEN13}) {
        // Status and time stay; hundredths (532) is not cleared.
        for (int c : {528, 529, 530, 531, 532}) v.push_back({l, c, Expect::Copy, c});
        v.push_back({l, 533, Expect::Zero, 0});
        v.push_back({l, 534, Expect::Zero, 0});
        v.push_back({l, 608, Expect::Copy, 534});
        v.push_back({l, 609, Expect::Copy, 535});
        // Second table row: each cell from the cell two below.
        for (int c : {607, 606, 600, 593, 592}) v.push_back({l, c, Expect::Copy, c - 2});
        // First table row: each cell from the cell six below.
        for (int c : {591, 590, 586, 585, 577, 576}) v.push_back({l, c, Expect::Copy, c - 6});
        // Boundaries: each cell from the cell two above.
        for (int c : {538, 539, 545, 550, 551}) v.push_back({l, c, Expect::Copy, c + 2});
        // Cells nothing moves keep the file's bytes; those after the record are empty.
        for (int c : {552, 553, 556, 560, 570, 575}) v.push_back({l, c, Expect::Copy, c});
        for (int c : {610, 623}) v.push_back({l, c, Expect::Zero, 0});
    }
    for (int c : {528, 529, 531}) v.push_back({GEN9, c, Expect::Copy, c});
    v.push_back({GEN9, 608, Expect::Copy, 534});
    v.push_back({GEN9, 609, Expect::Copy, 535});
    for (int c = 532; c <= 537; ++c) v.push_back({GEN9, c, Expect::Zero, 0});
    // Each table value from one old byte, times ten, as a u16.
    for (int j : {0, 1, 7, 15}) v.push_back({GEN9, 576 + 2 * j, Expect::Times10, 560 + j});
    // Boundaries from four cells below; the first four come from cleared cells.
    for (int c : {538, 539, 540, 541}) v.push_back({GEN9, c, Expect::Zero, 0});
    for (int c : {542, 543, 546, 551}) v.push_back({GEN9, c, Expect::Copy, c - 4});
    for (int c : {552, 553, 556, 560, 567, 575}) v.push_back({GEN9, c, Expect::Copy, c});
    for (int c : {610, 623}) v.push_back({GEN9, c, Expect::Zero, 0});

    for (int c : {528, 529, 531}) v.push_back({GEN8, c, Expect::Copy, c});
    v.push_back({GEN8, 608, Expect::Copy, 534});
    v.push_back({GEN8, 609, Expect::Copy, 535});
    for (int c = 532; c <= 537; ++c) v.push_back({GEN8, c, Expect::Zero, 0});
    for (int j = 0; j < 8; ++j) v.push_back({GEN8, 538 + 2 * j, Expect::Times10, 550 + j});
    for (int c : {554, 555, 560, 575}) v.push_back({GEN8, c, Expect::Copy, c});
    for (int c : {576, 607, 610, 623}) v.push_back({GEN8, c, Expect::Zero, 0});

    for (int c : {528, 533, 535, 538, 560, 576, 600, 608, 610, 623})
        v.push_back({GEN16, c, Expect::Copy, c});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Generations, AttributeMove, ::testing::ValuesIn(attributeCases()),
                         [](const auto& info) {
                             return genName(info.param.layout.generation) + "_cell" +
                                    std::to_string(info.param.cell);
                         });

// --- relief --------------------------------------------------------------------

class OldDepthRelief : public ReadWorkFile, public ::testing::WithParamInterface<Layout> {
  protected:
    // Frames whose old relief (a depth below the highest point, u16 at 532..533) is given.
    WorkFileImage fileWithDepths(std::initializer_list<uint16_t> depths) {
        WorkFileImage f(GetParam());
        f.setCount(uint16_t(depths.size()));
        f.header(61) = 0x7F; // generations 11..13 keep no Hmax in the header
        int i = 0;
        for (uint16_t d : depths) {
            uint8_t* r = f.record(i++);
            r[0] = 50;
            r[532] = uint8_t(d >> 8);
            r[533] = uint8_t(d);
        }
        return f;
    }
};

TEST_P(OldDepthRelief, DeepestPointBecomesHmaxAndDepthsBecomeHeights) {
    s->setHmax(77);
    read(fileWithDepths({300, 0, 120}));
    EXPECT_EQ(s->Hmax, 300u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 300u);
    EXPECT_EQ(s->frame(0).reliefHeight(), 0u);
    EXPECT_EQ(s->frame(1).reliefHeight(), 300u);
    EXPECT_EQ(s->frame(2).reliefHeight(), 180u);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_P(OldDepthRelief, AppendAsksBeforeRaisingHmaxYes) {
    s->frameCount = 40;
    s->setHmax(200);
    ui.answers.push_back(Answer::Yes);
    read(fileWithDepths({300, 100}), true);
    ASSERT_EQ(ui.shown.size(), 1u);
    const Message& m = ui.shown[0];
    EXPECT_EQ(m.ru, "Внимание!\rПревышение максимальной высоты рельефа.Изменить?");
    EXPECT_EQ(m.en, "Attention!\rExceeding the maximum height of the relief.Correct?");
    EXPECT_EQ(m.buttons, Buttons::YesNo);
    EXPECT_EQ(s->Hmax, 300u);
    EXPECT_EQ(s->frame(40).reliefHeight(), 0u);
    EXPECT_EQ(s->frame(41).reliefHeight(), 200u);
}

TEST_P(OldDepthRelief, AppendAsksBeforeRaisingHmaxNo) {
    s->frameCount = 40;
    s->setHmax(200);
    ui.answers.push_back(Answer::No);
    read(fileWithDepths({300, 100}), true);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(s->Hmax, 200u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 200u);
    EXPECT_EQ(s->frame(40).reliefHeight(), 0u) << "200 - 300 is below zero";
    EXPECT_EQ(s->frame(41).reliefHeight(), 100u);
}

TEST_P(OldDepthRelief, AppendWithinHmaxAsksNothing) {
    s->frameCount = 40;
    s->setHmax(200);
    read(fileWithDepths({150, 100}), true);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(s->Hmax, 200u);
    EXPECT_EQ(s->frame(40).reliefHeight(), 50u);
    EXPECT_EQ(s->frame(41).reliefHeight(), 100u);
}

INSTANTIATE_TEST_SUITE_P(Generations, OldDepthRelief, ::testing::Values(GEN11, GEN12, GEN13),
                         [](const auto& info) { return genName(info.param.generation); });

class NoRelief : public ReadWorkFile, public ::testing::WithParamInterface<Layout> {};

TEST_P(NoRelief, PlainOpenSetsHmaxToZero) {
    WorkFileImage f(GetParam());
    f.setCount(1);
    f.header(61) = 1;
    f.record(0)[0] = 50;
    s->setHmax(777);
    read(f);
    EXPECT_EQ(s->Hmax, 0u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 0u);
}

TEST_P(NoRelief, AppendKeepsHmax) {
    WorkFileImage f(GetParam());
    f.setCount(1);
    f.record(0)[0] = 50;
    s->frameCount = 40;
    s->setHmax(777);
    read(f, true);
    EXPECT_EQ(s->Hmax, 777u);
}

INSTANTIATE_TEST_SUITE_P(Generations, NoRelief, ::testing::Values(GEN7, GEN8, GEN9),
                         [](const auto& info) { return genName(info.param.generation); });

// --- counts ----------------------------------------------------------------------

struct CountCase {
    Layout layout;
    uint16_t countField;
    int recordsInFile;
    int framesRead;
    int frameCount; // records brought (at most the count) + 10
    const char* name;
};

class RecordCount : public ReadWorkFile, public ::testing::WithParamInterface<CountCase> {};

TEST_P(RecordCount, CountFieldDecidesHowManyRecordsAreRead) {
    const CountCase& c = GetParam();
    WorkFileImage f(c.layout);
    if (c.layout.generation == 16) setPlainSettings16(f);
    f.setCount(c.countField);
    for (int i = 0; i < c.recordsInFile; ++i) f.record(i)[0] = uint8_t(40 + i);
    const LoadReport l = read(f);
    EXPECT_EQ(l.framesRead, c.framesRead);
    EXPECT_EQ(s->frameCount, c.frameCount);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), uint16_t(c.frameCount));
    // The record after the last one read is not in the store.
    EXPECT_EQ(s->frame(c.framesRead).value[0], 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordCount,
                         // A file that ends before its count brings only the records
                         // it holds: slots beyond them may hold an earlier survey.
                         ::testing::Values(CountCase{GEN7, 2, 3, 3, 13, "gen7Hundreds"},
                                           CountCase{GEN8, 2, 3, 3, 13, "gen8Hundreds"},
                                           CountCase{GEN8, 499, 2, 2, 12, "gen8At499"},
                                           CountCase{GEN7, 600, 2, 2, 12, "gen7Above499"},
                                           CountCase{GEN9, 2, 3, 2, 12, "gen9Plain"},
                                           CountCase{GEN11, 2, 3, 2, 12, "gen11Plain"},
                                           CountCase{GEN13, 3, 3, 3, 13, "gen13Plain"},
                                           CountCase{GEN16, 3, 3, 3, 13, "gen16Plain"},
                                           CountCase{GEN16, 0xFFFF, 1, 1, 11, "gen16Above63999"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReadWorkFile, CountAbove63999ReadsAtMost63999Records) {
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.setCount(0xFFFF);
    for (int i = 0; i < 64000; ++i) f.record(i)[0] = uint8_t(1 + i % 200);
    const LoadReport l = read(f);
    EXPECT_EQ(l.framesRead, 63999);
    EXPECT_NE(l.fault, LoadFault::SlotLimit);
    EXPECT_EQ(s->frameCount, 63999 + 10);
    EXPECT_EQ(s->frame(63998).value[0], uint8_t(1 + 63998 % 200));
    EXPECT_EQ(s->frame(63999).value[0], 0) << "record 63999 lies beyond the count";
    s->finishLoad();
    EXPECT_EQ(s->frameCount, MAX_FRAME_INDEX) << "the last slots clamp the rounded count";
}

TEST_F(ReadWorkFile, ShortFileDoesNotBringBackAnEarlierSurveyAboveTheClearedSlots) {
    // An earlier survey left a frame above the slots an open clears.
    s->frame(60000).value[0] = 77;
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.setCount(0xFFFF);
    f.record(0)[0] = 90;
    s->clearForOpen(false);
    read(f);
    s->finishLoad();
    EXPECT_EQ(s->frameCount, 40);
    EXPECT_FALSE(s->frame(60000).inProfile());
}

class ZeroCount : public ReadWorkFile, public ::testing::WithParamInterface<Layout> {};

TEST_P(ZeroCount, LoadsNothingAndChangesNothing) {
    WorkFileImage f(GetParam());
    f.setCount(0);
    f.header(7) = 25; // a date the reader would otherwise take
    f.header(9) = 99;
    f.record(0)[0] = 90;
    s->frameCount = 77;
    s->frame(0).value[0] = 3;
    const LoadReport l = read(f);
    EXPECT_EQ(l.framesRead, 0);
    EXPECT_EQ(s->frameCount, 77);
    EXPECT_EQ(s->frame(0).value[0], 3);
    EXPECT_EQ(s->header.value[hdr::Day], 1);
    EXPECT_EQ(s->header.value[hdr::Year], 18);
    EXPECT_TRUE(ui.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Generations, ZeroCount,
                         ::testing::Values(GEN7, GEN8, GEN9, GEN11, GEN12, GEN13, GEN16),
                         [](const auto& info) { return genName(info.param.generation); });

// --- truncated files -------------------------------------------------------------

TEST_F(ReadWorkFile, RecordCutShortKeepsWhatWasRead) {
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.setCount(5);
    for (int c = 0; c < CELLS_PER_FRAME; ++c) f.record(0)[c] = uint8_t(c | 1);
    for (int c = 0; c < CELLS_PER_FRAME; ++c) f.record(1)[c] = uint8_t(c | 1);
    const std::vector<uint8_t> cut = f.cut(512 + 624 + 300);
    const LoadReport l = read(cut, f.generation());
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_NE(l.fault, LoadFault::SlotLimit);
    const FrameRecord& b = s->frame(1);
    for (int c = 0; c < 300; ++c) ASSERT_EQ(b.value[c], uint8_t(c | 1)) << c;
    for (int c = 300; c < CELLS_PER_FRAME; ++c) ASSERT_EQ(b.value[c], 0) << c;
    EXPECT_EQ(s->frame(2).value[0], 0);
    EXPECT_EQ(s->frameCount, 12) << "the records the file holds, plus 10";
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ReadWorkFile, Gen7RecordCutShortKeepsItsConvertedSamples) {
    WorkFileImage f(GEN7);
    f.setCount(1);
    f.record(0)[0] = 5;
    f.record(1)[0] = 5;
    const std::vector<uint8_t> cut = f.cut(192 + 512 + 300);
    EXPECT_EQ(read(cut, f.generation()).framesRead, 2);
    EXPECT_EQ(s->frame(1).value[0], 12);
    for (int c = 1; c < 300; ++c) ASSERT_EQ(s->frame(1).value[c], 1) << c;
}

TEST_F(ReadWorkFile, HeaderCutShortLoadsNoFrame) {
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.setCount(5);
    f.header(7) = 5;
    for (int i = 0; i < 5; ++i) f.record(i)[0] = 90;
    const std::vector<uint8_t> cut = f.cut(64);
    const LoadReport l = read(cut, f.generation());
    EXPECT_EQ(l.framesRead, 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s->frame(i).value[0], 0) << i;
    EXPECT_EQ(s->header.value[hdr::Day], 5) << "the bytes that are there are taken";
}

// --- append ----------------------------------------------------------------------

TEST_F(ReadWorkFile, AppendStartsAtFrameCountAndKeepsTheFirstSurveysHeader) {
    // The survey already loaded.
    putSample(*s, 0, 99);
    s->frameCount = 1040;
    s->header.value[hdr::Day] = 5;
    s->header.value[hdr::Month] = 3;
    s->header.value[hdr::Year] = 21;
    s->header.value[hdr::TimeRange] = 3;
    s->setVelocity(800);
    s->setHmax(50);
    // The file appended: other date, velocity, time range, Hmax.
    WorkFileImage f(GEN16);
    setPlainSettings16(f);
    f.header(7) = 9;
    f.header(8) = 9;
    f.header(9) = 99;
    f.header(18) = 6;
    f.setHeader16(21, 1000);
    f.header(61) = 0x01;
    f.setCount(3);
    for (int i = 0; i < 3; ++i) f.record(i)[0] = uint8_t(140 + i);

    EXPECT_EQ(read(f, true).framesRead, 3);
    EXPECT_EQ(s->frame(0).value[0], 99);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s->frame(1040 + i).value[0], 140 + i);
    EXPECT_EQ(s->frame(1043).value[0], 0);
    EXPECT_EQ(s->header.value[hdr::Day], 5);
    EXPECT_EQ(s->header.value[hdr::Month], 3);
    EXPECT_EQ(s->header.value[hdr::Year], 21);
    EXPECT_EQ(s->header.value[hdr::TimeRange], 3);
    EXPECT_EQ(s->velocityCode, 800);
    EXPECT_EQ(s->header.get16(hdr::VelocityCode), 800);
    EXPECT_EQ(s->Hmax, 50u);
    EXPECT_EQ(s->frameCount, 1040 + 3 + 10);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), 1053);
}

struct AppendCountCase {
    int before;
    int count;
    int after;
};

class AppendFrameCount : public ReadWorkFile,
                         public ::testing::WithParamInterface<AppendCountCase> {};

TEST_P(AppendFrameCount, OldCountPlusNewPlusTenOr63989) {
    const AppendCountCase& c = GetParam();
    WorkFileImage f(GEN16);
    f.setCount(uint16_t(c.count));
    for (int i = 0; i < c.count; ++i) f.record(i)[0] = 50;
    s->frameCount = c.before;
    read(f, true);
    EXPECT_EQ(s->frameCount, c.after);
    EXPECT_EQ(s->header.get16(hdr::FrameCount), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, AppendFrameCount,
                         ::testing::Values(AppendCountCase{1040, 3, 1053},
                                           AppendCountCase{63980, 5, 63995},
                                           AppendCountCase{63980, 9, 63999},   // 63989: not above
                                           AppendCountCase{63980, 10, 63989}), // 63990: above
                         [](const auto& info) {
                             return std::to_string(info.param.before) + "plus" +
                                    std::to_string(info.param.count);
                         });

// An appended frame lands in a slot the open does not clear. Whatever an
// earlier survey left there (cells above the previous cleared range, or
// cells an edit wrote past the frame count) must not show through the cells
// that an older record does not carry: its frame attributes are all zero
// here, and the conversions of every generation turn zero into zero.
class AppendIntoUsedSlot : public ReadWorkFile, public ::testing::WithParamInterface<Layout> {};

TEST_P(AppendIntoUsedSlot, CellsTheRecordDoesNotCarryAreZero) {
    const Layout& g = GetParam();
    constexpr int START = 52000; // above the slots an open clears
    s->frameCount = START;
    for (int slot : {START, START + 1}) {
        FrameRecord& old = s->frame(slot);
        for (int c = 0; c < CELLS_PER_FRAME; ++c) old.value[std::size_t(c)] = 0xA5;
    }
    WorkFileImage f(g);
    f.setCount(1); // generations 7 and 8 count hundreds: only one record is present
    f.record(0)[0] = 40;
    ASSERT_EQ(read(f, true).framesRead, 1);
    const FrameRecord& fr = s->frame(START);
    const uint8_t first = g.generation <= 9 ? uint8_t((40 + 1) * 2) : 40;
    EXPECT_EQ(fr.value[0], first);
    // Generation 7 turns zeros after the first sample into 1; the others keep 0.
    const uint8_t rest = g.generation == 7 ? 1 : 0;
    for (int c = 1; c < SAMPLE_ROWS; ++c) ASSERT_EQ(fr.value[std::size_t(c)], rest) << "cell " << c;
    for (int c = cell::Status; c < CELLS_PER_FRAME; ++c)
        ASSERT_EQ(fr.value[std::size_t(c)], 0) << "cell " << c;
    // The slot after the appended record was not written by this load.
    EXPECT_EQ(s->frame(START + 1).value[0], 0xA5);
}

INSTANTIATE_TEST_SUITE_P(Generations, AppendIntoUsedSlot,
                         ::testing::Values(GEN7, GEN8, GEN9, GEN11, GEN12, GEN13, GEN16),
                         [](const auto& info) { return genName(info.param.generation); });

// --- the slot limit ----------------------------------------------------------------

TEST_F(ReadWorkFile, Gen16LoadTagsTheProgressCaption) {
    WorkFileImage f(GEN16);
    f.setCount(1);
    f.record(0)[0] = 50;
    read(f);
    ASSERT_FALSE(ui.tags.empty());
    EXPECT_EQ(ui.tags[0], "   v16.");
}

} // namespace
} // namespace tesk::testing
