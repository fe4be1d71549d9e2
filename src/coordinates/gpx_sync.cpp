// GPX listing and synchronisation: every point of the file is given to the
// frames whose recording times enclose its time of day, after the clock
// offset that the operator declares by putting the cursor on the frame where
// the selected point was taken.

#include "coordinates/frame_fields.h"
#include "coordinates/gpx_scan.h"
#include "coordinates/imports.h"
#include "coordinates/messages.h"

#include <algorithm>
#include <cstdlib>

namespace tesk::coords {

std::string listItemDate(const std::string& item) {
    return item.substr(0, std::min<size_t>(10, item.size()));
}
std::string listItemTime(const std::string& item) {
    return item.size() > 11 ? item.substr(11, 8) : std::string();
}

namespace {

// Seconds of day of a list item (characters 12..19, hh:mm:ss).
int itemTimeOfDay(const std::string& item) {
    auto two = [&](size_t at) {
        int v = 0;
        for (size_t k = at; k < at + 2 && k < item.size(); ++k)
            if (item[k] >= '0' && item[k] <= '9') v = v * 10 + (item[k] - '0');
        return v;
    };
    return two(11) * 3600 + two(14) * 60 + two(17);
}

struct Run {
    int first = 0, last = 0;
    bool endTested = false; // the walk reaches the frame after the run
    bool monotone = true;   // recording times never fall inside the run
};

// The profile runs of frames 0..frameCount with the time of day of every frame.
class Survey {
  public:
    explicit Survey(const ProfileStore& s) {
        const int last = lastSlot(s);
        tod_.resize(size_t(last) + 1);
        for (int i = 0; i <= last; ++i) tod_[size_t(i)] = timeOfDay(s.frame(i));
        for (int i = 0; i <= last; ++i) {
            if (!s.frame(i).inProfile()) continue;
            Run r;
            r.first = i;
            while (i < last && s.frame(i + 1).inProfile()) ++i;
            r.last = i;
            r.endTested = i + 1 <= last;
            for (int k = r.first + 1; k <= r.last; ++k)
                if (tod_[size_t(k)] < tod_[size_t(k - 1)]) r.monotone = false;
            runs_.push_back(r);
        }
    }
    const std::vector<Run>& runs() const { return runs_; }
    int tod(int i) const { return tod_[size_t(i)]; }
    const int* todData() const { return tod_.data(); }

  private:
    std::vector<int> tod_;
    std::vector<Run> runs_;
};

class Matcher {
  public:
    Matcher(ProfileStore& s, const Survey& v, bool waypoints) : s_(s), v_(v), wpt_(waypoints) {}

    void point(const GpxPoint& p, const std::string& name, int T) {
        p_ = &p;
        name_ = &name;
        for (const Run& r : v_.runs()) {
            runEnd(r.first, T);
            pairs(r, T);
            if (r.endTested) runEnd(r.last, T);
        }
    }

  private:
    // The first or last frame of a run keeps the nearest fix seen so far.
    void runEnd(int i, int T) {
        FrameRecord& f = s_.frame(i);
        const int t = v_.tod(i);
        const int fix = int(f.get24(cell::FixTime));
        if (std::abs(T - t) < std::abs(fix - t)) {
            give(i);
            f.set24(cell::FixTime, uint32_t(std::clamp(T, 0, 0xFFFFFF)));
        }
    }
    // Pairs of consecutive frames whose times enclose T: the nearer frame,
    // the later one when T lies halfway.
    void pairs(const Run& r, int T) {
        int from = r.first + 1, to = r.last;
        if (r.monotone && from <= to) {
            const int* t = v_.todData();
            const int lo = int(std::lower_bound(t + r.first, t + r.last + 1, T) - t);
            const int hi = int(std::upper_bound(t + r.first, t + r.last + 1, T) - t) - 1;
            from = std::max(from, lo);
            to = std::min(to, hi + 1);
        }
        for (int i = from; i <= to; ++i) {
            const int t0 = v_.tod(i - 1), t1 = v_.tod(i);
            if (t0 <= T && T <= t1) give(T - t0 < t1 - T ? i - 1 : i);
        }
    }
    void give(int i) {
        FrameRecord& f = s_.frame(i);
        setLonUnits(f, p_->lonUnits);
        setLatUnits(f, p_->latUnits);
        if (p_->hasElevation) {
            f.set24(cell::ReliefHeight, p_->elevationCm);
            if (p_->elevationCm > s_.Hmax) s_.Hmax = p_->elevationCm;
        }
        if (wpt_) {
            std::fill(f.value.begin() + cell::PointName, f.value.begin() + cell::PointName + 6,
                      uint8_t(0));
            // At most six bytes, never cutting a character in two.
            size_t n = std::min<size_t>(6, name_->size());
            while (n > 0 && n < name_->size() &&
                   (static_cast<unsigned char>((*name_)[n]) & 0xC0) == 0x80)
                --n;
            for (size_t k = 0; k < n; ++k)
                f.value[size_t(cell::PointName) + k] = uint8_t((*name_)[k]);
        }
        ++given;
    }

  public:
    int given = 0;

  private:
    ProfileStore& s_;
    const Survey& v_;
    bool wpt_;
    const GpxPoint* p_ = nullptr;
    const std::string* name_ = nullptr;
};

void clearForSync(ProfileStore& s, bool waypoints) {
    const int last = lastSlot(s);
    for (int i = 0; i <= last; ++i) {
        FrameRecord& f = s.frame(i);
        std::fill(f.value.begin() + cell::VolumeSlot, f.value.begin() + cell::LatFraction + 3,
                  uint8_t(0));
        f.set24(cell::ReliefHeight, 0);
        // The nearest-fix memory of the run ends went with their positions.
        f.set24(cell::FixTime, 0);
        if (waypoints)
            std::fill(f.value.begin() + cell::PointName, f.value.begin() + cell::PointName + 6,
                      uint8_t(0));
    }
    s.setHmax(0);
}

} // namespace

CoordImportResult readGpxFile(ByteSource& src, ProfileStore& s, const CoordImportSettings&,
                              Interaction& ui) {
    CoordImportResult r;
    const GpxScan scan = scanGpx(src);
    for (const GpxPoint& p : scan.waypoints)
        if (gpxListable(p, true)) r.waypointItems.push_back(gpxListItem(p, true));
    for (const GpxPoint& p : scan.trackPoints)
        if (gpxListable(p, false)) r.trackItems.push_back(gpxListItem(p, false));
    r.lines = int(r.waypointItems.size() + r.trackItems.size());
    if (r.lines == 0) {
        ui.show(coordmsg::gpxIncompatible(s.openFileName));
        r.refused = true;
        return r;
    }
    s.header.value[hdr::CoordFlags] |= hdr::CoordPanelExpanded;
    return r;
}

CoordImportResult synchronizeGpx(ByteSource& src, ProfileStore& s, GpxPoints which,
                                 const GpxSyncSettings& st, Interaction& ui) {
    CoordImportResult r;
    const bool wpt = which == GpxPoints::Waypoints;
    const Answer a = ui.show(coordmsg::gpxClearQuestion());
    if (a == Answer::Cancel) {
        r.refused = true;
        return r;
    }
    if (a == Answer::Yes) clearForSync(s, wpt);
    const GpxScan scan = scanGpx(src);
    const std::vector<GpxPoint>& points = wpt ? scan.waypoints : scan.trackPoints;
    const int cursor = std::clamp(st.cursorFrame, 0, MAX_FRAME_INDEX);
    const int offset = timeOfDay(s.frame(cursor)) - itemTimeOfDay(st.selectedItem);
    const Survey survey(s);
    Matcher m(s, survey, wpt);
    std::string carriedName;
    uint8_t& flags = s.header.value[hdr::CoordFlags];
    for (const GpxPoint& p : points) {
        // A waypoint without a name of its own takes the previous one's.
        if (p.hasName) carriedName = p.name;
        if (!gpxListable(p, wpt)) continue;
        ++r.lines;
        if (p.south) flags |= hdr::South;
        if (p.west) flags |= hdr::West;
        int T = p.timeOfDay + offset;
        if (!wpt) {
            if (T > SECONDS_PER_DAY - 1) T -= SECONDS_PER_DAY;
            if (T < 0) T += SECONDS_PER_DAY;
        }
        m.point(p, wpt ? carriedName : p.name, T);
    }
    s.setHmax(s.Hmax);
    r.matched = m.given;
    if (r.lines == 0) {
        ui.show(coordmsg::gpxIncompatible(s.openFileName));
        r.refused = true;
        return r;
    }
    r.applied = r.matched > 0;
    s.stateFlags |= state::Changed;
    ui.show(coordmsg::gpxLoaded(s.openFileName));
    return r;
}

bool CoordinateFile::open(ProfileStore& s, const std::string& path, Interaction& ui) {
    close(s);
    auto f = FileSource::open(path);
    if (!f) {
        ui.show(msg::coordFileOpenFailed(path));
        return false;
    }
    if (f->size() == 0) {
        ui.show(msg::emptyFile("E025", path));
        return false;
    }
    file_ = std::move(f);
    path_ = path;
    s.openFileName = path;
    s.stateFlags |= state::CoordFileOpen;
    return true;
}

void CoordinateFile::close(ProfileStore& s) {
    file_.reset();
    path_.clear();
    s.stateFlags &= uint16_t(~state::CoordFileOpen);
}

} // namespace tesk::coords
