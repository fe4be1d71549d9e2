// The volume views through the window on the offscreen platform: the plane
// slices at known pixels and their markers, Escape in the middle of a build,
// surveys that give no volume, the 3D commands without OpenGL, the division
// into profiles and the bars of the 3D panel that push each other.

#include "commands/export_common.h"
#include "shell/volume/cube_panel.h"
#include "shell/volume/slice_view.h"
#include "shell/volume/volume_host.h"
#include "shell/volume/volume_screens.h"
#include "shell/widgets/image_widgets.h"
#include "window_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTimer>
#include <sstream>
#include <tuple>

namespace tesk::testing {
namespace {

class VolumeWindow : public WindowTest {
  protected:
    // A fresh window over a fresh store, as at program start.
    void renew() {
        form.reset();
        prompter.shown.clear();
        store = std::make_unique<ProfileStore>();
        form = std::make_unique<TForm1>(*store, prompter);
        ui.find(*form);
    }
    void openLines() { clickOpen(writeParallelLines(dir.file("lines.gem"), ParallelLines{})); }
    VolumeHost& host() { return form->volumeScreens().host(); }
    SliceView& slices() { return form->volumeScreens().slices(); }
    uint8_t raster(int plane, int row, int column) {
        return form->radargram().raster.at(plane, row, column);
    }
    // Everything a command could change in the store.
    std::vector<uint8_t> storeBytes() const {
        std::vector<uint8_t> b(store->header.value.begin(), store->header.value.end());
        for (int i = 0; i <= store->frameCount + 1; ++i) {
            const FrameRecord& f = store->frame(i);
            b.insert(b.end(), f.value.begin(), f.value.end());
            b.insert(b.end(), f.work.begin(), f.work.end());
        }
        return b;
    }
    void expectRadargramShown() {
        EXPECT_EQ(store->stateFlags & state::ViewMask, 0);
        EXPECT_FALSE(ui.Image1->isHidden());
        EXPECT_TRUE(slices().Image2->isHidden());
        EXPECT_TRUE(ui.Panel_3D->isHidden());
        EXPECT_TRUE(ui.Panel3->isHidden());
    }
};

// Three lines 100 cm apart, 200 frames 5 cm apart: X spans 995 cm, Y 200 cm,
// 995 / 512 = 1.94 cm per node gives the grid step 2 cm; the lines lie on
// the node rows gy = 0, 50 and 100, and the data end at gx = Round(497.5) =
// 498. Sample t of line p is 10 + 40 p + t % 100; "Линейный  Yp" blends the
// rows between two lines: node row gy = 50 - j gets Round(a - 0.8 j) with a
// the sample of line 1, so gy = 25 is the mean of lines 0 and 1 and gy = 10
// is a - 32. Time plane 0 is never blended.
TEST_F(VolumeWindow, SlicesShowTheVolumeAtKnownPixels) {
    openLines();
    ui.ComboBox51->setCurrentIndex(1); // along Y
    ui.ComboBox54->setCurrentIndex(1); // X-Y plane and T-X section
    ui.SpeedButton7->click();
    ASSERT_EQ(store->stateFlags & state::ViewMask, 8);
    const VolumeInfo& info = host().grid.info;
    ASSERT_TRUE(info.built);
    EXPECT_EQ(info.stepCm, 2);
    EXPECT_EQ(info.gxMax, 498);
    EXPECT_EQ(info.gyMax, 100);
    EXPECT_FALSE(slices().Image2->isHidden());
    EXPECT_FALSE(slices().Image3->isHidden());
    EXPECT_TRUE(slices().Image4->isHidden());
    EXPECT_TRUE(ui.Image1->isHidden());

    // A click on the X-Y plane at node (100, 25): the T-X section at Y = 25.
    slices().Image2->onMouseDown(Qt::LeftButton, QPoint(100, 511 - 25));
    EXPECT_EQ(host().params.X, (std::array<int32_t, 4>{100, 100, 100, 100}));
    EXPECT_EQ(host().params.Y, (std::array<int32_t, 4>{25, 25, 25, 25}));
    const int row = DisplayRaster::FIRST_VIEW_ROW;
    EXPECT_EQ(raster(3, row + 100, 7), 37);
    EXPECT_EQ(raster(3, row + 0, 99), 30 + 99);
    EXPECT_EQ(raster(3, row + 100, 0), 0) << "plane 0 is not blended";
    EXPECT_EQ(raster(3, row + 505, 7), 0) << "beyond the data";

    // A click on the section at (200, 7): the X-Y plane at T = 7. With
    // "Function" on, the A-scan panel reads the T-X section's trace at
    // X = 200 in row 7: node (200, 25), code 37.
    ui.CheckBox4->setChecked(true);
    slices().Image3->onMouseDown(Qt::LeftButton, QPoint(200, 7));
    auto ascanCode = [&] {
        return ui.Panel52->findChild<QLabel*>("Panel52Caption")->text().toStdString();
    };
    EXPECT_FALSE(ui.Panel50->isHidden());
    EXPECT_EQ(ascanCode(), " Am lg = " + std::to_string(37 - 128));
    EXPECT_EQ(host().params.T[0], 7);
    EXPECT_EQ(raster(2, row + 200, 0), 17);
    EXPECT_EQ(raster(2, row + 200, 10), 57 - 32);
    EXPECT_EQ(raster(2, row + 200, 25), 37);
    EXPECT_EQ(raster(2, row + 200, 50), 57);
    EXPECT_EQ(raster(2, row + 200, 100), 97);
    EXPECT_EQ(raster(2, row + 200, 101), 0);
    // The crossing of the two slices shows one node in both pictures.
    const QImage& xy = slices().images().image2;
    const QImage& tx = slices().images().image3;
    EXPECT_EQ(xy.pixel(200, 511 - 25), tx.pixel(200, 7));
    EXPECT_NE(xy.pixel(200, 511 - 25), xy.pixel(200, 511 - 0)) << "codes 37 and 17";
    // Readouts: X0, its distance 2 cm x 200, Y0; the window caption names the
    // node under the pointer.
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "200");
    EXPECT_EQ(ui.StaticText2->text().toStdString(), "400");
    EXPECT_EQ(ui.StaticText5->text().toStdString(), "25");
    EXPECT_EQ(ui.SpeedButton21->text().toStdString(), "+Lcm");
    // Node 5 lies on the track of frame 2 (X = 10 cm); node row 50 starts
    // with the first frame of line 1 (Y = 100 cm).
    slices().Image2->onMouseMove(Qt::NoButton, QPoint(5, 511 - 50));
    EXPECT_NE(title().find(":  X = 10:  Y = 100"), std::string::npos) << title();
    // The A-scan panel follows the section: node (200, 25) in time.
    const std::optional<AScanTrace> trace = slices().aScanTrace();
    ASSERT_TRUE(trace.has_value());
    EXPECT_EQ(trace->processed[7], 37);
    EXPECT_EQ(trace->row, 7);

    // A click on the X-Y plane at node (100, 50), on line 1: the panel follows
    // to the trace of node (100, 50), code 10 + 40 + 7.
    slices().Image2->onMouseDown(Qt::LeftButton, QPoint(100, 511 - 50));
    EXPECT_EQ(ascanCode(), " Am lg = " + std::to_string(57 - 128));
    slices().Image3->onMouseDown(Qt::LeftButton, QPoint(200, 7));

    // The T marker dragged 10 pixels down moves the X-Y plane to T = 17.
    form->findChild<QCheckBox*>("CheckBox_Shape")->setChecked(true);
    ImageWidget* t1 = form->findChild<ImageWidget*>("ShapeT1");
    ASSERT_NE(t1, nullptr);
    EXPECT_FALSE(t1->isHidden());
    EXPECT_EQ(t1->y(), 50 + 7 - 5);
    slices().ShapeMouseDown(8, QPoint(5, 5));
    slices().ShapeMouseMove(8, QPoint(5, 15));
    // Let go where the pointer stands: 5 pixels into the marker at its new place.
    slices().ShapeMouseUp(8, QPoint(5, 5));
    EXPECT_EQ(host().params.T, (std::array<int32_t, 4>{17, 17, 17, 17}));
    EXPECT_EQ(t1->y(), 50 + 17 - 5);
    EXPECT_EQ(raster(2, row + 200, 25), 47);

    // Back to the radargram.
    ui.SpeedButton5->click();
    expectRadargramShown();
    EXPECT_TRUE(t1->isHidden());
}

// The slice table (save as text with left Ctrl on the slice screen) cuts the
// volume at the X-Y plane shown, T = 7: node (200, 25) halfway between lines
// 0 and 1 holds 37, node (200, 100) on line 2 holds 10 + 80 + 7; X and Y
// count the grid step per node.
TEST_F(VolumeWindow, SliceTableHoldsTheXYPlaneOnScreen) {
    openLines();
    ui.ComboBox51->setCurrentIndex(1); // along Y
    ui.ComboBox54->setCurrentIndex(1);
    ui.SpeedButton7->click();
    slices().Image3->onMouseDown(Qt::LeftButton, QPoint(200, 7));
    ASSERT_EQ(host().params.T[0], 7);
    const std::string out = dir.file("slice.txt");
    prompter.saveNames.push_back(SaveChoice{out, 4});
    prompter.held.leftCtrl = true;
    ui.SpeedButton3->click();
    prompter.held = {};
    std::vector<std::string> lines;
    {
        std::istringstream text(readBytes(out));
        for (std::string l; std::getline(text, l);) lines.push_back(l.substr(0, l.find('\r')));
    }
    ASSERT_EQ(lines.size(), 1u + 512u * 512u);
    EXPECT_EQ(lines[0], "X;Y;A");
    const int w = host().grid.info.stepCm;
    const auto& level = form->radargram().settings.LevelTable;
    auto line = [&](int gx, int gy, int code) {
        return std::to_string(gx * w) + ";" + std::to_string(gy * w) + ";" +
               std::to_string(level[std::size_t(code)]);
    };
    EXPECT_EQ(lines[1 + 200 * 512 + 25], line(200, 25, 37));
    EXPECT_EQ(lines[1 + 200 * 512 + 100], line(200, 100, 97));
}

TEST_F(VolumeWindow, EscapeDuringTheBuildLeavesTheStoreUntouched) {
    struct Case {
        const char* name;
        int atPass;   // the pass of pending events in which Escape comes
        bool keyHeld; // held (the prompter tells) or pressed and let go
    };
    const Case cases[] = {{"pressed as the build starts", 1, false},
                          {"pressed after the clearing", 2, false},
                          {"held after the clearing", 2, true}};
    openLines();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> before = storeBytes();
        const uint16_t flags = store->stateFlags;
        int passes = 0;
        bool busyMeanwhile = false; // other commands stay out while the build runs
        QTimer escape;
        QObject::connect(&escape, &QTimer::timeout, [&] {
            busyMeanwhile = store->stateFlags & state::Busy;
            if (++passes != c.atPass) return;
            escape.stop();
            if (c.keyHeld)
                prompter.held.escape = true;
            else
                QCoreApplication::postEvent(
                    form.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        });
        escape.start(0);
        ui.SpeedButton7->click();
        escape.stop();
        prompter.held = {};
        EXPECT_GE(passes, c.atPass);
        EXPECT_TRUE(busyMeanwhile);
        EXPECT_EQ(store->stateFlags, flags);
        EXPECT_TRUE(storeBytes() == before);
        EXPECT_FALSE(host().grid.info.built);
        EXPECT_TRUE(prompter.shown.empty());
        expectRadargramShown();
    }
    // The window goes on working: without Escape the volume is built.
    ui.SpeedButton7->click();
    EXPECT_TRUE(host().grid.info.built);
    EXPECT_EQ(store->stateFlags & state::ViewMask, 8);
}

TEST_F(VolumeWindow, SurveysThatGiveNoVolumeAreRefusedWithTheirExtremes) {
    struct Case {
        const char* name;
        int frames;
        // Frames given coordinates other than 0: frame, X, Y.
        std::vector<std::array<int32_t, 3>> placed;
        const char* extremes; // the frames of X-max, X-min, Y-max, Y-min
    };
    // Over 60 km the grid would need more than 100 m per node.
    const Case cases[] = {
        {"every coordinate zero", 100, {}, "X-max = 0\rX-min = 0\rY-max = 0\rY-min = 0"},
        {"a single frame", 1, {}, "X-max = 0\rX-min = 0\rY-max = 0\rY-min = 0"},
        {"a survey beyond the grid's extent",
         100,
         {{10, 6000000, 0}, {20, 0, -10}},
         "X-max = 10\rX-min = 0\rY-max = 0\rY-min = 20"},
    };
    for (const Case& c : cases) {
        for (const bool en : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (en ? " (English)" : " (Russian)"));
            renew();
            clickOpen(writeSurvey(dir.file("flat.gem"), c.frames, en));
            for (const auto& [frame, x, y] : c.placed) {
                store->frame(frame).set32(cell::UcsX, uint32_t(x));
                store->frame(frame).set32(cell::UcsY, uint32_t(y));
            }
            const std::vector<uint8_t> before = storeBytes();
            const uint16_t flags = store->stateFlags;
            ui.SpeedButton7->click();
            ASSERT_EQ(prompter.shown.size(), 1u);
            EXPECT_EQ(prompter.shown[0].icon, Icon::Error);
            EXPECT_EQ(prompter.shown[0].buttons, Buttons::Ok);
            EXPECT_EQ(lastText(),
                      std::string(en ? "Error coordinates!\rStep profile =0 or >100m.\r"
                                     : "Ошибка Координат!\rШаг профиля = 0 или >100m.\r") +
                          c.extremes);
            EXPECT_EQ(store->stateFlags, flags);
            EXPECT_TRUE(storeBytes() == before);
            expectRadargramShown();
        }
    }
}

TEST_F(VolumeWindow, ThreeDCommandsSayTheyNeedOpenGLAndChangeNothing) {
    openLines();
    for (QToolButton* b : {ui.SpeedButton8, ui.SpeedButton9, ui.SpeedButton12}) {
        for (const bool en : {true, false}) {
            SCOPED_TRACE(b->objectName().toStdString() + (en ? " (English)" : " (Russian)"));
            ui.CheckBox1->setChecked(en);
            prompter.shown.clear();
            const std::vector<uint8_t> before = storeBytes();
            const uint16_t flags = store->stateFlags;
            EXPECT_TRUE(b->isEnabled());
            b->click();
            ASSERT_EQ(prompter.shown.size(), 1u);
            EXPECT_EQ(prompter.shown[0].icon, Icon::Information);
            EXPECT_EQ(lastText(),
                      en ? "The 3D view needs OpenGL, which this display does not provide.\r"
                           "The volume, the plane slices and every other command still work."
                         : "Для 3D-вида нужен OpenGL, а этот экран его не даёт.\r"
                           "Объём, плоскости сечения и остальные команды работают.");
            EXPECT_EQ(store->stateFlags, flags);
            EXPECT_TRUE(storeBytes() == before);
            EXPECT_FALSE(host().grid.allocated()) << "no volume built for a view not shown";
            expectRadargramShown();
        }
    }
    // The slices still work.
    prompter.shown.clear();
    ui.SpeedButton7->click();
    EXPECT_TRUE(host().grid.info.built);
    EXPECT_TRUE(prompter.shown.empty());
}

// The worked example of the division: one run of 100 frames with a red
// marker on frame 50 and the boxes as at start: frames 0-49 stay, slots
// 50-79 are blank, frames 50-99 move to slots 80-129 as profile 2, and the
// frame count becomes Trunc(129 / 20) x 20 + 40 = 160.
TEST_F(VolumeWindow, DivisionIntoProfilesCutsAtTheRedMarker) {
    clickOpen(writeSurvey(dir.file("run.gem"), 100));
    store->frame(50).value[cell::Status] |= 3;
    const uint8_t sample50 = store->frame(50).value[0];
    QToolButton* button = form->findChild<QToolButton*>("SpeedButton_GProf");
    QCheckBox* red = form->findChild<QCheckBox*>("CheckBox_GProf_2");
    ASSERT_TRUE(button && red);
    EXPECT_EQ(button->text().toStdString(), "Profiles");
    const std::vector<uint8_t> before = storeBytes();
    button->click();
    EXPECT_EQ(button->text().toStdString(), "Greate Profiles");
    EXPECT_TRUE(red->isVisibleTo(ui.Panel_24));
    EXPECT_FALSE(ui.ComboBox51->isVisibleTo(ui.Panel_24));
    EXPECT_TRUE(storeBytes() == before) << "the first click only shows the rules";
    button->click();
    EXPECT_EQ(button->text().toStdString(), "Profiles");
    EXPECT_FALSE(red->isVisibleTo(ui.Panel_24));
    EXPECT_TRUE(ui.ComboBox51->isVisibleTo(ui.Panel_24));
    EXPECT_EQ(store->frameCount, 160);
    EXPECT_EQ(ui.SpeedButton18->text().toStdString(), "160");
    for (int slot : {50, 79}) EXPECT_FALSE(store->frame(slot).inProfile()) << slot;
    EXPECT_EQ(store->frame(80).value[0], sample50);
    EXPECT_EQ(store->frame(0).get16(cell::ProfileNumber), 1u);
    EXPECT_EQ(store->frame(80).get16(cell::ProfileNumber), 2u);
    EXPECT_EQ(store->frame(80).get16(cell::IndexInProfile), 0u);
    EXPECT_EQ(store->frame(129).get16(cell::IndexInProfile), 49u);
    EXPECT_EQ(store->stateFlags & state::Changed, state::Changed);
    EXPECT_TRUE(form->fileCommands().modified()) << "opening another file asks to save";
    // In Russian the button names its step too.
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(button->text().toStdString(), "Профили");
    button->click();
    EXPECT_EQ(button->text().toStdString(), "Создать Профили");
}

TEST_F(VolumeWindow, ThreeDPanelBarsPushEachOther) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> moves;    // track bar, position
        std::vector<std::pair<int, int>> expected; // track bar, position
    };
    const Case cases[] = {
        // A1 > A2 > A3 > A4, one step apart: A1 down to 100 pushes A2 and A3.
        {"A1 below A2", {{11, 100}}, {{11, 100}, {12, 99}, {13, 98}, {14, 1}}},
        {"A4 above A3", {{14, 200}}, {{11, 255}, {12, 202}, {13, 201}, {14, 200}}},
        // T1 < T2: T1 to 300 with T2 at 200 moves T2 to 301.
        {"T1 past T2", {{21, 200}, {20, 300}}, {{20, 300}, {21, 301}}},
        {"T2 below T1", {{20, 50}, {21, 10}}, {{20, 9}, {21, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        renew();
        for (const auto& [bar, pos] : c.moves)
            form->findChild<QSlider*>("TrackBar" + QString::number(bar))->setValue(pos);
        for (const auto& [bar, pos] : c.expected) {
            SCOPED_TRACE("TrackBar" + std::to_string(bar));
            EXPECT_EQ(form->findChild<QSlider*>("TrackBar" + QString::number(bar))->value(), pos);
            EXPECT_EQ(form->findChild<QLabel*>("Label" + QString::number(200 + bar))->text(),
                      QString::number(pos));
        }
    }
    // The panel's members are the controls of their names.
    const CubePanel& p = form->volumeScreens().panel3d();
    const std::tuple<int, QSlider*, QLabel*, QLabel*> members[] = {
        {1, p.TrackBar1, p.Label101, p.Label201},   {9, p.TrackBar9, p.Label109, p.Label209},
        {15, p.TrackBar15, p.Label115, p.Label215}, {18, p.TrackBar18, p.Label118, p.Label218},
        {24, p.TrackBar24, p.Label124, p.Label224}, {25, p.TrackBar25, p.Label125, p.Label225}};
    for (const auto& [n, bar, caption, value] : members) {
        EXPECT_EQ(bar, form->findChild<QSlider*>("TrackBar" + QString::number(n)));
        EXPECT_EQ(caption, form->findChild<QLabel*>("Label" + QString::number(100 + n)));
        EXPECT_EQ(value, form->findChild<QLabel*>("Label" + QString::number(200 + n)));
    }
}

} // namespace
} // namespace tesk::testing
