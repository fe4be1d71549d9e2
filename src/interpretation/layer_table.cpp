#include "interpretation/layer_table.h"

#include "interpretation/layer_cells.h"
#include "interpretation/layer_times.h"
#include "interpretation/table_text.h"
#include "interpretation/velocity_methods.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

constexpr int MIN_LAYER_CODE = 166;

// Places the current boundary h of a frame between its neighbours: it must
// lie deeper than every present boundary above it in number and shallower
// than every one below, by at least the difference of their numbers.
int placeBoundary(BoundaryRows& r, int h) {
    int& rh = r[std::size_t(h - 1)];
    bool placed = false;
    for (int j = h - 1; j >= 1 && !placed; --j) {
        const int rj = r[std::size_t(j - 1)];
        if (rj > 0 && rh <= rj) {
            rh = rj + (h - j);
            placed = true;
        }
    }
    for (int j = h + 1; j <= BOUNDARIES && !placed; ++j) {
        const int rj = r[std::size_t(j - 1)];
        if (rj > 0 && rh >= rj) {
            rh = rj - (j - h);
            placed = true;
        }
    }
    // A present boundary stays present and on the trace.
    rh = std::clamp(rh, h, LAST_SAMPLE_ROW);
    return rh;
}

// Conductivity of the ground from the amplitudes at the two picks of
// hodograph h: their attenuation over the extra path between the picks.
std::string conductivity(const VelocityContext& c, int layer1Depth, double permittivity1) {
    const RememberedPicks& p = c.session.remembered[std::size_t(c.session.hodograph)];
    auto code = [&](Pick q) {
        return velocity::displayedTrace(
            c.raster,
            std::clamp(q.column, 0, VIEW_FRAMES - 1))[std::clamp(q.row, 0, LAST_SAMPLE_ROW)];
    };
    // A pick not made yet has no amplitude.
    const int a1 = p.hasFirst ? code(p.first) : 0;
    const int a2 = p.hasSecond ? code(p.second) : 0;
    double alpha = 0;
    if (a1 != 0 && a2 != 0) {
        const double l1 = c.levelTable[std::size_t(a1)], l2 = c.levelTable[std::size_t(a2)];
        if (l1 > 0 && l2 > 0) alpha = 2 * std::log(l1 / l2) * std::sqrt(permittivity1);
    }
    const double A = c.settings.antennaCm;
    const double dx = double(c.settings.stepCm) * (p.second.column - p.first.column);
    const double D1 = layer1Depth;
    const double P1 = 2 * std::sqrt(A * A / 4 + D1 * D1);
    const double P2 = 2 * std::sqrt((A + dx) * (A + dx) / 4 + D1 * D1);
    const double delta = (P2 / 100 - P1 / 100) * 125.6;
    const double sigma = delta == 0 ? 0.0 : std::nearbyint(alpha / delta * 1e7);
    return formatDecimal(sigma / 1000, 3, c.settings.separator) + " 4";
}

} // namespace

void fillEchoTable(TableModel& echo, const FrameRecord& f, double nsPerRow, char separator) {
    const BoundaryRows rows = boundaryRows(f);
    for (int k = 1; k <= HODOGRAPHS; ++k) {
        const int b = k <= BOUNDARIES ? rows[std::size_t(k - 1)] : 0;
        const double t = b * nsPerRow;
        for (int m = 1; m <= 3; ++m)
            echo.setCell(m, k, b > 0 ? formatDecimal(t * m, 2, separator) : "0");
    }
}

void UpdateLayerTable(VelocityContext& c) {
    VelocitySession& ss = c.session;
    TableModel& g4 = ss.hodographTable;
    TableModel& g1 = c.points.grid;
    const char sep = c.settings.separator;
    const int h = std::clamp(ss.hodograph, 1, HODOGRAPHS);
    FrameRecord& f = c.store.frame(frameOfColumn(c.store, c.view.cursorColumn));

    // 1. The typed hodograph velocities; a velocity of "0" removes that
    // boundary from the frame unless it is the one being measured.
    for (int k = 1; k <= HODOGRAPHS; ++k) {
        const std::string& typed = g4.cell(1, k);
        const std::string text = typed.empty() ? "0" : normaliseVelocityText(typed, sep);
        if (text != typed) g4.setCell(1, k, text);
        if (text == "0" && k != h && k <= BOUNDARIES) setBoundaryRow(f, k, 0);
    }

    // 2., 3. The boundaries of the frame with the current one in its place.
    BoundaryRows rows = boundaryRows(f);
    if (h <= BOUNDARIES && rows[std::size_t(h - 1)] > 0) {
        const int placed = placeBoundary(rows, h);
        setBoundaryRow(f, h, placed);
        c.view.cursorRow = placed;
    }

    // 4., 5. Depths, layer velocities and permittivities.
    const LayerTimes lt = layerTimes(rows, c.settings.nsPerRow);
    int previous = 0;
    bool layer1Valid = false;
    int layer1Depth = 0;
    double layer1Permittivity = 0;
    bool currentValid = false;
    for (int k = 1; k <= LAYERS; ++k) {
        const std::size_t i = std::size_t(k);
        const bool present = k == 1 ? lt.T[1] > 0 : lt.dT[i] > 0;
        auto clearRow = [&] {
            for (int col = 2; col <= 5; ++col) g4.setCell(col, k, "0");
            for (int base : {point_row::LayerVelocity, point_row::Depth, point_row::Level})
                g1.setCell(MODEL_COLUMN, base + k, "0");
        };
        if (!present) {
            clearRow();
            continue;
        }
        const int code = velocityCodeOfCell(g4.cell(1, k));
        setHodographCode(f, k, code);
        const int depth = depthOfCode(code, lt.T[i]);
        const double vs = k == 1 ? code / 100.0 : double(depth - previous) / lt.dT[i];
        const bool valid = k == 1 ? (code >= MIN_LAYER_CODE && code <= MAX_VELOCITY_CODE)
                                  : (vs >= 1.6 && vs <= 15.0);
        previous = depth;
        if (!valid) {
            clearRow();
            continue;
        }
        const int vsCode = int(std::nearbyint(vs * 100));
        const double eps = permittivityFor(uint16_t(vsCode));
        g4.setCell(2, k, formatVgr(vsCode, sep));
        g4.setCell(3, k, std::to_string(depth));
        g4.setCell(4, k, formatDecimal(eps, 2, sep));
        g4.setCell(5, k, "0");
        g1.setCell(MODEL_COLUMN, point_row::Hodograph + k, formatVgr(code, sep));
        g1.setCell(MODEL_COLUMN, point_row::LayerVelocity + k, formatVgr(vsCode, sep));
        g1.setCell(MODEL_COLUMN, point_row::Depth + k, std::to_string(depth));
        if (k == 1) {
            layer1Valid = true;
            layer1Depth = depth;
            layer1Permittivity = eps;
        }
        if (k == h) currentValid = true;
    }
    // 6. The conductivity belongs to the current hodograph's row.
    if (layer1Valid && currentValid)
        g4.setCell(5, h, conductivity(c, layer1Depth, layer1Permittivity));

    fillEchoTable(ss.echoTable, f, c.settings.nsPerRow, sep);
}

} // namespace tesk
