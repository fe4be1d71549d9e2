#include "coordinates/messages.h"

namespace tesk::coordmsg {

namespace {
Message make(Icon icon, Buttons b, std::string ru, std::string en) {
    return Message{icon, b, std::move(ru), std::move(en)};
}
Message warnOk(std::string ru, std::string en) {
    return make(Icon::Warning, Buttons::Ok, std::move(ru), std::move(en));
}
Message askYesNo(std::string ru, std::string en) {
    return make(Icon::Warning, Buttons::YesNo, std::move(ru), std::move(en));
}
Message infoOk(std::string ru, std::string en) {
    return make(Icon::Information, Buttons::Ok, std::move(ru), std::move(en));
}
std::string num(long v) {
    return std::to_string(v);
}
const char* placeRu(Place p) {
    switch (p) {
    case Place::Cursor:
        return "Курсор.";
    case Place::Start:
        return "Начало профиля.";
    case Place::End:
        return "Конец профиля.";
    case Place::Marker:
        break;
    }
    return "Маркер.";
}
const char* placeEn(Place p) {
    switch (p) {
    case Place::Cursor:
        return "Cursor.";
    case Place::Start:
        return "Start the profile.";
    case Place::End:
        return "End profile.";
    case Place::Marker:
        break;
    }
    return "Marker.";
}
const std::string CONTINUE_RU = "\rПродолжить?";
const std::string CONTINUE_EN = "\rContinue?";

// A question about one coordinate of a frame: the English form names the
// cursor after the frame index.
Message oneCoordinateZero(const char* ru, const char* en, Place p, int frame) {
    const std::string ruText =
        std::string(ru) + placeRu(p) + " Позиция " + num(frame) + CONTINUE_RU;
    std::string enText;
    if (p == Place::Cursor)
        enText = std::string(en) + "Position " + num(frame) + "\r" + "Cursor. Continue?";
    else
        enText = std::string(en) + placeEn(p) + " Position " + num(frame) + CONTINUE_EN;
    return askYesNo(ruText, enText);
}
} // namespace

Message corFound() {
    return make(Icon::Information, Buttons::YesNoNoToAll,
                "Найден файл GPS координат и высот.\rИзменить координаты и высоту.?",
                "Found file GPS coordinate.\rChange coordinates?");
}
Message corChangeDate() {
    return make(Icon::Information, Buttons::YesNo, "Изменить Дату?", "Change Date?");
}
Message corChangeTime() {
    return make(Icon::Information, Buttons::YesNo, "Изменить Время?", "Change Time?");
}
Message corChangeHeight() {
    return make(Icon::Information, Buttons::YesNo, "Изменить Высоту?", "Change Height?");
}
Message corFramesOutside(int lines) {
    return warnOk("Строк файла координат с номером кадра больше 64000: " + num(lines) +
                      ".\rЭти строки не загружены.",
                  "Lines of the coordinate file with a frame number above 64000: " + num(lines) +
                      ".\rThese lines were not loaded.");
}

Message gpxClearQuestion() {
    return make(Icon::Warning, Buttons::YesNoCancel,
                "Внимание! \rКоординаты X, Y, H будут обнулены.\rПродолжить?",
                "Attention!\rCoordinates X, Y, H will be cleared.\rContinue?");
}
Message gpxIncompatible(const std::string& name) {
    return warnOk("Ошибка!(E022). Файл = " + name + "\r" + "не соответствует формату <GPX>",
                  "ERROR(E022). File = " + name + "\r" + "incompatible format <GPX>");
}
Message gpxLoaded(const std::string& name) {
    return warnOk("Файл = " + name + "загружен.", "File = " + name + "downloaded");
}

namespace {
Message lineQuestion(const std::string& ru, const std::string& en, int n) {
    return askYesNo(ru + "\rНомер строки " + num(n) + CONTINUE_RU,
                    en + "\rLine number " + num(n) + CONTINUE_EN);
}
} // namespace

Message txtNoCoordinates(int n) {
    return lineQuestion("Ошибка\rНет координат ", "Error! \rNo coordinates ", n);
}
Message txtNoLatitudeAndHeight(int n) {
    return lineQuestion("Ошибка\rНет координат Широты и Высоты",
                        "Error! \rNo coordinates Latitude and H", n);
}
Message txtNoHeightAfterLatDegrees(int n) {
    return lineQuestion("Ошибка\rНет координат высоты", "Error! \rNo coordinates  H", n);
}
Message txtNoHeightAfterLatFraction(int n) {
    return lineQuestion("Ошибка\rНет координат Высоты", "Error! \rNo coordinates H", n);
}
Message txtNoYAndHeight(int n) {
    return lineQuestion("Ошибка\rНет координаты Y и Н", "Error! \rNo coordinates Y и Н", n);
}
Message txtNoRectHeight(int n) {
    return lineQuestion("Ошибка\rНет координаты H", "Error! \rNo coordinate Н", n);
}
Message txtLongitudeRange(int n) {
    return askYesNo("Ошибка! Координаты долготы.\rНомер строки " + num(n) + CONTINUE_RU,
                    "Error! Longitude coordinate.\rLine number " + num(n) + CONTINUE_EN);
}
Message txtLatitudeRange(int n) {
    return askYesNo("Ошибка! Координаты Широты.\rНомер строки " + num(n) + CONTINUE_RU,
                    "Error! Latitude coordinate.\rLine number " + num(n) + CONTINUE_EN);
}
Message txtLoaded(const std::string& name) {
    return infoOk("Файл = " + name + " загружен.", "File = " + name + " downloaded");
}
Message txtLinesLeftOver(int lines) {
    return warnOk("В файле больше строк, чем ключевых кадров в профилях.\rНе загружено строк: " +
                      num(lines),
                  "The file has more lines than the profiles have key frames.\rLines not loaded: " +
                      num(lines));
}

Message ucsRecalculated() {
    return askYesNo("Внимание! \rКоординаты ПСК X и Y будут пересчитаны.\rПродолжить?",
                    "Attention!\rCoordinates UCS X and Y will be recalculated.\rContinue?");
}
Message ucsRecalculatedMode1() {
    return askYesNo("Внимание! \rКоординаты ПСК X и Y будут пересчитаны.\rПродолжить?",
                    "Attention!\rCoordinates UCS will be recalculated.\rContinue?");
}
Message reliefWillChange() {
    return askYesNo("Внимание! \rВысота рельефа будет изменена.\rПродолжить?",
                    "Attention!\rThe relief height will be changed.\rContinue?");
}
Message endOfFile() {
    return infoOk("Это Конец ... файла", "This is the End ... of file.");
}

Message coordinatesZeroStop(Place p, int frame) {
    return infoOk(std::string("Ошибка!\rКоординаты равны нулю.\r") + placeRu(p) + " Позиция " +
                      num(frame),
                  std::string("Error!\rThe coordinates are zero.\r") + placeEn(p) + " Position " +
                      num(frame));
}
Message longitudeZero(Place p, int frame) {
    return oneCoordinateZero("Долгота равна нулю.\r", "Longitude is equal to zero.\r", p, frame);
}
Message latitudeZero(Place p, int frame) {
    return oneCoordinateZero("Широта равна нулю.\r", "Latitude is equal to zero.\r", p, frame);
}
Message rectangularZero(Place p, int frame, bool withDot) {
    const std::string dot = withDot ? "." : "";
    return askYesNo(std::string("Координаты равны нулю.\r") + placeRu(p) + " Позиция " +
                        num(frame) + dot + CONTINUE_RU,
                    std::string("The coordinates are zero.\r") + placeEn(p) + " Position " +
                        num(frame) + dot + CONTINUE_EN);
}
Message heightZero(Place p, int frame) {
    return askYesNo(std::string("Высота равна нулю.\r") + placeRu(p) + " Позиция " + num(frame) +
                        CONTINUE_RU,
                    std::string("The height is zero.\r") + placeEn(p) + " Position " + num(frame) +
                        CONTINUE_EN);
}

Message originDistanceLongitude(int frame) {
    return askYesNo("Ошибка. Долгота.\rРасстояние от начала координат > 100 kм.\rПозиция " +
                        num(frame) + "Продолжить?",
                    "Error. Longitude.\rDistance from the origin > 100 km.\rPosition " +
                        num(frame) + "Continue?");
}
Message originDistanceLatitude(int frame) {
    return askYesNo("Ошибка. Широта.\rРасстояние от начала координат > 100 km.\rПозиция " +
                        num(frame) + "Продолжить?",
                    "Error. Latitude.\rDistance from the origin > 100 km.\rPosition " + num(frame) +
                        "Continue?");
}
Message zeroPositions(int frame) {
    return askYesNo("Ошибка!\rКоординаты равны нулю.\rПозиция " + num(frame) + "Продолжить?",
                    "Error!\rThe coordinates are zero.\rPosition " + num(frame) + "Continue?");
}
Message stepOver100m(int frame) {
    return askYesNo("Внимание!\rРасстояние между измерениями > 100mПозиция " + num(frame) + "." +
                        "Продолжить?",
                    "Attention!\rThe distance between the A-Scans > 100mPosition " + num(frame) +
                        "." + "Continue?");
}
Message heightStepOver10m(int frame) {
    return askYesNo("Внимание!\rРазница высот > 10mПозиция " + num(frame) + "." + "Продолжить?",
                    "Attention!\rHeight difference > 10mPosition " + num(frame) + "." +
                        "Continue?");
}
Message statisticsReport(long mean, long maxStep, int maxStepFrame, long hmax, int hmaxFrame,
                         long maxHeightStep, int maxHeightStepFrame) {
    const std::string ru =
        "Внимание!\rСредний шаг по профилям = " + num(mean) + "cm." + "\r" +
        "Максимальный шаг по профилям =  " + num(maxStep) + "cm.  Позиция " + num(maxStepFrame) +
        "." + "\r" + "Максимальная высота по профилям =  " + num(hmax) + "cm.  Позиция " +
        num(hmaxFrame) + "." + "\r" + "Максимальный шаг по высоте =  " + num(maxHeightStep) +
        "cm.  Позиция " + num(maxHeightStepFrame) + ".";
    const std::string en =
        "Attention!\rMedium step on profiles = " + num(mean) + "cm." + "\r" +
        "Maximum step profiles =  " + num(maxStep) + "cm.  Position " + num(maxStepFrame) + "." +
        "\r" + "Maximum height profiles =  " + num(hmax) + "cm.  Position " + num(hmaxFrame) + "." +
        "\r" + "Maximum step height =  " + num(maxHeightStep) + "cm.  Position " +
        num(maxHeightStepFrame) + ".";
    return infoOk(ru, en);
}

Message correctionQuestion(int proposed, int current) {
    return make(Icon::Warning, Buttons::YesNoCancel,
                "Выполнить коррекцию профилей:\r<Yes> - по Вычисленому среднему шагу " +
                    num(proposed) + " cm." + "\r" + "<No> - по Установленному среднему шагу " +
                    num(current) + " cm." + "\r" + "<Cansel> - Не выполнять коррекцию профилей.",
                "Perform correction Profiles:\r<Yes> - by Calculating the average step " +
                    num(proposed) + " cm." + "\r" + "<No>  - by Establishing the average step " +
                    num(current) + " cm." + "\r" +
                    "<Cansel> - do not Perform correction profiles.");
}
Message clearCoordinatesQuestion() {
    return askYesNo("Внимание! \rКоординаты файла X, Y будут обнулены.\rПродолжить?",
                    "Attention!\rCoordinates file X, Y will be cleared.\rContinue?");
}
Message clearHeightsQuestion() {
    return askYesNo("Внимание! \rВысота рельефа будет обнулена.\rПродолжить?",
                    "Attention!\rHeight relief will be cleared.\rContinue?");
}

} // namespace tesk::coordmsg
