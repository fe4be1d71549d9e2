// The main window: start-up state, the option panel layout and sizes, the
// profile-parameter, filter and colour boxes, and the floating panels.

#include "window_fixture.h"

#include "shell/widgets.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
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
    EXPECT_EQ(form->Panel_1->height(), 36);
    EXPECT_FALSE(form->Panel_1->isHidden());
    EXPECT_FALSE(form->ScrollBox1->isHidden());
    for (QWidget* p :
         {static_cast<QWidget*>(form->Panel_2), static_cast<QWidget*>(form->Panel_CORD),
          static_cast<QWidget*>(form->Panel_TVSL), static_cast<QWidget*>(form->Panel_TGod),
          static_cast<QWidget*>(form->Panel_Kratnik), static_cast<QWidget*>(form->Panel50),
          static_cast<QWidget*>(form->Panel_3D), static_cast<QWidget*>(form->Panel3),
          static_cast<QWidget*>(form->Panel6)})
        EXPECT_TRUE(p->isHidden()) << p->objectName().toStdString();
}

TEST_F(StartUp, FloatingPanelsStandWhereTheyStart) {
    EXPECT_EQ(form->Panel_TVSL->pos(), QPoint(644, 50));
    EXPECT_EQ(form->Panel_TGod->pos(), QPoint(612, 50));
    EXPECT_EQ(form->Panel_Kratnik->pos(), QPoint(612, 50));
    EXPECT_EQ(form->Panel_CORD->x(), 47);
    EXPECT_EQ(form->Panel3->geometry(), QRect(10, 36 + 10, 560, 88));
    EXPECT_EQ(form->Panel6->size(), QSize(512, 576));
    // Each table panel is as large as its table.
    EXPECT_EQ(form->Panel_TGod->height(), form->StringGrid4->height() + 54);
    EXPECT_EQ(form->Panel_TGod->width(), form->StringGrid4->width() + 2);
    EXPECT_EQ(form->Panel_Kratnik->height(), form->StringGrid5->height() + 54);
    EXPECT_EQ(form->Panel_TVSL->width(), form->StringGrid1->width() + 8);
    EXPECT_EQ(form->Panel_TVSL->height(), form->StringGrid1->y() + form->StringGrid1->height() + 8);
}

TEST_F(StartUp, AmplitudePanelStandsRightOfThePictureWhenTheScreenHasRoom) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const int sw = screen->geometry().width();
    const int w = form->Panel50->width();
    // 1024 pixels of relief overlay plus twice the picture margin of 50.
    const int expected = 1124 + w <= sw ? 1124 : sw - w - 10;
    EXPECT_EQ(form->Panel50->x(), std::max(expected, 0));
    EXPECT_EQ(form->view().ViewOrigin.x, 50);
    EXPECT_EQ(form->view().ViewOrigin.y, 50);
}

TEST_F(StartUp, OptionPanelGeometryAndCheckBoxes) {
    const int h21 = form->Panel_21->height();
    EXPECT_EQ(form->Panel_2->height(), h21 + 28);
    EXPECT_EQ(form->Panel_2->x(), 50);
    EXPECT_EQ(form->Panel_2->y(), 550 - (h21 + 28));
    EXPECT_TRUE(form->CheckBox11->isChecked());
    EXPECT_TRUE(form->CheckBox12->isChecked());
    EXPECT_TRUE(form->CheckBox13->isChecked());
    EXPECT_FALSE(form->CheckBox14->isChecked());
    EXPECT_FALSE(form->CheckBox15->isChecked());
    EXPECT_TRUE(form->CheckBox15->isHidden());
    for (QFrame* p :
         {form->Panel_22, form->Panel_23, form->Panel_24, form->Panel_25, form->Panel_26})
        EXPECT_EQ(p->height(), h21) << p->objectName().toStdString();
    EXPECT_EQ(fontColour(form->CheckBox11), MAROON);
    EXPECT_EQ(fontColour(form->CheckBox14), NAVY);
}

TEST_F(StartUp, RunTimeBoxesHoldTheirItems) {
    for (QComboBox* c : {form->ComboBox32, form->ComboBox33, form->ComboBox34}) {
        ASSERT_EQ(c->count(), 256);
        EXPECT_EQ(c->itemText(0).toStdString(), "0");
        EXPECT_EQ(c->itemText(255).toStdString(), "255");
        EXPECT_EQ(c->currentIndex(), 255) << c->objectName().toStdString();
    }
    ASSERT_EQ(form->ComboBox61->count(), 2049);
    EXPECT_EQ(form->ComboBox61->itemText(0).toStdString(), "0 ns");
    EXPECT_EQ(form->ComboBox61->itemText(2048).toStdString(), "2048 ns");
    EXPECT_EQ(form->ComboBox61->currentIndex(), 0);
    ASSERT_EQ(form->ComboBox46->count(), 2049);
    EXPECT_EQ(form->ComboBox46->itemText(2048).toStdString(), "2048");
    EXPECT_EQ(form->ComboBox46->currentIndex(), 142);
    EXPECT_TRUE(form->ComboBox46->isHidden());
    ASSERT_EQ(form->ComboBox64->count(), 256);
    EXPECT_EQ(form->ComboBox64->itemText(142).toStdString(), "142");
    EXPECT_EQ(form->ComboBox64->currentIndex(), 142);
}

TEST_F(StartUp, OnlyOpenCloseAndOptionsAreUsable) {
    EXPECT_TRUE(form->SpeedButton1->isEnabled());
    EXPECT_TRUE(form->SpeedButton4->isEnabled());
    EXPECT_TRUE(form->SpeedButton10->isEnabled());
    EXPECT_EQ(form->SpeedButton10->text().toStdString(), "Options");
    for (QToolButton* b :
         {form->SpeedButton3,  form->SpeedButton5,  form->SpeedButton6,  form->SpeedButton7,
          form->SpeedButton8,  form->SpeedButton9,  form->SpeedButton11, form->SpeedButton12,
          form->SpeedButton13, form->SpeedButton14, form->SpeedButton15, form->SpeedButton16,
          form->SpeedButton17, form->SpeedButton18, form->SpeedButton20, form->SpeedButton25,
          form->SpeedButton26, form->SpeedButton30, form->SpeedButton32, form->SpeedButton35})
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
    QCheckBox* boxes[] = {form->CheckBox11, form->CheckBox12, form->CheckBox13, form->CheckBox14,
                          form->CheckBox15};
    QFrame* panels[] = {form->Panel_22, form->Panel_23, form->Panel_24, form->Panel_25,
                        form->Panel_26};
    const int w21 = form->Panel_21->width();
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
        EXPECT_EQ(form->Panel_2->width(), w21 + s + 6);
        EXPECT_EQ(fontColour(boxes[3]), c.on[3] ? MAROON : NAVY);
    }
}

TEST_F(OptionLayout, OnlyBoundariesStandsRightOfTheBasePanel) {
    form->CheckBox11->setChecked(false);
    form->CheckBox12->setChecked(false);
    form->CheckBox13->setChecked(false);
    form->CheckBox14->setChecked(true);
    const int w21 = form->Panel_21->width();
    EXPECT_EQ(form->Panel_25->x(), w21 + 1);
    EXPECT_EQ(form->Panel_2->width(), w21 + form->Panel_25->width() + 6);
    // The shown sub-panels go into the saved option flags.
    EXPECT_EQ(store->header.value[hdr::OptionFlags] & 0x38, 0);
}

TEST_F(OptionLayout, CheckBoxesGiveTheFocusBackToTheVisiblePanel) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->SpeedButton10->click();
    ASSERT_TRUE(form->Panel_2->isVisible());
    for (QCheckBox* c : {form->CheckBox14, form->CheckBox3, form->CheckBox6, form->CheckBox12}) {
        form->ComboBox13->setFocus();
        const bool was = c->isChecked();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, 9)); // on the indicator
        ASSERT_NE(c->isChecked(), was) << c->objectName().toStdString();
        EXPECT_TRUE(form->Panel_2->hasFocus()) << c->objectName().toStdString();
    }
    EXPECT_EQ(fontColour(form->CheckBox3), form->CheckBox3->isChecked() ? MAROON : NAVY);
    EXPECT_EQ(form->CheckBox3->text().toStdString(), "Grid");
}

TEST_F(OptionLayout, LeftCtrlOnTheTitleTogglesShortAndSixtyTall) {
    form->show();
    form->SpeedButton10->click();
    const int h21 = form->Panel_21->height();
    ASSERT_EQ(form->Panel_2->height(), h21 + 28);
    QTest::mouseClick(form->Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(form->Panel_2->height(), h21 + 28); // without Ctrl the title only drags
    prompter.held.leftCtrl = true;
    QTest::mouseClick(form->Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(form->Panel_2->height(), h21 + 60);
    QTest::mouseClick(form->Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(form->Panel_2->height(), h21 + 28);
    // From the tall height of the Options button, the title makes it short.
    form->SpeedButton10->click();
    ASSERT_EQ(form->Panel_2->height(), h21 + 138);
    QTest::mouseClick(form->Label_OPTION, Qt::LeftButton);
    EXPECT_EQ(form->Panel_2->height(), h21 + 28);
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
        form->ComboBox11->setCurrentIndex(c.range == 2 ? 3 : 2);
        form->ComboBox15->setCurrentIndex(c.depth);
        form->ComboBox11->setCurrentIndex(c.range);
        EXPECT_EQ(form->ComboBox15->currentIndex(), c.expected);
        EXPECT_EQ(store->header.value[hdr::TimeRange], c.range);
        EXPECT_EQ(store->header.value[hdr::DepthStep], c.expected);
    }
}

TEST_F(ParameterBoxes, From512To128NsTheDepthStepOf300CmStaysAnd800CmBecomes100) {
    form->ComboBox11->setCurrentIndex(2);
    form->ComboBox15->setCurrentIndex(7); // 300 cm
    form->ComboBox11->setCurrentIndex(0);
    EXPECT_EQ(form->ComboBox15->currentText().toStdString(), "300");
    form->ComboBox11->setCurrentIndex(2);
    form->ComboBox15->setCurrentIndex(11); // 800 cm
    form->ComboBox11->setCurrentIndex(0);
    EXPECT_EQ(form->ComboBox15->currentText().toStdString(), "100");
}

TEST_F(ParameterBoxes, TimeStretchItemsFollowTheRangeAndKeepTheSelection) {
    form->ComboBox14->setCurrentIndex(7);
    form->ComboBox11->setCurrentIndex(1);
    form->ComboBox11->setCurrentIndex(0); // 128 ns: 512 samples of 0.25 ns
    const char* at128[9] = {"    64  ns",  "    80  ns",  "    96  ns",
                            "    112  ns", "    128  ns", "    160  ns",
                            "    192  ns", "    224  ns", "    256  ns"};
    ASSERT_EQ(form->ComboBox14->count(), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(form->ComboBox14->itemText(i).toStdString(), at128[i]);
    EXPECT_EQ(form->ComboBox14->currentIndex(), 7);
    form->ComboBox11->setCurrentIndex(7); // 16384 ns
    EXPECT_EQ(form->ComboBox14->itemText(0).toStdString(), "    8192  ns");
    EXPECT_EQ(form->ComboBox14->itemText(1).toStdString(), "    10240  ns");
    EXPECT_EQ(form->ComboBox14->itemText(8).toStdString(), "    32768  ns");
    EXPECT_EQ(form->ComboBox14->currentIndex(), 7);
}

TEST_F(ParameterBoxes, TimeStretchItemsAtStartFollowTheStartRange) {
    // The header starts on 256 ns: 512 samples of 0.5 ns.
    ASSERT_EQ(form->ComboBox11->currentIndex(), 1);
    const char* at256[9] = {"    128  ns", "    160  ns", "    192  ns",
                            "    224  ns", "    256  ns", "    320  ns",
                            "    384  ns", "    448  ns", "    512  ns"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(form->ComboBox14->itemText(i).toStdString(), at256[i]);
    EXPECT_EQ(form->ComboBox15->currentIndex(), 5);
}

TEST_F(ParameterBoxes, EachBoxWritesItsHeaderCell) {
    store->stateFlags = 0;
    form->ComboBox12->setCurrentIndex(form->ComboBox12->currentIndex() == 3 ? 4 : 3);
    EXPECT_EQ(store->header.value[hdr::Step], form->ComboBox12->currentIndex());
    EXPECT_EQ(store->stateFlags & 0x3000, 0x3000);
    form->ComboBox13->setCurrentIndex(form->ComboBox13->currentIndex() == 2 ? 5 : 2);
    EXPECT_EQ(store->header.value[hdr::Antenna], form->ComboBox13->currentIndex());
    // The view step owns only the low four bits of the view flags.
    store->header.value[hdr::ViewFlags] = 0xA1;
    form->ComboBox16->setCurrentIndex(5);
    EXPECT_EQ(store->header.value[hdr::ViewFlags], 0xA5);
    form->ComboBox16->setCurrentIndex(0);
    EXPECT_EQ(store->header.value[hdr::ViewFlags], 0xA0);
}

TEST_F(ParameterBoxes, ProfileStepIsIgnoredWhileTheProgramSetsTheControls) {
    const uint8_t before = store->header.value[hdr::Step];
    store->stateFlags = state::Busy;
    form->ComboBox12->setCurrentIndex(before == 6 ? 7 : 6);
    EXPECT_EQ(store->header.value[hdr::Step], before);
    EXPECT_EQ(store->stateFlags, state::Busy);
    // The other boxes still store their item.
    form->ComboBox13->setCurrentIndex(form->ComboBox13->currentIndex() == 1 ? 3 : 1);
    EXPECT_EQ(store->header.value[hdr::Antenna], form->ComboBox13->currentIndex());
}

// --- filters ------------------------------------------------------------------------

using FilterBoxes = WindowTest;

TEST_F(FilterBoxes, EachBoxGoesToItsCell) {
    const std::pair<QComboBox*, int> cells[] = {{form->ComboBox20, 24}, {form->ComboBox22, 25},
                                                {form->ComboBox23, 26}, {form->ComboBox24, 27},
                                                {form->ComboBox21, 28}, {form->ComboBox25, 29},
                                                {form->ComboBox26, 30}, {form->ComboBox27, 31}};
    int item = 1;
    for (const auto& [box, cell] : cells) {
        box->setCurrentIndex(item);
        EXPECT_EQ(store->header.value[cell], item) << box->objectName().toStdString();
        item = item % 3 + 1;
    }
}

TEST_F(FilterBoxes, ClickingAFilterCaptionClearsOnlyThatRow) {
    form->show();
    QComboBox* row1[] = {form->ComboBox22, form->ComboBox23, form->ComboBox24};
    QComboBox* row2[] = {form->ComboBox25, form->ComboBox26, form->ComboBox27};
    for (int i = 0; i < 3; ++i) {
        row1[i]->setCurrentIndex(3 + i);
        row2[i]->setCurrentIndex(7 + i);
    }
    QTest::mouseClick(form->Label20, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(row1[i]->currentIndex(), 0);
        EXPECT_EQ(store->header.value[25 + i], 0);
        EXPECT_EQ(row2[i]->currentIndex(), 7 + i);
        EXPECT_EQ(store->header.value[29 + i], 7 + i);
    }
    QTest::mouseClick(form->Label21, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(store->header.value[29 + i], 0);
}

TEST_F(FilterBoxes, ProfileAdditionColoursItsBoxAndSubtractionEnablesTheThreshold) {
    form->ComboBox40->setCurrentIndex(2);
    EXPECT_EQ(form->ComboBox40->palette().color(QPalette::Base), QColor(0xFF, 0xBB, 0xBB));
    form->ComboBox40->setCurrentIndex(0);
    EXPECT_NE(form->ComboBox40->palette().color(QPalette::Base), QColor(0xFF, 0xBB, 0xBB));
    EXPECT_FALSE(form->ComboBox42->isEnabled());
    for (int method : {2, 1, 2, 0}) {
        form->ComboBox41->setCurrentIndex(method);
        EXPECT_EQ(form->ComboBox42->isEnabled(), method == 2) << method;
    }
}

// --- amplitude and colours ------------------------------------------------------------

using AmplitudeBoxes = WindowTest;

TEST_F(AmplitudeBoxes, ZeroGainModeSetsFontButtonCaptionsAndCell36) {
    form->ComboBox19->setCurrentIndex(1);
    EXPECT_EQ(store->header.value[hdr::ZeroGainMode], 1);
    EXPECT_EQ(form->ComboBox19->palette().color(QPalette::Text), MAROON);
    // Gain levels 128 and range 1 by default.
    EXPECT_EQ(form->SpeedButton53->text().toStdString(), "<< 64");
    EXPECT_EQ(form->SpeedButton54->text().toStdString(), "0");
    EXPECT_EQ(form->SpeedButton55->text().toStdString(), "64 >>");
    form->ComboBox19->setCurrentIndex(0);
    EXPECT_EQ(store->header.value[hdr::ZeroGainMode], 0);
    EXPECT_EQ(form->ComboBox19->palette().color(QPalette::Text), NAVY);
    EXPECT_EQ(form->SpeedButton53->text().toStdString(), "<< ");
    EXPECT_EQ(form->SpeedButton54->text().toStdString(), "64"); // ZeroLevel 128 - 64
    EXPECT_EQ(form->SpeedButton55->text().toStdString(), " >>");
}

TEST_F(AmplitudeBoxes, InversionBackgroundAndBoxesWriteTheHeader) {
    uint8_t& flags = store->header.value[hdr::AmplitudeFlags];
    form->CheckBox22->setChecked(true);
    EXPECT_EQ(flags & 0x10, 0x10);
    EXPECT_EQ(fontColour(form->CheckBox22), MAROON);
    form->CheckBox22->setChecked(false);
    EXPECT_EQ(flags & 0x10, 0);
    EXPECT_EQ(fontColour(form->CheckBox22), NAVY);
    form->CheckBox21->setChecked(true);
    EXPECT_EQ(fontColour(form->CheckBox21), MAROON);
    form->CheckBox21->setChecked(false);
    EXPECT_EQ(fontColour(form->CheckBox21), NAVY);
    form->ComboBox28->setCurrentIndex(4);
    EXPECT_EQ(store->header.value[hdr::ColourMode], 4);
    form->ComboBox29->setCurrentIndex(3);
    EXPECT_EQ(store->header.value[hdr::LevelTable], 3);
    form->ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(store->header.value[hdr::AmplitudeForm], 2);
    EXPECT_EQ(form->ComboBox18->palette().color(QPalette::Text), NAVY); // derivative form
    form->ComboBox18->setCurrentIndex(0);
    EXPECT_EQ(form->ComboBox18->palette().color(QPalette::Text), QColor(0, 0x80, 0));
}

TEST_F(AmplitudeBoxes, ChosenAmplitudeShowsItsCodeAndArmsItsButtons) {
    auto* caption = form->Panel52->findChild<QLabel*>("Panel52Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(form->SpeedButton51->isEnabled());
    EXPECT_FALSE(form->SpeedButton52->isEnabled());
    form->CheckBox23->setChecked(true);
    EXPECT_EQ(store->header.value[hdr::AmplitudeFlags] & 0x20, 0x20);
    EXPECT_EQ(fontColour(form->CheckBox23), QColor(0xFF, 0, 0));
    EXPECT_EQ(caption->text().toStdString(), "  VA = 0  "); // code 128
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0, 0));
    EXPECT_TRUE(form->SpeedButton51->isEnabled());
    EXPECT_TRUE(form->SpeedButton52->isEnabled());
    form->SpeedButton52->click();
    form->SpeedButton52->click();
    EXPECT_EQ(caption->text().toStdString(), "  VA = 2  ");
    for (int i = 0; i < 5; ++i) form->SpeedButton51->click();
    EXPECT_EQ(caption->text().toStdString(), "  VA = -3  ");
    form->CheckBox23->setChecked(false);
    EXPECT_EQ(store->header.value[hdr::AmplitudeFlags] & 0x20, 0);
    EXPECT_EQ(fontColour(form->CheckBox23), NAVY);
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_FALSE(form->SpeedButton51->isEnabled());
    EXPECT_FALSE(form->SpeedButton52->isEnabled());
}

TEST_F(AmplitudeBoxes, ColourBoxesEditTheLayerColourAndItsSample) {
    form->ComboBox32->setCurrentIndex(10);  // red
    form->ComboBox33->setCurrentIndex(200); // green
    form->ComboBox34->setCurrentIndex(30);  // blue
    const auto& h = store->header.value;
    EXPECT_EQ(h[80], 30); // blue, green, red
    EXPECT_EQ(h[81], 200);
    EXPECT_EQ(h[82], 10);
    EXPECT_EQ(form->Panel_242->palette().color(QPalette::Window), QColor(10, 200, 30));
    EXPECT_EQ(form->Panel241->palette().color(QPalette::Window), QColor(10, 200, 30));
    auto* caption = form->Panel241->findChild<QLabel*>("Panel241Caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(fontColour(caption), QColor(0x44, 0, 0)); // green above 150
    form->ComboBox33->setCurrentIndex(150);
    EXPECT_EQ(fontColour(caption), QColor(0xFF, 0xFF, 0x88));
}

TEST_F(AmplitudeBoxes, ColourDialogSetsTheBoxesAndCancelKeepsThem) {
    form->show();
    prompter.colours.push_back(QColor(1, 2, 3));
    QTest::mouseDClick(form->Panel_242, Qt::LeftButton);
    EXPECT_EQ(form->ComboBox32->currentIndex(), 1);
    EXPECT_EQ(form->ComboBox33->currentIndex(), 2);
    EXPECT_EQ(form->ComboBox34->currentIndex(), 3);
    EXPECT_EQ(store->header.value[80], 3);
    EXPECT_EQ(store->header.value[82], 1);
    prompter.colours.push_back(std::nullopt);
    form->Panel_242DblClick();
    EXPECT_EQ(form->ComboBox32->currentIndex(), 1);
    EXPECT_EQ(store->header.value[80], 3);
    // The panel of the option panel did not move with the clicks.
    EXPECT_EQ(form->Panel_2->x(), 50);
}

TEST_F(AmplitudeBoxes, SourceColourRestoresTheStartLayerColours) {
    form->show();
    auto& h = store->header.value;
    for (int c = 80; c < 107; ++c) h[c] = 77;
    form->ComboBox32->setCurrentIndex(9);
    QTest::mouseClick(form->Panel241, Qt::LeftButton);
    const int start[27] = {0, 0, 0,  0,  140, 200, 130, 130, 30, 80, 0, 160, 120, 0,
                           0, 0, 80, 80, 0,   0,   96,  0,   0,  0,  0, 0,   0};
    for (int i = 0; i < 27; ++i) EXPECT_EQ(h[80 + i], start[i]) << 80 + i;
    EXPECT_EQ(form->ComboBox32->currentIndex(), 0);
    EXPECT_EQ(form->ComboBox34->currentIndex(), 0);
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
         {static_cast<QWidget*>(form->Panel_TGod), static_cast<QWidget*>(form->Panel_Kratnik),
          static_cast<QWidget*>(form->Panel_TVSL)})
        p->show();
    rightPress(form->Label_GDRF);
    EXPECT_EQ(form->Panel_TGod->geometry(), QRect(50, 525, form->Label_GDRF->width() + 16, 25));
    rightPress(form->Label_GDRF);
    EXPECT_EQ(form->Panel_TGod->geometry(),
              QRect(612, 50, form->StringGrid4->width() + 2, form->StringGrid4->height() + 54));
    rightPress(form->Label_KRT);
    EXPECT_EQ(form->Panel_Kratnik->geometry(), QRect(50, 525, form->Label_KRT->width() + 16, 25));
    rightPress(form->Panel_Kratnik);
    EXPECT_EQ(form->Panel_Kratnik->geometry(),
              QRect(612, 50, form->StringGrid5->width() + 2, form->StringGrid5->height() + 54));
    rightPress(form->Label_TVSL);
    EXPECT_EQ(form->Panel_TVSL->geometry(),
              QRect(form->Label_GDRF->width() + 66, 525, form->Label_TVSL->width() + 16, 25));
    rightPress(form->Label_TVSL);
    EXPECT_EQ(form->Panel_TVSL->geometry(),
              QRect(644, 50, form->StringGrid1->width() + 8,
                    form->StringGrid1->y() + form->StringGrid1->height() + 8));
    // The option panel is not collapsed by the right button.
    form->SpeedButton10->click();
    const QRect before = form->Panel_2->geometry();
    rightPress(form->Label_OPTION);
    EXPECT_EQ(form->Panel_2->geometry(), before);
}

} // namespace
} // namespace tesk::testing
