#pragma once
// Messages of the velocity and layer interpretation. A line break inside a
// message is "\r".

#include "store/messages.h"

namespace tesk::msg {
// Asked before every boundary of every frame is cleared (left Ctrl on "Sm").
// The first letter of the Russian text is a Latin X, as the window has it.
Message deleteAllLayers();
// Asked before the current boundary is cleared in every frame (left Shift).
Message deleteCurrentLayer();
} // namespace tesk::msg
