#include "interpretation/velocity_fit.h"

#include "interpretation/layer_cells.h"
#include "interpretation/layer_table.h"
#include "interpretation/table_text.h"
#include "interpretation/velocity_methods.h"
#include "store/settings_catalog.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

constexpr uint32_t RIGHT_BRANCH = 0x88FFFF;
constexpr uint32_t LEFT_BRANCH = 0xFFFF88;
constexpr uint32_t CURRENT_CURVE = 0xFFFF00;
constexpr uint32_t MULTIPLE_CURVE = 0xFF00FF;
constexpr uint32_t OTHER_CURVE = 0xFFFFFF;
constexpr int LAST_PICTURE_X = OVERLAY_WIDTH - 1;

bool onPicture(Point p) {
    return p.x >= 0 && p.y >= 0 && p.x < OVERLAY_WIDTH && p.y < OVERLAY_HEIGHT;
}

bool columnInProfile(const ProfileStore& s, int column) {
    return s.frame(frameOfColumn(s, column)).inProfile();
}

// The row of a pick moved to the chosen phase, when snapping is on and the
// pick's frame is in a profile.
int snapped(const VelocityContext& c, Pick p) {
    if (!c.settings.snap || !columnInProfile(c.store, p.column)) return p.row;
    return snapPickRow(velocity::displayedTrace(c.raster, p.column), p.row, c.settings.phase);
}

} // namespace

// --- formulas --------------------------------------------------------------------

std::optional<int> hyperbolaVelocityCode(int dxCm, double t0Ns, double t1Ns) {
    if (dxCm == 0) return std::nullopt; // straight under the apex: no hyperbola
    const double D = t1Ns * t1Ns - t0Ns * t0Ns;
    if (D < 0) return std::nullopt; // a branch never rises above its apex
    if (D == 0) return MAX_VELOCITY_CODE;
    const double v = 100.0 * std::sqrt(double(dxCm) * dxCm / D);
    return int(
        std::clamp(std::nearbyint(v), double(MIN_HYPERBOLA_CODE), double(MAX_VELOCITY_CODE)));
}

std::optional<int> separationVelocityCode(int antennaCm, int stepCm, int frames, double t0Ns,
                                          double t1Ns, int flatCode) {
    const double X0 = antennaCm;
    const double X1 = antennaCm + 2.0 * stepCm * frames;
    const double T0 = X0 + 30 * t0Ns, T1 = X1 + 30 * t1Ns;
    const double N = X0 * X0 - X1 * X1;
    const double D = T0 * T0 - T1 * T1;
    if (N == 0) return std::nullopt; // both picks at one separation
    if (D == 0) return flatCode;
    const double q = N / D;
    if (!(q > 0)) return std::nullopt;
    return int(std::min(std::nearbyint(1500.0 * std::sqrt(q)), 65535.0));
}

// --- state -----------------------------------------------------------------------

VelocitySettings velocitySettingsFromHeader(const SurveyHeader& h) {
    VelocitySettings v;
    auto pick = [](const auto& table, int i) {
        return table[std::size_t(std::clamp(i, 0, int(table.size()) - 1))];
    };
    v.nsPerRow = pick(items::NS_PER_SAMPLE, h.value[hdr::TimeRange]);
    v.stepCm = pick(items::STEP_CM, h.value[hdr::Step]);
    // The 38th separation item (5000 cm) is taken at its word.
    v.antennaCm = pick(items::ANTENNA_CM, h.value[hdr::Antenna]);
    return v;
}

VelocitySession::VelocitySession() {
    for (int r = 1; r <= HODOGRAPHS; ++r) {
        const std::string label = " " + std::to_string(r) + " ";
        hodographTable.setCell(0, r, label);
        echoTable.setCell(0, r, label);
    }
}

int frameOfColumn(const ProfileStore& s, int column) {
    return std::clamp(s.viewStart + column, 0, MAX_FRAME_INDEX);
}

void commitVelocity(ProfileStore& s, int code) {
    const auto c = uint16_t(std::clamp(code, 0, 65535));
    s.setVelocity(c);
    s.hodographVelocity = c;
    s.header.value[hdr::VelocityIndex] = 0;
}

std::string hodographCaption(int k, bool english) {
    return (english ? "G O D O G R A F - " : "Г О Д О Г Р А Ф - ") + std::to_string(k);
}

std::optional<char32_t> StringGrid4KeyPress(char32_t key, char separator) {
    if (isDigitKey(key) || key == KEY_BACKSPACE || key == KEY_ENTER) return key;
    if (isSeparatorKey(key)) return char32_t(separator);
    return std::nullopt;
}

// --- drawing ---------------------------------------------------------------------

namespace velocity {

void drawHyperbola(OverlayDrawing& d, Pick apex, int velocityCode, const VelocitySettings& s) {
    if (velocityCode <= 0 || s.nsPerRow <= 0) return;
    const double v = velocityCode / 100.0;
    const int curves = s.multiples ? 16 : 1;
    const int x0 = 2 * apex.column;
    for (int m = 0; m < curves; ++m) {
        const int apexRow = apex.row * (m + 1);
        if (apexRow > 510) break;
        const double tApex = apexRow * s.nsPerRow;
        for (int side : {+1, -1}) {
            OverlayPolyline line{side > 0 ? RIGHT_BRANCH : LEFT_BRANCH, 1, {}};
            line.points.reserve(512);
            for (int i = 0; i < 1000; ++i) {
                const int x = x0 + side * i;
                if (x < 0 || x > LAST_PICTURE_X) break;
                const double distance = s.stepCm * i / 2.0;
                const double dv = distance / v;
                const double t = std::sqrt(dv * dv + tApex * tApex);
                const int row = int(std::nearbyint(t / s.nsPerRow));
                if (row > 510) break;
                line.points.push_back({x, row});
            }
            d.lines.push_back(std::move(line));
        }
    }
}

void drawHodographs(OverlayDrawing& d, const VelocityContext& c, std::optional<int> currentCode) {
    const VelocitySettings& s = c.settings;
    if (s.nsPerRow <= 0) return;
    const FrameRecord& f = c.store.frame(frameOfColumn(c.store, c.view.cursorColumn));
    const BoundaryRows rows = boundaryRows(f);
    const double A = s.antennaCm;
    const int x0 = 2 * c.view.cursorColumn;
    for (int j = 1; j <= BOUNDARIES; ++j) {
        const int b = rows[std::size_t(j - 1)];
        if (b <= 0) continue; // no boundary j at this frame
        const bool current = j == c.session.hodograph;
        const double V = current && currentCode ? *currentCode / 100.0
                                                : cellNumber(c.session.hodographTable.cell(1, j));
        if (!(V > 0)) continue;
        const int curves = current && s.multiples ? 16 : 1;
        for (int m = 0; m < curves; ++m) {
            const int r = b * (m + 1);
            if (r > 498) break;
            const double slant = V * (r * s.nsPerRow + A / 30);
            const double h2 = slant * slant - (A / 2) * (A / 2);
            if (h2 < 0) continue; // no reflector lies this shallow
            OverlayPolyline line{current ? (m == 0 ? CURRENT_CURVE : MULTIPLE_CURVE) : OTHER_CURVE,
                                 current ? 2 : 1,
                                 {}};
            for (int i = 0; i < 1000; ++i) {
                const int x = x0 + i;
                if (x > 998) break;
                const double X = double(s.stepCm) * i + A;
                const double t = std::sqrt(X * X / 4 + h2) / V - X / 30;
                const int row = int(std::nearbyint(t / s.nsPerRow));
                if (row < 2 || row > 498) break;
                line.points.push_back({x, row});
            }
            d.lines.push_back(std::move(line));
        }
    }
}

void moveMeasurementFrame(ProfileStore& s, int to) {
    to = std::clamp(to, 0, MAX_FRAME_INDEX);
    // The profile of `to` and the gap before it.
    int first = to;
    while (first > 0 && s.frame(first - 1).inProfile()) --first;
    while (first > 0 && !s.frame(first - 1).inProfile()) --first;
    int last = to;
    while (last < MAX_FRAME_INDEX && s.frame(last + 1).inProfile()) ++last;
    int old = -1;
    for (int f = first; f <= last; ++f) {
        uint8_t& st = s.frame(f).value[cell::Status];
        if (st & status::HodographMark) old = f;
        st &= uint8_t(~status::HodographMark);
    }
    if (old >= 0 && old != to) {
        const FrameRecord& from = s.frame(old);
        FrameRecord& into = s.frame(to);
        constexpr int rowsBytes = 2 * BOUNDARIES;
        std::memcpy(&into.value[cell::Boundary1], &from.value[cell::Boundary1], rowsBytes);
        constexpr int velocityBytes = 4 * LAYERS; // hodograph and layer velocities
        std::memcpy(&into.value[HODOGRAPH_VELOCITY_CELL], &from.value[HODOGRAPH_VELOCITY_CELL],
                    velocityBytes);
    }
    s.frame(to).value[cell::Status] |= status::HodographMark;
}

// --- methods 0 and 1 -------------------------------------------------------------

VelocityOutcome hyperbola(VelocityContext& c) {
    VelocityOutcome out;
    VelocitySession& ss = c.session;
    ViewState& v = c.view;
    if (ss.click == ClickKind::Left) v.cursorRow = snapped(c, {v.cursorColumn, v.cursorRow});
    if (ss.click == ClickKind::Right) {
        ss.second.row = snapped(c, ss.second);
        ss.remembered[std::size_t(ss.hodograph)].second = ss.second;
        ss.remembered[std::size_t(ss.hodograph)].hasSecond = true;
        const int dx = (ss.second.column - v.cursorColumn) * c.settings.stepCm;
        const auto code = hyperbolaVelocityCode(dx, v.cursorRow * c.settings.nsPerRow,
                                                ss.second.row * c.settings.nsPerRow);
        if (code) {
            commitVelocity(c.store, *code);
            out.measured = true;
        }
    }
    out.velocityCode = c.store.velocityCode;
    drawHyperbola(ss.drawing, {v.cursorColumn, v.cursorRow}, c.store.velocityCode, c.settings);
    return out;
}

VelocityOutcome hodograph(VelocityContext& c) {
    VelocityOutcome out;
    out.velocityCode = c.store.velocityCode;
    VelocitySession& ss = c.session;
    ViewState& v = c.view;
    const int C = frameOfColumn(c.store, v.cursorColumn);
    if (!c.store.frame(C).inProfile()) return out; // the overlay stays empty
    const int k = std::clamp(ss.hodograph, 1, HODOGRAPHS);
    if (ss.click == ClickKind::Left) {
        v.cursorRow = snapped(c, {v.cursorColumn, v.cursorRow});
        moveMeasurementFrame(c.store, C);
        if (k <= BOUNDARIES) setBoundaryRow(c.store.frame(C), k, v.cursorRow);
        ss.remembered[std::size_t(k)].first = {v.cursorColumn, v.cursorRow};
        ss.remembered[std::size_t(k)].hasFirst = true;
    } else if (ss.click == ClickKind::Right) {
        ss.second.row = snapped(c, ss.second);
        ss.remembered[std::size_t(k)].second = ss.second;
        ss.remembered[std::size_t(k)].hasSecond = true;
        auto code = separationVelocityCode(c.settings.antennaCm, c.settings.stepCm,
                                           ss.second.column - v.cursorColumn,
                                           v.cursorRow * c.settings.nsPerRow,
                                           ss.second.row * c.settings.nsPerRow, MAX_VELOCITY_CODE);
        if (code) {
            int limited = std::min(*code, MAX_VELOCITY_CODE);
            if (limited < MIN_HODOGRAPH_CODE) limited = MIN_HODOGRAPH_CODE - 1;
            commitVelocity(c.store, limited);
            out.measured = true;
        }
    }
    if (ss.click != ClickKind::None) {
        // The velocity (measured now or before a left click) belongs to
        // hodograph k of the measurement frame.
        setHodographCode(c.store.frame(C), k, c.store.velocityCode);
        ss.hodographTable.setCell(1, k, formatVgr(c.store.velocityCode, c.settings.separator));
        c.store.hodographVelocity = c.store.velocityCode;
        c.store.permittivity = permittivityFor(c.store.velocityCode);
        UpdateLayerTable(c);
    }
    out.velocityCode = c.store.velocityCode;
    drawHodographs(ss.drawing, c, std::nullopt);
    return out;
}

} // namespace velocity

// --- events ----------------------------------------------------------------------

VelocityOutcome GODOGRAF(VelocityContext& c) {
    c.session.drawing.clear();
    switch (c.settings.method) {
    case VelocityMethod::Hyperbola:
        return velocity::hyperbola(c);
    case VelocityMethod::Hodograph:
        return velocity::hodograph(c);
    case VelocityMethod::Tracking:
        return velocity::tracking(c);
    case VelocityMethod::Scan:
        return velocity::scan(c);
    }
    return {};
}

std::optional<VelocityOutcome> Image9MouseDown(VelocityContext& c, MouseButton button, Point at) {
    if (!onPicture(at) || button == MouseButton::Middle) return std::nullopt;
    VelocitySession& ss = c.session;
    const Pick p{at.x / 2, at.y};
    if (button == MouseButton::Left) {
        ss.click = ClickKind::Left;
        c.view.cursorColumn = p.column;
        c.view.cursorRow = p.row;
    } else {
        ss.click = ClickKind::Right;
        switch (c.settings.method) {
        case VelocityMethod::Hyperbola:
        case VelocityMethod::Hodograph:
            ss.second = p;
            break;
        case VelocityMethod::Tracking:
            c.view.cursorColumn = p.column;
            c.view.cursorRow = p.row;
            break;
        case VelocityMethod::Scan:
            break;
        }
    }
    VelocityOutcome out = GODOGRAF(c);
    ss.click = ClickKind::None;
    return out;
}

std::optional<int> Image9MouseMove(VelocityContext& c, Point at) {
    if (!onPicture(at)) return std::nullopt;
    VelocitySession& ss = c.session;
    const ViewState& v = c.view;
    Pick p{at.x / 2, at.y};
    p.row = snapped(c, p);
    std::optional<int> code;
    if (c.settings.method == VelocityMethod::Hyperbola) {
        code =
            hyperbolaVelocityCode((p.column - v.cursorColumn) * c.settings.stepCm,
                                  v.cursorRow * c.settings.nsPerRow, p.row * c.settings.nsPerRow);
        ss.drawing.clear();
        velocity::drawHyperbola(ss.drawing, {v.cursorColumn, v.cursorRow},
                                code.value_or(c.store.velocityCode), c.settings);
    } else if (c.settings.method == VelocityMethod::Hodograph) {
        if (!columnInProfile(c.store, v.cursorColumn)) return std::nullopt;
        code = separationVelocityCode(c.settings.antennaCm, c.settings.stepCm,
                                      p.column - v.cursorColumn, v.cursorRow * c.settings.nsPerRow,
                                      p.row * c.settings.nsPerRow, MAX_VELOCITY_CODE);
        if (code) {
            *code = std::min(*code, MAX_VELOCITY_CODE);
            if (*code < MIN_HODOGRAPH_CODE) *code = MIN_HODOGRAPH_CODE - 1;
        }
        ss.drawing.clear();
        velocity::drawHodographs(ss.drawing, c, code);
    }
    return code;
}

VelocityOutcome enterVelocityMode(VelocityContext& c) {
    VelocitySession& ss = c.session;
    // ComboBox10 goes to its first item: the last measured velocity.
    commitVelocity(c.store, c.store.hodographVelocity);
    if (c.settings.method == VelocityMethod::Hodograph) {
        int found = -1;
        for (int i = 0; i <= 500; ++i) {
            const int f = c.store.viewStart + i;
            if (f < 0 || f > MAX_FRAME_INDEX) continue;
            if (c.store.frame(f).status() & status::HodographMark) {
                found = i;
                break;
            }
        }
        for (int k = 1; k <= HODOGRAPHS; ++k)
            ss.hodographTable.setCell(
                1, k,
                found < 0 ? "0"
                          : formatVgr(hodographCode(c.store.frame(c.store.viewStart + found), k),
                                      c.settings.separator));
        if (found >= 0 && found < VIEW_FRAMES) c.view.cursorColumn = found;
    }
    ss.hodograph = 1;
    UpdateLayerTable(c);
    ss.click = ClickKind::None;
    return GODOGRAF(c);
}

VelocityOutcome StringGrid4Click(VelocityContext& c, int row) {
    VelocitySession& ss = c.session;
    ss.hodograph = std::clamp(row, 1, HODOGRAPHS);
    const FrameRecord& f = c.store.frame(frameOfColumn(c.store, c.view.cursorColumn));
    c.view.cursorRow = ss.hodograph <= BOUNDARIES ? boundaryRows(f)[std::size_t(ss.hodograph - 1)]
                                                  : LAST_SAMPLE_ROW;
    UpdateLayerTable(c);
    ss.click = ClickKind::None;
    return GODOGRAF(c);
}

VelocityOutcome editHodographCell(VelocityContext& c, int row, std::string text) {
    if (row >= 1 && row <= HODOGRAPHS) c.session.hodographTable.setCell(1, row, std::move(text));
    UpdateLayerTable(c);
    c.session.click = ClickKind::None;
    return GODOGRAF(c);
}

} // namespace tesk
