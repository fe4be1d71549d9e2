// Fuzz targets of the device-family readers (.mr3, .gpr, .geb) and the
// options file (.opt): one harness built once per format, selected by
// TESK_FUZZ_FORMAT_MR3, _GPR, _GEB or _OPT. Built with
// TESK_FAMILY_MAKE_CORPUS instead, the same source is the seed generator:
//
//   fuzz_family_make_corpus fuzz/corpus      (writes mr3/, gpr/, geb/, opt/)
//
// Frame formats: the input is the file. It goes the way the open command
// takes it (the .geb magic test first), into one store that lives for the
// whole run; bytes the format does not read select the device options, the
// time range and a second, appended load of the same file:
//
//   .mr3  byte 5: bit 0 append
//   .gpr  byte 0: bit 0 append, bits 1-2 channel item, bit 3 CheckBox59,
//         bit 4 frame area item, bits 5-7 time range item;
//         byte 1 probe item; bytes 2-3 start delay item (mod 2049)
//   .geb  byte 21: bit 0 append, bits 1-2 sampling mode, bits 3-5 time range;
//         bytes 22-23 start delay item (mod 2049)
//
// Instead of clearing 64 MB per input, the harness zeroes only the slots the
// previous input could have touched; the readers write whole records, so
// that is the state clearForOpen would leave. After each load the reader's
// promises are checked (slot limit, fill rows, status bits, time and position
// ranges, header items, frameCount), then finishLoad runs and the normalised
// store is checked. The first .mr3 frame and, in sampling mode 0 on a file
// finer than the grid, the first .geb frame are compared with a literal
// decoding of the format rules.
//
// Options file: the input is the file; after the magic test it is read into
// the store, every header cell the reader may write must hold a value its box
// has, and the values read must survive encode, read and encode unchanged; a
// whole version-17 file must re-encode to its own value bytes.
//
// Any broken expectation prints what it saw and aborts.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(TESK_FAMILY_MAKE_CORPUS)
#include "file_images.h"

#include <filesystem>
#else
#include "store/amplitude_table12.h"
#include "store/byte_source.h"
#include "store/device_family.h"
#include "store/interaction.h"
#include "store/options_file.h"
#include "store/profile_store.h"
#include "store/settings_catalog.h"
#include "store/work_file.h"
#endif

#if !defined(TESK_FAMILY_MAKE_CORPUS)

namespace {

using namespace tesk;

[[maybe_unused]] uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
[[maybe_unused]] uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

[[noreturn]] void fail(const char* what, long a = 0, long b = 0) {
    std::fprintf(stderr, "fuzz_family: %s (%ld, %ld)\n", what, a, b);
    std::abort();
}

// The readers show nothing and ask nothing: their findings go into their
// report.
class AnswerNo final : public Interaction {
  public:
    Answer show(const Message& m) override {
        (void)m;
        fail("a reader showed a message or asked a question");
    }
    void progress(int64_t done, int64_t total) override {
        if (done < 0 || done > total) fail("progress outside 0..total", long(done), long(total));
    }
};

ProfileStore& theStore() {
    static ProfileStore* store = new ProfileStore;
    return *store;
}

// Highest slot a previous input may have written or normalised.
int dirtyHigh = -1;

void resetStore(ProfileStore& s) {
    if (dirtyHigh >= 0) {
        const int n = std::min(dirtyHigh, MAX_FRAME_INDEX) + 1;
        std::memset(static_cast<void*>(s.frames()), 0, sizeof(FrameRecord) * std::size_t(n));
    }
    dirtyHigh = -1;
    s.header.setStartValues();
    s.frameCount = 0;
    s.viewStart = 0;
    s.deviceType = 0;
    s.velocityCode = 500;
    s.hodographVelocity = 500;
    s.permittivity = permittivityFor(500);
    s.Hmax = 0;
    s.fileKind = kind::None;
    s.stateFlags = state::Changed;
}

void checkHeaderItems(const ProfileStore& s) {
    const auto& h = s.header.value;
    for (const items::HeaderItemBox& b : items::HEADER_ITEM_BOXES)
        if (h[std::size_t(b.cell)] >= b.count) fail("header item out of range", b.cell, h[b.cell]);
    if ((h[hdr::ViewFlags] & hdr::ViewStepMask) >= items::ViewStep) fail("view step item");
    if (s.header.get16(hdr::GainPos1) > 511 || s.header.get16(hdr::GainPos2) > 511)
        fail("gain position");
    if (h[hdr::GainRange] == 0 || h[hdr::GainRange] > 33) fail("gain range", h[hdr::GainRange]);
    if (h[hdr::GainLevel1] == 0 || h[hdr::GainLevel2] == 0) fail("gain level 0");
    if (s.velocityCode < 160 || s.velocityCode > 1500) fail("velocity", s.velocityCode);
    if (h[hdr::Month] > 12 || h[hdr::Day] > 31) fail("date", h[hdr::Month], h[hdr::Day]);
    if (s.header.get24(hdr::Hmax) != s.Hmax) fail("header relief maximum copy");
}

#if defined(TESK_FUZZ_FORMAT_OPT)

// The value bits of the layout; fillers and unused bits are 0.
std::array<uint8_t, OPTIONS_FILE_SIZE> valueMask() {
    std::array<uint8_t, OPTIONS_FILE_SIZE> m{};
    auto all = [&](int from, int to) {
        for (int i = from; i <= to; ++i) m[std::size_t(i)] = 0xFF;
    };
    m[8] = 0x07;
    m[9] = 0x4E;
    all(16, 23);
    all(32, 43);
    m[44] = 0x07;
    all(48, 55);
    m[64] = 0x01;
    all(65, 67);
    all(76, 78);
    m[80] = 0x3F;
    all(81, 83);
    m[96] = 0x01;
    all(97, 100);
    all(112, 138);
    all(140, OPTIONS_FILE_SIZE - 1);
    return m;
}

void fuzzOptions(const uint8_t* data, std::size_t size) {
    ProfileStore& s = theStore();
    resetStore(s);
    s.fileKind = 16; // a survey is loaded
    if (size < 4 || magicSum(data) != TESK_MAGIC_SUM) return;
    MemorySource src(data, size);
    const OptionsFileRead r = readOptionsFile(src, s);
    checkHeaderItems(s);
    const int sizes[4] = {256, 256, 256, 1024};
    for (int t = 0; t < 4; ++t)
        if (r.tableEntries[std::size_t(t)] < 0 || r.tableEntries[std::size_t(t)] > sizes[t])
            fail("table entries", t, r.tableEntries[std::size_t(t)]);
    if (r.status == OptionsReadStatus::UnknownVersion && r.appliedFields != 0)
        fail("fields applied from an unknown version");
    if (r.status != OptionsReadStatus::UnknownVersion && size >= 6 && data[5] != 17)
        fail("version byte ignored", data[5]);
    if (r.status == OptionsReadStatus::Applied && size < std::size_t(OPTIONS_FILE_SIZE))
        fail("a short file read as whole", long(size));
    if (r.status != OptionsReadStatus::Applied) return;

    // The values survive encode and read unchanged.
    const auto once = encodeOptionsFile(r.values);
    MemorySource again(once.data(), once.size());
    const OptionsFileRead r2 = readOptionsFile(again, s);
    if (r2.status != OptionsReadStatus::Applied) fail("re-read status");
    if (r2.appliedFields != r.appliedFields) fail("re-read applied fields", long(r.appliedFields));
    const auto twice = encodeOptionsFile(r2.values);
    if (once != twice) fail("values changed by encode and read");

    // A whole version-17 file re-encodes to its own value bits (the second
    // copy of the channel item is written from the first).
    static const auto mask = valueMask();
    for (std::size_t i = 0; i < once.size(); ++i) {
        uint8_t want = data[i];
        if (i == 100) want = data[99];
        if ((once[i] ^ want) & mask[i]) fail("re-encoded byte differs", long(i), data[i]);
    }
}

#else // frame formats

#if defined(TESK_FUZZ_FORMAT_MR3)
constexpr auto READER = readMr3File;
constexpr uint8_t KIND = kind::BitPlane;
#elif defined(TESK_FUZZ_FORMAT_GPR)
constexpr auto READER = readGprFile;
constexpr uint8_t KIND = kind::MirnGpr;
#elif defined(TESK_FUZZ_FORMAT_GEB)
constexpr auto READER = readGebFile;
constexpr uint8_t KIND = kind::MirnGeb;
#else
#error "define one of TESK_FUZZ_FORMAT_MR3, _GPR, _GEB, _OPT"
#endif

struct Selection {
    bool append = false;
    int timeRange = 2;
    DeviceOptions options;
};

Selection select(const uint8_t* d, std::size_t n) {
    Selection sel;
    auto byte = [&](std::size_t i) { return i < n ? d[i] : uint8_t(0); };
    if (KIND == kind::BitPlane) {
        sel.append = byte(5) & 1;
    } else if (KIND == kind::MirnGpr) {
        const uint8_t b = byte(0);
        sel.append = b & 1;
        sel.options.channelItem = (b >> 1) & 3; // 3 is out of range: clamped by the reader
        sel.options.singleReading = b & 0x08;
        sel.options.frameAreaItem = (b >> 4) & 1;
        sel.timeRange = b >> 5;
        sel.options.probeLevelItem = byte(1);
        sel.options.startDelayItem = (byte(2) | (byte(3) << 8)) % 2049;
    } else {
        const uint8_t b = byte(21);
        sel.append = b & 1;
        sel.options.samplingModeItem = (b >> 1) & 3;
        sel.timeRange = (b >> 3) & 7;
        sel.options.startDelayItem = (byte(22) | (byte(23) << 8)) % 2049;
    }
    return sel;
}

// The first frame of an .mr3 file decoded literally from its bits.
void checkMr3Frame(const ProfileStore& s, int slot, const uint8_t* d, std::size_t n) {
    if (n < 1220 + 192) return;
    const uint8_t* a = d + 1220;
    const uint8_t l[3] = {mr3LevelCode(d[11]), mr3LevelCode(d[12]), mr3LevelCode(d[13])};
    for (int smp = 0; smp < 512; ++smp) {
        auto bit = [&](int plane) { return (a[64 * plane + smp / 8] >> (smp % 8)) & 1; };
        int v = bit(0) ? l[0] : 1;
        if (d[4] != 0) {
            if (bit(1)) v = l[1];
            if (bit(2) && v == 1) v = l[2];
        }
        if (s.frame(slot).value[std::size_t(smp)] != v) fail("mr3 sample", smp, v);
    }
}

// The first frame of a .geb file in sampling mode 0, P < T, by the literal
// accumulator: start at P, add P per sample, store and subtract T when it
// reaches T; samples with i P < delay passed over. Times in 1 / (4 f) ns.
void checkGebFrame(const ProfileStore& s, int slot, const uint8_t* d, std::size_t n,
                   const Selection& sel) {
    if (n < 27) return;
    const uint64_t H = le16(d + 4), S = le32(d + 8), f = le32(d + 12);
    if (f == 0 || le32(d + 16) == 0 || (sel.options.samplingModeItem & 3) != 0) return;
    const uint64_t R = (uint64_t(1) << sel.timeRange) * f, Q = 4000000000ull;
    if (Q >= R) return;
    const uint64_t first = H + 6 + 16;
    const uint8_t* v = s.frame(slot).value.data();
    if (v[0] != 128) fail("geb cell 0", v[0]);
    uint64_t acc = 0;
    int cell = 0;
    for (uint64_t i = 0; i < S && cell < 511; ++i) {
        if (i * 1000000000ull < uint64_t(sel.options.startDelayItem) * f) continue;
        if (first + 2 * i + 2 > n) break;
        acc += Q;
        if (acc >= R) {
            acc -= R;
            ++cell;
            const uint8_t c = storedCodeFor12BitLevel(gebLevel(le16(d + first + 2 * i)));
            if (v[cell] != c) fail("geb cell", cell, long(i));
        }
    }
}

// prevDirty: the highest slot that held anything before this load.
void checkLoaded(const ProfileStore& s, const LoadReport& l, int first, bool append,
                 int prevDirty) {
    if (l.firstSlot != first) fail("first slot", l.firstSlot, first);
    if (l.framesRead < 0 || (l.framesRead > 0 && first + l.framesRead - 1 > MAX_LOADED_FRAME))
        fail("frames past the last loader slot", first, l.framesRead);
    if (s.frameCount < 0 || s.frameCount > 63999) fail("frameCount", s.frameCount);
    if (l.framesRead > 0 && s.frameCount < first + l.framesRead - 1)
        fail("frameCount below the loaded frames", s.frameCount, first + l.framesRead);
    if (KIND == kind::MirnGeb && append && s.viewStart != first)
        fail("viewStart of an appended geb", s.viewStart, first);
    for (int i = first; i < first + l.framesRead; ++i) {
        const FrameRecord& f = s.frame(i);
        for (int c = SAMPLES_PER_FRAME; c < SAMPLE_ROWS; ++c)
            if (f.value[std::size_t(c)] != f.value[SAMPLES_PER_FRAME - 1]) fail("fill row", i, c);
        if (f.status() & 0xEC) fail("status bits a device file cannot set", i, f.status());
        if (f.value[cell::Hour] > 23 || f.value[cell::Minute] > 59 || f.value[cell::Second] > 59 ||
            f.value[cell::Hundredths] > 99)
            fail("time of a frame", i);
        if (f.value[cell::LatDegrees] > 90 || f.value[cell::LonDegrees] > 179 ||
            f.get24(cell::LatFraction) > 9999999 || f.get24(cell::LonFraction) > 9999999)
            fail("position of a frame", i);
        if (KIND == kind::MirnGpr)
            for (int c = 0; c < SAMPLE_ROWS; ++c)
                if (f.value[std::size_t(c)] == 0) fail("gpr cell 0 kept", i, c);
        if (KIND == kind::MirnGeb && f.value[0] != 128) fail("geb cell 0", i);
        if (KIND == kind::BitPlane && !(f.status() & status::InProfile)) fail("mr3 status", i);
    }
    // The slot after the file's frames was not written (it was zero before).
    const int after = first + l.framesRead;
    if (after <= MAX_FRAME_INDEX && after > prevDirty)
        for (int c = 0; c < CELLS_PER_FRAME; ++c)
            if (s.frame(after).value[std::size_t(c)] != 0) fail("slot past the frames written", c);
}

void checkNormalised(const ProfileStore& s) {
    if (s.frameCount < 40 || s.frameCount > MAX_FRAME_INDEX) fail("normalised frameCount");
    if (s.frameCount != MAX_FRAME_INDEX && s.frameCount % 20 != 0) fail("frameCount not rounded");
    if (s.header.get16(hdr::FrameCount) != s.frameCount) fail("header frame count copy");
    for (int i = 0; i <= s.frameCount; ++i) {
        const FrameRecord& f = s.frame(i);
        bool any = false;
        for (int c = 0; c < SAMPLES_PER_FRAME && !any; ++c) any = f.value[std::size_t(c)] != 0;
        if (any != f.inProfile()) fail("in-profile flag", i);
    }
    checkHeaderItems(s);
}

void loadOnce(const uint8_t* data, std::size_t size, const Selection& sel, bool append) {
    ProfileStore& s = theStore();
    AnswerNo ui;
    MemorySource src(data, size);
    const int first = append ? s.frameCount : 0;
    s.fileKind = KIND;
    const std::array<uint8_t, HEADER_CELLS> before = s.header.value;
    const int prevDirty = std::max(dirtyHigh, append ? first : -1);
    const LoadReport l = READER(src, append, s, sel.options, ui);
    if (l.fault == LoadFault::ReadFault) fail("read fault from memory");
    dirtyHigh = std::max({dirtyHigh, s.frameCount, first + l.framesRead});
    checkLoaded(s, l, first, append, prevDirty);
    if (!append && l.framesRead > 0) {
        if (KIND == kind::BitPlane) checkMr3Frame(s, 0, data, size);
        if (KIND == kind::MirnGeb) checkGebFrame(s, 0, data, size, sel);
    }
    if (append)
        for (int c = hdr::DeviceType; c <= hdr::Section; ++c)
            if (s.header.value[std::size_t(c)] != before[std::size_t(c)] && c != hdr::FrameCount &&
                c != hdr::FrameCount + 1 && !(KIND == kind::BitPlane && c == hdr::TimeRange))
                fail("an append changed a header setting", c);
    s.finishLoad();
    checkNormalised(s);
}

void fuzzFrames(const uint8_t* data, std::size_t size) {
    ProfileStore& s = theStore();
    resetStore(s);
    if (size == 0) return; // the empty-file message
    if (KIND == kind::MirnGeb) {
        MemorySource src(data, size);
        if (!hasMirnMagic(src)) return; // refused before anything is cleared
    }
    const Selection sel = select(data, size);
    s.header.value[hdr::TimeRange] = uint8_t(sel.timeRange);
    loadOnce(data, size, sel, false);
    if (sel.append) loadOnce(data, size, sel, true);
}

#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
#if defined(TESK_FUZZ_FORMAT_OPT)
    fuzzOptions(data, size);
#else
    fuzzFrames(data, size);
#endif
    return 0;
}

#else // TESK_FAMILY_MAKE_CORPUS

// --- seed generator ---------------------------------------------------------------
//
// Tiny files of each format laid out by hand, independently of the readers.
// Deterministic. fuzz/corpus/<format>/README.md describes the seeds.

namespace {

using Image = tesk::images::LittleEndianImage;
using tesk::images::GebImage;
using tesk::images::GprGroup;
using tesk::images::GprImage;
using tesk::images::Mr3Image;

// An A-scan as 12-bit two's-complement words: direct wave, a reflection, noise.
uint16_t trace(int frame, int t) {
    int v = 0;
    if (t >= 10 && t < 30) v += ((t / 4) % 2 ? 1500 : -1500);
    const int d = 120 + 3 * frame;
    if (t >= d && t < d + 12) v += ((t / 3) % 2 ? 600 : -600);
    v += ((t * 7919 + frame * 104729) % 41) - 20;
    return uint16_t(int16_t(v)); // negative values: the upper bits set
}

void write(const std::filesystem::path& dir, const std::string& name,
           const std::vector<uint8_t>& bytes) {
    if (!tesk::images::writeFile((dir / name).string(), bytes)) {
        std::fprintf(stderr, "cannot write %s\n", (dir / name).c_str());
        std::exit(1);
    }
}

// --- .mr3 ---
// Level bytes 0x10, 0xF0, 0x01; frame k byte i a pattern of both.
Image mr3(uint32_t count, bool three, int frames, std::vector<uint32_t> markers) {
    Mr3Image m(count, three, 0x10, 0xF0, 0x01);
    m.markers(markers);
    for (int k = 0; k < frames; ++k)
        for (int byte = 0; byte < 192; ++byte)
            m.u8(m.area(k) + std::size_t(byte),
                 uint8_t((byte * 37 + k * 11) ^ (byte < 64 ? 0x5A : 0x0F)));
    return m;
}

void makeMr3(const std::filesystem::path& d) {
    write(d, "one_plane_three_frames.mr3", mr3(3, false, 3, {}).b);
    write(d, "three_planes_markers.mr3", mr3(12, true, 12, {5, 5, 9}).b);
    Image a = mr3(2, true, 2, {0, 1});
    a.u8(5, 1); // append selector
    write(d, "append_two_frames.mr3", a.b);
    write(d, "count_over_63999.mr3", mr3(70000, false, 2, {}).b);
    write(d, "count_ffffffff.mr3", mr3(0xFFFFFFFFu, true, 1, {}).b);
    write(d, "markers_unsorted.mr3", mr3(6, false, 6, {4, 2, 5}).b);
    Image full(mr3(4, true, 4, {}));
    write(d, "trunc_in_header.mr3", full.cut(12));
    write(d, "trunc_in_marker_list.mr3", full.cut(400));
    write(d, "trunc_in_plane_2.mr3", full.cut(1220 + 192 + 100));
    write(d, "extra_frame_past_count.mr3", mr3(2, false, 3, {}).b);
    write(d, "marker_list_fills_header.mr3", [] {
        Image m = mr3(300, false, 1, {});
        for (int i = 0; i < 292; ++i) m.u32(52 + 4 * std::size_t(i), uint32_t(i / 2));
        return m.b;
    }());
}

// --- .geb ---
// Records: marker on every fifth, the time 10:j:30.99, the trace as samples.
Image geb(uint32_t samples, uint32_t freq, uint32_t count, int frames, uint8_t selector = 0,
          uint16_t delay = 0, uint8_t width = 12, uint16_t H = 26) {
    GebImage g(samples, freq, count, width, H);
    g.u8(21, selector);
    g.u16(22, delay);
    for (int j = 0; j < frames; ++j) {
        g.marker(j, j % 5 == 0 ? 1 : 0);
        g.time(j, 10, uint8_t(j), 30, 99);
        for (uint32_t i = 0; i < samples; ++i) g.word(j, int(i), trace(j, int(i)));
    }
    return g;
}

uint8_t gebSelector(bool append, int mode, int range) {
    return uint8_t((append ? 1 : 0) | (mode << 1) | (range << 3));
}

void makeGeb(const std::filesystem::path& d) {
    // 2 GHz at 1 ns per cell: every second sample; three sampling modes.
    for (int mode = 0; mode < 3; ++mode)
        write(d, "fine_mode" + std::to_string(mode) + ".geb",
              geb(1100, 2000000000, 3, 3, gebSelector(false, mode, 2)).b);
    write(d, "fine_third_ns_delay.geb", geb(700, 3000000000u, 2, 2, gebSelector(false, 0, 1), 5).b);
    write(d, "coarse_interpolated.geb", geb(120, 1000000000, 2, 2, gebSelector(false, 0, 1)).b);
    write(d, "equal_period.geb", geb(520, 4000000000u, 2, 2, gebSelector(false, 1, 0)).b);
    write(d, "zero_frequency.geb", geb(64, 0, 2, 2, gebSelector(false, 2, 4)).b);
    write(d, "append.geb", geb(300, 1000000000, 4, 4, gebSelector(true, 0, 3)).b);
    write(d, "width_10.geb", geb(40, 1000000000, 1, 1, 0, 0, 10).b);
    write(d, "width_16.geb", geb(40, 1000000000, 1, 1, 0, 0, 16).b);
    write(d, "count_over_63999.geb", geb(16, 1000000000, 64000, 2).b);
    write(d, "huge_sample_count.geb", [] {
        Image g = geb(4, 2000000000, 5, 1, gebSelector(false, 1, 2));
        g.u32(8, 0x7FFFFFFF);
        g.atLeast(300);
        return g.b;
    }());
    write(d, "zero_samples.geb", geb(0, 1000000000, 10, 10).b);
    write(d, "long_header.geb", geb(32, 1000000000, 2, 2, 0, 0, 12, 300).b);
    write(d, "bad_date.geb", [] {
        Image g = geb(16, 1000000000, 1, 1);
        g.u8(25, 13);
        g.u8(26, 40);
        return g.b;
    }());
    const Image full = geb(200, 2000000000, 3, 3, gebSelector(false, 0, 2));
    write(d, "trunc_in_header.geb", full.cut(20));
    write(d, "trunc_in_record_head.geb", full.cut(32 + 416 + 7));
    write(d, "trunc_in_samples.geb", full.cut(32 + 416 + 100));
    write(d, "magic_same_sum.geb", [] {
        Image g = geb(16, 1000000000, 1, 1);
        g.text(0, "NRIM");
        return g.b;
    }());
    write(d, "bad_magic.geb", [] {
        Image g = geb(16, 1000000000, 1, 1);
        g.text(0, "MIRO");
        return g.b;
    }());
}

// --- .gpr ---
// Records with the time 11:22:k.50, marker k mod 4, and groups whose reading
// pairs follow the trace.
struct GprBuilder {
    GprImage g;
    GprBuilder(uint32_t frames, uint8_t selector, int area = 142) : g(frames, std::size_t(area)) {
        g.u8(0, selector);
    }
    void add(int frame, const std::string& text, int groups, uint32_t extraWords = 0) {
        std::vector<GprGroup> gs(static_cast<std::size_t>(groups));
        for (int k = 0; k < groups; ++k)
            for (int i = 0; i < 32; ++i) {
                gs[std::size_t(k)][std::size_t(2 * i)] = uint16_t(trace(frame, k) + i);
                gs[std::size_t(k)][std::size_t(2 * i + 1)] = uint16_t(trace(frame, k) / 16 - i);
            }
        g.add(text, {11, 22, uint8_t(frame % 60), 50}, uint8_t(frame % 4), gs, extraWords);
    }
};

uint8_t gprSelector(bool append, int channel, bool single, int area, int range) {
    return uint8_t((append ? 1 : 0) | (channel << 1) | (single ? 8 : 0) | (area << 4) |
                   (range << 5));
}

void makeGpr(const std::filesystem::path& d) {
    {
        GprBuilder b(3, gprSelector(false, 0, false, 0, 7));
        for (int k = 0; k < 3; ++k) b.add(k, "5545.1234,N,03737.5678,E", 40);
        write(d, "channel1_mean.gpr", b.g.b);
    }
    {
        GprBuilder b(2, gprSelector(false, 2, true, 0, 7));
        b.g.u8(1, 5); // probe item 5
        for (int k = 0; k < 2; ++k) b.add(k, "0130.5 S 17959.99 W", 20);
        write(d, "channel_sum_single_reading.gpr", b.g.b);
    }
    {
        GprBuilder b(2, gprSelector(false, 1, false, 1, 2), 122);
        b.g.u16(2, 40); // delay 40 ns
        for (int k = 0; k < 2; ++k) b.add(k, "", 60);
        write(d, "area_122_delay.gpr", b.g.b);
    }
    {
        GprBuilder b(1, gprSelector(false, 0, false, 0, 7));
        b.add(0, "", 520);
        write(d, "more_than_511_groups.gpr", b.g.b);
    }
    {
        GprBuilder b(3, gprSelector(true, 0, true, 0, 7));
        b.g.u8(1, 200); // probe item past the 32 readings
        for (int k = 0; k < 3; ++k) b.add(k, "5545.1,N", 4);
        write(d, "append.gpr", b.g.b);
    }
    {
        GprBuilder b(2, gprSelector(false, 0, false, 0, 7));
        b.add(0, std::string(200, '9'), 1, 64); // long text: the group does not fit
        b.add(1, "", 2);
        write(d, "text_past_record.gpr", b.g.b);
    }
    {
        GprBuilder b(64000, 0);
        b.add(0, "", 2);
        write(d, "count_over_63999.gpr", b.g.b);
    }
    {
        GprBuilder b(0, 0);
        b.g.u32(6, 0);
        b.add(0, "", 1);
        write(d, "count_zero.gpr", b.g.b);
    }
    {
        GprBuilder b(2, 0);
        b.g.u32(142, 0xFFFFFFFFu);
        b.g.atLeast(400);
        write(d, "huge_word_count.gpr", b.g.b);
    }
    {
        GprBuilder b(3, gprSelector(false, 0, false, 0, 7));
        for (int k = 0; k < 3; ++k) b.add(k, "5545.1234,N,03737.5678,E", 8);
        write(d, "trunc_in_header.gpr", b.g.cut(9));
        write(d, "trunc_in_count_word.gpr", b.g.cut(142 + 2));
        write(d, "trunc_in_text.gpr", b.g.cut(142 + 10));
        write(d, "trunc_in_groups.gpr", b.g.cut(142 + 4 + 1 + 24 + 5 + 300));
    }
}

// --- .opt ---
std::vector<uint8_t> opt17() {
    Image o;
    o.atLeast(5520);
    const uint8_t lead[16] = {'T', 'E', 'S', 'K', 42, 17, 42, 42, 0x07, 0x4E, 0, 0, 42, 0, 0, 0};
    for (int i = 0; i < 16; ++i) o.u8(std::size_t(i), lead[i]);
    const uint8_t settings[] = {1, 0x01, 0xF4, 1, 1, 10, 5, 2}; // 16 .. 23
    for (int i = 0; i < 8; ++i) o.u8(16 + std::size_t(i), settings[i]);
    o.u8(24, 42);
    o.u8(28, 42);
    const uint8_t filters[] = {1, 2, 3, 4, 2, 5, 6, 7, 3, 2, 1, 1}; // 32 .. 43
    for (int i = 0; i < 12; ++i) o.u8(32 + std::size_t(i), filters[i]);
    o.u8(44, 0x03);
    const uint8_t gains[] = {120, 5, 150, 100, 0x00, 0x20, 0x01, 0x80}; // 48 .. 55
    for (int i = 0; i < 8; ++i) o.u8(48 + std::size_t(i), gains[i]);
    o.u8(56, 42);
    o.u8(60, 42);
    o.u8(64, 1);
    o.u8(65, 2);
    o.u8(66, 8);
    o.u8(67, 1);
    o.u8(80, 0x15);
    o.u8(88, 42);
    o.u8(92, 42);
    o.u8(96, 1);
    o.u8(97, 10);
    o.u8(98, 1);
    o.u8(99, 2);
    o.u8(100, 2);
    for (int i = 104; i < 112; ++i) o.u8(std::size_t(i), 42);
    for (int i = 0; i < 27; ++i) o.u8(112 + std::size_t(i), uint8_t(i * 9));
    o.u8(139, 42);
    o.u8(140, 255);
    o.u8(141, 128);
    o.u8(142, 0);
    o.u8(143, 128);
    for (int i = 144; i < 5520; ++i) o.u8(std::size_t(i), uint8_t(i * 31 + i / 3));
    return o.b;
}

void makeOpt(const std::filesystem::path& d) {
    const std::vector<uint8_t> v17 = opt17();
    write(d, "version17.opt", v17);
    auto withByte = [&](std::size_t i, uint8_t v) {
        std::vector<uint8_t> b = v17;
        b[i] = v;
        return b;
    };
    write(d, "version16.opt", withByte(5, 16));
    write(d, "version10.opt", withByte(5, 10));
    write(d, "version18.opt", withByte(5, 18));
    write(d, "level_table_out_of_range.opt", withByte(41, 9));
    write(d, "gain_range_zero.opt", withByte(49, 0));
    write(d, "gain_position_512.opt", withByte(52, 2));
    write(d, "channel_copies_differ.opt", withByte(100, 0));
    auto cut = [&](std::size_t n) {
        return std::vector<uint8_t>(v17.begin(), v17.begin() + std::ptrdiff_t(n));
    };
    write(d, "trunc_before_version.opt", cut(5));
    write(d, "trunc_in_filters.opt", cut(37));
    write(d, "trunc_in_gains.opt", cut(53));
    write(d, "trunc_in_layer_colours.opt", cut(120));
    write(d, "trunc_in_table_d.opt", cut(4000));
    std::vector<uint8_t> longer = v17;
    longer.resize(6000, 0xEE);
    write(d, "longer_than_layout.opt", longer);
    write(d, "magic_same_sum.opt", [&] {
        std::vector<uint8_t> b = v17;
        b[0] = 'K';
        b[3] = 'T';
        return b;
    }());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus-directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    const struct {
        const char* name;
        void (*make)(const std::filesystem::path&);
    } formats[] = {{"mr3", makeMr3}, {"gpr", makeGpr}, {"geb", makeGeb}, {"opt", makeOpt}};
    for (const auto& f : formats) {
        std::filesystem::create_directories(root / f.name);
        f.make(root / f.name);
    }
    return 0;
}

#endif
