// Every question and message of the editing and resampling commands, in both
// languages, as the commands show them.

#include "editing/frame_editing.h"
#include "editing/resampling.h"
#include "editing_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tesk::testing {
namespace {

using namespace tesk::editing;

struct MessageCase {
    const char* name;
    std::function<void(ProfileStore&)> survey;
    std::function<void(ProfileStore&, EditTools&, Interaction&)> command;
    int index; // which message of the command; earlier ones are answered Yes
    Buttons buttons;
    const char* ru;
    const char* en;
};

std::ostream& operator<<(std::ostream& os, const MessageCase& c) {
    return os << c.name;
}

EditInputs at(int cursor, int item) {
    EditInputs in;
    in.cursorFrame = cursor;
    in.blockItem = item;
    return in;
}

void small(ProfileStore& s) {
    buildSurvey(s, {{0, 10}, {15, 10}});
}
void nearTheEnd(ProfileStore& s) {
    buildSurvey(s, {{63000, 761}}); // frameCount 63800
}
void half(ProfileStore& s) {
    buildSurvey(s, {{0, 10}, {31960, 10}}); // frameCount 32000
}
void timeRange(ProfileStore& s, int item) {
    small(s);
    s.header.value[hdr::TimeRange] = uint8_t(item);
}

std::vector<MessageCase> cases() {
    const auto yesNo = Buttons::YesNo;
    const auto ok = Buttons::Ok;
    return {
        {"ConfirmShiftRight", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             ShiftFramesRight(s, t, ui, at(0, 2));
         },
         0, yesNo, "Сдвиг данных на 100 кадров Вправо.\rПродолжить?",
         "The displacement to the right data at the 100 frames.\rContinue?"},
        {"ShiftRightCritical", nearTheEnd,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             ShiftFramesRight(s, t, ui, at(63500, 6));
         },
         1, yesNo,
         "Общее количество Кадров критично для сдвига\rВы можете продолжить, но возможна "
         "потеря последних кадров",
         "The total of the Staff is critical for shift\rYou can continue, but loss of last staff "
         "is probable"},
        {"ConfirmShiftLeft", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             ShiftFramesLeft(s, t, ui, at(0, 2));
         },
         0, yesNo, "Сдвиг данных Влево до позиции курсора.\rПродолжить?",
         "Data displacement left joint to the cursor.\rContinue?"},
        {"NoProfileToCopy", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             copyFrames(s, t, ui, at(12, PROFILE_ITEM));
         },
         0, ok, "Ошибка! Нет профиля.\rУстановите курсор на профиль",
         "ERROR! No profile.\rSet the cursor on the profile."},
        {"NoProfileToDelete", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             DeleteFrames(s, t, ui, at(12, PROFILE_ITEM), DeleteRange::Block);
         },
         0, ok, "Ошибка! Нет профиля.\rУстановите курсор на профиль",
         "ERROR! No profile.\rSet the cursor on the profile."},
        {"PasteTooLarge", nearTheEnd,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             t.clipboard = {true, 0};
             pasteFrames(s, t, ui, at(63000, 6));
         },
         0, ok, "Файл будет иметь > 64000 Кадров", "File will have > 64000 kadrs"},
        {"ConfirmDelete", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             DeleteFrames(s, t, ui, at(3, 3), DeleteRange::Block);
         },
         0, yesNo, "Вы действительно хотите удалить 200 кадров?",
         "You really want to remove 200 kadrs?"},
        {"DoublingTooLarge", half,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleX(s, t, ui, at(0, 2), XResampling::Double);
         },
         0, yesNo,
         "Выходной файл будет иметь > 64000 кадров > \rВы потеряете часть информации!\rПродолжить?",
         "The file will have > 64000 staff  \rYou will lose a part of the "
         "information!\rContinue?"},
        {"ConfirmDoubling", half,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleX(s, t, ui, at(0, 2), XResampling::Double);
         },
         1, yesNo, "Файл, по шкале <Х> будет увеличен вдвое\rПродолжить?",
         "The file, on scale <X> will be Increased twice\rContinue?"},
        {"ConfirmHalving", small,
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleX(s, t, ui, at(0, 2), XResampling::Halve);
         },
         0, yesNo, "Файл, по шкале <Х> будет уменьшен вдвое\rПродолжить?",
         "The file, on scale <X> will be Decreased twice\rContinue?"},
        {"ConfirmExpandT", [](ProfileStore& s) { timeRange(s, 2); },
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleT(s, t, ui, TResampling::Expand);
         },
         0, yesNo, "Файл будет увеличен по оси Т.\rПродолжить?",
         "The file will be increased on the axis T.\rContinue?"},
        {"ExpandAtMaximum", [](ProfileStore& s) { timeRange(s, 0); },
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleT(s, t, ui, TResampling::Expand);
         },
         1, yesNo, "Файл максимально увеличен!\rПродолжить?", "The file is maximized! \rContinue?"},
        {"CompressAtMaximum", [](ProfileStore& s) { timeRange(s, 7); },
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleT(s, t, ui, TResampling::Compress);
         },
         0, ok, "Файл максимально сжат по оси Т!", "The file is maximally compressed (T axis)!"},
        {"ConfirmCompressT", [](ProfileStore& s) { timeRange(s, 2); },
         [](ProfileStore& s, EditTools& t, Interaction& ui) {
             resampleT(s, t, ui, TResampling::Compress);
         },
         0, yesNo, "Файл будет сжат по оси Т.\rПродолжить?",
         "The file will be compressed along the T axis.\rContinue?"},
    };
}

class EditingMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(EditingMessage, IsShownWithItsExactTextsInBothLanguages) {
    const MessageCase& c = GetParam();
    auto s = newStore();
    c.survey(*s);
    EditTools tools;
    RecordingInteraction ui;
    answerYes(ui, c.index);
    ui.answers.push_back(Answer::No);
    c.command(*s, tools, ui);
    ASSERT_GT(int(ui.shown.size()), c.index);
    const Message& m = ui.shown[std::size_t(c.index)];
    EXPECT_EQ(m.icon, Icon::Warning);
    EXPECT_EQ(m.buttons, c.buttons);
    EXPECT_EQ(m.ru, c.ru);
    EXPECT_EQ(m.en, c.en);
    EXPECT_EQ(m.text(true), c.en);
    EXPECT_EQ(m.text(false), c.ru);
}

INSTANTIATE_TEST_SUITE_P(Commands, EditingMessage, ::testing::ValuesIn(cases()),
                         [](const auto& i) { return std::string(i.param.name); });

} // namespace
} // namespace tesk::testing
