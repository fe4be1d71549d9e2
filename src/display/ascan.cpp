#include "display/ascan.h"

#include "display/pixel_canvas.h"
#include "display/radargram.h"
#include "display/raster_fill.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

constexpr int LAST_COLUMN = ASCAN_WIDTH - 1;

// The legend's vertical line for code x from row `from` towards row `to`
// (the end row left out, as every line of the picture).
void legendLine(PixelCanvas& c, int x, int from, int to, uint32_t colour) {
    c.column(x, from, to - 1, colour);
}

// Blue wedge at the left end, red wedge at the right end: the sign of the
// extremum marks of colour modes 6 and 7.
void extremumSign(PixelCanvas& c) {
    for (int a = 0; a <= 8; ++a) {
        legendLine(c, 247 + a, 521 - a, 524 + a, colour::Red);
        legendLine(c, a, 513 + a, 532 - a, colour::Blue);
    }
}

void polyline2(PixelCanvas& c, std::initializer_list<Point> points, uint32_t colour) {
    const Point* prev = nullptr;
    for (const Point& p : points) {
        if (prev) c.wideLine(prev->x, prev->y, p.x, p.y, colour, 2);
        prev = &p;
    }
}

// The legend strip: the colours the picture gives each code. The palette is
// indexed with the code as drawn, so that with the inversion on the legend
// still shows the colour each code of the curve's axis is painted in.
void drawLegend(PixelCanvas& c, const DisplaySettings& s, const Palettes& p) {
    const bool derivative = s.amplitudeForm == form::Derivative;
    const int mode = std::clamp(s.colourMode, 0, 7);
    auto drawn = [&](int code) { return s.inversion ? invertCode(uint8_t(code)) : uint8_t(code); };

    if (mode <= 4) {
        for (int x = 0; x < 256; ++x) {
            const int i = (drawn(x) >> mode) << mode;
            if (derivative) {
                legendLine(c, x, 513, 521, p.RisePalette[std::size_t(i)]);
                legendLine(c, x, 523, 531, p.FallPalette[std::size_t(i)]);
            } else {
                legendLine(c, x, 513, 531, p.ViewPalette[std::size_t(i)]);
            }
        }
        if (derivative) c.line(1, 522, c.width() - 1, 522, ascan_colour::Edge);
        return;
    }
    if (mode == 5) {
        for (int x = 0; x < 256; ++x) {
            const uint8_t d = drawn(x);
            const uint32_t colour = !derivative ? p.GreyPalette[d]
                                    : d < 128   ? colour::AboveGain
                                                : colour::BelowGain;
            legendLine(c, x, 513, 531, colour);
        }
        return;
    }
    if (mode == 6) {
        for (int x = 0; x < 256; ++x) legendLine(c, x, 513, 531, p.GreyPalette[drawn(x)]);
        extremumSign(c);
        if (derivative) {
            polyline2(c, {{160, 514}, {160, 522}, {192, 522}, {192, 530}}, 0x0088CC);
            polyline2(c, {{96, 514}, {96, 522}, {64, 522}, {64, 530}}, 0x88CC00);
        }
        return;
    }
    // Mode 7.
    if (!derivative) {
        for (int x = 0; x < 256; ++x) legendLine(c, x, 513, 534, p.GreyPalette[drawn(x)]);
        extremumSign(c);
        c.wideLine(48, 514, 208, 530, 0x000099, 2);
        c.wideLine(48, 530, 208, 514, 0x990000, 2);
        return;
    }
    for (int x = 0; x < 128; ++x) {
        const uint8_t d = drawn(x);
        legendLine(c, x, 513, 522, p.RisePalette[d]);
        legendLine(c, x, 523, 532, p.FallPalette[d]);
        legendLine(c, x, 519, 526, p.GreyPalette[d]);
    }
    c.line(1, 522, 127, 522, colour::Blue);
    for (int x = 128; x < 256; ++x) {
        const uint8_t d = drawn(x);
        legendLine(c, x, 513, 532, p.GreyPalette[d]);
        legendLine(c, x, 516, 522, p.RisePalette[d]);
        legendLine(c, x, 522, 529, p.FallPalette[d]);
    }
    c.line(128, 522, 255, 522, colour::Red);
    extremumSign(c);
}

std::array<uint8_t, SAMPLES_PER_FRAME> rasterSamples(const DisplayRaster& raster, int plane,
                                                     int rasterRow) {
    std::array<uint8_t, SAMPLES_PER_FRAME> codes{};
    if (plane < 0 || plane >= DisplayRaster::PLANES || rasterRow < 0 ||
        rasterRow >= DisplayRaster::ROWS)
        return codes;
    std::memcpy(codes.data(), raster.row(plane, rasterRow), codes.size());
    return codes;
}

} // namespace

AScanTrace radargramAScanTrace(const ProfileStore& s, const DisplayRaster& raster,
                               const ViewState& v, const ReliefDisplay& relief,
                               uint32_t referenceHeight) {
    AScanTrace t;
    const int column = std::clamp(v.cursorColumn, 0, VIEW_FRAMES - 1);
    t.processed = rasterSamples(raster, 0, column + DisplayRaster::FIRST_VIEW_ROW);
    t.row = std::clamp(v.cursorRow, 0, ASCAN_CURVE_ROWS - 1);
    std::array<uint8_t, SAMPLES_PER_FRAME> stored{};
    const int64_t f = int64_t(s.viewStart) + column;
    if (f >= 0 && f <= MAX_FRAME_INDEX) {
        const FrameRecord& fr = s.frame(int(f));
        std::memcpy(stored.data(), fr.value.data(), stored.size());
        if (relief.on) {
            t.relief = true;
            t.stretch = relief.stretch > 0 ? relief.stretch : 1.0;
            t.reliefShift = reliefShiftRows(referenceHeight, fr.reliefHeight(), s.velocityCode,
                                            relief.nsPerRow, t.stretch);
        }
    }
    t.stored = stored;
    return t;
}

AScanTrace sliceAScanTrace(const DisplayRaster& raster, int plane, int rasterRow, int timeRow) {
    AScanTrace t;
    t.processed = rasterSamples(raster, plane, rasterRow);
    t.startX = 64;
    t.row = std::clamp(timeRow, 0, ASCAN_CURVE_ROWS - 1);
    return t;
}

void aScanReadouts(uint8_t code, const DisplaySettings& s, std::string& panel51,
                   std::string& panel52) {
    if (code == 0) {
        panel51 = " Am Ln ";
        panel52 = " Am Lg ";
        return;
    }
    const int64_t level = int64_t(s.LevelTable[code]) - s.LevelTableCentre;
    panel51 = " Am ln = " + std::to_string(level);
    panel52 = " Am lg = " + std::to_string(int(code) - 128);
}

AScanReadouts DrawAScan(QImage& image, const AScanTrace& t, const DisplaySettings& s,
                        const Palettes& p, uint32_t gridColour) {
    if (image.width() != ASCAN_WIDTH || image.height() != ASCAN_HEIGHT || image.depth() != 32)
        image = QImage(ASCAN_WIDTH, ASCAN_HEIGHT, QImage::Format_RGB32);
    PixelCanvas c(image);

    // Background and frame lines.
    c.fill(ascan_colour::Background);
    c.line(0, 0, ASCAN_WIDTH, 0, ascan_colour::Frame);
    c.line(0, ASCAN_HEIGHT - 1, ASCAN_WIDTH, ASCAN_HEIGHT - 1, ascan_colour::Frame);
    c.column(0, 0, ASCAN_HEIGHT - 1, ascan_colour::Frame);
    c.column(LAST_COLUMN, 0, ASCAN_HEIGHT - 1, ascan_colour::Frame);
    c.line(0, 0, ASCAN_WIDTH, 0, ascan_colour::Edge);
    c.line(0, 512, ASCAN_WIDTH, 512, ascan_colour::Edge);
    c.line(0, 532, ASCAN_WIDTH, 532, ascan_colour::Edge);
    c.dottedLine(128, 0, 128, 512, colour::Black);

    // The zero level, or the gain levels joined through their positions.
    if (s.zeroGainMode == gainMode::ZeroLevelMode) {
        c.column(s.ZeroLevel, 0, ASCAN_CURVE_ROWS - 1, ascan_colour::ZeroLevelLine);
    } else {
        const int l1 = std::clamp(s.GainLevel1, 0, 255);
        const int l2 = std::clamp(s.GainLevel2, 0, 255);
        c.line(l1, 0, l1, s.GainPos1, ascan_colour::GainLine);
        c.line(l1, s.GainPos1, l2, s.GainPos2, ascan_colour::GainLine);
        c.line(l2, s.GainPos2, l2, 511, ascan_colour::GainLine);
    }

    c.dottedLine(0, t.row, ASCAN_WIDTH, t.row, gridColour);

    // The trace as stored, then as processed and displayed.
    if (t.stored) {
        const auto& codes = *t.stored;
        Point prev{127, 0};
        for (int h = 0; h < SAMPLES_PER_FRAME; ++h) {
            Point next{codes[std::size_t(h)], h};
            if (t.relief) {
                int code = h < t.reliefShift ? 127 : codes[std::size_t(h - t.reliefShift)];
                if (code == 0) code = 1;
                next = {code, int(std::nearbyint(h / t.stretch))};
            }
            c.line(prev.x, prev.y, next.x, next.y, ascan_colour::StoredTrace);
            prev = next;
        }
    }
    Point prev{t.startX, 0};
    for (int k = 0; k < SAMPLES_PER_FRAME; ++k) {
        const uint8_t code = t.processed[std::size_t(k)];
        const Point next{code == 0 ? 128 : int(code), k};
        c.line(prev.x, prev.y, next.x, next.y, ascan_colour::ProcessedTrace);
        prev = next;
    }

    AScanReadouts r;
    aScanReadouts(t.processed[std::size_t(std::clamp(t.row, 0, 511))], s, r.panel51, r.panel52);
    r.captions = zeroGainModeCaptions(s);

    drawLegend(c, s, p);
    return r;
}

// --- clicks into the picture ---------------------------------------------------

AScanClickEffect aScanClick(const DisplaySettings& s, const QImage& image, const AScanClick& c) {
    AScanClickEffect e{s, std::nullopt, std::nullopt};
    DisplaySettings& n = e.settings;
    const int x = c.at.x;
    const int y = c.at.y;
    const int v = std::clamp(x, 0, 255);
    const int level = std::max(v, 1);
    const bool zeroMode = n.zeroGainMode == gainMode::ZeroLevelMode;

    if (c.button == MouseButton::Left && y > 511) {
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return e;
        const uint32_t picked = bgrOf(image.pixel(x, y));
        if (c.keys.leftShift) e.cursorColour = picked;
        if (c.keys.leftCtrl) e.gridColour = picked;
        return e;
    }
    if (y < 0 || y > 511) return e;
    if (c.button == MouseButton::Left) {
        if (zeroMode) {
            n.ZeroLevel = uint8_t(level);
            return e;
        }
        n.GainLevel1 = level;
        if (c.keys.leftCtrl) n.GainLevel2 = level;
        n.GainPos1 = y;
        n.GainPos2 = std::max(n.GainPos2, y);
        BuildGainCurve(n);
    } else if (c.button == MouseButton::Right) {
        if (zeroMode) {
            n.ZeroLevel = uint8_t(level);
            return e;
        }
        n.GainLevel2 = level;
        if (c.keys.leftCtrl) n.GainLevel1 = level;
        n.GainPos2 = y;
        n.GainPos1 = std::min(n.GainPos1, y);
        BuildGainCurve(n);
    }
    return e;
}

void applyAScanClick(const AScanClickEffect& e, DisplaySettings& s, ViewState& v,
                     SurveyHeader& header) {
    s = e.settings;
    if (e.cursorColour) v.cursorColour = *e.cursorColour;
    if (e.gridColour) v.gridColour = *e.gridColour;
    storeZeroGainSettings(s, header);
}

} // namespace tesk
