#include "interpretation/boundaries.h"

#include "interpretation/messages.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

constexpr uint32_t CURRENT_BOUNDARY = 0xFFFFF8;
constexpr int LAST_DRAWN_ROW = 510;
constexpr int SMOOTH_MARGIN = 100; // blank slots at the end of a survey
constexpr int MAX_GAP = 7;         // frames a smoothing run closes

bool validFrame(int f) {
    return f >= 0 && f <= MAX_FRAME_INDEX;
}

} // namespace

int ReliefShift::rows(uint32_t reliefHeight) const {
    if (!on) return 0;
    const double perRow = double(velocityCode) * nsPerRow * stretch;
    if (!(perRow > 0)) return 0;
    const double n =
        std::nearbyint((double(referenceHeight) - double(reliefHeight)) * 100.0 / perRow);
    return int(std::clamp(n, 0.0, double(SAMPLE_ROWS)));
}

LayerSwatch layerSwatch(const SurveyHeader& h, int layer) {
    LayerSwatch w;
    w.colour = layerColour(h, std::clamp(layer, 0, LAYERS));
    w.red = int(w.colour & 0xFF);
    w.green = int((w.colour >> 8) & 0xFF);
    w.blue = int((w.colour >> 16) & 0xFF);
    w.fontColour = w.green <= 150 ? 0x88FFFF : 0x000044;
    return w;
}

void orderBoundary(BoundaryRows& b, int k) {
    if (!isBoundaryLayer(k)) return;
    int& bk = b[std::size_t(k - 1)];
    if (bk == 0) return;
    const int read = bk;
    for (int j = 1; j < k; ++j) {
        const int bj = b[std::size_t(j - 1)];
        if (bj > 0 && read - bj < k - j) bk = bj + (k - j);
    }
    for (int j = k + 1; j <= BOUNDARIES; ++j) {
        const int bj = b[std::size_t(j - 1)];
        if (bj > 0 && bj - bk < j - k) {
            bk = bj - (j - k);
            break;
        }
    }
    bk = std::clamp(bk, 0, LAST_SAMPLE_ROW);
}

OverlayDrawing ShowBoundaries(ProfileStore& s, const DisplayRaster& raster,
                              const BoundarySettings& set) {
    const int k = set.layer;
    const bool stretched = set.relief.on && set.relief.stretch != 1.0;
    const double g = set.relief.on && set.relief.stretch > 0 ? 1.0 / set.relief.stretch : 1.0;

    // Snapping and ordering of the current boundary, frame by frame.
    if (isBoundaryLayer(k)) {
        for (int i = 0; i < VIEW_FRAMES; ++i) {
            const int f = s.viewStart + i;
            if (!validFrame(f)) continue;
            FrameRecord& fr = s.frame(f);
            BoundaryRows rows = boundaryRows(fr);
            if (set.snap && !stretched && fr.inProfile()) {
                const int shift = set.relief.rows(fr.reliefHeight());
                rows[std::size_t(k - 1)] =
                    snapBoundaryRow(raster.row(0, DisplayRaster::FIRST_VIEW_ROW + i), shift,
                                    rows[std::size_t(k - 1)], set.phase);
            }
            orderBoundary(rows, k);
            setBoundaryRow(fr, k, rows[std::size_t(k - 1)]);
        }
    }

    // The overlay.
    OverlayDrawing d;
    d.frameOutline = true;
    d.outlineColour = 0x000000;
    for (int j = 1; j <= BOUNDARIES; ++j) {
        const uint32_t colour = j == k ? CURRENT_BOUNDARY : layerColour(s.header, j);
        OverlayPolyline line{colour, 2, {}};
        auto lift = [&] {
            if (!line.points.empty()) d.lines.push_back(std::move(line));
            line = OverlayPolyline{colour, 2, {}};
        };
        for (int i = 0; i <= LAST_DRAWN_ROW; ++i) {
            const int f = s.viewStart + i;
            int y = 0;
            if (validFrame(f)) {
                const FrameRecord& fr = s.frame(f);
                y = boundaryRows(fr)[std::size_t(j - 1)];
                if (set.relief.on && y > 0)
                    y = int(std::trunc(y * g)) + set.relief.rows(fr.reliefHeight());
            }
            if (y > LAST_DRAWN_ROW) {
                y = LAST_DRAWN_ROW;
                lift();
            }
            if (y == 0) {
                lift();
                continue;
            }
            line.points.push_back({2 * i, y});
        }
        lift();
    }
    return d;
}

void snapBoundaryInFrames(ProfileStore& s, int k, int first, int last, Phase phase) {
    if (!isBoundaryLayer(k)) return;
    first = std::max(first, 0);
    last = std::min(last, MAX_FRAME_INDEX);
    for (int f = first; f <= last; ++f) {
        FrameRecord& fr = s.frame(f);
        if (!fr.inProfile()) continue;
        const int r = boundaryRows(fr)[std::size_t(k - 1)];
        if (r == 0) continue;
        setBoundaryRow(fr, k, snapBoundaryRow(fr.value.data(), 0, r, phase));
    }
}

// --- pencil -----------------------------------------------------------------------

void Image8MouseDown(Pencil& p, MouseButton button, Point at) {
    if (button == MouseButton::Left)
        p.state = PencilState::Drawing;
    else if (button == MouseButton::Right)
        p.state = PencilState::Erasing;
    else
        return;
    p.last = at;
}

void Image8MouseMove(Pencil& p, ProfileStore& s, int layer, Point at) {
    const int x = std::clamp(at.x, 0, OVERLAY_WIDTH - 2);
    const int y = std::clamp(at.y, 0, LAST_DRAWN_ROW);
    if (p.state == PencilState::Idle) return;
    if (isBoundaryLayer(layer)) {
        const int f1 = s.viewStart + x / 2;
        const int f0 = s.viewStart + p.last.x / 2;
        const int D = f1 - f0;
        const int n = std::max(std::abs(D), 1);
        const int direction = D > 0 ? 1 : D < 0 ? -1 : 0;
        for (int t = 0; t < n; ++t) {
            const int f = f1 - t * direction;
            if (!validFrame(f)) continue;
            int row =
                D == 0 ? y : int(std::nearbyint(y - double(t) * (y - p.last.y) / std::abs(D)));
            if (row < 0 || p.state == PencilState::Erasing) row = 0;
            setBoundaryRow(s.frame(f), layer, std::min(row, LAST_DRAWN_ROW));
        }
    }
    p.last = {x, y};
}

GsrslResult Image8MouseUp(Pencil& p, ProfileStore& s, PointTable& table, int layer,
                          MouseButton button, Point at, BoundaryKeys keys, Interaction& ui,
                          double nsPerRow) {
    const int x = std::clamp(at.x, 0, OVERLAY_WIDTH - 4);
    const int y = std::clamp(at.y, 0, LAST_DRAWN_ROW);
    const int f = s.viewStart + x / 2;
    if (isBoundaryLayer(layer) && validFrame(f))
        setBoundaryRow(s.frame(f), layer, button == MouseButton::Left ? y : 0);
    p.state = PencilState::Idle;
    return GSRSL(s, table, layer, keys, ui, nsPerRow);
}

// --- smoothing and deletion ---------------------------------------------------------

void smoothBoundary(ProfileStore& s, int k, bool rightCtrl) {
    if (!isBoundaryLayer(k)) return;
    const int last = std::min(s.frameCount, MAX_FRAME_INDEX) - SMOOTH_MARGIN;
    auto row = [&](int f) { return boundaryRow(s.frame(f), k); };
    for (int i = 1; i <= last; ++i) {
        int v = row(i);
        int p = row(i - 1);
        int q = row(i + 1);
        if (v > 0) {
            if (p == 0) p = v;
            if (q == 0) q = v;
            v = rightCtrl ? ((p + q) / 2 + v) / 2 : int(std::nearbyint((p + v + q) / 3.0));
        } else if (p > 0) {
            // A gap after a boundary: the first present row within seven
            // frames closes it one frame at a time.
            for (int m = 1; m <= MAX_GAP; ++m) {
                const int g = row(i + m);
                if (g > 0) {
                    v = int(std::nearbyint((double(p) * m + g) / (m + 1)));
                    break;
                }
            }
        }
        setBoundaryRow(s.frame(i), k, v);
    }
}

GsrslResult GSRSL(ProfileStore& s, PointTable& table, int layer, BoundaryKeys keys, Interaction& ui,
                  double nsPerRow) {
    if (!isBoundaryLayer(layer)) return GsrslResult::Nothing;
    GsrslResult result = GsrslResult::Smoothed;
    if (keys.leftCtrl) {
        if (ui.show(msg::deleteAllLayers()) != Answer::Yes) return GsrslResult::Declined;
        for (int f = 0; f < MAX_FRAME_INDEX; ++f)
            for (int j = 1; j <= BOUNDARIES; ++j) setBoundaryRow(s.frame(f), j, 0);
        result = GsrslResult::Deleted;
    }
    if (keys.leftShift) {
        if (ui.show(msg::deleteCurrentLayer()) != Answer::Yes) return GsrslResult::Declined;
        for (int f = 0; f < MAX_FRAME_INDEX; ++f) setBoundaryRow(s.frame(f), layer, 0);
        result = GsrslResult::Deleted;
    }
    if (!keys.leftCtrl && !keys.leftShift) smoothBoundary(s, layer, keys.rightCtrl);
    updateAllPoints(table, s, nsPerRow);
    return result;
}

} // namespace tesk
