#pragma once
// Questions of the display commands, in both languages. A line break inside
// a message is "\r".

#include "store/messages.h"

namespace tesk::msg {
// The bulk marker operations of ComboBox17, each a Yes/No warning.
Message raiseMarkers();
Message lowerMarkersTo1();
Message lowerMarkersTo0();
Message deleteAllMarkers();
} // namespace tesk::msg
