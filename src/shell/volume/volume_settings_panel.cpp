#include "shell/volume/volume_settings_panel.h"

#include "coordinates/profile_division.h"
#include "shell/widgets/controls.h"
#include "store/settings_catalog.h"
#include "volume/volume_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace tesk {

namespace {

const QColor LIGHT_RED(0xFF, 0xBB, 0xBB); // 0xBBBBFF as the system writes it

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label41", CaptionKind::Caption, -1, "Addition of profiles", "Сложение профилей"},
    {"Label43", CaptionKind::Caption, -1, "Method of addition", "Метод сложения"},
    {"Label51", CaptionKind::Caption, -1, "Method of processing 3D", "Метод обработки 3D"},
    {"Label52", CaptionKind::Caption, -1, "D between profiles", "D между профилями"},
    {"Label54", CaptionKind::Caption, -1, "Sections", "Сечения"},
    {"ComboBox40", CaptionKind::Item, 0, " No addition", " Нет сложения"},
    {"ComboBox40", CaptionKind::Item, 1, " 2 Profiles", " 2 профиля"},
    {"ComboBox40", CaptionKind::Item, 2, " 3 Profiles", " 3 профиля"},
    {"ComboBox40", CaptionKind::Item, 3, " 4 Profiles", " 4 профиля"},
    {"ComboBox41", CaptionKind::Item, 0, "  Addition", "  Сложение"},
    {"ComboBox41", CaptionKind::Item, 1, "  Multiply", "  Умножение"},
    {"ComboBox41", CaptionKind::Item, 2, "  Subtract", "  Вычетание"},
    {"ComboBox51", CaptionKind::Item, 0, " Linear Xp", "Линейный  Хp"},
    {"ComboBox51", CaptionKind::Item, 1, " Linear Yp", "Линейный  Yp"},
    {"ComboBox51", CaptionKind::Item, 2, " Linear Xp+Yp", "Линейный  X+Yp"},
    {"ComboBox51", CaptionKind::Item, 3, " On vector  V", "По вектору V"},
    {"ComboBox51", CaptionKind::Item, 4, " On radius  R", "По радиусу R"},
    // The Russian items 0 and 1 begin with a Latin "C".
    {"ComboBox54", CaptionKind::Item, 0, " Section T", " Cечение T"},
    {"ComboBox54", CaptionKind::Item, 1, " Section T  X ", " Cечение T  X "},
    {"ComboBox54", CaptionKind::Item, 2, " Section T  Y", " Сечение T  Y"},
    {"ComboBox54", CaptionKind::Item, 3, " Section T  X  Y", " Сечение T  X  Y"},
    {"CheckBox_Shape", CaptionKind::Caption, -1, "Section points", "Точки сечения"},
    {"SpeedButton_GProf", CaptionKind::Hint, -1, "Write frames into profiles", PROFILES_BUTTON_HINT},
    {"CheckBox_GProf_1", CaptionKind::Caption, -1, "start of profile", CUT_BOXES[0].caption},
    {"CheckBox_GProf_2", CaptionKind::Caption, -1, "red marker", CUT_BOXES[1].caption},
    {"CheckBox_GProf_3", CaptionKind::Caption, -1, "blue marker", CUT_BOXES[2].caption},
    {"CheckBox_GProf_4", CaptionKind::Caption, -1, "black marker", CUT_BOXES[3].caption},
};
// clang-format on

} // namespace

VolumeSettingsPanel::VolumeSettingsPanel(ShellServices& services, QWidget* optionPanel)
    : ShellPanel(services) {
    Panel_24 = subPanel(optionPanel, "Panel_24", 278);
    QWidget* p = Panel_24;
    Label41 = label(p, "Label41", 6, 2, 150);
    ComboBox40 = combo(p, "ComboBox40", 4, 16, 150, QStringList(4, QString()));
    Label43 = label(p, "Label43", 6, 38, 150);
    ComboBox41 = combo(p, "ComboBox41", 4, 52, 96, QStringList(3, QString()));
    QStringList thresholds;
    for (int i = 0; i < 8; ++i)
        thresholds << QString(" %1 - %2").arg(i).arg(32 - 4 * i, 2, 10, QChar('0'));
    ComboBox42 = combo(p, "ComboBox42", 102, 52, 64, thresholds);
    ComboBox42->setEnabled(false);
    Label51 = label(p, "Label51", 6, 76, 150);
    ComboBox51 = combo(p, "ComboBox51", 4, 90, 150, QStringList(items::VolumeInterp, QString()));
    Label52 = label(p, "Label52", 6, 114, 150);
    ComboBox52 = combo(p, "ComboBox52", 4, 128, 150, numbers(items::PROFILE_DISTANCE_CM));
    Label54 = label(p, "Label54", 6, 152, 150);
    ComboBox54 = combo(p, "ComboBox54", 4, 166, 150, QStringList(items::Section, QString()));
    CheckBox52 = checkBox(p, "CheckBox52", 6, 192, 150);
    CheckBox_Shape = checkBox(p, "CheckBox_Shape", 172, 168, 100);
    SpeedButton_GProf = new QToolButton(p);
    SpeedButton_GProf->setObjectName("SpeedButton_GProf");
    SpeedButton_GProf->setGeometry(172, 88, 100, 24);
    // The cut rules stand where the volume controls were; all but the black
    // marker are checked at start.
    QCheckBox** cuts[] = {&CheckBox_GProf_1, &CheckBox_GProf_2, &CheckBox_GProf_3,
                          &CheckBox_GProf_4};
    for (int i = 0; i < 4; ++i) {
        const std::string name = "CheckBox_GProf_" + std::to_string(i + 1);
        QCheckBox* box = checkBox(p, name.c_str(), 6, 80 + 22 * i, 150);
        box->setChecked(i < 3);
        setFontColour(box, CUT_BOXES[i].colour);
        box->hide();
        *cuts[i] = box;
    }
}

void VolumeSettingsPanel::connectHandlers() {
    auto changed = [this](QComboBox* c, void (VolumeSettingsPanel::*h)()) {
        QObject::connect(c, &QComboBox::currentIndexChanged, Panel_24, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    changed(ComboBox40, &VolumeSettingsPanel::ComboBox40Change);
    changed(ComboBox41, &VolumeSettingsPanel::ComboBox41Change);
    changed(ComboBox42, &VolumeSettingsPanel::ComboBox42Change);
    changed(ComboBox51, &VolumeSettingsPanel::ComboBox51Change);
    changed(ComboBox52, &VolumeSettingsPanel::ComboBox52Change);
    changed(ComboBox54, &VolumeSettingsPanel::ComboBox54Change);
    QObject::connect(CheckBox52, &QCheckBox::toggled, Panel_24, [this] { CheckBox52Click(); });
    QObject::connect(CheckBox_Shape, &QCheckBox::toggled, Panel_24, [this] {
        applyCheckBoxColour(CheckBox_Shape);
        if (!restoring() && onShapeClicked) onShapeClicked();
    });
    QObject::connect(SpeedButton_GProf, &QToolButton::clicked, Panel_24,
                     [this] { SpeedButton_GProfClick(); });
}

std::span<const CaptionRow> VolumeSettingsPanel::captions() const {
    return CAPTIONS;
}

void VolumeSettingsPanel::applyLanguage(bool en) {
    CheckBox52->setText(CheckBox52->isChecked()
                            ? (en ? "Calculate to the Profile" : "Обработка до Профиля")
                            : (en ? "Calculate All" : "Обработать Всё"));
    const ProfilesButtonLook look = profilesButtonLook(settingUp_, en);
    SpeedButton_GProf->setText(QString::fromUtf8(look.caption));
    setFontColour(SpeedButton_GProf, look.fontColour);
}

void VolumeSettingsPanel::restored() {
    applyCheckBoxColour(CheckBox52);
    applyCheckBoxColour(CheckBox_Shape);
}

void VolumeSettingsPanel::addition(ProcessingSettings& p) const {
    p.additionItem = ComboBox40->currentIndex();
    p.additionMethod = ComboBox41->currentIndex();
    p.thresholdItem = ComboBox42->currentIndex();
}

std::array<uint8_t, 3> VolumeSettingsPanel::additionItems() const {
    return {uint8_t(ComboBox40->currentIndex()), uint8_t(ComboBox41->currentIndex()),
            uint8_t(ComboBox42->currentIndex())};
}

void VolumeSettingsPanel::ComboBox40Change() {
    if (ComboBox40->currentIndex() > 0)
        setBoxColour(ComboBox40, LIGHT_RED);
    else
        resetBoxColour(ComboBox40);
    if (busy()) return;
    services_.redraw(Redraw::Radargram);
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::ComboBox41Change() {
    ComboBox42->setEnabled(ComboBox41->currentIndex() == 2);
    if (busy()) return;
    services_.redraw(Redraw::Radargram);
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::ComboBox42Change() {
    if (busy()) return;
    services_.redraw(Redraw::Radargram);
    services_.focusOptionPanel();
}

// The fill method, the distance between profiles and the layout are kept in
// the header and mark the volume out of date; the layout also redraws the
// slice screen.
void VolumeSettingsPanel::ComboBox51Change() {
    if (!fillMethodChanged(store(), ComboBox51->currentIndex())) return;
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::ComboBox52Change() {
    if (!profileDistanceChanged(store(), ComboBox52->currentIndex())) return;
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::ComboBox54Change() {
    if (!sectionLayoutChanged(store(), ComboBox54->currentIndex())) return;
    if (onSectionLayoutChanged) onSectionLayoutChanged();
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::CheckBox52Click() {
    applyCheckBoxColour(CheckBox52);
    applyLanguage(services_.english()); // its caption names the state
    if (restoring() || !gapLimitClicked(store(), CheckBox52->isChecked())) return;
    services_.focusOptionPanel();
}

void VolumeSettingsPanel::showCutBoxes(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label51, Label52, Label54, ComboBox51,
                                                      ComboBox52, ComboBox54, CheckBox52})
        w->setVisible(!on);
    for (QCheckBox* b : {CheckBox_GProf_1, CheckBox_GProf_2, CheckBox_GProf_3, CheckBox_GProf_4})
        b->setVisible(on);
}

// "Профили": the first click shows the cut rules in place of the volume
// controls, the second divides the survey by them and shows the volume
// controls again.
void VolumeSettingsPanel::SpeedButton_GProfClick() {
    if (busy()) return;
    if (!settingUp_) {
        settingUp_ = true;
        showCutBoxes(true);
        applyLanguage(services_.english());
        return;
    }
    settingUp_ = false;
    showCutBoxes(false);
    applyLanguage(services_.english());
    const DivisionRules rules{CheckBox_GProf_1->isChecked(), CheckBox_GProf_2->isChecked(),
                              CheckBox_GProf_3->isChecked(), CheckBox_GProf_4->isChecked()};
    const DivisionResult r = GrProf(store(), rules, services_.interaction());
    if (r.outcome != DivisionOutcome::Divided) return;
    if (onFramesDivided) onFramesDivided();
    services_.redraw(Redraw::Radargram);
}

void VolumeSettingsPanel::cancelDivisionSetup() {
    if (!settingUp_) return;
    settingUp_ = false;
    showCutBoxes(false);
    applyLanguage(services_.english());
}

} // namespace tesk
