#pragma once
// Questions and messages of the frame editing and resampling commands, in
// both languages, and the captions and hints of their buttons. A line break
// inside a message is "\r"; numbers are plain integers.

#include "store/messages.h"

#include <array>
#include <string>

namespace tesk::editing::msg {

Message confirmShiftRight(int frames);
Message shiftRightCritical();
Message confirmShiftLeft();
Message noProfileAtCursor();
Message pasteTooLarge();
Message confirmDelete(int frames);
Message doublingTooLarge();
Message confirmDoubling();
Message confirmHalving();
Message confirmExpandT();
Message expandAtMaximum();
Message compressAtMaximum();
Message confirmCompressT();

// A button of the editing commands: its caption (empty for a glyph button)
// and its hint in both languages.
struct ButtonText {
    const char* button;
    const char* caption;
    const char* ru;
    const char* en;
};
extern const std::array<ButtonText, 9> BUTTON_TEXTS;

} // namespace tesk::editing::msg
