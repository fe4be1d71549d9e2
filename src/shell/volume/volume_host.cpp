#include "shell/volume/volume_host.h"

#include "shell/prompts/prompter.h"
#include "shell/volume/volume_settings_panel.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace tesk {

EscapeWatch::EscapeWatch(Prompter& prompter) : prompter_(prompter) {
    QCoreApplication::instance()->installEventFilter(this);
}

EscapeWatch::~EscapeWatch() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool EscapeWatch::pressed() {
    pressed_ = pressed_ || prompter_.modifiers().escape;
    return pressed_;
}

bool EscapeWatch::eventFilter(QObject*, QEvent* e) {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
        pressed_ = true;
    return false;
}

VolumeHost::VolumeHost(ShellServices& services, QWidget& window, CommandBar& bar,
                       VolumeSettingsPanel& settings)
    : services_(services), window_(window), bar_(bar), settings_(settings) {}

bool VolumeHost::build(int view) {
    ProfileStore& s = services_.store();
    VolumeSettings v = volumeSettingsFromStore(s, services_.overlaySettings().stretch);
    // The view byte changes only once the volume is there; the method follows
    // the view being entered.
    v.maskedVector = view == cube_view::Profiles;
    EscapeWatch escape(services_.prompter());
    const BusyPass busy(s);
    return GP_Volume(s, grid, v, services_.interaction(), escape.check()) == BuildResult::Built;
}

int VolumeHost::gridStepCm() const {
    return grid.info.built ? grid.info.stepCm : placementStepCm;
}

SliceProcessing VolumeHost::processing() {
    RadargramEngine& r = services_.radargram();
    r.takeSettings(services_.store());
    const ProcessingSettings p = services_.processingSettings();
    return SliceProcessing{p.filter1, p.filter2, &r.settings};
}

void VolumeHost::enterScreen() {
    if (shown_) return;
    shown_ = true;
    disabled_.clear();
    settings_.cancelDivisionSetup();
    // The radargram's modes end; frame editing goes (the volume views build
    // in the work bytes, where the frame clipboard lives) and comes back
    // with the radargram.
    if (onEnter) onEnter();
    services_.setEditingAvailable(false);
    // The velocity and boundary tools, the magnifier, navigation, the
    // profile addition, the fill settings and the division into profiles
    // work on the radargram; the section steps and the layout stay.
    std::vector<QWidget*> off = {bar_.SpeedButton15,
                                 bar_.SpeedButton16,
                                 bar_.SpeedButton29,
                                 bar_.SpeedButton35,
                                 bar_.SpeedButton17,
                                 bar_.SpeedButton18,
                                 bar_.MaskEdit1,
                                 settings_.ComboBox40,
                                 settings_.ComboBox41,
                                 settings_.ComboBox42,
                                 settings_.ComboBox51,
                                 settings_.ComboBox52,
                                 settings_.SpeedButton_GProf,
                                 settings_.CheckBox_GProf_1,
                                 settings_.CheckBox_GProf_2,
                                 settings_.CheckBox_GProf_3,
                                 settings_.CheckBox_GProf_4};
    // The relief line is not drawn over the volume.
    if (auto* line = window_.findChild<QCheckBox*>("CheckBox73")) {
        line->setChecked(false);
        off.push_back(line);
    }
    for (QWidget* w : off) {
        disabled_.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    for (QToolButton* b : {bar_.SpeedButton20, bar_.SpeedButton21, bar_.SpeedButton22,
                           bar_.SpeedButton23, bar_.SpeedButton24, bar_.SpeedButton25})
        b->setEnabled(true);
    settings_.ComboBox54->setEnabled(true);
    // The radargram's floating tools have nothing to show over the volume.
    for (const char* name : {"Panel_CORD", "Panel_TVSL", "Panel_TGod", "Panel_Kratnik", "Panel9"})
        if (QWidget* w = window_.findChild<QWidget*>(name)) w->hide();
}

void VolumeHost::leaveScreen() {
    if (!shown_) return;
    shown_ = false;
    for (const auto& [w, enabled] : disabled_) w->setEnabled(enabled);
    disabled_.clear();
}

} // namespace tesk
