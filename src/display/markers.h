#pragma once
// Markers: a status 0..3 in the low two bits of a frame's status byte (0 no
// marker, 1 black, 2 blue, 3 red, the higher the more important), drawn as
// small flags above the radargram, edited one frame at a time by Shift-clicks
// and in bulk by the items of ComboBox17. Every edit leaves the other status
// bits alone and marks the survey changed (0x3000 in stateFlags).

#include "display/view_state.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <QImage>
#include <cstdint>
#include <optional>

namespace tesk {

// Items of ComboBox17.
namespace markerItem {
inline constexpr int Off = 0;       // " Switch off Marks"
inline constexpr int Show = 1;      // " Show Marks" (start item)
inline constexpr int Change = 2;    // " Change Mark": Shift-clicks edit single statuses
inline constexpr int Raise = 3;     // " Raise Mark status"
inline constexpr int LowerTo1 = 4;  // " Lower Mark status 1"
inline constexpr int LowerTo0 = 5;  // " Lower Mark status 0"
inline constexpr int DeleteAll = 6; // " Delete all Marks"
} // namespace markerItem

// Box colours of ComboBox17 (0x00BBGGRR). SystemColour stands for the
// system scroll-bar colour: the shell gives the box its default look.
namespace markerBox {
inline constexpr uint32_t SystemColour = 0xFF000000;
inline constexpr uint32_t Shown = 0xCCDDCC;
inline constexpr uint32_t Edit = 0x00FFFF;
inline constexpr uint32_t Delete = 0x0088FF;
} // namespace markerBox

struct MarkerSettings {
    int item = markerItem::Show; // ComboBox17 item
};

// Flag colour of a status: 1 black (0x000001), 2 blue (0xFF6600), 3 red.
uint32_t markerColour(int status);

// The flags of the marked frames in view, over the radargram overlay: for
// frame viewStart + i at x = X0 + 2i a vertical stroke from Y0 - 7 down to
// Y0 + 3 with a small diamond at Y0 - 6 .. Y0 - 3. Only in the radargram
// view and with the box on an item that shows markers (1 and above).
void paintMarkerFlags(QImage& overlay, const ProfileStore& s, const ViewState& v,
                      const MarkerSettings& m);

// --- bulk operations over frames 0 .. frameCount ----------------------------------
// Each returns the number of frames whose status changed.

int raiseMarkers(ProfileStore& s);     // 1 -> 2, 2 -> 3
int lowerMarkersTo1(ProfileStore& s);  // 3 -> 2, 2 -> 1
int lowerMarkersTo0(ProfileStore& s);  // each non-zero status down by one
int deleteAllMarkers(ProfileStore& s); // every status 0

// What ComboBox17Change leaves: the item the box shows afterwards, its
// colour (none: keep the colour it has) and whether statuses changed.
struct MarkerBoxChange {
    int item = markerItem::Show;
    std::optional<uint32_t> boxColour;
    bool statusesChanged = false;
};

// ComboBox17Change with the item just chosen. Items 0 and 1 only colour the
// box. In the radargram view item 2 colours it yellow; items 3..6 ask their
// Yes/No question, run unless the answer is No, and return the box to item 1;
// in the other views items 2..6 change nothing.
MarkerBoxChange markerBoxChange(ProfileStore& s, int item, Interaction& ui);

// --- single frames (ComboBox17 on item 2, left Shift held) -------------------------

// Raises the status of `frame` by one when it is below 3 (0 makes a black
// marker). Returns whether it changed.
bool raiseMarkerAt(ProfileStore& s, int frame);
// Lowers every non-zero status among the frames frame + 2 down to frame - 2,
// stopping at frame 0. Returns whether any changed.
bool lowerMarkersAround(ProfileStore& s, int frame);

// The marker part of Image1MouseDown: with the box on item 2, left Shift held
// and the pointer on the radargram (radargram view only), a left click
// raises the clicked frame and a right click lowers the five frames around
// it. Returns whether statuses changed (the shell then redraws the overlay).
bool markerShiftClick(ProfileStore& s, const ViewState& v, const MarkerSettings& m,
                      MouseButton button, NavKeys keys, Point at);

} // namespace tesk
