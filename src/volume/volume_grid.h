#pragma once
// The regular volume built from the profiles of a survey: a square grid of
// 512 x 512 horizontal nodes, each holding one trace of 513 time samples and
// the service cells of a frame record (numbered as the cells of FrameRecord).
//
// Memory layout: one byte array indexed [gx][c][gy] with gy varying fastest,
// 513 x 624 x 513 bytes (about 164 MB), of which gx, gy = 0..511 are used.
// A plane c of one row gx is therefore 513 contiguous bytes, and the whole
// record of one row gx (a "slab", 624 x 513 bytes) fits a core's cache:
// every pass walks the grid slab by slab and plane by plane.
//
// The array is allocated once, at the first build, and lives for the run.

#include "store/profile_store.h"
#include "store/settings_catalog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tesk {

inline constexpr int GRID_NODES = 512;  // used nodes per axis, 0..511
inline constexpr int GRID_STRIDE = 513; // allocated nodes per axis (gy stride of a plane)
inline constexpr int LAST_GRID_NODE = GRID_NODES - 1;
inline constexpr int NODE_SAMPLES = 513; // cells 0..512 are samples
inline constexpr int GRID_PLANES = CELLS_PER_FRAME;
inline constexpr std::size_t SLAB_BYTES = std::size_t(GRID_PLANES) * GRID_STRIDE;
inline constexpr std::size_t GRID_BYTES = SLAB_BYTES * GRID_STRIDE;

// Cells of a node record that differ in meaning from the frame record or
// that the volume code addresses by name.
namespace node {
inline constexpr int Status = cell::Status;               // frame status, markers accumulated
inline constexpr int ProfileNumber = cell::ProfileNumber; // u16: profile pass that wrote the node
inline constexpr int ReliefHeight = cell::ReliefHeight;   // u24, cm
inline constexpr int Boundary1 = cell::Boundary1;         // 7 x u16
inline constexpr int BoundaryCells = 14;
inline constexpr int UcsX = cell::UcsX;
inline constexpr int UcsY = cell::UcsY;
inline constexpr int LonDegrees = cell::LonDegrees;
inline constexpr int LatDegrees = cell::LatDegrees;
inline constexpr int PositionCells = 16; // 560..575: ucsX, ucsY, longitude, latitude
} // namespace node

// What the last complete build produced.
struct VolumeInfo {
    bool built = false; // the grid holds a complete build
    int stepCm = 0;     // grid step g
    int32_t xMin = 0;   // ucsX of node column gx = 0, cm
    int32_t yMin = 0;   // ucsY of node row gy = 0, cm
    int gxMax = 0;      // last node column holding data
    int gyMax = 0;      // last node row holding data
};

class VolumeGrid {
  public:
    VolumeGrid() = default;
    VolumeGrid(const VolumeGrid&) = delete;
    VolumeGrid& operator=(const VolumeGrid&) = delete;

    // Allocates the array on the first call; later calls do nothing. The
    // bytes are not cleared here: every build clears what it uses.
    void allocate();
    bool allocated() const { return bytes_ != nullptr; }

    // Plane c of node row gx: 513 bytes, one per gy.
    uint8_t* plane(int gx, int c) {
        return bytes_.get() + gx * SLAB_BYTES + std::size_t(c) * GRID_STRIDE;
    }
    const uint8_t* plane(int gx, int c) const {
        return bytes_.get() + gx * SLAB_BYTES + std::size_t(c) * GRID_STRIDE;
    }
    uint8_t* slab(int gx) { return bytes_.get() + gx * SLAB_BYTES; }
    const uint8_t* slab(int gx) const { return bytes_.get() + gx * SLAB_BYTES; }

    uint8_t at(int gx, int c, int gy) const { return plane(gx, c)[gy]; }
    uint8_t& at(int gx, int c, int gy) { return plane(gx, c)[gy]; }

    // Big-endian integers over consecutive cells of one node.
    uint32_t get16(int gx, int c, int gy) const {
        return (uint32_t(at(gx, c, gy)) << 8) | at(gx, c + 1, gy);
    }
    uint32_t get24(int gx, int c, int gy) const {
        return (uint32_t(at(gx, c, gy)) << 16) | get16(gx, c + 1, gy);
    }
    uint32_t get32(int gx, int c, int gy) const {
        return (uint32_t(at(gx, c, gy)) << 24) | get24(gx, c + 1, gy);
    }
    void set16(int gx, int c, int gy, uint32_t v) {
        at(gx, c, gy) = uint8_t(v >> 8);
        at(gx, c + 1, gy) = uint8_t(v);
    }
    void set24(int gx, int c, int gy, uint32_t v) {
        at(gx, c, gy) = uint8_t(v >> 16);
        set16(gx, c + 1, gy, v);
    }
    void set32(int gx, int c, int gy, uint32_t v) {
        at(gx, c, gy) = uint8_t(v >> 24);
        set24(gx, c + 1, gy, v);
    }

    // The profile pass that wrote the node; 0 for a node no frame wrote.
    uint32_t profileNumber(int gx, int gy) const { return get16(gx, node::ProfileNumber, gy); }
    bool empty(int gx, int gy) const { return profileNumber(gx, gy) == 0; }
    int markerStatus(int gx, int gy) const { return at(gx, node::Status, gy) & status::MarkerMask; }
    uint32_t reliefHeight(int gx, int gy) const { return get24(gx, node::ReliefHeight, gy); }
    int32_t ucsX(int gx, int gy) const { return int32_t(get32(gx, node::UcsX, gy)); }
    int32_t ucsY(int gx, int gy) const { return int32_t(get32(gx, node::UcsY, gy)); }

    // Every cell of the used nodes (gx, gy = 0..511) becomes 0.
    void clearRow(int gx);

    VolumeInfo info;

  private:
    std::unique_ptr<uint8_t[]> bytes_;
};

} // namespace tesk
