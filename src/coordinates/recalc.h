#pragma once
// Recalculation of frame positions and heights (Pereschet): the gaps between
// known positions filled along the whole file, one profile or from the
// cursor to the next marker, or positions synthesised from the profile step;
// then the geographic-to-rectangular conversion, the track statistics and,
// when asked, the profile correction. Also the clearing of positions and
// heights (the recalculate button with left Ctrl held).
//
// Everything works in place on the store; questions go through Interaction,
// a No answer stops the command with what was already written kept.

#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/settings_catalog.h"

#include <array>
#include <cstdint>
#include <string>

namespace tesk::coords {

// Profile step in cm by ComboBox12 item, and the distance between profiles
// in cm by ComboBox52 item: the tables of the settings catalogue.
inline constexpr const auto& STEP_TABLE = items::STEP_TABLE_CM;
inline constexpr const auto& DISTANCE_TABLE = items::PROFILE_DISTANCE_CM;

int stepCmForItem(int stepItem);         // clamped to the table
int distanceCmForItem(int distanceItem); // clamped to the table

// ComboBox_CRD items.
enum class RecalcMode { WholeFile = 0, ProfileByMarkers = 1, ToMarker = 2, ByProfileStep = 3 };

// The controls of the coordinates panel that steer the recalculation.
struct RecalcSettings {
    RecalcMode mode = RecalcMode::WholeFile; // ComboBox_CRD
    bool coordinates = false;                // CheckBox71 "Координаты"
    bool heights = false;                    // CheckBox72 "Высота Рельефа"
    bool geographic = false;     // CheckBox74 checked: "Географические коорд."
    bool adjust = false;         // CheckBox75 "Корректировать"
    int stepItem = 1;            // ComboBox12
    int distanceItem = 9;        // ComboBox52
    int layoutItem = 2;          // ComboBox51
    int cursorFrame = 0;         // viewStart + cursor column
    char decimalSeparator = '.'; // for the Hmax caption
};

// The profile step, the distance between profiles and the layout of profiles
// as the survey header keeps them (ComboBox12, ComboBox52, ComboBox51).
void takeHeaderItems(RecalcSettings& settings, const SurveyHeader& header);

struct CorrectionResult {
    bool done = false; // false when cancelled or not run
    int stepItem = -1; // ComboBox12 item to select (the proposal when accepted)
    int stepCm = 0;    // the step the profiles were rebuilt with
    int frameCount = 0;
};

struct RecalcResult {
    // True when the recalculation ran to its end: the window then unchecks
    // CheckBox71, CheckBox72, CheckBox74 and CheckBox75, returns ComboBox_CRD
    // to item 0 and disables SpeedButton72. False after a stop.
    bool completed = false;
    uint16_t meanProfileStep = 0; // cm, kept by the window for the profile correction
    std::string hmaxCaption;      // new caption of CheckBox70
    CorrectionResult correction;  // when the profile correction ran
};

// The recalculate command without left Ctrl. meanProfileStep comes back in
// the result; ORs 0x3000 into stateFlags when it completes.
RecalcResult Pereschet(ProfileStore& store, const RecalcSettings& settings, Interaction& ui);

// --- parts of the recalculation, for the commands that run them alone --------

// Geographic positions of the in-profile frames to UCS X and Y (cm) about the
// survey's corner given by the hemisphere flags. False when a question was
// answered No.
bool convertGeographicToUcs(ProfileStore& store, Interaction& ui);

// One point of the conversion's earth model: latitude and longitude in
// degrees, height in metres; the system's own constants.
struct Geocentric {
    double x = 0, y = 0, z = 0;
};
Geocentric geocentric(double latDegrees, double lonDegrees, double heightMetres);

struct TrackStatistics {
    bool completed = false; // false when a question was answered No
    double surveyMean = 0;  // cm
    long maxStep = 0;
    int maxStepFrame = 0;
    uint32_t maxHeight = 0;
    int maxHeightFrame = 0;
    long maxHeightStep = 0;
    int maxHeightStepFrame = 0;
};
// The statistics pass with its warnings; on completion sets Hmax (and its
// header cells) and shows the report.
TrackStatistics trackStatistics(ProfileStore& store, Interaction& ui);

// RadioGroup_LatClick / RadioGroup_LonClick: item 1 sets, item 0 clears the
// southern (0x40) or western (0x80) flag of header cell 48; ORs 0x3000.
void setHemisphere(ProfileStore& store, bool latitude, int item);

// --- clearing (left Ctrl) -----------------------------------------------------

struct ClearResult {
    bool coordinates = false; // positions were cleared
    bool heights = false;     // heights (and Hmax) were cleared
};
// Asks for each checked part and clears what was confirmed over frames
// 0..frameCount; both confirmed also clears the recording times and the fix
// times. ORs 0x3000 into stateFlags.
ClearResult clearPositionsAndHeights(ProfileStore& store, bool coordinates, bool heights,
                                     Interaction& ui);

} // namespace tesk::coords
