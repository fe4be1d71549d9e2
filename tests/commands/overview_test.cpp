// The whole-survey overview: which code a column keeps for the frames it
// covers, how frames are shared out among the columns, and the zero/gain
// stage and palette it is painted with.

#include "support/store_test_support.h"

#include "commands/overview.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesk::testing {
namespace {

TEST(Overview, AColumnKeepsTheCodeFarthestFromZeroAmplitude) {
    struct Case {
        std::vector<uint8_t> codes;
        uint8_t extreme;
    };
    const Case cases[] = {
        {{128, 130, 120}, 120},                   // 8 below beats 2 above
        {{0, 0, 0}, 0},                           // no data anywhere
        {{0, 129, 0}, 129},                       // no data never wins over data
        {{128, 128}, 128},      {{200, 56}, 200}, // equal distance: the first
        {{1, 255}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(extremeCode(c.codes.data(), int(c.codes.size())), c.extreme);
}

uint32_t colourOf(const DisplaySettings& d, uint8_t code) {
    Palettes p;
    ReColor3D(p, d);
    const ColumnPainter painter(d, p);
    const uint32_t bgr = painter.cellColour(code, code, 0);
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

TEST(Overview, FramesAreSharedOutAmongTheColumns) {
    StorePtr s = newStore();
    s->frameCount = 8; // nine frames 0..8
    // Sample 0: frame f holds 128 + f, except frame 4 (a gap).
    for (int f = 0; f <= 8; ++f) {
        if (f == 4) continue;
        s->frame(f).value.fill(0);
        for (int j = 0; j < SAMPLE_ROWS; ++j) s->frame(f).value[std::size_t(j)] = uint8_t(128 + f);
    }
    OverviewSettings o = overviewSettingsFromStore(*s, 3);
    o.display.amplitudeForm = form::Amplitude;
    const QImage image = renderOverview(*s, o);
    ASSERT_EQ(image.width(), 3);
    ASSERT_EQ(image.height(), 512);
    // Columns cover frames 0..2, 3..5 and 6..8: the largest code in each.
    EXPECT_EQ(image.pixel(0, 0), colourOf(o.display, 130));
    EXPECT_EQ(image.pixel(1, 100), colourOf(o.display, 133));
    EXPECT_EQ(image.pixel(2, 511), colourOf(o.display, 136));
    // Never more columns than frames.
    o.width = 100;
    EXPECT_EQ(renderOverview(*s, o).width(), 9);
    EXPECT_EQ(renderOverview(*s, o).pixel(4, 0), 0xFF000000u) << "the gap frame: no data, black";
}

TEST(Overview, ColumnsPassTheZeroGainStage) {
    StorePtr s = newStore();
    s->frameCount = 1;
    for (int f = 0; f <= 1; ++f)
        for (int j = 0; j < SAMPLE_ROWS; ++j) s->frame(f).value[std::size_t(j)] = 150;
    OverviewSettings o = overviewSettingsFromStore(*s, 1);
    o.display.zeroGainMode = gainMode::ZeroLevelMode;
    o.display.ZeroLevel = 100;
    // 150 above a zero level of 100: 127 + Trunc(128 x 50 / 155) = 168.
    EXPECT_EQ(renderOverview(*s, o).pixel(0, 10), colourOf(o.display, 168));
}

} // namespace
} // namespace tesk::testing
