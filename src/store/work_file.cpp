// Work file (.gem), generation 16 (version byte 23):
//
//   offset 0      128 bytes  survey header: value byte of header cell k = byte k
//   offset 128    384 bytes  zero
//   offset 512    624 bytes  frame record 0: value bytes of cells 0..623
//   offset 1136   624 bytes  frame record 1 ...
//
// The record count is the big-endian u16 at header bytes 16..17. Older
// generations differ in header length, record length and the arrangement of
// the header settings and frame attributes:
//
//   version byte   generation  header  record  count field
//   7              7           192     512     bytes 16..17 x 100 (<= 49900)
//   8, 16          8           512     576     bytes 16..17 x 100 (<= 49900)
//   9              9           512     576     bytes 16..17
//   17             11          512     608     bytes 16..17
//   18             12          512     608     bytes 16..17
//   19, 22         13          512     608     bytes 16..17
//   23             16          512     624     bytes 16..17

#include "store/work_file.h"

#include "store/settings_catalog.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tesk {

std::optional<Generation> generationForVersion(uint8_t v) {
    switch (v) {
    case 7:
        return Generation{7, 192, 512, true};
    case 8:
    case 16:
        return Generation{8, 512, 576, true};
    case 9:
        return Generation{9, 512, 576, false};
    case 17:
        return Generation{11, 512, 608, false};
    case 18:
        return Generation{12, 512, 608, false};
    case 19:
    case 22:
        return Generation{13, 512, 608, false};
    case 23:
        return Generation{16, 512, 624, false};
    default:
        return std::nullopt;
    }
}

int magicSum(const uint8_t* p) {
    return int(p[0]) + p[1] + p[2] + p[3];
}

namespace {

using Bytes = std::array<uint8_t, 512>;

uint16_t be16(const Bytes& b, int i) {
    return uint16_t((b[i] << 8) | b[i + 1]);
}

// An item index kept only when the box has that item.
uint8_t item(uint8_t v, int count, uint8_t fallback) {
    return v < count ? v : fallback;
}

// Velocity codes outside 160..1500 are not soil velocities; such files get
// 5.55 cm/ns and the hodograph entry of the velocity box.
void applyVelocity(ProfileStore& s, uint16_t code, uint8_t velocityItem) {
    if (code > 1500 || code < 160) {
        code = 555;
        velocityItem = 0;
    }
    s.header.value[hdr::VelocityIndex] = velocityItem;
    s.hodographVelocity = code;
    s.setVelocity(code);
}

// Older generations keep the velocity in one byte, in units of 0.1 cm/ns.
uint16_t velocityFromByte(uint8_t v) {
    return uint16_t((v > 150 || v < 16) ? 50 : v) * 10;
}

// Gain settings at header bytes 38..44: the same rules in every generation.
void applyGains(ProfileStore& s, const Bytes& b) {
    auto& h = s.header;
    h.value[hdr::GainLevel1] = b[38] == 0 ? 64 : b[38];
    h.value[hdr::GainLevel2] = b[39] == 0 ? 64 : b[39];
    const uint16_t p1 = be16(b, 40);
    const uint16_t p2 = be16(b, 42);
    h.set16(hdr::GainPos1, p1 > 511 ? 0 : p1);
    h.set16(hdr::GainPos2, (p2 == 0 || p2 > 511) ? 511 : p2);
    // The gain step buttons go up to 33 (odd steps from 1), so 33 is a value
    // the program itself saves and must come back; only 0 and larger values
    // are unusable.
    h.value[hdr::GainRange] = (b[44] == 0 || b[44] > 33) ? 1 : b[44];
}

void applyFilters(ProfileStore& s, const Bytes& b) {
    auto& h = s.header;
    h.value[24] = item(b[24], items::FilterKind, 0);
    h.value[28] = item(b[28], items::FilterKind, 0);
    for (int c : {25, 26, 27, 29, 30, 31}) h.value[c] = item(b[c], items::FilterParam, 0);
}

void applyDate(ProfileStore& s, const Bytes& b) {
    for (int c = hdr::Day; c <= hdr::Minute; ++c) s.header.value[c] = b[c];
}

void applyDeviceType(ProfileStore& s, uint8_t t) {
    s.deviceType = t;
    s.header.value[hdr::DeviceType] = t;
}

void applyHeader16(ProfileStore& s, const Bytes& b) {
    auto& h = s.header;
    applyDeviceType(s, b[5]);
    applyDate(s, b);
    h.value[hdr::TimeRange] = item(b[18], items::TimeRange, 0);
    h.value[hdr::Step] = item(b[19], items::Step, 4);
    applyVelocity(s, be16(b, 21), item(b[20], items::Velocity, 0));
    h.value[hdr::ColourMode] = item(b[23], items::ColourMode, 0);
    applyFilters(s, b);
    h.value[hdr::ViewFlags] = (b[32] & 0x0F) > 7 ? uint8_t(b[32] & 0xF0) : b[32];
    h.value[hdr::OptionFlags] = b[33];
    h.value[hdr::AmplitudeFlags] = uint8_t(b[34] & ~hdr::Highlight);
    h.value[hdr::AmplitudeForm] = item(b[35], items::AmplitudeForm, 1);
    h.value[hdr::ZeroGainMode] = item(b[36], items::ZeroGainMode, 0);
    h.value[hdr::ZeroLevel] = b[37];
    applyGains(s, b);
    h.value[hdr::Antenna] = item(b[45], items::Antenna, 0);
    h.value[hdr::DepthStep] = (b[46] == 0 || b[46] >= items::DepthStep) ? 8 : b[46];
    h.value[hdr::LevelTable] = item(b[47], items::LevelTable, 0);
    h.value[hdr::CoordFlags] = b[48];
    h.value[hdr::VolumeInterp] = item(b[49], items::VolumeInterp, 0);
    h.value[hdr::ProfileDistance] = item(b[50], items::ProfileDistance, 9);
    h.value[hdr::Section] = item(b[51], items::Section, 0);
    s.setHmax((uint32_t(b[61]) << 16) | (uint32_t(b[62]) << 8) | b[63]);
    std::copy(b.begin() + 80, b.begin() + 107, h.value.begin() + hdr::LayerColour);
}

// Header bytes 32..54 of generations 8 .. 13 hold the settings in older
// arrangements; they are moved to where generation 16 keeps them. Settings an
// older generation does not carry keep their current value.
void applyOldSettings(ProfileStore& s, const Bytes& b, int gen) {
    auto& h = s.header;
    uint8_t& view = h.value[hdr::ViewFlags];
    uint8_t& opts = h.value[hdr::OptionFlags];
    uint8_t& amp = h.value[hdr::AmplitudeFlags];

    if (gen == 11 || gen == 12 || gen == 13) {
        uint8_t step = b[32] & 0x07;
        if (gen != 13 && step == 7) step = 2;
        view = uint8_t((view & 0xF0) | step);
        const bool function = gen == 13 ? (b[32] & 0x40) : (b[33] & 0x01);
        setBit(view, hdr::Function, function);
        setBit(view, hdr::ZeroLine, b[33] & 0x40);
        setBit(opts, hdr::Show3D, b[33] & 0x02);
        setBit(opts, hdr::ShowFilters, b[33] & 0x10);
        setBit(opts, hdr::ShowParameters, b[33] & 0x20);
    }
    if (gen == 13) {
        setBit(view, hdr::English, b[32] & 0x80);
        setBit(amp, hdr::Background, b[34] & 0x80);
    } else {
        setBit(view, hdr::English, b[34] & 0x01);
        h.value[hdr::AmplitudeForm] = (b[34] & 0x02) ? 2 : 1;
        h.value[hdr::ZeroGainMode] = (b[34] & 0x04) ? 1 : 0;
    }
    setBit(amp, hdr::Highlight, b[34] & 0x08);
    setBit(amp, hdr::Inversion, b[34] & 0x10);
    if (gen == 8 || gen == 9)
        h.value[hdr::LevelTable] = (b[34] & 0x20) ? 1 : 0;
    else
        h.value[hdr::LevelTable] = (b[34] >> 5) & 0x03;

    h.value[hdr::Antenna] = item(b[35], items::Antenna, 0);
    h.value[hdr::DepthStep] = (b[36] == 0 || b[36] >= items::DepthStep) ? 6 : b[36];
    h.value[hdr::ZeroLevel] = (gen <= 9 && b[37] == 0) ? 64 : b[37];
    applyGains(s, b);
    if (gen >= 11) {
        h.value[hdr::VolumeInterp] = item(b[49], items::VolumeInterp, 0);
        h.value[hdr::ProfileDistance] = item(b[50], items::ProfileDistance, 9);
    }
    if (gen == 13) h.value[hdr::Section] = item(b[52], items::Section, 0);
    if (gen == 12 || gen == 13) {
        h.value[hdr::AmplitudeForm] = item(b[53], items::AmplitudeForm, 1);
        h.value[hdr::ZeroGainMode] = item(b[54], items::ZeroGainMode, 0);
    }
}

void applyHeaderOld(ProfileStore& s, const Bytes& b, int gen) {
    auto& h = s.header;
    auto viewStepFromByte = [](uint8_t v) {
        const int step = (v & 7) + 2;
        return uint8_t(step > 7 ? 2 : step);
    };
    if (gen == 7) {
        applyDeviceType(s, 0);
        h.value[hdr::Day] = 1;
        h.value[hdr::Month] = 1;
        h.value[hdr::Year] = 7;
        h.value[hdr::Hour] = 0;
        h.value[hdr::Minute] = 0;
        h.value[hdr::ViewFlags] =
            uint8_t((h.value[hdr::ViewFlags] & 0xF0) | viewStepFromByte(b[18]));
        h.value[hdr::Step] = item(b[19], items::Step, 0);
        h.value[hdr::TimeRange] = item(b[20], items::TimeRange, 1);
        applyVelocity(s, velocityFromByte(b[21]), item(b[23], items::Velocity, 0));
        return;
    }
    if (gen == 8) {
        applyDeviceType(s, 0);
        applyDate(s, b);
        h.value[hdr::ViewFlags] =
            uint8_t((h.value[hdr::ViewFlags] & 0xF0) | viewStepFromByte(b[18]));
        h.value[hdr::Step] = item(b[19], items::Step, 0);
        h.value[hdr::TimeRange] = item(b[20], items::TimeRange, 1);
        h.value[hdr::ColourMode] = item(b[21], items::ColourMode, 0);
        applyVelocity(s, velocityFromByte(b[23]), item(b[22], items::Velocity, 0));
        applyFilters(s, b);
    } else {
        // Generations 9 .. 13 keep bytes 5 .. 31 where generation 16 does.
        applyDeviceType(s, b[5]);
        applyDate(s, b);
        h.value[hdr::TimeRange] = item(b[18], items::TimeRange, 0);
        h.value[hdr::Step] = item(b[19], items::Step, 4);
        const uint8_t velocityItem = item(b[20], items::Velocity, 0);
        applyVelocity(s, gen == 9 ? velocityFromByte(b[22]) : be16(b, 21), velocityItem);
        h.value[hdr::ColourMode] = item(b[23], items::ColourMode, 0);
        applyFilters(s, b);
        std::copy(b.begin() + 80, b.begin() + 107, h.value.begin() + hdr::LayerColour);
    }
    applyOldSettings(s, b, gen);
}

// --- frame records ------------------------------------------------------

// Older 7-bit samples: a non-zero byte v becomes (min(v, 126) + 1) x 2.
inline uint8_t widen7(uint8_t v) {
    return v == 0 ? 0 : uint8_t((std::min<int>(v, 126) + 1) * 2);
}

void convertGen7(FrameRecord& f, const uint8_t* rec, int n) {
    // 500 samples, one status byte, 11 bytes not used.
    bool seen = false;
    const int samples = std::min(n, 500);
    for (int c = 0; c < samples; ++c) {
        const uint8_t v = rec[c];
        if (v != 0) seen = true;
        f.value[c] = v != 0 ? widen7(v) : (seen ? 1 : 0);
    }
    if (samples == 500)
        for (int c = 500; c < SAMPLES_PER_FRAME; ++c) f.value[c] = f.value[499];
    if (n > 500) f.value[cell::Status] = rec[500] & 0x0F;
}

void convertGen8(FrameRecord& f, const uint8_t* rec, int n) {
    std::memcpy(f.value.data(), rec, std::size_t(n));
    for (int c = 0; c < std::min(n, 510); ++c) f.value[c] = widen7(f.value[c]);
    for (int c = 510; c < std::min(n, SAMPLE_ROWS); ++c) f.value[c] = f.value[c] ? 128 : 0;
}

void convertGen9(FrameRecord& f, const uint8_t* rec, int n) {
    std::memcpy(f.value.data(), rec, std::size_t(n));
    for (int c = 0; c < std::min(n, SAMPLES_PER_FRAME); ++c) f.value[c] = widen7(f.value[c]);
}

// Frame attributes moved to the generation-16 arrangement, in this order.
void moveAttributes(FrameRecord& f, int gen) {
    auto& v = f.value;
    if (gen == 11 || gen == 12 || gen == 13) {
        v[536] = v[532];
        v[537] = v[533];
        v[608] = v[534];
        v[609] = v[535];
        v[533] = v[534] = v[535] = 0;
        for (int c = 607; c >= 592; --c) v[c] = v[c - 2];
        for (int c = 591; c >= 576; --c) v[c] = v[c - 6];
        for (int c = 538; c <= 551; ++c) v[c] = v[c + 2];
    } else if (gen == 9) {
        v[608] = v[534];
        v[609] = v[535];
        uint8_t old[16];
        std::memcpy(old, &v[560], 16);
        for (int c = 532; c <= 537; ++c) v[c] = 0;
        for (int j = 0; j < 16; ++j) f.set16(576 + 2 * j, 10u * old[j]);
        for (int c = 551; c >= 538; --c) v[c] = v[c - 4];
    } else if (gen == 8) {
        v[608] = v[534];
        v[609] = v[535];
        uint8_t old[8];
        std::memcpy(old, &v[550], 8);
        for (int c = 532; c <= 537; ++c) v[c] = 0;
        for (int j = 0; j < 8; ++j) f.set16(538 + 2 * j, 10u * old[j]);
    }
}

// Stores one record of n bytes (n < recordBytes when the file ends inside it).
void storeRecord(FrameRecord& f, const uint8_t* rec, int n, int gen) {
    switch (gen) {
    case 16:
        std::memcpy(f.value.data(), rec, std::size_t(n));
        break;
    case 7:
        convertGen7(f, rec, n);
        break;
    case 8:
        convertGen8(f, rec, n);
        break;
    case 9:
        convertGen9(f, rec, n);
        break;
    default: // 11, 12, 13: samples as they are
        std::memcpy(f.value.data(), rec, std::size_t(n));
        break;
    }
    // Rows 512..527 repeat sample 511 whatever the file holds there, also
    // when the file ends right after the last sample of the record.
    const int filled = gen == 7 ? (n >= 500 ? SAMPLE_ROWS : 0) : std::min(n, SAMPLE_ROWS);
    if (filled >= SAMPLES_PER_FRAME) f.fillRowsFromLastSample();
    moveAttributes(f, gen);
}

// The records the count field announces.
int declaredCount(const Bytes& b, const Generation& gen) {
    return be16(b, 16) * (gen.countInHundreds ? 100 : 1);
}

// The records the reader takes at most: 63999, or 49900 where the field
// counts hundreds.
int recordLimit(const Generation& gen) {
    return gen.countInHundreds ? 49900 : 63999;
}

} // namespace

LoadReport readWorkFile(ByteSource& src, const Generation& gen, bool append, ProfileStore& s,
                        Interaction& ui) {
    LoadReport out;
    out.firstSlot = append ? s.frameCount : 0;
    Bytes b{};
    const std::size_t headerGot = src.read(0, b.data(), std::size_t(gen.headerLength));
    out.framesDeclared = declaredCount(b, gen);
    if (out.framesDeclared > recordLimit(gen)) out.warn(LoadWarning::CountClamped);
    const int count = int(std::min<int64_t>(out.framesDeclared, recordLimit(gen)));
    if (headerGot < std::size_t(gen.headerLength))
        out.stop(src.failed() ? LoadFault::ReadFault : LoadFault::CutShort, -1, 0);
    if (count == 0) return out;

    if (!append) {
        s.frameCount = count;
        if (gen.kind == 16)
            applyHeader16(s, b);
        else
            applyHeaderOld(s, b, gen.kind);
        if (gen.kind <= 9) s.setHmax(0);
    }

    const int first = out.firstSlot;
    // Generations 7 and 13 stop ten slots earlier than the others.
    const int lastSlot = (gen.kind == 7 || gen.kind == 13) ? MAX_LOADED_FRAME : 63999;
    auto recordOffset = [&](int frame) {
        return uint64_t(gen.headerLength) + uint64_t(frame) * uint64_t(gen.recordBytes);
    };

    ui.passTag(gen.kind == 16 ? "   v16." : "   v" + std::to_string(gen.kind) + ".");
    // Records are read in blocks of about a megabyte.
    const int perBlock = std::max(1, (1 << 20) / gen.recordBytes);
    std::vector<uint8_t> block(std::size_t(perBlock) * std::size_t(gen.recordBytes));
    uint64_t offset = uint64_t(gen.headerLength);
    int k = first;
    int done = 0;
    bool stop = out.fault != LoadFault::None;
    ui.progress(0, count);
    if (!stop && k > lastSlot) {
        // Appending to a survey that already fills the store: nothing fits.
        out.stop(LoadFault::SlotLimit, 0, recordOffset(0));
        stop = true;
    }
    while (done < count && !stop) {
        const int want = std::min(perBlock, count - done);
        const std::size_t got = src.read(offset, block.data(), std::size_t(want) * gen.recordBytes);
        offset += got;
        const int whole = int(got / std::size_t(gen.recordBytes));
        const int partial = int(got % std::size_t(gen.recordBytes));
        for (int r = 0; r < whole + (partial ? 1 : 0); ++r) {
            const int n = r < whole ? gen.recordBytes : partial;
            // An appended frame lands in a slot the open did not clear; cells
            // its record does not carry must not keep what an earlier survey
            // or edit left there.
            if (append) s.frame(k).value.fill(0);
            storeRecord(s.frame(k), block.data() + std::size_t(r) * gen.recordBytes, n, gen.kind);
            ++out.framesRead;
            ++done;
            ++k;
            if (k > lastSlot) {
                out.stop(LoadFault::SlotLimit, done, recordOffset(done));
                stop = true;
                break;
            }
        }
        if (!stop && got < std::size_t(want) * gen.recordBytes) {
            // The file ends (or cannot be read further) before the records it
            // announces; ending between two records is no fault.
            const int at = partial ? done - 1 : done;
            if (src.failed())
                out.stop(LoadFault::ReadFault, at, recordOffset(at));
            else if (partial)
                out.stop(LoadFault::CutShort, at, recordOffset(at));
            stop = true;
        }
        ui.progress(done, count);
    }

    // Older relief was a depth below the survey's highest point; it becomes a
    // height above the lowest reference, as generation 16 keeps it.
    if (gen.kind >= 11 && gen.kind <= 13 && out.framesRead > 0) {
        uint32_t deepest = 0;
        for (int i = first; i < first + out.framesRead; ++i)
            deepest = std::max<uint32_t>(deepest, s.frame(i).get16(536));
        if (!append)
            s.setHmax(deepest);
        else if (deepest > s.Hmax && ui.ask(msg::reliefMaxExceeded(), out) == Answer::Yes)
            s.setHmax(deepest);
        for (int i = first; i < first + out.framesRead; ++i) {
            FrameRecord& f = s.frame(i);
            const int64_t h = int64_t(s.Hmax) - f.get16(536);
            f.set24(cell::ReliefHeight, uint32_t(std::max<int64_t>(h, 0)));
        }
    }

    // A file that ends before its count only brings the records it holds:
    // slots past them were never written by this load and may still hold
    // frames of an earlier survey above the cleared range.
    const int brought = std::min(count, out.framesRead);
    if (!append)
        s.frameCount = brought + 10;
    else
        s.frameCount = s.frameCount + brought > MAX_LOADED_FRAME ? MAX_LOADED_FRAME
                                                                 : s.frameCount + brought + 10;
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
    return out;
}

void refreshHeaderForSave(ProfileStore& s) {
    // The flag bytes are rebuilt from the settings they carry: bits that stand
    // for none (view-flag bits 3 and 4, option bit 0x04, amplitude bits 0..3,
    // the coordinates panel state and coordinate bits 0..3) are not saved.
    auto& h = s.header.value;
    h[hdr::ViewFlags] &= uint8_t(hdr::ViewStepMask | hdr::ZeroLine | hdr::Function | hdr::English);
    h[hdr::OptionFlags] &= uint8_t(hdr::Show3D | hdr::ShowFilters | hdr::ShowParameters);
    h[hdr::AmplitudeFlags] &=
        uint8_t(hdr::Inversion | hdr::Highlight | hdr::ProcessAll | hdr::Background);
    h[hdr::CoordFlags] &= uint8_t(hdr::Geographic | hdr::South | hdr::West);
    s.header.set16(hdr::FrameCount, uint32_t(s.frameCount));
    s.header.set16(hdr::VelocityCode, s.velocityCode);
    s.header.set24(hdr::Hmax, s.Hmax);
    s.header.value[hdr::FormatVersion] = CURRENT_FORMAT_VERSION;
}

bool writeWorkFile(ByteSink& sink, ProfileStore& s, Interaction& ui) {
    refreshHeaderForSave(s);
    // Frames are gathered into blocks of about a megabyte per write.
    constexpr int perBlock = 1680;
    std::vector<uint8_t> block(std::size_t(perBlock) * CELLS_PER_FRAME);
    std::memcpy(block.data(), s.header.value.data(), HEADER_CELLS);
    std::memset(block.data() + HEADER_CELLS, 0, 512 - HEADER_CELLS);
    if (!sink.write(block.data(), 512)) return false;
    const int total = s.frameCount;
    ui.progress(0, total);
    for (int i = 0; i < total;) {
        const int n = std::min(perBlock, total - i);
        for (int r = 0; r < n; ++r)
            std::memcpy(block.data() + std::size_t(r) * CELLS_PER_FRAME,
                        s.frame(i + r).value.data(), CELLS_PER_FRAME);
        if (!sink.write(block.data(), std::size_t(n) * CELLS_PER_FRAME)) return false;
        i += n;
        ui.progress(i, total);
    }
    return true;
}

} // namespace tesk
