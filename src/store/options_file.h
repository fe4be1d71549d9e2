#pragma once
// The options file (.opt): the operator's display and processing settings
// apart from any survey, written in version 17 and read in version 17.
//
// Layout (offsets in bytes, multi-byte numbers big-endian, "item" = the
// selected item index of the box):
//
//   0     "TESK"
//   4     42, 17, 42, 42 (byte 5 = version 17)
//   8     flags: CheckBox1 0x01, CheckBox3 0x02, CheckBox2 0x04
//   9     flags: CheckBox11 0x02, CheckBox12 0x04, CheckBox13 0x08, CheckBox4 0x40
//   10    0, 0
//   12    42, 0, 0, 0
//   16    item ComboBox10; 17..18 velocityCode; 19 item ComboBox11
//   20    items ComboBox12, ComboBox13, ComboBox15, ComboBox16
//   24    42, 0, 0, 0, 42, 0, 0, 0
//   32    items ComboBox20, 22, 23, 24 (filter 1), ComboBox21, 25, 26, 27 (filter 2)
//   40    items ComboBox28, ComboBox29, ComboBox18, ComboBox19
//   44    flags: CheckBox22 0x01, CheckBox23 0x02, CheckBox21 0x04; 45..47 0
//   48    ZeroLevel, GainRange, GainLevel1, GainLevel2; 52..53 GainPos1; 54..55 GainPos2
//   56    42, 0, 0, 0, 42, 0, 0, 0
//   64    flags: CheckBox52 0x01; 65..67 items ComboBox51, ComboBox52, ComboBox54
//   68    0 x 8
//   76    items ComboBox40, ComboBox41, ComboBox42; 79 0
//   80    flags: CheckBox36 0x01, CheckBox32 0x02, CheckBox33 0x04, CheckBox34 0x08,
//         CheckBox35 0x10, CheckBox37 0x20; 81..83 items ComboBox35, ComboBox36, ComboBox31
//   84    0 x 4
//   88    42, 0, 0, 0, 42, 0, 0, 0
//   96    flags: CheckBox59 0x01; 97..100 items ComboBox61 (low byte), ComboBox62,
//         ComboBox63, ComboBox63 once more; 101..103 0
//   104   42 x 8
//   112   header cells 80 .. 106: the nine layer colours (blue, green, red)
//   139   42; 140..142 items ComboBox32, ComboBox33, ComboBox34; 143 chosen code
//   144   colour table A, 256 entries of 3 bytes
//   912   colour table B, 256 entries
//   1680  colour table C, 256 entries
//   2448  colour table D, 1024 entries; the file ends at 5520
//
// A colour-table entry 0x00BBGGRR is stored as red, green, blue.
//
// The reader applies the filters, colour mode, level table, amplitude form,
// zero/gain mode, inversion and chosen-amplitude bits, zero level and gains,
// layer colours, colour components and the four colour tables; the other
// fields are read and not applied. The store's header cells are updated here;
// the window takes the rest from the result (OptionsFileRead) and then
// selects the level table, rebuilds the gain tables and palettes and redraws.

#include "store/byte_source.h"
#include "store/device_family.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <array>
#include <cstdint>

namespace tesk {

inline constexpr uint8_t OPTIONS_FILE_VERSION = 17;
inline constexpr int OPTIONS_FILE_SIZE = 5520;
inline constexpr int OPTIONS_TABLE_OFFSET = 144;

// Every value the options file stores, as plain data.
struct OptionsFileSettings {
    // offset 8
    bool english = false;  // CheckBox1
    bool grid = false;     // CheckBox3
    bool zeroLine = false; // CheckBox2 ("Уровень Нуля")
    // offset 9
    bool showParameters = true; // CheckBox11
    bool showFilters = true;    // CheckBox12
    bool show3D = true;         // CheckBox13
    bool function = true;       // CheckBox4
    // offsets 16 .. 23
    uint8_t velocityItem = 1;    // ComboBox10
    uint16_t velocityCode = 500; // soil velocity x 100
    uint8_t timeRangeItem = 1;   // ComboBox11
    uint8_t stepItem = 1;        // ComboBox12
    uint8_t antennaItem = 10;    // ComboBox13
    uint8_t depthStepItem = 5;   // ComboBox15
    uint8_t viewStepItem = 2;    // ComboBox16
    // offsets 32 .. 43
    std::array<uint8_t, 4> filter1{}; // ComboBox20 (kind), ComboBox22 (L), 23 (T), 24 (X)
    std::array<uint8_t, 4> filter2{}; // ComboBox21 (kind), ComboBox25 (L), 26 (T), 27 (X)
    uint8_t colourModeItem = 0;       // ComboBox28
    uint8_t levelTableItem = 2;       // ComboBox29
    uint8_t amplitudeFormItem = 1;    // ComboBox18
    uint8_t zeroGainModeItem = 0;     // ComboBox19
    // offset 44
    bool inversion = false;       // CheckBox22
    bool chosenAmplitude = false; // CheckBox23
    bool background = false;      // CheckBox21 ("Фон")
    // offsets 48 .. 55
    uint8_t ZeroLevel = 128;
    uint8_t GainRange = 1;
    uint8_t GainLevel1 = 128;
    uint8_t GainLevel2 = 128;
    uint16_t GainPos1 = 0;
    uint16_t GainPos2 = 511;
    // offsets 64 .. 67
    bool processAll = false;           // CheckBox52
    uint8_t volumeInterpItem = 2;      // ComboBox51
    uint8_t profileDistanceItem = 8;   // ComboBox52
    uint8_t sectionItem = 1;           // ComboBox54
    std::array<uint8_t, 3> addition{}; // offset 76: ComboBox40, ComboBox41, ComboBox42
    // offset 80: CheckBox36, CheckBox32, CheckBox33, CheckBox34, CheckBox35, CheckBox37
    std::array<bool, 6> layerChecks{};
    std::array<uint8_t, 3> layerItems{}; // offset 81: ComboBox35, ComboBox36, ComboBox31
    // offsets 96 .. 100 (the device options)
    bool singleReading = false;   // CheckBox59
    uint8_t startDelayItem = 0;   // ComboBox61, low byte of the item
    uint8_t samplingModeItem = 0; // ComboBox62
    uint8_t channelItem = 1;      // ComboBox63 (written twice)
    uint8_t channelItemAgain = 1; // the second copy, as read
    // offsets 112 .. 143
    std::array<uint8_t, 27> layerColours{}; // header cells 80 .. 106 (blue, green, red x 9)
    std::array<uint8_t, 3> colourComponents = {255, 255, 255}; // ComboBox32, 33, 34
    uint8_t chosenCode = 128;
    // offsets 144 .. 5519: 0x00BBGGRR values
    std::array<uint32_t, 256> tableA{};  // grey scale, chosen-amplitude variant
    std::array<uint32_t, 256> tableB{};  // view palette, chosen-amplitude variant
    std::array<uint32_t, 256> tableC{};  // stored main palette, chosen-amplitude variant
    std::array<uint32_t, 1024> tableD{}; // fine ramp (first 1024 entries), chosen-amplitude variant
};

// The values the store's header and scalars hold (velocity, items of the
// profile parameters, filters, colour and amplitude settings, flags, gains,
// volume items, layer colours) plus the device options. The fields the header
// does not keep (grid, ComboBox31, 35, 36, 40 .. 42, CheckBox32 .. 37, the
// colour components, the chosen code and the colour tables) keep their
// defaults for the window to fill.
OptionsFileSettings optionsFromStore(const ProfileStore& store, const DeviceOptions& device);

// The 5520 bytes of a version-17 options file.
std::array<uint8_t, OPTIONS_FILE_SIZE> encodeOptionsFile(const OptionsFileSettings& o);

// Writes the file, reporting progress 0 .. 42 at the points of the layout
// (0 before the magic; 1 .. 6 after the blocks ending at 16, 32, 64, 80, 96,
// 112; 8 after 144; 40 before the end). False when the sink fails.
bool writeOptionsFile(ByteSink& sink, const OptionsFileSettings& o, Interaction& ui);

// The fields the reader applies, in file order.
enum class OptionsField : int {
    Filter1Kind,    // ComboBox20, header cell 24
    Filter1L,       // ComboBox22, cell 25
    Filter1T,       // ComboBox23, cell 26
    Filter1X,       // ComboBox24, cell 27
    Filter2Kind,    // ComboBox21, cell 28
    Filter2L,       // ComboBox25, cell 29
    Filter2T,       // ComboBox26, cell 30
    Filter2X,       // ComboBox27, cell 31
    ColourMode,     // ComboBox28, cell 23
    LevelTable,     // ComboBox29, cell 47 (and the level table selection)
    AmplitudeForm,  // ComboBox18, cell 35
    ZeroGainMode,   // ComboBox19, cell 36
    AmplitudeFlags, // CheckBox22 and cell 34 bit 0x10; cell 34 bit 0x20 (CheckBox23 unchecked)
    ZeroLevel,      // cell 37
    GainRange,      // cell 44
    GainLevel1,     // cell 38
    GainLevel2,     // cell 39
    GainPos1,       // cells 40 .. 41
    GainPos2,       // cells 42 .. 43
    LayerColours,   // cells 80 .. 106
    ColourComponent32,
    ColourComponent33,
    ColourComponent34,
    ColourTableA,
    ColourTableB,
    ColourTableC,
    ColourTableD,
    Count
};

enum class OptionsReadStatus {
    Applied,        // a version-17 file, read to its end
    UnknownVersion, // version byte other than 17: nothing applied
    CutShort,       // the file ended inside the layout: the fields before stay applied
    ReadFault,      // a read error stopped the reading: the fields before stay applied
};

struct OptionsFileRead {
    OptionsReadStatus status = OptionsReadStatus::Applied;
    uint8_t version = 0;
    // The values as the file holds them (defaults where the file ended).
    OptionsFileSettings values;
    // Bit i set: OptionsField i was read and applied. A value outside its
    // box's items (or a gain outside its range) is not applied and the
    // setting keeps its current value.
    uint32_t appliedFields = 0;
    // Entries of each colour table read and applied (A, B, C, D); a file cut
    // inside a table applies the entries before the cut.
    std::array<int, 4> tableEntries{};

    bool applied(OptionsField f) const { return appliedFields & (1u << int(f)); }
};

// Reads an options file whose magic the open command has tested. Applies the
// version-17 fields to the store's header as they are read; a file cut short
// or a read fault ends the reading at the point reached (the status says
// which; the open command shows the read-fault message for both). Older
// versions (10 .. 16) are treated as unknown: nothing is applied.
OptionsFileRead readOptionsFile(ByteSource& src, ProfileStore& store);

} // namespace tesk
