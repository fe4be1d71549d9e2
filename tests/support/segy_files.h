#pragma once
// SEG-Y files laid out by hand for the reader's tests, its fuzz corpus and
// the benchmarks: the 3600 bytes of headers, then traces of 240 header bytes
// and the samples, every field put at its byte in the chosen byte order.
// Independent of the program's own writer (it has its own IBM float encoder).

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tesk::testing {

class SegyImage {
  public:
    // Binary header fields at their file offsets (0-based).
    static constexpr int INTERVAL = 3216, SAMPLES = 3220, FORMAT = 3224, MEASUREMENT = 3254,
                         REVISION = 3500, FIXED_LENGTH = 3502, EXTENDED = 3504;
    // Trace header fields, offsets within the 240 bytes.
    static constexpr int T_FIELD_RECORD = 8, T_ELEVATION = 40, T_ELEVATION_SCALAR = 68,
                         T_SCALAR = 70, T_SOURCE_X = 72, T_SOURCE_Y = 76, T_GROUP_X = 80,
                         T_GROUP_Y = 84, T_UNITS = 88, T_SAMPLES = 114, T_INTERVAL = 116,
                         T_YEAR = 156, T_DAY = 158, T_HOUR = 160, T_MINUTE = 162, T_SECOND = 164,
                         T_MARKER = 232, T_HUNDREDTHS = 234;

    SegyImage(int format, int samples, int intervalPs, bool little = false)
        : bytes(3600, 0x40), format_(format), samples_(samples), little_(little) {
        std::memset(bytes.data() + 3200, 0, 400);
        put16(INTERVAL, intervalPs);
        put16(SAMPLES, samples);
        put16(FORMAT, format);
    }

    int sampleBytes() const { return format_ == 3 ? 2 : format_ == 8 ? 1 : 4; }

    void put16(uint64_t at, int v) { putN(at, uint32_t(v), 2); }
    void put32(uint64_t at, int64_t v) { putN(at, uint32_t(v), 4); }

    // Appends a trace of the given samples (as many as given, so a trace of
    // another length than the binary header's can be built); returns the
    // offset of its header.
    uint64_t addTrace(const std::vector<double>& values) {
        const uint64_t at = bytes.size();
        bytes.resize(bytes.size() + 240 + values.size() * std::size_t(sampleBytes()), 0);
        put16(at + T_SAMPLES, int(values.size()));
        uint64_t p = at + 240;
        for (double v : values) {
            switch (format_) {
            case 1:
                putN(p, ibm(v), 4);
                break;
            case 2:
                putN(p, uint32_t(int32_t(v)), 4);
                break;
            case 3:
                putN(p, uint32_t(int16_t(v)), 2);
                break;
            case 5: {
                const float f = float(v);
                uint32_t b;
                std::memcpy(&b, &f, 4);
                putN(p, b, 4);
                break;
            }
            case 8:
                bytes[p] = uint8_t(int8_t(v));
                break;
            }
            p += uint64_t(sampleBytes());
        }
        traces_.push_back(at);
        return at;
    }
    uint64_t trace(int i) const { return traces_.at(std::size_t(i)); }
    void traceField16(int i, int offset, int v) { put16(trace(i) + uint64_t(offset), v); }
    void traceField32(int i, int offset, int64_t v) { put32(trace(i) + uint64_t(offset), v); }

    // IBM System/360 single precision: sign, exponent of 16 biased by 64,
    // 24-bit fraction with 0.0625 <= fraction < 1.
    static uint32_t ibm(double v) {
        if (v == 0) return 0;
        const uint32_t sign = v < 0 ? 0x80000000u : 0;
        double a = std::fabs(v);
        int e = 64;
        while (a >= 1) {
            a /= 16;
            ++e;
        }
        while (a < 1.0 / 16) {
            a *= 16;
            --e;
        }
        uint32_t fraction = uint32_t(std::llround(a * 16777216.0));
        if (fraction >= 16777216u) {
            fraction >>= 4;
            ++e;
        }
        return sign | (uint32_t(e) << 24) | fraction;
    }

    std::vector<uint8_t> bytes;

  private:
    void putN(uint64_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            const int shift = little_ ? 8 * i : 8 * (n - 1 - i);
            bytes[at + uint64_t(i)] = uint8_t(v >> shift);
        }
    }
    int format_;
    int samples_;
    bool little_;
    std::vector<uint64_t> traces_;
};

} // namespace tesk::testing
