// Readers of the Mirn device-family files (.mr3, .gpr, .geb).
//
// Every count, length and offset taken from a file is checked in 64-bit
// arithmetic against the bytes that remain before it is used; reads go
// through a window of at most about a megabyte, so memory stays bounded
// whatever the counts say. Each frame is decoded straight into its target
// slot, which is first emptied completely: a slot above the range the open
// command clears may still hold a frame of an earlier survey, and none of it
// must survive under the new frame.
//
// Choices where the formats leave the rule open (each is tested):
//
// * Frame counts. The count fields only bound the loop: a file that ends
//   before its count brings the frames it holds, and frameCount is computed
//   from the frames actually stored, so that slots past them (which may hold
//   frames of an earlier survey above the cleared range) never rejoin the
//   survey in the normalisation pass.
// * .mr3 frames are read for k = 0 .. N, N + 1 areas at most, as the format's
//   loop runs; a file holding exactly N areas ends the loop at its end.
// * A file cut short inside its fixed header (.mr3: 14 bytes, .gpr: 11,
//   .geb: 27) loads no frame and changes no header setting.
// * .geb time fields: the five bytes after the marker record hold hour,
//   minute, second and hundredths in their first four bytes; the fifth and the
//   six further bytes are not used.
// * .geb time axis: kept sample j (after the start delay) lies at (j + 1) P,
//   cell m at m T, cell 0 holds zero amplitude (128). The samples passed over
//   by the delay are those with i P < delay. A sampling frequency of 0 gives
//   no period; such a file is read with P = T, one sample per cell.
// * .geb, P < T (the file is finer than the grid), sampling modes:
//     0 "Выборка": the code of the sample at which the accumulator reaches T;
//     1 "Усреднение": the mean level of the samples since the previous cell
//       up to that sample (a boxcar before decimation), rounded half to even;
//     2 "Накопление": the sum of the same samples' deviations from zero
//       amplitude (2048 + sum of (u - 2048)), clipped to 0 .. 4095 — stacking
//       that lifts weak late reflections, since the 8-bit code keeps only the
//       top eight of the twelve bits.
//   All arithmetic of the accumulator is exact (integers in units of
//   1 / (4 f) ns), so no cell drifts however long the trace.
// * .geb, P >= T (the grid is finer than the file): every sampling mode
//   interpolates linearly between the levels of consecutive samples at each
//   cell's time, rounded half to even; before the first sample it
//   interpolates from zero amplitude at time 0. Cells past the last sample
//   stay 0 (no data).
// * .gpr record layout: after the count W come 2 W + 4 bytes; the sample
//   groups follow the marker byte directly. At most W / 64 - 1 groups are
//   read and never past the record's end; the start delay skips groups at
//   the front of the record, so a delay shortens the stored trace instead of
//   reading into the next record.
// * .gpr group spacing per time range: the file carries no sample period, so
//   its groups are taken to be one cell of the selected time range apart: one
//   group per cell at every range (32 ns at the longest), and the ComboBox61
//   delay skips Trunc(delay / T) groups, T the time per cell of the range.
// * .gpr readings: the running mean of a channel is computed exactly (the
//   weights 1/2^31, 1/2^31, 1/2^30 .. 1/2 of the 32 readings) and truncated
//   once; channel 3 is the truncated mean of the two channel levels. With
//   CheckBox59 checked, a ComboBox64 item of 32 or more names no reading of
//   the group and takes the first, as item 0 does.
// * .gpr positioning text: the first four runs of digits are latitude
//   degrees x 100 + minutes, latitude minute decimals, longitude likewise
//   (at most nine decimals are used). A text with fewer than four numbers,
//   minutes of 60 or more, latitude above 90 or longitude above 179 degrees
//   leaves the coordinates 0. Fractions are Round(minutes / 60 x 10^7),
//   capped at 9999999.
// * .gpr time bytes take the .geb validity rules (hour above 23 -> 0 ...);
//   only the marker bits (0x03) of the marker byte are OR-ed into the status,
//   so a file cannot set table, hodograph or direction marks.

#include "store/device_family.h"

#include "store/amplitude_table12.h"
#include "store/settings_catalog.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tesk {

bool hasMirnMagic(ByteSource& src) {
    uint8_t b[4] = {};
    src.read(0, b, 4);
    return magicSum(b) == MIRN_MAGIC_SUM;
}

uint8_t mr3LevelCode(uint8_t b) {
    if (b < 128) {
        const int x = 4 * b;
        return x > 124 ? 254 : uint8_t(128 + x);
    }
    const int x = 4 * (256 - b);
    return x > 127 ? 2 : uint8_t(128 - x);
}

namespace msg {

Message frameCountOver64000() {
    return Message{Icon::Error, Buttons::Ok, "Ошибка! Количество кадров > 64000.",
                   "Error! Number of frames > 64000"};
}

Message amplitudeWidthBelow12() {
    return Message{Icon::Warning, Buttons::Ok, "Внимание! Величина Амплитуды < 12 бит.",
                   "Error! Amplitude size < 12 bit"};
}

Message amplitudeWidthAbove12() {
    return Message{Icon::Warning, Buttons::Ok, "Внимание! Величина Амплитуды > 12 бит.",
                   "Error! Amplitude size > 12 bit"};
}

} // namespace msg

namespace {

constexpr int MAX_COUNT = 63999;    // largest frame count a file may announce
constexpr int PROGRESS_EVERY = 256; // frames between progress reports
constexpr int LAST_CELL = SAMPLES_PER_FRAME - 1;

uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Reads through a window of the source so that the many small pieces of a
// frame cost one read per megabyte. Requests are bounded by the callers
// (a few hundred kilobytes at most), so the window never grows beyond that.
class BlockReader {
  public:
    explicit BlockReader(ByteSource& src) : src_(src), size_(src.size()) {}

    // Bytes [offset, offset + n) as far as the data holds them; `got` is
    // fewer than n only at the end of the data or after a read fault.
    const uint8_t* fetch(uint64_t offset, std::size_t n, std::size_t& got) {
        got = 0;
        if (n == 0 || offset >= size_) return nullptr;
        const uint64_t want = std::min<uint64_t>(n, size_ - offset);
        if (offset >= start_ && offset - start_ + want <= len_) {
            got = std::size_t(want);
            return buf_.data() + (offset - start_);
        }
        const uint64_t block = std::min<uint64_t>(std::max<uint64_t>(WINDOW, want), size_ - offset);
        if (buf_.size() < block) buf_.resize(std::size_t(block));
        start_ = offset;
        len_ = src_.read(offset, buf_.data(), std::size_t(block));
        got = std::size_t(std::min<uint64_t>(want, len_));
        return buf_.data();
    }
    uint64_t size() const { return size_; }
    bool failed() const { return src_.failed(); }

  private:
    static constexpr uint64_t WINDOW = uint64_t(1) << 20;
    ByteSource& src_;
    uint64_t size_;
    std::vector<uint8_t> buf_;
    uint64_t start_ = 0;
    std::size_t len_ = 0;
};

// a / b rounded to the nearest integer, ties to even; b > 0.
int64_t roundHalfEvenDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    int64_t r = a % b;
    if (r < 0) {
        --q;
        r += b;
    }
    if (2 * r > b || (2 * r == b && (q & 1))) ++q;
    return q;
}

void setDeviceType(ProfileStore& s, uint8_t t) {
    s.deviceType = t;
    s.header.value[hdr::DeviceType] = t;
}

// Time fields of a frame with their validity rules.
void storeTime(FrameRecord& f, int field, uint8_t v) {
    static constexpr uint8_t limit[4] = {23, 59, 59, 99};
    f.value[cell::Hour + field] = v > limit[field] ? 0 : v;
}

// The slot the next frame goes to, and the limit every reader keeps.
struct Slots {
    int first;
    int next;
};

// An empty record at the next slot for frame `frame` of the file (its bytes
// at `offset`), or null, with the slot limit as the fault, when the store is
// full.
FrameRecord* takeSlot(Slots& sl, ProfileStore& s, LoadReport& out, int64_t frame, uint64_t offset) {
    if (sl.next > MAX_LOADED_FRAME) {
        out.stop(LoadFault::SlotLimit, int(frame), offset);
        return nullptr;
    }
    FrameRecord& f = s.frame(sl.next);
    f.value.fill(0);
    ++sl.next;
    ++out.framesRead;
    return &f;
}

// A read that got fewer bytes than it needed: the file ended, or the source
// failed.
LoadFault shortRead(bool failed) {
    return failed ? LoadFault::ReadFault : LoadFault::CutShort;
}

void setFrameCount(ProfileStore& s, int fc) {
    if (fc > MAX_COUNT) fc = MAX_LOADED_FRAME;
    if (fc < 0) fc = 0;
    s.frameCount = fc;
    s.header.set16(hdr::FrameCount, uint32_t(fc));
}

// ---------------------------------------------------------------------------
// .mr3
//
//   offset 0     u32   frame count N
//   offset 4     u8    plane flag: 0 one bit plane per frame, otherwise three
//   offset 11    3     level bytes L1, L2, L3
//   offset 52    4 k   marker list: ascending frame numbers, ended by -1 or
//                      by the frame area
//   offset 1220  192 N frame areas: three bit planes of 64 bytes, bit s of
//                      a plane (least significant bit first) is sample s

constexpr int MR3_HEADER = 14;
constexpr int MR3_MARKERS = 52;
constexpr int MR3_FRAMES = 1220;
constexpr int MR3_PLANE = 64;
constexpr int MR3_FRAME = 3 * MR3_PLANE;

void decodeMr3Frame(FrameRecord& f, const uint8_t* area, std::size_t got, bool threePlanes,
                    const uint8_t code[3]) {
    uint8_t* v = f.value.data();
    // Plane 1: set bits give L1, clear bits 1 — as far as the bytes were read.
    const int p1 = int(std::min<std::size_t>(got, MR3_PLANE));
    for (int b = 0; b < p1; ++b)
        for (int k = 0; k < 8; ++k) v[8 * b + k] = ((area[b] >> k) & 1) ? code[0] : 1;
    if (threePlanes) {
        const int p2 = int(std::min<std::size_t>(got > MR3_PLANE ? got - MR3_PLANE : 0, MR3_PLANE));
        for (int b = 0; b < p2; ++b)
            for (int k = 0; k < 8; ++k)
                if ((area[MR3_PLANE + b] >> k) & 1) v[8 * b + k] = code[1];
        const int p3 =
            int(std::min<std::size_t>(got > 2 * MR3_PLANE ? got - 2 * MR3_PLANE : 0, MR3_PLANE));
        for (int b = 0; b < p3; ++b)
            for (int k = 0; k < 8; ++k)
                if (((area[2 * MR3_PLANE + b] >> k) & 1) && v[8 * b + k] == 1)
                    v[8 * b + k] = code[2];
    }
    f.fillRowsFromLastSample();
    f.value[cell::Status] = status::InProfile;
}

// ---------------------------------------------------------------------------
// .gpr
//
//   offset 6       u32  frame count + 1
//   offset 10      u8   not used
//   offset 142|122 frame records (ComboBox66):
//     u32 W, then 2 W + 4 bytes: length byte n, n characters of positioning
//     text, hour, minute, second, hundredths, marker byte, sample groups of
//     32 reading pairs (channel 1 word, channel 2 word)

constexpr int GPR_HEADER = 11;
constexpr int GPR_READINGS = 32;
constexpr int GPR_GROUP = GPR_READINGS * 4; // bytes of one sample group

struct Fix {
    uint8_t degrees;
    uint32_t fraction; // 1e-7 degree
};

struct Run {
    std::size_t start, length;
};

// Degrees and fraction from "ddmm" (or "dddmm") and its minute decimals.
bool toFix(const uint8_t* t, Run whole, Run decimals, int maxDegrees, Fix& out) {
    // Leading zeros carry no value; more than nine digits are not a position.
    while (whole.length > 1 && t[whole.start] == '0') {
        ++whole.start;
        --whole.length;
    }
    if (whole.length > 9) return false;
    int64_t v = 0;
    for (std::size_t i = 0; i < whole.length; ++i) v = v * 10 + (t[whole.start + i] - '0');
    const int64_t degrees = v / 100;
    const int64_t minutes = v % 100;
    if (minutes >= 60 || degrees > maxDegrees) return false;
    const std::size_t d = std::min<std::size_t>(decimals.length, 9);
    int64_t scale = 1;
    int64_t dec = 0;
    for (std::size_t i = 0; i < d; ++i) {
        scale *= 10;
        dec = dec * 10 + (t[decimals.start + i] - '0');
    }
    // (minutes + dec / scale) / 60 in units of 1e-7 degree.
    const int64_t fraction = roundHalfEvenDiv((minutes * scale + dec) * 10000000, 60 * scale);
    out.degrees = uint8_t(degrees);
    out.fraction = uint32_t(std::min<int64_t>(fraction, 9999999));
    return true;
}

void storePosition(FrameRecord& f, const uint8_t* t, std::size_t n) {
    Run runs[4];
    int found = 0;
    for (std::size_t i = 0; i < n && found < 4;) {
        if (t[i] < '0' || t[i] > '9') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && t[i] >= '0' && t[i] <= '9') ++i;
        runs[found++] = Run{start, i - start};
    }
    if (found < 4) return;
    Fix lat{}, lon{};
    if (!toFix(t, runs[0], runs[1], 90, lat) || !toFix(t, runs[2], runs[3], 179, lon)) return;
    f.value[cell::LatDegrees] = lat.degrees;
    f.set24(cell::LatFraction, lat.fraction);
    f.value[cell::LonDegrees] = lon.degrees;
    f.set24(cell::LonFraction, lon.fraction);
}

// The level a channel keeps of one group of 32 readings (`first` points at
// the channel's first word; consecutive readings are 4 bytes apart).
uint32_t channelLevel(const uint8_t* first, const DeviceOptions& o) {
    if (o.singleReading) {
        const int i = o.probeLevelItem < GPR_READINGS ? o.probeLevelItem : 0;
        return gprLevel(le16(first + 4 * i));
    }
    // m0 = u0, mi = (m(i-1) + ui) / 2: sum = u0 + u1 + 2 u2 + .. + 2^30 u31 = 2^31 m31.
    uint64_t sum = gprLevel(le16(first));
    for (int i = 1; i < GPR_READINGS; ++i)
        sum += uint64_t(gprLevel(le16(first + 4 * i))) << (i - 1);
    return uint32_t(sum >> (GPR_READINGS - 1));
}

uint8_t gprGroupCode(const uint8_t* g, const DeviceOptions& o) {
    uint32_t u;
    switch (o.channelItem) {
    case 0:
        u = channelLevel(g, o);
        break;
    case 1:
        u = channelLevel(g + 2, o);
        break;
    default:
        u = (channelLevel(g, o) + channelLevel(g + 2, o)) / 2;
        break;
    }
    return storedCodeFast(u);
}

// ---------------------------------------------------------------------------
// .geb
//
//   offset 0   "MIRN"
//   offset 4   u16 header length H
//   offset 8   u32 samples per frame S
//   offset 12  u32 sampling frequency f (Hz)
//   offset 16  u32 frame count N
//   offset 20  u8  amplitude width in bits (12)
//   offset 24  year, month, day
//   offset H + 6: frame records of 2 S + 16 bytes: 4 bytes, marker byte,
//   hour, minute, second, hundredths, 1 byte, 6 bytes, S sample words

constexpr int GEB_HEADER = 27;
constexpr int GEB_RECORD_HEAD = 16;
constexpr uint64_t FOUR_E9 = 4000000000ull; // P in units of 1 / (4 f) ns

// Where each cell's value comes from, the same for every frame of a file.
struct GebPlan {
    bool coarse = false;
    int mode = 0;
    int cells = 0;            // cells 1 .. cells are filled when their samples are present
    uint64_t samplesUsed = 0; // raw samples needed for all of them
    // P < T: the bin of cell m is raw samples first[m] .. last[m].
    std::array<uint32_t, SAMPLES_PER_FRAME> first{}, last{};
    // P < T, mode 1: Ceil(2^28 / n) for the bin size n, so that the mean
    // divides by multiplying (exact: n <= 138 and sums below 2^20, see meanOf).
    std::array<uint32_t, SAMPLES_PER_FRAME> reciprocal{};
    // P >= T: left sample (-1: zero amplitude at time 0), right sample and
    // the distance of the cell's time past the left sample, in units of P / 4e9.
    std::array<int64_t, SAMPLES_PER_FRAME> left{};
    std::array<uint32_t, SAMPLES_PER_FRAME> right{};
    std::array<int64_t, SAMPLES_PER_FRAME> past{};
    // The highest raw sample cell m needs; non-decreasing in m.
    std::array<uint32_t, SAMPLES_PER_FRAME> need{};
};

GebPlan planGeb(uint32_t samples, uint32_t frequency, int rangeItem, int delayNs, int mode) {
    GebPlan p;
    p.mode = mode;
    // T = 2^k / 4 ns and P = 1e9 / f ns, both times 4 f: R and Q.
    const uint64_t f = frequency != 0 ? frequency : (FOUR_E9 >> rangeItem);
    const uint64_t R = (uint64_t(1) << rangeItem) * f;
    const uint64_t Q = FOUR_E9;
    // Samples with i P < delay, i.e. i 1e9 < delay f.
    const uint64_t skip = (uint64_t(delayNs) * f + 999999999ull) / 1000000000ull;
    if (skip >= samples) return p;
    const uint64_t kept = samples - skip;
    if (Q < R) {
        uint64_t acc = 0;
        uint64_t binStart = skip;
        int c = 0;
        for (uint64_t j = 0; j < kept && c < LAST_CELL; ++j) {
            acc += Q;
            if (acc >= R) {
                ++c;
                const std::size_t ci = std::size_t(c);
                p.first[ci] = uint32_t(binStart);
                p.last[ci] = uint32_t(skip + j);
                p.need[ci] = p.last[ci];
                const uint64_t n = skip + j + 1 - binStart;
                p.reciprocal[ci] = uint32_t(((uint64_t(1) << 28) + n - 1) / n);
                binStart = skip + j + 1;
                acc -= R;
            }
        }
        p.cells = c;
        p.samplesUsed = c > 0 ? uint64_t(p.last[std::size_t(c)]) + 1 : 0;
        return p;
    }
    p.coarse = true;
    for (int m = 1; m <= LAST_CELL; ++m) {
        const uint64_t t = uint64_t(m) * R;
        int64_t l;
        uint64_t r, past;
        if (t < Q) {
            l = -1;
            r = skip;
            past = t;
        } else {
            const uint64_t jl = t / Q - 1;
            l = int64_t(skip + jl);
            past = t - (jl + 1) * Q;
            r = past == 0 ? skip + jl : skip + jl + 1;
        }
        if (r >= samples) break;
        p.left[std::size_t(m)] = l;
        p.right[std::size_t(m)] = uint32_t(r);
        p.past[std::size_t(m)] = int64_t(past);
        p.need[std::size_t(m)] = uint32_t(r);
        p.cells = m;
        p.samplesUsed = r + 1;
    }
    return p;
}

const std::array<uint8_t, 65536>& gebWordCodes() {
    static const std::array<uint8_t, 65536> t = [] {
        std::array<uint8_t, 65536> c{};
        for (uint32_t w = 0; w < 65536; ++w) c[w] = storedCodeFast(gebLevel(uint16_t(w)));
        return c;
    }();
    return t;
}

// Round(a / 4e9), ties to even, for a >= 0: the divisor is a constant, so
// this costs a multiplication rather than a division per cell.
inline uint64_t roundHalfEvenByQ(uint64_t a) {
    const uint64_t q = a / FOUR_E9;
    const uint64_t r = a - q * FOUR_E9;
    return q + uint64_t((2 * r > FOUR_E9) | ((2 * r == FOUR_E9) & (q & 1)));
}

// Round(sum / n), ties to even, for a bin of n <= 256 levels (sum < 2^20):
// with m = Ceil(2^28 / n), floor(sum m / 2^28) = floor(sum / n) because the
// error sum (m - 2^28 / n) / 2^28 stays below 2^-8 <= 1 / n.
inline int64_t meanOf(int64_t sum, int64_t n, uint32_t reciprocal) {
    int64_t q = n <= 256 ? int64_t((uint64_t(sum) * reciprocal) >> 28) : sum / n;
    const int64_t r = sum - q * n;
    return q + int64_t((2 * r > n) | ((2 * r == n) & (q & 1)));
}

// The sample levels of the bins of one frame, reused for every frame. At
// most ~80000 samples feed one frame (P >= 0.2328 ns over 18400 ns of delay
// and trace), so the buffer stays small whatever the file says.
using LevelBuffer = std::vector<uint16_t>;

inline uint16_t wordAt(const uint8_t* w, std::size_t i) {
    uint16_t word;
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(&word, w + 2 * i, 2);
    else
        word = uint16_t(w[2 * i] | (w[2 * i + 1] << 8));
    return word;
}

// The level of every .geb word, looked up rather than computed per sample.
const std::array<uint16_t, 65536>& gebWordLevels() {
    static const std::array<uint16_t, 65536> t = [] {
        std::array<uint16_t, 65536> l{};
        for (uint32_t w = 0; w < 65536; ++w) l[w] = uint16_t(gebLevel(uint16_t(w)));
        return l;
    }();
    return t;
}

// Levels of n consecutive sample words.
void levelsOf(const uint8_t* w, std::size_t n, uint16_t* out) {
    const uint16_t* levels = gebWordLevels().data();
    for (std::size_t i = 0; i < n; ++i) out[i] = levels[wordAt(w, i)];
}

// Fills cells 1 .. of one frame from `avail` sample words at `w`.
void fillGebCells(uint8_t* v, const uint8_t* w, uint64_t avail, const GebPlan& p,
                  LevelBuffer& buffer) {
    auto word = [w](uint64_t i) { return wordAt(w, std::size_t(i)); };
    // Cells whose samples are all present (all of them unless the file ends).
    int cells = p.cells;
    if (avail < p.samplesUsed)
        while (cells > 0 && p.need[std::size_t(cells)] >= avail) --cells;
    if (cells == 0) return;
    const uint8_t* codes12 = storedCodesFor12BitLevels().data(); // levels 0 .. 4095
    const uint8_t* wordCodes = gebWordCodes().data();
    const uint16_t* levels = gebWordLevels().data();
    if (p.coarse) {
        for (int m = 1; m <= cells; ++m) {
            const std::size_t mi = std::size_t(m);
            const uint64_t past = uint64_t(p.past[mi]);
            if (past == 0) { // on a sample
                v[m] = wordCodes[word(p.right[mi])];
                continue;
            }
            const uint64_t ul = p.left[mi] < 0 ? 2048 : levels[word(uint64_t(p.left[mi]))];
            const uint64_t ur = levels[word(p.right[mi])];
            // The level at the cell's time, ul + (ur - ul) past / P, rounded.
            v[m] = codes12[roundHalfEvenByQ(ul * (FOUR_E9 - past) + ur * past)];
        }
        return;
    }
    if (p.mode == 0) {
        for (int m = 1; m <= cells; ++m) v[m] = wordCodes[word(p.last[std::size_t(m)])];
        return;
    }
    // Bins are consecutive: the levels of all their samples in one pass,
    // then the sum of each bin.
    const uint32_t from = p.first[1];
    const std::size_t samples = std::size_t(p.last[std::size_t(cells)] - from) + 1;
    buffer.resize(samples);
    levelsOf(w + 2 * std::size_t(from), samples, buffer.data());
    const uint16_t* lv = buffer.data();
    // One walk along the samples: each bin starts where the previous ended.
    std::size_t i = 0;
    if (p.mode == 1) {
        for (int m = 1; m <= cells; ++m) {
            const std::size_t mi = std::size_t(m);
            const std::size_t n = std::size_t(p.last[mi] - p.first[mi]) + 1;
            uint32_t sum = 0; // at most ~80000 levels below 4096
            for (const std::size_t end = i + n; i < end; ++i) sum += lv[i];
            v[m] = codes12[meanOf(sum, int64_t(n), p.reciprocal[mi])];
        }
        return;
    }
    for (int m = 1; m <= cells; ++m) {
        const std::size_t mi = std::size_t(m);
        const std::size_t n = std::size_t(p.last[mi] - p.first[mi]) + 1;
        int64_t sum = 0;
        for (const std::size_t end = i + n; i < end; ++i) sum += lv[i];
        v[m] = codes12[std::clamp<int64_t>(2048 + sum - 2048 * int64_t(n), 0, 4095)];
    }
}

int rangeItemOf(const ProfileStore& s) {
    return std::min<int>(s.header.value[hdr::TimeRange], items::TimeRange - 1);
}

} // namespace

// ---------------------------------------------------------------------------

LoadReport readMr3File(ByteSource& src, bool append, ProfileStore& s, const DeviceOptions& options,
                       Interaction& ui) {
    (void)options;
    LoadReport out;
    Slots sl{append ? s.frameCount : 0, append ? s.frameCount : 0};
    out.firstSlot = sl.first;
    BlockReader in(src);

    // frameCount from the frames stored; the normalisation pass recomputes it.
    auto finish = [&] {
        const int brought = out.framesRead;
        if (!append)
            setFrameCount(s, brought + 10);
        else if (sl.first + brought + 10 > MAX_LOADED_FRAME)
            setFrameCount(s, MAX_LOADED_FRAME);
        else
            setFrameCount(s, sl.first + brought + 20);
    };
    uint8_t head[MR3_FRAMES] = {};
    const std::size_t headBytes = src.read(0, head, MR3_FRAMES);
    if (headBytes < MR3_HEADER) {
        out.stop(shortRead(src.failed()), -1, 0);
        finish();
        return out;
    }
    int64_t count = le32(head);
    out.framesDeclared = count;
    if (count > MAX_COUNT) {
        out.warn(LoadWarning::CountClamped);
        count = MAX_COUNT;
    }
    const bool threePlanes = head[4] != 0;
    const uint8_t code[3] = {mr3LevelCode(head[11]), mr3LevelCode(head[12]),
                             mr3LevelCode(head[13])};

    // The marker list as far as it goes before the frame area.
    std::vector<uint32_t> markers;
    for (std::size_t at = MR3_MARKERS; at + 4 <= std::min<std::size_t>(headBytes, MR3_FRAMES);
         at += 4) {
        const uint32_t m = le32(head + at);
        if (m == 0xFFFFFFFFu) break;
        markers.push_back(m);
    }
    std::size_t nextMarker = 0;

    // Frames 0 .. N, stopping at the end of the file.
    const int64_t total = count + 1;
    ui.progress(0, total);
    for (int64_t k = 0; k <= count; ++k) {
        const uint64_t at = MR3_FRAMES + uint64_t(k) * MR3_FRAME;
        if (at >= in.size()) break;
        FrameRecord* f = takeSlot(sl, s, out, k, at);
        if (!f) break;
        std::size_t got = 0;
        const uint8_t* area = in.fetch(at, MR3_FRAME, got);
        decodeMr3Frame(*f, area, got, threePlanes, code);
        while (nextMarker < markers.size() && markers[nextMarker] == uint64_t(k)) {
            const int level = std::min(f->markerStatus() + 1, 3);
            f->value[cell::Status] =
                uint8_t((f->value[cell::Status] & ~status::MarkerMask) | level);
            ++nextMarker;
        }
        if (got < MR3_FRAME) {
            out.stop(shortRead(in.failed()), int(k), at);
            break;
        }
        if ((k + 1) % PROGRESS_EVERY == 0) ui.progress(k + 1, total);
    }
    ui.progress(std::min<int64_t>(out.framesRead, total), total);

    auto& h = s.header.value;
    if (!append) {
        setDeviceType(s, 0);
        h[hdr::Day] = 1;
        h[hdr::Month] = 1;
        h[hdr::Year] = 5;
        h[hdr::Hour] = 0;
        h[hdr::Minute] = 0;
        h[hdr::ViewFlags] = uint8_t(h[hdr::ViewFlags] & ~hdr::ViewStepMask);
        h[hdr::Step] = 4;
        h[hdr::ColourMode] = 0;
        h[hdr::VelocityIndex] = 0;
        s.hodographVelocity = 500;
        s.setVelocity(500);
        h[hdr::Antenna] = 10;
        s.setHmax(0);
    }
    h[hdr::TimeRange] = 2; // 512 ns, also when appending
    finish();
    return out;
}

LoadReport readGprFile(ByteSource& src, bool append, ProfileStore& s, const DeviceOptions& options,
                       Interaction& ui) {
    const DeviceOptions o = clampedDeviceOptions(options);
    LoadReport out;
    Slots sl{append ? s.frameCount : 0, append ? s.frameCount : 0};
    out.firstSlot = sl.first;
    BlockReader in(src);

    uint8_t head[GPR_HEADER] = {};
    if (src.read(0, head, GPR_HEADER) < GPR_HEADER) {
        out.stop(shortRead(src.failed()), -1, 0);
        setFrameCount(s, sl.first + 10);
        return out;
    }
    int64_t count = int64_t(le32(head + 6)) - 1;
    if (count < 0) count = 0;
    out.framesDeclared = count;
    if (count > MAX_COUNT) {
        out.warn(LoadWarning::CountClamped);
        count = MAX_COUNT;
    }
    if (!append) {
        auto& h = s.header.value;
        setDeviceType(s, 7);
        h[hdr::Day] = 0;
        h[hdr::Month] = 0;
        h[hdr::Year] = 16;
        h[hdr::Hour] = 0;
        h[hdr::Minute] = 1;
    }

    // One group per cell of the selected time range (T = 2^k / 4 ns).
    const uint64_t delayGroups = (uint64_t(o.startDelayItem) * 4) >> rangeItemOf(s);
    uint64_t at = uint64_t(deviceItems::FrameAreaOffsets[std::size_t(o.frameAreaItem)]);
    ui.progress(0, count);
    for (int64_t j = 0; j < count; ++j) {
        if (at >= in.size()) break;
        std::size_t got = 0;
        const uint8_t* p = in.fetch(at, 4, got);
        if (got < 4) {
            // Not even the word count of the record: no frame.
            out.stop(shortRead(in.failed()), int(j), at);
            break;
        }
        const uint64_t words = le32(p);
        const uint64_t end = at + 8 + 2 * words; // the W field, then 2 W + 4 bytes
        FrameRecord* f = takeSlot(sl, s, out, j, at);
        if (!f) break;
        bool cut = false;
        uint64_t q = at + 4;
        p = in.fetch(q, 1, got);
        if (got < 1) {
            cut = true;
        } else {
            const std::size_t n = p[0];
            q += 1;
            const uint8_t* text = in.fetch(q, n, got);
            if (got < n) {
                cut = true;
            } else {
                storePosition(*f, text, n);
                q += n;
                const uint8_t* t = in.fetch(q, 5, got);
                for (std::size_t i = 0; i < std::min<std::size_t>(got, 4); ++i)
                    storeTime(*f, int(i), t[i]);
                if (got == 5) f->value[cell::Status] |= uint8_t(t[4] & status::MarkerMask);
                q += 5;
                if (got < 5) cut = true;
            }
        }
        if (!cut) {
            const uint64_t groups = words / 64 >= 1 ? words / 64 - 1 : 0;
            const uint64_t fit = end > q ? (end - q) / GPR_GROUP : 0;
            const uint64_t avail = std::min(groups, fit);
            const uint64_t skip = std::min(delayGroups, avail);
            const uint64_t store = std::min<uint64_t>(avail - skip, LAST_CELL);
            const uint8_t* g = in.fetch(q + skip * GPR_GROUP, std::size_t(store * GPR_GROUP), got);
            const uint64_t whole = got / GPR_GROUP;
            for (uint64_t i = 0; i < whole; ++i)
                f->value[std::size_t(1 + i)] = gprGroupCode(g + i * GPR_GROUP, o);
            if (whole < store) cut = true;
        }
        // The copy rule of the format: a sample 0 becomes 1.
        for (int c = 0; c < SAMPLES_PER_FRAME; ++c)
            if (f->value[std::size_t(c)] == 0) f->value[std::size_t(c)] = 1;
        f->fillRowsFromLastSample();
        if (cut || end > in.size()) {
            out.stop(shortRead(in.failed()), int(j), at);
            break;
        }
        at = end;
        if ((j + 1) % PROGRESS_EVERY == 0) ui.progress(j + 1, count);
    }
    ui.progress(std::min<int64_t>(out.framesRead, count), count);
    setFrameCount(s, sl.first + out.framesRead + 10);
    return out;
}

LoadReport readGebFile(ByteSource& src, bool append, ProfileStore& s, const DeviceOptions& options,
                       Interaction& ui) {
    const DeviceOptions o = clampedDeviceOptions(options);
    LoadReport out;
    Slots sl{append ? s.frameCount : 0, append ? s.frameCount : 0};
    out.firstSlot = sl.first;
    if (append) s.viewStart = sl.first;
    BlockReader in(src);

    auto finish = [&] {
        const int fc = sl.first + out.framesRead;
        setFrameCount(s, fc / 10 * 10 + 20);
    };
    uint8_t head[GEB_HEADER] = {};
    if (src.read(0, head, GEB_HEADER) < GEB_HEADER) {
        out.stop(shortRead(src.failed()), -1, 0);
        finish();
        return out;
    }
    const uint16_t headerLength = le16(head + 4);
    const uint32_t samples = le32(head + 8);
    const uint32_t frequency = le32(head + 12);
    int64_t count = le32(head + 16);
    out.framesDeclared = count;
    if (count > MAX_COUNT) {
        out.warn(LoadWarning::CountClamped);
        count = MAX_COUNT;
    }
    const uint8_t width = head[20];
    if (width < 12) out.warn(LoadWarning::AmplitudeBelow12);
    if (width > 12) out.warn(LoadWarning::AmplitudeAbove12);
    if (!append) {
        auto& h = s.header.value;
        setDeviceType(s, 8);
        h[hdr::Year] = head[24];
        h[hdr::Month] = head[25] > 12 ? 0 : head[25];
        h[hdr::Day] = head[26] > 31 ? 0 : head[26];
    }

    const GebPlan plan =
        planGeb(samples, frequency, rangeItemOf(s), o.startDelayItem, o.samplingModeItem);
    const uint64_t recordBytes = 2 * uint64_t(samples) + GEB_RECORD_HEAD;
    const uint64_t needed = GEB_RECORD_HEAD + 2 * plan.samplesUsed; // <= recordBytes
    const uint64_t firstRecord = uint64_t(headerLength) + 6;
    LevelBuffer buffer;
    ui.progress(0, count);
    for (int64_t j = 0; j < count; ++j) {
        const uint64_t at = firstRecord + uint64_t(j) * recordBytes;
        if (at >= in.size()) break;
        FrameRecord* f = takeSlot(sl, s, out, j, at);
        if (!f) break;
        std::size_t got = 0;
        const uint8_t* r = in.fetch(at, std::size_t(needed), got);
        uint8_t* v = f->value.data();
        if (got > 4 && r[4] != 0) v[cell::Status] = 1; // marker status 1
        for (std::size_t i = 5; i < std::min<std::size_t>(got, 9); ++i)
            storeTime(*f, int(i - 5), r[i]);
        v[0] = 128;
        const uint64_t avail = got > GEB_RECORD_HEAD ? (got - GEB_RECORD_HEAD) / 2 : 0;
        if (avail > 0) fillGebCells(v, r + GEB_RECORD_HEAD, avail, plan, buffer);
        f->fillRowsFromLastSample();
        if (got < needed || at + recordBytes > in.size()) {
            out.stop(shortRead(in.failed()), int(j), at);
            break;
        }
        if ((j + 1) % PROGRESS_EVERY == 0) ui.progress(j + 1, count);
    }
    ui.progress(std::min<int64_t>(out.framesRead, count), count);
    finish();
    return out;
}

} // namespace tesk
