#include "coordinate_files.h"

#include <cstdio>

namespace tesk::demo {

namespace {

std::string q(const GpxFileOptions& o, const std::string& v) {
    const char c = o.singleQuotes ? '\'' : '"';
    return std::string(1, c) + v + c;
}

std::string tag(const GpxFileOptions& o, const std::string& name) {
    return o.prefix.empty() ? name : o.prefix + ":" + name;
}

void element(std::string& out, const GpxFileOptions& o, const std::string& name,
             const std::string& text, const std::string& indent, const std::string& nl) {
    if (text.empty()) return;
    out += indent + "<" + tag(o, name) + ">" + text + "</" + tag(o, name) + ">" + nl;
}

void point(std::string& out, const GpxFileOptions& o, const std::string& kind,
           const GpxFilePoint& p, const std::string& indent, const std::string& nl) {
    const std::string lat = "lat=" + q(o, p.lat), lon = "lon=" + q(o, p.lon);
    out += indent + "<" + tag(o, kind) + " " + (o.lonFirst ? lon + " " + lat : lat + " " + lon) +
           ">" + nl;
    const std::string in = indent + "  ";
    element(out, o, "ele", p.ele, in, nl);
    element(out, o, "time", p.time, in, nl);
    element(out, o, "name", p.name, in, nl);
    element(out, o, "cmt", p.cmt, in, nl);
    if (o.foreignExtensions)
        out += in + "<" + tag(o, "extensions") + "><ext:time>2001-01-01T23:59:59Z</ext:time>" +
               "<ext:ele>9999</ext:ele><ext:name>XX</ext:name></" + tag(o, "extensions") + ">" + nl;
    out += indent + "</" + tag(o, kind) + ">" + nl;
}

} // namespace

std::string gpxFile(const std::vector<GpxFilePoint>& waypoints,
                    const std::vector<GpxFileTrack>& tracks, const GpxFileOptions& o) {
    const std::string nl = o.crlf ? "\r\n" : "\n";
    std::string out;
    if (o.bom) out += "\xEF\xBB\xBF";
    out += "<?xml version=\"1.0\" encoding=\"" + o.encoding + "\" standalone=\"no\"?>" + nl;
    const std::string ns = "http://www.topografix.com/GPX/1/1";
    out += "<" + tag(o, "gpx") + " version=" + q(o, "1.1") + " creator=" + q(o, "tesk tests") +
           (o.prefix.empty() ? " xmlns=" + q(o, ns) : " xmlns:" + o.prefix + "=" + q(o, ns)) +
           (o.foreignExtensions ? " xmlns:ext=" + q(o, "http://example.org/ext/1") : "") + ">" + nl;
    out += "  <!-- <wpt lat=\"1.0\" lon=\"2.0\"><time>2024-05-14T10:00:00Z</time></wpt> -->" + nl;
    out += "  <" + tag(o, "metadata") + "><" + tag(o, "time") + ">2024-05-14T09:00:00Z</" +
           tag(o, "time") + "></" + tag(o, "metadata") + ">" + nl;
    for (const GpxFilePoint& p : waypoints) point(out, o, "wpt", p, "  ", nl);
    for (const GpxFileTrack& t : tracks) {
        out += "  <" + tag(o, "trk") + ">" + nl;
        out += "    <" + tag(o, "name") + ">Track</" + tag(o, "name") + ">" + nl;
        for (const auto& seg : t.segments) {
            out += "    <" + tag(o, "trkseg") + ">" + nl;
            for (const GpxFilePoint& p : seg) point(out, o, "trkpt", p, "      ", nl);
            out += "    </" + tag(o, "trkseg") + ">" + nl;
        }
        out += "  </" + tag(o, "trk") + ">" + nl;
    }
    out += "</" + tag(o, "gpx") + ">" + nl;
    return out;
}

std::string longGpxTrack(int n) {
    GpxFileTrack t;
    t.segments.emplace_back();
    char b[64];
    for (int k = 0; k < n; ++k) {
        GpxFilePoint p;
        const long latU = 557500000L + 100L * k, lonU = 376000000L + 200L * k;
        std::snprintf(b, sizeof b, "%ld.%07ld", latU / 10000000, latU % 10000000);
        p.lat = b;
        std::snprintf(b, sizeof b, "%ld.%07ld", lonU / 10000000, lonU % 10000000);
        p.lon = b;
        std::snprintf(b, sizeof b, "%d.%02d", 150 + k / 100, k % 100);
        p.ele = b;
        const int s = 36000 + k;
        std::snprintf(b, sizeof b, "2024-05-14T%02d:%02d:%02dZ", s / 3600 % 24, s / 60 % 60,
                      s % 60);
        p.time = b;
        t.segments.back().push_back(p);
    }
    return gpxFile({}, {t});
}

namespace {

GpxFilePoint wpt(const std::string& lat, const std::string& lon, const std::string& ele,
                 const std::string& time, const std::string& name) {
    GpxFilePoint p;
    p.lat = lat;
    p.lon = lon;
    p.ele = ele;
    p.time = time;
    p.name = name;
    return p;
}

// The two waypoints and the three track points every GPX variant carries.
std::vector<GpxFilePoint> standardWaypoints() {
    return {wpt("55.7512345", "37.6184217", "150.25", "2024-05-14T10:00:10Z", "W1"),
            wpt("55.7513000", "37.6185000", "151.5", "2024-05-14T10:00:20Z", "W2")};
}
std::vector<GpxFilePoint> standardTrack() {
    return {wpt("55.7500100", "37.6000200", "150.00", "2024-05-14T10:00:10Z", ""),
            wpt("55.7500200", "37.6000400", "150.10", "2024-05-14T10:00:20Z", ""),
            wpt("55.7500300", "37.6000600", "150.20", "2024-05-14T10:00:30Z", "")};
}

CoordinateFixture standard(const std::string& name, const std::string& purpose,
                           const GpxFileOptions& o) {
    return {name, purpose, gpxFile(standardWaypoints(), {GpxFileTrack{{standardTrack()}}}, o)};
}

} // namespace

std::vector<CoordinateFixture> coordinateFixtures() {
    std::vector<CoordinateFixture> f;
    f.push_back(standard("plain.gpx",
                         "GPX 1.1 as most programs write it: waypoints W1 (10:00:10) and W2 "
                         "(10:00:20), one track of three points at 10:00:10, :20 and :30; a "
                         "commented-out waypoint and a metadata time that must not count",
                         {}));
    GpxFileOptions o;
    o.lonFirst = true;
    f.push_back(standard("lon_before_lat.gpx", "plain.gpx with lon written before lat", o));
    o = {};
    o.singleQuotes = true;
    f.push_back(standard("single_quotes.gpx", "plain.gpx with single-quoted attributes", o));
    o = {};
    o.prefix = "gpx";
    o.foreignExtensions = true;
    f.push_back(standard("namespace_prefix.gpx",
                         "plain.gpx with every element under the prefix gpx: and extensions of "
                         "another namespace holding ext:time, ext:ele and ext:name",
                         o));
    o = {};
    o.bom = true;
    o.crlf = true;
    f.push_back(standard("bom_crlf.gpx", "plain.gpx with a UTF-8 byte-order mark and CR LF", o));

    o = {};
    o.encoding = "ISO-8859-1";
    {
        auto w = standardWaypoints();
        w[0].name = "Caf\xE9";
        w[1].name = "\xC5s";
        f.push_back({"latin1_names.gpx",
                     "Latin-1 file (declared ISO-8859-1) with waypoint names Caf\\xE9 and \\xC5s",
                     gpxFile(w, {GpxFileTrack{{standardTrack()}}}, o)});
    }
    {
        const auto t = standardTrack();
        GpxFileTrack a{{{t[0]}, {}, {t[1]}}};
        GpxFileTrack b{{{t[2]}}};
        f.push_back({"tracks_segments.gpx",
                     "two tracks: the first with a segment of one point, an empty segment and "
                     "another of one point, the second with one point",
                     gpxFile({}, {a, b})});
    }
    {
        auto w = standardWaypoints();
        w[0].ele.clear();
        w[1].time.clear();
        auto t = standardTrack();
        t[0].ele.clear();
        t[1].time.clear();
        f.push_back({"missing_ele_time.gpx",
                     "W1 without elevation, W2 without time; track point 1 without elevation, "
                     "point 2 without time, point 3 complete",
                     gpxFile(w, {GpxFileTrack{{t}}})});
    }
    {
        auto t = standardTrack();
        t[0].time = "2024-05-14T10:00:10.250Z";
        t[1].time = "2024-05-14T10:00:20+03:00";
        t[2].time = "2024-05-14T10:00:30.5-05:00";
        f.push_back({"fractional_zone.gpx",
                     "track times with fractional seconds and zone suffixes (Z, +03:00, -05:00)",
                     gpxFile({}, {GpxFileTrack{{t}}})});
    }
    {
        auto w = standardWaypoints();
        w[0].time.clear();
        w[0].cmt = "14-MAY-24 10:00:10";
        w[1].time.clear();
        w[1].cmt = "14-XYZ-24 10:00:20";
        f.push_back({"comment_stamps.gpx",
                     "waypoints timed only by older receivers' comment stamps; the second has "
                     "an unknown month name and so no time",
                     gpxFile(w, {})});
    }
    {
        auto w = standardWaypoints();
        w[1].name.clear();
        f.push_back({"nameless_waypoint.gpx", "W2 without a name element: it takes the name of W1",
                     gpxFile(w, {})});
    }
    {
        auto w = standardWaypoints();
        w[0].lat = "-33.8568000";
        w[0].lon = "-70.6500000";
        w[1].lat = "-33.8569000";
        w[1].lon = "-70.6501000";
        f.push_back({"south_west.gpx", "waypoints in the southern and western hemispheres",
                     gpxFile(w, {})});
    }
    {
        auto w = standardWaypoints();
        w[0].name = "<![CDATA[A&B]]>";
        w[1].name = "R&amp;D";
        f.push_back(
            {"cdata_entities.gpx", "names as a CDATA section and with an entity", gpxFile(w, {})});
    }
    {
        std::string bytes = "This is not a GPX file.\nfoo < 42 > 17 <wptx>\n";
        bytes += std::string("\x00\x01\x02\xFF\xFE<", 6);
        f.push_back({"not_xml.gpx", "text and binary bytes that are no XML at all", bytes});
    }
    {
        const std::string full = gpxFile(standardWaypoints(), {GpxFileTrack{{standardTrack()}}});
        const size_t cut = full.find("<trkpt", full.find("<trkpt") + 1) + 20;
        f.push_back(
            {"truncated.gpx", "plain.gpx cut inside the second track point", full.substr(0, cut)});
    }
    f.push_back({"geographic.txt",
                 "text table, geographic form, CR LF: name; longitude; latitude; height in cm "
                 "(decimal comma on the second line, whole degrees on the third)",
                 "P1;37.6184217;55.7512345;15025\r\nP2;37,5;55,25;15100\r\nP3;38;56;15200\r\n"});
    f.push_back({"rectangular.txt",
                 "text table, rectangular form, LF only: name; X; Y; height (metres with two "
                 "decimals read as centimetres, a negative X)",
                 "A;2500.50;1200.00;15025\nB;-12.50;1300.00;15030\nC;2600.00;1400.00;15040\n"});
    f.push_back({"missing_fields.txt",
                 "text table whose second line has only a name and third line ends after the "
                 "longitude fraction",
                 "P1;37.5;55.5;100\rP2\rP3;37.25\rP4;37.75;55.75;200\r"});
    f.push_back({"longitude_200.txt", "a longitude of 200 degrees", "P1;200.5;55.5;100\r"});
    f.push_back({"companion.cor",
                 "companion coordinate file: frames 0, 4 and 9 with date, time, position and "
                 "height; the last field of every line ends with a TAB",
                 "0\t2017-05-14\t10:00:00\t55.7500000\tN\t37.6000000\tE\t150.00\t\n"
                 "4\t2017-05-14\t10:00:04\t55.7500400\tN\t37.6000800\tE\t150.40\t\n"
                 "9\t2017-05-14\t10:00:09\t55.7500900\tN\t37.6001800\tE\t150.90\t\n"});
    return f;
}

void fillTimedSurvey(ProfileStore& s, const std::vector<int>& runLengths, int gap,
                     const std::vector<int>& markers) {
    s.reset();
    int slot = 0;
    for (size_t r = 0; r < runLengths.size(); ++r) {
        for (int k = 0; k < runLengths[r]; ++k, ++slot) {
            FrameRecord& f = s.frame(slot);
            for (int c = 0; c < SAMPLES_PER_FRAME; ++c) f.value[size_t(c)] = uint8_t(128 + (c % 7));
            f.fillRowsFromLastSample();
            const int t = 36000 + slot;
            f.value[cell::Hour] = uint8_t(t / 3600);
            f.value[cell::Minute] = uint8_t(t / 60 % 60);
            f.value[cell::Second] = uint8_t(t % 60);
        }
        if (r + 1 < runLengths.size()) slot += gap;
    }
    for (int m : markers) s.frame(m).value[cell::Status] = 2;
    s.frameCount = slot;
    s.finishLoad();
    s.viewStart = 0;
}

} // namespace tesk::demo
