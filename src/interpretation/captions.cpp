#include "interpretation/captions.h"

namespace tesk {

const std::array<std::string, 4>& velocityMethodItems(bool english) {
    static const std::array<std::string, 4> ru = {" 0 = Гипербола", " 1 = Годограф Р",
                                                  " 2 = Годограф А", " 3 = Годограф В "};
    // Picked by hand, followed automatically, scanned.
    static const std::array<std::string, 4> en = {" 0 = Hyperbola", " 1 = Hodograph M",
                                                  " 2 = Hodograph A", " 3 = Hodograph S "};
    return english ? en : ru;
}

const std::array<std::string, 3>& phaseItems(bool english) {
    static const std::array<std::string, 3> ru = {" Максимум", " Ноль", " Минимум"};
    static const std::array<std::string, 3> en = {" Maximum", " Zero", " Minimum"};
    return english ? en : ru;
}

const std::array<std::string, 9>& layerItems(bool english) {
    static const std::array<std::string, 9> ru = {"Нет границ", " 1 слой", " 2 слой",
                                                  " 3 слой",    " 4 слой", " 5 слой",
                                                  " 6 слой",    " 7 слой", " 8 слой"};
    static const std::array<std::string, 9> en = {"No borders", " 1 stratum", " 2 stratum",
                                                  " 3 stratum", " 4 stratum", " 5 stratum",
                                                  " 6 stratum", " 7 stratum", " 8 stratum"};
    return english ? en : ru;
}

std::string snapCaption(bool checked, bool english) {
    if (checked) return english ? "Automatic" : "Авто";
    return english ? "Manual" : "Ручной";
}

uint32_t checkBoxFontColour(bool checked) {
    return checked ? 0x000080 : 0x800000;
}

} // namespace tesk
