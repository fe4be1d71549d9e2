#pragma once
// The open and save commands without their dialogs: recognise a file by its
// extension and first bytes, run the matching loader through the frame-load
// frame-work, or write the chosen file. The window and the batch front end
// both drive these.

#include "store/interaction.h"
#include "store/profile_store.h"

#include <string>

namespace tesk {

// The open dialog's filter list and the save dialog's, as the operator sees them.
inline constexpr const char* OPEN_FILTER =
    "Gem. Work file|*.gem|Geo. Original file|*.geo|Mr3. Binary file|*.mr3|Opt. Options "
    "file|*.opt|Gpx. GPS file|*.gpx|Txt. Coordinates file|*.txt|Gpr. Mirn file|*.gpr|Geb. Mirn "
    "file|*.geb|";
inline constexpr const char* SAVE_FILTER =
    "Gem Files|*.gem|Bmp Files|*.bmp|Option Files|*.opt|Text Files|*.txt|";

// The extension as the open command sees it: the last four characters, lower-cased.
std::string openExtension(const std::string& path);

enum class OpenOutcome {
    FramesLoaded, // a survey was loaded or appended
    Refused,      // a message explained why; the store is as it was
    NothingDone,  // e.g. an options file before any survey
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Refused;
    bool added = false; // the file was added to the survey (append, options, coordinates)
    int framesRead = 0;
};

// Opens the file at path into the store, appending when asked. Messages go
// through ui. Leaves the busy and append bits cleared.
OpenResult openSurveyFile(ProfileStore& store, const std::string& path, bool append,
                          Interaction& ui);

// The caption of the main window for the store's current file.
std::string windowTitle(const ProfileStore& store, const std::string& addedFile = {});

// The date and time captions built from header cells 7..11.
void buildCaptions(ProfileStore& store);

enum class SaveKind { WorkFile = 1, Bitmap = 2, Options = 3, Text = 4 };

struct SaveResult {
    bool written = false;
    std::string path; // the file written
};

// The save command after the dialog: path is the name the operator chose,
// kind the filter entry. Asks before overwriting; writes atomically.
SaveResult saveSurveyFile(ProfileStore& store, const std::string& chosenPath, SaveKind kind,
                          Interaction& ui);

// The path a save dialog choice leads to: the name without its last four
// characters, plus the extension of the chosen filter entry.
std::string savePathFor(const std::string& chosenPath, SaveKind kind);

} // namespace tesk
