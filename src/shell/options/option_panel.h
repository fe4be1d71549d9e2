#pragma once
// The option panel Panel_2: the base sub-panel Panel_21 with its check boxes
// (language, grid, zero line, A-scan view, profile line, marker mode) and the
// optional sub-panels that stand to its right while their boxes are checked.

#include "shell/window/panel.h"

#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;

namespace tesk {

class OptionPanel final : public ShellPanel {
  public:
    OptionPanel(ShellServices& services, QWidget& window, QToolButton* speedButton10);

    QFrame* Panel_2 = nullptr;
    QLabel* Label_OPTION = nullptr;
    QFrame* Panel_21 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr, *CheckBox6 = nullptr;
    QCheckBox *CheckBox11 = nullptr, *CheckBox12 = nullptr, *CheckBox13 = nullptr;
    QCheckBox *CheckBox14 = nullptr, *CheckBox15 = nullptr;
    QComboBox* ComboBox17 = nullptr;
    QToolButton* SpeedButton10; // on the command bar

    // Where the sub-panels are created.
    QWidget* body() const;
    // Adds the sub-panel shown while box is checked; the order of the calls
    // is the order they stand in.
    void addSubPanel(QCheckBox* box, QFrame* panel);
    // Option layout: the visible sub-panels side by side in their fixed order.
    void layoutOptionPanel();
    void focus();

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;
    void restored() override;

    void SpeedButton10Click();
    void OptionCheckBoxClick(QCheckBox* box);
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox6Click();
    void ComboBox17Change();
    void Label_OPTIONMouseDown(Qt::MouseButton button);

  private:
    std::vector<std::pair<QCheckBox*, QFrame*>> subPanels_;
    int markerItem_ = 1; // the marker mode the box settled on last ("Show Marks")
};

} // namespace tesk
