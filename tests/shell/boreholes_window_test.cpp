// The borehole display over the radargram: drawn from the velocity and depth
// table while "Показать скважины" is checked, at the pixels the table and
// the vertical scale give, and out of the way otherwise.

#include "interpretation/point_table.h"
#include "window_fixture.h"

namespace tesk::testing {
namespace {

class BoreholeWindow : public WindowTest {
  protected:
    // A survey whose frames 30 and 60 are rows of the table (table marks).
    std::string markedSurvey() {
        static ProfileStore s;
        s.reset();
        fillPattern(s, 0, 100);
        s.frameCount = 100;
        s.finishLoad();
        for (int f : {30, 60}) s.frame(f).value[cell::Status] |= status::TableMark;
        return writeStore(dir.file("marked.gem"), s);
    }
    ImageWidget* image() { return form->findChild<ImageWidget*>("Image_SKVG"); }
};

TEST_F(BoreholeWindow, TablePointsAreDrawnAtTheirFramesWhileTheBoxIsChecked) {
    clickOpen(markedSurvey());
    ui.ComboBox10->setCurrentIndex(2); // 10 cm/ns
    ui.ComboBox11->setCurrentIndex(1); // 0.5 ns a row: 0.2 rows per cm
    ASSERT_NE(image(), nullptr);
    // Without the boundary tools' check box the display stays off.
    form->GRAF();
    EXPECT_TRUE(image()->isHidden());

    // The table's point columns from the marked frames, with levels typed in.
    PointTable t;
    loadPointTable(t, *store);
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN; ++c)
        ui.StringGrid1->setCell(c, point_row::Frame,
                                QString::fromStdString(t.grid.cell(c, point_row::Frame)));
    ui.StringGrid1->setCell(2, point_row::Level + 1, "100"); // row 20
    ui.StringGrid1->setCell(3, point_row::Level + 1, "50");  // row 10
    auto* shown = form->findChild<QCheckBox*>("CheckBox34");
    if (!shown) {
        shown = new QCheckBox(form.get());
        shown->setObjectName("CheckBox34");
    }
    shown->setChecked(true);
    form->showBoreholes();
    ASSERT_FALSE(image()->isHidden());
    EXPECT_EQ(image()->pos(), QPoint(50, 50));
    const QImage& im = image()->image;
    // Layer 1 starts as red 200, green 140, blue 0.
    const QRgb layer1 = qRgb(200, 140, 0), white = qRgb(255, 255, 255);
    // Point 1 on frame 30 (x = 60), point 2 on frame 60 (x = 120).
    EXPECT_EQ(im.pixel(58, 10), layer1);
    EXPECT_EQ(im.pixel(57, 10), qRgb(1, 0, 0));
    EXPECT_EQ(im.pixel(60, 10), qRgb(0, 0, 0));
    EXPECT_EQ(im.pixel(57, 20), white);
    EXPECT_EQ(im.pixel(67, 20), white);
    EXPECT_EQ(im.pixel(60, 300), white);
    EXPECT_EQ(im.pixel(59, 300), white);
    EXPECT_EQ(im.pixel(118, 9), layer1);
    EXPECT_EQ(im.pixel(117, 10), white);
    EXPECT_EQ(qAlpha(im.pixel(118, 11)), 0);
    EXPECT_EQ(qAlpha(im.pixel(90, 300)), 0);
    // The picture follows the view: from frame 40 on, point 2 lies at x = 40.
    store->viewStart = 40;
    form->GRAF();
    EXPECT_EQ(image()->image.pixel(38, 9), layer1);
    EXPECT_EQ(qAlpha(image()->image.pixel(58, 10)), 0);
    // Unchecked: the picture is the radargram's again.
    shown->setChecked(false);
    form->showBoreholes();
    EXPECT_TRUE(image()->isHidden());
}

} // namespace
} // namespace tesk::testing
