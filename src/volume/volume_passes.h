#pragma once
// The passes of the volume build, shared by the files that implement them.
// Not part of the library's interface.

#include "store/interaction.h"
#include "volume/volume_build.h"
#include "volume/volume_grid.h"

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

// The linear blend of the k - 1 nodes between a0 (k nodes back) and a: node
// j back from a gets Round(a - j (a - a0) / k), at least 1. The numerator
// a (k - j) + a0 j is positive and small, so unsigned 32-bit arithmetic
// rounds it exactly.
inline uint8_t linearBlend(int a, int a0, int j, int k) {
    const uint32_t num = uint32_t(a) * uint32_t(k - j) + uint32_t(a0) * uint32_t(j);
    const uint32_t den = uint32_t(k);
    uint32_t q = num / den;
    const uint32_t r = num - q * den;
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return uint8_t(q < 1 ? 1 : q);
}

// Linear methods (planes 1..512; in the relief display the heights too).
// `frameNodes` (the profile number per node, 0 for nodes no frame wrote),
// when given, makes only frame-written nodes count as values: the Y pass of
// the X+Y method. Each returns false when aborted.
bool fillAlongX(VolumeGrid& g, const Region& r, int R, bool relief, PassProgress& p);
bool fillAlongY(VolumeGrid& g, const Region& r, int R, bool relief, const uint16_t* frameNodes,
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
