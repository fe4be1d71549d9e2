// The layer tools in the window: the pencil on Image8, smoothing on its
// release, the deletion questions of "Sm" in both languages, the velocity and
// depth table typed into, the depth section on Image5, and what a chosen
// layer does to the other commands.

#include "commands/export_common.h"
#include "interpretation/layer_cells.h"
#include "interpretation/messages.h"
#include "interpretation_fixture.h"
#include "store/options_file.h"

#include <map>

namespace tesk::testing {
namespace {

class LayersWindow : public InterpretationWindow {
  protected:
    // Boundary 1 with the pencil down and snapping off.
    void pencilOnLayer(int k) {
        openDemo(stoneSurvey());
        ui.CheckBox36->setChecked(false);
        ui.ComboBox31->setCurrentIndex(k);
        ui.SpeedButton101->click();
        ASSERT_TRUE(ui.SpeedButton101->isChecked());
        ASSERT_TRUE(ui.Image8->isEnabled());
    }
    // Boundary 1 of frames first..last at row.
    void putBoundary(int first, int last, int row, int k = 1) {
        for (int f = first; f <= last; ++f) setBoundary(f, k, row);
    }
    void clearBoundaries() {
        for (int f = 0; f < 600; ++f)
            for (int k = 1; k <= 7; ++k) setBoundary(f, k, 0);
    }
};

// A colour value 0x00BBGGRR as the image holds it.
QRgb rgbOf(uint32_t bgr) {
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

TEST_F(LayersWindow, PencilStrokesDrawEraseAndAreSmoothedOnRelease) {
    pencilOnLayer(1);
    struct Case {
        const char* name;
        bool preset; // boundary 1 at row 100 under frames 10..30 before the stroke
        Qt::MouseButton button;
        QPoint from, to;
        bool quick;              // one move from the press to the release
        std::map<int, int> rows; // frame -> boundary 1 afterwards
    };
    const Case cases[] = {
        // Frames 10..30 at 100; smoothing a level line changes nothing.
        {"level stroke",
         false,
         Qt::LeftButton,
         {20, 100},
         {60, 100},
         false,
         {{9, 0}, {10, 100}, {20, 100}, {30, 100}, {31, 0}}},
        // One move across ten frames fills frames 20..11 with 120, 118, ...
        // 102 by interpolation (frame 10 had only the press). Smoothing in
        // frame order: frame 11 (102, 102, 104) -> 103, frame 12 (103, 104,
        // 106) -> 104, ... frame 19 (116, 118, 120) -> 118, frame 20 (118,
        // 120, 120) -> 119.
        {"quick stroke",
         false,
         Qt::LeftButton,
         {20, 100},
         {40, 120},
         true,
         {{10, 0}, {11, 103}, {12, 104}, {15, 110}, {19, 118}, {20, 119}, {21, 0}}},
        // Frames 15..18 erased: a gap of four frames is closed again.
        {"short erase",
         true,
         Qt::RightButton,
         {30, 100},
         {37, 100},
         false,
         {{14, 100}, {15, 100}, {18, 100}, {19, 100}}},
        // Frames 10..20 erased: eleven frames stay erased.
        {"long erase",
         true,
         Qt::RightButton,
         {20, 100},
         {40, 100},
         false,
         {{10, 0}, {15, 0}, {20, 0}, {21, 100}, {30, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearBoundaries();
        if (c.preset) putBoundary(10, 30, 100);
        if (c.quick) {
            ui.Image8->onMouseDown(c.button, c.from);
            ui.Image8->onMouseMove(c.button, c.to);
            ui.Image8->onMouseUp(c.button, c.to);
        } else {
            drag(ui.Image8, c.from, c.to, c.button);
        }
        for (const auto& [frame, row] : c.rows) EXPECT_EQ(boundary(frame, 1), row) << frame;
    }
    // The current boundary is drawn in its own colour over its frames.
    clearBoundaries();
    drag(ui.Image8, {20, 100}, {60, 100}, Qt::LeftButton);
    const QImage& img = ui.Image8->image;
    EXPECT_TRUE(img.pixel(50, 100) == rgbOf(0xFFFFF8) || img.pixel(50, 99) == rgbOf(0xFFFFF8));
    EXPECT_EQ(qAlpha(img.pixel(50, 300)), 0);
    // The pencil is idle after the release: moving on writes nothing.
    ui.Image8->onMouseMove(Qt::NoButton, {100, 200});
    EXPECT_EQ(boundary(50, 1), 0);
    // Past the picture the pencil writes its last column and row.
    drag(ui.Image8, {1010, 490}, {1100, 530}, Qt::LeftButton);
    for (int f = 505; f <= 511; ++f) {
        EXPECT_GT(boundary(f, 1), 0) << f;
        EXPECT_LE(boundary(f, 1), 510) << f;
    }
    EXPECT_EQ(boundary(512, 1), 0);
    // With the pencil up Image8 takes nothing.
    ui.SpeedButton101->click();
    EXPECT_FALSE(ui.Image8->isEnabled());
    drag(ui.Image8, {200, 50}, {220, 50}, Qt::LeftButton);
    EXPECT_EQ(boundary(105, 1), 0);
}

TEST_F(LayersWindow, SmAsksBeforeDeletingInBothLanguages) {
    pencilOnLayer(2);
    struct Case {
        bool english;
        bool leftCtrl, leftShift;
        std::vector<Answer> answers;
        std::vector<Message> asked;
        int boundary1, boundary2; // at frame 20 afterwards
    };
    const Message all = msg::deleteAllLayers(), current = msg::deleteCurrentLayer();
    const Case cases[] = {
        {false, true, false, {Answer::No}, {all}, 100, 150},
        {true, true, false, {Answer::Yes}, {all}, 0, 0},
        {true, false, true, {Answer::Yes}, {current}, 100, 0},
        {false, false, true, {Answer::No}, {current}, 100, 150},
        // Both keys: both questions in turn, then nothing is left to smooth.
        {true, true, true, {Answer::Yes, Answer::Yes}, {all, current}, 0, 0},
        {false, true, true, {Answer::Yes, Answer::No}, {all, current}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.english ? "English" : "Russian") + (c.leftCtrl ? " Ctrl" : "") +
                     (c.leftShift ? " Shift" : ""));
        setEnglish(c.english);
        putBoundary(10, 30, 100, 1);
        putBoundary(10, 30, 150, 2);
        prompter.shown.clear();
        prompter.answers.assign(c.answers.begin(), c.answers.end());
        prompter.held.leftCtrl = c.leftCtrl;
        prompter.held.leftShift = c.leftShift;
        ui.Label29->onClick(); // "Sm"
        prompter.held = {};
        ASSERT_EQ(prompter.shown.size(), c.asked.size());
        for (std::size_t i = 0; i < c.asked.size(); ++i) {
            EXPECT_EQ(prompter.shown[i].text, c.english ? c.asked[i].en : c.asked[i].ru);
            EXPECT_EQ(prompter.shown[i].icon, Icon::Warning);
            EXPECT_EQ(prompter.shown[i].buttons, Buttons::YesNo);
        }
        EXPECT_EQ(boundary(20, 1), c.boundary1);
        EXPECT_EQ(boundary(20, 2), c.boundary2);
    }
    EXPECT_EQ(std::string(msg::deleteAllLayers().ru), "Xотите удалить Все слои?");
    EXPECT_EQ(std::string(msg::deleteAllLayers().en), "You want to delete ALL stratums?");
    EXPECT_EQ(std::string(msg::deleteCurrentLayer().ru), "Xотите удалить текущий слой?");
    EXPECT_EQ(std::string(msg::deleteCurrentLayer().en), "You want to delete stratum?");
    // Without the pencil "Sm" does nothing.
    ui.SpeedButton101->click();
    putBoundary(10, 30, 100, 2);
    prompter.held.leftCtrl = true;
    ui.Label29->onClick();
    prompter.held = {};
    EXPECT_EQ(boundary(20, 2), 100);
}

TEST_F(LayersWindow, PointTableSpreadsLayerVelocitiesAlongTheSurvey) {
    openDemo(stoneSurvey());
    ui.ComboBox31->setCurrentIndex(1);
    EXPECT_FALSE(ui.Panel_TVSL->isHidden());
    putBoundary(0, 400, 100); // boundary 1 at 100 ns
    auto type = [&](int c, int r, const char* text) {
        ASSERT_TRUE(ui.StringGrid1->typeIntoCell(c, r, text)) << c << " " << r;
    };
    // Points at frames 100 and 300 with Vgr 5 and 7 above boundary 1.
    type(2, 2, "100");
    type(2, 3, "5");
    type(3, 2, "300");
    type(3, 3, "7");
    auto cell = [&](int c, int r) { return ui.StringGrid1->cell(c, r).toStdString(); };
    EXPECT_EQ(cell(2, 11), "5");   // layer velocity 1 of point 1
    EXPECT_EQ(cell(2, 19), "500"); // 5.00 x 100 ns
    EXPECT_EQ(cell(3, 19), "700");
    EXPECT_TRUE(store->frame(100).status() & status::TableMark);
    struct Case {
        int frame, code;
    };
    // Constant before the first point, linear between, the last after.
    for (const Case& c :
         {Case{50, 500}, Case{100, 500}, Case{200, 600}, Case{300, 700}, Case{350, 700}})
        EXPECT_EQ(layerCode(store->frame(c.frame), 1), c.code) << c.frame;

    // Bad entries are replaced in the cell.
    type(4, 2, "70000"); // no such frame
    EXPECT_EQ(cell(4, 2), "00");
    type(2, 3, "abc"); // letters are not velocities
    EXPECT_EQ(cell(2, 11), "0");
    for (int r = 1; r <= 34; ++r) EXPECT_EQ(cell(2, r).find("nan"), std::string::npos) << r;

    // The depth table: depths typed, velocities derived.
    for (const bool en : {true, false}) {
        setEnglish(en);
        ui.CheckBox35->setChecked(true);
        EXPECT_EQ(ui.CheckBox35->text().toStdString(), en ? "Table of Depth" : "Таблица Глубин");
        ui.CheckBox35->setChecked(false);
        EXPECT_EQ(ui.CheckBox35->text().toStdString(),
                  en ? "Table of Velocity" : "Таблица Скоростей");
    }
    ui.CheckBox35->setChecked(true);
    type(2, 19, "600"); // 6 m at 100 ns: Vgr 6.00
    EXPECT_EQ(cell(2, 3), "6");
    EXPECT_EQ(cell(2, 11), "6");
    EXPECT_EQ(layerCode(store->frame(50), 1), 600);
}

TEST_F(LayersWindow, GAndVResizeTheVelocityTableWithinTheirLimits) {
    auto* g = form->findChild<QLabel*>("Label_TVSL_G");
    auto* v = form->findChild<QLabel*>("Label_TVSL_V");
    ASSERT_TRUE(g && v);
    const QSize start = ui.StringGrid1->size();
    ASSERT_EQ(start, QSize(488, 268));
    form->PanelMouseDown(g, Qt::LeftButton);
    EXPECT_EQ(ui.StringGrid1->width(), start.width() + 61);
    EXPECT_EQ(ui.Panel_TVSL->width(), ui.StringGrid1->width() + 8);
    // Narrower by 61 while wider than 450: 549 -> 488 -> 427, then no more.
    for (int i = 0; i < 4; ++i) form->PanelMouseDown(g, Qt::RightButton);
    EXPECT_EQ(ui.StringGrid1->width(), start.width() - 61);
    // Taller by 19 while lower than 520: 268 + 14 x 19 = 534, then no more.
    for (int i = 0; i < 20; ++i) form->PanelMouseDown(v, Qt::LeftButton);
    EXPECT_EQ(ui.StringGrid1->height(), start.height() + 14 * 19);
    EXPECT_EQ(ui.Panel_TVSL->height(), ui.StringGrid1->y() + ui.StringGrid1->height() + 8);
    form->PanelMouseDown(v, Qt::RightButton);
    EXPECT_EQ(ui.StringGrid1->height(), start.height() + 13 * 19);
}

TEST_F(LayersWindow, DepthSectionPaintsTheLayersAndStretchesTheirTraces) {
    openDemo(stoneSurvey());
    putBoundary(0, 520, 100, 1);
    putBoundary(0, 520, 200, 2);
    store->header.setLayerColour(1, LayerColour{200, 140, 0});
    store->header.setLayerColour(2, LayerColour{30, 130, 130});
    store->header.setLayerColour(8, LayerColour{0, 0, 0}); // no colour
    const QRgb layer1 = qRgb(200, 140, 0), layer2 = qRgb(30, 130, 130);
    ui.CheckBox33->setChecked(true);
    EXPECT_FALSE(ui.Image5->isHidden());
    EXPECT_FALSE(ui.Panel_TVSL->isHidden());
    // No layer velocities: every band as thick as its layer, the trace as it was.
    const QImage& img = ui.Image5->image;
    EXPECT_EQ(img.pixel(100, 50), layer1);
    EXPECT_EQ(img.pixel(100, 150), layer2);
    EXPECT_EQ(qAlpha(img.pixel(100, 300)), 0); // layer 8 has no colour
    const DisplayRaster& raster = form->radargram().raster;
    EXPECT_EQ(raster.row(0, DisplayRaster::FIRST_VIEW_ROW + 50)[150], store->frame(50).value[150]);
    // A point makes layer 1 twice as fast as the reference Vgr 5.00: its
    // 100 rows are drawn 200 rows high, layer 2 follows below.
    ASSERT_TRUE(ui.StringGrid1->typeIntoCell(2, 2, "50"));
    ASSERT_TRUE(ui.StringGrid1->typeIntoCell(2, 3, "10"));
    EXPECT_EQ(layerCode(store->frame(50), 1), 1000);
    EXPECT_EQ(img.pixel(100, 150), layer1);
    EXPECT_EQ(img.pixel(100, 250), layer2);
    // The stretched trace: stored row 40 of frame 50 is shown at row 80.
    EXPECT_EQ(raster.row(0, DisplayRaster::FIRST_VIEW_ROW + 50)[80], store->frame(50).value[40]);
    // Unchecked: the plain radargram again.
    ui.CheckBox33->setChecked(false);
    EXPECT_TRUE(ui.Image5->isHidden());
    EXPECT_TRUE(ui.Panel_TVSL->isHidden());
    EXPECT_EQ(raster.row(0, DisplayRaster::FIRST_VIEW_ROW + 50)[80], store->frame(50).value[80]);
}

TEST_F(LayersWindow, ChosenLayerOrdersItsBoundaryAndHoldsTheOtherTools) {
    openDemo(stoneSurvey());
    // Boundary 3 on boundary 2's row must lie a row below it; with boundary
    // 4 there as well it goes a row above that one instead.
    setBoundary(60, 2, 100);
    setBoundary(60, 3, 100);
    setBoundary(61, 2, 100);
    setBoundary(61, 3, 100);
    setBoundary(61, 4, 100);
    ui.SpeedButton7->setEnabled(true);
    store->header.setLayerColour(3, LayerColour{160, 0, 80});
    ui.ComboBox31->setCurrentIndex(3);
    EXPECT_EQ(boundary(60, 3), 101);
    EXPECT_EQ(boundary(61, 3), 99);
    EXPECT_FALSE(ui.Image8->isHidden());
    EXPECT_TRUE(ui.SpeedButton101->isEnabled());
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui.SpeedButton7, ui.SpeedButton15, ui.SpeedButton16})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // The colour boxes show layer 3's colour.
    EXPECT_EQ(ui.ComboBox32->currentIndex(), 160);
    EXPECT_EQ(ui.ComboBox33->currentIndex(), 0);
    EXPECT_EQ(ui.ComboBox34->currentIndex(), 80);
    // A new survey keeps the layer and its hold on the commands.
    openDemo(stoneSurvey());
    EXPECT_FALSE(ui.SpeedButton15->isEnabled());
    ui.ComboBox31->setCurrentIndex(0);
    EXPECT_TRUE(ui.Image8->isHidden());
    EXPECT_TRUE(ui.SpeedButton7->isEnabled());
    EXPECT_TRUE(ui.SpeedButton15->isEnabled());
    EXPECT_FALSE(ui.SpeedButton101->isEnabled());
    // The options file keeps the switches and items of the tools.
    ui.CheckBox34->setChecked(true);
    ui.CheckBox35->setChecked(true);
    ui.ComboBox35->setCurrentIndex(2);
    ui.ComboBox36->setCurrentIndex(1);
    ui.ComboBox31->setCurrentIndex(4);
    const OptionsFileSettings o = form->optionsForSave();
    EXPECT_EQ(o.layerChecks, (std::array<bool, 6>{false, false, false, true, true, false}));
    EXPECT_EQ(o.layerItems, (std::array<uint8_t, 3>{2, 1, 4}));
    // The automatic snapping names its state.
    for (const bool en : {true, false}) {
        setEnglish(en);
        ui.CheckBox36->setChecked(true);
        EXPECT_EQ(ui.CheckBox36->text().toStdString(), en ? "Automatic" : "Авто");
        ui.CheckBox36->setChecked(false);
        EXPECT_EQ(ui.CheckBox36->text().toStdString(), en ? "Manual" : "Ручной");
    }
}

} // namespace
} // namespace tesk::testing
