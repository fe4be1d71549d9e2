#include "volume/panel_3d.h"

#include "volume/rounding.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

int idx(Bar b) {
    return int(b);
}

// Which views a bar's change redraws.
bool redrawsIn(Bar b, int view) {
    switch (b) {
    case Bar::X:
    case Bar::T:
    case Bar::Y:
    case Bar::M:
    case Bar::G:
    case Bar::V:
    case Bar::Kx:
    case Bar::Ky:
        return view == cube_view::Profiles || view == cube_view::Carpet ||
               view == cube_view::Sections;
    case Bar::A:
    case Bar::B:
    case Bar::C:
        return view == cube_view::Sections;
    case Bar::H:
    case Bar::D:
        return view == cube_view::Carpet;
    default: // Kt, the windows, K
        return view == cube_view::Profiles || view == cube_view::Sections;
    }
}

} // namespace

BarRange barRange(Bar b) {
    switch (b) {
    case Bar::X:
        return {"X", 1, 359, 190};
    case Bar::T:
        return {"T", 0, 360, 190};
    case Bar::Y:
        return {"Y", 0, 360, 180};
    case Bar::M:
        return {"M", 1, 128, 16};
    case Bar::G:
        return {"G", 0, 512, 256};
    case Bar::V:
        return {"V", 0, 512, 256};
    case Bar::Kx:
        return {"Kx", 0, 511, 0};
    case Bar::Kt:
        return {"Kt", 0, 511, 0};
    case Bar::Ky:
        return {"Ky", 0, 511, 0};
    case Bar::A:
        return {"A", 0, 511, 0};
    case Bar::B:
        return {"B", 0, 511, 0};
    case Bar::C:
        return {"C", 0, 511, 0};
    case Bar::A1:
        return {"A1", 4, 255, 255};
    case Bar::A2:
        return {"A2", 3, 254, 128};
    case Bar::A3:
        return {"A3", 2, 253, 127};
    case Bar::A4:
        return {"A4", 1, 252, 1};
    case Bar::T1:
        return {"T1", 0, 510, 0};
    case Bar::T2:
        return {"T2", 1, 511, 511};
    case Bar::K:
        return {"K", 0, 512, 0};
    case Bar::H:
        return {"H", 0, 512, 0};
    case Bar::D:
        return {"D", 0, 256, 0};
    }
    return {"", 0, 0, 0};
}

DistanceReadout cursorDistance(int stepCm, int n) {
    const double cm = double(stepCm) * n;
    if (cm > 99999) return {std::to_string(roundToInt(cm / 100.0)), true};
    return {std::to_string(int(cm)), false};
}

GlubinaReadout GLUBINA(int T0, const GlubinaSettings& s) {
    GlubinaReadout r;
    double t = s.nsPerRow * T0;
    r.time = std::to_string(int(std::trunc(t)));
    if (s.reliefDisplay && s.velocityCode > 0)
        t -= std::trunc((double(s.Hmax) - double(s.frameHeight)) * 100.0 / s.velocityCode);
    const double A = s.antennaCm;
    if (!s.zeroLine && s.tableVelocity > 0) t += 5 * A / s.tableVelocity - A / 30;
    const double depth = s.velocityCode * (t + A / 30) / 100;
    const double h = std::trunc(A / 2);
    r.depth = h > depth ? "0" : std::to_string(int(std::trunc(std::sqrt(depth * depth - h * h))));
    return r;
}

Panel3D::Panel3D() {
    for (Bar b : {Bar::X,  Bar::T,  Bar::Y,  Bar::M,  Bar::A,  Bar::B,  Bar::C,
                  Bar::G,  Bar::V,  Bar::A1, Bar::A2, Bar::A3, Bar::A4, Bar::Kx,
                  Bar::Kt, Bar::Ky, Bar::K,  Bar::T1, Bar::T2, Bar::H,  Bar::D})
        pos_[std::size_t(idx(b))] = barRange(b).start;
}

void Panel3D::set(Bar b, int v) {
    const BarRange s = barRange(b);
    pos_[std::size_t(idx(b))] = std::clamp(v, s.min, s.max);
}

CubeCamera Panel3D::camera() const {
    CubeCamera c;
    c.angleX = position(Bar::X) - 180;
    c.angleY = position(Bar::T) - 180;
    c.angleZ = position(Bar::Y) - 180;
    c.scale = position(Bar::M) / 64.0;
    c.shiftX = (2.0 * position(Bar::G) - 512) / 512;
    c.shiftY = (2.0 * position(Bar::V) - 512) / 512 - 0.5;
    return c;
}

CubeWindows Panel3D::windows() const {
    return CubeWindows{position(Bar::T1), position(Bar::T2), position(Bar::A1),
                       position(Bar::A2), position(Bar::A3), position(Bar::A4)};
}

CubeDecorations Panel3D::decorations() const {
    return CubeDecorations{cubeEdges,         points,           cursor, position(Bar::Kx),
                           position(Bar::Kt), position(Bar::Ky)};
}

PanelEffect Panel3D::change(Bar b, int value, int view, bool leftCtrl, bool busy,
                            SectionParameters& p, SectionList& sections) {
    PanelEffect e;
    set(b, value);
    const int v = position(b);
    e.redraw = redrawsIn(b, view);
    switch (b) {
    case Bar::A1:
    case Bar::A2:
    case Bar::A3:
    case Bar::A4: {
        // A1 > A2 > A3 > A4: the others give way, one step apart.
        const int i = idx(b);
        for (int j = idx(Bar::A1); j <= idx(Bar::A4); ++j) {
            int& other = pos_[std::size_t(j)];
            if (j > i) other = std::min(other, v - (j - i));
            if (j < i) other = std::max(other, v + (i - j));
        }
        break;
    }
    case Bar::T1:
        if (v >= position(Bar::T2)) set(Bar::T2, v + 1);
        break;
    case Bar::T2:
        if (v <= position(Bar::T1)) set(Bar::T1, v - 1);
        break;
    case Bar::Kx:
        p.X[0] = v;
        e.readoutsX = true;
        break;
    case Bar::Ky:
        p.Y[0] = v;
        e.readoutsY = true;
        break;
    case Bar::Kt:
        if (view == cube_view::Profiles || view == cube_view::Sections) {
            p.T[0] = v;
            e.glubina = true;
        }
        break;
    case Bar::H:
        e.rebuildCarpet = view == cube_view::Carpet;
        p.T[0] = std::min(v, SLICE_SIZE - 1);
        e.glubina = true;
        break;
    case Bar::D:
        e.rebuildCarpet = view == cube_view::Carpet;
        break;
    case Bar::A:
    case Bar::B:
    case Bar::C: {
        if (view != cube_view::Sections || busy) break;
        const int sel = std::clamp(sections.selected, 0, MAX_SECTIONS - 1);
        SectionEntry& entry = sections.table[std::size_t(sel)];
        if (b == Bar::A) {
            const int diff = v - entry.A;
            entry.A = uint16_t(v);
            if (!leftCtrl) {
                // B and C follow A; their bars move without their handlers.
                entry.B = uint16_t(std::clamp(entry.B + diff, 0, SLICE_SIZE - 1));
                entry.C = uint16_t(std::clamp(entry.C + diff, 0, SLICE_SIZE - 1));
                set(Bar::B, entry.B);
                set(Bar::C, entry.C);
            }
        } else if (b == Bar::B) {
            entry.B = uint16_t(v);
        } else {
            entry.C = uint16_t(v);
        }
        sections.buildIndex = sel;
        e.rebuildSection = sel;
        break;
    }
    default:
        break;
    }
    return e;
}

PanelEffect Panel3D::captionClick(Bar b, int view, bool leftCtrl, bool busy, SectionParameters& p,
                                  SectionList& sections) {
    const bool profiles = view == cube_view::Profiles;
    int value = 0;
    switch (b) {
    case Bar::X:
    case Bar::T:
    case Bar::Y:
        value = 180;
        break;
    case Bar::M:
        value = 16;
        break;
    case Bar::G:
    case Bar::V:
        value = 256;
        break;
    case Bar::Kx:
    case Bar::Kt:
    case Bar::Ky:
        return {}; // their captions have no reset
    case Bar::A:
        if (!leftCtrl && view == cube_view::Sections && !busy) {
            // A, B and C all back to 0 (not B and C moved with A).
            SectionEntry& entry =
                sections.table[std::size_t(std::clamp(sections.selected, 0, MAX_SECTIONS - 1))];
            entry.B = entry.C = 0;
            set(Bar::B, 0);
            set(Bar::C, 0);
        }
        return change(b, 0, view, true, busy, p, sections);
    case Bar::A1:
        value = profiles ? 230 : 255;
        break;
    case Bar::A2:
        value = profiles ? 220 : 128;
        break;
    case Bar::A3:
        value = profiles ? 210 : 127;
        break;
    case Bar::A4:
        value = profiles ? 200 : 1;
        break;
    case Bar::T1:
        value = profiles ? 100 : 0;
        break;
    case Bar::T2:
        value = profiles ? 200 : 511;
        break;
    case Bar::K:
        value = 256;
        break;
    default: // B, C, H, D
        value = 0;
        break;
    }
    return change(b, value, view, leftCtrl, busy, p, sections);
}

void Panel3D::selectSection(SectionList& sections, int item) {
    sections.selected = std::clamp(item, 0, std::max(0, int(sections.items.size()) - 1));
    const SectionEntry& e = sections.table[std::size_t(sections.selected)];
    set(Bar::A, e.A);
    set(Bar::B, e.B);
    set(Bar::C, e.C);
}

void Panel3D::enterMode(int view, const SectionParameters& p) {
    set(Bar::Kx, p.X[0]);
    set(Bar::Kt, p.T[0]);
    set(Bar::Ky, p.Y[0]);
    if (view == cube_view::Profiles) set(Bar::K, 256);
    if (view == cube_view::Carpet) set(Bar::H, p.T[0]);
}

PanelLayout panelLayout(int view) {
    PanelLayout l;
    switch (view) {
    case cube_view::Profiles:
        l.windows = l.k = l.layersBox = l.boundaryGroup = l.profileList = true;
        break;
    case cube_view::Carpet:
        l.ktEnabled = false;
        l.carpetBars = true;
        break;
    case cube_view::Sections:
        l.sectionBars = l.windows = l.sectionControls = true;
        break;
    default:
        break;
    }
    return l;
}

int profileListHeight(int n, int listTop, int panelHeight) {
    const int line = panelHeight - 8;
    if (listTop + 13 * (n - 1) > line) return std::max(0, line - listTop);
    return 13 * (n + 1);
}

// --- mouse ------------------------------------------------------------------------------

int cubeMouseDown(CubeMouse& m, Panel3D&, MouseButton button, int x, int y) {
    m.x = x;
    m.y = y;
    switch (button) {
    case MouseButton::Left:
        m.drag = CubeDrag::Rotate;
        return 3;
    case MouseButton::Right:
        m.drag = CubeDrag::Shift;
        return 4;
    default:
        m.drag = CubeDrag::Middle;
        return 0;
    }
}

void cubeMouseMove(CubeMouse& m, Panel3D& panel, int x, int y) {
    // The camera bars touch neither the sections nor their list.
    static SectionParameters unusedP;
    static SectionList unusedS;
    auto nudge = [&](Bar b, double by, int lo, int hi) {
        const int to = panel.position(b) + roundToInt(by);
        if (to >= lo && to <= hi) panel.change(b, to, 0, false, true, unusedP, unusedS);
    };
    if (m.drag == CubeDrag::Rotate) {
        nudge(Bar::T, (x - m.x) / 4.0, 1, 359);
        nudge(Bar::X, (y - m.y) / 4.0, 1, 359);
    } else if (m.drag == CubeDrag::Shift) {
        nudge(Bar::G, (x - m.x) / 2.0, 1, 511);
        nudge(Bar::V, (m.y - y) / 4.0, 1, 511);
    }
    m.x = x;
    m.y = y;
}

void cubeMouseUp(CubeMouse& m, Panel3D& panel, int x, int y) {
    cubeMouseMove(m, panel, x, y);
    m.drag = CubeDrag::None;
}

} // namespace tesk
