#pragma once
// Building the volume from the profiles of the survey (GP_Volume): the grid
// chosen from the extent of the rectangular coordinates, every frame written
// into the node under it with the track between consecutive frames
// rasterised, the nodes between the tracks filled by one of five methods, the
// axis coordinates and, in the relief display, the traces hung from the
// reference height.
//
// The build reads the store and writes only the grid until it has finished;
// then it writes every in-profile frame's volumeSlot and clears the
// volume-stale bit. An aborted or refused build leaves the store exactly as
// it was (the volume stays stale, so the next view command builds again).

#include "store/interaction.h"
#include "store/profile_store.h"
#include "volume/volume_grid.h"

#include <cstdint>
#include <functional>

namespace tesk {

// Items of ComboBox51, stored in header cell 49.
namespace fill_method {
inline constexpr int AlongX = 0;  // "Линейный  Хp"
inline constexpr int AlongY = 1;  // "Линейный  Yp"
inline constexpr int AlongXY = 2; // "Линейный  X+Yp"
inline constexpr int Vector = 3;  // "По вектору V"
inline constexpr int Ring = 4;    // "По радиусу R"
} // namespace fill_method

// Everything a build reads besides the frames.
struct VolumeSettings {
    int method = fill_method::AlongXY; // ComboBox51 item
    bool gapLimited = false;    // CheckBox52 checked: "Обработать до Профиля"
    int distanceItem = 8;       // ComboBox52 item, index into items::PROFILE_DISTANCE_CM
    bool maskedVector = false;  // view 0x10 (profile in 3D) uses the masked vector method
    bool reliefDisplay = false; // stateFlags bit 0x100
    double windowFactor = 1.0;  // ComboBox14: 0.5 .. 2.0
    int velocityCode = 500;     // velocity of ComboBox10, cm/ns x 100
    double nsPerRow = 1.0;      // ComboBox11: nanoseconds per sample
    uint32_t Hmax = 0;          // reference height of the relief display, cm
};

// The settings kept in the store (method, gap limit, distance, relief bit,
// velocity, time range, Hmax, and view 0x10 from the view byte); the window
// factor of ComboBox14 lives only in the window and is passed in.
VolumeSettings volumeSettingsFromStore(const ProfileStore& s, double windowFactor);

// The extent of the in-profile frames' rectangular coordinates and the
// frames where each extreme first occurs.
struct SurveyExtent {
    bool any = false; // at least one in-profile frame
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int frameXMin = 0, frameXMax = 0, frameYMin = 0, frameYMax = 0;
};
SurveyExtent surveyExtent(const ProfileStore& s);

// cm per node, max(Xmax - Xmin, Ymax - Ymin) / 512; 0 without frames.
double nodeSpacing(const SurveyExtent& e);
// The first grid step greater than s, or 0 when s is 0 or above 10000 cm
// (the extent error).
int gridStepFor(double s);
// The gap limit R in nodes: 256 without CheckBox52, else Round(D / g) + 1.
int gapLimit(const VolumeSettings& v, int stepCm);

// Polled between rows of every pass; true abandons the build (Escape).
using AbortCheck = std::function<bool()>;

enum class BuildResult {
    Built,       // the grid holds the volume; volumeSlot written, stale bit cleared
    ExtentError, // the message was shown; the grid is cleared, the store untouched
    Aborted,     // Escape: the grid is partly filled, the store untouched
};

// GP_Volume. Allocates the grid at the first call. Progress goes to
// ui.progress between rows (ui.passStarted(Pass::Volume) first,
// ui.passFinished() at the end, on every outcome); `abort` is polled right
// after each progress call.
BuildResult GP_Volume(ProfileStore& s, VolumeGrid& grid, const VolumeSettings& v, Interaction& ui,
                      const AbortCheck& abort = {});

// --- recipe output ------------------------------------------------------------

// "volume: step=G cm nodes=NX x NY" with NX = gxMax + 1, NY = gyMax + 1.
std::string volumeSummary(const VolumeGrid& grid);
// The 624 cells of node (gx, gy) as two-digit upper-case hex, 16 per line,
// each line starting with its first cell number ("  0: 80 81 ...").
std::string nodeCellsHex(const VolumeGrid& grid, int gx, int gy);

} // namespace tesk
