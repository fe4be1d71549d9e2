// Opening a file over a survey the operator has changed asks to save it
// first; looking at a survey changes nothing. A work file that ends before
// the frames it announces keeps the frames it holds and says so.

#include "display/markers.h"
#include "window_fixture.h"

#include <QTest>
#include <filesystem>
#include <functional>

namespace tesk::testing {
namespace {

class UnsavedSurvey : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        first = writeSurvey(dir.file("first.gem"), 300, true, 1);
        second = writeSurvey(dir.file("second.gem"), 200, true, 2);
        clickOpen(first);
        ASSERT_TRUE(prompter.shown.empty()) << lastText();
    }
    std::string first, second;
};

const char* const QUESTION_EN = "You want to save a file?";
const char* const QUESTION_RU = "Xотите сохранить файл?";

TEST_F(UnsavedSurvey, OnlyTheOperatorsChangesAsk) {
    struct Case {
        const char* name;
        std::function<void()> act;
        bool asks;
    };
    const Case cases[] = {
        {"only looked at",
         [this] {
             ui.SpeedButton18->click();
             form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(80, 90));
             ui.SpeedButton21->click();
         },
         false},
        {"language, sub-panels, view step and amplitude panel",
         [this] {
             ui.CheckBox1->setChecked(false);
             ui.CheckBox1->setChecked(true);
             ui.CheckBox14->setChecked(true);
             ui.CheckBox11->setChecked(false);
             ui.ComboBox16->setCurrentIndex(3);
         },
         false},
        {"a filter", [this] { ui.ComboBox20->setCurrentIndex(2); }, true},
        {"the inversion", [this] { ui.CheckBox22->setChecked(true); }, true},
        {"a layer colour", [this] { ui.ComboBox32->setCurrentIndex(7); }, true},
        {"changed, then saved as a work file",
         [this] {
             ui.ComboBox20->setCurrentIndex(2);
             prompter.saveNames.push_back(SaveChoice{dir.file("kept.gem"), 1});
             ui.SpeedButton3->click();
         },
         false},
        {"changed, then saved as options only",
         [this] {
             ui.ComboBox20->setCurrentIndex(2);
             prompter.saveNames.push_back(SaveChoice{dir.file("kept.opt"), 3});
             ui.SpeedButton3->click();
         },
         true},
        {"frames appended", [this] { clickOpen(second, /*ctrl=*/true); }, true},
        {"a block of frames mirrored",
         [this] {
             form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(80, 90));
             ui.SpeedButton13->click();
         },
         true},
        {"frames only copied",
         [this] {
             form->radargramView().Image1MouseDown(Qt::LeftButton, QPoint(80, 90));
             ui.SpeedButton28->click();
         },
         false},
        {"every marker deleted",
         [this] {
             prompter.answers.push_back(Answer::Yes);
             ui.ComboBox17->setCurrentIndex(markerItem::DeleteAll);
         },
         true},
    };
    for (const Case& c : cases) {
        clickOpen(first);
        prompter.shown.clear();
        c.act();
        prompter.shown.clear();
        prompter.answers.push_back(Answer::No);
        clickOpen(second);
        EXPECT_EQ(store->currentFileName, second) << c.name;
        const bool asked = !prompter.shown.empty() && prompter.shown[0].text == QUESTION_EN;
        EXPECT_EQ(asked, c.asks) << c.name << ": " << lastText();
        prompter.answers.clear();
    }
}

TEST_F(UnsavedSurvey, YesSavesNoDiscardsCancelKeeps) {
    const std::string kept = dir.file("kept.gem");
    struct Case {
        const char* name;
        Answer answer;
        bool saveNameGiven;
        bool opened; // the second survey replaced the first
        bool saved;
    };
    const Case cases[] = {
        {"Yes: saved, then opened", Answer::Yes, true, true, true},
        {"Yes, save dialog cancelled: kept", Answer::Yes, false, false, false},
        {"No: discarded", Answer::No, false, true, false},
        {"Cancel: kept", Answer::Cancel, false, false, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(kept);
        clickOpen(first);
        ui.ComboBox22->setCurrentIndex(9); // L = 9 on the survey on screen
        prompter.shown.clear();
        prompter.answers.push_back(c.answer);
        if (c.saveNameGiven) prompter.saveNames.push_back(SaveChoice{kept, 1});
        clickOpen(second);
        ASSERT_FALSE(prompter.shown.empty()) << c.name;
        const ShownMessage& q = prompter.shown[0];
        EXPECT_EQ(q.text, QUESTION_EN) << c.name;
        EXPECT_EQ(q.buttons, Buttons::YesNoCancel) << c.name;
        EXPECT_EQ(q.icon, Icon::Warning) << c.name;
        EXPECT_EQ(store->currentFileName, c.opened ? second : first) << c.name;
        EXPECT_EQ(std::filesystem::exists(kept), c.saved) << c.name;
        if (!c.opened) {
            EXPECT_EQ(store->header.value[hdr::Filter1Kind + 1], 9) << c.name;
        }
        if (c.saved) {
            EXPECT_EQ(uint8_t(readBytes(kept)[hdr::Filter1Kind + 1]), 9) << c.name;
        }
        prompter.saveNames.clear();
    }
    // The question in Russian, with the close command's wording.
    clickOpen(first);
    ui.CheckBox1->setChecked(false);
    ui.ComboBox22->setCurrentIndex(4);
    prompter.shown.clear();
    prompter.answers.push_back(Answer::Cancel);
    clickOpen(second);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text, QUESTION_RU);
    EXPECT_FALSE(prompter.shown[0].english);
}

TEST_F(UnsavedSurvey, FilesAddedToTheSurveyAskNothing) {
    ui.ComboBox22->setCurrentIndex(9);
    prompter.saveNames.push_back(SaveChoice{dir.file("settings.opt"), 3});
    ui.SpeedButton3->click();
    prompter.shown.clear();
    clickOpen(dir.file("settings.opt"));
    clickOpen(second, /*ctrl=*/true);
    writeBytes(dir.file("points.txt"), "1 2 3\n");
    clickOpen(dir.file("points.txt"));
    for (const ShownMessage& m : prompter.shown) EXPECT_NE(m.text, QUESTION_EN);
    EXPECT_EQ(store->currentFileName, first);
}

// A work file cut after 700 of the 1020 frames its header announces.
TEST_F(UnsavedSurvey, CutWorkFileKeepsItsFramesAndSaysHowMany) {
    const std::string cut = dir.file("cut.gem");
    writeBytes(
        cut,
        readBytes(writeSurvey(dir.file("whole.gem"), 1000, true, 5)).substr(0, 512 + 700 * 624));
    for (bool english : {true, false}) {
        ui.CheckBox1->setChecked(english);
        prompter.shown.clear();
        clickOpen(cut);
        ASSERT_EQ(prompter.shown.size(), 1u);
        const ShownMessage& m = prompter.shown[0];
        EXPECT_EQ(m.icon, Icon::Warning);
        EXPECT_EQ(m.buttons, Buttons::Ok);
        EXPECT_EQ(m.text,
                  english
                      ? "File = " + cut + "\rwas read only in part: 700 of 1020 frames were read."
                      : "Файл = " + cut + "\rпрочитан не полностью: прочитано кадров 700 из 1020.");
        // The frames it holds are the survey now: sample j of frame i is
        // 1 + ((i + 5) * 7 + j) % 255.
        EXPECT_EQ(store->currentFileName, cut);
        EXPECT_EQ(store->frame(699).value[0], 1 + (704 * 7) % 255);
        EXPECT_EQ(store->frame(700).value[0], 0);
        ui.CheckBox1->setChecked(english); // the file's language bit
    }
}

} // namespace
} // namespace tesk::testing
