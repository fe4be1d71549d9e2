#include "coordinates/frame_fields.h"

#include <algorithm>
#include <charconv>

namespace tesk::coords {

namespace {
void setUnits(FrameRecord& f, int degreesCell, int fractionCell, int64_t units) {
    units = std::clamp<int64_t>(units, 0, 255LL * 10000000 + 9999999);
    f.value[degreesCell] = uint8_t(units / 10000000);
    f.set24(fractionCell, uint32_t(units % 10000000));
}
} // namespace

void setLonUnits(FrameRecord& f, int64_t units) {
    setUnits(f, cell::LonDegrees, cell::LonFraction, units);
}
void setLatUnits(FrameRecord& f, int64_t units) {
    setUnits(f, cell::LatDegrees, cell::LatFraction, units);
}

void setTimeHundredths(FrameRecord& f, int64_t n) {
    const int64_t day = int64_t(SECONDS_PER_DAY) * 100;
    n %= day;
    if (n < 0) n += day;
    f.value[cell::Hour] = uint8_t(n / 360000);
    f.value[cell::Minute] = uint8_t(n / 6000 % 60);
    f.value[cell::Second] = uint8_t(n / 100 % 60);
    f.value[cell::Hundredths] = uint8_t(n % 100);
}

std::string generalNumber(double v, char sep) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (sep != '.') std::replace(s.begin(), s.end(), '.', sep);
    return s;
}

std::string hmaxCaption(uint32_t centimetres, const std::string& suffix, char sep) {
    return "Hmax = " + generalNumber(centimetres / 100.0, sep) + suffix;
}

} // namespace tesk::coords
