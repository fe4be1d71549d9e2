#pragma once
// The open and save commands without their dialogs: recognise a file by its
// extension and first bytes, run the matching step of the table of file
// kinds (file_kinds.h), or write the chosen file. The window and the batch
// front end both drive these.

#include "commands/export_common.h"
#include "display/view_state.h"
#include "store/device_family.h"
#include "store/interaction.h"
#include "store/load_report.h"
#include "store/options_file.h"
#include "store/profile_store.h"

#include <optional>
#include <string>
#include <vector>

namespace tesk {

// The filter lists of the open and save dialogs, "Label|*.ext|" per entry of
// the table of file kinds.
std::string openDialogFilter();
std::string saveDialogFilter();

// The extension as the open command sees it: the last four characters, lower-cased.
std::string openExtension(const std::string& path);

// path ends in extension (".segy"), letter case ignored, after at least one
// character of name.
bool endsWithExtension(const std::string& path, const std::string& extension);

enum class OpenOutcome {
    FramesLoaded,   // a survey was loaded or appended
    SettingsLoaded, // an options file changed the settings of the survey on screen
    Refused,        // a message explained why; the store is as it was
    NothingDone,    // e.g. an options file before any survey
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Refused;
    bool added = false; // the file was added to the survey (append, options, coordinates)
    // The frame reader's report, whole: frames read and declared, the fault
    // that ended the read and where, the warnings. Default for a file that
    // was refused before a reader ran or holds no frames.
    LoadReport report;
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
// through ui. After a frame load the store is normalised, a plain open starts
// at frame 0 with the captions of the file's date and time, and only the
// data-changed, volume-stale and coordinate-file bits stay in stateFlags.
// Leaves the busy and append bits cleared.
OpenResult openSurveyFile(ProfileStore& store, const std::string& path, bool append,
                          Interaction& ui, const OpenSettings& settings = {});

// What the window and the batch front end do after an open, apart from
// their widgets.
struct AfterOpen {
    bool framesLoaded = false;      // restore the controls, show the counts, enable and redraw
    bool showDeviceOptions = false; // a 12-bit device file was read: its options panel appears
    std::string title;              // the new window caption; empty: the caption stays
};

// The steps after an open: after a frame load the view starts over (cursors,
// second point and section at 0, the picture origin kept); the caption names
// the survey, and the added file for an append, an options or a coordinate
// file.
AfterOpen afterOpen(const ProfileStore& store, const OpenResult& r, const std::string& path,
                    ViewState& view);

// The caption of the main window for the store's current file.
std::string windowTitle(const ProfileStore& store, const std::string& addedFile = {});

// The date and time captions built from header cells 7..11.
void buildCaptions(ProfileStore& store);

// The save dialog's entries: the filter index selects the kind.
enum class SaveKind { WorkFile = 1, Bitmap = 2, Options = 3, Text = 4, Segy = 5 };

// The entry a save dialog's filter index (1-based) selects, brought into the
// range of the entries.
SaveKind saveKindForFilterIndex(int filterIndex);

struct SaveResult {
    bool written = false;
    std::string path;          // the file written, or the one that could not be
    bool createFailed = false; // the file could not be created
    std::string failure;       // why it could not be created or written (the system's reason)
};

struct ExportSettings;
struct BitmapSettings;

// What the window adds to the store for the files it writes.
struct SaveSettings {
    // The options file's values (the window fills what the header does not keep).
    std::optional<OptionsFileSettings> options;
    // The text table and the picture as the window shows the survey at the
    // click (the window's display, processing, overlay and view); null: the
    // survey's stored settings with the variant below (batch use).
    const ExportSettings* text = nullptr;
    const BitmapSettings* bitmap = nullptr;
    SaveVariant variant = SaveVariant::Plain;
    // The answer to "Write as a single file?" when it is known beforehand.
    std::optional<bool> singleFile;
    bool segyInt16 = false;    // SEG-Y samples as 16-bit integers instead of IEEE floats
    char decimalSeparator = 0; // of the stored-settings text table; 0: the locale's
};

// The save command after the dialog: path is the name the operator chose,
// kind the filter entry. Asks before overwriting; writes atomically.
SaveResult saveSurveyFile(ProfileStore& store, const std::string& chosenPath, SaveKind kind,
                          Interaction& ui, const SaveSettings& settings = {});

// The path a save dialog choice leads to: the name without its last four
// characters, plus the extension of the chosen filter entry.
std::string savePathFor(const std::string& chosenPath, SaveKind kind);

} // namespace tesk
