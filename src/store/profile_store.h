#pragma once
// The in-memory survey: a fixed table of frame slots, the survey header and
// the survey-wide scalars. Allocated once for the whole run and never
// reallocated: opening a file overwrites slots in place.
//
// Every cell of a frame record and of the header is a value byte (stored in
// files, drawn, interpreted) plus a work byte (a scratch plane that editing
// and processing commands build a new frame in). The two planes are kept as
// two arrays so that a frame's value bytes are contiguous, exactly as the
// work file holds them. Multi-cell integers are big-endian over value bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tesk {

inline constexpr int MAX_FRAME_INDEX = 64000;  // slots 0..64000 exist
inline constexpr int MAX_LOADED_FRAME = 63989; // highest slot a loader fills
inline constexpr int CELLS_PER_FRAME = 624;
inline constexpr int SAMPLES_PER_FRAME = 512;
inline constexpr int SAMPLE_ROWS = 528; // rows 512..527 repeat sample 511
inline constexpr int HEADER_CELLS = 128;
inline constexpr int CLEARED_ON_OPEN = 51000; // highest slot cleared by an open
inline constexpr int FRAME_SLOTS = MAX_FRAME_INDEX + 1;

// Cell numbers of the frame record fields.
namespace cell {
inline constexpr int Status = 528;
inline constexpr int Hour = 529;
inline constexpr int Minute = 530;
inline constexpr int Second = 531;
inline constexpr int Hundredths = 532;
inline constexpr int ProfileNumber = 533;  // u16
inline constexpr int ReliefHeight = 535;   // u24, cm
inline constexpr int Boundary1 = 538;      // 7 x u16
inline constexpr int VolumeSlot = 552;     // 4 x u8
inline constexpr int IndexInProfile = 556; // u16
inline constexpr int UcsX = 560;           // u32, cm
inline constexpr int UcsY = 564;           // u32, cm
inline constexpr int LonDegrees = 568;
inline constexpr int LonFraction = 569; // u24, 1e-7 degree
inline constexpr int LatDegrees = 572;
inline constexpr int LatFraction = 573;   // u24
inline constexpr int TableValuesA = 576;  // 8 x u16
inline constexpr int TableValuesB = 592;  // 8 x u16
inline constexpr int VerticalShift = 608; // u16
inline constexpr int PointName = 610;     // 6 chars
inline constexpr int FixTime = 621;       // u24, seconds of day
} // namespace cell

// Frame status bits (cell 528).
namespace status {
inline constexpr uint8_t MarkerMask = 0x03;
inline constexpr uint8_t InProfile = 0x10;
inline constexpr uint8_t TableMark = 0x20;
inline constexpr uint8_t HodographMark = 0x40;
inline constexpr uint8_t Reversed = 0x80;
} // namespace status

// Program state bits (stateFlags).
namespace state {
inline constexpr uint16_t ViewMask = 0x00FF;
inline constexpr uint16_t Relief = 0x0100;
inline constexpr uint16_t Magnifier = 0x0200;
inline constexpr uint16_t Append = 0x0400;
inline constexpr uint16_t Busy = 0x0800;
inline constexpr uint16_t VolumeStale = 0x1000;
inline constexpr uint16_t DataChanged = 0x2000;
inline constexpr uint16_t Changed = 0x3000;
inline constexpr uint16_t CoordFileOpen = 0x4000;
} // namespace state

// Kinds of the file being opened.
namespace kind {
inline constexpr uint8_t None = 255;
inline constexpr uint8_t DeviceRecording = 1; // .geo
inline constexpr uint8_t Segy = 2;            // .sgy, .segy (below 16: zero level and gains reset)
inline constexpr uint8_t BitPlane = 3;        // .mr3
inline constexpr uint8_t MirnGpr = 215;       // .gpr
inline constexpr uint8_t MirnGeb = 216;       // .geb
} // namespace kind

// Reads and writes big-endian integers spread over consecutive value bytes.
template <std::size_t N> struct CellArray {
    std::array<uint8_t, N> value{};
    std::array<uint8_t, N> work{};

    uint8_t get8(int c) const { return value[c]; }
    void set8(int c, uint8_t v) { value[c] = v; }
    uint16_t get16(int c) const { return uint16_t((value[c] << 8) | value[c + 1]); }
    uint32_t get24(int c) const {
        return (uint32_t(value[c]) << 16) | (uint32_t(value[c + 1]) << 8) | value[c + 2];
    }
    uint32_t get32(int c) const { return (uint32_t(value[c]) << 24) | get24(c + 1); }
    void set16(int c, uint32_t v) {
        value[c] = uint8_t(v >> 8);
        value[c + 1] = uint8_t(v);
    }
    void set24(int c, uint32_t v) {
        value[c] = uint8_t(v >> 16);
        set16(c + 1, v);
    }
    void set32(int c, uint32_t v) {
        value[c] = uint8_t(v >> 24);
        set24(c + 1, v);
    }
};

struct FrameRecord : CellArray<CELLS_PER_FRAME> {
    uint8_t status() const { return value[cell::Status]; }
    int markerStatus() const { return value[cell::Status] & status::MarkerMask; }
    bool inProfile() const { return value[cell::Status] & status::InProfile; }
    uint32_t reliefHeight() const { return get24(cell::ReliefHeight); }
    // Cells 512..527 repeat sample 511, as every loader leaves them.
    void fillRowsFromLastSample() {
        for (int c = SAMPLES_PER_FRAME; c < SAMPLE_ROWS; ++c)
            value[c] = value[SAMPLES_PER_FRAME - 1];
    }
};

// Header cells with a fixed meaning.
namespace hdr {
inline constexpr int DeviceType = 5;
inline constexpr int Day = 7;
inline constexpr int Month = 8;
inline constexpr int Year = 9;
inline constexpr int Hour = 10;
inline constexpr int Minute = 11;
inline constexpr int FormatVersion = 12;
inline constexpr int FrameCount = 16;    // u16
inline constexpr int TimeRange = 18;     // ComboBox11
inline constexpr int Step = 19;          // ComboBox12
inline constexpr int VelocityIndex = 20; // ComboBox10
inline constexpr int VelocityCode = 21;  // u16
inline constexpr int ColourMode = 23;    // ComboBox28
inline constexpr int Filter1Kind = 24;   // ComboBox20, then L T X: 25..27
inline constexpr int Filter2Kind = 28;   // ComboBox21, then L T X: 29..31
inline constexpr int ViewFlags = 32;
inline constexpr int OptionFlags = 33;
inline constexpr int AmplitudeFlags = 34;
inline constexpr int AmplitudeForm = 35; // ComboBox18
inline constexpr int ZeroGainMode = 36;  // ComboBox19
inline constexpr int ZeroLevel = 37;
inline constexpr int GainLevel1 = 38;
inline constexpr int GainLevel2 = 39;
inline constexpr int GainPos1 = 40; // u16
inline constexpr int GainPos2 = 42; // u16
inline constexpr int GainRange = 44;
inline constexpr int Antenna = 45;    // ComboBox13
inline constexpr int DepthStep = 46;  // ComboBox15
inline constexpr int LevelTable = 47; // ComboBox29
inline constexpr int CoordFlags = 48;
inline constexpr int VolumeInterp = 49;    // ComboBox51
inline constexpr int ProfileDistance = 50; // ComboBox52
inline constexpr int Section = 51;         // ComboBox54
inline constexpr int Hmax = 61;            // u24
inline constexpr int LayerColour = 80;     // 9 x (blue, green, red)

// viewFlags bits
inline constexpr uint8_t ViewStepMask = 0x07;
inline constexpr uint8_t ZeroLine = 0x20; // CheckBox2
inline constexpr uint8_t Function = 0x40; // CheckBox4
inline constexpr uint8_t English = 0x80;  // CheckBox1
// optionFlags bits
inline constexpr uint8_t ShowParameters = 0x20; // CheckBox11
inline constexpr uint8_t ShowFilters = 0x10;    // CheckBox12
inline constexpr uint8_t Show3D = 0x08;         // CheckBox13
// amplitudeFlags bits
inline constexpr uint8_t Inversion = 0x10;  // CheckBox22
inline constexpr uint8_t Highlight = 0x20;  // CheckBox23
inline constexpr uint8_t ProcessAll = 0x40; // CheckBox52
inline constexpr uint8_t Background = 0x80; // CheckBox21
// coordFlags bits
inline constexpr uint8_t CoordPanelExpanded = 0x10;
inline constexpr uint8_t Geographic = 0x20; // CheckBox74 checked: positions in degrees
inline constexpr uint8_t South = 0x40;      // RadioGroup_Lat item 1
inline constexpr uint8_t West = 0x80;       // RadioGroup_Lon item 1
} // namespace hdr

inline constexpr uint8_t CURRENT_FORMAT_VERSION = 23;

inline void setBit(uint8_t& cellValue, uint8_t bit, bool on) {
    cellValue = on ? uint8_t(cellValue | bit) : uint8_t(cellValue & ~bit);
}

// The colour of one layer entry (0x00BBGGRR as the palettes use it).
struct LayerColour {
    uint8_t red = 0, green = 0, blue = 0;
};
inline constexpr int LAYER_COLOUR_ENTRIES = 9;

struct SurveyHeader : CellArray<HEADER_CELLS> {
    // Layer colour entry 0..8, kept as blue, green, red from cell 80 on.
    LayerColour layerColour(int entry) const {
        const int c = hdr::LayerColour + 3 * entry;
        return LayerColour{value[c + 2], value[c + 1], value[c]};
    }
    void setLayerColour(int entry, LayerColour colour) {
        const int c = hdr::LayerColour + 3 * entry;
        value[c] = colour.blue;
        value[c + 1] = colour.green;
        value[c + 2] = colour.red;
    }
    // The nine layer colours back to their start values.
    void resetLayerColours();
    // Sets every value byte to its start value and presets the bitmap file
    // header template in the work bytes of cells 0..26.
    void setStartValues();
    // Writes the 54-byte BMP file header + BITMAPINFOHEADER of a 24-bit
    // picture of the given size: work byte k holds byte k of the template.
    void setBitmapTemplate(int width, int height);
};

// Soil velocity (ComboBox10 items 1..19), code = Vgr x 100, Vgr in cm/ns.
inline constexpr std::array<uint16_t, 20> VELOCITY_TABLE = {500, 1500, 1000, 950, 900, 850, 800,
                                                            750, 700,  650,  600, 550, 500, 450,
                                                            400, 350,  300,  250, 200, 167};

class ProfileStore {
  public:
    ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    FrameRecord& frame(int slot) { return frames_[slot]; }
    const FrameRecord& frame(int slot) const { return frames_[slot]; }
    FrameRecord* frames() { return frames_.get(); }
    const FrameRecord* frames() const { return frames_.get(); }

    // Back to the start-up state: header start values, empty slots, no file.
    void reset();
    // Clears slots 0..CLEARED_ON_OPEN: work bytes always, value bytes unless appending.
    void clearForOpen(bool append);
    // Normalisation after every frame loader: in-profile flags and positions,
    // merged markers, relief maximum, frameCount rounded up with blank slots.
    void finishLoad();
    void setVelocity(uint16_t code);
    void setHmax(uint32_t centimetres);

    SurveyHeader header;
    int frameCount = 0; // highest slot in use, 0..MAX_FRAME_INDEX
    int32_t viewStart = 0;
    uint8_t deviceType = 0;
    uint16_t velocityCode = 500;
    uint16_t hodographVelocity = 500; // ComboBox10 item 0 ("Годограф")
    double permittivity = 0.0;
    uint32_t Hmax = 0;
    uint8_t fileKind = kind::None;
    uint16_t stateFlags = state::Changed;
    int64_t openFileSize = 0;
    std::string currentFileName;
    std::string openFileName;
    std::string coordFileName;
    std::string captionDate;
    std::string captionTime;

  private:
    std::unique_ptr<FrameRecord[]> frames_;
};

// Permittivity shown for a velocity code: Round(2.25e8 / code^2) / 100.
double permittivityFor(uint16_t velocityCode);

} // namespace tesk
