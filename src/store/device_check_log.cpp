#include "store/device_check_log.h"

#include <cstdio>
#include <string>

namespace tesk::geo {

namespace {

// A recording whose every frame carries a faulty positioning text would
// otherwise fill the log with millions of lines; the first findings are
// enough to show what is wrong.
constexpr int MAX_LOGGED_FINDINGS = 10000;

struct CheckText {
    const char* ru;
    const char* en;
};

constexpr CheckText WRONG_END{"Неправильный конец файла!", "Wrong end of the file."};

CheckText checkText(int code) {
    switch (code) {
    case 1:
        return {"Количество измерений > 64000. ", "Number of measurements > 64000. "};
    case 2:
    case 4:
    case 5:
        return WRONG_END;
    case 3:
        return {"Нет ключа начала блока А1!", "There is no key to start the measurement block!"};
    case 6:
        return {"Нет ключа начала блока GPS!",
                "There is no key to start the measurement block GPS!"};
    case 7:
        return {"Нет Данных GPS! (FF)", "No Data GPS! (FF)"};
    case 10:
        return {"Широта. Ошибка данных !", "Latitude. Data Error !"};
    case 11:
        return {"Широта > 90 гр.!", "Latitude > 90 gr.!"};
    case 12:
        return {"Широта. Минуты. Ошибка данных !", "Latitude. Data Error !"};
    case 13:
        return {"Широта. Минуты. Ошибка данных !", "Latitude, Minutes. Data Error!"};
    case 14:
        return {"Широта. Минуты. Ошибка данных!", "Latitude. Minutes. Data Error!"};
    case 15:
        return {"Широта. Минуты. Десятичные. Ошибка данных!",
                "Latitude. Minutes. Decimal. Data Error !"};
    case 16:
        return {"Широта. Ошибка данных. (N/S)!", "Latitude. Data Error. (N/S)!"};
    case 20:
        return {"Долгота. Ошибка данных !", "Longitude. Data Error !"};
    case 21:
        return {"Долгота > 180 гр.!", "Longitude. > 180 gr.!"};
    case 22:
        return {"Долгота. Минуты. Ошибка данных !", "Longitude. Data Error !"};
    case 23:
        return {"Долгота. Минуты. Ошибка данных !", "Longitude. Minutes. Data Error!"};
    case 24:
        return {"Долгота. Минуты. Ошибка данных!", "Longitude. Minutes. Data Error!"};
    case 25:
        return {"Долгота. Минуты. Десятичные. Ошибка данных!",
                "Longitude. Minutes. Decimal. Data Error !"};
    case 26:
        return {"Долгота. Ошибка данных. (E/W)!", "Longitude. Data Error. (E/W)!"};
    case 31:
    case 32:
        return {"День. Ошибка данных!", "Day. Data Error !"};
    case 33:
    case 34:
        return {"Месяц. Ошибка данных!", "Month. Data Error !"};
    case 35:
        return {"Год. Ошибка данных!", "Year. Data Error !"};
    case 41:
    case 42:
    case 43:
    case 44:
    case 45:
    case 46:
        return {"Точность. Ошибка данных!", "Deviation. Data Error !"};
    default: // 50
        return {"Спутники. Ошибка данных!", "Satellites. Data Error !"};
    }
}

} // namespace

void CheckLog::finding(int code, int frame) {
    faulty_ = true;
    if (++findings_ > MAX_LOGGED_FINDINGS) return;
    char c[16];
    std::snprintf(c, sizeof c, "ERROR. E%02d.C", code);
    std::string line = c;
    if (frame >= 0) line += " " + std::to_string(frame);
    log_.lines.push_back(std::move(line));
    const CheckText t = checkText(code);
    log_.lines.emplace_back(english_ ? t.en : t.ru);
    log_.lines.emplace_back();
}

} // namespace tesk::geo
