#pragma once
// Small accessors for the position, height and time fields of a frame, and
// the rounding and number forms the coordinate commands share. Positions are
// handled in units of 1e-7 degree (whole degrees x 10 000 000 + fraction),
// which keeps every stored value an exact integer in a double.

#include "store/profile_store.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace tesk::coords {

inline constexpr double FRACTION_UNITS = 10000000.0; // 1e-7 degree per fraction unit
inline constexpr int SECONDS_PER_DAY = 86400;

// Rounds half to even, as the recalculation and table formulas name it.
inline double roundHalfEven(double x) {
    return std::nearbyint(x);
}
inline int64_t roundToInt(double x) {
    return int64_t(std::nearbyint(x));
}

// Longitude and latitude of a frame in units of 1e-7 degree.
inline int64_t lonUnits(const FrameRecord& f) {
    return int64_t(f.value[cell::LonDegrees]) * 10000000 + f.get24(cell::LonFraction);
}
inline int64_t latUnits(const FrameRecord& f) {
    return int64_t(f.value[cell::LatDegrees]) * 10000000 + f.get24(cell::LatFraction);
}
inline bool lonZero(const FrameRecord& f) {
    return f.value[cell::LonDegrees] == 0 && f.get24(cell::LonFraction) == 0;
}
inline bool latZero(const FrameRecord& f) {
    return f.value[cell::LatDegrees] == 0 && f.get24(cell::LatFraction) == 0;
}
// Any of cells 568..575 non-zero.
inline bool hasGeoCells(const FrameRecord& f) {
    for (int c = cell::LonDegrees; c <= cell::LatFraction + 2; ++c)
        if (f.value[c]) return true;
    return false;
}

// Writes a position given in units of 1e-7 degree (clamped to 0..255.9999999).
void setLonUnits(FrameRecord& f, int64_t units);
void setLatUnits(FrameRecord& f, int64_t units);

inline int32_t ucsX(const FrameRecord& f) {
    return int32_t(f.get32(cell::UcsX));
}
inline int32_t ucsY(const FrameRecord& f) {
    return int32_t(f.get32(cell::UcsY));
}
inline void setUcs(FrameRecord& f, int64_t x, int64_t y) {
    f.set32(cell::UcsX, uint32_t(int32_t(x)));
    f.set32(cell::UcsY, uint32_t(int32_t(y)));
}

// Time of day of a frame in seconds; 0 when it carries no time.
inline int timeOfDay(const FrameRecord& f) {
    return f.value[cell::Hour] * 3600 + f.value[cell::Minute] * 60 + f.value[cell::Second];
}
inline bool carriesTime(const FrameRecord& f) {
    return f.value[cell::Hour] || f.value[cell::Minute] || f.value[cell::Second];
}
// Writes a time given in hundredths of a second since midnight (wrapped to one day).
void setTimeHundredths(FrameRecord& f, int64_t hundredths);

// The highest frame slot a survey-wide pass visits: frameCount, kept inside the store.
inline int lastSlot(const ProfileStore& s) {
    return s.frameCount < 0 ? 0 : (s.frameCount > MAX_FRAME_INDEX ? MAX_FRAME_INDEX : s.frameCount);
}

inline bool inProfile(const ProfileStore& s, int i) {
    return i >= 0 && i <= MAX_FRAME_INDEX && s.frame(i).inProfile();
}

// A number in the general floating-point form: the shortest text that reads
// back as the same double, with the given decimal separator.
std::string generalNumber(double v, char decimalSeparator = '.');

// "Hmax = " + centimetres / 100 in the general form + suffix (" m" or "m").
std::string hmaxCaption(uint32_t centimetres, const std::string& suffix = " m",
                        char decimalSeparator = '.');

} // namespace tesk::coords
