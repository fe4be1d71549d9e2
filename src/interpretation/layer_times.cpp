#include "interpretation/layer_times.h"

#include <cmath>

namespace tesk {

LayerTimes layerTimes(const BoundaryRows& rows, double nsPerRow) {
    LayerTimes t;
    for (int k = 1; k <= BOUNDARIES; ++k)
        t.T[std::size_t(k)] = int(std::nearbyint(rows[std::size_t(k - 1)] * nsPerRow));
    t.T[LAYERS] = int(std::nearbyint(BOTTOM_ROW * nsPerRow));
    int above = 0;
    for (int k = 1; k <= LAYERS; ++k) {
        const int Tk = t.T[std::size_t(k)];
        if (Tk <= 0) continue;
        t.dT[std::size_t(k)] = Tk - above;
        above = Tk;
    }
    return t;
}

int depthOfCode(int code, int timeNs) {
    return int(std::nearbyint(double(code) * timeNs / 100.0));
}

} // namespace tesk
