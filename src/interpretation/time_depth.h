#pragma once
// Two-way time to depth under one frame. Depth = Vgr x two-way time inside
// each layer (Vgr = velocity code / 100 cm/ns, half the wave speed), summed
// over the layers above. Two models:
//
//   uniform   one velocity from the surface down, with the antenna
//             separation A: the ray to depth h has the slant length
//             sqrt(h^2 + (A/2)^2), and times are counted either from the
//             air wave (A / 30 ns) or from the ground wave (A / 2 / Vgr ns),
//             as the zero-line switch of the depth scale chooses;
//   layered   the velocity model of a frame: boundaries 1..7 at their times,
//             layer k with its layer velocity, layer 8 down to the bottom and
//             beyond; a layer without a velocity takes the reference one.
//             Zero offset, as the velocity and depth table counts depths.
//
// Both convert either way and are monotone: timeNs(depthCm(t)) == t for
// every time at or after the one of depth 0 (earlier times, above the
// ground, give depth 0).

#include "interpretation/layer_cells.h"
#include "store/profile_store.h"

#include <array>

namespace tesk {

enum class TimeZero {
    AirWave,    // CheckBox2 "Уровень Нуля" checked: time 0 at the air wave
    GroundWave, // unchecked: time 0 at the ground wave, depth 0 at time 0
};

// How the layered model places its boundaries: at the whole nanosecond the
// velocity and depth table counts (Round(row x ns per row)), or at the exact
// time of the row as the depth section draws it.
enum class BoundaryTimes { WholeNs, Exact };

class TimeDepth {
  public:
    // One velocity code (Vgr x 100) from the surface down. A code of 0 or
    // less converts every time to depth 0.
    static TimeDepth uniform(int velocityCode, int antennaCm = 0,
                             TimeZero zero = TimeZero::AirWave);
    // The layered model of a frame record (boundary rows and layer velocity
    // cells, or the same cells copied into a raster row's attribute columns).
    static TimeDepth layered(const uint8_t* cells, double nsPerRow, int referenceCode,
                             BoundaryTimes times = BoundaryTimes::WholeNs);
    static TimeDepth layered(const FrameRecord& f, double nsPerRow, int referenceCode,
                             BoundaryTimes times = BoundaryTimes::WholeNs) {
        return layered(f.value.data(), nsPerRow, referenceCode, times);
    }
    // The layered model from explicit boundary rows (0 = absent) and layer
    // velocity codes (0 = the reference code).
    static TimeDepth layered(const BoundaryRows& rows, const std::array<int, LAYERS>& codes,
                             double nsPerRow, int referenceCode,
                             BoundaryTimes times = BoundaryTimes::WholeNs);

    // Depth in cm of a two-way time in ns; negative times give 0.
    double depthCm(double timeNs) const;
    // Two-way time in ns of a depth in cm; the inverse of depthCm.
    double timeNs(double depthCm) const;
    // Layer 1..8 that holds the time (layered model; 1 for the uniform one).
    int layerAt(double timeNs) const;

    // Layers in use: for each, the time and depth of its top and its Vgr.
    struct Span {
        double topNs = 0;
        double topCm = 0;
        double vgr = 0; // cm/ns, > 0
        int layer = 1;
    };
    int spanCount() const { return count_; }
    const Span& span(int i) const { return spans_[std::size_t(i)]; }

  private:
    TimeDepth() = default;
    std::array<Span, LAYERS> spans_{};
    int count_ = 0;
    // Uniform model with an antenna separation.
    bool slant_ = false;
    double halfSeparation_ = 0;
    double timeShift_ = 0; // ns added to a time before the slant path is taken
};

} // namespace tesk
