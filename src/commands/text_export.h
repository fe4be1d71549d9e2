#pragma once
// The semicolon-separated text tables of the save command ("Text Files"):
//
//   no key      one line per sample of every frame 0..frameCount:
//               frame; time; amplitude value;
//   left Shift  one line per sample of every frame with data:
//               X; Y; height of the sample; time; amplitude value; time of day
//   left Ctrl   in the slice view: one line per node of the horizontal
//               section of the volume at the cursor row: X; Y; amplitude value
//               in the other views: one line per frame with data: position,
//               relief height, depth, thickness and code of the seven layer
//               boundaries, profile number
//
// The amplitude value of a code is its level on the linear scale of the
// level table (ComboBox29), 0 for no data. The samples pass through the
// processing of the radargram first (relief shift in the relief display, the
// depth section when it is on, filter 1, filter 2, the zero/gain stage), in
// blocks of frames with their filter context, as the display does.

#include "commands/export_common.h"
#include "display/amplitude.h"
#include "display/radargram.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <cstdint>
#include <string>

namespace tesk {

inline constexpr int SECTION_NODES = 512; // nodes per side of the horizontal section

// What the slice table reads from the volume.
class VolumeSection {
  public:
    virtual ~VolumeSection() = default;
    // The horizontal section at time plane `plane` (0..511): codes[gx * 512 + gy]
    // for the nodes gx, gy = 0..511. False when no volume has been built.
    virtual bool horizontalSection(int plane, uint8_t* codes) const = 0;
    // The distance between neighbouring nodes (the grid step), 0 when the
    // volume does not know it: the table then steps by the profile step.
    virtual int32_t nodeStepCm() const { return 0; }
};

// Everything a text table depends on, taken at the moment of the export.
struct ExportSettings {
    SaveVariant variant = SaveVariant::Plain;
    int view = view::Radargram;    // low byte of stateFlags
    DisplaySettings display;       // level table, zero/gain mode and levels
    ProcessingSettings processing; // relief display and the two filters
    SampleScale scale;             // time per sample, depth readout, step, coordinates
    char decimalSeparator = '.';
    InterpretationLayers* layers = nullptr; // the depth section, when CheckBox33 is checked
    // Slice table: the time plane of the horizontal section (the cursor row)
    // and the volume it is cut from.
    int cursorRow = 0;
    const VolumeSection* volume = nullptr;
};

// The settings the survey header keeps (for batch exports): amplitude and
// filter settings, scales, the relief display from stateFlags (stretch 1).
ExportSettings exportSettingsFromStore(const ProfileStore& s, SaveVariant variant,
                                       char decimalSeparator);

// The header line of the table the settings select (without the line break).
std::string textTableHeader(const ExportSettings& e);

// Writes the table the variant and view select. Reports progress through
// ui (frames, or section rows); shows "nothing to write" when the survey has
// no frame with data, or the slice view has no volume. The store is left as
// it was.
ExportResult writeTextTable(ByteSink& sink, const ProfileStore& s, const ExportSettings& e,
                            Interaction& ui);

// Frames per processing block of the table without a key and of the table
// with left Shift.
inline constexpr int PLAIN_BLOCK_FRAMES = 500;
inline constexpr int SHIFT_BLOCK_FRAMES = 512;

} // namespace tesk
