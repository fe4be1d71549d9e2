#pragma once
// Moving the radargram window over the survey and the cursor over the
// picture: previous / next (SpeedButton17, SpeedButton18), the frame field
// MaskEdit1 and the nudge buttons SpeedButton20 .. SpeedButton25 of the
// command bar.

#include "shell/window/panel.h"

class QToolButton;

namespace tesk {

class CommandBar;

class Navigation final : public ShellPanel {
  public:
    Navigation(ShellServices& services, CommandBar& bar);

    void connectHandlers() override;

    void SpeedButton17Click();
    void SpeedButton18Click();
    void MaskEdit1Change();
    void Edit1KeyPress(int key);
    void NudgeClick(QToolButton* button);
    // The frame field shows viewStart in five digits.
    void showViewStart();

  private:
    int viewStepItem();
    CommandBar& bar_;
};

} // namespace tesk
