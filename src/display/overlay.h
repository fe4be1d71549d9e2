#pragma once
// The radargram's overlay: frame, distance and depth scales, grid, direction
// arrows, captions, cursor lines, and the readouts and window caption that go
// with the cursor. Drawn on a transparent image that lies over the picture.

#include "display/view_state.h"
#include "store/profile_store.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tesk {

// Size of Image1 and of its overlay: the 1024 x 512 picture at ViewOrigin
// with room for the scales and captions around it.
inline constexpr int IMAGE_WIDTH = 1160;
inline constexpr int IMAGE_HEIGHT = 600;

struct OverlaySettings {
    int stepCm = 2;              // profile step (ComboBox12)
    int velocityItem = 1;        // ComboBox10 item
    int antennaCm = 100;         // ComboBox13
    int depthStepCm = 100;       // ComboBox15
    double nsPerRow = 0.5;       // ComboBox11
    double stretch = 1.0;        // ComboBox14, relief display only
    bool zeroLine = false;       // CheckBox2 "Уровень Нуля"
    bool grid = false;           // CheckBox3 "Сетка"
    bool absoluteHeight = false; // CheckBox70
    bool reliefDisplay = false;
    bool geographic = false; // CheckBox74
    int windowHmax = 0;      // Hwin of the relief display, cm
};

// Everything the overlay needs from the window, read from its controls.
OverlaySettings overlaySettingsFromHeader(const ProfileStore& s);

// One text the overlay drew: its top-left corner, colour and wording.
struct OverlayLabel {
    int x = 0;
    int y = 0;
    uint32_t colour = 0;
    std::string text;
};

struct Readouts {
    std::string staticText1;          // frame under the cursor
    std::string staticText2;          // distance from the profile start
    std::string staticText3;          // time of the cursor row, ns
    std::string staticText4;          // depth of the cursor row, cm
    bool distanceInMetres = false;    // SpeedButton21 shows "+Lm" instead of "+Lcm"
    std::string caption;              // the window caption
    std::vector<OverlayLabel> labels; // every text drawn, in drawing order
};

// A layer of the overlay that a tool owns (markers, layers, boreholes,
// relief, coordinates), painted over the scales and under the cursor lines.
using OverlayPainter = std::function<void(QImage& overlay, const ProfileStore& s,
                                          const ViewState& v, const OverlaySettings& o)>;

// Repaints overlay (ARGB, transparent where nothing is drawn) for the
// radargram view and returns the readouts of the cursor: frame, scales and
// grid, then the painters in their order, then the cursor and its stamp.
Readouts DrawView(QImage& overlay, const ProfileStore& s, const ViewState& v,
                  const OverlaySettings& o, std::span<const OverlayPainter> painters = {});

// Number as the scales print it: at most two decimals, no trailing zeros.
std::string scaleNumber(double value);

// The depth scale: for depth i * D, the pixel row and the two-way time.
struct DepthMark {
    int depthCm;
    int row;
    double timeNs;
};
std::vector<DepthMark> depthScale(const ProfileStore& s, const OverlaySettings& o);

// First frame of the run of in-profile frames that ends at frame, walking
// back; a frame in a gap is its own start (the distance scale starts at 0).
int profileStartBackward(const ProfileStore& s, int frame);

} // namespace tesk
