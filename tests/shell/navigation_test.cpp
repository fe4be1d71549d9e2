// Moving the radargram window and pointing at frames through the window's
// controls: previous / next with the view step and the modifier keys, the
// typed first frame, clicks on the picture and the nudge buttons.

#include "shell/widgets/image_widgets.h"
#include "store/profile_store.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace tesk::testing {
namespace {

// A survey of 600 frames (frameCount 620) cut into three profiles by two gaps:
// 0..99, 120..299 and 320..599.
class NavigationWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        clickOpen(writeSurvey(dir.file("n.gem"), 600));
        ASSERT_EQ(store->frameCount, 620);
        for (int f : {100, 300})
            for (int i = f; i < f + 20; ++i)
                store->frame(i).value[cell::Status] &= uint8_t(~status::InProfile);
        prompter.held = {};
    }
    int next(int from, int item, Modifiers keys = {}) {
        return press(ui.SpeedButton18, from, item, keys);
    }
    int previous(int from, int item, Modifiers keys = {}) {
        return press(ui.SpeedButton17, from, item, keys);
    }
    int press(QToolButton* b, int from, int item, Modifiers keys) {
        ui.ComboBox16->setCurrentIndex(item);
        store->viewStart = from;
        prompter.held = keys;
        b->click();
        prompter.held = {};
        return store->viewStart;
    }
    void click(Qt::MouseButton b, int dx, int dy, Modifiers keys = {}) {
        const Point o = form->view().ViewOrigin;
        prompter.held = keys;
        form->radargramView().Image1MouseDown(b, QPoint(o.x + dx, o.y + dy));
        prompter.held = {};
    }
    std::string field() const { return ui.MaskEdit1->displayText().toStdString(); }
    static Modifiers keys(bool lShift, bool rShift, bool lCtrl, bool rCtrl) {
        Modifiers m;
        m.leftShift = lShift;
        m.rightShift = rShift;
        m.leftCtrl = lCtrl;
        m.rightCtrl = rCtrl;
        return m;
    }
};

TEST_F(NavigationWindow, EachViewStepItemMovesByItsFrames) {
    const int steps[] = {20, 40, 100, 200, 300, 400, 500};
    for (int item = 0; item < 7; ++item) {
        EXPECT_EQ(next(1000, item), 1000 + steps[item]) << item;
        EXPECT_EQ(previous(1000, item), 1000 - steps[item]) << item;
        EXPECT_EQ(previous(10, item), 0) << "never below frame 0, item " << item;
    }
    // Capped at 49480 whatever the step; at 49480 next leaves the window alone.
    EXPECT_EQ(next(49400, 2), 49480);
    EXPECT_EQ(next(49300, 6), 49480);
    EXPECT_EQ(next(49480, 0), 49480);
    EXPECT_EQ(previous(0, 6), 0);
    EXPECT_EQ(field(), "00000");
}

TEST_F(NavigationWindow, ProfileItemJumpsBetweenProfileStarts) {
    struct Case {
        int from;
        int next;
        int previous;
    };
    const Case cases[] = {
        {0, 120, 0},     // previous from 0 does nothing
        {10, 120, 0},    // inside profile 1
        {110, 120, 0},   // in the first gap: next profile, back over the gap to profile 1
        {150, 320, 120}, // inside profile 2
        {120, 320, 0},   // frame 119 lies in the gap: the profile before it
        {310, 320, 120}, // in the second gap
        {320, 621, 120}, // no profile after the last: one past the frame count
        {400, 621, 320},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(next(c.from, 7), c.next) << c.from;
        EXPECT_EQ(previous(c.from, 7), c.previous) << c.from;
    }
    next(150, 7);
    EXPECT_EQ(field(), "00320") << "the field shows the new first frame";
}

TEST_F(NavigationWindow, ModifierKeysOfPreviousAndNext) {
    struct Case {
        const char* name;
        Modifiers keys;
        int next;     // from 150 with the view step "20"
        int previous; // from 150 with the view step "20"
    };
    const Case cases[] = {
        {"none", keys(false, false, false, false), 170, 130},
        {"left Shift: by profile", keys(true, false, false, false), 320, 120},
        {"left Ctrl: last screen / start", keys(false, false, true, false), 620 - 510, 0},
        // Next refuses the pair; previous lets Ctrl win, as with the profile item.
        {"left Shift + left Ctrl", keys(true, false, true, false), 150, 0},
        {"right Ctrl is not read", keys(false, false, false, true), 170, 130},
        {"right Shift is not read", keys(false, true, false, false), 170, 130},
        {"left Shift + right Ctrl", keys(true, false, false, true), 320, 120},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(next(150, 0, c.keys), c.next) << c.name;
        EXPECT_EQ(previous(150, 0, c.keys), c.previous) << c.name;
    }
    // Ctrl overrides the profile item too.
    EXPECT_EQ(next(150, 7, keys(false, false, true, false)), 110);
    // A survey shorter than a screen: Ctrl + next goes to frame 0.
    store->frameCount = 400;
    EXPECT_EQ(next(150, 0, keys(false, false, true, false)), 0);
    // A full store: the last screen ends at the last slot.
    store->frameCount = MAX_FRAME_INDEX;
    EXPECT_EQ(next(150, 0, keys(false, false, true, false)), 63488);
    EXPECT_EQ(field(), "63488");
}

TEST_F(NavigationWindow, TypedFirstFrameRoundsDownAndRedrawsOnEnter) {
    store->frameCount = 20000;
    struct Case {
        const char* typed;
        int viewStart;
    };
    // Typed over the five positions from the left.
    const Case cases[] = {{"12345", 12340}, {"00019", 0},     {"00020", 20},
                          {"19999", 19980}, {"25000", 20000}, {"00539", 520}};
    for (const Case& c : cases) {
        ui.MaskEdit1->setCursorPosition(0);
        QTest::keyClicks(ui.MaskEdit1, c.typed);
        EXPECT_EQ(store->viewStart, c.viewStart) << c.typed;
        EXPECT_EQ(field(), QString("%1").arg(c.viewStart, 5, 10, QChar('0')).toStdString());
    }
    // The field selected and a new number typed: it stays as typed until
    // Enter, which shows the frame it chose.
    ui.MaskEdit1->selectAll();
    QTest::keyClicks(ui.MaskEdit1, "555");
    EXPECT_EQ(store->viewStart, 540);
    EXPECT_EQ(field(), "555  ");
    QTest::keyClick(ui.MaskEdit1, Qt::Key_Return);
    EXPECT_EQ(field(), "00540");
    EXPECT_EQ(typedViewStart(*store, "     "), 0);
    // Typing moves the window but redraws only on Enter: the readout of the
    // cursor frame follows once Enter is pressed.
    click(Qt::LeftButton, 10, 10); // column 5
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "00100");
    EXPECT_EQ(store->viewStart, 100);
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "545") << "still the frame drawn at 540";
    QTest::keyClick(ui.MaskEdit1, Qt::Key_Return);
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "105");
    // While redraw is suppressed the field is not read.
    store->stateFlags |= state::Busy;
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "00400");
    EXPECT_EQ(store->viewStart, 100);
    store->stateFlags &= uint16_t(~state::Busy);
}

TEST_F(NavigationWindow, ViewerKeysMoveTheView) {
    ui.ComboBox16->setCurrentIndex(0); // 20 frames
    struct Case {
        int key;
        int from;
        int to;
    };
    const Case cases[] = {
        {Qt::Key_Right, 100, 120}, {Qt::Key_PageDown, 100, 120}, {Qt::Key_Left, 100, 80},
        {Qt::Key_PageUp, 100, 80}, {Qt::Key_Home, 300, 0},       {Qt::Key_End, 0, 620 - 510},
    };
    for (const Case& c : cases) {
        store->viewStart = c.from;
        form->setFocus();
        QTest::keyClick(form.get(), Qt::Key(c.key));
        EXPECT_EQ(store->viewStart, c.to) << c.key;
        EXPECT_EQ(field(), QString("%1").arg(c.to, 5, 10, QChar('0')).toStdString()) << c.key;
    }
    // Keys the control with the focus moves with stay its own: the frame
    // field's cursor, the view-step list's item.
    store->viewStart = 100;
    ui.MaskEdit1->setFocus();
    QTest::keyClick(ui.MaskEdit1, Qt::Key_Left);
    QTest::keyClick(ui.MaskEdit1, Qt::Key_End);
    QTest::keyClick(ui.ComboBox16, Qt::Key_PageDown);
    EXPECT_EQ(store->viewStart, 100);
    EXPECT_NE(ui.ComboBox16->currentIndex(), 0);
}

// A survey of 64000 frames: its last frame comes into view at the right
// edge of the picture, and next stops there.
TEST_F(NavigationWindow, TheLastFrameOfAFullStoreCanBeSeen) {
    for (int i = 63000; i <= 63999; ++i) std::fill_n(store->frame(i).value.begin(), 512, 200);
    store->frameCount = MAX_FRAME_INDEX;
    form->setFocus();
    QTest::keyClick(form.get(), Qt::Key_End);
    EXPECT_EQ(store->viewStart, 64000 - 512);
    EXPECT_EQ(next(store->viewStart, 6), 64000 - 512);
    ui.SpeedButton18->click();
    const Point o = form->view().ViewOrigin;
    const QImage& pic = form->radargramImage();
    EXPECT_NE(pic.pixel(o.x + 2 * 511, o.y + 100) & 0xFFFFFF, 0u) << "frame 63999 drawn";
    ui.MaskEdit1->selectAll();
    QTest::keyClicks(ui.MaskEdit1, "63999");
    EXPECT_EQ(store->viewStart, 64000 - 512);
}

TEST_F(NavigationWindow, ClicksOnThePictureAndTheirKeys) {
    store->viewStart = 40;
    struct Case {
        const char* name;
        Qt::MouseButton button;
        int dx, dy;
        Modifiers keys;
        int column, row;       // cursor afterwards
        int second, secondRow; // second point afterwards
        uint32_t cursorColour, grid;
    };
    const uint32_t c0 = 0x123456, g0 = 0x445566;
    const Case cases[] = {
        {"left inside", Qt::LeftButton, 21, 30, {}, 10, 30, 7, 8, c0, g0},
        {"left on the last column", Qt::LeftButton, 1021, 511, {}, 510, 511, 7, 8, c0, g0},
        {"left past the last column", Qt::LeftButton, 1022, 30, {}, 0, 0, 7, 8, c0, g0},
        {"left below the picture", Qt::LeftButton, 30, 512, {}, 0, 0, 7, 8, c0, g0},
        {"left left of the picture", Qt::LeftButton, -1, 30, {}, 0, 0, 7, 8, c0, g0},
        {"left + left Shift: white cursor", Qt::LeftButton, 4, 4, keys(true, false, false, false),
         2, 4, 7, 8, 0xFFFFFF, g0},
        {"left + right Shift", Qt::LeftButton, 4, 4, keys(false, true, false, false), 2, 4, 7, 8,
         c0, g0},
        {"left + left Ctrl: grey grid", Qt::LeftButton, 4, 4, keys(false, false, true, false), 2, 4,
         7, 8, c0, 0x888888},
        {"left + right Ctrl", Qt::LeftButton, 4, 4, keys(false, false, false, true), 2, 4, 7, 8, c0,
         g0},
        {"left outside + left Ctrl: black grid", Qt::LeftButton, 1100, 4,
         keys(false, false, true, false), 0, 0, 7, 8, c0, 0},
        {"left outside + right Ctrl", Qt::LeftButton, 1100, 4, keys(false, false, false, true), 0,
         0, 7, 8, c0, g0},
        {"right inside", Qt::RightButton, 41, 300, {}, 3, 3, 60, 300, c0, g0},
        {"right + left Shift", Qt::RightButton, 41, 300, keys(true, false, false, false), 3, 3, 7,
         8, c0, g0},
        {"right + left Ctrl", Qt::RightButton, 41, 300, keys(false, false, true, false), 3, 3, 7, 8,
         c0, g0},
        {"right + right Ctrl", Qt::RightButton, 41, 300, keys(false, false, false, true), 3, 3, 7,
         8, c0, g0},
        {"right + right Shift", Qt::RightButton, 41, 300, keys(false, true, false, false), 3, 3, 60,
         300, c0, g0},
        {"right outside", Qt::RightButton, 41, 520, {}, 3, 3, 0, 0, c0, g0},
        {"right outside + left Ctrl", Qt::RightButton, 1022, 0, keys(false, false, true, false), 3,
         3, 0, 0, c0, g0},
    };
    for (const Case& c : cases) {
        ViewState& v = form->view();
        v.cursorColumn = 3;
        v.cursorRow = 3;
        v.secondFrame = 7;
        v.secondRow = 8;
        v.cursorColour = c0;
        v.gridColour = g0;
        click(c.button, c.dx, c.dy, c.keys);
        EXPECT_EQ(v.cursorColumn, c.column) << c.name;
        EXPECT_EQ(v.cursorRow, c.row) << c.name;
        EXPECT_EQ(v.secondFrame, c.second) << c.name;
        EXPECT_EQ(v.secondRow, c.secondRow) << c.name;
        EXPECT_EQ(v.cursorColour, c.cursorColour) << c.name;
        EXPECT_EQ(v.gridColour, c.grid) << c.name;
    }
}

TEST_F(NavigationWindow, ClickRedrawsTheReadoutsAndTheSecondPoint) {
    store->viewStart = 120;         // start of profile 2, step 2 cm
    click(Qt::LeftButton, 20, 100); // column 10, frame 130
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "130");
    EXPECT_EQ(ui.StaticText2->text().toStdString(), "20") << "10 frames of 2 cm";
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "50") << "row 100 at 0.5 ns";
    click(Qt::RightButton, 200, 300); // frame 220, row 300
    EXPECT_EQ(form->view().secondFrame, 220);
    const QImage& ov = form->overlayImage();
    const Point o = form->view().ViewOrigin;
    bool yellow = false;
    for (int y = o.y + 200; y < o.y + 206; ++y)
        yellow |= ov.pixel(o.x + 200, y) == qRgb(0xFF, 0xFF, 0);
    EXPECT_TRUE(yellow) << "second point drawn at its column";
}

TEST_F(NavigationWindow, ClicksAndNudgesOnlyInTheRadargramView) {
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | 0x08);
    form->view().cursorColumn = 5;
    click(Qt::LeftButton, 100, 100);
    EXPECT_EQ(form->view().cursorColumn, 5);
    ui.SpeedButton21->click();
    EXPECT_EQ(form->view().cursorColumn, 5);
    store->stateFlags &= uint16_t(~state::ViewMask);
    ui.SpeedButton21->click();
    EXPECT_EQ(form->view().cursorColumn, 6);
}

TEST_F(NavigationWindow, NudgeButtonsStepOneCellWithinThePicture) {
    struct Nudge {
        QToolButton* button;
        int ViewState::*field;
        int from;
        int to;
    };
    const Nudge cases[] = {
        {ui.SpeedButton20, &ViewState::cursorColumn, 5, 4},
        {ui.SpeedButton20, &ViewState::cursorColumn, 0, 0},
        {ui.SpeedButton21, &ViewState::cursorColumn, 510, 511},
        {ui.SpeedButton21, &ViewState::cursorColumn, 511, 511},
        {ui.SpeedButton22, &ViewState::cursorRow, 1, 0},
        {ui.SpeedButton22, &ViewState::cursorRow, 0, 0},
        {ui.SpeedButton23, &ViewState::cursorRow, 510, 511},
        {ui.SpeedButton23, &ViewState::cursorRow, 511, 511},
        {ui.SpeedButton24, &ViewState::sectionIndex, 9, 8},
        {ui.SpeedButton24, &ViewState::sectionIndex, 0, 0},
        {ui.SpeedButton25, &ViewState::sectionIndex, 510, 511},
        {ui.SpeedButton25, &ViewState::sectionIndex, 511, 511},
    };
    for (const Nudge& c : cases) {
        form->view().*c.field = c.from;
        c.button->click();
        EXPECT_EQ(form->view().*c.field, c.to)
            << c.button->objectName().toStdString() << " from " << c.from;
    }
    // The readouts follow: column 6 of the window at 100 is frame 106.
    store->viewStart = 100;
    form->view().cursorColumn = 5;
    form->view().cursorRow = 10;
    ui.SpeedButton21->click();
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "106");
    ui.SpeedButton23->click();
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "5") << "row 11 at 0.5 ns";
}

TEST_F(NavigationWindow, DepthLinesFollowTheZeroLineBoxAndTheGridColour) {
    // 10 cm/ns, antenna distance 1 m, depth step 1 m, 0.5 ns per row:
    // a = 50 cm, z0 = 5 - 3.33 = 1.67 ns. Without the zero level 1 m lies at
    // sqrt(100^2 + 50^2) / 10 - 5 = 6.18 ns, row 12; with it every time is
    // 1.67 ns later: the surface at row 3 and 1 m at 7.85 ns, row 15.
    ui.ComboBox10->setCurrentIndex(2);
    ui.ComboBox13->setCurrentIndex(10);
    ui.ComboBox15->setCurrentIndex(5);
    ASSERT_EQ(store->velocityCode, 1000);
    const QImage& ov = form->overlayImage();
    const Point o = form->view().ViewOrigin;
    // Between the vertical lines at X0 + 100 and X0 + 120 only depth lines run.
    auto lineAt = [&](int row, QRgb c) {
        for (int x = o.x + 101; x < o.x + 120; ++x)
            if (ov.pixel(x, o.y + row) == c) return true;
        return false;
    };
    const QRgb grey = qRgb(0x88, 0x88, 0x88), black = qRgb(0, 0, 0);
    form->view().cursorRow = 300;
    ui.CheckBox2->setChecked(false);
    ui.CheckBox3->setChecked(true);
    EXPECT_TRUE(lineAt(12, grey));
    EXPECT_FALSE(lineAt(3, grey));
    ui.CheckBox2->setChecked(true);
    EXPECT_TRUE(lineAt(3, grey));
    EXPECT_TRUE(lineAt(15, grey));
    EXPECT_FALSE(lineAt(12, grey));
    // Ctrl-click beside the picture turns the grid black.
    click(Qt::LeftButton, -10, 100, keys(false, false, true, false));
    EXPECT_TRUE(lineAt(15, black));
    EXPECT_FALSE(lineAt(15, grey));
    ui.CheckBox3->setChecked(false);
    EXPECT_FALSE(lineAt(15, black)) << "no depth lines with the grid off";
}

TEST_F(NavigationWindow, ReliefDisplayReadoutsUseTheTimeStretch) {
    // Row 100 at 0.5 ns per row is 50 ns; stretched by 2 (item 8) it is 100 ns.
    form->view().cursorRow = 100;
    ui.ComboBox14->setCurrentIndex(8);
    form->DrawView();
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "50") << "the stretch needs the relief display";
    store->stateFlags |= state::Relief;
    form->DrawView();
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "100");
    ui.ComboBox14->setCurrentIndex(0); // 0.5
    form->DrawView();
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "25");
    store->stateFlags &= uint16_t(~state::Relief);
}

} // namespace
} // namespace tesk::testing
