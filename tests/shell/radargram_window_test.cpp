// The radargram window through its widgets: parameter boxes and their header
// cells, the option layout, navigation, the picture and the language switch.

#include "display/palettes.h"
#include "shell/widgets/image_widgets.h"
#include "store/settings_catalog.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace tesk::testing {
namespace {

class RadargramWindow : public WindowTest {
  protected:
    void openSurvey(int frames) { clickOpen(writeSurvey(dir.file("s.gem"), frames)); }
    QRgb pixel(int x, int y) const { return form->radargramImage().pixel(x, y); }
    static QRgb rgb(uint32_t bgr) {
        return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    }
};

TEST_F(RadargramWindow, ParameterBoxesWriteTheirHeaderCells) {
    openSurvey(100);
    auto& h = store->header.value;
    ui.ComboBox12->setCurrentIndex(7);
    EXPECT_EQ(h[hdr::Step], 7);
    ui.ComboBox13->setCurrentIndex(3);
    EXPECT_EQ(h[hdr::Antenna], 3);
    ui.ComboBox15->setCurrentIndex(9);
    EXPECT_EQ(h[hdr::DepthStep], 9);
    ui.ComboBox16->setCurrentIndex(7);
    EXPECT_EQ(h[hdr::ViewFlags] & 0x0F, 7);
    const QComboBox* filters[] = {ui.ComboBox20, ui.ComboBox22, ui.ComboBox23, ui.ComboBox24,
                                  ui.ComboBox21, ui.ComboBox25, ui.ComboBox26, ui.ComboBox27};
    for (int i = 0; i < 8; ++i) {
        const_cast<QComboBox*>(filters[i])->setCurrentIndex(i % 4 == 0 ? 2 : 5 + i);
        EXPECT_EQ(h[24 + i], i % 4 == 0 ? 2 : 5 + i) << i;
    }
    ui.ComboBox28->setCurrentIndex(4);
    EXPECT_EQ(h[hdr::ColourMode], 4);
    ui.ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(h[hdr::AmplitudeForm], 2);
    ui.ComboBox19->setCurrentIndex(1);
    EXPECT_EQ(h[hdr::ZeroGainMode], 1);
    ui.ComboBox29->setCurrentIndex(3);
    EXPECT_EQ(h[hdr::LevelTable], 3);
    ui.CheckBox22->setChecked(true);
    EXPECT_EQ(h[hdr::AmplitudeFlags] & hdr::Inversion, hdr::Inversion);
    ui.ComboBox10->setCurrentIndex(2); // 10.00 cm/ns
    EXPECT_EQ(h[hdr::VelocityIndex], 2);
    EXPECT_EQ(store->velocityCode, 1000);
    EXPECT_EQ(store->header.get16(hdr::VelocityCode), 1000);
    EXPECT_DOUBLE_EQ(store->permittivity, 2.25);
}

TEST_F(RadargramWindow, SettingsSurviveSaveAndReopen) {
    openSurvey(100);
    ui.ComboBox12->setCurrentIndex(9);
    ui.ComboBox25->setCurrentIndex(4);
    ui.ComboBox28->setCurrentIndex(3);
    ui.CheckBox22->setChecked(true);
    ui.CheckBox1->setChecked(false);
    const std::string out = dir.file("settings.gem");
    prompter.saveNames.push_back(SaveChoice{out, 1});
    ui.SpeedButton3->click();
    ui.ComboBox12->setCurrentIndex(0);
    ui.ComboBox25->setCurrentIndex(0);
    ui.ComboBox28->setCurrentIndex(0);
    ui.CheckBox22->setChecked(false);
    clickOpen(out);
    EXPECT_EQ(ui.ComboBox12->currentIndex(), 9);
    EXPECT_EQ(ui.ComboBox25->currentIndex(), 4);
    EXPECT_EQ(ui.ComboBox28->currentIndex(), 3);
    EXPECT_TRUE(ui.CheckBox22->isChecked());
    EXPECT_FALSE(ui.CheckBox1->isChecked());
}

struct DepthStepCase {
    int range;  // ComboBox11 item chosen
    int before; // ComboBox15 item before
    int after;  // ComboBox15 item after
};

class DepthStepWindow : public RadargramWindow,
                        public ::testing::WithParamInterface<DepthStepCase> {};

TEST_P(DepthStepWindow, TimeRangeKeepsTheDepthStepSensible) {
    openSurvey(60);
    const DepthStepCase c = GetParam();
    ui.ComboBox11->setCurrentIndex(c.range == 2 ? 3 : 2);
    ui.ComboBox15->setCurrentIndex(c.before);
    ui.ComboBox11->setCurrentIndex(c.range);
    EXPECT_EQ(ui.ComboBox15->currentIndex(), c.after);
    EXPECT_EQ(store->header.value[hdr::TimeRange], c.range);
    EXPECT_EQ(store->header.value[hdr::DepthStep], c.after);
}

INSTANTIATE_TEST_SUITE_P(Windows, DepthStepWindow,
                         ::testing::Values(DepthStepCase{0, 7, 7},  // 300 cm stays at 128 ns
                                           DepthStepCase{0, 11, 5}, // 800 cm becomes 100 cm
                                           DepthStepCase{1, 1, 6}, DepthStepCase{1, 12, 12},
                                           DepthStepCase{1, 13, 6}, DepthStepCase{2, 4, 7},
                                           DepthStepCase{2, 17, 17}, DepthStepCase{3, 5, 8},
                                           DepthStepCase{4, 22, 8}, DepthStepCase{5, 8, 10},
                                           DepthStepCase{5, 9, 9}, DepthStepCase{6, 11, 12},
                                           DepthStepCase{7, 16, 17}, DepthStepCase{7, 18, 18}));

TEST_F(RadargramWindow, TimeRangeRefillsTheStretchBox) {
    ui.ComboBox11->setCurrentIndex(3); // 1024 ns: 2 ns per row
    EXPECT_EQ(ui.ComboBox14->itemText(0).toStdString(), "    512  ns");
    EXPECT_EQ(ui.ComboBox14->itemText(8).toStdString(), "    2048  ns");
}

TEST_F(RadargramWindow, OptionSubPanelsStandInTheirFixedOrder) {
    const int w21 = ui.Panel_21->width();
    for (QCheckBox* c : {ui.CheckBox11, ui.CheckBox12, ui.CheckBox13}) c->setChecked(false);
    ui.CheckBox14->setChecked(true);
    EXPECT_EQ(ui.Panel_25->x(), w21 + 1);
    EXPECT_EQ(ui.Panel_2->width(), w21 + ui.Panel_25->width() + 6);
    ui.CheckBox14->setChecked(false);
    EXPECT_EQ(ui.Panel_2->width(), w21 + 6);
    // Switched on out of order, they still stand 22, 23, 24, 25.
    for (QCheckBox* c : {ui.CheckBox14, ui.CheckBox12, ui.CheckBox13, ui.CheckBox11})
        c->setChecked(true);
    EXPECT_EQ(ui.Panel_22->x(), w21 + 1);
    EXPECT_EQ(ui.Panel_23->x(), ui.Panel_22->x() + ui.Panel_22->width());
    EXPECT_EQ(ui.Panel_24->x(), ui.Panel_23->x() + ui.Panel_23->width());
    EXPECT_EQ(ui.Panel_25->x(), ui.Panel_24->x() + ui.Panel_24->width());
    EXPECT_EQ(store->header.value[hdr::OptionFlags] & 0x38, 0x38);
}

TEST_F(RadargramWindow, NavigationClampsAndSteps) {
    openSurvey(13000);
    // Typing overwrites the five positions; each keystroke moves the view.
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClick(ui.MaskEdit1, '1');
    EXPECT_EQ(store->viewStart, 10000);
    QTest::keyClicks(ui.MaskEdit1, "2345");
    EXPECT_EQ(store->viewStart, 12340);
    EXPECT_EQ(ui.MaskEdit1->displayText().toStdString(), "12340");
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "2");
    EXPECT_EQ(store->viewStart, store->frameCount) << "capped at the frame count";
    ui.ComboBox16->setCurrentIndex(2); // 100 frames
    store->viewStart = 49400;
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 49480);
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 49480);
    store->viewStart = 150;
    ui.SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 50);
    ui.SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 0);
    prompter.held.leftCtrl = true;
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, store->frameCount - 510);
    ui.SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 0);
    EXPECT_EQ(ui.MaskEdit1->displayText().toStdString(), "00000");
}

TEST_F(RadargramWindow, ClicksSetTheCursorAndTheSecondPoint) {
    openSurvey(600);
    const Point o = form->view().ViewOrigin;
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x + 1021, o.y + 7));
    EXPECT_EQ(form->view().cursorColumn, 510);
    EXPECT_EQ(form->view().cursorRow, 7);
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "510");
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x + 1022, o.y + 7));
    EXPECT_EQ(form->view().cursorColumn, 0) << "a click beyond the picture resets the cursor";
    store->viewStart = 40;
    form->radargramView().Image1MouseDown(Qt::RightButton, QPoint(o.x + 20, o.y + 300));
    EXPECT_EQ(form->view().secondFrame, 50);
    EXPECT_EQ(form->view().secondRow, 300);
    prompter.held.leftShift = true;
    form->radargramView().Image1MouseDown(Qt::RightButton, QPoint(o.x + 40, o.y + 100));
    EXPECT_EQ(form->view().secondFrame, 50) << "Shift-right-click leaves the second point";
    prompter.held = {};
    form->radargramView().Image1MouseDown(Qt::RightButton, QPoint(o.x - 5, o.y));
    EXPECT_EQ(form->view().secondFrame, 0);
    // Nudges stay inside the picture.
    form->view().cursorColumn = 511;
    ui.SpeedButton21->click();
    EXPECT_EQ(form->view().cursorColumn, 511);
    form->view().cursorRow = 0;
    ui.SpeedButton22->click();
    EXPECT_EQ(form->view().cursorRow, 0);
    ui.SpeedButton23->click();
    EXPECT_EQ(form->view().cursorRow, 1);
}

TEST_F(RadargramWindow, PictureShowsEachCodeThroughThePalette) {
    openSurvey(600);
    const Palettes p;
    const Point o = form->view().ViewOrigin;
    // Frame i, sample j holds 1 + (i * 7 + j) % 255; both pixel columns of a
    // frame take the colour of the main palette.
    for (int i : {0, 3, 200}) {
        for (int j : {0, 100, 511}) {
            const uint8_t code = uint8_t(1 + (i * 7 + j) % 255);
            EXPECT_EQ(pixel(o.x + 2 * i, o.y + j), rgb(p.MainPalette[code])) << i << "," << j;
            EXPECT_EQ(pixel(o.x + 2 * i + 1, o.y + j), rgb(p.MainPalette[code]));
        }
    }
    // Frames past the survey hold no data and are black.
    store->viewStart = 300;
    form->GRAF();
    EXPECT_EQ(pixel(o.x + 2 * 400, o.y + 10), qRgb(0, 0, 0));
    // With the inversion, code d takes the colour of 256 - d.
    store->viewStart = 0;
    ui.CheckBox22->setChecked(true);
    const uint8_t code = uint8_t(1 + (0 * 7 + 10) % 255);
    EXPECT_EQ(pixel(o.x, o.y + 10), rgb(p.MainPalette[256 - code]));
}

// The zero / gain buttons of the A-scan panel change the setting, write it
// into the header at once and recolour the picture.
TEST_F(RadargramWindow, ZeroGainButtonsStepResetAndRecolour) {
    openSurvey(600);
    const Palettes p;
    const Point o = form->view().ViewOrigin;
    for (int i = 0; i < 64; ++i) ui.SpeedButton53->click();
    EXPECT_EQ(store->header.value[hdr::ZeroLevel], 64);
    EXPECT_EQ(ui.SpeedButton53->text(), "<< ");
    EXPECT_EQ(ui.SpeedButton54->text(), "-64"); // ZeroLevel - 128
    EXPECT_EQ(ui.SpeedButton55->text(), " >>");
    // Frame 0, sample 31 holds code 32; with zero level 64 it maps to
    // Trunc(128 * 32 / 64) = 64.
    EXPECT_EQ(pixel(o.x, o.y + 31), rgb(p.MainPalette[64]));
    ui.SpeedButton54->click();
    EXPECT_EQ(store->header.value[hdr::ZeroLevel], 128);
    EXPECT_EQ(pixel(o.x, o.y + 31), rgb(p.MainPalette[32]));

    ui.ComboBox19->setCurrentIndex(1);
    EXPECT_EQ(ui.SpeedButton53->text(), "<< 0");
    EXPECT_EQ(ui.SpeedButton55->text(), "0 >>");
    prompter.held.leftCtrl = true;
    ui.SpeedButton55->click();
    EXPECT_EQ(store->header.value[hdr::GainRange], 3);
    EXPECT_EQ(ui.SpeedButton54->text(), "2");
    ui.SpeedButton54->click();
    EXPECT_EQ(store->header.value[hdr::GainRange], 1);
    EXPECT_EQ(ui.SpeedButton54->text(), "0");
    prompter.held = {};
    ui.SpeedButton55->click();
    EXPECT_EQ(store->header.value[hdr::GainLevel1], 129);
    EXPECT_EQ(store->header.value[hdr::GainLevel2], 129);
    EXPECT_EQ(ui.SpeedButton53->text(), "<< 1");
    EXPECT_EQ(ui.SpeedButton55->text(), "1 >>");
    // The setting comes back with the survey.
    prompter.answers.push_back(Answer::Yes);
    prompter.saveNames.push_back(SaveChoice{dir.file("gain.gem"), 1});
    ui.SpeedButton3->click();
    ui.SpeedButton54->click();
    prompter.answers = {Answer::No}; // the reset is not to be kept
    clickOpen(dir.file("gain.gem"));
    EXPECT_EQ(ui.ComboBox19->currentIndex(), 1);
    EXPECT_EQ(ui.SpeedButton53->text(), "<< 1");
}

TEST_F(RadargramWindow, OverlayFramesThePictureAndShowsTheReadouts) {
    openSurvey(600);
    const QImage& ov = form->overlayImage();
    const Point o = form->view().ViewOrigin;
    EXPECT_EQ(ov.pixel(o.x - 2, o.y - 2), qRgb(0, 0, 0x80)) << "navy outer frame";
    EXPECT_EQ(ov.pixel(o.x - 1, o.y + 100), qRgb(0x88, 0xCC, 0xFF)) << "light blue inner frame";
    EXPECT_EQ(ov.pixel(ov.width() - 1, ov.height() - 1), qRgb(0xFF, 0, 0)) << "corner mark";
    EXPECT_EQ(qAlpha(ov.pixel(o.x + 300, o.y + 300)), 0) << "the picture shows through";
    // Cursor at frame 5, row 100 at the start-up time range of 256 ns (0.5 ns per row).
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x + 10, o.y + 100));
    EXPECT_EQ(ui.StaticText1->text().toStdString(), "5");
    EXPECT_EQ(ui.StaticText3->text().toStdString(), "50");
    // Step 2 cm: five frames from the profile start are 10 cm.
    EXPECT_EQ(ui.StaticText2->text().toStdString(), "10");
    EXPECT_EQ(ui.SpeedButton21->text().toStdString(), "+Lcm");
    ui.ComboBox12->setCurrentIndex(14); // 100 cm
    EXPECT_EQ(ui.SpeedButton21->text().toStdString(), "+Lm");
    EXPECT_EQ(ui.StaticText2->text().toStdString(), "5");
}

TEST_F(RadargramWindow, LanguageSwitchKeepsEverySelection) {
    openSurvey(60);
    ui.ComboBox16->setCurrentIndex(3);
    ui.ComboBox17->setCurrentIndex(2);
    ui.ComboBox20->setCurrentIndex(3);
    ui.ComboBox29->setCurrentIndex(4);
    ui.ComboBox54->setCurrentIndex(2);
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(ui.ComboBox16->currentIndex(), 3);
    EXPECT_EQ(ui.ComboBox16->currentText().toStdString(), " 200 Кадров");
    EXPECT_EQ(ui.ComboBox17->currentIndex(), 2);
    EXPECT_EQ(ui.ComboBox20->currentText().toStdString(), " ВЧ 2");
    EXPECT_EQ(ui.ComboBox29->currentText().toStdString(), " Логарифм 2-2");
    EXPECT_EQ(ui.ComboBox54->currentIndex(), 2);
    ui.CheckBox1->setChecked(true);
    EXPECT_EQ(ui.ComboBox16->currentText().toStdString(), " 200 Frames");
    EXPECT_EQ(ui.ComboBox20->currentText().toStdString(), " HF 2");
}

TEST_F(RadargramWindow, ColourCountListFollowsTheAmplitudeForm) {
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(ui.ComboBox28->itemText(0).toStdString(), "  Все Цвета*");
    EXPECT_EQ(ui.ComboBox28->itemText(5).toStdString(), "    Ч/Б Шкала");
    ui.ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(ui.ComboBox28->itemText(5).toStdString(), "      2 Цвета");
    EXPECT_EQ(ui.ComboBox28->itemText(0).toStdString(), "  Все Цвета");
    ui.CheckBox1->setChecked(true);
    EXPECT_EQ(ui.ComboBox28->itemText(5).toStdString(), "      2 Colors");
}

TEST_F(RadargramWindow, FilterCaptionClearsItsRowAndSubtractionEnablesTheThreshold) {
    openSurvey(60);
    ui.ComboBox22->setCurrentIndex(4);
    ui.ComboBox23->setCurrentIndex(5);
    ui.ComboBox24->setCurrentIndex(6);
    form->filterPanel().Label20Click();
    EXPECT_EQ(ui.ComboBox22->currentIndex(), 0);
    EXPECT_EQ(ui.ComboBox23->currentIndex(), 0);
    EXPECT_EQ(ui.ComboBox24->currentIndex(), 0);
    EXPECT_EQ(store->header.value[25], 0);
    EXPECT_FALSE(ui.ComboBox42->isEnabled());
    ui.ComboBox41->setCurrentIndex(2);
    EXPECT_TRUE(ui.ComboBox42->isEnabled());
    ui.ComboBox41->setCurrentIndex(0);
    EXPECT_FALSE(ui.ComboBox42->isEnabled());
}

TEST_F(RadargramWindow, CollapsiblePanelsToggleWithTheRightButton) {
    ui.Panel_TGod->setGeometry(50, 525, 100, 25);
    form->PanelMouseDown(ui.Label_GDRF, Qt::RightButton);
    EXPECT_EQ(ui.Panel_TGod->pos(), QPoint(612, 50));
    EXPECT_EQ(ui.Panel_TGod->height(), ui.StringGrid4->height() + 54);
    form->PanelMouseDown(ui.Label_GDRF, Qt::RightButton);
    EXPECT_EQ(ui.Panel_TGod->geometry(), QRect(50, 525, ui.Label_GDRF->width() + 16, 25));
}

TEST_F(RadargramWindow, CommandsWaitForASurvey) {
    EXPECT_TRUE(ui.SpeedButton1->isEnabled());
    EXPECT_TRUE(ui.SpeedButton4->isEnabled());
    EXPECT_TRUE(ui.SpeedButton10->isEnabled());
    EXPECT_FALSE(ui.SpeedButton18->isEnabled());
    openSurvey(60);
    EXPECT_TRUE(ui.SpeedButton18->isEnabled());
    EXPECT_EQ(ui.SpeedButton18->text().toStdString(), "80");
}

TEST_F(RadargramWindow, TitleRightClickTogglesTheCollapseOnce) {
    // Through the real mouse path: the title and the panel under it both see
    // the press, yet one right click is one toggle.
    form->show();
    ui.Panel_TGod->setGeometry(50, 525, 100, 25);
    ui.Panel_TGod->show();
    QTest::mouseClick(ui.Label_GDRF, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_TGod->pos(), QPoint(612, 50));
    EXPECT_EQ(ui.Panel_TGod->height(), ui.StringGrid4->height() + 54);
    QTest::mouseClick(ui.Label_GDRF, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_TGod->geometry(), QRect(50, 525, ui.Label_GDRF->width() + 16, 25));
    // The velocity table collapses beside the hodograph strip and expands to (644, 50).
    ui.Panel_TVSL->show();
    QTest::mouseClick(ui.Label_TVSL, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_TVSL->geometry(),
              QRect(ui.Label_GDRF->width() + 66, 525, ui.Label_TVSL->width() + 16, 25));
    QTest::mouseClick(ui.Panel_TVSL, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_TVSL->geometry(), QRect(644, 50, ui.StringGrid1->width() + 8,
                                               ui.StringGrid1->y() + ui.StringGrid1->height() + 8));
    // A left click never collapses.
    QTest::mouseClick(ui.Label_TVSL, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_TVSL->pos(), QPoint(644, 50));
}

TEST_F(RadargramWindow, OptionPanelFollowsTheMouseFromItsTitle) {
    form->show();
    ui.SpeedButton10->click();
    ASSERT_TRUE(ui.Panel_2->isVisible());
    const QPoint start = ui.Panel_2->pos();
    QTest::mousePress(ui.Label_OPTION, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(ui.Label_OPTION, QPoint(25, 15));
    QTest::mouseRelease(ui.Label_OPTION, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_EQ(ui.Panel_2->pos(), start + QPoint(20, 10));
    EXPECT_EQ(ui.Panel_2->height(), ui.Panel_21->height() + 28) << "no Ctrl, no resize";
    // Left Ctrl on the title toggles between the short and a slightly taller panel.
    prompter.held.leftCtrl = true;
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_2->height(), ui.Panel_21->height() + 60);
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(ui.Panel_2->height(), ui.Panel_21->height() + 28);
    prompter.held = {};
}

TEST_F(RadargramWindow, FloatingPanelsStartWhereTheWindowPutsThem) {
    EXPECT_EQ(ui.Panel_TVSL->pos(), QPoint(644, 50));
    EXPECT_EQ(ui.Panel_TVSL->width(), ui.StringGrid1->width() + 8);
    EXPECT_EQ(ui.Panel_TVSL->height(), ui.StringGrid1->y() + ui.StringGrid1->height() + 8);
    EXPECT_EQ(ui.Panel_TGod->geometry(),
              QRect(612, 50, ui.StringGrid4->width() + 2, ui.StringGrid4->height() + 54));
    EXPECT_EQ(ui.Panel_Kratnik->geometry(),
              QRect(612, 50, ui.StringGrid5->width() + 2, ui.StringGrid5->height() + 54));
    EXPECT_EQ(ui.Panel_CORD->x(), 47);
    EXPECT_EQ(ui.Panel6->size(), QSize(512, 576));
    const int h = ui.Panel_21->height() + 28;
    EXPECT_EQ(ui.Panel_2->geometry().topLeft(), QPoint(50, 550 - h));
    EXPECT_EQ(ui.Panel_2->height(), h);
    for (QWidget* p : {static_cast<QWidget*>(ui.Panel_2), static_cast<QWidget*>(ui.Panel_CORD),
                       static_cast<QWidget*>(ui.Panel_TVSL), static_cast<QWidget*>(ui.Panel_TGod),
                       static_cast<QWidget*>(ui.Panel50), static_cast<QWidget*>(ui.Panel_3D),
                       static_cast<QWidget*>(ui.Panel6)})
        EXPECT_TRUE(p->isHidden()) << p->objectName().toStdString();
    // The A-scan panel keeps to the screen.
    EXPECT_GE(ui.Panel50->x(), 0);
}

TEST_F(RadargramWindow, StartValuesOfTheOptionPanel) {
    EXPECT_TRUE(ui.CheckBox11->isChecked());
    EXPECT_TRUE(ui.CheckBox12->isChecked());
    EXPECT_TRUE(ui.CheckBox13->isChecked());
    EXPECT_FALSE(ui.CheckBox14->isChecked());
    EXPECT_FALSE(ui.CheckBox15->isChecked());
    EXPECT_TRUE(ui.CheckBox15->isHidden());
    EXPECT_EQ(ui.ComboBox17->currentIndex(), 1) << "markers shown";
    EXPECT_EQ(ui.ComboBox17->currentText().toStdString(), " Show Marks");
    for (QComboBox* c : {ui.ComboBox32, ui.ComboBox33, ui.ComboBox34}) {
        EXPECT_EQ(c->count(), 256);
        EXPECT_EQ(c->itemText(255).toStdString(), "255");
    }
    EXPECT_EQ(ui.ComboBox16->count(), 8);
    EXPECT_EQ(ui.ComboBox11->count(), 8);
    EXPECT_EQ(ui.ComboBox12->count(), 29);
    EXPECT_EQ(ui.ComboBox13->count(), 38);
    EXPECT_EQ(ui.ComboBox15->count(), 23);
    EXPECT_EQ(ui.ComboBox10->count(), 20);
    EXPECT_EQ(ui.ComboBox14->count(), 9);
    EXPECT_TRUE(ui.ComboBox14->isHidden());
    EXPECT_EQ(ui.SpeedButton10->text().toStdString(), "Options");
    EXPECT_EQ(ui.SpeedButton17->text().toStdString(), "000");
    EXPECT_EQ(ui.SpeedButton20->text().toStdString(), "-  Xp");
    EXPECT_EQ(ui.SpeedButton22->text().toStdString(), "-  Tp");
    EXPECT_EQ(ui.SpeedButton23->text().toStdString(), "+Dcm");
    EXPECT_EQ(ui.SpeedButton24->text().toStdString(), "- Yp");
    EXPECT_EQ(ui.SpeedButton25->text().toStdString(), "+Lcm");
    EXPECT_EQ(form->windowTitle().toStdString(), "Tesk");
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(store->stateFlags, state::Changed);
    // The whole command bar fits into the design width of the window.
    for (QWidget* w : ui.Panel_1->findChildren<QWidget*>())
        EXPECT_LT(w->mapTo(ui.Panel_1, QPoint(w->width() - 1, 0)).x(), 1467)
            << w->objectName().toStdString();
    EXPECT_EQ(ui.Panel_1->height(), 36);
}

TEST_F(RadargramWindow, VolumeBoxesWriteTheirHeaderCellsAndMarkTheVolumeStale) {
    openSurvey(60);
    auto& h = store->header.value;
    struct Case {
        QComboBox* box;
        int item;
        int cell;
    };
    for (const Case& c :
         {Case{ui.ComboBox51, 3, hdr::VolumeInterp}, Case{ui.ComboBox52, 20, hdr::ProfileDistance},
          Case{ui.ComboBox54, 2, hdr::Section}}) {
        store->stateFlags = 0;
        c.box->setCurrentIndex(c.item);
        EXPECT_EQ(h[c.cell], c.item) << c.box->objectName().toStdString();
        EXPECT_EQ(store->stateFlags & state::Changed, state::Changed);
    }
    store->stateFlags = 0;
    ui.CheckBox52->setChecked(true);
    EXPECT_EQ(h[hdr::AmplitudeFlags] & hdr::ProcessAll, hdr::ProcessAll);
    EXPECT_EQ(store->stateFlags & state::Changed, state::Changed);
    EXPECT_EQ(ui.CheckBox52->text().toStdString(), "Calculate to the Profile");
    EXPECT_EQ(ui.CheckBox52->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(ui.CheckBox52->text().toStdString(), "Обработка до Профиля");
    ui.CheckBox52->setChecked(false);
    EXPECT_EQ(ui.CheckBox52->text().toStdString(), "Обработать Всё");
    EXPECT_EQ(ui.ComboBox54->itemText(0).toStdString(), " C\u0435\u0447\u0435\u043d\u0438\u0435 T")
        << "a Latin C";
    EXPECT_EQ(ui.ComboBox54->itemText(3).toStdString(), " Сечение T  X  Y");
}

TEST_F(RadargramWindow, BoxColoursFollowTheirItems) {
    openSurvey(60);
    const QColor yellow(0xFF, 0xFF, 0x99);
    ui.ComboBox15->setCurrentIndex(3);
    EXPECT_EQ(ui.ComboBox15->palette().color(QPalette::Base), yellow);
    ui.ComboBox15->setCurrentIndex(0);
    EXPECT_NE(ui.ComboBox15->palette().color(QPalette::Base), yellow);
    ui.ComboBox10->setCurrentIndex(4);
    EXPECT_EQ(ui.ComboBox10->palette().color(QPalette::Base), yellow);
    EXPECT_EQ(store->velocityCode, 900);
    ui.ComboBox10->setCurrentIndex(0);
    EXPECT_NE(ui.ComboBox10->palette().color(QPalette::Base), yellow);
    EXPECT_EQ(store->velocityCode, store->hodographVelocity);
}

TEST_F(RadargramWindow, ProfileStepIsIgnoredWhileBusy) {
    openSurvey(60);
    const uint8_t before = store->header.value[hdr::Step];
    store->stateFlags |= state::Busy;
    ui.ComboBox12->setCurrentIndex(before == 5 ? 6 : 5);
    EXPECT_EQ(store->header.value[hdr::Step], before);
    store->stateFlags &= uint16_t(~state::Busy);
}

TEST_F(RadargramWindow, TypedFramesStayInsideTheStore) {
    openSurvey(600);
    // A store filled to the last slot: the window's last screen ends there.
    store->frameCount = MAX_FRAME_INDEX;
    ui.MaskEdit1->setText("99999");
    emit ui.MaskEdit1->textEdited(ui.MaskEdit1->text());
    EXPECT_EQ(store->viewStart, 63488);
    EXPECT_EQ(ui.MaskEdit1->displayText().toStdString(), "63488");
    QTest::keyClick(ui.MaskEdit1, Qt::Key_Return); // redraws at the far end without harm
    // Letters are not digits: the mask refuses them and the view stays.
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "ab");
    EXPECT_EQ(store->viewStart, 63488);
    store->frameCount = 620;
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "00039");
    EXPECT_EQ(store->viewStart, 20) << "rounded down to a multiple of 20";
}

TEST_F(RadargramWindow, ShiftJumpsByProfileWhateverTheViewStep) {
    openSurvey(600); // one profile, frames 0..599; frameCount 620
    ASSERT_EQ(store->frameCount, 620);
    ui.ComboBox16->setCurrentIndex(0);
    store->viewStart = 100;
    prompter.held.leftShift = true;
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 621) << "no further profile: one past the frame count";
    ui.SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 0) << "back to the start of the profile before the gap";
    prompter.held = {true, false, true, false, false}; // left Shift and left Ctrl
    store->viewStart = 100;
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 100);
    prompter.held = {};
    ui.ComboBox16->setCurrentIndex(7); // by profile
    ui.SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 621);
    EXPECT_EQ(ui.MaskEdit1->displayText().toStdString(), "00621");
}

TEST_F(RadargramWindow, ClickModifiersChangeTheLineColours) {
    openSurvey(600);
    const Point o = form->view().ViewOrigin;
    form->view().cursorColour = 0x123456;
    prompter.held.leftShift = true;
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x + 4, o.y + 4));
    EXPECT_EQ(form->view().cursorColour, 0xFFFFFFu);
    prompter.held = {};
    prompter.held.leftCtrl = true;
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x - 4, o.y + 4));
    EXPECT_EQ(form->view().gridColour, 0u) << "Ctrl-click outside: black grid";
    EXPECT_EQ(form->view().cursorColumn, 0);
    form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(o.x + 8, o.y + 4));
    EXPECT_EQ(form->view().gridColour, 0x888888u);
    EXPECT_EQ(form->view().cursorColumn, 4);
    // Right Ctrl with the right button leaves the second point alone.
    prompter.held = {};
    prompter.held.rightCtrl = true;
    form->view().secondFrame = 7;
    form->radargramView().Image1MouseDown(Qt::RightButton, QPoint(o.x + 8, o.y + 4));
    EXPECT_EQ(form->view().secondFrame, 7);
    prompter.held = {};
}

TEST_F(RadargramWindow, ShowProfileKeepsAnOpenCoordinateFile) {
    openSurvey(60);
    struct Case {
        uint16_t before, after;
    };
    for (const Case& c : {Case{0x0100, state::Changed}, Case{0x0000, 0}, Case{0x4100, 0x7000},
                          Case{0x4000, 0x4000}}) {
        store->stateFlags = c.before;
        ui.SpeedButton5->click();
        EXPECT_EQ(store->stateFlags, c.after) << std::hex << c.before;
    }
    EXPECT_FALSE(ui.ComboBox11->isHidden());
    EXPECT_TRUE(ui.ComboBox14->isHidden());
}

TEST_F(RadargramWindow, WorkFileSavedInEnglishReopensInEnglish) {
    openSurvey(60);
    ASSERT_TRUE(ui.CheckBox1->isChecked());
    const std::string out = dir.file("english.gem");
    prompter.saveNames.push_back(SaveChoice{out, 1});
    ui.SpeedButton3->click();
    ui.CheckBox1->setChecked(false);
    EXPECT_EQ(ui.SpeedButton17->toolTip().toStdString(), "Предыдущий кадр");
    clickOpen(out);
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.SpeedButton17->toolTip().toStdString(), "Previous frame");
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Russian");
}

} // namespace
} // namespace tesk::testing
