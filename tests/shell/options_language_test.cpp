// The language switch and the option panel toggles.

#include "window_fixture.h"

namespace tesk::testing {
namespace {

using Language = WindowTest;

TEST_F(Language, StartsInEnglishAndSwitchesEveryCaptionAndTheHeaderBit) {
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Russian");
    EXPECT_EQ(ui.SpeedButton4->toolTip().toStdString(), "Close Program");
    EXPECT_EQ(ui.Label_OPTION->text().toStdString(), " P A N E L  O P T I O N S");
    ui.CheckBox1->click();
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Английский");
    EXPECT_EQ(ui.SpeedButton1->toolTip().toStdString(), "Открыть файл");
    EXPECT_EQ(ui.SpeedButton3->toolTip().toStdString(), "Сохранить файл");
    EXPECT_EQ(ui.SpeedButton4->toolTip().toStdString(), "Закрыть программу");
    EXPECT_EQ(ui.Label1->text().toStdString(),
              "Пожалуйста подождите, идет загрузка и обработка файла");
    EXPECT_EQ(store->header.value[hdr::ViewFlags] & hdr::English, 0);
    ui.CheckBox1->click();
    EXPECT_EQ(store->header.value[hdr::ViewFlags] & hdr::English, hdr::English);
}

TEST_F(Language, CheckBoxColourFollowsItsState) {
    EXPECT_EQ(ui.CheckBox1->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    ui.CheckBox1->click();
    EXPECT_EQ(ui.CheckBox1->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
}

TEST_F(Language, MessageRightAfterTheSwitchIsInTheNewLanguage) {
    const std::string path = dir.file("e.gem");
    writeBytes(path, "ABCDxxxxxxxxxxxxxxxx");
    clickOpen(path);
    EXPECT_EQ(lastText().rfind("ERROR(E026)", 0), 0u);
    ui.CheckBox1->click();
    clickOpen(path);
    EXPECT_EQ(lastText().rfind("Ошибка(E026)", 0), 0u);
}

using OptionPanel = WindowTest;

TEST_F(OptionPanel, ButtonTogglesVisibilityAndLeftCtrlTheHeight) {
    form->show();
    EXPECT_FALSE(ui.Panel_2->isVisible());
    ui.SpeedButton10->click();
    EXPECT_TRUE(ui.Panel_2->isVisible());
    const int shortHeight = ui.Panel_21->height() + 28;
    EXPECT_EQ(ui.Panel_2->height(), shortHeight);
    prompter.held.leftCtrl = true;
    ui.SpeedButton10->click();
    EXPECT_EQ(ui.Panel_2->height(), shortHeight + 110);
    ui.SpeedButton10->click();
    EXPECT_EQ(ui.Panel_2->height(), shortHeight);
    prompter.held = {};
    EXPECT_TRUE(ui.Panel_2->isVisible()); // Ctrl only changes the height
    ui.SpeedButton10->click();
    EXPECT_FALSE(ui.Panel_2->isVisible());
}

TEST_F(OptionPanel, ProgressPanelSitsUnderTheCommandBar) {
    EXPECT_EQ(ui.Panel3->geometry(), QRect(10, 46, 560, 88));
    EXPECT_FALSE(ui.Panel3->isVisible());
}

} // namespace
} // namespace tesk::testing
