#pragma once
// Messages of the exports and of the SEG-Y reader, in both languages. A line
// break inside a message is "\r".

#include "store/messages.h"

#include <cstdint>
#include <string>

namespace tesk {

enum class SegyFault;

namespace msg {
// The survey (or the view) holds nothing the chosen export could write.
Message nothingToWrite();
// The bitmap export of the radargram: one picture of the whole survey?
Message writeAsSingleFile();
// A SEG-Y file refused or cut short; `traces` is the number loaded.
Message segyFault(const std::string& name, SegyFault fault, int64_t trace, uint64_t offset,
                  int64_t traces);
} // namespace msg

} // namespace tesk
