#pragma once
// Messages and captions of the volume build, the slice views and the 3D
// view. A line break inside a message is "\r".

#include "store/messages.h"

#include <string>

namespace tesk::msg {

// The coordinate extent gives no grid (step 0 or above 100 m per node):
// GP_Volume's wording, with the frames where the four extremes occur.
Message volumeExtentError(int frameXMax, int frameXMin, int frameYMax, int frameYMin);
// The same check when the profiles are placed for the 3D profile view,
// which also names the step (cm per node).
Message placementExtentError(double step, int frameXMax, int frameXMin, int frameYMax,
                             int frameYMin);
// Label1 of the progress panel while the volume is built (text only; the
// icon and buttons are unused).
Message volumePassCaption();
// A 3D view command where the display gives no OpenGL rendering context:
// the view is not entered; the volume, the plane slices and every other
// command keep working.
Message cubeViewNeedsOpenGL();

} // namespace tesk::msg
