// The option panel: the base sub-panel with its check boxes and the optional
// sub-panels of profile parameters, filters and colours, and volume settings.

#include "shell/radargram_engine.h"
#include "shell/tform1.h"
#include "shell/widgets.h"
#include "store/settings_catalog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <optional>

namespace tesk {

namespace {

constexpr int W21 = 140; // width of the base sub-panel
constexpr int H21 = 214; // height of every sub-panel
const QColor LIGHT_YELLOW(0xFF, 0xFF, 0x99);
const QColor LIGHT_RED(0xFF, 0xBB, 0xBB); // 0xBBBBFF as the system writes it
const QColor MARKS_SHOWN(0xCC, 0xDD, 0xCC);
const QColor MARKS_EDIT(0xFF, 0xFF, 0x00);   // yellow
const QColor MARKS_DELETE(0xFF, 0x88, 0x00); // orange, 0x0088FF as the system writes it

QFrame* subPanel(QWidget* parent, const char* name, int width) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setAutoFillBackground(true);
    p->resize(width, H21);
    return p;
}

QCheckBox* checkBox(QWidget* parent, const char* name, int x, int y, int w = 126) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 18);
    return c;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int w = 130) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, 14);
    return l;
}

QComboBox* combo(QWidget* parent, const char* name, int x, int y, int w, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 21);
    c->addItems(items);
    c->setMaxVisibleItems(20);
    return c;
}

QStringList numbers(const auto& table) {
    QStringList l;
    for (int v : table) l << QString::number(v);
    return l;
}

QStringList numbered(const QString& prefix, int count) {
    QStringList l;
    for (int i = 0; i < count; ++i) l << prefix + QString::number(i);
    return l;
}

void setBoxColour(QComboBox* box, const QColor& c) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    box->setPalette(p);
}

void resetBoxColour(QComboBox* box) {
    box->setPalette(QPalette());
}

// An explicit velocity is light yellow; the hodograph's item keeps the
// default colour.
void paintVelocityBox(QComboBox* box) {
    if (box->currentIndex() > 0)
        setBoxColour(box, LIGHT_YELLOW);
    else
        resetBoxColour(box);
}

void setFontColour(QWidget* w, uint32_t bgr) {
    QPalette p = w->palette();
    const QColor c(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

// Presses and double clicks on a plain panel that acts as a button; taken
// here so they do not start a move of the option panel.
class MouseFilter final : public QObject {
  public:
    using QObject::QObject;
    std::function<void()> onPress, onDoubleClick;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) {
            if (onPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) onPress();
            return true;
        }
        if (e->type() == QEvent::MouseButtonDblClick) {
            if (onDoubleClick) onDoubleClick();
            return true;
        }
        return e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseMove;
    }
};

} // namespace

void TForm1::buildOptionPanel() {
    Panel_2 = new QFrame(this);
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
    setBoxColour(ComboBox17, MARKS_SHOWN);
    CheckBox11->setChecked(true);
    CheckBox12->setChecked(true);
    CheckBox13->setChecked(true);

    buildParameterPanel();
    buildFilterPanel();
    buildVolumePanel();
    Panel_25 = subPanel(Panel_2, "Panel_25", 150);
    Panel_26 = subPanel(Panel_2, "Panel_26", 200);
    buildDevicePanel();
    for (QFrame* p : {Panel_22, Panel_23, Panel_24, Panel_25, Panel_26}) p->move(0, 24);
    Panel_25->hide();
    Panel_26->hide();

    Panel_2->setGeometry(50, 550 - (H21 + 28), W21 + 6, H21 + 28);
    for (QCheckBox* c : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox6, CheckBox11,
                         CheckBox12, CheckBox13, CheckBox14, CheckBox15})
        applyCheckBoxColour(c);
    layoutOptionPanel();
    Panel_2->hide();
}

void TForm1::buildParameterPanel() {
    Panel_22 = subPanel(Panel_2, "Panel_22", 140);
    QWidget* p = Panel_22;
    Label11 = label(p, "Label11", 6, 2);
    ComboBox11 = combo(p, "ComboBox11", 4, 16, 130,
                       {"     128  ns", "     256  ns", "     512  ns", "   1024  ns",
                        "   2048  ns", "   4096  ns", "   8192  ns", " 16384  ns"});
    Label14 = label(p, "Label14", 6, 2);
    ComboBox14 = combo(p, "ComboBox14", 4, 16, 130, QStringList(9, QString()));
    Label14->hide();
    ComboBox14->hide();
    ComboBox14->setCurrentIndex(4);
    Label12 = label(p, "Label12", 6, 38);
    ComboBox12 = combo(p, "ComboBox12", 4, 52, 130, numbers(items::STEP_CM));
    Label13 = label(p, "Label13", 6, 74);
    ComboBox13 = combo(p, "ComboBox13", 4, 88, 130, numbers(items::ANTENNA_CM));
    Label15 = label(p, "Label15", 6, 110);
    ComboBox15 = combo(p, "ComboBox15", 4, 124, 130, numbers(items::DEPTH_STEP_CM));
    Label16 = label(p, "Label16", 6, 146);
    ComboBox16 = combo(p, "ComboBox16", 4, 160, 130, QStringList(8, QString()));
    Label10 = label(p, "Label10", 6, 182, 68);
    QStringList velocities{QString()};
    for (std::size_t i = 1; i < VELOCITY_TABLE.size(); ++i)
        velocities << "  " + QString::number(VELOCITY_TABLE[i] / 100.0, 'f', 2);
    ComboBox10 = combo(p, "ComboBox10", 74, 180, 62, velocities);
    rebuildTimeStretchItems();
}

void TForm1::buildFilterPanel() {
    Panel_23 = subPanel(Panel_2, "Panel_23", 330);
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
    ComboBox19 = combo(p, "ComboBox19", 168, 132, 150, QStringList(3, QString()));
    CheckBox21 = checkBox(p, "CheckBox21", 6, 158, 100);
    CheckBox22 = checkBox(p, "CheckBox22", 6, 176, 100);
    CheckBox23 = checkBox(p, "CheckBox23", 6, 194, 160);
    QStringList codes;
    for (int i = 0; i < 256; ++i) codes << QString::number(i);
    ComboBox32 = combo(p, "ComboBox32", 168, 158, 50, codes);
    ComboBox33 = combo(p, "ComboBox33", 220, 158, 50, codes);
    ComboBox34 = combo(p, "ComboBox34", 272, 158, 50, codes);
    for (QComboBox* c : {ComboBox32, ComboBox33, ComboBox34}) c->setCurrentIndex(255);
    Panel241 = new QFrame(p);
    Panel241->setObjectName("Panel241");
    Panel241->setFrameShape(QFrame::Panel);
    Panel241->setGeometry(168, 184, 100, 22);
    auto* caption241 = new QLabel(Panel241);
    caption241->setObjectName("Panel241Caption");
    caption241->setGeometry(2, 2, 96, 18);
    caption241->setAlignment(Qt::AlignCenter);
    Panel_242 = new QFrame(p);
    Panel_242->setObjectName("Panel_242");
    Panel_242->setFrameShape(QFrame::Panel);
    Panel_242->setAutoFillBackground(true);
    Panel_242->setGeometry(272, 184, 50, 22);
}

void TForm1::buildVolumePanel() {
    Panel_24 = subPanel(Panel_2, "Panel_24", 160);
    QWidget* p = Panel_24;
    Label41 = label(p, "Label41", 6, 2, 150);
    ComboBox40 = combo(p, "ComboBox40", 4, 16, 150, QStringList(4, QString()));
    Label43 = label(p, "Label43", 6, 38, 150);
    ComboBox41 = combo(p, "ComboBox41", 4, 52, 100, QStringList(3, QString()));
    QStringList thresholds;
    for (int i = 0; i < 8; ++i)
        thresholds << QString(" %1 - %2").arg(i).arg(32 - 4 * i, 2, 10, QChar('0'));
    ComboBox42 = combo(p, "ComboBox42", 106, 52, 48, thresholds);
    ComboBox42->setEnabled(false);
    Label51 = label(p, "Label51", 6, 76, 150);
    ComboBox51 = combo(p, "ComboBox51", 4, 90, 150, QStringList(5, QString()));
    Label52 = label(p, "Label52", 6, 114, 150);
    QStringList distances;
    for (int d : {20,   25,   30,   40,    50,    60,    70,    80,    90,    100,   110,   120,
                  130,  140,  150,  160,   170,   180,   190,   200,   250,   300,   400,   500,
                  600,  700,  800,  900,   1000,  1200,  1500,  1800,  2000,  2500,  3000,  4000,
                  5000, 6000, 8000, 10000, 20000, 25000, 30000, 40000, 50000, 60000, 80000, 100000})
        distances << QString::number(d);
    ComboBox52 = combo(p, "ComboBox52", 4, 128, 150, distances);
    Label54 = label(p, "Label54", 6, 152, 150);
    ComboBox54 = combo(p, "ComboBox54", 4, 166, 150, QStringList(4, QString()));
    CheckBox52 = checkBox(p, "CheckBox52", 6, 192, 150);
}

void TForm1::rebuildTimeStretchItems() {
    // Time stretch of the relief display: nine factors of the chosen range.
    static constexpr double FACTORS[9] = {0.5, 0.625, 0.75, 0.875, 1, 1.25, 1.5, 1.75, 2};
    const int range = std::clamp(ComboBox11->currentIndex(), 0, items::TimeRange - 1);
    const double r = items::NS_PER_SAMPLE[std::size_t(range)];
    const int keep = ComboBox14->currentIndex();
    for (int i = 0; i < 9; ++i) {
        const long t = long(std::trunc(double(long(std::trunc(512 * r))) * FACTORS[i]));
        ComboBox14->setItemText(i, "    " + QString::number(t) + "  ns");
    }
    ComboBox14->setCurrentIndex(keep);
}

void TForm1::layoutOptionPanel() {
    const std::pair<QCheckBox*, QFrame*> order[] = {{CheckBox11, Panel_22},
                                                    {CheckBox12, Panel_23},
                                                    {CheckBox13, Panel_24},
                                                    {CheckBox14, Panel_25},
                                                    {CheckBox15, Panel_26}};
    int x = W21 + 1;
    int total = 0;
    for (const auto& [box, panel] : order) {
        panel->setVisible(box->isChecked());
        if (!box->isChecked()) continue;
        panel->move(x, Panel_21->y());
        panel->resize(panel->width(), Panel_21->height());
        x += panel->width();
        total += panel->width();
    }
    Panel_2->resize(W21 + total + 6, Panel_2->height());
}

void TForm1::OptionCheckBoxClick(QCheckBox* box) {
    applyCheckBoxColour(box);
    uint8_t& flags = store_.header.value[hdr::OptionFlags];
    if (box == CheckBox11) setBit(flags, hdr::ShowParameters, box->isChecked());
    if (box == CheckBox12) setBit(flags, hdr::ShowFilters, box->isChecked());
    if (box == CheckBox13) setBit(flags, hdr::Show3D, box->isChecked());
    layoutOptionPanel();
    focusOptionPanel();
}

void TForm1::SpeedButton10Click() {
    // Left Ctrl toggles the panel between its short and its tall height.
    const int h21 = Panel_21->height();
    if (prompter_.modifiers().leftCtrl) {
        const int h = Panel_2->height() == h21 + 28 ? h21 + 138 : h21 + 28;
        Panel_2->resize(Panel_2->width(), h);
        return;
    }
    Panel_2->setVisible(!Panel_2->isVisible());
    if (Panel_2->isVisible()) Panel_2->raise();
}

// --- check boxes of the base panel -----------------------------------------

void TForm1::CheckBox1Click() {
    setBit(store_.header.value[hdr::ViewFlags], hdr::English, CheckBox1->isChecked());
    applyCheckBoxColour(CheckBox1);
    AARR();
    Panel_2->update();
    DrawView();
    focusOptionPanel();
}

void TForm1::CheckBox2Click() {
    applyCheckBoxColour(CheckBox2);
    setBit(store_.header.value[hdr::ViewFlags], hdr::ZeroLine, CheckBox2->isChecked());
    DrawView();
    focusOptionPanel();
}

void TForm1::CheckBox3Click() {
    applyCheckBoxColour(CheckBox3);
    CheckBox3->setText(english() ? "Grid" : "Сетка");
    DrawView();
    focusOptionPanel();
}

void TForm1::CheckBox4Click() {
    applyCheckBoxColour(CheckBox4);
    setBit(store_.header.value[hdr::ViewFlags], hdr::Function, CheckBox4->isChecked());
    // The A-scan panel follows the check box.
    Panel50->setVisible(CheckBox4->isChecked());
    focusOptionPanel();
}

void TForm1::CheckBox6Click() {
    DrawView();
    focusOptionPanel();
}

// --- profile parameters ------------------------------------------------------

void TForm1::ComboBox11Change() {
    rebuildTimeStretchItems();
    const int range = ComboBox11->currentIndex();
    store_.header.value[hdr::TimeRange] = uint8_t(range);
    if (busy() || restoring_) return;
    if (store_.stateFlags & state::Relief) {
        if ((store_.stateFlags & state::ViewMask) == 0) GRAF();
    }
    // Keep the depth step sensible for the new time range.
    struct Window {
        int set, below, above; // set `set` when index <= below or index > above
    };
    static constexpr Window WINDOWS[8] = {{5, -1, 7}, {6, 1, 12},  {7, 4, 17},   {8, 5, 17},
                                          {8, 6, 21}, {10, 8, 99}, {12, 11, 99}, {17, 16, 99}};
    const Window w = WINDOWS[std::clamp(range, 0, 7)];
    const int d = ComboBox15->currentIndex();
    if (d <= w.below || d > w.above) ComboBox15->setCurrentIndex(w.set);
    DrawView();
}

void TForm1::ComboBox12Change() {
    if (busy()) return;
    store_.header.value[hdr::Step] = uint8_t(ComboBox12->currentIndex());
    if (restoring_) return;
    store_.stateFlags |= state::Changed;
    DrawView();
}

void TForm1::ComboBox13Change() {
    store_.header.value[hdr::Antenna] = uint8_t(ComboBox13->currentIndex());
    if (busy() || restoring_) return;
    DrawView();
}

void TForm1::ComboBox15Change() {
    const int i = ComboBox15->currentIndex();
    store_.header.value[hdr::DepthStep] = uint8_t(i);
    if (i > 0)
        setBoxColour(ComboBox15, LIGHT_YELLOW);
    else
        resetBoxColour(ComboBox15);
    if (busy() || restoring_) return;
    DrawView();
}

void TForm1::ComboBox16Change() {
    uint8_t& v = store_.header.value[hdr::ViewFlags];
    v = uint8_t((v & 0xF0) | (ComboBox16->currentIndex() & 0x0F));
}

void TForm1::ComboBox14Change() {
    if (busy() || restoring_) return;
    GRAF();
    DrawView();
}

void TForm1::ComboBox10Change() {
    const int item = ComboBox10->currentIndex();
    store_.header.value[hdr::VelocityIndex] = uint8_t(item);
    if (busy() || restoring_) return;
    paintVelocityBox(ComboBox10);
    const uint16_t code = item == 0 ? store_.hodographVelocity : VELOCITY_TABLE[std::size_t(item)];
    store_.setVelocity(code);
    Resovka_2();
}

// --- filters ---------------------------------------------------------------

void TForm1::FilterBoxChange(QComboBox* box) {
    static const std::pair<const char*, int> CELLS[] = {
        {"ComboBox20", 24}, {"ComboBox22", 25}, {"ComboBox23", 26}, {"ComboBox24", 27},
        {"ComboBox21", 28}, {"ComboBox25", 29}, {"ComboBox26", 30}, {"ComboBox27", 31}};
    for (const auto& [name, c] : CELLS)
        if (box->objectName() == name) store_.header.value[c] = uint8_t(box->currentIndex());
    if (busy() || restoring_) return;
    Resovka_2();
    focusOptionPanel();
}

void TForm1::Label20Click() {
    restoring_ = true;
    for (QComboBox* b : {ComboBox22, ComboBox23, ComboBox24}) {
        b->setCurrentIndex(0);
        resetBoxColour(b);
        FilterBoxChange(b);
    }
    restoring_ = false;
    Resovka_2();
}

void TForm1::Label21Click() {
    restoring_ = true;
    for (QComboBox* b : {ComboBox25, ComboBox26, ComboBox27}) {
        b->setCurrentIndex(0);
        resetBoxColour(b);
        FilterBoxChange(b);
    }
    restoring_ = false;
    Resovka_2();
}

void TForm1::ComboBox40Change() {
    if (ComboBox40->currentIndex() > 0)
        setBoxColour(ComboBox40, LIGHT_RED);
    else
        resetBoxColour(ComboBox40);
    if (busy() || restoring_) return;
    GRAF();
    DrawView();
    focusOptionPanel();
}

void TForm1::ComboBox41Change() {
    ComboBox42->setEnabled(ComboBox41->currentIndex() == 2);
    if (busy() || restoring_) return;
    GRAF();
    DrawView();
    focusOptionPanel();
}

void TForm1::ComboBox42Change() {
    if (busy() || restoring_) return;
    GRAF();
    DrawView();
    focusOptionPanel();
}

// --- volume settings and markers ---------------------------------------------

void TForm1::ComboBox51Change() {
    if (busy()) return;
    store_.header.value[hdr::VolumeInterp] = uint8_t(ComboBox51->currentIndex());
    store_.stateFlags |= state::Changed;
    focusOptionPanel();
}

void TForm1::ComboBox52Change() {
    if (busy()) return;
    store_.header.value[hdr::ProfileDistance] = uint8_t(ComboBox52->currentIndex());
    store_.stateFlags |= state::Changed;
    focusOptionPanel();
}

void TForm1::ComboBox54Change() {
    if (busy()) return;
    store_.header.value[hdr::Section] = uint8_t(ComboBox54->currentIndex());
    store_.stateFlags |= state::Changed;
    focusOptionPanel();
}

void TForm1::CheckBox52Click() {
    applyCheckBoxColour(CheckBox52);
    setBit(store_.header.value[hdr::AmplitudeFlags], hdr::ProcessAll, CheckBox52->isChecked());
    AARR(); // its caption names the state
    if (busy()) return;
    store_.stateFlags |= state::Changed;
    focusOptionPanel();
}

void TForm1::ComboBox17Change() {
    // The box colour tells the marker mode; the bulk operations and the
    // single-frame edits belong to the marker tools.
    const int item = ComboBox17->currentIndex();
    if (item == 0)
        resetBoxColour(ComboBox17);
    else if (item == 1)
        setBoxColour(ComboBox17, MARKS_SHOWN);
    else if ((store_.stateFlags & state::ViewMask) < 8)
        setBoxColour(ComboBox17, item == 6 ? MARKS_DELETE : MARKS_EDIT);
    DrawView();
    focusOptionPanel();
}

// --- amplitude and colours -----------------------------------------------------

void TForm1::ComboBox18Change() {
    store_.header.value[hdr::AmplitudeForm] = uint8_t(ComboBox18->currentIndex());
    engine_->settings.amplitudeForm = ComboBox18->currentIndex();
    AARR(); // the colour-count list depends on the form
    setFontColour(ComboBox18, engine_->recolour());
    if (busy() || restoring_) return;
    Resovka_1();
}

void TForm1::ComboBox19Change() {
    const int mode = ComboBox19->currentIndex();
    engine_->settings.zeroGainMode = mode;
    setFontColour(ComboBox19, mode == 0 ? 0x800000 : 0x80);
    showZeroGainCaptions();
    store_.header.value[hdr::ZeroGainMode] = uint8_t(mode);
    if (busy() || restoring_) return;
    Resovka_2();
    focusOptionPanel();
}

void TForm1::showZeroGainCaptions() {
    const ZeroGainCaptions c = zeroGainModeCaptions(engine_->settings);
    SpeedButton53->setText(QString::fromStdString(c.down));
    SpeedButton54->setText(QString::fromStdString(c.reset));
    SpeedButton55->setText(QString::fromStdString(c.up));
}

// The zero / gain buttons of the A-scan panel: each step or reset goes into
// the header at once and the picture is recoloured.
void TForm1::zeroGainChanged() {
    engine_->storeSettings(store_);
    showZeroGainCaptions();
}

void TForm1::SpeedButton53Click() {
    if (busy()) return;
    stepZeroGainDown(engine_->settings, prompter_.modifiers().leftCtrl);
    zeroGainChanged();
    Resovka_1();
    Panel50->setFocus();
}

void TForm1::SpeedButton54Click() {
    if (busy()) return;
    const bool ctrl = prompter_.modifiers().leftCtrl;
    resetZeroGain(engine_->settings, ctrl);
    zeroGainChanged();
    if (ctrl) SpeedButton54->setText("0");
    Resovka_1();
    Panel50->setFocus();
}

void TForm1::SpeedButton55Click() {
    if (busy()) return;
    stepZeroGainUp(engine_->settings, prompter_.modifiers().leftCtrl);
    zeroGainChanged();
    Resovka_1();
    Panel50->setFocus();
}

void TForm1::ComboBox28Change() {
    applyCheckBoxColour(CheckBox21);
    engine_->settings.colourMode = ComboBox28->currentIndex();
    engine_->settings.background = CheckBox21->isChecked();
    setBit(store_.header.value[hdr::AmplitudeFlags], hdr::Background, CheckBox21->isChecked());
    setFontColour(ComboBox18, engine_->recolour());
    store_.header.value[hdr::ColourMode] = uint8_t(ComboBox28->currentIndex());
    if (busy() || restoring_) return;
    Resovka_1();
}

void TForm1::ComboBox29Change() {
    const int i = ComboBox29->currentIndex();
    engine_->selectLevelTable(i);
    store_.header.value[hdr::LevelTable] = uint8_t(i);
    if (busy() || restoring_) return;
    Resovka_2();
}

void TForm1::CheckBox22Click() {
    applyCheckBoxColour(CheckBox22);
    engine_->settings.inversion = CheckBox22->isChecked();
    setFontColour(ComboBox18, engine_->recolour());
    setBit(store_.header.value[hdr::AmplitudeFlags], hdr::Inversion, CheckBox22->isChecked());
    if (busy() || restoring_) return;
    Resovka_1();
}

void TForm1::CheckBox23Click() {
    const bool on = CheckBox23->isChecked();
    setFontColour(CheckBox23, on ? 0x0000FF : 0x800000);
    setBit(store_.header.value[hdr::AmplitudeFlags], hdr::Highlight, on);
    engine_->settings.chosenAmplitude = on;
    showChosenAmplitude();
    SpeedButton51->setEnabled(on);
    SpeedButton52->setEnabled(on);
    setFontColour(ComboBox18, engine_->recolour());
    if (busy() || restoring_) return;
    Resovka_1();
}

void TForm1::showChosenAmplitude() {
    auto* caption = Panel52->findChild<QLabel*>("Panel52Caption");
    if (!caption) return;
    caption->setText("  VA = " + QString::number(int(engine_->settings.chosenCode) - 128) + "  ");
    setFontColour(caption, engine_->settings.chosenAmplitude ? 0x0000FF : 0xFFFFFF);
}

// The chosen amplitude one code lower or higher; its samples are marked in
// the palettes, so the picture is recoloured.
void TForm1::SpeedButton51Click() {
    if (busy() || !CheckBox23->isChecked()) return;
    stepChosenCodeDown(engine_->settings);
    showChosenAmplitude();
    setFontColour(ComboBox18, engine_->recolour());
    Resovka_1();
    Panel50->setFocus();
}

void TForm1::SpeedButton52Click() {
    if (busy() || !CheckBox23->isChecked()) return;
    stepChosenCodeUp(engine_->settings);
    showChosenAmplitude();
    setFontColour(ComboBox18, engine_->recolour());
    Resovka_1();
    Panel50->setFocus();
}

// --- layer colour ----------------------------------------------------------------

void TForm1::connectColourControls() {
    for (QComboBox* c : {ComboBox32, ComboBox33, ComboBox34})
        connect(c, &QComboBox::currentIndexChanged, this, [this] {
            if (!restoring_) ColourBoxChange();
        });
    connect(SpeedButton51, &QToolButton::clicked, this, [this] { SpeedButton51Click(); });
    connect(SpeedButton52, &QToolButton::clicked, this, [this] { SpeedButton52Click(); });
    auto* f241 = new MouseFilter(this);
    f241->onPress = [this] { Panel241Click(); };
    Panel241->installEventFilter(f241);
    for (QObject* o : Panel241->children()) o->installEventFilter(f241);
    auto* f242 = new MouseFilter(this);
    f242->onDoubleClick = [this] { Panel_242DblClick(); };
    Panel_242->installEventFilter(f242);
}

void TForm1::showLayerColour() {
    // The boxes hold red, green and blue; the colour value is 0x00BBGGRR.
    const int red = ComboBox32->currentIndex(), green = ComboBox33->currentIndex();
    const int blue = ComboBox34->currentIndex();
    const bool none = red == 0 && green == 0 && blue == 0; // no colour
    const QColor c = none ? palette().color(QPalette::Window) : QColor(red, green, blue);
    for (QFrame* f : {Panel241, Panel_242}) {
        QPalette p = f->palette();
        p.setColor(QPalette::Window, c);
        f->setPalette(p);
        f->setAutoFillBackground(true);
    }
    // The caption stays readable on light and on dark greens.
    if (auto* caption = Panel241->findChild<QLabel*>("Panel241Caption"))
        setFontColour(caption, green <= 150 ? 0x88FFFF : 0x000044);
}

void TForm1::ColourBoxChange() {
    // The boxes edit the colour of the current layer entry (entry 0 while no
    // layer is chosen), kept as blue, green, red in the header.
    uint8_t* cell = &store_.header.value[hdr::LayerColour];
    cell[0] = uint8_t(ComboBox34->currentIndex());
    cell[1] = uint8_t(ComboBox33->currentIndex());
    cell[2] = uint8_t(ComboBox32->currentIndex());
    showLayerColour();
    focusOptionPanel();
}

void TForm1::Panel241Click() {
    SurveyHeader start;
    start.setStartValues();
    auto& h = store_.header.value;
    std::copy(start.value.begin() + hdr::LayerColour, start.value.begin() + hdr::LayerColour + 27,
              h.begin() + hdr::LayerColour);
    restoring_ = true;
    ComboBox34->setCurrentIndex(h[hdr::LayerColour]);
    ComboBox33->setCurrentIndex(h[hdr::LayerColour + 1]);
    ComboBox32->setCurrentIndex(h[hdr::LayerColour + 2]);
    restoring_ = false;
    showLayerColour();
    focusOptionPanel();
}

void TForm1::Panel_242DblClick() {
    const QColor initial(ComboBox32->currentIndex(), ComboBox33->currentIndex(),
                         ComboBox34->currentIndex());
    const std::optional<QColor> chosen = prompter_.colour(initial);
    if (!chosen || !chosen->isValid()) return;
    restoring_ = true;
    ComboBox32->setCurrentIndex(chosen->red());
    ComboBox33->setCurrentIndex(chosen->green());
    ComboBox34->setCurrentIndex(chosen->blue());
    restoring_ = false;
    ColourBoxChange();
}

// --- header and controls ---------------------------------------------------------

void TForm1::restoreControlsFromHeader() {
    const bool wasRestoring = restoring_;
    restoring_ = true;
    const auto& h = store_.header.value;
    auto setItem = [](QComboBox* box, int item) {
        box->setCurrentIndex(std::clamp(item, 0, box->count() - 1));
    };
    setItem(ComboBox11, h[hdr::TimeRange]);
    rebuildTimeStretchItems(); // the stretch items are counted from the range
    setItem(ComboBox12, h[hdr::Step]);
    setItem(ComboBox10, h[hdr::VelocityIndex]);
    setItem(ComboBox28, h[hdr::ColourMode]);
    setItem(ComboBox20, h[24]);
    setItem(ComboBox22, h[25]);
    setItem(ComboBox23, h[26]);
    setItem(ComboBox24, h[27]);
    setItem(ComboBox21, h[28]);
    setItem(ComboBox25, h[29]);
    setItem(ComboBox26, h[30]);
    setItem(ComboBox27, h[31]);
    setItem(ComboBox16, h[hdr::ViewFlags] & 0x07);
    CheckBox2->setChecked(h[hdr::ViewFlags] & hdr::ZeroLine);
    CheckBox4->setChecked(h[hdr::ViewFlags] & hdr::Function);
    CheckBox13->setChecked(h[hdr::OptionFlags] & hdr::Show3D);
    CheckBox12->setChecked(h[hdr::OptionFlags] & hdr::ShowFilters);
    CheckBox11->setChecked(h[hdr::OptionFlags] & hdr::ShowParameters);
    CheckBox22->setChecked(h[hdr::AmplitudeFlags] & hdr::Inversion);
    CheckBox23->setChecked(h[hdr::AmplitudeFlags] & hdr::Highlight);
    CheckBox52->setChecked(h[hdr::AmplitudeFlags] & hdr::ProcessAll);
    CheckBox21->setChecked(h[hdr::AmplitudeFlags] & hdr::Background);
    setItem(ComboBox18, h[hdr::AmplitudeForm]);
    setItem(ComboBox19, h[hdr::ZeroGainMode]);
    setItem(ComboBox13, h[hdr::Antenna]);
    setItem(ComboBox15, h[hdr::DepthStep]);
    setItem(ComboBox29, h[hdr::LevelTable]);
    setItem(ComboBox51, h[hdr::VolumeInterp]);
    setItem(ComboBox52, h[hdr::ProfileDistance]);
    setItem(ComboBox54, h[hdr::Section]);
    setItem(ComboBox34, h[hdr::LayerColour]);
    setItem(ComboBox33, h[hdr::LayerColour + 1]);
    setItem(ComboBox32, h[hdr::LayerColour + 2]);
    showLayerColour();

    engine_->loadSettings(store_);
    // The chosen-amplitude mode is what its box shows, whether or not the
    // box changed just now.
    engine_->settings.chosenAmplitude = CheckBox23->isChecked();
    showChosenAmplitude();
    SpeedButton51->setEnabled(CheckBox23->isChecked());
    SpeedButton52->setEnabled(CheckBox23->isChecked());
    setFontColour(ComboBox18, engine_->recolour());
    setFontColour(ComboBox19, ComboBox19->currentIndex() == 0 ? 0x800000 : 0x80);
    showZeroGainCaptions();
    ComboBox15Change();
    paintVelocityBox(ComboBox10);
    for (QCheckBox* c : {CheckBox2, CheckBox4, CheckBox11, CheckBox12, CheckBox13, CheckBox21,
                         CheckBox22, CheckBox52})
        applyCheckBoxColour(c);
    layoutOptionPanel();
    // The A-scan panel follows "Функция" whether or not the box changed.
    Panel50->setVisible(CheckBox4->isChecked());
    const bool en = h[hdr::ViewFlags] & hdr::English;
    restoring_ = wasRestoring;
    if (CheckBox1->isChecked() != en)
        CheckBox1->setChecked(en); // switches the language
    else
        AARR();
}

void TForm1::refreshHeaderFromControls() {
    auto& h = store_.header.value;
    h[hdr::TimeRange] = uint8_t(ComboBox11->currentIndex());
    h[hdr::Step] = uint8_t(ComboBox12->currentIndex());
    h[hdr::VelocityIndex] = uint8_t(ComboBox10->currentIndex());
    h[hdr::ColourMode] = uint8_t(ComboBox28->currentIndex());
    const QComboBox* filters[] = {ComboBox20, ComboBox22, ComboBox23, ComboBox24,
                                  ComboBox21, ComboBox25, ComboBox26, ComboBox27};
    for (int i = 0; i < 8; ++i) h[24 + i] = uint8_t(filters[i]->currentIndex());
    h[hdr::ViewFlags] =
        uint8_t(ComboBox16->currentIndex() | (CheckBox2->isChecked() ? 0x20 : 0) |
                (CheckBox4->isChecked() ? 0x40 : 0) | (CheckBox1->isChecked() ? 0x80 : 0));
    // Bit 0x04 of the option flags is kept as it stands; nothing reads it.
    h[hdr::OptionFlags] =
        uint8_t((h[hdr::OptionFlags] & 0x04) | (CheckBox13->isChecked() ? 0x08 : 0) |
                (CheckBox12->isChecked() ? 0x10 : 0) | (CheckBox11->isChecked() ? 0x20 : 0));
    h[hdr::AmplitudeFlags] =
        uint8_t((h[hdr::AmplitudeFlags] & 0x0F) | (CheckBox22->isChecked() ? 0x10 : 0) |
                (CheckBox23->isChecked() ? 0x20 : 0) | (CheckBox52->isChecked() ? 0x40 : 0) |
                (CheckBox21->isChecked() ? 0x80 : 0));
    h[hdr::AmplitudeForm] = uint8_t(ComboBox18->currentIndex());
    h[hdr::ZeroGainMode] = uint8_t(ComboBox19->currentIndex());
    engine_->storeSettings(store_);
    h[hdr::Antenna] = uint8_t(ComboBox13->currentIndex());
    h[hdr::DepthStep] = uint8_t(ComboBox15->currentIndex());
    h[hdr::LevelTable] = uint8_t(ComboBox29->currentIndex());
    h[hdr::VolumeInterp] = uint8_t(ComboBox51->currentIndex());
    h[hdr::ProfileDistance] = uint8_t(ComboBox52->currentIndex());
    h[hdr::Section] = uint8_t(ComboBox54->currentIndex());
}

} // namespace tesk
