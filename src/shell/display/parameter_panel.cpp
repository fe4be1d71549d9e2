#include "shell/display/parameter_panel.h"

#include "shell/widgets/controls.h"
#include "store/settings_catalog.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <algorithm>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label10", CaptionKind::Caption, -1, "Vgr = cm/1ns", "Vgr = сm/1ns"},
    {"Label11", CaptionKind::Caption, -1, "Depth of profile", "Глубина профиля"},
    {"Label12", CaptionKind::Caption, -1, "Step of profile  cm", "Шаг профиля  см"},
    {"Label13", CaptionKind::Caption, -1, "D between antennas", "D между антенн"},
    {"Label14", CaptionKind::Caption, -1, "Time stretch", "Растяжение времени"},
    {"Label15", CaptionKind::Caption, -1, "Step on depth cm", "Шаг по глубине см"},
    {"Label16", CaptionKind::Caption, -1, "Step of viewing ", "Шаг просмотра "},
    {"ComboBox10", CaptionKind::Item, 0, "  Hodograph", "  Годограф"},
    {"ComboBox16", CaptionKind::Item, 0, "  20 Frames", "  20 Кадров"},
    {"ComboBox16", CaptionKind::Item, 1, "  40 Frames", "  40 Кадров"},
    {"ComboBox16", CaptionKind::Item, 2, " 100 Frames", " 100 Кадров"},
    {"ComboBox16", CaptionKind::Item, 3, " 200 Frames", " 200 Кадров"},
    {"ComboBox16", CaptionKind::Item, 4, " 300 Frames", " 300 Кадров"},
    {"ComboBox16", CaptionKind::Item, 5, " 400 Frames", " 400 Кадров"},
    {"ComboBox16", CaptionKind::Item, 6, " 500 Frames", " 500 Кадров"},
    {"ComboBox16", CaptionKind::Item, 7, " Profile", " Профиль"},
};
// clang-format on

} // namespace

ParameterPanel::ParameterPanel(ShellServices& services, QWidget* optionPanel)
    : ShellPanel(services) {
    Panel_22 = subPanel(optionPanel, "Panel_22", 140);
    QWidget* p = Panel_22;
    // Six captioned boxes one under the other, 35 pixels apart; the
    // velocity box takes the whole width for its longest item.
    Label11 = label(p, "Label11", 6, 1);
    ComboBox11 = combo(p, "ComboBox11", 4, 15, 130,
                       {"     128  ns", "     256  ns", "     512  ns", "   1024  ns",
                        "   2048  ns", "   4096  ns", "   8192  ns", " 16384  ns"});
    Label14 = label(p, "Label14", 6, 1);
    ComboBox14 = combo(p, "ComboBox14", 4, 15, 130, QStringList(items::TimeStretch, QString()));
    Label14->hide();
    ComboBox14->hide();
    ComboBox14->setCurrentIndex(items::TIME_STRETCH_START_ITEM);
    Label12 = label(p, "Label12", 6, 36);
    ComboBox12 = combo(p, "ComboBox12", 4, 50, 130, numbers(items::STEP_CM));
    Label13 = label(p, "Label13", 6, 71);
    ComboBox13 = combo(p, "ComboBox13", 4, 85, 130, numbers(items::ANTENNA_CM));
    Label15 = label(p, "Label15", 6, 106);
    ComboBox15 = combo(p, "ComboBox15", 4, 120, 130, numbers(items::DEPTH_STEP_CM));
    Label16 = label(p, "Label16", 6, 141);
    ComboBox16 = combo(p, "ComboBox16", 4, 155, 130, QStringList(items::ViewStep, QString()));
    Label10 = label(p, "Label10", 6, 176, 128);
    QStringList velocities{QString()};
    for (std::size_t i = 1; i < VELOCITY_TABLE.size(); ++i)
        velocities << "  " + QString::number(VELOCITY_TABLE[i] / 100.0, 'f', 2);
    ComboBox10 = combo(p, "ComboBox10", 4, 190, 130, velocities);
    rebuildTimeStretchItems();
}

void ParameterPanel::connectHandlers() {
    auto changed = [this](QComboBox* c, void (ParameterPanel::*h)()) {
        QObject::connect(c, &QComboBox::currentIndexChanged, Panel_22, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    changed(ComboBox10, &ParameterPanel::ComboBox10Change);
    changed(ComboBox11, &ParameterPanel::ComboBox11Change);
    changed(ComboBox12, &ParameterPanel::ComboBox12Change);
    changed(ComboBox13, &ParameterPanel::ComboBox13Change);
    changed(ComboBox14, &ParameterPanel::ComboBox14Change);
    changed(ComboBox15, &ParameterPanel::ComboBox15Change);
    // ComboBox16 keeps only its header bits: the navigation reads the item.
}

std::span<const CaptionRow> ParameterPanel::captions() const {
    return CAPTIONS;
}

void ParameterPanel::restored() {
    rebuildTimeStretchItems(); // the stretch items are counted from the range
    showDepthStepColour();
    showVelocityColour();
}

double ParameterPanel::timeStretch() const {
    return items::TIME_STRETCH_FACTORS[std::size_t(
        std::clamp(ComboBox14->currentIndex(), 0, items::TimeStretch - 1))];
}

void ParameterPanel::showTimeStretch(bool on) {
    Label11->setVisible(!on);
    ComboBox11->setVisible(!on);
    Label14->setVisible(on);
    ComboBox14->setVisible(on);
}

void ParameterPanel::rebuildTimeStretchItems() {
    const int range = ComboBox11->currentIndex();
    const int keep = ComboBox14->currentIndex();
    for (int i = 0; i < items::TimeStretch; ++i)
        ComboBox14->setItemText(i, "    " + QString::number(items::stretchedRangeNs(range, i)) +
                                       "  ns");
    ComboBox14->setCurrentIndex(keep);
}

void ParameterPanel::showDepthStepColour() {
    if (ComboBox15->currentIndex() > 0)
        setBoxColour(ComboBox15, LIGHT_YELLOW);
    else
        resetBoxColour(ComboBox15);
}

// An explicit velocity is light yellow; the hodograph's item keeps the
// default colour.
void ParameterPanel::showVelocityColour() {
    if (ComboBox10->currentIndex() > 0)
        setBoxColour(ComboBox10, LIGHT_YELLOW);
    else
        resetBoxColour(ComboBox10);
}

void ParameterPanel::ComboBox11Change() {
    rebuildTimeStretchItems();
    if (busy()) return;
    if ((store().stateFlags & state::Relief) && services_.radargramShown())
        services_.redraw(Redraw::Radargram);
    // Keep the depth step sensible for the new time range.
    const int set =
        items::depthStepForTimeRange(ComboBox11->currentIndex(), ComboBox15->currentIndex());
    if (set >= 0) ComboBox15->setCurrentIndex(set);
    services_.redraw(Redraw::Overlay);
}

void ParameterPanel::ComboBox12Change() {
    if (busy()) return;
    store().stateFlags |= state::Changed;
    services_.redraw(Redraw::Overlay);
}

void ParameterPanel::ComboBox13Change() {
    if (busy()) return;
    services_.redraw(Redraw::Overlay);
}

void ParameterPanel::ComboBox15Change() {
    showDepthStepColour();
    if (busy()) return;
    services_.redraw(Redraw::Overlay);
}

void ParameterPanel::ComboBox14Change() {
    if (busy()) return;
    services_.redraw(Redraw::Radargram);
}

void ParameterPanel::ComboBox10Change() {
    if (busy()) return;
    if (velocityModeOn && velocityModeOn()) {
        // While the velocity is measured the box stays on the measured one.
        if (ComboBox10->currentIndex() != 0) {
            const Restoring quiet(services_);
            ComboBox10->setCurrentIndex(0);
        }
        showVelocityColour();
        store().setVelocity(store().hodographVelocity);
        return;
    }
    showVelocityColour();
    const int item = ComboBox10->currentIndex();
    const uint16_t code = item == 0 ? store().hodographVelocity : VELOCITY_TABLE[std::size_t(item)];
    store().setVelocity(code);
    services_.redraw(Redraw::Processing);
}

} // namespace tesk
