#include "store/messages.h"

namespace tesk::msg {

namespace {
Message warn(std::string ru, std::string en, Buttons b = Buttons::Ok) {
    return Message{Icon::Warning, b, std::move(ru), std::move(en)};
}
Message error(std::string ru, std::string en) {
    return Message{Icon::Error, Buttons::Ok, std::move(ru), std::move(en)};
}
} // namespace

Message fileOpenFailed(const std::string& name) {
    return error("Ошибка (E001) чтения файла = " + name,
                 "ERROR (E020) of reading of a file = " + name);
}

Message coordFileOpenFailed(const std::string& name) {
    return error("Ошибка (E001) чтения файла координат = " + name,
                 "ERROR (E001) reading coordinate file = " + name);
}

Message emptyFile(const std::string& code, const std::string& name) {
    // The empty-file warnings exist in English only and are shown in both languages.
    const std::string t = "Error! (" + code + "). File " + name + " = 00!";
    return warn(t, t);
}

Message gemMagic(const std::string& name) {
    return warn("Ошибка(E026). Файл = " + name + "\r" + "не соответствует формату <GEM> Tesk",
                "ERROR(E026). File = " + name + "\r" + "incompatible format <GEM> Tesk");
}

Message gemVersion(const std::string& name) {
    return warn("Ошибка(E027). Файл = " + name + "\r" + "не соответствует формату <GEM> Mirn",
                "ERROR(E027). File = " + name + "\r" + "incompatible format <GEM> Mirn");
}

Message geoMagic(const std::string& name) {
    return warn("Ошибка!(E022). Файл = " + name + "\r" + "не соответствует формату <GEO> Mirn.",
                "ERROR(E022). File = " + name + "\r" + "incompatible format <GEO> Mirn.");
}

Message gebMagic(const std::string& name) {
    return warn("Ошибка!(E022). Файл = " + name + "\r" + "не соответствует формату <MIRN>",
                "ERROR(E022). File = " + name + "\r" + "incompatible format <MIRN>");
}

Message optMagic(const std::string& name) {
    return warn("Ошибка(E026). Файл Опций= " + name + "\r" + "не соответствует формату <OPT> Mirn",
                "ERROR(E026). File Option= " + name + "\r" + "incompatible format <OPT> Mirn");
}

Message unknownStructure() {
    return warn("Ошибка(E027). Неизвестная модель илиОшибка внутренней структуры файла",
                "ERROR(E027). Unknown model or internal Error of structure of a file");
}

Message tooManyFramesE034() {
    const std::string t = "Error(E034).\rThe total file has more than 64000 staff!";
    return warn(t, t);
}

Message tooManyFramesOpen() {
    const std::string t = "Error open file.\rThe total file has more than 64000 staff!";
    return warn(t, t);
}

Message reliefMaxExceeded() {
    return warn("Внимание!\rПревышение максимальной высоты рельефа.Изменить?",
                "Attention!\rExceeding the maximum height of the relief.Correct?", Buttons::YesNo);
}

Message createFailedE030() {
    const std::string t = "ERROR of creation of a file! (E030)";
    return error(t, t);
}

Message createFailedExport() {
    const std::string t = "ERROR of creation of a file!";
    return error(t, t);
}

Message writeFailed(const std::string& name, const std::string& reason) {
    return error("Ошибка записи файла = " + name + "\r" + reason + "\r" +
                     "Прежний файл на диске не изменён.",
                 "ERROR writing file = " + name + "\r" + reason + "\r" +
                     "The previous file on disk is unchanged.");
}

Message overwrite(const std::string& name) {
    return warn(name + "\r" + "уже сущетвует. Заменить?",
                name + "\r" + "already exists. Overwrite?", Buttons::YesNo);
}

Message confirmClose() {
    return warn("Вы действительно хотите закрыть программу ?",
                "You really want to close the program?", Buttons::YesNo);
}

Message offerSave() {
    // The Russian text starts with a Latin "X", as the program has always shown it.
    return warn("Xотите сохранить файл?", "You want to save a file?", Buttons::YesNo);
}

Message notYetSupported(const std::string& name, const std::string& what) {
    return warn("Файл = " + name + "\r" + "Формат <" + what +
                    "> пока не поддерживается этой версией.",
                "File = " + name + "\r" + "The <" + what +
                    "> format is not supported by this version yet.");
}

Message readFault(const std::string& name) {
    return fileOpenFailed(name);
}

} // namespace tesk::msg
