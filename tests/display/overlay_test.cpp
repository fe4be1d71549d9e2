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

// --- labels and pixels of hand-built surveys ---------------------------------

// Two profiles: frames 0..99 and 120..699, a gap of blank frames between.
class OverlayPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApp();
        ProfileStore& s = store();
        s.reset();
        for (int i = 0; i < 720; ++i) {
            s.frame(i).value.fill(0);
            if (i < 100 || (i >= 120 && i < 700))
                for (int j = 0; j < 512; ++j) s.frame(i).value[j] = 140;
        }
        s.frameCount = 720;
        s.finishLoad();
        s.setVelocity(1000); // 10 cm/ns
        s.viewStart = 0;
        o.stepCm = 5;
        o.velocityItem = 2; // 10.00 in the velocity list
        o.antennaCm = 100;
        o.depthStepCm = 100;
        o.nsPerRow = 1.0;
        // Keep the cursor and the second point away from the checked pixels.
        v.cursorColumn = 300;
        v.cursorRow = 400;
        v.secondFrame = 350;
        v.secondRow = 450;
    }
    Readouts draw() { return DrawView(img, store(), v, o); }
    // The labels drawn at (x, y), in drawing order.
    static std::vector<std::string> at(const Readouts& r, int x, int y) {
        std::vector<std::string> out;
        for (const OverlayLabel& l : r.labels)
            if (l.x == x && l.y == y) out.push_back(l.text);
        return out;
    }
    static const OverlayLabel* find(const Readouts& r, const std::string& text) {
        for (const OverlayLabel& l : r.labels)
            if (l.text == text) return &l;
        return nullptr;
    }
    QRgb px(int x, int y) const { return img.pixel(x, y); }
    // True when some pixel of row y between x1 and x2 has colour c.
    bool rowHas(int y, int x1, int x2, QRgb c) const {
        for (int x = x1; x <= x2; ++x)
            if (px(x, y) == c) return true;
        return false;
    }
    bool rowEmpty(int y, int x1, int x2) const {
        for (int x = x1; x <= x2; ++x)
            if (qAlpha(px(x, y)) != 0) return false;
        return true;
    }
    static constexpr int X0 = 50, Y0 = 50;
    const QRgb grid = qRgb(0x88, 0x88, 0x88);
    QImage img{IMAGE_WIDTH, IMAGE_HEIGHT, QImage::Format_ARGB32_Premultiplied};
    ViewState v;
    OverlaySettings o;
};

TEST_F(OverlayPicture, DepthLabelsSitAtTheRowsOfTheirTravelTimes) {
    // v = 10 cm/ns, A = 100 cm, 1 ns per row, D = 1 m: with the surface offset
    // removed t(h) = sqrt(h^2 + 50^2) / 10 - 5, so h = 1 m -> 6.18 ns (row 6),
    // 2 m -> 15.62 ns (row 15), 3 m -> 25.41 ns (row 25).
    const Readouts r = draw();
    const struct {
        int row;
        const char* left;
        const char* right;
    } rows[] = {{0, "0 m", "0 ns"}, {6, "1", "6 ns"}, {15, "2", "16 ns"}, {25, "3", "25 ns"}};
    for (const auto& c : rows) {
        EXPECT_EQ(at(r, X0 - 25, Y0 + c.row - 7), std::vector<std::string>{c.left}) << c.row;
        EXPECT_EQ(at(r, X0 + 1032, Y0 + c.row - 7), std::vector<std::string>{c.right}) << c.row;
    }
    // Half-metre steps print their fraction: 0.5 m at sqrt(5000) / 10 - 5 = 2.07 ns.
    o.depthStepCm = 50;
    const Readouts half = draw();
    EXPECT_EQ(at(half, X0 - 25, Y0 + 2 - 7), std::vector<std::string>{"0.5"});
    EXPECT_EQ(at(half, X0 + 1032, Y0 + 2 - 7), std::vector<std::string>{"2 ns"});
}

TEST_F(OverlayPicture, AbsoluteHeightsRoundHalfToEven) {
    o.absoluteHeight = true;
    o.windowHmax = 1250; // 12.5 m at the surface
    const Readouts r = draw();
    EXPECT_EQ(at(r, X0 + 1032, Y0 - 7), std::vector<std::string>{"12 m"});      // 12.5
    EXPECT_EQ(at(r, X0 + 1032, Y0 + 6 - 7), std::vector<std::string>{"12 m"});  // 11.5
    EXPECT_EQ(at(r, X0 + 1032, Y0 + 15 - 7), std::vector<std::string>{"10 m"}); // 10.5
}

TEST_F(OverlayPicture, GridLinesFollowTheDepthScaleOnlyWithTheGridOn) {
    // Between the vertical lines at X0 + 100 and X0 + 120 only the depth
    // lines cross the picture.
    o.grid = true;
    draw();
    for (int row : {6, 15, 25}) EXPECT_TRUE(rowHas(Y0 + row, X0 + 101, X0 + 119, grid)) << row;
    for (int row : {5, 7, 14, 16}) EXPECT_TRUE(rowEmpty(Y0 + row, X0 + 101, X0 + 119)) << row;
    EXPECT_TRUE(rowEmpty(Y0, X0 + 101, X0 + 119)) << "no depth line on the top edge";
    o.grid = false;
    draw();
    for (int row : {6, 15, 25}) EXPECT_TRUE(rowEmpty(Y0 + row, X0 + 101, X0 + 119)) << row;
}

TEST_F(OverlayPicture, VerticalLinesEvery20FramesAboveFiveCmPerNs) {
    const QRgb magenta = qRgb(0xFF, 0, 0xFF);
    draw(); // 10 cm/ns: ticks every 20 px, magenta every 200
    EXPECT_EQ(px(X0 + 20, Y0 - 3), grid);
    EXPECT_EQ(px(X0 + 40, Y0 - 3), grid);
    EXPECT_EQ(px(X0 + 200, Y0 - 3), magenta);
    EXPECT_EQ(px(X0 + 1000, Y0 - 3), magenta);
    EXPECT_EQ(qAlpha(px(X0 + 20, Y0 + 100)), 0) << "ticks only, the grid is off";
    o.velocityItem = 13; // 4.50 cm/ns: every 40 px
    draw();
    EXPECT_EQ(qAlpha(px(X0 + 20, Y0 - 3)), 0);
    EXPECT_EQ(px(X0 + 40, Y0 - 3), grid);
    EXPECT_EQ(px(X0 + 400, Y0 - 3), magenta);
    o.velocityItem = 0; // the hodograph item counts as 5 cm/ns whatever it measured
    draw();
    EXPECT_EQ(qAlpha(px(X0 + 20, Y0 - 3)), 0);
    o.velocityItem = 2;
    o.grid = true;
    draw();
    bool dotted = false;
    for (int y = Y0 + 100; y < Y0 + 110; ++y) dotted |= px(X0 + 20, y) == grid;
    EXPECT_TRUE(dotted) << "with the grid on the lines run down the picture";
}

TEST_F(OverlayPicture, AxisSketchEpsilonAndCaptions) {
    const QRgb blue = qRgb(0, 0, 0xFF), maroon = qRgb(0x80, 0, 0), navy = qRgb(0, 0, 0x80);
    store().frame(300).set16(cell::ProfileNumber, 3);
    const Readouts r = draw();
    EXPECT_EQ(px(X0 + 4, Y0 - 29), blue);
    EXPECT_EQ(px(X0 + 5, Y0 - 35), blue);
    EXPECT_EQ(px(X0 + 0, Y0 - 30), blue);
    EXPECT_EQ(px(X0 - 30, Y0 - 26), maroon) << "X arrow";
    EXPECT_EQ(px(X0 - 35, Y0 - 20), navy) << "T arrow";
    EXPECT_EQ(at(r, X0 - 21, Y0 - 41), std::vector<std::string>{"X"});
    EXPECT_EQ(at(r, X0 - 43, Y0 - 19), std::vector<std::string>{"T"});
    EXPECT_EQ(at(r, X0 + 7, Y0 - 38), std::vector<std::string>{"gr. = 2.25"});
    EXPECT_EQ(at(r, X0 + 80, Y0 - 38), std::vector<std::string>{"Vgr. = 10"});
    const OverlayLabel* profile = find(r, "Profile 3");
    ASSERT_NE(profile, nullptr) << "number of the cursor frame's profile";
    EXPECT_EQ(profile->x, X0);
    EXPECT_EQ(profile->y, Y0 + 515);
    EXPECT_EQ(profile->colour, 0x000080u);
    EXPECT_EQ(find(r, "Hrf. = 0cm"), nullptr) << "relief height only in the relief display";
    // Cursor lines: white, dotted, through the cursor cell.
    bool vertical = false, horizontal = false;
    for (int d = 0; d < 6; ++d) {
        vertical |= px(X0 + 600, Y0 + 200 + d) == qRgb(0xFF, 0xFF, 0xFF);
        horizontal |= px(X0 + 700 + d, Y0 + 400) == qRgb(0xFF, 0xFF, 0xFF);
    }
    EXPECT_TRUE(vertical);
    EXPECT_TRUE(horizontal);
}

TEST_F(OverlayPicture, DistanceLabelsCountFromTheStartOfTheProfileInView) {
    struct Case {
        int viewStart;
        std::vector<std::string> first; // labels j = 0, 1, 2
    };
    // Step 5 cm: one label every 20 frames is 1 m.
    const Case cases[] = {
        {0, {"0", "1", "2"}},
        {40, {"2", "3", "4"}},        // 40 frames into profile 1: + 2 m
        {110, {"0", "1", "2"}},       // inside the gap: the scale starts at 0
        {130, {"0.5", "1.5", "2.5"}}, // 10 frames into profile 2
    };
    for (const Case& c : cases) {
        store().viewStart = c.viewStart;
        const Readouts r = draw();
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(at(r, X0 - 3 + 40 * j, Y0 - 20), std::vector<std::string>{c.first[j]})
                << c.viewStart << " j=" << j;
    }
    // Direction marks: frame viewStart + 15 + 20j recorded backwards shows "<".
    store().viewStart = 0;
    store().frame(35).value[cell::Status] |= status::Reversed;
    const Readouts r = draw();
    EXPECT_EQ(at(r, X0 + 28, Y0 - 20), std::vector<std::string>{">"});
    EXPECT_EQ(at(r, X0 + 68, Y0 - 20), std::vector<std::string>{"<"});
    store().frame(35).value[cell::Status] &= uint8_t(~status::Reversed);
}

TEST_F(OverlayPicture, DepthReadoutThroughTheAntennaGap) {
    struct Case {
        bool zeroLine;
        int row;
        const char* ns;
        const char* cm;
    };
    // a = 50 cm, v = 10 cm/ns, 1 ns per row.
    // Unchecked, row 6: t' = 6 + 5 - 3.33 = 7.67, s = (7.67 + 3.33) * 10 = 110,
    // sqrt(110^2 - 50^2) = 97.98. Checked: s = 93.33, sqrt(93.33^2 - 2500) = 78.8.
    // Row 0 checked: s = 33.3 is inside the antenna gap, depth 0. Unchecked,
    // row 10: s = (11.67 + 3.33) * 10 = 150, sqrt(150^2 - 50^2) = 141.4.
    const Case cases[] = {
        {false, 6, "6", "97"}, {true, 6, "6", "78"}, {true, 0, "0", "0"}, {false, 10, "10", "141"}};
    for (const Case& c : cases) {
        o.zeroLine = c.zeroLine;
        v.cursorRow = c.row;
        const Readouts r = draw();
        EXPECT_EQ(r.staticText3, c.ns) << c.row;
        EXPECT_EQ(r.staticText4, c.cm) << c.zeroLine << " row " << c.row;
    }
    // Distance from the profile start: frame 130 is 10 frames into profile 2;
    // a frame in the gap is 0.
    v.cursorColumn = 130;
    EXPECT_EQ(draw().staticText2, "50");
    v.cursorColumn = 105;
    EXPECT_EQ(draw().staticText2, "0");
}

TEST_F(OverlayPicture, CaptionWithGeographicCoordinates) {
    FrameRecord& f = store().frame(300);
    f.value[cell::LonDegrees] = 37;
    f.set24(cell::LonFraction, 6170000);
    f.value[cell::LatDegrees] = 55;
    f.set24(cell::LatFraction, 7500000);
    store().currentFileName = "/d/b.gem";
    store().captionDate = "     01.02.03";
    o.geographic = true;
    const Readouts r = draw();
    EXPECT_EQ(r.caption,
              "Tesk  /d/b.gem     01.02.03   00:00:00.00   X=37.6170000   Y=55.7500000   H=0  cm");
}

TEST_F(OverlayPicture, ZeroLineMovesTheScaleDownByTheSurfaceTime) {
    // v = 10 cm/ns, A = 100 cm: z0 = 50 / 10 - 100 / 30 = 1.667 ns. At 0.5 ns
    // per row the surface sits Trunc(1.667 / 0.5) = 3 rows down once the
    // offset is kept; 1 m then lies at 6.18 + 1.667 = 7.85 ns, row 15.
    o.nsPerRow = 0.5;
    const Readouts off = draw();
    EXPECT_EQ(at(off, X0 - 25, Y0 - 7), std::vector<std::string>{"0 m"});
    EXPECT_EQ(at(off, X0 + 1032, Y0 - 7), std::vector<std::string>{"0 ns"});
    EXPECT_EQ(at(off, X0 - 25, Y0 + 12 - 7), std::vector<std::string>{"1"}); // 6.18 / 0.5
    o.zeroLine = true;
    const Readouts on = draw();
    EXPECT_TRUE(at(on, X0 - 25, Y0 - 7).empty());
    EXPECT_EQ(at(on, X0 - 25, Y0 + 3 - 7), std::vector<std::string>{"0 m"});
    EXPECT_EQ(at(on, X0 + 1032, Y0 + 3 - 7), std::vector<std::string>{"2 ns"}); // 1.667
    EXPECT_EQ(at(on, X0 - 25, Y0 + 15 - 7), std::vector<std::string>{"1"});
    EXPECT_EQ(at(on, X0 + 1032, Y0 + 15 - 7), std::vector<std::string>{"8 ns"}); // 7.85
}

TEST_F(OverlayPicture, FrameRectanglesAndCornerMarkEdges) {
    const QRgb lightBlue = qRgb(0x88, 0xCC, 0xFF), navy = qRgb(0, 0, 0x80), red = qRgb(0xFF, 0, 0);
    draw();
    // Inner rectangle one pixel round the 1024 x 512 picture, outer one more.
    EXPECT_EQ(px(X0 - 1, Y0 - 1), lightBlue);
    EXPECT_EQ(px(X0 + 1023, Y0 + 511), lightBlue);
    EXPECT_EQ(px(X0 + 512, Y0 - 1), lightBlue);
    EXPECT_EQ(px(X0 - 2, Y0 - 2), navy);
    EXPECT_EQ(px(X0 + 1024, Y0 + 512), navy);
    EXPECT_EQ(px(X0 + 512, Y0 + 512), navy);
    // Corner mark: nine pixels up and nine to the left of the last pixel.
    const int W = IMAGE_WIDTH, H = IMAGE_HEIGHT;
    // Each stroke stops short of its end point: up from H - 10 to H - 2, then
    // along the bottom from W - 1 to W - 9.
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(px(W - 1, H - 1 - d), red) << d;
    for (int d = 0; d <= 8; ++d) EXPECT_EQ(px(W - 1 - d, H - 1), red) << d;
    EXPECT_EQ(qAlpha(px(W - 1, H - 11)), 0);
    EXPECT_EQ(qAlpha(px(W - 10, H - 1)), 0);
    EXPECT_EQ(qAlpha(px(W - 2, H - 2)), 0);
}

TEST_F(OverlayPicture, TicksAreFivePixelsAboveThePicture) {
    const QRgb magenta = qRgb(0xFF, 0, 0xFF);
    draw();
    for (int x : {X0 + 20, X0 + 200, X0 + 580}) {
        const QRgb c = (x - X0) % 200 == 0 ? magenta : grid;
        for (int y = Y0 - 5; y < Y0; ++y) EXPECT_EQ(px(x, y), c) << x << "," << y;
        EXPECT_EQ(qAlpha(px(x, Y0 - 6)), 0) << x;
        EXPECT_EQ(qAlpha(px(x, Y0)), 0) << "the picture's top row stays clear at " << x;
    }
}

TEST_F(OverlayPicture, TwentySixDistanceLabelsAndTwentyFiveDirectionMarks) {
    o.stepCm = 100; // one label every 20 frames is 20 m
    store().viewStart = 30;
    const Readouts r = draw();
    int labels = 0, marks = 0;
    for (const OverlayLabel& l : r.labels) {
        if (l.y != Y0 - 20) continue;
        EXPECT_EQ(l.colour, 0x000080u) << l.text;
        if (l.text == "<" || l.text == ">") {
            EXPECT_EQ((l.x - X0 - 28) % 40, 0) << l.x;
            ++marks;
        } else {
            EXPECT_EQ((l.x - X0 + 3) % 40, 0) << l.x;
            ++labels;
        }
    }
    EXPECT_EQ(labels, 26);
    EXPECT_EQ(marks, 25);
    // 30 frames into the profile: B = 3000 cm, labels 30, 50, ... 530 m.
    EXPECT_EQ(at(r, X0 - 3, Y0 - 20), std::vector<std::string>{"30"});
    EXPECT_EQ(at(r, X0 + 37, Y0 - 20), std::vector<std::string>{"50"});
    EXPECT_EQ(at(r, X0 - 3 + 1000, Y0 - 20), std::vector<std::string>{"530"});
}

TEST_F(OverlayPicture, VelocityAndPermittivityCaptionsFollowTheVelocity) {
    struct Case {
        int code;
        const char* gr;
        const char* vgr;
    };
    // eps = Round(2.25e8 / Vgr^2) / 100: 167 -> 8067.7 -> 80.68; 1500 -> 100 -> 1;
    // 650 -> 532.54 -> 5.33.
    const Case cases[] = {{167, "gr. = 80.68", "Vgr. = 1.67"},
                          {1500, "gr. = 1", "Vgr. = 15"},
                          {650, "gr. = 5.33", "Vgr. = 6.5"}};
    for (const Case& c : cases) {
        store().setVelocity(uint16_t(c.code));
        const Readouts r = draw();
        EXPECT_EQ(at(r, X0 + 7, Y0 - 38), std::vector<std::string>{c.gr}) << c.code;
        EXPECT_EQ(at(r, X0 + 80, Y0 - 38), std::vector<std::string>{c.vgr}) << c.code;
    }
}

TEST_F(OverlayPicture, ReliefDisplayStretchesTheRowsAndShowsTheHeight) {
    // A = 0, v = 10 cm/ns, 1 ns per row, D = 1 m: 1 m is 10 ns. Stretched by 2
    // a row is 2 ns, so the mark sits at row 5 instead of row 10.
    o.antennaCm = 0;
    store().frame(300).set24(cell::ReliefHeight, 4321);
    const Readouts plain = draw();
    EXPECT_EQ(at(plain, X0 - 25, Y0 + 10 - 7), std::vector<std::string>{"1"});
    EXPECT_EQ(plain.staticText3, "400");
    EXPECT_EQ(find(plain, "Hrf. = 4321cm"), nullptr);
    o.reliefDisplay = true;
    o.stretch = 2.0;
    const Readouts relief = draw();
    EXPECT_EQ(at(relief, X0 - 25, Y0 + 5 - 7), std::vector<std::string>{"1"});
    EXPECT_EQ(at(relief, X0 + 1032, Y0 + 5 - 7), std::vector<std::string>{"10 ns"});
    EXPECT_EQ(at(relief, X0 + 150, Y0 - 38), std::vector<std::string>{"Hrf. = 4321cm"});
    EXPECT_EQ(relief.staticText3, "800");  // row 400 at 2 ns
    EXPECT_EQ(relief.staticText4, "8000"); // 800 ns at 10 cm/ns, no antenna gap
    store().frame(300).set24(cell::ReliefHeight, 0);
}

TEST_F(OverlayPicture, CursorAndSecondPointLinesInTheirColours) {
    const QRgb white = qRgb(0xFF, 0xFF, 0xFF), yellow = qRgb(0xFF, 0xFF, 0),
               green = qRgb(0, 0xFF, 0);
    auto column = [&](int x, int y1, int y2, QRgb c) {
        for (int y = y1; y <= y2; ++y)
            if (px(x, y) == c) return true;
        return false;
    };
    // Second point at frame 350, row 450: x = X0 + 700 while the view starts at 0.
    draw();
    EXPECT_TRUE(column(X0 + 700, Y0 + 100, Y0 + 106, yellow));
    EXPECT_TRUE(rowHas(Y0 + 450, X0 + 100, X0 + 106, yellow));
    EXPECT_TRUE(column(X0 + 600, Y0 + 100, Y0 + 106, white));
    // The second point keeps its frame when the window moves: 350 - 100 = 250.
    store().viewStart = 100;
    v.cursorColour = 0x00FF00;
    draw();
    EXPECT_TRUE(column(X0 + 500, Y0 + 100, Y0 + 106, yellow));
    EXPECT_FALSE(column(X0 + 700, Y0 + 100, Y0 + 106, yellow));
    EXPECT_TRUE(column(X0 + 600, Y0 + 100, Y0 + 106, green)) << "the cursor stays on its column";
    // Lines end at row 510 and column 1022; nothing is drawn below the picture.
    EXPECT_FALSE(column(X0 + 600, Y0 + 512, Y0 + 514, green));
    EXPECT_FALSE(rowHas(Y0 + 400, X0 + 1025, X0 + 1030, green));
}

TEST_F(OverlayPicture, CaptionStampOnlyInTheRadargramView) {
    store().currentFileName = "/d/c.gem";
    store().captionDate = "     02.03.04";
    store().frame(300).value[cell::Hour] = 12;
    EXPECT_EQ(draw().caption, "Tesk  /d/c.gem     02.03.04   12:00:00.00   X=0   Y=0   H=0  cm");
    const uint16_t keep = store().stateFlags;
    store().stateFlags = uint16_t((keep & ~state::ViewMask) | 0x08); // plane slices
    EXPECT_EQ(draw().caption, "Tesk  /d/c.gem     02.03.04");
    store().stateFlags = keep;
    store().frame(300).value[cell::Hour] = 0;
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

// A survey that fills the store: the view reaches its last frames, and the
// raster rows past the last slot hold no data.
TEST_F(Navigation, TheEndOfAFullStoreComesIntoView) {
    ProfileStore& s = store();
    for (int i = 0; i <= 63999; ++i) s.frame(i).value[0] = 50;
    s.frameCount = MAX_FRAME_INDEX;
    s.finishLoad();
    ASSERT_EQ(s.frameCount, 64000);
    EXPECT_EQ(lastViewStart(s), 64000 - 512);
    struct Case {
        const char* what;
        int got;
        int want;
    };
    const Case cases[] = {
        {"100 frames on from 49400", nextViewStart(s, 49400, 2, {}), 49500},
        {"20 frames on from 63480", nextViewStart(s, 63480, 0, {}), 63488},
        {"nothing further from the end", nextViewStart(s, 63488, 0, {}), 63488},
        {"left Ctrl: the last screen", nextViewStart(s, 0, 0, {false, true}), 63488},
        {"20 frames back from the end", previousViewStart(s, 63488, 0, {}), 63468},
        {"typed past the end", typedViewStart(s, "64000"), 63488},
        {"typed 60013", typedViewStart(s, "60013"), 60000},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
    // A survey of 1000 frames keeps the steps up to 49480.
    s.reset();
    s.frameCount = 1000;
    EXPECT_EQ(lastViewStart(s), MAX_VIEW_START);
    EXPECT_EQ(nextViewStart(s, 49400, 2, {}), 49480);
}

TEST_F(Navigation, TypedFrameAndPictureCells) {
    ProfileStore& s = store();
    s.frameCount = 13000;
    EXPECT_EQ(typedViewStart(s, "12345"), 12340);
    EXPECT_EQ(typedViewStart(s, "555  "), 540) << "a number typed into the emptied field";
    EXPECT_EQ(typedViewStart(s, "1"), 0);
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
