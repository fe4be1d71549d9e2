#pragma once
// What a frame reader hands back: how many frames it stored, how many the
// file declares, what ended the read before its end and where, and what it
// noticed on the way. A reader shows none of it; the open command words the
// messages from the report, in the order the reader met their causes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tesk {

// What ended a read before the end of the frames the file holds.
enum class LoadFault : uint8_t {
    None,      // the read went to the end of the frames (fewer than declared is not a fault)
    CutShort,  // the file ended inside its header or inside a frame
    ReadFault, // an I/O error stopped the read
    SlotLimit, // the last slot a loader fills was reached; the rest of the file is ignored
    Cancelled, // the operator cancelled at a question; the frames after it stay empty
    Malformed, // the bytes at the fault do not follow the format (no block key found)
    Refused,   // the file header was refused; nothing was loaded
};

// What a reader noticed; the read goes on (or, for a refused header, says why).
enum class LoadWarning : uint8_t {
    CountClamped,     // the frame count field announced more than 63999 frames
    AmplitudeBelow12, // .geb: the sample width is below 12 bits
    AmplitudeAbove12, // .geb: the sample width is above 12 bits
    UnknownModel,     // .geo: the model code is above 6 (the header is refused)
    UnknownStructure, // .geo: the file ends before its model code or file mode byte (refused)
    DataError,        // .geo: a check of the recording failed; the check log lists them
};

struct LoadReport {
    int framesRead = 0;          // frames stored into the slots (a frame cut short counts)
    int64_t framesDeclared = -1; // frames the count field announces, before any limit; -1: none
    int firstSlot = 0;           // slot of the file's first frame
    LoadFault fault = LoadFault::None;
    // The frame of the file (0 = its first) the fault hit: the frame cut
    // short or unreadable, the first one left out at the slot limit, the one
    // the operator cancelled at; -1 for the file header or no fault.
    int faultFrame = -1;
    // Byte offset in the file where that frame starts (0 for the header).
    uint64_t faultOffset = 0;
    // In the order the reader found them.
    std::vector<LoadWarning> warnings;
    // How many of the warnings were found before the fault: the operator is
    // told about them in that order.
    std::size_t warningsBeforeFault = 0;

    void warn(LoadWarning w) { warnings.push_back(w); }
    bool has(LoadWarning w) const {
        for (LoadWarning x : warnings)
            if (x == w) return true;
        return false;
    }
    // Records what ended the read and where; replaces an earlier fault.
    void stop(LoadFault f, int frame, uint64_t offset) {
        fault = f;
        faultFrame = frame;
        faultOffset = offset;
        warningsBeforeFault = warnings.size();
    }
};

} // namespace tesk
