#pragma once
// A main view of the window, chosen by the view byte of stateFlags: the
// radargram (0), the plane slices (8) and the 3D views (0x10, 0x20, 0x40).
// The redraw requests of every panel reach the view that is shown through
// this interface.

#include "display/ascan.h"

#include <optional>

namespace tesk {

class MainView {
  public:
    virtual ~MainView() = default;
    // Resovka_1: the colours changed; the view repaints what it has processed.
    virtual void recolour() = 0;
    // Resovka_2: the processing changed; the view processes and repaints.
    virtual void reprocess() = 0;
    // DrawView of the view: its frame, scales, markers, cursor and readouts.
    virtual void drawOverlay() = 0;
    // The trace the A-scan panel shows for the view's cursor or section
    // plane, when the view has one.
    virtual std::optional<AScanTrace> aScanTrace() { return std::nullopt; }
};

} // namespace tesk
