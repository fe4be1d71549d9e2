#pragma once
// The relief: the relief display of the radargram (SpeedButton6 on the
// command bar, bit 0x100 of stateFlags), the relief line Image7 over the
// picture with its mouse editing, smoothing, the absolute height of
// CheckBox70 and MaskEdit2, and the scale they share. The check boxes and
// buttons live on Panel_CORD; this class owns Image7 and their handlers.

#include "coordinates/relief.h"
#include "display/radargram.h"
#include "interpretation/layer_cells.h"
#include "shell/window/panel.h"

class QToolButton;

namespace tesk {

class CommandBar;
class CoordinatesPanel;
class ImageWidget;
class ParameterPanel;

class ReliefTools final : public ShellPanel {
  public:
    // pictureArea is the widget the radargram picture lies in.
    ReliefTools(ShellServices& services, QWidget& window, QWidget* pictureArea, CommandBar& bar,
                CoordinatesPanel& panel, ParameterPanel& parameters);

    ImageWidget* Image7 = nullptr; // the relief line, 1024 x 512 over the picture

    void connectHandlers() override;
    void restored() override;

    // The relief display and its reference as the radargram chain takes them.
    void addRelief(ProcessingSettings& p);
    void addRelief(OverlaySettings& o);
    // The scale and reference of the relief line and the mouse editing.
    coords::ReliefView view();
    // The same as the layer overlays take it: the relief display on or off,
    // the reference height and the vertical scale.
    ReliefShift shift();

    void RLF_Lin();
    // RLF_Lin when the line is shown (after every redraw of the picture and
    // every change of heights).
    void followView();
    void SpeedButton6Click();
    void CheckBox70Click();
    void CheckBox72Click();
    void CheckBox73Click();
    void SpeedButton73Click();
    void MaskEdit2Change();
    // Edit2KeyPress: true when the key is kept from MaskEdit2.
    bool Edit2KeyPress(int key);
    void Image7MouseDown(Qt::MouseButton button, QPoint at);
    void Image7MouseMove(QPoint at);
    void Image7MouseUp();

  private:
    double stretch();
    void armLine();
    void setEnabledByName(const char* name, bool on);
    void disableForTheLine();

    QWidget& window_;
    CommandBar& bar_;
    CoordinatesPanel& panel_;
    ParameterPanel& parameters_;
    QImage line_;
    coords::ReliefEditor editor_;
    coords::ReliefView dragView_; // the scale and reference while the mouse draws
};

} // namespace tesk
