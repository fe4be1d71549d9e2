#include "display/markers.h"

#include "display/messages.h"
#include "display/pixel_canvas.h"

#include <algorithm>

namespace tesk {

namespace {

bool radargramView(const ProfileStore& s) {
    return (s.stateFlags & state::ViewMask) == 0;
}

void setMarkerStatus(FrameRecord& f, int status) {
    uint8_t& b = f.value[cell::Status];
    b = uint8_t((b & ~status::MarkerMask) | (status & status::MarkerMask));
}

// Applies `rule` to the status of every frame 0 .. frameCount; counts changes.
template <class Rule> int forEachStatus(ProfileStore& s, Rule rule) {
    int changed = 0;
    const int last = std::clamp(s.frameCount, 0, MAX_FRAME_INDEX);
    for (int f = 0; f <= last; ++f) {
        FrameRecord& fr = s.frame(f);
        const int before = fr.markerStatus();
        const int after = rule(before);
        if (after == before) continue;
        setMarkerStatus(fr, after);
        ++changed;
    }
    if (changed) s.stateFlags |= state::Changed;
    return changed;
}

} // namespace

uint32_t markerColour(int status) {
    switch (status) {
    case 1:
        return 0x000001;
    case 2:
        return 0xFF6600;
    case 3:
        return 0x0000FF;
    default:
        return 0;
    }
}

void paintMarkerFlags(QImage& overlay, const ProfileStore& s, const ViewState& v,
                      const MarkerSettings& m) {
    if (m.item < markerItem::Show || !radargramView(s)) return;
    PixelCanvas c(overlay);
    const int X0 = v.ViewOrigin.x;
    const int Y0 = v.ViewOrigin.y;
    for (int i = 0; i < VIEW_FRAMES; ++i) {
        const int64_t f = int64_t(s.viewStart) + i;
        if (f < 0 || f > MAX_FRAME_INDEX) break;
        const int status = s.frame(int(f)).markerStatus();
        if (status == 0) continue;
        const uint32_t colour = markerColour(status);
        const int x = X0 + 2 * i;
        c.line(x, Y0 - 7, x, Y0 + 4, colour);
        c.line(x - 1, Y0 - 6, x + 2, Y0 - 6, colour);
        c.line(x - 2, Y0 - 5, x + 3, Y0 - 5, colour);
        c.line(x - 2, Y0 - 4, x + 3, Y0 - 4, colour);
        c.line(x - 1, Y0 - 3, x + 2, Y0 - 3, colour);
    }
}

int raiseMarkers(ProfileStore& s) {
    return forEachStatus(s, [](int st) { return st == 1 || st == 2 ? st + 1 : st; });
}

int lowerMarkersTo1(ProfileStore& s) {
    return forEachStatus(s, [](int st) { return st >= 2 ? st - 1 : st; });
}

int lowerMarkersTo0(ProfileStore& s) {
    return forEachStatus(s, [](int st) { return st > 0 ? st - 1 : st; });
}

int deleteAllMarkers(ProfileStore& s) {
    return forEachStatus(s, [](int) { return 0; });
}

MarkerBoxChange markerBoxChange(ProfileStore& s, int item, Interaction& ui) {
    MarkerBoxChange r;
    r.item = item;
    if (item == markerItem::Off) {
        r.boxColour = markerBox::SystemColour;
        return r;
    }
    if (item == markerItem::Show) {
        r.boxColour = markerBox::Shown;
        return r;
    }
    // The edits act on the radargram only; elsewhere the box keeps its colour.
    if (!radargramView(s) || item < markerItem::Change || item > markerItem::DeleteAll) return r;
    if (item == markerItem::Change) {
        r.boxColour = markerBox::Edit;
        return r;
    }
    Message question;
    int (*operation)(ProfileStore&) = nullptr;
    switch (item) {
    case markerItem::Raise:
        question = msg::raiseMarkers();
        operation = raiseMarkers;
        break;
    case markerItem::LowerTo1:
        question = msg::lowerMarkersTo1();
        operation = lowerMarkersTo1;
        break;
    case markerItem::LowerTo0:
        question = msg::lowerMarkersTo0();
        operation = lowerMarkersTo0;
        break;
    default:
        question = msg::deleteAllMarkers();
        operation = deleteAllMarkers;
        break;
    }
    if (ui.show(question) != Answer::No) r.statusesChanged = operation(s) > 0;
    r.item = markerItem::Show;
    r.boxColour = markerBox::Shown;
    return r;
}

bool raiseMarkerAt(ProfileStore& s, int frame) {
    if (frame < 0 || frame > MAX_FRAME_INDEX) return false;
    FrameRecord& f = s.frame(frame);
    const int st = f.markerStatus();
    if (st >= 3) return false;
    setMarkerStatus(f, st + 1);
    s.stateFlags |= state::Changed;
    return true;
}

bool lowerMarkersAround(ProfileStore& s, int frame) {
    bool changed = false;
    for (int f = frame + 2; f >= frame - 2 && f >= 0; --f) {
        if (f > MAX_FRAME_INDEX) continue;
        FrameRecord& fr = s.frame(f);
        const int st = fr.markerStatus();
        if (st == 0) continue;
        setMarkerStatus(fr, st - 1);
        changed = true;
    }
    if (changed) s.stateFlags |= state::Changed;
    return changed;
}

bool markerShiftClick(ProfileStore& s, const ViewState& v, const MarkerSettings& m,
                      MouseButton button, NavKeys keys, Point at) {
    if (m.item != markerItem::Change || !keys.leftShift || !radargramView(s)) return false;
    int column = 0;
    int row = 0;
    if (!pictureCell(v, at, column, row)) return false;
    const int frame = s.viewStart + column;
    if (button == MouseButton::Left) return raiseMarkerAt(s, frame);
    if (button == MouseButton::Right) return lowerMarkersAround(s, frame);
    return false;
}

} // namespace tesk
