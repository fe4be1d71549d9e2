// Device recording (.geo), as the radar unit writes it. Multi-byte integers
// are big-endian.
//
// File header
//
//   offset size
//    0      4   magic: the four bytes add up to 311
//    5      1   model code 0..6: models 3 and 4 give 8-bit amplitudes (max 255),
//               the others 7-bit amplitudes (max 127)
//    7      5   day, month, year (two digits), hour, minute
//   13      3   count field C
//   23      1   file mode byte M, model 0       } both lie inside the first
//   26      1   file mode byte M, models 1..6   } block or frame record
//
//   M AND 0xC0 = 0 selects the bit-plane family, anything else frame records.
//
// Bit-plane family: C blocks, at most N = C x 128 frames (and 63999)
//
//   offset 15  +-----------------------------------------------+
//              | block header: 11 bytes (model 0), 14 (1..6)   |
//              | n: frames in the block                        |
//              | frame n-1 | ... | frame 1 | frame 0           |  32 s bytes each
//              | the same area twice more when M AND 0x20      |  (three bit planes)
//              +-----------------------------------------------+
//              next block ...
//
//   s = ((M AND 0x18) >> 3) + 1 is the time range item, then at most 2. Bits
//   are read least significant first: one sample each (s = 2), or two
//   consecutive samples each (s = 1). One plane: a set bit is the high level,
//   a clear bit the low one; three planes: the number of planes with the bit
//   set picks one of four levels.
//
// Frame-record family: C records, the first at offset 16
//
//   +0    1   block key 0xA1 (looked for within +-10 bytes when missing)
//   +1    3   record length L; the next record starts at +L+4
//   +7    3   unit clock: hour, minute, second in BCD (models 1..6)
//   +7    1   frame mode byte F (model 0)
//   +10   1   frame mode byte F (models 1..6)
//   +13   50  positioning block (models 5 and 6)
//   +10 / +13 / +63   sample data:
//         raw (F AND 0x04): 256 bytes (s = 1) or 512 bytes (s >= 2), one
//             amplitude each
//         run-length: the bytes up to +L+2; bit 7 is the bit value, bits
//             0..6 the run (0 = 128); the runs fill columns of max + 1 rows
//             and the number of set bits of a column is its amplitude
//
//   F: 0x01 marker, 0x04 raw samples, bits 3..4 time range s - 1, bits 6..7
//   amplitude scale.
//
// Positioning block: fixed-width text at record offset 13
//
//    0 "GPS"   3 HHMMSS   9 DD latitude  11 MM  13 '.'  14 ddddd  19 N|S
//   20 DDD longitude  23 MM  25 '.'  26 ddddd  31 E|W
//   32 altitude: digits, '.', at most two decimals, ended by 'M' or 'm'
//   then DD day, MM month, YY year, 5 deviation characters (one '.'), one
//   satellite digit: 50 bytes in all when the altitude takes 6 characters.
//
// Decoding runs in two passes: the first decodes every frame into the work
// bytes of slots 0, 1, 2 ...; the second converts them into value bytes of
// the target slots and checks each frame's mean amplitude.

#include "store/device_recording.h"

#include "store/device_check_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tesk {

namespace msg {

Message geoModelUnknown() {
    return Message{Icon::Error, Buttons::Ok, "Ошибка! Тип георадара не определён",
                   "Error! Incorrect Type GtoRadar."};
}

Message geoAmplitudeQuestion(int pos) {
    const std::string p = std::to_string(pos);
    return Message{Icon::Warning, Buttons::YesNoCancel,
                   "Ошибка амплитуды измерения.\rПозиция " + p + "\r" + "Исправить?",
                   "Measurement amplitude error.\rPosition " + p + "\r" + "ReWrite?"};
}

Message geoDataError() {
    return Message{Icon::Warning, Buttons::Ok, "Ошибка Данных GPS!", "Error Data GPS!"};
}

} // namespace msg

namespace {

using geo::CheckLog;

constexpr uint8_t BLOCK_KEY = 0xA1;
constexpr int KEY_REACH = 10; // the key is looked for up to ten bytes either side
constexpr uint32_t MAX_COUNT = 63999;
constexpr uint64_t FIRST_RECORD = 16;
constexpr uint64_t FIRST_BLOCK = 15;
constexpr int GPS_AT = 13;    // record offset of the positioning block
constexpr int GPS_BYTES = 50; // its fixed size
constexpr int GPS_DATA_AT = GPS_AT + GPS_BYTES;
constexpr int ALTITUDE_AT = 32;  // block offset of the altitude text
constexpr int ALTITUDE_MAX = 10; // characters, the closing 'M' included
constexpr int GPS_TEXT_MAX = ALTITUDE_AT + ALTITUDE_MAX + 12;
constexpr uint32_t ALTITUDE_WRAP = 1800000;
constexpr int LOW_MEAN = 32; // plausible mean amplitudes of a frame: 32..224
constexpr int HIGH_MEAN = 224;

// --- header --------------------------------------------------------------

struct FileHeader {
    uint8_t model = 0;
    uint32_t count = 0; // count field C as written
    uint8_t mode = 0;   // file mode byte M
    bool bitPlane = false;
    bool eightBit = false;
};

enum class Verdict { Accepted, Cut, UnknownModel };

int modeOffset(uint8_t model) {
    return model == 0 ? 23 : 26;
}

Verdict readHeader(ByteSource& src, FileHeader& h) {
    uint8_t b[27] = {};
    const std::size_t got = src.read(0, b, sizeof b);
    if (got >= 16) h.count = (uint32_t(b[13]) << 16) | (uint32_t(b[14]) << 8) | b[15];
    if (got < 6) return Verdict::Cut;
    h.model = b[5];
    if (h.model > 6) return Verdict::UnknownModel;
    const std::size_t at = std::size_t(modeOffset(h.model));
    if (got <= at) return Verdict::Cut;
    h.mode = b[at];
    h.bitPlane = (h.mode & 0xC0) == 0;
    h.eightBit = h.model == 3 || h.model == 4;
    return Verdict::Accepted;
}

// --- reading -------------------------------------------------------------

// A window of the file in memory: every record, block and positioning text
// is taken from it, so the file is read in large pieces whatever the
// records look like. Requests are at most MAX_REQUEST bytes.
class Window {
  public:
    static constexpr std::size_t CAPACITY = std::size_t(1) << 20;
    static constexpr uint64_t KEEP_BEHIND = 64; // the key search looks back
    static constexpr std::size_t MAX_REQUEST = CAPACITY - KEEP_BEHIND;

    // A small file is read whole; a large one through CAPACITY bytes at a time.
    explicit Window(ByteSource& src)
        : src_(src), size_(src.size()),
          buf_(std::size_t(std::min<uint64_t>(CAPACITY, std::max<uint64_t>(size_, 1)))) {}

    uint64_t size() const { return size_; }

    // The bytes at [off, off + n): a pointer to them and, in got, how many of
    // them the file holds (fewer at its end or after a read fault).
    const uint8_t* at(uint64_t off, std::size_t n, std::size_t& got) {
        got = 0;
        if (off >= size_ || n == 0) return nullptr;
        const uint64_t want = std::min<uint64_t>(std::min(n, MAX_REQUEST), size_ - off);
        if (off < start_ || off + want > start_ + len_) fill(off);
        if (off < start_ || off >= start_ + len_) return nullptr;
        got = std::size_t(std::min<uint64_t>(want, start_ + len_ - off));
        return buf_.data() + (off - start_);
    }

    // The byte at off, or -1 past the end of the file.
    int byteAt(uint64_t off) {
        std::size_t got = 0;
        const uint8_t* p = at(off, 1, got);
        return got ? *p : -1;
    }

  private:
    void fill(uint64_t off) {
        start_ = off - std::min(off, KEEP_BEHIND);
        const std::size_t n = std::size_t(std::min<uint64_t>(buf_.size(), size_ - start_));
        len_ = src_.read(start_, buf_.data(), n);
    }

    ByteSource& src_;
    uint64_t size_;
    std::vector<uint8_t> buf_;
    uint64_t start_ = 0;
    uint64_t len_ = 0;
};

// --- frame decoding ------------------------------------------------------

struct Model {
    int code;
    bool eightBit;
    int max() const { return eightBit ? 255 : 127; }
    int rowShift() const { return eightBit ? 8 : 7; } // max + 1 rows per column
};

void put24(uint8_t* cells, int c, uint32_t v) {
    cells[c] = uint8_t(v >> 16);
    cells[c + 1] = uint8_t(v >> 8);
    cells[c + 2] = uint8_t(v);
}

void fillRows(uint8_t* cells) {
    std::memset(cells + SAMPLES_PER_FRAME, cells[SAMPLES_PER_FRAME - 1],
                SAMPLE_ROWS - SAMPLES_PER_FRAME);
}

// Raw samples: a zero byte is read as 1, a byte above the model maximum as
// the maximum. With s = 1 the odd samples are the bytes and each even one
// the mean of its neighbours, the first taking the mid level as its left one.
void decodeRaw(const uint8_t* p, int s, const Model& m, uint8_t* w) {
    const int max = m.max();
    auto level = [max](uint8_t b) { return b == 0 ? 1 : std::min<int>(b, max); };
    if (s == 1) {
        int prev = m.eightBit ? 128 : 64;
        for (int i = 0; i < SAMPLES_PER_FRAME / 2; ++i) {
            const int v = level(p[i]);
            w[2 * i + 1] = uint8_t(v);
            w[2 * i] = uint8_t((prev + v) / 2);
            prev = v;
        }
    } else {
        for (int i = 0; i < SAMPLES_PER_FRAME; ++i) w[i] = uint8_t(level(p[i]));
    }
}

inline int rawBytes(int s) {
    return s == 1 ? SAMPLES_PER_FRAME / 2 : SAMPLES_PER_FRAME;
}

struct RunResult {
    bool filled; // every column was filled before the bytes ran out
};

// Run lengths (bits 0..6, 0 = 128) and set-bit masks (bit 7) of every run byte.
struct RunTables {
    uint8_t length[256];
    uint32_t setMask[256];
    constexpr RunTables() : length(), setMask() {
        for (int b = 0; b < 256; ++b) {
            length[b] = uint8_t(((b - 1) & 0x7F) + 1);
            setMask[b] = (b & 0x80) ? 0xFFFFFFFFu : 0u;
        }
    }
};
constexpr RunTables RUNS;

// Run-length samples. The runs fill a bit matrix column by column; the
// amplitude of a column is its number of set bits. Instead of the matrix the
// decoder keeps the running count of set bits and records, for each column
// boundary, the count at that boundary: every run writes the count its own
// bits would give at the end of the column it starts in, so the last run
// starting in a column, the one that reaches its end, leaves the right
// value. The count of a column is the difference of the records at its two
// ends.
RunResult decodeRuns(const uint8_t* p, std::size_t n, int s, const Model& m, uint8_t* w) {
    const int columns = s == 1 ? SAMPLES_PER_FRAME / 2 : SAMPLES_PER_FRAME;
    const int shift = m.rowShift();
    const uint32_t rowMask = (1u << shift) - 1;
    const uint32_t bits = uint32_t(columns) << shift;
    uint32_t ones[SAMPLES_PER_FRAME + 1]; // ones[c]: set bits before column c
    ones[0] = 0;
    uint32_t pos = 0;
    uint32_t count = 0;
    std::size_t i = 0;
    while (i < n && pos < bits) {
        // No run is longer than 128 bits: this many bytes cannot pass the
        // end of the last column, so the inner loop needs no test of it.
        const std::size_t stop = i + std::min<std::size_t>(n - i, std::max((bits - pos) >> 7, 1u));
        for (; i < stop; ++i) {
            const uint8_t b = p[i];
            const uint32_t len = RUNS.length[b];
            const uint32_t set = RUNS.setMask[b];
            const uint32_t end = (pos | rowMask) + 1; // end of the column the run starts in
            ones[end >> shift] = count + (set & (end - pos));
            count += set & len;
            pos += len;
        }
    }
    const int full = int(std::min(pos, bits) >> shift); // columns filled completely
    const int max = m.max();
    int amp[SAMPLES_PER_FRAME + 1];
    for (int c = 0; c < full; ++c) amp[c] = int(ones[c + 1] - ones[c]);
    if (full < columns) {
        amp[full] = int(count - ones[full]); // the column the runs stopped in
        for (int c = full + 1; c < columns; ++c) amp[c] = 0;
    }
    for (int c = 0; c < columns; ++c) amp[c] = std::min(amp[c], max);
    if (s == 1) {
        // The last odd sample has no column on its right: it repeats its left one.
        amp[columns] = amp[columns - 1];
        for (int c = 0; c < columns; ++c) {
            w[2 * c] = uint8_t(amp[c]);
            w[2 * c + 1] = uint8_t((amp[c] + amp[c + 1]) / 2);
        }
    } else {
        for (int c = 0; c < columns; ++c) w[c] = uint8_t(amp[c]);
    }
    return RunResult{pos >= bits};
}

// --- positioning block ---------------------------------------------------

inline bool isDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}

bool digits(const uint8_t* t, int n) {
    for (int i = 0; i < n; ++i)
        if (!isDigit(t[i])) return false;
    return true;
}

uint32_t number(const uint8_t* t, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v * 10 + uint32_t(t[i] - '0');
    return v;
}

// Minutes MM.ddddd as a fraction of a degree in units of 1e-7 degree,
// rounded to nearest: (MM x 100000 + ddddd) x 5 / 3, never a half.
uint32_t minuteFraction(uint32_t mm, uint32_t decimals) {
    return ((mm * 100000 + decimals) * 5 + 1) / 3;
}

// One coordinate: degrees (2 or 3 digits, at most maxDegrees), minutes,
// '.', five decimals, hemisphere letter. codes: degrees digits, degrees
// limit, minutes digits, minutes limit, '.', decimals, hemisphere.
void checkCoordinate(const uint8_t* t, int degreeDigits, uint32_t maxDegrees, char hemiA,
                     char hemiB, const int (&codes)[7], int degreesCell, int fractionCell,
                     uint8_t* w, int frame, CheckLog& log) {
    if (!digits(t, degreeDigits))
        log.finding(codes[0], frame);
    else if (number(t, degreeDigits) > maxDegrees)
        log.finding(codes[1], frame);
    else
        w[degreesCell] = uint8_t(number(t, degreeDigits));
    const uint8_t* mm = t + degreeDigits;
    bool minutesOk = true;
    if (!digits(mm, 2)) {
        log.finding(codes[2], frame);
        minutesOk = false;
    } else if (number(mm, 2) > 59) {
        log.finding(codes[3], frame);
        minutesOk = false;
    }
    if (mm[2] != '.') log.finding(codes[4], frame);
    if (!digits(mm + 3, 5)) {
        log.finding(codes[5], frame);
        minutesOk = false;
    }
    if (minutesOk) put24(w, fractionCell, minuteFraction(number(mm, 2), number(mm + 3, 5)));
    const uint8_t h = mm[8];
    if (h != uint8_t(hemiA) && h != uint8_t(hemiB)) log.finding(codes[6], frame);
}

// Checks the positioning text of frame `frame` field by field and stores
// what passes into its work bytes; a failed field is logged and left as it
// was. t holds GPS_TEXT_MAX bytes, zeros past the end of the file. Returns
// the length of the text consumed.
int readPositioning(const uint8_t* t, uint8_t* w, int frame, CheckLog& log) {
    if (int(t[0]) + t[1] + t[2] != 'G' + 'P' + 'S') log.finding(6, frame);

    bool noData = false;
    for (int i = 3; i < 9; ++i) noData = noData || t[i] == 0xFF;
    if (noData) {
        log.finding(7, frame);
    } else {
        // The fix time; the unit clock of the record replaces it afterwards.
        const int timeCells[3] = {cell::Hour, cell::Minute, cell::Second};
        for (int i = 0; i < 3; ++i)
            if (digits(t + 3 + 2 * i, 2)) w[timeCells[i]] = uint8_t(number(t + 3 + 2 * i, 2));
    }

    static constexpr int latCodes[7] = {10, 11, 12, 13, 14, 15, 16};
    static constexpr int lonCodes[7] = {20, 21, 22, 23, 24, 25, 26};
    checkCoordinate(t + 9, 2, 90, 'N', 'S', latCodes, cell::LatDegrees, cell::LatFraction, w, frame,
                    log);
    checkCoordinate(t + 20, 3, 179, 'E', 'W', lonCodes, cell::LonDegrees, cell::LonFraction, w,
                    frame, log);

    // Altitude: the digits read as one number of centimetres, at most two of
    // them after the '.'; the text ends with its 'M' (or after ten characters).
    int i = ALTITUDE_AT;
    uint32_t height = 0;
    int decimals = -1; // digits after the '.', -1 before it
    for (int n = 0; n < ALTITUDE_MAX; ++n) {
        const uint8_t c = t[i++];
        if (c == 'M' || c == 'm') break;
        if (c == '.') {
            if (decimals < 0) decimals = 0;
        } else if (isDigit(c) && decimals < 2) {
            height = height * 10 + uint32_t(c - '0');
            if (decimals >= 0) ++decimals;
            if (height >= ALTITUDE_WRAP) height = 0;
        }
    }
    put24(w, cell::ReliefHeight, height);

    struct DateField {
        int digitsCode;
        int limitCode; // 0: no limit
        uint32_t limit;
    };
    static constexpr DateField date[3] = {{31, 32, 31}, {33, 34, 12}, {35, 0, 0}};
    for (const DateField& f : date) {
        if (!digits(t + i, 2))
            log.finding(f.digitsCode, frame);
        else if (f.limitCode != 0 && number(t + i, 2) > f.limit)
            log.finding(f.limitCode, frame);
        i += 2;
    }

    // Deviation: five characters, digits and exactly one '.'.
    int points = 0;
    for (int q = 0; q < 5; ++q) {
        const uint8_t c = t[i + q];
        if (c == '.')
            ++points;
        else if (!isDigit(c))
            log.finding(41 + q, frame);
    }
    if (points != 1) log.finding(46, frame);
    i += 5;

    if (!isDigit(t[i])) log.finding(50, frame);
    ++i;
    return i;
}

// --- the two passes --------------------------------------------------------

struct Decoder {
    Window& win;
    ProfileStore& store;
    Interaction& ui;
    CheckLog& log;
    const FileHeader& head;
    Model model;
    bool append;
    int limit;       // frames the first pass may decode
    int64_t units;   // progress units of both passes
    int decoded = 0; // frames decoded into work bytes 0 .. decoded - 1
    // Where each decoded frame starts in the file, and where the next one
    // would: the report names the frame a fault hit by both.
    std::vector<uint64_t> offsets = {};
    uint64_t nextOffset = 0;
    // What stopped the first pass before the frames the count allows.
    LoadFault stopped = LoadFault::None;
    int stoppedAt = -1;
    uint64_t stoppedOffset = 0;

    // A finding that ends the decoding at frame k, whose bytes start at pos.
    void stopAt(int code, int k, uint64_t pos, LoadFault fault) {
        log.finding(code, k);
        stopped = fault;
        stoppedAt = k;
        stoppedOffset = pos;
    }
    uint64_t offsetOf(int frame) const {
        return frame < int(offsets.size()) ? offsets[std::size_t(frame)] : nextOffset;
    }

    uint8_t* workOf(int slot) {
        uint8_t* w = store.frame(slot).work.data();
        std::memset(w, 0, CELLS_PER_FRAME);
        return w;
    }

    void applyTimeRange(int item) {
        if (!append) store.header.value[hdr::TimeRange] = uint8_t(item);
    }

    void applyFrameMode(uint8_t f) {
        int item = ((f >> 3) & 3) + 1;
        if (model.code == 2 || model.code == 4) ++item;
        applyTimeRange(item);
        static constexpr uint8_t scale8[4] = {0, 2, 3, 4};
        static constexpr uint8_t scale7[4] = {0, 0, 1, 2};
        // Indexed per table: g++ 12 with AddressSanitizer mis-reads the
        // conditional choice of array followed by the index.
        const int scale = f >> 6;
        if (!append)
            store.header.value[hdr::LevelTable] = model.eightBit ? scale8[scale] : scale7[scale];
    }

    // The first byte holding the block key at pos, pos - 1, pos + 1 ... pos
    // +- 10, or -1.
    int64_t findKey(uint64_t pos) {
        if (win.byteAt(pos) == BLOCK_KEY) return int64_t(pos);
        for (int d = 1; d <= KEY_REACH; ++d) {
            if (pos >= uint64_t(d) && win.byteAt(pos - uint64_t(d)) == BLOCK_KEY)
                return int64_t(pos) - d;
            if (win.byteAt(pos + uint64_t(d)) == BLOCK_KEY) return int64_t(pos) + d;
        }
        return -1;
    }

    void frameRecords() {
        const bool longLayout = model.code != 0;
        const int modeAt = longLayout ? 10 : 7;
        const int headLength = longLayout ? 13 : 10;
        const bool positioning = model.code == 5 || model.code == 6;
        uint64_t pos = FIRST_RECORD;
        nextOffset = pos;
        for (int k = 0; k < limit; ++k) {
            ui.progress(k, units);
            if (pos >= win.size()) {
                // The file ends between two records: a finding, not a cut.
                log.finding(2, k);
                return;
            }
            const int64_t key = findKey(pos);
            if (key < 0) {
                stopAt(3, k, pos, LoadFault::Malformed);
                return;
            }
            pos = uint64_t(key);
            std::size_t got = 0;
            const uint8_t* rec = win.at(pos, std::size_t(headLength), got);
            if (got < std::size_t(modeAt) + 1) {
                stopAt(4, k, pos, LoadFault::CutShort);
                return;
            }
            const uint32_t length = (uint32_t(rec[1]) << 16) | (uint32_t(rec[2]) << 8) | rec[3];
            const uint8_t f = rec[modeAt];
            uint8_t clock[3] = {};
            if (longLayout) std::memcpy(clock, rec + 7, 3);
            applyFrameMode(f);
            const int s = ((f >> 3) & 3) + 1;
            const bool raw = f & 0x04;

            uint8_t* w = workOf(k);
            int64_t dataAt = headLength;
            if (positioning) {
                const uint8_t* block = win.at(pos + GPS_AT, GPS_TEXT_MAX, got);
                if (got < std::size_t(GPS_BYTES)) {
                    stopAt(5, k, pos, LoadFault::CutShort);
                    return;
                }
                uint8_t text[GPS_TEXT_MAX] = {};
                std::memcpy(text, block, got);
                const int used = readPositioning(text, w, k, log);
                if (!raw) {
                    dataAt = GPS_AT + used;
                } else if (used == GPS_BYTES) {
                    dataAt = GPS_DATA_AT;
                } else {
                    // The raw samples are found from the end of the record.
                    dataAt = int64_t(length) - (s >= 2 ? 509 : 253);
                    if (dataAt < 0) dataAt = GPS_DATA_AT;
                }
            }

            if (raw) {
                const std::size_t need = std::size_t(rawBytes(s));
                const uint8_t* p = win.at(pos + uint64_t(dataAt), need, got);
                if (got < need) {
                    stopAt(2, k, pos, LoadFault::CutShort);
                    return;
                }
                decodeRaw(p, s, model, w);
            } else {
                // The run bytes end at record offset L + 2; no column needs
                // more than one byte per bit.
                const int64_t runBytes = std::max<int64_t>(0, int64_t(length) + 2 - dataAt);
                const int columns = s == 1 ? SAMPLES_PER_FRAME / 2 : SAMPLES_PER_FRAME;
                const std::size_t want =
                    std::size_t(std::min<int64_t>(runBytes, int64_t(columns) << model.rowShift()));
                const uint8_t* p = win.at(pos + uint64_t(dataAt), want, got);
                const RunResult r = decodeRuns(p, got, s, model, w);
                if (!r.filled && got < want) {
                    stopAt(2, k, pos, LoadFault::CutShort);
                    return;
                }
            }
            if (longLayout) {
                auto bcd = [](uint8_t b) { return uint8_t((b >> 4) * 10 + (b & 0x0F)); };
                w[cell::Hour] = bcd(clock[0]);
                w[cell::Minute] = bcd(clock[1]);
                w[cell::Second] = bcd(clock[2]);
            }
            w[cell::Status] = (f & 0x01) && k > 0 ? 1 : 0;
            fillRows(w);
            decoded = k + 1;
            offsets.push_back(pos);
            pos += uint64_t(length) + 4;
            nextOffset = pos;
        }
    }

    void bitPlanes() {
        int s = ((head.mode & 0x18) >> 3) + 1;
        applyTimeRange(s);
        s = std::min(s, 2);
        const bool threePlanes = head.mode & 0x20;
        const int planes = threePlanes ? 3 : 1;
        const uint8_t* levels;
        static constexpr uint8_t two8[2] = {8, 200};
        static constexpr uint8_t two7[2] = {4, 100};
        static constexpr uint8_t four8[4] = {8, 90, 160, 230};
        static constexpr uint8_t four7[4] = {4, 40, 80, 120};
        if (threePlanes)
            levels = model.eightBit ? four8 : four7;
        else
            levels = model.eightBit ? two8 : two7;

        const uint64_t blockHead = model.code == 0 ? 11 : 14;
        const std::size_t frameBytes = std::size_t(32 * s);
        const uint32_t blocks = std::min(head.count, MAX_COUNT);
        uint64_t pos = FIRST_BLOCK;
        nextOffset = pos;
        int k = 0;
        for (uint32_t b = 0; b < blocks && k < limit; ++b) {
            ui.progress(k, units);
            const int n = win.byteAt(pos + blockHead);
            if (n < 0) {
                // Past the end of the file a block is missing, not cut.
                if (pos < win.size())
                    stopAt(2, k, pos, LoadFault::CutShort);
                else
                    log.finding(2, k);
                break;
            }
            const std::size_t area = std::size_t(n) * frameBytes;
            const std::size_t total = area * std::size_t(planes);
            std::size_t got = 0;
            const uint8_t* data = win.at(pos + blockHead + 1, total, got);
            if (got < total) {
                stopAt(2, k, pos, LoadFault::CutShort);
                break;
            }
            // Frame i of the block is the (i + 1)-th from the end of its area.
            const uint64_t dataAt = pos + blockHead + 1;
            auto frameAt = [&](int i) { return dataAt + uint64_t(n - 1 - i) * frameBytes; };
            const int take = std::min(n, limit - k);
            for (int i = 0; i < take; ++i) {
                uint8_t* w = workOf(k + i);
                offsets.push_back(frameAt(i));
                const uint8_t* f = data + std::size_t(n - 1 - i) * frameBytes;
                for (int bit = 0; bit < 256 * s; ++bit) {
                    const std::size_t byte = std::size_t(bit >> 3);
                    const int shift = bit & 7;
                    int set = 0;
                    for (int p = 0; p < planes; ++p)
                        set += (f[std::size_t(p) * area + byte] >> shift) & 1;
                    const uint8_t v = levels[set];
                    if (s == 1) {
                        w[2 * bit] = v;
                        w[2 * bit + 1] = v;
                    } else {
                        w[bit] = v;
                    }
                }
                fillRows(w);
            }
            k += take;
            pos += blockHead + 1 + total;
            nextOffset = take < n ? frameAt(take) : pos;
        }
        // The frames end with the last one holding a non-zero sample.
        int last = -1;
        for (int j = k - 1; j >= 0 && last < 0; --j) {
            const uint8_t* w = store.frame(j).work.data();
            for (int c = 0; c < SAMPLES_PER_FRAME; ++c)
                if (w[c] != 0) {
                    last = j;
                    break;
                }
        }
        decoded = last + 1;
    }
};

// Cells 0..527 from work to value bytes, eight at a time: 7-bit amplitudes
// are limited to 127 and widened to 2v + 1; an 8-bit zero becomes 1.
void convertSamples(const uint8_t* w, uint8_t* v, bool eightBit) {
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr uint64_t high = 0x8080808080808080ull;
    for (int c = 0; c < SAMPLE_ROWS; c += 8) {
        uint64_t x;
        std::memcpy(&x, w + c, 8);
        if (eightBit) {
            // High bit of each zero byte, without carries between bytes.
            const uint64_t zero = ~(((x & low7) + low7) | x) & high;
            x |= zero >> 7;
        } else {
            const uint64_t over = ((x & high) >> 7) * 0xFF; // bytes above 127
            x = ((x & ~over) | (over & low7)) << 1 | ones;  // no bit crosses a byte
        }
        std::memcpy(v + c, &x, 8);
    }
}

// Work bytes to value bytes: 7-bit amplitudes v become 2v + 1, a zero
// becomes 1; cells 528..623 are copied. Returns the mean of the first 512
// work bytes.
int convertFrame(const uint8_t* w, uint8_t* v, bool eightBit) {
    uint32_t sum = 0;
    for (int c = 0; c < SAMPLES_PER_FRAME; ++c) sum += w[c];
    convertSamples(w, v, eightBit);
    std::memcpy(v + SAMPLE_ROWS, w + SAMPLE_ROWS, CELLS_PER_FRAME - SAMPLE_ROWS);
    return int(sum / SAMPLES_PER_FRAME);
}

} // namespace

LoadReport precheckDeviceRecording(ByteSource& src) {
    LoadReport r;
    FileHeader h;
    const Verdict verdict = readHeader(src, h);
    if (verdict == Verdict::Accepted) return r;
    r.warn(verdict == Verdict::UnknownModel ? LoadWarning::UnknownModel
                                            : LoadWarning::UnknownStructure);
    r.stop(LoadFault::Refused, -1, 0);
    return r;
}

DeviceRecordingLoad readDeviceRecording(ByteSource& src, bool append, ProfileStore& s,
                                        Interaction& ui, DeviceCheckLog& logLines) {
    DeviceRecordingLoad out;
    CheckLog log(logLines, s.header.value[hdr::ViewFlags] & hdr::English);
    FileHeader head;
    const Verdict verdict = readHeader(src, head);
    if (head.count > MAX_COUNT) {
        log.finding(1, -1);
        out.warn(LoadWarning::CountClamped);
    }
    if (verdict != Verdict::Accepted) {
        out.warn(verdict == Verdict::UnknownModel ? LoadWarning::UnknownModel
                                                  : LoadWarning::UnknownStructure);
        out.stop(LoadFault::Refused, -1, 0);
        return out;
    }
    out.deviceType = head.model;
    out.bitPlane = head.bitPlane;
    // The bit-plane family counts blocks, not frames.
    if (!head.bitPlane) out.framesDeclared = head.count;
    const Model model{head.model, head.eightBit};

    if (!append) {
        uint8_t when[5] = {};
        src.read(hdr::Day, when, sizeof when);
        s.deviceType = head.model;
        s.header.value[hdr::DeviceType] = head.model;
        std::copy(when, when + 5, s.header.value.begin() + hdr::Day);
        s.setVelocity(s.velocityCode);
        s.setHmax(0);
    }

    // Frames go to slots first .. MAX_LOADED_FRAME at most.
    const int first = append ? std::clamp(s.frameCount, 0, MAX_FRAME_INDEX) : 0;
    out.firstSlot = first;
    const int room = std::max(0, MAX_LOADED_FRAME + 1 - first);
    const uint32_t count = std::min(head.count, MAX_COUNT);
    const int wanted =
        head.bitPlane ? int(std::min<uint64_t>(uint64_t(count) * 128, MAX_COUNT)) : int(count);
    const int limit = std::min(wanted, room);

    Window win(src);
    Decoder d{win, s, ui, log, head, model, append, limit, 2 * int64_t(limit)};
    if (head.bitPlane)
        d.bitPlanes();
    else
        d.frameRecords();
    out.framesDecoded = d.decoded;

    // Second pass: conversion into the target slots, with the amplitude check.
    const int n = d.decoded;
    int converted = 0;
    int cancelledAt = -1;
    for (int j = 0; j < n; ++j) {
        ui.progress(limit + j, d.units);
        const int t = first + j;
        FrameRecord& target = s.frame(t);
        const int mean = convertFrame(s.frame(j).work.data(), target.value.data(), model.eightBit);
        converted = j + 1;
        if (mean >= LOW_MEAN && mean <= HIGH_MEAN) continue;
        const Answer a = ui.ask(msg::geoAmplitudeQuestion(t), out);
        if (a == Answer::Yes) {
            if (j > 0) {
                std::memcpy(target.value.data(), s.frame(t - 1).value.data(), SAMPLE_ROWS);
            } else if (n > 1) {
                uint8_t next[CELLS_PER_FRAME];
                convertFrame(s.frame(1).work.data(), next, model.eightBit);
                std::memcpy(target.value.data(), next, SAMPLE_ROWS);
            }
        } else if (a == Answer::Cancel) {
            cancelledAt = j;
            // The frames not converted stay empty.
            for (int r = j + 1; r < n; ++r) s.frame(first + r).value.fill(0);
            break;
        }
    }
    out.framesRead = converted;
    ui.progress(d.units, d.units);

    // What ended the load, the weightiest last: the first pass's stop, the
    // operator's cancel, a read fault, the last slot filled.
    if (d.stopped != LoadFault::None) out.stop(d.stopped, d.stoppedAt, d.stoppedOffset);
    if (cancelledAt >= 0) out.stop(LoadFault::Cancelled, cancelledAt, d.offsetOf(cancelledAt));
    if (src.failed()) {
        const int at = d.stopped != LoadFault::None ? d.stoppedAt : d.decoded;
        out.stop(LoadFault::ReadFault, at,
                 d.stopped != LoadFault::None ? d.stoppedOffset : d.offsetOf(at));
    }
    if (wanted > 0 && ((room == 0) || (converted > 0 && first + converted - 1 == MAX_LOADED_FRAME)))
        out.stop(LoadFault::SlotLimit, converted, d.offsetOf(converted));

    const int total = first + n;
    s.frameCount = total > MAX_LOADED_FRAME ? MAX_LOADED_FRAME : total + 10;
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));

    out.findings = log.findings();
    if (log.faulty())
        out.warn(LoadWarning::DataError);
    else
        log.clear();
    return out;
}

} // namespace tesk
