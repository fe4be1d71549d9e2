#pragma once
// What an interactive overlay shows, as plain shapes in the pixels of the
// 1024 x 512 image that lies over the radargram (one frame is two pixel
// columns, one sample one pixel row): polylines, single pixels and texts.
// The methods build a drawing; paintOverlay turns it into the transparent
// image. Tests read the shapes directly.

#include "display/view_state.h"

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

inline constexpr int OVERLAY_WIDTH = 1024;
inline constexpr int OVERLAY_HEIGHT = 512;

struct OverlayPolyline {
    uint32_t colour = 0; // 0x00BBGGRR
    int width = 1;
    std::vector<Point> points;
};

struct OverlayPixel {
    Point at;
    uint32_t colour = 0;
};

struct OverlayText {
    Point at; // top-left corner
    uint32_t colour = 0;
    std::string text;
};

struct OverlayDrawing {
    // Drawn first, before every polyline: an outline of the whole image.
    bool frameOutline = false;
    uint32_t outlineColour = 0;
    std::vector<OverlayPolyline> lines;
    std::vector<OverlayPixel> pixels;
    std::vector<OverlayText> texts;
    void clear() { *this = OverlayDrawing{}; }
};

// A transparent overlay image of the size above.
QImage newOverlayImage();

// Clears the image to transparent and paints the drawing: the outline, the
// polylines with flat ends, the texts (font "MS Sans Serif", size 8), then
// the single pixels. Shapes off the image are clipped.
void paintOverlay(QImage& image, const OverlayDrawing& drawing);

// Colours of the system are 0x00BBGGRR; Qt's are 0xAARRGGBB.
inline uint32_t argbOf(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

} // namespace tesk
