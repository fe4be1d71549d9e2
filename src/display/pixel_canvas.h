#pragma once
// Pixel drawing on a 32-bit QImage with the conventions of the system's
// drawing surfaces: colours are 0x00BBGGRR, a line drawn "from A to B"
// paints A and every pixel up to B but not B itself (so a polyline paints
// each joint once and leaves only its last point), a dotted line paints one
// pixel in three starting at A, and a wider pen paints a square of its width
// around every pixel of the thin line. Pixels off the image are dropped.
//
// The A-scan picture, the marker flags and the magnifier draw their lines
// pixel by pixel: they are redrawn with every pointer move and must be cheap
// and exactly predictable.

#include <QImage>
#include <cstdint>

namespace tesk {

// 0x00BBGGRR as an opaque QRgb (0xAARRGGBB), and back.
constexpr QRgb opaqueRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}
constexpr uint32_t bgrOf(QRgb rgb) {
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

class PixelCanvas {
  public:
    // The image must be 32 bits per pixel (RGB32 or ARGB32, premultiplied or
    // not: every colour drawn is opaque).
    explicit PixelCanvas(QImage& image);

    int width() const { return width_; }
    int height() const { return height_; }

    void put(int x, int y, uint32_t bgr) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            bits_[std::size_t(y) * std::size_t(stride_) + std::size_t(x)] = opaqueRgb(bgr);
    }
    uint32_t at(int x, int y) const {
        return bgrOf(bits_[std::size_t(y) * std::size_t(stride_) + std::size_t(x)]);
    }

    // Every pixel of the image in one colour.
    void fill(uint32_t bgr);
    // The solid line from (x1, y1) towards (x2, y2), the end point left out.
    void line(int x1, int y1, int x2, int y2, uint32_t bgr) { stroke(x1, y1, x2, y2, bgr, 1, 1); }
    // The same line with one pixel in three painted, from the start point on.
    void dottedLine(int x1, int y1, int x2, int y2, uint32_t bgr) {
        stroke(x1, y1, x2, y2, bgr, 1, 3);
    }
    // A line of a wider pen: a width x width square around each pixel of the
    // thin line (columns x - width / 2 .. x - width / 2 + width - 1, rows alike).
    void wideLine(int x1, int y1, int x2, int y2, uint32_t bgr, int width) {
        stroke(x1, y1, x2, y2, bgr, width, 1);
    }
    // A vertical run of pixels from y1 to y2 inclusive (a fast path for the
    // legend and the picture columns).
    void column(int x, int y1, int y2, uint32_t bgr);

  private:
    void stroke(int x1, int y1, int x2, int y2, uint32_t bgr, int width, int every);
    void square(int x, int y, uint32_t bgr, int width);

    QRgb* bits_;
    int stride_;
    int width_;
    int height_;
};

} // namespace tesk
