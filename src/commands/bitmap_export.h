#pragma once
// The pictures of the save command ("Bmp Files"), chosen by the view:
//
//   radargram   a 24-bit BMP, 536 rows, of the composed picture: the depth
//               labels on the left, the radargram with the overlay (scales,
//               grid, captions) and the borehole and depth-section images,
//               the right scale moved next to the last frame. Either one
//               profile (the one at or after the first frame in view, at
//               most one screen of it) or, answering Yes to "Write as a single
//               file?", the whole survey at full resolution: every frame
//               0..frameCount, two pixel columns each, profiles and gaps.
//   carpet and 3D sections (views 0x20, 0x40)
//               a 32-bit BMP of the 3D drawing area as read back from GL.
//   other views nothing is written.

#include "commands/export_common.h"
#include "display/amplitude.h"
#include "display/overlay.h"
#include "display/radargram.h"
#include "display/view_state.h"
#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tesk {

inline constexpr int PICTURE_ROWS = 536;      // rows of the radargram picture
inline constexpr int PICTURE_FIRST_Y = 28;    // window row of picture row 0
inline constexpr int LEFT_STRIP_COLUMNS = 28; // depth labels left of the radargram
inline constexpr int MIN_PROFILE_FRAMES = 8;  // the narrowest one-profile picture

// The 3D drawing area as glReadPixels returns it: 32-bit pixels in blue,
// green, red, alpha order, the bottom row of the picture first.
struct ViewPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra; // width * height * 4 bytes
};

struct BitmapSettings {
    int view = view::Radargram; // low byte of stateFlags
    DisplaySettings display;
    ProcessingSettings processing;
    OverlaySettings overlay;
    ViewState viewState; // cursor, second point and line colours of the window
    // CheckBox21 "Фон" checked: the colour of no-data pixels, ComboBox32 +
    // 256 ComboBox33 + 65536 ComboBox34 (0x00BBGGRR).
    std::optional<uint32_t> background;
    // The answer to "Write as a single file?" when it is known beforehand
    // (batch use); asked through the interaction when empty.
    std::optional<bool> singleFile;
    InterpretationLayers* layers = nullptr; // borehole and depth-section images
    const ViewPixels* viewPixels = nullptr; // views 0x20 and 0x40
    // What the window draws with besides the settings: its working palettes
    // (null: built from `display`) and the overlay layers of its tools
    // (markers, layers, boreholes, relief, coordinates) in their order.
    const Palettes* palettes = nullptr;
    std::vector<OverlayPainter> painters;
};

// The settings the survey header and stateFlags keep, for batch exports.
BitmapSettings bitmapSettingsFromStore(const ProfileStore& s);

// Writes the picture of the view. For the radargram the view moves to the
// start of the profile pictured (one-profile picture) and stays there; the
// whole-survey picture leaves viewStart as it was. Shows "nothing to write"
// when the view has no picture to give: a view other than the radargram and
// the two 3D pictures, no frame with data at or after viewStart (one
// profile) or in the survey (whole survey), no pixels read back.
ExportResult writeBitmap(ByteSink& sink, ProfileStore& s, const BitmapSettings& b, Interaction& ui);

// --- pieces ------------------------------------------------------------------------

// BITMAPFILEHEADER + BITMAPINFOHEADER of an uncompressed bottom-up picture,
// 11811 pixels per metre both ways.
std::array<uint8_t, 54> bitmapFileHeader(int width, int height, int bitsPerPixel);

// Width of the one-profile picture of c frames: 1096 from 511 frames on,
// else 8 Trunc((c + 1) / 4) + 72.
int profilePictureWidth(int frames);
// Width of the whole-survey picture of n frames: the smallest multiple of 4
// that holds the left strip, the frames and the right scale (28 + 2n + 44).
int surveyPictureWidth(int frames);

// The profile a one-profile picture shows: the first frame with the
// in-profile flag at or after viewStart, and the frames from it up to the
// first frame without the flag (at least MIN_PROFILE_FRAMES).
struct ProfileSpan {
    int start = 0;
    int frames = 0;
};
std::optional<ProfileSpan> pictureProfile(const ProfileStore& s, int viewStart);

// A 24-bit picture kept as the file holds a row: blue, green, red.
struct Picture24 {
    Picture24(int w, int h) : width(w), height(h), bgr(std::size_t(w) * std::size_t(h) * 3, 0xFF) {}
    int width;
    int height;
    std::vector<uint8_t> bgr;           // rows top to bottom, width * 3 bytes each
    uint32_t pixel(int x, int y) const; // 0x00RRGGBB
    void setPixel(int x, int y, uint32_t rgb);
};

// The window's images one picture is read from: Image1, the overlay Image6
// and, when they are shown, the borehole image and the depth section, both
// lying at `origin`.
struct PictureSources {
    const QImage* picture = nullptr;
    const QImage* overlay = nullptr;
    const QImage* borehole = nullptr;
    const QImage* depthSection = nullptr;
    std::optional<uint32_t> background; // 0x00BBGGRR, see BitmapSettings
    Point origin{50, 50};
};

// The one-profile picture of c frames composed from the window's images.
Picture24 composeProfilePicture(const PictureSources& src, int frames);

// The 54-byte header and the rows from the bottom up.
bool writePicture24(ByteSink& sink, const Picture24& picture);

// The 32-bit picture of the 3D drawing area; false when the sink fails.
bool writeViewPixels(ByteSink& sink, const ViewPixels& pixels);

} // namespace tesk
