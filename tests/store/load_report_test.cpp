// The reports of the frame readers: frames read and declared, the fault that
// ended the read and the frame and byte offset where it struck, on files
// laid out by hand; every figure is worked out from the layouts in the
// comments.

#include "support/store_test_support.h"

#include "store/byte_source.h"
#include "store/device_family.h"
#include "store/device_recording.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesk::testing {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Format { Gem16, Gem7, Mr3, Gpr, Geb, Geo };

struct ReportCase {
    const char* name;
    Format format;
    Bytes bytes;
    int appendAt; // frameCount of the survey appended to; -1: a plain open
    int framesRead;
    int64_t framesDeclared;
    LoadFault fault;
    int faultFrame;
    uint64_t faultOffset;
    std::vector<LoadWarning> warnings = {};
    Answer answer = Answer::No; // to the amplitude question, where asked
};

std::ostream& operator<<(std::ostream& os, const ReportCase& c) {
    return os << c.name;
}

Bytes gem16(int count, int records) {
    WorkFileImage f(GEN16);
    f.setCount(uint16_t(count));
    for (int i = 0; i < records; ++i) f.record(i)[0] = uint8_t(50 + i);
    return f.bytes;
}

// Model 1 raw records of s = 2: 13 bytes of record head, 512 samples and one
// trailing byte, 526 bytes in all after the 16-byte header: record k starts
// at 16 + 526 k.
images::GeoRecord raw(uint8_t level) {
    return images::GeoRecord(0x4C, Bytes(512, level));
}

std::vector<ReportCase> cases() {
    using F = LoadFault;
    using W = LoadWarning;
    const Bytes gem = gem16(3, 3);
    images::Mr3Image mr3(2, true, 0x10);
    mr3.frames(2);
    images::GebImage geb(4, 1000000000, 20); // records of 2 x 4 + 16 bytes from 26 + 6
    geb.frames(20);
    images::GprImage gpr(2); // records of 8 + 2 x 128 bytes from 142: the second at 406
    gpr.add("", {1, 2, 3, 4}, 0, {images::constantGroup(0, 0)});
    gpr.add("", {1, 2, 3, 4}, 0, {images::constantGroup(0, 0)});
    images::GeoFile twenty(1);
    for (int i = 0; i < 20; ++i) twenty.add(raw(100));
    images::WorkFileImage gen7(GEN7);
    gen7.setCount(700); // hundreds: 70000 records announced, 49900 taken at most
    gen7.record(0)[0] = 30;
    images::BitPlaneBlock block{{{Bytes(64, 0x0F)}, {Bytes(64, 0xF0)}}};
    return {
        {"GemRecordCutShort", Format::Gem16, images::cut(gem, 512 + 2 * 624 + 100), -1, 3, 3,
         F::CutShort, 2, 512 + 2 * 624},
        {"GemEndsBetweenRecords", Format::Gem16, gem16(5, 2), -1, 2, 5, F::None, -1, 0},
        {"GemHeaderCutShort", Format::Gem16, images::cut(gem, 100), -1, 0, 3, F::CutShort, -1, 0},
        {"GemSlotLimit", Format::Gem16, gem16(10, 10), 63995, 5, 10, F::SlotLimit, 5,
         512 + 5 * 624},
        {"GemCountInHundredsClamped",
         Format::Gem7,
         gen7.bytes,
         -1,
         1,
         70000,
         F::None,
         -1,
         0,
         {W::CountClamped}},
        {"Mr3FrameCutShort", Format::Mr3, mr3.cut(mr3.area(1) + 100), -1, 2, 2, F::CutShort, 1,
         1220 + 192},
        {"GprCutInTheSecondCountWord", Format::Gpr, gpr.cut(406 + 2), -1, 1, 2, F::CutShort, 1,
         406},
        {"GebSlotLimit", Format::Geb, geb.b, 63980, 10, 20, F::SlotLimit, 10, 32 + 10 * 24},
        {"GeoRawSamplesCutShort",
         Format::Geo,
         images::cut(images::GeoFile(1).add(raw(100)).add(raw(100)).bytes(), 16 + 2 * 526 - 10),
         -1,
         1,
         2,
         F::CutShort,
         1,
         16 + 526,
         {W::DataError}},
        {"GeoCancelledAtTheSecondFrame",
         Format::Geo,
         images::GeoFile(1).add(raw(100)).add(raw(10)).add(raw(100)).bytes(),
         -1,
         2,
         3,
         F::Cancelled,
         1,
         16 + 526,
         {},
         Answer::Cancel},
        {"GeoNoBlockKey",
         Format::Geo,
         images::GeoFile(1).add(raw(100)).junk(20).add(raw(100)).bytes(),
         -1,
         1,
         2,
         F::Malformed,
         1,
         16 + 526,
         {W::DataError}},
        {"GeoSlotLimit", Format::Geo, twenty.bytes(), 63980, 10, 20, F::SlotLimit, 10,
         16 + 10 * 526},
        {"GeoBitPlanesDeclareNoFrames", Format::Geo, images::bitPlaneFile(1, 0x08, 1, {block}), -1,
         2, -1, F::None, -1, 0},
    };
}

class ReaderReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReaderReport, FramesFaultAndWhereItStruck) {
    const ReportCase& c = GetParam();
    auto s = newStore();
    RecordingInteraction ui;
    const bool append = c.appendAt >= 0;
    if (append) s->frameCount = c.appendAt;
    s->clearForOpen(append);
    MemorySource src(c.bytes);
    DeviceOptions options;
    DeviceCheckLog log;
    LoadReport r;
    switch (c.format) {
    case Format::Gem16:
    case Format::Gem7: {
        const auto gen = generationForVersion(c.format == Format::Gem7 ? 7 : 23);
        r = readWorkFile(src, *gen, append, *s, ui);
        break;
    }
    case Format::Mr3:
        r = readMr3File(src, append, *s, options, ui);
        break;
    case Format::Gpr:
        r = readGprFile(src, append, *s, options, ui);
        break;
    case Format::Geb:
        r = readGebFile(src, append, *s, options, ui);
        break;
    case Format::Geo:
        if (c.answer != Answer::No) ui.answers.push_back(c.answer);
        r = readDeviceRecording(src, append, *s, ui, log);
        break;
    }
    EXPECT_EQ(r.firstSlot, append ? c.appendAt : 0);
    EXPECT_EQ(r.framesRead, c.framesRead);
    EXPECT_EQ(r.framesDeclared, c.framesDeclared);
    EXPECT_EQ(r.fault, c.fault);
    EXPECT_EQ(r.faultFrame, c.faultFrame);
    EXPECT_EQ(r.faultOffset, c.faultOffset);
    EXPECT_EQ(r.warnings, c.warnings);
    // The readers tell nothing themselves; at most they ask.
    for (const Message& m : ui.shown) EXPECT_NE(m.buttons, Buttons::Ok) << m.en;
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderReport, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tesk::testing
