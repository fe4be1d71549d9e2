#pragma once
// The open and save commands without their dialogs: recognise a file by its
// extension and first bytes, run the matching loader through the frame-load
// frame-work, or write the chosen file. The window and the batch front end
// both drive these.

#include "store/device_family.h"
#include "store/interaction.h"
#include "store/options_file.h"
#include "store/profile_store.h"

#include <optional>
#include <string>
#include <vector>

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
    FramesLoaded,   // a survey was loaded or appended
    SettingsLoaded, // an options file changed the settings of the survey on screen
    Refused,        // a message explained why; the store is as it was
    NothingDone,    // e.g. an options file before any survey
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Refused;
    bool added = false; // the file was added to the survey (append, options, coordinates)
    int framesRead = 0;
    // Findings of the device-recording decoder, for the check log of the
    // test panel; deviceCheck is true when a device recording was decoded.
    bool deviceCheck = false;
    std::vector<std::string> checkLog;
    // What an options file held and which of its fields were applied.
    std::optional<OptionsFileRead> options;
};

// Settings of the window that the readers take as input.
struct OpenSettings {
    DeviceOptions device; // the device-options panel, for the 12-bit readers
};

// Opens the file at path into the store, appending when asked. Messages go
// through ui. Leaves the busy and append bits cleared.
OpenResult openSurveyFile(ProfileStore& store, const std::string& path, bool append,
                          Interaction& ui, const OpenSettings& settings = {});

// The caption of the main window for the store's current file.
std::string windowTitle(const ProfileStore& store, const std::string& addedFile = {});

// The date and time captions built from header cells 7..11.
void buildCaptions(ProfileStore& store);

enum class SaveKind { WorkFile = 1, Bitmap = 2, Options = 3, Text = 4 };

struct SaveResult {
    bool written = false;
    std::string path; // the file written
};

// What the window adds to the store for the files it writes.
struct SaveSettings {
    // The options file's values (the window fills what the header does not keep).
    std::optional<OptionsFileSettings> options;
};

// The save command after the dialog: path is the name the operator chose,
// kind the filter entry. Asks before overwriting; writes atomically.
SaveResult saveSurveyFile(ProfileStore& store, const std::string& chosenPath, SaveKind kind,
                          Interaction& ui, const SaveSettings& settings = {});

// The path a save dialog choice leads to: the name without its last four
// characters, plus the extension of the chosen filter entry.
std::string savePathFor(const std::string& chosenPath, SaveKind kind);

} // namespace tesk
