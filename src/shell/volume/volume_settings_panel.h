#pragma once
// Volume and slice settings, sub-panel Panel_24 of the option panel: the
// addition of neighbouring profiles, the fill method of the volume, the
// distance between profiles, the sections shown, the processing extent, the
// section markers of the slice screen, and the division into profiles
// ("Профили") with its four cut rules, shown in place of the volume controls
// while the division is set up.

#include "display/radargram.h"
#include "shell/window/panel.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;

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
    QCheckBox* CheckBox_Shape = nullptr; // "Точки сечения": the section markers
    QToolButton* SpeedButton_GProf = nullptr;
    QCheckBox *CheckBox_GProf_1 = nullptr, *CheckBox_GProf_2 = nullptr;
    QCheckBox *CheckBox_GProf_3 = nullptr, *CheckBox_GProf_4 = nullptr;

    // The slice screen follows the section layout and the marker box.
    std::function<void()> onSectionLayoutChanged, onShapeClicked;
    // The division moved frames: the frame count button and the editing
    // tools follow.
    std::function<void()> onFramesDivided;

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
    void ComboBox52Change();
    void ComboBox54Change();
    void CheckBox52Click();
    void SpeedButton_GProfClick();
    // Back to the volume controls without dividing (a volume view is entered).
    void cancelDivisionSetup();

  private:
    void showCutBoxes(bool on);
    bool settingUp_ = false; // the cut boxes are shown
};

} // namespace tesk
