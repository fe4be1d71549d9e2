#include "shell/window/header_bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QVariant>
#include <algorithm>
#include <string_view>

namespace tesk {

namespace {

using K = BindingKind;

// clang-format off
const HeaderBinding BINDINGS[] = {
    // Profile parameters.
    {"ComboBox11", hdr::TimeRange, K::Item, 0xFF},
    {"ComboBox12", hdr::Step, K::Item, 0xFF, true},
    {"ComboBox10", hdr::VelocityIndex, K::Item, 0xFF},
    {"ComboBox13", hdr::Antenna, K::Item, 0xFF},
    {"ComboBox15", hdr::DepthStep, K::Item, 0xFF},
    {"ComboBox16", hdr::ViewFlags, K::LowBits, 0x0F},
    // Filters: kind, then L, T and X of each.
    {"ComboBox20", hdr::Filter1Kind, K::Item, 0xFF},
    {"ComboBox22", hdr::Filter1Kind + 1, K::Item, 0xFF},
    {"ComboBox23", hdr::Filter1Kind + 2, K::Item, 0xFF},
    {"ComboBox24", hdr::Filter1Kind + 3, K::Item, 0xFF},
    {"ComboBox21", hdr::Filter2Kind, K::Item, 0xFF},
    {"ComboBox25", hdr::Filter2Kind + 1, K::Item, 0xFF},
    {"ComboBox26", hdr::Filter2Kind + 2, K::Item, 0xFF},
    {"ComboBox27", hdr::Filter2Kind + 3, K::Item, 0xFF},
    // Amplitude and colours.
    {"ComboBox28", hdr::ColourMode, K::Item, 0xFF},
    {"ComboBox18", hdr::AmplitudeForm, K::Item, 0xFF},
    {"ComboBox19", hdr::ZeroGainMode, K::Item, 0xFF},
    {"ComboBox29", hdr::LevelTable, K::Item, 0xFF},
    {"CheckBox21", hdr::AmplitudeFlags, K::Bit, hdr::Background},
    {"CheckBox22", hdr::AmplitudeFlags, K::Bit, hdr::Inversion},
    {"CheckBox23", hdr::AmplitudeFlags, K::Bit, hdr::Highlight},
    // Volume and slices.
    {"ComboBox51", hdr::VolumeInterp, K::Item, 0xFF, true},
    {"ComboBox52", hdr::ProfileDistance, K::Item, 0xFF, true},
    {"ComboBox54", hdr::Section, K::Item, 0xFF, true},
    {"CheckBox52", hdr::AmplitudeFlags, K::Bit, hdr::ProcessAll},
    // The base of the option panel.
    {"CheckBox2", hdr::ViewFlags, K::Bit, hdr::ZeroLine},
    {"CheckBox4", hdr::ViewFlags, K::Bit, hdr::Function},
    {"CheckBox1", hdr::ViewFlags, K::Bit, hdr::English},
    {"CheckBox11", hdr::OptionFlags, K::Bit, hdr::ShowParameters},
    {"CheckBox12", hdr::OptionFlags, K::Bit, hdr::ShowFilters},
    {"CheckBox13", hdr::OptionFlags, K::Bit, hdr::Show3D},
};
// clang-format on

// Bound controls that arrange the window rather than change the survey:
// the language, the shown sub-panels, the view step, the amplitude panel.
bool arrangesWindow(const HeaderBinding& b) {
    static const char* const WINDOW_ONLY[] = {"CheckBox1",  "CheckBox4",  "CheckBox11",
                                              "CheckBox12", "CheckBox13", "ComboBox16"};
    for (const char* name : WINDOW_ONLY)
        if (std::string_view(name) == b.control) return true;
    return false;
}

int storedItem(const HeaderBinding& b, const SurveyHeader& h) {
    const uint8_t v = h.value[std::size_t(b.cell)];
    return b.kind == K::LowBits ? (v & b.mask) : v;
}

constexpr const char* KEEP_PROPERTY = "teskKeepHeaderCell";

void write(const HeaderBinding& b, QWidget* w, ProfileStore& s) {
    if (b.ignoredWhileBusy && (s.stateFlags & state::Busy)) return;
    if (w->property(KEEP_PROPERTY).toBool()) return;
    uint8_t& v = s.header.value[std::size_t(b.cell)];
    if (b.kind == K::Bit) {
        setBit(v, b.mask, static_cast<QCheckBox*>(w)->isChecked());
        return;
    }
    const int item = static_cast<QComboBox*>(w)->currentIndex();
    if (item < 0) return;
    if (b.kind == K::LowBits)
        v = uint8_t((v & ~b.mask) | (item & b.mask));
    else
        v = uint8_t(item);
}

} // namespace

KeepHeaderCell::KeepHeaderCell(QWidget* control) : control_(control) {
    control_->setProperty(KEEP_PROPERTY, true);
}

KeepHeaderCell::~KeepHeaderCell() {
    control_->setProperty(KEEP_PROPERTY, false);
}

std::span<const HeaderBinding> headerBindings() {
    return BINDINGS;
}

HeaderBindings::HeaderBindings(QWidget& root) {
    for (const HeaderBinding& b : BINDINGS) {
        QWidget* w = b.kind == K::Bit ? static_cast<QWidget*>(root.findChild<QCheckBox*>(b.control))
                                      : root.findChild<QComboBox*>(b.control);
        if (w)
            bound_.push_back({&b, w});
        else
            missing_.push_back(b.control);
    }
}

void HeaderBindings::restore(const SurveyHeader& h) {
    for (const Bound& b : bound_) {
        const QSignalBlocker quiet(b.control);
        if (b.binding->kind == K::Bit) {
            static_cast<QCheckBox*>(b.control)->setChecked(h.value[std::size_t(b.binding->cell)] &
                                                           b.binding->mask);
        } else {
            auto* box = static_cast<QComboBox*>(b.control);
            box->setCurrentIndex(std::clamp(storedItem(*b.binding, h), 0, box->count() - 1));
        }
    }
}

void HeaderBindings::connect(ProfileStore& h) {
    for (const Bound& b : bound_) {
        const HeaderBinding* binding = b.binding;
        QWidget* w = b.control;
        auto changed = [this, binding, w, &h] {
            write(*binding, w, h);
            if (surveySettingChanged && !arrangesWindow(*binding)) surveySettingChanged();
        };
        if (binding->kind == K::Bit)
            QObject::connect(static_cast<QCheckBox*>(w), &QCheckBox::toggled, w, changed);
        else
            QObject::connect(static_cast<QComboBox*>(w), &QComboBox::currentIndexChanged, w,
                             changed);
    }
}

} // namespace tesk
