// The velocity measurement in the window: the four methods of ComboBox35 as
// an operator uses them with the mouse on Image9, the live curve, picks that
// measure nothing, the hodograph table typed into, the scan's progress panel,
// and the commands the mode holds while it is on.

#include "commands/export_common.h"
#include "display/overlay.h"
#include "interpretation/table_text.h"
#include "interpretation/velocity_fit.h"
#include "interpretation_fixture.h"

#include <cmath>

namespace tesk::testing {
namespace {

using VelocityWindow = InterpretationWindow;

constexpr int STONE_FRAME = 90;     // x = 4.5 m at 5 cm per frame
constexpr double STONE_DEPTH = 200; // cm
constexpr double STONE_VGR = 5.0;   // cm/ns; 1 ns per sample
constexpr int STONE_ROW = 40;       // 200 cm / 5.00 cm/ns

// The codes picks can give when each lies at most half a sample from the
// true event.
std::pair<int, int> hyperbolaBand(int dx, double t0, double t1) {
    int lo = 1 << 30, hi = 0;
    for (double e0 : {-0.5, 0.5})
        for (double e1 : {-0.5, 0.5})
            if (const auto c = hyperbolaVelocityCode(dx, t0 + e0, t1 + e1)) {
                lo = std::min(lo, *c);
                hi = std::max(hi, *c);
            }
    return {lo, hi};
}

int depthRowOf200cm(TForm1& form, const ProfileStore& s) {
    for (const DepthMark& m : depthScale(s, form.overlaySettings()))
        if (m.depthCm == 200) return m.row;
    return -1;
}

TEST_F(VelocityWindow, HyperbolaPickedWithTheMouseGivesTheStonesVelocity) {
    openDemo(stoneSurvey());
    ui.CheckBox36->setChecked(true); // picks snap to the maximum
    ui.SpeedButton15->click();
    ASSERT_TRUE(ui.SpeedButton15->isChecked());
    ASSERT_TRUE(ui.Image9->isEnabled());
    EXPECT_EQ(depthRowOf200cm(*form, *store), 40); // 200 cm at Vgr 5.00
    struct Case {
        int frames;      // from the apex to the branch point
        int depthRow200; // where the depth scale puts 2 m afterwards
        double permittivity;
    };
    // 20 frames: the branch at sqrt(200^2 + 100^2) / 5 = 44.7 ns, sampled at
    // 45: Vgr = 100 / sqrt(45^2 - 40^2) = 4.85, 2 m at 200 / 4.85 = 41.2 ns.
    // 30 frames: 250 / 5 = 50 ns exactly, Vgr = 150 / 30 = 5.00.
    const Case cases[] = {{20, 41, 9.57}, {30, 40, 9.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        // The apex, picked two rows low: the pick snaps onto it.
        ui.Image9->onMouseDown(Qt::LeftButton, QPoint(2 * STONE_FRAME, STONE_ROW + 2));
        EXPECT_EQ(form->view().cursorRow, STONE_ROW);
        const int dx = c.frames * 5;
        const double t1 = std::hypot(STONE_DEPTH, dx) / STONE_VGR;
        const QPoint branch(2 * (STONE_FRAME + c.frames), int(std::nearbyint(t1)));
        // While the pointer moves the hyperbola through it is drawn.
        ui.Image9->onMouseMove(Qt::NoButton, branch);
        EXPECT_TRUE(drawnNear(ui.Image9->image, branch));
        ui.Image9->onMouseDown(Qt::RightButton, branch - QPoint(0, 2));
        const auto [lo, hi] = hyperbolaBand(dx, STONE_ROW, t1);
        EXPECT_LE(lo, 500);
        EXPECT_GE(hi, 500);
        EXPECT_GE(store->velocityCode, lo);
        EXPECT_LE(store->velocityCode, hi);
        EXPECT_EQ(store->velocityCode, hyperbolaVelocityCode(dx, STONE_ROW, std::nearbyint(t1)));
        // The measurement is the soil velocity, ComboBox10's first item and
        // the permittivity; the depth scale follows it.
        EXPECT_EQ(store->hodographVelocity, store->velocityCode);
        EXPECT_EQ(store->header.get16(hdr::VelocityCode), store->velocityCode);
        EXPECT_EQ(ui.ComboBox10->currentIndex(), 0);
        EXPECT_EQ(store->header.value[hdr::VelocityIndex], 0);
        EXPECT_DOUBLE_EQ(store->permittivity, c.permittivity);
        EXPECT_EQ(depthRowOf200cm(*form, *store), c.depthRow200);
    }
    // ComboBox10 stays on the measured velocity while the mode is on.
    ui.ComboBox10->setCurrentIndex(5);
    EXPECT_EQ(ui.ComboBox10->currentIndex(), 0);
    EXPECT_EQ(store->velocityCode, 500);
}

TEST_F(VelocityWindow, PicksThatMeasureNothingLeaveTheVelocity) {
    openDemo(stoneSurvey());
    ui.SpeedButton15->click();
    struct Case {
        const char* name;
        QPoint second;
        std::optional<int> code; // nothing: the velocity stays
    };
    const Case cases[] = {
        {"off the picture to the right", {1030, 60}, std::nullopt},
        {"off the picture above", {240, -3}, std::nullopt},
        {"above the apex", {240, 20}, std::nullopt},
        {"straight under the apex", {2 * STONE_FRAME, 90}, std::nullopt},
        // Both picks on one row: D = 0 gives Vgr 15.00.
        {"on the apex row", {240, STONE_ROW}, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Image9->onMouseDown(Qt::LeftButton, QPoint(2 * STONE_FRAME, STONE_ROW));
        const int before = store->velocityCode;
        ui.Image9->onMouseDown(Qt::RightButton, c.second);
        EXPECT_EQ(store->velocityCode, c.code.value_or(before));
        EXPECT_TRUE(std::isfinite(store->permittivity));
        EXPECT_EQ(form->view().cursorColumn, STONE_FRAME);
    }
    // A left click off the picture keeps the apex.
    ui.Image9->onMouseDown(Qt::LeftButton, QPoint(2000, 10));
    EXPECT_EQ(form->view().cursorColumn, STONE_FRAME);
    EXPECT_EQ(form->view().cursorRow, STONE_ROW);
}

TEST_F(VelocityWindow, PicksInTheGapBetweenProfilesMeasureNothing) {
    openDemo(stoneSurvey()); // frames 400 .. 409 are the gap after the first line
    ui.SpeedButton15->click();
    for (const int method : {1, 2}) {
        SCOPED_TRACE(method);
        ui.ComboBox35->setCurrentIndex(method);
        store->setVelocity(700);
        ui.Image9->onMouseDown(Qt::LeftButton, QPoint(2 * 405, 100));
        ui.Image9->onMouseDown(Qt::RightButton, QPoint(2 * 408, 120));
        EXPECT_EQ(store->velocityCode, 700);
        EXPECT_TRUE(blank(ui.Image9->image));
        for (int f = 0; f < 512; ++f)
            ASSERT_FALSE(store->frame(f).status() & status::HodographMark) << f;
    }
}

TEST_F(VelocityWindow, TravelTimeMethodsOnAGatherFindItsVelocity) {
    const demo::DemoParams p = demo::gatherParams(); // Vgr 4.00, 0.5 ns per sample
    openDemo(p);
    ui.CheckBox36->setChecked(true);
    // The travel-time methods put SpeedButton16 in front.
    ui.ComboBox35->setCurrentIndex(1);
    EXPECT_EQ(ui.SpeedButton16->y(), 4);
    EXPECT_EQ(ui.SpeedButton15->y(), 36);
    ui.SpeedButton16->click();
    ASSERT_TRUE(ui.Image9->isEnabled());
    EXPECT_FALSE(ui.Panel_TGod->isHidden());
    EXPECT_FALSE(ui.CheckBox32->isHidden());

    // Method 1: the boundary 2 m deep at the first frame (separation 50 cm)
    // and on its curve 100 frames on (separation 250 cm).
    const double dt = 0.5;
    const double t0 = demo::reflectionTimeNs(p, 200, demo::separationCm(p, 0));
    const double t1 = demo::reflectionTimeNs(p, 200, demo::separationCm(p, 100));
    ui.Image9->onMouseDown(Qt::LeftButton, QPoint(0, int(t0 / dt) + 2));
    const int row0 = form->view().cursorRow;
    EXPECT_EQ(row0, int(std::nearbyint(t0 / dt)));
    EXPECT_EQ(boundary(0, 1), row0);
    EXPECT_TRUE(store->frame(0).status() & status::HodographMark);
    ui.Image9->onMouseDown(Qt::RightButton, QPoint(200, int(t1 / dt) - 2));
    const auto expected =
        separationVelocityCode(50, 1, 100, row0 * dt, std::nearbyint(t1 / dt) * dt, 1500);
    ASSERT_TRUE(expected);
    EXPECT_EQ(store->velocityCode, *expected);
    EXPECT_NEAR(store->velocityCode, 400, 10);
    EXPECT_EQ(store->frame(0).get16(cell::TableValuesA), store->velocityCode);
    EXPECT_EQ(ui.StringGrid4->cell(1, 1).toStdString(),
              formatVgr(store->velocityCode, systemDecimalSeparator()));
    EXPECT_FALSE(blank(ui.Image9->image)); // the curves of the boundaries

    // Methods 2 and 3 run as they are chosen; the tracking starts at the
    // cursor, the scan examines the first trace row by row.
    struct Case {
        int method;
        int tolerance; // of the method: the tracking's running estimate, the scan's step
    };
    for (const Case& c : {Case{2, 20}, Case{3, 10}}) {
        SCOPED_TRACE(c.method);
        store->setVelocity(700);
        ui.ComboBox35->setCurrentIndex(c.method);
        EXPECT_TRUE(ui.Panel_TGod->isHidden());
        EXPECT_TRUE(ui.CheckBox32->isHidden());
        EXPECT_NEAR(store->velocityCode, 400, c.tolerance);
        EXPECT_EQ(ui.ComboBox10->currentIndex(), 0);
        EXPECT_TRUE(ui.Panel3->isHidden());
    }
    // A left click on the reflection tracks it from there.
    ui.ComboBox35->setCurrentIndex(2);
    store->setVelocity(700);
    ui.Image9->onMouseDown(Qt::LeftButton, QPoint(0, row0));
    EXPECT_NEAR(store->velocityCode, 400, 20);
}

TEST_F(VelocityWindow, HodographVelocitiesTypedIntoTheTableGiveDepthsAndLayerVelocities) {
    openDemo(stoneSurvey());
    ui.ComboBox35->setCurrentIndex(1);
    ui.SpeedButton16->click();
    // Boundaries at 100 and 150 ns under the cursor frame 100.
    setBoundary(100, 1, 100);
    setBoundary(100, 2, 150);
    form->view().cursorColumn = 100;
    const char sep = systemDecimalSeparator();
    auto text = [](StringGrid* g, int c, int r) { return g->cell(c, r).toStdString(); };
    // Vgr 10 to 100 ns: 10 m; Vgr 8 to 150 ns: 12 m, so the second layer
    // carries (1200 - 1000) / 50 = 4.00 and permittivity (15 / 4)^2 = 14.06.
    // A hodograph velocity of "0" removes its boundary from the frame unless
    // it is the current hodograph (1): the second is typed first.
    ASSERT_TRUE(ui.StringGrid4->typeIntoCell(1, 2, "8"));
    ASSERT_TRUE(ui.StringGrid4->typeIntoCell(1, 1, "10"));
    EXPECT_EQ(text(ui.StringGrid4, 2, 1), "10");
    EXPECT_EQ(text(ui.StringGrid4, 3, 1), "1000");
    EXPECT_EQ(text(ui.StringGrid4, 4, 1), formatDecimal(2.25, 2, sep));
    EXPECT_EQ(text(ui.StringGrid4, 2, 2), "4");
    EXPECT_EQ(text(ui.StringGrid4, 3, 2), "1200");
    EXPECT_EQ(text(ui.StringGrid4, 4, 2), formatDecimal(14.06, 2, sep));
    // Column 1 of the velocity and depth table shows the same model.
    EXPECT_EQ(text(ui.StringGrid1, 1, 3), "10");
    EXPECT_EQ(text(ui.StringGrid1, 1, 12), "4");
    EXPECT_EQ(text(ui.StringGrid1, 1, 20), "1200");
    EXPECT_EQ(store->frame(100).get16(cell::TableValuesA + 2), 800);

    // What the cell keeps of bad entries.
    struct Case {
        const char* typed;
        std::string shown;
    };
    const Case cases[] = {
        {"20", "15"},                               // above 15
        {"4.5678", std::string("4") + sep + "567"}, // six characters keep five
        {".5", "00"},                               // a separator first
        {"x9", "9"},                                // letters are not taken
        {"", "0"},                                  // an empty cell
        {"99999999", "15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(ui.StringGrid4->typeIntoCell(1, 2, c.typed));
        EXPECT_EQ(text(ui.StringGrid4, 1, 2), c.shown);
        for (int col = 1; col <= 5; ++col)
            for (const char* bad : {"nan", "inf"})
                EXPECT_EQ(text(ui.StringGrid4, col, 2).find(bad), std::string::npos);
    }
    // Choosing a hodograph names it in the table's title, in either language.
    setEnglish(true);
    emit ui.StringGrid4->cellClicked(2, 1);
    EXPECT_EQ(ui.Label_GDRF->text().toStdString(), "G O D O G R A F - 2");
    EXPECT_EQ(form->view().cursorRow, boundary(100, 2));
    setEnglish(false);
    EXPECT_EQ(ui.Label_GDRF->text().toStdString(), "Г О Д О Г Р А Ф - 2");
    ui.SpeedButton16->click();
    EXPECT_EQ(ui.Label_GDRF->text().toStdString(), "Г О Д О Г Р А Ф");
    EXPECT_TRUE(ui.Panel_TGod->isHidden());
    // Out of the mode a typed hodograph velocity measures nothing: the
    // velocity chosen in ComboBox10 stays.
    ui.ComboBox10->setCurrentIndex(5); // 8.50
    ASSERT_TRUE(ui.StringGrid4->typeIntoCell(1, 1, "3"));
    EXPECT_EQ(ui.ComboBox10->currentIndex(), 5);
    EXPECT_EQ(store->velocityCode, 850);
}

TEST_F(VelocityWindow, ScanShowsItsRowOnTheProgressPanel) {
    for (const bool en : {true, false}) {
        setEnglish(en);
        Interaction& ui3 = form->interaction();
        ui3.passStarted(Interaction::Pass::Scan, "");
        ui3.progress(250, 511);
        EXPECT_FALSE(ui.Panel3->isHidden());
        EXPECT_EQ(ui.Label1->text().toStdString(),
                  en ? "Please wait; the velocity scan is running"
                     : "Пожалуйста подождите, идет расчёт скорости");
        EXPECT_EQ(ui.Label2->text().toStdString(), "250");
        EXPECT_EQ(ui.ProgressBar1->maximum(), 511);
        ui3.passFinished();
        EXPECT_TRUE(ui.Panel3->isHidden());
    }
}

TEST_F(VelocityWindow, TheModeHoldsTheOtherToolsAndGivesThemBack) {
    openDemo(stoneSurvey());
    // Tools that other parts of the window enable; the relief view stays off.
    ui.SpeedButton7->setEnabled(true);
    ui.SpeedButton13->setEnabled(true);
    ui.SpeedButton6->setEnabled(false);
    ui.SpeedButton15->click();
    EXPECT_TRUE(ui.SpeedButton16->isChecked()); // one mode, both buttons
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.SpeedButton6, ui.SpeedButton7, ui.SpeedButton13, ui.ComboBox31, ui.CheckBox33})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(ui.Image8->isHidden());
    EXPECT_FALSE(ui.Image9->isHidden());
    ui.SpeedButton16->click(); // either button ends it
    EXPECT_FALSE(ui.SpeedButton15->isChecked());
    EXPECT_FALSE(ui.Image9->isEnabled());
    EXPECT_TRUE(ui.Image9->isHidden());
    EXPECT_TRUE(ui.SpeedButton7->isEnabled());
    EXPECT_TRUE(ui.SpeedButton13->isEnabled());
    EXPECT_FALSE(ui.SpeedButton6->isEnabled());
    EXPECT_TRUE(ui.ComboBox31->isEnabled());
    EXPECT_TRUE(ui.CheckBox33->isEnabled());
    // Picks while the mode is off do nothing.
    const int before = store->velocityCode;
    ui.Image9->onMouseDown(Qt::LeftButton, QPoint(180, 40));
    ui.Image9->onMouseDown(Qt::RightButton, QPoint(240, 40));
    EXPECT_EQ(store->velocityCode, before);
    // "Показать профиль" ends the mode too.
    ui.SpeedButton15->click();
    ui.SpeedButton5->click();
    EXPECT_FALSE(ui.SpeedButton15->isChecked());
    EXPECT_FALSE(ui.Image9->isEnabled());
}

} // namespace
} // namespace tesk::testing
