// The frame editing and resampling buttons of the window: their questions
// and messages in both languages, the modifier variants, the state of the
// paste button and of the editing buttons, the time range after "cT", and
// undo and redo from the keyboard.

#include "shell/display/radargram_view.h"
#include "shell/editing/editing_commands.h"
#include "shell/files/open_save.h"
#include "store/settings_catalog.h"
#include "window_fixture.h"

#include <QApplication>
#include <QKeyEvent>

namespace tesk::testing {
namespace {

// Sample j of frame i of a survey written by writeSurvey (seed 0).
uint8_t patternSample(int i, int j) {
    return uint8_t(1 + (i * 7 + j) % 255);
}

// Every value byte of the store, the header and frameCount.
struct Survey {
    explicit Survey(const ProfileStore& s)
        : header(s.header.value.begin(), s.header.value.end()), frameCount(s.frameCount) {
        frames.reserve(std::size_t(MAX_FRAME_INDEX + 1) * CELLS_PER_FRAME);
        for (int i = 0; i <= MAX_FRAME_INDEX; ++i)
            frames.insert(frames.end(), s.frame(i).value.begin(), s.frame(i).value.end());
    }
    bool operator==(const Survey&) const = default;
    std::vector<uint8_t> frames;
    std::vector<uint8_t> header;
    int frameCount;
};

void sendChord(QWidget* target, int key, Qt::KeyboardModifiers m) {
    QKeyEvent press(QEvent::KeyPress, key, m);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, m);
    QApplication::sendEvent(target, &release);
}

// Modifier keys of a case: left and right Shift, left and right Ctrl.
enum KeyBits { NONE = 0, LSHIFT = 1, RSHIFT = 2, LCTRL = 4, RCTRL = 8 };

Modifiers held(int bits) {
    Modifiers m;
    m.leftShift = bits & LSHIFT;
    m.rightShift = bits & RSHIFT;
    m.leftCtrl = bits & LCTRL;
    m.rightCtrl = bits & RCTRL;
    return m;
}

// What a message case prepares after the cursor is set on frame 10.
enum class Before {
    None,
    NearTheEnd,    // frameCount 63800
    GapAtCursor,   // frames 100..119 out of the profile, cursor on 110
    CopyThenFull,  // a copy, then frameCount 63950
    SecondPoint,   // second point on frame 50
    Doubling32000, // frameCount 32000
    Range128ns,    // time range item 0
    Range16384ns,  // time range item 7
};

// A survey of 600 frames, one profile at frames 0..599, frameCount 620.
class EditingWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        path = writeSurvey(dir.file("e.gem"), 600);
        reopen();
    }
    void reopen() {
        // The edits of the previous round are discarded.
        if (form->fileCommands().modified()) prompter.answers.push_front(Answer::No);
        clickOpen(path);
        ASSERT_EQ(store->frameCount, 620);
    }
    QToolButton* button(const char* name) { return form->findChild<QToolButton*>(name); }
    void press(QToolButton* b, int keys = NONE, std::vector<Answer> answers = {}) {
        prompter.answers.assign(answers.begin(), answers.end());
        prompter.held = held(keys);
        b->click();
        prompter.held = {};
    }
    void click(Qt::MouseButton b, int column, int row) {
        const Point o = form->view().ViewOrigin;
        form->radargramView().Image1MouseDown(b, QPoint(o.x + 2 * column, o.y + row));
    }
    void cursorAt(int column, int row = 0) { click(Qt::LeftButton, column, row); }
    // Frames first..last leave their profile: a gap in the survey.
    void gap(int first, int last) {
        for (int i = first; i <= last; ++i)
            store->frame(i).value[cell::Status] &= uint8_t(~status::InProfile);
    }
    void setEnglish(bool on) {
        if (ui.CheckBox1->isChecked() != on) ui.CheckBox1->click();
    }
    std::string frameCountCaption() const { return ui.SpeedButton18->text().toStdString(); }
    void prepare(Before s) {
        switch (s) {
        case Before::None:
            break;
        case Before::NearTheEnd:
            store->frameCount = 63800;
            break;
        case Before::GapAtCursor:
            gap(100, 119);
            cursorAt(110);
            break;
        case Before::CopyThenFull:
            press(ui.SpeedButton28);
            store->frameCount = 63950;
            break;
        case Before::SecondPoint:
            click(Qt::RightButton, 50, 0);
            break;
        case Before::Doubling32000:
            store->frameCount = 32000;
            break;
        case Before::Range128ns:
            ui.ComboBox11->setCurrentIndex(0);
            break;
        case Before::Range16384ns:
            ui.ComboBox11->setCurrentIndex(7);
            break;
        }
    }
    bool editingEnabled() const {
        for (QToolButton* b :
             {ui.SpeedButton13, ui.SpeedButton14, ui.SpeedButton26, ui.SpeedButton27,
              ui.SpeedButton28, ui.SpeedButton30, ui.SpeedButton31, ui.SpeedButton32})
            if (!b->isEnabled()) return false;
        return true;
    }

    std::string path;
};

// --- questions and messages ---------------------------------------------------

struct MessageCase {
    const char* name;
    const char* button;
    int keys;
    int blockItem;
    Before setup;
    std::vector<Answer> answers;
    Buttons buttons; // of the last message
    const char* ru;  // the last message; nullptr: the command asks nothing
    const char* en;
};

const MessageCase MESSAGE_CASES[] = {
    {"ShiftRight",
     "SpeedButton26",
     NONE,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Сдвиг данных на 100 кадров Вправо.\rПродолжить?",
     "The displacement to the right data at the 100 frames.\rContinue?"},
    {"ShiftRightNearTheEnd",
     "SpeedButton26",
     NONE,
     6,
     Before::NearTheEnd,
     {Answer::Yes, Answer::No},
     Buttons::YesNo,
     "Общее количество Кадров критично для сдвига\rВы можете продолжить, но возможна потеря "
     "последних кадров",
     "The total of the Staff is critical for shift\rYou can continue, but loss of last staff is "
     "probable"},
    {"ShiftLeft",
     "SpeedButton27",
     NONE,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Сдвиг данных Влево до позиции курсора.\rПродолжить?",
     "Data displacement left joint to the cursor.\rContinue?"},
    {"CopyProfileInAGap",
     "SpeedButton28",
     NONE,
     7,
     Before::GapAtCursor,
     {},
     Buttons::Ok,
     "Ошибка! Нет профиля.\rУстановите курсор на профиль",
     "ERROR! No profile.\rSet the cursor on the profile."},
    {"DeleteProfileInAGap",
     "SpeedButton30",
     NONE,
     7,
     Before::GapAtCursor,
     {},
     Buttons::Ok,
     "Ошибка! Нет профиля.\rУстановите курсор на профиль",
     "ERROR! No profile.\rSet the cursor on the profile."},
    {"PastePastTheStore",
     "SpeedButton29",
     NONE,
     2,
     Before::CopyThenFull,
     {},
     Buttons::Ok,
     "Файл будет иметь > 64000 Кадров",
     "File will have > 64000 kadrs"},
    {"DeleteBlock",
     "SpeedButton30",
     NONE,
     0,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Вы действительно хотите удалить 20 кадров?",
     "You really want to remove 20 kadrs?"},
    // Left Ctrl deletes up to the second point; the right Ctrl does not.
    {"DeleteToTheSecondPoint",
     "SpeedButton30",
     LCTRL,
     2,
     Before::SecondPoint,
     {Answer::No},
     Buttons::YesNo,
     "Вы действительно хотите удалить 40 кадров?",
     "You really want to remove 40 kadrs?"},
    {"DeleteWithTheRightCtrl",
     "SpeedButton30",
     RCTRL,
     2,
     Before::SecondPoint,
     {Answer::No},
     Buttons::YesNo,
     "Вы действительно хотите удалить 100 кадров?",
     "You really want to remove 100 kadrs?"},
    {"DoublingPastTheStore",
     "SpeedButton31",
     NONE,
     2,
     Before::Doubling32000,
     {Answer::No},
     Buttons::YesNo,
     "Выходной файл будет иметь > 64000 кадров > \rВы потеряете часть информации!\rПродолжить?",
     "The file will have > 64000 staff  \rYou will lose a part of the information!\rContinue?"},
    {"Doubling",
     "SpeedButton31",
     RCTRL,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Файл, по шкале <Х> будет увеличен вдвое\rПродолжить?",
     "The file, on scale <X> will be Increased twice\rContinue?"},
    {"HalvingWithTheRightShift",
     "SpeedButton31",
     RSHIFT,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Файл, по шкале <Х> будет уменьшен вдвое\rПродолжить?",
     "The file, on scale <X> will be Decreased twice\rContinue?"},
    {"FitAsksNothing", "SpeedButton31", LCTRL, 2, Before::None, {}, Buttons::Ok, nullptr, nullptr},
    {"ExpandT",
     "SpeedButton32",
     NONE,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Файл будет увеличен по оси Т.\rПродолжить?",
     "The file will be increased on the axis T.\rContinue?"},
    {"ExpandTAt128ns",
     "SpeedButton32",
     NONE,
     2,
     Before::Range128ns,
     {Answer::Yes, Answer::No},
     Buttons::YesNo,
     "Файл максимально увеличен!\rПродолжить?",
     "The file is maximized! \rContinue?"},
    {"CompressTAt16384ns",
     "SpeedButton32",
     LSHIFT,
     2,
     Before::Range16384ns,
     {},
     Buttons::Ok,
     "Файл максимально сжат по оси Т!",
     "The file is maximally compressed (T axis)!"},
    {"CompressT",
     "SpeedButton32",
     LSHIFT,
     2,
     Before::None,
     {Answer::No},
     Buttons::YesNo,
     "Файл будет сжат по оси Т.\rПродолжить?",
     "The file will be compressed along the T axis.\rContinue?"},
    {"TWithTheRightShiftAsksNothing",
     "SpeedButton32",
     RSHIFT,
     2,
     Before::None,
     {},
     Buttons::Ok,
     nullptr,
     nullptr},
    {"TWithACtrlAsksNothing",
     "SpeedButton32",
     RCTRL,
     2,
     Before::None,
     {},
     Buttons::Ok,
     nullptr,
     nullptr},
};

class EditingMessages : public EditingWindow, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(EditingMessages, InBothLanguagesFromTheButtons) {
    const MessageCase& c = GetParam();
    for (const bool en : {true, false}) {
        SCOPED_TRACE(en ? "English" : "Russian");
        reopen();
        setEnglish(en);
        ui.ComboBox16->setCurrentIndex(c.blockItem);
        cursorAt(10);
        prepare(c.setup);
        const Survey before(*store);
        prompter.shown.clear();
        press(button(c.button), c.keys, c.answers);
        EXPECT_EQ(prompter.unanswered, 0);
        EXPECT_TRUE(prompter.answers.empty()) << "a question was not asked";
        if (!c.ru) {
            EXPECT_TRUE(prompter.shown.empty()) << lastText();
            continue;
        }
        ASSERT_FALSE(prompter.shown.empty());
        const ShownMessage& m = prompter.shown.back();
        EXPECT_EQ(m.text, en ? c.en : c.ru);
        EXPECT_EQ(m.english, en);
        EXPECT_EQ(m.icon, Icon::Warning);
        EXPECT_EQ(m.buttons, c.buttons);
        // A No or an error leaves every frame and the header as they were.
        EXPECT_TRUE(Survey(*store) == before);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, EditingMessages, ::testing::ValuesIn(MESSAGE_CASES),
                         [](const auto& i) { return std::string(i.param.name); });

// --- captions, variants and the buttons' state --------------------------------

TEST_F(EditingWindow, LetteredButtonsShowTheirLettersInBothLanguages) {
    const char* const letters[] = {"SR", "SL", "Ck", "Pk", "Dk", "cX", "cT"};
    const QToolButton* const buttons[] = {ui.SpeedButton26, ui.SpeedButton27, ui.SpeedButton28,
                                          ui.SpeedButton29, ui.SpeedButton30, ui.SpeedButton31,
                                          ui.SpeedButton32};
    for (const bool en : {false, true}) {
        setEnglish(en);
        for (std::size_t i = 0; i < std::size(letters); ++i) {
            EXPECT_EQ(buttons[i]->text().toStdString(), letters[i]);
            EXPECT_EQ(buttons[i]->toolButtonStyle(), Qt::ToolButtonTextOnly) << letters[i];
        }
    }
    // Mirror and move up are glyphs, each its own.
    EXPECT_NE(ui.SpeedButton13->icon().pixmap(22).toImage(),
              ui.SpeedButton14->icon().pixmap(22).toImage());
}

// The keys held select the block of the mirror and the move up: the first
// sample of frame 0 tells which frame ended up there, or how far it moved.
TEST_F(EditingWindow, ModifierKeysChooseTheBlock) {
    struct Case {
        const char* name;
        QToolButton* button;
        int keys;
        int frame0Sample0; // sample 0 of frame 0 afterwards
        int frame20Sample0;
    };
    const Case cases[] = {
        // Left Shift: the profile at the view start, frames 0..99.
        {"mirror profile", ui.SpeedButton13, LSHIFT, patternSample(99, 0), patternSample(79, 0)},
        // Left Ctrl: the whole survey, frames 0..599.
        {"mirror survey", ui.SpeedButton13, LCTRL, patternSample(599, 0), patternSample(579, 0)},
        // No key: the 20 frames of the view step, moved up by the cursor row 5.
        {"move up block", ui.SpeedButton14, NONE, patternSample(0, 5), patternSample(20, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        gap(100, 119);
        ui.ComboBox16->setCurrentIndex(0);
        cursorAt(3, 5);
        press(c.button, c.keys);
        EXPECT_EQ(store->frame(0).value[0], c.frame0Sample0);
        EXPECT_EQ(store->frame(20).value[0], c.frame20Sample0);
        // Frames past the gap move only with the whole survey.
        const bool whole = c.keys == LCTRL;
        EXPECT_EQ(store->frame(300).value[0] != patternSample(300, 0), whole);
    }
}

// The cursor frame is the first frame in view plus the cursor's column.
TEST_F(EditingWindow, CommandsTakeTheCursorFrameOfTheView) {
    ui.ComboBox16->setCurrentIndex(2);
    ui.SpeedButton18->click(); // the view starts at frame 100
    ASSERT_EQ(store->viewStart, 100);
    ui.ComboBox16->setCurrentIndex(0);
    cursorAt(10);
    press(ui.SpeedButton30, NONE, {Answer::Yes});
    EXPECT_EQ(lastText(), "You really want to remove 20 kadrs?");
    EXPECT_EQ(store->frame(109).value[0], patternSample(109, 0));
    EXPECT_EQ(store->frame(110).value[0], patternSample(130, 0));
}

// A copy enables paste; every other command of the frame editing and "cT"
// give the clipboard up, "cX" keeps it.
TEST_F(EditingWindow, PasteButtonFollowsTheClipboard) {
    EXPECT_TRUE(editingEnabled());
    EXPECT_FALSE(ui.SpeedButton29->isEnabled()) << "nothing copied yet";
    struct Case {
        const char* name;
        QToolButton* button;
        int keys;
        std::vector<Answer> answers;
        bool pasteAfter;
    };
    const Case cases[] = {
        {"paste", ui.SpeedButton29, NONE, {}, false},
        {"shift right declined", ui.SpeedButton26, NONE, {Answer::No}, false},
        {"delete", ui.SpeedButton30, NONE, {Answer::Yes}, false},
        {"mirror", ui.SpeedButton13, NONE, {}, false},
        {"cT with a Ctrl key", ui.SpeedButton32, RCTRL, {}, false},
        {"cX doubling", ui.SpeedButton31, NONE, {Answer::Yes}, true},
        {"copy again", ui.SpeedButton28, NONE, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        ui.ComboBox16->setCurrentIndex(2);
        cursorAt(10);
        press(ui.SpeedButton28);
        ASSERT_TRUE(ui.SpeedButton29->isEnabled());
        press(c.button, c.keys, c.answers);
        EXPECT_EQ(ui.SpeedButton29->isEnabled(), c.pasteAfter);
        EXPECT_TRUE(editingEnabled());
    }
    // A copy refused in a gap leaves the paste button as it was.
    gap(200, 219);
    ui.ComboBox16->setCurrentIndex(7);
    cursorAt(210);
    press(ui.SpeedButton28);
    EXPECT_EQ(lastText(), "ERROR! No profile.\rSet the cursor on the profile.");
    EXPECT_TRUE(ui.SpeedButton29->isEnabled());
}

TEST_F(EditingWindow, ViewsTakeTheButtonsAwayAndShowProfileBringsThemBack) {
    ui.ComboBox16->setCurrentIndex(2);
    cursorAt(10);
    press(ui.SpeedButton28);
    press(ui.SpeedButton13); // one edit to undo
    press(ui.SpeedButton28);
    const Survey edited(*store);
    // A view or mode that draws over the radargram.
    form->setEditingAvailable(false);
    EXPECT_FALSE(ui.SpeedButton13->isEnabled());
    EXPECT_FALSE(ui.SpeedButton28->isEnabled());
    EXPECT_FALSE(ui.SpeedButton29->isEnabled());
    sendChord(ui.Panel_1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Survey(*store) == edited) << "no undo while the buttons are away";
    // "Show profile": the buttons come back, the clipboard stays given up.
    ui.SpeedButton5->click();
    EXPECT_TRUE(editingEnabled());
    EXPECT_FALSE(ui.SpeedButton29->isEnabled());
    // Another command that rewrote frames: no undo of the edits before it.
    press(ui.SpeedButton28);
    form->framesRewrittenOutsideEditing();
    EXPECT_FALSE(ui.SpeedButton29->isEnabled());
    sendChord(ui.Panel_1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Survey(*store) == edited);
}

// "cT" writes the time range into the header itself: the box shows it
// without its handler (which would move the depth step), and the time
// stretch items follow it; undo puts both back.
TEST_F(EditingWindow, TimeRangeFollowsCTAndItsUndo) {
    ui.ComboBox11->setCurrentIndex(2);  // 512 ns
    ui.ComboBox15->setCurrentIndex(15); // a depth step the 256 ns range would reset
    ASSERT_EQ(ui.ComboBox14->itemText(8).toStdString(), "    1024  ns");
    press(ui.SpeedButton32, NONE, {Answer::Yes});
    EXPECT_EQ(store->header.value[hdr::TimeRange], 1);
    EXPECT_EQ(ui.ComboBox11->currentIndex(), 1);
    EXPECT_EQ(ui.ComboBox15->currentIndex(), 15);
    EXPECT_EQ(ui.ComboBox14->itemText(0).toStdString(), "    128  ns");
    EXPECT_EQ(ui.ComboBox14->itemText(8).toStdString(), "    512  ns");
    sendChord(ui.Panel_1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(store->header.value[hdr::TimeRange], 2);
    EXPECT_EQ(ui.ComboBox11->currentIndex(), 2);
    EXPECT_EQ(ui.ComboBox14->itemText(8).toStdString(), "    1024  ns");
    EXPECT_EQ(ui.ComboBox15->currentIndex(), 15);
}

// --- undo and redo ------------------------------------------------------------

TEST_F(EditingWindow, UndoAndRedoKeys) {
    ui.ComboBox16->setCurrentIndex(2);
    const Survey loaded(*store);
    cursorAt(10);
    press(ui.SpeedButton30, NONE, {Answer::Yes});
    // 100 frames gone: the last profile frame is 499, frameCount 480 + 40.
    ASSERT_EQ(frameCountCaption(), "520");
    ASSERT_EQ(store->frame(10).value[0], patternSample(110, 0));
    const Survey deleted(*store);
    struct Case {
        const char* name;
        QWidget* target;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool loadedAfter; // otherwise the deleted survey
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Case cases[] = {
        {"Ctrl+Z", ui.Panel_1, Qt::Key_Z, ctrl, true},
        {"Ctrl+Y", ui.Panel_1, Qt::Key_Y, ctrl, false},
        {"Ctrl+Z on the options", ui.Panel_2, Qt::Key_Z, ctrl, true},
        {"Ctrl+Shift+Z", ui.Panel_1, Qt::Key_Z, ctrl | Qt::ShiftModifier, false},
        // The Russian layout: Я on the Z key, Н on the Y key.
        {"Ctrl+Я", ui.Panel_1, 0x042F, ctrl, true},
        {"Ctrl+Н", ui.Panel_1, 0x041D, ctrl, false},
        // Nothing else takes a step; a text field keeps Ctrl+Z for its text.
        {"Z", ui.Panel_1, Qt::Key_Z, Qt::NoModifier, false},
        {"Ctrl+Alt+Z", ui.Panel_1, Qt::Key_Z, ctrl | Qt::AltModifier, false},
        {"Ctrl+Z in the frame field", ui.MaskEdit1, Qt::Key_Z, ctrl, false},
        {"Ctrl+Y with nothing to redo", ui.Panel_1, Qt::Key_Y, ctrl, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sendChord(c.target, c.key, c.modifiers);
        EXPECT_TRUE(Survey(*store) == (c.loadedAfter ? loaded : deleted));
        EXPECT_EQ(frameCountCaption(), c.loadedAfter ? "620" : "520");
    }
    EXPECT_EQ(prompter.shown.size(), 1u) << "undo and redo ask nothing";
}

// Twenty edits of every kind unwind through Ctrl+Z to the survey as it was
// loaded, value bytes and header byte for byte, and come back through Ctrl+Y.
TEST_F(EditingWindow, TwentyEditsUndoToTheLoadedSurveyAndRedoToTheEnd) {
    ui.ComboBox16->setCurrentIndex(2);
    const Survey loaded(*store);
    const int range = ui.ComboBox11->currentIndex();
    struct Step {
        QToolButton* button;
        int keys;
        std::vector<Answer> answers;
        int column;
        int row;
    };
    const std::vector<Step> steps = {
        {ui.SpeedButton13, NONE, {}, 0, 0},
        {ui.SpeedButton30, NONE, {Answer::Yes}, 40, 0},
        {ui.SpeedButton14, LCTRL, {}, 0, 7},
        {ui.SpeedButton26, NONE, {Answer::Yes}, 150, 0},
        {ui.SpeedButton28, NONE, {}, 30, 0},
        {ui.SpeedButton29, NONE, {}, 400, 0},
        {ui.SpeedButton32, NONE, {Answer::Yes}, 0, 0},
        {ui.SpeedButton27, NONE, {Answer::Yes}, 120, 0},
        {ui.SpeedButton31, NONE, {Answer::Yes}, 0, 0},
        {ui.SpeedButton13, LSHIFT, {}, 0, 0},
        {ui.SpeedButton32, LSHIFT, {Answer::Yes}, 0, 0},
        {ui.SpeedButton31, LCTRL, {}, 300, 0},
        {ui.SpeedButton14, NONE, {}, 0, 0},
        {ui.SpeedButton30, NONE, {Answer::Yes}, 5, 0},
        {ui.SpeedButton31, LSHIFT, {Answer::Yes}, 0, 0},
        {ui.SpeedButton13, LCTRL, {}, 0, 0},
        {ui.SpeedButton26, NONE, {Answer::Yes}, 60, 0},
        {ui.SpeedButton14, LSHIFT, {}, 0, 100},
        {ui.SpeedButton32, NONE, {Answer::Yes}, 0, 0},
        {ui.SpeedButton30, NONE, {Answer::Yes}, 200, 0},
        {ui.SpeedButton13, NONE, {}, 0, 0},
    };
    for (const Step& s : steps) {
        cursorAt(s.column, s.row);
        press(s.button, s.keys, s.answers);
    }
    ASSERT_EQ(prompter.unanswered, 0);
    const EditingCommands& editing = form->editingCommands();
    const int taken = editing.tools().history.undoSteps();
    ASSERT_EQ(taken, 20) << "every command but the copy is a step";
    const Survey end(*store);
    for (int k = 0; k < taken; ++k) sendChord(ui.Panel_1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Survey(*store) == loaded);
    EXPECT_EQ(ui.ComboBox11->currentIndex(), range);
    EXPECT_EQ(frameCountCaption(), "620");
    for (int k = 0; k < taken; ++k) sendChord(ui.Panel_1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(Survey(*store) == end);
    EXPECT_EQ(frameCountCaption(), std::to_string(store->frameCount));
}

TEST_F(EditingWindow, OpeningAFileStartsTheHistoryOver) {
    for (const bool append : {false, true}) {
        SCOPED_TRACE(append ? "append" : "open");
        reopen();
        press(ui.SpeedButton13, LCTRL);
        ui.ComboBox16->setCurrentIndex(2);
        cursorAt(10);
        press(ui.SpeedButton28);
        clickOpen(path, append);
        EXPECT_FALSE(ui.SpeedButton29->isEnabled());
        const Survey opened(*store);
        sendChord(ui.Panel_1, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(Survey(*store) == opened);
    }
}

} // namespace
} // namespace tesk::testing
