#include "shell/volume/volume_screens.h"

#include "commands/grid_section.h"
#include "shell/files/open_save.h"

#include "shell/volume/cube_panel.h"
#include "shell/volume/cube_view.h"
#include "shell/volume/slice_view.h"
#include "shell/volume/volume_host.h"
#include "shell/volume/volume_settings_panel.h"
#include "shell/window/command_bar.h"

#include <QToolButton>

namespace tesk {

VolumeScreens::VolumeScreens(ShellServices& services, QWidget& window, CommandBar& bar,
                             RadargramView& radargram, OptionPanel& options,
                             VolumeSettingsPanel& settings)
    : host_(std::make_unique<VolumeHost>(services, window, bar, settings)),
      slices_(std::make_unique<SliceView>(services, *host_, radargram, bar, options, settings)),
      panel_(std::make_unique<CubePanel>(services, window)),
      cube_(std::make_unique<CubeView>(services, *host_, *panel_, bar, options, window)),
      section_(std::make_unique<GridSection>(host_->grid)) {
    SliceView* slices = slices_.get();
    CubeView* cube = cube_.get();
    slices->hideOtherView = [cube] { cube->hide(); };
    cube->hideOtherView = [slices] { slices->hide(); };
    settings.onSectionLayoutChanged = [slices] { slices->ComboBox54Change(); };
    settings.onShapeClicked = [slices] { slices->CheckBox_ShapeClick(); };
    settings.onFramesDivided = [&services, &bar] {
        bar.SpeedButton18->setText(QString::number(services.store().frameCount));
        services.framesRewrittenOutsideEditing();
        // The survey's frames moved: opening another file asks to save it.
        services.markModified();
    };
}

VolumeScreens::~VolumeScreens() = default;

std::vector<ShellPanel*> VolumeScreens::panels() const {
    return {slices_.get(), panel_.get(), cube_.get()};
}

MainView* VolumeScreens::sliceView() const {
    return slices_.get();
}

MainView* VolumeScreens::cubeView() const {
    return cube_.get();
}

void VolumeScreens::leave() {
    slices_->hide();
    cube_->hide();
    host_->leaveScreen();
}

const VolumeGrid* VolumeScreens::grid() const {
    return host_->grid.allocated() ? &host_->grid : nullptr;
}

ViewPixels VolumeScreens::cubePicture() {
    return cube_->picture();
}

} // namespace tesk

namespace tesk {

void VolumeScreens::wireExports(ExportSources& sources) {
    sources.viewPixels = [this] { return cube_->picture(); };
    // The slice table cuts the volume only when a complete build is there.
    sources.volume = [this]() -> const VolumeSection* {
        return host_->grid.allocated() && host_->grid.info.built ? section_.get() : nullptr;
    };
    sources.sectionRow = [this] { return int(host_->params.T[0]); };
}

void VolumeScreens::setOnEnter(std::function<void()> leaveRadargramModes) {
    host_->onEnter = std::move(leaveRadargramModes);
}

} // namespace tesk
