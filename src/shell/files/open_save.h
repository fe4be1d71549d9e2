#pragma once
// The open, save and close commands of the command bar (SpeedButton1,
// SpeedButton3, SpeedButton4): the dialogs and questions, then the commands
// library does the work; what the rest of the window does with a loaded
// survey goes through OpenSaveHost.

#include "commands/bitmap_export.h"
#include "commands/file_commands.h"
#include "commands/text_export.h"
#include "shell/window/panel.h"

#include <functional>

class QToolButton;

namespace tesk {

class CommandBar;
class LayerColourBoxes;
class Navigation;
class CubePanel;
class RadargramView;

// The panels the exports read or refresh: the radargram they picture, the
// colour boxes of the bitmap's background, the frame field that follows a
// one-profile picture and the 3D panel shown again after a 3D picture.
struct ExportPanels {
    RadargramView& radargram;
    LayerColourBoxes& colours;
    Navigation& navigation;
    CubePanel& panel3d;
};

// What the exports read from tools that other panels drive. Each hook is
// empty until its tool provides it; an empty hook gives nothing (no 3D
// picture, no volume, no interpretation layers).
struct ExportSources {
    // The 3D drawing area read back from GL in the carpet and 3D-section
    // views (0x20, 0x40): BGRA rows, the bottom row first.
    std::function<ViewPixels()> viewPixels;
    // The volume the slice table cuts its horizontal section from (the
    // section lies at the cursor row); null while none is built.
    std::function<const VolumeSection*()> volume;
    // The time plane the slice screen shows (its X-Y plane): the slice table
    // cuts the volume there rather than at the radargram's cursor row, which
    // the slice screen neither shows nor moves.
    std::function<int()> sectionRow;
    // The depth section of "Показать слои" (CheckBox33) and the borehole
    // display (CheckBox34); null, or stages that do nothing, when both are off.
    std::function<InterpretationLayers*()> layers;
};

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
    FileCommands(ShellServices& services, CommandBar& bar, OpenSaveHost& host,
                 const ExportPanels& panels);

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
    // The operator changed the survey (a setting it keeps, an edit, the
    // interpretation) since it was opened or saved as a work file.
    void markModified() { modified_ = true; }
    bool modified() const { return modified_; }

    // The text table and the picture as the window shows the survey now.
    ExportSettings textExportSettings(SaveVariant variant);
    BitmapSettings bitmapExportSettings(ViewPixels& pixels);

    ExportSources exportSources;

    const OpenResult& lastOpen() const { return lastOpen_; }
    const SaveResult& lastSave() const { return lastSave_; }
    bool closeAccepted() const { return closeAccepted_; }
    bool closing() const { return closing_; }

  private:
    ProcessingSettings exportProcessing();
    void afterBitmap();
    // Before a file replaces a changed survey: save it first (Yes), discard
    // it (No) or keep it (Cancel). True when the open may go on.
    bool mayReplaceSurvey(const std::string& path);
    // The folder the dialogs start in: the current survey's, else the one
    // a file was last chosen from.
    std::string startFolder();

    CommandBar& bar_;
    OpenSaveHost& host_;
    ExportPanels panels_;
    OpenResult lastOpen_;
    SaveResult lastSave_;
    bool closeAccepted_ = false;
    bool closing_ = false;
    bool modified_ = false;
    std::string lastFolder_;
};

} // namespace tesk
