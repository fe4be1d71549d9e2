#include "file_images.h"

#include <algorithm>
#include <fstream>

namespace tesk::images {

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

Bytes cut(Bytes b, std::size_t n) {
    b.resize(std::min(n, b.size()));
    return b;
}

void putBig16(Bytes& b, std::size_t at, uint32_t v) {
    b.at(at) = uint8_t(v >> 8);
    b.at(at + 1) = uint8_t(v);
}

void putBig24(Bytes& b, std::size_t at, uint32_t v) {
    b.at(at) = uint8_t(v >> 16);
    putBig16(b, at + 1, v);
}

// --- work file ----------------------------------------------------------------------

WorkFileImage::WorkFileImage(const Layout& l) : layout(l), bytes(std::size_t(l.headerLength), 0) {
    const char magic[] = "TESK*";
    for (int i = 0; i < 5; ++i) bytes[std::size_t(i)] = uint8_t(magic[i]);
    bytes[6] = '*';
    bytes[12] = l.versionByte;
}

void WorkFileImage::setHeader16(int i, uint16_t v) {
    putBig16(bytes, std::size_t(i), v);
}

void WorkFileImage::setHeader24(int i, uint32_t v) {
    putBig24(bytes, std::size_t(i), v);
}

uint8_t* WorkFileImage::record(int i) {
    const std::size_t at =
        std::size_t(layout.headerLength) + std::size_t(i) * std::size_t(layout.recordBytes);
    if (bytes.size() < at + std::size_t(layout.recordBytes))
        bytes.resize(at + std::size_t(layout.recordBytes), 0);
    return bytes.data() + at;
}

void WorkFileImage::putRecord(int i, const Bytes& rec) {
    std::copy_n(rec.begin(), std::min(rec.size(), std::size_t(layout.recordBytes)), record(i));
}

// --- device recording ---------------------------------------------------------------

Bytes geoHeader(uint8_t model, uint32_t count, const GeoDate& date) {
    Bytes b(16, 0);
    const char magic[] = "TESK*";
    for (int i = 0; i < 5; ++i) b[std::size_t(i)] = uint8_t(magic[i]);
    b[5] = model;
    b[6] = '*';
    b[7] = date.day;
    b[8] = date.month;
    b[9] = date.year;
    b[10] = date.hour;
    b[11] = date.minute;
    b[13] = uint8_t(count >> 16);
    b[14] = uint8_t(count >> 8);
    b[15] = uint8_t(count);
    return b;
}

Bytes geoRecord(uint8_t model, const GeoRecord& r) {
    Bytes rec{r.key, 0, 0, 0, 0, 0, 0};
    if (model != 0) rec.insert(rec.end(), r.clock.begin(), r.clock.end());
    rec.push_back(r.f);
    rec.insert(rec.end(), {0, 0});
    rec.insert(rec.end(), r.gps.begin(), r.gps.end());
    rec.insert(rec.end(), std::size_t(r.gap), 0x33);
    rec.insert(rec.end(), r.data.begin(), r.data.end());
    const int trailing = r.trailing >= 0 ? r.trailing : ((r.f & 0x04) ? 1 : 2);
    rec.insert(rec.end(), std::size_t(trailing), 0);
    const uint32_t length = uint32_t(int(rec.size()) - 4 + r.lengthDelta);
    rec[1] = uint8_t(length >> 16);
    rec[2] = uint8_t(length >> 8);
    rec[3] = uint8_t(length);
    return rec;
}

GeoFile& GeoFile::add(const GeoRecord& r) {
    const Bytes rec = geoRecord(model_, r);
    body_.insert(body_.end(), rec.begin(), rec.end());
    ++records_;
    return *this;
}

GeoFile& GeoFile::junk(int n) {
    body_.insert(body_.end(), std::size_t(n), 0x55);
    return *this;
}

GeoFile& GeoFile::count(uint32_t c) {
    count_ = c;
    countSet_ = true;
    return *this;
}

Bytes GeoFile::bytes() const {
    Bytes b = geoHeader(model_, countSet_ ? count_ : records_, date_);
    b.insert(b.end(), body_.begin(), body_.end());
    return b;
}

void putRun(Bytes& out, int bit, int len) {
    while (len > 0) {
        const int take = std::min(len, 128);
        out.push_back(uint8_t((bit << 7) | (take == 128 ? 0 : take)));
        len -= take;
    }
}

Bytes runColumns(const std::vector<int>& amps, int rows) {
    Bytes out;
    for (int a : amps) {
        putRun(out, 1, a);
        putRun(out, 0, rows - a);
    }
    return out;
}

Bytes packBits(const std::vector<int>& bits) {
    Bytes out((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) out[i / 8] |= uint8_t(1 << (i % 8));
    return out;
}

Bytes bitPlaneFile(uint8_t model, uint8_t mode, uint32_t count,
                   const std::vector<BitPlaneBlock>& blocks, const GeoDate& date) {
    Bytes b = geoHeader(model, count, date);
    b.resize(15); // the first block header starts at offset 15
    const int headLength = model == 0 ? 11 : 14;
    const int modeInHead = (model == 0 ? 23 : 26) - 15;
    for (const BitPlaneBlock& blk : blocks) {
        Bytes head(std::size_t(headLength), 0);
        // The first block header carries the count field's last byte.
        if (&blk == &blocks.front()) head[0] = uint8_t(count);
        head[std::size_t(modeInHead)] = mode;
        b.insert(b.end(), head.begin(), head.end());
        const int n = int(blk.frames.size());
        b.push_back(uint8_t(n));
        const std::size_t planes = n ? blk.frames[0].size() : 0;
        for (std::size_t p = 0; p < planes; ++p)
            for (int i = n - 1; i >= 0; --i)
                b.insert(b.end(), blk.frames[std::size_t(i)][p].begin(),
                         blk.frames[std::size_t(i)][p].end());
    }
    return b;
}

// --- device family ------------------------------------------------------------------

Mr3Image::Mr3Image(uint32_t count, bool threePlanes, uint8_t l1, uint8_t l2, uint8_t l3) {
    atLeast(1220);
    u32(0, count);
    u8(4, threePlanes ? 1 : 0);
    u8(11, l1);
    u8(12, l2);
    u8(13, l3);
    u32(52, 0xFFFFFFFFu);
}

void Mr3Image::markers(const std::vector<uint32_t>& list) {
    for (std::size_t i = 0; i < list.size(); ++i) u32(52 + 4 * i, list[i]);
    u32(52 + 4 * list.size(), 0xFFFFFFFFu);
}

void Mr3Image::set(int frame, int plane, int sample) {
    frames(frame + 1);
    b[area(frame) + 64 * std::size_t(plane) + std::size_t(sample / 8)] |=
        uint8_t(1u << (sample % 8));
}

GebImage::GebImage(uint32_t samples, uint32_t frequency, uint32_t count, uint8_t width,
                   uint16_t headerLength)
    : H(headerLength), S(samples) {
    text(0, "MIRN");
    u16(4, headerLength);
    u32(8, samples);
    u32(12, frequency);
    u32(16, count);
    u8(20, width);
    u8(24, 23);
    u8(25, 6);
    u8(26, 14);
    atLeast(std::size_t(headerLength) + 6);
}

void GebImage::time(int j, uint8_t h, uint8_t m, uint8_t s, uint8_t hs) {
    u8(rec(j) + 5, h);
    u8(rec(j) + 6, m);
    u8(rec(j) + 7, s);
    u8(rec(j) + 8, hs);
}

GprGroup constantGroup(uint16_t ch1, uint16_t ch2) {
    GprGroup g{};
    for (int i = 0; i < 32; ++i) {
        g[std::size_t(2 * i)] = ch1;
        g[std::size_t(2 * i + 1)] = ch2;
    }
    return g;
}

GprImage::GprImage(uint32_t frames, std::size_t area) : next(area) {
    atLeast(area);
    u32(6, frames + 1);
    u8(10, 0x5A);
}

std::size_t GprImage::add(const std::string& position, std::array<uint8_t, 4> time, uint8_t marker,
                          const std::vector<GprGroup>& groups, uint32_t extraWords) {
    const std::size_t at = next;
    const uint32_t W = 64 * uint32_t(groups.size() + 1) + extraWords;
    u32(at, W);
    std::size_t p = at + 4;
    u8(p++, uint8_t(position.size()));
    text(p, position);
    p += position.size();
    for (uint8_t t : time) u8(p++, t);
    u8(p++, marker);
    for (const GprGroup& g : groups)
        for (uint16_t w : g) {
            u16(p, w);
            p += 2;
        }
    next = at + 8 + 2 * std::size_t(W);
    atLeast(next);
    return at;
}

} // namespace tesk::images
