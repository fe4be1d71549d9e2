#pragma once
// Filters, colours and amplitude, sub-panel Panel_23 of the option panel:
// the two filter rows, the colour count, the level table, the amplitude form,
// the zero/gain mode, background, inversion and the chosen amplitude.

#include "shell/window/panel.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;

namespace tesk {

class ClickLabel;

class FilterPanel final : public ShellPanel {
  public:
    FilterPanel(ShellServices& services, QWidget* optionPanel);

    QFrame* Panel_23 = nullptr;
    ClickLabel *Label20 = nullptr, *Label21 = nullptr;
    QLabel *Label22 = nullptr, *Label23 = nullptr, *Label24 = nullptr, *Label26 = nullptr;
    QComboBox *ComboBox20 = nullptr, *ComboBox21 = nullptr, *ComboBox22 = nullptr;
    QComboBox *ComboBox23 = nullptr, *ComboBox24 = nullptr, *ComboBox25 = nullptr;
    QComboBox *ComboBox26 = nullptr, *ComboBox27 = nullptr;
    QComboBox *ComboBox18 = nullptr, *ComboBox19 = nullptr, *ComboBox28 = nullptr;
    QComboBox* ComboBox29 = nullptr;
    QCheckBox *CheckBox21 = nullptr, *CheckBox22 = nullptr, *CheckBox23 = nullptr;

    // The font colour of ComboBox18 after the palettes were rebuilt.
    void showFormColour(uint32_t colour);
    // An options file brings the chosen-amplitude bit into the header, but
    // the highlight stays off on the screen until the operator checks the box
    // again: the box is unchecked and the header keeps its bit.
    void uncheckChosenAmplitudeKeepingBit();

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;
    void restored() override;

    void FilterBoxChange(QComboBox* box);
    void Label20Click();
    void Label21Click();
    void ComboBox18Change();
    void ComboBox19Change();
    void ComboBox28Change();
    void ComboBox29Change();
    void CheckBox22Click();
    void CheckBox23Click();

  private:
    void resetFilterRow(std::initializer_list<QComboBox*> boxes);
    void showChosenAmplitudeMode();
    void showZeroGainModeColour();
};

} // namespace tesk
