#include "store/options_file.h"

#include "store/settings_catalog.h"

#include <algorithm>
#include <cstring>

namespace tesk {

namespace {

constexpr int PROGRESS_STEPS = 42;
constexpr int TABLE_B = OPTIONS_TABLE_OFFSET + 3 * 256;
constexpr int TABLE_C = TABLE_B + 3 * 256;
constexpr int TABLE_D = TABLE_C + 3 * 256;
static_assert(TABLE_D + 3 * 1024 == OPTIONS_FILE_SIZE);

using Bytes = std::array<uint8_t, OPTIONS_FILE_SIZE>;

uint8_t bit(bool on, uint8_t b) {
    return on ? b : 0;
}

void put16(Bytes& b, int at, uint16_t v) {
    b[std::size_t(at)] = uint8_t(v >> 8);
    b[std::size_t(at + 1)] = uint8_t(v);
}

uint16_t get16(const Bytes& b, int at) {
    return uint16_t((b[std::size_t(at)] << 8) | b[std::size_t(at + 1)]);
}

template <std::size_t N> void putTable(Bytes& b, int at, const std::array<uint32_t, N>& t) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t p = std::size_t(at) + 3 * i;
        b[p] = uint8_t(t[i]);           // red
        b[p + 1] = uint8_t(t[i] >> 8);  // green
        b[p + 2] = uint8_t(t[i] >> 16); // blue
    }
}

template <std::size_t N> void getTable(const Bytes& b, int at, std::array<uint32_t, N>& t) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t p = std::size_t(at) + 3 * i;
        t[i] = uint32_t(b[p]) | (uint32_t(b[p + 1]) << 8) | (uint32_t(b[p + 2]) << 16);
    }
}

// Every value of the layout from the 5520 bytes.
OptionsFileSettings decode(const Bytes& b) {
    OptionsFileSettings o;
    o.english = b[8] & 0x01;
    o.grid = b[8] & 0x02;
    o.zeroLine = b[8] & 0x04;
    o.showParameters = b[9] & 0x02;
    o.showFilters = b[9] & 0x04;
    o.show3D = b[9] & 0x08;
    o.function = b[9] & 0x40;
    o.velocityItem = b[16];
    o.velocityCode = get16(b, 17);
    o.timeRangeItem = b[19];
    o.stepItem = b[20];
    o.antennaItem = b[21];
    o.depthStepItem = b[22];
    o.viewStepItem = b[23];
    for (std::size_t i = 0; i < 4; ++i) {
        o.filter1[i] = b[32 + i];
        o.filter2[i] = b[36 + i];
    }
    o.colourModeItem = b[40];
    o.levelTableItem = b[41];
    o.amplitudeFormItem = b[42];
    o.zeroGainModeItem = b[43];
    o.inversion = b[44] & 0x01;
    o.chosenAmplitude = b[44] & 0x02;
    o.background = b[44] & 0x04;
    o.ZeroLevel = b[48];
    o.GainRange = b[49];
    o.GainLevel1 = b[50];
    o.GainLevel2 = b[51];
    o.GainPos1 = get16(b, 52);
    o.GainPos2 = get16(b, 54);
    o.processAll = b[64] & 0x01;
    o.volumeInterpItem = b[65];
    o.profileDistanceItem = b[66];
    o.sectionItem = b[67];
    for (std::size_t i = 0; i < 3; ++i) {
        o.addition[i] = b[76 + i];
        o.layerItems[i] = b[81 + i];
        o.colourComponents[i] = b[140 + i];
    }
    for (std::size_t i = 0; i < o.layerChecks.size(); ++i) o.layerChecks[i] = (b[80] >> i) & 1;
    o.singleReading = b[96] & 0x01;
    o.startDelayItem = b[97];
    o.samplingModeItem = b[98];
    o.channelItem = b[99];
    o.channelItemAgain = b[100];
    std::copy(b.begin() + 112, b.begin() + 139, o.layerColours.begin());
    o.chosenCode = b[143];
    getTable(b, OPTIONS_TABLE_OFFSET, o.tableA);
    getTable(b, TABLE_B, o.tableB);
    getTable(b, TABLE_C, o.tableC);
    getTable(b, TABLE_D, o.tableD);
    return o;
}

} // namespace

OptionsFileSettings optionsFromStore(const ProfileStore& s, const DeviceOptions& device) {
    const auto& h = s.header.value;
    OptionsFileSettings o;
    o.english = h[hdr::ViewFlags] & hdr::English;
    o.zeroLine = h[hdr::ViewFlags] & hdr::ZeroLine;
    o.function = h[hdr::ViewFlags] & hdr::Function;
    o.viewStepItem = h[hdr::ViewFlags] & hdr::ViewStepMask;
    o.showParameters = h[hdr::OptionFlags] & hdr::ShowParameters;
    o.showFilters = h[hdr::OptionFlags] & hdr::ShowFilters;
    o.show3D = h[hdr::OptionFlags] & hdr::Show3D;
    o.velocityItem = h[hdr::VelocityIndex];
    o.velocityCode = s.velocityCode;
    o.timeRangeItem = h[hdr::TimeRange];
    o.stepItem = h[hdr::Step];
    o.antennaItem = h[hdr::Antenna];
    o.depthStepItem = h[hdr::DepthStep];
    for (std::size_t i = 0; i < 4; ++i) {
        o.filter1[i] = h[hdr::Filter1Kind + i];
        o.filter2[i] = h[hdr::Filter2Kind + i];
    }
    o.colourModeItem = h[hdr::ColourMode];
    o.levelTableItem = h[hdr::LevelTable];
    o.amplitudeFormItem = h[hdr::AmplitudeForm];
    o.zeroGainModeItem = h[hdr::ZeroGainMode];
    o.inversion = h[hdr::AmplitudeFlags] & hdr::Inversion;
    o.chosenAmplitude = h[hdr::AmplitudeFlags] & hdr::Highlight;
    o.background = h[hdr::AmplitudeFlags] & hdr::Background;
    o.processAll = h[hdr::AmplitudeFlags] & hdr::ProcessAll;
    o.ZeroLevel = h[hdr::ZeroLevel];
    o.GainRange = h[hdr::GainRange];
    o.GainLevel1 = h[hdr::GainLevel1];
    o.GainLevel2 = h[hdr::GainLevel2];
    o.GainPos1 = s.header.get16(hdr::GainPos1);
    o.GainPos2 = s.header.get16(hdr::GainPos2);
    o.volumeInterpItem = h[hdr::VolumeInterp];
    o.profileDistanceItem = h[hdr::ProfileDistance];
    o.sectionItem = h[hdr::Section];
    std::copy(h.begin() + hdr::LayerColour, h.begin() + hdr::LayerColour + 27,
              o.layerColours.begin());
    o.singleReading = device.singleReading;
    // The file has one byte for the delay item: items above 255 keep their low byte.
    o.startDelayItem = uint8_t(device.startDelayItem);
    o.samplingModeItem = uint8_t(device.samplingModeItem);
    o.channelItem = uint8_t(device.channelItem);
    o.channelItemAgain = uint8_t(device.channelItem);
    return o;
}

std::array<uint8_t, OPTIONS_FILE_SIZE> encodeOptionsFile(const OptionsFileSettings& o) {
    Bytes b{};
    const uint8_t lead[16] = {'T', 'E', 'S', 'K', 42, OPTIONS_FILE_VERSION, 42, 42, 0, 0, 0,
                              0,   42,  0,   0,   0};
    std::memcpy(b.data(), lead, sizeof lead);
    b[8] = uint8_t(bit(o.english, 0x01) | bit(o.grid, 0x02) | bit(o.zeroLine, 0x04));
    b[9] = uint8_t(bit(o.showParameters, 0x02) | bit(o.showFilters, 0x04) | bit(o.show3D, 0x08) |
                   bit(o.function, 0x40));
    b[16] = o.velocityItem;
    put16(b, 17, o.velocityCode);
    b[19] = o.timeRangeItem;
    b[20] = o.stepItem;
    b[21] = o.antennaItem;
    b[22] = o.depthStepItem;
    b[23] = o.viewStepItem;
    b[24] = 42;
    b[28] = 42;
    for (std::size_t i = 0; i < 4; ++i) {
        b[32 + i] = o.filter1[i];
        b[36 + i] = o.filter2[i];
    }
    b[40] = o.colourModeItem;
    b[41] = o.levelTableItem;
    b[42] = o.amplitudeFormItem;
    b[43] = o.zeroGainModeItem;
    b[44] =
        uint8_t(bit(o.inversion, 0x01) | bit(o.chosenAmplitude, 0x02) | bit(o.background, 0x04));
    b[48] = o.ZeroLevel;
    b[49] = o.GainRange;
    b[50] = o.GainLevel1;
    b[51] = o.GainLevel2;
    put16(b, 52, o.GainPos1);
    put16(b, 54, o.GainPos2);
    b[56] = 42;
    b[60] = 42;
    b[64] = bit(o.processAll, 0x01);
    b[65] = o.volumeInterpItem;
    b[66] = o.profileDistanceItem;
    b[67] = o.sectionItem;
    uint8_t checks = 0;
    for (std::size_t i = 0; i < o.layerChecks.size(); ++i)
        checks |= bit(o.layerChecks[i], uint8_t(1u << i));
    b[80] = checks;
    for (std::size_t i = 0; i < 3; ++i) {
        b[76 + i] = o.addition[i];
        b[81 + i] = o.layerItems[i];
        b[140 + i] = o.colourComponents[i];
    }
    b[88] = 42;
    b[92] = 42;
    b[96] = bit(o.singleReading, 0x01);
    b[97] = o.startDelayItem;
    b[98] = o.samplingModeItem;
    b[99] = o.channelItem;
    b[100] = o.channelItem; // the channel item once more
    for (int i = 104; i < 112; ++i) b[std::size_t(i)] = 42;
    std::copy(o.layerColours.begin(), o.layerColours.end(), b.begin() + 112);
    b[139] = 42;
    b[143] = o.chosenCode;
    putTable(b, OPTIONS_TABLE_OFFSET, o.tableA);
    putTable(b, TABLE_B, o.tableB);
    putTable(b, TABLE_C, o.tableC);
    putTable(b, TABLE_D, o.tableD);
    return b;
}

bool writeOptionsFile(ByteSink& sink, const OptionsFileSettings& o, Interaction& ui) {
    const Bytes b = encodeOptionsFile(o);
    // Blocks of the layout and the progress shown after each.
    struct Step {
        int end;
        int progress;
    };
    static constexpr Step steps[] = {{16, 1}, {32, 2},  {64, 3},  {80, 4},
                                     {96, 5}, {112, 6}, {144, 8}, {OPTIONS_FILE_SIZE, 40}};
    ui.progress(0, PROGRESS_STEPS);
    int start = 0;
    for (const Step& st : steps) {
        if (!sink.write(b.data() + start, std::size_t(st.end - start))) return false;
        start = st.end;
        ui.progress(st.progress, PROGRESS_STEPS);
    }
    return true;
}

OptionsFileRead readOptionsFile(ByteSource& src, ProfileStore& s) {
    OptionsFileRead r;
    // Bytes the file does not hold keep the encoding of the defaults, so the
    // values of a file cut short read as defaults past the cut.
    Bytes b = encodeOptionsFile(OptionsFileSettings{});
    const std::size_t got = src.read(0, b.data(), b.size());
    const bool fault = src.failed();
    auto fail = [&] {
        r.status = fault ? OptionsReadStatus::ReadFault : OptionsReadStatus::CutShort;
    };
    if (got < 6) {
        fail();
        return r;
    }
    r.version = b[5];
    if (r.version != OPTIONS_FILE_VERSION) {
        r.status = OptionsReadStatus::UnknownVersion;
        return r;
    }
    r.values = decode(b);
    const OptionsFileSettings& v = r.values;
    auto& h = s.header.value;
    // A field is applied when the file holds all its bytes and its value is
    // one the setting can take.
    auto apply = [&](OptionsField f, int offset, int size, bool valid, auto&& set) {
        if (std::size_t(offset + size) > got || !valid) return;
        set();
        r.appliedFields |= 1u << int(f);
    };
    for (int i = 0; i < 4; ++i) {
        const auto k = std::size_t(i);
        const int paramCount = i == 0 ? items::FilterKind : items::FilterParam;
        apply(OptionsField(int(OptionsField::Filter1Kind) + i), 32 + i, 1,
              v.filter1[k] < paramCount, [&] { h[hdr::Filter1Kind + k] = v.filter1[k]; });
    }
    for (int i = 0; i < 4; ++i) {
        const auto k = std::size_t(i);
        const int paramCount = i == 0 ? items::FilterKind : items::FilterParam;
        apply(OptionsField(int(OptionsField::Filter2Kind) + i), 36 + i, 1,
              v.filter2[k] < paramCount, [&] { h[hdr::Filter2Kind + k] = v.filter2[k]; });
    }
    apply(OptionsField::ColourMode, 40, 1, v.colourModeItem < items::ColourMode,
          [&] { h[hdr::ColourMode] = v.colourModeItem; });
    apply(OptionsField::LevelTable, 41, 1, v.levelTableItem < items::LevelTable,
          [&] { h[hdr::LevelTable] = v.levelTableItem; });
    apply(OptionsField::AmplitudeForm, 42, 1, v.amplitudeFormItem < items::AmplitudeForm,
          [&] { h[hdr::AmplitudeForm] = v.amplitudeFormItem; });
    apply(OptionsField::ZeroGainMode, 43, 1, v.zeroGainModeItem < items::ZeroGainMode,
          [&] { h[hdr::ZeroGainMode] = v.zeroGainModeItem; });
    apply(OptionsField::AmplitudeFlags, 44, 1, true, [&] {
        setBit(h[hdr::AmplitudeFlags], hdr::Inversion, v.inversion);
        setBit(h[hdr::AmplitudeFlags], hdr::Highlight, v.chosenAmplitude);
    });
    apply(OptionsField::ZeroLevel, 48, 1, true, [&] { h[hdr::ZeroLevel] = v.ZeroLevel; });
    apply(OptionsField::GainRange, 49, 1, v.GainRange >= 1 && v.GainRange <= 33,
          [&] { h[hdr::GainRange] = v.GainRange; });
    apply(OptionsField::GainLevel1, 50, 1, v.GainLevel1 >= 1,
          [&] { h[hdr::GainLevel1] = v.GainLevel1; });
    apply(OptionsField::GainLevel2, 51, 1, v.GainLevel2 >= 1,
          [&] { h[hdr::GainLevel2] = v.GainLevel2; });
    apply(OptionsField::GainPos1, 52, 2, v.GainPos1 <= 511,
          [&] { s.header.set16(hdr::GainPos1, v.GainPos1); });
    apply(OptionsField::GainPos2, 54, 2, v.GainPos2 <= 511,
          [&] { s.header.set16(hdr::GainPos2, v.GainPos2); });
    apply(OptionsField::LayerColours, 112, 27, true, [&] {
        std::copy(v.layerColours.begin(), v.layerColours.end(), h.begin() + hdr::LayerColour);
    });
    for (int i = 0; i < 3; ++i)
        apply(OptionsField(int(OptionsField::ColourComponent32) + i), 140 + i, 1, true, [] {});
    const int tableStart[4] = {OPTIONS_TABLE_OFFSET, TABLE_B, TABLE_C, TABLE_D};
    const int tableSize[4] = {256, 256, 256, 1024};
    for (int t = 0; t < 4; ++t) {
        const int64_t bytes = int64_t(got) - tableStart[t];
        r.tableEntries[std::size_t(t)] =
            int(std::clamp<int64_t>(bytes / 3, 0, int64_t(tableSize[t])));
        if (r.tableEntries[std::size_t(t)] == tableSize[t])
            r.appliedFields |= 1u << (int(OptionsField::ColourTableA) + t);
    }
    if (got < b.size()) fail();
    return r;
}

} // namespace tesk
