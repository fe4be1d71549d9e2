#pragma once
// The borehole display (Image_SKVG): every measurement point of the velocity
// and depth table that falls inside the radargram view is drawn over the
// picture as a white vertical line at its frame, its number under it, and a
// column seven pixels wide that shows its layers in the layer colours down
// to the levels entered in the table. The operator compares these columns
// with the boundaries traced on the radargram.
//
// Picture geometry: 1024 x 512 pixels, frame F at pixel column
// x = 2 (F - viewStart); a level of L cm lies Round(L K) rows below the top
// of the trace, K = 100 / (velocityCode nsPerRow stretch) rows per cm. In the
// relief display the column of frame F starts s rows down, s the relief
// shift of the frame (Round((Href - h) K)).

#include "interpretation/layer_cells.h"
#include "interpretation/table_model.h"
#include "store/profile_store.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

namespace tesk {

inline constexpr int BOREHOLE_IMAGE_WIDTH = 1024;
inline constexpr int BOREHOLE_IMAGE_HEIGHT = 512;
inline constexpr int BOREHOLE_LINE_END = 490;   // the point line stops above this row
inline constexpr int BOREHOLE_NUMBER_ROW = 494; // top of the point's number
inline constexpr int BOREHOLE_NUMBER_SIZE = 10; // font size of the number

// One measurement point of the table (columns 2..64).
struct Borehole {
    int number = 0; // table column - 1
    int frame = 0;  // row 2, rounded
    // Rows 27..34, rounded, in cm; a level below 1 (or a text that holds no
    // number) is absent.
    std::array<int, LAYERS> levels{};
};

// The points of a velocity and depth table grid (65 columns x 35 rows, the
// window's texts); a level or frame text is read up to its first character
// that is not part of a number.
std::vector<Borehole> boreholesOfTable(const TableModel& grid);

struct BoreholeView {
    int32_t viewStart = 0;
    // The vertical scale (velocity code, ns per row, stretch) and, with `on`,
    // the relief display and its reference height. Outside the relief
    // display the stretch is 1: the picture is not stretched then.
    ReliefShift scale;
    double rowsPerCm() const;
};

// The pixel column of a point, or -1 when it is not drawn (0 < x < 1020).
int boreholeColumn(const Borehole& b, int32_t viewStart);

// ShowBoreholes: clears image (made 1024 x 512 ARGB when it is not) to
// transparent with a black outline, then draws every point in view: the
// white point line (a pen of width 2 covering columns x - 1 and x) from the
// top of the trace to row 489, the number in white under it, and the level
// bands. A band runs from the previous level (or the top of the trace) to
// the row of its level, exclusive, as seven columns: x - 3 and x + 3 in
// 0x000001, x - 2, x - 1, x + 1, x + 2 in the layer colour, x black; a white
// mark x - 3 .. x + 7 lies on the level's row, and the next band starts one
// row below it. A layer colour of 0 draws black.
void ShowBoreholes(QImage& image, const std::vector<Borehole>& points, const ProfileStore& s,
                   const BoreholeView& v);

} // namespace tesk
