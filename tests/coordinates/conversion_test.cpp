// The geographic-to-rectangular conversion: values worked out from the
// earth model with the system's constants, the 100 km question, the
// hemisphere corners, and distances between frames against geodesic
// distances on the WGS 84 ellipsoid.

#include "coordinates/recalc.h"
#include "coordinates_test_support.h"

#include <cmath>

namespace tesk::testing {
namespace {

void setGeo(ProfileStore& s, int i, int64_t latUnits, int64_t lonUnits) {
    s.frame(i).value[cell::LatDegrees] = uint8_t(latUnits / 10000000);
    s.frame(i).set24(cell::LatFraction, uint32_t(latUnits % 10000000));
    s.frame(i).value[cell::LonDegrees] = uint8_t(lonUnits / 10000000);
    s.frame(i).set24(cell::LonFraction, uint32_t(lonUnits % 10000000));
}
int32_t X(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsX));
}
int32_t Y(const ProfileStore& s, int i) {
    return int32_t(s.frame(i).get32(cell::UcsY));
}

// Geodesic distance on WGS 84 (Vincenty's inverse formula), metres.
double geodesic(double lat1, double lon1, double lat2, double lon2) {
    const double a = 6378137.0, f = 1 / 298.257223563, b = a * (1 - f);
    const double rad = M_PI / 180;
    const double L = (lon2 - lon1) * rad;
    const double U1 = std::atan((1 - f) * std::tan(lat1 * rad));
    const double U2 = std::atan((1 - f) * std::tan(lat2 * rad));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1), sinU2 = std::sin(U2),
                 cosU2 = std::cos(U2);
    double lambda = L, sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
    for (int it = 0; it < 200; ++it) {
        const double sinL = std::sin(lambda), cosL = std::cos(lambda);
        sinSigma = std::hypot(cosU2 * sinL, cosU1 * sinU2 - sinU1 * cosU2 * cosL);
        if (sinSigma == 0) return 0;
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosL;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinL / sinSigma;
        cos2Alpha = 1 - sinAlpha * sinAlpha;
        cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double C = f / 16 * cos2Alpha * (4 + f * (4 - 3 * cos2Alpha));
        const double prev = lambda;
        lambda =
            L + (1 - C) * f * sinAlpha *
                    (sigma + C * sinSigma *
                                 (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::abs(lambda - prev) < 1e-13) break;
    }
    const double u2 = cos2Alpha * (a * a - b * b) / (b * b);
    const double A = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
    const double B = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
    const double dSigma = B * sinSigma *
                          (cos2SigmaM + B / 4 *
                                            (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                                             B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                                                 (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return b * A * (sigma - dSigma);
}

// P(0, 90) with 90 x 0.017453 = 1.57077 rad, just short of pi / 2:
// x = a sin(pi/2 - 1.57077) = 6378137 x 2.63268e-5 = 167.916 m.
// P(60, 0): sin^2 = 0.749995.., N = a / sqrt(1 - k sin^2) = 6394348.4 m,
// x = N cos = 3197255.98, z = (1 - k) N sin = 5500264.81.
TEST(Conversion, EarthModelWithTheSystemsConstants) {
    const auto e = coords::geocentric(0, 90, 0);
    EXPECT_NEAR(e.x, 167.916, 0.001);
    EXPECT_NEAR(e.y, 6378137.0, 0.01);
    EXPECT_NEAR(e.z, 0, 1e-9);
    const auto p = coords::geocentric(60, 0, 0);
    EXPECT_NEAR(p.x, 3197255.98, 0.01);
    EXPECT_NEAR(p.y, 0, 1e-9);
    EXPECT_NEAR(p.z, 5500264.81, 0.01);
}

// Corner 55.75 N 37.60 E, reference height 15000 cm / 200 = 75 m: one
// hundredth of a degree east is 627.97 m, one north 1113.37 m.
TEST(Conversion, UcsOfThreeFrames) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3}, 2);
    setGeo(*s, 0, 557500000, 376000000);
    setGeo(*s, 1, 557500000, 376100000);
    setGeo(*s, 2, 557600000, 376000000);
    for (int i = 0; i < 3; ++i) s->frame(i).set24(cell::ReliefHeight, 15000);
    RecordingInteraction ui;
    ASSERT_TRUE(coords::convertGeographicToUcs(*s, ui));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(X(*s, 0), 0);
    EXPECT_EQ(Y(*s, 0), 0);
    EXPECT_EQ(X(*s, 1), 62797);
    EXPECT_EQ(Y(*s, 1), 0);
    EXPECT_EQ(X(*s, 2), 0);
    EXPECT_EQ(Y(*s, 2), 111337);
}

// A frame 120 km north of the corner asks; No stops with the earlier frames
// converted, Yes stores the large value.
TEST(Conversion, FrameBeyond100Km) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {3}, 2);
    setGeo(*s, 0, 557500000, 376000000);
    setGeo(*s, 1, 557600000, 376000000);
    setGeo(*s, 2, 568300000, 376000000);
    RecordingInteraction no;
    no.answers = {Answer::No};
    EXPECT_FALSE(coords::convertGeographicToUcs(*s, no));
    ASSERT_EQ(no.shown.size(), 1u);
    EXPECT_EQ(no.shown[0].en,
              "Error. Latitude.\rDistance from the origin > 100 km.\rPosition 2Continue?");
    EXPECT_EQ(no.shown[0].ru,
              "Ошибка. Широта.\rРасстояние от начала координат > 100 km.\rПозиция 2Продолжить?");
    EXPECT_GT(Y(*s, 1), 111000);
    EXPECT_EQ(Y(*s, 2), 0);
    RecordingInteraction yes;
    yes.answers = {Answer::Yes};
    EXPECT_TRUE(coords::convertGeographicToUcs(*s, yes));
    EXPECT_GT(Y(*s, 2), 11900000);
}

struct Hemisphere {
    const char* name;
    bool south, west;
    double latSign, lonSign;
    int64_t lat0, lon0; // magnitudes of the first frame, 1e-7 degree
};

class Geodesic : public ::testing::TestWithParam<Hemisphere> {};

// A 5 km track of 500 frames 10 m apart (bearing about 30 degrees from the
// corner): every distance between frames taken from UCS X and Y agrees with
// the geodesic distance within 0.5 %, and X and Y grow along the track.
TEST_P(Geodesic, DistancesAlongA5KmTrack) {
    const Hemisphere& h = GetParam();
    auto s = newStore();
    demo::fillTimedSurvey(*s, {500}, 2);
    if (h.south) s->header.value[hdr::CoordFlags] |= hdr::South;
    if (h.west) s->header.value[hdr::CoordFlags] |= hdr::West;
    // The track runs north-east: magnitudes fall in the southern and western
    // hemispheres, so that frame 0 is the corner (most southern and western).
    const int64_t dLat = h.south ? -778 : 778, dLon = h.west ? -798 : 798;
    for (int i = 0; i < 500; ++i) {
        setGeo(*s, i, h.lat0 + dLat * i, h.lon0 + dLon * i);
        s->frame(i).set24(cell::ReliefHeight, 15000);
    }
    RecordingInteraction ui;
    ASSERT_TRUE(coords::convertGeographicToUcs(*s, ui));
    auto lat = [&](int i) { return h.latSign * double(h.lat0 + dLat * i) / 1e7; };
    auto lon = [&](int i) { return h.lonSign * double(h.lon0 + dLon * i) / 1e7; };
    auto ucsDistance = [&](int i, int j) {
        return std::hypot(double(X(*s, i) - X(*s, j)), double(Y(*s, i) - Y(*s, j))) / 100.0;
    };
    double worst = 0;
    EXPECT_EQ(X(*s, 0), 0);
    EXPECT_EQ(Y(*s, 0), 0);
    for (int i = 0; i < 500; ++i) {
        // X grows towards the east, Y towards the north.
        if (i > 0) {
            EXPECT_GT(X(*s, i), X(*s, i - 1)) << i;
            EXPECT_GT(Y(*s, i), Y(*s, i - 1)) << i;
        }
        for (int j : {i + 1, i + 37, 499}) {
            if (j >= 500 || j <= i) continue;
            const double g = geodesic(lat(i), lon(i), lat(j), lon(j));
            const double err = std::abs(ucsDistance(i, j) - g) / g;
            worst = std::max(worst, err);
        }
    }
    RecordProperty("worst_relative_error_ppm", std::to_string(int(worst * 1e6)));
    EXPECT_LT(worst, 0.005);
    const double total = geodesic(lat(0), lon(0), lat(499), lon(499));
    // About 5 km whatever the latitude (the longitude step shrinks with it).
    EXPECT_GT(total, 4900);
    EXPECT_LT(total, 5800);
}

INSTANTIATE_TEST_SUITE_P(
    Hemispheres, Geodesic,
    ::testing::Values(Hemisphere{"NorthEast", false, false, 1, 1, 557500000, 376000000},
                      Hemisphere{"SouthWest", true, true, -1, -1, 338500000, 706500000},
                      Hemisphere{"SouthEast", true, false, -1, 1, 338500000, 1510000000},
                      Hemisphere{"NorthWest", false, true, 1, -1, 450000000, 740000000}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tesk::testing
