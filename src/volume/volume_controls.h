#pragma once
// The volume controls of the option panel: the fill method (ComboBox51),
// the distance between profiles (ComboBox52), the gap limit (CheckBox52) and
// the section layout (ComboBox54), each kept in the survey header; and the
// rule of the view commands for when the volume is built again.

#include "store/profile_store.h"

#include <array>
#include <cstdint>
#include <string>

namespace tesk {

struct BilingualItem {
    const char* ru;
    const char* en;
};
// ComboBox51 items, start item 2.
inline constexpr std::array<BilingualItem, 5> FILL_METHOD_ITEMS = {{
    {"Линейный  Хp", " Linear Xp"},
    {"Линейный  Yp", " Linear Yp"},
    {"Линейный  X+Yp", " Linear Xp+Yp"},
    {"По вектору V", " On vector  V"},
    {"По радиусу R", " On radius  R"},
}};

// ComboBox51Change, ComboBox52Change, ComboBox54Change: the item into header
// cell 49, 50 or 51 and 0x3000 into stateFlags. Ignored (false) while the
// busy bit 0x800 is set or when the item is out of range.
bool fillMethodChanged(ProfileStore& s, int item);
bool profileDistanceChanged(ProfileStore& s, int item);
bool sectionLayoutChanged(ProfileStore& s, int item);

// CheckBox52Click: the gap limit on or off (header cell 34 bit 0x40) and
// 0x3000; ignored (false) while busy. Its caption and font colour follow.
bool gapLimitClicked(ProfileStore& s, bool checked);
struct CaptionLook {
    std::string caption;
    uint32_t fontColour; // 0x00BBGGRR
};
CaptionLook gapLimitLook(bool checked, bool english);

// The view commands that show the volume.
enum class VolumeView {
    Slices,   // SpeedButton7, view 8
    Carpet,   // SpeedButton12, view 0x20
    Sections, // SpeedButton9, view 0x40
    Profiles, // SpeedButton8, view 0x10
};
// Whether the command builds the volume before it draws: the slices and the
// carpet when the volume is out of date or the left Ctrl key is held; the
// sections always; the profiles in 3D when entering the mode (or with left
// Ctrl) and only with CheckBox66 "Слои" checked. stateFlags as before the
// command.
bool volumeBuildWanted(VolumeView v, uint16_t stateFlags, bool leftCtrl, bool layersChecked);

} // namespace tesk
