#include "display/radargram.h"

#include "display/raster_fill.h"

namespace tesk {

namespace {
// The area around the picture takes the window's colour.
constexpr QRgb BACKGROUND = 0xFFC0DCC0;

inline QRgb toRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}
} // namespace

Radargram::Radargram()
    : picture(IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_RGB32),
      overlay(IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_ARGB32_Premultiplied) {
    picture.fill(BACKGROUND);
    overlay.fill(Qt::transparent);
    recolour();
}

ProcessingSettings processingFromHeader(const SurveyHeader& h) {
    ProcessingSettings p;
    p.filter1 = FilterRow{h.value[24], h.value[25], h.value[26], h.value[27]};
    p.filter2 = FilterRow{h.value[28], h.value[29], h.value[30], h.value[31]};
    return p;
}

void paintRadargram(QImage& picture, const DisplayRaster& raster, const DisplaySettings& s,
                    const Palettes& p, Point origin) {
    const ColumnPainter painter(s, p);
    ColumnColours colours;
    const int stride = int(picture.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<QRgb*>(picture.bits());
    const int w = picture.width(), h = picture.height();
    for (int i = 0; i < DisplayRaster::VIEW_ROWS; ++i) {
        painter.paint(raster.row(0, DisplayRaster::FIRST_VIEW_ROW + i), colours);
        const int x = origin.x + 2 * i;
        if (x < 0 || x + 1 >= w) continue;
        for (int k = 0; k < COLUMN_ROWS; ++k) {
            const int y = origin.y + k;
            if (y < 0 || y >= h) continue;
            QRgb* px = bits + std::size_t(y) * stride + x;
            px[0] = px[1] = toRgb(colours[std::size_t(k)]);
        }
    }
}

bool processRaster(Radargram& r, const ProfileStore& s, const ProcessingSettings& p,
                   bool textExport) {
    if (p.additionItem > 0) {
        AdditionSettings a;
        a.profiles = p.additionItem + 1;
        a.method = p.additionMethod;
        a.thresholdItem = p.thresholdItem;
        if (!fillRasterWithAddition(r.raster, s, s.viewStart, a, r.settings.LevelTable,
                                    r.settings.levelTableIndex))
            return false;
    } else if (p.relief.on) {
        fillRasterRelief(r.raster, s, s.viewStart, p.relief.stretch);
    } else {
        fillRaster(r.raster, s, s.viewStart);
    }
    if (p.relief.on) {
        r.reliefWindowMaximum = reliefWindowMaximum(s, s.viewStart);
        const uint32_t reference = p.relief.absolute ? r.reliefWindowMaximum : s.Hmax;
        shiftRasterForRelief(r.raster, s, s.viewStart, reference, s.velocityCode, p.relief.nsPerRow,
                             p.relief.stretch);
    }
    if (p.interpretation.beforeFilters) p.interpretation.beforeFilters(r.raster);
    filterRadargram(r.raster, p.filter1, p.filter2, r.settings.LevelTable);
    r.raster.activePlane = 0;
    const bool zeroGain =
        textExport ? zeroGainNeededForTextExport(r.settings) : zeroGainNeeded(r.settings);
    if (zeroGain) ZeroGain(r.raster, r.settings);
    if (p.interpretation.afterProcessing) p.interpretation.afterProcessing(r.raster);
    return true;
}

bool GRAF(Radargram& r, const ProfileStore& s, const ProcessingSettings& p, Point origin) {
    if (!processRaster(r, s, p)) return false;
    paintRadargram(r.picture, r.raster, r.settings, r.palettes, origin);
    return true;
}

} // namespace tesk
