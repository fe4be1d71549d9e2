#pragma once
// The device options, sub-panel Panel_26 of the option panel: how the 12-bit
// readers of the device family take a file (start delay, sampling mode,
// channel, probe level, frame area).

#include "shell/window/panel.h"
#include "store/device_family.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;

namespace tesk {

class DevicePanel final : public ShellPanel {
  public:
    DevicePanel(ShellServices& services, QWidget* optionPanel);

    QFrame* Panel_26 = nullptr;
    QComboBox *ComboBox61 = nullptr, *ComboBox62 = nullptr, *ComboBox63 = nullptr;
    QComboBox *ComboBox64 = nullptr, *ComboBox66 = nullptr, *ComboBox46 = nullptr;
    QCheckBox* CheckBox59 = nullptr;
    QLabel *Label61 = nullptr, *Label62 = nullptr, *Label63 = nullptr, *Label66 = nullptr;

    // The panel as the 12-bit readers take it.
    DeviceOptions deviceOptions() const;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
};

} // namespace tesk
