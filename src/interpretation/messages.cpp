#include "interpretation/messages.h"

namespace tesk::msg {

Message deleteAllLayers() {
    return Message{Icon::Warning, Buttons::YesNo, "Xотите удалить Все слои?",
                   "You want to delete ALL stratums?"};
}

Message deleteCurrentLayer() {
    return Message{Icon::Warning, Buttons::YesNo, "Xотите удалить текущий слой?",
                   "You want to delete stratum?"};
}

} // namespace tesk::msg
