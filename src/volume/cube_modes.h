#pragma once
// The data of the three cube modes: what each prepares (the carpet plane,
// the section images, the placed and processed frames) and the scene each
// renderer draws from it (GP2_KUB, GP4_KUB, GP3_KUB) after the camera
// prologue.

#include "display/display_raster.h"
#include "display/palettes.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "volume/cube_scene.h"
#include "volume/plane_slices.h"
#include "volume/volume_build.h"
#include "volume/volume_grid.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tesk {

// View bytes of the cube modes.
namespace cube_view {
inline constexpr int Profiles = 0x10; // SpeedButton8 "Профиль в 3D"
inline constexpr int Carpet = 0x20; // SpeedButton12 "Псевдо-амплитудный разрез по профилям"
inline constexpr int Sections = 0x40; // SpeedButton9 "3D разрез профилей"
} // namespace cube_view

// The mouse turns the cube only while a cube mode is shown.
inline bool cubeMouseActive(uint16_t stateFlags) {
    return stateFlags & 0xF0;
}

// stateFlags after entering a view: bits 0xF100 kept (0xD100 for 0x10) and
// the view byte.
uint16_t enterViewFlags(uint16_t stateFlags, int view);

// --- mode 0x20: the carpet -------------------------------------------------------

// GP2_FLTR: raster plane 4, row 20 + gx, column gy, takes plane H of node
// (gx, gy) (rows 0..19 and 532..551 zero), then the processing chain.
void GP2_FLTR(DisplayRaster& r, const VolumeGrid& g, int H, const SliceProcessing& proc);

// GP2_KUB after the prologue: edges, the carpet (width 7: node (gx, gy) of
// code v at (gx / 256 - 1, v D / 32768, 1 - gy / 256) in ViewPalette[v];
// segments along gy for every gx, then along gx for every gy, wherever both
// ends hold data), the cursor profiles (grey line strips along gy at gx =
// X0 and along gx at gy = Y0, raised by 0.05) and the corner marks.
void GP2_KUB(PrimitiveSink& s, const DisplayRaster& r, int D, const CubeDecorations& d,
             const SectionParameters& p, const Palettes& palettes);

// --- mode 0x40: sections ---------------------------------------------------------

struct SectionEntry {
    uint16_t type = 0; // 0x10 X-Y plane, 0x20 T-X plane, 0x40 T-Y plane
    uint16_t A = 0, B = 0, C = 0;
};
inline constexpr int SECTION_TABLE_SIZE = 16;
inline constexpr int MAX_SECTIONS = 15;

// SectionTable and the list CheckListBox2 over it: item k is entry k.
struct SectionList {
    SectionList();
    std::array<SectionEntry, SECTION_TABLE_SIZE> table{};
    std::vector<std::string> items; // captions
    std::vector<bool> checked;
    int selected = 0;
    int buildIndex = 0; // SectionBuildIndex
    // Height of CheckListBox2, pixels.
    int listHeight() const { return 13 * int(items.size()) + 8; }
};

// SpeedButton_ADD_CUTClick. Returns the entries whose images must be
// rebuilt (GP4_FLTR), in order; the caller then draws (GP4_KUB).
std::vector<int> addOrDeleteSection(SectionList& l, int planeKind /* RadioGroup1 item */,
                                    bool leftCtrl);

// The images of the sections, 512 x 512 each: row j, column i, zero at
// start. (Kept here rather than in the frames' work bytes, which other
// commands overwrite.)
class SectionImages {
  public:
    SectionImages();
    uint8_t* image(int k);
    const uint8_t* image(int k) const;

  private:
    std::unique_ptr<uint8_t[]> bytes_;
};

// The position of image cell (i, j) of a section: Round(A - i (A - B) / 512
// - j (A - C) / 512), to even, limited to 0..511.
int sectionPosition(const SectionEntry& e, int i, int j);

// GP4_FLTR for entry k: the section cut from the volume into raster plane 2
// (rows 0..19 and 532..551 cleared), processed, and kept as image k.
void GP4_FLTR(SectionImages& images, int k, const SectionEntry& e, DisplayRaster& r,
              const VolumeGrid& g, const SliceProcessing& proc);

// GP4_KUB after the prologue: edges, shaded cursor, one smooth point batch
// (size 2) of every checked section's cells that pass the time and
// amplitude windows, in ViewPalette, then the corner marks.
void GP4_KUB(PrimitiveSink& s, const SectionList& l, const SectionImages& images,
             const CubeWindows& w, const CubeDecorations& d, const Palettes& palettes);

// --- mode 0x10: profiles in 3D ---------------------------------------------------

// GP3_CORD: every in-profile frame placed in the grid (volumeSlot) from the
// extent of the coordinates, and the profile list "  n  Profile". On an
// extent error the message is shown and the frames keep their placement.
struct Placement {
    bool placed = false;
    int stepCm = 0;
    std::vector<std::string> profileItems; // CheckListBox1, all checked
};
Placement GP3_CORD(ProfileStore& s, Interaction& ui);

// The relief display's parameters of the processed copies.
struct CubeRelief {
    bool on = false;
    double windowFactor = 1.0; // ComboBox14
    int velocityCode = 500;    // ComboBox10
    double nsPerRow = 1.0;     // ComboBox11
    uint32_t Hmax = 0;
};

// GP3_FLTR: the processed copy of every frame (the processing chain over
// blocks of 512 frames in raster plane 2) into its work bytes 0..527; gap
// frames get zeros. In the relief display each trace is first rescaled by
// the window factor and hung from Hmax. Returns false when abandoned
// (Escape); blocks not reached keep their old copies.
bool GP3_FLTR(ProfileStore& s, DisplayRaster& r, const SliceProcessing& proc,
              const CubeRelief& relief, Interaction& ui, const AbortCheck& abort = {});

// GP3_PROF: the display flag (bit 0x10 of the status cell's work byte) set
// on the frames of the profiles checked in CheckListBox1, cleared elsewhere.
void GP3_PROF(ProfileStore& s, const std::vector<bool>& profileChecked);

struct ProfileSceneSettings {
    bool derivative = false;      // ComboBox18 on the derivative form
    bool chosenAmplitude = false; // CheckBox23
    bool layers = true;           // CheckBox66 "Слои"
    int boundary = 1;             // RadioGroup2 item + 1
    int K = 256;                  // TrackBar18
    int M = 16;                   // TrackBar4: the layer line width Trunc(M / 4) + 1
    // Every timeStride-th time sample from T1 on (1: all of them); a quick
    // picture while the cube is turned with the mouse.
    int timeStride = 1;
};

// The time stride that keeps a picture of the profiles in 3D near
// `segments` segments at most: the frames with the display flag times the
// time samples T1..T2, divided by `segments` and rounded up; at least 1.
int profilePreviewStride(const ProfileStore& store, const CubeWindows& w, int64_t segments);

// GP3_KUB after the prologue: edges, white cursor, the curtains (smooth
// lines of width 1 between consecutive drawn frames at every time T1..T2),
// the layer surface of the chosen boundary from the volume, corner marks.
void GP3_KUB(PrimitiveSink& s, const ProfileStore& store, const VolumeGrid& g, const CubeWindows& w,
             const CubeDecorations& d, const ProfileSceneSettings& o, const Palettes& palettes);

} // namespace tesk
