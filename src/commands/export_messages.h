#pragma once
// Messages of the exports, in both languages. A line break inside a message
// is "\r". (The SEG-Y reader's are worded by the open command, load_messages.h.)

#include "store/messages.h"

namespace tesk {

namespace msg {
// The survey (or the view) holds nothing the chosen export could write.
Message nothingToWrite();
// The bitmap export of the radargram: one picture of the whole survey?
Message writeAsSingleFile();
} // namespace msg

} // namespace tesk
