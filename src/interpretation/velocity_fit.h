#pragma once
// Soil velocity measured on the radargram (the hodograph image Image9 over
// the picture). Four methods, chosen by ComboBox35:
//
//   0 hyperbola     the apex of a diffraction hyperbola (left click) and one
//                   point of its branch (right click);
//   1 hodograph     the travel-time curve of a reflecting boundary recorded
//                   with growing antenna separation (a common-midpoint
//                   gather: frame n of the gather has separation A + 2 step n):
//                   the boundary at the gather's first frame (left click, the
//                   measurement frame of the profile) and a point of its
//                   curve further on (right click); one curve per boundary;
//   2 tracking      one phase followed along the gather from the cursor,
//                   with a running velocity estimate;
//   3 scan          for every extremum of the gather's first trace, the
//                   velocity whose curve collects the most of that phase.
//
// Velocities are Vgr = velocityCode / 100 cm/ns, half the wave speed, so
// depth = Vgr x two-way time. Every measurement becomes the current soil
// velocity, the ComboBox10 item "Годограф" (VELOCITY_CODES entry 0) and the
// permittivity; the depth scales of the radargram follow it. The methods
// read the amplitudes as displayed: raster row 20 + view column of plane 0.
//
// Picks that measure nothing leave the velocity as it was: two equal picks,
// a branch point straight under the apex or above it, a hodograph point in
// the measurement frame itself or on a curve that falls with separation.

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/view_state.h"
#include "interpretation/overlay_drawing.h"
#include "interpretation/phase_snap.h"
#include "interpretation/point_table.h"
#include "interpretation/table_model.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <QImage>
#include <array>
#include <optional>
#include <vector>

namespace tesk {

enum class VelocityMethod { Hyperbola = 0, Hodograph = 1, Tracking = 2, Scan = 3 };
enum class ClickKind { None = 0, Left = 1, Right = 2 };

inline constexpr int MIN_HYPERBOLA_CODE = 160;
inline constexpr int MIN_HODOGRAPH_CODE = 167; // below it the hodograph stores 166
inline constexpr int MAX_VELOCITY_CODE = 1500;
inline constexpr int HODOGRAPHS = 8;

// --- formulas ------------------------------------------------------------------

// Hyperbola through the apex (time t0) and a branch point dx cm away (time
// t1): Vgr = dx / sqrt(t1^2 - t0^2). Returns the code limited to 160..1500;
// 1500 when both times are equal; nothing when dx is 0 or t1 < t0.
std::optional<int> hyperbolaVelocityCode(int dxCm, double t0Ns, double t1Ns);

// Velocity from two points of a travel-time curve recorded with separation
// X0 = A at the first point and X1 = A + 2 step frames at the second, times
// counted from each trace's air wave: T = X + 30 t, N = X0^2 - X1^2,
// D = T0^2 - T1^2, code = Round(1500 sqrt(N / D)) (not limited). When D is 0
// the curve is flat and `flatCode` is returned; nothing when N is 0 or N / D
// is negative (the curve falls as the antennas move apart).
std::optional<int> separationVelocityCode(int antennaCm, int stepCm, int frames, double t0Ns,
                                          double t1Ns, int flatCode);

// --- state -----------------------------------------------------------------------

struct Pick {
    int column = 0; // view column 0..511
    int row = 0;    // sample row 0..511
};

struct RememberedPicks {
    Pick first;
    Pick second;
    bool hasFirst = false; // picked since the start of the run
    bool hasSecond = false;
};

// Settings read from the window's controls at the moment of the event.
struct VelocitySettings {
    VelocityMethod method = VelocityMethod::Hyperbola; // ComboBox35
    double nsPerRow = 1.0;                             // ComboBox11
    int stepCm = 5;                                    // ComboBox12
    int antennaCm = 0;                                 // ComboBox13
    bool snap = false;                                 // CheckBox36
    Phase phase = Phase::Maximum;                      // ComboBox36
    bool multiples = false;                            // CheckBox32 "Кратник"
    char separator = '.';                              // decimal separator of the tables
};

// The profile-parameter scales of the header (time range, step, antenna).
VelocitySettings velocitySettingsFromHeader(const SurveyHeader& h);

// The interaction state of the velocity mode; lives for the run.
struct VelocitySession {
    VelocitySession();
    int hodograph = 1; // current hodograph 1..8 (StringGrid4 row)
    ClickKind click = ClickKind::None;
    Pick second; // last right click
    std::array<RememberedPicks, 10> remembered{};
    // StringGrid4: rows 1..8 are the hodographs, column 1 their velocity
    // (typed or measured), columns 2..5 layer velocity, depth, permittivity
    // and conductivity of the layer above the boundary.
    TableModel hodographTable{6, 9};
    // StringGrid5: for each boundary at the cursor frame its time and the
    // times of its first two multiples.
    TableModel echoTable{4, 9};
    // What the last run of a method drew on Image9.
    OverlayDrawing drawing;
};

// One extremum of the scan's first trace and the velocity that won there.
struct ScanResult {
    int row = 0;
    bool maximum = false;
    int velocityCode = 0; // Vgr x 100 of the winning curve
    double strength = 0;  // mean distance of the curve's codes from 128
};

// What a method found in its last run.
struct VelocityOutcome {
    bool measured = false; // a new velocity was written
    int velocityCode = 0;
    std::vector<ScanResult> scan; // method 3
};

// Everything a velocity event reads and writes.
struct VelocityContext {
    ProfileStore& store;
    const DisplayRaster& raster; // the radargram as last painted
    ViewState& view;             // the cursor is the first pick
    VelocitySession& session;
    PointTable& points; // column 1 shows the model at the cursor frame
    const VelocitySettings& settings;
    const LevelTableValues& levelTable; // LevelTable of the display, for the conductivity
    Interaction& ui;                    // progress of the scan
};

// --- events -------------------------------------------------------------------------

// Clears the drawing and runs the chosen method with the current picks and
// click kind (GODOGRAF). The drawing is left in session.drawing; paint it
// with paintOverlay.
VelocityOutcome GODOGRAF(VelocityContext& c);

// Image9MouseDown: a left click sets the cursor (first pick), a right click
// the second pick (methods 0, 1) or the cursor (method 2); method 3 takes no
// right click. Then GODOGRAF and click kind 0. A click off the picture is
// ignored (returns nothing); the caller redraws the radargram and the A-scan
// view after a click.
std::optional<VelocityOutcome> Image9MouseDown(VelocityContext& c, MouseButton button, Point at);

// The pointer moves over Image9 with no button held: methods 0 and 1 draw
// the curve that a right click at this point would give, without writing
// anything; the returned code is that velocity (nothing when the point
// measures nothing or the method draws no live curve).
std::optional<int> Image9MouseMove(VelocityContext& c, Point at);

// The velocity mode switched on (SpeedButton15 / SpeedButton16 down): the
// last measured velocity (ComboBox10 item 0) becomes the soil velocity; with
// method 1 the measurement frame among the 501 frames from the view start
// becomes the cursor frame and fills the hodograph column (all "0" without
// one); hodograph 1 is current; then UpdateLayerTable and GODOGRAF.
VelocityOutcome enterVelocityMode(VelocityContext& c);

// StringGrid4Click: hodograph `row` (1..8) becomes current, the cursor row
// becomes that boundary's row at the cursor frame (511 for row 8), then
// UpdateLayerTable and GODOGRAF with click kind 0.
VelocityOutcome StringGrid4Click(VelocityContext& c, int row);

// An edited hodograph velocity (StringGrid4 column 1, row 1..8): the text is
// written, then KeyUp4: UpdateLayerTable and GODOGRAF with click kind 0.
VelocityOutcome editHodographCell(VelocityContext& c, int row, std::string text);

// StringGrid4KeyPress: digits, backspace and Enter pass, "," and "." become
// the separator, every other key is dropped.
std::optional<char32_t> StringGrid4KeyPress(char32_t key, char separator);

// Label_GDRF caption for hodograph k.
std::string hodographCaption(int k, bool english);

// The measured velocity becomes the soil velocity: velocityCode,
// permittivity, ComboBox10 item 0 and header cell 21.
void commitVelocity(ProfileStore& s, int code);

// The frame of view column `column` (viewStart + column, within the slots).
int frameOfColumn(const ProfileStore& s, int column);

} // namespace tesk
