// Relief: the scale and rows, the relief line and its picture, mouse
// editing, smoothing and the absolute height.

#include "coordinates/relief.h"
#include "coordinates_test_support.h"

namespace tesk::testing {
namespace {

using coords::ReliefEditor;
using coords::ReliefView;

TEST(Relief, ScaleAndRows) {
    // Velocity code 500, 1 ns per row, stretch 1: 5 cm of height per row.
    EXPECT_DOUBLE_EQ(coords::reliefScale(500, 1, 1), 5);
    EXPECT_DOUBLE_EQ(coords::reliefScale(1000, 0.5, 1.25), 6.25);
    EXPECT_EQ(coords::reliefRow(10000, 9000, 5), 200);
    EXPECT_EQ(coords::reliefRow(10000, 9987, 5), 3); // 2.6 -> 3
    EXPECT_EQ(coords::reliefRow(10000, 9988, 5), 2); // 2.4 -> 2
    EXPECT_EQ(coords::reliefRow(10000, 9990, 4), 2); // 2.5 -> 2, half to even
    EXPECT_EQ(coords::reliefRow(10000, 9986, 4), 4); // 3.5 -> 4
    EXPECT_EQ(coords::reliefRow(10000, 0, 5), 2000); // no height: Href / K rows
    EXPECT_EQ(coords::reliefRow(10000, 10500, 5), -100);
}

// Frames 0..511 with heights 9000 + 2 i, frame 100 without a height.
void reliefSurvey(ProfileStore& s) {
    demo::fillTimedSurvey(s, {600}, 10);
    for (int i = 0; i < 600; ++i) s.frame(i).set24(cell::ReliefHeight, 9000 + 2 * uint32_t(i));
    s.frame(100).set24(cell::ReliefHeight, 0);
    s.setHmax(12000);
}

TEST(Relief, LineAndReference) {
    auto s = newStore();
    reliefSurvey(*s);
    // Reference Hmax (CheckBox70 unchecked): frame 50 at (12000 - 9100) / 5 = 580 rows.
    ReliefView v = coords::reliefView(*s, 0, false, 5);
    EXPECT_EQ(v.reference, 12000u);
    auto pts = coords::reliefLine(*s, v);
    ASSERT_EQ(pts.size(), 512u);
    EXPECT_EQ(pts[50].x, 100);
    EXPECT_EQ(pts[50].y, 580);
    EXPECT_TRUE(pts[50].hasHeight);
    EXPECT_FALSE(pts[100].hasHeight);
    EXPECT_EQ(pts[100].y, 2400);
    // Reference Hwin: the highest frame on screen (frame 512, 10024 cm) hangs at row 0.
    v = coords::reliefView(*s, 0, true, 5);
    EXPECT_EQ(v.reference, 10024u);
    pts = coords::reliefLine(*s, v);
    EXPECT_EQ(pts[511].y, 0); // (10024 - 10022) / 5 = 0.4 -> 0
    // Scrolling changes the reference.
    EXPECT_EQ(coords::reliefView(*s, 80, true, 5).reference, 9000u + 2 * 592);
}

// Whether a pixel of the colour lies within one pixel of (x, y).
bool colourNear(const QImage& img, int x, int y, uint32_t colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.pixel(x + dx, y + dy) == colour) return true;
    return false;
}

TEST(Relief, LinePicture) {
    auto s = newStore();
    reliefSurvey(*s);
    QImage img;
    // Reference 10000 cm, 5 cm per row: frame k at row (1000 - 2 k) / 5 = 200 - 0.4 k.
    coords::RLF_Lin(img, *s, ReliefView{0, 10000, 5});
    ASSERT_EQ(img.width(), 1024);
    ASSERT_EQ(img.height(), 512);
    EXPECT_EQ(img.pixel(0, 0), 0xFF000000u); // black frame
    EXPECT_EQ(img.pixel(1023, 300), 0xFF000000u);
    EXPECT_EQ(img.pixel(500, 300), 0x00000000u);                // transparent elsewhere
    EXPECT_TRUE(colourNear(img, 50, 190, coords::RELIEF_CYAN)); // frame 25 at row 190
    EXPECT_TRUE(colourNear(img, 600, 80, coords::RELIEF_CYAN)); // frame 300 at row 80
    // Frame 100 has no height: the yellow segment into it drops from row 160
    // (frame 99, x 198) to row 2000 (x 200), the cyan one climbs back at x 200..202.
    EXPECT_TRUE(colourNear(img, 198, 300, coords::RELIEF_YELLOW));
    EXPECT_TRUE(colourNear(img, 202, 300, coords::RELIEF_CYAN));
    EXPECT_FALSE(colourNear(img, 202, 300, coords::RELIEF_YELLOW));
}

TEST(Relief, DrawingAndFlattening) {
    auto s = newStore();
    reliefSurvey(*s);
    const ReliefView v{0, 10000, 5};
    ReliefEditor e;
    e.mouseDown(ReliefEditor::Button::Left, 100, 100);
    EXPECT_TRUE(e.mouseMove(*s, v, 110, 150));
    // Frames 50..55 from row 100 to row 150: h = 10000 - 5 row.
    for (int f = 50; f <= 55; ++f)
        EXPECT_EQ(s->frame(f).reliefHeight(), uint32_t(10000 - 5 * (100 + 10 * (f - 50)))) << f;
    EXPECT_EQ(s->frame(49).reliefHeight(), 9098u);
    EXPECT_EQ(s->frame(56).reliefHeight(), 9112u);
    // Moving within the same frame does nothing.
    EXPECT_FALSE(e.mouseMove(*s, v, 111, 400));
    EXPECT_EQ(e.mouseUp(*s), "Hmax = 120m");

    // The right button flattens the frames it passes to Hmax (the remembered one excluded).
    e.mouseDown(ReliefEditor::Button::Right, 200, 50);
    e.mouseMove(*s, v, 210, 50);
    for (int f = 101; f <= 105; ++f) EXPECT_EQ(s->frame(f).reliefHeight(), 12000u) << f;
    EXPECT_EQ(s->frame(100).reliefHeight(), 0u);
    e.mouseUp(*s);

    // Below the reference the height is 0; above 0xFFFFF the top bits are dropped.
    e.mouseDown(ReliefEditor::Button::Left, 300, 500);
    e.mouseMove(*s, ReliefView{0, 100, 5}, 302, 500);
    EXPECT_EQ(s->frame(151).reliefHeight(), 0u);
    e.mouseDown(ReliefEditor::Button::Left, 400, 1);
    e.mouseMove(*s, ReliefView{0, 0x200005, 5}, 402, 1);
    EXPECT_EQ(s->frame(201).reliefHeight(), 0u); // 0x200000 keeps only 0x00000
}

TEST(Relief, SmoothingInPlace) {
    auto s = newStore();
    demo::fillTimedSurvey(*s, {5}, 10);
    const uint32_t h[] = {300, 300, 600, 300, 300};
    for (int i = 0; i < 5; ++i) s->frame(i).set24(cell::ReliefHeight, h[i]);
    s->frameCount = 4;
    coords::smoothRelief(*s, true);
    EXPECT_EQ(s->frame(2).reliefHeight(), 600u);
    coords::smoothRelief(*s, false);
    const uint32_t expected[] = {300, 400, 433, 344, 300};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s->frame(i).reliefHeight(), expected[i]) << i;
}

TEST(Relief, ModeAndWindowItems) {
    EXPECT_EQ(coords::reliefModeState(0x0808), 0x3100);
    EXPECT_EQ(coords::reliefModeState(0x3108), 0x0100);
    EXPECT_EQ(coords::reliefModeState(0x4008), 0x7100); // the coordinate file stays open
    // 512 x 0.5 ns = 256 ns, times 0.625 = 160; 512 x 0.25 x 0.875 = 112.
    EXPECT_EQ(coords::windowItemCaption(0.5, 1), "    160  ns");
    EXPECT_EQ(coords::windowItemCaption(0.25, 3), "    112  ns");
}

TEST(Relief, AbsoluteHeight) {
    auto s = newStore();
    EXPECT_EQ(coords::absoluteHeightFromText(*s, "12  "), 1200u);
    EXPECT_EQ(s->header.get24(hdr::Hmax), 1200u);
    EXPECT_EQ(coords::absoluteHeightFromText(*s, ""), 0u);
    EXPECT_EQ(coords::absoluteHeightFromText(*s, "123456"), 1234u);
    EXPECT_TRUE(coords::absoluteHeightKey('7'));
    EXPECT_FALSE(coords::absoluteHeightKey('a'));
}

} // namespace
} // namespace tesk::testing
