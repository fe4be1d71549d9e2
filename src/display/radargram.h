#pragma once
// The radargram chain from the store to the picture: fill the raster with
// the frames around the view (or with profiles added), run the two filter
// stages and the zero/gain stage, and paint the 512 frames in view.

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/filters.h"
#include "display/overlay.h"
#include "display/palettes.h"
#include "display/view_state.h"
#include "store/profile_store.h"

#include <QImage>
#include <functional>

namespace tesk {

// The relief display (bit 0x100 of stateFlags): traces stretched by the
// ComboBox14 factor and hung from the reference height, the window maximum
// with CheckBox70 checked, else Hmax.
struct ReliefDisplay {
    bool on = false;
    double stretch = 1.0;  // ComboBox14 factor, 0.5 .. 2.0
    bool absolute = false; // CheckBox70: reference is the window maximum
    double nsPerRow = 1.0; // ComboBox11: nanoseconds per sample row
};

// Stages that the interpretation tools put into the chain; an empty stage
// does nothing, so the chain runs as before without them.
struct InterpretationStages {
    // After the fill and the relief shift, before the filters: the depth
    // section re-samples every trace of plane 0 layer by layer.
    std::function<void(DisplayRaster&)> beforeFilters;
    // After the zero/gain stage, plane 0 as it is painted: the boundary
    // overlay snaps to it and the layer pictures are repainted.
    std::function<void(const DisplayRaster&)> afterProcessing;
};

// Processing chosen in the option panel besides the amplitude settings.
struct ProcessingSettings {
    ReliefDisplay relief;
    FilterRow filter1;      // ComboBox20, ComboBox22..24
    FilterRow filter2;      // ComboBox21, ComboBox25..27
    int additionItem = 0;   // ComboBox40: 0 none, 1..3 for 2..4 profiles
    int additionMethod = 0; // ComboBox41: addition, multiply, subtract
    int thresholdItem = 0;  // ComboBox42: threshold 32 - 4 * item
    InterpretationStages interpretation;
};

// Filter settings as the survey header keeps them.
ProcessingSettings processingFromHeader(const SurveyHeader& h);

// Everything one radargram view owns: the raster, the amplitude settings,
// the palettes and the two images.
struct Radargram {
    Radargram();
    DisplayRaster raster;
    DisplaySettings settings;
    Palettes palettes;
    QImage picture; // Image1
    QImage overlay; // Image6, transparent
    // Largest relief height (cm) among the frames in view, found by the last
    // redraw in the relief display.
    uint32_t reliefWindowMaximum = 0;

    // Rebuilds the working palettes; returns the font colour of ComboBox18.
    uint32_t recolour() { return ReColor3D(palettes, settings); }
    void selectLevelTable(int index) { tesk::selectLevelTable(settings, index); }
    void loadSettings(const ProfileStore& s) {
        loadDisplaySettings(s.header, settings);
        recolour();
    }
    void storeSettings(ProfileStore& s) const { storeDisplaySettings(settings, s.header); }
};

// The processing half of the chain on plane 0: fill (or profile addition),
// in the relief display the stretched fill and the shift from the reference
// height, the interpretation stage before the filters, filter 1, filter 2,
// then the zero/gain stage when its settings call for it, and the
// interpretation stage after processing.
// The text-table export runs the same steps with its stricter zero/gain
// condition (textExport): in the gain modes every gain setting must differ
// from its default. Returns false, with the raster untouched, when profile
// addition finds no partner profile to add. The active plane ends at 0.
bool processRaster(Radargram& r, const ProfileStore& s, const ProcessingSettings& p,
                   bool textExport = false);

// The radargram chain: processRaster, then the 512 frames in view painted
// into the picture. Returns false (and leaves the picture as it was) when
// profile addition finds no partner profile to add.
bool GRAF(Radargram& r, const ProfileStore& s, const ProcessingSettings& p, Point origin);

// Paints rows 20..531 of plane 0 into the picture at origin, two pixel
// columns per frame.
void paintRadargram(QImage& picture, const DisplayRaster& raster, const DisplaySettings& s,
                    const Palettes& p, Point origin);

} // namespace tesk
