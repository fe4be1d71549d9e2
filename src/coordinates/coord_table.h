#pragma once
// The coordinates table of Panel_CORD (StringGrid7, TabKr) as a plain table
// model: 3 columns x 10 rows of texts comparing the second point (column 1)
// with the cursor frame (column 2), the typing filter of the editable cells
// (column 2, rows 2..9) and the write-back of an edited cell into the
// cursor frame.

#include "store/profile_store.h"

#include <array>
#include <cstdint>
#include <string>

namespace tesk::coords {

inline constexpr int TABLE_ROWS = 10;
inline constexpr int TABLE_COLUMNS = 3;

namespace table_row {
inline constexpr int Header = 0;
inline constexpr int Position = 1;
inline constexpr int Name = 2;
inline constexpr int Longitude = 3;
inline constexpr int Latitude = 4;
inline constexpr int X = 5;
inline constexpr int Y = 6;
inline constexpr int Distance = 7;
inline constexpr int Height = 8;
inline constexpr int HeightDifference = 9;
} // namespace table_row

struct CoordTable {
    std::array<std::array<std::string, TABLE_COLUMNS>, TABLE_ROWS> cells;
    const std::string& at(int row, int column) const { return cells[size_t(row)][size_t(column)]; }
};

// The start texts: row titles and the start values of columns 1 and 2.
CoordTable startTable(bool english);
// Row titles only (the language switch).
void setRowTitles(CoordTable& t, bool english);

// Colour of CheckBox70 after a fill or an edit.
enum class HmaxColour { Unchanged, ScrollBar, Aqua, Yellow, LightGreen };
inline constexpr uint32_t AQUA = 0xFFFF00;        // 0x00BBGGRR
inline constexpr uint32_t YELLOW = 0x00FFFF;      // 0x00BBGGRR
inline constexpr uint32_t LIGHT_GREEN = 0x00FF88; // 0x00BBGGRR

struct TableFill {
    int latitudeItem = 0;  // RadioGroup_Lat: 1 when the southern flag is set
    int longitudeItem = 0; // RadioGroup_Lon: 1 when the western flag is set
    std::string hmaxCaption;
    HmaxColour hmaxColour = HmaxColour::Unchanged;
};

// TabKr: columns 1 (frame secondFrame) and 2 (frame cursorFrame), rows 1..9.
TableFill TabKr(CoordTable& t, const ProfileStore& s, int cursorFrame, int secondFrame,
                char decimalSeparator = '.');

// StringGrid7Click: the column headers for the selected row; rows 0 and 1
// leave them unchanged (returns false).
bool setColumnHeaders(CoordTable& t, int row, bool english);

// Keys of the typing filter besides printable characters.
inline constexpr char KEY_BACKSPACE = 8;
inline constexpr char KEY_ENTER = 13;
inline constexpr char KEY_CTRL_C = 3;
inline constexpr char KEY_CTRL_V = 22;

// StringGrid7KeyPress: the character to put into the cell, or 0 to drop
// it. In the geographic rows ',' and '.' become the decimal separator.
char filterTableKey(int row, char key, bool geographic, char decimalSeparator = '.');

struct CellEdit {
    std::string text; // the cell's text after the repair rules
    std::string hmaxCaption;
    HmaxColour hmaxColour = HmaxColour::Unchanged;
    bool redrawRelief = false; // RLF_Lin when CheckBox73 is checked
};

// KeyUp7: writes the text of column 2 of row into frame cursorFrame.
CellEdit applyTableEdit(ProfileStore& s, int cursorFrame, int row, const std::string& text,
                        char decimalSeparator = '.');

} // namespace tesk::coords
