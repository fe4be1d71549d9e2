// SEG-Y both ways: the writer's bytes at their places, the reader on files
// laid out by hand in every format and byte order, its time and amplitude
// rules, its refusals, and the exchange with an independent implementation
// (Python's segyio) in both directions.

#include "support/segy_files.h"
#include "support/store_test_support.h"

#include "commands/load_messages.h"
#include "commands/segy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tesk::testing {
namespace {

constexpr std::size_t TRACE_IEEE = 240 + 512 * 4;

uint32_t be32(const std::vector<uint8_t>& b, std::size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}
int be16(const std::vector<uint8_t>& b, std::size_t at) {
    return int16_t(uint16_t((b[at] << 8) | b[at + 1]));
}

// Letters, digits and blanks of EBCDIC (code page 037), enough to read the textual header.
std::string fromEbcdic(const std::vector<uint8_t>& b, std::size_t at, std::size_t n) {
    std::string s;
    for (std::size_t i = at; i < at + n; ++i) {
        const uint8_t c = b[i];
        if (c == 0x40)
            s += ' ';
        else if (c >= 0xC1 && c <= 0xC9)
            s += char('A' + c - 0xC1);
        else if (c >= 0xD1 && c <= 0xD9)
            s += char('J' + c - 0xD1);
        else if (c >= 0xE2 && c <= 0xE9)
            s += char('S' + c - 0xE2);
        else if (c >= 0xF0 && c <= 0xF9)
            s += char('0' + c - 0xF0);
        else if (c >= 0x81 && c <= 0x89)
            s += char('a' + c - 0x81);
        else if (c >= 0x91 && c <= 0x99)
            s += char('j' + c - 0x91);
        else if (c >= 0xA2 && c <= 0xA9)
            s += char('s' + c - 0xA2);
        else
            s += '?';
    }
    return s;
}

// Two profiles of ten frames (slots 0..9 and 20..29) recorded on
// 14.05.24 at 10:15, 1 ns per sample; frame f, sample j holds 1 + (f + j) % 254.
void twoProfiles(ProfileStore& s) {
    auto& h = s.header.value;
    h[hdr::Day] = 14;
    h[hdr::Month] = 5;
    h[hdr::Year] = 24;
    h[hdr::Hour] = 10;
    h[hdr::Minute] = 15;
    h[hdr::TimeRange] = 2;
    for (int f : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}) {
        FrameRecord& r = s.frame(f);
        for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
            r.value[std::size_t(j)] = uint8_t(1 + (f + j) % 254);
        r.fillRowsFromLastSample();
        r.value[cell::Status] = status::InProfile;
        r.value[cell::Hour] = 10;
        r.value[cell::Minute] = 15;
        r.value[cell::Second] = uint8_t(f);
        r.value[cell::Hundredths] = uint8_t(f + 1);
        r.set32(cell::UcsX, uint32_t(100000 + 5 * f));
        r.set32(cell::UcsY, uint32_t(-700));
        r.set24(cell::ReliefHeight, uint32_t(15000 + f));
    }
    s.frame(21).value[cell::Status] |= 2; // marker level 2
    s.frame(21).value[0] = 0;             // no data
    s.frame(21).value[1] = 255;
    s.frame(21).value[2] = 1;
    s.frame(21).value[3] = 128;
    s.frameCount = 40;
    s.currentFileName = "/data/line7.gem";
}

class Segy : public ::testing::Test {
  protected:
    std::vector<uint8_t> write(const SegyWriteOptions& o) {
        VectorSink sink;
        const ExportResult r = writeSegyFile(sink, *s, o, ui);
        EXPECT_EQ(r.outcome, ExportOutcome::Written);
        EXPECT_EQ(r.bytes, sink.bytes.size());
        return sink.bytes;
    }
    SegyLoad read(const std::vector<uint8_t>& bytes, ProfileStore& into, bool append = false) {
        MemorySource src(bytes);
        into.clearForOpen(append);
        SegyLoad l = readSegyFile(src, into, SegyReadOptions{append}, ui);
        into.finishLoad();
        return l;
    }
    StorePtr s = newStore();
    StorePtr back = newStore();
    RecordingInteraction ui;
};

// --- writing ---------------------------------------------------------------------------

// A big-endian field of 2 or 4 bytes and the value it must hold.
struct Field {
    std::size_t at;
    int bytes;
    int64_t value;
};

void expectFields(const std::vector<uint8_t>& b, std::size_t base,
                  std::initializer_list<Field> fields) {
    for (const Field& f : fields) {
        const int64_t v = f.bytes == 2 ? be16(b, base + f.at) : int32_t(be32(b, base + f.at));
        EXPECT_EQ(v, f.value) << "byte " << base + f.at;
    }
}

TEST_F(Segy, WriterPutsHeadersAndTraceFieldsAtTheirBytes) {
    twoProfiles(*s);
    const auto b = write(segyOptionsFromStore(*s));
    ASSERT_EQ(b.size(), 3600 + 20 * TRACE_IEEE);
    EXPECT_EQ(fromEbcdic(b, 0, 4), "C 1 ");
    EXPECT_EQ(fromEbcdic(b, 80, 18), "C 2 SURVEY? line7?");
    EXPECT_NE(fromEbcdic(b, 6 * 80, 80).find("1000 PICOSECONDS"), std::string::npos);
    EXPECT_EQ(fromEbcdic(b, 39 * 80, 22), "C40 END TEXTUAL HEADER");
    // Interval 1 ns in picoseconds, 512 samples, IEEE floats, metres, revision 1, fixed length.
    expectFields(b, 0,
                 {{3216, 2, 1000},
                  {3220, 2, 512},
                  {3224, 2, 5},
                  {3254, 2, 1},
                  {3500, 2, 0x0100},
                  {3502, 2, 1}});
    // Frame 21 is the twelfth trace, the second of profile 2, recorded on
    // day 31 + 29 + 31 + 30 + 14 of 2024 at 10:15:21.22 with marker 2.
    expectFields(b, 3600 + 11 * TRACE_IEEE,
                 {{0, 4, 12},
                  {4, 4, 12},
                  {8, 4, 2},
                  {12, 4, 2},
                  {16, 4, 21},
                  {28, 2, 1},
                  {40, 4, 15021},
                  {68, 2, -100},
                  {70, 2, -100},
                  {72, 4, 100105},
                  {76, 4, -700},
                  {80, 4, 100105},
                  {88, 2, 1},
                  {114, 2, 512},
                  {116, 2, 1000},
                  {156, 2, 2024},
                  {158, 2, 135},
                  {160, 2, 10},
                  {162, 2, 15},
                  {164, 2, 21},
                  {232, 2, 2},
                  {234, 2, 22},
                  // Samples: code 0 as 0, 255 as 127.0, 1 as -127.0, 128 as 0.
                  {240, 4, 0},
                  {244, 4, 0x42FE0000},
                  {248, 4, int32_t(0xC2FE0000u)},
                  {252, 4, 0}});

    SegyWriteOptions o16 = segyOptionsFromStore(*s);
    o16.format = SegySampleFormat::Int16;
    const auto c = write(o16);
    ASSERT_EQ(c.size(), 3600 + 20 * (240 + 1024));
    expectFields(c, 0, {{3224, 2, 3}});
    expectFields(c, 3600 + 11 * (240 + 1024), {{242, 2, 127}, {244, 2, -127}});
}

TEST_F(Segy, GeographicCoordinatesAreArcSecondsEastAndNorthPositive) {
    twoProfiles(*s);
    FrameRecord& f = s->frame(0);
    f.value[cell::LonDegrees] = 37;
    f.set24(cell::LonFraction, 1234567);
    f.value[cell::LatDegrees] = 55;
    f.set24(cell::LatFraction, 5000000);
    s->header.value[hdr::CoordFlags] = hdr::Geographic | hdr::West;
    // 37.1234567 degrees = 133644.44412 arc-seconds; 55.5 degrees = 199800.
    expectFields(write(segyOptionsFromStore(*s)), 3600,
                 {{70, 2, -1000}, {72, 4, -133644444}, {76, 4, 199800000}, {88, 2, 2}});
}

TEST_F(Segy, NothingToWriteWithoutFramesWithData) {
    s->frameCount = 40;
    VectorSink sink;
    EXPECT_EQ(writeSegyFile(sink, *s, {}, ui).outcome, ExportOutcome::NothingToWrite);
    EXPECT_TRUE(sink.bytes.empty());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR! There is no Structure for record ");
}

TEST_F(Segy, WrittenSurveyReadsBackFrameForFrame) {
    twoProfiles(*s);
    s->frame(21).value[0] = 77; // a no-data sample would come back as zero amplitude
    for (SegySampleFormat format : {SegySampleFormat::Ieee32, SegySampleFormat::Int16}) {
        SegyWriteOptions o = segyOptionsFromStore(*s);
        o.format = format;
        const SegyLoad l = read(write(o), *back);
        EXPECT_EQ(l.segyFault, SegyFault::None);
        EXPECT_EQ(l.framesRead, 20);
        EXPECT_TRUE(l.unscaled);
        EXPECT_FALSE(l.resampled);
        EXPECT_EQ(l.profiles, 2);
        EXPECT_EQ(back->header.value[hdr::TimeRange], 2);
        EXPECT_EQ(back->header.value[hdr::Day], 14);
        EXPECT_EQ(back->header.value[hdr::Month], 5);
        EXPECT_EQ(back->header.value[hdr::Year], 24);
        // Ten blank frames between the profiles put every frame back in its slot.
        for (int f = 0; f <= 40; ++f) {
            const FrameRecord& a = s->frame(f);
            const FrameRecord& r = back->frame(f);
            ASSERT_EQ(a.inProfile(), r.inProfile()) << f;
            if (!a.inProfile()) continue;
            for (int j = 0; j < SAMPLE_ROWS; ++j)
                ASSERT_EQ(r.value[std::size_t(j)], a.value[std::size_t(j)]) << f << " " << j;
            EXPECT_EQ(r.markerStatus(), a.markerStatus()) << f;
            for (int c : {cell::Hour, cell::Minute, cell::Second, cell::Hundredths})
                EXPECT_EQ(r.value[std::size_t(c)], a.value[std::size_t(c)]) << f;
            EXPECT_EQ(r.get32(cell::UcsX), a.get32(cell::UcsX)) << f;
            EXPECT_EQ(r.get32(cell::UcsY), a.get32(cell::UcsY)) << f;
            EXPECT_EQ(r.reliefHeight(), a.reliefHeight()) << f;
        }
        EXPECT_EQ(back->frameCount, 60);
    }
}

// --- reading: formats and byte orders --------------------------------------------------

struct FormatCase {
    int format;
    bool little;
    std::vector<double> trace0, trace1;
    std::vector<int> codes0, codes1;
    bool unscaled;
};

class SegyFormats : public Segy, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(SegyFormats, SamplesBecomeCodesAroundZeroAmplitude) {
    const FormatCase& c = GetParam();
    SegyImage f(c.format, 4, 1000, c.little);
    f.addTrace(c.trace0);
    f.addTrace(c.trace1);
    const SegyLoad l = read(f.bytes, *back);
    EXPECT_EQ(l.segyFault, SegyFault::None);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(l.formatCode, c.format);
    EXPECT_EQ(l.littleEndian, c.little);
    EXPECT_EQ(l.unscaled, c.unscaled);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(back->frame(0).value[std::size_t(j)], c.codes0[std::size_t(j)]) << j;
        EXPECT_EQ(back->frame(1).value[std::size_t(j)], c.codes1[std::size_t(j)]) << j;
    }
    // Samples past the four of the record: no data.
    EXPECT_EQ(back->frame(0).value[4], 0);
    EXPECT_EQ(back->frame(1).value[511], 0);
    EXPECT_TRUE(back->frame(0).inProfile());
}

// Whole numbers within -127..127 as they stand; otherwise scaled by 127 / 1000:
// -500 -> Round(-63.5) = -64, 250.5 -> Round(31.81) = 32.
const std::vector<double> SMALL0{0, 100, -100, 127}, SMALL1{-127, 1, -1, 50};
const std::vector<int> SMALL0_CODES{128, 228, 28, 255}, SMALL1_CODES{1, 129, 127, 178};
const std::vector<double> LARGE0{0, 1000, -500, 250}, LARGE1{-1000, 2, 8, -4};
const std::vector<int> LARGE0_CODES{128, 255, 64, 160}, LARGE1_CODES{1, 128, 129, 127};

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, SegyFormats,
    ::testing::Values(
        FormatCase{1, false, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true},
        FormatCase{1, true, {0, 1000, -500, 250.5}, LARGE1, LARGE0_CODES, LARGE1_CODES, false},
        FormatCase{2, false, LARGE0, LARGE1, LARGE0_CODES, LARGE1_CODES, false},
        FormatCase{2, true, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true},
        FormatCase{3, false, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true},
        FormatCase{3, true, LARGE0, LARGE1, LARGE0_CODES, LARGE1_CODES, false},
        FormatCase{5, false, {0, 1000, -500, 250.5}, LARGE1, LARGE0_CODES, LARGE1_CODES, false},
        FormatCase{5, true, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true},
        FormatCase{5,
                   false,
                   {0, 0.5, -0.5, 0.25},
                   {-0.5, 0, 0, 0},
                   {128, 255, 1, 192},
                   {1, 128, 128, 128},
                   false},
        FormatCase{8, false, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true},
        FormatCase{8, true, SMALL0, SMALL1, SMALL0_CODES, SMALL1_CODES, true}));

// --- reading: time ---------------------------------------------------------------------

struct TimeCase {
    int interval;
    int samples;
    int item;
    bool resampled;
    bool cut;
    bool microseconds;
};

TEST_F(Segy, TimeRangeFollowsTheSampleInterval) {
    const TimeCase cases[] = {
        {1000, 512, 2, false, false, false},  // 1 ns: 512 ns
        {250, 512, 0, false, false, false},   // 0.25 ns: 128 ns
        {32000, 100, 7, false, false, false}, // 32 ns, the coarsest step
        {500, 1024, 2, true, false, false},   // 0.5 ns x 1024: 1 ns x 512
        {1000, 300, 2, false, false, false},  // fewer samples: the rest no data
        {100, 512, 0, true, false, false},    // finer than any range: 0.25 ns
        {3000, 512, 4, true, false, false},   // 3 ns: the next step is 4 ns
        {32000, 1024, 7, false, true, false}, // 32768 ns of record: cut at 16384
        {40000, 10, 7, true, true, true},     // 40 ns steps are microseconds
        {0, 512, 2, false, false, false},     // no interval: 1 ns
    };
    for (const TimeCase& c : cases) {
        SegyImage f(3, c.samples, c.interval);
        f.addTrace(std::vector<double>(std::size_t(c.samples), 5));
        const SegyLoad l = read(f.bytes, *back);
        EXPECT_EQ(l.segyFault, SegyFault::None) << c.interval;
        EXPECT_EQ(l.timeRangeItem, c.item) << c.interval << " x " << c.samples;
        EXPECT_EQ(back->header.value[hdr::TimeRange], c.item) << c.interval;
        EXPECT_EQ(l.resampled, c.resampled) << c.interval << " x " << c.samples;
        EXPECT_EQ(l.cut, c.cut) << c.interval << " x " << c.samples;
        EXPECT_EQ(l.intervalInMicroseconds, c.microseconds) << c.interval;
    }
}

TEST_F(Segy, ResamplingInterpolatesBetweenTheSamplesAround) {
    // 0.5 ns x 1024: sample j of 1 ns is file sample 2j exactly.
    std::vector<double> v(1024);
    for (int i = 0; i < 1024; ++i) v[std::size_t(i)] = i % 200 - 100;
    SegyImage a(5, 1024, 500);
    a.addTrace(v);
    read(a.bytes, *back);
    EXPECT_EQ(back->frame(0).value[0], 28);
    EXPECT_EQ(back->frame(0).value[60], 148); // file sample 120: 20
    EXPECT_EQ(back->frame(0).value[511], 50); // file sample 1022: -78
    // 0.1 ns x 512 onto 0.25 ns: sample j lies at file sample 2.5 j.
    std::vector<double> w(512);
    for (int i = 0; i < 512; ++i) w[std::size_t(i)] = i % 100 - 50;
    SegyImage b(5, 512, 100);
    b.addTrace(w);
    read(b.bytes, *back);
    EXPECT_EQ(back->frame(0).value[1], 80);   // (-48 - 47) / 2 = -47.5, rounds to -48
    EXPECT_EQ(back->frame(0).value[2], 83);   // file sample 5: -45
    EXPECT_EQ(back->frame(0).value[204], 88); // file sample 510: -40
    EXPECT_EQ(back->frame(0).value[205], 0);  // 512.5 lies past the record
}

// --- reading: positions, times, markers, profiles ----------------------------------------

TEST_F(Segy, TraceHeaderFieldsBecomeFrameFields) {
    SegyImage f(5, 4, 1000);
    for (int i = 0; i < 5; ++i) f.addTrace({1, 2, 3, 4});
    struct Put {
        int trace, at, bytes;
        int64_t value;
    };
    const Put puts[] = {// 0: arc-seconds, west and south; the date and time of the survey.
                        {0, SegyImage::T_SCALAR, 2, -1000},
                        {0, SegyImage::T_UNITS, 2, 2},
                        {0, SegyImage::T_SOURCE_X, 4, -133644444},
                        {0, SegyImage::T_SOURCE_Y, 4, -199800000},
                        {0, SegyImage::T_YEAR, 2, 2023},
                        {0, SegyImage::T_DAY, 2, 60}, // 1 March
                        {0, SegyImage::T_HOUR, 2, 8},
                        {0, SegyImage::T_MINUTE, 2, 30},
                        // 1: metres with a multiplying scalar, in the group fields.
                        {1, SegyImage::T_SCALAR, 2, 10},
                        {1, SegyImage::T_UNITS, 2, 1},
                        {1, SegyImage::T_GROUP_X, 4, 1234},
                        {1, SegyImage::T_GROUP_Y, 4, -5},
                        // 2: decimal degrees.
                        {2, SegyImage::T_SCALAR, 2, -10000},
                        {2, SegyImage::T_UNITS, 2, 3},
                        {2, SegyImage::T_SOURCE_X, 4, -301250},
                        {2, SegyImage::T_SOURCE_Y, 4, 595000},
                        // 3: degrees, minutes, seconds: 37 20 15.5 and 10 00 00.
                        {3, SegyImage::T_SCALAR, 2, -10},
                        {3, SegyImage::T_UNITS, 2, 4},
                        {3, SegyImage::T_SOURCE_X, 4, 3720155},
                        {3, SegyImage::T_SOURCE_Y, 4, 1000000},
                        // 4: relief 123.4 m, time 23:(60 is no minute):09.99, marker 3.
                        {4, SegyImage::T_ELEVATION, 4, 1234},
                        {4, SegyImage::T_ELEVATION_SCALAR, 2, -10},
                        {4, SegyImage::T_HOUR, 2, 23},
                        {4, SegyImage::T_MINUTE, 2, 60},
                        {4, SegyImage::T_SECOND, 2, 9},
                        {4, SegyImage::T_HUNDREDTHS, 2, 99},
                        {4, SegyImage::T_MARKER, 2, 3}};
    for (const Put& p : puts)
        p.bytes == 2 ? f.traceField16(p.trace, p.at, int(p.value))
                     : f.traceField32(p.trace, p.at, p.value);
    read(f.bytes, *back);

    auto position = [&](int frame) {
        const FrameRecord& r = back->frame(frame);
        return std::to_string(r.value[cell::LonDegrees]) + "+" +
               std::to_string(r.get24(cell::LonFraction)) + " " +
               std::to_string(r.value[cell::LatDegrees]) + "+" +
               std::to_string(r.get24(cell::LatFraction));
    };
    EXPECT_EQ(position(0), "37+1234567 55+5000000"); // 133644.444 arc-seconds
    EXPECT_EQ(position(2), "30+1250000 59+5000000");
    EXPECT_EQ(position(3), "37+3376389 10+0"); // 37 + 20 / 60 + 15.5 / 3600
    const uint8_t flags = back->header.value[hdr::CoordFlags];
    EXPECT_EQ(flags & (hdr::West | hdr::South | hdr::Geographic),
              hdr::West | hdr::South | hdr::Geographic);
    EXPECT_EQ(int32_t(back->frame(1).get32(cell::UcsX)), 1234000);
    EXPECT_EQ(int32_t(back->frame(1).get32(cell::UcsY)), -5000);
    const FrameRecord& e = back->frame(4);
    EXPECT_EQ(e.reliefHeight(), 12340u);
    EXPECT_EQ(std::vector<int>({e.value[cell::Hour], e.value[cell::Minute], e.value[cell::Second],
                                e.value[cell::Hundredths], e.markerStatus()}),
              std::vector<int>({23, 0, 9, 99, 3}));
    const auto& h = back->header.value;
    EXPECT_EQ(
        std::vector<int>({h[hdr::Day], h[hdr::Month], h[hdr::Year], h[hdr::Hour], h[hdr::Minute]}),
        std::vector<int>({1, 3, 23, 8, 30}));
}

TEST_F(Segy, FeetBecomeCentimetres) {
    SegyImage f(5, 4, 1000);
    f.put16(SegyImage::MEASUREMENT, 2);
    f.addTrace({1, 2, 3, 4});
    f.traceField16(0, SegyImage::T_UNITS, 1);
    f.traceField32(0, SegyImage::T_SOURCE_X, 100);
    f.traceField32(0, SegyImage::T_SOURCE_Y, 1);
    read(f.bytes, *back);
    EXPECT_EQ(back->frame(0).get32(cell::UcsX), 3048u);
    EXPECT_EQ(back->frame(0).get32(cell::UcsY), 30u);
}

TEST_F(Segy, FieldRecordsSplitProfilesOnlyWhenTheyNumberProfiles) {
    // Two records of eight traces: two profiles, ten blank frames between.
    SegyImage a(3, 4, 1000);
    for (int i = 0; i < 16; ++i) {
        a.addTrace({1, 2, 3, 4});
        a.traceField32(i, SegyImage::T_FIELD_RECORD, i < 8 ? 1 : 2);
    }
    SegyLoad l = read(a.bytes, *back);
    EXPECT_EQ(l.profiles, 2);
    EXPECT_TRUE(back->frame(7).inProfile());
    for (int f = 8; f < 18; ++f) EXPECT_FALSE(back->frame(f).inProfile()) << f;
    EXPECT_TRUE(back->frame(18).inProfile());
    EXPECT_EQ(back->frame(18).get16(cell::IndexInProfile), 0);
    // A record per trace numbers traces: one profile.
    SegyImage b(3, 4, 1000);
    for (int i = 0; i < 16; ++i) {
        b.addTrace({1, 2, 3, 4});
        b.traceField32(i, SegyImage::T_FIELD_RECORD, i + 1);
    }
    l = read(b.bytes, *back);
    EXPECT_EQ(l.profiles, 1);
    for (int f = 0; f < 16; ++f) EXPECT_TRUE(back->frame(f).inProfile()) << f;
}

TEST_F(Segy, VariableLengthTracesTakeTheirOwnSampleCounts) {
    SegyImage f(5, 4, 1000);
    f.put16(SegyImage::REVISION, 0x0100);
    f.put16(SegyImage::FIXED_LENGTH, 0);
    f.addTrace({1, 2, 3, 4});
    f.addTrace({10, 20, 30, 40, 50, 60});
    f.addTrace({-1, -2});
    const SegyLoad l = read(f.bytes, *back);
    EXPECT_EQ(l.segyFault, SegyFault::None);
    EXPECT_EQ(l.framesRead, 3);
    EXPECT_EQ(back->frame(1).value[5], 188);
    EXPECT_EQ(back->frame(2).value[1], 126);
    EXPECT_EQ(back->frame(2).value[2], 0);
}

TEST_F(Segy, ExtendedTextualHeadersAreSkippedInRevisedFilesOnly) {
    SegyImage f(5, 4, 1000);
    f.put16(SegyImage::REVISION, 0x0100);
    f.put16(SegyImage::EXTENDED, 1);
    f.bytes.insert(f.bytes.end(), 3200, 0x40);
    f.addTrace({1, 2, 3, 4});
    EXPECT_EQ(read(f.bytes, *back).framesRead, 1);
    EXPECT_EQ(back->frame(0).value[3], 132);
    // Revision 0 leaves the bytes unassigned: whatever they hold, no header is skipped.
    SegyImage g(5, 4, 1000);
    g.put16(SegyImage::EXTENDED, 7);
    g.addTrace({1, 2, 3, 4});
    EXPECT_EQ(read(g.bytes, *back).framesRead, 1);
}

// --- reading: refusals -------------------------------------------------------------------

struct FaultCase {
    const char* name;
    std::vector<uint8_t> bytes;
    SegyFault fault;
    int framesRead;
    const char* english; // a part of the message
};

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> out;
    SegyImage ok(5, 4, 1000);
    ok.addTrace({1, 2, 3, 4});
    out.push_back({"too short", std::vector<uint8_t>(ok.bytes.begin(), ok.bytes.begin() + 3599),
                   SegyFault::TooShort, 0, "shorter than its headers"});
    SegyImage fixedPoint(5, 4, 1000);
    fixedPoint.put16(SegyImage::FORMAT, 4);
    fixedPoint.addTrace({1, 2, 3, 4});
    out.push_back({"format 4", fixedPoint.bytes, SegyFault::UnknownFormat, 0,
                   "unknown sample format code (byte 3224)"});
    SegyImage noCount(5, 0, 1000);
    noCount.addTrace({});
    out.push_back(
        {"no samples", noCount.bytes, SegyFault::BadSampleCount, 0, "no number of samples"});
    SegyImage variable(5, 4, 1000);
    variable.put16(SegyImage::REVISION, 0x0100);
    variable.put16(SegyImage::EXTENDED, -1);
    variable.addTrace({1, 2, 3, 4});
    out.push_back({"variable extended", variable.bytes, SegyFault::ExtendedHeaders, 0,
                   "extended textual headers"});
    SegyImage many(5, 4, 1000);
    many.put16(SegyImage::REVISION, 0x0100);
    many.put16(SegyImage::EXTENDED, 30000);
    many.addTrace({1, 2, 3, 4});
    out.push_back({"extended past the end", many.bytes, SegyFault::ExtendedHeaders, 0,
                   "extended textual headers"});
    out.push_back({"headers only", std::vector<uint8_t>(ok.bytes.begin(), ok.bytes.begin() + 3600),
                   SegyFault::NoTraces, 0, "no whole trace"});
    SegyImage hostile(5, 65535, 1000);
    hostile.addTrace({1, 2, 3, 4});
    out.push_back(
        {"hostile sample count", hostile.bytes, SegyFault::NoTraces, 0, "no whole trace"});
    SegyImage cut(5, 4, 1000);
    for (int i = 0; i < 3; ++i) cut.addTrace({1, 2, 3, 4});
    cut.bytes.resize(cut.bytes.size() - 9);
    out.push_back({"cut in the third trace", cut.bytes, SegyFault::TraceCut, 2,
                   "cut short in trace 3 (byte 4112)"});
    return out;
}

// The reader reports; the open command words the report (segyMessages).
TEST_F(Segy, RefusalsNameTheFaultAndWhereItWasMet) {
    for (const FaultCase& c : faultCases()) {
        MemorySource src(c.bytes);
        const SegyLoad pre = segyPrecheck(src);
        EXPECT_EQ(pre.fault == LoadFault::Refused, c.fault != SegyFault::TraceCut) << c.name;
        const SegyLoad l = read(c.bytes, *back);
        EXPECT_TRUE(ui.shown.empty()) << c.name << ": the reader shows nothing";
        EXPECT_EQ(l.segyFault, c.fault) << c.name;
        EXPECT_EQ(l.framesRead, c.framesRead) << c.name;
        const std::vector<Message> said = segyMessages(l, "in.sgy");
        ASSERT_EQ(said.size(), 1u) << c.name;
        EXPECT_NE(said[0].en.find(c.english), std::string::npos) << c.name << ": " << said[0].en;
        EXPECT_NE(said[0].en.find("in.sgy"), std::string::npos) << c.name;
        EXPECT_FALSE(said[0].ru.empty()) << c.name;
        if (c.fault != SegyFault::TraceCut) {
            const std::vector<Message> refused = segyMessages(pre, "in.sgy");
            ASSERT_EQ(refused.size(), 1u) << c.name;
            EXPECT_EQ(refused[0].en, said[0].en)
                << c.name << ": the pre-check refuses as the reader";
        }
    }
}

// A disk that fails from a given byte on.
class FailingSource final : public ByteSource {
  public:
    FailingSource(const std::vector<uint8_t>& b, uint64_t limit) : bytes_(b), limit_(limit) {}
    uint64_t size() const override { return bytes_.size(); }
    std::size_t read(uint64_t offset, uint8_t* dst, std::size_t n) override {
        if (offset >= limit_) {
            failed_ = true;
            return 0;
        }
        const std::size_t got = std::size_t(std::min<uint64_t>(n, limit_ - offset));
        std::memcpy(dst, bytes_.data() + offset, got);
        failed_ = got < n;
        return got;
    }
    bool failed() const override { return failed_; }

  private:
    const std::vector<uint8_t>& bytes_;
    uint64_t limit_;
    bool failed_ = false;
};

TEST_F(Segy, AReadFaultKeepsTheTracesReadBeforeIt) {
    SegyImage f(5, 4, 1000);
    for (int i = 0; i < 5; ++i) f.addTrace({1, 2, 3, double(i)});
    // The disk fails inside the third trace (traces of 256 bytes from 3600).
    FailingSource src(f.bytes, 3600 + 2 * 256 + 100);
    back->clearForOpen(false);
    const SegyLoad l = readSegyFile(src, *back, SegyReadOptions{}, ui);
    EXPECT_EQ(l.segyFault, SegyFault::ReadFault);
    EXPECT_EQ(l.fault, LoadFault::ReadFault);
    EXPECT_EQ(l.faultTrace, 2);
    EXPECT_EQ(l.faultOffset, 3600u + 2 * 256);
    EXPECT_EQ(l.framesRead, 2);
    EXPECT_EQ(back->frame(1).value[3], 129);
    // The open command's read-fault message ("E020") says it; no second one.
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(segyMessages(l, "in.sgy").empty());
}

TEST_F(Segy, AppendStopsAtTheLastSlotALoaderFills) {
    back->frameCount = MAX_LOADED_FRAME - 9;
    SegyImage f(3, 4, 1000);
    for (int i = 0; i < 20; ++i) f.addTrace({1, 2, 3, 4});
    MemorySource src(f.bytes);
    back->clearForOpen(true);
    const SegyLoad l = readSegyFile(src, *back, SegyReadOptions{true}, ui);
    EXPECT_EQ(l.firstSlot, MAX_LOADED_FRAME - 9);
    EXPECT_EQ(l.framesRead, 10);
    EXPECT_EQ(l.fault, LoadFault::SlotLimit);
    EXPECT_TRUE(ui.shown.empty());
    const std::vector<Message> said = loadMessages(l, kind::Segy);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].en.find("E034"), std::string::npos);
    EXPECT_TRUE(back->frame(MAX_LOADED_FRAME).value[0] != 0);
    EXPECT_EQ(back->frame(MAX_LOADED_FRAME + 1).value[0], 0);
}

// --- exchange with segyio ------------------------------------------------------------------

// A Python with segyio, or empty.
std::string segyioPython() {
    for (const char* p : {"/usr/bin/python3", "python3"}) {
        const std::string cmd = std::string(p) + " -c 'import segyio, numpy' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) return p;
    }
    return {};
}

// Runs a Python script; its output as "key value" lines.
std::map<std::string, std::string> runPython(const std::string& python, const ScratchDir& dir,
                                             const std::string& script, const std::string& args) {
    const std::string path = dir.file("check.py");
    writeBytes(path, std::vector<uint8_t>(script.begin(), script.end()));
    const std::string cmd = python + " " + path + " " + args + " 2>&1";
    std::map<std::string, std::string> out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return out;
    char line[4096];
    while (std::fgets(line, sizeof line, p)) {
        out["output"] += line;
        std::istringstream in(line);
        std::string key, value;
        in >> key;
        std::getline(in, value);
        if (!value.empty() && value[0] == ' ') value.erase(0, 1);
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
        out[key] = value;
    }
    out["exit"] = std::to_string(::pclose(p));
    return out;
}

constexpr const char* READ_WITH_SEGYIO = R"(
import sys, segyio
with segyio.open(sys.argv[1], ignore_geometry=True) as f:
    print("traces", f.tracecount)
    print("samples", len(f.samples))
    print("interval", f.bin[segyio.BinField.Interval])
    print("format", f.bin[segyio.BinField.Format])
    print("picoseconds", int(b"PICOSECONDS" in bytes(f.text[0])))
    h = f.header[11]
    print("record", h[segyio.TraceField.FieldRecord])
    print("x", h[segyio.TraceField.SourceX])
    print("y", h[segyio.TraceField.SourceY])
    print("scalar", h[segyio.TraceField.SourceGroupScalar])
    print("units", h[segyio.TraceField.CoordinateUnits])
    print("seconds", h[segyio.TraceField.SecondOfMinute])
    t = f.trace[11]
    print("t", " ".join(str(int(v)) for v in t[:5]))
    print("last", int(f.trace[19][511]))
)";

TEST_F(Segy, SegyioReadsWhatWeWrite) {
    const std::string python = segyioPython();
    if (python.empty()) GTEST_SKIP() << "python3-segyio is not installed: no exchange check";
    twoProfiles(*s);
    for (SegySampleFormat format : {SegySampleFormat::Ieee32, SegySampleFormat::Int16}) {
        ScratchDir dir;
        SegyWriteOptions o = segyOptionsFromStore(*s);
        o.format = format;
        writeBytes(dir.file("out.sgy"), write(o));
        auto r = runPython(python, dir, READ_WITH_SEGYIO, dir.file("out.sgy"));
        ASSERT_EQ(r["exit"], "0") << r["output"];
        EXPECT_EQ(r["traces"], "20");
        EXPECT_EQ(r["samples"], "512");
        EXPECT_EQ(r["interval"], "1000");
        EXPECT_EQ(r["format"], std::to_string(int(format)));
        EXPECT_EQ(r["picoseconds"], "1");
        EXPECT_EQ(r["record"], "2");
        EXPECT_EQ(r["x"], "100105");
        EXPECT_EQ(r["y"], "-700");
        EXPECT_EQ(r["scalar"], "-100");
        EXPECT_EQ(r["units"], "1");
        EXPECT_EQ(r["seconds"], "21");
        // Frame 21: codes 0, 255, 1, 128 and then 1 + (21 + 4) % 254 = 26.
        EXPECT_EQ(r["t"], "0 127 -127 0 -102");
        // Frame 29, sample 511: 1 + 540 % 254 = 33.
        EXPECT_EQ(r["last"], "-95");
    }
}

constexpr const char* WRITE_WITH_SEGYIO = R"(
import sys, types, segyio, numpy as np
layout = types.SimpleNamespace(format=int(sys.argv[2]), samples=np.arange(1024) * 0.5,
                               tracecount=3, endian=sys.argv[3], iline=189, xline=193)
with segyio.create(sys.argv[1], layout) as f:
    for i in range(3):
        f.header[i] = {segyio.TraceField.SourceX: 1000 + i, segyio.TraceField.SourceY: 2000,
                       segyio.TraceField.SourceGroupScalar: -100,
                       segyio.TraceField.CoordinateUnits: 1,
                       segyio.TraceField.HourOfDay: 7 + i}
        f.trace[i] = ((np.arange(1024) + i) % 200 - 100).astype(np.float32)
print("done 1")
)";

TEST_F(Segy, WeReadWhatSegyioWrites) {
    const std::string python = segyioPython();
    if (python.empty()) GTEST_SKIP() << "python3-segyio is not installed: no exchange check";
    struct Case {
        int format;
        const char* endian;
    };
    for (const Case c : {Case{1, "big"}, Case{5, "little"}, Case{1, "little"}}) {
        ScratchDir dir;
        const std::string path = dir.file("in.sgy");
        auto r = runPython(python, dir, WRITE_WITH_SEGYIO,
                           path + " " + std::to_string(c.format) + " " + c.endian);
        ASSERT_EQ(r["done"], "1") << c.format << c.endian << "\n" << r["output"];
        const SegyLoad l = read(readBytes(path), *back);
        EXPECT_EQ(l.segyFault, SegyFault::None);
        EXPECT_EQ(l.framesRead, 3);
        EXPECT_EQ(l.formatCode, c.format);
        EXPECT_EQ(l.littleEndian, std::string(c.endian) == "little");
        // 0.5 ns x 1024 samples: 1 ns per sample, file sample 2j; whole numbers as they stand.
        EXPECT_EQ(l.timeRangeItem, 2);
        EXPECT_TRUE(l.unscaled);
        for (int t = 0; t < 3; ++t) {
            for (int j : {0, 1, 99, 300, 511})
                EXPECT_EQ(back->frame(t).value[std::size_t(j)], 128 + (2 * j + t) % 200 - 100)
                    << "trace " << t << " sample " << j;
            EXPECT_EQ(back->frame(t).get32(cell::UcsX), uint32_t(1000 + t));
            EXPECT_EQ(back->frame(t).get32(cell::UcsY), 2000u);
            EXPECT_EQ(back->frame(t).value[cell::Hour], 7 + t);
        }
    }
}

} // namespace
} // namespace tesk::testing
