#include "coordinates/coordinate_marks.h"

#include <algorithm>

namespace tesk::coords {

namespace {

constexpr int FRAMES_IN_VIEW = 512;

bool carriesPosition(const FrameRecord& f) {
    return std::any_of(f.value.begin() + cell::UcsX, f.value.begin() + cell::LatFraction + 3,
                       [](uint8_t v) { return v != 0; });
}

// One flag: a staff from row top to row top + 6 and four strokes, each row
// given by its offset from y0 and its half width.
struct Stroke {
    int row;
    int left;
    int right; // inclusive
};

void flag(QImage& im, int x, int staffTop, const Stroke (&strokes)[4], QRgb colour) {
    auto put = [&](int px, int py) {
        if (px >= 0 && py >= 0 && px < im.width() && py < im.height()) im.setPixel(px, py, colour);
    };
    for (int y = staffTop; y < staffTop + 7; ++y) put(x, y);
    for (const Stroke& s : strokes)
        for (int px = x + s.left; px <= x + s.right; ++px) put(px, s.row);
}

} // namespace

void paintCoordinateMarks(QImage& overlay, const ProfileStore& s, int32_t viewStart, int x0, int y0,
                          bool positions, bool heights) {
    if (!positions && !heights) return;
    const QRgb red = qRgb(0x55, 0, 0), green = qRgb(0, 0x55, 0);
    const Stroke up[4] = {
        {y0 + 507, -1, 1}, {y0 + 508, -2, 2}, {y0 + 509, -2, 2}, {y0 + 510, -1, 1}};
    const Stroke down[4] = {
        {y0 + 515, -1, 1}, {y0 + 516, -2, 2}, {y0 + 517, -2, 2}, {y0 + 518, -1, 1}};
    for (int i = 0; i < FRAMES_IN_VIEW; ++i) {
        const int64_t frame = int64_t(viewStart) + i;
        if (frame < 0 || frame > MAX_FRAME_INDEX) continue;
        const FrameRecord& f = s.frame(int(frame));
        const int x = x0 + 2 * i;
        if (positions && carriesPosition(f)) flag(overlay, x, y0 + 506, up, red);
        if (heights && f.reliefHeight() != 0) flag(overlay, x, y0 + 513, down, green);
    }
}

} // namespace tesk::coords
