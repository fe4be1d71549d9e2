#pragma once
// The three coordinate imports as the open command and the after-load step
// call them: the companion .cor file of a .geb survey, GPX files (listing,
// then synchronisation by time of day) and text coordinate tables.
//
// Readers take a ByteSource; the functions that take a path only find and
// open the file and then call the reader. Every message goes through
// Interaction. A file that cannot be used changes nothing in the frames.

#include "coordinates/recalc.h"
#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <memory>
#include <string>
#include <vector>

namespace tesk::coords {

struct CoordImportSettings {
    // The coordinates panel as it stands, for the recalculation that follows
    // a .cor import (the import itself selects mode 0, positions and the
    // geographic form: CheckBox71, CheckBox74 and ComboBox_CRD item 0).
    RecalcSettings recalc;
    // Text import: CheckBox74 checked (name; longitude; latitude; height)
    // or not (name; X; Y; height).
    bool geographic = true;
    // Text import, rectangular form: Ctrl was held at the open (append bit
    // 0x0400), so lines go to every fifth frame.
    bool everyFifthFrame = false;
};

struct CoordImportResult {
    bool refused = false; // a message said why nothing was imported
    bool applied = false; // frames were written
    int lines = 0;        // lines (.cor, .txt) or points (.gpx) read
    int matched = 0;      // GPX points given to frames
    // GPX listing: the items of ComboBox_GPS_wpt and ComboBox_GPS_trk.
    std::vector<std::string> waypointItems;
    std::vector<std::string> trackItems;
    // .cor: the recalculation that ran after the import (when it ran).
    bool recalculated = false;
    RecalcResult recalc;
};

// --- companion .cor file (OPN_COR) ---------------------------------------------

// The companion of a survey: the same path with the extension .cor, else .COR,
// when such a file exists; empty otherwise.
std::string findCorCompanion(const std::string& surveyPath);

struct CorParts {
    bool positions = true;
    bool date = true;
    bool time = true;
    bool height = true;
};

// After a .geb load without append: finds the companion, asks which parts to
// import, opens and reads it (coordFileName takes its path) and runs the
// recalculation. Marks the survey changed except after a failed open or an
// empty file.
CoordImportResult OPN_COR(ProfileStore& store, const std::string& surveyPath,
                          const CoordImportSettings& settings, Interaction& ui);

// The reader behind OPN_COR: lines addressed by frame number, then the time
// fill, the height fill, the run-end positions and the recalculation.
CoordImportResult readCorFile(ByteSource& src, ProfileStore& store, const CorParts& parts,
                              const CoordImportSettings& settings, Interaction& ui);

// The three passes after the .cor lines, over frames 0 .. frameCount - 1.
void fillCorTimes(ProfileStore& store);
void fillCorHeights(ProfileStore& store); // moves the heights parked in the work bytes
void fillRunEndPositions(ProfileStore& store);

// --- GPX (OPN_GPX, SpeedButton_GPS_WPT_Click, SpeedButton_GPS_TRK_Click) -------

// Lists the waypoints and track points of an opened GPX file. With points:
// sets bit 0x10 of header cell 48 (panel expanded). Without any listable
// point: the E022 message and refused.
CoordImportResult readGpxFile(ByteSource& src, ProfileStore& store,
                              const CoordImportSettings& settings, Interaction& ui);

enum class GpxPoints { Waypoints, Track };

struct GpxSyncSettings {
    int cursorFrame = 0;      // viewStart + cursor column: where the selected point was taken
    std::string selectedItem; // the selected text of the list
};

// The synchronisation command: the clearing question, then every point of
// the file matched to frames by time of day, the clock offset taken from the
// selected item and the cursor frame; E022 or the "loaded" message.
CoordImportResult synchronizeGpx(ByteSource& src, ProfileStore& store, GpxPoints which,
                                 const GpxSyncSettings& settings, Interaction& ui);

// Date (characters 1..10) and time (characters 12..19) of a list item, for
// Label_GPS_22 / Label_GPS_24 and Label_GPS_32 / Label_GPS_34.
std::string listItemDate(const std::string& item);
std::string listItemTime(const std::string& item);

// --- text coordinate table (OPN_TXT) -------------------------------------------

// One line per key frame (markers of status 2 or 3, run ends), from frame 0;
// the per-line questions, then "loaded".
CoordImportResult readTxtFile(ByteSource& src, ProfileStore& store,
                              const CoordImportSettings& settings, Interaction& ui);

// --- the open coordinate file (stateFlags bit 0x4000) -------------------------

// Holds the coordinate file between synchronisations while bit 0x4000 is set.
class CoordinateFile {
  public:
    // Opens path for reading: the E001 message when it cannot be opened,
    // E025 when it is empty. On success sets bit 0x4000 and openFileName.
    bool open(ProfileStore& store, const std::string& path, Interaction& ui);
    // Closes the file and clears bit 0x4000 (panel hidden, GPS area folded,
    // program end, another coordinate file opened).
    void close(ProfileStore& store);
    bool isOpen() const { return file_ != nullptr; }
    ByteSource* source() { return file_.get(); }
    const std::string& path() const { return path_; }

  private:
    std::unique_ptr<ByteSource> file_;
    std::string path_;
};

} // namespace tesk::coords
