#include "commands/export_messages.h"

#include "commands/segy.h"

namespace tesk::msg {

Message nothingToWrite() {
    return Message{Icon::Error, Buttons::Ok, "Ошибка! Нет данных для записи.",
                   "ERROR! There is no Structure for record "};
}

Message writeAsSingleFile() {
    return Message{Icon::Warning, Buttons::YesNo, "Записать одним файлом?",
                   "Write as a single file?"};
}

Message segyFault(const std::string& name, SegyFault fault, int64_t trace, uint64_t offset,
                  int64_t traces) {
    const std::string at = std::to_string(offset);
    const std::string n = std::to_string(trace + 1);
    const std::string loaded = std::to_string(traces);
    std::string ru, en;
    switch (fault) {
    case SegyFault::None:
        return Message{Icon::Information, Buttons::Ok, "", ""};
    case SegyFault::TooShort:
        ru = "файл короче заголовков (3600 байт)";
        en = "the file is shorter than its headers (3600 bytes)";
        break;
    case SegyFault::UnknownFormat:
        ru = "неизвестный код формата отсчётов (байт " + at + ")";
        en = "unknown sample format code (byte " + at + ")";
        break;
    case SegyFault::BadSampleCount:
        ru = "нет числа отсчётов в трассе (байт " + at + ")";
        en = "no number of samples per trace (byte " + at + ")";
        break;
    case SegyFault::ExtendedHeaders:
        ru = "число дополнительных текстовых заголовков не помещается в файле (байт " + at + ")";
        en = "the count of extended textual headers does not fit the file (byte " + at + ")";
        break;
    case SegyFault::NoTraces:
        ru = "в файле нет ни одной полной трассы";
        en = "the file holds no whole trace";
        break;
    case SegyFault::TraceCut:
        return Message{Icon::Warning, Buttons::Ok,
                       "Файл = " + name + "\r" + "обрезан в трассе " + n + " (байт " + at + ").\r" +
                           "Загружено трасс: " + loaded + ".",
                       "File = " + name + "\r" + "cut short in trace " + n + " (byte " + at +
                           ").\r" + "Traces loaded: " + loaded + "."};
    case SegyFault::ReadFault:
        return Message{Icon::Error, Buttons::Ok,
                       "Ошибка чтения файла = " + name + "\r" + "в трассе " + n + " (байт " + at +
                           ").\r" + "Загружено трасс: " + loaded + ".",
                       "ERROR reading file = " + name + "\r" + "in trace " + n + " (byte " + at +
                           ").\r" + "Traces loaded: " + loaded + "."};
    }
    return Message{Icon::Warning, Buttons::Ok,
                   "Ошибка! Файл = " + name + "\r" + "не соответствует формату <SEG-Y>: " + ru,
                   "ERROR. File = " + name + "\r" + "incompatible format <SEG-Y>: " + en};
}

} // namespace tesk::msg
