// The open and save dialogs start where the survey is and propose its name;
// message boxes and dialogs speak the language of the window.

#include "shell/prompts/qt_prompter.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

namespace tesk::testing {
namespace {

using FileDialogs = WindowTest;

TEST_F(FileDialogs, StartInTheSurveysFolderAndProposeItsName) {
    ui.SpeedButton1->click(); // before any survey: the dialog's own folder
    ASSERT_EQ(prompter.dialogsAsked.size(), 1u);
    EXPECT_EQ(prompter.dialogsAsked[0].folder, "");
    EXPECT_TRUE(prompter.dialogsAsked[0].allFiles);
    EXPECT_TRUE(prompter.dialogsAsked[0].english);

    TempDir other;
    const std::string survey = writeSurvey(dir.file("line 7.gem"), 100);
    clickOpen(survey);
    ui.CheckBox1->setChecked(false);
    ui.SpeedButton1->click();
    ui.SpeedButton3->click();
    ASSERT_EQ(prompter.dialogsAsked.size(), 4u);
    const FileRequest& open = prompter.dialogsAsked[2];
    const FileRequest& save = prompter.dialogsAsked[3];
    EXPECT_EQ(open.folder, dir.path().string());
    EXPECT_TRUE(open.allFiles);
    EXPECT_FALSE(open.english);
    EXPECT_EQ(save.folder, dir.path().string());
    EXPECT_EQ(save.proposedName, "line 7.gem");
    EXPECT_EQ(save.defaultExtension, "gem");
    EXPECT_FALSE(save.allFiles);
    EXPECT_FALSE(save.english);

    // A device recording is proposed as a work file of its name; a survey
    // saved elsewhere moves the dialogs to its new folder.
    store->currentFileName = other.file("field.geo");
    ui.SpeedButton3->click();
    EXPECT_EQ(prompter.dialogsAsked.back().proposedName, "field.gem");
    EXPECT_EQ(prompter.dialogsAsked.back().folder, other.path().string());
}

TEST(MessageButtons, WordedInTheWindowsLanguage) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                           QMessageBox::Ok | QMessageBox::NoToAll);
    struct Case {
        QMessageBox::StandardButton button;
        const char* en;
        const char* ru;
    };
    const Case cases[] = {{QMessageBox::Yes, "Yes", "Да"},
                          {QMessageBox::No, "No", "Нет"},
                          {QMessageBox::Cancel, "Cancel", "Отмена"},
                          {QMessageBox::Ok, "OK", "ОК"},
                          {QMessageBox::NoToAll, "No to All", "Нет для всех"}};
    for (bool english : {false, true}) {
        labelButtons(box, english);
        for (const Case& c : cases)
            EXPECT_EQ(box.button(c.button)->text().toStdString(), english ? c.en : c.ru);
    }
}

TEST(FileDialogFilters, TheOpenDialogAlsoOffersEveryFile) {
    FileRequest r("Gem. Work file|*.gem|Geo. Original file|*.geo|");
    EXPECT_EQ(requestFilters(r),
              QStringList({"Gem. Work file (*.gem)", "Geo. Original file (*.geo)"}));
    r.allFiles = true;
    EXPECT_EQ(requestFilters(r).last(), "All files (*)");
    r.english = false;
    EXPECT_EQ(requestFilters(r).last(), "Все файлы (*)");
}

// The toolkit's own texts of the dialogs come from its Russian translation
// while the window speaks Russian, and go back to English with it.
TEST(DialogLanguage, FollowsTheWindow) {
    QtPrompter prompter(nullptr);
    const auto open = [] { return QCoreApplication::translate("QFileDialog", "&Open"); };
    prompter.useLanguage(false);
    EXPECT_EQ(open().toStdString(), "&Открыть");
    prompter.useLanguage(true);
    EXPECT_EQ(open().toStdString(), "&Open");
}

} // namespace
} // namespace tesk::testing
