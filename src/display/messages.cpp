#include "display/messages.h"

namespace tesk::msg {

namespace {
Message question(std::string ru, std::string en) {
    return Message{Icon::Warning, Buttons::YesNo, std::move(ru), std::move(en)};
}
} // namespace

Message raiseMarkers() {
    return question("Статус маркеров будет повышен\rПродолжить?",
                    "Status of marks will be advanced!\rWant to continue?");
}

Message lowerMarkersTo1() {
    return question("Статус маркеров будет уменьшен\rПродолжить?",
                    "Status of marks will be reduced!\rWant to continue?");
}

Message lowerMarkersTo0() {
    return question(
        "Статус маркеров будет уменьшен\rЧерные маркеры будет удалены\rПродолжить?",
        "Status of marks will be reduced!\rBlack marks will be delete!\rWant to continue?");
}

Message deleteAllMarkers() {
    return question("Все метки будут удалены \rПродолжить?",
                    "You really want to delete All the mark?\rWant to continue?");
}

} // namespace tesk::msg
