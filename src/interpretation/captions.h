#pragma once
// Texts of the interpretation controls that change with the language or
// with their own state: the method, phase and layer lists, the snapping
// check box and the hodograph panel's title. The window writes them; the
// wording lives with the interpretation.

#include <array>
#include <cstdint>
#include <string>

namespace tesk {

// ComboBox35: the velocity methods.
const std::array<std::string, 4>& velocityMethodItems(bool english);
// ComboBox36: the phase a pick or boundary snaps to.
const std::array<std::string, 3>& phaseItems(bool english);
// ComboBox31: "no boundaries" and layers 1..8.
const std::array<std::string, 9>& layerItems(bool english);

// CheckBox36: caption and font colour (0x00BBGGRR) of the snapping switch.
std::string snapCaption(bool checked, bool english);
uint32_t checkBoxFontColour(bool checked); // maroon when checked, navy when not

} // namespace tesk
