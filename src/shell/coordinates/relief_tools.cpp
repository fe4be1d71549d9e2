#include "shell/coordinates/relief_tools.h"

#include "shell/coordinates/coordinates_panel.h"
#include "shell/display/parameter_panel.h"
#include "shell/prompts/prompter.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace tesk {

namespace {

// What the relief display hides of the other views.
const char* const HIDDEN_IN_RELIEF[] = {
    "Image2",  "Image3",     "Image4",     "Image5",        "Image8",  "Image9",
    "ShapeX1", "ShapeX2",    "ShapeX3",    "ShapeX4",       "ShapeY1", "ShapeY2",
    "ShapeY3", "ShapeY4",    "ShapeT1",    "ShapeT2",       "ShapeT3", "ShapeT4",
    "Panel9",  "Panel_TVSL", "Panel_TGod", "Panel_Kratnik", "Panel_3D"};

} // namespace

ReliefTools::ReliefTools(ShellServices& services, QWidget& window, QWidget* pictureArea,
                         CommandBar& bar, CoordinatesPanel& panel, ParameterPanel& parameters)
    : ShellPanel(services), window_(window), bar_(bar), panel_(panel), parameters_(parameters) {
    Image7 = new ImageWidget(pictureArea, "Image7");
    const Point o = services_.view().ViewOrigin;
    Image7->move(o.x, o.y);
    line_ = QImage(coords::RELIEF_IMAGE_WIDTH, coords::RELIEF_IMAGE_HEIGHT, QImage::Format_ARGB32);
    line_.fill(Qt::transparent);
    Image7->setImage(line_);
    Image7->setMouseTracking(true);
    Image7->hide();
    Image7->setEnabled(false);
    Image7->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

void ReliefTools::connectHandlers() {
    QObject* owner = Image7;
    auto toggled = [&](QCheckBox* b, void (ReliefTools::*h)()) {
        QObject::connect(b, &QCheckBox::toggled, owner, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    toggled(panel_.CheckBox70, &ReliefTools::CheckBox70Click);
    toggled(panel_.CheckBox72, &ReliefTools::CheckBox72Click);
    toggled(panel_.CheckBox73, &ReliefTools::CheckBox73Click);
    QObject::connect(panel_.SpeedButton73, &QToolButton::clicked, owner,
                     [this] { SpeedButton73Click(); });
    QObject::connect(bar_.SpeedButton6, &QToolButton::clicked, owner,
                     [this] { SpeedButton6Click(); });
    QObject::connect(panel_.MaskEdit2, &QLineEdit::textEdited, owner,
                     [this] { MaskEdit2Change(); });
    Image7->onMouseDown = [this](Qt::MouseButton b, QPoint p) { Image7MouseDown(b, p); };
    Image7->onMouseMove = [this](Qt::MouseButton, QPoint p) { Image7MouseMove(p); };
    Image7->onMouseUp = [this](Qt::MouseButton, QPoint) { Image7MouseUp(); };
    panel_.reliefChanged = [this] { followView(); };
}

// A survey just opened starts on the radargram without the relief line.
void ReliefTools::restored() {
    parameters_.showTimeStretch(store().stateFlags & state::Relief);
    if (panel_.CheckBox73->isChecked()) {
        const Restoring quiet(services_);
        panel_.CheckBox73->setChecked(false);
    }
    Image7->hide();
    Image7->setEnabled(false);
    Image7->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    panel_.SpeedButton73->setEnabled(false);
}

// The window stretch of ComboBox14 stretches the rows only in the relief
// display; the picture outside it is not stretched.
double ReliefTools::stretch() {
    return (store().stateFlags & state::Relief) ? parameters_.timeStretch() : 1.0;
}

coords::ReliefView ReliefTools::view() {
    const double nsPerRow = overlaySettingsFromHeader(store()).nsPerRow;
    const double K = coords::reliefScale(store().velocityCode, nsPerRow, stretch());
    return coords::reliefView(store(), store().viewStart, panel_.CheckBox70->isChecked(), K);
}

ReliefShift ReliefTools::shift() {
    ReliefShift r;
    r.on = store().stateFlags & state::Relief;
    r.referenceHeight = view().reference;
    r.velocityCode = store().velocityCode;
    r.nsPerRow = overlaySettingsFromHeader(store()).nsPerRow;
    r.stretch = stretch();
    return r;
}

void ReliefTools::addRelief(ProcessingSettings& p) {
    p.relief.on = store().stateFlags & state::Relief;
    p.relief.stretch = parameters_.timeStretch();
    p.relief.absolute = panel_.CheckBox70->isChecked();
    p.relief.nsPerRow = overlaySettingsFromHeader(store()).nsPerRow;
}

void ReliefTools::addRelief(OverlaySettings& o) {
    o.absoluteHeight = panel_.CheckBox70->isChecked();
    o.windowHmax = int(coords::windowMaximum(store(), store().viewStart));
}

void ReliefTools::RLF_Lin() {
    coords::RLF_Lin(line_, store(), editor_.state() ? dragView_ : view());
    Image7->setImage(line_);
}

void ReliefTools::followView() {
    if (panel_.CheckBox73->isChecked()) RLF_Lin();
}

void ReliefTools::setEnabledByName(const char* name, bool on) {
    if (auto* w = window_.findChild<QWidget*>(name)) w->setEnabled(on);
}

void ReliefTools::SpeedButton6Click() {
    if (busy()) return;
    store().stateFlags = coords::reliefModeState(store().stateFlags);
    parameters_.showTimeStretch(true);
    for (const char* name : {"ScrollBox1", "Image1"})
        if (auto* w = window_.findChild<QWidget*>(name)) w->show();
    for (const char* name : HIDDEN_IN_RELIEF)
        if (auto* w = window_.findChild<QWidget*>(name)) w->hide();
    // Frames are not edited, opened or added up while the picture follows the terrain.
    for (QToolButton* b :
         {bar_.SpeedButton13, bar_.SpeedButton14, bar_.SpeedButton15, bar_.SpeedButton16,
          bar_.SpeedButton26, bar_.SpeedButton27, bar_.SpeedButton28, bar_.SpeedButton29,
          bar_.SpeedButton30, bar_.SpeedButton31, bar_.SpeedButton32, bar_.SpeedButton35,
          bar_.SpeedButton1})
        b->setEnabled(false);
    setEnabledByName("SpeedButton_GProf", false);
    if (auto* c = window_.findChild<QComboBox*>("ComboBox40")) c->setCurrentIndex(0);
    for (const char* name : {"ComboBox40", "ComboBox41", "ComboBox42"})
        setEnabledByName(name, false);
    for (QToolButton* b :
         {bar_.SpeedButton17, bar_.SpeedButton18, bar_.SpeedButton20, bar_.SpeedButton21,
          bar_.SpeedButton22, bar_.SpeedButton23, bar_.SpeedButton24, bar_.SpeedButton25})
        b->setEnabled(true);
    enableCommand(bar_.SpeedButton7, true);
    enableCommand(bar_.SpeedButton12, !bar_.SpeedButton12->isHidden());
    panel_.CheckBox73->setEnabled(true);
    services_.applyLanguage();
    services_.redraw(Redraw::Radargram);
}

void ReliefTools::CheckBox70Click() {
    panel_.MaskEdit2->setEnabled(panel_.CheckBox70->isChecked());
    services_.redraw(Redraw::Radargram);
    panel_.focusPanel();
}

// The line takes the mouse only while both "Высота Рельефа" and "Линия
// рельефа" are checked; otherwise the clicks go to the picture below.
void ReliefTools::armLine() {
    const bool editable = panel_.CheckBox72->isChecked() && panel_.CheckBox73->isChecked();
    Image7->setEnabled(editable);
    Image7->setAttribute(Qt::WA_TransparentForMouseEvents, !editable);
    Image7->setCursor(editable ? Qt::UpArrowCursor : Qt::CrossCursor);
    panel_.SpeedButton73->setEnabled(editable);
    panel_.SpeedButton73->setCursor(Qt::PointingHandCursor);
}

void ReliefTools::disableForTheLine() {
    for (QToolButton* b :
         {bar_.SpeedButton7, bar_.SpeedButton8, bar_.SpeedButton9, bar_.SpeedButton12,
          bar_.SpeedButton13, bar_.SpeedButton14, bar_.SpeedButton15, bar_.SpeedButton16,
          bar_.SpeedButton26, bar_.SpeedButton27, bar_.SpeedButton28, bar_.SpeedButton29,
          bar_.SpeedButton30, bar_.SpeedButton31, bar_.SpeedButton32})
        b->setEnabled(false);
    setEnabledByName("SpeedButton_GProf", false);
    if (auto* c = window_.findChild<QComboBox*>("ComboBox40")) {
        c->setCurrentIndex(0);
        c->setEnabled(false);
    }
}

void ReliefTools::CheckBox73Click() {
    if (panel_.CheckBox73->isChecked()) {
        Image7->show();
        Image7->raise();
        armLine();
        disableForTheLine();
        RLF_Lin();
    } else {
        Image7->hide();
        Image7->setEnabled(false);
        Image7->setAttribute(Qt::WA_TransparentForMouseEvents, true);
        panel_.SpeedButton73->setEnabled(false);
        // The slice views come back unless layers hold them off.
        const auto* layers = window_.findChild<QComboBox*>("ComboBox31");
        const auto* shown = window_.findChild<QCheckBox*>("CheckBox33");
        if ((!layers || layers->currentIndex() == 0) && (!shown || !shown->isChecked())) {
            enableCommand(bar_.SpeedButton7, true);
            enableCommand(bar_.SpeedButton12, !bar_.SpeedButton12->isHidden());
        }
    }
    panel_.focusPanel();
    services_.redraw(Redraw::Overlay);
}

void ReliefTools::CheckBox72Click() {
    if (panel_.CheckBox73->isChecked()) armLine();
    panel_.focusPanel();
    services_.redraw(Redraw::Overlay);
}

void ReliefTools::SpeedButton73Click() {
    const Modifiers m = services_.prompter().modifiers();
    const bool held = m.anyCtrl() || m.anyShift();
    coords::smoothRelief(store(), held);
    if (!held) services_.markModified(); // with a key held nothing is smoothed
    RLF_Lin();
    if (store().stateFlags & state::Relief) services_.redraw(Redraw::Radargram);
    panel_.focusPanel();
}

void ReliefTools::MaskEdit2Change() {
    if (busy()) return;
    coords::absoluteHeightFromText(store(), panel_.MaskEdit2->displayText().toStdString());
    services_.markModified();
    panel_.showHmax(coords::hmaxCaption(store().Hmax, " m", panel_.decimalSeparator()),
                    coords::HmaxColour::Unchanged);
    services_.redraw(Redraw::Radargram);
}

bool ReliefTools::Edit2KeyPress(int key) {
    // Character keys other than digits are dropped and the window takes the
    // focus; editing keys (Backspace, Delete, arrows) work as in any field.
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return false;
    if (key >= Qt::Key_Escape) return false;
    window_.setFocus();
    return true;
}

void ReliefTools::Image7MouseDown(Qt::MouseButton button, QPoint at) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    dragView_ = view(); // the reference holds still while the mouse draws
    editor_.mouseDown(button == Qt::LeftButton ? coords::ReliefEditor::Button::Left
                                               : coords::ReliefEditor::Button::Right,
                      at.x(), at.y());
}

void ReliefTools::Image7MouseMove(QPoint at) {
    if (editor_.state() == 0) return;
    if (editor_.mouseMove(store(), dragView_, at.x(), at.y())) RLF_Lin();
}

void ReliefTools::Image7MouseUp() {
    const std::string caption = editor_.mouseUp(store(), panel_.decimalSeparator());
    if (caption.empty()) return;
    services_.markModified(); // the line was drawn or flattened
    panel_.showHmax(caption, coords::HmaxColour::Unchanged);
    RLF_Lin();
    if (store().stateFlags & state::Relief) services_.redraw(Redraw::Radargram);
}

} // namespace tesk
