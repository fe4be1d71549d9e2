#include "commands/export_messages.h"

namespace tesk::msg {

Message nothingToWrite() {
    return Message{Icon::Error, Buttons::Ok, "Ошибка! Нет данных для записи.",
                   "ERROR! There is no Structure for record "};
}

Message writeAsSingleFile() {
    return Message{Icon::Warning, Buttons::YesNo, "Записать одним файлом?",
                   "Write as a single file?"};
}

} // namespace tesk::msg
