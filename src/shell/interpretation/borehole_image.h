#pragma once
// The borehole display Image_SKVG over the radargram: the measurement points
// of the velocity and depth table drawn at their frames with their layer
// columns while "Показать скважины" (CheckBox34, on the boundary tools of
// Panel_25) is checked.

#include "interpretation/layer_cells.h"
#include "shell/window/panel.h"

#include <QImage>
#include <functional>

class QCheckBox;

namespace tesk {

class ImageWidget;
class StringGrid;

class BoreholeImage final : public ShellPanel {
  public:
    // velocityTable is StringGrid1; relief gives the vertical scale and the
    // relief shift of the picture as it is drawn now.
    BoreholeImage(ShellServices& services, QWidget& window, QWidget* pictureArea,
                  StringGrid* velocityTable, std::function<ReliefShift()> relief);

    ImageWidget* Image_SKVG = nullptr;

    void connectHandlers() override;

    // ShowBoreholes: repaints the image when CheckBox34 is checked and the
    // radargram is shown; hides it otherwise.
    void ShowBoreholes();
    void CheckBox34Click();
    // The image as last drawn, null while the display is off (for the
    // bitmap export).
    const QImage* image() const;

  private:
    QCheckBox* box() const;

    QWidget& window_;
    StringGrid* table_;
    std::function<ReliefShift()> relief_;
    QImage image_;
};

} // namespace tesk
