// The nearest-profile fill methods. Every empty node (no frame wrote it)
// looks for up to three distinct profiles around it — in square rings
// ("По радиусу R") or along 128 rays ("По вектору V") — keeping the nearest
// node of each, and takes the inverse-distance blend of their traces.
//
// The search reads only the 512 x 512 map of profile numbers; the blend
// reads only frame-written nodes, which no fill changes. So each row gx is
// searched and then blended plane by plane before the next row, and a row's
// blend reads a handful of source rows that stay in cache.

#include "volume/rounding.h"
#include "volume/volume_passes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tesk::volume_detail {

namespace {

constexpr int LAST_PLANE = 511;
constexpr int NONE = GRID_NODES; // "no filled node further on"

// The direction table of the vector method: tan(0), tan(3), ... tan(45 degrees).
constexpr std::array<double, 16> SLOPES = {0.0,    0.0524, 0.1051, 0.1584, 0.2126, 0.268,
                                           0.3249, 0.3839, 0.4452, 0.5095, 0.5774, 0.6494,
                                           0.7265, 0.8098, 0.9004, 1.0};
constexpr int RAYS = 16 * 8;
constexpr int MAX_RAY_STEPS = 256;

struct Candidates {
    int n = 0;
    std::array<uint16_t, 3> profile{};
    std::array<int, 3> gx{}, gy{};
    std::array<double, 3> d{};

    // A filled node met by the search: the first three distinct profiles
    // are kept, each with its nearest node (the first met among equals).
    void offer(uint16_t p, int x, int y, double dist) {
        for (int i = 0; i < n; ++i) {
            if (profile[std::size_t(i)] != p) continue;
            if (dist < d[std::size_t(i)]) {
                d[std::size_t(i)] = dist;
                gx[std::size_t(i)] = x;
                gy[std::size_t(i)] = y;
            }
            return;
        }
        if (n == 3) return;
        profile[std::size_t(n)] = p;
        gx[std::size_t(n)] = x;
        gy[std::size_t(n)] = y;
        d[std::size_t(n)] = dist;
        ++n;
    }
    double farthest() const {
        double m = 0;
        for (int i = 0; i < n; ++i) m = std::max(m, d[std::size_t(i)]);
        return m;
    }
    // No profile can join any more: three are held, or every profile of
    // the grid is.
    bool closed(int profilesInGrid) const { return n == 3 || n == profilesInGrid; }
};

// The blend of one empty node: source offsets in the grid (plane 0) and, per
// subset of candidates (bit i set: candidate i has data), their weights.
struct Blend {
    int gy = 0;
    int n = 0;
    std::array<std::size_t, 3> source{};
    std::array<std::array<double, 3>, 8> weight{};
    uint32_t height = 0;
};

// Weights of the inverse-distance blend of the candidates in `mask`. One
// candidate takes its own sample; two are blended as (s1 d2 + s2 d1) / (d1 +
// d2); three as (s1/d1 + s2/d2 + s3/d3) d1 d2 d3 / (d1 d2 + d1 d3 + d2 d3).
std::array<double, 3> weightsFor(const std::array<double, 3>& d, int mask) {
    std::array<double, 3> w{};
    int idx[3], m = 0;
    for (int i = 0; i < 3; ++i)
        if (mask & (1 << i)) idx[m++] = i;
    if (m == 1) {
        w[std::size_t(idx[0])] = 1;
    } else if (m == 2) {
        const double a = d[std::size_t(idx[0])], b = d[std::size_t(idx[1])];
        w[std::size_t(idx[0])] = b / (a + b);
        w[std::size_t(idx[1])] = a / (a + b);
    } else if (m == 3) {
        const double p = d[0] * d[1] * d[2] / (d[0] * d[1] + d[0] * d[2] + d[1] * d[2]);
        for (int i = 0; i < 3; ++i) w[std::size_t(i)] = p / d[std::size_t(i)];
    }
    return w;
}

class NearestFill {
  public:
    NearestFill(VolumeGrid& g, const Region& r, int R, NearestKind kind, const uint16_t* map)
        : g_(g), r_(r), R_(R), kind_(kind), map_(map) {}

    bool run(PassProgress& p) {
        countProfiles();
        if (profiles_ < 2) return true; // nothing can get two candidates
        if (kind_ == NearestKind::Ring) {
            buildJumps();
        } else {
            buildRays();
            buildRayMap();
        }
        for (int gx = r_.x0; gx <= r_.x1; ++gx) {
            blends_.clear();
            for (int gy = r_.y0; gy <= r_.y1; ++gy) {
                if (map_[mapIndex(gx, gy)] != 0) continue;
                Candidates c;
                if (kind_ == NearestKind::Ring)
                    searchRings(gx, gy, c);
                else
                    searchRays(gx, gy, c);
                if (c.n >= 2) blends_.push_back(blendOf(gy, c));
            }
            apply(gx);
            if (p.step(gx + 1 - r_.x0, r_.x1 + 1 - r_.x0)) return false;
        }
        return true;
    }

  private:
    void countProfiles() {
        std::vector<bool> seen(65536, false);
        profiles_ = 0;
        for (int i = 0; i < GRID_NODES * GRID_NODES; ++i) {
            const uint16_t p = map_[i];
            if (p != 0 && !seen[p]) {
                seen[p] = true;
                ++profiles_;
            }
        }
    }

    bool filled(int x, int y) const { return map_[mapIndex(x, y)] != 0; }

    void offer(Candidates& c, int cx, int cy, int x, int y) const {
        const double dx = x - cx, dy = y - cy;
        c.offer(map_[mapIndex(x, y)], x, y, std::sqrt(dx * dx + dy * dy));
    }

    // --- rings ---------------------------------------------------------------

    // For every node, the next filled node at or after it along its row
    // (fixed gy) and along its column (fixed gx), so that a ring side is
    // walked over its filled nodes only.
    void buildJumps() {
        alongX_.assign(std::size_t(GRID_NODES) * GRID_NODES, int16_t(NONE));
        alongY_.assign(std::size_t(GRID_NODES) * GRID_NODES, int16_t(NONE));
        for (int gy = 0; gy < GRID_NODES; ++gy) {
            int next = NONE;
            for (int gx = LAST_GRID_NODE; gx >= 0; --gx) {
                if (filled(gx, gy)) next = gx;
                alongX_[std::size_t(gy * GRID_NODES + gx)] = int16_t(next);
            }
        }
        for (int gx = 0; gx < GRID_NODES; ++gx) {
            int next = NONE;
            for (int gy = LAST_GRID_NODE; gy >= 0; --gy) {
                if (filled(gx, gy)) next = gy;
                alongY_[std::size_t(gx * GRID_NODES + gy)] = int16_t(next);
            }
        }
    }

    void sideAlongX(Candidates& c, int cx, int cy, int y, int xa, int xb) const {
        const int16_t* next = &alongX_[std::size_t(y * GRID_NODES)];
        for (int x = next[xa]; x <= xb; x = x < LAST_GRID_NODE ? next[x + 1] : NONE)
            offer(c, cx, cy, x, y);
    }
    void sideAlongY(Candidates& c, int cx, int cy, int x, int ya, int yb) const {
        const int16_t* next = &alongY_[std::size_t(x * GRID_NODES)];
        for (int y = next[ya]; y <= yb; y = y < LAST_GRID_NODE ? next[y + 1] : NONE)
            offer(c, cx, cy, x, y);
    }

    // Rings of half-size 1 .. R + 1, clamped to the grid; inside a ring the
    // top row, the bottom row, then the left and right columns, each in
    // increasing index. A ring holds no node nearer than its half-size, so
    // the scan ends once no held candidate can improve.
    void searchRings(int cx, int cy, Candidates& c) const {
        for (int r = 1; r <= R_ + 1; ++r) {
            if (cx - r < 0 && cy - r < 0 && cx + r > LAST_GRID_NODE && cy + r > LAST_GRID_NODE)
                break;
            if (c.closed(profiles_) && r >= c.farthest()) break;
            const int xa = std::max(0, cx - r), xb = std::min(LAST_GRID_NODE, cx + r);
            const int ya = std::max(0, cy - r + 1), yb = std::min(LAST_GRID_NODE, cy + r - 1);
            if (cy - r >= 0) sideAlongX(c, cx, cy, cy - r, xa, xb);
            if (cy + r <= LAST_GRID_NODE) sideAlongX(c, cx, cy, cy + r, xa, xb);
            if (ya <= yb) {
                if (cx - r >= 0) sideAlongY(c, cx, cy, cx - r, ya, yb);
                if (cx + r <= LAST_GRID_NODE) sideAlongY(c, cx, cy, cx + r, ya, yb);
            }
        }
    }

    // --- rays ----------------------------------------------------------------

    struct Step {
        int16_t dx, dy, ndx, ndy;
        int offset, neighbourOffset; // in the rays' map
        double nearest;              // distance of the nearer of the two nodes tested
    };

    // The rays' map: one byte per node with a margin of 2 nodes around the
    // grid; bit 1 a filled node, bit 2 a node where rays stop (the grid's
    // edge and the margin). A ray from a node inside the edge moves at most
    // one node per step on either axis, so it never passes the margin, and
    // no step needs a bounds check.
    static constexpr int MARGIN = 2;
    static constexpr int PADDED = GRID_NODES + 2 * MARGIN;
    static int padded(int x, int y) { return (x + MARGIN) * PADDED + (y + MARGIN); }
    void buildRayMap() {
        rayMap_.assign(std::size_t(PADDED) * PADDED, 2);
        for (int gx = 0; gx < GRID_NODES; ++gx)
            for (int gy = 0; gy < GRID_NODES; ++gy) {
                const bool edge =
                    gx == 0 || gy == 0 || gx == LAST_GRID_NODE || gy == LAST_GRID_NODE;
                rayMap_[std::size_t(padded(gx, gy))] =
                    uint8_t((filled(gx, gy) ? 1 : 0) | (edge ? 2 : 0));
            }
    }

    // 16 slopes x 8 octants: one node along the major axis and the slope
    // along the minor one per step; the neighbour one node further along the
    // minor direction is tested too, so that no track slips between steps.
    void buildRays() {
        if (!rays_.empty()) return;
        rays_.resize(std::size_t(RAYS) * MAX_RAY_STEPS);
        int ray = 0;
        for (double t : SLOPES) {
            for (int o = 0; o < 8; ++o, ++ray) {
                const bool xMajor = (o & 4) == 0;
                const int sMajor = (o & 2) ? -1 : 1, sMinor = (o & 1) ? -1 : 1;
                for (int k = 1; k <= MAX_RAY_STEPS; ++k) {
                    const int major = sMajor * k;
                    const int minor = sMinor * int(std::nearbyint(k * t));
                    Step& s = rays_[std::size_t(ray * MAX_RAY_STEPS + k - 1)];
                    if (xMajor)
                        s = Step{int16_t(major),
                                 int16_t(minor),
                                 int16_t(major),
                                 int16_t(minor + sMinor),
                                 0,
                                 0,
                                 0};
                    else
                        s = Step{int16_t(minor),
                                 int16_t(major),
                                 int16_t(minor + sMinor),
                                 int16_t(major),
                                 0,
                                 0,
                                 0};
                    s.offset = s.dx * PADDED + s.dy;
                    s.neighbourOffset = s.ndx * PADDED + s.ndy;
                    s.nearest = std::min(std::hypot(double(s.dx), double(s.dy)),
                                         std::hypot(double(s.ndx), double(s.ndy)));
                }
            }
        }
    }

    // A ray ends at the first filled node, at the grid edge or after R
    // steps; it also ends once its nodes cannot improve a closed candidate
    // set (every later step lies farther away than the current one).
    void searchRays(int cx, int cy, Candidates& c) const {
        const int steps = std::min(R_, MAX_RAY_STEPS);
        const uint8_t* map = rayMap_.data() + padded(cx, cy);
        for (int ray = 0; ray < RAYS; ++ray) {
            const Step* s = &rays_[std::size_t(ray * MAX_RAY_STEPS)];
            // Within one ray the candidates change only when it ends.
            const bool closed = c.closed(profiles_);
            const double farthest = closed ? c.farthest() : 0;
            for (int k = 1; k <= steps; ++k, ++s) {
                if (closed && s->nearest >= farthest) break;
                const uint8_t node = map[s->offset];
                if (node & 1) {
                    offer(c, cx, cy, cx + s->dx, cy + s->dy);
                    break;
                }
                if (map[s->neighbourOffset] & 1) {
                    offer(c, cx, cy, cx + s->ndx, cy + s->ndy);
                    break;
                }
                if (node & 2) break; // the grid's edge
            }
        }
    }

    // --- blend ---------------------------------------------------------------

    Blend blendOf(int gy, const Candidates& c) const {
        Blend b;
        b.gy = gy;
        b.n = c.n;
        std::array<double, 3> d = c.d;
        int full = (1 << c.n) - 1;
        if (kind_ == NearestKind::Ring && c.n == 2) {
            // A missing third candidate repeats the first.
            d[2] = d[0];
            const std::array<double, 3> w = weightsFor(d, 7);
            b.weight[3] = {w[0] + w[2], w[1], 0};
            full = 3;
        }
        for (int i = 0; i < c.n; ++i)
            b.source[std::size_t(i)] =
                std::size_t(c.gx[std::size_t(i)]) * SLAB_BYTES + std::size_t(c.gy[std::size_t(i)]);
        for (int mask = 1; mask <= full; ++mask)
            if (!(kind_ == NearestKind::Ring && c.n == 2 && mask == 3))
                b.weight[std::size_t(mask)] = weightsFor(d, mask);
        // Heights: the first two candidates, inverse-distance weighted.
        const double h1 = g_.reliefHeight(c.gx[0], c.gy[0]);
        const double h2 = g_.reliefHeight(c.gx[1], c.gy[1]);
        b.height = uint32_t(roundHalfEven((h1 * c.d[1] + h2 * c.d[0]) / (c.d[0] + c.d[1])));
        return b;
    }

    void apply(int gx) {
        if (blends_.empty()) return;
        const uint8_t* base = g_.slab(0);
        const bool masked = kind_ == NearestKind::MaskedVector;
        for (int c = 1; c <= LAST_PLANE; ++c) {
            uint8_t* out = g_.plane(gx, c);
            const std::size_t plane = std::size_t(c) * GRID_STRIDE;
            for (const Blend& b : blends_) {
                const uint8_t s0 = base[b.source[0] + plane];
                const uint8_t s1 = base[b.source[1] + plane];
                const uint8_t s2 = b.n == 3 ? base[b.source[2] + plane] : 0;
                int mask = b.n == 3 ? 7 : 3;
                if (masked) mask = (s0 ? 1 : 0) | (s1 ? 2 : 0) | (s2 ? 4 : 0);
                const auto& w = b.weight[std::size_t(mask)];
                const double v = s0 * w[0] + s1 * w[1] + s2 * w[2];
                out[b.gy] = uint8_t(std::clamp(roundHalfEven(v), 0.0, 255.0));
            }
        }
        for (const Blend& b : blends_) g_.set24(gx, node::ReliefHeight, b.gy, b.height);
    }

    VolumeGrid& g_;
    Region r_;
    int R_;
    NearestKind kind_;
    const uint16_t* map_;
    int profiles_ = 0;
    std::vector<int16_t> alongX_, alongY_;
    std::vector<Step> rays_;
    std::vector<uint8_t> rayMap_;
    std::vector<Blend> blends_;
};

} // namespace

bool fillNearest(VolumeGrid& g, const Region& r, int R, NearestKind kind,
                 const uint16_t* profileMap, PassProgress& p) {
    NearestFill fill(g, r, R, kind, profileMap);
    return fill.run(p);
}

} // namespace tesk::volume_detail
