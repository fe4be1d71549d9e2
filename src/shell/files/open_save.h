#pragma once
// The open, save and close commands of the command bar (SpeedButton1,
// SpeedButton3, SpeedButton4): the dialogs and questions, then the commands
// library does the work; what the rest of the window does with a loaded
// survey goes through OpenSaveHost.

#include "commands/file_commands.h"
#include "shell/window/panel.h"

class QToolButton;

namespace tesk {

class CommandBar;

// What the open and save commands need from the window around them.
class OpenSaveHost {
  public:
    virtual ~OpenSaveHost() = default;
    // The device-options panel as the 12-bit readers take it.
    virtual DeviceOptions deviceOptions() = 0;
    // A survey was loaded or appended: controls, view, commands and picture
    // follow (the command has reset the view already).
    virtual void surveyLoaded(bool appended, const AfterOpen& after) = 0;
    // The decoder's check log for the test panel.
    virtual void showCheckLog(const std::vector<std::string>& lines) = 0;
    // An options file changed the settings of the survey on screen.
    virtual void applyOptionsFile(const OptionsFileRead& r) = 0;
    // The options file's values: the header's plus what only the window keeps.
    virtual OptionsFileSettings optionsForSave() = 0;
    // The coordinates panel as the coordinate imports take it, and the file
    // the window keeps open between GPX synchronisations.
    virtual void coordinateSettings(OpenSettings& settings) = 0;
    // An open ran a coordinate import (a .gpx or .txt file, the .cor
    // companion of a .geb survey).
    virtual void coordinatesImported(const OpenResult& r) = 0;
    // The window goes: the coordinate file it holds open is closed.
    virtual void closeCoordinateFile() = 0;
    // The close command decided that the window may go.
    virtual void closeWindow() = 0;
};

class FileCommands final : public ShellPanel {
  public:
    FileCommands(ShellServices& services, CommandBar& bar, OpenSaveHost& host);

    void connectHandlers() override;

    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    // Opens path as the open command does after its dialog (also used for a
    // file named on the command line).
    OpenResult openChosenFile(const std::string& path, bool append);
    // The close command's two questions; true when the window may close.
    bool askToClose();
    // Whatever a pass or an import still holds is released with the window.
    void FormClose();

    const OpenResult& lastOpen() const { return lastOpen_; }
    const SaveResult& lastSave() const { return lastSave_; }
    bool closeAccepted() const { return closeAccepted_; }
    bool closing() const { return closing_; }

  private:
    CommandBar& bar_;
    OpenSaveHost& host_;
    OpenResult lastOpen_;
    SaveResult lastSave_;
    bool closeAccepted_ = false;
    bool closing_ = false;
};

} // namespace tesk
