#pragma once
// The passes of the volume build, shared by the files that implement them.
// Not part of the library's interface.

#include "store/interaction.h"
#include "volume/volume_build.h"
#include "volume/volume_grid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tesk::volume_detail {

// The nodes the fill passes run over, inclusive.
struct Region {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// Index of node (gx, gy) in the 512 x 512 maps, gy fastest.
constexpr int mapIndex(int gx, int gy) {
    return gx * GRID_NODES + gy;
}

// Progress of one stage of the build and the poll for Escape.
class PassProgress {
  public:
    PassProgress(Interaction& ui, const AbortCheck& abort) : ui_(ui), abort_(abort) {}
    // Reports done of total and returns true when the build is to stop.
    bool step(int64_t done, int64_t total) {
        ui_.progress(done, total);
        return abort_ && abort_();
    }

  private:
    Interaction& ui_;
    const AbortCheck& abort_;
};

// Integer division rounded to the nearest, ties to even (num may be
// negative, den > 0).
constexpr int64_t divRound(int64_t num, int64_t den) {
    int64_t q = num / den, r = num % den;
    if (r < 0) {
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return q;
}

// The linear blend of a gap: the k - 1 nodes between a0 (k nodes back) and
// a, node j back from a (at `at` - j * stride) getting Round(a - j (a - a0)
// / k), ties to even. The numerator a (k - j) + a0 j is below 2^17 and k
// below 2^9, so multiplying by ceil(2^32 / k) divides exactly; no node
// depends on the one before, which keeps the loop fast.
inline void fillGap(uint8_t* at, std::ptrdiff_t stride, int a0, int a, int k) {
    const uint32_t den = uint32_t(k);
    const uint64_t inverse = ((uint64_t(1) << 32) + den - 1) / den;
    const int delta = a0 - a;
    for (int j = 1; j < k; ++j) {
        const uint32_t num = uint32_t(a * k + j * delta);
        const uint32_t q = uint32_t((uint64_t(num) * inverse) >> 32);
        const uint32_t r = num - q * den;
        // Half up from 2r > k, and at 2r = k only for an odd quotient. The
        // numerator is at least k (a, a0 >= 1), so the value is at least 1.
        at[-j * stride] = uint8_t(q + (2 * r + (q & 1) > den));
    }
}

// The frame-written nodes of every row gx, in increasing gy. Before the
// fill passes only these hold samples, so the linear passes visit them
// alone instead of walking every node of every plane.
struct FrameNodeRows {
    std::vector<int> start; // row gx: gy[start[gx]] .. gy[start[gx + 1] - 1]
    std::vector<uint16_t> gy;
    void build(const uint16_t* profileMap);
    const uint16_t* begin(int gx) const { return gy.data() + start[std::size_t(gx)]; }
    const uint16_t* end(int gx) const { return gy.data() + start[std::size_t(gx) + 1]; }
};

// Linear methods (planes 1..512; in the relief display the heights too).
// Only frame-written nodes count as values (the rows' lists): in the Y pass
// of the X+Y method the nodes the X pass blended are gaps like empty ones.
// Each returns false when aborted.
bool fillAlongX(VolumeGrid& g, const Region& r, int R, bool relief, const FrameNodeRows& rows,
                PassProgress& p);
bool fillAlongY(VolumeGrid& g, const Region& r, int R, bool relief, const FrameNodeRows& rows,
                PassProgress& p);

// Ring ("По радиусу R"), vector ("По вектору V") and masked vector methods
// over the empty nodes (profile map 0), planes 1..511 and the heights.
enum class NearestKind { Ring, Vector, MaskedVector };
bool fillNearest(VolumeGrid& g, const Region& r, int R, NearestKind kind,
                 const uint16_t* profileMap, PassProgress& p);

// Axis coordinates along the row gy = 0 and the column gx = 0.
void fillAxisCoordinates(VolumeGrid& g);

// The relief display: every node's samples moved down by its depth below
// Hmax. Returns false when aborted.
bool shiftNodesForRelief(VolumeGrid& g, const VolumeSettings& v, PassProgress& p);

// One trace (528 rows) rescaled in time by the window factor w: input row r
// goes to rows Trunc(r / w) and Trunc(r / w) + 1 until the row passes 526;
// rows from 527 on repeat the last sample, less 1 per row, not below 0.
void rescaleTrace(const uint8_t* in, double w, uint8_t* out);

} // namespace tesk::volume_detail
