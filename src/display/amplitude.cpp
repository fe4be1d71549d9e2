#include "display/amplitude.h"

#include "store/settings_catalog.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace tesk {

namespace {

// Nearest integer, ties to even (the default floating-point rounding mode).
double roundHalfEven(double x) {
    return std::nearbyint(x);
}

// The zero/gain mapping of code a (not 0) under gain level `level` (modes 1
// and 2) or the zero level (mode 0).
uint8_t mapCode(const DisplaySettings& s, int a, int level) {
    if (a == 0) return 0;
    switch (s.zeroGainMode) {
    case gainMode::Gain1: {
        const double g = s.GainFactors[level];
        int code = a;
        if (code > 128) {
            const int v = int(roundHalfEven((code - 128) * g));
            code = v > 128 ? 255 : 127 + v;
        }
        if (code < 128) {
            const int w = int(roundHalfEven((128 - code) * g));
            code = w > 127 ? 1 : 128 - w;
        }
        return uint8_t(code);
    }
    case gainMode::Gain2: {
        int code = a;
        if (code > 128) {
            if (level > 128)
                code += int(std::trunc(double(255 - code) / 128.0 * (level - 128)));
            else
                code -= int(std::trunc(double(code - 128) / 128.0 * (128 - level)));
        }
        if (code < 128) {
            const int b = code;
            if (level > 128)
                code = b - int(std::trunc(double(b) / 128.0 * (level - 128)));
            else
                code = b + int(std::trunc(double(128 - b) / 128.0 * (128 - level)));
        }
        return uint8_t(code);
    }
    default: {
        const int z = s.ZeroLevel;
        if (a <= z) return uint8_t(std::trunc(128.0 * a / z));
        return uint8_t(127 + int(std::trunc(128.0 * (a - z) / (255 - z))));
    }
    }
}

uint8_t clampLevel(int32_t v) {
    return uint8_t(std::clamp<int32_t>(v, 0, 255));
}

} // namespace

DisplaySettings::DisplaySettings() {
    GainCurve.fill(128);
    BuildGainFactors(*this);
    LevelTable = storedLevelTable(0);
    LevelTableCentre = storedLevelTableCentre(0);
}

// --- level tables --------------------------------------------------------------

void selectLevelTable(DisplaySettings& s, int index) {
    if (index < 0 || index >= LEVEL_TABLE_COUNT) index = 0;
    s.levelTableIndex = index;
    s.LevelTable = storedLevelTable(index);
    s.LevelTableCentre = storedLevelTableCentre(index);
}

// The tables strictly increase, so a binary search finds the same code as a
// step-by-step scan: the last entry not above v, the first entry not below v.
uint8_t levelTableInverse(const LevelTableValues& table, double v) {
    const auto it = std::upper_bound(table.begin(), table.end(), v,
                                     [](double x, uint32_t t) { return x < double(t); });
    if (it == table.begin()) return 0;
    return uint8_t(it - table.begin() - 1);
}

uint8_t levelTableUpInverse(const LevelTableValues& table, double v) {
    const auto it = std::lower_bound(table.begin(), table.end(), v,
                                     [](uint32_t t, double x) { return double(t) < x; });
    if (it == table.end()) return 255;
    return uint8_t(it - table.begin());
}

// --- gain ------------------------------------------------------------------------

void BuildGainCurve(DisplaySettings& s) {
    const int32_t l1 = s.GainLevel1;
    const int32_t l2 = s.GainLevel2;
    const int32_t p1 = s.GainPos1;
    const int32_t p2 = s.GainPos2;
    double slope = 0.0;
    if (p2 != p1) slope = std::fabs(double(l2 - l1) / double(p2 - p1));
    for (int i = 0; i < GAIN_CURVE_SIZE; ++i) {
        int32_t level = l1;
        if (i <= p1) level = l1;
        if (p1 < i && i < p2) {
            const double j = i - p1; // interior positions count from 1
            level =
                int32_t(l2 > l1 ? roundHalfEven(l1 + j * slope) : roundHalfEven(l1 - j * slope));
        }
        if (i >= p2) level = l2; // also wins over the first test when the positions are reversed
        s.GainCurve[i] = clampLevel(level);
    }
}

void BuildGainFactors(DisplaySettings& s) {
    const double range = s.GainRange;
    const double x = s.GainRange == 1 ? 0.5 : 0.5 / (range - 1.0);
    for (int i = 0; i < 128; ++i) s.GainFactors[i] = x + (1.0 - x) / 128.0 * i;
    for (int i = 128; i < 256; ++i) s.GainFactors[i] = 1.0 + (i - 128) * range / 64.0;
}

uint8_t zeroGainCode(const DisplaySettings& s, uint8_t a, int sample) {
    return mapCode(s, a, s.GainCurve[std::clamp(sample, 0, GAIN_CURVE_SIZE - 1)]);
}

void ZeroGain(DisplayRaster& raster, const DisplaySettings& s) {
    // The mapping depends only on the code and the column's gain level, so
    // each level in use gets one 256-entry table, built on first use.
    auto tables = std::make_unique<std::array<std::array<uint8_t, 256>, 256>>();
    std::array<bool, 256> built{};
    std::array<const uint8_t*, DisplayRaster::DISPLAY_COLUMNS> columnTable{};
    for (int c = 0; c < DisplayRaster::DISPLAY_COLUMNS; ++c) {
        const int level = s.zeroGainMode == gainMode::ZeroLevelMode ? 0 : s.GainCurve[c];
        auto& t = (*tables)[level];
        if (!built[level]) {
            for (int a = 0; a < 256; ++a) t[a] = mapCode(s, a, level);
            built[level] = true;
        }
        columnTable[c] = t.data();
    }
    const int plane = raster.activePlane;
    for (int r = DisplayRaster::FIRST_VIEW_ROW;
         r < DisplayRaster::FIRST_VIEW_ROW + DisplayRaster::VIEW_ROWS; ++r) {
        uint8_t* row = raster.row(plane, r);
        for (int c = 0; c < DisplayRaster::DISPLAY_COLUMNS; ++c) row[c] = columnTable[c][row[c]];
    }
}

bool zeroGainNeeded(const DisplaySettings& s) {
    if (s.zeroGainMode == gainMode::ZeroLevelMode) return s.ZeroLevel != 128;
    return s.GainLevel1 != 128 || s.GainLevel2 != 128 || s.GainPos1 != 0 || s.GainPos2 != 511;
}

bool zeroGainNeededForTextExport(const DisplaySettings& s) {
    if (s.zeroGainMode == gainMode::ZeroLevelMode) return s.ZeroLevel != 128;
    return s.GainLevel1 != 128 && s.GainLevel2 != 128 && s.GainPos1 != 0 && s.GainPos2 != 511;
}

// --- zero/gain buttons -------------------------------------------------------------

void stepZeroGainDown(DisplaySettings& s, bool leftCtrl) {
    if (s.zeroGainMode == gainMode::ZeroLevelMode) {
        if (s.ZeroLevel > 1) --s.ZeroLevel;
        return;
    }
    if (leftCtrl && s.GainRange > 1) {
        s.GainRange = uint8_t(s.GainRange - 2);
        BuildGainFactors(s);
        return;
    }
    if (s.GainLevel1 > 1) --s.GainLevel1;
    if (s.GainLevel2 > 1) --s.GainLevel2;
    BuildGainCurve(s);
}

void stepZeroGainUp(DisplaySettings& s, bool leftCtrl) {
    if (s.zeroGainMode == gainMode::ZeroLevelMode) {
        if (s.ZeroLevel < 255) ++s.ZeroLevel;
        return;
    }
    if (leftCtrl && s.GainRange < 33) {
        s.GainRange = uint8_t(s.GainRange + 2);
        BuildGainFactors(s);
        return;
    }
    if (s.GainLevel1 < 255) ++s.GainLevel1;
    if (s.GainLevel2 < 255) ++s.GainLevel2;
    BuildGainCurve(s);
}

void resetZeroGain(DisplaySettings& s, bool leftCtrl) {
    if (leftCtrl) {
        s.GainRange = 1;
        BuildGainFactors(s);
        return;
    }
    if (s.zeroGainMode == gainMode::ZeroLevelMode) {
        s.ZeroLevel = 128;
        return;
    }
    s.GainLevel1 = 128;
    s.GainLevel2 = 128;
    s.GainPos1 = 0;
    s.GainPos2 = 511;
    s.GainCurve.fill(128);
}

void stepChosenCodeDown(DisplaySettings& s) {
    if (s.chosenCode > 1) --s.chosenCode;
}

void stepChosenCodeUp(DisplaySettings& s) {
    if (s.chosenCode < 255) ++s.chosenCode;
}

ZeroGainCaptions zeroGainModeCaptions(const DisplaySettings& s) {
    if (s.zeroGainMode == gainMode::ZeroLevelMode)
        return {"<< ", std::to_string(int(s.ZeroLevel) - 128), " >>"};
    // Equal levels: GainLevel2 stands on the left.
    const int32_t left = s.GainLevel1 < s.GainLevel2 ? s.GainLevel1 : s.GainLevel2;
    const int32_t right = s.GainLevel1 < s.GainLevel2 ? s.GainLevel2 : s.GainLevel1;
    return {"<< " + std::to_string(left - 128), std::to_string(int(s.GainRange) - 1),
            std::to_string(right - 128) + " >>"};
}

// --- survey header -----------------------------------------------------------------

void loadDisplaySettings(const SurveyHeader& h, DisplaySettings& s) {
    auto item = [&](int cell, int count, int fallback) {
        const int v = h.get8(cell);
        return v < count ? v : fallback;
    };
    s.colourMode = item(hdr::ColourMode, items::ColourMode, 0);
    s.amplitudeForm = item(hdr::AmplitudeForm, items::AmplitudeForm, form::Amplitude);
    s.zeroGainMode = item(hdr::ZeroGainMode, items::ZeroGainMode, gainMode::ZeroLevelMode);
    const uint8_t flags = h.get8(hdr::AmplitudeFlags);
    s.inversion = flags & hdr::Inversion;
    s.background = flags & hdr::Background;
    s.chosenAmplitude = false;

    s.ZeroLevel = h.get8(hdr::ZeroLevel);
    const uint8_t l1 = h.get8(hdr::GainLevel1);
    const uint8_t l2 = h.get8(hdr::GainLevel2);
    s.GainLevel1 = l1 == 0 ? 64 : l1;
    s.GainLevel2 = l2 == 0 ? 64 : l2;
    const uint16_t p1 = h.get16(hdr::GainPos1);
    const uint16_t p2 = h.get16(hdr::GainPos2);
    s.GainPos1 = p1 > 511 ? 0 : p1;
    s.GainPos2 = (p2 == 0 || p2 > 511) ? 511 : p2;
    const uint8_t range = h.get8(hdr::GainRange);
    s.GainRange = (range == 0 || range > 33) ? 1 : range;

    BuildGainFactors(s);
    BuildGainCurve(s);
    selectLevelTable(s, item(hdr::LevelTable, items::LevelTable, 0));
}

void storeDisplaySettings(const DisplaySettings& s, SurveyHeader& h) {
    h.set8(hdr::ColourMode, uint8_t(s.colourMode));
    h.set8(hdr::AmplitudeForm, uint8_t(s.amplitudeForm));
    h.set8(hdr::ZeroGainMode, uint8_t(s.zeroGainMode));
    h.set8(hdr::LevelTable, uint8_t(s.levelTableIndex));
    uint8_t flags = h.get8(hdr::AmplitudeFlags);
    setBit(flags, hdr::Inversion, s.inversion);
    setBit(flags, hdr::Highlight, s.chosenAmplitude);
    setBit(flags, hdr::Background, s.background);
    h.set8(hdr::AmplitudeFlags, flags);
    storeZeroGainSettings(s, h);
}

void storeZeroGainSettings(const DisplaySettings& s, SurveyHeader& h) {
    h.set8(hdr::ZeroLevel, s.ZeroLevel);
    h.set8(hdr::GainLevel1, uint8_t(s.GainLevel1));
    h.set8(hdr::GainLevel2, uint8_t(s.GainLevel2));
    h.set16(hdr::GainPos1, uint32_t(s.GainPos1));
    h.set16(hdr::GainPos2, uint32_t(s.GainPos2));
    h.set8(hdr::GainRange, s.GainRange);
}

} // namespace tesk
