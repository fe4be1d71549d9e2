#pragma once
// The window's radargram: raster, palettes, the two images, and the display
// settings, which come from the survey header in one place (takeSettings).

#include "display/radargram.h"

namespace tesk {

struct RadargramEngine : Radargram {
    // Derives the display settings from the header, the one source of
    // truth; only the chosen-amplitude mode and code belong to the window
    // itself.
    void takeSettings(const ProfileStore& s) {
        const bool chosen = settings.chosenAmplitude;
        const uint8_t code = settings.chosenCode;
        loadDisplaySettings(s.header, settings);
        settings.chosenAmplitude = chosen;
        settings.chosenCode = code;
    }
    // takeSettings, then the working palettes rebuilt for them (the tables an
    // options file brought are replaced). Returns the font colour of ComboBox18.
    uint32_t sync(const ProfileStore& s) {
        takeSettings(s);
        return recolour();
    }
    // A zero/gain edit on the current settings, written back to the header at once.
    template <typename Edit> void editSettings(ProfileStore& s, Edit&& edit) {
        takeSettings(s);
        edit(settings);
        storeDisplaySettings(settings, s.header);
    }
};

} // namespace tesk
