#pragma once
// The velocity measurement: the two toggle buttons of the command bar
// (SpeedButton15 in front for the hyperbola, SpeedButton16 for the
// travel-time methods) switch the velocity mode; the overlay Image9 over the
// picture takes the picks, draws the fitted curves and, while the pointer
// moves, the curve a pick there would give; the hodograph table StringGrid4
// and the echo table StringGrid5 show the layered model at the cursor.

#include "interpretation/velocity_fit.h"
#include "shell/interpretation/mode_lock.h"
#include "shell/window/panel.h"

#include <QImage>
#include <optional>

class QComboBox;
class QToolButton;

namespace tesk {

class CommandBar;
class ImageWidget;
class LayerTools;
class RadargramView;
class TablePanels;

class VelocityTool final : public ShellPanel {
  public:
    // comboBox10 is the velocity box of the profile parameters: item 0
    // ("Годограф") stands for the last measured velocity.
    VelocityTool(ShellServices& services, CommandBar& bar, RadargramView& radargram,
                 LayerTools& layers, TablePanels& tables, QComboBox* comboBox10);

    ImageWidget* Image9 = nullptr; // picks and fitted curves

    VelocitySession& session() { return session_; }
    // The velocity mode is on while Image9 takes the picks.
    bool modeOn() const;

    // Back to the plain radargram, or a new survey: the mode ends.
    void leaveMode();
    void surveyLoaded() { leaveMode(); }

    void connectHandlers() override;
    void applyLanguage(bool english) override;

    void SpeedButton15Click();
    void SpeedButton16Click();
    void ComboBox35Change();
    void CheckBox32Click();
    void Image9MouseDown(Qt::MouseButton button, QPoint at);
    void Image9MouseMove(QPoint at);
    void StringGrid4Click(int row);
    void StringGrid4CellEdited(int column, int row);

  private:
    VelocitySettings settings() const;
    template <typename F> auto run(F&& f);
    void toggled(QToolButton* button);
    void enterMode();
    void setButtonsDown(bool down);
    // SpeedButton15 in front for the hyperbola, SpeedButton16 for the others.
    void placeButtons();
    void showMethodControls();
    // After a method ran: the overlay, the tables, the velocity box.
    void showResult(const VelocityOutcome& out);
    void paint(std::optional<int> liveCode = std::nullopt, QPoint at = {});
    void showTables();

    CommandBar& bar_;
    LayerTools& layers_;
    TablePanels& tables_;
    QComboBox* ComboBox10_;
    VelocitySession session_;
    QImage image9_;
    ModeLock lock_;
    int buttonX_ = 0;
    int captionRow_ = 0; // the hodograph named in Label_GDRF, 0 for none
};

} // namespace tesk
