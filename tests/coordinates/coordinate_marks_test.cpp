// The position and height flags under the radargram, pixel by pixel.

#include "coordinates/coordinate_marks.h"
#include "coordinates_test_support.h"

#include <set>

namespace tesk::testing {
namespace {

using Pixels = std::set<std::pair<int, int>>; // (column offset, row below the picture top)

TEST(CoordinateMarks, FlagsOfPositionsAndHeightsPixelByPixel) {
    auto s = newStore();
    s->frame(110).set32(cell::UcsY, 7);             // a position only
    s->frame(120).set24(cell::ReliefHeight, 250);   // a height only
    s->frame(130).value[cell::LatFraction + 2] = 1; // the last position cell counts
    s->frame(140).value[cell::VolumeSlot] = 9;      // a cell before UCS X does not
    QImage im(1160, 600, QImage::Format_ARGB32);
    im.fill(Qt::transparent);
    coords::paintCoordinateMarks(im, *s, 100, 50, 50, true, true);
    // The red flag: staff rows 506..512, strokes 3, 5, 5, 3 pixels wide on
    // rows 507..510; the green one: staff 513..519, strokes on 515..518.
    Pixels up, down;
    for (int y = 506; y <= 512; ++y) up.insert({0, y});
    for (int y = 513; y <= 519; ++y) down.insert({0, y});
    for (int dx = -2; dx <= 2; ++dx) {
        const bool narrow = dx >= -1 && dx <= 1;
        for (int y : {508, 509}) up.insert({dx, y});
        for (int y : {516, 517}) down.insert({dx, y});
        if (narrow) {
            for (int y : {507, 510}) up.insert({dx, y});
            for (int y : {515, 518}) down.insert({dx, y});
        }
    }
    const QRgb red = qRgb(0x55, 0, 0), green = qRgb(0, 0x55, 0);
    const Pixels none;
    struct Column {
        int frame;
        const Pixels& red;
        const Pixels& green;
    };
    for (const Column& c : {Column{110, up, none}, Column{120, none, down}, Column{130, up, none},
                            Column{140, none, none}}) {
        const int x = 50 + 2 * (c.frame - 100);
        for (int dx = -3; dx <= 3; ++dx)
            for (int y = 500; y <= 522; ++y) {
                const QRgb want = c.red.count({dx, y})     ? red
                                  : c.green.count({dx, y}) ? green
                                                           : QRgb(0);
                EXPECT_EQ(im.pixel(x + dx, 50 + y), want)
                    << "frame " << c.frame << " dx " << dx << " row " << y;
            }
    }
    // An unticked part draws nothing.
    im.fill(Qt::transparent);
    coords::paintCoordinateMarks(im, *s, 100, 50, 50, false, true);
    EXPECT_EQ(im.pixel(70, 50 + 510), 0u);
    EXPECT_EQ(im.pixel(90, 50 + 516), green);
}

} // namespace
} // namespace tesk::testing
