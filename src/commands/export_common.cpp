#include "commands/export_common.h"

#include "store/settings_catalog.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {
template <typename Table> auto itemOf(const Table& table, int index) {
    return table[std::size_t(std::clamp(index, 0, int(table.size()) - 1))];
}
} // namespace

SampleScale sampleScaleFromStore(const ProfileStore& s) {
    const auto& h = s.header.value;
    SampleScale c;
    c.nsPerSample = itemOf(items::NS_PER_SAMPLE, h[hdr::TimeRange]);
    c.antennaCm = itemOf(items::ANTENNA_CM, h[hdr::Antenna]);
    c.stepCm = itemOf(items::STEP_CM, h[hdr::Step]);
    c.zeroLine = h[hdr::ViewFlags] & hdr::ZeroLine;
    c.geographic = h[hdr::CoordFlags] & hdr::Geographic;
    c.velocityCode = s.velocityCode;
    return c;
}

int readoutDepthCm(const SampleScale& c, double t) {
    if (c.velocityCode == 0) return 0;
    const int a = c.antennaCm / 2;
    const double tp = c.zeroLine ? t : t + a * 100.0 / c.velocityCode - a / 15.0;
    const double sd = (tp + a / 15.0) * (c.velocityCode / 100.0);
    if (sd <= a) return 0;
    return int(std::trunc(std::sqrt(sd * sd - double(a) * a)));
}

char decimalSeparatorOf(const std::locale& locale) {
    return std::use_facet<std::numpunct<char>>(locale).decimal_point();
}

char systemDecimalSeparator() {
    try {
        return decimalSeparatorOf(std::locale(""));
    } catch (const std::exception&) {
        // The environment names a locale that is not installed.
        return '.';
    }
}

SinkWriter::SinkWriter(ByteSink& sink, std::size_t capacity)
    : sink_(sink), buffer_(std::make_unique<char[]>(capacity)), next_(buffer_.get()),
      end_(buffer_.get() + capacity) {}

void SinkWriter::drain() {
    const std::size_t n = std::size_t(next_ - buffer_.get());
    if (ok_ && n > 0) ok_ = sink_.write(reinterpret_cast<const uint8_t*>(buffer_.get()), n);
    handed_ += n;
    next_ = buffer_.get();
}

void SinkWriter::put(std::string_view text) {
    putBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void SinkWriter::putBytes(const uint8_t* data, std::size_t n) {
    while (n > 0) {
        if (next_ == end_) drain();
        const std::size_t part = std::min(n, std::size_t(end_ - next_));
        std::memcpy(next_, data, part);
        next_ += part;
        data += part;
        n -= part;
    }
}

bool SinkWriter::flush() {
    drain();
    return ok_;
}

char* putInt(char* p, int64_t v) {
    return std::to_chars(p, p + 24, v).ptr;
}

char* putScaled(char* p, int64_t units, int decimals, char separator) {
    static constexpr int64_t POW10[] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};
    decimals = std::clamp(decimals, 1, 9);
    const int64_t unit = POW10[decimals];
    uint64_t magnitude = units < 0 ? uint64_t(0) - uint64_t(units) : uint64_t(units);
    if (units < 0) *p++ = '-';
    p = std::to_chars(p, p + 24, magnitude / uint64_t(unit)).ptr;
    uint64_t fraction = magnitude % uint64_t(unit);
    if (fraction == 0) return p;
    int digits = decimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    *p++ = separator;
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = char('0' + fraction % 10);
        fraction /= 10;
    }
    return p + digits;
}

char* putShortest(char* p, double v, char separator) {
    char* start = p;
    // Fixed notation needs hundreds of characters only for magnitudes no
    // table holds; those fall back to the exponent form.
    auto r = std::to_chars(p, p + 32, v, std::chars_format::fixed);
    if (r.ec != std::errc()) r = std::to_chars(p, p + 32, v);
    if (separator != '.') std::replace(start, r.ptr, '.', separator);
    return r.ptr;
}

std::string scaledText(int64_t units, int decimals, char separator) {
    char b[40];
    return std::string(b, putScaled(b, units, decimals, separator));
}

std::string shortestText(double v, char separator) {
    char b[40];
    return std::string(b, putShortest(b, v, separator));
}

} // namespace tesk
