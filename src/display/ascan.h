#pragma once
// The A-scan view: one trace drawn as a curve, amplitude code across (x =
// code, zero amplitude at x = 128) and time down (y = sample), with the
// zero-level / gain setting on the same axes, the row under the cursor, a
// legend of the current palette under the curve and the readouts of the
// cell under the cursor. Clicking into the picture sets the zero level, the
// gain levels and positions, or picks the cursor and grid colours from the
// legend.
//
// Picture (Image10), 256 x 533 pixels:
//
//   y = 0          grey edge
//   y = 0 .. 511   curve area: dotted black zero line at x = 128
//   y = 512        grey line
//   y = 513 .. 531 legend strip, one vertical line per code x = 0 .. 255
//   y = 532        grey line

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/palettes.h"
#include "display/view_state.h"
#include "store/profile_store.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tesk {

struct ReliefDisplay;

inline constexpr int ASCAN_WIDTH = 256;
inline constexpr int ASCAN_HEIGHT = 533;
inline constexpr int ASCAN_CURVE_ROWS = 512; // rows 0..511 hold the curve
inline constexpr int ASCAN_LEGEND_TOP = 513;
inline constexpr int ASCAN_LEGEND_BOTTOM = 531;

namespace ascan_colour {
inline constexpr uint32_t Frame = 0xF0CAA6;      // outline of the picture
inline constexpr uint32_t Background = 0xC8C8C8; // the system scroll-bar colour
inline constexpr uint32_t Edge = 0x777777;       // edge and legend lines
inline constexpr uint32_t StoredTrace = 0x666666;
inline constexpr uint32_t ProcessedTrace = 0x0000FF;
inline constexpr uint32_t ZeroLevelLine = 0xFF0000;
inline constexpr uint32_t GainLine = 0x000080;
} // namespace ascan_colour

// The trace under the cursor and what goes with it. The radargram view fills
// it from the store and the raster (radargramAScanTrace); the slice views
// from a column of their slice plane (sliceAScanTrace).
struct AScanTrace {
    // The processed codes as displayed, drawn in red from (startX, 0); a
    // code 0 (no data) is drawn at x = 128.
    std::array<uint8_t, SAMPLES_PER_FRAME> processed{};
    int startX = 128;
    // The cursor frame's samples as stored, drawn in grey from (127, 0);
    // absent in the slice views.
    std::optional<std::array<uint8_t, SAMPLES_PER_FRAME>> stored;
    // Relief display: the stored trace hangs `reliefShift` rows down (rows
    // above it at code 127, a code 0 drawn at 1) and row h is drawn at
    // y = Round(h / stretch).
    bool relief = false;
    int reliefShift = 0;
    double stretch = 1.0;
    // The row of the dotted line and of the readout cell: the cursor row, or
    // the time-section row in the slice views.
    int row = 0;
};

// The radargram's trace: frame viewStart + cursor column as stored and raster
// row cursor column + 20 of plane 0. In the relief display the stored trace
// takes the shift of the frame below `referenceHeight` (cm), as the raster
// rows do.
AScanTrace radargramAScanTrace(const ProfileStore& s, const DisplayRaster& raster,
                               const ViewState& v, const ReliefDisplay& relief,
                               uint32_t referenceHeight);

// A slice view's trace: raster row `rasterRow` (section position + 20) of
// `plane`, drawn from x = 64, with the time-section row `timeRow`.
AScanTrace sliceAScanTrace(const DisplayRaster& raster, int plane, int rasterRow, int timeRow);

// What the drawing hands to the panel: the readouts of the cell under the
// cursor (Panel51, Panel52) and the captions of the zero/gain buttons.
struct AScanReadouts {
    std::string panel51;
    std::string panel52;
    ZeroGainCaptions captions;
};

// Draws the A-scan picture into `image` (resized to 256 x 533, RGB32 when it
// is not 32-bit already) and returns the readouts.
AScanReadouts DrawAScan(QImage& image, const AScanTrace& trace, const DisplaySettings& s,
                        const Palettes& p, uint32_t gridColour);

// The readouts of one code: " Am ln = " (level-table value less the centre)
// and " Am lg = " (code - 128); " Am Ln " and " Am Lg " for no data.
void aScanReadouts(uint8_t code, const DisplaySettings& s, std::string& panel51,
                   std::string& panel52);

// --- clicks into the picture ---------------------------------------------------

struct AScanClick {
    Point at; // pixel of Image10
    MouseButton button = MouseButton::Left;
    NavKeys keys; // left Shift, left Ctrl
};

// The effect of a click: the settings after it (zero level, gain levels,
// positions and curve) and the colour picked from the legend, if any.
struct AScanClickEffect {
    DisplaySettings settings;
    std::optional<uint32_t> cursorColour;
    std::optional<uint32_t> gridColour;
};

// Image10MouseDown. A column value v is X (255 from X = 256 on); for levels
// a value 0 counts as 1. Left click in the legend (Y > 511): with left Shift
// the cursor colour, with left Ctrl the grid colour becomes the colour of the
// legend pixel under the pointer (read from `image`). Left click in the curve
// area: mode 0 sets ZeroLevel = v; the gain modes set GainLevel1 = v (with
// left Ctrl GainLevel2 too), GainPos1 = Y and GainPos2 = max(GainPos2, Y).
// Right click in the curve area: ZeroLevel = v, or GainLevel2 = v (with left
// Ctrl GainLevel1 too), GainPos2 = Y and GainPos1 = min(GainPos1, Y). The
// gain curve is rebuilt after a gain change.
AScanClickEffect aScanClick(const DisplaySettings& s, const QImage& image, const AScanClick& c);

// Takes the effect over: settings, picked colours, and the zero/gain cells
// 37..44 of the header.
void applyAScanClick(const AScanClickEffect& e, DisplaySettings& s, ViewState& v,
                     SurveyHeader& header);

} // namespace tesk
