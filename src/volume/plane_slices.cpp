// Cutting the slices from the volume, processing them and painting them.

#include "volume/plane_slices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

constexpr int FIRST_ROW = DisplayRaster::FIRST_VIEW_ROW;  // row of node 0
constexpr int LAST_NODE_ROW = FIRST_ROW + SLICE_SIZE - 1; // 531
constexpr int FILL_COLUMNS_END = SAMPLE_ROWS;             // 528
constexpr int XY_PLANE = 2, NEXT_PLANE = 5, PREVIOUS_PLANE = 6;

double clampIndex(double v) {
    return std::clamp(v, 0.0, double(SLICE_SIZE - 1));
}

// A group's running value: start + a steps of da along the first axis, then
// b steps of db along the second, limited to 0..511 at every step. The
// steps are multiples of 1/512, so the sums are exact; with a constant step
// a limited run stays at the limit, which the closed form gives directly.
int running(int32_t start, int32_t firstEnd, int a, int32_t secondFrom, int32_t secondTo, int b) {
    const double da = double(firstEnd - start) / SLICE_SIZE;
    const double db = double(secondTo - secondFrom) / SLICE_SIZE;
    const double v = clampIndex(clampIndex(double(start)) + a * da);
    return int(clampIndex(v + b * db));
}

// Rows 0..19 repeat node 0, rows 532..551 node 511; columns 512..527 of the
// node rows repeat column 511.
void finishSlice(DisplayRaster& r, int plane) {
    for (int row = FIRST_ROW; row <= LAST_NODE_ROW; ++row) {
        uint8_t* cells = r.row(plane, row);
        std::memset(cells + SLICE_SIZE, cells[SLICE_SIZE - 1], FILL_COLUMNS_END - SLICE_SIZE);
        std::memset(cells + FILL_COLUMNS_END, 0, DisplayRaster::COLUMNS - FILL_COLUMNS_END);
    }
    for (int row = 0; row < FIRST_ROW; ++row)
        std::memcpy(r.row(plane, row), r.row(plane, FIRST_ROW), DisplayRaster::COLUMNS);
    for (int row = LAST_NODE_ROW + 1; row < DisplayRaster::FILTER_ROWS; ++row)
        std::memcpy(r.row(plane, row), r.row(plane, LAST_NODE_ROW), DisplayRaster::COLUMNS);
}

inline QRgb toRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

} // namespace

void SectionParameters::untilt() {
    X.fill(X[0]);
    T.fill(T[0]);
    Y.fill(Y[0]);
}

LayoutImages layoutImages(int layout) {
    return LayoutImages{layout >= section_layout::TX, layout == section_layout::TXY};
}

bool sliceNeighbourMode(const DisplaySettings& s) {
    return s.amplitudeForm > form::Amplitude || s.colourMode > 5;
}

int xyPlaneIndex(const SectionParameters& p, int gx, int gy) {
    return running(p.T[0], p.T[1], gx, p.T[2], p.T[3], gy);
}
int txSectionNode(const SectionParameters& p, int gx, int t) {
    return running(p.Y[0], p.Y[1], gx, p.Y[2], p.Y[3], t);
}
int tySectionNode(const SectionParameters& p, int gy, int t) {
    return running(p.X[0], p.X[1], gy, p.X[2], p.X[3], t);
}

void extractXY(DisplayRaster& r, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc) {
    const bool neighbours = proc.settings && sliceNeighbourMode(*proc.settings);
    const bool level = p.T[2] == p.T[3];
    for (int gx = 0; gx < SLICE_SIZE; ++gx) {
        uint8_t* out = r.row(XY_PLANE, FIRST_ROW + gx);
        uint8_t* next = r.row(NEXT_PLANE, FIRST_ROW + gx);
        uint8_t* previous = r.row(PREVIOUS_PLANE, FIRST_ROW + gx);
        if (level) {
            // One time plane along the whole row: a straight copy.
            const int c = xyPlaneIndex(p, gx, 0);
            std::memcpy(out, g.plane(gx, c), SLICE_SIZE);
            if (neighbours) {
                std::memcpy(next, g.plane(gx, c + 1), SLICE_SIZE);
                std::memcpy(previous, g.plane(gx, c < 3 ? c : c - 1), SLICE_SIZE);
            }
            continue;
        }
        for (int gy = 0; gy < SLICE_SIZE; ++gy) {
            const int c = xyPlaneIndex(p, gx, gy);
            out[gy] = g.at(gx, c, gy);
            if (neighbours) {
                next[gy] = g.at(gx, c + 1, gy);
                previous[gy] = g.at(gx, c < 3 ? c : c - 1, gy);
            }
        }
    }
    const TimePlaneOf time = [&p](int gx, int gy) { return xyPlaneIndex(p, gx, gy); };
    finishSlice(r, XY_PLANE);
    GPLOS_Filtr(r, XY_PLANE, proc, time);
    if (neighbours) {
        finishSlice(r, NEXT_PLANE);
        finishSlice(r, PREVIOUS_PLANE);
        // The neighbours go through the same processing, so that the
        // comparison sees like with like.
        GPLOS_Filtr(r, NEXT_PLANE, proc, time);
        GPLOS_Filtr(r, PREVIOUS_PLANE, proc, time);
    }
}

void extractTX(DisplayRaster& r, int plane, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc) {
    for (int gx = 0; gx < SLICE_SIZE; ++gx) {
        uint8_t* out = r.row(plane, FIRST_ROW + gx);
        for (int t = 0; t < SLICE_SIZE; ++t) out[t] = g.at(gx, t, txSectionNode(p, gx, t));
    }
    finishSlice(r, plane);
    GPLOS_Filtr(r, plane, proc);
}

void extractTY(DisplayRaster& r, int plane, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc) {
    for (int gy = 0; gy < SLICE_SIZE; ++gy) {
        uint8_t* out = r.row(plane, FIRST_ROW + gy);
        for (int t = 0; t < SLICE_SIZE; ++t) out[t] = g.at(tySectionNode(p, gy, t), t, gy);
    }
    finishSlice(r, plane);
    GPLOS_Filtr(r, plane, proc);
}

void GPLOS_Filtr(DisplayRaster& r, int plane, const SliceProcessing& proc,
                 const TimePlaneOf& timePlane) {
    if (!proc.settings) return;
    const DisplaySettings& s = *proc.settings;
    r.activePlane = plane;
    r.filterNumber = 0;
    if (filterActive(proc.filter1)) FLTR(r, proc.filter1, s.LevelTable);
    r.filterNumber = 1;
    if (filterActive(proc.filter2)) FLTR(r, proc.filter2, s.LevelTable);
    r.filterNumber = 0;
    if (!zeroGainNeeded(s)) return;
    if (!timePlane) {
        ZeroGain(r, s);
        return;
    }
    for (int n = 0; n < SLICE_SIZE; ++n) {
        uint8_t* row = r.row(plane, FIRST_ROW + n);
        for (int k = 0; k < SLICE_SIZE; ++k)
            row[k] = zeroGainCode(s, row[k], std::clamp(timePlane(n, k), 0, SLICE_SIZE - 1));
    }
}

unsigned layoutSteps(int layout, bool functionPanel) {
    using namespace slice_step;
    switch (layout) {
    case section_layout::TX:
        return XY | TXIn3 | Image2 | Image3;
    case section_layout::TY:
        return XY | TYIn3 | Image2 | Image3;
    case section_layout::TXY:
        return XY | TXIn3 | TYIn4 | Image2 | Image3 | Image4;
    default:
        return XY | Image2 | (functionPanel ? TXIn3 : 0u);
    }
}

SliceImages::SliceImages()
    : image2(SLICE_SIZE, SLICE_SIZE, QImage::Format_RGB32),
      image3(SLICE_SIZE, SLICE_SIZE, QImage::Format_RGB32),
      image4(SLICE_SIZE, SLICE_SIZE, QImage::Format_RGB32) {
    image2.fill(Qt::black);
    image3.fill(Qt::black);
    image4.fill(Qt::black);
}

void runSliceSteps(unsigned steps, DisplayRaster& r, SliceImages& images, const VolumeGrid& g,
                   const SectionParameters& p, const SliceProcessing& proc,
                   const Palettes& palettes) {
    using namespace slice_step;
    if (!g.allocated()) return;
    if (steps & XY) extractXY(r, g, p, proc);
    if (steps & TXIn3) extractTX(r, 3, g, p, proc);
    if (steps & TYIn3) extractTY(r, 3, g, p, proc);
    if (steps & TYIn4) extractTY(r, 4, g, p, proc);
    if (!proc.settings) return;
    if (steps & Image2) paintXYPlane(images.image2, r, p, *proc.settings, palettes);
    if (steps & Image3) paintSection(images.image3, r, 3, *proc.settings, palettes);
    if (steps & Image4) paintSection(images.image4, r, 4, *proc.settings, palettes);
}

void paintXYPlane(QImage& image, const DisplayRaster& r, const SectionParameters& p,
                  const DisplaySettings& s, const Palettes& palettes) {
    const ColumnPainter painter(s, palettes);
    const bool derivative = s.amplitudeForm == form::Derivative;
    const bool neighbours = sliceNeighbourMode(s);
    // The mark modes: extrema in time (6, and 7 in the derivative form) or
    // the slope colouring (7 in forms 0 and 1).
    const bool extrema = s.colourMode == 6 || (s.colourMode == 7 && derivative);
    const bool slopes = s.colourMode == 7 && !derivative;
    auto drawn = [&](uint8_t c) { return s.inversion ? invertCode(c) : c; };
    for (int y = 0; y < SLICE_SIZE; ++y) {
        const int gy = SLICE_SIZE - 1 - y;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int gx = 0; gx < SLICE_SIZE; ++gx) {
            const uint8_t d = r.at(XY_PLANE, FIRST_ROW + gx, gy);
            const uint8_t e = neighbours ? r.at(NEXT_PLANE, FIRST_ROW + gx, gy) : d;
            const int k = derivative && s.colourMode == 5 ? xyPlaneIndex(p, gx, gy) : 0;
            uint32_t colour = painter.cellColour(d, e, k);
            if (d != 0 && (extrema || slopes)) {
                const uint8_t b = r.at(PREVIOUS_PLANE, FIRST_ROW + gx, gy);
                const int di = drawn(d), ei = drawn(e), bi = drawn(b);
                if (extrema && b != 0 && e != 0) {
                    if (di > bi && di > ei) colour = colour::Red;
                    if (di < bi && di < ei) colour = colour::Blue;
                } else if (slopes && e != 0) {
                    if (di < ei) colour = colour::Red;
                    if (di > ei) colour = colour::Blue;
                }
            }
            line[gx] = toRgb(colour);
        }
    }
}

void paintSection(QImage& image, const DisplayRaster& r, int plane, const DisplaySettings& s,
                  const Palettes& palettes) {
    const ColumnPainter painter(s, palettes);
    ColumnColours colours;
    const int stride = int(image.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    for (int x = 0; x < SLICE_SIZE; ++x) {
        painter.paint(r.row(plane, FIRST_ROW + x), colours);
        for (int y = 0; y < SLICE_SIZE; ++y)
            bits[std::size_t(y) * stride + x] = toRgb(colours[std::size_t(y)]);
    }
}

} // namespace tesk
