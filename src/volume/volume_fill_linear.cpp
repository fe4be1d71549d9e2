// The linear fill methods: along X, along Y, and X then Y. A gap of k nodes
// steps between two values a0 and a (1 < k < R) gets the straight blend of
// the two; longer gaps stay empty. Plane 0 is never interpolated.

#include "volume/volume_passes.h"

#include <array>

namespace tesk::volume_detail {

namespace {

constexpr int FIRST_PLANE = 1;
constexpr int LAST_PLANE = NODE_SAMPLES - 1; // 512

// Per-row state of a walk: the last value and where it stood.
struct Last {
    std::array<int, GRID_NODES> at;
    std::array<uint8_t, GRID_NODES> value;
    void reset() { at.fill(-1); }
};

// Heights (24-bit, cells 535..537) along X: the same blend, a height of 0
// being no value.
void heightsAlongX(VolumeGrid& g, const Region& r, int R) {
    std::array<int, GRID_NODES> lastAt;
    std::array<uint32_t, GRID_NODES> last{};
    lastAt.fill(-1);
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        for (int gy = r.y0; gy <= r.y1; ++gy) {
            const uint32_t h = g.reliefHeight(gx, gy);
            if (h == 0) continue;
            const int k = lastAt[gy] < 0 ? 0 : gx - lastAt[gy];
            if (k > 1 && k < R)
                for (int j = 1; j < k; ++j)
                    g.set24(gx - j, node::ReliefHeight, gy,
                            uint32_t(divRound(int64_t(h) * k - int64_t(j) * (int64_t(h) - last[gy]),
                                              k)));
            lastAt[gy] = gx;
            last[gy] = h;
        }
    }
}

void heightsAlongY(VolumeGrid& g, const Region& r, int R, const uint16_t* frameNodes) {
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        int lastAt = -1;
        uint32_t last = 0;
        for (int gy = r.y0; gy <= r.y1; ++gy) {
            const uint32_t h = g.reliefHeight(gx, gy);
            if (h == 0 || (frameNodes && frameNodes[mapIndex(gx, gy)] == 0)) continue;
            const int k = lastAt < 0 ? 0 : gy - lastAt;
            if (k > 1 && k < R)
                for (int j = 1; j < k; ++j)
                    g.set24(
                        gx, node::ReliefHeight, gy - j,
                        uint32_t(divRound(int64_t(h) * k - int64_t(j) * (int64_t(h) - last), k)));
            lastAt = gy;
            last = h;
        }
    }
}

} // namespace

bool fillAlongX(VolumeGrid& g, const Region& r, int R, bool relief, PassProgress& p) {
    // Plane by plane; within a plane the rows gx are walked in order and every
    // column gy keeps its own last value, so each row is read once, in
    // sequence, and a gap is written back into the rows just left.
    static Last last;
    for (int c = FIRST_PLANE; c <= LAST_PLANE; ++c) {
        last.reset();
        for (int gx = r.x0; gx <= r.x1; ++gx) {
            const uint8_t* row = g.plane(gx, c);
            for (int gy = r.y0; gy <= r.y1; ++gy) {
                const uint8_t a = row[gy];
                if (a == 0) continue;
                const int at = last.at[std::size_t(gy)];
                const int k = at < 0 ? 0 : gx - at;
                if (k > 1 && k < R) {
                    const int a0 = last.value[std::size_t(gy)];
                    for (int j = 1; j < k; ++j) g.plane(gx - j, c)[gy] = linearBlend(a, a0, j, k);
                }
                last.at[std::size_t(gy)] = gx;
                last.value[std::size_t(gy)] = a;
            }
        }
        if (p.step(c, LAST_PLANE)) return false;
    }
    if (relief) heightsAlongX(g, r, R);
    return true;
}

bool fillAlongY(VolumeGrid& g, const Region& r, int R, bool relief, const uint16_t* frameNodes,
                PassProgress& p) {
    // Slab by slab: every plane of a row gx is one contiguous run over gy.
    for (int gx = r.x0; gx <= r.x1; ++gx) {
        const uint16_t* frames = frameNodes ? frameNodes + mapIndex(gx, 0) : nullptr;
        for (int c = FIRST_PLANE; c <= LAST_PLANE; ++c) {
            uint8_t* row = g.plane(gx, c);
            int at = -1;
            int a0 = 0;
            for (int gy = r.y0; gy <= r.y1; ++gy) {
                const uint8_t a = row[gy];
                if (a == 0 || (frames && frames[gy] == 0)) continue;
                const int k = at < 0 ? 0 : gy - at;
                if (k > 1 && k < R)
                    for (int j = 1; j < k; ++j) row[gy - j] = linearBlend(a, a0, j, k);
                at = gy;
                a0 = a;
            }
        }
        if (p.step(gx + 1 - r.x0, r.x1 + 1 - r.x0)) return false;
    }
    if (relief) heightsAlongY(g, r, R, frameNodes);
    return true;
}

} // namespace tesk::volume_detail
