// The linear fill methods: along X, along Y, and X then Y. A gap of k nodes
// steps between two values a0 and a (1 < k < R) gets the straight blend of
// the two; longer gaps stay empty. Plane 0 is never interpolated.

#include "volume/volume_passes.h"

#include <array>

namespace tesk::volume_detail {

namespace {

constexpr int FIRST_PLANE = 1;
constexpr int LAST_PLANE = NODE_SAMPLES - 1; // 512

// Per-column state of the walk along X: the last value and where it stood.
struct Last {
    std::array<int, GRID_NODES> at;
    std::array<uint8_t, GRID_NODES> value;
    void reset() { at.fill(-1); }
};

uint32_t blendHeight(uint32_t h, uint32_t h0, int j, int k) {
    return uint32_t(divRound(int64_t(h) * k - int64_t(j) * (int64_t(h) - h0), k));
}

// Heights (24-bit, cells 535..537): the same blend, a height of 0 being no value.
void heightsAlongX(VolumeGrid& g, const Region& r, int R, const FrameNodeRows& rows) {
    std::array<int, GRID_NODES> lastAt;
    std::array<uint32_t, GRID_NODES> last{};
    lastAt.fill(-1);
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        for (const uint16_t* n = rows.begin(gx); n != rows.end(gx); ++n) {
            const int gy = *n;
            const uint32_t h = g.reliefHeight(gx, gy);
            if (h == 0) continue;
            const int k = lastAt[std::size_t(gy)] < 0 ? 0 : gx - lastAt[std::size_t(gy)];
            if (k > 1 && k < R)
                for (int j = 1; j < k; ++j)
                    g.set24(gx - j, node::ReliefHeight, gy,
                            blendHeight(h, last[std::size_t(gy)], j, k));
            lastAt[std::size_t(gy)] = gx;
            last[std::size_t(gy)] = h;
        }
    }
}

void heightsAlongY(VolumeGrid& g, const Region& r, int R, const FrameNodeRows& rows) {
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        int lastAt = -1;
        uint32_t last = 0;
        for (const uint16_t* n = rows.begin(gx); n != rows.end(gx); ++n) {
            const int gy = *n;
            const uint32_t h = g.reliefHeight(gx, gy);
            if (h == 0) continue;
            const int k = lastAt < 0 ? 0 : gy - lastAt;
            if (k > 1 && k < R)
                for (int j = 1; j < k; ++j)
                    g.set24(gx, node::ReliefHeight, gy - j, blendHeight(h, last, j, k));
            lastAt = gy;
            last = h;
        }
    }
}

} // namespace

void FrameNodeRows::build(const uint16_t* profileMap) {
    start.assign(GRID_NODES + 1, 0);
    gy.clear();
    for (int gx = 0; gx < GRID_NODES; ++gx) {
        start[std::size_t(gx)] = int(gy.size());
        for (int y = 0; y < GRID_NODES; ++y)
            if (profileMap[mapIndex(gx, y)] != 0) gy.push_back(uint16_t(y));
    }
    start[GRID_NODES] = int(gy.size());
}

bool fillAlongX(VolumeGrid& g, const Region& r, int R, bool relief, const FrameNodeRows& rows,
                PassProgress& p) {
    // Plane by plane; within a plane the rows gx are walked in order and every
    // column gy keeps its own last value, so each row is read once, in
    // sequence, and a gap is written back into the rows just left.
    static Last last;
    for (int c = FIRST_PLANE; c <= LAST_PLANE; ++c) {
        last.reset();
        for (int gx = r.x0; gx <= r.x1; ++gx) {
            uint8_t* row = g.plane(gx, c);
            for (const uint16_t* n = rows.begin(gx); n != rows.end(gx); ++n) {
                const int gy = *n;
                const uint8_t a = row[gy];
                if (a == 0) continue;
                const int at = last.at[std::size_t(gy)];
                const int k = at < 0 ? 0 : gx - at;
                if (k > 1 && k < R)
                    fillGap(row + gy, std::ptrdiff_t(SLAB_BYTES), last.value[std::size_t(gy)], a,
                            k);
                last.at[std::size_t(gy)] = gx;
                last.value[std::size_t(gy)] = a;
            }
        }
        if (p.step(c, LAST_PLANE)) return false;
    }
    if (relief) heightsAlongX(g, r, R, rows);
    return true;
}

bool fillAlongY(VolumeGrid& g, const Region& r, int R, bool relief, const FrameNodeRows& rows,
                PassProgress& p) {
    // Slab by slab: every plane of a row gx is one contiguous run over gy.
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        for (int c = FIRST_PLANE; c <= LAST_PLANE; ++c) {
            uint8_t* row = g.plane(gx, c);
            int at = -1;
            int a0 = 0;
            for (const uint16_t* n = rows.begin(gx); n != rows.end(gx); ++n) {
                const int gy = *n;
                const uint8_t a = row[gy];
                if (a == 0) continue;
                const int k = at < 0 ? 0 : gy - at;
                if (k > 1 && k < R) fillGap(row + gy, 1, a0, a, k);
                at = gy;
                a0 = a;
            }
        }
        if (p.step(gx + 1 - r.x0, r.x1 + 1 - r.x0)) return false;
    }
    if (relief) heightsAlongY(g, r, R, rows);
    return true;
}

} // namespace tesk::volume_detail
