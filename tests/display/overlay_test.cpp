// The radargram overlay: depth scale rows, readouts, caption and frame.

#include "display/overlay.h"
#include "display/view_state.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace tesk {
namespace {

// Text drawing needs the toolkit's font machinery.
void ensureApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "overlay_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

ProfileStore& store() {
    static ProfileStore s;
    return s;
}

struct DepthCase {
    int velocityCode;
    int antennaCm;
    double nsPerRow;
    int depthStepCm;
    bool zeroLine;
    std::vector<int> rows; // first rows of the scale
};

class DepthScale : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DepthScale, RowsFollowTheTravelTimeThroughTheAntennaGap) {
    const DepthCase c = GetParam();
    ProfileStore& s = store();
    s.setVelocity(uint16_t(c.velocityCode));
    OverlaySettings o;
    o.antennaCm = c.antennaCm;
    o.nsPerRow = c.nsPerRow;
    o.depthStepCm = c.depthStepCm;
    o.zeroLine = c.zeroLine;
    const auto marks = depthScale(s, o);
    ASSERT_GE(marks.size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i) EXPECT_EQ(marks[i].row, c.rows[i]) << i;
    EXPECT_LE(marks.back().row, 510);
}

// v = 10 cm/ns, A = 100 cm: a = 50, t0 = 3.333, z0 = 5 - 3.333 = 1.667.
// Unchecked: t(h) = sqrt(h^2 + 2500) / 10 - 5: h = 100 -> 6.18, 200 -> 15.62.
// Checked: the offset is not removed, every time is 1.667 ns later.
INSTANTIATE_TEST_SUITE_P(
    Cases, DepthScale,
    ::testing::Values(DepthCase{1000, 100, 1.0, 100, false, {0, 6, 15, 25}},
                      DepthCase{1000, 100, 1.0, 100, true, {1, 7, 17, 27}},
                      DepthCase{1000, 0, 0.5, 50, false, {0, 10, 20, 30}},
                      DepthCase{500, 0, 2.0, 1000, false, {0, 100, 200, 300, 400, 500}}));

TEST(DepthScaleStops, AtTheBottomOfThePicture) {
    ProfileStore& s = store();
    s.setVelocity(1000);
    OverlaySettings o;
    o.antennaCm = 0;
    o.nsPerRow = 1.0;
    o.depthStepCm = 1000; // 100 ns per step: rows 0, 100 ... 500
    EXPECT_EQ(depthScale(s, o).size(), 6u);
}

TEST(Overlay, FrameCornerReadoutsAndCaption) {
    ensureApp();
    ProfileStore& s = store();
    s.reset();
    for (int i = 0; i < 100; ++i) {
        s.frame(i).value.fill(0);
        for (int j = 0; j < 512; ++j) s.frame(i).value[j] = 100;
    }
    s.frame(7).value[cell::Hour] = 9;
    s.frame(7).value[cell::Minute] = 5;
    s.frame(7).value[cell::Second] = 30;
    s.frame(7).value[cell::Hundredths] = 4;
    s.frame(7).set32(cell::UcsX, 123456);
    s.frame(7).set32(cell::UcsY, 789);
    s.frame(7).set24(cell::ReliefHeight, 15020);
    s.frameCount = 100;
    s.finishLoad();
    s.setVelocity(1000);
    s.currentFileName = "/data/a.gem";
    s.captionDate = "     14.05.24";
    s.viewStart = 0;
    ViewState v;
    v.cursorColumn = 7;
    v.cursorRow = 200;
    OverlaySettings o;
    o.stepCm = 5;
    o.antennaCm = 0;
    o.nsPerRow = 1.0;
    QImage img(IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_ARGB32_Premultiplied);
    const Readouts r = DrawView(img, s, v, o);
    EXPECT_EQ(r.staticText1, "7");
    EXPECT_EQ(r.staticText2, "35"); // 7 frames of 5 cm
    EXPECT_EQ(r.staticText3, "200");
    EXPECT_EQ(r.staticText4, "2000"); // 200 ns at 10 cm/ns, no antenna gap
    EXPECT_FALSE(r.distanceInMetres);
    EXPECT_EQ(r.caption, "Tesk  /data/a.gem     14.05.24   09:05:30.04   X=123456   Y=789   "
                         "H=15020  cm");
    EXPECT_EQ(img.pixel(48, 48), qRgb(0, 0, 0x80));
    EXPECT_EQ(img.pixel(IMAGE_WIDTH - 1, IMAGE_HEIGHT - 5), qRgb(0xFF, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(400, 400)), 0);
    // Distance in metres once the step reaches 1 m.
    o.stepCm = 150;
    const Readouts m = DrawView(img, s, v, o);
    EXPECT_TRUE(m.distanceInMetres);
    EXPECT_EQ(m.staticText2, "10"); // 7 * 150 cm = 10.5 m, rounded half to even
}

TEST(ScaleNumber, AtMostTwoDecimals) {
    EXPECT_EQ(scaleNumber(0), "0");
    EXPECT_EQ(scaleNumber(1.5), "1.5");
    EXPECT_EQ(scaleNumber(2.25), "2.25");
    EXPECT_EQ(scaleNumber(9.0), "9");
    EXPECT_EQ(scaleNumber(0.333333), "0.33");
}

// --- navigation --------------------------------------------------------------

class Navigation : public ::testing::Test {
  protected:
    void SetUp() override {
        ProfileStore& s = store();
        s.reset();
        // Profiles at 0..99, 120..299, 320..999.
        for (int i = 0; i < 1000; ++i) {
            const bool gap = (i >= 100 && i < 120) || (i >= 300 && i < 320);
            s.frame(i).value.fill(0);
            if (!gap) s.frame(i).value[0] = 50;
        }
        s.frameCount = 1000;
        s.finishLoad();
    }
};

TEST_F(Navigation, NextAndPrevious) {
    const ProfileStore& s = store();
    EXPECT_EQ(nextViewStart(s, 0, 0, {}), 20);
    EXPECT_EQ(nextViewStart(s, 0, 6, {}), 500);
    EXPECT_EQ(nextViewStart(s, 49400, 2, {}), 49480);
    EXPECT_EQ(nextViewStart(s, 49480, 2, {}), 49480);
    EXPECT_EQ(nextViewStart(s, 10, 7, {}), 120) << "by profile";
    EXPECT_EQ(nextViewStart(s, 10, 0, {true, false}), 120) << "left Shift jumps by profile";
    EXPECT_EQ(nextViewStart(s, 10, 0, {false, true}), s.frameCount - 510);
    EXPECT_EQ(nextViewStart(s, 10, 0, {true, true}), 10);
    EXPECT_EQ(nextViewStart(s, 330, 7, {}), s.frameCount + 1) << "no further profile";
    EXPECT_EQ(previousViewStart(s, 150, 2, {}), 50);
    EXPECT_EQ(previousViewStart(s, 50, 2, {}), 0);
    EXPECT_EQ(previousViewStart(s, 200, 7, {}), 120);
    EXPECT_EQ(previousViewStart(s, 310, 7, {}), 120) << "from a gap, back to that profile's start";
    EXPECT_EQ(previousViewStart(s, 500, 0, {false, true}), 0);
}

TEST_F(Navigation, TypedFrameAndPictureCells) {
    ProfileStore& s = store();
    s.frameCount = 13000;
    EXPECT_EQ(typedViewStart(s, "12345"), 12340);
    EXPECT_EQ(typedViewStart(s, "1"), 10000);
    EXPECT_EQ(typedViewStart(s, ""), 0);
    EXPECT_EQ(typedViewStart(s, "99999"), 13000);
    ViewState v;
    int c = -1, r = -1;
    EXPECT_TRUE(pictureCell(v, {50 + 1021, 50 + 511}, c, r));
    EXPECT_EQ(c, 510);
    EXPECT_EQ(r, 511);
    EXPECT_FALSE(pictureCell(v, {50 + 1022, 60}, c, r));
    EXPECT_FALSE(pictureCell(v, {49, 60}, c, r));
    EXPECT_FALSE(pictureCell(v, {60, 50 + 512}, c, r));
}

} // namespace
} // namespace tesk
