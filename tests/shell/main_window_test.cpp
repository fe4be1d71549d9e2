// The main window: start-up state, the option panel layout and sizes, the
// profile-parameter, filter and colour boxes, and the floating panels.

#include "window_fixture.h"

#include "shell/widgets/image_widgets.h"

#include <QApplication>
#include <QScrollArea>
#include <QTest>

namespace tesk::testing {
namespace {

const QColor MAROON(0x80, 0, 0);
const QColor NAVY(0, 0, 0x80);

QColor fontColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

using StartUp = WindowTest;

TEST_F(StartUp, WindowCaptionBackgroundAndHiddenPanels) {
    EXPECT_EQ(title(), "Tesk");
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xC0, 0xDC, 0xC0));
    EXPECT_EQ(ui.Panel_1->height(), 36);
    EXPECT_FALSE(ui.Panel_1->isHidden());
    EXPECT_FALSE(ui.ScrollBox1->isHidden());
    for (QWidget* p : {static_cast<QWidget*>(ui.Panel_2), static_cast<QWidget*>(ui.Panel_CORD),
                       static_cast<QWidget*>(ui.Panel_TVSL), static_cast<QWidget*>(ui.Panel_TGod),
                       static_cast<QWidget*>(ui.Panel_Kratnik), static_cast<QWidget*>(ui.Panel50),
                       static_cast<QWidget*>(ui.Panel_3D), static_cast<QWidget*>(ui.Panel3),
                       static_cast<QWidget*>(ui.Panel6)})
        EXPECT_TRUE(p->isHidden()) << p->objectName().toStdString();
}

TEST_F(StartUp, FloatingPanelsStandWhereTheyStart) {
    EXPECT_EQ(ui.Panel_TVSL->pos(), QPoint(644, 50));
    EXPECT_EQ(ui.Panel_TGod->pos(), QPoint(612, 50));
    EXPECT_EQ(ui.Panel_Kratnik->pos(), QPoint(612, 50));
    EXPECT_EQ(ui.Panel_CORD->x(), 47);
    EXPECT_EQ(ui.Panel3->geometry(), QRect(10, 36 + 10, 560, 88));
    EXPECT_EQ(ui.Panel6->size(), QSize(512, 576));
    // Each table panel is as large as its table.
    EXPECT_EQ(ui.Panel_TGod->height(), ui.StringGrid4->height() + 54);
    EXPECT_EQ(ui.Panel_TGod->width(), ui.StringGrid4->width() + 2);
    EXPECT_EQ(ui.Panel_Kratnik->height(), ui.StringGrid5->height() + 54);
    EXPECT_EQ(ui.Panel_TVSL->width(), ui.StringGrid1->width() + 8);
    EXPECT_EQ(ui.Panel_TVSL->height(), ui.StringGrid1->y() + ui.StringGrid1->height() + 8);
}

TEST_F(StartUp, PictureOriginAndNoAmplitudePanelWithoutASurvey) {
    // "Функция" starts checked, but there is no trace to show yet.
    EXPECT_TRUE(ui.CheckBox4->isChecked());
    EXPECT_TRUE(ui.Panel50->isHidden());
    EXPECT_EQ(form->view().ViewOrigin.x, 50);
    EXPECT_EQ(form->view().ViewOrigin.y, 50);
}

TEST_F(StartUp, OptionPanelGeometryAndCheckBoxes) {
    const int h21 = ui.Panel_21->height();
    EXPECT_EQ(ui.Panel_2->height(), h21 + 28);
    EXPECT_EQ(ui.Panel_2->x(), 50);
    EXPECT_EQ(ui.Panel_2->y(), 550 - (h21 + 28));
    EXPECT_TRUE(ui.CheckBox11->isChecked());
    EXPECT_TRUE(ui.CheckBox12->isChecked());
    EXPECT_TRUE(ui.CheckBox13->isChecked());
    EXPECT_FALSE(ui.CheckBox14->isChecked());
    EXPECT_FALSE(ui.CheckBox15->isChecked());
    EXPECT_TRUE(ui.CheckBox15->isHidden());
    for (QFrame* p : {ui.Panel_22, ui.Panel_23, ui.Panel_24, ui.Panel_25, ui.Panel_26})
        EXPECT_EQ(p->height(), h21) << p->objectName().toStdString();
    EXPECT_EQ(fontColour(ui.CheckBox11), MAROON);
    EXPECT_EQ(fontColour(ui.CheckBox14), NAVY);
}

TEST_F(StartUp, RunTimeBoxesHoldTheirItems) {
    for (QComboBox* c : {ui.ComboBox32, ui.ComboBox33, ui.ComboBox34}) {
        ASSERT_EQ(c->count(), 256);
        EXPECT_EQ(c->itemText(0).toStdString(), "0");
        EXPECT_EQ(c->itemText(255).toStdString(), "255");
        EXPECT_EQ(c->currentIndex(), 255) << c->objectName().toStdString();
    }
    ASSERT_EQ(ui.ComboBox61->count(), 2049);
    EXPECT_EQ(ui.ComboBox61->itemText(0).toStdString(), "0 ns");
    EXPECT_EQ(ui.ComboBox61->itemText(2048).toStdString(), "2048 ns");
    EXPECT_EQ(ui.ComboBox61->currentIndex(), 0);
    ASSERT_EQ(ui.ComboBox46->count(), 2049);
    EXPECT_EQ(ui.ComboBox46->itemText(2048).toStdString(), "2048");
    EXPECT_EQ(ui.ComboBox46->currentIndex(), 142);
    EXPECT_TRUE(ui.ComboBox46->isHidden());
    ASSERT_EQ(ui.ComboBox64->count(), 256);
    EXPECT_EQ(ui.ComboBox64->itemText(142).toStdString(), "142");
    EXPECT_EQ(ui.ComboBox64->currentIndex(), 142);
}

TEST_F(StartUp, OnlyOpenCloseAndOptionsAreUsable) {
    EXPECT_TRUE(ui.SpeedButton1->isEnabled());
    EXPECT_TRUE(ui.SpeedButton4->isEnabled());
    EXPECT_TRUE(ui.SpeedButton10->isEnabled());
    EXPECT_EQ(ui.SpeedButton10->text().toStdString(), "Options");
    for (QToolButton* b :
         {ui.SpeedButton3,  ui.SpeedButton5,  ui.SpeedButton6,  ui.SpeedButton7,  ui.SpeedButton8,
          ui.SpeedButton9,  ui.SpeedButton11, ui.SpeedButton12, ui.SpeedButton13, ui.SpeedButton14,
          ui.SpeedButton15, ui.SpeedButton16, ui.SpeedButton17, ui.SpeedButton18, ui.SpeedButton20,
          ui.SpeedButton25, ui.SpeedButton26, ui.SpeedButton30, ui.SpeedButton32, ui.SpeedButton35})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

// --- option layout ------------------------------------------------------------

using OptionLayout = WindowTest;

struct LayoutCase {
    const char* name;
    bool on[5]; // CheckBox11 .. CheckBox15
};

TEST_F(OptionLayout, VisibleSubPanelsStandSideBySideInTheirFixedOrder) {
    const LayoutCase cases[] = {{"none", {false, false, false, false, false}},
                                {"only boundaries", {false, false, false, true, false}},
                                {"start set", {true, true, true, false, false}},
                                {"filters and device", {false, true, false, false, true}},
                                {"all five", {true, true, true, true, true}}};
    QCheckBox* boxes[] = {ui.CheckBox11, ui.CheckBox12, ui.CheckBox13, ui.CheckBox14,
                          ui.CheckBox15};
    QFrame* panels[] = {ui.Panel_22, ui.Panel_23, ui.Panel_24, ui.Panel_25, ui.Panel_26};
    const int w21 = ui.Panel_21->width();
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Switched on from the last to the first: the order must not matter.
        for (int i = 4; i >= 0; --i) boxes[i]->setChecked(c.on[i]);
        int s = 0;
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(!panels[i]->isHidden(), c.on[i]) << i;
            if (!c.on[i]) continue;
            EXPECT_EQ(panels[i]->x(), w21 + s + 1) << i;
            s += panels[i]->width();
        }
        EXPECT_EQ(ui.Panel_2->width(), w21 + s + 6);
        EXPECT_EQ(fontColour(boxes[3]), c.on[3] ? MAROON : NAVY);
    }
}

TEST_F(OptionLayout, OnlyBoundariesStandsRightOfTheBasePanel) {
    ui.CheckBox11->setChecked(false);
    ui.CheckBox12->setChecked(false);
    ui.CheckBox13->setChecked(false);
    ui.CheckBox14->setChecked(true);
    const int w21 = ui.Panel_21->width();
    EXPECT_EQ(ui.Panel_25->x(), w21 + 1);
    EXPECT_EQ(ui.Panel_2->width(), w21 + ui.Panel_25->width() + 6);
    // The shown sub-panels go into the saved option flags.
    EXPECT_EQ(store->header.value[hdr::OptionFlags] & 0x38, 0);
}

TEST_F(OptionLayout, CheckBoxesGiveTheFocusBackToTheVisiblePanel) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ui.SpeedButton10->click();
    ASSERT_TRUE(ui.Panel_2->isVisible());
    for (QCheckBox* c : {ui.CheckBox14, ui.CheckBox3, ui.CheckBox6, ui.CheckBox12}) {
        ui.ComboBox13->setFocus();
        const bool was = c->isChecked();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, 9)); // on the indicator
        ASSERT_NE(c->isChecked(), was) << c->objectName().toStdString();
        EXPECT_TRUE(ui.Panel_2->hasFocus()) << c->objectName().toStdString();
    }
    EXPECT_EQ(fontColour(ui.CheckBox3), ui.CheckBox3->isChecked() ? MAROON : NAVY);
    EXPECT_EQ(ui.CheckBox3->text().toStdString(), "Grid");
}

TEST_F(OptionLayout, LeftCtrlOnTheTitleTogglesShortAndSixtyTall) {
    form->show();
    ui.SpeedButton10->click();
    const int h21 = ui.Panel_21->height();
    ASSERT_EQ(ui.Panel_2->height(), h21 + 28);
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(ui.Panel_2->height(), h21 + 28); // without Ctrl the title only drags
    prompter.held.leftCtrl = true;
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(ui.Panel_2->height(), h21 + 60);
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(ui.Panel_2->height(), h21 + 28);
    // From the tall height of the Options button, the title makes it short.
    ui.SpeedButton10->click();
    ASSERT_EQ(ui.Panel_2->height(), h21 + 138);
    QTest::mouseClick(ui.Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(ui.Panel_2->height(), h21 + 28);
    prompter.held = {};
}

// --- profile parameters ---------------------------------------------------------

using ParameterBoxes = WindowTest;

struct DepthCase {
    int range;    // ComboBox11 item
    int depth;    // ComboBox15 item before the change
    int expected; // ComboBox15 item after it
};

TEST_F(ParameterBoxes, TimeRangeKeepsTheDepthStepInItsWindow) {
    const DepthCase cases[] = {
        {0, 7, 7},   {0, 8, 5},   {0, 11, 5},  {1, 1, 6},   {1, 2, 2},   {1, 12, 12}, {1, 13, 6},
        {2, 4, 7},   {2, 5, 5},   {2, 17, 17}, {2, 18, 7},  {3, 5, 8},   {3, 6, 6},   {3, 18, 8},
        {4, 6, 8},   {4, 7, 7},   {4, 21, 21}, {4, 22, 8},  {5, 8, 10},  {5, 9, 9},   {5, 22, 22},
        {6, 11, 12}, {6, 12, 12}, {7, 16, 17}, {7, 17, 17}, {7, 22, 22}, {7, 0, 17},  {0, 0, 0}};
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "range " << c.range << " depth " << c.depth);
        // Start from another range so that the change is seen.
        ui.ComboBox11->setCurrentIndex(c.range == 2 ? 3 : 2);
        ui.ComboBox15->setCurrentIndex(c.depth);
        ui.ComboBox11->setCurrentIndex(c.range);
        EXPECT_EQ(ui.ComboBox15->currentIndex(), c.expected);
        EXPECT_EQ(store->header.value[hdr::TimeRange], c.range);
        EXPECT_EQ(store->header.value[hdr::DepthStep], c.expected);
    }
}

TEST_F(ParameterBoxes, From512To128NsTheDepthStepOf300CmStaysAnd800CmBecomes100) {
    ui.ComboBox11->setCurrentIndex(2);
    ui.ComboBox15->setCurrentIndex(7); // 300 cm
    ui.ComboBox11->setCurrentIndex(0);
    EXPECT_EQ(ui.ComboBox15->currentText().toStdString(), "300");
    ui.ComboBox11->setCurrentIndex(2);
    ui.ComboBox15->setCurrentIndex(11); // 800 cm
    ui.ComboBox11->setCurrentIndex(0);
    EXPECT_EQ(ui.ComboBox15->currentText().toStdString(), "100");
}

TEST_F(ParameterBoxes, TimeStretchItemsFollowTheRangeAndKeepTheSelection) {
    ui.ComboBox14->setCurrentIndex(7);
    ui.ComboBox11->setCurrentIndex(1);
    ui.ComboBox11->setCurrentIndex(0); // 128 ns: 512 samples of 0.25 ns
    const char* at128[9] = {"    64  ns",  "    80  ns",  "    96  ns",
                            "    112  ns", "    128  ns", "    160  ns",
                            "    192  ns", "    224  ns", "    256  ns"};
    ASSERT_EQ(ui.ComboBox14->count(), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ui.ComboBox14->itemText(i).toStdString(), at128[i]);
    EXPECT_EQ(ui.ComboBox14->currentIndex(), 7);
    ui.ComboBox11->setCurrentIndex(7); // 16384 ns
    EXPECT_EQ(ui.ComboBox14->itemText(0).toStdString(), "    8192  ns");
    EXPECT_EQ(ui.ComboBox14->itemText(1).toStdString(), "    10240  ns");
    EXPECT_EQ(ui.ComboBox14->itemText(8).toStdString(), "    32768  ns");
    EXPECT_EQ(ui.ComboBox14->currentIndex(), 7);
}

TEST_F(ParameterBoxes, TimeStretchItemsAtStartFollowTheStartRange) {
    // The header starts on 256 ns: 512 samples of 0.5 ns.
    ASSERT_EQ(ui.ComboBox11->currentIndex(), 1);
    const char* at256[9] = {"    128  ns", "    160  ns", "    192  ns",
                            "    224  ns", "    256  ns", "    320  ns",
                            "    384  ns", "    448  ns", "    512  ns"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(ui.ComboBox14->itemText(i).toStdString(), at256[i]);
    EXPECT_EQ(ui.ComboBox15->currentIndex(), 5);
}

TEST_F(ParameterBoxes, EachBoxWritesItsHeaderCell) {
    store->stateFlags = 0;
    ui.ComboBox12->setCurrentIndex(ui.ComboBox12->currentIndex() == 3 ? 4 : 3);
    EXPECT_EQ(store->header.value[hdr::Step], ui.ComboBox12->currentIndex());
    EXPECT_EQ(store->stateFlags & 0x3000, 0x3000);
    ui.ComboBox13->setCurrentIndex(ui.ComboBox13->currentIndex() == 2 ? 5 : 2);
    EXPECT_EQ(store->header.value[hdr::Antenna], ui.ComboBox13->currentIndex());
    // The view step owns only the low four bits of the view flags.
    store->header.value[hdr::ViewFlags] = 0xA1;
    ui.ComboBox16->setCurrentIndex(5);
    EXPECT_EQ(store->header.value[hdr::ViewFlags], 0xA5);
    ui.ComboBox16->setCurrentIndex(0);
    EXPECT_EQ(store->header.value[hdr::ViewFlags], 0xA0);
}

TEST_F(ParameterBoxes, ProfileStepIsIgnoredWhileTheProgramSetsTheControls) {
    const uint8_t before = store->header.value[hdr::Step];
    store->stateFlags = state::Busy;
    ui.ComboBox12->setCurrentIndex(before == 6 ? 7 : 6);
    EXPECT_EQ(store->header.value[hdr::Step], before);
    EXPECT_EQ(store->stateFlags, state::Busy);
    // The other boxes still store their item.
    ui.ComboBox13->setCurrentIndex(ui.ComboBox13->currentIndex() == 1 ? 3 : 1);
    EXPECT_EQ(store->header.value[hdr::Antenna], ui.ComboBox13->currentIndex());
}

// --- filters ------------------------------------------------------------------------

using FilterBoxes = WindowTest;

TEST_F(FilterBoxes, EachBoxGoesToItsCell) {
    const std::pair<QComboBox*, int> cells[] = {
        {ui.ComboBox20, 24}, {ui.ComboBox22, 25}, {ui.ComboBox23, 26}, {ui.ComboBox24, 27},
        {ui.ComboBox21, 28}, {ui.ComboBox25, 29}, {ui.ComboBox26, 30}, {ui.ComboBox27, 31}};
    int item = 1;
    for (const auto& [box, cell] : cells) {
        box->setCurrentIndex(item);
        EXPECT_EQ(store->header.value[cell], item) << box->objectName().toStdString();
        item = item % 3 + 1;
    }
}

TEST_F(FilterBoxes, ClickingAFilterCaptionClearsOnlyThatRow) {
    form->show();
    QComboBox* row1[] = {ui.ComboBox22, ui.ComboBox23, ui.ComboBox24};
    QComboBox* row2[] = {ui.ComboBox25, ui.ComboBox26, ui.ComboBox27};
    for (int i = 0; i < 3; ++i) {
        row1[i]->setCurrentIndex(3 + i);
        row2[i]->setCurrentIndex(7 + i);
    }
    QTest::mouseClick(ui.Label20, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(row1[i]->currentIndex(), 0);
        EXPECT_EQ(store->header.value[25 + i], 0);
        EXPECT_EQ(row2[i]->currentIndex(), 7 + i);
        EXPECT_EQ(store->header.value[29 + i], 7 + i);
    }
    QTest::mouseClick(ui.Label21, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(store->header.value[29 + i], 0);
}

TEST_F(FilterBoxes, ProfileAdditionColoursItsBoxAndSubtractionEnablesTheThreshold) {
    ui.ComboBox40->setCurrentIndex(2);
    EXPECT_EQ(ui.ComboBox40->palette().color(QPalette::Base), QColor(0xFF, 0xBB, 0xBB));
    ui.ComboBox40->setCurrentIndex(0);
    EXPECT_NE(ui.ComboBox40->palette().color(QPalette::Base), QColor(0xFF, 0xBB, 0xBB));
    EXPECT_FALSE(ui.ComboBox42->isEnabled());
    for (int method : {2, 1, 2, 0}) {
        ui.ComboBox41->setCurrentIndex(method);
        EXPECT_EQ(ui.ComboBox42->isEnabled(), method == 2) << method;
    }
}

// --- amplitude and colours ------------------------------------------------------------

using AmplitudeBoxes = WindowTest;

TEST_F(AmplitudeBoxes, ZeroGainModeSetsFontButtonCaptionsAndCell36) {
    ui.ComboBox19->setCurrentIndex(1);
    EXPECT_EQ(store->header.value[hdr::ZeroGainMode], 1);
    EXPECT_EQ(ui.ComboBox19->palette().color(QPalette::Text), MAROON);
    // Gain levels 128 (amplitude 0 about zero) and range 1 by default.
    EXPECT_EQ(ui.SpeedButton53->text().toStdString(), "<< 0");
    EXPECT_EQ(ui.SpeedButton54->text().toStdString(), "0");
    EXPECT_EQ(ui.SpeedButton55->text().toStdString(), "0 >>");
    ui.ComboBox19->setCurrentIndex(0);
    EXPECT_EQ(store->header.value[hdr::ZeroGainMode], 0);
    EXPECT_EQ(ui.ComboBox19->palette().color(QPalette::Text), NAVY);
    EXPECT_EQ(ui.SpeedButton53->text().toStdString(), "<< ");
    EXPECT_EQ(ui.SpeedButton54->text().toStdString(), "0"); // ZeroLevel 128 - 128
    EXPECT_EQ(ui.SpeedButton55->text().toStdString(), " >>");
}

TEST_F(AmplitudeBoxes, InversionBackgroundAndBoxesWriteTheHeader) {
    uint8_t& flags = store->header.value[hdr::AmplitudeFlags];
    ui.CheckBox22->setChecked(true);
    EXPECT_EQ(flags & 0x10, 0x10);
    EXPECT_EQ(fontColour(ui.CheckBox22), MAROON);
    ui.CheckBox22->setChecked(false);
    EXPECT_EQ(flags & 0x10, 0);
    EXPECT_EQ(fontColour(ui.CheckBox22), NAVY);
    ui.CheckBox21->setChecked(true);
    EXPECT_EQ(fontColour(ui.CheckBox21), MAROON);
    ui.CheckBox21->setChecked(false);
    EXPECT_EQ(fontColour(ui.CheckBox21), NAVY);
    ui.ComboBox28->setCurrentIndex(4);
    EXPECT_EQ(store->header.value[hdr::ColourMode], 4);
    ui.ComboBox29->setCurrentIndex(3);
    EXPECT_EQ(store->header.value[hdr::LevelTable], 3);
    ui.ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(store->header.value[hdr::AmplitudeForm], 2);
    EXPECT_EQ(ui.ComboBox18->palette().color(QPalette::Text), NAVY); // derivative form
    ui.ComboBox18->setCurrentIndex(0);
    EXPECT_EQ(ui.ComboBox18->palette().color(QPalette::Text), QColor(0, 0x80, 0));
}

TEST_F(AmplitudeBoxes, ChosenAmplitudeShowsItsCodeAndArmsItsButtons) {
    auto* caption = ui.Panel52->findChild<QLabel*>("Panel52Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(ui.SpeedButton51->isEnabled());
    EXPECT_FALSE(ui.SpeedButton52->isEnabled());
    ui.CheckBox23->setChecked(true);
    EXPECT_EQ(store->header.value[hdr::AmplitudeFlags] & 0x20, 0x20);
    EXPECT_EQ(fontColour(ui.CheckBox23), QColor(0xFF, 0, 0));
    EXPECT_EQ(caption->text().toStdString(), "  VA = 0  "); // code 128
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0, 0));
    EXPECT_TRUE(ui.SpeedButton51->isEnabled());
    EXPECT_TRUE(ui.SpeedButton52->isEnabled());
    ui.SpeedButton52->click();
    ui.SpeedButton52->click();
    EXPECT_EQ(caption->text().toStdString(), "  VA = 2  ");
    for (int i = 0; i < 5; ++i) ui.SpeedButton51->click();
    EXPECT_EQ(caption->text().toStdString(), "  VA = -3  ");
    ui.CheckBox23->setChecked(false);
    EXPECT_EQ(store->header.value[hdr::AmplitudeFlags] & 0x20, 0);
    EXPECT_EQ(fontColour(ui.CheckBox23), NAVY);
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_FALSE(ui.SpeedButton51->isEnabled());
    EXPECT_FALSE(ui.SpeedButton52->isEnabled());
}

TEST_F(AmplitudeBoxes, ColourBoxesEditTheLayerColourAndItsSample) {
    ui.ComboBox32->setCurrentIndex(10);  // red
    ui.ComboBox33->setCurrentIndex(200); // green
    ui.ComboBox34->setCurrentIndex(30);  // blue
    const auto& h = store->header.value;
    EXPECT_EQ(h[80], 30); // blue, green, red
    EXPECT_EQ(h[81], 200);
    EXPECT_EQ(h[82], 10);
    EXPECT_EQ(ui.Panel_242->palette().color(QPalette::Window), QColor(10, 200, 30));
    EXPECT_EQ(ui.Panel241->palette().color(QPalette::Window), QColor(10, 200, 30));
    auto* caption = ui.Panel241->findChild<QLabel*>("Panel241Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(fontColour(caption), QColor(0x44, 0, 0)); // green above 150
    ui.ComboBox33->setCurrentIndex(150);
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0xFF, 0x88));
}

TEST_F(AmplitudeBoxes, ColourDialogSetsTheBoxesAndCancelKeepsThem) {
    form->show();
    prompter.colours.push_back(QColor(1, 2, 3));
    QTest::mouseDClick(ui.Panel_242, Qt::LeftButton);
    EXPECT_EQ(ui.ComboBox32->currentIndex(), 1);
    EXPECT_EQ(ui.ComboBox33->currentIndex(), 2);
    EXPECT_EQ(ui.ComboBox34->currentIndex(), 3);
    EXPECT_EQ(store->header.value[80], 3);
    EXPECT_EQ(store->header.value[82], 1);
    prompter.colours.push_back(std::nullopt);
    form->layerColours().Panel_242DblClick();
    EXPECT_EQ(ui.ComboBox32->currentIndex(), 1);
    EXPECT_EQ(store->header.value[80], 3);
    // The panel of the option panel did not move with the clicks.
    EXPECT_EQ(ui.Panel_2->x(), 50);
}

TEST_F(AmplitudeBoxes, SourceColourRestoresTheStartLayerColours) {
    form->show();
    auto& h = store->header.value;
    for (int c = 80; c < 107; ++c) h[c] = 77;
    ui.ComboBox32->setCurrentIndex(9);
    QTest::mouseClick(ui.Panel241, Qt::LeftButton);
    const int start[27] = {0, 0, 0,  0,  140, 200, 130, 130, 30, 80, 0, 160, 120, 0,
                           0, 0, 80, 80, 0,   0,   96,  0,   0,  0,  0, 0,   0};
    for (int i = 0; i < 27; ++i) EXPECT_EQ(h[80 + i], start[i]) << 80 + i;
    EXPECT_EQ(ui.ComboBox32->currentIndex(), 0);
    EXPECT_EQ(ui.ComboBox34->currentIndex(), 0);
}

// --- floating panels -------------------------------------------------------------------

using FloatingPanels = WindowTest;

void rightPress(QWidget* w) {
    QTest::mousePress(w, Qt::RightButton);
    QTest::mouseRelease(w, Qt::RightButton);
}

TEST_F(FloatingPanels, RightButtonOnTheTitlesCollapsesAndExpandsTheTables) {
    form->show();
    for (QWidget* p :
         {static_cast<QWidget*>(ui.Panel_TGod), static_cast<QWidget*>(ui.Panel_Kratnik),
          static_cast<QWidget*>(ui.Panel_TVSL)})
        p->show();
    rightPress(ui.Label_GDRF);
    EXPECT_EQ(ui.Panel_TGod->geometry(), QRect(50, 525, ui.Label_GDRF->width() + 16, 25));
    rightPress(ui.Label_GDRF);
    EXPECT_EQ(ui.Panel_TGod->geometry(),
              QRect(612, 50, ui.StringGrid4->width() + 2, ui.StringGrid4->height() + 54));
    rightPress(ui.Label_KRT);
    EXPECT_EQ(ui.Panel_Kratnik->geometry(), QRect(50, 525, ui.Label_KRT->width() + 16, 25));
    rightPress(ui.Panel_Kratnik);
    EXPECT_EQ(ui.Panel_Kratnik->geometry(),
              QRect(612, 50, ui.StringGrid5->width() + 2, ui.StringGrid5->height() + 54));
    rightPress(ui.Label_TVSL);
    EXPECT_EQ(ui.Panel_TVSL->geometry(),
              QRect(ui.Label_GDRF->width() + 66, 525, ui.Label_TVSL->width() + 16, 25));
    rightPress(ui.Label_TVSL);
    EXPECT_EQ(ui.Panel_TVSL->geometry(), QRect(644, 50, ui.StringGrid1->width() + 8,
                                               ui.StringGrid1->y() + ui.StringGrid1->height() + 8));
    // The option panel is not collapsed by the right button.
    ui.SpeedButton10->click();
    const QRect before = ui.Panel_2->geometry();
    rightPress(ui.Label_OPTION);
    EXPECT_EQ(ui.Panel_2->geometry(), before);
}

} // namespace
} // namespace tesk::testing
