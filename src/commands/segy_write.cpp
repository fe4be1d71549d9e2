// SEG-Y revision 1 as this writer lays it out (big-endian, offsets from 0):
//
//   0      3200  textual header: 40 lines of 80 EBCDIC characters naming the
//                program, the survey, the time range, the profile step and
//                the meaning of the fields below
//   3200   400   binary header: 3216 sample interval in picoseconds,
//                3220 samples per trace (512), 3224 format code (5 or 3),
//                3254 metres, 3500 revision 0x0100, 3502 fixed length 1
//   3600   per frame with data, in frame order, 240 + 512 x 4 (or x 2) bytes:
//          0 sequence in line, 4 sequence in file (from 1), 8 profile number,
//          12 trace in profile (from 1), 16 frame number, 28 trace id 1,
//          40 and 44 relief height (cm, scalar -100 at 68), 70 coordinate
//          scalar, 72..87 source and group X, Y, 88 coordinate units,
//          114 samples, 116 interval (ps), 156..167 date and time of the
//          frame, 232 marker level, 234 hundredths; then the samples

#include "commands/export_messages.h"
#include "commands/segy.h"
#include "commands/segy_layout.h"
#include "store/settings_catalog.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace tesk {

namespace segy {

uint8_t ebcdicOf(char c) {
    static const std::array<uint8_t, 128> table = [] {
        std::array<uint8_t, 128> t{};
        t.fill(0x40);
        const char* ascii = " !\"#$%&'()*+,-./0123456789:;<=>?@"
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
        static constexpr uint8_t ebcdic[] = {
            0x40, 0x5A, 0x7F, 0x7B, 0x5B, 0x6C, 0x50, 0x7D, 0x4D, 0x5D, 0x5C, 0x4E, 0x6B, 0x60,
            0x4B, 0x61, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0x7A, 0x5E,
            0x4C, 0x7E, 0x6E, 0x6F, 0x7C, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9,
            0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6,
            0xE7, 0xE8, 0xE9, 0xBA, 0xE0, 0xBB, 0xB0, 0x6D, 0x79, 0x81, 0x82, 0x83, 0x84, 0x85,
            0x86, 0x87, 0x88, 0x89, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0xA2,
            0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xC0, 0x4F, 0xD0, 0xA1};
        for (std::size_t i = 0; ascii[i]; ++i) t[std::size_t(uint8_t(ascii[i]))] = ebcdic[i];
        return t;
    }();
    const auto u = uint8_t(c);
    return u < 128 ? table[u] : 0x40;
}

} // namespace segy

namespace {

using namespace segy;

std::string twoDigits(int v) {
    return std::string(1, char('0' + v / 10 % 10)) + char('0' + v % 10);
}

// The full year of a two-digit header year.
int fullYear(int yy) {
    yy %= 100;
    return yy < 70 ? 2000 + yy : 1900 + yy;
}

// Day of the year of the recording date, 0 when the date is not a date.
int dayOfYear(int day, int month, int year) {
    static constexpr int before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return before[month - 1] + day + (leap && month > 2 ? 1 : 0);
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void putTextHeader(uint8_t* out, const ProfileStore& s, const SegyWriteOptions& o, int64_t traces,
                   int profiles, int intervalPs, const SampleScale& scale) {
    const auto& h = s.header.value;
    const char sep = '.';
    const bool ieee = o.format == SegySampleFormat::Ieee32;
    const std::string range = std::to_string(int(scale.nsPerSample * SAMPLES_PER_FRAME + 0.5));
    std::string lines[TEXT_LINES] = {
        "SEG-Y REVISION 1 WRITTEN BY TESK, GROUND-PENETRATING RADAR",
        "SURVEY: " + baseName(o.surveyName),
        "RECORDED: " + twoDigits(h[hdr::Day]) + "." + twoDigits(h[hdr::Month]) + "." +
            twoDigits(h[hdr::Year]) + " " + twoDigits(h[hdr::Hour]) + ":" +
            twoDigits(h[hdr::Minute]),
        "TRACES: " + std::to_string(traces) +
            ", ONE PER FRAME WITH DATA, IN FRAME ORDER; PROFILES: " + std::to_string(profiles),
        "GAPS BETWEEN PROFILES LEFT OUT; FIELD RECORD (BYTES 9-12) = PROFILE NUMBER",
        "SAMPLES PER TRACE: 512   TIME RANGE: " + range +
            " NS   SAMPLE STEP: " + shortestText(scale.nsPerSample, sep) + " NS",
        "SAMPLE INTERVAL (BYTES 3217-3218, 117-118): " + std::to_string(intervalPs) +
            " PICOSECONDS, AS GPR",
        "PROGRAMS WRITE IT: WHOLE MICROSECONDS CANNOT HOLD A NANOSECOND STEP",
        "PROFILE STEP: " + std::to_string(scale.stepCm) + " CM   SOIL VELOCITY: " +
            scaledText(scale.velocityCode, 2, sep) + " CM/NS (DEPTH = VELOCITY X TIME)",
        std::string("SAMPLE FORMAT ") + (ieee ? "5, IEEE FLOAT" : "3, 16-BIT INTEGER") +
            ": SAMPLE = AMPLITUDE CODE - 128",
        "CODES 1..255 GIVE -127..127; CODE 0 (NO DATA) IS WRITTEN AS 0",
        o.geographic ? "COORDINATES (BYTES 73-88): LONGITUDE, LATITUDE IN ARC-SECONDS"
                     : "COORDINATES (BYTES 73-88): RECTANGULAR X, Y IN CENTIMETRES",
        o.geographic ? "SCALAR -1000 (BYTES 71-72), UNITS 2 (BYTES 89-90), EAST AND NORTH POSITIVE"
                     : "SCALAR -100 (BYTES 71-72) GIVES METRES, UNITS 1 (BYTES 89-90)",
        "RELIEF HEIGHT (BYTES 41-48): CENTIMETRES, SCALAR -100 (BYTES 69-70)",
        "BYTES 13-16: TRACE IN PROFILE FROM 1; BYTES 17-20: FRAME NUMBER FROM 0",
        "MARKER LEVEL 0-3 (BYTES 233-234); HUNDREDTHS OF A SECOND (BYTES 235-236)",
        "RECORDING DATE AND TIME OF EVERY FRAME: BYTES 157-168",
    };
    lines[38] = "SEG Y REV1";
    lines[39] = "END TEXTUAL HEADER";
    for (int i = 0; i < TEXT_LINES; ++i) {
        std::string line =
            std::string("C") + (i + 1 < 10 ? " " : "") + std::to_string(i + 1) + " " + lines[i];
        line.resize(TEXT_LINE_CHARS, ' ');
        for (int k = 0; k < TEXT_LINE_CHARS; ++k)
            out[i * TEXT_LINE_CHARS + k] = ebcdicOf(line[std::size_t(k)]);
    }
}

// `base` is the start of the file: the field names are file offsets.
void putBinaryHeader(uint8_t* base, const SegyWriteOptions& o, int intervalPs) {
    putBE32(base + bin::JobId, 1);
    putBE32(base + bin::LineNumber, 1);
    putBE32(base + bin::ReelNumber, 1);
    putBE16(base + bin::TracesPerEnsemble, 1);
    putBE16(base + bin::Interval, intervalPs);
    putBE16(base + bin::OriginalInterval, intervalPs);
    putBE16(base + bin::Samples, SAMPLES_PER_FRAME);
    putBE16(base + bin::OriginalSamples, SAMPLES_PER_FRAME);
    putBE16(base + bin::Format, int(o.format));
    putBE16(base + bin::EnsembleFold, 1);
    putBE16(base + bin::Sorting, 1);
    putBE16(base + bin::MeasurementSystem, 1);
    putBE16(base + bin::Revision, 0x0100);
    putBE16(base + bin::FixedLength, 1);
    putBE16(base + bin::ExtendedHeaders, 0);
}

// Thousandths of an arc-second of a position in 1e-7 degree: x 3600 x 1000 / 1e7.
int64_t milliArcSeconds(int64_t tenMillionths) {
    return (tenMillionths * 36 + 50) / 100;
}

} // namespace

SegyWriteOptions segyOptionsFromStore(const ProfileStore& s) {
    SegyWriteOptions o;
    o.geographic = s.header.value[hdr::CoordFlags] & hdr::Geographic;
    o.surveyName = s.currentFileName;
    return o;
}

ExportResult writeSegyFile(ByteSink& sink, const ProfileStore& s, const SegyWriteOptions& o,
                           Interaction& ui) {
    ExportResult out;
    int64_t traces = 0;
    int profiles = 0;
    for (int f = 0; f <= s.frameCount; ++f) {
        if (!s.frame(f).inProfile()) continue;
        ++traces;
        if (f == 0 || !s.frame(f - 1).inProfile()) ++profiles;
    }
    if (traces == 0) {
        ui.show(msg::nothingToWrite());
        return out;
    }
    const SampleScale scale = sampleScaleFromStore(s);
    const int intervalPs = int(scale.nsPerSample * 1000 + 0.5);
    const bool ieee = o.format == SegySampleFormat::Ieee32;
    const int sampleBytes = ieee ? 4 : 2;
    const auto& h = s.header.value;
    const int year = fullYear(h[hdr::Year]);
    const int day = dayOfYear(h[hdr::Day], h[hdr::Month], year);
    const bool west = h[hdr::CoordFlags] & hdr::West;
    const bool south = h[hdr::CoordFlags] & hdr::South;

    // Every code's sample in the file's byte order.
    std::array<std::array<uint8_t, 4>, 256> sampleOf{};
    for (int c = 0; c < 256; ++c) {
        const int v = c == 0 ? 0 : c - 128;
        uint8_t* p = sampleOf[std::size_t(c)].data();
        if (ieee) {
            const float f = float(v);
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            putBE32(p, bits);
        } else {
            putBE16(p, v);
        }
    }

    SinkWriter w(sink);
    std::array<uint8_t, HEADERS_BYTES> head{};
    putTextHeader(head.data(), s, o, traces, profiles, intervalPs, scale);
    putBinaryHeader(head.data(), o, intervalPs);
    w.putBytes(head.data(), head.size());

    const std::size_t traceBytes =
        TRACE_HEADER_BYTES + std::size_t(SAMPLES_PER_FRAME) * sampleBytes;
    int64_t sequence = 0;
    int profile = 0, inProfile = 0;
    ui.progress(0, s.frameCount + 1);
    for (int f = 0; f <= s.frameCount && w.ok(); ++f) {
        const FrameRecord& fr = s.frame(f);
        if (!fr.inProfile()) {
            inProfile = 0;
            continue;
        }
        if (inProfile == 0) ++profile;
        ++inProfile;
        ++sequence;
        auto* t = reinterpret_cast<uint8_t*>(w.reserve(traceBytes));
        std::memset(t, 0, TRACE_HEADER_BYTES);
        putBE32(t + tr::SequenceInLine, sequence);
        putBE32(t + tr::SequenceInFile, sequence);
        putBE32(t + tr::FieldRecord, profile);
        putBE32(t + tr::TraceInRecord, inProfile);
        putBE32(t + tr::SourcePoint, f);
        putBE16(t + tr::TraceId, 1);
        putBE16(t + tr::DataUse, 1);
        putBE32(t + tr::GroupElevation, fr.reliefHeight());
        putBE32(t + tr::SourceElevation, fr.reliefHeight());
        putBE16(t + tr::ElevationScalar, CENTIMETRE_SCALAR);
        int64_t x, y;
        if (o.geographic) {
            x = milliArcSeconds(int64_t(fr.value[cell::LonDegrees]) * 10000000 +
                                fr.get24(cell::LonFraction));
            y = milliArcSeconds(int64_t(fr.value[cell::LatDegrees]) * 10000000 +
                                fr.get24(cell::LatFraction));
            if (west) x = -x;
            if (south) y = -y;
            putBE16(t + tr::CoordinateScalar, ARC_SECOND_SCALAR);
            putBE16(t + tr::CoordinateUnits, units::ArcSeconds);
        } else {
            x = int32_t(fr.get32(cell::UcsX));
            y = int32_t(fr.get32(cell::UcsY));
            putBE16(t + tr::CoordinateScalar, CENTIMETRE_SCALAR);
            putBE16(t + tr::CoordinateUnits, units::Length);
        }
        putBE32(t + tr::SourceX, x);
        putBE32(t + tr::SourceY, y);
        putBE32(t + tr::GroupX, x);
        putBE32(t + tr::GroupY, y);
        putBE16(t + tr::Samples, SAMPLES_PER_FRAME);
        putBE16(t + tr::Interval, intervalPs);
        putBE16(t + tr::Year, year);
        putBE16(t + tr::DayOfYear, day);
        putBE16(t + tr::Hour, fr.value[cell::Hour]);
        putBE16(t + tr::Minute, fr.value[cell::Minute]);
        putBE16(t + tr::Second, fr.value[cell::Second]);
        putBE16(t + tr::TimeBasis, 1); // local time
        putBE16(t + tr::Marker, fr.markerStatus());
        putBE16(t + tr::Hundredths, fr.value[cell::Hundredths]);
        uint8_t* d = t + TRACE_HEADER_BYTES;
        if (ieee) {
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j, d += 4)
                std::memcpy(d, sampleOf[fr.value[std::size_t(j)]].data(), 4);
        } else {
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j, d += 2)
                std::memcpy(d, sampleOf[fr.value[std::size_t(j)]].data(), 2);
        }
        w.advance(reinterpret_cast<char*>(d));
        if (sequence % 1024 == 0) ui.progress(f + 1, s.frameCount + 1);
    }
    ui.progress(s.frameCount + 1, s.frameCount + 1);
    const bool ok = w.flush();
    out.bytes = w.total();
    out.lines = traces;
    out.outcome = ok ? ExportOutcome::Written : ExportOutcome::WriteFailed;
    return out;
}

} // namespace tesk
