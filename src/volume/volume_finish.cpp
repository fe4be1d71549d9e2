// The last stages of the build: the coordinates along the grid axes, which
// the slice readouts label the axes with, and the relief display's traces
// hung from the reference height; and the time rescaling of a trace by the
// relief display's window factor.

#include "volume/volume_passes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tesk::volume_detail {

namespace {

// One axis of nodes: reads and writes the coordinate of node i.
struct Axis {
    VolumeGrid& g;
    bool alongX; // the row gy = 0, else the column gx = 0
    int cellNo;
    bool degrees; // degree byte + 24-bit fraction, else a signed 32-bit value

    int64_t get(int i) const {
        const int gx = alongX ? i : 0, gy = alongX ? 0 : i;
        if (!degrees) return int32_t(g.get32(gx, cellNo, gy));
        return int64_t(g.at(gx, cellNo, gy)) * 10000000 + g.get24(gx, cellNo + 1, gy);
    }
    void set(int i, int64_t v) const {
        const int gx = alongX ? i : 0, gy = alongX ? 0 : i;
        if (!degrees) {
            g.set32(gx, cellNo, gy, uint32_t(int32_t(v)));
            return;
        }
        g.at(gx, cellNo, gy) = uint8_t(v / 10000000);
        g.set24(gx, cellNo + 1, gy, uint32_t(v % 10000000));
    }
};

// Nodes whose coordinate is 0 take the straight line between the nearest
// nodes on either side that have one, truncated.
void interpolateAxis(const Axis& a) {
    int last = -1;
    int64_t lastValue = 0;
    for (int i = 0; i < GRID_NODES; ++i) {
        const int64_t v = a.get(i);
        if (v == 0) continue;
        if (last >= 0 && i - last > 1)
            for (int k = last + 1; k < i; ++k)
                a.set(k, int64_t(std::trunc(double(lastValue) +
                                            double(v - lastValue) * (k - last) / (i - last))));
        last = i;
        lastValue = v;
    }
}

} // namespace

void fillAxisCoordinates(VolumeGrid& g) {
    interpolateAxis(Axis{g, true, node::UcsX, false});
    interpolateAxis(Axis{g, false, node::UcsY, false});
    interpolateAxis(Axis{g, true, node::LonDegrees, true});
    interpolateAxis(Axis{g, false, node::LatDegrees, true});
}

bool shiftNodesForRelief(VolumeGrid& g, const VolumeSettings& v, PassProgress& p) {
    const double cmPerRow = double(v.velocityCode) * v.nsPerRow * v.windowFactor;
    if (cmPerRow <= 0) return true;
    std::array<int, GRID_NODES> shift{};
    for (int gx = 0; gx < GRID_NODES; ++gx) {
        int most = 0;
        for (int gy = 0; gy < GRID_NODES; ++gy) {
            const double h = g.reliefHeight(gx, gy);
            const double rows = std::nearbyint((double(v.Hmax) - h) * 100.0 / cmPerRow);
            shift[std::size_t(gy)] = int(std::clamp(rows, 0.0, double(NODE_SAMPLES)));
            most = std::max(most, shift[std::size_t(gy)]);
        }
        if (most > 0) {
            // From the deepest plane up, so that every sample is read before
            // it is overwritten; the top s planes become 0.
            for (int c = NODE_SAMPLES - 1; c >= 0; --c) {
                uint8_t* out = g.plane(gx, c);
                for (int gy = 0; gy < GRID_NODES; ++gy) {
                    const int s = shift[std::size_t(gy)];
                    if (s == 0) continue;
                    out[gy] = c >= s ? g.plane(gx, c - s)[gy] : 0;
                }
            }
        }
        if (p.step(gx + 1, GRID_NODES)) return false;
    }
    return true;
}

void rescaleTrace(const uint8_t* in, double w, uint8_t* out) {
    constexpr int LAST_INPUT = SAMPLE_ROWS - 1;   // rows from 527 on fade out
    constexpr int LAST_WRITTEN = SAMPLE_ROWS - 2; // the loop ends past row 526
    std::memset(out, 0, SAMPLE_ROWS);
    if (w <= 0) w = 1.0;
    uint8_t code = 0;
    for (int r = 0;; ++r) {
        const int row = int(std::trunc(r / w));
        if (row > LAST_WRITTEN) break;
        if (r < LAST_INPUT)
            code = in[r];
        else if (code > 0)
            --code;
        out[row] = code;
        out[row + 1] = code;
    }
}

} // namespace tesk::volume_detail
