#pragma once
// The three file formats of the Mirn device family and the device-options
// panel Panel_26 that configures the two 12-bit readers:
//
//   .mr3  bit-plane file: three bit planes per frame, three level bytes
//   .gpr  12-bit samples in groups of 32 reading pairs on two channels
//   .geb  12-bit samples with a sampling frequency, resampled to the time grid
//
// Every reader fills whole frame records into the store, from slot 0 or, when
// appending, from frameCount, and never writes past slot MAX_LOADED_FRAME.
// Frames decoded before the end of the file or a read fault stay loaded.
//
// What the caller does around a reader (the frame-load frame-work of the
// open command):
//   before: for .geb, hasMirnMagic() (and the E022 message when it fails)
//           before anything is cleared; set fileKind (3, 215, 216) and
//           openFileName; clearForOpen(append).
//   after:  finishLoad(); viewStart = 0 unless appending (an appended .geb
//           has already moved viewStart to its first slot); the messages of
//           the report; the display refresh. The .cor companion of a .geb
//           survey is not offered here.
// The readers show nothing and ask no question; the interaction only hears
// their progress. Their report: the count field as frames declared (.gpr:
// the field minus 1) and a count above 63999 as clamped, the amplitude width
// of a .geb file when it is not 12, the slot limit, a header or frame cut
// short, a read fault.

#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/load_report.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

// --- device options (Panel_26) ---------------------------------------------

// The settings of the device-options panel as item indices and check states.
// Every field starts at the control's start value. Out-of-range items are
// brought into range by the readers (see clampedDeviceOptions).
struct DeviceOptions {
    int startDelayItem = 0;     // ComboBox61: item i is a start delay of i ns (0 .. 2048)
    int samplingModeItem = 0;   // ComboBox62: .geb sampling mode 0 .. 2
    int channelItem = 1;        // ComboBox63: .gpr channel 1, channel 2, their mean
    int probeLevelItem = 142;   // ComboBox64 ("Уровень зонда"): reading taken, 0 .. 255
    bool singleReading = false; // CheckBox59 ("Сложение"): one reading per .gpr group
    int frameAreaItem = 0;      // ComboBox66: .gpr frame area at offset 142 or 122
    int hiddenItem46 = 142;     // ComboBox46 (hidden, "0" .. "2048"): read by no reader
};

// The controls of Panel_26 whose items the window fills from the lists below.
enum class DeviceControl { ComboBox61, ComboBox62, ComboBox63, ComboBox64, ComboBox66, ComboBox46 };

// The item texts of a control, in order (ComboBox61: "0 ns" .. "2048 ns";
// ComboBox64: "0" .. "255"; ComboBox46: "0" .. "2048").
std::vector<std::string> deviceOptionItems(DeviceControl c);
// The item selected at start-up.
int deviceOptionStartItem(DeviceControl c);

namespace deviceItems {
inline constexpr int StartDelayCount = 2049; // ComboBox61
inline constexpr std::array<const char*, 3> SamplingModes = {
    "  Выборка       64", "  Усреднение 42", "  Накопление 24"}; // ComboBox62
inline constexpr std::array<const char*, 3> Channels = {" 1  Канал  Грубый", " 2  Канал  Точный",
                                                        " 3  Канал  Сумма"}; // ComboBox63
inline constexpr int ProbeLevelCount = 256;                                  // ComboBox64
inline constexpr std::array<const char*, 2> FrameAreas = {"  ED  01  8E",
                                                          "  ED  02  7A"}; // ComboBox66
inline constexpr std::array<int, 2> FrameAreaOffsets = {142, 122};
inline constexpr int Hidden46Count = 2049; // ComboBox46
// Captions on the panel.
inline constexpr const char* SingleReadingCaption = "Сложение";   // CheckBox59
inline constexpr const char* ProbeLevelCaption = "Уровень зонда"; // label of ComboBox64
inline constexpr const char* PanelCheckBoxCaption = "АЦП";        // CheckBox15, shows Panel_26
} // namespace deviceItems

// The options with every item brought into its control's range (items below
// 0 become 0, items past the last become the last).
DeviceOptions clampedDeviceOptions(const DeviceOptions& o);

// --- 12-bit sample words ------------------------------------------------------

// The offset level (0 .. 4095, zero amplitude 2048) of a .geb sample word:
// words above 0x7FF are negative, their magnitude (65536 - w) taken modulo
// 2048 so that sign-extended and plain 12-bit words read alike. A magnitude
// of 0 modulo 2048 is the most negative reading, -2048: it gives level 0, not
// the zero amplitude that the bare modulo would make of a full-scale
// negative sample.
constexpr uint32_t gebLevel(uint16_t w) {
    // Both forms, then a mask instead of a branch: the sign of noisy samples
    // is unpredictable, and this runs for every sample of a survey.
    const uint32_t negative = 2048u - (((65536u - w - 1u) & 0x7FFu) + 1u);
    const uint32_t positive = (uint32_t(w) + 2048u) & 0xFFFu;
    const uint32_t mask = 0u - uint32_t(w > 0x7FF);
    return (negative & mask) | (positive & ~mask);
}
// The offset level of a .gpr reading: words with a high byte of 0xF0 or more
// are negative, 2048 - (65536 - w), and level 0 from a magnitude of 2048 on
// (the full-scale negative reading included); other words are w + 2048,
// which can exceed 4095 and then gives code 255.
constexpr uint32_t gprLevel(uint16_t w) {
    if (w >= 0xF000) {
        const uint32_t m = 65536u - w;
        return m >= 2048 ? 0u : 2048u - m;
    }
    return uint32_t(w) + 2048u;
}

// --- readers ------------------------------------------------------------------

inline constexpr int MIRN_MAGIC_SUM = 310; // byte sum of "MIRN"

// The .geb magic test of the open command: the first four bytes add up to
// 310. Cheap; run it before clearing anything.
bool hasMirnMagic(ByteSource& src);

// .mr3: fileKind 3. The device options are not used.
LoadReport readMr3File(ByteSource& src, bool append, ProfileStore& store,
                       const DeviceOptions& options, Interaction& ui);
// .gpr: fileKind 215.
LoadReport readGprFile(ByteSource& src, bool append, ProfileStore& store,
                       const DeviceOptions& options, Interaction& ui);
// .geb: fileKind 216. Appending moves viewStart to the first appended slot.
LoadReport readGebFile(ByteSource& src, bool append, ProfileStore& store,
                       const DeviceOptions& options, Interaction& ui);

// The amplitude code of an .mr3 level byte.
uint8_t mr3LevelCode(uint8_t b);

// Messages of the device-family readers.
namespace msg {
Message frameCountOver64000(); // .geb and .gpr count field above 63999 (error box)
Message amplitudeWidthBelow12();
Message amplitudeWidthAbove12();
} // namespace msg

} // namespace tesk
