// The open, save and close commands driven through the window's buttons.

#include "window_fixture.h"

#include <QProgressBar>
#include <filesystem>

namespace tesk::testing {
namespace {

using OpenCommand = WindowTest;

TEST_F(OpenCommand, OpensWorkFileAndBuildsTitleFromRecordingDate) {
    const std::string path = writeSurvey(dir.file("a.gem"), 300);
    EXPECT_FALSE(ui.SpeedButton3->isEnabled()); // nothing to save yet
    clickOpen(path);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    ASSERT_EQ(prompter.filtersAsked.size(), 1u);
    EXPECT_EQ(prompter.filtersAsked[0],
              "Gem. Work file|*.gem|Geo. Original file|*.geo|Mr3. Binary file|*.mr3|Opt. Options "
              "file|*.opt|Gpx. GPS file|*.gpx|Txt. Coordinates file|*.txt|Gpr. Mirn "
              "file|*.gpr|Geb. Mirn file|*.geb|Sgy. SEG-Y file|*.sgy;*.segy|");
    // Start-up date 01.01.18 00:00 travels with the file.
    EXPECT_EQ(title(), "Tesk  " + path + "     01.01.18   00:00:00");
    EXPECT_EQ(store->fileKind, 16);
    EXPECT_EQ(store->frameCount, 320); // last frame 299 -> 280 + 40
    EXPECT_EQ(store->stateFlags, state::Changed);
    EXPECT_TRUE(ui.SpeedButton3->isEnabled());
    EXPECT_FALSE(ui.Panel3->isVisible());
}

TEST_F(OpenCommand, CtrlAppendsAndTitleNamesTheAddedFile) {
    const std::string first = writeSurvey(dir.file("first.gem"), 100, true, 0);
    const std::string second = writeSurvey(dir.file("second.gem"), 50, true, 3);
    clickOpen(first);
    ASSERT_EQ(store->frameCount, 120); // last frame 99 -> 80 + 40
    clickOpen(second, /*ctrl=*/true);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_EQ(title(), "Tesk  " + first + "     01.01.18   00:00:00    +add file:// " + second);
    EXPECT_EQ(store->currentFileName, first);
    // The second survey starts at the first one's frame count; its first
    // sample is 1 + (3 * 7) % 255.
    EXPECT_EQ(store->frame(120).value[0], 22);
    EXPECT_EQ(store->frame(119).value[0], 0);
    EXPECT_EQ(store->frameCount, 200); // 80 records appended: last frame 169 -> 160 + 40
    EXPECT_EQ(store->stateFlags & state::Append, 0);
}

TEST_F(OpenCommand, ClickWhileBusyOnlyClearsTheBusyBit) {
    store->stateFlags |= state::Busy;
    prompter.openNames.push_back(writeSurvey(dir.file("a.gem"), 10));
    ui.SpeedButton1->click();
    EXPECT_EQ(store->stateFlags & state::Busy, 0);
    EXPECT_TRUE(prompter.filtersAsked.empty()); // no dialog was shown
    EXPECT_EQ(store->fileKind, kind::None);
}

TEST_F(OpenCommand, CancelledDialogOrMissingFileDoesNothing) {
    ui.SpeedButton1->click(); // no name queued: the dialog was cancelled
    clickOpen(dir.file("missing.gem"));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(title(), "Tesk");
}

TEST_F(OpenCommand, UnknownVersionAlsoReportsTheUnknownStructure) {
    const std::string path = dir.file("v99.gem");
    writeBytes(path, std::string("TESK*\0*\1\1\1\0\0\x63", 13) + std::string(600, '\0'));
    ui.CheckBox1->setChecked(false);
    clickOpen(path);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text,
              "Ошибка(E027). Неизвестная модель илиОшибка внутренней структуры файла");
    EXPECT_EQ(store->fileKind, kind::None);
}

TEST_F(OpenCommand, MissingFileChosenByNameGivesTheReadingError) {
    // The window's own path for a file named on the command line.
    const std::string path = dir.file("gone.gem");
    form->openChosenFile(path, false);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "ERROR (E020) of reading of a file = " + path);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Error);
    ui.CheckBox1->setChecked(false);
    form->openChosenFile(path, false);
    EXPECT_EQ(prompter.shown[1].text, "Ошибка (E001) чтения файла = " + path);
}

TEST_F(OpenCommand, OptionsFileBeforeAnySurveyDoesNothing) {
    const std::string path = dir.file("a.opt");
    writeBytes(path, "ABCD" + std::string(100, '\0'));
    clickOpen(path);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(title(), "Tesk");
}

TEST_F(OpenCommand, RefusedDeviceRecordingAndCoordinateFilesKeepTheSurvey) {
    const std::string good = writeSurvey(dir.file("good.gem"), 100);
    clickOpen(good);
    // A recording whose model byte names no known radar.
    const std::string geo = dir.file("field.geo");
    writeBytes(geo, "TESK" + std::string(2000, '\x80'));
    clickOpen(geo);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Error! Incorrect Type GtoRadar.");
    // Coordinate imports are not in this version: said clearly, nothing changes.
    const std::string gpx = dir.file("track.gpx");
    writeBytes(gpx, "<gpx></gpx>");
    clickOpen(gpx);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text,
              "File = " + gpx + "\rThe <GPX> format is not supported by this version yet.");
    EXPECT_EQ(store->currentFileName, good);
    EXPECT_EQ(store->frameCount, 120);
    EXPECT_EQ(title(), "Tesk  " + good + "     01.01.18   00:00:00");
}

// A generation-11 work file (version byte 17) of `frames` frames whose old
// relief field (cells 532..533 of a record) holds a depth of `depth` cm.
std::string writeGen11Survey(const std::string& path, int frames, uint16_t depth) {
    std::string b(512 + std::size_t(frames) * 608, '\0');
    b.replace(0, 4, "TESK");
    b[12] = 17;
    b[16] = char(frames >> 8);
    b[17] = char(frames & 0xFF);
    b[18] = 1;          // 256 ns
    b[21] = char(0x01); // 500: 5.00 cm/ns
    b[22] = char(0xF4);
    for (int i = 0; i < frames; ++i) {
        const std::size_t r = 512 + std::size_t(i) * 608;
        for (int j = 0; j < 512; ++j) b[r + std::size_t(j)] = char(129 + (i + j) % 100);
        b[r + 532] = char(depth >> 8);
        b[r + 533] = char(depth & 0xFF);
    }
    writeBytes(path, b);
    return path;
}

// While a load runs, the window shows the progress panel with the reader's
// generation tag, holds the busy and append bits, and a second click on the
// open button only clears the busy bit: no dialog, no second load.
TEST_F(OpenCommand, QuestionDuringAnAppendedLoadFindsTheWindowBusy) {
    for (bool english : {true, false}) {
        SCOPED_TRACE(english ? "English" : "Russian");
        const std::string first = writeSurvey(dir.file("first.gem"), 100, english);
        const std::string old = writeGen11Survey(dir.file("old.gem"), 30, 500);
        clickOpen(first);
        ASSERT_EQ(store->Hmax, 0u);
        prompter.shown.clear();
        prompter.filtersAsked.clear();
        bool panelShown = false;
        std::string label1, label2;
        uint16_t flagsDuring = 0, flagsAfterClick = 0;
        prompter.onShown = [&](const ShownMessage&) {
            panelShown = !ui.Panel3->isHidden();
            label1 = ui.Label1->text().toStdString();
            label2 = ui.Label2->text().toStdString();
            flagsDuring = store->stateFlags;
            ui.SpeedButton1->click();
            flagsAfterClick = store->stateFlags;
        };
        prompter.answers = {Answer::Yes};
        clickOpen(old, /*ctrl=*/true);
        prompter.onShown = nullptr;

        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text,
                  english ? "Attention!\rExceeding the maximum height of the relief.Correct?"
                          : "Внимание!\rПревышение максимальной высоты рельефа.Изменить?");
        EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
        EXPECT_TRUE(panelShown);
        EXPECT_EQ(label1, english
                              ? "Please wait; there is a loading and processing of a file   v11."
                              : "Пожалуйста подождите, идет загрузка и обработка файла   v11.");
        EXPECT_EQ(label2, old);
        EXPECT_EQ(flagsDuring & (state::Busy | state::Append), state::Busy | state::Append);
        EXPECT_EQ(flagsAfterClick & state::Busy, 0);
        EXPECT_EQ(flagsAfterClick & state::Append, state::Append);
        EXPECT_EQ(prompter.filtersAsked.size(), 1u) << "the click during the load showed no dialog";
        // Yes raised the relief maximum; the appended frames follow the first survey.
        EXPECT_EQ(store->Hmax, 500u);
        EXPECT_EQ(store->frame(120).value[0], 129);
        EXPECT_EQ(store->frameCount, 180); // last frame 149 -> 140 + 40
        EXPECT_EQ(store->stateFlags & (state::Busy | state::Append), 0);
        EXPECT_TRUE(ui.Panel3->isHidden());
        EXPECT_EQ(title(), "Tesk  " + first + "     01.01.18   00:00:00    +add file:// " + old);
    }
}

struct RefusedFile {
    const char* name;
    std::string bytes;
    std::string english;
    std::string russian;
};

void PrintTo(const RefusedFile& f, std::ostream* os) {
    *os << f.name;
}

class RefusedOpen : public WindowTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedOpen, ShowsTheMessageInTheCurrentLanguageAndKeepsTheSurvey) {
    const std::string good = writeSurvey(dir.file("good.gem"), 200);
    clickOpen(good);
    const auto before = store->frame(5).value;
    const std::string path = dir.file(GetParam().name);
    writeBytes(path, GetParam().bytes);
    for (bool english : {true, false}) {
        ui.CheckBox1->setChecked(english);
        prompter.shown.clear();
        clickOpen(path);
        ASSERT_FALSE(prompter.shown.empty());
        std::string expected = english ? GetParam().english : GetParam().russian;
        expected.replace(expected.find('@'), 1, path);
        EXPECT_EQ(prompter.shown.front().text, expected) << "english=" << english;
        EXPECT_EQ(prompter.shown.front().buttons, Buttons::Ok);
        EXPECT_EQ(store->frame(5).value, before);
        EXPECT_EQ(store->frameCount, 220); // last frame 199 -> 180 + 40
        EXPECT_EQ(store->stateFlags & state::Busy, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RefusedOpen,
    ::testing::Values(
        RefusedFile{"empty.gem", "", "Error! (E025). File @ = 00!", "Error! (E025). File @ = 00!"},
        RefusedFile{"empty.geo", "", "Error! (E023). File @ = 00!", "Error! (E023). File @ = 00!"},
        RefusedFile{"empty.mr3", "", "Error! (E022). File @ = 00!", "Error! (E022). File @ = 00!"},
        RefusedFile{"empty.geb", "", "Error! (E002). File @ = 00!", "Error! (E002). File @ = 00!"},
        RefusedFile{"abcd.gem", std::string("ABCD") + std::string(600, '\0'),
                    "ERROR(E026). File = @\rincompatible format <GEM> Tesk",
                    "Ошибка(E026). Файл = @\rне соответствует формату <GEM> Tesk"},
        RefusedFile{"version.gem",
                    std::string("TESK*\0*\1\1\1\0\0\x63", 13) + std::string(600, '\0'),
                    "ERROR(E027). File = @\rincompatible format <GEM> Mirn",
                    "Ошибка(E027). Файл = @\rне соответствует формату <GEM> Mirn"},
        RefusedFile{"bad.geo", "XXXX" + std::string(100, '\0'),
                    "ERROR(E022). File = @\rincompatible format <GEO> Mirn.",
                    "Ошибка!(E022). Файл = @\rне соответствует формату <GEO> Mirn."},
        RefusedFile{"bad.geb", "TESK" + std::string(100, '\0'),
                    "ERROR(E022). File = @\rincompatible format <MIRN>",
                    "Ошибка!(E022). Файл = @\rне соответствует формату <MIRN>"},
        RefusedFile{"bad.opt", "ABCD" + std::string(100, '\0'),
                    "ERROR(E026). File Option= @\rincompatible format <OPT> Mirn",
                    "Ошибка(E026). Файл Опций= @\rне соответствует формату <OPT> Mirn"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (auto& c : n)
            if (c == '.') c = '_';
        return n;
    });

using SaveCommand = WindowTest;

TEST_F(SaveCommand, WritesWorkFileAndRetitlesTheWindow) {
    clickOpen(writeSurvey(dir.file("a.gem"), 300));
    const std::string out = dir.file("b.gem");
    prompter.saveNames.push_back(SaveChoice{out, 1});
    ui.SpeedButton3->click();
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_EQ(prompter.filtersAsked.back(), "Gem Files|*.gem|Bmp Files|*.bmp|Option Files|*.opt|"
                                            "Text Files|*.txt|SEG-Y Files|*.sgy;*.segy|");
    EXPECT_EQ(std::filesystem::file_size(out), 512u + 320u * 624u);
    EXPECT_EQ(title(), "Tesk  " + out + "     01.01.18   00:00:00");
    EXPECT_EQ(store->stateFlags & state::Busy, 0);
    EXPECT_FALSE(ui.Panel3->isVisible());
}

TEST_F(SaveCommand, OverwriteQuestionProtectsTheExistingFile) {
    clickOpen(writeSurvey(dir.file("a.gem"), 100));
    const std::string out = dir.file("keep.gem");
    writeBytes(out, "operator's earlier work");
    for (bool english : {true, false}) {
        ui.CheckBox1->setChecked(english);
        prompter.saveNames.push_back(SaveChoice{out, 1});
        prompter.answers.push_back(Answer::No);
        ui.SpeedButton3->click();
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_EQ(lastText(), english ? out + "\ralready exists. Overwrite?"
                                      : out + "\rуже сущетвует. Заменить?");
        EXPECT_EQ(prompter.shown.back().buttons, Buttons::YesNo);
        EXPECT_EQ(readBytes(out), "operator's earlier work");
    }
    prompter.saveNames.push_back(SaveChoice{out, 1});
    prompter.answers.push_back(Answer::Yes);
    ui.SpeedButton3->click();
    EXPECT_EQ(std::filesystem::file_size(out), 512u + 120u * 624u);
}

TEST_F(SaveCommand, UncreatableTargetIsAnErrorAndNothingIsWritten) {
    clickOpen(writeSurvey(dir.file("a.gem"), 100));
    const std::string before = title();
    prompter.saveNames.push_back(SaveChoice{dir.file("no/such/dir/x.gem"), 1});
    ui.SpeedButton3->click();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(lastText(), "ERROR of creation of a file! (E030)");
    EXPECT_EQ(prompter.shown.back().icon, Icon::Error);
    EXPECT_EQ(title(), before);
}

TEST_F(SaveCommand, OptionsFileCarriesTheDisplaySettingsToAnotherSurvey) {
    clickOpen(writeSurvey(dir.file("a.gem"), 100));
    ui.ComboBox20->setCurrentIndex(1);
    ui.ComboBox23->setCurrentIndex(7);
    ui.ComboBox28->setCurrentIndex(2);
    ui.CheckBox22->setChecked(true);
    prompter.saveNames.push_back(SaveChoice{dir.file("look.gem"), 3});
    ui.SpeedButton3->click();
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    ASSERT_EQ(std::filesystem::file_size(dir.file("look.opt")), 5520u);
    // A second survey with plain settings takes them over from the file.
    const std::string other = writeSurvey(dir.file("b.gem"), 60, true, 4);
    prompter.answers.push_back(Answer::No); // the changes live on in the options file only
    clickOpen(other);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "You want to save a file?");
    prompter.shown.clear();
    EXPECT_EQ(ui.ComboBox23->currentIndex(), 0);
    clickOpen(dir.file("look.opt"));
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_EQ(ui.ComboBox20->currentIndex(), 1);
    EXPECT_EQ(ui.ComboBox23->currentIndex(), 7);
    EXPECT_EQ(ui.ComboBox28->currentIndex(), 2);
    EXPECT_TRUE(ui.CheckBox22->isChecked());
    EXPECT_EQ(store->header.value[26], 7);
    EXPECT_EQ(title(), "Tesk  " + other + "     01.01.18   00:00:00    +add file:// " +
                           dir.file("look.opt"));
}

TEST_F(SaveCommand, LanguageTravelsWithTheWorkFile) {
    clickOpen(writeSurvey(dir.file("a.gem"), 60, /*english=*/true));
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    ui.CheckBox1->setChecked(false);
    const std::string ru = dir.file("ru.gem");
    prompter.saveNames.push_back(SaveChoice{ru, 1});
    ui.SpeedButton3->click();
    ui.CheckBox1->setChecked(true);
    clickOpen(ru);
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Английский");
    EXPECT_EQ(ui.SpeedButton1->toolTip().toStdString(), "Открыть файл");
}

using CloseCommand = WindowTest;

TEST_F(CloseCommand, NoKeepsTheProgramRunning) {
    form->show();
    prompter.answers = {Answer::No};
    ui.SpeedButton4->click();
    EXPECT_EQ(lastText(), "You really want to close the program?");
    EXPECT_EQ(prompter.shown.back().icon, Icon::Warning);
    EXPECT_FALSE(form->closeAccepted());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CloseCommand, OffersToSaveBeforeClosing) {
    clickOpen(writeSurvey(dir.file("a.gem"), 60));
    form->show();
    ui.CheckBox1->setChecked(false);
    const std::string out = dir.file("last.gem");
    prompter.answers = {Answer::Yes, Answer::Yes};
    prompter.saveNames.push_back(SaveChoice{out, 1});
    ui.SpeedButton4->click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "Вы действительно хотите закрыть программу ?");
    EXPECT_EQ(prompter.shown[1].text, "Xотите сохранить файл?");
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_TRUE(form->closeAccepted());
    EXPECT_FALSE(form->isVisible());
}

// Both questions of the close command in both languages, with their icons
// and buttons; "No" to saving closes without the save dialog.
TEST_F(CloseCommand, QuestionsInBothLanguages) {
    form->show();
    for (bool english : {true, false}) {
        SCOPED_TRACE(english ? "English" : "Russian");
        ui.CheckBox1->setChecked(english);
        prompter.shown.clear();
        prompter.answers = {Answer::Yes, Answer::No};
        ui.SpeedButton4->click();
        ASSERT_EQ(prompter.shown.size(), 2u);
        EXPECT_EQ(prompter.shown[0].text, english ? "You really want to close the program?"
                                                  : "Вы действительно хотите закрыть программу ?");
        EXPECT_EQ(prompter.shown[1].text,
                  english ? "You want to save a file?" : "Xотите сохранить файл?");
        for (const ShownMessage& m : prompter.shown) {
            EXPECT_EQ(m.icon, Icon::Warning);
            EXPECT_EQ(m.buttons, Buttons::YesNo);
        }
        EXPECT_TRUE(prompter.filtersAsked.empty());
        EXPECT_TRUE(form->closeAccepted());
    }
}

TEST_F(CloseCommand, TitleBarCloseAsksTheSameQuestions) {
    form->show();
    prompter.answers = {Answer::No};
    form->close();
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(form->isVisible());
    prompter.answers = {Answer::Yes, Answer::No};
    form->close();
    EXPECT_TRUE(form->closeAccepted());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompter.filtersAsked.size(), 0u); // "No" to saving: no save dialog
}

} // namespace
} // namespace tesk::testing
