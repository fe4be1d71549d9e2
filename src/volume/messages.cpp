#include "volume/messages.h"

#include <cmath>
#include <cstdio>

namespace tesk::msg {

namespace {
std::string extremes(int xMax, int xMin, int yMax, int yMin) {
    return "X-max = " + std::to_string(xMax) + "\r" + "X-min = " + std::to_string(xMin) + "\r" +
           "Y-max = " + std::to_string(yMax) + "\r" + "Y-min = " + std::to_string(yMin);
}

// At most two decimals, no trailing zeros.
std::string plainNumber(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.2f", v);
    std::string s = b;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}
} // namespace

Message volumeExtentError(int frameXMax, int frameXMin, int frameYMax, int frameYMin) {
    const std::string tail = extremes(frameXMax, frameXMin, frameYMax, frameYMin);
    return Message{Icon::Error, Buttons::Ok,
                   "Ошибка Координат!\rШаг профиля = 0 или >100m.\r" + tail,
                   "Error coordinates!\rStep profile =0 or >100m.\r" + tail};
}

Message placementExtentError(double step, int frameXMax, int frameXMin, int frameYMax,
                             int frameYMin) {
    const std::string tail =
        plainNumber(step) + "cm." + "\r" + extremes(frameXMax, frameXMin, frameYMax, frameYMin);
    return Message{Icon::Error, Buttons::Ok, "Ошибка Координат!\rШаг профиля = " + tail,
                   "Error coordinates!\rStep profile = " + tail};
}

Message volumePassCaption() {
    return Message{Icon::Information, Buttons::Ok,
                   "Пожалуйста подождите. Идет обработка измененных параметров",
                   "Please wait. There is a loading and processing of a file"};
}

Message cubeViewNeedsOpenGL() {
    return Message{Icon::Information, Buttons::Ok,
                   "Для 3D-вида нужен OpenGL, а этот экран его не даёт.\r"
                   "Объём, плоскости сечения и остальные команды работают.",
                   "The 3D view needs OpenGL, which this display does not provide.\r"
                   "The volume, the plane slices and every other command still work."};
}

} // namespace tesk::msg
