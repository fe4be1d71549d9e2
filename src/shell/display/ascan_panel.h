#pragma once
// The A-scan panel Panel50: the trace under the cursor (Image10) with its
// readouts Panel51 and Panel52, the chosen-amplitude step buttons and the
// zero / gain buttons that step, reset and raise the zero level or the gain.
// Clicks into the trace set the zero level and the gain. The panel follows
// the shown view: it is drawn after every redraw and cursor move while
// "Функция" is checked, and it stays hidden while the view has no trace.

#include "display/amplitude.h"
#include "shell/window/panel.h"

#include <QImage>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;

namespace tesk {

class ImageWidget;

class AScanPanel final : public ShellPanel {
  public:
    // The panel follows "Функция" (functionBox), the zero/gain mode box and
    // the chosen-amplitude box of the option panel.
    AScanPanel(ShellServices& services, QWidget& window, QCheckBox* functionBox,
               QComboBox* zeroGainBox, QCheckBox* chosenBox);

    QFrame *Panel50 = nullptr, *Panel51 = nullptr, *Panel52 = nullptr;
    ImageWidget* Image10 = nullptr; // the trace, 256 x 533
    // Step down, reset and step up of the zero level / gain.
    QToolButton *SpeedButton53 = nullptr, *SpeedButton54 = nullptr, *SpeedButton55 = nullptr;
    // The chosen amplitude one code lower / higher.
    QToolButton *SpeedButton51 = nullptr, *SpeedButton52 = nullptr;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void restored() override;
    void viewRedrawn() override { DrawAScan(); }

    // The trace of the shown view's cursor with its readouts; hides the
    // panel while "Функция" is unchecked or the view has no trace.
    void DrawAScan();
    void Image10MouseDown(Qt::MouseButton button, QPoint at);

    // Captions of the zero / gain buttons for the current settings.
    void showZeroGainCaptions();
    // Panel52 in the chosen-amplitude mode ("  VA = ..." in red, white when off).
    void showChosenAmplitude();

    void SpeedButton51Click();
    void SpeedButton52Click();
    void SpeedButton53Click();
    void SpeedButton54Click();
    void SpeedButton55Click();

  private:
    void zeroGainStep(void (*step)(DisplaySettings&, bool));
    void chosenStep(void (*step)(DisplaySettings&));
    void followChosenBox();
    void placeBesideThePicture();

    QWidget& window_;
    QImage picture_;
    bool movedByOperator_ = false;
    QCheckBox* functionBox_;
    QComboBox* zeroGainBox_;
    QCheckBox* chosenBox_;
};

} // namespace tesk
