#pragma once
// One overview picture of the whole survey, for `render --whole`: every
// frame 0..frameCount, profiles and gaps, squeezed into a chosen number of
// columns of 512 sample rows. Each column stands for the run of frames it
// covers and shows, per sample, the code that lies farthest from zero
// amplitude among them (no data only where all of them have none): a thin
// reflector or the apex of a hyperbola stays visible however many frames a
// column covers, where a mean would cancel the alternating phases. The
// column then passes the zero/gain stage and the palette of the radargram.
// The filters and the profile addition, which act between neighbouring
// frames, are left out.

#include "display/amplitude.h"
#include "display/palettes.h"
#include "store/profile_store.h"

#include <QImage>

namespace tesk {

inline constexpr int DEFAULT_OVERVIEW_WIDTH = 2048;

struct OverviewSettings {
    int width = DEFAULT_OVERVIEW_WIDTH; // columns; at most one per frame
    DisplaySettings display;            // zero/gain, amplitude form, colour mode, inversion
};

// The settings the survey header keeps.
OverviewSettings overviewSettingsFromStore(const ProfileStore& s,
                                           int width = DEFAULT_OVERVIEW_WIDTH);

// The code of a run of frames at one sample: the one farthest from 128,
// the first of equals; 0 when every frame has 0.
uint8_t extremeCode(const uint8_t* codes, int count);

// The picture, Format_RGB32, min(width, frameCount + 1) x 512; column x
// covers frames [x N / W, (x + 1) N / W) with N = frameCount + 1.
QImage renderOverview(const ProfileStore& s, const OverviewSettings& o);

} // namespace tesk
