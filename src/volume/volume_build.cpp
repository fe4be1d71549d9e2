#include "volume/volume_build.h"

#include "store/settings_catalog.h"
#include "volume/messages.h"
#include "volume/volume_passes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace tesk {

using namespace volume_detail;

namespace {

// What the frame pass decided for one node: the last frame that wrote it,
// its height (interpolated along a rasterised track), the profile pass and
// the markers of every frame that ended on it.
struct NodeSource {
    int32_t frame = -1;
    uint32_t height = 0;
    uint16_t profile = 0;
    uint8_t markers = 0;
};

constexpr uint32_t NO_SLOT = 0xFFFFFFFFu;

// Scratch of the build, allocated with the first build and reused.
struct Workspace {
    std::vector<NodeSource> source;   // per node
    std::vector<uint16_t> profileMap; // per node: profile number, 0 empty
    std::vector<uint32_t> frameSlot;  // per frame slot: gx << 16 | gy, or NO_SLOT
    std::vector<uint8_t> trace;       // one rescaled trace
    FrameNodeRows frameNodes;         // per row gx, the frame-written nodes
    void allocate() {
        if (!source.empty()) return;
        source.resize(std::size_t(GRID_NODES) * GRID_NODES);
        profileMap.resize(std::size_t(GRID_NODES) * GRID_NODES);
        frameSlot.resize(FRAME_SLOTS);
        trace.resize(SAMPLE_ROWS);
    }
};

Workspace& workspace() {
    static Workspace w;
    w.allocate();
    return w;
}

int32_t signedCell32(const FrameRecord& f, int c) {
    return int32_t(f.get32(c));
}

// Node index of a coordinate: Round((v - min) / g), at most 511.
int nodeIndex(int32_t v, int32_t min, int g) {
    const double n = std::nearbyint((double(v) - double(min)) / double(g));
    return int(std::clamp(n, 0.0, double(LAST_GRID_NODE)));
}

class FramePass {
  public:
    FramePass(Workspace& w, bool relief) : w_(w), relief_(relief) {}

    // Walks the frames and fills the node sources and frame slots.
    void run(const ProfileStore& s, const SurveyExtent& e, int g) {
        std::fill(w_.source.begin(), w_.source.end(), NodeSource{});
        std::fill(w_.frameSlot.begin(), w_.frameSlot.end(), NO_SLOT);
        uint16_t p = 1;
        bool open = false;
        int px = 0, py = 0;
        uint32_t ph = 0;
        for (int i = 0; i <= s.frameCount; ++i) {
            const FrameRecord& f = s.frame(i);
            if (!f.inProfile()) {
                if (open) p = p == 65535 ? 1 : uint16_t(p + 1);
                open = false;
                continue;
            }
            const int gx = nodeIndex(signedCell32(f, cell::UcsX), e.xMin, g);
            const int gy = nodeIndex(signedCell32(f, cell::UcsY), e.yMin, g);
            w_.frameSlot[std::size_t(i)] = uint32_t(gx) << 16 | uint32_t(gy);
            const uint32_t h = relief_ ? f.reliefHeight() : 0;
            const uint8_t marker = uint8_t(f.markerStatus());
            if (!open || (gx == px && gy == py)) {
                put(gx, gy, i, h, p, marker);
            } else {
                // The track from the previous node: the longer axis steps by
                // one node, the shorter by the slope.
                const int dx = gx - px, dy = gy - py;
                const int n = std::max(std::abs(dx), std::abs(dy));
                const double sx = double(dx) / n, sy = double(dy) / n;
                for (int k = 1; k <= n; ++k) {
                    const int nx = std::max(0, int(std::nearbyint(px + k * sx)));
                    const int ny = std::max(0, int(std::nearbyint(py + k * sy)));
                    const uint32_t hk =
                        relief_ ? uint32_t(divRound(int64_t(ph) * (n - k) + int64_t(h) * k, n)) : 0;
                    put(nx, ny, i, hk, p, k == n ? marker : 0);
                }
            }
            open = true;
            px = gx;
            py = gy;
            ph = h;
        }
    }

  private:
    void put(int gx, int gy, int frame, uint32_t h, uint16_t p, uint8_t marker) {
        NodeSource& n = w_.source[std::size_t(mapIndex(gx, gy))];
        n.frame = frame;
        n.height = h;
        n.profile = p;
        n.markers = uint8_t(n.markers | marker);
    }

    Workspace& w_;
    bool relief_;
};

// Writes the node records the frame pass chose, slab by slab.
bool writeFrameNodes(VolumeGrid& grid, const ProfileStore& s, const VolumeSettings& v, Workspace& w,
                     PassProgress& progress) {
    for (int gx = 0; gx < GRID_NODES; ++gx) {
        uint8_t* slab = grid.slab(gx);
        for (int gy = 0; gy < GRID_NODES; ++gy) {
            const NodeSource& n = w.source[std::size_t(mapIndex(gx, gy))];
            w.profileMap[std::size_t(mapIndex(gx, gy))] = n.profile;
            if (n.frame < 0) continue;
            const FrameRecord& f = s.frame(n.frame);
            const uint8_t* samples = f.value.data();
            if (v.reliefDisplay) {
                rescaleTrace(f.value.data(), v.windowFactor, w.trace.data());
                samples = w.trace.data();
            }
            uint8_t* cellOf = slab + gy;
            for (int c = 0; c < NODE_SAMPLES; ++c)
                cellOf[std::size_t(c) * GRID_STRIDE] = samples[c];
            const uint8_t status = uint8_t((f.status() & ~status::MarkerMask) | n.markers);
            cellOf[std::size_t(node::Status) * GRID_STRIDE] = status;
            cellOf[std::size_t(node::ProfileNumber) * GRID_STRIDE] = uint8_t(n.profile >> 8);
            cellOf[std::size_t(node::ProfileNumber + 1) * GRID_STRIDE] = uint8_t(n.profile);
            if (v.reliefDisplay) {
                for (int b = 0; b < 3; ++b)
                    cellOf[std::size_t(node::ReliefHeight + b) * GRID_STRIDE] =
                        uint8_t(n.height >> (16 - 8 * b));
            }
            for (int c = node::Boundary1; c < node::Boundary1 + node::BoundaryCells; ++c)
                cellOf[std::size_t(c) * GRID_STRIDE] = f.value[std::size_t(c)];
            for (int c = node::UcsX; c < node::UcsX + node::PositionCells; ++c)
                cellOf[std::size_t(c) * GRID_STRIDE] = f.value[std::size_t(c)];
        }
        if (progress.step(gx + 1, GRID_NODES)) return false;
    }
    return true;
}

} // namespace

VolumeSettings volumeSettingsFromStore(const ProfileStore& s, double windowFactor) {
    const auto& h = s.header.value;
    VolumeSettings v;
    v.method = std::clamp(int(h[hdr::VolumeInterp]), 0, items::VolumeInterp - 1);
    v.gapLimited = h[hdr::AmplitudeFlags] & hdr::ProcessAll;
    v.distanceItem = std::clamp(int(h[hdr::ProfileDistance]), 0, items::ProfileDistance - 1);
    v.maskedVector = (s.stateFlags & state::ViewMask) == 0x10;
    v.reliefDisplay = s.stateFlags & state::Relief;
    v.windowFactor = windowFactor;
    v.velocityCode = s.velocityCode;
    v.nsPerRow = items::NS_PER_SAMPLE[std::size_t(
        std::clamp(int(h[hdr::TimeRange]), 0, items::TimeRange - 1))];
    v.Hmax = s.Hmax;
    return v;
}

SurveyExtent surveyExtent(const ProfileStore& s) {
    SurveyExtent e;
    for (int i = 0; i <= s.frameCount; ++i) {
        const FrameRecord& f = s.frame(i);
        if (!f.inProfile()) continue;
        const int32_t x = signedCell32(f, cell::UcsX), y = signedCell32(f, cell::UcsY);
        if (!e.any) {
            e = SurveyExtent{true, x, x, y, y, i, i, i, i};
            continue;
        }
        if (x < e.xMin) e.xMin = x, e.frameXMin = i;
        if (x > e.xMax) e.xMax = x, e.frameXMax = i;
        if (y < e.yMin) e.yMin = y, e.frameYMin = i;
        if (y > e.yMax) e.yMax = y, e.frameYMax = i;
    }
    return e;
}

double nodeSpacing(const SurveyExtent& e) {
    if (!e.any) return 0;
    const double span = std::max(double(e.xMax) - double(e.xMin), double(e.yMax) - double(e.yMin));
    return span / GRID_NODES;
}

int gridStepFor(double s) {
    if (s <= 0 || s > 10000) return 0;
    for (int step : items::STEP_TABLE_CM)
        if (step > s) return step;
    return 0;
}

int gapLimit(const VolumeSettings& v, int stepCm) {
    if (!v.gapLimited || stepCm <= 0) return 256;
    const int item = std::clamp(v.distanceItem, 0, int(items::PROFILE_DISTANCE_CM.size()) - 1);
    return int(std::nearbyint(double(items::PROFILE_DISTANCE_CM[std::size_t(item)]) / stepCm)) + 1;
}

BuildResult GP_Volume(ProfileStore& s, VolumeGrid& grid, const VolumeSettings& v, Interaction& ui,
                      const AbortCheck& abort) {
    grid.allocate();
    Workspace& w = workspace();
    ui.passStarted(Interaction::Pass::Volume, "");
    PassProgress progress(ui, abort);
    struct Finish {
        Interaction& ui;
        ~Finish() { ui.passFinished(); }
    } finish{ui};

    grid.info = VolumeInfo{};
    for (int gx = 0; gx < GRID_NODES; ++gx) {
        grid.clearRow(gx);
        if (progress.step(gx + 1, GRID_NODES)) return BuildResult::Aborted;
    }

    const SurveyExtent e = surveyExtent(s);
    const int g = gridStepFor(nodeSpacing(e));
    if (g == 0) {
        ui.show(msg::volumeExtentError(e.frameXMax, e.frameXMin, e.frameYMax, e.frameYMin));
        return BuildResult::ExtentError;
    }

    FramePass(w, v.reliefDisplay).run(s, e, g);
    if (!writeFrameNodes(grid, s, v, w, progress)) return BuildResult::Aborted;

    // The fill passes cover the nodes that hold data. (The data always start
    // at node 0; the hemisphere only mirrors the views.)
    const int gxMax = nodeIndex(e.xMax, e.xMin, g);
    const int gyMax = nodeIndex(e.yMax, e.yMin, g);
    const Region region{0, gxMax, 0, gyMax};
    const int R = gapLimit(v, g);
    w.frameNodes.build(w.profileMap.data());
    bool done = true;
    if (v.maskedVector) {
        done =
            fillNearest(grid, region, R, NearestKind::MaskedVector, w.profileMap.data(), progress);
    } else {
        switch (v.method) {
        case fill_method::AlongX:
            done = fillAlongX(grid, region, R, v.reliefDisplay, w.frameNodes, progress);
            break;
        case fill_method::AlongY:
            done = fillAlongY(grid, region, R, v.reliefDisplay, w.frameNodes, progress);
            break;
        case fill_method::AlongXY:
            done = fillAlongX(grid, region, R, v.reliefDisplay, w.frameNodes, progress) &&
                   fillAlongY(grid, region, R, v.reliefDisplay, w.frameNodes, progress);
            break;
        case fill_method::Vector:
            done = fillNearest(grid, region, R, NearestKind::Vector, w.profileMap.data(), progress);
            break;
        default:
            done = fillNearest(grid, region, R, NearestKind::Ring, w.profileMap.data(), progress);
            break;
        }
    }
    if (!done) return BuildResult::Aborted;

    fillAxisCoordinates(grid);
    if (v.reliefDisplay && !shiftNodesForRelief(grid, v, progress)) return BuildResult::Aborted;

    // Complete: only now does the store learn where its frames lie.
    for (int i = 0; i <= s.frameCount; ++i) {
        const uint32_t slot = w.frameSlot[std::size_t(i)];
        if (slot == NO_SLOT) continue;
        FrameRecord& f = s.frame(i);
        f.set16(cell::VolumeSlot, slot >> 16);
        f.set16(cell::VolumeSlot + 2, slot & 0xFFFF);
    }
    s.stateFlags = uint16_t(s.stateFlags & ~state::VolumeStale);
    grid.info = VolumeInfo{true, g, e.xMin, e.yMin, gxMax, gyMax};
    return BuildResult::Built;
}

std::string volumeSummary(const VolumeGrid& grid) {
    const VolumeInfo& i = grid.info;
    if (!i.built) return "volume: not built";
    return "volume: step=" + std::to_string(i.stepCm) + " cm nodes=" + std::to_string(i.gxMax + 1) +
           " x " + std::to_string(i.gyMax + 1);
}

std::string nodeCellsHex(const VolumeGrid& grid, int gx, int gy) {
    if (!grid.allocated() || gx < 0 || gy < 0 || gx > LAST_GRID_NODE || gy > LAST_GRID_NODE)
        return "";
    std::string out;
    char b[8];
    for (int c = 0; c < CELLS_PER_FRAME; ++c) {
        if (c % 16 == 0) {
            std::snprintf(b, sizeof b, "%3d:", c);
            if (c) out += '\n';
            out += b;
        }
        std::snprintf(b, sizeof b, " %02X", grid.at(gx, c, gy));
        out += b;
    }
    out += '\n';
    return out;
}

} // namespace tesk
