#pragma once
// The window's radargram: raster, settings, palettes and the two images.

#include "display/radargram.h"

namespace tesk {

struct RadargramEngine : Radargram {};

} // namespace tesk
