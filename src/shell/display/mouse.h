#pragma once
// The mouse buttons and modifier keys of the window's pointer events as the
// display's click rules take them.

#include "display/view_state.h"
#include "shell/prompts/prompter.h"

#include <Qt>

namespace tesk {

inline MouseButton mouseButton(Qt::MouseButton b) {
    return b == Qt::LeftButton    ? MouseButton::Left
           : b == Qt::RightButton ? MouseButton::Right
                                  : MouseButton::Middle;
}

inline NavKeys navKeys(const Modifiers& m) {
    return NavKeys{m.leftShift, m.leftCtrl};
}

} // namespace tesk
