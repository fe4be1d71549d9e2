// The four recalculation modes, the overall flow of the recalculate command
// and the clearing of positions and heights.

#include "coordinates/recalc.h"

#include "coordinates/correction.h"
#include "coordinates/frame_fields.h"
#include "coordinates/messages.h"

#include <algorithm>

namespace tesk::coords {

using coordmsg::Place;

int stepCmForItem(int item) {
    return STEP_TABLE[size_t(std::clamp(item, 0, int(STEP_TABLE.size()) - 1))];
}
int distanceCmForItem(int item) {
    return DISTANCE_TABLE[size_t(std::clamp(item, 0, int(DISTANCE_TABLE.size()) - 1))];
}

void takeHeaderItems(RecalcSettings& r, const SurveyHeader& h) {
    r.stepItem = h.value[hdr::Step];
    r.distanceItem = h.value[hdr::ProfileDistance];
    r.layoutItem = h.value[hdr::VolumeInterp];
}

namespace {

// What an interpolation works on: both geographic values, both UCS values,
// or the relief height.
enum class Channel { Geographic, Rectangular, Height };

bool known(const FrameRecord& f, Channel c) {
    switch (c) {
    case Channel::Geographic:
        return !(lonZero(f) && latZero(f));
    case Channel::Rectangular:
        return ucsX(f) != 0 || ucsY(f) != 0;
    case Channel::Height:
        break;
    }
    return f.reliefHeight() != 0;
}

// Linear interpolation of the inner frames i+1 .. j-1 between two anchors.
// Geographic values are cut to whole 1e-7 degree, UCS values and heights
// rounded half to even.
void interpolate(ProfileStore& s, Channel c, int i, int j) {
    const int n = j - i;
    if (n < 2) return;
    const FrameRecord& a = s.frame(i);
    const FrameRecord& b = s.frame(j);
    if (c == Channel::Geographic) {
        const double lon0 = double(lonUnits(a)), lon1 = double(lonUnits(b));
        const double lat0 = double(latUnits(a)), lat1 = double(latUnits(b));
        for (int m = 1; m < n; ++m) {
            FrameRecord& f = s.frame(i + m);
            setLonUnits(f, int64_t(lon0 + m * (lon1 - lon0) / n));
            setLatUnits(f, int64_t(lat0 + m * (lat1 - lat0) / n));
        }
    } else if (c == Channel::Rectangular) {
        const double x0 = ucsX(a), x1 = ucsX(b), y0 = ucsY(a), y1 = ucsY(b);
        for (int m = 1; m < n; ++m)
            setUcs(s.frame(i + m), roundToInt(x0 + m * (x1 - x0) / n),
                   roundToInt(y0 + m * (y1 - y0) / n));
    } else {
        const double h0 = a.reliefHeight(), h1 = b.reliefHeight();
        for (int m = 1; m < n; ++m)
            s.frame(i + m).set24(cell::ReliefHeight, uint32_t(std::max<int64_t>(
                                                         0, roundToInt(h0 + m * (h1 - h0) / n))));
    }
}

// The check of an anchor frame. False when the command stops (a stop error,
// or a question answered No).
bool checkAnchor(ProfileStore& s, Interaction& ui, Channel c, Place p, int i, bool mode0Form) {
    const FrameRecord& f = s.frame(i);
    if (c == Channel::Geographic) {
        const bool lon = lonZero(f), lat = latZero(f);
        if (lon && lat) {
            ui.show(coordmsg::coordinatesZeroStop(p, i));
            return false;
        }
        if (lon) return ui.show(coordmsg::longitudeZero(p, i)) == Answer::Yes;
        if (lat) return ui.show(coordmsg::latitudeZero(p, i)) == Answer::Yes;
        return true;
    }
    if (c == Channel::Rectangular) {
        if (known(f, c)) return true;
        const bool dot = mode0Form && (p == Place::Start || p == Place::End);
        return ui.show(coordmsg::rectangularZero(p, i, dot)) == Answer::Yes;
    }
    if (f.reliefHeight() != 0) return true;
    return ui.show(coordmsg::heightZero(p, i)) == Answer::Yes;
}

int runEnd(const ProfileStore& s, int a, int last) {
    int b = a;
    while (b < last && s.frame(b + 1).inProfile()) ++b;
    return b;
}

// Mode 0: every profile of the file, its ends and every known frame as anchors.
bool wholeFile(ProfileStore& s, Interaction& ui, Channel c) {
    const int last = lastSlot(s);
    for (int i = 0; i <= last; ++i) {
        if (!s.frame(i).inProfile()) continue;
        const int a = i, b = runEnd(s, i, last);
        if (!checkAnchor(s, ui, c, Place::Start, a, true)) return false;
        int prev = a;
        for (int j = a + 1; j < b; ++j) {
            if (!known(s.frame(j), c)) continue;
            // A frame with only one geographic value asks as a profile start does.
            if (c == Channel::Geographic && !checkAnchor(s, ui, c, Place::Start, j, true))
                return false;
            interpolate(s, c, prev, j);
            prev = j;
        }
        if (b > a) {
            if (!checkAnchor(s, ui, c, Place::End, b, true)) return false;
            interpolate(s, c, prev, b);
        }
        i = b;
    }
    return true;
}

// Mode 1: the profile at (or after) the view start, between its markers.
bool profileByMarkers(ProfileStore& s, Interaction& ui, Channel c) {
    const int last = lastSlot(s);
    int a = std::clamp(s.viewStart, 0, last);
    if (!s.frame(a).inProfile()) {
        while (a <= last && !s.frame(a).inProfile()) ++a;
        if (a > last) {
            ui.show(coordmsg::endOfFile());
            return false;
        }
    } else {
        while (a > 0 && s.frame(a - 1).inProfile()) --a;
    }
    const int b = runEnd(s, a, last);
    if (!checkAnchor(s, ui, c, Place::Start, a, false)) return false;
    int prev = a;
    for (int j = a + 1; j <= b; ++j) {
        if (j == b) {
            if (!checkAnchor(s, ui, c, Place::End, j, false)) return false;
        } else if (s.frame(j).markerStatus() > 0) {
            if (!checkAnchor(s, ui, c, Place::Marker, j, false)) return false;
        } else {
            continue;
        }
        interpolate(s, c, prev, j);
        prev = j;
    }
    return true;
}

// Mode 2: from the cursor frame to the next marker or the end of its profile.
bool toMarker(ProfileStore& s, Interaction& ui, Channel c, int cursor) {
    const int last = lastSlot(s);
    const int start = std::clamp(cursor, 0, MAX_FRAME_INDEX);
    if (c == Channel::Geographic && !s.frame(start).inProfile()) {
        ui.show(coordmsg::coordinatesZeroStop(Place::Cursor, start));
        return false;
    }
    if (!checkAnchor(s, ui, c, Place::Cursor, start, false)) return false;
    int end = start;
    Place place = Place::Marker;
    for (int j = start + 1; j <= last; ++j) {
        if (!s.frame(j).inProfile()) {
            end = j - 1;
            place = Place::End;
            break;
        }
        if (s.frame(j).markerStatus() > 0 || j == last) {
            end = j;
            break;
        }
    }
    if (end > start && !checkAnchor(s, ui, c, place, end, false)) return false;
    if (end - start < 2) return false;
    interpolate(s, c, start, end);
    return true;
}

// Mode 3: positions from the profile step and the distance between profiles.
bool byProfileStep(ProfileStore& s, const RecalcSettings& st, Interaction& ui) {
    if (ui.show(coordmsg::ucsRecalculated()) != Answer::Yes) return false;
    const int S = stepCmForItem(st.stepItem);
    const int D = distanceCmForItem(st.distanceItem);
    int layout = std::clamp(st.layoutItem, 0, 4);
    const bool switching = layout >= 2;
    if (switching) layout = 0;
    bool switched = false;
    int64_t O = 0, A = 0;
    int state = 0; // 0 before any profile, 1 in a profile, 2 a profile has ended
    const int last = lastSlot(s);
    for (int i = 0; i <= last; ++i) {
        FrameRecord& f = s.frame(i);
        if (!f.inProfile()) {
            if (state == 1) state = 2;
            continue;
        }
        const int marker = f.markerStatus();
        const bool starts = state == 2 || marker >= 2;
        if (starts) {
            if (switching && !switched && marker == 3) {
                // A red marker starts the second group, the crossing profiles.
                switched = true;
                layout = 1;
                O = 0;
            } else {
                O += D;
            }
            A = 0;
        }
        if (layout == 0)
            setUcs(f, O, A);
        else
            setUcs(f, A, O);
        A += S;
        state = 1;
    }
    return true;
}

bool runPositions(ProfileStore& s, const RecalcSettings& st, Interaction& ui) {
    const Channel c = st.geographic ? Channel::Geographic : Channel::Rectangular;
    switch (st.mode) {
    case RecalcMode::WholeFile:
        return wholeFile(s, ui, c);
    case RecalcMode::ProfileByMarkers:
        if (ui.show(coordmsg::ucsRecalculatedMode1()) != Answer::Yes) return false;
        return profileByMarkers(s, ui, c);
    case RecalcMode::ToMarker:
        if (ui.show(coordmsg::ucsRecalculated()) != Answer::Yes) return false;
        return toMarker(s, ui, c, st.cursorFrame);
    case RecalcMode::ByProfileStep:
        break;
    }
    return true;
}

bool runHeights(ProfileStore& s, const RecalcSettings& st, Interaction& ui) {
    switch (st.mode) {
    case RecalcMode::WholeFile:
        return wholeFile(s, ui, Channel::Height);
    case RecalcMode::ProfileByMarkers:
        if (ui.show(coordmsg::reliefWillChange()) != Answer::Yes) return false;
        return profileByMarkers(s, ui, Channel::Height);
    case RecalcMode::ToMarker:
        if (ui.show(coordmsg::reliefWillChange()) != Answer::Yes) return false;
        return toMarker(s, ui, Channel::Height, st.cursorFrame);
    case RecalcMode::ByProfileStep:
        break;
    }
    return true;
}

} // namespace

RecalcResult Pereschet(ProfileStore& s, const RecalcSettings& st, Interaction& ui) {
    RecalcResult r;
    if (st.mode == RecalcMode::ByProfileStep) {
        if (!byProfileStep(s, st, ui)) return r;
    } else {
        if (st.coordinates && !runPositions(s, st, ui)) return r;
        if (st.heights && !runHeights(s, st, ui)) return r;
        if (st.geographic && !convertGeographicToUcs(s, ui)) return r;
    }
    const TrackStatistics stats = trackStatistics(s, ui);
    if (!stats.completed) return r;
    r.meanProfileStep = uint16_t(std::clamp<int64_t>(roundToInt(stats.surveyMean), 0, 65535));
    r.hmaxCaption = hmaxCaption(s.Hmax, " m", st.decimalSeparator);
    if (r.meanProfileStep > 0 && st.adjust && st.coordinates)
        r.correction = Kor_LX(s, CorrectionSettings{r.meanProfileStep, st.stepItem}, ui);
    s.stateFlags |= state::Changed;
    r.completed = true;
    return r;
}

void setHemisphere(ProfileStore& s, bool latitude, int item) {
    setBit(s.header.value[hdr::CoordFlags], latitude ? hdr::South : hdr::West, item == 1);
    s.stateFlags |= state::Changed;
}

ClearResult clearPositionsAndHeights(ProfileStore& s, bool coordinates, bool heights,
                                     Interaction& ui) {
    ClearResult r;
    if (coordinates) r.coordinates = ui.show(coordmsg::clearCoordinatesQuestion()) == Answer::Yes;
    if (heights) r.heights = ui.show(coordmsg::clearHeightsQuestion()) == Answer::Yes;
    const int last = lastSlot(s);
    for (int i = 0; i <= last; ++i) {
        FrameRecord& f = s.frame(i);
        if (r.coordinates)
            std::fill(f.value.begin() + cell::VolumeSlot, f.value.begin() + cell::LatFraction + 3,
                      uint8_t(0));
        if (r.heights) f.set24(cell::ReliefHeight, 0);
        if (r.coordinates && r.heights) {
            std::fill(f.value.begin() + cell::Hour, f.value.begin() + cell::Hundredths + 1,
                      uint8_t(0));
            f.set24(cell::FixTime, 0);
        }
    }
    if (r.heights) s.setHmax(0);
    s.stateFlags |= state::Changed;
    return r;
}

} // namespace tesk::coords
