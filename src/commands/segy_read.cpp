// SEG-Y as this reader takes it (offsets from 0; 16- and 32-bit fields in the
// file's byte order, big-endian unless the format code is valid only when
// read little-endian):
//
//   0     3200        textual header (EBCDIC or ASCII), not interpreted
//   3200  400         binary header: 3216 sample interval, 3220 samples per
//                     trace, 3224 format code (1 IBM float, 2 int32, 3 int16,
//                     5 IEEE float, 8 int8), 3254 measurement system (2 feet),
//                     3500 revision, 3502 fixed-length flag, 3504 number of
//                     extended textual headers (revisions 1 and 2 only)
//   3600 + 3200 e     traces, one after the other:
//        0    240     trace header: 8 field record, 40 group elevation
//                     (scalar at 68), 70 coordinate scalar, 72/76 source X/Y,
//                     80/84 group X/Y, 88 coordinate units, 114 samples of
//                     this trace (files not of fixed length), 116 interval,
//                     156..165 year, day, hour, minute, second; 232 marker
//                     level and 234 hundredths as this program writes them
//        240  n x b   the samples
//
// Every count and offset is checked against the length of the file before a
// byte is read; a file ending inside a trace keeps the traces before it.
//
// Time. The interval field is read as picoseconds, as radar programs write
// it; a value above 32000 (no radar samples that coarsely) only makes sense
// as microseconds and is read so; 0 counts as 1 ns. The time range is the
// smallest whose step is at least the file's step and whose 512 samples
// hold the file's n samples (16384 ns at most: a longer record is cut).
// When the steps differ, each sample of the range is interpolated linearly
// between the two file samples around its time; samples past the record are
// no data (code 0).
//
// Amplitudes. When every sample is a whole number within -127..127 (as this
// program and 8-bit recordings write them), code = 128 + sample. Otherwise
// code = 128 + Round(sample x 127 / A), A the largest magnitude in the file,
// so the strongest sample reaches code 1 or 255. Codes stay within 1..255.
//
// Profiles. When the field record number changes between traces and the
// file's records hold eight traces or more on average (so it numbers
// profiles, not traces), each new number starts a new profile after 10
// blank frames.

#include "commands/segy.h"
#include "commands/segy_layout.h"
#include "store/settings_catalog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tesk {

namespace {

using namespace segy;

constexpr int PROFILE_GAP_FRAMES = 10;
constexpr int TRACES_PER_RECORD_FOR_PROFILES = 8;
constexpr int PROGRESS_EVERY = 256;

bool knownFormat(int f) {
    return f == 1 || f == 2 || f == 3 || f == 5 || f == 8;
}
int bytesPerSample(int f) {
    return f == 3 ? 2 : f == 8 ? 1 : 4;
}

struct Endian {
    bool little = false;
    uint16_t u16(const uint8_t* p) const {
        return little ? uint16_t(p[0] | (p[1] << 8)) : uint16_t((p[0] << 8) | p[1]);
    }
    int16_t s16(const uint8_t* p) const { return int16_t(u16(p)); }
    uint32_t u32(const uint8_t* p) const {
        return little ? uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                            (uint32_t(p[3]) << 24)
                      : (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) |
                            uint32_t(p[3]);
    }
    int32_t s32(const uint8_t* p) const { return int32_t(u32(p)); }
};

// What the headers say about the traces.
struct Layout {
    Endian e;
    int format = 0;
    int sampleBytes = 4;
    int samples = 0; // per trace, from the binary header (or the first trace)
    int interval = 0;
    bool microseconds = false;
    double dtNs = 1.0;
    bool fixedLength = true;
    bool feet = false;
    uint64_t dataStart = HEADERS_BYTES;
    uint64_t size = 0;
    SegyFault fault = SegyFault::None;
    uint64_t faultOffset = 0;
};

Layout parseLayout(ByteSource& src) {
    Layout l;
    l.size = src.size();
    auto refuse = [&](SegyFault f, uint64_t at) {
        l.fault = f;
        l.faultOffset = at;
        return l;
    };
    if (l.size < uint64_t(HEADERS_BYTES)) return refuse(SegyFault::TooShort, 0);
    uint8_t head[HEADERS_BYTES];
    if (src.read(0, head, HEADERS_BYTES) < std::size_t(HEADERS_BYTES))
        return refuse(src.failed() ? SegyFault::ReadFault : SegyFault::TooShort, 0);
    const Endian big{false}, little{true};
    if (knownFormat(big.u16(head + bin::Format)))
        l.e = big;
    else if (knownFormat(little.u16(head + bin::Format)))
        l.e = little;
    else
        return refuse(SegyFault::UnknownFormat, bin::Format);
    l.format = l.e.u16(head + bin::Format);
    l.sampleBytes = bytesPerSample(l.format);
    l.samples = l.e.u16(head + bin::Samples);
    l.interval = l.e.u16(head + bin::Interval);
    l.feet = l.e.u16(head + bin::MeasurementSystem) == 2;
    // Revision 0 leaves bytes 3500.. unassigned: they count only in revised files.
    const uint16_t revision = l.e.u16(head + bin::Revision);
    const bool revised = revision >= 0x0100 && revision < 0x0300;
    if (revised) {
        l.fixedLength = l.e.u16(head + bin::FixedLength) != 0;
        const int extended = l.e.s16(head + bin::ExtendedHeaders);
        // -1 announces a variable number ended by a stanza; not supported.
        if (extended < 0) return refuse(SegyFault::ExtendedHeaders, bin::ExtendedHeaders);
        l.dataStart = uint64_t(HEADERS_BYTES) + uint64_t(extended) * TEXT_BYTES;
        if (l.dataStart > l.size) return refuse(SegyFault::ExtendedHeaders, bin::ExtendedHeaders);
    }
    // Fields the binary header leaves 0 are taken from the first trace.
    if ((l.samples == 0 || l.interval == 0) && l.dataStart + TRACE_HEADER_BYTES <= l.size) {
        uint8_t t[TRACE_HEADER_BYTES];
        if (src.read(l.dataStart, t, TRACE_HEADER_BYTES) == std::size_t(TRACE_HEADER_BYTES)) {
            if (l.samples == 0) l.samples = l.e.u16(t + tr::Samples);
            if (l.interval == 0) l.interval = l.e.u16(t + tr::Interval);
        }
    }
    if (l.samples == 0) return refuse(SegyFault::BadSampleCount, bin::Samples);
    l.microseconds = l.interval > LARGEST_PICOSECOND_INTERVAL;
    l.dtNs = l.interval == 0 ? 1.0 : l.microseconds ? l.interval * 1000.0 : l.interval / 1000.0;
    if (l.dataStart + TRACE_HEADER_BYTES + uint64_t(l.samples) * uint64_t(l.sampleBytes) > l.size)
        return refuse(SegyFault::NoTraces, l.dataStart);
    return l;
}

// The time range for the file's step and sample count.
struct TimeRange {
    int item = 0;
    double p = 1.0;
    bool cut = false;
};

TimeRange chooseTimeRange(double dtNs, int samples) {
    const double needed = std::max(dtNs, samples * dtNs / SAMPLES_PER_FRAME);
    TimeRange r;
    r.item = items::TimeRange - 1;
    for (int i = 0; i < items::TimeRange; ++i)
        if (items::NS_PER_SAMPLE[std::size_t(i)] >= needed * (1 - 1e-9)) {
            r.item = i;
            break;
        }
    r.p = items::NS_PER_SAMPLE[std::size_t(r.item)];
    r.cut = r.p * SAMPLES_PER_FRAME < samples * dtNs * (1 - 1e-9);
    return r;
}

// Where each of the 512 samples of a frame comes from in a trace of n
// samples: file sample `index` and, with `weight` above 0, the next one.
struct SamplePlan {
    int n = -1;
    bool sameStep = false; // sample j is file sample j
    int used = 0;          // file samples read: the highest one used, plus one
    std::array<int, SAMPLES_PER_FRAME> index{};
    std::array<double, SAMPLES_PER_FRAME> weight{};
};

void planSamples(SamplePlan& plan, int n, double dtNs, double p) {
    plan.n = n;
    plan.used = 0;
    const bool sameStep = std::fabs(p - dtNs) <= 1e-9 * p;
    plan.sameStep = sameStep;
    for (int j = 0; j < SAMPLES_PER_FRAME; ++j) {
        int i = j;
        double w = 0;
        if (!sameStep) {
            const double x = j * p / dtNs;
            i = int(std::floor(x + 1e-9));
            w = x - i;
            if (w < 1e-9) w = 0;
        }
        if (i >= n || (w > 0 && i + 1 >= n)) {
            plan.index[std::size_t(j)] = -1; // past the record
            continue;
        }
        plan.index[std::size_t(j)] = i;
        plan.weight[std::size_t(j)] = w;
        plan.used = std::max(plan.used, i + (w > 0 ? 2 : 1));
    }
}

template <typename Decode> void decodeEach(int count, double* out, Decode&& decode) {
    for (int i = 0; i < count; ++i) {
        const double v = decode(i);
        out[i] = std::isfinite(v) ? v : 0.0;
    }
}

// Calls use(decode) with the decoder of the file's sample format:
// decode(i) is sample i of the trace data d as a number.
template <typename Use> void withDecoder(const uint8_t* d, const Layout& l, Use&& use) {
    const Endian e = l.e;
    switch (l.format) {
    case 1:
        use([&](int i) { return ibmToDouble(e.u32(d + 4 * i)); });
        break;
    case 2:
        use([&](int i) { return double(e.s32(d + 4 * i)); });
        break;
    case 3:
        use([&](int i) { return double(e.s16(d + 2 * i)); });
        break;
    case 5:
        use([&](int i) {
            const uint32_t bits = e.u32(d + 4 * i);
            float f;
            std::memcpy(&f, &bits, 4);
            return double(f);
        });
        break;
    case 8:
        use([&](int i) { return double(int8_t(d[i])); });
        break;
    }
}

void decodeSamples(const uint8_t* d, int count, const Layout& l, double* out) {
    withDecoder(d, l, [&](auto decode) { decodeEach(count, out, decode); });
}

// Round to the nearest integer, ties to even, for |x| below 2^51: adding and
// taking away 1.5 x 2^52 leaves the rounding to the floating-point unit
// (round-to-nearest-even is the mode in force), without a library call.
// Strict floating-point semantics keep the compiler from folding it away.
inline double roundEven(double x) {
    constexpr double shifter = 6755399441055744.0;
    return (x + shifter) - shifter;
}

// Reads the file through a large window, so a trace costs no system call.
class Window {
  public:
    explicit Window(ByteSource& src) : src_(src), size_(src.size()) {}
    // Bytes [offset, offset + n), or null when the file does not hold them all.
    const uint8_t* fetch(uint64_t offset, std::size_t n) {
        if (offset > size_ || n > size_ - offset) return nullptr;
        if (offset >= start_ && offset - start_ + n <= length_)
            return buf_.data() + (offset - start_);
        const std::size_t block =
            std::size_t(std::min<uint64_t>(std::max<std::size_t>(BLOCK, n), size_ - offset));
        if (buf_.size() < block) buf_.resize(block);
        start_ = offset;
        length_ = src_.read(offset, buf_.data(), block);
        return length_ >= n ? buf_.data() : nullptr;
    }
    bool failed() const { return src_.failed(); }

  private:
    static constexpr std::size_t BLOCK = std::size_t(4) << 20;
    ByteSource& src_;
    uint64_t size_;
    std::vector<uint8_t> buf_;
    uint64_t start_ = 0;
    std::size_t length_ = 0;
};

// Walks the traces: their offsets, sample counts and bytes.
class TraceWalker {
  public:
    TraceWalker(ByteSource& src, const Layout& l) : w_(src), l_(l), at_(l.dataStart) {}

    // The next whole trace, its header and its n samples; false at the end
    // of the file or at a trace that is cut short (fault set).
    bool next(const uint8_t*& header, const uint8_t*& samples, int& n) {
        if (at_ == l_.size) return false;
        const uint8_t* h = w_.fetch(at_, TRACE_HEADER_BYTES);
        if (!h) return stop(w_.failed() ? SegyFault::ReadFault : SegyFault::TraceCut);
        n = l_.samples;
        if (!l_.fixedLength) {
            const int own = l_.e.u16(h + tr::Samples);
            if (own != 0) n = own;
        }
        const uint64_t bytes = TRACE_HEADER_BYTES + uint64_t(n) * uint64_t(l_.sampleBytes);
        if (bytes > l_.size - at_) return stop(SegyFault::TraceCut);
        const uint8_t* t = w_.fetch(at_, std::size_t(bytes));
        if (!t) return stop(w_.failed() ? SegyFault::ReadFault : SegyFault::TraceCut);
        header = t;
        samples = t + TRACE_HEADER_BYTES;
        offset_ = at_;
        at_ += bytes;
        ++count_;
        return true;
    }
    SegyFault fault() const { return fault_; }
    uint64_t offset() const { return offset_; } // of the last trace returned, or of the cut one
    int64_t count() const { return count_; }

  private:
    bool stop(SegyFault f) {
        fault_ = f;
        offset_ = at_;
        return false;
    }
    Window w_;
    const Layout& l_;
    uint64_t at_;
    uint64_t offset_ = 0;
    int64_t count_ = 0;
    SegyFault fault_ = SegyFault::None;
};

double scalarFactor(int scalar) {
    return scalar > 0 ? double(scalar) : scalar < 0 ? 1.0 / -double(scalar) : 1.0;
}

// Degrees of a geographic coordinate field in the given units.
double degreesOf(double v, int unitsCode) {
    if (unitsCode == units::ArcSeconds) return v / 3600.0;
    if (unitsCode == units::Dms) {
        // DDDMMSS.ss
        const double a = std::fabs(v);
        const double d = std::floor(a / 10000), m = std::floor((a - d * 10000) / 100);
        const double sec = a - d * 10000 - m * 100;
        const double deg = d + m / 60 + sec / 3600;
        return v < 0 ? -deg : deg;
    }
    return v; // decimal degrees
}

// Whole degrees and 1e-7 fractions of |deg| into the frame.
void putDegrees(FrameRecord& f, int degreesCell, int fractionCell, double deg) {
    const int64_t units = std::llround(std::fabs(deg) * 1e7);
    f.value[std::size_t(degreesCell)] = uint8_t(units / 10000000);
    f.set24(fractionCell, uint32_t(units % 10000000));
}

struct Scaling {
    bool unscaled = true;
    double largest = 0;
    double factor() const { return unscaled || largest == 0 ? 1.0 : 127.0 / largest; }
};

// The largest magnitude of n samples decoded one by one, and whether all of
// them are whole numbers within -127..127; no buffer in between.
template <typename Decode> void scanEach(int n, Scaling& s, Decode&& decode) {
    // Four running maxima, so that no sample waits for the one before.
    double top[4] = {s.largest, 0, 0, 0};
    bool whole = s.unscaled;
    for (int i = 0; i < n; ++i) {
        double v = decode(i);
        v = std::isfinite(v) ? v : 0.0;
        const double a = std::fabs(v);
        double& t = top[i & 3];
        t = a > t ? a : t;
        // Whole numbers within -127..127 convert to int and back unchanged.
        const bool small = a <= 127;
        whole &= small & (v == double(int(small ? v : 0.0)));
    }
    s.largest = std::max(std::max(top[0], top[1]), std::max(top[2], top[3]));
    s.unscaled = whole;
}

// Kept out of line: inlined into the reader's long body the loop lost its
// registers and ran through memory at a third of the speed.
[[gnu::noinline]] void scanSamples(const uint8_t* d, int n, const Layout& l, Scaling& s) {
    withDecoder(d, l, [&](auto decode) { scanEach(n, s, decode); });
}

// `exact`: every sample is a whole number within -127..127.
void fillFrame(FrameRecord& f, const uint8_t* h, const double* raw, const SamplePlan& plan,
               double factor, bool exact, const Layout& l, ProfileStore& s, bool& geographicSeen,
               bool& rectangularSeen) {
    const Endian& e = l.e;
    f.value.fill(0);
    // Codes 1..255: the amplitude is clamped before it is rounded so that
    // any magnitude converts to int safely.
    auto code = [factor](double v) {
        const int c = 128 + int(roundEven(std::clamp(v * factor, -200.0, 200.0)));
        return uint8_t(std::clamp(c, 1, 255));
    };
    const int direct = plan.sameStep ? std::min(plan.n, SAMPLES_PER_FRAME) : 0;
    if (plan.sameStep && factor == 1.0 && exact) {
        // Whole numbers within -127..127: the code is 128 + the sample.
        for (int j = 0; j < direct; ++j) f.value[std::size_t(j)] = uint8_t(128 + int(raw[j]));
    } else if (plan.sameStep) {
        for (int j = 0; j < direct; ++j) f.value[std::size_t(j)] = code(raw[j]);
    } else {
        for (int j = 0; j < SAMPLES_PER_FRAME; ++j) {
            const int i = plan.index[std::size_t(j)];
            if (i < 0) continue;
            const double w = plan.weight[std::size_t(j)];
            f.value[std::size_t(j)] = code(w > 0 ? raw[i] * (1 - w) + raw[i + 1] * w : raw[i]);
        }
    }
    f.fillRowsFromLastSample();
    const int marker = e.s16(h + tr::Marker);
    if (marker >= 1 && marker <= 3) f.value[cell::Status] = uint8_t(marker);
    const int hour = e.s16(h + tr::Hour), minute = e.s16(h + tr::Minute),
              second = e.s16(h + tr::Second), hundredths = e.s16(h + tr::Hundredths);
    f.value[cell::Hour] = uint8_t(hour >= 0 && hour <= 23 ? hour : 0);
    f.value[cell::Minute] = uint8_t(minute >= 0 && minute <= 59 ? minute : 0);
    f.value[cell::Second] = uint8_t(second >= 0 && second <= 59 ? second : 0);
    f.value[cell::Hundredths] = uint8_t(hundredths >= 0 && hundredths <= 99 ? hundredths : 0);

    const double length = l.feet ? 0.3048 : 1.0;
    const double elevation =
        e.s32(h + tr::GroupElevation) * scalarFactor(e.s16(h + tr::ElevationScalar)) * length;
    const double reliefCm = std::nearbyint(elevation * 100);
    if (reliefCm > 0 && reliefCm <= 0xFFFFFF) f.set24(cell::ReliefHeight, uint32_t(reliefCm));

    double x = e.s32(h + tr::SourceX), y = e.s32(h + tr::SourceY);
    if (x == 0 && y == 0) {
        x = e.s32(h + tr::GroupX);
        y = e.s32(h + tr::GroupY);
    }
    if (x == 0 && y == 0) return;
    const double factor2 = scalarFactor(e.s16(h + tr::CoordinateScalar));
    const int unitsCode = e.s16(h + tr::CoordinateUnits);
    if (unitsCode == units::ArcSeconds || unitsCode == units::Degrees || unitsCode == units::Dms) {
        const double lon = degreesOf(x * factor2, unitsCode),
                     lat = degreesOf(y * factor2, unitsCode);
        if (std::fabs(lon) > 180 || std::fabs(lat) > 90) return;
        putDegrees(f, cell::LonDegrees, cell::LonFraction, lon);
        putDegrees(f, cell::LatDegrees, cell::LatFraction, lat);
        if (!geographicSeen) {
            auto& flags = s.header.value[hdr::CoordFlags];
            setBit(flags, hdr::West, lon < 0);
            setBit(flags, hdr::South, lat < 0);
        }
        geographicSeen = true;
        return;
    }
    auto centimetres = [&](double v) {
        return uint32_t(int32_t(
            std::clamp(std::nearbyint(v * factor2 * length * 100), -2147483648.0, 2147483647.0)));
    };
    f.set32(cell::UcsX, centimetres(x));
    f.set32(cell::UcsY, centimetres(y));
    rectangularSeen = true;
}

// Day and month of a day of the year.
void putDate(ProfileStore& s, int year, int dayOfYear, int hour, int minute) {
    if (year <= 0 || dayOfYear < 1 || dayOfYear > 366) return;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 0, d = dayOfYear;
    while (month < 12 && d > days[month] + (month == 1 && leap ? 1 : 0)) {
        d -= days[month] + (month == 1 && leap ? 1 : 0);
        ++month;
    }
    if (month == 12) return;
    auto& h = s.header.value;
    h[hdr::Year] = uint8_t(year % 100);
    h[hdr::Month] = uint8_t(month + 1);
    h[hdr::Day] = uint8_t(d);
    h[hdr::Hour] = uint8_t(hour >= 0 && hour <= 23 ? hour : 0);
    h[hdr::Minute] = uint8_t(minute >= 0 && minute <= 59 ? minute : 0);
}

SegyLoad faultReport(SegyLoad out, SegyFault f, int64_t trace, uint64_t offset) {
    out.segyFault = f;
    out.faultTrace = trace;
    out.segyFaultOffset = offset;
    const LoadFault kind = f == SegyFault::TraceCut    ? LoadFault::CutShort
                           : f == SegyFault::ReadFault ? LoadFault::ReadFault
                                                       : LoadFault::Refused;
    out.stop(kind, int(trace), offset);
    return out;
}

} // namespace

SegyLoad segyPrecheck(ByteSource& src) {
    const Layout l = parseLayout(src);
    SegyLoad out;
    if (l.fault != SegyFault::None) out = faultReport(out, l.fault, -1, l.faultOffset);
    return out;
}

SegyLoad readSegyFile(ByteSource& src, ProfileStore& s, const SegyReadOptions& options,
                      Interaction& ui) {
    SegyLoad out;
    const bool append = options.append;
    out.firstSlot = append ? s.frameCount : 0;
    const Layout l = parseLayout(src);
    if (l.fault != SegyFault::None) {
        return faultReport(out, l.fault, -1, l.faultOffset);
    }
    out.littleEndian = l.e.little;
    out.formatCode = l.format;
    out.samplesInFile = l.samples;
    out.interval = l.interval;
    out.intervalInMicroseconds = l.microseconds;
    out.nsPerFileSample = l.dtNs;
    const TimeRange range = chooseTimeRange(l.dtNs, l.samples);
    out.timeRangeItem = range.item;
    out.cut = range.cut;
    out.resampled = std::fabs(range.p - l.dtNs) > 1e-9 * range.p;

    // Pass 1: the largest magnitude, whether the samples are small whole
    // numbers, and how the field record numbers run.
    SamplePlan plan;
    std::vector<double> raw;
    Scaling scaling;
    int64_t records = 0, traces = 0;
    int32_t record = 0;
    const int64_t expected = std::max<int64_t>(
        1, int64_t((l.size - l.dataStart) /
                   (TRACE_HEADER_BYTES + uint64_t(l.samples) * uint64_t(l.sampleBytes))));
    ui.progress(0, 2 * expected);
    {
        TraceWalker walk(src, l);
        const uint8_t *h, *d;
        int n;
        while (walk.next(h, d, n)) {
            if (plan.n != n) planSamples(plan, n, l.dtNs, range.p);
            if (raw.size() < std::size_t(plan.used)) raw.resize(std::size_t(plan.used));
            scanSamples(d, plan.used, l, scaling);
            const int32_t r = l.e.s32(h + tr::FieldRecord);
            if (traces == 0 || r != record) ++records;
            record = r;
            ++traces;
            if (traces % PROGRESS_EVERY == 0) ui.progress(traces, 2 * expected);
        }
        // The traces before a cut or a read fault are loaded all the same.
        if (walk.fault() != SegyFault::None)
            out = faultReport(out, walk.fault(), walk.count(), walk.offset());
    }
    out.unscaled = scaling.unscaled;
    out.scale = scaling.factor();
    const bool splitProfiles =
        records > 1 && traces >= int64_t(TRACES_PER_RECORD_FOR_PROFILES) * records;

    // Pass 2: the frames.
    int slot = out.firstSlot;
    int lastFilled = slot - 1;
    bool geographicSeen = false, rectangularSeen = false;
    {
        TraceWalker walk(src, l);
        const uint8_t *h, *d;
        int n;
        plan.n = -1;
        for (int64_t k = 0; k < traces && walk.next(h, d, n); ++k) {
            const int32_t r = l.e.s32(h + tr::FieldRecord);
            const bool newProfile = k == 0 || (splitProfiles && r != record);
            if (k > 0 && newProfile)
                for (int g = 0; g < PROFILE_GAP_FRAMES && slot <= MAX_LOADED_FRAME; ++g)
                    s.frame(slot++).value.fill(0);
            record = r;
            if (slot > MAX_LOADED_FRAME) {
                out.stop(LoadFault::SlotLimit, int(k), walk.offset());
                break;
            }
            if (plan.n != n) planSamples(plan, n, l.dtNs, range.p);
            decodeSamples(d, plan.used, l, raw.data());
            if (k == 0 && !append)
                putDate(s, l.e.s16(h + tr::Year), l.e.s16(h + tr::DayOfYear), l.e.s16(h + tr::Hour),
                        l.e.s16(h + tr::Minute));
            fillFrame(s.frame(slot), h, raw.data(), plan, out.scale, out.unscaled, l, s,
                      geographicSeen, rectangularSeen);
            lastFilled = slot++;
            ++out.framesRead;
            if (newProfile) ++out.profiles;
            if ((k + 1) % PROGRESS_EVERY == 0) ui.progress(traces + k + 1, 2 * traces);
        }
        if (walk.fault() == SegyFault::ReadFault && out.framesRead < traces)
            out = faultReport(out, SegyFault::ReadFault, walk.count(), walk.offset());
    }
    ui.progress(2 * traces, 2 * traces);

    s.frameCount = std::clamp(lastFilled + 1, 0, MAX_LOADED_FRAME);
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
    if (!append) {
        auto& h = s.header.value;
        h[hdr::TimeRange] = uint8_t(range.item);
        h[hdr::DeviceType] = 0;
        s.deviceType = 0;
        if (geographicSeen || rectangularSeen)
            setBit(h[hdr::CoordFlags], hdr::Geographic, geographicSeen);
    }
    return out;
}

} // namespace tesk
