#pragma once
// Where the radargram window stands over the survey and what the operator
// points at: the first frame in view, the cursor (a view column and a sample
// row), the second point (an absolute frame and a row) and the line colours.

#include "store/profile_store.h"

#include <cstdint>

namespace tesk {

struct Point {
    int x = 0;
    int y = 0;
};

// The window may always step on to frame 49480, whatever the survey's
// length; a longer survey lets it go on to its last screen (lastViewStart).
inline constexpr int MAX_VIEW_START = 49480;
inline constexpr int VIEW_FRAMES = 512;

struct ViewState {
    Point ViewOrigin{50, 50}; // pixel of the radargram's top-left cell
    int cursorColumn = 0;     // 0..511, frame viewStart + column
    int cursorRow = 0;        // 0..511
    int secondFrame = 0;      // absolute frame of the second point
    int secondRow = 0;
    uint32_t cursorColour = 0xFFFFFF;
    uint32_t secondPointColour = 0x00FFFF;
    uint32_t gridColour = 0x888888;
    int sectionIndex = 0; // across-profile section of the slice views, 0..511
};

// Modifier keys as the navigation commands read them.
struct NavKeys {
    bool leftShift = false;
    bool leftCtrl = false;
};

// The mouse button of a click on one of the display's pictures.
enum class MouseButton { Left, Right, Middle };

// The last frame the window may start at: MAX_VIEW_START, or for a survey
// longer than that frameCount - 512, so that its last frames come into
// view; never so far that the window passes the last slot.
int lastViewStart(const ProfileStore& s);

// "Next" and "previous" with the view step item of ComboBox16 (7 = by
// profile); next stops at lastViewStart.
int nextViewStart(const ProfileStore& s, int viewStart, int viewStepItem, NavKeys keys);
int previousViewStart(const ProfileStore& s, int viewStart, int viewStepItem, NavKeys keys);

// The frame typed into the five-character frame field: its digits in order,
// blanks skipped, as a number typed into an emptied field reads ("555  " is
// 555, an empty field 0); the number is rounded down to a multiple of 20 and
// capped at frameCount and at lastViewStart.
int typedViewStart(const ProfileStore& s, const std::string& text);

// A mouse position over Image1 as a view column and sample row, when it lies
// on the picture.
bool pictureCell(const ViewState& v, Point p, int& column, int& row);

} // namespace tesk
