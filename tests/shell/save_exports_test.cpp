// The exports of the save command driven through the window: the dialog's
// entries, the text tables selected by the key held at the click, the
// radargram pictures as the window shows them, the 3D picture's hook, SEG-Y
// both ways, and every message in both languages.

#include "window_fixture.h"

#include "commands/text_export.h"

#include <QImage>
#include <cstdlib>
#include <filesystem>

namespace tesk::testing {
namespace {

uint32_t le(const std::string& b, std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + std::size_t(i)]);
    return v;
}

// A 24-bit picture file of the radargram: width, height, pixel (0xRRGGBB) of
// picture column k, row r (rows are stored bottom up).
struct Bitmap24 {
    explicit Bitmap24(std::string b) : bytes(std::move(b)) {}
    int width() const { return int(le(bytes, 18, 4)); }
    int height() const { return int(le(bytes, 22, 4)); }
    int bits() const { return int(le(bytes, 28, 2)); }
    uint32_t pixel(int k, int r) const {
        const std::size_t at = 54 + (std::size_t(height() - 1 - r) * width() + k) * 3;
        return le(bytes, at, 3);
    }
    std::string bytes;
};

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

std::size_t lineCount(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++n;
    return n;
}

class SaveExports : public WindowTest {
  protected:
    void SetUp() override {
        // The decimal separator comes from the locale the program runs under.
        setenv("LC_ALL", "C", 1);
        WindowTest::SetUp();
        clickOpen(writeSurvey(dir.file("a.gem"), 300));
        ASSERT_TRUE(prompter.shown.empty()) << lastText();
    }
    // The save button with a key held, the dialog answered with path and entry.
    void save(const std::string& path, int entry, Modifiers held = {}) {
        prompter.saveNames.push_back(SaveChoice{path, entry});
        prompter.held = held;
        ui.SpeedButton3->click();
        prompter.held = {};
    }
    static Modifiers leftShift() {
        Modifiers m;
        m.leftShift = true;
        return m;
    }
    static Modifiers leftCtrl() {
        Modifiers m;
        m.leftCtrl = true;
        return m;
    }
};

// The keys at the click select the table; the header names it, and the
// data follow the rules of the table (one line per sample of every frame up
// to the frame count; one per sample of every frame with data; one per frame
// with data).
TEST_F(SaveExports, TheKeyHeldAtTheClickSelectsTheTextTable) {
    struct Row {
        const char* name;
        Modifiers held;
        const char* header;
        std::size_t lines;
    };
    // The survey keeps the start-up level table, ComboBox29 item 2 ("ALg_20").
    const Row rows[] = {
        {"plain", {}, "X;T;ALg_20;", 1 + 321u * 512u},
        {"shift", leftShift(), "X;Y;Z;NS;ALg_20;h:m:s.0", 1 + 300u * 512u},
        {"ctrl", leftCtrl(),
         "Long;Latd;X;Y;HR;T01;A01;D02;T12;A02;D03;T23;A03;D04;T34;A04;D05;T45;A05;D06;T56;A06;"
         "D07;T67;A07;GRT",
         1 + 300u},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = dir.file(std::string(row.name) + ".txt");
        save(dir.file(std::string(row.name) + ".gem"), 4, row.held);
        EXPECT_TRUE(prompter.shown.empty()) << lastText();
        ASSERT_TRUE(form->lastSave().written);
        EXPECT_EQ(form->lastSave().path, path);
        const std::string text = readBytes(path);
        EXPECT_EQ(firstLine(text), row.header);
        EXPECT_EQ(lineCount(text), row.lines);
    }
    // Frame 7, sample 3 (T = 3 x 0.5 ns): level value of code 1 + (49 + 3) % 255.
    const std::string plain = readBytes(dir.file("plain.txt"));
    EXPECT_NE(plain.find("\r\n7;1.5;"), std::string::npos);
    // The window's title and file name stay: an export is not the work file.
    EXPECT_EQ(title(), "Tesk  " + dir.file("a.gem") + "     01.01.18   00:00:00");
}

// The table is the writer's with what the window shows: the filters set in
// the option panel, the amplitude settings, the locale's decimal separator.
TEST_F(SaveExports, TextTableFollowsTheWindowsSettings) {
    ui.ComboBox20->setCurrentIndex(1); // filter 1 on
    ui.ComboBox23->setCurrentIndex(3);
    save(dir.file("f.txt"), 4, leftShift());
    ExportSettings e = exportSettingsFromStore(*store, SaveVariant::LeftShift, '.');
    e.display = form->radargramView().engine().settings;
    struct Sink final : ByteSink {
        bool write(const uint8_t* d, std::size_t n) override {
            bytes.append(reinterpret_cast<const char*>(d), n);
            return true;
        }
        std::string bytes;
    } expected;
    SilentInteraction quiet;
    ASSERT_TRUE(writeTextTable(expected, *store, e, quiet).written());
    EXPECT_EQ(readBytes(dir.file("f.txt")), expected.bytes);
    EXPECT_NE(expected.bytes, [&] {
        ExportSettings plainFilters = e;
        plainFilters.processing = ProcessingSettings{};
        Sink other;
        writeTextTable(other, *store, plainFilters, quiet);
        return other.bytes;
    }()) << "the filter changes the table";
}

// An existing export is replaced only after Yes; the question is the save
// command's, in both languages.
TEST_F(SaveExports, AnExistingFileIsReplacedOnlyAfterYes) {
    const std::string path = dir.file("old.txt");
    writeBytes(path, "earlier export");
    for (bool english : {true, false}) {
        ui.CheckBox1->setChecked(english);
        prompter.answers = {Answer::No};
        save(path, 4);
        ASSERT_EQ(prompter.shown.size(), english ? 1u : 2u);
        EXPECT_EQ(lastText(), english ? path + "\ralready exists. Overwrite?"
                                      : path + "\rуже сущетвует. Заменить?");
        EXPECT_EQ(readBytes(path), "earlier export");
        EXPECT_FALSE(form->lastSave().written);
    }
    prompter.answers = {Answer::Yes};
    save(path, 4);
    EXPECT_EQ(firstLine(readBytes(path)), "X;T;ALg_20;");
    EXPECT_TRUE(form->lastSave().written);
}

// "Write as a single file?": No pictures the profile at or after the first
// frame in view, the window moves there; Yes the whole survey. The question
// comes while the progress panel says the file is being saved.
TEST_F(SaveExports, BitmapAsksForOneFileAndPicturesAProfileOrTheSurvey) {
    // Frames 0..99 hold no data: the view at 20 pictures the profile from 100.
    for (int f = 0; f < 100; ++f) store->frame(f).value.fill(0);
    store->viewStart = 20;
    std::string panelText;
    prompter.onShown = [&](const ShownMessage&) {
        panelText = ui.Panel3->isHidden() ? "" : ui.Label1->text().toStdString();
    };
    for (bool english : {true, false}) {
        SCOPED_TRACE(english ? "English" : "Russian");
        ui.CheckBox1->setChecked(english);
        prompter.shown.clear();
        prompter.answers = {Answer::Yes}; // replace the file of the first round
        if (!std::filesystem::exists(dir.file("one.bmp"))) prompter.answers.clear();
        prompter.answers.push_back(Answer::No);
        save(dir.file("one.bmp"), 2);
        const ShownMessage& q = prompter.shown.back();
        EXPECT_EQ(q.text, english ? "Write as a single file?" : "Записать одним файлом?");
        EXPECT_EQ(q.icon, Icon::Warning);
        EXPECT_EQ(q.buttons, Buttons::YesNo);
        EXPECT_EQ(panelText, english ? "Please wait for the process to save the file."
                                     : "Пожалуйста подождите, идет процесс сохранения файла");
        EXPECT_TRUE(form->lastSave().written);
    }
    prompter.onShown = nullptr;
    // 200 frames: 8 Trunc(201 / 4) + 72 columns, 536 rows, 24 bits.
    const Bitmap24 one(readBytes(dir.file("one.bmp")));
    EXPECT_EQ(one.width(), 472);
    EXPECT_EQ(one.height(), 536);
    EXPECT_EQ(one.bits(), 24);
    EXPECT_EQ(one.bytes.size(), 54u + 472u * 536u * 3u);
    // The window went to the profile pictured and shows what the file holds.
    EXPECT_EQ(store->viewStart, 100);
    EXPECT_EQ(ui.MaskEdit1->displayText().toStdString(), "00100");
    const QImage& picture = form->radargramImage();
    const QImage overlay = form->overlayImage().convertToFormat(QImage::Format_ARGB32);
    int compared = 0;
    for (int k = 60; k < 400; k += 7)
        for (int r = 40; r < 500; r += 11) {
            const int x = k + 22, y = r + 28; // picture column 28 is window column 50
            if (qAlpha(overlay.pixel(x, y)) != 0) continue;
            ASSERT_EQ(one.pixel(k, r), picture.pixel(x, y) & 0xFFFFFF) << k << "/" << r;
            ++compared;
        }
    EXPECT_GT(compared, 1000);

    prompter.answers = {Answer::Yes};
    save(dir.file("whole.bmp"), 2);
    ASSERT_TRUE(form->lastSave().written) << lastText();
    // Every frame 0..320 two columns wide, with the scales: 28 + 642 + 44 -> 716.
    const Bitmap24 whole(readBytes(dir.file("whole.bmp")));
    EXPECT_EQ(whole.width(), 716);
    EXPECT_EQ(whole.height(), 536);
    EXPECT_EQ(store->viewStart, 100) << "the whole survey leaves the view where it was";
}

// "Фон" paints the pixels without data in the colour of the three boxes.
TEST_F(SaveExports, BackgroundColourOfTheBoxesFillsNoData) {
    // Samples 200..300 of frame 150 hold no data: drawn black.
    for (int j = 200; j <= 300; ++j) store->frame(150).value[std::size_t(j)] = 0;
    ui.ComboBox32->setCurrentIndex(10);  // red
    ui.ComboBox33->setCurrentIndex(20);  // green
    ui.ComboBox34->setCurrentIndex(200); // blue
    for (bool background : {false, true}) {
        SCOPED_TRACE(background);
        ui.CheckBox21->setChecked(background);
        prompter.answers = {Answer::No};
        const std::string path = dir.file(background ? "bg.bmp" : "plain.bmp");
        save(path, 2);
        ASSERT_TRUE(form->lastSave().written) << lastText();
        // Frame 150, sample 250: window (50 + 300, 50 + 250), picture column
        // 28 + 300, row 300 - 28; its neighbour frame 149 holds data.
        const Bitmap24 b(readBytes(path));
        EXPECT_EQ(b.pixel(328, 272), background ? 0x0A14C8u : 0u); // 0xRRGGBB
        EXPECT_EQ(b.pixel(326, 272), form->radargramImage().pixel(348, 300) & 0xFFFFFF);
    }
}

// Views without a picture to give, and a file that cannot be created: the
// messages in both languages, nothing written.
TEST_F(SaveExports, NothingToWriteAndCreationErrorsInBothLanguages) {
    for (bool english : {true, false}) {
        SCOPED_TRACE(english ? "English" : "Russian");
        ui.CheckBox1->setChecked(english);
        prompter.shown.clear();
        store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | view::Slices);
        save(dir.file("slice.bmp"), 2);             // the slice view has no picture
        save(dir.file("slice.txt"), 4, leftCtrl()); // and no volume yet
        store->stateFlags &= uint16_t(~state::ViewMask);
        save(dir.file("none/x.txt"), 4);
        ASSERT_EQ(prompter.shown.size(), 3u);
        for (int i : {0, 1}) {
            EXPECT_EQ(prompter.shown[std::size_t(i)].text,
                      english ? "ERROR! There is no Structure for record "
                              : "Ошибка! Нет данных для записи.");
            EXPECT_EQ(prompter.shown[std::size_t(i)].icon, Icon::Error);
        }
        EXPECT_EQ(prompter.shown[2].text, "ERROR of creation of a file!");
        EXPECT_EQ(prompter.shown[2].icon, Icon::Error);
        EXPECT_FALSE(std::filesystem::exists(dir.file("slice.bmp")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("slice.txt")));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "only the survey";
}

// In the carpet and 3D-section views the picture is the 3D drawing area as
// its hook reads it back, written as a 32-bit bitmap; the 3D panel shows again.
TEST_F(SaveExports, ThreeDViewsWriteThePixelsTheirHookReadsBack) {
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | view::Carpet);
    save(dir.file("cube.bmp"), 2);
    ASSERT_EQ(prompter.shown.size(), 1u) << "no 3D view wired: nothing to write";
    EXPECT_EQ(lastText(), "ERROR! There is no Structure for record ");

    form->fileCommands().exportSources.viewPixels = [] {
        ViewPixels p;
        p.width = 3;
        p.height = 2;
        for (int i = 0; i < 6; ++i) p.bgra.insert(p.bgra.end(), {uint8_t(i), 2, 3, 255});
        return p;
    };
    ui.Panel_3D->hide();
    save(dir.file("cube.bmp"), 2);
    ASSERT_TRUE(form->lastSave().written) << lastText();
    const std::string b = readBytes(dir.file("cube.bmp"));
    ASSERT_EQ(b.size(), 54u + 3u * 2u * 4u);
    EXPECT_EQ(le(b, 18, 4), 3u);
    EXPECT_EQ(le(b, 22, 4), 2u);
    EXPECT_EQ(le(b, 28, 2), 32u);
    // The first row read back is the file's first (bottom) row.
    EXPECT_EQ(uint8_t(b[54]), 0);
    EXPECT_EQ(uint8_t(b[54 + 4 * 5]), 5);
    EXPECT_FALSE(ui.Panel_3D->isHidden());
}

// The fifth entry writes SEG-Y; the open dialog offers it and reads it back.
TEST_F(SaveExports, SegyIsTheFifthEntryAndOpensAgain) {
    save(dir.file("line.gem"), 5);
    EXPECT_EQ(prompter.filtersAsked.back(),
              "Gem Files|*.gem|Bmp Files|*.bmp|Option "
              "Files|*.opt|Text Files|*.txt|SEG-Y Files|*.sgy;*.segy|");
    ASSERT_TRUE(form->lastSave().written) << lastText();
    const std::string path = dir.file("line.sgy");
    // 300 traces of 512 IEEE floats after the 3600 bytes of headers.
    EXPECT_EQ(std::filesystem::file_size(path), 3600u + 300u * (240u + 2048u));
    const auto before = store->frame(7).value;
    clickOpen(path);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_NE(prompter.filtersAsked.back().find("|Sgy. SEG-Y file|*.sgy;*.segy|"),
              std::string::npos);
    EXPECT_EQ(store->fileKind, kind::Segy);
    EXPECT_EQ(title().rfind("Tesk  " + path, 0), 0u) << title();
    for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
        ASSERT_EQ(store->frame(7).value[std::size_t(j)], before[std::size_t(j)]) << j;
}

} // namespace
} // namespace tesk::testing
