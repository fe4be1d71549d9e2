#include "interpretation/depth_section.h"

#include "display/raster_fill.h"
#include "interpretation/overlay_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tesk {

namespace {

constexpr int LAST_DRAWN_ROW = 510;
constexpr int LAST_TARGET_ROW = SAMPLES_PER_FRAME - 1;
constexpr int MAX_START_ROW = 512;

// Mean of the codes with data among source rows lo..hi; 0 when none has data.
uint8_t meanCode(const uint8_t* src, int lo, int hi) {
    int sum = 0, n = 0;
    for (int i = lo; i <= hi; ++i)
        if (src[i] != 0) {
            sum += src[i];
            ++n;
        }
    if (n == 0) return 0;
    return uint8_t(std::nearbyint(double(sum) / n));
}

SectionTrace convertTrace(const uint8_t* src, uint8_t* dst, const DepthSectionSettings& s) {
    SectionTrace trace;
    const BoundaryRows b = boundaryRows(src);
    const double w = s.windowFactor > 0 ? s.windowFactor : 1.0;

    // Thickness of each layer in stored rows: from the deepest boundary
    // above it to its own; a boundary out of order ends no layer.
    std::array<int, LAYERS + 1> t{};
    int above = 0;
    for (int k = 1; k <= BOUNDARIES; ++k) {
        const int bk = b[std::size_t(k - 1)];
        if (bk > above) {
            t[std::size_t(k)] = bk - above;
            above = bk;
        }
    }
    t[LAYERS] = std::max(0, LAST_TARGET_ROW - above);

    const uint32_t height = (uint32_t(src[cell::ReliefHeight]) << 16) |
                            (uint32_t(src[cell::ReliefHeight + 1]) << 8) |
                            src[cell::ReliefHeight + 2];
    const int s0 = s.relief.on ? std::clamp(s.relief.rows(height), 0, MAX_START_ROW) : 0;

    double sourceTop = s0, targetTop = s0;
    int d = s0;           // next target row
    uint8_t lastCode = 0; // the last source code read
    bool sourceEnded = false;
    for (int k = 1; k <= LAYERS && !sourceEnded; ++k) {
        const std::size_t i = std::size_t(k);
        if (t[i] <= 0) continue;
        if (k > 1 && std::nearbyint(targetTop) >= LAST_DRAWN_ROW) break;
        const int vs = layerCode(src, k);
        const double R = (vs > 0 && s.referenceCode > 0) ? double(s.referenceCode) / vs : 1.0;
        const double sourceLength = t[i] / w;
        const double targetLength = t[i] / (R * w);
        const int yTop = int(std::nearbyint(targetTop));
        const int yBottom = int(std::nearbyint(targetTop + targetLength));
        trace.drawn[i] = true;
        trace.top[i] = yTop;
        if (k == LAYERS || yBottom > LAST_DRAWN_ROW) {
            trace.bottom[i] = LAST_DRAWN_ROW;
        } else {
            trace.bottom[i] = yBottom;
            trace.tick[i] = true;
        }
        // Target rows of this layer, each taking the source rows it stands for.
        for (; d < yBottom && d <= LAST_TARGET_ROW; ++d) {
            const double p = sourceTop + (d - targetTop) * R;
            int lo = int(std::floor(p + 1e-9));
            int hi = R > 1 ? std::max(lo, int(std::ceil(p + R - 1e-9)) - 1) : lo;
            if (lo >= SAMPLE_ROWS) {
                sourceEnded = true;
                break;
            }
            lo = std::max(lo, 0);
            hi = std::min(hi, SAMPLE_ROWS - 1);
            lastCode = R > 1 ? meanCode(src, lo, hi) : src[lo];
            dst[d] = lastCode;
        }
        sourceTop += sourceLength;
        targetTop += targetLength;
    }
    // Below the last layer the trace fades out.
    for (; d <= LAST_TARGET_ROW; ++d) {
        dst[d] = lastCode;
        if (lastCode > 0) --lastCode;
    }
    return trace;
}

} // namespace

DepthSectionSettings depthSectionSettings(const SurveyHeader& h, int referenceCode) {
    DepthSectionSettings s;
    s.referenceCode = referenceCode;
    for (int k = 1; k <= LAYERS; ++k) s.colours[std::size_t(k)] = layerColour(h, k);
    return s;
}

std::vector<SectionTrace> convertDepthSection(DisplayRaster& raster,
                                              const DepthSectionSettings& s) {
    std::vector<SectionTrace> traces(static_cast<std::size_t>(FILLED_ROWS));
    for (int q = 0; q < FILLED_ROWS; ++q) {
        uint8_t* target = raster.row(0, q);
        uint8_t* source = raster.row(1, q);
        std::memcpy(source, target, DisplayRaster::COLUMNS);
        traces[std::size_t(q)] = convertTrace(source, target, s);
    }
    return traces;
}

void paintDepthSection(QImage& image, const std::vector<SectionTrace>& traces,
                       const DepthSectionSettings& s) {
    image.fill(Qt::transparent);
    const int w = image.width(), h = image.height();
    const int stride = int(image.bytesPerLine() / 4);
    auto* bits = reinterpret_cast<uint32_t*>(image.bits());
    auto put = [&](int x, int y, uint32_t argb) {
        if (x >= 0 && y >= 0 && x < w && y < h) bits[std::size_t(y) * stride + x] = argb;
    };
    const int last = std::min(int(traces.size()), DisplayRaster::FIRST_VIEW_ROW + VIEW_FRAMES);
    for (int q = DisplayRaster::FIRST_VIEW_ROW; q < last; ++q) {
        const SectionTrace& t = traces[std::size_t(q)];
        const int x = 2 * (q - DisplayRaster::FIRST_VIEW_ROW);
        for (int k = 1; k <= LAYERS; ++k) {
            const std::size_t i = std::size_t(k);
            if (!t.drawn[i] || s.colours[i] == 0) continue;
            const uint32_t argb = argbOf(s.colours[i]);
            for (int y = t.top[i]; y < t.bottom[i]; ++y) put(x, y, argb);
            if (t.tick[i])
                for (int y = t.bottom[i] - 1; y <= t.bottom[i]; ++y) {
                    put(x, y, argb);
                    put(x + 1, y, argb);
                }
        }
    }
}

} // namespace tesk
