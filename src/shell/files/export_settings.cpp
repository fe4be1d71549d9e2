// What the save command's exports take from the window at the click: the
// radargram's display settings, the window's processing and overlay, the
// view, the colour boxes, and the pictures and volume of the other tools.

#include "shell/display/layer_colour_boxes.h"
#include "shell/display/navigation.h"
#include "shell/display/radargram_view.h"
#include "shell/files/open_save.h"
#include "shell/volume/cube_panel.h"

#include <QFrame>

namespace tesk {

ProcessingSettings FileCommands::exportProcessing() {
    // The filters and the profile addition as the window draws them; the
    // relief display is the store's bit, at the time step of the survey.
    ProcessingSettings p = services_.processingSettings();
    p.relief.on = store().stateFlags & state::Relief;
    p.relief.nsPerRow = sampleScaleFromStore(store()).nsPerSample;
    return p;
}

ExportSettings FileCommands::textExportSettings(SaveVariant variant) {
    ExportSettings e = exportSettingsFromStore(store(), variant, systemDecimalSeparator());
    RadargramEngine& r = services_.radargram();
    r.takeSettings(store());
    e.display = r.settings;
    e.processing = exportProcessing();
    e.cursorRow = services_.view().cursorRow;
    if (e.view == view::Slices && exportSources.sectionRow)
        e.cursorRow = exportSources.sectionRow();
    if (exportSources.volume) e.volume = exportSources.volume();
    if (exportSources.layers) e.layers = exportSources.layers();
    return e;
}

BitmapSettings FileCommands::bitmapExportSettings(ViewPixels& pixels) {
    BitmapSettings b = bitmapSettingsFromStore(store());
    RadargramEngine& r = services_.radargram();
    r.takeSettings(store());
    b.display = r.settings;
    b.palettes = &r.palettes;
    const auto painters = panels_.radargram.painters();
    b.painters.assign(painters.begin(), painters.end());
    b.processing = exportProcessing();
    b.overlay = services_.overlaySettings();
    b.viewState = services_.view();
    // "Фон": pixels without data in the colour of the boxes, 0x00BBGGRR.
    b.background.reset();
    if (b.display.background) {
        const auto rgb = panels_.colours.components();
        b.background = uint32_t(rgb[0]) | (uint32_t(rgb[1]) << 8) | (uint32_t(rgb[2]) << 16);
    }
    if (exportSources.layers) b.layers = exportSources.layers();
    if ((b.view == view::Carpet || b.view == view::Sections3D) && exportSources.viewPixels) {
        pixels = exportSources.viewPixels();
        b.viewPixels = &pixels;
    }
    return b;
}

void FileCommands::afterBitmap() {
    const int v = store().stateFlags & state::ViewMask;
    if (v == view::Radargram) {
        // A one-profile picture moves the view to the profile it shows.
        panels_.navigation.showViewStart();
        services_.redraw(Redraw::Radargram);
    } else if (v == view::Carpet || v == view::Sections3D) {
        panels_.panel3d.Panel_3D->show();
    }
}

} // namespace tesk
