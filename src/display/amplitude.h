#pragma once
// Amplitude codes on their way to the picture: the display settings, the
// five stored level tables that give codes a linear amplitude scale, the
// zero-level / gain stage with its gain curve and factors, the inversion of
// codes, the step and reset operations of the zero/gain buttons and the
// exchange of the settings with the survey header.
//
// An amplitude code is an unsigned byte: 0 no data (never processed, drawn
// black), 128 zero amplitude, 1..127 negative, 129..255 positive.

#include "display/display_raster.h"
#include "store/profile_store.h"

#include <array>
#include <cstdint>
#include <string>

namespace tesk {

inline constexpr int LEVEL_TABLE_COUNT = 5; // ComboBox29 items
inline constexpr int GAIN_CURVE_SIZE = 512; // one gain level per sample index

using LevelTableValues = std::array<uint32_t, 256>;

// Items of ComboBox18.
namespace form {
inline constexpr int FineRampAmplitude = 0; // " Amplitude form /0"
inline constexpr int Amplitude = 1;         // " Amplitude form"
inline constexpr int Derivative = 2;        // " Derivative of function"
} // namespace form

// Items of ComboBox19.
namespace gainMode {
inline constexpr int ZeroLevelMode = 0; // " Level of zero"
inline constexpr int Gain1 = 1;         // " Magnify of amplitude 1"
inline constexpr int Gain2 = 2;         // " Magnify of amplitude 2"
} // namespace gainMode

// The survey-wide settings of amplitude mapping and colouring. The default
// constructor gives the start-up state: gain factors built for range 1, a
// flat gain curve at 128 and the linear table in LevelTable (although the
// level table item is 1, the table itself is only selected by the first
// change of the item or a load).
struct DisplaySettings {
    DisplaySettings();

    int zeroGainMode = gainMode::ZeroLevelMode;       // ComboBox19 item, 0..2
    uint8_t ZeroLevel = 128;                          // the code mode 0 maps to 128
    int32_t GainLevel1 = 128;                         // gain level at and before GainPos1
    int32_t GainLevel2 = 128;                         // gain level at and after GainPos2
    int32_t GainPos1 = 0;                             // sample index where the ramp starts
    int32_t GainPos2 = 511;                           // sample index where the ramp ends
    uint8_t GainRange = 1;                            // odd, 1..33: steepness of the factors
    std::array<uint8_t, GAIN_CURVE_SIZE> GainCurve{}; // gain level per sample index
    std::array<double, 256> GainFactors{};            // gain multiplier per gain level

    bool inversion = false;              // CheckBox22: codes mirrored about 128 when drawn
    int amplitudeForm = form::Amplitude; // ComboBox18 item, 0..2
    int levelTableIndex = 1;             // ComboBox29 item, 0..4
    int colourMode = 0;                  // ComboBox28 item, 0..7
    bool background = false;             // CheckBox21 "Фон": grey background of the mark modes

    // Chosen-amplitude mode (CheckBox23) and its code, stepped by
    // SpeedButton51 / SpeedButton52 within 1..255.
    bool chosenAmplitude = false;
    uint8_t chosenCode = 128;

    LevelTableValues LevelTable{}; // the selected table, copied
    int32_t LevelTableCentre = 128;
};

// --- level tables --------------------------------------------------------------

// Stored table 0..4 (0 linear, 1..4 logarithmic); every table has entry 0 = 0,
// entry 128 = its centre and strictly increasing values.
const LevelTableValues& storedLevelTable(int index);
int32_t storedLevelTableCentre(int index);

// Copies stored table `index` into LevelTable, its centre into
// LevelTableCentre and remembers the item. An index outside 0..4 selects 0.
void selectLevelTable(DisplaySettings& s, int index);

// The largest code c with table[c] <= v, stepping down from 255 (0 when even
// table[0] is above v). The averages of the filters are fractional, so v is a
// double; integer sums convert exactly.
uint8_t levelTableInverse(const LevelTableValues& table, double v);
// The smallest code n with table[n] >= v, stepping up from 0 (255 when v lies
// above the whole table), as the profile addition maps its means back.
uint8_t levelTableUpInverse(const LevelTableValues& table, double v);

// --- gain ------------------------------------------------------------------------

// Fills GainCurve from GainLevel1, GainLevel2, GainPos1 and GainPos2.
void BuildGainCurve(DisplaySettings& s);
// Fills GainFactors from GainRange.
void BuildGainFactors(DisplaySettings& s);

// The code that the zero/gain stage makes of code `a` at sample index
// `sample` (0..511) in the current zero/gain mode. Code 0 stays 0.
uint8_t zeroGainCode(const DisplaySettings& s, uint8_t a, int sample);

// Applies the zero/gain mode in place to rows 20..531, columns 0..511 of the
// raster's active plane.
void ZeroGain(DisplayRaster& raster, const DisplaySettings& s);

// Whether the radargram chain runs ZeroGain: mode 0 only when ZeroLevel is
// not 128; modes 1 and 2 when any gain setting differs from its default.
bool zeroGainNeeded(const DisplaySettings& s);
// The text-table export's stricter condition: in modes 1 and 2 all four gain
// settings must differ from their defaults.
bool zeroGainNeededForTextExport(const DisplaySettings& s);

// --- inversion ---------------------------------------------------------------------

// A non-zero code d mirrored about 128 (256 - d); 0 stays 0.
constexpr uint8_t invertCode(uint8_t d) {
    return d == 0 ? 0 : uint8_t(256 - d);
}

// --- zero/gain buttons -------------------------------------------------------------

// SpeedButton53 "<<": lowers the zero level (mode 0) or both gain levels
// (modes 1, 2); with the left Ctrl key in modes 1 and 2 narrows the gain
// range by 2 instead. Each value stops at its limit.
void stepZeroGainDown(DisplaySettings& s, bool leftCtrl);
// SpeedButton55 ">>": the same upwards (levels up to 255, range up to 33).
void stepZeroGainUp(DisplaySettings& s, bool leftCtrl);
// SpeedButton54 "0": with the left Ctrl key the gain range back to 1;
// otherwise the zero level (mode 0) or the gain levels, positions and curve
// (modes 1, 2) back to their defaults.
void resetZeroGain(DisplaySettings& s, bool leftCtrl);

// SpeedButton51 / SpeedButton52: the chosen code one lower / higher, within 1..255.
void stepChosenCodeDown(DisplaySettings& s);
void stepChosenCodeUp(DisplaySettings& s);

// Captions of the three zero/gain buttons of the A-scan panel (SpeedButton53,
// SpeedButton54, SpeedButton55), as the A-scan drawing and a change of the
// zero/gain mode set them. Mode 0: "<< ", ZeroLevel - 128, " >>". Modes 1
// and 2: "<< " followed by the smaller gain level - 128, GainRange - 1, and
// the larger gain level - 128 followed by " >>": the buttons read as the
// levels lie on the A-scan's axis, where x = 128 is zero amplitude.
struct ZeroGainCaptions {
    std::string down, reset, up;
};
ZeroGainCaptions zeroGainModeCaptions(const DisplaySettings& s);

// --- survey header -----------------------------------------------------------------

// Takes the settings from the header cells (ZeroLevel .. GainRange,
// AmplitudeForm, ZeroGainMode, LevelTable, ColourMode, the inversion and
// background bits of AmplitudeFlags), applying the validity rules of the
// work-file reader (except that a gain range of 33, which the step button
// reaches, is kept), then rebuilds GainFactors and GainCurve and selects the
// level table. The chosen-amplitude mode always comes back off.
void loadDisplaySettings(const SurveyHeader& header, DisplaySettings& s);
// Writes the same cells back (the chosen-amplitude bit included); other bits
// of the flag cell are kept.
void storeDisplaySettings(const DisplaySettings& s, SurveyHeader& header);
// Writes only the zero/gain cells: ZeroLevel, GainLevel1, GainLevel2 (low
// bytes), GainPos1, GainPos2 (two bytes each, high first) and GainRange.
void storeZeroGainSettings(const DisplaySettings& s, SurveyHeader& header);

} // namespace tesk
