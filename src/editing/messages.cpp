#include "editing/messages.h"

namespace tesk::editing::msg {

namespace {
Message question(std::string ru, std::string en) {
    return Message{Icon::Warning, Buttons::YesNo, std::move(ru), std::move(en)};
}
Message notice(std::string ru, std::string en) {
    return Message{Icon::Warning, Buttons::Ok, std::move(ru), std::move(en)};
}
} // namespace

Message confirmShiftRight(int frames) {
    const std::string k = std::to_string(frames);
    return question("Сдвиг данных на " + k + " кадров Вправо." + "\r" + "Продолжить?",
                    "The displacement to the right data at the " + k + " frames." + "\r" +
                        "Continue?");
}

Message shiftRightCritical() {
    return question("Общее количество Кадров критично для сдвига\rВы можете продолжить, но "
                    "возможна потеря последних кадров",
                    "The total of the Staff is critical for shift\rYou can continue, but loss "
                    "of last staff is probable");
}

Message confirmShiftLeft() {
    return question("Сдвиг данных Влево до позиции курсора.\rПродолжить?",
                    "Data displacement left joint to the cursor.\rContinue?");
}

Message noProfileAtCursor() {
    return notice("Ошибка! Нет профиля.\rУстановите курсор на профиль",
                  "ERROR! No profile.\rSet the cursor on the profile.");
}

Message pasteTooLarge() {
    return notice("Файл будет иметь > 64000 Кадров", "File will have > 64000 kadrs");
}

Message confirmDelete(int frames) {
    const std::string n = std::to_string(frames);
    return question("Вы действительно хотите удалить " + n + " кадров?",
                    "You really want to remove " + n + " kadrs?");
}

Message doublingTooLarge() {
    return question("Выходной файл будет иметь > 64000 кадров > \rВы потеряете часть "
                    "информации!\rПродолжить?",
                    "The file will have > 64000 staff  \rYou will lose a part of the "
                    "information!\rContinue?");
}

Message confirmDoubling() {
    return question("Файл, по шкале <Х> будет увеличен вдвое\rПродолжить?",
                    "The file, on scale <X> will be Increased twice\rContinue?");
}

Message confirmHalving() {
    return question("Файл, по шкале <Х> будет уменьшен вдвое\rПродолжить?",
                    "The file, on scale <X> will be Decreased twice\rContinue?");
}

Message confirmExpandT() {
    return question("Файл будет увеличен по оси Т.\rПродолжить?",
                    "The file will be increased on the axis T.\rContinue?");
}

Message expandAtMaximum() {
    return question("Файл максимально увеличен!\rПродолжить?",
                    "The file is maximized! \rContinue?");
}

Message compressAtMaximum() {
    return notice("Файл максимально сжат по оси Т!", "The file is maximally compressed (T axis)!");
}

Message confirmCompressT() {
    return question("Файл будет сжат по оси Т.\rПродолжить?",
                    "The file will be compressed along the T axis.\rContinue?");
}

const std::array<ButtonText, 9> BUTTON_TEXTS = {{
    {"SpeedButton26", "SR", "Сдвинуть кадры Вправо", "Move frames to Right"},
    {"SpeedButton27", "SL", "Сдвинуть кадры Влево", "Move frames to Left"},
    {"SpeedButton28", "Ck", "Копировать кадры в буфер обмена", "Copy frames in clipboard "},
    {"SpeedButton29", "Pk", "Вставить кадры из буфера обмена", "Paste frames from clipboard"},
    {"SpeedButton30", "Dk", "Удалить кадр(ы)", "Delete frame(s)"},
    {"SpeedButton13", "", "Перевернуть профиль зеркально", "Invert mirror a profile"},
    {"SpeedButton14", "", "Сдвинуть профиль вверх", "Move profile to up"},
    {"SpeedButton31", "cX", "Изменить файл по оси X", "To change a file on X -axis"},
    {"SpeedButton32", "cT", "Изменить файл по оси Y", "To change a file on Y -axis"},
}};

} // namespace tesk::editing::msg
