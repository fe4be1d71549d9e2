#pragma once
// The A-scan panel Panel50: the trace under the cursor with its readouts
// Panel51 and Panel52, the chosen-amplitude step buttons and the zero / gain
// buttons that step, reset and raise the zero level or the gain.

#include "display/amplitude.h"
#include "shell/window/panel.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QToolButton;

namespace tesk {

class AScanPanel final : public ShellPanel {
  public:
    // The panel follows "Функция" (functionBox), the zero/gain mode box and
    // the chosen-amplitude box of the option panel.
    AScanPanel(ShellServices& services, QWidget& window, QCheckBox* functionBox,
               QComboBox* zeroGainBox, QCheckBox* chosenBox);

    QFrame *Panel50 = nullptr, *Panel51 = nullptr, *Panel52 = nullptr;
    // Step down, reset and step up of the zero level / gain.
    QToolButton *SpeedButton53 = nullptr, *SpeedButton54 = nullptr, *SpeedButton55 = nullptr;
    // The chosen amplitude one code lower / higher.
    QToolButton *SpeedButton51 = nullptr, *SpeedButton52 = nullptr;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void restored() override;

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

    QCheckBox* functionBox_;
    QComboBox* zeroGainBox_;
    QCheckBox* chosenBox_;
};

} // namespace tesk
