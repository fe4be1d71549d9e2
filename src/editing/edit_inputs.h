#pragma once
// What the frame editing and resampling commands take and give back: the
// pointer state and the block size the operator chose, the modifier variants,
// the frame clipboard, and the result that tells the window what to do next.

#include "editing/edit_history.h"

#include <array>
#include <cstdint>

namespace tesk::editing {

// Frames per operation by item of ComboBox16; the last item ("  Профиль")
// selects the profile at the cursor where a command can take one, and counts
// as 500 where a command needs a number.
inline constexpr std::array<int, 8> BLOCK_FRAMES = {20, 40, 100, 200, 300, 400, 500, 500};
inline constexpr int PROFILE_ITEM = 7;
inline constexpr int DEFAULT_BLOCK_ITEM = 2;

// Frames of a ComboBox16 item; an item outside the list counts as the default.
inline int blockFrames(int item) {
    return item >= 0 && item <= PROFILE_ITEM ? BLOCK_FRAMES[std::size_t(item)]
                                             : BLOCK_FRAMES[DEFAULT_BLOCK_ITEM];
}

// The pointer state of the radargram (the window fills it from its view
// state) and the block size chosen on the options panel.
struct EditInputs {
    int cursorFrame = 0;                // viewStart + cursor column
    int cursorRow = 0;                  // sample row of the cursor, 0..511
    int secondFrame = 0;                // absolute frame of the second point, 0 = none
    int blockItem = DEFAULT_BLOCK_ITEM; // ComboBox16
};

// Physical modifier keys at the moment the command is given.
struct EditKeys {
    bool leftShift = false;
    bool rightShift = false;
    bool leftCtrl = false;
    bool rightCtrl = false;
};

// Which frames the mirror and the move-up commands take.
enum class BlockScope {
    ViewBlock,   // no key: from the first frame in view, the ComboBox16 number of frames
    ViewProfile, // left Shift: the profile at (or after) the first frame in view
    WholeSurvey, // left Ctrl
};
// Both left keys together take the profile: the smaller of the two blocks.
BlockScope blockScopeFor(EditKeys k);

// Which range the delete command takes.
enum class DeleteRange {
    Block,       // the ComboBox16 block (or profile) at the cursor
    SecondPoint, // left Ctrl: between the cursor and a second point in view
};
DeleteRange deleteRangeFor(EditKeys k);

// The variants of "cX".
enum class XResampling { Double, Halve, Fit, HalveThenFit };
XResampling xResamplingFor(EditKeys k);

// The variants of "cT".
enum class TResampling { Expand, Compress, None };
TResampling tResamplingFor(EditKeys k);

// The internal frame clipboard: clipboard frame k is the work bytes of slot
// k, for k = 0..clipLast. `filled` is the state of the paste button.
struct Clipboard {
    bool filled = false;
    int clipLast = -1; // copied frames minus 1
};

// What the editing commands keep between two clicks, beside the store.
struct EditTools {
    explicit EditTools(std::size_t historyMemory = EditHistory::DEFAULT_MEMORY_LIMIT,
                       int historySteps = EditHistory::DEFAULT_STEP_LIMIT)
        : history(historyMemory, historySteps) {}

    Clipboard clipboard;
    EditHistory history;
    // A file was opened (or appended): the work bytes are cleared and the
    // frames are new, so neither the clipboard nor the history holds.
    void surveyOpened() {
        clipboard = Clipboard{};
        history.clear();
    }
};

enum class Outcome {
    Done,      // the command ran to its end
    Declined,  // the operator answered No
    Refused,   // an error message stopped it, or it had nothing to work on
    EarlyExit, // a silent early exit of a resampling
    Busy,      // another load, save or edit is running: nothing happened
};

struct EditResult {
    Outcome outcome = Outcome::Done;
    // The command's closing steps run: the window redraws the radargram and
    // gives Panel_1 the focus. stateFlags, frameCount and the clipboard are
    // already updated.
    bool redraw = false;
    // Header cell 18 (time range, ComboBox11) changed.
    bool timeRangeChanged = false;
};

} // namespace tesk::editing
