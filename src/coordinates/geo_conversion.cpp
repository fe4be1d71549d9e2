// Geographic positions to the local rectangular system (UCS) and the track
// statistics that end every recalculation.
//
// The conversion measures, for every frame, the straight-line distance in an
// earth-centred frame from the survey's corner point to the point at the
// frame's longitude on the corner's parallel (UCS X) and to the point at the
// frame's latitude on the corner's meridian (UCS Y). The constants are the
// system's own: degrees to radians by 0.017453, a = 6378137 m and the
// eccentricity term 0.0067394967.

#include "coordinates/frame_fields.h"
#include "coordinates/messages.h"
#include "coordinates/recalc.h"

#include <algorithm>
#include <cmath>

namespace tesk::coords {

namespace {
constexpr double DEG_TO_RAD = 0.017453;
constexpr double EQUATORIAL_RADIUS = 6378137.0;
constexpr double ECCENTRICITY_TERM = 0.0067394967;
constexpr double DISTANCE_LIMIT_M = 99999;
constexpr double STEP_LIMIT_CM = 10000;
constexpr uint32_t HEIGHT_STEP_LIMIT_CM = 1000;
constexpr double MIN_SEARCH_START = 16777215.0;

double distance(const Geocentric& a, const Geocentric& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}
} // namespace

Geocentric geocentric(double latDegrees, double lonDegrees, double H) {
    const double phi = latDegrees * DEG_TO_RAD;
    const double lambda = lonDegrees * DEG_TO_RAD;
    const double sinPhi = std::sin(phi);
    const double N = EQUATORIAL_RADIUS / std::sqrt(1 - ECCENTRICITY_TERM * sinPhi * sinPhi);
    return Geocentric{(N + H) * std::cos(phi) * std::cos(lambda),
                      (N + H) * std::cos(phi) * std::sin(lambda),
                      ((1 - ECCENTRICITY_TERM) * N + H) * sinPhi};
}

bool convertGeographicToUcs(ProfileStore& s, Interaction& ui) {
    const int last = lastSlot(s);
    double minLon = MIN_SEARCH_START, minLat = MIN_SEARCH_START, maxLon = 0, maxLat = 0;
    uint32_t maxHeight = 0;
    for (int i = 0; i <= last; ++i) {
        const FrameRecord& f = s.frame(i);
        if (!f.inProfile()) continue;
        const double lon = double(lonUnits(f)) / FRACTION_UNITS;
        const double lat = double(latUnits(f)) / FRACTION_UNITS;
        if (lon > 0) minLon = std::min(minLon, lon);
        if (lat > 0) minLat = std::min(minLat, lat);
        maxLon = std::max(maxLon, lon);
        maxLat = std::max(maxLat, lat);
        maxHeight = std::max(maxHeight, f.reliefHeight());
    }
    // A survey without any value keeps the corner at zero rather than at the
    // search start.
    if (minLon == MIN_SEARCH_START) minLon = 0;
    if (minLat == MIN_SEARCH_START) minLat = 0;
    const uint8_t flags = s.header.value[hdr::CoordFlags];
    const double lat0 = (flags & hdr::South) ? maxLat : minLat;
    const double lon0 = (flags & hdr::West) ? maxLon : minLon;
    const bool originSet = lat0 != 0 || lon0 != 0;
    const double H = maxHeight / 200.0;
    const Geocentric p0 = geocentric(lat0, lon0, H);
    for (int i = 0; i <= last; ++i) {
        FrameRecord& f = s.frame(i);
        if (!f.inProfile()) continue;
        const bool lonSet = !lonZero(f), latSet = !latZero(f);
        // A frame without a longitude (or latitude) has no distance to
        // measure: the corner's own meridian (or parallel) would be taken as
        // its position.
        if (!originSet || (!lonSet && !latSet)) continue;
        const double lon = double(lonUnits(f)) / FRACTION_UNITS;
        const double lat = double(latUnits(f)) / FRACTION_UNITS;
        if (lonSet) {
            const double dX = distance(geocentric(lat0, lon, H), p0);
            if (dX > DISTANCE_LIMIT_M &&
                ui.show(coordmsg::originDistanceLongitude(i)) != Answer::Yes)
                return false;
            f.set32(cell::UcsX, uint32_t(roundToInt(dX * 100)));
        }
        if (lonSet && latSet) {
            const double dY = distance(geocentric(lat, lon0, H), p0);
            if (dY > DISTANCE_LIMIT_M &&
                ui.show(coordmsg::originDistanceLatitude(i)) != Answer::Yes)
                return false;
            f.set32(cell::UcsY, uint32_t(roundToInt(dY * 100)));
        }
    }
    return true;
}

TrackStatistics trackStatistics(ProfileStore& s, Interaction& ui) {
    TrackStatistics t;
    const int last = lastSlot(s);
    bool open = false;
    int64_t prevX = 0, prevY = 0;
    uint32_t prevH = 0;
    int zeroRun = 0, steps = 0;
    bool askedZero = false, askedStep = false, askedHeight = false;
    int64_t stepSum = 0; // 1e-4 cm
    auto closeProfile = [&] {
        if (open && steps > 0) {
            const double mean = double(stepSum) / 10000.0 / steps;
            t.surveyMean = t.surveyMean == 0 ? mean : (t.surveyMean + mean) / 2;
        }
        open = false;
    };
    for (int i = 0; i <= last; ++i) {
        const FrameRecord& f = s.frame(i);
        if (!f.inProfile()) {
            closeProfile();
            continue;
        }
        const int64_t x = ucsX(f), y = ucsY(f);
        const uint32_t h = f.reliefHeight();
        if (h > t.maxHeight) {
            t.maxHeight = h;
            t.maxHeightFrame = i;
        }
        if (!open) {
            open = true;
            steps = 0;
            stepSum = 0;
            askedZero = askedStep = askedHeight = false;
            zeroRun = (x == 0 && y == 0) ? 1 : 0;
        } else {
            ++steps;
            if (x == 0 && y == 0) {
                if (zeroRun >= 7 && !askedZero) {
                    askedZero = true;
                    if (ui.show(coordmsg::zeroPositions(i)) != Answer::Yes) return t;
                }
                ++zeroRun;
            } else {
                zeroRun = 0;
            }
            const double d = std::hypot(double(x - prevX), double(y - prevY));
            if (d > STEP_LIMIT_CM && !askedStep) {
                askedStep = true;
                if (ui.show(coordmsg::stepOver100m(i)) != Answer::Yes) return t;
            }
            const long rounded = long(roundToInt(d));
            if (rounded > t.maxStep) {
                t.maxStep = rounded;
                t.maxStepFrame = i;
            }
            stepSum += roundToInt(d * 10000);
            const uint32_t dh = h > prevH ? h - prevH : prevH - h;
            if (dh > HEIGHT_STEP_LIMIT_CM && !askedHeight) {
                askedHeight = true;
                if (ui.show(coordmsg::heightStepOver10m(i)) != Answer::Yes) return t;
            }
            if (long(dh) > t.maxHeightStep) {
                t.maxHeightStep = long(dh);
                t.maxHeightStepFrame = i;
            }
        }
        prevX = x;
        prevY = y;
        prevH = h;
    }
    closeProfile();
    t.completed = true;
    s.setHmax(t.maxHeight);
    ui.show(coordmsg::statisticsReport(long(roundToInt(t.surveyMean)), t.maxStep, t.maxStepFrame,
                                       long(t.maxHeight), t.maxHeightFrame, t.maxHeightStep,
                                       t.maxHeightStepFrame));
    return t;
}

} // namespace tesk::coords
