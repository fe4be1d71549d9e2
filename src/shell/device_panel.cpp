// The device-options panel of the 12-bit readers, the check log of the
// device-recording decoder, and the options file's values in the window.

#include "shell/radargram_engine.h"
#include "shell/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

namespace tesk {

namespace {

QComboBox* deviceBox(QWidget* parent, const char* name, DeviceControl c, int x, int y, int w) {
    auto* b = new QComboBox(parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, 21);
    b->setMaxVisibleItems(20);
    for (const std::string& item : deviceOptionItems(c)) b->addItem(QString::fromStdString(item));
    b->setCurrentIndex(deviceOptionStartItem(c));
    return b;
}

QLabel* caption(QWidget* parent, const char* name, int x, int y) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, 190, 14);
    return l;
}

} // namespace

void TForm1::buildDevicePanel() {
    QWidget* p = Panel_26;
    Label61 = caption(p, "Label61", 6, 2);
    ComboBox61 = deviceBox(p, "ComboBox61", DeviceControl::ComboBox61, 4, 16, 190);
    Label62 = caption(p, "Label62", 6, 40);
    ComboBox62 = deviceBox(p, "ComboBox62", DeviceControl::ComboBox62, 4, 54, 190);
    Label63 = caption(p, "Label63", 6, 78);
    ComboBox63 = deviceBox(p, "ComboBox63", DeviceControl::ComboBox63, 4, 92, 190);
    CheckBox59 = new QCheckBox(p);
    CheckBox59->setObjectName("CheckBox59");
    CheckBox59->setGeometry(6, 118, 90, 18);
    ComboBox64 = deviceBox(p, "ComboBox64", DeviceControl::ComboBox64, 100, 116, 94);
    Label66 = caption(p, "Label66", 6, 142);
    ComboBox66 = deviceBox(p, "ComboBox66", DeviceControl::ComboBox66, 4, 156, 190);
    ComboBox46 = deviceBox(p, "ComboBox46", DeviceControl::ComboBox46, 4, 182, 190);
    ComboBox46->hide();
    applyCheckBoxColour(CheckBox59);
    // Every change of the device options makes the survey differ from its file.
    for (QComboBox* b : {ComboBox61, ComboBox62, ComboBox63, ComboBox64, ComboBox66})
        connect(b, &QComboBox::currentIndexChanged, this, [this] {
            if (!restoring_) store_.stateFlags |= state::Changed;
        });
    connect(CheckBox59, &QCheckBox::toggled, this, [this] {
        applyCheckBoxColour(CheckBox59);
        store_.stateFlags |= state::Changed;
    });
}

DeviceOptions TForm1::deviceOptions() const {
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

void TForm1::showCheckLog(const std::vector<std::string>& lines) {
    Memo1->clear();
    QStringList text;
    for (const std::string& l : lines) text << QString::fromStdString(l);
    Memo1->setPlainText(text.join('\n'));
    // The test panel comes up when the decoder found something to report.
    if (!lines.empty()) {
        Panel6->show();
        Panel6->raise();
    }
}

OptionsFileSettings TForm1::optionsForSave() {
    refreshHeaderFromControls();
    OptionsFileSettings o = optionsFromStore(store_, deviceOptions());
    o.grid = CheckBox3->isChecked();
    o.addition = {uint8_t(ComboBox40->currentIndex()), uint8_t(ComboBox41->currentIndex()),
                  uint8_t(ComboBox42->currentIndex())};
    o.colourComponents = {uint8_t(ComboBox32->currentIndex()), uint8_t(ComboBox33->currentIndex()),
                          uint8_t(ComboBox34->currentIndex())};
    const Palettes& p = engine_->palettes;
    o.chosenCode = engine_->settings.chosenCode;
    o.tableA = p.GreyPaletteMarked;
    o.tableB = p.ViewPaletteMarked;
    o.tableC = p.MainPaletteMarked;
    std::copy(p.FineRampMarked.begin(), p.FineRampMarked.end(), o.tableD.begin());
    return o;
}

void TForm1::applyOptionsFile(const OptionsFileRead& r) {
    // The header cells were updated by the reader; the window follows them.
    restoreControlsFromHeader();
    const OptionsFileSettings& v = r.values;
    restoring_ = true;
    if (r.applied(OptionsField::ColourComponent32))
        ComboBox32->setCurrentIndex(v.colourComponents[0]);
    if (r.applied(OptionsField::ColourComponent33))
        ComboBox33->setCurrentIndex(v.colourComponents[1]);
    if (r.applied(OptionsField::ColourComponent34))
        ComboBox34->setCurrentIndex(v.colourComponents[2]);
    if (r.applied(OptionsField::AmplitudeFlags)) {
        // The chosen-amplitude bit comes into the header, but the highlight
        // stays off on the screen until the operator checks the box again:
        // the box is unchecked and the header bit put back after its handler.
        const bool highlight = store_.header.value[hdr::AmplitudeFlags] & hdr::Highlight;
        CheckBox23->setChecked(false);
        setBit(store_.header.value[hdr::AmplitudeFlags], hdr::Highlight, highlight);
    }
    restoring_ = false;
    Palettes& p = engine_->palettes;
    std::copy_n(v.tableA.begin(), r.tableEntries[0], p.GreyPaletteMarked.begin());
    std::copy_n(v.tableB.begin(), r.tableEntries[1], p.ViewPaletteMarked.begin());
    std::copy_n(v.tableC.begin(), r.tableEntries[2], p.MainPaletteMarked.begin());
    std::copy_n(v.tableD.begin(), r.tableEntries[3], p.FineRampMarked.begin());
    GRAF();
    DrawView();
}

} // namespace tesk
