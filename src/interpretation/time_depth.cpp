#include "interpretation/time_depth.h"

#include <algorithm>
#include <cmath>

namespace tesk {

TimeDepth TimeDepth::uniform(int velocityCode, int antennaCm, TimeZero zero) {
    TimeDepth m;
    if (velocityCode <= 0) return m;
    const double v = velocityCode / 100.0;
    m.spans_[0] = Span{0, 0, v, 1};
    m.count_ = 1;
    if (antennaCm > 0) {
        m.slant_ = true;
        // Integer halving, as the depth scale takes half the separation.
        m.halfSeparation_ = double(antennaCm / 2);
        // A time counted from the air wave lacks the air wave's A / 30 ns;
        // one counted from the ground wave lacks (A / 2) / Vgr.
        m.timeShift_ = zero == TimeZero::AirWave ? antennaCm / 30.0 : m.halfSeparation_ / v;
    }
    return m;
}

TimeDepth TimeDepth::layered(const BoundaryRows& rows, const std::array<int, LAYERS>& codes,
                             double nsPerRow, int referenceCode, BoundaryTimes times) {
    TimeDepth m;
    const double reference = referenceCode > 0 ? referenceCode / 100.0 : 0.0;
    auto velocity = [&](int k) {
        const int c = codes[std::size_t(k - 1)];
        return c > 0 ? c / 100.0 : reference;
    };
    auto timeOf = [&](int row) {
        const double t = row * nsPerRow;
        return times == BoundaryTimes::WholeNs ? std::nearbyint(t) : t;
    };
    // Layer k starts at the deepest boundary above it; boundaries that lie
    // above an earlier one (out of order) or are absent end no layer.
    double top = 0, depth = 0;
    for (int k = 1; k <= LAYERS; ++k) {
        const bool last = k == LAYERS;
        const int row = last ? 0 : rows[std::size_t(k - 1)];
        const double bottom = row > 0 ? timeOf(row) : -1;
        if (!last && bottom <= top) continue; // no layer k of its own here
        const double v = velocity(k);
        if (v <= 0) return TimeDepth{}; // no velocity at all: no conversion
        m.spans_[std::size_t(m.count_++)] = Span{top, depth, v, k};
        if (last) break;
        depth += v * (bottom - top);
        top = bottom;
    }
    return m;
}

TimeDepth TimeDepth::layered(const uint8_t* cells, double nsPerRow, int referenceCode,
                             BoundaryTimes times) {
    std::array<int, LAYERS> codes{};
    for (int k = 1; k <= LAYERS; ++k) codes[std::size_t(k - 1)] = layerCode(cells, k);
    return layered(boundaryRows(cells), codes, nsPerRow, referenceCode, times);
}

double TimeDepth::depthCm(double timeNs) const {
    if (count_ == 0 || !(timeNs > 0)) return 0.0;
    if (slant_) {
        const double slant = spans_[0].vgr * (timeNs + timeShift_);
        const double h2 = slant * slant - halfSeparation_ * halfSeparation_;
        const double h0 = spans_[0].vgr * timeShift_;
        const double h02 = h0 * h0 - halfSeparation_ * halfSeparation_;
        // Depth measured from the level where time 0 lies.
        const double surface = h02 > 0 ? std::sqrt(h02) : 0.0;
        return (h2 > 0 ? std::sqrt(h2) : 0.0) - surface;
    }
    int i = count_ - 1;
    while (i > 0 && spans_[std::size_t(i)].topNs > timeNs) --i;
    const Span& s = spans_[std::size_t(i)];
    return s.topCm + s.vgr * (timeNs - s.topNs);
}

double TimeDepth::timeNs(double depthCm) const {
    if (count_ == 0) return 0.0;
    if (slant_) {
        const double v = spans_[0].vgr;
        const double h0 = v * timeShift_;
        const double h02 = h0 * h0 - halfSeparation_ * halfSeparation_;
        const double h = std::max(depthCm, 0.0) + (h02 > 0 ? std::sqrt(h02) : 0.0);
        return std::sqrt(h * h + halfSeparation_ * halfSeparation_) / v - timeShift_;
    }
    if (!(depthCm > 0)) return 0.0;
    int i = count_ - 1;
    while (i > 0 && spans_[std::size_t(i)].topCm > depthCm) --i;
    const Span& s = spans_[std::size_t(i)];
    return s.topNs + (depthCm - s.topCm) / s.vgr;
}

int TimeDepth::layerAt(double timeNs) const {
    if (count_ == 0) return 1;
    int i = count_ - 1;
    while (i > 0 && spans_[std::size_t(i)].topNs > timeNs) --i;
    return spans_[std::size_t(i)].layer;
}

} // namespace tesk
