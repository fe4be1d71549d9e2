// The A-scan panel through the window: the trace and readouts of the cell
// under the cursor, clicks into Image10 and the header cells 37 .. 44 they
// write, the colours picked from the legend, the view the panel asks for its
// trace, and where the panel stands.

#include "shell/window/main_view.h"
#include "window_fixture.h"

#include <QCoreApplication>
#include <QImage>

namespace tesk::testing {
namespace {

constexpr int X0 = 50, Y0 = 50; // picture origin in Image1 and Image6
const QRgb RED = qRgb(0xFF, 0, 0);

// Sample j of frame i in the written surveys: 1 + (7 i + j) % 255.
int patternCode(int frame, int sample) {
    return 1 + (7 * frame + sample) % 255;
}

class AScanWindow : public WindowTest {
  protected:
    void openSurvey(int frames) { clickOpen(writeSurvey(dir.file("s.gem"), frames)); }
    void clickPicture(int column, int row, Modifiers keys = {}) {
        prompter.held = keys;
        ui.Image6->onMouseDown(Qt::LeftButton, QPoint(X0 + 2 * column, Y0 + row));
        prompter.held = {};
    }
    void clickTrace(Qt::MouseButton b, int x, int y, Modifiers keys = {}) {
        prompter.held = keys;
        ui.Image10->onMouseDown(b, QPoint(x, y));
        prompter.held = {};
    }
    std::string caption(QFrame* panel, const char* name) const {
        return panel->findChild<QLabel*>(name)->text().toStdString();
    }
    QRgb tracePixel(int x, int y) const { return ui.Image10->image.pixel(x, y); }
};

TEST_F(AScanWindow, TraceAndReadoutsFollowTheCursor) {
    openSurvey(100);
    ASSERT_FALSE(ui.Panel50->isHidden());
    clickPicture(10, 300); // frame 10, sample 300: code 116
    EXPECT_EQ(caption(ui.Panel52, "Panel52Caption"), " Am lg = -12");
    EXPECT_EQ(tracePixel(patternCode(10, 300), 300), RED);
    ui.SpeedButton21->click(); // one frame on: code 123
    EXPECT_EQ(caption(ui.Panel52, "Panel52Caption"), " Am lg = -5");
    EXPECT_EQ(tracePixel(patternCode(11, 300), 300), RED);
    ui.SpeedButton23->click(); // one sample down: code 124
    EXPECT_EQ(caption(ui.Panel52, "Panel52Caption"), " Am lg = -4");
    // Past the last frame there is no data; the processed trace runs at 128.
    clickPicture(300, 40);
    EXPECT_EQ(caption(ui.Panel51, "Panel51Caption"), " Am Ln ");
    EXPECT_EQ(caption(ui.Panel52, "Panel52Caption"), " Am Lg ");
    EXPECT_EQ(tracePixel(128, 200), RED);
}

struct TraceClick {
    const char* name;
    int mode; // ComboBox19
    Qt::MouseButton button;
    bool ctrl;
    int x, y;
    int zero, level1, level2, pos1, pos2; // cells 37, 38, 39, 40..41, 42..43 after
    const char *down, *reset, *up;        // SpeedButton53 .. 55 after
};

// From the start values: zero level 128, gain levels 128, positions 0 and
// 511, gain range 1 (cell 44), which no click changes.
const TraceClick CLICKS[] = {
    {"zero level beyond the axis is 255", 0, Qt::LeftButton, false, 300, 100, 255, 128, 128, 0, 511,
     "<< ", "127", " >>"},
    {"zero level at x 0 is 1", 0, Qt::LeftButton, false, 0, 100, 1, 128, 128, 0, 511, "<< ", "-127",
     " >>"},
    {"right click sets the zero level too", 0, Qt::RightButton, false, 200, 30, 200, 128, 128, 0,
     511, "<< ", "72", " >>"},
    {"a right click in the legend changes nothing", 0, Qt::RightButton, false, 200, 520, 128, 128,
     128, 0, 511, "<< ", "0", " >>"},
    {"left click: first level and position", 1, Qt::LeftButton, false, 150, 100, 128, 150, 128, 100,
     511, "<< 0", "0", "22 >>"},
    {"left Ctrl: both levels", 1, Qt::LeftButton, true, 90, 50, 128, 90, 90, 50, 511, "<< -38", "0",
     "-38 >>"},
    {"right click: second level and position", 2, Qt::RightButton, false, 200, 300, 128, 128, 200,
     0, 300, "<< 0", "0", "72 >>"},
    {"right Ctrl beyond the axis: both levels 255", 1, Qt::RightButton, true, 256, 0, 128, 255, 255,
     0, 0, "<< 127", "0", "127 >>"},
};

TEST_F(AScanWindow, ClicksIntoTheTraceWriteZeroAndGainCells) {
    openSurvey(100);
    const auto& h = store->header;
    for (const TraceClick& c : CLICKS) {
        SCOPED_TRACE(c.name);
        // Back to the start values before each click.
        for (int cell = hdr::ZeroLevel; cell <= hdr::GainLevel2; ++cell)
            store->header.value[std::size_t(cell)] = 128;
        store->header.set16(hdr::GainPos1, 0);
        store->header.set16(hdr::GainPos2, 511);
        ui.ComboBox19->setCurrentIndex(c.mode == 0 ? 1 : 0);
        ui.ComboBox19->setCurrentIndex(c.mode);
        const QImage before = form->radargramImage().copy();
        clickTrace(c.button, c.x, c.y, Modifiers{.leftCtrl = c.ctrl});
        EXPECT_EQ(h.value[hdr::ZeroLevel], c.zero);
        EXPECT_EQ(h.value[hdr::GainLevel1], c.level1);
        EXPECT_EQ(h.value[hdr::GainLevel2], c.level2);
        EXPECT_EQ(h.get16(hdr::GainPos1), c.pos1);
        EXPECT_EQ(h.get16(hdr::GainPos2), c.pos2);
        EXPECT_EQ(h.value[hdr::GainRange], 1);
        EXPECT_EQ(ui.SpeedButton53->text().toStdString(), c.down);
        EXPECT_EQ(ui.SpeedButton54->text().toStdString(), c.reset);
        EXPECT_EQ(ui.SpeedButton55->text().toStdString(), c.up);
        // A changed zero level shifts every code: the picture is recoloured.
        if (c.mode == 0 && c.zero != 128) {
            EXPECT_NE(form->radargramImage(), before);
        }
    }
}

TEST_F(AScanWindow, RightClickAboveTheFirstPositionMakesAStep) {
    openSurvey(100);
    ui.ComboBox19->setCurrentIndex(1);
    clickTrace(Qt::LeftButton, 150, 300);
    clickTrace(Qt::RightButton, 100, 200);
    EXPECT_EQ(store->header.get16(hdr::GainPos1), 200);
    EXPECT_EQ(store->header.get16(hdr::GainPos2), 200);
    EXPECT_EQ(store->header.value[hdr::GainLevel1], 150);
    EXPECT_EQ(store->header.value[hdr::GainLevel2], 100);
}

TEST_F(AScanWindow, LegendClicksPickTheCursorAndGridColours) {
    openSurvey(100);
    const auto bgr = [](QRgb c) { return uint32_t(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16); };
    const uint32_t at200 = bgr(tracePixel(200, 520));
    const uint32_t at40 = bgr(tracePixel(40, 520));
    ASSERT_NE(at200, form->view().cursorColour);
    ASSERT_NE(at40, form->view().gridColour);
    const auto cells = store->header.value;
    clickTrace(Qt::LeftButton, 200, 520, Modifiers{.leftShift = true});
    EXPECT_EQ(form->view().cursorColour, at200);
    clickTrace(Qt::LeftButton, 40, 520, Modifiers{.leftCtrl = true});
    EXPECT_EQ(form->view().gridColour, at40);
    EXPECT_EQ(store->header.value, cells) << "a legend click sets no level";
}

// A main view that hands the panel a trace of its own, or none.
struct FakeView final : MainView {
    std::optional<AScanTrace> trace;
    int asked = 0;
    void recolour() override {}
    void reprocess() override {}
    void drawOverlay() override {}
    std::optional<AScanTrace> aScanTrace() override {
        ++asked;
        return trace;
    }
};

TEST_F(AScanWindow, PanelAsksTheShownViewForItsTrace) {
    openSurvey(100);
    FakeView slices, cube;
    AScanTrace t;
    t.processed.fill(200);
    t.startX = 64;
    t.row = 40;
    slices.trace = t;
    form->registerView(8, &slices);
    form->registerView(0x10, &cube);
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | 8);
    form->redraw(Redraw::Overlay);
    EXPECT_GT(slices.asked, 0);
    EXPECT_FALSE(ui.Panel50->isHidden());
    EXPECT_EQ(caption(ui.Panel52, "Panel52Caption"), " Am lg = 72");
    EXPECT_EQ(tracePixel(200, 100), RED);
    // A view without a trace: the panel leaves the picture uncovered.
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | 0x10);
    form->redraw(Redraw::Overlay);
    EXPECT_GT(cube.asked, 0);
    EXPECT_TRUE(ui.Panel50->isHidden());
    form.reset(); // the views go before the window that knows them
}

struct WindowSize {
    int width, height;
};

class AScanPlacement : public AScanWindow, public ::testing::WithParamInterface<WindowSize> {};

// Rightmost drawn column of the overlay above its bottom corner mark: the
// right edge of the picture and its time scale.
int scaleRightEdge(const QImage& overlay) {
    int right = 0;
    for (int y = 0; y < overlay.height() - 12; ++y)
        for (int x = overlay.width() - 1; x > right; --x)
            if (qAlpha(overlay.pixel(x, y)) != 0) right = x;
    return right;
}

TEST_P(AScanPlacement, PanelShowsOnlyWithATraceAndClearsThePictureWhenThereIsRoom) {
    const WindowSize w = GetParam();
    form->resize(w.width, w.height);
    ASSERT_TRUE(ui.CheckBox4->isChecked());
    EXPECT_TRUE(ui.Panel50->isHidden()) << "nothing to show before a survey";
    openSurvey(100);
    ASSERT_FALSE(ui.Panel50->isHidden());
    const int left = ui.Panel50->x();
    EXPECT_GE(left, 0);
    EXPECT_LE(left + ui.Panel50->width(), w.width);
    const int right =
        ui.Image6->mapTo(form.get(), QPoint(scaleRightEdge(form->overlayImage()), 0)).x();
    if (w.width >= 1124 + ui.Panel50->width()) {
        EXPECT_GT(left, right) << "beside the time scale";
    }
    // "Функция" off hides it, on shows it again with the trace.
    ui.CheckBox4->setChecked(false);
    EXPECT_TRUE(ui.Panel50->isHidden());
    ui.CheckBox4->setChecked(true);
    EXPECT_FALSE(ui.Panel50->isHidden());
}

TEST_F(AScanWindow, PanelFollowsTheWindowSizeUntilTheOperatorMovesIt) {
    form->resize(1600, 1000);
    openSurvey(100);
    form->show(); // a shown window reports its resizes
    EXPECT_EQ(ui.Panel50->x(), 1124) << "right of the time scale";
    form->resize(1280, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.Panel50->x(), 1280 - ui.Panel50->width() - 10) << "against the right edge";
    // Once the operator has taken the panel somewhere, it stays there.
    form->PanelMouseDown(ui.Panel51, Qt::LeftButton);
    ui.Panel50->move(600, 80);
    form->resize(1600, 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.Panel50->pos(), QPoint(600, 80));
}

INSTANTIATE_TEST_SUITE_P(Windows, AScanPlacement,
                         ::testing::Values(WindowSize{1280, 800}, WindowSize{1600, 1000}));

} // namespace
} // namespace tesk::testing
