#pragma once
// The volume views of the window, composed: the shared volume and section
// state, the plane-slice screen (view byte 8), the 3D panel and the 3D views
// (0x10, 0x20, 0x40), wired to each other and to the volume settings of the
// option panel.

#include "commands/bitmap_export.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace tesk {

class CommandBar;
class CubePanel;
class CubeView;
class GridSection;
struct ExportSources;
class MainView;
class OptionPanel;
class RadargramView;
class ShellPanel;
class ShellServices;
class SliceView;
class VolumeGrid;
class VolumeHost;
class VolumeSettingsPanel;

class VolumeScreens {
  public:
    VolumeScreens(ShellServices& services, QWidget& window, CommandBar& bar,
                  RadargramView& radargram, OptionPanel& options, VolumeSettingsPanel& settings);
    ~VolumeScreens();

    // The panels, for the caption switch and the handler connection.
    std::vector<ShellPanel*> panels() const;
    MainView* sliceView() const;
    MainView* cubeView() const;
    // Back to the radargram: every widget of the volume views hidden and the
    // commands they switched off given back.
    void leave();
    const VolumeGrid* grid() const;
    ViewPixels cubePicture();
    // The exports read the 3D picture and the volume's horizontal section
    // through these hooks.
    void wireExports(ExportSources& sources);
    // Runs as a volume view is entered: the radargram's modes end.
    void setOnEnter(std::function<void()> leaveRadargramModes);
    CubePanel& panel3d() { return *panel_; }

    VolumeHost& host() { return *host_; }
    SliceView& slices() { return *slices_; }
    CubeView& cube() { return *cube_; }

  private:
    std::unique_ptr<VolumeHost> host_;
    std::unique_ptr<SliceView> slices_;
    std::unique_ptr<CubePanel> panel_;
    std::unique_ptr<CubeView> cube_;
    std::unique_ptr<GridSection> section_;
};

} // namespace tesk
