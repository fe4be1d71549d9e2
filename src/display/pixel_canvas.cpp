#include "display/pixel_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace tesk {

PixelCanvas::PixelCanvas(QImage& image)
    : bits_(reinterpret_cast<QRgb*>(image.bits())), stride_(int(image.bytesPerLine() / 4)),
      width_(image.width()), height_(image.height()) {}

void PixelCanvas::fill(uint32_t bgr) {
    const QRgb c = opaqueRgb(bgr);
    for (int y = 0; y < height_; ++y)
        std::fill_n(bits_ + std::size_t(y) * std::size_t(stride_), width_, c);
}

void PixelCanvas::column(int x, int y1, int y2, uint32_t bgr) {
    if (x < 0 || x >= width_) return;
    y1 = std::max(y1, 0);
    y2 = std::min(y2, height_ - 1);
    const QRgb c = opaqueRgb(bgr);
    for (int y = y1; y <= y2; ++y)
        bits_[std::size_t(y) * std::size_t(stride_) + std::size_t(x)] = c;
}

void PixelCanvas::square(int x, int y, uint32_t bgr, int width) {
    const int x0 = x - width / 2;
    const int y0 = y - width / 2;
    for (int dy = 0; dy < width; ++dy)
        for (int dx = 0; dx < width; ++dx) put(x0 + dx, y0 + dy, bgr);
}

// Bresenham's walk from the start to the end point; the end point itself is
// not painted.
void PixelCanvas::stroke(int x1, int y1, int x2, int y2, uint32_t bgr, int width, int every) {
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    const int steps = std::max(dx, dy);
    int err = (dx > dy ? dx : -dy) / 2;
    int x = x1;
    int y = y1;
    for (int i = 0; i < steps; ++i) {
        if (i % every == 0) {
            if (width == 1)
                put(x, y, bgr);
            else
                square(x, y, bgr, width);
        }
        const int e = err;
        if (e > -dx) {
            err -= dy;
            x += sx;
        }
        if (e < dy) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace tesk
