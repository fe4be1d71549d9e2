#include "commands/overview.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace tesk {

namespace {

// Distance of a code from zero amplitude, 0 for no data: the larger wins.
constexpr std::array<uint8_t, 256> rankTable() {
    std::array<uint8_t, 256> r{};
    for (int c = 1; c < 256; ++c) r[std::size_t(c)] = uint8_t((c > 128 ? c - 128 : 128 - c) + 1);
    return r;
}
constexpr std::array<uint8_t, 256> RANK = rankTable();

inline QRgb toRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

} // namespace

OverviewSettings overviewSettingsFromStore(const ProfileStore& s, int width) {
    OverviewSettings o;
    o.width = width;
    loadDisplaySettings(s.header, o.display);
    return o;
}

uint8_t extremeCode(const uint8_t* codes, int count) {
    uint8_t best = 0, rank = 0;
    for (int i = 0; i < count; ++i)
        if (RANK[codes[i]] > rank) {
            rank = RANK[codes[i]];
            best = codes[i];
        }
    return best;
}

QImage renderOverview(const ProfileStore& s, const OverviewSettings& o) {
    const int frames = s.frameCount + 1;
    const int width = std::clamp(o.width, 1, frames);
    QImage image(width, COLUMN_ROWS, QImage::Format_RGB32);
    Palettes palettes;
    ReColor3D(palettes, o.display);
    const ColumnPainter painter(o.display, palettes);
    const bool gain = zeroGainNeeded(o.display);
    std::array<uint8_t, SAMPLE_ROWS> best{}, rank{};
    ColumnColours colours;
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    const std::size_t stride = std::size_t(image.bytesPerLine() / 4);
    for (int x = 0; x < width; ++x) {
        const int first = int(int64_t(x) * frames / width);
        const int end = int(int64_t(x + 1) * frames / width);
        best.fill(0);
        rank.fill(0);
        for (int f = first; f < end; ++f) {
            const uint8_t* codes = s.frame(f).value.data();
            for (int j = 0; j < SAMPLE_ROWS; ++j) {
                const uint8_t r = RANK[codes[j]];
                // Branch-free so the loop vectorises: keep the larger rank.
                const bool take = r > rank[std::size_t(j)];
                rank[std::size_t(j)] = take ? r : rank[std::size_t(j)];
                best[std::size_t(j)] = take ? codes[j] : best[std::size_t(j)];
            }
        }
        if (gain)
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
                best[std::size_t(j)] = zeroGainCode(o.display, best[std::size_t(j)], j);
        painter.paint(best.data(), colours);
        for (int k = 0; k < COLUMN_ROWS; ++k)
            bits[std::size_t(k) * stride + std::size_t(x)] = toRgb(colours[std::size_t(k)]);
    }
    return image;
}

} // namespace tesk
