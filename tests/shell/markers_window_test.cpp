// Markers through the window: the bulk commands of ComboBox17 with their
// questions in both languages, Shift-clicks on the radargram, and the flags
// drawn over the picture.

#include "shell/window/main_view.h"
#include "window_fixture.h"

#include <array>

namespace tesk::testing {
namespace {

constexpr int X0 = 50, Y0 = 50;

class MarkersWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        clickOpen(writeSurvey(dir.file("s.gem"), 50));
    }
    int status(int frame) const { return store->frame(frame).value[cell::Status] & 0x03; }
    void setStatuses(int first, std::initializer_list<int> statuses) {
        int f = first;
        for (int s : statuses) {
            uint8_t& b = store->frame(f++).value[cell::Status];
            b = uint8_t((b & ~0x03) | s);
        }
    }
    void clickPicture(Qt::MouseButton b, int column, Modifiers keys) {
        prompter.held = keys;
        ui.Image6->onMouseDown(b, QPoint(X0 + 2 * column, Y0 + 100));
        prompter.held = {};
    }
    QColor boxColour() const { return ui.ComboBox17->palette().color(QPalette::Base); }
};

struct BulkCase {
    int item;
    const char* ru;
    const char* en;
    std::array<int, 4> after; // statuses 0, 1, 2, 3 after a Yes
};

const BulkCase BULK[] = {
    {3,
     "Статус маркеров будет повышен\rПродолжить?",
     "Status of marks will be advanced!\rWant to continue?",
     {0, 2, 3, 3}},
    {4,
     "Статус маркеров будет уменьшен\rПродолжить?",
     "Status of marks will be reduced!\rWant to continue?",
     {0, 1, 1, 2}},
    {5,
     "Статус маркеров будет уменьшен\rЧерные маркеры будет удалены\rПродолжить?",
     "Status of marks will be reduced!\rBlack marks will be delete!\rWant to continue?",
     {0, 0, 1, 2}},
    {6,
     "Все метки будут удалены \rПродолжить?",
     "You really want to delete All the mark?\rWant to continue?",
     {0, 0, 0, 0}},
};

TEST_F(MarkersWindow, BulkCommandsAskThenChangeEveryStatus) {
    const QColor shown(0xCC, 0xDD, 0xCC);
    for (const BulkCase& c : BULK) {
        for (const bool en : {false, true}) {
            for (const Answer a : {Answer::No, Answer::Yes}) {
                SCOPED_TRACE(std::to_string(c.item) + (en ? " en " : " ru ") +
                             (a == Answer::Yes ? "yes" : "no"));
                ui.CheckBox1->setChecked(en);
                setStatuses(10, {0, 1, 2, 3});
                const uint8_t otherBits = store->frame(12).value[cell::Status] & 0xFC;
                store->stateFlags &= uint16_t(~state::Changed);
                prompter.answers.push_back(a);
                const std::size_t shownBefore = prompter.shown.size();
                ui.ComboBox17->setCurrentIndex(c.item);
                ASSERT_EQ(prompter.shown.size(), shownBefore + 1);
                const ShownMessage& m = prompter.shown.back();
                EXPECT_EQ(m.text, en ? c.en : c.ru);
                EXPECT_EQ(m.icon, Icon::Warning);
                EXPECT_EQ(m.buttons, Buttons::YesNo);
                const std::array<int, 4> unchanged{0, 1, 2, 3};
                const std::array<int, 4>& want = a == Answer::Yes ? c.after : unchanged;
                for (int i = 0; i < 4; ++i) EXPECT_EQ(status(10 + i), want[std::size_t(i)]) << i;
                EXPECT_EQ(store->frame(12).value[cell::Status] & 0xFC, otherBits);
                EXPECT_EQ(bool(store->stateFlags & state::Changed), a == Answer::Yes);
                // Either way the box is back on "Show Marks".
                EXPECT_EQ(ui.ComboBox17->currentIndex(), 1);
                EXPECT_EQ(boxColour(), shown);
            }
        }
    }
    EXPECT_EQ(prompter.unanswered, 0);
}

struct ShiftClick {
    const char* name;
    int item; // ComboBox17
    Qt::MouseButton button;
    Modifiers keys;
    int column;
    std::array<int, 6> before, after; // frames 0 .. 5
};

const ShiftClick CLICKS[] = {
    {"left Shift raises the clicked frame",
     2,
     Qt::LeftButton,
     {.leftShift = true},
     4,
     {0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 1, 0}},
    {"a red marker stays red",
     2,
     Qt::LeftButton,
     {.leftShift = true},
     4,
     {0, 0, 0, 0, 3, 0},
     {0, 0, 0, 0, 3, 0}},
    {"right Shift lowers five frames around",
     2,
     Qt::RightButton,
     {.leftShift = true},
     3,
     {3, 1, 2, 3, 1, 2},
     {3, 0, 1, 2, 0, 1}},
    {"on frame 1 it stops at frame 0",
     2,
     Qt::RightButton,
     {.leftShift = true},
     1,
     {1, 2, 3, 1, 2, 0},
     {0, 1, 2, 0, 2, 0}},
    {"without Shift the click only moves the cursor",
     2,
     Qt::LeftButton,
     {},
     4,
     {0, 0, 0, 0, 1, 0},
     {0, 0, 0, 0, 1, 0}},
    {"left Ctrl edits nothing",
     2,
     Qt::RightButton,
     {.leftCtrl = true},
     3,
     {1, 1, 1, 1, 1, 1},
     {1, 1, 1, 1, 1, 1}},
    {"only in the Change Mark mode",
     1,
     Qt::LeftButton,
     {.leftShift = true},
     4,
     {0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0}},
};

TEST_F(MarkersWindow, ShiftClicksEditSingleFrames) {
    for (const ShiftClick& c : CLICKS) {
        SCOPED_TRACE(c.name);
        ui.ComboBox17->setCurrentIndex(c.item);
        setStatuses(0,
                    {c.before[0], c.before[1], c.before[2], c.before[3], c.before[4], c.before[5]});
        clickPicture(c.button, c.column, c.keys);
        for (int f = 0; f < 6; ++f) EXPECT_EQ(status(f), c.after[std::size_t(f)]) << f;
    }
    EXPECT_TRUE(prompter.shown.empty()) << "single edits ask nothing";
}

TEST_F(MarkersWindow, FlagsShowTheStatusColourUnlessSwitchedOff) {
    const auto flag = [this](int column) {
        return form->overlayImage().pixel(X0 + 2 * column, Y0 - 5);
    };
    ui.ComboBox17->setCurrentIndex(2);
    EXPECT_EQ(boxColour(), QColor(0xFF, 0xFF, 0x00));
    setStatuses(20, {0});
    ui.Image6->onMouseDown(Qt::LeftButton, QPoint(X0 + 40, Y0 + 100)); // redraw unmarked
    const QRgb unmarked = flag(20);
    clickPicture(Qt::LeftButton, 20, {.leftShift = true});
    EXPECT_EQ(flag(20), qRgb(0x01, 0, 0)) << "black";
    clickPicture(Qt::LeftButton, 20, {.leftShift = true});
    EXPECT_EQ(flag(20), qRgb(0, 0x66, 0xFF)) << "blue";
    clickPicture(Qt::LeftButton, 20, {.leftShift = true});
    EXPECT_EQ(flag(20), qRgb(0xFF, 0, 0)) << "red";
    ui.ComboBox17->setCurrentIndex(0);
    EXPECT_EQ(flag(20), unmarked) << "markers switched off";
    EXPECT_EQ(status(20), 3);
}

struct NoTraceView final : MainView {
    void recolour() override {}
    void reprocess() override {}
    void drawOverlay() override {}
};

TEST_F(MarkersWindow, BulkItemsDoNothingOutsideTheRadargram) {
    NoTraceView slices;
    form->registerView(8, &slices);
    store->stateFlags = uint16_t((store->stateFlags & ~state::ViewMask) | 8);
    setStatuses(10, {1, 2, 3});
    ui.ComboBox17->setCurrentIndex(6);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(status(10), 1);
    EXPECT_EQ(status(12), 3);
    // The box names the mode it stays in, not an operation that did not run.
    EXPECT_EQ(ui.ComboBox17->currentIndex(), 1);
    form.reset();
}

} // namespace
} // namespace tesk::testing
