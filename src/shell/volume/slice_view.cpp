#include "shell/volume/slice_view.h"

#include "display/overlay.h"
#include "shell/display/radargram_view.h"
#include "shell/options/option_panel.h"
#include "shell/prompts/prompter.h"
#include "shell/volume/volume_host.h"
#include "shell/volume/volume_settings_panel.h"
#include "shell/widgets/image_widgets.h"
#include "shell/window/command_bar.h"
#include "store/settings_catalog.h"
#include "volume/cube_modes.h"
#include "volume/slice_overlay.h"
#include "volume/volume_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>

namespace tesk {

namespace {

constexpr int SLICE_SPACING = 600; // Image2, Image3 and Image4 stand 600 pixels apart
constexpr int SHAPE_SIZE = 10;

const char* const SHAPE_NAMES[SECTION_MARKERS] = {"ShapeX1", "ShapeX2", "ShapeX3", "ShapeX4",
                                                  "ShapeY1", "ShapeY2", "ShapeY3", "ShapeY4",
                                                  "ShapeT1", "ShapeT2", "ShapeT3", "ShapeT4"};

// A section marker: a round handle in the colour of its group (X navy, Y
// green, T maroon) with a white rim.
QImage shapeImage(int marker) {
    static const QColor GROUP[3] = {QColor(0, 0, 0x80), QColor(0, 0x80, 0), QColor(0x80, 0, 0)};
    QImage im(SHAPE_SIZE, SHAPE_SIZE, QImage::Format_ARGB32_Premultiplied);
    im.fill(Qt::transparent);
    QPainter p(&im);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(GROUP[marker / 4]);
    p.drawEllipse(QRectF(0.75, 0.75, SHAPE_SIZE - 1.5, SHAPE_SIZE - 1.5));
    return im;
}

MouseButton buttonOf(Qt::MouseButton b) {
    return b == Qt::RightButton    ? MouseButton::Right
           : b == Qt::MiddleButton ? MouseButton::Middle
                                   : MouseButton::Left;
}

} // namespace

SliceView::SliceView(ShellServices& services, VolumeHost& host, RadargramView& radargram,
                     CommandBar& bar, OptionPanel& options, VolumeSettingsPanel& settings)
    : ShellPanel(services), host_(host), radargram_(radargram), bar_(bar), options_(options),
      settings_(settings),
      overlay_(SLICE_OVERLAY_WIDTH, SLICE_OVERLAY_HEIGHT, QImage::Format_ARGB32_Premultiplied) {
    overlay_.fill(Qt::transparent);
    QWidget* area = radargram_.ScrollBox1->widget();
    const Point o = services_.view().ViewOrigin;
    ImageWidget** images[] = {&Image2, &Image3, &Image4};
    const QImage* pictures[] = {&images_.image2, &images_.image3, &images_.image4};
    const char* names[] = {"Image2", "Image3", "Image4"};
    for (int i = 0; i < 3; ++i) {
        auto* w = new ImageWidget(area, names[i]);
        w->setImage(*pictures[i]);
        w->move(o.x + SLICE_SPACING * i, o.y);
        w->setMouseTracking(true); // the caption follows the pointer
        w->hide();
        *images[i] = w;
    }
    SliceOverlay = new ImageWidget(area, "SliceOverlay");
    SliceOverlay->setImage(overlay_);
    SliceOverlay->setAttribute(Qt::WA_TransparentForMouseEvents);
    SliceOverlay->hide();
    for (int k = 0; k < SECTION_MARKERS; ++k) {
        shapes[std::size_t(k)] = new ImageWidget(area, SHAPE_NAMES[k]);
        shapes[std::size_t(k)]->setImage(shapeImage(k));
        shapes[std::size_t(k)]->setCursor(Qt::SizeAllCursor);
        shapes[std::size_t(k)]->hide();
    }
}

void SliceView::connectHandlers() {
    const std::pair<ImageWidget*, SliceImage> images[] = {
        {Image2, SliceImage::Image2}, {Image3, SliceImage::Image3}, {Image4, SliceImage::Image4}};
    for (const auto& [w, which] : images) {
        const SliceImage image = which;
        w->onMouseDown = [this, image](Qt::MouseButton b, QPoint p) {
            ImageMouseDown(image, b, p);
        };
        w->onMouseMove = [this, image](Qt::MouseButton, QPoint p) { ImageMouseMove(image, p); };
    }
    for (int k = 0; k < SECTION_MARKERS; ++k) {
        ImageWidget* w = shapes[std::size_t(k)];
        w->onMouseDown = [this, k](Qt::MouseButton, QPoint p) { ShapeMouseDown(k, p); };
        w->onMouseMove = [this, k](Qt::MouseButton b, QPoint p) {
            if (b != Qt::NoButton) ShapeMouseMove(k, p);
        };
        w->onMouseUp = [this, k](Qt::MouseButton, QPoint p) { ShapeMouseUp(k, p); };
    }
    for (QToolButton* b : {bar_.SpeedButton20, bar_.SpeedButton21, bar_.SpeedButton22,
                           bar_.SpeedButton23, bar_.SpeedButton24, bar_.SpeedButton25})
        QObject::connect(b, &QToolButton::clicked, Image2, [this, b] { NudgeClick(b); });
    QObject::connect(bar_.SpeedButton7, &QToolButton::clicked, Image2,
                     [this] { SpeedButton7Click(); });
}

bool SliceView::shown() const {
    return (services_.store().stateFlags & state::ViewMask) == 8;
}

int SliceView::layout() const {
    return std::clamp(int(services_.store().header.value[hdr::Section]), 0, items::Section - 1);
}

void SliceView::SpeedButton7Click() {
    if (busy()) return;
    const Modifiers m = services_.prompter().modifiers();
    const bool wasShown = shown();
    if (volumeBuildWanted(VolumeView::Slices, store().stateFlags, m.leftCtrl, false) ||
        !host_.grid.info.built) {
        if (!host_.build(8)) {
            // The volume is not there: a volume view cannot stay.
            if (wasShown || host_.screenShown()) bar_.SpeedButton5->click();
            return;
        }
    }
    store().stateFlags = enterViewFlags(store().stateFlags, 8);
    host_.params.untilt();
    if (hideOtherView) hideOtherView();
    host_.enterScreen();
    QWidget* area = radargram_.ScrollBox1->widget();
    area->setFixedSize(std::max(IMAGE_WIDTH, SLICE_OVERLAY_WIDTH),
                       std::max(IMAGE_HEIGHT, SLICE_OVERLAY_HEIGHT));
    radargram_.ScrollBox1->show();
    radargram_.Image1->hide();
    radargram_.Image6->hide();
    Image2->show();
    SliceOverlay->show();
    SliceOverlay->raise();
    for (ImageWidget* s : shapes) s->raise();
    showImages();
    runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    placeShapes();
    services_.applyLanguage();
    redrawScreen();
}

void SliceView::hide() {
    for (ImageWidget* w : {Image2, Image3, Image4, SliceOverlay}) w->hide();
    for (ImageWidget* s : shapes) s->hide();
    radargram_.ScrollBox1->widget()->setFixedSize(IMAGE_WIDTH, IMAGE_HEIGHT);
    radargram_.Image1->show();
    radargram_.Image6->show();
}

void SliceView::showImages() {
    const LayoutImages l = layoutImages(layout());
    Image3->setVisible(l.image3);
    Image3->setEnabled(l.image3);
    Image4->setVisible(l.image4);
    Image4->setEnabled(l.image4);
}

void SliceView::runSteps(unsigned steps) {
    const SliceProcessing proc = host_.processing();
    RadargramEngine& r = host_.radargram();
    runSliceSteps(steps, r.raster, images_, host_.grid, host_.params, proc, r.palettes);
    if (steps & slice_step::Image2) Image2->setImage(images_.image2);
    if (steps & slice_step::Image3) Image3->setImage(images_.image3);
    if (steps & slice_step::Image4) Image4->setImage(images_.image4);
}

void SliceView::placeShapes() {
    const bool on = shown() && settings_.CheckBox_Shape->isChecked();
    const Point o = services_.view().ViewOrigin;
    const auto places = Shape_RIS(host_.params, layout(), o.x, o.y);
    for (int k = 0; k < SECTION_MARKERS; ++k) {
        ImageWidget* s = shapes[std::size_t(k)];
        const MarkerPlace& m = places[std::size_t(k)];
        s->setVisible(on && m.shown);
        s->move(m.left, m.top);
    }
}

void SliceView::ComboBox54Change() {
    if (!shown()) return;
    showImages();
    runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    placeShapes();
    redrawScreen();
}

void SliceView::CheckBox_ShapeClick() {
    if (!shown()) return;
    if (!settings_.CheckBox_Shape->isChecked()) {
        host_.params.untilt();
        runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    }
    placeShapes();
    redrawScreen();
}

void SliceView::ImageMouseDown(SliceImage image, Qt::MouseButton button, QPoint at) {
    if (!shown()) return;
    const Modifiers m = services_.prompter().modifiers();
    const unsigned steps =
        pickSection(host_.params, image, layout(), at.x(), at.y(), buttonOf(button),
                    SliceKeys{m.leftShift, m.leftCtrl}, options_.CheckBox4->isChecked());
    runSteps(steps);
    placeShapes();
    redrawScreen();
}

void SliceView::ImageMouseMove(SliceImage image, QPoint at) {
    if (!shown()) return;
    const OverlaySettings o = services_.overlaySettings();
    SliceReadoutSettings s;
    s.prefix = "Tesk  " + store().currentFileName + store().captionDate;
    s.geographic = o.geographic;
    s.nsPerRow = o.nsPerRow;
    s.velocityCode = store().velocityCode;
    s.antennaCm = o.antennaCm;
    s.zeroLine = o.zeroLine;
    s.reliefDisplay = o.reliefDisplay;
    s.Hmax = store().Hmax;
    Image2->window()->setWindowTitle(QString::fromStdString(
        sliceCaption(host_.grid, host_.params, image, layout(), at.x(), at.y(), s)));
}

void SliceView::ShapeMouseDown(int marker, QPoint at) {
    dragLast_ = shapes[std::size_t(marker)]->pos() + at;
}

// A marker moves its section values by the pointer's offset and the
// section lines follow it; the slices are cut again when it is let go.
void SliceView::ShapeMouseMove(int marker, QPoint at) {
    if (!shown()) return;
    const QPoint now = shapes[std::size_t(marker)]->pos() + at;
    const QPoint d = now - dragLast_;
    dragLast_ = now;
    if (d.isNull()) return;
    const Modifiers m = services_.prompter().modifiers();
    dragMarker(host_.params, SectionMarker(marker), d.x(), d.y(),
               SliceKeys{m.leftShift, m.leftCtrl});
    placeShapes();
    drawOverlay();
}

void SliceView::ShapeMouseUp(int marker, QPoint at) {
    if (!shown()) return;
    ShapeMouseMove(marker, at);
    runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    redrawScreen();
}

void SliceView::NudgeClick(QToolButton* b) {
    if (!shown()) return;
    SectionParameters& p = host_.params;
    auto step = [](std::array<int32_t, 4>& group, int by) {
        for (int32_t& v : group) v = std::clamp(v + by, 0, SLICE_SIZE - 1);
    };
    if (b == bar_.SpeedButton20) step(p.X, -1);
    if (b == bar_.SpeedButton21) step(p.X, +1);
    if (b == bar_.SpeedButton22) step(p.T, -1);
    if (b == bar_.SpeedButton23) step(p.T, +1);
    if (b == bar_.SpeedButton24) step(p.Y, -1);
    if (b == bar_.SpeedButton25) step(p.Y, +1);
    runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    placeShapes();
    redrawScreen();
}

void SliceView::recolour() {
    reprocess();
}

void SliceView::reprocess() {
    if (!shown()) return;
    runSteps(layoutSteps(layout(), options_.CheckBox4->isChecked()));
    drawOverlay();
}

// The decoration and readouts of the screen, and what follows the sections
// (the A-scan panel).
void SliceView::redrawScreen() {
    services_.redraw(Redraw::Overlay);
}

void SliceView::drawOverlay() {
    if (!shown()) return;
    const OverlaySettings o = services_.overlaySettings();
    const ViewState& v = services_.view();
    SliceOverlaySettings s;
    s.x0 = v.ViewOrigin.x;
    s.y0 = v.ViewOrigin.y;
    s.layout = layout();
    s.english = services_.english();
    s.grid = options_.CheckBox3->isChecked();
    s.tracks = options_.CheckBox6->isChecked();
    s.markers = options_.ComboBox17->currentIndex() == 1;
    s.geographic = o.geographic;
    s.absoluteHeight = o.absoluteHeight;
    s.reliefDisplay = o.reliefDisplay;
    s.stretch = o.stretch;
    s.nsPerRow = o.nsPerRow;
    s.profileStepCm = o.stepCm;
    s.depthStepCm = o.depthStepCm;
    s.antennaCm = o.antennaCm;
    s.zeroLine = o.zeroLine;
    s.cursorColour = v.cursorColour;
    s.gridColour = v.gridColour;
    const SliceOverlayReadouts r = drawSliceOverlay(overlay_, store(), host_.grid, host_.params, s);
    SliceOverlay->setImage(overlay_);
    bar_.StaticText1->setText(QString::fromStdString(r.staticText1));
    bar_.StaticText2->setText(QString::fromStdString(r.staticText2));
    bar_.StaticText3->setText(QString::fromStdString(r.staticText3));
    bar_.StaticText4->setText(QString::fromStdString(r.staticText4));
    bar_.StaticText5->setText(QString::fromStdString(r.staticText5));
    bar_.StaticText6->setText(QString::fromStdString(r.staticText6));
    bar_.SpeedButton21->setText(r.xInMetres ? "+Lm" : "+Lcm");
    bar_.SpeedButton25->setText(r.yInMetres ? "+Lm" : "+Lcm");
}

std::optional<AScanTrace> SliceView::aScanTrace() {
    if (!shown() || !host_.grid.info.built) return std::nullopt;
    const SectionParameters& p = host_.params;
    const int along = layout() == section_layout::TY ? p.Y[0] : p.X[0];
    return sliceAScanTrace(host_.radargram().raster, 3,
                           DisplayRaster::FIRST_VIEW_ROW + std::clamp(along, 0, SLICE_SIZE - 1),
                           std::clamp(int(p.T[0]), 0, SLICE_SIZE - 1));
}

} // namespace tesk
