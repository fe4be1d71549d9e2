#pragma once
// The 3D panel Panel_3D: the controls of the cube view.

#include "shell/window/panel.h"

class QFrame;
class QLabel;

namespace tesk {

class Panel3D final : public ShellPanel {
  public:
    Panel3D(ShellServices& services, QWidget& window);

    QFrame* Panel_3D = nullptr;
    QLabel* Label80 = nullptr;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
};

} // namespace tesk
