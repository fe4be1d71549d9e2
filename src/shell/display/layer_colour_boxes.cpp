#include "shell/display/layer_colour_boxes.h"

#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <algorithm>

namespace tesk {

namespace {

const CaptionRow CAPTIONS[] = {
    {"Panel241Caption", CaptionKind::Caption, -1, "Source Color", "Исходный Цвет"},
};

} // namespace

LayerColourBoxes::LayerColourBoxes(ShellServices& services, QWidget* p) : ShellPanel(services) {
    QStringList codes;
    for (int i = 0; i < 256; ++i) codes << QString::number(i);
    ComboBox32 = combo(p, "ComboBox32", 168, 158, 50, codes);
    ComboBox33 = combo(p, "ComboBox33", 220, 158, 50, codes);
    ComboBox34 = combo(p, "ComboBox34", 272, 158, 50, codes);
    // The boxes start on 255 each; the layer colours in the header are taken
    // over only from a file.
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

void LayerColourBoxes::connectHandlers() {
    for (QComboBox* c : {ComboBox32, ComboBox33, ComboBox34})
        QObject::connect(c, &QComboBox::currentIndexChanged, Panel241, [this] {
            if (!restoring()) ColourBoxChange();
        });
    auto* f241 = new MouseFilter(Panel241);
    f241->onPress = [this] { Panel241Click(); };
    Panel241->installEventFilter(f241);
    for (QObject* o : Panel241->children()) o->installEventFilter(f241);
    auto* f242 = new MouseFilter(Panel_242);
    f242->onDoubleClick = [this] { Panel_242DblClick(); };
    Panel_242->installEventFilter(f242);
}

std::span<const CaptionRow> LayerColourBoxes::captions() const {
    return CAPTIONS;
}

void LayerColourBoxes::restored() {
    setBoxes(store().header.layerColour(layer_));
    showLayerColour();
}

void LayerColourBoxes::setCurrentLayer(int layer) {
    layer_ = std::clamp(layer, 0, LAYER_COLOUR_ENTRIES - 1);
    setBoxes(store().header.layerColour(layer_));
    showLayerColour();
}

std::array<uint8_t, 3> LayerColourBoxes::components() const {
    return {uint8_t(ComboBox32->currentIndex()), uint8_t(ComboBox33->currentIndex()),
            uint8_t(ComboBox34->currentIndex())};
}

void LayerColourBoxes::setComponents(const std::array<uint8_t, 3>& rgb) {
    const Restoring quiet(services_);
    ComboBox32->setCurrentIndex(rgb[0]);
    ComboBox33->setCurrentIndex(rgb[1]);
    ComboBox34->setCurrentIndex(rgb[2]);
}

void LayerColourBoxes::setBoxes(LayerColour c) {
    const Restoring quiet(services_);
    ComboBox32->setCurrentIndex(c.red);
    ComboBox33->setCurrentIndex(c.green);
    ComboBox34->setCurrentIndex(c.blue);
}

void LayerColourBoxes::showLayerColour() {
    const int red = ComboBox32->currentIndex(), green = ComboBox33->currentIndex();
    const int blue = ComboBox34->currentIndex();
    const bool none = red == 0 && green == 0 && blue == 0; // no colour
    const QColor c =
        none ? Panel241->window()->palette().color(QPalette::Window) : QColor(red, green, blue);
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

void LayerColourBoxes::ColourBoxChange() {
    store().header.setLayerColour(layer_, LayerColour{uint8_t(ComboBox32->currentIndex()),
                                                      uint8_t(ComboBox33->currentIndex()),
                                                      uint8_t(ComboBox34->currentIndex())});
    services_.markModified();
    showLayerColour();
    services_.focusOptionPanel();
}

void LayerColourBoxes::Panel241Click() {
    store().header.resetLayerColours();
    services_.markModified();
    setBoxes(store().header.layerColour(layer_));
    showLayerColour();
    services_.focusOptionPanel();
}

void LayerColourBoxes::Panel_242DblClick() {
    const QColor initial(ComboBox32->currentIndex(), ComboBox33->currentIndex(),
                         ComboBox34->currentIndex());
    const std::optional<QColor> chosen = services_.prompter().colour(initial);
    if (!chosen || !chosen->isValid()) return;
    setBoxes(
        LayerColour{uint8_t(chosen->red()), uint8_t(chosen->green()), uint8_t(chosen->blue())});
    ColourBoxChange();
}

} // namespace tesk
