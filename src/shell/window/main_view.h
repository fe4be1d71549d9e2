#pragma once
// A main view of the window, chosen by the view byte of stateFlags: the
// radargram (0), the plane slices (8) and the 3D views (0x10, 0x20, 0x40).
// The redraw requests of every panel reach the view that is shown through
// this interface.

namespace tesk {

class MainView {
  public:
    virtual ~MainView() = default;
    // Resovka_1: the colours changed; the view repaints what it has processed.
    virtual void recolour() = 0;
    // Resovka_2: the processing changed; the view processes and repaints.
    virtual void reprocess() = 0;
};

} // namespace tesk
