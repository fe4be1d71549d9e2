#pragma once
// The layer colour of the filter sub-panel: three boxes for red, green and
// blue, the "Source Color" panel that restores the start colours and the
// colour sample, which opens the colour dialog on a double click.

#include "shell/window/panel.h"

#include <array>
#include <cstdint>

class QComboBox;
class QFrame;

namespace tesk {

class LayerColourBoxes final : public ShellPanel {
  public:
    LayerColourBoxes(ShellServices& services, QWidget* filterPanel);

    QComboBox *ComboBox32 = nullptr, *ComboBox33 = nullptr, *ComboBox34 = nullptr;
    QFrame *Panel241 = nullptr, *Panel_242 = nullptr;

    // The boxes' red, green and blue, as the options file keeps them.
    std::array<uint8_t, 3> components() const;
    void setComponents(const std::array<uint8_t, 3>& rgb);

    // The layer whose colour the boxes show and edit (ComboBox31): entry 0
    // while no layer is chosen, 1..8 for the layers.
    void setCurrentLayer(int layer);

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void restored() override;

    void ColourBoxChange();
    void Panel241Click();
    void Panel_242DblClick();

  private:
    void showLayerColour();
    void setBoxes(LayerColour c);
    int layer_ = 0;
};

} // namespace tesk
