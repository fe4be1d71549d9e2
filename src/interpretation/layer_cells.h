#pragma once
// The interpretation fields of a frame record: the rows of layer boundaries
// 1..7, the hodograph velocities and layer velocities of layers 1..8 (codes
// Vgr x 100), the point name, and the survey's layer colours. Boundary rows
// read from a file may hold anything a 16-bit cell holds; readers here clamp
// them to the samples of a trace before they index anything.

#include "store/profile_store.h"

#include <array>
#include <cstdint>

namespace tesk {

inline constexpr int BOUNDARIES = 7;   // layer boundaries 1..7
inline constexpr int LAYERS = 8;       // layers 1..8; layer 8 reaches the trace bottom
inline constexpr int BOTTOM_ROW = 526; // layer 8 of the velocity model ends here
inline constexpr int LAST_SAMPLE_ROW = SAMPLES_PER_FRAME - 1;
inline constexpr int POINT_NAME_CELLS = 6;

// Velocity cells of the layered model (Vgr x 100, unsigned 16 bits).
inline constexpr int HODOGRAPH_VELOCITY_CELL = cell::TableValuesA; // 576 + 2 (k - 1)
inline constexpr int LAYER_VELOCITY_CELL = cell::TableValuesB;     // 592 + 2 (k - 1)

// Row of boundary k (1..7) as stored, 0 = absent.
inline int boundaryRow(const FrameRecord& f, int k) {
    return f.get16(cell::Boundary1 + 2 * (k - 1));
}
inline void setBoundaryRow(FrameRecord& f, int k, int row) {
    f.set16(cell::Boundary1 + 2 * (k - 1), uint32_t(row < 0 ? 0 : row));
}

// Boundary rows 1..7 of a frame (index 0 = boundary 1), each clamped to
// 0..511 so that a hostile file cannot move a reader off the trace.
using BoundaryRows = std::array<int, BOUNDARIES>;
inline BoundaryRows boundaryRows(const uint8_t* cells) {
    BoundaryRows b{};
    for (int k = 0; k < BOUNDARIES; ++k) {
        const int v = (cells[cell::Boundary1 + 2 * k] << 8) | cells[cell::Boundary1 + 2 * k + 1];
        b[std::size_t(k)] = v > LAST_SAMPLE_ROW ? LAST_SAMPLE_ROW : v;
    }
    return b;
}
inline BoundaryRows boundaryRows(const FrameRecord& f) {
    return boundaryRows(f.value.data());
}

inline int hodographCode(const FrameRecord& f, int k) {
    return f.get16(HODOGRAPH_VELOCITY_CELL + 2 * (k - 1));
}
inline void setHodographCode(FrameRecord& f, int k, int code) {
    f.set16(HODOGRAPH_VELOCITY_CELL + 2 * (k - 1), uint32_t(code < 0 ? 0 : code));
}
inline int layerCode(const uint8_t* cells, int k) {
    const int c = LAYER_VELOCITY_CELL + 2 * (k - 1);
    return (cells[c] << 8) | cells[c + 1];
}
inline int layerCode(const FrameRecord& f, int k) {
    return layerCode(f.value.data(), k);
}
inline void setLayerCode(FrameRecord& f, int k, int code) {
    f.set16(LAYER_VELOCITY_CELL + 2 * (k - 1), uint32_t(code < 0 ? 0 : code));
}

// Layer colour k (0..8) of the survey header as 0x00BBGGRR; 0 = no colour.
inline uint32_t layerColour(const SurveyHeader& h, int k) {
    const int c = hdr::LayerColour + 3 * k;
    return (uint32_t(h.value[c]) << 16) | (uint32_t(h.value[c + 1]) << 8) | h.value[c + 2];
}

// Relief shift of a trace in rows: the reference height H over the frame's
// height P, Round((H - P) 100 / (velocityCode nsPerRow stretch)) with ties to
// even, never negative and at most 528, as the relief display moves it.
struct ReliefShift {
    bool on = false;              // bit 0x100 of stateFlags
    uint32_t referenceHeight = 0; // cm: the window maximum or Hmax
    int velocityCode = 500;       // ComboBox10 velocity
    double nsPerRow = 1.0;        // ComboBox11
    double stretch = 1.0;         // ComboBox14 window factor
    int rows(uint32_t reliefHeight) const;
};

} // namespace tesk
