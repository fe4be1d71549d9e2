#pragma once
// The points of a GPX file as the listing and the synchronisation use them.
//
// Layout read (GPX 1.0 and 1.1; any namespace prefix bound to the GPX
// namespace, or none):
//
//   <?xml version="1.0" encoding="..."?>            encoding: UTF-8 or Latin-1
//   <gpx ...>
//     <wpt lat="55.7512345" lon="37.6184217">      attributes in any order,
//       <ele>150.25</ele>                            single or double quotes
//       <time>2024-05-14T10:15:30Z</time>            fraction and zone allowed
//       <name>P1</name>                              text, CDATA, entities
//       <cmt>14-MAY-24 10:15:30</cmt>                older receivers' time stamp
//     </wpt>
//     <trk><trkseg><trkpt lat=".." lon=".."> <ele/> <time/> </trkpt> ...</trkseg></trk>
//   </gpx>
//
// Comments, processing instructions, declarations and elements of other
// namespaces are skipped. Nothing is allocated per byte of input beyond the
// file image and one record per point.

#include "store/byte_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tesk::coords {

struct GpxPoint {
    bool hasPosition = false;
    int64_t latUnits = 0; // magnitude, 1e-7 degree
    int64_t lonUnits = 0;
    bool south = false; // latitude written with a minus sign
    bool west = false;  // longitude written with a minus sign
    bool hasElevation = false;
    uint32_t elevationCm = 0; // Round(metres x 100); below the datum 0
    bool hasTime = false;
    int timeOfDay = 0; // seconds, as written in the stamp
    std::string stamp; // "YYYY-MM-DD hh:mm:ss", the list prefix
    std::string name;  // the point's own name, UTF-8; empty when it has none
    bool hasName = false;
};

struct GpxScan {
    bool tooLarge = false; // the file is larger than a GPX file can sensibly be
    std::vector<GpxPoint> waypoints;
    std::vector<GpxPoint> trackPoints;
};

// Largest GPX file read (about three million points).
inline constexpr uint64_t GPX_MAX_BYTES = 512ull << 20;

GpxScan scanGpx(ByteSource& src);

// The list texts: date, blank, time, "  Wpt " or "  Trk ", then the name.
std::string gpxListItem(const GpxPoint& p, bool waypoint);
// Whether a point is listed (and so can be matched): waypoints need a
// position and a time, track points also an elevation.
bool gpxListable(const GpxPoint& p, bool waypoint);

} // namespace tesk::coords
