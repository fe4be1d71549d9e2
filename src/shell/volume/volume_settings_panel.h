#pragma once
// Volume and slice settings, sub-panel Panel_24 of the option panel: the
// addition of neighbouring profiles, the fill method of the volume, the
// distance between profiles, the sections shown and the processing extent.

#include "display/radargram.h"
#include "shell/window/panel.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;

namespace tesk {

class VolumeSettingsPanel final : public ShellPanel {
  public:
    VolumeSettingsPanel(ShellServices& services, QWidget* optionPanel);

    QFrame* Panel_24 = nullptr;
    QLabel *Label41 = nullptr, *Label43 = nullptr, *Label51 = nullptr, *Label52 = nullptr;
    QLabel* Label54 = nullptr;
    QComboBox *ComboBox40 = nullptr, *ComboBox41 = nullptr, *ComboBox42 = nullptr;
    QComboBox *ComboBox51 = nullptr, *ComboBox52 = nullptr, *ComboBox54 = nullptr;
    QCheckBox* CheckBox52 = nullptr;

    // The profile addition as the radargram chain takes it (not kept in the header).
    void addition(ProcessingSettings& p) const;
    std::array<uint8_t, 3> additionItems() const;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;
    void restored() override;

    void ComboBox40Change();
    void ComboBox41Change();
    void ComboBox42Change();
    void ComboBox51Change();
    void CheckBox52Click();
};

} // namespace tesk
