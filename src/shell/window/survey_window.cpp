// What the window does around the survey: the controls restored from its
// header, the steps after an open, the options file's values, the settings
// of the radargram derived from the header, the commands a survey enables
// and the return to the plain profile.

#include "shell/coordinates/coordinates_panel.h"
#include "shell/coordinates/relief_tools.h"
#include "shell/display/ascan_panel.h"
#include "shell/display/filter_panel.h"
#include "shell/display/layer_colour_boxes.h"
#include "shell/display/navigation.h"
#include "shell/display/parameter_panel.h"
#include "shell/display/radargram_view.h"
#include "shell/editing/editing_commands.h"
#include "shell/files/check_log_panel.h"
#include "shell/files/device_panel.h"
#include "shell/interpretation/layer_tools.h"
#include "shell/interpretation/table_panels.h"
#include "shell/interpretation/velocity_tool.h"
#include "shell/options/option_panel.h"
#include "shell/volume/volume_screens.h"
#include "shell/volume/volume_settings_panel.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"
#include "shell/window/header_bindings.h"
#include "shell/window/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScrollArea>
#include <QToolButton>

namespace tesk {

void TForm1::restoreControlsFromHeader() {
    bindings_->restore(store_.header);
    for (ShellPanel* p : panels_) p->restored();
    displaySettingsChanged();
    // The language follows the header's bit whether or not it changed.
    AARR();
}

void TForm1::displaySettingsChanged() {
    filters_->showFormColour(radargram_->engine().sync(store_));
}

ProcessingSettings TForm1::processingSettings() {
    ProcessingSettings p = processingFromHeader(store_.header);
    volumeSettings_->addition(p);
    layers_->addStages(p);
    relief_->addRelief(p);
    return p;
}

OverlaySettings TForm1::overlaySettings() {
    OverlaySettings o = overlaySettingsFromHeader(store_);
    o.grid = options_->CheckBox3->isChecked();
    o.reliefDisplay = store_.stateFlags & state::Relief;
    o.stretch = parameters_->timeStretch();
    relief_->addRelief(o);
    return o;
}

DeviceOptions TForm1::deviceOptions() {
    return device_->deviceOptions();
}

void TForm1::surveyLoaded(bool appended, const AfterOpen& after) {
    // The open command showed the radargram again.
    volume_->leave();
    // New frames: the clipboard and the undo history start over.
    editing_->surveyOpened();
    if (!appended)
        restoreControlsFromHeader();
    else
        AARR();
    // The view starts over: frame field, frame count, cursors.
    bar_->SpeedButton18->setText(QString::number(store_.frameCount));
    navigation_->showViewStart();
    velocity_->surveyLoaded();
    setCommandsEnabled(true);
    layers_->surveyLoaded();
    // The device options matter once a 12-bit device file has been read.
    if (after.showDeviceOptions) options_->CheckBox15->show();
    GRAF();
    DrawView();
}

void TForm1::coordinateSettings(OpenSettings& settings) {
    settings.coordinates = coordinates_->importSettings();
    settings.coordinateFile = coordinates_->coordinateFile();
}

void TForm1::coordinatesImported(const OpenResult& r) {
    coordinates_->coordinatesImported(r);
}

void TForm1::closeCoordinateFile() {
    coordinates_->closeCoordinateFile();
}

void TForm1::showCheckLog(const std::vector<std::string>& lines) {
    checkLog_->showCheckLog(lines);
}

OptionsFileSettings TForm1::optionsForSave() {
    OptionsFileSettings o = optionsFromStore(store_, device_->deviceOptions());
    o.grid = options_->CheckBox3->isChecked();
    o.addition = volumeSettings_->additionItems();
    o.colourComponents = colours_->components();
    layers_->optionsForSave(o);
    const RadargramEngine& r = radargram_->engine();
    const Palettes& p = r.palettes;
    o.chosenCode = r.settings.chosenCode;
    o.tableA = p.GreyPaletteMarked;
    o.tableB = p.ViewPaletteMarked;
    o.tableC = p.MainPaletteMarked;
    std::copy(p.FineRampMarked.begin(), p.FineRampMarked.end(), o.tableD.begin());
    return o;
}

void TForm1::applyOptionsFile(const OptionsFileRead& r) {
    // The header cells were updated by the reader; the window follows them.
    restoreControlsFromHeader();
    const OptionsFileSettings& v = r.values;
    {
        const Restoring quiet(*this);
        if (r.applied(OptionsField::ColourComponent32))
            colours_->ComboBox32->setCurrentIndex(v.colourComponents[0]);
        if (r.applied(OptionsField::ColourComponent33))
            colours_->ComboBox33->setCurrentIndex(v.colourComponents[1]);
        if (r.applied(OptionsField::ColourComponent34))
            colours_->ComboBox34->setCurrentIndex(v.colourComponents[2]);
    }
    if (r.applied(OptionsField::AmplitudeFlags)) filters_->uncheckChosenAmplitudeKeepingBit();
    Palettes& p = radargram_->engine().palettes;
    std::copy_n(v.tableA.begin(), r.tableEntries[0], p.GreyPaletteMarked.begin());
    std::copy_n(v.tableB.begin(), r.tableEntries[1], p.ViewPaletteMarked.begin());
    std::copy_n(v.tableC.begin(), r.tableEntries[2], p.MainPaletteMarked.begin());
    std::copy_n(v.tableD.begin(), r.tableEntries[3], p.FineRampMarked.begin());
    GRAF();
    DrawView();
}

void TForm1::SpeedButton5Click() {
    // Leaving the relief display marks the volume stale. An open coordinate
    // file stays open: it is an import in progress, not part of the view; a
    // volume out of date stays out of date. The magnifier is a tool, not a
    // view: it stays on.
    const uint16_t keep =
        store_.stateFlags & (state::CoordFileOpen | state::VolumeStale | state::Magnifier);
    volume_->leave();
    store_.stateFlags = uint16_t(((store_.stateFlags & state::Relief) ? state::Changed : 0) | keep);
    parameters_->showTimeStretch(false);
    radargram_->ScrollBox1->show();
    radargram_->Image1->show();
    velocity_->leaveMode();
    layers_->leaveModes();
    tables_->hideAll();
    // Showing the profile gives up the frame clipboard, as every view command
    // does, and brings the editing buttons back on the radargram.
    editing_->setAvailable(false);
    editing_->setAvailable(true);
    // What the relief display held off comes back: opening, profile addition.
    bar_->SpeedButton1->setEnabled(true);
    for (QComboBox* c :
         {volumeSettings_->ComboBox40, volumeSettings_->ComboBox41, volumeSettings_->ComboBox42})
        c->setEnabled(true);
    AARR();
    GRAF();
    DrawView();
}

void TForm1::setCommandsEnabled(bool on) {
    // Open, close and the option panel are always usable; every other
    // command waits for a survey.
    for (QToolButton* b : bar_->surveyCommands()) b->setEnabled(on);
    // The editing buttons follow the survey; paste follows the clipboard.
    editing_->setAvailable(on);
    bar_->MaskEdit1->setEnabled(on);
}

} // namespace tesk
