#pragma once
// The main window: the command bar, the radargram area, the option panel and
// the floating panels, composed of one class per panel. The window owns the
// panels, serves them (ShellServices), dispatches redraws to the view the
// view byte selects and runs the language switch; the survey itself lives in
// the ProfileStore it is given.

#include "shell/files/open_save.h"
#include "shell/window/services.h"

#include <QWidget>
#include <map>
#include <memory>
#include <vector>

namespace tesk {

class AScanPanel;
class BoreholeImage;
class CheckLogPanel;
class CommandBar;
class CoordinatesPanel;
class DevicePanel;
class EditingCommands;
class FilterPanel;
class HeaderBindings;
class LayerColourBoxes;
class LayerExports;
class MagnifierPanel;
class LayerTools;
class MainView;
class Navigation;
class OptionPanel;
class ParameterPanel;
class ProgressPanel;
class RadargramView;
class ReliefTools;
class ShellPanel;
class TablePanels;
class VelocityTool;
class VolumeScreens;
class VolumeSettingsPanel;

class TForm1 final : public QWidget, public ShellServices, public OpenSaveHost {
  public:
    // The window works on store, which outlives it; every modal interaction
    // goes through prompter.
    TForm1(ProfileStore& store, Prompter& prompter, QWidget* parent = nullptr);
    ~TForm1() override;

    // The panels.
    CommandBar& commandBar() { return *bar_; }
    RadargramView& radargramView() { return *radargram_; }
    Navigation& navigation() { return *navigation_; }
    OptionPanel& optionPanel() { return *options_; }
    FilterPanel& filterPanel() { return *filters_; }
    LayerColourBoxes& layerColours() { return *colours_; }
    TablePanels& tablePanels() { return *tables_; }
    FileCommands& fileCommands() { return *files_; }
    VolumeScreens& volumeScreens() { return *volume_; }
    EditingCommands& editingCommands() { return *editing_; }
    const HeaderBindings& bindings() const { return *bindings_; }

    // The window's own handlers and routines.
    void FormResize();
    // Key preview: every key pressed in the window comes here before the
    // control that has the focus sees it; true keeps it from that control.
    bool FormKeyPress(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void AARR();
    void GRAF();
    void DrawView();
    void Resovka_1();
    void Resovka_2();
    // SpeedButton5: back to the radargram view.
    void SpeedButton5Click();
    // A press on a floating panel's drag source, as the mouse would give it.
    void PanelMouseDown(QWidget* source, Qt::MouseButton button);
    // Opens path as the open command does after its dialog.
    OpenResult openChosenFile(const std::string& path, bool append);
    // A main view for its view byte.
    void registerView(int viewByte, MainView* view);

    const QImage& radargramImage() const;
    const QImage& overlayImage() const;
    const OpenResult& lastOpen() const;
    const SaveResult& lastSave() const;
    bool closeAccepted() const;

    // ShellServices
    ProfileStore& store() override { return store_; }
    Prompter& prompter() override { return prompter_; }
    Interaction& interaction() override;
    ViewState& view() override { return view_; }
    RadargramEngine& radargram() override;
    bool english() const override;
    bool restoring() const override { return restoring_; }
    void setRestoring(bool on) override { restoring_ = on; }
    void redraw(Redraw what) override;
    ProcessingSettings processingSettings() override;
    OverlaySettings overlaySettings() override;
    void displaySettingsChanged() override;
    void applyLanguage() override { AARR(); }
    void showBoreholes() override;
    void focusOptionPanel() override;
    MainView* shownView() override;
    void setEditingAvailable(bool on) override;
    void framesRewrittenOutsideEditing() override;
    void markModified() override;
    const VolumeGrid* volumeGrid() override;
    ViewPixels cubePicture() override;

    // OpenSaveHost
    DeviceOptions deviceOptions() override;
    void surveyLoaded(bool appended, const AfterOpen& after) override;
    void showCheckLog(const std::vector<std::string>& lines) override;
    void applyOptionsFile(const OptionsFileRead& r) override;
    OptionsFileSettings optionsForSave() override;
    void coordinateSettings(OpenSettings& settings) override;
    void coordinatesImported(const OpenResult& r) override;
    void closeCoordinateFile() override;
    void closeWindow() override { close(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FormCreate();
    void buildPanels();
    void restoreControlsFromHeader();
    void setCommandsEnabled(bool on);
    // Every panel that follows the shown view redraws after it.
    void followView();

    ProfileStore& store_;
    Prompter& prompter_;
    ViewState view_;
    bool restoring_ = false;
    std::unique_ptr<CommandBar> bar_;
    std::unique_ptr<RadargramView> radargram_;
    std::unique_ptr<Navigation> navigation_;
    std::unique_ptr<OptionPanel> options_;
    std::unique_ptr<ParameterPanel> parameters_;
    std::unique_ptr<FilterPanel> filters_;
    std::unique_ptr<LayerColourBoxes> colours_;
    std::unique_ptr<VolumeSettingsPanel> volumeSettings_;
    std::unique_ptr<DevicePanel> device_;
    std::unique_ptr<AScanPanel> ascan_;
    std::unique_ptr<MagnifierPanel> magnifier_;
    std::unique_ptr<TablePanels> tables_;
    std::unique_ptr<LayerTools> layers_;
    std::unique_ptr<VelocityTool> velocity_;
    std::unique_ptr<CoordinatesPanel> coordinates_;
    std::unique_ptr<ReliefTools> relief_;
    std::unique_ptr<BoreholeImage> boreholes_;
    std::unique_ptr<LayerExports> layerExports_;
    std::unique_ptr<VolumeScreens> volume_;
    std::unique_ptr<CheckLogPanel> checkLog_;
    std::unique_ptr<ProgressPanel> progress_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<EditingCommands> editing_;
    std::unique_ptr<HeaderBindings> bindings_;
    std::vector<ShellPanel*> panels_; // every panel, in the order of the caption switch
    std::map<int, MainView*> views_;
};

} // namespace tesk
