#pragma once
// Moving the radargram window over the survey and the cursor over the
// picture: previous / next (SpeedButton17, SpeedButton18), the frame field
// MaskEdit1 and the nudge buttons SpeedButton20 .. SpeedButton25 of the
// command bar.

#include "shell/window/panel.h"

#include <QString>

class QToolButton;
class QWidget;

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
    // Home and End: the first and the last screen of the survey, as
    // previous and next with left Ctrl.
    void showFirstFrames();
    void showLastFrames();
    // The keys of every viewer: Right and Page Down next, Left and Page Up
    // previous (with the buttons' modifier keys), Home and End the first and
    // last screen. Keys that the control with the focus moves its own cursor
    // with stay its own. True when the key moved the view.
    bool viewKey(QWidget* focus, int key);

  private:
    int viewStepItem();
    void moveTo(int viewStart);
    CommandBar& bar_;
    QString shown_; // what the frame field was last set to
};

} // namespace tesk
