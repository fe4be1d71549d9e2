// The device-options panel Panel_26, the check log of the device-recording
// decoder on the test panel, and an options file applied to the window.

#include "window_fixture.h"

#include "store/options_file.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <array>

namespace tesk::testing {
namespace {

using DevicePanel = WindowTest;

TEST_F(DevicePanel, ControlsHoldTheirItemsAndStartValues) {
    ASSERT_EQ(ui.ComboBox61->count(), 2049);
    EXPECT_EQ(ui.ComboBox61->itemText(0), "0 ns");
    EXPECT_EQ(ui.ComboBox61->itemText(2048), "2048 ns");
    EXPECT_EQ(ui.ComboBox61->currentIndex(), 0);
    ASSERT_EQ(ui.ComboBox62->count(), 3);
    ASSERT_EQ(ui.ComboBox63->count(), 3);
    EXPECT_EQ(ui.ComboBox63->currentIndex(), 1);
    ASSERT_EQ(ui.ComboBox64->count(), 256);
    EXPECT_EQ(ui.ComboBox64->itemText(0), "0");
    EXPECT_EQ(ui.ComboBox64->itemText(255), "255");
    EXPECT_EQ(ui.ComboBox64->currentIndex(), 142);
    ASSERT_EQ(ui.ComboBox66->count(), 2);
    EXPECT_EQ(ui.ComboBox66->itemText(0), "  ED  01  8E");
    EXPECT_EQ(ui.ComboBox66->itemText(1), "  ED  02  7A");
    EXPECT_EQ(ui.ComboBox66->currentIndex(), 0);
    EXPECT_FALSE(ui.CheckBox59->isChecked());
    // The Russian wordings of the mode and channel items.
    ui.CheckBox1->setChecked(false);
    const char* modes[] = {"  Выборка       64", "  Усреднение 42", "  Накопление 24"};
    const char* channels[] = {" 1  Канал  Грубый", " 2  Канал  Точный", " 3  Канал  Сумма"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.ComboBox62->itemText(i).toStdString(), modes[i]);
        EXPECT_EQ(ui.ComboBox63->itemText(i).toStdString(), channels[i]);
    }
    EXPECT_EQ(ui.CheckBox59->text().toStdString(), "Сложение");
    EXPECT_EQ(ui.ComboBox63->currentIndex(), 1); // the language switch keeps the choice
}

TEST_F(DevicePanel, EveryChangeMarksTheSurveyChanged) {
    auto changes = [&](auto&& act) {
        store->stateFlags = 0;
        act();
        return store->stateFlags & state::Changed;
    };
    EXPECT_EQ(changes([&] { ui.ComboBox61->setCurrentIndex(64); }), state::Changed);
    EXPECT_EQ(changes([&] { ui.ComboBox62->setCurrentIndex(2); }), state::Changed);
    EXPECT_EQ(changes([&] { ui.ComboBox63->setCurrentIndex(2); }), state::Changed);
    EXPECT_EQ(changes([&] { ui.ComboBox64->setCurrentIndex(3); }), state::Changed);
    EXPECT_EQ(changes([&] { ui.ComboBox66->setCurrentIndex(1); }), state::Changed);
    EXPECT_EQ(changes([&] { ui.CheckBox59->setChecked(true); }), state::Changed);
}

TEST_F(DevicePanel, GprReaderTakesTheChannelOfComboBox63) {
    // One record of one sample group: channel 1 reads level 2048 + 160
    // (code 138), channel 2 level 2048 - 160 (code 118); cell 1 holds the
    // group's code.
    std::string b(142, '\0');
    b[6] = 2; // frame count + 1
    const uint32_t W = 128;
    std::string rec(4 + 2 * W + 4, '\0');
    rec[0] = char(W & 0xFF);
    rec[1] = char(W >> 8);
    rec[4] = 0;                // no positioning text
    std::size_t p = 4 + 1 + 5; // length byte, time, marker
    for (int i = 0; i < 32; ++i) {
        const uint16_t up = 160, down = uint16_t(65536 - 160);
        rec[p++] = char(up & 0xFF);
        rec[p++] = char(up >> 8);
        rec[p++] = char(down & 0xFF);
        rec[p++] = char(down >> 8);
    }
    const std::string path = dir.file("line.gpr");
    writeBytes(path, b + rec);
    const int codes[3] = {138, 118, 128};
    for (int channel = 0; channel < 3; ++channel) {
        ui.ComboBox63->setCurrentIndex(channel);
        clickOpen(path);
        EXPECT_EQ(store->fileKind, kind::MirnGpr);
        EXPECT_EQ(store->frame(0).value[1], codes[channel]) << channel;
    }
}

// A model-1 recording of two counted frame records whose second record is
// missing: the key search fails at frame 1 and the log says so.
std::string recordingWithLostKey() {
    std::string b(16, '\0');
    b.replace(0, 4, "TESK");
    b[5] = 1;                                             // model 1, 7-bit
    b[7] = 14, b[8] = 6, b[9] = 23, b[10] = 9, b[11] = 5; // 14.06.23 09:05
    b[15] = 2;                                            // two frame records
    std::string rec(13 + 512 + 2, '\0');
    rec[0] = char(0xA1);
    const uint32_t L = uint32_t(rec.size()) - 4;
    rec[2] = char(L >> 8);
    rec[3] = char(L & 0xFF);
    rec[10] = char(0x4C); // raw samples, time range item 2, scale 0x40
    for (int i = 0; i < 512; ++i) rec[std::size_t(13 + i)] = 64;
    return b + rec + std::string(40, '\x55'); // no 0xA1 within ten bytes
}

TEST_F(DevicePanel, CheckLogOfAFaultyRecordingFillsMemo1OnTheTestPanel) {
    const std::string path = dir.file("line.geo");
    writeBytes(path, recordingWithLostKey());
    // The log and the closing warning follow the language of CheckBox1.
    struct Language {
        bool english;
        const char* warning;
        const char* finding;
    };
    const Language languages[] = {
        {true, "Error Data GPS!", "There is no key to start the measurement block!"},
        {false, "Ошибка Данных GPS!", "Нет ключа начала блока А1!"},
    };
    for (const Language& l : languages) {
        ui.CheckBox1->setChecked(l.english);
        prompter.shown.clear();
        ui.Panel6->hide();
        clickOpen(path);
        ASSERT_EQ(prompter.shown.size(), 1u) << l.english;
        EXPECT_EQ(prompter.shown[0].text, l.warning);
        EXPECT_EQ(store->frame(0).value[0], 129); // 2 x 64 + 1
        const QStringList lines = ui.Memo1->toPlainText().split('\n');
        const QStringList want = {"", "TEST GEO", "", "ERROR. E03.C 1", l.finding, ""};
        EXPECT_EQ(lines.join('|').toStdString(), want.join('|').toStdString());
        EXPECT_FALSE(ui.Panel6->isHidden());
    }
}

TEST_F(DevicePanel, SoundRecordingLeavesTheLogEmpty) {
    std::string good = recordingWithLostKey();
    good[15] = 1; // one counted record, which the file holds
    const std::string path = dir.file("good.geo");
    writeBytes(path, good);
    clickOpen(path);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_TRUE(ui.Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(ui.Panel6->isHidden());
}

TEST_F(DevicePanel, OptionsFileSetsTheHighlightBitButLeavesCheckBox23Unchecked) {
    clickOpen(writeSurvey(dir.file("a.gem"), 100));
    const int velocity = ui.ComboBox10->currentIndex();
    const int range = ui.ComboBox11->currentIndex();
    OptionsFileSettings o;
    o.inversion = true;
    o.chosenAmplitude = true;
    o.filter1 = {1, 2, 3, 4};
    o.colourComponents = {10, 20, 30};
    o.velocityItem = uint8_t((velocity + 3) % 20); // not applied
    o.timeRangeItem = uint8_t((range + 2) % 8);    // not applied
    const auto bytes = encodeOptionsFile(o);
    const std::string opt = dir.file("look.opt");
    writeBytes(opt, std::string(bytes.begin(), bytes.end()));
    clickOpen(opt);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_TRUE(ui.CheckBox22->isChecked());
    EXPECT_FALSE(ui.CheckBox23->isChecked());
    EXPECT_EQ(store->header.value[hdr::AmplitudeFlags] & (hdr::Inversion | hdr::Highlight),
              hdr::Inversion | hdr::Highlight);
    EXPECT_EQ(ui.ComboBox20->currentIndex(), 1);
    EXPECT_EQ(ui.ComboBox22->currentIndex(), 2);
    EXPECT_EQ(ui.ComboBox32->currentIndex(), 10);
    EXPECT_EQ(ui.ComboBox33->currentIndex(), 20);
    EXPECT_EQ(ui.ComboBox34->currentIndex(), 30);
    EXPECT_EQ(ui.ComboBox10->currentIndex(), velocity);
    EXPECT_EQ(ui.ComboBox11->currentIndex(), range);
    EXPECT_NE(title().find("    +add file:// " + opt), std::string::npos) << title();
}

// An options file of a version this program does not know changes no
// setting, yet it is named in the title as an added file like any other.
TEST_F(DevicePanel, OptionsFileOfUnknownVersionChangesNothingButIsNamedInTheTitle) {
    clickOpen(writeSurvey(dir.file("a.gem"), 100));
    const std::array<uint8_t, HEADER_CELLS> header = store->header.value;
    const int filter = ui.ComboBox20->currentIndex();
    OptionsFileSettings o;
    o.filter1 = {3, 5, 5, 5};
    auto bytes = encodeOptionsFile(o);
    bytes[5] = 16; // an older layout
    const std::string opt = dir.file("old.opt");
    writeBytes(opt, std::string(bytes.begin(), bytes.end()));
    clickOpen(opt);
    EXPECT_TRUE(prompter.shown.empty()) << lastText();
    EXPECT_EQ(store->header.value, header);
    EXPECT_EQ(ui.ComboBox20->currentIndex(), filter);
    EXPECT_EQ(store->stateFlags & state::Busy, 0);
    EXPECT_NE(title().find("    +add file:// " + opt), std::string::npos) << title();
}

} // namespace
} // namespace tesk::testing
