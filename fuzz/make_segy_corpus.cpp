// Writes the seed corpus of the SEG-Y fuzz target: small files in every
// format and byte order, fixed and variable trace lengths, extended headers,
// coordinates in every unit, profiles by field record, intervals of every
// reading, and cut, hostile and foreign files. The bytes are laid out by
// tests/support/segy_files.h, independently of the program's writer.
// Deterministic: running it again gives the same files.
//
//   fuzz_make_segy_corpus <directory>
//
// fuzz/corpus/segy/README.md describes every seed.

#include "support/segy_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using tesk::testing::SegyImage;

// A trace of n samples: a direct wave near the top, a reflection and a ramp,
// around zero, at most `peak` in magnitude.
std::vector<double> ascan(int trace, int n, double peak) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        double a = 0;
        if (i >= 2 && i < 6) a = (i % 2 ? 1 : -1) * peak;
        if (i == n / 2 + trace % 3) a = peak / 2;
        a += ((i * 7 + trace * 3) % 11 - 5) * peak / 40;
        v[std::size_t(i)] = a;
    }
    return v;
}

SegyImage traces(int format, int n, int interval, bool little, int count, double peak) {
    SegyImage f(format, n, interval, little);
    for (int t = 0; t < count; ++t) f.addTrace(ascan(t, n, peak));
    return f;
}

bool save(const std::filesystem::path& dir, const std::string& name,
          const std::vector<uint8_t>& b) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    if (!out) std::fprintf(stderr, "cannot write %s\n", name.c_str());
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    bool ok = true;
    auto put = [&](const std::string& name, const std::vector<uint8_t>& b) {
        ok = save(dir, name, b) && ok;
    };

    // Formats and byte orders.
    put("be_ieee.sgy", traces(5, 16, 1000, false, 3, 100).bytes);
    put("le_ieee_scaled.sgy", traces(5, 16, 1000, true, 3, 2000.5).bytes);
    put("be_ibm.sgy", traces(1, 16, 250, false, 2, 3000).bytes);
    put("le_ibm.sgy", traces(1, 16, 500, true, 2, 64).bytes);
    put("be_int32.sgy", traces(2, 12, 2000, false, 2, 100000).bytes);
    put("le_int16.sgy", traces(3, 12, 1000, true, 4, 120).bytes);
    put("be_int8.sgy", traces(8, 20, 1000, false, 2, 127).bytes);

    // Intervals: microseconds, none, finer than any time range, more samples than 512.
    put("interval_microseconds.sgy", traces(5, 8, 40000, false, 2, 10).bytes);
    put("interval_zero.sgy", traces(3, 8, 0, false, 2, 10).bytes);
    put("interval_100ps.sgy", traces(3, 64, 100, false, 2, 50).bytes);
    put("samples_600_resampled.sgy", traces(3, 600, 1000, false, 2, 100).bytes);

    // Revision 1: variable trace lengths, an extended textual header.
    {
        SegyImage f(5, 8, 1000);
        f.put16(SegyImage::REVISION, 0x0100);
        f.put16(SegyImage::FIXED_LENGTH, 0);
        f.addTrace(ascan(0, 8, 50));
        f.addTrace(ascan(1, 20, 50));
        f.addTrace(ascan(2, 3, 50));
        put("rev1_variable_length.sgy", f.bytes);
    }
    {
        SegyImage f(3, 8, 1000);
        f.put16(SegyImage::REVISION, 0x0100);
        f.put16(SegyImage::EXTENDED, 1);
        f.bytes.insert(f.bytes.end(), 3200, 0x40);
        f.addTrace(ascan(0, 8, 50));
        put("rev1_extended_header.sgy", f.bytes);
    }
    {
        SegyImage f(3, 8, 1000);
        f.put16(SegyImage::EXTENDED, 9); // revision 0: not a count
        f.addTrace(ascan(0, 8, 50));
        put("rev0_junk_in_rev1_fields.sgy", f.bytes);
    }

    // Positions, relief, times and markers.
    {
        SegyImage f = traces(5, 8, 1000, false, 5, 40);
        f.traceField16(0, SegyImage::T_SCALAR, -1000);
        f.traceField16(0, SegyImage::T_UNITS, 2);
        f.traceField32(0, SegyImage::T_SOURCE_X, -133644444);
        f.traceField32(0, SegyImage::T_SOURCE_Y, 199800000);
        f.traceField16(1, SegyImage::T_SCALAR, 10);
        f.traceField16(1, SegyImage::T_UNITS, 1);
        f.traceField32(1, SegyImage::T_GROUP_X, 1234);
        f.traceField32(1, SegyImage::T_GROUP_Y, -5);
        f.traceField16(2, SegyImage::T_SCALAR, -10000);
        f.traceField16(2, SegyImage::T_UNITS, 3);
        f.traceField32(2, SegyImage::T_SOURCE_X, 1800001);
        f.traceField32(2, SegyImage::T_SOURCE_Y, 595000);
        f.traceField16(3, SegyImage::T_UNITS, 4);
        f.traceField32(3, SegyImage::T_SOURCE_X, 372015);
        f.traceField32(3, SegyImage::T_SOURCE_Y, 100000);
        f.traceField32(4, SegyImage::T_ELEVATION, 1234);
        f.traceField16(4, SegyImage::T_ELEVATION_SCALAR, -10);
        f.traceField16(4, SegyImage::T_HOUR, 23);
        f.traceField16(4, SegyImage::T_MINUTE, 61);
        f.traceField16(4, SegyImage::T_HUNDREDTHS, 99);
        f.traceField16(4, SegyImage::T_MARKER, 3);
        f.traceField16(0, SegyImage::T_YEAR, 2024);
        f.traceField16(0, SegyImage::T_DAY, 366);
        put("fields_of_every_kind.sgy", f.bytes);
    }
    {
        SegyImage f = traces(3, 8, 1000, true, 2, 40);
        f.put16(SegyImage::MEASUREMENT, 2);
        f.traceField16(0, SegyImage::T_UNITS, 1);
        f.traceField32(0, SegyImage::T_SOURCE_X, 100);
        f.traceField32(0, SegyImage::T_ELEVATION, 300);
        put("feet.sgy", f.bytes);
    }

    // Profiles by field record, and a record per trace.
    {
        SegyImage f = traces(3, 8, 1000, false, 16, 40);
        for (int t = 0; t < 16; ++t) f.traceField32(t, SegyImage::T_FIELD_RECORD, t < 8 ? 1 : 2);
        put("two_profiles.sgy", f.bytes);
        for (int t = 0; t < 16; ++t) f.traceField32(t, SegyImage::T_FIELD_RECORD, t + 1);
        put("record_per_trace.sgy", f.bytes);
    }
    // Appended to itself (bit 0 of byte 0).
    {
        SegyImage f = traces(5, 16, 1000, false, 3, 100);
        f.bytes[0] = 0x41;
        put("append_self.sgy", f.bytes);
    }

    // Cut and hostile files.
    {
        SegyImage f = traces(5, 16, 1000, false, 3, 100);
        put("too_short.sgy", std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + 3599));
        put("headers_only.sgy", std::vector<uint8_t>(f.bytes.begin(), f.bytes.begin() + 3600));
        auto cut = f.bytes;
        cut.resize(cut.size() - 9);
        put("cut_in_third_trace.sgy", cut);
        auto inHeader = f.bytes;
        inHeader.resize(3600 + 2 * (240 + 64) + 100);
        put("cut_in_trace_header.sgy", inHeader);
    }
    {
        SegyImage f = traces(5, 8, 1000, false, 1, 10);
        f.put16(SegyImage::SAMPLES, 65535);
        put("hostile_sample_count.sgy", f.bytes);
        f.put16(SegyImage::SAMPLES, 0);
        f.traceField16(0, SegyImage::T_SAMPLES, 0);
        put("no_sample_count.sgy", f.bytes);
    }
    {
        SegyImage f = traces(5, 8, 1000, false, 1, 10);
        f.put16(SegyImage::FORMAT, 4);
        put("format_4_fixed_point.sgy", f.bytes);
        f.put16(SegyImage::FORMAT, 5);
        f.put16(SegyImage::REVISION, 0x0100);
        f.put16(SegyImage::EXTENDED, -1);
        put("extended_headers_variable.sgy", f.bytes);
        f.put16(SegyImage::EXTENDED, 30000);
        put("extended_headers_past_end.sgy", f.bytes);
    }
    {
        // Variable length with a trace whose own count runs past the end.
        SegyImage f(5, 8, 1000);
        f.put16(SegyImage::REVISION, 0x0100);
        f.put16(SegyImage::FIXED_LENGTH, 0);
        f.addTrace(ascan(0, 8, 50));
        f.traceField16(0, SegyImage::T_SAMPLES, 60000);
        put("variable_count_past_end.sgy", f.bytes);
    }
    {
        // Special floats: NaN, infinities, the largest IBM value.
        SegyImage f(5, 6, 1000);
        f.addTrace({0, 1, 2, 3, 4, 5});
        const uint32_t specials[] = {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x00000001u};
        for (int i = 0; i < 4; ++i) {
            const uint64_t at = f.trace(0) + 240 + 4 * uint64_t(i);
            for (int k = 0; k < 4; ++k)
                f.bytes[at + uint64_t(k)] = uint8_t(specials[i] >> (24 - 8 * k));
        }
        put("ieee_nan_and_infinity.sgy", f.bytes);
        SegyImage g(1, 4, 1000);
        g.addTrace({1, 2, 3, 4});
        for (int k = 0; k < 4; ++k) g.bytes[g.trace(0) + 240 + uint64_t(k)] = 0x7F;
        put("ibm_largest.sgy", g.bytes);
    }
    return ok ? 0 : 1;
}
