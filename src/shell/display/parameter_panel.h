#pragma once
// Profile parameters, sub-panel Panel_22 of the option panel: time range,
// profile step, antenna distance, depth step, view step, soil velocity, and
// the time stretch of the relief display that takes the time range's place.

#include "shell/window/panel.h"

#include <functional>

class QComboBox;
class QFrame;
class QLabel;

namespace tesk {

class ParameterPanel final : public ShellPanel {
  public:
    ParameterPanel(ShellServices& services, QWidget* optionPanel);

    QFrame* Panel_22 = nullptr;
    QLabel *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr;
    QLabel *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr;
    QComboBox *ComboBox10 = nullptr, *ComboBox11 = nullptr, *ComboBox12 = nullptr;
    QComboBox *ComboBox13 = nullptr, *ComboBox14 = nullptr, *ComboBox15 = nullptr;
    QComboBox* ComboBox16 = nullptr;

    // The factor of ComboBox14 that stretches the rows of the relief display.
    double timeStretch() const;
    // The relief display shows the time stretch in place of the time range.
    void showTimeStretch(bool on);

    // The velocity mode holds ComboBox10 on its first item, the measured
    // velocity; set by the window once the velocity tool exists.
    std::function<bool()> velocityModeOn;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void restored() override;

    void ComboBox10Change();
    void ComboBox11Change();
    void ComboBox12Change();
    void ComboBox13Change();
    void ComboBox14Change();
    void ComboBox15Change();

  private:
    void rebuildTimeStretchItems();
    void showDepthStepColour();
    void showVelocityColour();
};

} // namespace tesk
