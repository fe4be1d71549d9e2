// Positions and heights through the window: the coordinate imports of the
// open command (GPX lists and synchronisation, text tables, the .cor
// companion of a .geb survey), the coordinates table, the recalculation
// and clearing, the relief display and the relief line, with every message
// in both languages.

#include "coordinate_files.h"
#include "file_images.h"
#include "shell/files/open_save.h"
#include "shell/widgets/radio_group.h"
#include "window_fixture.h"

#include <QLineEdit>
#include <functional>

namespace tesk::testing {
namespace {

using Edit = std::function<void(ProfileStore&)>;

class PositionsWindow : public WindowTest {
  protected:
    // A survey of profile runs recorded at 10:00:00 + frame seconds (one run
    // of 100 frames unless told), saved as a work file.
    std::string survey(bool english = true, const Edit& edit = {}, std::vector<int> runs = {100},
                       int gap = 5) {
        static ProfileStore s;
        demo::fillTimedSurvey(s, runs, gap);
        if (edit) edit(s);
        setBit(s.header.value[hdr::ViewFlags], hdr::English, english);
        return writeStore(dir.file("survey.gem"), s);
    }
    // A generated coordinate file under its own name.
    std::string fixture(const std::string& name) {
        for (const auto& f : demo::coordinateFixtures())
            if (f.name == name) {
                writeBytes(dir.file(name), f.bytes);
                return dir.file(name);
            }
        ADD_FAILURE() << "no fixture " << name;
        return {};
    }
    std::string file(const std::string& name, const std::string& bytes) {
        writeBytes(dir.file(name), bytes);
        return dir.file(name);
    }
    template <typename T = QWidget> T* control(const char* name) {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QToolButton* button(const char* name) { return control<QToolButton>(name); }
    QCheckBox* box(const char* name) { return control<QCheckBox>(name); }
    QComboBox* list(const char* name) { return control<QComboBox>(name); }
    StringGrid* table() { return control<StringGrid>("StringGrid7"); }
    void cursorOn(int frame) { form->view().cursorColumn = frame - store->viewStart; }
    void check(const char* name, bool on) {
        if (box(name)->isChecked() != on) box(name)->click();
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const ShownMessage& m : prompter.shown) t.push_back(m.text);
        return t;
    }
    // Value bytes of the frames in use and of the header.
    std::vector<uint8_t> snapshot() const {
        std::vector<uint8_t> b(store->header.value.begin(), store->header.value.end());
        for (int i = 0; i <= store->frameCount; ++i)
            b.insert(b.end(), store->frame(i).value.begin(), store->frame(i).value.end());
        return b;
    }
    const FrameRecord& frame(int i) const { return store->frame(i); }
};

std::string nameOf(const FrameRecord& f) {
    std::string n;
    for (int c = cell::PointName; c < cell::PointName + 6; ++c)
        if (f.value[std::size_t(c)]) n += char(f.value[std::size_t(c)]);
    return n;
}

TEST_F(PositionsWindow, GpxFileIsListedSynchronisedAndClosedWithThePanel) {
    clickOpen(survey());
    const std::string gpx = fixture("plain.gpx");
    clickOpen(gpx);
    // Listing shows nothing; the panel opens with its GPS area.
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(ui.Panel_CORD->isHidden());
    EXPECT_EQ(ui.Panel_CORD->height(), 528);
    EXPECT_TRUE(store->stateFlags & state::CoordFileOpen);
    EXPECT_TRUE(title().ends_with("    +add file:// " + gpx)) << title();
    QComboBox* wpt = list("ComboBox_GPS_wpt");
    ASSERT_EQ(wpt->count(), 2);
    EXPECT_EQ(wpt->itemText(0).toStdString(), "2024-05-14 10:00:10  Wpt W1");
    EXPECT_EQ(list("ComboBox_GPS_trk")->count(), 3);
    EXPECT_TRUE(wpt->isEnabled());
    EXPECT_TRUE(button("SpeedButton_GPS_TRK")->isEnabled());
    EXPECT_EQ(control<QLabel>("Label_GPS_22")->text().toStdString(), "2024-05-14");
    EXPECT_EQ(control<QLabel>("Label_GPS_24")->text().toStdString(), "10:00:10");

    // W1 was taken at frame 10 (10:00:10 by the survey's clock); clear first.
    cursorOn(10);
    prompter.answers = {Answer::Yes};
    button("SpeedButton_GPS_WPT")->click();
    EXPECT_EQ(texts(), (std::vector<std::string>{
                           "Attention!\rCoordinates X, Y, H will be cleared.\rContinue?",
                           "File = " + gpx + "downloaded"}));
    for (const auto& [f, name, lat, lon, h] : {std::tuple{10, "W1", 7512345u, 6184217u, 15025u},
                                               {20, "W2", 7513000u, 6185000u, 15150u}}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(frame(f).value[cell::LatDegrees], 55);
        EXPECT_EQ(frame(f).get24(cell::LatFraction), lat);
        EXPECT_EQ(frame(f).value[cell::LonDegrees], 37);
        EXPECT_EQ(frame(f).get24(cell::LonFraction), lon);
        EXPECT_EQ(frame(f).reliefHeight(), h);
        EXPECT_EQ(nameOf(frame(f)), name);
    }
    // The table shows the cursor frame in column 2.
    EXPECT_EQ(table()->cell(2, 2).toStdString(), "W1");
    EXPECT_EQ(table()->cell(2, 3).toStdString(), "37.6184217");
    EXPECT_EQ(table()->cell(2, 4).toStdString(), "55.7512345");
    EXPECT_EQ(table()->cell(2, 8).toStdString(), "15025");

    // With "Координаты" and "Высота Рельефа" ticked the overlay flags the
    // frames that carry them: frame 10 at x = 50 + 20.
    check("CheckBox71", true);
    check("CheckBox72", true);
    EXPECT_EQ(form->overlayImage().pixel(70, 50 + 508), qRgb(0x55, 0, 0));
    EXPECT_EQ(form->overlayImage().pixel(70, 50 + 516), qRgb(0, 0x55, 0));

    // The track, without clearing: its first point lands on frame 10.
    prompter.shown.clear();
    prompter.answers = {Answer::No};
    button("SpeedButton_GPS_TRK")->click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(frame(10).get24(cell::LatFraction), 7500100u);
    EXPECT_EQ(nameOf(frame(10)), "W1"); // the name stays: track points have none

    // Folding the GPS area closes the file; unfolding does not reopen it.
    button("SpeedButton74")->click();
    EXPECT_EQ(ui.Panel_CORD->height(), 408);
    EXPECT_FALSE(store->stateFlags & state::CoordFileOpen);
    EXPECT_FALSE(button("SpeedButton_GPS_TRK")->isEnabled());
    button("SpeedButton74")->click();
    EXPECT_EQ(ui.Panel_CORD->height(), 528);
    EXPECT_FALSE(button("SpeedButton_GPS_TRK")->isEnabled());
    // Hiding the panel closes the file and the synchronisation with it.
    clickOpen(gpx);
    EXPECT_TRUE(store->stateFlags & state::CoordFileOpen);
    ui.SpeedButton11->click();
    EXPECT_TRUE(ui.Panel_CORD->isHidden());
    EXPECT_FALSE(store->stateFlags & state::CoordFileOpen);
    EXPECT_FALSE(button("SpeedButton_GPS_WPT")->isEnabled());
    EXPECT_FALSE(wpt->isEnabled());
}

TEST_F(PositionsWindow, MalformedCoordinateFilesLeaveTheSurveyIntact) {
    clickOpen(survey());
    clickOpen(fixture("plain.gpx"));
    const std::vector<uint8_t> before = snapshot();
    const std::string caption = title();
    struct Case {
        std::string name, bytes, message; // message: the path follows "File " or "File = "
    };
    const Case cases[] = {
        {"not_xml.gpx", "", "ERROR(E022). File = %\rincompatible format <GPX>"},
        {"empty.gpx", "", "Error! (E025). File % = 00!"},
        {"empty.txt", "", "Error! (E025). File % = 00!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        const std::string path = c.name == "not_xml.gpx" ? fixture(c.name) : file(c.name, "");
        clickOpen(path);
        std::string want = c.message;
        want.replace(want.find('%'), 1, path);
        EXPECT_EQ(texts(), std::vector<std::string>{want});
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(title(), caption);
        EXPECT_EQ(store->currentFileName, dir.file("survey.gem"));
    }
    // The GPX file listed before is closed: opening a coordinate file
    // replaces it, and its lists went with the refused one.
    EXPECT_FALSE(store->stateFlags & state::CoordFileOpen);
    EXPECT_FALSE(button("SpeedButton_GPS_WPT")->isEnabled());
}

TEST_F(PositionsWindow, TextTablesGoToTheKeyFramesInBothForms) {
    struct Case {
        const char* what;
        bool geographic;
        bool ctrl; // rectangular lines to every fifth frame
        std::string lines;
        std::vector<std::array<int64_t, 4>> frames; // frame, first field, second field, height
    };
    const Case cases[] = {
        {"geographic",
         true,
         false,
         "P1;37.5;55.25;100\rP2;37.75;55.5;200\r",
         {{0, 375000000, 552500000, 100}, {99, 377500000, 555000000, 200}}},
        {"rectangular, Ctrl",
         false,
         true,
         "A;1;2;3\rB;4;5;6\rC;7;8;9\r",
         {{0, 1, 2, 3}, {5, 4, 5, 6}, {10, 7, 8, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clickOpen(survey());
        if (ui.Panel_CORD->isHidden()) ui.SpeedButton11->click();
        check("CheckBox74", c.geographic);
        prompter.shown.clear();
        const std::string path = file("table.txt", c.lines);
        clickOpen(path, c.ctrl);
        EXPECT_EQ(texts(), std::vector<std::string>{"File = " + path + " downloaded"});
        EXPECT_TRUE(title().ends_with("+add file:// " + path));
        for (const auto& [f, a, b, h] : c.frames) {
            SCOPED_TRACE(f);
            const FrameRecord& r = frame(int(f));
            if (c.geographic) {
                EXPECT_EQ(r.value[cell::LonDegrees] * 10000000ll + r.get24(cell::LonFraction), a);
                EXPECT_EQ(r.value[cell::LatDegrees] * 10000000ll + r.get24(cell::LatFraction), b);
            } else {
                EXPECT_EQ(int32_t(r.get32(cell::UcsX)), a);
                EXPECT_EQ(int32_t(r.get32(cell::UcsY)), b);
            }
            EXPECT_EQ(r.reliefHeight(), uint32_t(h));
        }
    }
}

TEST_F(PositionsWindow, CompanionCorFileAfterAGebSurveyInBothLanguages) {
    // Ten frames of a .geb survey and the companion with frames 0, 4 and 9.
    images::GebImage g(4, 1000000000, 10);
    g.frames(10);
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 4; ++i) g.word(j, i, uint16_t(1000 + 100 * i));
    const std::string geb = file("line.geb", std::string(g.b.begin(), g.b.end()));
    fixture("companion.cor");
    std::rename(dir.file("companion.cor").c_str(), dir.file("line.cor").c_str());
    struct Case {
        bool english;
        std::vector<Answer> answers;
        std::vector<std::string> questions;
        const char* report; // the statistics report that ends the import
    };
    const Case cases[] = {
        {true,
         {Answer::Yes},
         {"Found file GPS coordinate.\rChange coordinates?"},
         "Attention!\rMedium step on profiles = "},
        {false,
         {Answer::NoToAll, Answer::Yes, Answer::No, Answer::Yes},
         {"Найден файл GPS координат и высот.\rИзменить координаты и высоту.?", "Изменить Дату?",
          "Изменить Время?", "Изменить Высоту?"},
         "Внимание!\rСредний шаг по профилям = "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english ? "English" : "Russian");
        if (ui.CheckBox1->isChecked() != c.english) ui.CheckBox1->click();
        if (ui.Panel_CORD->isHidden()) ui.SpeedButton11->click();
        check("CheckBox71", true);
        check("CheckBox74", true);
        prompter.shown.clear();
        prompter.answers = {c.answers.begin(), c.answers.end()};
        // The ticks above changed the survey: its changes are discarded first.
        const bool asksToSave = form->fileCommands().modified();
        if (asksToSave) prompter.answers.push_front(Answer::No);
        clickOpen(geb);
        std::vector<std::string> t = texts();
        if (asksToSave) t.erase(t.begin());
        ASSERT_EQ(t.size(), c.questions.size() + 1) << t.back();
        EXPECT_EQ(std::vector<std::string>(t.begin(), t.end() - 1), c.questions);
        EXPECT_EQ(t.back().rfind(c.report, 0), 0u) << t.back();
        EXPECT_EQ(store->coordFileName, dir.file("line.cor"));
        // Frame 2 lies halfway between the fixes of frames 0 and 4.
        EXPECT_EQ(frame(2).value[cell::LatDegrees], 55);
        EXPECT_EQ(frame(2).get24(cell::LatFraction), 7500200u);
        EXPECT_GT(int32_t(frame(4).get32(cell::UcsY)), 0);
        // The recalculation ran to its end: the options are unticked again.
        EXPECT_FALSE(box("CheckBox71")->isChecked());
        EXPECT_FALSE(box("CheckBox74")->isChecked());
        EXPECT_EQ(list("ComboBox_CRD")->currentIndex(), 0);
        EXPECT_FALSE(button("SpeedButton72")->isEnabled());
    }
    // After "No to all" with the height chosen, frame 4 holds 150.40 m.
    EXPECT_EQ(frame(4).reliefHeight(), 15040u);
}

TEST_F(PositionsWindow, ProfileStepModeLaysOutTwoProfiles) {
    clickOpen(survey(true, {}, {30, 30}, 5));
    ui.SpeedButton11->click();
    ui.ComboBox51->setCurrentIndex(1); // "Линейный  Yp"
    ui.ComboBox52->setCurrentIndex(9); // D = 100 cm
    ui.ComboBox12->setCurrentIndex(5); // S = 20 cm
    list("ComboBox_CRD")->setCurrentIndex(3);
    check("CheckBox71", true);
    store->viewStart = 40;
    prompter.answers = {Answer::Yes};
    button("SpeedButton71")->click();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text,
              "Attention!\rCoordinates UCS X and Y will be recalculated.\rContinue?");
    // The step, distance and layout come from the option panel's boxes.
    for (const auto& [f, x, y] : {std::tuple{2, 40, 0}, {37, 40, 100}}) {
        SCOPED_TRACE(f);
        EXPECT_EQ(int32_t(frame(f).get32(cell::UcsX)), x);
        EXPECT_EQ(int32_t(frame(f).get32(cell::UcsY)), y);
    }
    EXPECT_EQ(store->viewStart, 0);
    EXPECT_FALSE(box("CheckBox71")->isChecked());
    EXPECT_EQ(list("ComboBox_CRD")->currentIndex(), 0);
}

TEST_F(PositionsWindow, MessagesOfImportsAndRecalculationInBothLanguages) {
    const std::string gpx = fixture("plain.gpx");
    const std::string bad = fixture("not_xml.gpx");
    const std::string table = file("table.txt", "P1;100;200;300\rP2\r");
    struct Words {
        bool english;
        std::vector<std::string> texts;
    };
    const Words languages[] = {
        {false,
         {"Внимание! \rКоординаты X, Y, H будут обнулены.\rПродолжить?",
          "Ошибка!(E022). Файл = " + bad + "\rне соответствует формату <GPX>",
          "Ошибка\rНет координат \rНомер строки 2\rПродолжить?",
          "Внимание! \rКоординаты ПСК X и Y будут пересчитаны.\rПродолжить?", "Это Конец ... файла",
          "Внимание! \rКоординаты файла X, Y будут обнулены.\rПродолжить?",
          "Внимание! \rВысота рельефа будет обнулена.\rПродолжить?"}},
        {true,
         {"Attention!\rCoordinates X, Y, H will be cleared.\rContinue?",
          "ERROR(E022). File = " + bad + "\rincompatible format <GPX>",
          "Error! \rNo coordinates \rLine number 2\rContinue?",
          "Attention!\rCoordinates UCS will be recalculated.\rContinue?",
          "This is the End ... of file.",
          "Attention!\rCoordinates file X, Y will be cleared.\rContinue?",
          "Attention!\rHeight relief will be cleared.\rContinue?"}},
    };
    const Edit placed = [](ProfileStore& s) {
        for (int i = 0; i < 100; ++i) {
            s.frame(i).set32(cell::UcsX, uint32_t(100 + 10 * i));
            s.frame(i).set24(cell::ReliefHeight, 500);
        }
        s.setHmax(500);
    };
    for (const Words& w : languages) {
        SCOPED_TRACE(w.english ? "English" : "Russian");
        clickOpen(survey(w.english, placed));
        if (ui.Panel_CORD->isHidden()) ui.SpeedButton11->click();
        prompter.shown.clear();
        // A synchronisation abandoned at its question, a refused GPX file.
        clickOpen(gpx);
        prompter.answers = {Answer::Cancel};
        button("SpeedButton_GPS_WPT")->click();
        clickOpen(bad);
        // A rectangular table whose second line holds only a name: No ends it.
        check("CheckBox74", false);
        prompter.answers = {Answer::No};
        clickOpen(table);
        EXPECT_EQ(int32_t(frame(0).get32(cell::UcsX)), 100);
        // Mode 1 from a view start past every profile.
        list("ComboBox_CRD")->setCurrentIndex(1);
        check("CheckBox71", true);
        check("CheckBox72", true);
        store->viewStart = 110;
        prompter.answers = {Answer::Yes};
        button("SpeedButton71")->click();
        // Left Ctrl clears what is ticked, after a question for each part.
        prompter.answers = {Answer::Yes, Answer::Yes};
        prompter.held.leftCtrl = true;
        button("SpeedButton71")->click();
        prompter.held = {};
        EXPECT_EQ(texts(), w.texts);
        EXPECT_EQ(frame(50).get32(cell::UcsX), 0u);
        EXPECT_EQ(frame(50).reliefHeight(), 0u);
        EXPECT_EQ(frame(50).value[cell::Second], 0); // both parts: the times go too
        EXPECT_EQ(store->Hmax, 0u);
        EXPECT_EQ(box("CheckBox70")->text().toStdString(), "Hmax = 0 m");
    }
}

TEST_F(PositionsWindow, CorrectionAfterTheRecalculationAndOnItsOwn) {
    // Frames 20 cm apart along X: the mean step is 20 cm.
    clickOpen(survey(true, [](ProfileStore& s) {
        for (int i = 0; i < 100; ++i) s.frame(i).set32(cell::UcsX, uint32_t(100 + 20 * i));
    }));
    ui.SpeedButton11->click();
    ui.ComboBox12->setCurrentIndex(14); // the profile step set: 100 cm
    check("CheckBox71", true);
    check("CheckBox75", true);
    EXPECT_TRUE(button("SpeedButton72")->isEnabled());
    prompter.answers = {Answer::Yes}; // rebuild with the computed step
    button("SpeedButton71")->click();
    const std::vector<std::string> t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].rfind("Attention!\rMedium step on profiles = 20cm.", 0), 0u) << t[0];
    // The table entry nearest 20 cm is 20 cm itself (25 is farther).
    EXPECT_EQ(t[1], "Perform correction Profiles:\r<Yes> - by Calculating the average step 20 cm."
                    "\r<No>  - by Establishing the average step 100 cm.\r<Cansel> - do not "
                    "Perform correction profiles.");
    // One step apart already: every frame stays where it was; the frame
    // count is the last frame in a profile, 99, rounded down to 80, plus 40.
    EXPECT_EQ(ui.ComboBox12->currentIndex(), 5);
    EXPECT_EQ(store->header.value[hdr::Step], 5);
    for (int f : {0, 1, 50, 99}) EXPECT_EQ(frame(f).get32(cell::UcsX), uint32_t(100 + 20 * f));
    EXPECT_EQ(store->frameCount, 120);
    EXPECT_EQ(ui.SpeedButton18->text().toStdString(), "120");
    EXPECT_FALSE(box("CheckBox75")->isChecked());
    EXPECT_FALSE(button("SpeedButton72")->isEnabled());
    // On its own, with the mean kept from the recalculation; Cancel changes nothing.
    check("CheckBox75", true);
    prompter.shown.clear();
    prompter.answers = {Answer::Cancel};
    button("SpeedButton72")->click();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].text.find("average step 20 cm."), std::string::npos);
    EXPECT_EQ(ui.ComboBox12->currentIndex(), 5);
    EXPECT_FALSE(button("SpeedButton72")->isEnabled());
}

TEST_F(PositionsWindow, TypedAbsoluteHeightAndTheListedPointsDates) {
    clickOpen(survey());
    clickOpen(fixture("plain.gpx"));
    auto* edit = control<QLineEdit>("MaskEdit2");
    EXPECT_FALSE(edit->isEnabled());
    check("CheckBox70", true);
    EXPECT_TRUE(edit->isEnabled());
    // "12" and four blanks: the first four characters read 1200 cm.
    edit->setText("12");
    emit edit->textEdited(edit->text());
    EXPECT_EQ(store->Hmax, 1200u);
    EXPECT_EQ(store->header.get24(hdr::Hmax), 1200u);
    EXPECT_EQ(box("CheckBox70")->text().toStdString(), "Hmax = 12 m");
    // Choosing another listed point shows its date and time.
    list("ComboBox_GPS_wpt")->setCurrentIndex(1);
    EXPECT_EQ(control<QLabel>("Label_GPS_24")->text().toStdString(), "10:00:20");
    list("ComboBox_GPS_trk")->setCurrentIndex(2);
    EXPECT_EQ(control<QLabel>("Label_GPS_32")->text().toStdString(), "2024-05-14");
    EXPECT_EQ(control<QLabel>("Label_GPS_34")->text().toStdString(), "10:00:30");
}

// Velocity 10 cm/ns, 0.5 ns per row: 5 cm of height per row.
void fiveCentimetresPerRow(WindowControls& ui) {
    ui.ComboBox10->setCurrentIndex(2);
    ui.ComboBox11->setCurrentIndex(1);
}

TEST_F(PositionsWindow, ReliefDisplayHangsEveryTraceFromTheReferenceHeight) {
    clickOpen(survey(true, [](ProfileStore& s) {
        for (int i = 0; i < 100; ++i) s.frame(i).set24(cell::ReliefHeight, 1000);
        s.frame(5).set24(cell::ReliefHeight, 900);
        s.setHmax(1000);
    }));
    fiveCentimetresPerRow(ui);
    ui.SpeedButton6->click();
    EXPECT_EQ(store->stateFlags & 0x3100, 0x3100);
    EXPECT_FALSE(ui.ComboBox14->isHidden());
    EXPECT_TRUE(ui.ComboBox11->isHidden());
    EXPECT_FALSE(ui.SpeedButton1->isEnabled());
    // Frame 5 (x = 60) lies 100 cm below Hmax: 20 blank rows, then its trace,
    // the same samples as frame 6 (x = 62) shows from the top.
    const QImage& pic = form->radargramImage();
    for (int k : {0, 10, 19}) EXPECT_EQ(pic.pixel(60, 50 + k), qRgb(0, 0, 0)) << k;
    for (int k : {0, 3, 100, 400}) EXPECT_EQ(pic.pixel(60, 70 + k), pic.pixel(62, 50 + k)) << k;
    EXPECT_NE(pic.pixel(62, 55), qRgb(0, 0, 0));
    // Back to the plain radargram: the open command comes back.
    ui.SpeedButton5->click();
    EXPECT_TRUE(ui.SpeedButton1->isEnabled());
    EXPECT_EQ(form->radargramImage().pixel(60, 55), form->radargramImage().pixel(62, 55));
}

TEST_F(PositionsWindow, ReliefLineIsDrawnArmedAndEditedWithTheMouse) {
    clickOpen(survey(true, [](ProfileStore& s) {
        for (int i = 0; i < 100; ++i) s.frame(i).set24(cell::ReliefHeight, 1000);
        s.frame(0).set24(cell::ReliefHeight, 1100);
        s.frame(5).set24(cell::ReliefHeight, 0);
        s.setHmax(1100);
    }));
    fiveCentimetresPerRow(ui);
    ui.SpeedButton11->click();
    auto* image7 = control<ImageWidget>("Image7");
    check("CheckBox73", true);
    EXPECT_FALSE(image7->isHidden());
    EXPECT_FALSE(image7->isEnabled()); // heights not editable without "Высота Рельефа"
    EXPECT_FALSE(button("SpeedButton73")->isEnabled());
    check("CheckBox72", true);
    EXPECT_TRUE(image7->isEnabled());
    EXPECT_TRUE(button("SpeedButton73")->isEnabled());
    // 1000 cm hangs (1100 - 1000) / 5 = 20 rows down, in cyan; frame 5
    // without a height drops to row 220, in yellow.
    auto seen = [&](int x, int y0, int y1, QRgb colour) {
        for (int y = y0; y <= y1; ++y)
            if (image7->image.pixel(x, y) == colour) return true;
        return false;
    };
    EXPECT_TRUE(seen(30, 19, 21, qRgb(0, 255, 255)));
    EXPECT_TRUE(seen(9, 100, 140, qRgb(255, 255, 0)));
    // Left button from (100, 20) to (110, 40): frames 50..55 follow the rows
    // 20, 24, ... 40, h = 1100 - 5 v.
    image7->onMouseDown(Qt::LeftButton, QPoint(100, 20));
    image7->onMouseMove(Qt::LeftButton, QPoint(110, 40));
    image7->onMouseUp(Qt::LeftButton, QPoint(110, 40));
    for (int f = 50; f <= 55; ++f)
        EXPECT_EQ(frame(f).reliefHeight(), uint32_t(1100 - 5 * (20 + 4 * (f - 50)))) << f;
    EXPECT_EQ(frame(56).reliefHeight(), 1000u);
    EXPECT_EQ(box("CheckBox70")->text().toStdString(), "Hmax = 11m");
    // The right button flattens the frames it passes to Hmax, the last one excluded.
    image7->onMouseDown(Qt::RightButton, QPoint(160, 50));
    image7->onMouseMove(Qt::RightButton, QPoint(170, 50));
    image7->onMouseUp(Qt::RightButton, QPoint(170, 50));
    for (int f = 81; f <= 85; ++f) EXPECT_EQ(frame(f).reliefHeight(), 1100u) << f;
    EXPECT_EQ(frame(80).reliefHeight(), 1000u);
    // Without "Линия рельефа" the line goes and the picture takes the mouse again.
    check("CheckBox73", false);
    EXPECT_TRUE(image7->isHidden());
    EXPECT_FALSE(button("SpeedButton73")->isEnabled());
}

TEST_F(PositionsWindow, TableEditsWriteTheCursorFrame) {
    clickOpen(survey());
    ui.SpeedButton11->click();
    ASSERT_FALSE(ui.Panel_CORD->isHidden());
    check("CheckBox74", true);
    cursorOn(7);
    struct Case {
        int row;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {3, "55,7512345", "55.7512345"},
        {4, "1.2.3", "1.2"},
        {2, "AB-12", "AB12"},
        {8, "1500", "1500"},
        {9, "2500", "2500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(table()->typeIntoCell(2, c.row, c.typed));
        EXPECT_EQ(table()->cell(2, c.row).toStdString(), c.shown);
    }
    EXPECT_EQ(frame(7).value[cell::LonDegrees], 55);
    EXPECT_EQ(frame(7).get24(cell::LonFraction), 7512345u);
    EXPECT_EQ(frame(7).value[cell::LatDegrees], 1);
    EXPECT_EQ(frame(7).get24(cell::LatFraction), 2000000u);
    EXPECT_EQ(nameOf(frame(7)), "AB12");
    EXPECT_EQ(frame(7).reliefHeight(), 1500u);
    EXPECT_EQ(store->Hmax, 2500u);
    EXPECT_EQ(box("CheckBox70")->text().toStdString(), "Hmax = 25 m");
    // A click on a row chooses its column headers.
    table()->setCurrentCell(7, 2);
    EXPECT_EQ(table()->cell(1, 0).toStdString(), " Distance straight line");
    EXPECT_EQ(table()->cell(2, 0).toStdString(), " Distance on the profile");
}

TEST_F(PositionsWindow, HemispheresAndTheFormOfPositions) {
    clickOpen(survey());
    ui.SpeedButton11->click();
    auto* lat = control<RadioGroup>("RadioGroup_Lat");
    auto* lon = control<RadioGroup>("RadioGroup_Lon");
    check("CheckBox74", false);
    EXPECT_EQ(box("CheckBox74")->text().toStdString(), "Rectanglar coordinates");
    EXPECT_FALSE(lat->isEnabled());
    check("CheckBox74", true);
    EXPECT_EQ(box("CheckBox74")->text().toStdString(), "Geographical coordinates");
    EXPECT_TRUE(store->header.value[hdr::CoordFlags] & hdr::Geographic);
    lat->clickItem(1);
    lon->clickItem(1);
    EXPECT_EQ(store->header.value[hdr::CoordFlags] & 0xC0, 0xC0);
    lon->clickItem(0);
    EXPECT_EQ(store->header.value[hdr::CoordFlags] & 0xC0, 0x40);
    // The rectangular form keeps the hemispheres of the stored magnitudes.
    check("CheckBox74", false);
    EXPECT_EQ(store->header.value[hdr::CoordFlags] & 0xE0, 0x40);
    EXPECT_EQ(lat->itemIndex(), 1);
}

} // namespace
} // namespace tesk::testing
