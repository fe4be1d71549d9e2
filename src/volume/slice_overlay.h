#pragma once
// The decoration of the plane-slice screen, drawn on a transparent image
// over the three slice images: frames, distance and depth scales, grids,
// axis sketches, titles, the traces of the other sections, the profile
// tracks and markers of the volume, and the numeric readouts of the section
// positions.
//
// Coordinates are relative to the screen origin (X0, Y0): the X-Y plane
// occupies X0 .. X0 + 511, the first section panel X0 + 600 .. X0 + 1111 and
// the second X0 + 1200 .. X0 + 1711, all from Y0 to Y0 + 511.

#include "display/overlay.h"
#include "store/profile_store.h"
#include "volume/plane_slices.h"
#include "volume/volume_grid.h"

#include <QImage>
#include <string>
#include <vector>

namespace tesk {

// An overlay image that holds the whole screen with its labels, for the
// origin (50, 50).
inline constexpr int SLICE_OVERLAY_WIDTH = 1800;
inline constexpr int SLICE_OVERLAY_HEIGHT = 620;

struct SliceOverlaySettings {
    int x0 = 50, y0 = 50; // ViewOrigin
    int layout = section_layout::TX;
    bool english = false;        // CheckBox1
    bool grid = false;           // CheckBox3 "Сетка"
    bool tracks = false;         // CheckBox6: profile tracks
    bool markers = false;        // ComboBox17 on item 1
    bool geographic = false;     // CheckBox74
    bool absoluteHeight = false; // CheckBox70
    bool reliefDisplay = false;
    double stretch = 1.0; // ComboBox14, relief display only
    double nsPerRow = 1.0;
    int profileStepCm = 2; // ComboBox12: metres from 100 cm on
    int depthStepCm = 100; // ComboBox15
    int antennaCm = 100;   // ComboBox13
    bool zeroLine = false; // CheckBox2
    uint32_t cursorColour = 0xFFFFFF;
    uint32_t gridColour = 0x888888;
};

struct SliceOverlayReadouts {
    std::string staticText1, staticText2; // X0 and its distance
    std::string staticText3, staticText4; // time (ns) and depth (cm) of T0
    std::string staticText5, staticText6; // Y0 and its distance
    bool xInMetres = false;               // SpeedButton21 "+Lm" rather than "+Lcm"
    bool yInMetres = false;               // SpeedButton25
    std::vector<OverlayLabel> labels;     // every text drawn, in drawing order
};

// Repaints the overlay (ARGB, transparent where nothing is drawn) and
// returns the readouts. The store gives the velocity and Hmax.
SliceOverlayReadouts drawSliceOverlay(QImage& overlay, const ProfileStore& s, const VolumeGrid& g,
                                      const SectionParameters& p, const SliceOverlaySettings& o);

// A section position as the titles and readouts show it: Round(cm) + "cm",
// or Round(cm / 100) + "m" when the profile step is 100 cm or more.
std::string sectionDistance(double cm, int profileStepCm);

} // namespace tesk
