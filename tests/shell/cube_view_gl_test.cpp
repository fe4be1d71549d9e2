// The 3D views in a real window with an OpenGL context (a virtual X server
// with Mesa's renderer in the test run): each mode draws a picture, the
// picture follows the camera, the cube frame stands where the camera's
// projection puts it at the start camera and at the ends of the scale bar,
// and the mouse turns the cube.

#include "shell/prompts/prompter.h"
#include "shell/volume/cube_canvas.h"
#include "shell/volume/cube_view.h"
#include "shell/volume/volume_host.h"
#include "shell/volume/volume_screens.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/tform1.h"
#include "volume/cube_camera.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tesk::testing {
namespace {

// One window over the demo survey for every case: the volume is built once.
struct Window {
    ProfileStore store;
    ScriptedPrompter prompter;
    TForm1 form{store, prompter};
    bool ready = false;
    Window() {
        form.resize(1467, 756);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) return;
        ready = form.openChosenFile(TESK_DEMO_SURVEY, false).outcome == OpenOutcome::FramesLoaded;
    }
    template <typename T> T* find(const QString& name) { return form.findChild<T*>(name); }
    QSlider* bar(int n) { return find<QSlider>("TrackBar" + QString::number(n)); }
    void click(const char* button) {
        find<QToolButton>(button)->click();
        QApplication::processEvents();
    }
};

Window& window() {
    static Window* w = new Window; // lives to the end of the program, as the window does
    return *w;
}

class CubeGl : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qgetenv("DISPLAY").isEmpty()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        if (!window().ready) GTEST_FAIL() << "the demo survey did not open";
        if (!window().form.volumeScreens().cube().canvas)
            GTEST_FAIL() << "no OpenGL context on this display";
    }
};

struct Box {
    int left = std::numeric_limits<int>::max(), right = -1;
    int bottom = std::numeric_limits<int>::max(), top = -1; // rows counted from the bottom
    int lit = 0;
};

// The pixels that are not background; rows as read back, bottom row first.
Box litPixels(const ViewPixels& p) {
    Box b;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* px = &p.bgra[(std::size_t(y) * p.width + x) * 4];
            if (px[0] < 40 && px[1] < 40 && px[2] < 40) continue;
            ++b.lit;
            b.left = std::min(b.left, x);
            b.right = std::max(b.right, x);
            b.bottom = std::min(b.bottom, y);
            b.top = std::max(b.top, y);
        }
    return b;
}

int differingPixels(const ViewPixels& a, const ViewPixels& b) {
    if (a.bgra.size() != b.bgra.size()) return -1;
    int n = 0;
    for (std::size_t i = 0; i < a.bgra.size(); i += 4)
        n += a.bgra[i] != b.bgra[i] || a.bgra[i + 1] != b.bgra[i + 1] ||
             a.bgra[i + 2] != b.bgra[i + 2];
    return n;
}

// The cube's corners projected by the camera of the panel's bars.
Box projectedCube(const CubeCamera& c, int W) {
    Box b;
    for (int i = 0; i < 8; ++i) {
        const WindowPoint p = projectToWindow(c, i & 1 ? 1 : -1, i & 2 ? 1 : -1, i & 4 ? 1 : -1, W);
        b.left = std::min(b.left, int(std::floor(p.x)));
        b.right = std::max(b.right, int(std::floor(p.x)));
        b.bottom = std::min(b.bottom, int(std::floor(p.y)));
        b.top = std::max(b.top, int(std::floor(p.y)));
    }
    return b;
}

TEST_F(CubeGl, SectionsAreDrawnAndFollowTheCamera) {
    Window& w = window();
    w.click("SpeedButton9");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x40);
    CubeCanvas* canvas = w.form.volumeScreens().cube().canvas;
    EXPECT_TRUE(canvas->isVisible());
    const ViewPixels start = w.form.cubePicture();
    EXPECT_EQ(start.width, canvas->width());
    EXPECT_EQ(start.height, canvas->height());
    const Box b = litPixels(start);
    EXPECT_GT(b.lit, 2000) << "three sections of the demo volume";
    w.bar(2)->setValue(220); // angleY 10 -> 40 degrees
    const ViewPixels turned = w.form.cubePicture();
    EXPECT_GT(differingPixels(start, turned), 1000);
    w.bar(2)->setValue(190);
    EXPECT_EQ(differingPixels(start, w.form.cubePicture()), 0)
        << "the same camera, the same picture";
}

// With every section unticked only the blue frame of the cube is drawn; its
// pixels must cover the projection of the cube's corners, one pixel of line
// width either way, wherever the cube lies inside the picture.
TEST_F(CubeGl, CubeFrameStandsWhereTheCameraPutsIt) {
    Window& w = window();
    w.click("SpeedButton9");
    auto* list = w.find<QListWidget>("CheckListBox2");
    struct Restore {
        Window& w;
        QListWidget* list;
        ~Restore() {
            w.bar(4)->setValue(16);
            for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Checked);
        }
    } restore{w, list};
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
    struct Case {
        const char* name;
        int M; // TrackBar4: scale M / 64
    };
    for (const Case c : {Case{"start camera, scale 1/4", 16}, Case{"smallest, 1/64", 1}}) {
        SCOPED_TRACE(c.name);
        w.bar(4)->setValue(c.M);
        const ViewPixels p = w.form.cubePicture();
        const Box lit = litPixels(p);
        CubeCamera camera;
        camera.scale = c.M / 64.0;
        const Box want = projectedCube(camera, p.width);
        ASSERT_GT(lit.lit, 0);
        ASSERT_GE(want.left, 0);
        ASSERT_LT(want.top, p.height);
        EXPECT_NEAR(lit.left, want.left, 2);
        EXPECT_NEAR(lit.right, want.right, 2);
        EXPECT_NEAR(lit.bottom, want.bottom, 2);
        EXPECT_NEAR(lit.top, want.top, 2);
        if (c.M == 16) {
            // About a quarter of the viewport wide, below its centre.
            const double width = double(lit.right - lit.left) / p.width;
            EXPECT_GT(width, 0.2);
            EXPECT_LT(width, 0.35);
            EXPECT_LT((lit.top + lit.bottom) / 2, p.width / 2);
        }
    }
    // At the largest scale, 2, the cube exceeds the viewport on every side:
    // the picture lies inside it, and what of its frame shows lies within
    // the projection.
    w.bar(4)->setValue(128);
    const ViewPixels p = w.form.cubePicture();
    CubeCamera camera;
    camera.scale = 2;
    const Box want = projectedCube(camera, p.width);
    EXPECT_LT(want.left, 0);
    EXPECT_GE(want.right, p.width);
    EXPECT_LT(want.bottom, 0);
    EXPECT_GE(want.top, p.width);
    const Box lit = litPixels(p);
    if (lit.lit > 0) {
        EXPECT_GE(lit.left, 0);
        EXPECT_LE(lit.right, p.width - 1);
    }
}

// A move of 40 pixels to the right with the left button turns T by 10; a
// move of 2 pixels turns nothing (Round(0.5) = 0).
TEST_F(CubeGl, MouseTurnsTheCube) {
    Window& w = window();
    w.click("SpeedButton9");
    CubeView& cube = w.form.volumeScreens().cube();
    const int t = w.bar(2)->value(), x = w.bar(1)->value();
    const ViewPixels before = w.form.cubePicture();
    cube.MouseDown(Qt::LeftButton, QPoint(300, 300));
    cube.MouseMove(QPoint(340, 300));
    EXPECT_EQ(w.bar(2)->value(), t + 10);
    cube.MouseMove(QPoint(342, 300));
    EXPECT_EQ(w.bar(2)->value(), t + 10);
    cube.MouseUp(QPoint(342, 300));
    EXPECT_EQ(w.bar(1)->value(), x);
    EXPECT_GT(differingPixels(before, w.form.cubePicture()), 1000);
    w.bar(2)->setValue(t);
}

TEST_F(CubeGl, CarpetAndProfilesDrawTheirPictures) {
    Window& w = window();
    w.click("SpeedButton12");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x20);
    EXPECT_GT(litPixels(w.form.cubePicture()).lit, 2000);
    // The carpet's height bar raises it: another picture.
    const ViewPixels flat = w.form.cubePicture();
    w.bar(25)->setValue(128);
    EXPECT_EQ(w.find<QLabel>("Label225")->text().toStdString(), "128");
    EXPECT_GT(differingPixels(flat, w.form.cubePicture()), 1000);
    w.bar(25)->setValue(0);
    w.click("SpeedButton8");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x10);
    EXPECT_EQ(w.find<QListWidget>("CheckListBox1")->count(), 3) << "three demo profiles";
    const ViewPixels whole = w.form.cubePicture();
    EXPECT_GT(litPixels(whole).lit, 2000);
    // While the mouse holds the cube the curtains are drawn from fewer time
    // samples; let go, the whole picture comes back at the same camera.
    CubeView& cube = w.form.volumeScreens().cube();
    cube.MouseDown(Qt::LeftButton, QPoint(300, 300));
    const ViewPixels quick = w.form.cubePicture();
    EXPECT_LT(litPixels(quick).lit, litPixels(whole).lit);
    EXPECT_GT(litPixels(quick).lit, 0);
    cube.MouseUp(QPoint(300, 300));
    EXPECT_EQ(differingPixels(whole, w.form.cubePicture()), 0);
    // Back to the radargram: the drawing area and the panel go.
    w.click("SpeedButton5");
    EXPECT_FALSE(w.form.volumeScreens().cube().canvas->isVisible());
    EXPECT_FALSE(w.find<QWidget>("Panel_3D")->isVisible());
    EXPECT_TRUE(w.find<QWidget>("ScrollBox1")->isVisible());
    EXPECT_TRUE(w.form.cubePicture().bgra.empty());
}

// The save command's bitmap in the carpet view is the 3D drawing area as
// read back: its size, and every pixel, the top row of the picture first
// on screen. The 3D panel is shown again afterwards.
TEST_F(CubeGl, BitmapOfA3DViewIsThePictureOnScreen) {
    Window& w = window();
    w.click("SpeedButton12");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x20);
    const ViewPixels shown = w.form.cubePicture();
    ASSERT_GT(litPixels(shown).lit, 2000);
    QTemporaryDir dir;
    const std::string out = dir.filePath("carpet.bmp").toStdString();
    w.prompter.saveNames.push_back(SaveChoice{out, 2});
    w.click("SpeedButton3");
    QFile file(QString::fromStdString(out));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    ASSERT_GT(bmp.size(), 54);
    auto i32 = [&](int at) {
        return int32_t(uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 |
                       uint32_t(uint8_t(bmp[at + 2])) << 16 | uint32_t(uint8_t(bmp[at + 3])) << 24);
    };
    const int offset = i32(10), width = i32(18), height = i32(22);
    const int bits = uint8_t(bmp[28]) | uint8_t(bmp[29]) << 8;
    ASSERT_EQ(bits, 32);
    ASSERT_EQ(width, shown.width);
    ASSERT_EQ(std::abs(height), shown.height);
    ASSERT_GE(bmp.size(), qsizetype(offset) + qsizetype(width) * std::abs(height) * 4);
    int differing = 0;
    for (int y = 0; y < shown.height; ++y) {
        // Row y from the bottom: stored y-th in a bottom-up bitmap.
        const int stored = height > 0 ? y : shown.height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const char* f = bmp.constData() + offset + (std::size_t(stored) * width + x) * 4;
            const uint8_t* g = &shown.bgra[(std::size_t(y) * width + x) * 4];
            differing += uint8_t(f[0]) != g[0] || uint8_t(f[1]) != g[1] || uint8_t(f[2]) != g[2];
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(w.find<QWidget>("Panel_3D")->isVisible());
}

// The 3D panel in its modes: the reset clicks on the captions take the
// mode's values and push the other windows, the section bars move the
// chosen section (B and C follow A, each kept within 0 .. 511), "ADD CUT"
// adds a section and with left Ctrl deletes the chosen one, and a cursor bar
// shows its distance at the demo volume's grid step of 5 cm.
TEST_F(CubeGl, PanelControlsActInTheirModes) {
    Window& w = window();
    auto click = [&](int label) {
        w.find<ClickLabel>("Label" + QString::number(label))->onClick();
    };
    auto text = [&](const char* name) { return w.find<QLabel>(name)->text().toStdString(); };
    w.click("SpeedButton8");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x10);
    EXPECT_EQ(w.bar(18)->value(), 256) << "K is set on entering";
    EXPECT_TRUE(w.bar(18)->isVisible());
    EXPECT_FALSE(w.bar(5)->isVisible());
    EXPECT_TRUE(w.find<QWidget>("CheckListBox1")->isVisible());
    EXPECT_FALSE(w.find<QWidget>("CheckListBox2")->isVisible());
    w.bar(12)->setValue(150);
    click(113); // A3 to 210: A2 pushed to 211, A1 to at least 212
    EXPECT_EQ(w.bar(13)->value(), 210);
    EXPECT_EQ(w.bar(12)->value(), 211);
    EXPECT_GE(w.bar(11)->value(), 212);
    click(120);
    click(121);
    EXPECT_EQ(w.bar(20)->value(), 100);
    EXPECT_EQ(w.bar(21)->value(), 200);
    w.bar(15)->setValue(300);
    EXPECT_EQ(text("StaticText1"), "300");
    EXPECT_EQ(text("StaticText2"), "1500");
    EXPECT_EQ(w.find<QToolButton>("SpeedButton21")->text().toStdString(), "+Lcm");
    w.bar(15)->setValue(0);

    w.click("SpeedButton9");
    ASSERT_EQ(w.store.stateFlags & state::ViewMask, 0x40);
    EXPECT_TRUE(w.bar(5)->isVisible());
    EXPECT_FALSE(w.bar(18)->isVisible());
    for (int label : {111, 112, 113, 114, 120, 121}) click(label);
    const int windows[][2] = {{11, 255}, {12, 128}, {13, 127}, {14, 1}, {20, 0}, {21, 511}};
    for (const auto& [bar, pos] : windows) EXPECT_EQ(w.bar(bar)->value(), pos) << bar;
    auto* list = w.find<QListWidget>("CheckListBox2");
    list->setCurrentRow(0);
    w.bar(5)->setValue(100);
    EXPECT_EQ(w.bar(6)->value(), 100);
    EXPECT_EQ(w.bar(7)->value(), 100);
    w.bar(6)->setValue(500);
    w.bar(5)->setValue(150); // B to 550, kept at 511; C with it to 150
    EXPECT_EQ(w.bar(6)->value(), 511);
    EXPECT_EQ(w.bar(7)->value(), 150);
    const SectionEntry& e = w.form.volumeScreens().host().sections.table[0];
    EXPECT_EQ(e.A, 150);
    EXPECT_EQ(e.B, 511);
    EXPECT_EQ(e.C, 150);
    ASSERT_EQ(list->count(), 3);
    w.click("SpeedButton_ADD_CUT");
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 3);
    w.prompter.held.leftCtrl = true;
    w.click("SpeedButton_ADD_CUT");
    w.prompter.held = {};
    EXPECT_EQ(list->count(), 3);
}

} // namespace
} // namespace tesk::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qgetenv("DISPLAY").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    return RUN_ALL_TESTS();
}
