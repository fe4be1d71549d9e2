// Writes the seed corpus of the work-file fuzz target: tiny files of every
// generation, truncated files, hostile record counts, bad magic and bad
// version bytes. The bytes are laid out here by hand, independently of the
// reader and the writer under test. Deterministic: running it again gives
// the same files.
//
//   fuzz_make_corpus <directory>
//
// fuzz/corpus/README.md describes every seed.

#include "file_images.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tesk::images::Bytes;
using tesk::images::cut;
using tesk::images::Lcg;
using tesk::images::putBig16;
using tesk::images::putBig24;
using tesk::images::WorkFileImage;

// Bit 0 of header byte 127 makes the fuzz target append the file to itself.
constexpr int APPEND_SELECTOR = 127;

// One A-scan as 8-bit amplitude codes: a direct wave near the top, two
// reflections and decaying noise around 128, never 0.
std::vector<int> ascan(int frame, int samples) {
    std::vector<int> a(static_cast<std::size_t>(samples));
    Lcg r{uint32_t(frame * 7919 + 13)};
    for (int t = 0; t < samples; ++t) {
        int v = 128;
        if (t >= 20 && t < 40) v += ((t / 5) % 2 ? 90 : -90);
        const int d1 = 150 + frame * 3;
        if (t >= d1 && t < d1 + 12) v += ((t / 3) % 2 ? 50 : -50);
        if (t >= 320 && t < 330) v += ((t / 2) % 2 ? 25 : -25);
        v += r.next(9) - 4;
        a[std::size_t(t)] = v < 1 ? 1 : (v > 255 ? 255 : v);
    }
    return a;
}

// Older generations keep 7-bit samples (the reader widens v to (v + 1) x 2).
uint8_t to7(int code) {
    return uint8_t(code / 2 < 1 ? 1 : (code / 2 > 126 ? 126 : code / 2));
}

// The header of a layout ("TESK*", '*', the version byte) with three more
// bytes at 13..15 that no generation reads.
Bytes emptyHeader(const tesk::images::Layout& layout) {
    Bytes h = WorkFileImage(layout).bytes;
    h[13] = 'Q';
    h[14] = 'X';
    h[15] = 'J';
    return h;
}

// Date, time and device type as generations 8 .. 16 keep them.
void dateAndDevice(Bytes& h) {
    h[5] = 3;   // device type
    h[7] = 14;  // day
    h[8] = 6;   // month
    h[9] = 21;  // year
    h[10] = 9;  // hour
    h[11] = 35; // minute
}

void layerColours(Bytes& h) {
    const uint8_t c[27] = {0, 0, 0,  0,  140, 200, 130, 130, 30, 80, 0, 160, 120, 0,
                           0, 0, 80, 80, 0,   0,   96,  0,   0,  0,  0, 0,   0};
    for (int i = 0; i < 27; ++i) h[std::size_t(80 + i)] = c[i];
}

// Generation 16 header (512 bytes) with ordinary settings.
Bytes header16(unsigned count) {
    Bytes h = emptyHeader(tesk::images::GEN16);
    dateAndDevice(h);
    putBig16(h, 16, count);
    h[18] = 2;            // time range item
    h[19] = 5;            // step item
    h[20] = 12;           // velocity item
    putBig16(h, 21, 500); // velocity code 5.00 cm/ns
    h[23] = 1;            // colour count item
    h[24] = 1;            // filter 1 kind, then L T X
    h[25] = 3;
    h[26] = 4;
    h[27] = 5;
    h[28] = 2; // filter 2 kind, then L T X
    h[29] = 6;
    h[30] = 7;
    h[31] = 8;
    h[32] = 0x42; // view flags
    h[33] = 0x38; // option flags
    h[34] = 0x90; // inversion, background
    h[35] = 1;
    h[36] = 2;
    h[37] = 128; // zero level
    h[38] = 120; // gain levels
    h[39] = 140;
    putBig16(h, 40, 10); // gain positions
    putBig16(h, 42, 400);
    h[44] = 3;    // gain range
    h[45] = 10;   // antenna item
    h[46] = 5;    // depth step item
    h[47] = 2;    // level table item
    h[48] = 0x20; // rectangular coordinates
    h[49] = 2;
    h[50] = 8;
    h[51] = 1;
    h[55] = 0xC0;
    h[56] = 0x80;
    h[57] = 0x40;
    putBig24(h, 61, 1500); // highest relief, cm
    layerColours(h);
    return h;
}

// Generation 16 record (624 bytes): samples, fill rows and every attribute.
Bytes record16(int frame, bool blank = false, int marker = 0) {
    Bytes r(624, 0);
    if (!blank) {
        const auto a = ascan(frame, 512);
        for (int t = 0; t < 512; ++t) r[std::size_t(t)] = uint8_t(a[std::size_t(t)]);
        // The fill rows hold something else; the reader repeats sample 511.
        for (int c = 512; c < 528; ++c) r[std::size_t(c)] = uint8_t(c);
    }
    r[528] = uint8_t(0x10 | marker | (frame == 1 ? 0x20 : 0));
    r[529] = 9;
    r[530] = 36;
    r[531] = uint8_t(frame % 60);
    r[532] = uint8_t(frame * 7 % 100);
    putBig16(r, 533, 1);                       // profile number
    putBig24(r, 535, 1200u + unsigned(frame)); // relief height, cm
    for (int k = 0; k < 7; ++k)
        putBig16(r, std::size_t(538 + 2 * k), unsigned(60 + 40 * k + frame));
    r[552] = 1;
    r[553] = 2;
    putBig16(r, 556, unsigned(frame));
    putBig24(r, 560 + 1, 123456u + unsigned(frame) * 10); // UCS X (u32, low 24 bits)
    putBig24(r, 564 + 1, 654321u);                        // UCS Y
    r[568] = 37;
    putBig24(r, 569, 6170000u + unsigned(frame));
    r[572] = 55;
    putBig24(r, 573, 7550000u);
    for (int j = 0; j < 16; ++j) putBig16(r, std::size_t(576 + 2 * j), unsigned(100 * j + 15));
    putBig16(r, 608, 0);
    const char name[] = "PT01";
    for (int i = 0; i < 4; ++i) r[std::size_t(610 + i)] = uint8_t(name[i]);
    putBig24(r, 621, 34567u + unsigned(frame));
    return r;
}

// Generations 11, 12, 13 header: bytes 5..31 as generation 16, settings in
// the older arrangement at 32..54.
Bytes header13(uint8_t version, unsigned count) {
    Bytes h = header16(count);
    h[12] = version;
    for (int i = 32; i < 80; ++i) h[std::size_t(i)] = 0;
    h[32] = version >= 19 ? 0xC3 : 0x03; // view step 3; function, English (13)
    h[33] = 0x73;                        // 3D, filters, parameters, zero line
    h[34] = 0x5A;                        // highlight, inversion, level table 2
    h[35] = 12;                          // antenna
    h[36] = 4;                           // depth step
    h[37] = 128;
    h[38] = 100;
    h[39] = 150;
    putBig16(h, 40, 5);
    putBig16(h, 42, 300);
    h[44] = 2;
    h[49] = 1;
    h[50] = 7;
    h[52] = 2; // section (13)
    h[53] = 2; // amplitude form (12, 13)
    h[54] = 1; // zero/gain mode (12, 13)
    return h;
}

// Generations 11, 12, 13 record (608 bytes) in the older attribute order.
Bytes record13(int frame, unsigned reliefDepth) {
    Bytes r(608, 0);
    const auto a = ascan(frame, 512);
    for (int t = 0; t < 512; ++t) r[std::size_t(t)] = uint8_t(a[std::size_t(t)]);
    r[528] = 0x11;
    r[529] = 10;
    r[530] = 5;
    r[531] = 7;
    putBig16(r, 532, reliefDepth); // depth below the highest point
    putBig16(r, 534, 12);          // vertical shift
    for (int k = 0; k < 7; ++k) putBig16(r, std::size_t(540 + 2 * k), unsigned(80 + 30 * k));
    for (int j = 0; j < 16; ++j) r[std::size_t(570 + j)] = uint8_t(j + 1);
    for (int j = 0; j < 16; ++j) r[std::size_t(590 + j)] = uint8_t(0x40 + j);
    return r;
}

// Generation 9 header: bytes 5..20 as generation 16, velocity in byte 22.
Bytes header9(unsigned count) {
    Bytes h = header13(9, count);
    h[21] = 0;
    h[22] = 55; // 5.5 cm/ns
    h[32] = 0;
    h[33] = 0;
    h[34] = 0x23; // English, amplitude form 2, level table 1
    h[37] = 0;    // becomes 64
    for (int i = 49; i < 55; ++i) h[std::size_t(i)] = 0;
    return h;
}

// Generation 9 record (576 bytes): 7-bit samples.
Bytes record9(int frame) {
    Bytes r(576, 0);
    const auto a = ascan(frame, 512);
    for (int t = 0; t < 512; ++t) r[std::size_t(t)] = to7(a[std::size_t(t)]);
    r[528] = 0x12;
    putBig16(r, 534, 8);
    for (int k = 0; k < 7; ++k) putBig16(r, std::size_t(534 + 2 * k), unsigned(90 + 20 * k));
    for (int j = 0; j < 16; ++j) r[std::size_t(560 + j)] = uint8_t(3 * j);
    return r;
}

// Generation 8 header: frame count in hundreds, older arrangement of 18..23.
Bytes header8(uint8_t version, unsigned hundreds) {
    Bytes h = header9(hundreds);
    h[12] = version;
    h[5] = 0;
    h[18] = 3;  // view step byte
    h[19] = 4;  // step
    h[20] = 3;  // time range
    h[21] = 2;  // colour count
    h[22] = 13; // velocity item
    h[23] = 90; // 9.0 cm/ns
    for (int i = 80; i < 107; ++i) h[std::size_t(i)] = 0;
    return h;
}

// Generation 8 record (576 bytes).
Bytes record8(int frame) {
    Bytes r(576, 0);
    const auto a = ascan(frame, 512);
    for (int t = 0; t < 510; ++t) r[std::size_t(t)] = to7(a[std::size_t(t)]);
    for (int c = 510; c < 528; ++c) r[std::size_t(c)] = uint8_t(c & 1);
    r[528] = 0x11;
    putBig16(r, 534, 4);
    for (int j = 0; j < 8; ++j) r[std::size_t(550 + j)] = uint8_t(10 + j);
    return r;
}

// Generation 7 header: 192 bytes, no date, count in hundreds.
Bytes header7(unsigned hundreds) {
    Bytes h = emptyHeader(tesk::images::GEN7);
    putBig16(h, 16, hundreds);
    h[18] = 2;  // view step byte
    h[19] = 6;  // step
    h[20] = 2;  // time range
    h[21] = 75; // 7.5 cm/ns
    h[23] = 8;  // velocity item
    return h;
}

// Generation 7 record (512 bytes): 500 samples with leading zeros, status.
Bytes record7(int frame) {
    Bytes r(512, 0);
    const auto a = ascan(frame, 500);
    for (int t = 5; t < 500; ++t) r[std::size_t(t)] = t % 97 == 0 ? 0 : to7(a[std::size_t(t)]);
    r[500] = uint8_t(0xF1); // status: the reader keeps the low four bits
    for (int i = 501; i < 512; ++i) r[std::size_t(i)] = 0xEE;
    return r;
}

Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes withAppend(Bytes a) {
    a[APPEND_SELECTOR] |= 1;
    return a;
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

    // Valid tiny files of every generation.
    put("g07_two_frames.gem", cat(cat(header7(1), record7(0)), record7(1)));
    put("g08_two_frames.gem", cat(cat(header8(8, 1), record8(0)), record8(1)));
    put("g08_version16.gem", cat(cat(header8(16, 1), record8(2)), record8(3)));
    put("g09_two_frames.gem", cat(cat(header9(2), record9(0)), record9(1)));
    put("g11_two_frames.gem", cat(cat(header13(17, 2), record13(0, 300)), record13(1, 420)));
    put("g12_two_frames.gem", cat(cat(header13(18, 2), record13(0, 10)), record13(1, 0)));
    put("g13_two_frames.gem", cat(cat(header13(19, 2), record13(0, 250)), record13(1, 260)));
    put("g13_version22.gem", cat(cat(header13(22, 2), record13(2, 5)), record13(3, 7)));
    put("g16_three_frames.gem",
        cat(cat(cat(header16(3), record16(0, false, 1)), record16(1)), record16(2)));
    put("g16_two_profiles.gem",
        cat(cat(cat(cat(header16(4), record16(0)), record16(1, true)), record16(2, false, 2)),
            record16(3, false, 2)));
    {
        Bytes h = header16(1);
        for (int i = 18; i <= 51; ++i) h[std::size_t(i)] = 0xFF;
        putBig16(h, 21, 100); // below 1.60 cm/ns: becomes 5.55 and the hodograph item
        h[38] = 0;            // gain levels 0 become 64
        h[39] = 0;
        putBig16(h, 42, 0); // second gain position 0 becomes 511
        h[44] = 0;
        put("g16_settings_out_of_range.gem", cat(h, record16(5)));
    }
    put("g16_append.gem", withAppend(cat(cat(header16(2), record16(0, false, 3)), record16(1))));
    put("g13_append_relief.gem",
        withAppend(cat(cat(header13(19, 2), record13(0, 900)), record13(1, 20))));
    put("g07_append.gem", withAppend(cat(header7(1), record7(4))));

    // Truncated files.
    put("empty.gem", {});
    put("trunc_3_bytes.gem", cut(header16(1), 3));
    put("trunc_13_bytes.gem", cut(header16(1), 13));
    put("trunc_g16_in_header.gem", cut(header16(3), 100));
    put("trunc_g16_header_only.gem", header16(3));
    put("trunc_g16_mid_record.gem",
        cut(cat(cat(header16(2), record16(0)), record16(1)), 512 + 924));
    put("trunc_g16_mid_fill_rows.gem", cut(cat(header16(1), record16(0)), 512 + 520));
    // Found by the fuzz target: a record that ends right after sample 511.
    put("trunc_g16_after_samples.gem", cut(cat(header16(2), record16(0)), 512 + 512));
    put("trunc_g13_after_samples.gem", cut(cat(header13(19, 2), record13(0, 40)), 512 + 512));
    put("trunc_g07_mid_record.gem", cut(cat(header7(1), record7(0)), 192 + 300));
    put("trunc_g09_mid_record.gem", cut(cat(header9(2), record9(0)), 512 + 200));
    put("trunc_g13_mid_record.gem", cut(cat(header13(19, 2), record13(0, 40)), 512 + 560));

    // Hostile record counts.
    put("count_ffff_g16_600b.gem", cut(cat(header16(0xFFFF), record16(0)), 600));
    put("count_ffff_g16_append.gem", withAppend(cat(header16(0xFFFF), record16(1))));
    put("count_ffff_g07.gem", cat(header7(0xFFFF), record7(2)));
    put("count_ffff_g08.gem", cat(header8(8, 0xFFFF), record8(2)));
    put("count_ffff_g13_600b.gem", cut(cat(header13(19, 0xFFFF), record13(0, 3)), 600));
    put("count_zero_g16.gem", cat(header16(0), record16(0)));

    // Bad magic.
    {
        Bytes b = cat(header16(1), record16(0));
        b[0] = 'X';
        put("bad_magic.gem", b);
        for (int i = 0; i < 4; ++i) b[std::size_t(i)] = 0;
        put("bad_magic_zero.gem", b);
        // Only the byte sum is tested: these four bytes pass.
        const char other[] = "KSET";
        for (int i = 0; i < 4; ++i) b[std::size_t(i)] = uint8_t(other[i]);
        put("magic_same_sum.gem", b);
    }

    // Version bytes outside the generation table.
    for (int v : {0, 10, 20, 21, 24, 255}) {
        Bytes b = cat(header16(1), record16(0));
        b[12] = uint8_t(v);
        char name[32];
        std::snprintf(name, sizeof name, "bad_version_%03d.gem", v);
        put(name, b);
    }

    std::printf("%d files written to %s\n", put.files, put.dir.c_str());
    return 0;
}
