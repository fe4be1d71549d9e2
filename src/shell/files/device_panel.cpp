#include "shell/files/device_panel.h"

#include "shell/widgets/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"CheckBox59", CaptionKind::Caption, -1, "Addition", "Сложение"},
    {"Label61", CaptionKind::Caption, -1, "Start delay", "Задержка начала"},
    {"Label62", CaptionKind::Caption, -1, "Sampling of .geb  /  probe level", "Выборка .geb  /  Уровень зонда"},
    {"Label63", CaptionKind::Caption, -1, "Channel of .gpr", "Канал .gpr"},
    {"Label66", CaptionKind::Caption, -1, "Frame area of .gpr", "Область кадра .gpr"},
    {"ComboBox62", CaptionKind::Item, 0, "  Sampling       64", "  Выборка       64"},
    {"ComboBox62", CaptionKind::Item, 1, "  Averaging 42", "  Усреднение 42"},
    {"ComboBox62", CaptionKind::Item, 2, "  Accumulation 24", "  Накопление 24"},
    {"ComboBox63", CaptionKind::Item, 0, " 1  Channel  Coarse", " 1  Канал  Грубый"},
    {"ComboBox63", CaptionKind::Item, 1, " 2  Channel  Fine", " 2  Канал  Точный"},
    {"ComboBox63", CaptionKind::Item, 2, " 3  Channel  Sum", " 3  Канал  Сумма"},
};
// clang-format on

QComboBox* deviceBox(QWidget* parent, const char* name, DeviceControl c, int x, int y, int w) {
    QStringList items;
    for (const std::string& item : deviceOptionItems(c)) items << QString::fromStdString(item);
    QComboBox* b = combo(parent, name, x, y, w, items);
    b->setCurrentIndex(deviceOptionStartItem(c));
    return b;
}

QLabel* caption(QWidget* parent, const char* name, int x, int y) {
    return label(parent, name, x, y, 190);
}

} // namespace

DevicePanel::DevicePanel(ShellServices& services, QWidget* optionPanel) : ShellPanel(services) {
    Panel_26 = subPanel(optionPanel, "Panel_26", 200);
    QWidget* p = Panel_26;
    Label61 = caption(p, "Label61", 6, 2);
    ComboBox61 = deviceBox(p, "ComboBox61", DeviceControl::ComboBox61, 4, 16, 190);
    Label62 = caption(p, "Label62", 6, 40);
    ComboBox62 = deviceBox(p, "ComboBox62", DeviceControl::ComboBox62, 4, 54, 190);
    Label63 = caption(p, "Label63", 6, 78);
    ComboBox63 = deviceBox(p, "ComboBox63", DeviceControl::ComboBox63, 4, 92, 190);
    CheckBox59 = checkBox(p, "CheckBox59", 6, 118, 90);
    ComboBox64 = deviceBox(p, "ComboBox64", DeviceControl::ComboBox64, 100, 116, 94);
    Label66 = caption(p, "Label66", 6, 142);
    ComboBox66 = deviceBox(p, "ComboBox66", DeviceControl::ComboBox66, 4, 156, 190);
    ComboBox46 = deviceBox(p, "ComboBox46", DeviceControl::ComboBox46, 4, 182, 190);
    ComboBox46->hide();
    applyCheckBoxColour(CheckBox59);
}

void DevicePanel::connectHandlers() {
    // Every change of the device options makes the survey differ from its file.
    for (QComboBox* b : {ComboBox61, ComboBox62, ComboBox63, ComboBox64, ComboBox66})
        QObject::connect(b, &QComboBox::currentIndexChanged, Panel_26, [this] {
            if (!restoring()) store().stateFlags |= state::Changed;
        });
    QObject::connect(CheckBox59, &QCheckBox::toggled, Panel_26, [this] {
        applyCheckBoxColour(CheckBox59);
        store().stateFlags |= state::Changed;
    });
}

std::span<const CaptionRow> DevicePanel::captions() const {
    return CAPTIONS;
}

DeviceOptions DevicePanel::deviceOptions() const {
    DeviceOptions o;
    o.startDelayItem = ComboBox61->currentIndex();
    o.samplingModeItem = ComboBox62->currentIndex();
    o.channelItem = ComboBox63->currentIndex();
    o.probeLevelItem = ComboBox64->currentIndex();
    o.singleReading = CheckBox59->isChecked();
    o.frameAreaItem = ComboBox66->currentIndex();
    o.hiddenItem46 = ComboBox46->currentIndex();
    return clampedDeviceOptions(o);
}

} // namespace tesk
