#pragma once
// Division of the survey into profiles (GrProf): the frames are cut into
// profiles at the chosen markers and at the existing gaps, every new profile
// starts on a multiple of 20 slots after at least 20 blank frames, all other
// gap frames are dropped, and the profiles are renumbered.
//
// The new sequence is built in the work bytes of the frame records and then
// copied back into the value bytes.

#include "store/interaction.h"
#include "store/profile_store.h"

#include <cstdint>
#include <string>

namespace tesk {

// The four cut rules (CheckBox_GProf_1 .. CheckBox_GProf_4); all but the
// black marker are checked at start.
struct DivisionRules {
    bool atProfileStart = true; // "начало профиля": cut where a gap ends a profile
    bool atRedMarker = true;    // "красный маркер": marker status 3
    bool atBlueMarker = true;   // "синий маркер": marker status 2
    bool atBlackMarker = false; // "черный маркер": marker status 1
    bool any() const { return atProfileStart || atRedMarker || atBlueMarker || atBlackMarker; }
};

enum class DivisionOutcome {
    Divided, // the survey was rebuilt; stateFlags gained 0x3000
    NoRule,  // no box checked: nothing changed
    TooLong, // the divided survey would not fit the store: nothing changed, message shown
};

struct DivisionResult {
    DivisionOutcome outcome = DivisionOutcome::NoRule;
    int profiles = 0;   // profiles after the division
    int frameCount = 0; // the new frameCount (also in header cells 16..17)
};

// GrProf. The shell redraws the radargram after a division.
DivisionResult GrProf(ProfileStore& s, const DivisionRules& rules, Interaction& ui);

// --- the "Профили" button (SpeedButton_GProf) ----------------------------------

// The button's two states: showing the volume controls (its first click
// shows the cut boxes) or showing the cut boxes (its second click divides).
struct ProfilesButtonLook {
    std::string caption;
    uint32_t fontColour; // 0x00BBGGRR
};
// The look after a click: `settingUp` true once the cut boxes are shown.
ProfilesButtonLook profilesButtonLook(bool settingUp, bool english);
inline constexpr const char* PROFILES_BUTTON_HINT = "Запись кадра в профиль";

// A cut box: its caption and font colour (0x00BBGGRR).
struct CutBox {
    const char* caption;
    uint32_t colour;
};
inline constexpr CutBox CUT_BOXES[4] = {
    {"начало профиля", 0x008000}, // CheckBox_GProf_1, green
    {"красный маркер", 0x0000FF}, // CheckBox_GProf_2, red
    {"синий маркер", 0xFF0000},   // CheckBox_GProf_3, blue
    {"черный маркер", 0x000000},  // CheckBox_GProf_4, black
};

// The refusal when the cuts would push the survey past the last slot.
Message divisionTooLong();

} // namespace tesk
