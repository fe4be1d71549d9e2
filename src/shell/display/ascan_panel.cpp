#include "shell/display/ascan_panel.h"

#include "shell/display/radargram_engine.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

namespace tesk {

namespace {

const CaptionRow CAPTIONS[] = {
    {"Panel51Caption", CaptionKind::Caption, -1, " Amplitude", " Амплитуда"},
};

QToolButton* button(QWidget* parent, const char* name, const char* text, QRect at) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setGeometry(at);
    return b;
}

} // namespace

AScanPanel::AScanPanel(ShellServices& services, QWidget& window, QCheckBox* functionBox,
                       QComboBox* zeroGainBox, QCheckBox* chosenBox)
    : ShellPanel(services), functionBox_(functionBox), zeroGainBox_(zeroGainBox),
      chosenBox_(chosenBox) {
    Panel50 = floatingPanel(&window, "Panel50", QRect(1174, 50, 260, 604));
    Panel51 = innerPanel(Panel50, "Panel51", 2, 2, 256, 20);
    auto* caption51 = new QLabel(Panel51);
    caption51->setObjectName("Panel51Caption");
    caption51->setGeometry(2, 2, 250, 16);
    Panel52 = innerPanel(Panel50, "Panel52", 2, 556, 256, 20);
    auto* caption52 = new QLabel("VA  ", Panel52);
    caption52->setObjectName("Panel52Caption");
    caption52->setGeometry(2, 2, 190, 16);
    // The chosen amplitude one code down / up; usable in the chosen-amplitude mode only.
    SpeedButton51 = button(Panel52, "SpeedButton51", "<<", QRect(194, 1, 29, 18));
    SpeedButton52 = button(Panel52, "SpeedButton52", ">>", QRect(224, 1, 29, 18));
    SpeedButton51->setEnabled(false);
    SpeedButton52->setEnabled(false);
    // The zero / gain buttons under the readouts.
    SpeedButton53 = button(Panel50, "SpeedButton53", "<<", QRect(2, 579, 84, 22));
    SpeedButton54 = button(Panel50, "SpeedButton54", "0", QRect(88, 579, 84, 22));
    SpeedButton55 = button(Panel50, "SpeedButton55", ">>", QRect(174, 579, 84, 22));
    // The panel stands right of the picture when the screen has room for it,
    // else against the screen's right edge. The relief overlay over the
    // radargram is 1024 pixels wide and starts at the picture origin 50
    // pixels in; as much again is left after it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1467;
    constexpr int RELIEF_OVERLAY_WIDTH = 1024;
    int left = RELIEF_OVERLAY_WIDTH + 2 * 50;
    if (left + Panel50->width() > screenWidth) left = screenWidth - Panel50->width() - 10;
    Panel50->move(std::max(left, 0), Panel50->y());
}

void AScanPanel::connectHandlers() {
    dragWith(Panel50, Panel50, {Panel50, Panel51, Panel52});
    auto click = [this](QToolButton* b, void (AScanPanel::*h)()) {
        QObject::connect(b, &QToolButton::clicked, Panel50, [this, h] { (this->*h)(); });
    };
    click(SpeedButton51, &AScanPanel::SpeedButton51Click);
    click(SpeedButton52, &AScanPanel::SpeedButton52Click);
    click(SpeedButton53, &AScanPanel::SpeedButton53Click);
    click(SpeedButton54, &AScanPanel::SpeedButton54Click);
    click(SpeedButton55, &AScanPanel::SpeedButton55Click);
    // The panel follows "Функция".
    QObject::connect(functionBox_, &QCheckBox::toggled, Panel50,
                     [this](bool on) { Panel50->setVisible(on); });
    QObject::connect(zeroGainBox_, &QComboBox::currentIndexChanged, Panel50, [this] {
        if (!restoring()) showZeroGainCaptions();
    });
    QObject::connect(chosenBox_, &QCheckBox::toggled, Panel50, [this] { followChosenBox(); });
}

std::span<const CaptionRow> AScanPanel::captions() const {
    return CAPTIONS;
}

void AScanPanel::restored() {
    followChosenBox();
    showZeroGainCaptions();
    // The panel follows "Функция" whether or not the box changed.
    Panel50->setVisible(functionBox_->isChecked());
}

void AScanPanel::followChosenBox() {
    showChosenAmplitude();
    SpeedButton51->setEnabled(chosenBox_->isChecked());
    SpeedButton52->setEnabled(chosenBox_->isChecked());
}

void AScanPanel::showZeroGainCaptions() {
    RadargramEngine& r = services_.radargram();
    r.takeSettings(store());
    const ZeroGainCaptions c = zeroGainModeCaptions(r.settings);
    SpeedButton53->setText(QString::fromStdString(c.down));
    SpeedButton54->setText(QString::fromStdString(c.reset));
    SpeedButton55->setText(QString::fromStdString(c.up));
}

void AScanPanel::showChosenAmplitude() {
    auto* caption = Panel52->findChild<QLabel*>("Panel52Caption");
    if (!caption) return;
    const DisplaySettings& s = services_.radargram().settings;
    caption->setText("  VA = " + QString::number(int(s.chosenCode) - 128) + "  ");
    setFontColour(caption, s.chosenAmplitude ? 0x0000FF : 0xFFFFFF);
}

// Each step or reset goes into the header at once and the picture is recoloured.
void AScanPanel::zeroGainStep(void (*step)(DisplaySettings&, bool)) {
    if (busy()) return;
    const bool ctrl = services_.prompter().modifiers().leftCtrl;
    services_.radargram().editSettings(store(), [&](DisplaySettings& s) { step(s, ctrl); });
    services_.markModified();
    showZeroGainCaptions();
    services_.redraw(Redraw::Palette);
    Panel50->setFocus();
}

void AScanPanel::SpeedButton53Click() {
    zeroGainStep(&stepZeroGainDown);
}

void AScanPanel::SpeedButton54Click() {
    if (busy()) return;
    const bool ctrl = services_.prompter().modifiers().leftCtrl;
    services_.radargram().editSettings(store(),
                                       [&](DisplaySettings& s) { resetZeroGain(s, ctrl); });
    services_.markModified();
    showZeroGainCaptions();
    if (ctrl) SpeedButton54->setText("0");
    services_.redraw(Redraw::Palette);
    Panel50->setFocus();
}

void AScanPanel::SpeedButton55Click() {
    zeroGainStep(&stepZeroGainUp);
}

// The chosen amplitude one code lower or higher; its samples are marked in
// the palettes, so the picture is recoloured.
void AScanPanel::chosenStep(void (*step)(DisplaySettings&)) {
    if (busy() || !chosenBox_->isChecked()) return;
    step(services_.radargram().settings);
    showChosenAmplitude();
    services_.displaySettingsChanged();
    services_.redraw(Redraw::Palette);
    Panel50->setFocus();
}

void AScanPanel::SpeedButton51Click() {
    chosenStep(&stepChosenCodeDown);
}

void AScanPanel::SpeedButton52Click() {
    chosenStep(&stepChosenCodeUp);
}

} // namespace tesk
