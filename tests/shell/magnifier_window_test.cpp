// The magnifier through the window: SpeedButton35 and bit 0x200, the panel
// following the cursor, the zoom clicks, the resize drag and the move of
// Panel9, and the panel kept out of the other views.

#include "shell/window/main_view.h"
#include "window_fixture.h"

namespace tesk::testing {
namespace {

constexpr int X0 = 50, Y0 = 50;

class MagnifierWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_FALSE(ui.SpeedButton35->isEnabled()) << "waits for a survey";
        clickOpen(writeSurvey(dir.file("s.gem"), 600));
        ASSERT_TRUE(ui.SpeedButton35->isEnabled());
    }
    void clickPicture(int column, int row) {
        ui.Image6->onMouseDown(Qt::LeftButton, QPoint(X0 + 2 * column, Y0 + row));
    }
    void press(Qt::MouseButton b, QPoint at, Modifiers keys = {}) {
        prompter.held = keys;
        ui.Image19->onMouseDown(b, at);
        ui.Image19->onMouseUp(b, at);
        prompter.held = {};
    }
    void drag(QPoint from, QPoint to) {
        ui.Image19->onMouseDown(Qt::LeftButton, from);
        ui.Image19->onMouseMove(Qt::LeftButton, (from + to) / 2);
        ui.Image19->onMouseMove(Qt::LeftButton, to);
        ui.Image19->onMouseUp(Qt::LeftButton, to);
    }
    // At factor F the picture holds source cell (c0 + k, r0 + r) at picture
    // column k F and row r F, painted like the radargram's cell.
    void expectCellsFrom(int factor, int c0, int r0) {
        for (int k : {2, 5, 9})
            for (int r : {2, 7, 13}) {
                SCOPED_TRACE("cell " + std::to_string(k) + ", " + std::to_string(r));
                EXPECT_EQ(ui.Image19->image.pixel(2 * k * factor, r * factor),
                          form->radargramImage().pixel(X0 + 2 * (c0 + k), Y0 + r0 + r));
            }
    }
};

TEST_F(MagnifierWindow, ButtonSwitchesThePanelOverThePicture) {
    ui.SpeedButton35->click();
    EXPECT_TRUE(store->stateFlags & state::Magnifier);
    EXPECT_TRUE(ui.SpeedButton35->isChecked());
    ASSERT_FALSE(ui.Panel9->isHidden());
    EXPECT_TRUE(ui.Panel9->isEnabled());
    EXPECT_EQ(ui.Panel9->size(), QSize(128, 128));
    // Over the bottom-left corner of the picture: origin + (0, 384).
    EXPECT_EQ(ui.Panel9->pos(), ui.Image1->mapTo(form.get(), QPoint(X0, Y0 + 384)));
    ui.SpeedButton35->click();
    EXPECT_FALSE(store->stateFlags & state::Magnifier);
    EXPECT_TRUE(ui.Panel9->isHidden());
    EXPECT_FALSE(ui.Panel9->isEnabled());
}

struct CursorCase {
    int column, row; // cursor
    int c0, r0;      // first cell shown at factor 2, 128 x 128: 32 frames x 64 samples
};

TEST_F(MagnifierWindow, PictureFollowsTheCursor) {
    ui.SpeedButton35->click();
    const CursorCase cases[] = {{100, 200, 84, 168}, {0, 0, 0, 0}, {510, 511, 480, 448}};
    for (const CursorCase& c : cases) {
        SCOPED_TRACE("cursor " + std::to_string(c.column) + ", " + std::to_string(c.row));
        clickPicture(c.column, c.row);
        expectCellsFrom(2, c.c0, c.r0);
    }
    // The nudge buttons move the cursor, and the magnifier with it.
    clickPicture(100, 200);
    ui.SpeedButton21->click();
    expectCellsFrom(2, 85, 168);
}

TEST_F(MagnifierWindow, CtrlClicksZoomWithinTwoAndSixteen) {
    ui.SpeedButton35->click();
    clickPicture(100, 200);
    press(Qt::LeftButton, {40, 40}, {.leftCtrl = true});
    // F = 3: 21 frames x 42 samples from (100 - 10.5, 200 - 21).
    expectCellsFrom(3, 89, 179);
    for (int i = 0; i < 20; ++i) press(Qt::LeftButton, {40, 40}, {.leftCtrl = true});
    // F = 16: 4 frames x 8 samples from (98, 196).
    EXPECT_EQ(ui.Image19->image.pixel(2 * 16, 16),
              form->radargramImage().pixel(X0 + 2 * 99, Y0 + 197));
    for (int i = 0; i < 20; ++i) press(Qt::RightButton, {40, 40}, {.leftCtrl = true});
    expectCellsFrom(2, 84, 168);
    press(Qt::RightButton, {40, 40});
    expectCellsFrom(2, 84, 168);
}

TEST_F(MagnifierWindow, EdgeDragResizesWithinLimitsAndBodyDragMoves) {
    ui.SpeedButton35->click();
    clickPicture(100, 200);
    drag({124, 124}, {300, 240});
    EXPECT_EQ(ui.Panel9->size(), QSize(304, 244));
    // 304 x 244 at factor 2: 76 frames x 122 samples from (62, 139).
    expectCellsFrom(2, 62, 139);
    drag({300, 240}, {900, 900});
    EXPECT_EQ(ui.Panel9->size(), QSize(512, 512));
    drag({508, 508}, {0, 0});
    EXPECT_EQ(ui.Panel9->size(), QSize(128, 128));
    // Elsewhere the panel follows the pointer, which keeps its place on it.
    const QPoint before = ui.Panel9->pos();
    ui.Image19->onMouseDown(Qt::LeftButton, {60, 60});
    ui.Image19->onMouseMove(Qt::LeftButton, {80, 70});
    ui.Image19->onMouseMove(Qt::LeftButton, {60, 60}); // the panel has caught up
    ui.Image19->onMouseUp(Qt::LeftButton, {60, 60});
    EXPECT_EQ(ui.Panel9->pos(), before + QPoint(20, 10));
    EXPECT_EQ(ui.Panel9->size(), QSize(128, 128));
}

struct OtherView final : MainView {
    void recolour() override {}
    void reprocess() override {}
    void drawOverlay() override {}
};

TEST_F(MagnifierWindow, StaysOnButOutOfSightInOtherViews) {
    OtherView slices;
    form->registerView(8, &slices);
    ui.SpeedButton35->click();
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | 8);
    form->redraw(Redraw::Overlay);
    EXPECT_TRUE(ui.Panel9->isHidden());
    ui.SpeedButton5->click(); // back to the radargram
    EXPECT_TRUE(store->stateFlags & state::Magnifier);
    EXPECT_FALSE(ui.Panel9->isHidden());
    form.reset();
}

} // namespace
} // namespace tesk::testing
