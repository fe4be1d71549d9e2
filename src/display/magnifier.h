#pragma once
// The magnifier: a small floating window (Panel9, caption "LUPA") showing
// the neighbourhood of the cursor enlarged by an integer factor 2..16, the
// cells in between filled by linear interpolation, first along the frames,
// then along the samples. The enlarged codes go into plane 7 of the display
// raster and are painted with the radargram's colour rules.
//
// Plane 7 is laid out like plane 0: one raster row per column of the
// enlarged picture (along the frames), one raster column per picture row
// (along the samples). Picture column col is painted into the two pixel
// columns 2 col and 2 col + 1, picture row row into pixel row row.

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/palettes.h"
#include "display/view_state.h"
#include "store/profile_store.h"

#include <QImage>
#include <cstdint>

namespace tesk {

inline constexpr int MAGNIFIER_PLANE = 7;
inline constexpr int MIN_ZOOM = 2;
inline constexpr int MAX_ZOOM = 16;
inline constexpr int MIN_MAGNIFIER_SIZE = 128;
inline constexpr int MAX_MAGNIFIER_SIZE = 512;
inline constexpr int MAGNIFIER_IMAGE_SIZE = 512; // Image19 is 512 x 512

namespace magnifier_colour {
inline constexpr uint32_t Outline = 0xFEFFFE;
inline constexpr uint32_t CaptionBrush = 0x008888;
inline constexpr uint32_t BlankBackground = 0xDDDDDD; // mark modes without "Фон"
inline constexpr uint32_t NoData = 0x000001;
} // namespace magnifier_colour

// Mouse states of the magnifier window.
namespace magnifier_mouse {
inline constexpr int Idle = 0;
inline constexpr int ZoomedIn = 1;
inline constexpr int RightPressed = 2;
inline constexpr int Resizing = 4;
} // namespace magnifier_mouse

// The magnifier's state for the run (nothing of it is saved).
struct Magnifier {
    int factor = MIN_ZOOM;           // F, 2..16
    int width = MIN_MAGNIFIER_SIZE;  // W, size of Panel9, 128..512
    int height = MIN_MAGNIFIER_SIZE; // H
    Point position{50, 50 + 384};    // Panel9's left and top: ViewOrigin + (0, 384)
    int mouseState = magnifier_mouse::Idle;
    Point resizeFrom;                     // pointer at the start of a resize
    int resizeWidth = MIN_MAGNIFIER_SIZE; // panel size at the start of a resize
    int resizeHeight = MIN_MAGNIFIER_SIZE;
};

// The magnifier's start state, placed below the top of the radargram.
Magnifier startMagnifier(Point viewOrigin);

// --- zoom and size rules ----------------------------------------------------------

int zoomIn(int factor);  // F + 1, at most 16
int zoomOut(int factor); // F - 1, at least 2
int clampMagnifierSize(int size);

// SpeedButton35Click: toggles bit 0x200 of stateFlags; returns whether the
// magnifier is now on. When on, the shell shows Panel9, clears Image19
// (clearMagnifierImage) and runs LUPA; when off it hides the panel.
bool toggleMagnifier(ProfileStore& s);
// Image19 cleared: transparent inside a black one-pixel edge.
void clearMagnifierImage(QImage& image);

// What a press on Image19 asks of the panel.
enum class MagnifierPress {
    Zoomed,    // the factor changed (or stood at its limit); redrawn on release
    Resize,    // a resize drag starts
    MovePanel, // hand the panel to the window manager's move
    None,      // nothing for the panel to do (redrawn on release)
};
// Image19MouseDown. Left with left Ctrl: zoom in, state 1. Left within 7
// pixels of the right or bottom edge: resize, state 4. Other left presses
// move the panel. Right: with left Ctrl zoom out; state 2.
MagnifierPress magnifierMouseDown(Magnifier& m, MouseButton button, NavKeys keys, Point at);

enum class MagnifierCursor { Drag, SizeWE, SizeNS, SizeDiagonal };
// The pointer shape over Image19: sizing shapes within 10 pixels of the
// right edge, the bottom edge, or both.
MagnifierCursor magnifierCursor(const Magnifier& m, Point at);

// Image19MouseMove: while resizing, the new size is the size at the start
// plus the pointer's travel, each side within 128..512. Returns whether the
// size was recomputed (the shell applies it to Panel9 and runs LUPA).
bool magnifierMouseMove(Magnifier& m, Point at);
// Image19MouseUp: the last resize step when resizing, then idle. The shell
// applies the size and runs LUPA.
void magnifierMouseUp(Magnifier& m, Point at);

// --- the picture ------------------------------------------------------------------

// The cells the window shows: `columns` view columns from `firstColumn` and
// `rows` samples from `firstRow`, centred on the cursor and kept inside the
// 512 x 512 view.
struct MagnifierWindow {
    int columns = 0;
    int rows = 0;
    int firstColumn = 0;
    int firstRow = 0;
};
MagnifierWindow magnifierWindow(const Magnifier& m, int cursorColumn, int cursorRow);

// Fills plane 7 with the window's cells of plane 0 enlarged F times along
// both axes, interpolating linearly (Round, ties to even). Returns the window.
MagnifierWindow enlargeIntoPlane7(DisplayRaster& raster, const Magnifier& m, const ViewState& v);

// Paints plane 7 into Image19 (the panel's W x H part of it) with the
// radargram's colour rules, then the outline and the caption " F ".
void paintMagnifier(QImage& image, const DisplayRaster& raster, const Magnifier& m,
                    const DisplaySettings& s, const Palettes& p);

// LUPA: plane 7, then the picture. `image` is made 512 x 512 ARGB when it
// is not.
void LUPA(QImage& image, DisplayRaster& raster, const Magnifier& m, const ViewState& v,
          const DisplaySettings& s, const Palettes& p);

} // namespace tesk
