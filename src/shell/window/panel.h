#pragma once
// The base of every panel class of the window. A panel owns its controls
// (named as the component names, member and objectName), its handlers and
// its rows of the caption catalogue, and reaches the rest of the window only
// through ShellServices.

#include "shell/window/captions.h"
#include "shell/window/services.h"

#include <span>

namespace tesk {

class ShellPanel {
  public:
    explicit ShellPanel(ShellServices& services) : services_(services) {}
    virtual ~ShellPanel() = default;
    ShellPanel(const ShellPanel&) = delete;
    ShellPanel& operator=(const ShellPanel&) = delete;

    // Connects the controls to their handlers; called once every control of
    // the window exists and the header bindings are connected, so that a
    // bound cell is written before its handler runs.
    virtual void connectHandlers() {}
    // The panel's rows of the caption catalogue.
    virtual std::span<const CaptionRow> captions() const { return {}; }
    // Captions that name a state, and table titles, in the given language;
    // after the catalogue rows.
    virtual void applyLanguage(bool english) { (void)english; }
    // The bound controls were just set from the survey header without their
    // handlers: the panel brings what it derives from them up to date.
    virtual void restored() {}
    // The shown view was just redrawn or its cursor moved: panels that follow
    // the view (the trace under the cursor, the magnifier) redraw themselves.
    virtual void viewRedrawn() {}

  protected:
    ShellServices& services_;
    ProfileStore& store() { return services_.store(); }
    bool busy() { return services_.busy(); }
    bool restoring() { return services_.restoring(); }
};

} // namespace tesk
