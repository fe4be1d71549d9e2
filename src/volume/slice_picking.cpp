// The operator's side of the slice screen: clicks that place the sections,
// the section markers and their drags, the caption readouts and the A-scan
// trace at the section crossing.

#include "volume/plane_slices.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tesk {

namespace {

constexpr int LAST = SLICE_SIZE - 1;

int32_t limit(int v) {
    return std::clamp(v, 0, LAST);
}

void setAll(std::array<int32_t, 4>& group, int v) {
    group.fill(limit(v));
}
void setSome(std::array<int32_t, 4>& group, std::initializer_list<int> which, int v) {
    for (int i : which) group[std::size_t(i)] = limit(v);
}

std::string degrees(uint8_t whole, uint32_t fraction) {
    char b[32];
    std::snprintf(b, sizeof b, "%.7f", whole + fraction / 10000000.0);
    return b;
}

} // namespace

unsigned pickSection(SectionParameters& p, SliceImage image, int layout, int x, int y,
                     MouseButton button, SliceKeys keys, bool functionPanel) {
    using namespace slice_step;
    const bool modified = keys.leftShift || keys.leftCtrl;
    const bool left = button == MouseButton::Left;
    const bool right = button == MouseButton::Right;
    if (image == SliceImage::Image2) {
        const int gy = LAST - y;
        if (!modified) {
            setAll(p.X, x);
            setAll(p.Y, gy);
        } else if (left) {
            setSome(p.X, {0, 1, 2}, x);
            setSome(p.Y, {0, 1, 2}, gy);
        } else if (right) {
            setSome(p.X, {1}, x);
            setSome(p.Y, {1}, gy);
        }
        switch (layout) {
        case section_layout::TX:
            return TXIn3 | Image3;
        case section_layout::TY:
            return TYIn3 | Image3;
        case section_layout::TXY:
            return TXIn3 | TYIn4 | Image3 | Image4;
        default:
            return functionPanel ? TXIn3 : 0u;
        }
    }
    const bool tx = image == SliceImage::Image3 && layout != section_layout::TY;
    auto& across = tx ? p.X : p.Y; // the section position the pointer sets
    if (!modified) {
        setAll(across, x);
        setAll(p.T, y);
    } else if (left) {
        setSome(across, {0, 2, 3}, x);
        if (tx)
            setSome(p.T, {0, 1, 2}, y);
        else
            setSome(p.T, {0, 2, 3}, y);
    } else if (right) {
        setSome(across, {3}, x);
        setSome(p.T, {tx ? 1 : 3}, y);
    }
    if (image == SliceImage::Image4) return XY | Image2 | TXIn3 | Image3;
    if (layout == section_layout::TXY) return XY | Image2 | TYIn4 | Image4;
    return XY | Image2;
}

std::array<MarkerPlace, SECTION_MARKERS> Shape_RIS(const SectionParameters& p, int layout, int x0,
                                                   int y0) {
    using M = SectionMarker;
    std::array<MarkerPlace, SECTION_MARKERS> m{};
    auto place = [&](M which, int left, int top) {
        m[std::size_t(which)] = MarkerPlace{true, left, top};
    };
    // Markers on the X-Y plane: the T-Y section's ends (X) below and above,
    // the T-X section's ends (Y) left and right of it.
    place(M::X1, x0 + p.X[0] - 5, y0 + 513);
    place(M::X2, x0 + p.X[1] - 5, y0 - 11);
    place(M::Y1, x0 - 11, y0 + 506 - p.Y[0]);
    place(M::Y2, x0 + 513, y0 + 506 - p.Y[1]);
    if (layout == section_layout::TX || layout == section_layout::TXY) {
        // On the T-X section: the T-Y section's drift with depth and the
        // X-Y plane's time at both ends.
        place(M::X3, x0 + p.X[2] + 595, y0 - 11);
        place(M::X4, x0 + p.X[3] + 595, y0 + 513);
        place(M::T1, x0 + 594, y0 + p.T[0] - 5);
        place(M::T2, x0 + 1108, y0 + p.T[1] - 5);
    }
    if (layout == section_layout::TY || layout == section_layout::TXY) {
        const int panel = layout == section_layout::TY ? 600 : 1200;
        place(M::Y3, x0 + panel + p.Y[2] - 5, y0 - 11);
        place(M::Y4, x0 + panel + p.Y[3] - 5, y0 + 513);
        place(M::T3, x0 + panel - 6, y0 + p.T[2] - 5);
        place(M::T4, x0 + panel + 508, y0 + p.T[3] - 5);
    }
    return m;
}

void dragMarker(SectionParameters& p, SectionMarker m, int dx, int dy, SliceKeys keys) {
    const int n = int(m);
    const int group = n / 4, own = n % 4;
    auto& values = group == 0 ? p.X : group == 1 ? p.Y : p.T;
    // X markers and the Y markers on a section panel move sideways; the Y
    // markers beside the X-Y plane move up for growing Y; T markers move down.
    int d = dx;
    if (group == 1 && own < 2) d = -dy;
    if (group == 2) d = dy;
    auto move = [&](int i) { values[std::size_t(i)] = limit(values[std::size_t(i)] + d); };
    if (keys.leftCtrl) {
        move(own);
    } else if (keys.leftShift) {
        move(own < 2 ? 0 : 2);
        move(own < 2 ? 1 : 3);
    } else {
        for (int i = 0; i < 4; ++i) move(i);
    }
}

int depthForTime(double t, int velocityCode, int antennaCm, bool zeroLine) {
    if (velocityCode <= 0) return 0;
    const double v = velocityCode / 100.0;
    const int a = antennaCm / 2;
    const double tp = zeroLine ? t : t + a * 100.0 / velocityCode - a / 15.0;
    const double s = (tp + a / 15.0) * v;
    return s <= a ? 0 : int(std::trunc(std::sqrt(s * s - double(a) * a)));
}

std::string sliceCaption(const VolumeGrid& g, const SectionParameters& p, SliceImage image,
                         int layout, int x, int y, const SliceReadoutSettings& s) {
    const int px = std::clamp(x, 0, LAST), py = std::clamp(y, 0, LAST);
    int gx = 0, gy = 0, plane = 0;
    if (image == SliceImage::Image2) {
        gx = px;
        gy = LAST - py;
        plane = p.T[0];
    } else if (image == SliceImage::Image3 && layout != section_layout::TY) {
        gx = px;
        gy = p.Y[0];
        plane = py;
    } else {
        gx = p.X[0];
        gy = px;
        plane = py;
    }
    std::string caption = s.prefix;
    if (!g.allocated()) return caption;
    if (s.geographic) {
        caption += ":  Long = " +
                   degrees(g.at(gx, node::LonDegrees, 0), g.get24(gx, node::LonDegrees + 1, 0));
        caption += ":  Lat = " +
                   degrees(g.at(0, node::LatDegrees, gy), g.get24(0, node::LatDegrees + 1, gy));
    } else {
        caption += ":  X = " + std::to_string(g.ucsX(gx, 0));
        caption += ":  Y = " + std::to_string(g.ucsY(0, gy));
    }
    double t = s.nsPerRow * plane;
    const uint32_t h = g.reliefHeight(gx, gy);
    if (s.reliefDisplay && s.velocityCode > 0 && s.Hmax > h)
        t -= std::trunc((double(s.Hmax) - h) * 100.0 / s.velocityCode);
    caption += ":  D = " + std::to_string(depthForTime(t, s.velocityCode, s.antennaCm, s.zeroLine));
    return caption;
}

SliceTrace sliceTrace(const DisplayRaster& r, int layout, const SectionParameters& p) {
    SliceTrace t;
    const int along = layout == section_layout::TY ? p.Y[0] : p.X[0];
    const uint8_t* row = r.row(3, DisplayRaster::FIRST_VIEW_ROW + limit(along));
    std::copy(row, row + SLICE_SIZE, t.codes.begin());
    t.cursorRow = limit(p.T[0]);
    t.crossing = t.codes[std::size_t(t.cursorRow)];
    return t;
}

} // namespace tesk
