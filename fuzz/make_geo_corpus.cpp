// Writes the seed corpus of the device-recording fuzz target: small .geo
// files of both families, every encoding and model, positioning blocks good
// and bad, displaced block keys, cut and hostile files. The bytes are laid
// out here by hand, independently of the decoder under test. Deterministic:
// running it again gives the same files.
//
//   fuzz_make_geo_corpus <directory>
//
// fuzz/corpus/geo/README.md describes every seed.

#include "file_images.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tesk::images::BitPlaneBlock;
using tesk::images::Bytes;
using tesk::images::cut;
using tesk::images::GeoRecord;
using tesk::images::geoRecord;
using tesk::images::Lcg;

// Header byte 12 (read by nothing in the decoder) selects the fuzz variant:
// bit 0 append, bits 1-2 the amplitude answer (0 No, 1 Yes, 2 Cancel,
// 3 alternate), bit 3 English.
constexpr std::size_t SELECTOR = 12;

// One A-scan of amplitudes 1..max around the middle level: a direct wave, a
// reflection and some noise.
std::vector<int> ascan(int frame, int samples, int max) {
    std::vector<int> a(static_cast<std::size_t>(samples));
    Lcg r{uint32_t(frame * 7919 + 17)};
    const int mid = (max + 1) / 2;
    for (int t = 0; t < samples; ++t) {
        int v = mid;
        if (t * 512 / samples >= 16 && t * 512 / samples < 36)
            v += ((t / 3) % 2 ? 1 : -1) * mid * 2 / 3;
        const int d = 180 + 5 * frame;
        if (t * 512 / samples >= d && t * 512 / samples < d + 10)
            v += ((t / 2) % 2 ? 1 : -1) * mid / 3;
        v += r.next(7) - 3;
        a[std::size_t(t)] = std::clamp(v, 1, max);
    }
    return a;
}

// Every seed is recorded on 03.09.22 at 14:05.
constexpr tesk::images::GeoDate DATE{3, 9, 22, 14, 5};

Bytes header(uint8_t model, uint32_t count) {
    return tesk::images::geoHeader(model, count, DATE);
}

std::string goodGps(int frame) {
    char t[64];
    std::snprintf(t, sizeof t, "GPS1205%02d5545.%05dN03736.%05dE%05.2fM0309220%d.%02d%d",
                  frame % 60, 12345 + frame * 7, 54321 + frame * 3, 12.34 + frame * 0.01,
                  frame % 10, frame % 100, 4 + frame % 6);
    return t;
}

// A frame record with the unit clock 14:05:30.
GeoRecord rec(uint8_t f, Bytes data, std::string gps) {
    return GeoRecord(f, std::move(data)).withGps(std::move(gps)).withClock(0x14, 0x05, 0x30);
}

Bytes record(uint8_t model, const GeoRecord& r) {
    return geoRecord(model, r);
}

Bytes& operator+=(Bytes& a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool eightBit(uint8_t model) {
    return model == 3 || model == 4;
}

// Sample bytes of frame k for the mode byte f: raw bytes or run-length columns.
Bytes samples(uint8_t model, uint8_t f, int k) {
    const int s = ((f >> 3) & 3) + 1;
    const int n = s == 1 ? 256 : 512;
    const int max = eightBit(model) ? 255 : 127;
    const std::vector<int> a = ascan(k, n, max);
    if (f & 0x04) {
        Bytes out;
        for (int v : a) out.push_back(uint8_t(v));
        return out;
    }
    return tesk::images::runColumns(a, max + 1);
}

Bytes frameFile(uint8_t model, uint8_t f, int frames, bool gps = false) {
    Bytes b = header(model, uint32_t(frames));
    for (int k = 0; k < frames; ++k) {
        const GeoRecord r =
            rec(uint8_t(f | (k == 1 ? 0x01 : 0)), samples(model, f, k), gps ? goodGps(k) : "");
        b += record(model, r);
    }
    return b;
}

// Bit-plane file: blocks of n frames, each plane of frame k a sloping band,
// wider in the lower planes.
Bytes bitPlaneFile(uint8_t model, uint8_t mode, uint32_t count, const std::vector<int>& perBlock) {
    const int s = std::min(((mode & 0x18) >> 3) + 1, 2);
    const int planes = (mode & 0x20) ? 3 : 1;
    const int frameBytes = 32 * s;
    std::vector<BitPlaneBlock> blocks;
    int frame = 0;
    for (const int n : perBlock) {
        BitPlaneBlock blk;
        for (int i = 0; i < n; ++i) {
            std::vector<Bytes> frameAreas;
            for (int p = 0; p < planes; ++p) {
                Bytes bytes(std::size_t(frameBytes), 0);
                for (int bit = 0; bit < frameBytes * 8; ++bit) {
                    const int depth = (bit + 5 * (frame + i)) % 64;
                    if (depth < 24 - 8 * p) bytes[std::size_t(bit / 8)] |= uint8_t(1 << (bit % 8));
                }
                frameAreas.push_back(std::move(bytes));
            }
            blk.frames.push_back(std::move(frameAreas));
        }
        blocks.push_back(std::move(blk));
        frame += n;
    }
    return tesk::images::bitPlaneFile(model, mode, count, blocks, DATE);
}

Bytes withSelector(Bytes b, uint8_t selector) {
    b[SELECTOR] = selector;
    return b;
}

struct Writer {
    std::filesystem::path dir;
    int files = 0;
    void operator()(const std::string& name, const Bytes& b) {
        if (!tesk::images::writeFile((dir / name).string(), b)) {
            std::fprintf(stderr, "cannot write %s\n", (dir / name).c_str());
            std::exit(1);
        }
        ++files;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    Writer put{argv[1]};
    std::filesystem::create_directories(put.dir);

    // Frame records of every model and encoding.
    put("fr_m0_raw_s2.geo", frameFile(0, 0x4C, 2));
    put("fr_m0_rle_s1.geo", frameFile(0, 0x80, 2));
    put("fr_m1_rle_s2.geo", frameFile(1, 0x48, 2));
    put("fr_m1_raw_s1.geo", frameFile(1, 0xC4, 3));
    put("fr_m2_rle_s3.geo", frameFile(2, 0x50, 2));
    put("fr_m3_raw_s1.geo", frameFile(3, 0x44, 3));
    put("fr_m3_rle_s2.geo", frameFile(3, 0x88, 1));
    put("fr_m4_raw_s4.geo", frameFile(4, 0xDC, 2));
    put("fr_m5_gps_raw_s2.geo", frameFile(5, 0x4C, 2, true));
    put("fr_m6_gps_rle_s1.geo", frameFile(6, 0x40, 2, true));
    {
        // A raw record of model 3 whose bytes are all 200.
        Bytes b = header(3, 1);
        b += record(3, rec(0x44, Bytes(256, 200), ""));
        put("fr_m3_raw_s1_all200.geo", b);
    }

    // Positioning texts other than the plain 50 bytes.
    {
        std::string bad = goodGps(0);
        bad.replace(9, 2, "95");  // latitude above 90
        bad.replace(23, 2, "6x"); // longitude minutes not digits
        bad.replace(40, 2, "13"); // month 13
        bad.replace(46, 1, "5");  // deviation without its '.'
        Bytes b = header(5, 2);
        b += record(5, rec(0x4C, samples(5, 0x4C, 0), goodGps(0)));
        b += record(5, rec(0x4C, samples(5, 0x4C, 1), bad));
        put("fr_m5_gps_errors.geo", b);
    }
    {
        std::string g = goodGps(0);
        g.replace(32, 6, "123.45M"); // seven characters: samples from L - 509
        Bytes b = header(6, 1);
        b += record(6, rec(0x4C, samples(6, 0x4C, 0), g));
        put("fr_m6_gps_alt7_raw.geo", b);
    }
    {
        std::string g = goodGps(0);
        g.replace(32, 6, "5.1M"); // four characters, s = 1: samples from L - 253
        Bytes b = header(5, 1);
        b += record(5, rec(0x44, samples(5, 0x44, 0), g));
        put("fr_m5_gps_alt4_s1.geo", b);
    }
    {
        std::string g(50, '\xFF');
        g.replace(0, 3, "GPS");
        Bytes b = header(6, 1);
        b += record(6, rec(0x48, samples(6, 0x48, 0), g));
        put("fr_m6_gps_ff.geo", b);
    }

    // Displaced block keys.
    for (int off : {3, -3, 11}) {
        Bytes b = header(1, 3);
        GeoRecord first = rec(0x4C, samples(1, 0x4C, 0), "");
        if (off < 0) first.lengthDelta = -off;
        b += record(1, first);
        if (off > 0) b.insert(b.end(), std::size_t(off), 0x55);
        b += record(1, rec(0x4C, samples(1, 0x4C, 1), ""));
        b += record(1, rec(0x4C, samples(1, 0x4C, 2), ""));
        put(off == 3    ? "fr_key_plus3.geo"
            : off == -3 ? "fr_key_minus3.geo"
                        : "fr_key_plus11.geo",
            b);
    }

    // Counts.
    {
        Bytes b = frameFile(1, 0x4C, 2);
        b[13] = 0x01; // 70000
        b[14] = 0x11;
        b[15] = 0x70;
        put("fr_count_70000.geo", b);
        b[13] = b[14] = b[15] = 0xFF;
        put("fr_count_ffffff.geo", b);
        b[13] = b[14] = b[15] = 0;
        put("fr_count_zero.geo", b);
    }
    {
        // Length 0: the key search finds the same record again and again.
        Bytes b = header(1, 300);
        GeoRecord r = rec(0x4C, samples(1, 0x4C, 0), "");
        r.lengthDelta = -int(record(1, r).size() - 4);
        r.clock[0] = 0x11;
        b += record(1, r);
        put("fr_length_zero_300.geo", b);
    }
    {
        Bytes b = header(1, 1);
        GeoRecord r = rec(0x48, Bytes{0x85, 0x05}, "");
        r.lengthDelta = 0xFFF000;
        b += record(1, r);
        put("fr_rle_huge_length.geo", b);
    }

    // Cut files.
    {
        const Bytes b = frameFile(1, 0x4C, 2);
        const std::size_t second = 16 + 13 + 512 + 1;
        put("fr_cut_in_header.geo", cut(b, 20));
        put("fr_cut_record_head.geo", cut(b, second + 10));
        put("fr_cut_raw_samples.geo", cut(b, b.size() - 10));
        const Bytes r = frameFile(1, 0x48, 2);
        put("fr_cut_rle_samples.geo", cut(r, r.size() - 200));
        const Bytes g = frameFile(5, 0x4C, 2, true);
        put("fr_cut_gps.geo", cut(g, 16 + 13 + 50 + 512 + 1 + 13 + 30));
    }

    // Amplitude question: frame 1 has a low mean, frame 3 a high one.
    {
        Bytes b = header(3, 4);
        b += record(3, rec(0x4C, samples(3, 0x4C, 0), ""));
        b += record(3, rec(0x4C, Bytes(512, 10), ""));
        b += record(3, rec(0x4C, samples(3, 0x4C, 2), ""));
        b += record(3, rec(0x4C, Bytes(512, 240), ""));
        put("fr_amplitude_no.geo", withSelector(b, 0x00));
        put("fr_amplitude_yes.geo", withSelector(b, 0x02));
        put("fr_amplitude_cancel.geo", withSelector(b, 0x04));
        Bytes low = header(1, 2);
        low += record(1, rec(0x4C, Bytes(512, 3), ""));
        low += record(1, rec(0x4C, samples(1, 0x4C, 1), ""));
        put("fr_amplitude_first_yes.geo", withSelector(low, 0x02));
    }

    // Appends and the English log.
    put("fr_m6_gps_append.geo", withSelector(frameFile(6, 0x4C, 2, true), 0x01));
    put("fr_m5_errors_english.geo",
        withSelector(cut(frameFile(5, 0x4C, 3, true), 16 + 2 * (13 + 50 + 512 + 1) + 40), 0x08));

    // Bit-plane family.
    put("bp_m1_one_s2.geo", bitPlaneFile(1, 0x08, 2, {3, 2}));
    put("bp_m3_one_s1.geo", bitPlaneFile(3, 0x00, 1, {4}));
    put("bp_m4_three_s2.geo", bitPlaneFile(4, 0x28, 1, {2}));
    put("bp_m0_three_s1.geo", bitPlaneFile(0, 0x20, 2, {2, 1}));
    put("bp_m2_one_s4.geo", withSelector(bitPlaneFile(2, 0x18, 1, {2}), 0x01));
    put("bp_cut_block.geo", cut(bitPlaneFile(1, 0x08, 2, {1, 2}), 15 + 15 + 64 + 15 + 100));
    put("bp_fewer_blocks.geo", bitPlaneFile(5, 0x08, 3, {1}));
    put("bp_count_big.geo", bitPlaneFile(6, 0x00, 0x0FFFFF, {2}));
    {
        Bytes b = bitPlaneFile(1, 0x28, 1, {0});
        b.back() = 255; // 255 frames of three planes announced, none present
        put("bp_huge_block.geo", b);
    }

    // Refused headers.
    {
        Bytes b = frameFile(1, 0x4C, 1);
        b[5] = 7;
        put("model7.geo", b);
        b[5] = 1;
        b[0] = 'X';
        put("bad_magic.geo", b);
        put("empty.geo", {});
        put("magic_only.geo", cut(header(1, 1), 4));
    }

    std::printf("%d files written to %s\n", put.files, put.dir.c_str());
    return 0;
}
