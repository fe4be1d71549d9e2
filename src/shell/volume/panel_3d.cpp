#include "shell/volume/panel_3d.h"

#include "shell/widgets/floating_panel.h"

#include <QFrame>
#include <QLabel>

namespace tesk {

namespace {
const CaptionRow CAPTIONS[] = {
    {"Label80", CaptionKind::Caption, -1, "P A N E L   3D", "П А Н Е Л Ь   3D"},
};
} // namespace

Panel3D::Panel3D(ShellServices& services, QWidget& window) : ShellPanel(services) {
    Panel_3D = floatingPanel(&window, "Panel_3D", QRect(900, 60, 300, 400));
    Label80 = panelTitle(Panel_3D, "Label80");
}

void Panel3D::connectHandlers() {
    dragWith(Panel_3D, Panel_3D, {Panel_3D, Label80});
}

std::span<const CaptionRow> Panel3D::captions() const {
    return CAPTIONS;
}

} // namespace tesk
