#include "store/profile_store.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

// Start values of the layer colours (blue, green, red), entry 0 = no boundaries.
constexpr std::array<uint8_t, 27> START_LAYER_COLOURS = {0,  0, 0,   0,   140, 200, 130, 130, 30,
                                                         80, 0, 160, 120, 0,   0,   0,   80,  80,
                                                         0,  0, 96,  0,   0,   0,   0,   0,   0};

void putLE(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

} // namespace

double permittivityFor(uint16_t velocityCode) {
    if (velocityCode == 0) return 0.0;
    const double c = velocityCode;
    return std::nearbyint(2.25e8 / (c * c)) / 100.0;
}

void SurveyHeader::setBitmapTemplate(int width, int height) {
    // Rows of a 24-bit BMP are padded to four bytes.
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    uint8_t b[54] = {};
    b[0] = 'B';
    b[1] = 'M';
    putLE(b + 2, 54 + imageBytes, 4);
    putLE(b + 10, 54, 4);
    putLE(b + 14, 40, 4);
    putLE(b + 18, uint32_t(width), 4);
    putLE(b + 22, uint32_t(height), 4);
    putLE(b + 26, 1, 2);
    putLE(b + 28, 24, 2);
    putLE(b + 30, 0, 4);
    putLE(b + 34, imageBytes, 4);
    putLE(b + 38, 11811, 4);
    putLE(b + 42, 11811, 4);
    // The template occupies the work bytes of cells 0..53; the header has
    // 128 cells, so it fits in the work plane directly.
    std::memcpy(work.data(), b, sizeof b);
}

void SurveyHeader::setStartValues() {
    value.fill(0);
    work.fill(0);
    const char magic[] = "TESK*";
    std::memcpy(value.data(), magic, 5);
    value[hdr::DeviceType] = 0;
    value[6] = '*';
    value[hdr::Day] = 1;
    value[hdr::Month] = 1;
    value[hdr::Year] = 18;
    value[hdr::Hour] = 0;
    value[hdr::Minute] = 0;
    value[hdr::FormatVersion] = CURRENT_FORMAT_VERSION;
    value[13] = 'Q';
    value[14] = 'X';
    value[15] = 'J';
    set16(hdr::FrameCount, 0);
    value[hdr::TimeRange] = 1;
    value[hdr::Step] = 1;
    value[hdr::VelocityIndex] = 1;
    set16(hdr::VelocityCode, 50);
    value[hdr::ColourMode] = 0;
    value[hdr::ViewFlags] = 0x42;
    value[hdr::OptionFlags] = 0x3C;
    value[hdr::AmplitudeFlags] = 0;
    value[hdr::AmplitudeForm] = 1;
    value[hdr::ZeroGainMode] = 0;
    value[hdr::ZeroLevel] = 128;
    value[hdr::GainLevel1] = 128;
    value[hdr::GainLevel2] = 128;
    set16(hdr::GainPos1, 0);
    set16(hdr::GainPos2, 511);
    value[hdr::GainRange] = 1;
    value[hdr::Antenna] = 10;
    value[hdr::DepthStep] = 5;
    value[hdr::LevelTable] = 2;
    value[hdr::CoordFlags] = 0;
    value[hdr::VolumeInterp] = 2;
    value[hdr::ProfileDistance] = 8;
    value[hdr::Section] = 1;
    value[55] = 0xC0;
    value[56] = 0x80;
    value[57] = 0x40;
    set24(hdr::Hmax, 0);
    std::copy(START_LAYER_COLOURS.begin(), START_LAYER_COLOURS.end(),
              value.begin() + hdr::LayerColour);
    setBitmapTemplate(1032, 528);
}

void SurveyHeader::resetLayerColours() {
    std::copy(START_LAYER_COLOURS.begin(), START_LAYER_COLOURS.end(),
              value.begin() + hdr::LayerColour);
}

ProfileStore::ProfileStore() : frames_(std::make_unique<FrameRecord[]>(FRAME_SLOTS)) {
    header.setStartValues();
    permittivity = permittivityFor(velocityCode);
}

void ProfileStore::reset() {
    std::memset(static_cast<void*>(frames_.get()), 0, sizeof(FrameRecord) * FRAME_SLOTS);
    header.setStartValues();
    frameCount = 0;
    viewStart = 0;
    deviceType = 0;
    velocityCode = 500;
    hodographVelocity = 500;
    permittivity = permittivityFor(velocityCode);
    Hmax = 0;
    fileKind = kind::None;
    stateFlags = state::Changed;
    openFileSize = 0;
    currentFileName.clear();
    openFileName.clear();
    coordFileName.clear();
    captionDate.clear();
    captionTime.clear();
}

void ProfileStore::clearForOpen(bool append) {
    FrameRecord* f = frames_.get();
    if (!append) {
        std::memset(static_cast<void*>(f), 0, sizeof(FrameRecord) * (CLEARED_ON_OPEN + 1));
        return;
    }
    for (int i = 0; i <= CLEARED_ON_OPEN; ++i) f[i].work.fill(0);
}

void ProfileStore::setVelocity(uint16_t code) {
    velocityCode = code;
    header.set16(hdr::VelocityCode, code);
    permittivity = permittivityFor(code);
}

void ProfileStore::setHmax(uint32_t centimetres) {
    Hmax = centimetres & 0xFFFFFF;
    header.set24(hdr::Hmax, Hmax);
}

namespace {

bool anySample(const FrameRecord& f) {
    // OR the samples in 8-byte words; the compiler vectorises this loop.
    uint64_t acc = 0;
    const uint8_t* p = f.value.data();
    for (int i = 0; i < SAMPLES_PER_FRAME; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        acc |= w;
    }
    return acc != 0;
}

} // namespace

void ProfileStore::finishLoad() {
    if (frameCount > 63999) frameCount = MAX_LOADED_FRAME;
    if (frameCount < 0) frameCount = 0;
    FrameRecord* f = frames_.get();
    uint16_t k = 0;
    uint32_t hmax = Hmax;
    for (int i = 0; i <= frameCount; ++i) {
        FrameRecord& fr = f[i];
        if (anySample(fr)) {
            fr.value[cell::Status] |= status::InProfile;
            fr.set16(cell::IndexInProfile, k);
            ++k;
        } else {
            fr.value[cell::Status] = 0;
            k = 0;
        }
        if (fr.markerStatus() != 0) {
            // A marker recorded over several consecutive frames becomes one.
            int sum = 0;
            for (int j = i; j <= std::min(i + 3, MAX_FRAME_INDEX); ++j) {
                sum += f[j].markerStatus();
                f[j].value[cell::Status] &= uint8_t(~status::MarkerMask);
            }
            fr.value[cell::Status] |= uint8_t(std::min(sum, 3));
        }
        hmax = std::max(hmax, fr.reliefHeight());
    }
    if (hmax > Hmax) setHmax(hmax);

    int last = -1;
    for (int i = frameCount; i >= 0; --i) {
        if (f[i].inProfile()) {
            last = i;
            break;
        }
    }
    // Every survey ends with blank slots; an empty survey keeps 40 of them.
    // Surveys that reach the last slots are clamped so no loop passes 64000.
    const int rounded = last < 0 ? 40 : (last / 20) * 20 + 40;
    frameCount = std::min(rounded, MAX_FRAME_INDEX);
    header.set16(hdr::FrameCount, uint32_t(frameCount));
}

} // namespace tesk
