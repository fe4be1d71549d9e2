// Modes 0x20 (the carpet of one time plane) and 0x40 (up to 15 flat or
// tilted sections as point clouds).

#include "volume/cube_modes.h"
#include "volume/rounding.h"

#include <algorithm>
#include <cstring>

namespace tesk {

namespace {

constexpr int FIRST_ROW = DisplayRaster::FIRST_VIEW_ROW;
constexpr int SIZE = SLICE_SIZE;
constexpr int SECTION_PLANE = 2, CARPET_PLANE = 4;

void clearContextRows(DisplayRaster& r, int plane) {
    for (int row = 0; row < FIRST_ROW; ++row) std::memset(r.row(plane, row), 0, SIZE);
    for (int row = FIRST_ROW + SIZE; row < DisplayRaster::FILTER_ROWS; ++row)
        std::memset(r.row(plane, row), 0, SIZE);
}

const char* sectionCaption(int planeKind, bool startItem) {
    // The three start items have one blank inside, added ones two.
    static const char* start[3] = {"  X-Y Plane", "  T-X Plane", "  T-Y Plane"};
    static const char* added[3] = {"  X-Y  Plane", "  T-X  Plane", "  T-Y  Plane"};
    const int k = std::clamp(planeKind, 0, 2);
    return startItem ? start[k] : added[k];
}

} // namespace

uint16_t enterViewFlags(uint16_t stateFlags, int view) {
    const uint16_t keep = view == cube_view::Profiles ? 0xD100 : 0xF100;
    return uint16_t((stateFlags & keep) | view);
}

// --- carpet ---------------------------------------------------------------------------

void GP2_FLTR(DisplayRaster& r, const VolumeGrid& g, int H, const SliceProcessing& proc) {
    const int plane = std::clamp(H, 0, NODE_SAMPLES - 1);
    for (int gx = 0; gx < SIZE; ++gx) {
        uint8_t* row = r.row(CARPET_PLANE, FIRST_ROW + gx);
        std::memcpy(row, g.plane(gx, plane), SIZE);
        std::memset(row + SIZE, row[SIZE - 1], SAMPLE_ROWS - SIZE);
    }
    clearContextRows(r, CARPET_PLANE);
    // Every cell of the carpet comes from the same time plane.
    GPLOS_Filtr(r, CARPET_PLANE, proc, [plane](int, int) { return plane; });
}

void GP2_KUB(PrimitiveSink& s, const DisplayRaster& r, int D, const CubeDecorations& d,
             const SectionParameters& p, const Palettes& palettes) {
    if (d.edges) addCubeEdges(s);
    auto code = [&](int gx, int gy) { return r.at(CARPET_PLANE, FIRST_ROW + gx, gy); };
    auto height = [&](int v) { return v * double(D) / 32768.0; };
    s.begin(PrimitiveKind::Lines, 7, false);
    auto segment = [&](int gx0, int gy0, int gx1, int gy1) {
        const uint8_t a = code(gx0, gy0), b = code(gx1, gy1);
        if (a == 0 || b == 0) return; // no data breaks the line
        s.vertex(cubeX(gx0), height(a), cubeZ(gy0), vertexColour(palettes.ViewPalette[a]));
        s.vertex(cubeX(gx1), height(b), cubeZ(gy1), vertexColour(palettes.ViewPalette[b]));
    };
    for (int gx = 0; gx < SIZE; ++gx)
        for (int gy = 1; gy < SIZE; ++gy) segment(gx, gy - 1, gx, gy);
    for (int gy = 0; gy < SIZE; ++gy)
        for (int gx = 1; gx < SIZE; ++gx) segment(gx - 1, gy, gx, gy);
    s.end();
    if (d.cursor) {
        // Two profiles of the carpet through the section positions, just above it.
        const uint32_t grey = vertexColour(0.8, 0.8, 0.8);
        const int X0 = std::clamp(p.X[0], 0, SIZE - 1), Y0 = std::clamp(p.Y[0], 0, SIZE - 1);
        s.begin(PrimitiveKind::LineStrip, 1, false);
        for (int gy = 0; gy < SIZE; ++gy)
            s.vertex(cubeX(X0), height(code(X0, gy)) + 0.05, cubeZ(gy), grey);
        s.end();
        s.begin(PrimitiveKind::LineStrip, 1, false);
        for (int gx = 0; gx < SIZE; ++gx)
            s.vertex(cubeX(gx), height(code(gx, Y0)) + 0.05, cubeZ(Y0), grey);
        s.end();
    }
    if (d.corners) addCornerMarks(s);
}

// --- sections --------------------------------------------------------------------------

SectionList::SectionList() {
    const uint16_t types[3] = {0x10, 0x20, 0x40};
    for (int k = 0; k < 3; ++k) {
        table[std::size_t(k)].type = types[k];
        items.push_back(sectionCaption(k, true));
        checked.push_back(true);
    }
}

std::vector<int> addOrDeleteSection(SectionList& l, int planeKind, bool leftCtrl) {
    std::vector<int> rebuild;
    if (leftCtrl && l.items.size() > 1) {
        const int sel = std::clamp(l.selected, 0, int(l.items.size()) - 1);
        l.items.erase(l.items.begin() + sel);
        l.checked.erase(l.checked.begin() + sel);
        for (int e = sel; e < MAX_SECTIONS; ++e)
            l.table[std::size_t(e)] = l.table[std::size_t(e + 1)];
        // Only the entries still listed have an image worth building.
        for (int e = sel; e < int(l.items.size()); ++e) rebuild.push_back(e);
        l.selected = 0;
        l.buildIndex = 0;
        return rebuild;
    }
    if (int(l.items.size()) < MAX_SECTIONS) {
        const int k = int(l.items.size());
        const uint16_t types[3] = {0x10, 0x20, 0x40};
        l.items.push_back(sectionCaption(planeKind, false));
        l.checked.push_back(true);
        l.table[std::size_t(k)].type = types[std::clamp(planeKind, 0, 2)];
    }
    l.buildIndex = l.selected = int(l.items.size()) - 1;
    rebuild.push_back(l.buildIndex);
    return rebuild;
}

SectionImages::SectionImages()
    : bytes_(std::make_unique<uint8_t[]>(std::size_t(MAX_SECTIONS) * SIZE * SIZE)) {}

uint8_t* SectionImages::image(int k) {
    return bytes_.get() + std::size_t(std::clamp(k, 0, MAX_SECTIONS - 1)) * SIZE * SIZE;
}

const uint8_t* SectionImages::image(int k) const {
    return bytes_.get() + std::size_t(std::clamp(k, 0, MAX_SECTIONS - 1)) * SIZE * SIZE;
}

int sectionPosition(const SectionEntry& e, int i, int j) {
    // The steps are multiples of 1/512: the sums are exact.
    const double dB = (double(e.A) - e.B) / SIZE, dC = (double(e.A) - e.C) / SIZE;
    return std::clamp(roundToInt(e.A - i * dB - j * dC), 0, SIZE - 1);
}

namespace {
// Node and time plane of image cell (i, j) of a section of `type`.
struct Cell {
    int gx, t, gy;
};
inline bool cellOf(int type, int i, int j, int p, Cell& c) {
    if (type & 0x10) {
        c = Cell{i, p, j};
    } else if (type & 0x20) {
        c = Cell{j, i, p};
    } else if (type & 0x40) {
        c = Cell{p, i, j};
    } else {
        return false;
    }
    return true;
}
} // namespace

void GP4_FLTR(SectionImages& images, int k, const SectionEntry& e, DisplayRaster& r,
              const VolumeGrid& g, const SliceProcessing& proc) {
    if (!g.allocated()) return;
    for (int j = 0; j < SIZE; ++j) {
        uint8_t* row = r.row(SECTION_PLANE, FIRST_ROW + j);
        for (int i = 0; i < SIZE; ++i) {
            Cell c;
            row[i] = cellOf(e.type, i, j, sectionPosition(e, i, j), c) ? g.at(c.gx, c.t, c.gy) : 0;
        }
        std::memset(row + SIZE, row[SIZE - 1], SAMPLE_ROWS - SIZE);
    }
    clearContextRows(r, SECTION_PLANE);
    if (e.type & 0x10)
        GPLOS_Filtr(r, SECTION_PLANE, proc,
                    [&e](int j, int i) { return sectionPosition(e, i, j); });
    else
        GPLOS_Filtr(r, SECTION_PLANE, proc);
    uint8_t* out = images.image(k);
    for (int j = 0; j < SIZE; ++j)
        std::memcpy(out + std::size_t(j) * SIZE, r.row(SECTION_PLANE, FIRST_ROW + j), SIZE);
}

void GP4_KUB(PrimitiveSink& s, const SectionList& l, const SectionImages& images,
             const CubeWindows& w, const CubeDecorations& d, const Palettes& palettes) {
    if (d.edges) addCubeEdges(s);
    if (d.cursor) addCursorLines(s, d, true);
    s.begin(PrimitiveKind::Points, 2, true);
    for (int k = 0; k < int(l.items.size()) && k < MAX_SECTIONS; ++k) {
        if (!l.checked[std::size_t(k)]) continue;
        const SectionEntry& e = l.table[std::size_t(k)];
        const uint8_t* image = images.image(k);
        for (int j = 0; j < SIZE; ++j)
            for (int i = 0; i < SIZE; ++i) {
                const uint8_t v = image[std::size_t(j) * SIZE + i];
                if (!w.passes(v)) continue;
                Cell c;
                if (!cellOf(e.type, i, j, sectionPosition(e, i, j), c)) continue;
                if (c.t < w.T1 || c.t > w.T2) continue;
                s.vertex(cubeX(c.gx), cubeY(c.t), cubeZ(c.gy),
                         vertexColour(palettes.ViewPalette[v]));
            }
    }
    s.end();
    if (d.corners) addCornerMarks(s);
}

} // namespace tesk
