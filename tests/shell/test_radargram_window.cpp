// The radargram window through its widgets: parameter boxes and their header
// cells, the option layout, navigation, the picture and the language switch.

#include "display/palettes.h"
#include "shell/widgets.h"
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
    form->ComboBox12->setCurrentIndex(7);
    EXPECT_EQ(h[hdr::Step], 7);
    form->ComboBox13->setCurrentIndex(3);
    EXPECT_EQ(h[hdr::Antenna], 3);
    form->ComboBox15->setCurrentIndex(9);
    EXPECT_EQ(h[hdr::DepthStep], 9);
    form->ComboBox16->setCurrentIndex(7);
    EXPECT_EQ(h[hdr::ViewFlags] & 0x0F, 7);
    const QComboBox* filters[] = {form->ComboBox20, form->ComboBox22, form->ComboBox23,
                                  form->ComboBox24, form->ComboBox21, form->ComboBox25,
                                  form->ComboBox26, form->ComboBox27};
    for (int i = 0; i < 8; ++i) {
        const_cast<QComboBox*>(filters[i])->setCurrentIndex(i % 4 == 0 ? 2 : 5 + i);
        EXPECT_EQ(h[24 + i], i % 4 == 0 ? 2 : 5 + i) << i;
    }
    form->ComboBox28->setCurrentIndex(4);
    EXPECT_EQ(h[hdr::ColourMode], 4);
    form->ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(h[hdr::AmplitudeForm], 2);
    form->ComboBox19->setCurrentIndex(1);
    EXPECT_EQ(h[hdr::ZeroGainMode], 1);
    form->ComboBox29->setCurrentIndex(3);
    EXPECT_EQ(h[hdr::LevelTable], 3);
    form->CheckBox22->setChecked(true);
    EXPECT_EQ(h[hdr::AmplitudeFlags] & hdr::Inversion, hdr::Inversion);
    form->ComboBox10->setCurrentIndex(2); // 10.00 cm/ns
    EXPECT_EQ(h[hdr::VelocityIndex], 2);
    EXPECT_EQ(store->velocityCode, 1000);
    EXPECT_EQ(store->header.get16(hdr::VelocityCode), 1000);
    EXPECT_DOUBLE_EQ(store->permittivity, 2.25);
}

TEST_F(RadargramWindow, SettingsSurviveSaveAndReopen) {
    openSurvey(100);
    form->ComboBox12->setCurrentIndex(9);
    form->ComboBox25->setCurrentIndex(4);
    form->ComboBox28->setCurrentIndex(3);
    form->CheckBox22->setChecked(true);
    form->CheckBox1->setChecked(false);
    const std::string out = dir.file("settings.gem");
    prompter.saveNames.push_back(SaveChoice{out, 1});
    form->SpeedButton3->click();
    form->ComboBox12->setCurrentIndex(0);
    form->ComboBox25->setCurrentIndex(0);
    form->ComboBox28->setCurrentIndex(0);
    form->CheckBox22->setChecked(false);
    clickOpen(out);
    EXPECT_EQ(form->ComboBox12->currentIndex(), 9);
    EXPECT_EQ(form->ComboBox25->currentIndex(), 4);
    EXPECT_EQ(form->ComboBox28->currentIndex(), 3);
    EXPECT_TRUE(form->CheckBox22->isChecked());
    EXPECT_FALSE(form->CheckBox1->isChecked());
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
    form->ComboBox11->setCurrentIndex(c.range == 2 ? 3 : 2);
    form->ComboBox15->setCurrentIndex(c.before);
    form->ComboBox11->setCurrentIndex(c.range);
    EXPECT_EQ(form->ComboBox15->currentIndex(), c.after);
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
    form->ComboBox11->setCurrentIndex(3); // 1024 ns: 2 ns per row
    EXPECT_EQ(form->ComboBox14->itemText(0).toStdString(), "    512  ns");
    EXPECT_EQ(form->ComboBox14->itemText(8).toStdString(), "    2048  ns");
}

TEST_F(RadargramWindow, OptionSubPanelsStandInTheirFixedOrder) {
    const int w21 = form->Panel_21->width();
    for (QCheckBox* c : {form->CheckBox11, form->CheckBox12, form->CheckBox13})
        c->setChecked(false);
    form->CheckBox14->setChecked(true);
    EXPECT_EQ(form->Panel_25->x(), w21 + 1);
    EXPECT_EQ(form->Panel_2->width(), w21 + form->Panel_25->width() + 6);
    form->CheckBox14->setChecked(false);
    EXPECT_EQ(form->Panel_2->width(), w21 + 6);
    // Switched on out of order, they still stand 22, 23, 24, 25.
    for (QCheckBox* c : {form->CheckBox14, form->CheckBox12, form->CheckBox13, form->CheckBox11})
        c->setChecked(true);
    EXPECT_EQ(form->Panel_22->x(), w21 + 1);
    EXPECT_EQ(form->Panel_23->x(), form->Panel_22->x() + form->Panel_22->width());
    EXPECT_EQ(form->Panel_24->x(), form->Panel_23->x() + form->Panel_23->width());
    EXPECT_EQ(form->Panel_25->x(), form->Panel_24->x() + form->Panel_24->width());
    EXPECT_EQ(store->header.value[hdr::OptionFlags] & 0x38, 0x38);
}

TEST_F(RadargramWindow, NavigationClampsAndSteps) {
    openSurvey(13000);
    // Typing overwrites the five positions; each keystroke moves the view.
    form->MaskEdit1->setCursorPosition(0);
    QTest::keyClick(form->MaskEdit1, '1');
    EXPECT_EQ(store->viewStart, 10000);
    QTest::keyClicks(form->MaskEdit1, "2345");
    EXPECT_EQ(store->viewStart, 12340);
    EXPECT_EQ(form->MaskEdit1->displayText().toStdString(), "12340");
    form->MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(form->MaskEdit1, "2");
    EXPECT_EQ(store->viewStart, store->frameCount) << "capped at the frame count";
    form->ComboBox16->setCurrentIndex(2); // 100 frames
    store->viewStart = 49400;
    form->SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 49480);
    form->SpeedButton18->click();
    EXPECT_EQ(store->viewStart, 49480);
    store->viewStart = 150;
    form->SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 50);
    form->SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 0);
    prompter.held.leftCtrl = true;
    form->SpeedButton18->click();
    EXPECT_EQ(store->viewStart, store->frameCount - 510);
    form->SpeedButton17->click();
    EXPECT_EQ(store->viewStart, 0);
    EXPECT_EQ(form->MaskEdit1->displayText().toStdString(), "00000");
}

TEST_F(RadargramWindow, ClicksSetTheCursorAndTheSecondPoint) {
    openSurvey(600);
    const Point o = form->view().ViewOrigin;
    form->Image1MouseDown(Qt::LeftButton, QPoint(o.x + 1021, o.y + 7));
    EXPECT_EQ(form->view().cursorColumn, 510);
    EXPECT_EQ(form->view().cursorRow, 7);
    EXPECT_EQ(form->StaticText1->text().toStdString(), "510");
    form->Image1MouseDown(Qt::LeftButton, QPoint(o.x + 1022, o.y + 7));
    EXPECT_EQ(form->view().cursorColumn, 0) << "a click beyond the picture resets the cursor";
    store->viewStart = 40;
    form->Image1MouseDown(Qt::RightButton, QPoint(o.x + 20, o.y + 300));
    EXPECT_EQ(form->view().secondFrame, 50);
    EXPECT_EQ(form->view().secondRow, 300);
    prompter.held.leftShift = true;
    form->Image1MouseDown(Qt::RightButton, QPoint(o.x + 40, o.y + 100));
    EXPECT_EQ(form->view().secondFrame, 50) << "Shift-right-click leaves the second point";
    prompter.held = {};
    form->Image1MouseDown(Qt::RightButton, QPoint(o.x - 5, o.y));
    EXPECT_EQ(form->view().secondFrame, 0);
    // Nudges stay inside the picture.
    form->view().cursorColumn = 511;
    form->SpeedButton21->click();
    EXPECT_EQ(form->view().cursorColumn, 511);
    form->view().cursorRow = 0;
    form->SpeedButton22->click();
    EXPECT_EQ(form->view().cursorRow, 0);
    form->SpeedButton23->click();
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
    form->CheckBox22->setChecked(true);
    const uint8_t code = uint8_t(1 + (0 * 7 + 10) % 255);
    EXPECT_EQ(pixel(o.x, o.y + 10), rgb(p.MainPalette[256 - code]));
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
    form->Image1MouseDown(Qt::LeftButton, QPoint(o.x + 10, o.y + 100));
    EXPECT_EQ(form->StaticText1->text().toStdString(), "5");
    EXPECT_EQ(form->StaticText3->text().toStdString(), "50");
    // Step 2 cm: five frames from the profile start are 10 cm.
    EXPECT_EQ(form->StaticText2->text().toStdString(), "10");
    EXPECT_EQ(form->SpeedButton21->text().toStdString(), "+Lcm");
    form->ComboBox12->setCurrentIndex(14); // 100 cm
    EXPECT_EQ(form->SpeedButton21->text().toStdString(), "+Lm");
    EXPECT_EQ(form->StaticText2->text().toStdString(), "5");
}

TEST_F(RadargramWindow, LanguageSwitchKeepsEverySelection) {
    openSurvey(60);
    form->ComboBox16->setCurrentIndex(3);
    form->ComboBox17->setCurrentIndex(2);
    form->ComboBox20->setCurrentIndex(3);
    form->ComboBox29->setCurrentIndex(4);
    form->ComboBox54->setCurrentIndex(2);
    form->CheckBox1->setChecked(false);
    EXPECT_EQ(form->ComboBox16->currentIndex(), 3);
    EXPECT_EQ(form->ComboBox16->currentText().toStdString(), " 200 Кадров");
    EXPECT_EQ(form->ComboBox17->currentIndex(), 2);
    EXPECT_EQ(form->ComboBox20->currentText().toStdString(), " ВЧ 2");
    EXPECT_EQ(form->ComboBox29->currentText().toStdString(), " Логарифм 2-2");
    EXPECT_EQ(form->ComboBox54->currentIndex(), 2);
    form->CheckBox1->setChecked(true);
    EXPECT_EQ(form->ComboBox16->currentText().toStdString(), " 200 Frames");
    EXPECT_EQ(form->ComboBox20->currentText().toStdString(), " HF 2");
}

TEST_F(RadargramWindow, ColourCountListFollowsTheAmplitudeForm) {
    form->CheckBox1->setChecked(false);
    EXPECT_EQ(form->ComboBox28->itemText(0).toStdString(), "  Все Цвета*");
    EXPECT_EQ(form->ComboBox28->itemText(5).toStdString(), "    Ч/Б Шкала");
    form->ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(form->ComboBox28->itemText(5).toStdString(), "      2 Цвета");
    EXPECT_EQ(form->ComboBox28->itemText(0).toStdString(), "  Все Цвета");
    form->CheckBox1->setChecked(true);
    EXPECT_EQ(form->ComboBox28->itemText(5).toStdString(), "      2 Colors");
}

TEST_F(RadargramWindow, FilterCaptionClearsItsRowAndSubtractionEnablesTheThreshold) {
    openSurvey(60);
    form->ComboBox22->setCurrentIndex(4);
    form->ComboBox23->setCurrentIndex(5);
    form->ComboBox24->setCurrentIndex(6);
    form->Label20Click();
    EXPECT_EQ(form->ComboBox22->currentIndex(), 0);
    EXPECT_EQ(form->ComboBox23->currentIndex(), 0);
    EXPECT_EQ(form->ComboBox24->currentIndex(), 0);
    EXPECT_EQ(store->header.value[25], 0);
    EXPECT_FALSE(form->ComboBox42->isEnabled());
    form->ComboBox41->setCurrentIndex(2);
    EXPECT_TRUE(form->ComboBox42->isEnabled());
    form->ComboBox41->setCurrentIndex(0);
    EXPECT_FALSE(form->ComboBox42->isEnabled());
}

TEST_F(RadargramWindow, CollapsiblePanelsToggleWithTheRightButton) {
    form->Panel_TGod->setGeometry(50, 525, 100, 25);
    form->PanelMouseDown(form->Label_GDRF, Qt::RightButton);
    EXPECT_EQ(form->Panel_TGod->pos(), QPoint(612, 50));
    EXPECT_EQ(form->Panel_TGod->height(), form->StringGrid4->height() + 54);
    form->PanelMouseDown(form->Label_GDRF, Qt::RightButton);
    EXPECT_EQ(form->Panel_TGod->geometry(), QRect(50, 525, form->Label_GDRF->width() + 16, 25));
}

TEST_F(RadargramWindow, CommandsWaitForASurvey) {
    EXPECT_TRUE(form->SpeedButton1->isEnabled());
    EXPECT_TRUE(form->SpeedButton4->isEnabled());
    EXPECT_TRUE(form->SpeedButton10->isEnabled());
    EXPECT_FALSE(form->SpeedButton18->isEnabled());
    openSurvey(60);
    EXPECT_TRUE(form->SpeedButton18->isEnabled());
    EXPECT_EQ(form->SpeedButton18->text().toStdString(), "80");
}

} // namespace
} // namespace tesk::testing
