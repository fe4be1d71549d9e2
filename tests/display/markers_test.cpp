// Marker statuses after every command on hand-built surveys: the bulk items
// of the marker box with their questions and answers, the Shift-clicks on
// single frames, and the flags over the radargram at known pixels.

#include "display/markers.h"

#include "display/pixel_canvas.h"
#include "support/store_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tesk {
namespace {

using testing::RecordingInteraction;

constexpr uint8_t OTHER_BITS = status::InProfile | status::Reversed;

// One survey for the file (80 MB); each test starts with frames 0..9 holding
// the given statuses beside other status bits, frameCount 9, frame 10 marked
// red as a frame beyond the survey that no bulk operation may touch.
ProfileStore& survey(const std::vector<int>& statuses) {
    static const std::unique_ptr<ProfileStore> s = std::make_unique<ProfileStore>();
    for (int f = 0; f <= 20; ++f) s->frame(f) = FrameRecord{};
    for (std::size_t f = 0; f < statuses.size(); ++f)
        s->frame(int(f)).value[cell::Status] = uint8_t(OTHER_BITS | statuses[f]);
    s->frame(10).value[cell::Status] = 3;
    s->frameCount = 9;
    s->viewStart = 0;
    s->stateFlags = 0;
    return *s;
}

std::vector<int> statuses(const ProfileStore& s, int count) {
    std::vector<int> v;
    for (int f = 0; f < count; ++f) {
        EXPECT_EQ(s.frame(f).status() & ~status::MarkerMask, OTHER_BITS) << "frame " << f;
        v.push_back(s.frame(f).markerStatus());
    }
    return v;
}

TEST(MarkerBulk, AsksThenChangesEveryStatusAndReturnsTheBoxToShowMarks) {
    const char* raiseEn = "Status of marks will be advanced!\rWant to continue?";
    const char* raiseRu = "Статус маркеров будет повышен\rПродолжить?";
    const char* deleteEn = "You really want to delete All the mark?\rWant to continue?";
    const char* deleteRu = "Все метки будут удалены \rПродолжить?";
    struct Row {
        int item;
        Answer answer;
        std::vector<int> before, after;
        const char *en, *ru;
    };
    // clang-format off
    const Row rows[] = {
        {markerItem::Raise, Answer::Yes, {0, 1, 2, 3}, {0, 2, 3, 3}, raiseEn, raiseRu},
        {markerItem::LowerTo1, Answer::Yes, {0, 1, 2, 3}, {0, 1, 1, 2},
         "Status of marks will be reduced!\rWant to continue?",
         "Статус маркеров будет уменьшен\rПродолжить?"},
        {markerItem::LowerTo0, Answer::Yes, {0, 1, 2, 3}, {0, 0, 1, 2},
         "Status of marks will be reduced!\rBlack marks will be delete!\rWant to continue?",
         "Статус маркеров будет уменьшен\rЧерные маркеры будет удалены\rПродолжить?"},
        {markerItem::DeleteAll, Answer::Yes, {0, 1, 2, 3}, {0, 0, 0, 0}, deleteEn, deleteRu},
        {markerItem::DeleteAll, Answer::No, {0, 1, 2, 3}, {0, 1, 2, 3}, deleteEn, deleteRu},
        {markerItem::Raise, Answer::No, {1, 2}, {1, 2}, raiseEn, raiseRu},
    };
    // clang-format on
    for (const Row& c : rows) {
        ProfileStore& s = survey(c.before);
        RecordingInteraction ui;
        ui.answers.push_back(c.answer);
        const MarkerBoxChange r = markerBoxChange(s, c.item, ui);
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].en, c.en);
        EXPECT_EQ(ui.shown[0].ru, c.ru);
        EXPECT_EQ(ui.shown[0].buttons, Buttons::YesNo);
        EXPECT_EQ(statuses(s, int(c.before.size())), c.after) << c.en;
        EXPECT_EQ(s.frame(10).markerStatus(), 3); // beyond frameCount
        EXPECT_EQ(r.item, markerItem::Show);
        EXPECT_EQ(r.boxColour, markerBox::Shown);
        const bool changed = c.before != c.after;
        EXPECT_EQ(r.statusesChanged, changed);
        EXPECT_EQ((s.stateFlags & state::Changed) == state::Changed, changed);
    }
}

TEST(MarkerBox, ShowItemsColourTheBoxAndEditsActOnlyInTheRadargramView) {
    struct Row {
        int item;
        uint16_t view;
        std::optional<uint32_t> colour;
        int itemAfter;
    };
    const Row rows[] = {
        {markerItem::Off, 0, markerBox::SystemColour, markerItem::Off},
        {markerItem::Show, 0, markerBox::Shown, markerItem::Show},
        {markerItem::Change, 0, markerBox::Edit, markerItem::Change},
        {markerItem::Change, 8, std::nullopt, markerItem::Change},
        {markerItem::DeleteAll, 8, std::nullopt, markerItem::DeleteAll},
        {markerItem::Raise, 0x10, std::nullopt, markerItem::Raise},
    };
    for (const Row& r : rows) {
        ProfileStore& s = survey({1, 2, 3});
        s.stateFlags = r.view;
        RecordingInteraction ui; // any question fails the test
        const MarkerBoxChange c = markerBoxChange(s, r.item, ui);
        EXPECT_EQ(c.boxColour, r.colour) << r.item << " view " << r.view;
        EXPECT_EQ(c.item, r.itemAfter);
        EXPECT_TRUE(ui.shown.empty());
        EXPECT_EQ(statuses(s, 3), (std::vector<int>{1, 2, 3}));
    }
}

TEST(MarkerShiftClick, RaisesTheClickedFrameOrLowersTheFiveAroundIt) {
    struct Row {
        const char* name;
        int item;
        MouseButton button;
        bool shift;
        int column;
        std::vector<int> after;
    };
    // Frames 0..6 start at 2, 2, 2, 2, 2, 3, 0; the survey is in view from frame 0.
    const Row rows[] = {
        {"right on frame 1 lowers 3, 2, 1 and 0",
         markerItem::Change,
         MouseButton::Right,
         true,
         1,
         {1, 1, 1, 1, 2, 3, 0}},
        {"right on frame 4 lowers 6 down to 2",
         markerItem::Change,
         MouseButton::Right,
         true,
         4,
         {2, 2, 1, 1, 1, 2, 0}},
        {"left raises below 3",
         markerItem::Change,
         MouseButton::Left,
         true,
         6,
         {2, 2, 2, 2, 2, 3, 1}},
        {"left stops at red",
         markerItem::Change,
         MouseButton::Left,
         true,
         5,
         {2, 2, 2, 2, 2, 3, 0}},
        {"needs left Shift",
         markerItem::Change,
         MouseButton::Left,
         false,
         6,
         {2, 2, 2, 2, 2, 3, 0}},
        {"needs the change item",
         markerItem::Show,
         MouseButton::Right,
         true,
         1,
         {2, 2, 2, 2, 2, 3, 0}},
    };
    for (const Row& r : rows) {
        ProfileStore& s = survey({2, 2, 2, 2, 2, 3, 0});
        const ViewState v;
        const Point at{v.ViewOrigin.x + 2 * r.column + 1, v.ViewOrigin.y + 100};
        const bool changed =
            markerShiftClick(s, v, MarkerSettings{r.item}, r.button, NavKeys{r.shift, false}, at);
        EXPECT_EQ(statuses(s, 7), r.after) << r.name;
        EXPECT_EQ(changed, r.after != std::vector<int>({2, 2, 2, 2, 2, 3, 0})) << r.name;
    }
}

TEST(MarkerFlags, DrawAStrokeAndDiamondInTheStatusColourAboveTheFrame) {
    ProfileStore& s = survey({0, 0, 0, 0, 0, 2, 0, 0, 1, 3});
    s.viewStart = 2; // frame 5 at view column 3, frame 8 at 6, frame 9 at 7
    const ViewState v;
    const int X0 = v.ViewOrigin.x, Y0 = v.ViewOrigin.y;
    QImage overlay(300, 200, QImage::Format_ARGB32_Premultiplied);
    struct Px {
        int x, y;
        std::optional<uint32_t> colour; // none: left transparent
    };
    const int x = X0 + 6; // frame 5, blue
    const std::vector<Px> blue = {
        {x, Y0 - 7, 0xFF6600},         {x, Y0 + 3, 0xFF6600},         {x, Y0 + 4, std::nullopt},
        {x, Y0 - 8, std::nullopt},     {x - 1, Y0 - 6, 0xFF6600},     {x + 1, Y0 - 6, 0xFF6600},
        {x + 2, Y0 - 6, std::nullopt}, {x - 2, Y0 - 5, 0xFF6600},     {x + 2, Y0 - 4, 0xFF6600},
        {x + 3, Y0 - 4, std::nullopt}, {x - 2, Y0 - 3, std::nullopt}, {x + 1, Y0 - 3, 0xFF6600},
        {X0 + 12, Y0, 0x000001},       {X0 + 14, Y0, 0x0000FF},       {X0 + 8, Y0, std::nullopt},
    };
    overlay.fill(Qt::transparent);
    paintMarkerFlags(overlay, s, v, MarkerSettings{markerItem::Show});
    for (const Px& p : blue) {
        const QRgb px = overlay.pixel(p.x, p.y);
        if (p.colour)
            EXPECT_EQ(bgrOf(px), *p.colour) << p.x - x << "," << p.y - Y0;
        else
            EXPECT_EQ(qAlpha(px), 0) << p.x - x << "," << p.y - Y0;
    }
    // Switched off, or in another view: nothing.
    for (auto [item, view] : {std::pair{markerItem::Off, 0}, std::pair{markerItem::Show, 8}}) {
        s.stateFlags = uint16_t(view);
        overlay.fill(Qt::transparent);
        paintMarkerFlags(overlay, s, v, MarkerSettings{item});
        EXPECT_EQ(qAlpha(overlay.pixel(x, Y0 - 7)), 0) << item << " " << view;
    }
}

} // namespace
} // namespace tesk
