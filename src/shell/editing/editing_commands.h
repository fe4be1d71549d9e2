#pragma once
// The frame editing and resampling buttons of the command bar: mirror
// (SpeedButton13), move up (SpeedButton14), shift right and left
// (SpeedButton26, SpeedButton27), copy and paste (SpeedButton28,
// SpeedButton29), delete (SpeedButton30), "cX" and "cT" (SpeedButton31,
// SpeedButton32), and undo and redo of those edits from the keyboard. The
// panel owns the frame clipboard and the edit history; the commands
// themselves are the editing library's.

#include "editing/edit_inputs.h"
#include "shell/window/panel.h"

#include <QtCore/qnamespace.h>
#include <functional>

class QToolButton;
class QWidget;

namespace tesk {

class CommandBar;

class EditingCommands final : public ShellPanel {
  public:
    EditingCommands(ShellServices& services, CommandBar& bar);

    // The hints are rows of the command bar; the letters are the same in
    // both languages and set once.
    void connectHandlers() override;

    void SpeedButton13Click();
    void SpeedButton14Click();
    void SpeedButton26Click();
    void SpeedButton27Click();
    void SpeedButton28Click();
    void SpeedButton29Click();
    void SpeedButton30Click();
    void SpeedButton31Click();
    void SpeedButton32Click();

    // Ctrl+Z: puts back the survey as it was before the last edit; Ctrl+Y
    // or Ctrl+Shift+Z: does that edit again. True when a step was taken.
    bool undo();
    bool redo();
    // A key pressed in the window: true when it was an undo or redo key and
    // has been used. A text field keeps the keys for its own text.
    bool keyPressed(QWidget* target, int key, Qt::KeyboardModifiers modifiers);

    // A file was opened or appended: the clipboard is empty and the history
    // starts over.
    void surveyOpened();
    // The editing buttons are usable (a survey is loaded and the radargram
    // is shown without a mode that draws over it) or not. Undo and redo
    // follow the buttons.
    void setAvailable(bool on);
    bool available() const { return available_; }
    // Another command moved frames or built in the work bytes (division
    // into profiles, profile correction): neither the clipboard nor the
    // history fits the survey any more.
    void framesRewritten();

    const editing::EditTools& tools() const { return tools_; }
    // The time range item in the header changed ("cT", undo, redo): the
    // window shows it without running the time range's handler.
    std::function<void()> onTimeRangeChanged;

  private:
    editing::EditInputs inputs();
    editing::EditKeys keys();
    // What follows every command: the paste button, the frame count, the
    // time range and the picture.
    void finish(const editing::EditResult& r, bool changes = true);
    void afterHistoryStep();
    void showPasteState();

    CommandBar& bar_;
    editing::EditTools tools_;
    bool surveyLoaded_ = false;
    bool available_ = false;
};

} // namespace tesk
