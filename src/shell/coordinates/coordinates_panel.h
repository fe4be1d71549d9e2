#pragma once
// The coordinates panel Panel_CORD: positions, names and heights of the
// cursor frame and the second point, and their differences.

#include "shell/window/panel.h"

class QFrame;
class QLabel;

namespace tesk {

class StringGrid;

class CoordinatesPanel final : public ShellPanel {
  public:
    CoordinatesPanel(ShellServices& services, QWidget& window);

    QFrame* Panel_CORD = nullptr;
    QLabel* Label_CRD = nullptr;
    StringGrid* StringGrid7 = nullptr;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;
};

} // namespace tesk
