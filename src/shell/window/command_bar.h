#pragma once
// The command bar Panel_1 along the top of the window: the command buttons,
// the frame field MaskEdit1 and the readouts StaticText1 .. StaticText6. The
// bar only holds them; each subsystem's panel connects the buttons it owns
// the commands of.

#include "shell/window/panel.h"

#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace tesk {

class CommandBar final : public ShellPanel {
  public:
    static constexpr int HEIGHT = 36;

    CommandBar(ShellServices& services, QWidget& window);

    QFrame* Panel_1 = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr;
    QToolButton *SpeedButton5 = nullptr, *SpeedButton6 = nullptr, *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr, *SpeedButton9 = nullptr, *SpeedButton10 = nullptr;
    QToolButton *SpeedButton11 = nullptr, *SpeedButton12 = nullptr, *SpeedButton13 = nullptr;
    QToolButton *SpeedButton14 = nullptr, *SpeedButton15 = nullptr, *SpeedButton16 = nullptr;
    QToolButton *SpeedButton17 = nullptr, *SpeedButton18 = nullptr;
    QToolButton *SpeedButton20 = nullptr, *SpeedButton21 = nullptr, *SpeedButton22 = nullptr;
    QToolButton *SpeedButton23 = nullptr, *SpeedButton24 = nullptr, *SpeedButton25 = nullptr;
    QToolButton *SpeedButton26 = nullptr, *SpeedButton27 = nullptr, *SpeedButton28 = nullptr;
    QToolButton *SpeedButton29 = nullptr, *SpeedButton30 = nullptr, *SpeedButton31 = nullptr;
    QToolButton *SpeedButton32 = nullptr, *SpeedButton35 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QLabel *StaticText1 = nullptr, *StaticText2 = nullptr, *StaticText3 = nullptr;
    QLabel *StaticText4 = nullptr, *StaticText5 = nullptr, *StaticText6 = nullptr;

    // The buttons that wait for a survey (open, close and the options are
    // always usable).
    std::vector<QToolButton*> surveyCommands() const;

    std::span<const CaptionRow> captions() const override;

    // The bar over the window's width: where the window is narrower than
    // the controls, the arrows at its right end (and the mouse wheel) slide
    // them along; the order and sizes of the controls stay.
    void fitWidth(int width);
    // Slides the controls by pixels (positive: towards the end of the bar).
    void scrollBy(int pixels);
    // Slides the controls so that control is in view.
    void showControl(QWidget* control);
    int contentWidth() const;
    int scrollOffset() const { return offset_; }

  private:
    static constexpr int ARROW_WIDTH = 18;
    static constexpr int WHEEL_STEP = 60;
    int visibleWidth() const;
    int scrollStep() const;

    QWidget* strip_ = nullptr;
    QToolButton* scrollBack_ = nullptr;
    QToolButton* scrollOn_ = nullptr;
    int offset_ = 0;
};

// Enables or disables a command button the window may not have (null).
void enableCommand(QToolButton* button, bool on);

} // namespace tesk
