#pragma once
// What a panel of the window may reach of the rest of it: the survey, the
// prompter, the long-pass interaction, the view state, the radargram's
// display state and a redraw request. Panels never see the window class.

#include "commands/bitmap_export.h"
#include "display/overlay.h"
#include "display/radargram.h"
#include "display/view_state.h"
#include "store/interaction.h"
#include "store/profile_store.h"

namespace tesk {

class MainView;
class Prompter;
class VolumeGrid;
struct RadargramEngine;

enum class Redraw {
    Overlay,    // DrawView: frame, scales, markers, cursor and readouts
    Radargram,  // GRAF and DrawView of the radargram view
    Palette,    // Resovka_1: the view the view byte selects, colours changed
    Processing, // Resovka_2: the view the view byte selects, processing changed
};

class ShellServices {
  public:
    virtual ~ShellServices() = default;
    virtual ProfileStore& store() = 0;
    virtual Prompter& prompter() = 0;
    virtual Interaction& interaction() = 0;
    virtual ViewState& view() = 0;
    virtual RadargramEngine& radargram() = 0;
    // CheckBox1: the language every message and caption is shown in.
    virtual bool english() const = 0;
    // True while the program itself sets controls (a reset of several boxes,
    // the language switch): change handlers do nothing then.
    virtual bool restoring() const = 0;
    virtual void setRestoring(bool on) = 0;
    virtual void redraw(Redraw what) = 0;
    // The processing and overlay settings of the radargram: derived from
    // the survey header, plus what only the window keeps (the grid, the
    // profile addition, the relief display and its stretch).
    virtual ProcessingSettings processingSettings() = 0;
    virtual OverlaySettings overlaySettings() = 0;
    // The display settings in the header changed: the radargram takes them
    // over and rebuilds its palettes, and the amplitude-form box shows the
    // colour of the result.
    virtual void displaySettingsChanged() = 0;
    // The borehole display over the radargram follows the layers and the
    // velocity and depth table when "Показать скважины" is checked.
    virtual void showBoreholes() = 0;
    // AARR: every caption, hint, list item and table title in the language of CheckBox1.
    virtual void applyLanguage() = 0;
    // The option panel takes the focus back after its handlers when it is shown.
    virtual void focusOptionPanel() = 0;
    // The main view the view byte selects, or null while that view is not built.
    virtual MainView* shownView() = 0;
    // The frame editing buttons: a view or mode that draws over the
    // radargram takes them away (and the frame clipboard with the paste
    // button); the radargram view brings them back.
    virtual void setEditingAvailable(bool on) { (void)on; }
    // A command other than the frame editing moved frames, changed
    // frameCount, rewrote frame bytes or built in the work bytes: the frame
    // clipboard and the undo history of the edits no longer fit the survey.
    virtual void framesRewrittenOutsideEditing() {}
    // The operator changed the survey: a setting it keeps, an edit of its
    // frames or markers, its interpretation. Opening another file over it
    // then asks whether to save it first. Changes the program makes itself
    // (while restoring or busy) do not count.
    virtual void markModified() = 0;

    // The volume of the slice and 3D views; none before the first build.
    virtual const VolumeGrid* volumeGrid() { return nullptr; }
    // The picture of the 3D drawing area as glReadPixels returns it (blue,
    // green, red, alpha; bottom row first); empty outside the 3D views.
    virtual ViewPixels cubePicture() { return {}; }

    bool busy() { return store().stateFlags & state::Busy; }
    // The radargram view is shown (view byte 0).
    bool radargramShown() { return (store().stateFlags & state::ViewMask) == 0; }
};

// The program sets controls for the lifetime of the guard.
class Restoring {
  public:
    explicit Restoring(ShellServices& s) : s_(s), was_(s.restoring()) { s_.setRestoring(true); }
    ~Restoring() { s_.setRestoring(was_); }
    Restoring(const Restoring&) = delete;
    Restoring& operator=(const Restoring&) = delete;

  private:
    ShellServices& s_;
    bool was_;
};

} // namespace tesk
