#pragma once
// Files of every survey format, laid out byte by byte, for the tests, the
// fuzz seed corpora and the benchmarks. Nothing here calls a reader or a
// writer of the program: each image follows the layout of its format as the
// reader's own file comment draws it, so that a reader tested on these bytes
// is tested against the format, not against itself. Standard library only.
//
//   work file (.gem)          WorkFileImage over a Layout (GEN7 .. GEN16)
//   device recording (.geo)   geoHeader, GeoRecord / GeoFile, bitPlaneFile
//   device family             Mr3Image, GebImage, GprImage (little-endian)
//
// Every builder starts from the smallest valid file of its kind and grows as
// fields, records or frames are added; cut(n) gives a file that ends early.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk::images {

using Bytes = std::vector<uint8_t>;

// Deterministic noise (a linear congruential generator): the same seed gives
// the same file on every machine.
struct Lcg {
    uint32_t s;
    // A number in 0 .. range - 1.
    int next(int range) {
        s = s * 1664525u + 1013904223u;
        return int((s >> 16) % unsigned(range));
    }
};

// Writes bytes to path, replacing the file; false when it cannot be written.
bool writeFile(const std::string& path, const Bytes& bytes);

// The first n bytes of b (all of b when it is shorter).
Bytes cut(Bytes b, std::size_t n);

// Big-endian fields, as the work file and the device recording keep them.
void putBig16(Bytes& b, std::size_t at, uint32_t v);
void putBig24(Bytes& b, std::size_t at, uint32_t v);

// --- work file (.gem) ---------------------------------------------------------------

// Record layout of each generation: version byte, header length, bytes per
// frame record.
struct Layout {
    int generation;
    uint8_t versionByte;
    int headerLength;
    int recordBytes;
};
inline constexpr Layout GEN7{7, 7, 192, 512};
inline constexpr Layout GEN8{8, 8, 512, 576};
inline constexpr Layout GEN9{9, 9, 512, 576};
inline constexpr Layout GEN11{11, 17, 512, 608};
inline constexpr Layout GEN12{12, 18, 512, 608};
inline constexpr Layout GEN13{13, 19, 512, 608};
inline constexpr Layout GEN16{16, 23, 512, 624};

// A work file: the header ("TESK*", '*' at byte 6, the version byte at 12,
// everything else 0), then whole records. Multi-byte header fields are
// big-endian.
class WorkFileImage {
  public:
    explicit WorkFileImage(const Layout& l);
    uint8_t& header(int i) { return bytes.at(std::size_t(i)); }
    void setHeader16(int i, uint16_t v);
    void setHeader24(int i, uint32_t v);
    // The record count field (bytes 16..17; hundreds of records in
    // generations 7 and 8).
    void setCount(uint16_t count) { setHeader16(16, count); }
    // Record i, added (zero-filled) with every record before it if missing.
    uint8_t* record(int i);
    // Record i filled from rec (at most one record's bytes).
    void putRecord(int i, const Bytes& rec);
    // The image cut to its first n bytes.
    Bytes cut(std::size_t n) const { return images::cut(bytes, n); }

    Layout layout;
    Bytes bytes;
};

// --- device recording (.geo) --------------------------------------------------------

// The recording's date and time, header bytes 7..11.
struct GeoDate {
    uint8_t day = 14, month = 6, year = 21, hour = 9, minute = 30;
};

// The 16-byte file header: magic "TESK*", model code at 5, '*' at 6, date and
// time at 7..11, the count field (big-endian u24) at 13..15.
Bytes geoHeader(uint8_t model, uint32_t count, const GeoDate& date = {});

// One frame record. The length field is the record size minus 4 (so that
// the next record follows right after it) plus lengthDelta.
struct GeoRecord {
    GeoRecord(uint8_t mode, Bytes samples) : f(mode), data(std::move(samples)) {}
    GeoRecord& withClock(uint8_t h, uint8_t m, uint8_t sec) {
        clock = {h, m, sec};
        return *this;
    }
    GeoRecord& withGps(std::string text) {
        gps = std::move(text);
        return *this;
    }
    GeoRecord& withGap(int n) {
        gap = n;
        return *this;
    }
    GeoRecord& withLengthDelta(int d) {
        lengthDelta = d;
        return *this;
    }

    uint8_t f; // frame mode byte, e.g. 0x48: scale 0x40, s = 2, runs
    std::array<uint8_t, 3> clock{0x10, 0x20, 0x30}; // unit clock in BCD (models 1..6)
    std::string gps;                                // positioning text (models 5 and 6)
    Bytes data;                                     // raw samples or run-length bytes
    int gap = 0;         // bytes (0x33) between the positioning text and the data
    int lengthDelta = 0; // added to the length field
    int trailing = -1;   // bytes after the data; -1: 1 after raw samples, 2 after runs
    uint8_t key = 0xA1;  // block key
};

// The bytes of one record as a unit of the given model writes it: key,
// length (u24), three zeros, the clock (models 1..6), the mode byte, two
// zeros, the positioning text, the samples, the trailing bytes.
Bytes geoRecord(uint8_t model, const GeoRecord& r);

// A frame-record recording: the header, then records and junk in the order
// added. The count field is the number of records unless set.
class GeoFile {
  public:
    explicit GeoFile(uint8_t model, const GeoDate& date = {}) : model_(model), date_(date) {}
    GeoFile& add(const GeoRecord& r);
    GeoFile& junk(int n); // n bytes of 0x55 between records
    GeoFile& count(uint32_t c);
    Bytes bytes() const;

  private:
    uint8_t model_;
    GeoDate date_;
    Bytes body_;
    uint32_t records_ = 0;
    uint32_t count_ = 0;
    bool countSet_ = false;
};

// Run-length bytes of a run of len bits of one value (at most 128 per byte;
// a byte of run 0 stands for 128).
void putRun(Bytes& out, int bit, int len);
// Thermometer columns: each column's amplitude as set bits, then clear bits
// up to rows.
Bytes runColumns(const std::vector<int>& amps, int rows);
// Bits packed least significant first.
Bytes packBits(const std::vector<int>& bits);

// A bit-plane block: frames[i][p] is plane p of frame i (32 s bytes).
struct BitPlaneBlock {
    std::vector<std::vector<Bytes>> frames;
};
// A bit-plane recording: the header cut to 15 bytes, then per block its
// header (11 bytes for model 0, 14 otherwise, with the file mode byte at
// file offset 23 or 26 and, in the first block, the count field's last
// byte), the frame count n and the planes, each holding frame n-1 first.
Bytes bitPlaneFile(uint8_t model, uint8_t mode, uint32_t count,
                   const std::vector<BitPlaneBlock>& blocks, const GeoDate& date = {});

// --- device family (.mr3, .gpr, .geb): little-endian fields ---------------------------

// Little-endian fields placed at offsets; the image grows as needed.
struct LittleEndianImage {
    Bytes b;
    void atLeast(std::size_t n) {
        if (b.size() < n) b.resize(n, 0);
    }
    void u8(std::size_t at, uint8_t v) {
        atLeast(at + 1);
        b[at] = v;
    }
    void u16(std::size_t at, uint16_t v) {
        u8(at, uint8_t(v));
        u8(at + 1, uint8_t(v >> 8));
    }
    void u32(std::size_t at, uint32_t v) {
        u16(at, uint16_t(v));
        u16(at + 2, uint16_t(v >> 16));
    }
    void text(std::size_t at, const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) u8(at + i, uint8_t(s[i]));
    }
    Bytes cut(std::size_t n) const { return images::cut(b, n); }
};

// .mr3: count N at 0, plane flag at 4, level bytes at 11..13, the marker
// list at 52 (ended by 0xFFFFFFFF), frame areas of 192 bytes (three planes
// of 64) from 1220.
struct Mr3Image : LittleEndianImage {
    Mr3Image(uint32_t count, bool threePlanes, uint8_t l1, uint8_t l2 = 0, uint8_t l3 = 0);
    void markers(const std::vector<uint32_t>& list);
    std::size_t area(int frame) const { return 1220 + 192 * std::size_t(frame); }
    // The file holds frame areas 0 .. n-1.
    void frames(int n) { atLeast(area(n)); }
    // Sets bit `sample` of plane p (0..2) of a frame, least significant bit first.
    void set(int frame, int plane, int sample);
};

// .geb: "MIRN", header length H at 4, samples S at 8, frequency at 12, count
// N at 16, amplitude width at 20, year, month, day at 24..26; records of
// 2 S + 16 bytes from H + 6: marker at +4, hour, minute, second, hundredths
// at +5..+8, the 12-bit sample words from +16.
struct GebImage : LittleEndianImage {
    uint16_t H;
    uint32_t S;
    GebImage(uint32_t samples, uint32_t frequency, uint32_t count, uint8_t width = 12,
             uint16_t headerLength = 26);
    std::size_t rec(int j) const { return H + 6 + std::size_t(j) * (2 * std::size_t(S) + 16); }
    void frames(int n) { atLeast(rec(n)); }
    void marker(int j, uint8_t v) { u8(rec(j) + 4, v); }
    void time(int j, uint8_t h, uint8_t m, uint8_t s, uint8_t hs);
    void word(int j, int i, uint16_t w) { u16(rec(j) + 16 + 2 * std::size_t(i), w); }
};

// A .gpr sample group: 32 reading pairs, [2i] channel 1 reading i, [2i + 1]
// channel 2.
using GprGroup = std::array<uint16_t, 64>;
GprGroup constantGroup(uint16_t ch1, uint16_t ch2);

// .gpr: count + 1 at 6, 0x5A at 10, records from the frame area (142 or
// 122): u32 W, then 2 W + 4 bytes: text length n, the text, hour, minute,
// second, hundredths, marker, then the sample groups.
struct GprImage : LittleEndianImage {
    std::size_t next;
    explicit GprImage(uint32_t frames, std::size_t area = 142);
    // Adds a record with W = 64 (groups + 1) + extraWords; returns its offset.
    std::size_t add(const std::string& position, std::array<uint8_t, 4> time, uint8_t marker,
                    const std::vector<GprGroup>& groups, uint32_t extraWords = 0);
};

} // namespace tesk::images
