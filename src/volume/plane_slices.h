#pragma once
// The plane-slice screen (view byte 8): the X-Y plane at a time, the T-X
// section along X at a Y, the T-Y section along Y at an X, each 512 x 512.
// The slices are cut from the volume into the display raster (plane 2 the
// X-Y plane, planes 3 and 4 the sections, planes 5 and 6 the X-Y plane's
// neighbouring time planes), processed with the radargram's filters and
// zero/gain stage and painted with its colour rules.
//
// Raster layout of a slice: row 20 + n holds node n along the slice's first
// axis (gx for the X-Y plane and the T-X section, gy for the T-Y section);
// rows 0..19 repeat node 0 and rows 532..551 node 511, as filter context.
// Column k is gy in the X-Y plane and the time plane t in the sections;
// columns 512..527 repeat column 511.

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/filters.h"
#include "display/palettes.h"
#include "display/view_state.h"
#include "volume/volume_grid.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tesk {

inline constexpr int SLICE_SIZE = 512;

// Section parameters, each limited to 0..511. X: the T-Y section's position
// (X0 at gy = 0, X1 at the far Y edge, X2 and X3 its drift with depth at
// the top and bottom). T: the X-Y plane's time (T0 at node (0, 0), T1 at the
// far X edge, T2 / T3 the slope along Y). Y: the T-X section's position (Y0
// at gx = 0, Y1 at the far X edge, Y2 / Y3 the drift with depth).
struct SectionParameters {
    std::array<int32_t, 4> X{}, T{}, Y{};
    // Every group back to its primary value (untilted sections).
    void untilt();
};

// ComboBox54 items, header cell 51.
namespace section_layout {
inline constexpr int T = 0;   // " Cечение T": Image2
inline constexpr int TX = 1;  // " Cечение T  X ": Image2, Image3 = T-X
inline constexpr int TY = 2;  // " Сечение T  Y": Image2, Image3 = T-Y
inline constexpr int TXY = 3; // " Сечение T  X  Y": Image2, Image3 = T-X, Image4 = T-Y
} // namespace section_layout

// Which images a layout shows.
struct LayoutImages {
    bool image3 = false, image4 = false;
};
LayoutImages layoutImages(int layout);

// What the processing of a slice reads: the filter rows, the amplitude
// settings (level table, zero/gain, form and colour mode) and the palettes.
struct SliceProcessing {
    FilterRow filter1, filter2;
    const DisplaySettings* settings = nullptr;
};

// The colour modes that compare a cell with its neighbours in time: the
// derivative form or the mark modes 6 and 7.
bool sliceNeighbourMode(const DisplaySettings& s);

// --- extraction (GPLOS_22 ... GPLOS_43) -----------------------------------------------

// The time plane of the X-Y plane at node (gx, gy): the running value T0 +
// gx (T1 - T0) / 512 + gy (T3 - T2) / 512, limited to 0..511 at every step,
// truncated.
int xyPlaneIndex(const SectionParameters& p, int gx, int gy);
// The node across the T-X section at (gx, t): gy from Y; and the node across
// the T-Y section at (gy, t): gx from X; same running rule.
int txSectionNode(const SectionParameters& p, int gx, int t);
int tySectionNode(const SectionParameters& p, int gy, int t);

// The X-Y plane into raster plane 2 (and, in the neighbour modes, the next
// and previous volume planes into planes 5 and 6), then processed.
void extractXY(DisplayRaster& r, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc);
// The T-X or T-Y section into raster plane `plane` (3 or 4), then processed.
void extractTX(DisplayRaster& r, int plane, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc);
void extractTY(DisplayRaster& r, int plane, const VolumeGrid& g, const SectionParameters& p,
               const SliceProcessing& proc);

// The time plane a raster cell (node n along the slice, column k) was cut
// from, for slices whose columns are not time.
using TimePlaneOf = std::function<int(int n, int k)>;

// GPLOS_Filtr: filter 1 and filter 2 when active, then the zero/gain stage
// when its settings call for it, on raster plane `plane`. The gain curve
// runs along time: where the columns are not time (the X-Y plane), each
// cell takes the gain of the time plane `timePlane` names.
void GPLOS_Filtr(DisplayRaster& r, int plane, const SliceProcessing& proc,
                 const TimePlaneOf& timePlane = {});

// --- the screen's work steps -------------------------------------------------------------

// Steps of a slice screen update, combined as bits.
namespace slice_step {
inline constexpr unsigned XY = 1;      // X-Y plane into raster plane 2 (GPLOS_22)
inline constexpr unsigned TXIn3 = 2;   // T-X section into plane 3 (GPLOS_33)
inline constexpr unsigned TYIn3 = 4;   // T-Y section into plane 3 (GPLOS_34)
inline constexpr unsigned TYIn4 = 8;   // T-Y section into plane 4 (GPLOS_44)
inline constexpr unsigned Image2 = 16; // paint Image2 from plane 2 (GPLOS_Img2)
inline constexpr unsigned Image3 = 32; // paint Image3 from plane 3
inline constexpr unsigned Image4 = 64; // paint Image4 from plane 4
} // namespace slice_step

// The steps of entering the screen or changing the layout; with the A-scan
// panel on (CheckBox4) layout 0 also cuts the T-X section for its trace.
unsigned layoutSteps(int layout, bool functionPanel);

// The three 512 x 512 images of the screen (RGB32).
struct SliceImages {
    SliceImages();
    QImage image2, image3, image4;
};

// Runs the steps: extraction and processing in the order XY, T-X, T-Y, then
// the painting.
void runSliceSteps(unsigned steps, DisplayRaster& r, SliceImages& images, const VolumeGrid& g,
                   const SectionParameters& p, const SliceProcessing& proc,
                   const Palettes& palettes);

// GPLOS_Img2: raster plane 2 painted into image (512 x 512): pixel (x, y)
// shows node (gx = x, gy = 511 - y). Colours follow the radargram's rules;
// the derivative form compares a cell with the next time plane (plane 5),
// the mark modes with the next and previous ones (planes 5 and 6).
void paintXYPlane(QImage& image, const DisplayRaster& r, const SectionParameters& p,
                  const DisplaySettings& s, const Palettes& palettes);
// GPLOS_Img3 / GPLOS_Img4: a section plane painted like a radargram with
// one pixel column per node: pixel (x, y) shows raster row 20 + x, column y.
void paintSection(QImage& image, const DisplayRaster& r, int plane, const DisplaySettings& s,
                  const Palettes& palettes);

// --- picking, markers, readouts ----------------------------------------------------------

enum class SliceImage { Image2, Image3, Image4 };
struct SliceKeys {
    bool leftShift = false;
    bool leftCtrl = false;
};

// A click at pixel (x, y) of an image sets section parameters and returns
// the steps that bring the other views up to date.
unsigned pickSection(SectionParameters& p, SliceImage image, int layout, int x, int y,
                     MouseButton button, SliceKeys keys, bool functionPanel);

// The twelve section markers (ShapeX1 .. ShapeX4, ShapeY1 .. ShapeY4,
// ShapeT1 .. ShapeT4), 10 x 10 pixels, relative to the screen origin.
enum class SectionMarker { X1, X2, X3, X4, Y1, Y2, Y3, Y4, T1, T2, T3, T4 };
inline constexpr int SECTION_MARKERS = 12;
struct MarkerPlace {
    bool shown = false;
    int left = 0, top = 0;
};
// Shape_RIS: the markers shown in a layout and their places.
std::array<MarkerPlace, SECTION_MARKERS> Shape_RIS(const SectionParameters& p, int layout, int x0,
                                                   int y0);
// Dragging a marker by (dx, dy) pixels: plain moves its whole group, left
// Shift the pair of ends it belongs to (0-1 or 2-3), left Ctrl its own
// value alone; every value limited to 0..511.
void dragMarker(SectionParameters& p, SectionMarker m, int dx, int dy, SliceKeys keys);

// Depth in cm of a time t (ns) by the radargram's conversion.
int depthForTime(double t, int velocityCode, int antennaCm, bool zeroLine);

// The readouts of the window caption while the pointer is over an image.
struct SliceReadoutSettings {
    std::string prefix;      // "Tesk  " + the two title strings of the window
    bool geographic = false; // CheckBox74
    double nsPerRow = 1.0;   // r, the time-range factor
    int velocityCode = 500;
    int antennaCm = 100;
    bool zeroLine = false; // CheckBox2
    bool reliefDisplay = false;
    uint32_t Hmax = 0;
};
std::string sliceCaption(const VolumeGrid& g, const SectionParameters& p, SliceImage image,
                         int layout, int x, int y, const SliceReadoutSettings& s);

// The A-scan panel in the slice view: the section plane's column at the
// section position (row 20 + Y0 in layout 2, else 20 + X0 of raster plane
// 3), the time-section row T0 and the code at the crossing.
struct SliceTrace {
    std::array<uint8_t, SLICE_SIZE> codes{};
    int cursorRow = 0;
    uint8_t crossing = 0;
};
SliceTrace sliceTrace(const DisplayRaster& r, int layout, const SectionParameters& p);

} // namespace tesk
