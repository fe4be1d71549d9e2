#pragma once
// The times of the layered model at one frame, as the velocity and depth
// tables count them: boundary k at T_k = Round(row x ns per row) whole ns
// (0 when absent), the bottom of layer 8 at Round(526 x ns per row), and the
// layer times dT_k = T_k minus the time of the nearest present boundary
// above (T_1 itself for k = 1), computed only where T_k > 0.

#include "interpretation/layer_cells.h"

#include <array>

namespace tesk {

struct LayerTimes {
    std::array<int, LAYERS + 1> T{};  // T[1..8], ns
    std::array<int, LAYERS + 1> dT{}; // dT[1..8], ns; 0 where T is 0
};

LayerTimes layerTimes(const BoundaryRows& rows, double nsPerRow);

// Depth in cm of a time at a velocity code: Round(code x T / 100), ties to even.
int depthOfCode(int code, int timeNs);

} // namespace tesk
