#include "shell/display/ascan_panel.h"

#include "display/ascan.h"
#include "shell/display/mouse.h"
#include "shell/display/radargram_engine.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/main_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <functional>

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

// Runs `onResize` whenever the watched widget changes its size.
class ResizeWatch final : public QObject {
  public:
    ResizeWatch(QWidget* watched, std::function<void()> onResize)
        : QObject(watched), onResize_(std::move(onResize)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) onResize_();
        return false;
    }

  private:
    std::function<void()> onResize_;
};

QLabel* caption(QFrame* panel, const char* name) {
    return panel->findChild<QLabel*>(name);
}

} // namespace

AScanPanel::AScanPanel(ShellServices& services, QWidget& window, QCheckBox* functionBox,
                       QComboBox* zeroGainBox, QCheckBox* chosenBox)
    : ShellPanel(services), window_(window), functionBox_(functionBox), zeroGainBox_(zeroGainBox),
      chosenBox_(chosenBox) {
    Panel50 = floatingPanel(&window, "Panel50", QRect(1174, 50, 260, 604));
    Panel51 = innerPanel(Panel50, "Panel51", 2, 2, 256, 20);
    auto* caption51 = new QLabel(Panel51);
    caption51->setObjectName("Panel51Caption");
    caption51->setGeometry(2, 2, 250, 16);
    Image10 = new ImageWidget(Panel50, "Image10");
    Image10->move(2, 22);
    Image10->resize(ASCAN_WIDTH, ASCAN_HEIGHT);
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
    placeBesideThePicture();
    // Until the operator moves it, the panel keeps its place as the window is resized.
    new ResizeWatch(&window_, [this] {
        if (!movedByOperator_) placeBesideThePicture();
    });
}

void AScanPanel::placeBesideThePicture() {
    // Right of the picture and its time scale when the window has room for
    // the panel there, else against the window's right edge. The picture is
    // 1024 pixels wide and starts 50 pixels in; its time scale takes most of
    // as much again after it.
    constexpr int PICTURE_WIDTH = 1024;
    int left = PICTURE_WIDTH + 2 * 50;
    if (left + Panel50->width() > window_.width()) left = window_.width() - Panel50->width() - 10;
    Panel50->move(std::max(left, 0), Panel50->y());
}

void AScanPanel::connectHandlers() {
    dragWith(Panel50, Panel50, {Panel50, Panel51, Panel52}, [this](QWidget*, Qt::MouseButton b) {
        if (b == Qt::LeftButton) movedByOperator_ = true;
    });
    Image10->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image10MouseDown(b, p); };
    auto click = [this](QToolButton* b, void (AScanPanel::*h)()) {
        QObject::connect(b, &QToolButton::clicked, Panel50, [this, h] { (this->*h)(); });
    };
    click(SpeedButton51, &AScanPanel::SpeedButton51Click);
    click(SpeedButton52, &AScanPanel::SpeedButton52Click);
    click(SpeedButton53, &AScanPanel::SpeedButton53Click);
    click(SpeedButton54, &AScanPanel::SpeedButton54Click);
    click(SpeedButton55, &AScanPanel::SpeedButton55Click);
    // The panel follows "Функция"; it appears with a trace to show.
    QObject::connect(functionBox_, &QCheckBox::toggled, Panel50, [this] { DrawAScan(); });
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
    // The panel follows "Функция" whether or not the box changed; it is
    // drawn, and shown, with the redraw that follows.
    if (!functionBox_->isChecked()) Panel50->hide();
}

void AScanPanel::DrawAScan() {
    if (busy()) return;
    MainView* view = services_.shownView();
    const std::optional<AScanTrace> trace =
        view && functionBox_->isChecked() ? view->aScanTrace() : std::nullopt;
    if (!trace) {
        Panel50->hide(); // nothing to show: the picture stays uncovered
        return;
    }
    const RadargramEngine& r = services_.radargram();
    const AScanReadouts out =
        tesk::DrawAScan(picture_, *trace, r.settings, r.palettes, services_.view().gridColour);
    Image10->setImage(picture_);
    caption(Panel51, "Panel51Caption")->setText(QString::fromStdString(out.panel51));
    // In the chosen-amplitude mode Panel52 names the chosen code, which its
    // own buttons step; otherwise it reads the code under the cursor.
    if (!chosenBox_->isChecked()) {
        QLabel* c52 = caption(Panel52, "Panel52Caption");
        c52->setText(QString::fromStdString(out.panel52));
        setFontColour(c52, 0x000000);
    }
    SpeedButton53->setText(QString::fromStdString(out.captions.down));
    SpeedButton54->setText(QString::fromStdString(out.captions.reset));
    SpeedButton55->setText(QString::fromStdString(out.captions.up));
    if (Panel50->isHidden()) {
        if (!movedByOperator_) placeBesideThePicture();
        Panel50->show();
        Panel50->raise();
    }
}

// Left clicks set the zero level or the first gain level and position,
// right clicks the zero level or the second; in the legend, left Shift and
// left Ctrl pick the cursor and the grid colour.
void AScanPanel::Image10MouseDown(Qt::MouseButton button, QPoint at) {
    if (busy()) return;
    const Modifiers m = services_.prompter().modifiers();
    RadargramEngine& r = services_.radargram();
    r.takeSettings(store());
    const AScanClickEffect e =
        aScanClick(r.settings, Image10->image,
                   AScanClick{Point{at.x(), at.y()}, mouseButton(button), navKeys(m)});
    applyAScanClick(e, r.settings, services_.view(), store().header);
    showZeroGainCaptions();
    services_.redraw(Redraw::Palette);
    Panel50->setFocus();
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
    QLabel* c52 = caption(Panel52, "Panel52Caption");
    const DisplaySettings& s = services_.radargram().settings;
    c52->setText("  VA = " + QString::number(int(s.chosenCode) - 128) + "  ");
    setFontColour(c52, s.chosenAmplitude ? 0x0000FF : 0xFFFFFF);
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
