#pragma once
// Byte positions and value conversions of SEG-Y shared by the writer and the
// reader. Offsets are 0-based (the standard counts bytes from 1).

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tesk::segy {

inline constexpr int TEXT_BYTES = 3200;
inline constexpr int BINARY_BYTES = 400;
inline constexpr int HEADERS_BYTES = TEXT_BYTES + BINARY_BYTES;
inline constexpr int TRACE_HEADER_BYTES = 240;
inline constexpr int TEXT_LINES = 40;
inline constexpr int TEXT_LINE_CHARS = 80;

// Binary header, file offsets.
namespace bin {
inline constexpr int JobId = 3200;
inline constexpr int LineNumber = 3204;
inline constexpr int ReelNumber = 3208;
inline constexpr int TracesPerEnsemble = 3212;
inline constexpr int Interval = 3216;
inline constexpr int OriginalInterval = 3218;
inline constexpr int Samples = 3220;
inline constexpr int OriginalSamples = 3222;
inline constexpr int Format = 3224;
inline constexpr int EnsembleFold = 3226;
inline constexpr int Sorting = 3228;
inline constexpr int MeasurementSystem = 3254; // 1 metres, 2 feet
inline constexpr int Revision = 3500;          // 0x0100 for revision 1
inline constexpr int FixedLength = 3502;
inline constexpr int ExtendedHeaders = 3504;
} // namespace bin

// Trace header, offsets within the 240 bytes.
namespace tr {
inline constexpr int SequenceInLine = 0;
inline constexpr int SequenceInFile = 4;
inline constexpr int FieldRecord = 8;    // the profile number
inline constexpr int TraceInRecord = 12; // position in the profile, from 1
inline constexpr int SourcePoint = 16;   // the frame slot
inline constexpr int TraceId = 28;
inline constexpr int DataUse = 34;
inline constexpr int GroupElevation = 40;
inline constexpr int SourceElevation = 44;
inline constexpr int ElevationScalar = 68;
inline constexpr int CoordinateScalar = 70;
inline constexpr int SourceX = 72;
inline constexpr int SourceY = 76;
inline constexpr int GroupX = 80;
inline constexpr int GroupY = 84;
inline constexpr int CoordinateUnits = 88; // 1 length, 2 arc-seconds, 3 degrees, 4 DMS
inline constexpr int Samples = 114;
inline constexpr int Interval = 116;
inline constexpr int Year = 156;
inline constexpr int DayOfYear = 158;
inline constexpr int Hour = 160;
inline constexpr int Minute = 162;
inline constexpr int Second = 164;
inline constexpr int TimeBasis = 166;
inline constexpr int Marker = 232;     // unassigned in the standard: the marker level 0..3
inline constexpr int Hundredths = 234; // unassigned: hundredths of the second
} // namespace tr

namespace units {
inline constexpr int Length = 1;
inline constexpr int ArcSeconds = 2;
inline constexpr int Degrees = 3;
inline constexpr int Dms = 4;
} // namespace units

// Scalars of the coordinates and elevations this program writes.
inline constexpr int16_t CENTIMETRE_SCALAR = -100;  // centimetres to metres
inline constexpr int16_t ARC_SECOND_SCALAR = -1000; // thousandths of an arc-second

// Sample intervals above this many picoseconds (32 ns) are no radar
// sampling step: such a field only makes sense in microseconds.
inline constexpr int LARGEST_PICOSECOND_INTERVAL = 32000;

inline void putBE16(uint8_t* p, int v) {
    p[0] = uint8_t(uint32_t(v) >> 8);
    p[1] = uint8_t(v);
}
inline void putBE32(uint8_t* p, int64_t v) {
    const uint32_t u = uint32_t(v);
    p[0] = uint8_t(u >> 24);
    p[1] = uint8_t(u >> 16);
    p[2] = uint8_t(u >> 8);
    p[3] = uint8_t(u);
}

// ASCII to EBCDIC (code page 037) for the printable characters; anything
// else becomes a blank.
uint8_t ebcdicOf(char c);

// An IBM System/360 single-precision float (sign, base-16 exponent biased by
// 64, 24-bit fraction) as a double.
inline double ibmToDouble(uint32_t bits) {
    const uint32_t fraction = bits & 0x00FFFFFF;
    if (fraction == 0) return 0.0;
    const int exponent = int((bits >> 24) & 0x7F) - 64;
    // fraction / 2^24 * 16^exponent
    const double v = std::ldexp(double(fraction), 4 * exponent - 24);
    return (bits & 0x80000000u) ? -v : v;
}

} // namespace tesk::segy
