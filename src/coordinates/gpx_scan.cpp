#include "coordinates/gpx_scan.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tesk::coords {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}
std::string lower(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// A decimal number as a magnitude in units of 10^-scale, rounded half to
// even at the last place, and its sign. False for anything that is not a
// plain decimal number or whose whole part has more than nine digits.
bool parseDecimal(std::string_view s, int scale, int64_t& magnitude, bool& negative) {
    s = trim(s);
    negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int64_t whole = 0;
    int wholeDigits = 0;
    size_t k = 0;
    while (k < s.size() && isDigit(s[k])) {
        if (++wholeDigits > 9) return false;
        whole = whole * 10 + (s[k] - '0');
        ++k;
    }
    int64_t frac = 0;
    int fracDigits = 0;
    int firstDropped = -1;
    bool droppedNonZero = false;
    bool anyFraction = false;
    if (k < s.size() && s[k] == '.') {
        ++k;
        while (k < s.size() && isDigit(s[k])) {
            anyFraction = true;
            const int d = s[k] - '0';
            if (fracDigits < scale) {
                frac = frac * 10 + d;
                ++fracDigits;
            } else if (firstDropped < 0) {
                firstDropped = d;
            } else if (d != 0) {
                droppedNonZero = true;
            }
            ++k;
        }
    }
    if (k != s.size() || (wholeDigits == 0 && !anyFraction)) return false;
    while (fracDigits < scale) {
        frac *= 10;
        ++fracDigits;
    }
    int64_t scaleUnit = 1;
    for (int i = 0; i < scale; ++i) scaleUnit *= 10;
    magnitude = whole * scaleUnit + frac;
    if (firstDropped > 5 || (firstDropped == 5 && droppedNonZero) ||
        (firstDropped == 5 && !droppedNonZero && (magnitude & 1)))
        ++magnitude;
    if (magnitude == 0) negative = false;
    return true;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool validUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        if (c < 0x80)
            n = 0;
        else if ((c & 0xE0) == 0xC0 && c >= 0xC2)
            n = 1;
        else if ((c & 0xF0) == 0xE0)
            n = 2;
        else if ((c & 0xF8) == 0xF0 && c <= 0xF4)
            n = 3;
        else
            return false;
        if (i + n >= s.size() && n > 0) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view s) {
    std::string out;
    for (char c : s) appendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

// Character and entity references of a text.
std::string decodeEntities(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const size_t semi = s.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += s[i];
            continue;
        }
        const std::string_view ent = s.substr(i + 1, semi - i - 1);
        if (ent == "amp")
            out += '&';
        else if (ent == "lt")
            out += '<';
        else if (ent == "gt")
            out += '>';
        else if (ent == "quot")
            out += '"';
        else if (ent == "apos")
            out += '\'';
        else if (ent.size() > 1 && ent[0] == '#') {
            uint32_t cp = 0;
            const bool hex = ent[1] == 'x' || ent[1] == 'X';
            bool ok = ent.size() > (hex ? 2u : 1u);
            for (size_t k = hex ? 2 : 1; k < ent.size() && ok; ++k) {
                const char c = ent[k];
                const int d = isDigit(c) ? c - '0'
                              : (hex && std::isxdigit(static_cast<unsigned char>(c)))
                                  ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                                  : -1;
                if (d < 0 || cp > 0x10FFFF) ok = false;
                cp = cp * (hex ? 16 : 10) + uint32_t(d);
            }
            if (!ok || cp == 0 || cp > 0x10FFFF) {
                out += s[i];
                continue;
            }
            appendUtf8(out, cp);
        } else {
            out += s[i];
            continue;
        }
        i = semi;
    }
    return out;
}

int twoDigits(std::string_view s, size_t at) {
    if (at + 2 > s.size() || !isDigit(s[at]) || !isDigit(s[at + 1])) return -1;
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// hh:mm:ss at position at: seconds of day, or -1.
int clockAt(std::string_view s, size_t at) {
    const int h = twoDigits(s, at), m = twoDigits(s, at + 3), sec = twoDigits(s, at + 6);
    if (h < 0 || m < 0 || sec < 0 || s[at + 2] != ':' || s[at + 5] != ':') return -1;
    if (h > 23 || m > 59 || sec > 60) return -1;
    return h * 3600 + m * 60 + std::min(sec, 59);
}

// YYYY-MM-DDThh:mm:ss with anything after the seconds (fraction, zone).
bool parseIsoStamp(std::string_view t, GpxPoint& p) {
    t = trim(t);
    if (t.size() < 19) return false;
    for (size_t k : {0u, 1u, 2u, 3u})
        if (!isDigit(t[k])) return false;
    if (t[4] != '-' || t[7] != '-' || twoDigits(t, 5) < 0 || twoDigits(t, 8) < 0) return false;
    if (t[10] != 'T' && t[10] != 't' && t[10] != ' ') return false;
    const int tod = clockAt(t, 11);
    if (tod < 0) return false;
    p.hasTime = true;
    p.timeOfDay = tod;
    p.stamp = std::string(t.substr(0, 10)) + " " + std::string(t.substr(11, 8));
    return true;
}

// DD-MMM-YY hh:mm:ss, the comment form of older receivers.
bool parseCommentStamp(std::string_view t, GpxPoint& p) {
    t = trim(t);
    if (t.size() < 18) return false;
    const int dd = twoDigits(t, 0), yy = twoDigits(t, 7);
    if (dd < 0 || yy < 0 || t[2] != '-' || t[6] != '-' || t[9] != ' ') return false;
    const int tod = clockAt(t, 10);
    if (tod < 0) return false;
    static const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::string upper(t.substr(3, 3));
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    std::string mm;
    for (int k = 0; k < 12; ++k)
        if (upper == months[k]) mm = (k < 9 ? "0" : "") + std::to_string(k + 1);
    // An unknown month name is no time stamp: copied into the list it would
    // push the time out of its place, and the clock offset read from there.
    if (mm.empty()) return false;
    p.hasTime = true;
    p.timeOfDay = tod;
    p.stamp = "20" + std::string(t.substr(7, 2)) + "-" + mm + "-" + std::string(t.substr(0, 2)) +
              " " + std::string(t.substr(10, 8));
    return true;
}

class Scanner {
  public:
    explicit Scanner(std::string_view d) : d_(d) {}

    GpxScan run() {
        if (d_.size() >= 3 && d_.substr(0, 3) == "\xEF\xBB\xBF") p_ = 3;
        while (true) {
            const size_t lt = d_.find('<', p_);
            if (lt == std::string_view::npos) break;
            p_ = lt;
            if (startsWith("<!--")) {
                skipPast("-->");
            } else if (startsWith("<![CDATA[")) {
                skipPast("]]>");
            } else if (startsWith("<?")) {
                declaration();
            } else if (startsWith("<!")) {
                skipPast(">");
            } else {
                tag();
            }
        }
        finishPoint();
        return std::move(out_);
    }

  private:
    enum class Kind { None, Waypoint, TrackPoint };

    bool startsWith(std::string_view s) const { return d_.substr(p_, s.size()) == s; }
    void skipPast(std::string_view s) {
        const size_t e = d_.find(s, p_);
        p_ = e == std::string_view::npos ? d_.size() : e + s.size();
    }

    void declaration() {
        const size_t start = p_;
        skipPast("?>");
        const std::string decl = lower(d_.substr(start, p_ - start));
        if (decl.rfind("<?xml", 0) != 0) return;
        const size_t e = decl.find("encoding");
        if (e == std::string::npos) return;
        const size_t q = decl.find_first_of("\"'", e);
        if (q == std::string::npos) return;
        const size_t q2 = decl.find(decl[q], q + 1);
        if (q2 == std::string::npos) return;
        const std::string enc = decl.substr(q + 1, q2 - q - 1);
        latin1_ = enc == "iso-8859-1" || enc == "iso8859-1" || enc == "latin1" ||
                  enc == "latin-1" || enc == "windows-1252" || enc == "cp1252" || enc == "l1";
    }

    // One start or end tag: its name, its attributes up to the closing '>'.
    void tag() {
        size_t q = p_ + 1;
        const bool closing = q < d_.size() && d_[q] == '/';
        if (closing) ++q;
        const size_t nameStart = q;
        while (q < d_.size() && !isSpace(d_[q]) && d_[q] != '>' && d_[q] != '/' && d_[q] != '<')
            ++q;
        const std::string_view name = d_.substr(nameStart, q - nameStart);
        // Attributes: name = quoted value, either quote.
        attrs_.clear();
        bool selfClosing = false;
        while (q < d_.size() && d_[q] != '>' && d_[q] != '<') {
            if (d_[q] == '/') {
                selfClosing = true;
                ++q;
                continue;
            }
            if (isSpace(d_[q])) {
                ++q;
                continue;
            }
            const size_t an = q;
            while (q < d_.size() && !isSpace(d_[q]) && d_[q] != '=' && d_[q] != '>' && d_[q] != '/')
                ++q;
            const std::string_view attr = d_.substr(an, q - an);
            while (q < d_.size() && isSpace(d_[q])) ++q;
            if (q >= d_.size() || d_[q] != '=') continue;
            ++q;
            while (q < d_.size() && isSpace(d_[q])) ++q;
            if (q >= d_.size() || (d_[q] != '"' && d_[q] != '\'')) continue;
            const char quote = d_[q++];
            const size_t vs = q;
            while (q < d_.size() && d_[q] != quote) ++q;
            attrs_.emplace_back(attr, d_.substr(vs, q - vs));
            if (q < d_.size()) ++q;
            selfClosing = false;
        }
        const bool complete = q < d_.size() && d_[q] == '>';
        p_ = complete ? q + 1 : q;
        for (const auto& [a, v] : attrs_)
            if (a.substr(0, 6) == "xmlns:" &&
                v.find("topografix.com/GPX") != std::string_view::npos)
                gpxPrefixes_.emplace_back(a.substr(6));
        const size_t colon = name.find(':');
        std::string_view local = name;
        if (colon != std::string_view::npos) {
            const std::string_view prefix = name.substr(0, colon);
            if (std::find(gpxPrefixes_.begin(), gpxPrefixes_.end(), prefix) == gpxPrefixes_.end())
                return;
            local = name.substr(colon + 1);
        }
        element(local, closing, selfClosing || !complete);
    }

    void element(std::string_view local, bool closing, bool empty) {
        if (closing) {
            if ((local == "wpt" && kind_ == Kind::Waypoint) ||
                ((local == "trkpt" || local == "trkseg" || local == "trk") &&
                 kind_ == Kind::TrackPoint))
                finishPoint();
            return;
        }
        if (local == "wpt" || local == "trkpt") {
            finishPoint();
            kind_ = local == "wpt" ? Kind::Waypoint : Kind::TrackPoint;
            point_ = GpxPoint{};
            timeElement_ = false;
            position();
            if (empty) finishPoint();
            return;
        }
        if (kind_ == Kind::None) return;
        const bool ele = local == "ele", time = local == "time", name = local == "name",
                   cmt = local == "cmt";
        if (!ele && !time && !name && !cmt) return;
        const std::string text = empty ? std::string() : content();
        if (ele) {
            int64_t cm = 0;
            bool neg = false;
            if (parseDecimal(text, 2, cm, neg)) {
                point_.hasElevation = true;
                point_.elevationCm = neg ? 0 : uint32_t(std::min<int64_t>(cm, 0xFFFFFF));
            }
        } else if (time) {
            GpxPoint t;
            if (parseIsoStamp(text, t)) {
                point_.hasTime = true;
                point_.timeOfDay = t.timeOfDay;
                point_.stamp = t.stamp;
                timeElement_ = true;
            }
        } else if (cmt) {
            // A comment stamp stands in only for a missing time element.
            GpxPoint t;
            if (!timeElement_ && parseCommentStamp(text, t)) {
                point_.hasTime = true;
                point_.timeOfDay = t.timeOfDay;
                point_.stamp = t.stamp;
            }
        } else {
            point_.name = std::string(trim(text));
            point_.hasName = true;
        }
    }

    void position() {
        bool haveLat = false, haveLon = false;
        for (const auto& [a, v] : attrs_) {
            int64_t units = 0;
            bool neg = false;
            if (a == "lat" && parseDecimal(v, 7, units, neg) && units <= 900000000) {
                point_.latUnits = units;
                point_.south = neg;
                haveLat = true;
            } else if (a == "lon" && parseDecimal(v, 7, units, neg) && units <= 1800000000) {
                point_.lonUnits = units;
                point_.west = neg;
                haveLon = true;
            }
        }
        point_.hasPosition = haveLat && haveLon;
    }

    // Text of an element up to the next tag, CDATA sections included, as UTF-8.
    std::string content() {
        std::string raw;
        while (p_ < d_.size()) {
            if (startsWith("<![CDATA[")) {
                const size_t s = p_ + 9;
                const size_t e = d_.find("]]>", s);
                const size_t end = e == std::string_view::npos ? d_.size() : e;
                raw.append(toUtf8(d_.substr(s, end - s)));
                p_ = e == std::string_view::npos ? d_.size() : e + 3;
                continue;
            }
            if (d_[p_] == '<') break;
            const size_t lt = d_.find('<', p_);
            const size_t end = lt == std::string_view::npos ? d_.size() : lt;
            raw.append(decodeEntities(toUtf8(d_.substr(p_, end - p_))));
            p_ = end;
        }
        return latin1_ || validUtf8(raw) ? raw : latin1ToUtf8(raw);
    }
    std::string toUtf8(std::string_view s) const {
        return latin1_ ? latin1ToUtf8(s) : std::string(s);
    }

    void finishPoint() {
        if (kind_ == Kind::Waypoint)
            out_.waypoints.push_back(std::move(point_));
        else if (kind_ == Kind::TrackPoint)
            out_.trackPoints.push_back(std::move(point_));
        kind_ = Kind::None;
        point_ = GpxPoint{};
    }

    std::string_view d_;
    size_t p_ = 0;
    bool latin1_ = false;
    std::vector<std::string> gpxPrefixes_;
    std::vector<std::pair<std::string_view, std::string_view>> attrs_;
    Kind kind_ = Kind::None;
    GpxPoint point_;
    bool timeElement_ = false;
    GpxScan out_;
};

} // namespace

GpxScan scanGpx(ByteSource& src) {
    const uint64_t size = src.size();
    if (size > GPX_MAX_BYTES) {
        GpxScan s;
        s.tooLarge = true;
        return s;
    }
    std::string image(size_t(size), '\0');
    size_t got = 0;
    while (got < image.size()) {
        const size_t n =
            src.read(got, reinterpret_cast<uint8_t*>(image.data()) + got, image.size() - got);
        if (n == 0) break;
        got += n;
    }
    image.resize(got);
    return Scanner(image).run();
}

bool gpxListable(const GpxPoint& p, bool waypoint) {
    return p.hasPosition && p.hasTime && (waypoint || p.hasElevation);
}

std::string gpxListItem(const GpxPoint& p, bool waypoint) {
    return p.stamp + (waypoint ? "  Wpt " : "  Trk ") + p.name;
}

} // namespace tesk::coords
