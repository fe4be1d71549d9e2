#pragma once
// Layer boundaries 1..7 traced under every frame: kept on a chosen phase of
// the reflection (snapping), kept apart from each other (ordering), drawn on
// the boundary overlay Image8, drawn and erased with the pencil, smoothed
// along the survey and deleted. The current layer is the item of ComboBox31:
// 0 no boundary work, 1..7 boundary k, 8 layer 8 (no boundary of its own; the
// boundary operations leave the frames alone).

#include "display/display_raster.h"
#include "display/view_state.h"
#include "interpretation/layer_cells.h"
#include "interpretation/overlay_drawing.h"
#include "interpretation/phase_snap.h"
#include "interpretation/point_table.h"
#include "interpretation/velocity_fit.h"
#include "store/interaction.h"
#include "store/profile_store.h"

namespace tesk {

struct BoundarySettings {
    int layer = 0;                // ComboBox31 item 0..8
    bool snap = false;            // CheckBox36 "Авто"
    Phase phase = Phase::Maximum; // ComboBox36
    ReliefShift relief;           // the relief display, when on
};

// Whether the layer item selects a boundary the operations may write.
inline bool isBoundaryLayer(int layer) {
    return layer >= 1 && layer <= BOUNDARIES;
}

// The colour boxes and sample panels of the current layer (ComboBox31Change):
// ComboBox32 red, ComboBox33 green, ComboBox34 blue, Panel_242 and Panel241
// the colour (0 = the scroll-bar colour of the system), Panel241's font
// 0x88FFFF on a dark green, else 0x000044.
struct LayerSwatch {
    int red = 0, green = 0, blue = 0;
    uint32_t colour = 0; // 0x00BBGGRR
    uint32_t fontColour = 0;
};
LayerSwatch layerSwatch(const SurveyHeader& h, int layer);

// The ordering rule for boundary k of one frame: it moves to lie at least
// |k - j| rows below every present boundary j < k (the deepest such demand
// wins) and, overriding that, at least |j - k| rows above the first present
// boundary j > k that it comes too close to. Absent boundaries (row 0) stay
// absent; only boundary k moves.
void orderBoundary(BoundaryRows& rows, int k);

// ShowBoundaries: in the 512 frames of the view, snaps boundary k of the
// in-profile frames to its phase (when snapping is on; the raster is the
// radargram as last painted), orders it in every frame, and returns the
// boundary overlay: an outline of the image, then boundaries 1..7 as 2-pixel
// polylines through the frames that carry them, the current one in
// 0xFFFFF8, the others in their layer colours; a row below 510 is drawn at
// 510 without a line leading to it. With a window factor other than 1 in the
// relief display the rows are only drawn (the trace is resampled there and
// a snapped row would not come back to the stored one).
OverlayDrawing ShowBoundaries(ProfileStore& s, const DisplayRaster& raster,
                              const BoundarySettings& b);

// Snaps boundary k in frames first..last (in-profile frames with the
// boundary) to its phase on the stored samples: tracking a boundary along a
// whole survey without walking it view by view.
void snapBoundaryInFrames(ProfileStore& s, int k, int first, int last, Phase phase);

// --- pencil -----------------------------------------------------------------------

enum class PencilState { Idle = 0, Drawing = 1, Erasing = 2 };

struct Pencil {
    PencilState state = PencilState::Idle;
    Point last; // Image8 pixel of the last point
};

// Modifier keys of the smoothing and deletion, read as the event happens.
struct BoundaryKeys {
    bool leftCtrl = false;  // delete all boundaries
    bool leftShift = false; // delete the current boundary
    bool rightCtrl = false; // gentler smoothing
};

// What GSRSL did; the window gives Panel_2 the focus unless it was declined.
enum class GsrslResult { Nothing, Declined, Deleted, Smoothed };

// Image8MouseDown: left button draws, right button erases, from (x, y).
void Image8MouseDown(Pencil& p, MouseButton button, Point at);
// Image8MouseMove: x limited to 0..1022 and y to 0..510; while drawing or
// erasing, the frames from the pointer back to the last point get boundary k
// by linear interpolation of the rows (0 when erasing).
void Image8MouseMove(Pencil& p, ProfileStore& s, int layer, Point at);
// Image8MouseUp: the frame under the pointer gets boundary k = y (left
// button) or 0, the pencil goes idle, then GSRSL. The caller then shows the
// layers or boundaries, the boreholes and the overlay.
GsrslResult Image8MouseUp(Pencil& p, ProfileStore& s, PointTable& table, int layer,
                          MouseButton button, Point at, BoundaryKeys keys, Interaction& ui,
                          double nsPerRow);
// Image1MouseUp while Image8 is enabled: the pencil goes idle.
inline void releasePencil(Pencil& p) {
    p.state = PencilState::Idle;
}

// GSRSL ("Sm", Panel_242Click, Label29Click, and the pencil's release): with
// the left Ctrl key asks to delete every boundary, with the left Shift key to
// delete the current one (both questions in turn when both are held; a No
// ends the routine), otherwise smooths boundary k along the survey; then
// refreshes every point of the velocity and depth table.
GsrslResult GSRSL(ProfileStore& s, PointTable& table, int layer, BoundaryKeys keys, Interaction& ui,
                  double nsPerRow);

// The smoothing of boundary k over frames 1 .. frameCount - 100, in place:
// a present row becomes the mean of itself and its neighbours (with the
// right Ctrl key: the mean of itself and the mean of its neighbours), a gap
// of up to seven frames after a present row is closed by interpolation.
void smoothBoundary(ProfileStore& s, int k, bool rightCtrl);

} // namespace tesk
