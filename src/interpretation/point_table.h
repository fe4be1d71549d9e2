#pragma once
// The velocity and depth table (StringGrid1 on Panel_TVSL): column 1 shows
// the layered model at the cursor frame, columns 2..64 are measurement
// points 1..63 (boreholes or velocity measurements), each bound to a frame.
// Rows: 1 name, 2 frame, 3..10 hodograph velocities Vh_1..8 (Vgr), 11..18
// layer velocities Vs_1..8, 19..26 depths D_1..8 (cm), 27..34 levels (cm).
//
// In the velocity table (CheckBox35 unchecked) a point's hodograph
// velocities are the input and its depths follow from the boundary times of
// its frame; in the depth table (checked) the depths are the input and the
// velocities follow. Every point writes its velocities into its frame, and
// the layer velocities of the points are spread along the survey by linear
// interpolation, so that every frame carries eight layer velocities.

#include "interpretation/table_model.h"
#include "store/profile_store.h"

#include <optional>
#include <string>

namespace tesk {

enum class TableMode { Velocity, Depth }; // CheckBox35 unchecked / checked

namespace point_row {
inline constexpr int Name = 1;
inline constexpr int Frame = 2;
inline constexpr int Hodograph = 2;      // + k: Vh_k
inline constexpr int LayerVelocity = 10; // + k: Vs_k
inline constexpr int Depth = 18;         // + k: D_k
inline constexpr int Level = 26;         // + k: level of boundary k
inline constexpr int Last = 34;
} // namespace point_row

inline constexpr int MODEL_COLUMN = 1;
inline constexpr int FIRST_POINT_COLUMN = 2;
inline constexpr int LAST_POINT_COLUMN = 64;
inline constexpr int MAX_POINT_FRAME = 63999;

struct PointTable {
    // Start texts: row 0 of columns 1..64 numbers them 0..63, every other
    // body cell is "0".
    PointTable();
    TableModel grid{65, 35};
    int selectedColumn = FIRST_POINT_COLUMN; // 2..64, kept with the survey
    int selectedRow = 1;                     // 1..34
    TableMode mode = TableMode::Velocity;
    char separator = '.'; // the operator's decimal separator
};

// StringGrid1Click: keeps the selection, the row at least 1 and the column
// at least 2 (and within the table).
void StringGrid1Click(PointTable& t, int column, int row);

// StringGrid1KeyPress: clamps the selection to columns 2..64 and rows
// 1..34, clears the table mark of the frame the selected point names, and
// returns the key the cell takes, or nothing: row 1 letters A-Z, a-z, digits
// and backspace; row 2 digits and backspace; rows 3..10 digits, separators
// (written as the table's separator) and backspace; rows 11..26 digits and
// backspace; rows 27..34 any key.
std::optional<char32_t> StringGrid1KeyPress(PointTable& t, ProfileStore& s, char32_t key);

// UpdatePointTable: validates the selected cell of the selected point,
// recomputes that point's column and frame cells and re-interpolates the
// layer velocities along the survey. nsPerRow is the ComboBox11 scale.
void UpdatePointTable(PointTable& t, ProfileStore& s, double nsPerRow);

// UpdatePointTable for every point column 2..64 in turn, the selected row
// applied to each and the selected column restored; the velocities are
// interpolated once at the end (the result is the same as after each).
void updateAllPoints(PointTable& t, ProfileStore& s, double nsPerRow);

// An edited cell of a point column, as the grid hands it over: the cell is
// selected, the frame it named loses its table mark, the text is written and
// the table updated (StringGrid1KeyPress, the edit, KeyUp1).
void editPointCell(PointTable& t, ProfileStore& s, int column, int row, std::string text,
                   double nsPerRow);

// Lateral interpolation: the layer velocity codes of the points, in frame
// order, spread over frames 0..frameCount: constant before the first point,
// linear between two points, the last point's value after it. A point layer
// without a velocity takes its neighbour's. Without points every frame's
// layer velocities become 0.
void interpolateLayerVelocities(const PointTable& t, ProfileStore& s);

// Refills the point columns from the frames with the table mark, in frame
// order (at most 63): frame, name, hodograph and layer velocities; depths and
// levels "0". Called after a work file was opened.
void loadPointTable(PointTable& t, const ProfileStore& s);

// CheckBox35: caption and font colour (0x00BBGGRR) of the table mode.
std::string tableModeCaption(TableMode mode, bool english);
uint32_t tableModeFontColour(TableMode mode);

// The frame a point column names (row 2, rounded), 0 when none.
int pointFrame(const PointTable& t, int column);

} // namespace tesk
