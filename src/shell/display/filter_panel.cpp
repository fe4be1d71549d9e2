#include "shell/display/filter_panel.h"

#include "shell/display/radargram_engine.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/header_bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"CheckBox21", CaptionKind::Caption, -1, "Background", "Фон"},
    {"CheckBox22", CaptionKind::Caption, -1, "Inversion", "Инверсия"},
    {"CheckBox23", CaptionKind::Caption, -1, "Choose amplitude value", "Выбрать значение амплитуды"},
    {"Label20", CaptionKind::Caption, -1, "Filter 1", "Фильтр 1"},
    {"Label21", CaptionKind::Caption, -1, "Filter 2", "Фильтр 2"},
    {"Label22", CaptionKind::Caption, -1, "Quantity of color", "Количество цветов"},
    {"Label23", CaptionKind::Caption, -1, "Scale of amplitude", "Шкала амплитуды"},
    {"Label24", CaptionKind::Caption, -1, "Form of amplitude", "Форма амплитуды"},
    {"Label26", CaptionKind::Caption, -1, "Zero and gain", "Ноль и усиление"},
    {"ComboBox18", CaptionKind::Item, 0, " Amplitude form /0", " Амплитудный /0"},
    {"ComboBox18", CaptionKind::Item, 1, " Amplitude form", " Амплитудный"},
    {"ComboBox18", CaptionKind::Item, 2, " Derivative of function", " Производной функции"},
    {"ComboBox19", CaptionKind::Item, 0, " Level of zero", " Уровень Нуля"},
    {"ComboBox19", CaptionKind::Item, 1, " Magnify of amplitude 1", " Усиления Амплитуды 1"},
    {"ComboBox19", CaptionKind::Item, 2, " Magnify of amplitude 2", " Усиления Амплитуды 2"},
    {"ComboBox20", CaptionKind::Item, 0, " LF 1", " НЧ 1"},
    {"ComboBox20", CaptionKind::Item, 1, " HF 1", " ВЧ 1"},
    {"ComboBox20", CaptionKind::Item, 2, " LF 2", " НЧ 2"},
    {"ComboBox20", CaptionKind::Item, 3, " HF 2", " ВЧ 2"},
    {"ComboBox21", CaptionKind::Item, 0, " LF 1", " НЧ 1"},
    {"ComboBox21", CaptionKind::Item, 1, " HF 1", " ВЧ 1"},
    {"ComboBox21", CaptionKind::Item, 2, " LF 2", " НЧ 2"},
    {"ComboBox21", CaptionKind::Item, 3, " HF 2", " ВЧ 2"},
    {"ComboBox29", CaptionKind::Item, 0, " Linear", " Линейный"},
    {"ComboBox29", CaptionKind::Item, 1, " Logarithm 1-0", " Логарифм 1-0"},
    {"ComboBox29", CaptionKind::Item, 2, " Logarithm 2-0", " Логарифм 2-0"},
    {"ComboBox29", CaptionKind::Item, 3, " Logarithm 2-1", " Логарифм 2-1"},
    {"ComboBox29", CaptionKind::Item, 4, " Logarithm 2-2", " Логарифм 2-2"},
};

// Colour-count items: forms 0 and 1, then the derivative form.
const char* const COLOURS_EN[2][8] = {
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "    B\\W Scale", "    1 Min\\MaX", "    2 Min\\MaX"},
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "      2 Colors", "      1 Min\\MaX", "      2 Min\\MaX"}};
const char* const COLOURS_RU[2][8] = {
    {"  Все Цвета*", "  128 Цветов*", "    64 Цвета*", "    32 Цвета*", "    16 Цветов*",
     "    Ч/Б Шкала", "     1 Мин\\Макс", "     2 Мин\\Макс"},
    {"  Все Цвета", "  128 Цвета", "    64 Цвета", "    32 Цвета", "    16 Цветов",
     "      2 Цвета", "      1 Мин\\Макс", "      2 Мин\\Макс"}};
// clang-format on

} // namespace

FilterPanel::FilterPanel(ShellServices& services, QWidget* optionPanel) : ShellPanel(services) {
    Panel_23 = subPanel(optionPanel, "Panel_23", 330);
    QWidget* p = Panel_23;
    Label20 = new ClickLabel(p, "Label20");
    Label20->setGeometry(6, 2, 80, 14);
    ComboBox20 = combo(p, "ComboBox20", 4, 16, 70, QStringList(4, QString()));
    ComboBox22 = combo(p, "ComboBox22", 76, 16, 80, numbered("  L = ", 20));
    ComboBox23 = combo(p, "ComboBox23", 158, 16, 80, numbered("  T = ", 20));
    ComboBox24 = combo(p, "ComboBox24", 240, 16, 80, numbered("  X = ", 20));
    Label21 = new ClickLabel(p, "Label21");
    Label21->setGeometry(6, 40, 80, 14);
    ComboBox21 = combo(p, "ComboBox21", 4, 54, 70, QStringList(4, QString()));
    ComboBox25 = combo(p, "ComboBox25", 76, 54, 80, numbered("  L = ", 20));
    ComboBox26 = combo(p, "ComboBox26", 158, 54, 80, numbered("  T = ", 20));
    ComboBox27 = combo(p, "ComboBox27", 240, 54, 80, numbered("  X = ", 20));
    Label22 = label(p, "Label22", 6, 80, 150);
    ComboBox28 = combo(p, "ComboBox28", 4, 94, 150, QStringList(8, QString()));
    Label23 = label(p, "Label23", 170, 80, 150);
    ComboBox29 = combo(p, "ComboBox29", 168, 94, 150, QStringList(5, QString()));
    Label24 = label(p, "Label24", 6, 118, 150);
    ComboBox18 = combo(p, "ComboBox18", 4, 132, 150, QStringList(3, QString()));
    Label26 = label(p, "Label26", 170, 118, 150);
    ComboBox19 = combo(p, "ComboBox19", 168, 132, 156, QStringList(3, QString()));
    CheckBox21 = checkBox(p, "CheckBox21", 6, 158, 100);
    CheckBox22 = checkBox(p, "CheckBox22", 6, 176, 100);
    // Left of the colour boxes there is room for the Russian caption only
    // in a smaller type.
    CheckBox23 = checkBox(p, "CheckBox23", 6, 194, 160);
    QFont small = CheckBox23->font();
    small.setPointSize(7);
    CheckBox23->setFont(small);
}

void FilterPanel::connectHandlers() {
    auto changed = [this](QComboBox* c, void (FilterPanel::*h)()) {
        QObject::connect(c, &QComboBox::currentIndexChanged, Panel_23, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    changed(ComboBox18, &FilterPanel::ComboBox18Change);
    changed(ComboBox19, &FilterPanel::ComboBox19Change);
    changed(ComboBox28, &FilterPanel::ComboBox28Change);
    changed(ComboBox29, &FilterPanel::ComboBox29Change);
    for (QComboBox* c : {ComboBox20, ComboBox21, ComboBox22, ComboBox23, ComboBox24, ComboBox25,
                         ComboBox26, ComboBox27})
        QObject::connect(c, &QComboBox::currentIndexChanged, Panel_23, [this, c] {
            if (!restoring()) FilterBoxChange(c);
        });
    auto toggled = [this](QCheckBox* c, void (FilterPanel::*h)()) {
        QObject::connect(c, &QCheckBox::toggled, Panel_23, [this, h] { (this->*h)(); });
    };
    toggled(CheckBox21, &FilterPanel::ComboBox28Change);
    toggled(CheckBox22, &FilterPanel::CheckBox22Click);
    toggled(CheckBox23, &FilterPanel::CheckBox23Click);
    Label20->onClick = [this] { Label20Click(); };
    Label21->onClick = [this] { Label21Click(); };
}

std::span<const CaptionRow> FilterPanel::captions() const {
    return CAPTIONS;
}

void FilterPanel::applyLanguage(bool en) {
    // The colour-count list depends on the amplitude form.
    const int family = ComboBox18->currentIndex() > 1 ? 1 : 0;
    for (int i = 0; i < 8 && i < ComboBox28->count(); ++i)
        ComboBox28->setItemText(
            i, QString::fromUtf8(en ? COLOURS_EN[family][i] : COLOURS_RU[family][i]));
}

void FilterPanel::restored() {
    // The chosen-amplitude mode is what its box shows.
    services_.radargram().settings.chosenAmplitude = CheckBox23->isChecked();
    for (QCheckBox* c : {CheckBox21, CheckBox22}) applyCheckBoxColour(c);
    showChosenAmplitudeMode();
    showZeroGainModeColour();
}

void FilterPanel::showFormColour(uint32_t colour) {
    setFontColour(ComboBox18, colour);
}

void FilterPanel::uncheckChosenAmplitudeKeepingBit() {
    const Restoring quiet(services_);
    const KeepHeaderCell keep(CheckBox23);
    CheckBox23->setChecked(false);
}

void FilterPanel::showChosenAmplitudeMode() {
    setFontColour(CheckBox23, CheckBox23->isChecked() ? 0x0000FF : 0x800000);
}

void FilterPanel::showZeroGainModeColour() {
    setFontColour(ComboBox19, ComboBox19->currentIndex() == 0 ? 0x800000 : 0x80);
}

void FilterPanel::FilterBoxChange(QComboBox*) {
    if (busy() || restoring()) return;
    services_.redraw(Redraw::Processing);
    services_.focusOptionPanel();
}

void FilterPanel::resetFilterRow(std::initializer_list<QComboBox*> boxes) {
    {
        const Restoring quiet(services_);
        for (QComboBox* b : boxes) {
            b->setCurrentIndex(0);
            resetBoxColour(b);
        }
    }
    services_.redraw(Redraw::Processing);
}

void FilterPanel::Label20Click() {
    resetFilterRow({ComboBox22, ComboBox23, ComboBox24});
}

void FilterPanel::Label21Click() {
    resetFilterRow({ComboBox25, ComboBox26, ComboBox27});
}

void FilterPanel::ComboBox18Change() {
    services_.applyLanguage(); // the colour-count list depends on the form
    services_.displaySettingsChanged();
    if (busy()) return;
    services_.redraw(Redraw::Palette);
}

void FilterPanel::ComboBox19Change() {
    showZeroGainModeColour();
    services_.displaySettingsChanged();
    if (busy()) return;
    services_.redraw(Redraw::Processing);
    services_.focusOptionPanel();
}

void FilterPanel::ComboBox28Change() {
    applyCheckBoxColour(CheckBox21);
    services_.displaySettingsChanged();
    if (busy() || restoring()) return;
    services_.redraw(Redraw::Palette);
}

void FilterPanel::ComboBox29Change() {
    services_.displaySettingsChanged();
    if (busy()) return;
    services_.redraw(Redraw::Processing);
}

void FilterPanel::CheckBox22Click() {
    applyCheckBoxColour(CheckBox22);
    services_.displaySettingsChanged();
    if (busy() || restoring()) return;
    services_.redraw(Redraw::Palette);
}

void FilterPanel::CheckBox23Click() {
    services_.radargram().settings.chosenAmplitude = CheckBox23->isChecked();
    showChosenAmplitudeMode();
    services_.displaySettingsChanged();
    if (busy() || restoring()) return;
    services_.redraw(Redraw::Palette);
}

} // namespace tesk
