#pragma once
// Coordinate files written by code: GPX files in the forms receivers and
// programs produce, text coordinate tables and companion .cor files. Used by
// the tests, the benchmarks and the fuzz seed corpora, and written to
// tests/data and fuzz/corpus by tesk-make-coordinate-files.

#include "store/profile_store.h"

#include <string>
#include <vector>

namespace tesk::demo {

// One point of a generated GPX file; texts are written as they stand.
struct GpxFilePoint {
    std::string lat = "55.7512345";
    std::string lon = "37.6184217";
    std::string ele = "150.25";                // empty: no <ele>
    std::string time = "2024-05-14T10:00:10Z"; // empty: no <time>
    std::string name;                          // empty: no <name>
    std::string cmt;                           // empty: no <cmt>
};

struct GpxFileOptions {
    bool lonFirst = false;     // lon before lat in the attributes
    bool singleQuotes = false; // attribute values in single quotes
    std::string prefix;        // namespace prefix of every GPX element ("gpx")
    bool bom = false;          // UTF-8 byte-order mark
    bool crlf = false;         // CR LF line ends
    std::string encoding = "UTF-8";
    // Every point carries <extensions> with elements of another namespace
    // named like GPX ones (ext:time, ext:ele), which must not be read.
    bool foreignExtensions = false;
};

struct GpxFileTrack {
    // Segments of points; an empty segment is written as <trkseg></trkseg>.
    std::vector<std::vector<GpxFilePoint>> segments;
};

std::string gpxFile(const std::vector<GpxFilePoint>& waypoints,
                    const std::vector<GpxFileTrack>& tracks, const GpxFileOptions& o = {});

// A track of n points, one a second from 10:00:00, moving 0.0000100 degree of
// latitude and 0.0000200 of longitude a second from 55.7500000 N 37.6000000 E,
// heights 150.00 m + 1 cm per point.
std::string longGpxTrack(int n);

// A generated file with what it is for.
struct CoordinateFixture {
    std::string name;    // file name, e.g. "lon_before_lat.gpx"
    std::string purpose; // one line for the README
    std::string bytes;
};

// The GPX, text and .cor fixtures of tests/data/coordinates.
std::vector<CoordinateFixture> coordinateFixtures();

// A survey for the import tests: profile runs of in-profile frames with
// recording times one second apart from 10:00:00 (frame i at 10:00:00 + i s
// inside a run, the runs in the order given, separated by `gap` blank frames),
// then finishLoad. Markers of status 2 at the frames listed.
void fillTimedSurvey(ProfileStore& s, const std::vector<int>& runLengths, int gap,
                     const std::vector<int>& markers = {});

} // namespace tesk::demo
