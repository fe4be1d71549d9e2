// Mode 0x10: every profile drawn as a curtain of line segments along its
// track, one row of segments per time sample, from the processed copies of
// the frames kept in their work bytes; and the layer surfaces from the
// volume.

#include "volume/cube_modes.h"
#include "volume/messages.h"
#include "volume/rounding.h"
#include "volume/volume_passes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

constexpr int FIRST_ROW = DisplayRaster::FIRST_VIEW_ROW;
constexpr int BLOCK = 512;
constexpr int PROCESS_PLANE = 2;
constexpr uint8_t DISPLAY_FLAG = 0x10; // in the work byte of the status cell

int placeIndex(int32_t v, int32_t min, int step) {
    const double n = roundHalfEven((double(v) - double(min)) / step);
    return int(std::clamp(n, 0.0, double(LAST_GRID_NODE)));
}

} // namespace

Placement GP3_CORD(ProfileStore& s, Interaction& ui) {
    Placement out;
    bool inRun = false;
    for (int i = 0; i <= s.frameCount; ++i) {
        const bool in = s.frame(i).inProfile();
        if (in && !inRun)
            out.profileItems.push_back("  " + std::to_string(out.profileItems.size() + 1) +
                                       "  Profile");
        inRun = in;
    }
    const SurveyExtent e = surveyExtent(s);
    const double spacing = nodeSpacing(e);
    const int step = gridStepFor(spacing);
    if (step == 0) {
        ui.show(
            msg::placementExtentError(spacing, e.frameXMax, e.frameXMin, e.frameYMax, e.frameYMin));
        return out;
    }
    for (int i = 0; i <= s.frameCount; ++i) {
        FrameRecord& f = s.frame(i);
        if (!f.inProfile()) continue;
        f.set16(cell::VolumeSlot, uint32_t(placeIndex(int32_t(f.get32(cell::UcsX)), e.xMin, step)));
        f.set16(cell::VolumeSlot + 2,
                uint32_t(placeIndex(int32_t(f.get32(cell::UcsY)), e.yMin, step)));
    }
    out.placed = true;
    out.stepCm = step;
    return out;
}

bool GP3_FLTR(ProfileStore& s, DisplayRaster& r, const SliceProcessing& proc,
              const CubeRelief& relief, Interaction& ui, const AbortCheck& abort) {
    ui.passStarted(Interaction::Pass::Volume, "");
    struct Finish {
        Interaction& ui;
        ~Finish() { ui.passFinished(); }
    } finish{ui};
    std::array<uint8_t, SAMPLE_ROWS> rescaled{};
    const double cmPerRow = double(relief.velocityCode) * relief.nsPerRow * relief.windowFactor;
    const int blocks = (s.frameCount + 20) / BLOCK + 1;
    for (int b = 0; BLOCK * b - 20 <= s.frameCount; ++b) {
        for (int row = 0; row < DisplayRaster::FILTER_ROWS; ++row) {
            uint8_t* out = r.row(PROCESS_PLANE, row);
            std::memset(out, 0, DisplayRaster::COLUMNS);
            const int f = std::max(0, BLOCK * b - 20 + row);
            if (f > MAX_FRAME_INDEX || !s.frame(f).inProfile()) continue;
            const FrameRecord& frame = s.frame(f);
            if (!relief.on) {
                std::memcpy(out, frame.value.data(), SAMPLE_ROWS);
                continue;
            }
            // The relief display: the trace rescaled by the window factor
            // (from the stored samples, whether or not the volume was built)
            // and hung from Hmax.
            volume_detail::rescaleTrace(frame.value.data(), relief.windowFactor, rescaled.data());
            const double h = frame.reliefHeight();
            int shift = 0;
            if (cmPerRow > 0 && h <= relief.Hmax)
                shift = roundToInt((relief.Hmax - h) * 100.0 / cmPerRow);
            shift = std::clamp(shift, 0, SAMPLE_ROWS);
            std::memcpy(out + shift, rescaled.data(), std::size_t(SAMPLE_ROWS - shift));
        }
        GPLOS_Filtr(r, PROCESS_PLANE, proc);
        for (int j = 0; j < BLOCK; ++j) {
            const int f = BLOCK * b + j;
            if (f > MAX_FRAME_INDEX) break;
            std::memcpy(s.frame(f).work.data(), r.row(PROCESS_PLANE, FIRST_ROW + j), SAMPLE_ROWS);
        }
        ui.progress(b + 1, blocks);
        if (abort && abort()) return false;
    }
    return true;
}

void GP3_PROF(ProfileStore& s, const std::vector<bool>& profileChecked) {
    int profile = 0;
    bool inRun = false;
    for (int i = 0; i <= s.frameCount; ++i) {
        FrameRecord& f = s.frame(i);
        const bool in = f.inProfile();
        if (in && !inRun) ++profile;
        inRun = in;
        const bool shown = in && profile - 1 < int(profileChecked.size()) &&
                           profileChecked[std::size_t(profile - 1)];
        setBit(f.work[cell::Status], DISPLAY_FLAG, shown);
    }
}

int profilePreviewStride(const ProfileStore& store, const CubeWindows& w, int64_t segments) {
    int64_t frames = 0;
    for (int i = 0; i <= store.frameCount; ++i)
        frames += (store.frame(i).work[cell::Status] & DISPLAY_FLAG) != 0;
    const int T1 = std::clamp(w.T1, 0, 511), T2 = std::clamp(w.T2, 0, 511);
    const int64_t whole = frames * std::max(0, T2 - T1 + 1);
    if (segments <= 0 || whole <= segments) return 1;
    return int(std::min<int64_t>((whole + segments - 1) / segments, SAMPLES_PER_FRAME));
}

void GP3_KUB(PrimitiveSink& s, const ProfileStore& store, const VolumeGrid& g, const CubeWindows& w,
             const CubeDecorations& d, const ProfileSceneSettings& o, const Palettes& palettes) {
    if (d.edges) addCubeEdges(s);
    if (d.cursor) addCursorLines(s, d, false);

    // The frames drawn and their place across the cube, once for all times.
    struct Place {
        float x, z;
    };
    std::vector<int> drawn;
    std::vector<Place> place;
    for (int i = 0; i <= store.frameCount; ++i) {
        const FrameRecord& f = store.frame(i);
        if (!(f.work[cell::Status] & DISPLAY_FLAG)) {
            drawn.push_back(-1);
            continue;
        }
        drawn.push_back(int(place.size()));
        place.push_back(
            {float(cubeX(f.get16(cell::VolumeSlot))), float(cubeZ(f.get16(cell::VolumeSlot + 2)))});
    }
    auto colourOf = [&](uint8_t v, uint8_t next) {
        if (o.derivative) {
            if (v == next) return palettes.GreyPalette[v];
            return v < next ? palettes.VolumePalette[v] : palettes.VolumePaletteMarked[v];
        }
        return o.chosenAmplitude ? palettes.VolumePaletteMarked[v] : palettes.VolumePalette[v];
    };
    s.begin(PrimitiveKind::Lines, 1, true);
    const int T1 = std::clamp(w.T1, 0, 511), T2 = std::clamp(w.T2, 0, 511);
    for (int t = T1; t <= T2; t += std::max(1, o.timeStride)) {
        const float y = float(cubeY(t));
        bool havePrevious = false;
        Vertex previous{};
        for (int i = 0; i <= store.frameCount; ++i) {
            const int k = drawn[std::size_t(i)];
            const uint8_t v = store.frame(i).work[std::size_t(t)];
            if (k < 0 || !w.passes(v)) {
                havePrevious = false;
                continue;
            }
            const uint8_t next = store.frame(i).work[std::size_t(t + 1)];
            const Vertex here{place[std::size_t(k)].x, y, place[std::size_t(k)].z,
                              vertexColour(colourOf(v, next))};
            if (havePrevious) {
                s.vertex(previous);
                s.vertex(here);
            }
            previous = here;
            havePrevious = true;
        }
    }
    s.end();

    if (o.layers && g.allocated()) {
        // The chosen boundary's surface, grey by depth: 1 - ((b div 2) mod 256) / K.
        // K = 0 would divide by zero; it counts as 1, the darkest shading.
        const int boundary = std::clamp(o.boundary, 1, 7);
        const int c = node::Boundary1 + 2 * (boundary - 1);
        const double K = o.K > 0 ? o.K : 1;
        s.begin(PrimitiveKind::Lines, float(o.M / 4 + 1), true);
        for (int gy = 0; gy < GRID_NODES; ++gy) {
            bool havePrevious = false;
            Vertex previous{};
            for (int gx = 0; gx < GRID_NODES; ++gx) {
                const uint32_t b = g.get16(gx, c, gy);
                if (b == 0) {
                    havePrevious = false;
                    continue;
                }
                const double grey = 1.0 - double((b / 2) % 256) / K;
                const Vertex here{float(cubeX(gx)), float(1.0 - b / 256.0), float(cubeZ(gy)),
                                  vertexColour(grey, grey, grey)};
                if (havePrevious) {
                    s.vertex(previous);
                    s.vertex(here);
                }
                previous = here;
                havePrevious = true;
            }
        }
        s.end();
    }
    if (d.corners) addCornerMarks(s);
}

} // namespace tesk
