#include "shell/options/option_panel.h"

#include "display/markers.h"
#include "shell/display/radargram_engine.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace tesk {

namespace {

constexpr int W21 = 152; // width of the base sub-panel: the marker list's longest item

QColor fromBgr(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"CheckBox2", CaptionKind::Caption, -1, "Zero Level", "Уровень Нуля"},
    {"CheckBox3", CaptionKind::Caption, -1, "Grid", "Сетка"},
    {"CheckBox4", CaptionKind::Caption, -1, "Function", "Функция"},
    {"CheckBox6", CaptionKind::Caption, -1, "Line of profile 2D", "Линия профиля 2Д"},
    {"CheckBox11", CaptionKind::Caption, -1, "Parameters", "Параметры"},
    {"CheckBox12", CaptionKind::Caption, -1, "Filters", "Фильтры"},
    {"CheckBox13", CaptionKind::Caption, -1, "3D : 2D", "3Д : 2Д"},
    {"CheckBox14", CaptionKind::Caption, -1, "Borders", "Границы"},
    {"CheckBox15", CaptionKind::Caption, -1, "ADC", "АЦП"},
    {"Label_OPTION", CaptionKind::Caption, -1, " P A N E L  O P T I O N S", "П А Н Е Л Ь   О П Ц И Й"},
    {"ComboBox17", CaptionKind::Item, 0, " Switch off Marks", " Выключить маркеры"},
    {"ComboBox17", CaptionKind::Item, 1, " Show Marks", " Показать маркеры"},
    {"ComboBox17", CaptionKind::Item, 2, " Change Mark", " Изменить маркер"},
    {"ComboBox17", CaptionKind::Item, 3, " Raise Mark status", " Повысить статус"},
    {"ComboBox17", CaptionKind::Item, 4, " Lower Mark status 1", " Понизить статус до 1"},
    {"ComboBox17", CaptionKind::Item, 5, " Lower Mark status 0", " Понизить статус до 0"},
    {"ComboBox17", CaptionKind::Item, 6, " Delete all Marks", " Удалить все маркеры"},
};
// clang-format on

} // namespace

OptionPanel::OptionPanel(ShellServices& services, QWidget& window, QToolButton* speedButton10)
    : ShellPanel(services), SpeedButton10(speedButton10) {
    Panel_2 = new QFrame(&window);
    Panel_2->setObjectName("Panel_2");
    Panel_2->setFrameShape(QFrame::Panel);
    Panel_2->setFrameShadow(QFrame::Raised);
    Panel_2->setAutoFillBackground(true);
    Label_OPTION = label(Panel_2, "Label_OPTION", 6, 4, 400);

    Panel_21 = subPanel(Panel_2, "Panel_21", W21);
    Panel_21->move(1, 24);
    CheckBox11 = checkBox(Panel_21, "CheckBox11", 6, 4);
    CheckBox12 = checkBox(Panel_21, "CheckBox12", 6, 22);
    CheckBox13 = checkBox(Panel_21, "CheckBox13", 6, 40);
    CheckBox14 = checkBox(Panel_21, "CheckBox14", 6, 58);
    CheckBox15 = checkBox(Panel_21, "CheckBox15", 6, 76);
    CheckBox15->hide(); // the device options are offered only with their readers
    CheckBox3 = checkBox(Panel_21, "CheckBox3", 6, 96);
    CheckBox1 = checkBox(Panel_21, "CheckBox1", 6, 114);
    CheckBox2 = checkBox(Panel_21, "CheckBox2", 6, 132);
    CheckBox4 = checkBox(Panel_21, "CheckBox4", 6, 150);
    CheckBox6 = checkBox(Panel_21, "CheckBox6", 6, 168);
    ComboBox17 = combo(Panel_21, "ComboBox17", 4, 188, W21 - 8, QStringList(7, QString()));
    ComboBox17->setCurrentIndex(1); // markers shown
    setBoxColour(ComboBox17, fromBgr(markerBox::Shown));
    CheckBox11->setChecked(true);
    CheckBox12->setChecked(true);
    CheckBox13->setChecked(true);

    Panel_2->setGeometry(50, 550 - (SUB_PANEL_HEIGHT + 28), W21 + 6, SUB_PANEL_HEIGHT + 28);
    for (QCheckBox* c : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox6, CheckBox11,
                         CheckBox12, CheckBox13, CheckBox14, CheckBox15})
        applyCheckBoxColour(c);
    Panel_2->hide();
}

QWidget* OptionPanel::body() const {
    return Panel_2;
}

void OptionPanel::addSubPanel(QCheckBox* box, QFrame* panel) {
    panel->move(0, 24);
    subPanels_.push_back({box, panel});
}

void OptionPanel::connectHandlers() {
    // Every source moves the whole option panel; Ctrl on the title toggles its height.
    std::vector<QWidget*> sources{Panel_2, Panel_21, Label_OPTION};
    for (const auto& [box, panel] : subPanels_) sources.push_back(panel);
    dragWith(Panel_2, Panel_2, sources, [this](QWidget* source, Qt::MouseButton b) {
        if (source == Label_OPTION) Label_OPTIONMouseDown(b);
    });
    QObject::connect(SpeedButton10, &QToolButton::clicked, Panel_2,
                     [this] { SpeedButton10Click(); });
    auto toggled = [this](QCheckBox* c, void (OptionPanel::*h)()) {
        QObject::connect(c, &QCheckBox::toggled, Panel_2, [this, h] { (this->*h)(); });
    };
    toggled(CheckBox1, &OptionPanel::CheckBox1Click);
    toggled(CheckBox2, &OptionPanel::CheckBox2Click);
    toggled(CheckBox3, &OptionPanel::CheckBox3Click);
    toggled(CheckBox4, &OptionPanel::CheckBox4Click);
    toggled(CheckBox6, &OptionPanel::CheckBox6Click);
    for (QCheckBox* c : {CheckBox11, CheckBox12, CheckBox13, CheckBox14, CheckBox15})
        QObject::connect(c, &QCheckBox::toggled, Panel_2, [this, c] { OptionCheckBoxClick(c); });
    QObject::connect(ComboBox17, &QComboBox::currentIndexChanged, Panel_2, [this] {
        if (!restoring()) ComboBox17Change();
    });
}

std::span<const CaptionRow> OptionPanel::captions() const {
    return CAPTIONS;
}

void OptionPanel::applyLanguage(bool en) {
    // The language box names the language one can switch to.
    CheckBox1->setText(en ? "Russian" : "Английский");
}

void OptionPanel::restored() {
    for (QCheckBox* c : {CheckBox1, CheckBox2, CheckBox4, CheckBox11, CheckBox12, CheckBox13})
        applyCheckBoxColour(c);
    layoutOptionPanel();
}

void OptionPanel::layoutOptionPanel() {
    int x = W21 + 1;
    int total = 0;
    for (const auto& [box, panel] : subPanels_) {
        panel->setVisible(box->isChecked());
        if (!box->isChecked()) continue;
        panel->move(x, Panel_21->y());
        panel->resize(panel->width(), Panel_21->height());
        x += panel->width();
        total += panel->width();
    }
    Panel_2->resize(W21 + total + 6, Panel_2->height());
}

void OptionPanel::focus() {
    if (Panel_2->isVisible()) Panel_2->setFocus();
}

void OptionPanel::OptionCheckBoxClick(QCheckBox* box) {
    applyCheckBoxColour(box);
    layoutOptionPanel();
    focus();
}

void OptionPanel::SpeedButton10Click() {
    // Left Ctrl toggles the panel between its short and its tall height.
    const int h21 = Panel_21->height();
    if (services_.prompter().modifiers().leftCtrl) {
        const int h = Panel_2->height() == h21 + 28 ? h21 + 138 : h21 + 28;
        Panel_2->resize(Panel_2->width(), h);
        return;
    }
    Panel_2->setVisible(!Panel_2->isVisible());
    if (Panel_2->isVisible()) Panel_2->raise();
}

void OptionPanel::Label_OPTIONMouseDown(Qt::MouseButton button) {
    // Left Ctrl on the title: short or a little taller.
    if (button != Qt::LeftButton || !services_.prompter().modifiers().leftCtrl) return;
    const int h21 = Panel_21->height();
    Panel_2->resize(Panel_2->width(), Panel_2->height() == h21 + 28 ? h21 + 60 : h21 + 28);
}

void OptionPanel::CheckBox1Click() {
    applyCheckBoxColour(CheckBox1);
    services_.applyLanguage();
    Panel_2->update();
    services_.redraw(Redraw::Overlay);
    focus();
}

void OptionPanel::CheckBox2Click() {
    applyCheckBoxColour(CheckBox2);
    services_.redraw(Redraw::Overlay);
    focus();
}

void OptionPanel::CheckBox3Click() {
    applyCheckBoxColour(CheckBox3);
    CheckBox3->setText(services_.english() ? "Grid" : "Сетка");
    services_.redraw(Redraw::Overlay);
    focus();
}

void OptionPanel::CheckBox4Click() {
    applyCheckBoxColour(CheckBox4);
    focus();
}

void OptionPanel::CheckBox6Click() {
    services_.redraw(Redraw::Overlay);
    focus();
}

void OptionPanel::ComboBox17Change() {
    // The box colour tells the marker mode; the bulk items ask, change every
    // marker of the survey and return the box to "Show Marks".
    if (busy()) return;
    const int item = ComboBox17->currentIndex();
    const MarkerBoxChange c = markerBoxChange(store(), item, services_.interaction());
    int shown = c.item;
    // Outside the radargram the bulk items do nothing; the box goes back to
    // the mode it was in rather than name an operation that did not run.
    if (item > markerItem::Change && shown == item) shown = markerItem_;
    if (shown != item) {
        const Restoring quiet(services_);
        ComboBox17->setCurrentIndex(shown);
    }
    markerItem_ = shown;
    if (c.statusesChanged) services_.markModified();
    if (c.boxColour == markerBox::SystemColour)
        resetBoxColour(ComboBox17);
    else if (c.boxColour)
        setBoxColour(ComboBox17, fromBgr(*c.boxColour));
    services_.redraw(Redraw::Overlay);
    focus();
}

} // namespace tesk
