#pragma once
// What the volume views of the window share: the volume (its 164 MB are
// allocated with the first build and kept for the run), the section
// parameters, the values of the 3D panel and its section list, the section
// images and the cube mouse; the build itself, shown on Panel3 and abandoned
// with Escape; and what the window looks like while a volume view is shown
// (the commands that do not apply there are off).

#include "shell/display/radargram_engine.h"
#include "shell/window/services.h"
#include "volume/cube_modes.h"
#include "volume/panel_3d.h"
#include "volume/plane_slices.h"
#include "volume/volume_build.h"

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace tesk {

class CommandBar;
class VolumeSettingsPanel;

// Escape pressed while a long pass runs. The key may be pressed and let go
// between two polls of the pass; the press is kept until the pass ends.
class EscapeWatch final : public QObject {
  public:
    explicit EscapeWatch(Prompter& prompter);
    ~EscapeWatch() override;
    bool pressed();
    AbortCheck check() {
        return [this] { return pressed(); };
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    Prompter& prompter_;
    bool pressed_ = false;
};

// The busy bit of stateFlags for the lifetime of a long pass: the window
// serves its events meanwhile, and every command and change handler that
// could touch the store or start another pass stays out.
class BusyPass {
  public:
    explicit BusyPass(ProfileStore& s) : s_(s), was_(s.stateFlags & state::Busy) {
        s_.stateFlags = uint16_t(s_.stateFlags | state::Busy);
    }
    ~BusyPass() {
        if (!was_) s_.stateFlags = uint16_t(s_.stateFlags & ~state::Busy);
    }
    BusyPass(const BusyPass&) = delete;
    BusyPass& operator=(const BusyPass&) = delete;

  private:
    ProfileStore& s_;
    bool was_;
};

class VolumeHost {
  public:
    VolumeHost(ShellServices& services, QWidget& window, CommandBar& bar,
               VolumeSettingsPanel& settings);

    VolumeGrid grid;
    SectionParameters params;
    Panel3D panel; // the values of Panel_3D's controls
    SectionList sections;
    SectionImages sectionImages;
    CubeMouse mouse;
    // The grid step GP3_CORD chose for the profiles in 3D when the volume
    // was not built for them.
    int placementStepCm = 0;

    // GP_Volume for the view byte `view` (the fill method of ComboBox51; the
    // profiles in 3D use the masked vector method). True when the grid holds
    // a complete volume; an extent error or Escape leave the store as it
    // was.
    bool build(int view);
    // The grid step of the readouts, cm.
    int gridStepCm() const;
    // The radargram's filters and amplitude settings, taken from the header
    // now, for the slices and the planes of the cube views.
    SliceProcessing processing();
    RadargramEngine& radargram() { return services_.radargram(); }

    // A volume view is being shown: the radargram's tools and the commands
    // that move frames are off until the radargram comes back (their
    // previous states are kept and given back by leaveScreen).
    void enterScreen();
    // The window's tools that work on the radargram (the velocity and
    // boundary modes, their tables) leave their modes.
    std::function<void()> onEnter;
    void leaveScreen();
    bool screenShown() const { return shown_; }

  private:
    ShellServices& services_;
    QWidget& window_;
    CommandBar& bar_;
    VolumeSettingsPanel& settings_;
    bool shown_ = false;
    std::vector<std::pair<QWidget*, bool>> disabled_; // control, enabled before
};

} // namespace tesk
